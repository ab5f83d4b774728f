#include "shell/statusmenu.h"

#include <QTest>

using StatusMenu::Entry;
using Kind = StatusMenu::Entry::Kind;

class StatusMenuTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entries_data()
    {
        QTest::addColumn<int>("updates");
        QTest::addColumn<bool>("canCheck");
        QTest::addColumn<Entry>("third");

        QTest::newRow("nothing to update") << 0 << true << Entry::simple(Kind::UpToDate);
        QTest::newRow("one update") << 1 << true << Entry::updateAll(1);
        QTest::newRow("twelve updates") << 12 << false << Entry::updateAll(12);
        QTest::newRow("negative count") << -3 << false << Entry::simple(Kind::UpToDate);
    }

    void entries()
    {
        QFETCH(int, updates);
        QFETCH(bool, canCheck);
        QFETCH(Entry, third);
        const QList<Entry> expected{Entry::simple(Kind::OpenStore),
                                    Entry::simple(Kind::Separator),
                                    third,
                                    Entry::simple(Kind::CheckAppUpdates),
                                    Entry::checkStoreUpdate(canCheck),
                                    Entry::simple(Kind::Separator),
                                    Entry::simple(Kind::Quit)};
        QVERIFY(StatusMenu::entries(updates, canCheck) == expected);
        QVERIFY(StatusMenu::entries(updates, canCheck) == StatusMenu::entries(updates, canCheck));
    }

    void payloadsMatterOnlyWhereCarried()
    {
        QVERIFY(!(Entry::updateAll(1) == Entry::updateAll(2)));
        QVERIFY(!(Entry::checkStoreUpdate(true) == Entry::checkStoreUpdate(false)));
        QVERIFY((Entry{Kind::Quit, 5, false} == Entry::simple(Kind::Quit)));
        QVERIFY(!(Entry::simple(Kind::UpToDate) == Entry::updateAll(0)));
    }
};

QTEST_GUILESS_MAIN(StatusMenuTest)
#include "tst_statusmenu.moc"
