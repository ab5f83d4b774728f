#include "shell/storelinks.h"

#include <QTest>

class StoreLinksTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void siteLanguage_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("slug"); // empty: no edition

        QTest::newRow("pt-BR") << "pt-BR"
                               << "pt-br";
        QTest::newRow("pt-PT") << "pt-PT"
                               << "pt-br";
        QTest::newRow("underscore") << "pt_BR"
                                    << "pt-br";
        QTest::newRow("Traditional with region") << "zh-Hant-TW"
                                                 << "zh-hant";
        QTest::newRow("Taiwan") << "zh-TW"
                                << "zh-hant";
        QTest::newRow("Hong Kong") << "zh_HK"
                                   << "zh-hant";
        QTest::newRow("Simplified") << "zh-Hans-CN"
                                    << "zh-hans";
        QTest::newRow("plain zh") << "zh"
                                  << "zh-hans";
        QTest::newRow("Latin American Spanish") << "es-419"
                                                << "es";
        QTest::newRow("upper case") << "DE"
                                    << "de";
        QTest::newRow("English") << "en-US"
                                 << "";
        QTest::newRow("plain English") << "en"
                                       << "";
        QTest::newRow("no edition") << "nb"
                                    << "";
        QTest::newRow("prefix letters only") << "ptx"
                                             << "";
        QTest::newRow("Traditional prefix letters only") << "zh-hantx"
                                                         << "zh-hans";
        QTest::newRow("empty") << ""
                               << "";
    }

    void siteLanguage()
    {
        QFETCH(QString, tag);
        QFETCH(QString, slug);
        QCOMPARE(StoreLinks::siteLanguage(tag).value_or(QString()), slug);
    }

    void appPageURL()
    {
        QCOMPARE(StoreLinks::appPageURL(QStringLiteral("lumen"), u"pt-BR"),
                 QUrl(QStringLiteral("https://orvel.example/pt-br/apps/lumen/")));
        QCOMPARE(StoreLinks::appPageURL(QStringLiteral("lumen"), u"en-GB"),
                 QUrl(QStringLiteral("https://orvel.example/apps/lumen/")));
        QCOMPARE(StoreLinks::appPageURL(QStringLiteral("unknown"), u"ja-JP"),
                 QUrl(QStringLiteral("https://orvel.example/ja/apps/")));
    }
};

QTEST_GUILESS_MAIN(StoreLinksTest)
#include "tst_storelinks.moc"
