#include "crypto/base64.h"

#include <QTest>

class Base64Test : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decodeURL_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("decodes");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("empty") << "" << true << QByteArray();
        QTest::newRow("unpadded one byte") << "-w" << true << QByteArray("\xfb", 1);
        QTest::newRow("padded one byte") << "-w==" << true << QByteArray("\xfb", 1);
        QTest::newRow("unpadded two bytes") << "__8" << true << QByteArray("\xff\xff", 2);
        QTest::newRow("standard alphabet accepted") << "+/8=" << true << QByteArray("\xfb\xff", 2);
        QTest::newRow("three bytes") << "YWJj" << true << QByteArray("abc");
        QTest::newRow("one character too many") << "YWJjZ" << false << QByteArray();
        QTest::newRow("lone padding") << "=" << false << QByteArray();
        QTest::newRow("three padding characters") << "YQ===" << false << QByteArray();
        QTest::newRow("padding in the middle") << "YQ==YWJj" << false << QByteArray();
        QTest::newRow("data after padding") << "YW=j" << false << QByteArray();
        QTest::newRow("line break") << "YWJj\nYWJj" << false << QByteArray();
        QTest::newRow("trailing space") << "YWJj " << false << QByteArray();
        QTest::newRow("outside the alphabet") << "YW*j" << false << QByteArray();
        QTest::newRow("non-ASCII") << QString::fromUtf8("YWJ\u00e9") << false << QByteArray();
        QTest::newRow("extra padding beyond a full group") << "YWJj==" << false << QByteArray();
    }

    void decodeURL()
    {
        QFETCH(QString, text);
        QFETCH(bool, decodes);
        QFETCH(QByteArray, bytes);
        const std::optional<QByteArray> decoded = Base64::decodeURL(text);
        QCOMPARE(decoded.has_value(), decodes);
        if (decodes)
            QCOMPARE(*decoded, bytes);
    }

    void standardDecodingRequiresPadding()
    {
        QVERIFY(!Base64::decode(u"YQ"));
        QCOMPARE(Base64::decode(u"YQ==").value(), QByteArray("a"));
        QVERIFY(!Base64::decode(u"-w=="));
    }

    void roundTripsEveryLength()
    {
        QByteArray bytes;
        for (int length = 0; length < 70; ++length) {
            const QString text = QString::fromLatin1(Base64::encodeURL(bytes));
            QVERIFY(!text.contains(u'='));
            QCOMPARE(Base64::decodeURL(text).value(), bytes);
            bytes.append(char(length * 37 + 200));
        }
    }
};

QTEST_GUILESS_MAIN(Base64Test)
#include "tst_base64.moc"
