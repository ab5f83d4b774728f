#include "catalog/version.h"
#include "support/plaininteger.h"

#include <QTest>

using Version::Order;

class VersionTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compare_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<Order>("order");

        QTest::newRow("trailing zero") << "1.0"
                                       << "1" << Order::Same;
        QTest::newRow("numeric not lexical") << "1.10"
                                             << "1.9" << Order::Descending;
        QTest::newRow("shorter is smaller") << "1.2"
                                            << "1.2.1" << Order::Ascending;
        QTest::newRow("letters count as zero") << "2.0b1"
                                               << "2.0" << Order::Same;
        QTest::newRow("suffix letter") << "1.2.3a"
                                       << "1.2.0" << Order::Same;
        QTest::newRow("leading space") << " 3"
                                       << "0" << Order::Same;
        QTest::newRow("empty equals zero") << ""
                                           << "0.0" << Order::Same;
        QTest::newRow("empty parts dropped") << "1..2"
                                             << "1.2" << Order::Same;
        QTest::newRow("leading dot") << ".5"
                                     << "5" << Order::Same;
        QTest::newRow("signed parts") << "-1"
                                      << "+1" << Order::Ascending;
        QTest::newRow("beyond 64 bits is zero") << "99999999999999999999"
                                                << "0" << Order::Same;
        QTest::newRow("largest 64-bit part") << "9223372036854775807"
                                             << "9223372036854775806" << Order::Descending;
        QTest::newRow("build numbers") << "120"
                                       << "121" << Order::Ascending;
        QTest::newRow("date versions") << "2024.05.1"
                                       << "2024.5.1" << Order::Same;
        QTest::newRow("system minimum") << "14.5.1"
                                        << "14.5" << Order::Descending;
    }

    void compare()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(Order, order);
        QCOMPARE(Version::compare(a, b), order);
        const Order reversed = order == Order::Same        ? Order::Same
                               : order == Order::Ascending ? Order::Descending
                                                           : Order::Ascending;
        QCOMPARE(Version::compare(b, a), reversed);
    }

    void plainInteger_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("parses");
        QTest::addColumn<qint64>("value");

        QTest::newRow("digits") << "042" << true << qint64(42);
        QTest::newRow("plus") << "+7" << true << qint64(7);
        QTest::newRow("minus zero") << "-0" << true << qint64(0);
        QTest::newRow("lowest") << "-9223372036854775808" << true << std::numeric_limits<qint64>::min();
        QTest::newRow("highest") << "9223372036854775807" << true << std::numeric_limits<qint64>::max();
        QTest::newRow("one past highest") << "9223372036854775808" << false << qint64(0);
        QTest::newRow("one past lowest") << "-9223372036854775809" << false << qint64(0);
        QTest::newRow("sign only") << "-" << false << qint64(0);
        QTest::newRow("empty") << "" << false << qint64(0);
        QTest::newRow("space") << " 1" << false << qint64(0);
        QTest::newRow("star") << "*" << false << qint64(0);
        QTest::newRow("double sign") << "+-1" << false << qint64(0);
        QTest::newRow("Arabic-Indic digit") << QString::fromUtf8("\u0661") << false << qint64(0);
    }

    void plainInteger()
    {
        QFETCH(QString, text);
        QFETCH(bool, parses);
        QFETCH(qint64, value);
        const std::optional<qint64> parsed = parsePlainInteger(text);
        QCOMPARE(parsed.has_value(), parses);
        if (parses)
            QCOMPARE(*parsed, value);
    }
};

QTEST_GUILESS_MAIN(VersionTest)
#include "tst_version.moc"
