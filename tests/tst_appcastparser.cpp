#include "feeds/appcastparser.h"

#include <QFile>
#include <QTest>

namespace {

QByteArray dataFile(const char *name)
{
    QFile file(QStringLiteral(TESSEL_TEST_DATA "/feeds/") + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing test feed %s", name);
    return file.readAll();
}

// A feed of the given items inside the usual RSS frame.
QByteArray feed(const QByteArray &items)
{
    return "<?xml version=\"1.0\"?><rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\">"
           "<channel>" +
           items + "</channel></rss>";
}

const SystemVersion sonoma{14, 5, 0};

} // namespace

class AppcastParserTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void realisticFeeds()
    {
        const auto lumen = AppcastParser::newest(dataFile("lumen.xml"), sonoma);
        QVERIFY(lumen);
        // The beta is on a channel (and needs a newer system); the delta-only item never counts; deltas after the
        // full archive leave it in place.
        QCOMPARE(lumen->build, QStringLiteral("320"));
        QCOMPARE(lumen->shortVersion, QStringLiteral("3.2"));
        QCOMPARE(lumen->url, QUrl(QStringLiteral("https://downloads.orvel.example/lumen/Lumen-3.2.zip")));
        QCOMPARE(lumen->length, std::optional<qint64>(48211234));
        QVERIFY(lumen->edSignature->startsWith(QStringLiteral("Zm9v")));
        QCOMPARE(lumen->minimumSystemVersion, std::optional<QString>(QStringLiteral("13.0")));
        // The item's notes as written, markup and all; the channel's description is no item's.
        QVERIFY(lumen->releaseNotes->startsWith(QStringLiteral("<h2>What's new</h2>")));
        QVERIFY(lumen->releaseNotes->contains(QStringLiteral("<sparkle:version>999</sparkle:version>")));
        // The newest item is on the beta channel: a newer system still gets the stable release.
        QCOMPARE(AppcastParser::newest(dataFile("lumen.xml"), {15, 0, 0})->build, QStringLiteral("320"));

        const auto quire = AppcastParser::newest(dataFile("quire-legacy.xml"), sonoma);
        QVERIFY(quire);
        QCOMPARE(quire->build, QStringLiteral("2024.10"));
        QCOMPARE(quire->shortVersion, QStringLiteral("2024.10"));
        QCOMPARE(quire->length, std::nullopt);
        QCOMPARE(quire->edSignature, std::nullopt);
        QCOMPARE(quire->minimumSystemVersion, std::optional<QString>(QStringLiteral("12.0")));
        // Notes belong to their own item only.
        QCOMPARE(quire->releaseNotes, std::nullopt);
        QCOMPARE(AppcastParser::releases(dataFile("quire-legacy.xml"))->first().releaseNotes,
                 std::optional<QString>(QStringLiteral("Spring release.")));
        QCOMPARE(AppcastParser::newest(dataFile("tally-equal-builds.xml"), sonoma)->releaseNotes, std::nullopt);

        const auto tally = AppcastParser::newest(dataFile("tally-equal-builds.xml"), sonoma);
        QCOMPARE(tally->url, QUrl(QStringLiteral("https://d.orvel.example/tally-120-first.zip")));
    }

