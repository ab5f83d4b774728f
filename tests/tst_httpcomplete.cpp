#include "net/httpcomplete.h"

#include <QTest>

using OptionalText = std::optional<QString>;
Q_DECLARE_METATYPE(OptionalText)

class HTTPCompleteTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void isComplete_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<OptionalText>("range");
        QTest::addColumn<qint64>("length");
        QTest::addColumn<bool>("complete");

        const OptionalText none;
        auto range = [](const char *text) { return OptionalText(QString::fromLatin1(text)); };
        QTest::newRow("200 whatever the length") << 200 << none << qint64(0) << true;
        QTest::newRow("200 ignores a range") << 200 << range("bytes 5-6/7") << qint64(1) << true;
        QTest::newRow("304") << 304 << none << qint64(0) << false;
        QTest::newRow("500") << 500 << none << qint64(10) << false;
        QTest::newRow("206 without a range") << 206 << none << qint64(100) << false;
        QTest::newRow("206 whole") << 206 << range("bytes 0-99/100") << qint64(100) << true;
        QTest::newRow("206 capital unit") << 206 << range("Bytes 0-99/100") << qint64(100) << true;
        QTest::newRow("206 padded with blanks") << 206 << range(" \tbytes 0-99/100\t ") << qint64(100) << true;
        QTest::newRow("206 missing first byte") << 206 << range("bytes 1-99/100") << qint64(100) << false;
        QTest::newRow("206 missing last byte") << 206 << range("bytes 0-98/100") << qint64(100) << false;
        QTest::newRow("206 unknown total") << 206 << range("bytes 0-99/*") << qint64(100) << false;
        QTest::newRow("206 short body") << 206 << range("bytes 0-99/100") << qint64(99) << false;
        QTest::newRow("206 no space after unit") << 206 << range("bytes0-99/100") << qint64(100) << false;
        QTest::newRow("206 other unit") << 206 << range("items 0-99/100") << qint64(100) << false;
        QTest::newRow("206 three parts") << 206 << range("bytes 0-99/100/100") << qint64(100) << false;
        QTest::newRow("206 space inside number") << 206 << range("bytes 0- 99/100") << qint64(100) << false;
        QTest::newRow("206 empty parts dropped") << 206 << range("bytes 0--99//100") << qint64(100) << true;
        QTest::newRow("206 lowest total") << 206 << range("bytes 0-9223372036854775807/-9223372036854775808")
                                          << std::numeric_limits<qint64>::min() << false;
        QTest::newRow("206 huge total") << 206 << range("bytes 0-9223372036854775806/9223372036854775807")
                                        << std::numeric_limits<qint64>::max() << true;
        QTest::newRow("206 total beyond 64 bits")
            << 206 << range("bytes 0-99/99999999999999999999") << qint64(100) << false;
    }

    void isComplete()
    {
        QFETCH(int, status);
        QFETCH(OptionalText, range);
        QFETCH(qint64, length);
        QFETCH(bool, complete);
        QCOMPARE(HTTPComplete::isComplete(status, range, length), complete);
    }

    void noReplyIsNeverComplete() { QVERIFY(!HTTPComplete::isComplete(nullptr, 0)); }
};

QTEST_GUILESS_MAIN(HTTPCompleteTest)
#include "tst_httpcomplete.moc"