    void itemRules_data()
    {
        QTest::addColumn<QByteArray>("items");
        QTest::addColumn<QString>("build"); // empty: no release
        QTest::addColumn<QString>("shortVersion");

        QTest::newRow("http refused") << QByteArray("<item><sparkle:version>1</sparkle:version>"
                                                    "<enclosure url=\"http://a.example/x.zip\"/></item>")
                                      << ""
                                      << "";
        QTest::newRow("scheme in capitals refused") << QByteArray("<item><sparkle:version>1</sparkle:version>"
                                                                  "<enclosure url=\"HTTPS://a.example/x.zip\"/></item>")
                                                    << ""
                                                    << "";
        QTest::newRow("https accepted") << QByteArray("<item><sparkle:version>1</sparkle:version>"
                                                      "<enclosure url=\"https://a.example/x.zip\"/></item>")
                                        << "1"
                                        << "1";
        QTest::newRow("element beats attribute")
            << QByteArray("<item><sparkle:version>42</sparkle:version>"
                          "<enclosure url=\"https://a/x\" sparkle:version=\"41\"/></item>")
            << "42"
            << "42";
        QTest::newRow("attribute alone") << QByteArray("<item><enclosure url=\"https://a/x\" sparkle:version=\"41\" "
                                                       "sparkle:shortVersionString=\"4.1\"/></item>")
                                         << "41"
                                         << "4.1";
        QTest::newRow("no version at all") << QByteArray("<item><enclosure url=\"https://a/x\"/></item>") << ""
                                           << "";
        QTest::newRow("empty element hides the attribute")
            << QByteArray("<item><sparkle:version>  </sparkle:version><enclosure url=\"https://a/x\" "
                          "sparkle:version=\"41\"/></item>")
            << ""
            << "";
        QTest::newRow("values trimmed") << QByteArray("<item><sparkle:version>\n  7\n</sparkle:version>"
                                                      "<sparkle:shortVersionString> 0.7 </sparkle:shortVersionString>"
                                                      "<enclosure url=\"https://a/x\"/></item>")
                                        << "7"
                                        << "0.7";
        QTest::newRow("no enclosure") << QByteArray("<item><sparkle:version>1</sparkle:version></item>") << ""
                                      << "";
        QTest::newRow("enclosure without attributes") << QByteArray("<item><sparkle:version>1</sparkle:version>"
                                                                    "<enclosure/></item>")
                                                      << ""
                                                      << "";
        QTest::newRow("other prefix not recognised")
            << QByteArray(
                   "<item xmlns:s=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><s:version>1</s:version>"
                   "<enclosure url=\"https://a/x\"/></item>")
            << ""
            << "";
        QTest::newRow("only deltas") << QByteArray("<item><sparkle:version>2</sparkle:version><sparkle:deltas>"
                                                   "<enclosure url=\"https://a/d\" sparkle:deltaFrom=\"1\"/>"
                                                   "</sparkle:deltas></item>")
                                     << ""
                                     << "";
        QTest::newRow("last full enclosure wins")
            << QByteArray("<item><sparkle:version>2</sparkle:version>"
                          "<enclosure url=\"https://a/first\"/>"
                          "<enclosure url=\"https://a/second\" sparkle:shortVersionString=\"b\"/>"
                          "</item>")
            << "2"
            << "b";
        QTest::newRow("enclosure outside an item ignored")
            << QByteArray("<enclosure url=\"https://a/x\" sparkle:version=\"5\"/>") << ""
            << "";
        QTest::newRow("CDATA inside the version")
            << QByteArray(
                   "<item><sparkle:version><![CDATA[ 42 ]]></sparkle:version><enclosure url=\"https://a/x\"/></item>")
            << "42"
            << "42";
        QTest::newRow("text reset by a nested element")
            << QByteArray("<item><sparkle:version>4<b>2</b></sparkle:version><enclosure url=\"https://a/x\"/></item>")
            << "2"
            << "2";
    }

    void itemRules()
    {
        QFETCH(QByteArray, items);
        QFETCH(QString, build);
        QFETCH(QString, shortVersion);
        const auto release = AppcastParser::newest(feed(items), sonoma);
        QCOMPARE(release.hasValue(), !build.isEmpty());
        if (release) {
            QCOMPARE(release->build, build);
            QCOMPARE(release->shortVersion, shortVersion);
        }
    }

    void length_data()
    {
        QTest::addColumn<QByteArray>("length");
        QTest::addColumn<qint64>("expected"); // -1: none
        QTest::newRow("plain") << QByteArray("1048576") << qint64(1048576);
        QTest::newRow("unparsable") << QByteArray("12 MB") << qint64(-1);
        QTest::newRow("overflowing") << QByteArray("99999999999999999999999") << qint64(-1);
    }

    // The length is a hint: one that cannot be read is dropped, and the release stays.
    void length()
    {
        QFETCH(QByteArray, length);
        QFETCH(qint64, expected);
        const auto release = AppcastParser::newest(
            feed("<item><sparkle:version>1</sparkle:version><enclosure url=\"https://a/x\" length=\"" + length +
                 "\"/></item>"),
            sonoma);
        QVERIFY(release);
        QCOMPARE(release->length, expected < 0 ? std::nullopt : std::optional<qint64>(expected));
    }

    void choice_data()
    {
        QTest::addColumn<QByteArray>("items");
        QTest::addColumn<QString>("url");

        auto item = [](const char *build, const char *minimum, const char *url) {
            QByteArray text = "<item><sparkle:version>" + QByteArray(build) + "</sparkle:version>";
            if (minimum)
                text += "<sparkle:minimumSystemVersion>" + QByteArray(minimum) + "</sparkle:minimumSystemVersion>";
            return text + "<enclosure url=\"https://a/" + url + "\"/></item>";
        };
        QTest::newRow("highest build, any order")
            << item("100", nullptr, "a") + item("120", nullptr, "b") + item("110", nullptr, "c") << "b";
        QTest::newRow("equal builds keep the first") << item("120", nullptr, "a") + item("120", nullptr, "b") << "a";
        QTest::newRow("newer system skipped") << item("200", "15.0", "new") + item("150", "14.5", "ok") << "ok";
        QTest::newRow("no minimum is a candidate") << item("150", "14.5", "a") + item("151", nullptr, "b") << "b";
        QTest::newRow("patch level counts") << item("2", "14.5.1", "a") + item("1", "14.5.0", "b") << "b";
        QTest::newRow("minimum as attribute")
            << QByteArray("<item><enclosure url=\"https://a/x\" sparkle:version=\"9\" "
                          "sparkle:minimumSystemVersion=\"99\"/></item>") +
                   item("1", nullptr, "y")
            << "y";
        QTest::newRow("nothing this system runs") << item("5", "20", "a") << "";
        auto onChannel = [&](const char *channel, const char *build, const char *url) {
            return item(build, nullptr, url)
                .replace("<item>", "<item><sparkle:channel>" + QByteArray(channel) + "</sparkle:channel>");
        };
        QTest::newRow("newest on the beta channel")
            << onChannel("beta", "300", "beta") + item("200", nullptr, "stable") << "stable";
        QTest::newRow("any channel name")
            << item("200", nullptr, "stable") + onChannel("nightly", "201", "nightly") << "stable";
        QTest::newRow("only item on a channel") << onChannel("beta", "300", "beta") << "";
    }

    void choice()
    {
        QFETCH(QByteArray, items);
        QFETCH(QString, url);
        const auto release = AppcastParser::newest(feed(items), sonoma);
        QCOMPARE(release ? release->url.path().mid(1) : QString(), url);
        if (!release)
            QCOMPARE(release.error(), AppcastParser::Failure::NothingRunnable);
    }

    // A document that is not well-formed gives nothing, even after good items.
    void brokenDocuments_data()
    {
        QTest::addColumn<QByteArray>("document");
        const QByteArray good = "<item><sparkle:version>1</sparkle:version><enclosure url=\"https://a/x\"/></item>";
        QTest::newRow("cut off mid-element") << feed(good + good).left(feed(good + good).size() - 25);
        QTest::newRow("mismatched tags") << feed(good + "<item></channel>");
        QTest::newRow("undeclared entity") << feed(good + "<title>&nbsp;</title>");
        QTest::newRow("not XML") << QByteArray("{\"json\": true}");
        QTest::newRow("empty") << QByteArray();
    }

    void brokenDocuments()
    {
        QFETCH(QByteArray, document);
        const auto release = AppcastParser::newest(document, sonoma);
        QVERIFY(!release);
        QCOMPARE(release.error(), AppcastParser::Failure::Malformed);
    }

    // Hostile documents finish quickly, fetch nothing, and give nothing or a safe result.
    void hostileDocuments_data()
    {
        QTest::addColumn<QByteArray>("document");
        const QByteArray item = "<item><sparkle:version>1</sparkle:version><enclosure url=\"https://a/x\"/></item>";

        QByteArray laughs = "<?xml version=\"1.0\"?><!DOCTYPE rss [<!ENTITY l0 \"lol\">";
        for (int i = 1; i < 10; ++i)
            laughs += "<!ENTITY l" + QByteArray::number(i) + " \"" +
                      QByteArray("&l").append(QByteArray::number(i - 1)).append(';').repeated(10) + "\">";
        laughs += "]><rss><channel><title>&l9;</title>" + item + "</channel></rss>";
        QTest::newRow("billion laughs") << laughs;

        QTest::newRow("external entity")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE rss [<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]>"
                          "<rss><channel><title>&xxe;</title>") +
                   item + "</channel></rss>";
        QTest::newRow("external DTD")
            << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE rss SYSTEM \"https://evil.example/x.dtd\">"
                          "<rss><channel>") +
                   item + "</channel></rss>";
        QTest::newRow("deep nesting") << feed(QByteArray("<a>").repeated(100000) + QByteArray("</a>").repeated(100000) +
                                              item);
        QTest::newRow("huge text node") << feed("<item><sparkle:version>" + QByteArray(20 * 1024 * 1024, '7') +
                                                "</sparkle:version><enclosure url=\"https://a/x\"/></item>");
    }

    void hostileDocuments()
    {
        QFETCH(QByteArray, document);
        const auto release = AppcastParser::newest(document, sonoma);
        // Whatever comes back must be a release of the document itself, never of fetched text.
        if (release)
            QCOMPARE(release->url, QUrl(QStringLiteral("https://a/x")));
    }
};

QTEST_GUILESS_MAIN(AppcastParserTest)
#include "tst_appcastparser.moc"
