#include "crypto/base64.h"
#include "harness/bundlefactory.h"
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/releasefactory.h"
#include "harness/testserver.h"
#include "maker/certificateissuer.h"
#include "platform/propertylist.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QLocale>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

#include <csignal>

using namespace CatalogFixtures;

namespace {

struct Outcome
{
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

class TesselctlTest : public QObject
{
    Q_OBJECT

private:
    Signer m_signer;
    QTemporaryDir m_folder;

    std::unique_ptr<QTemporaryDir> m_temporary; // the tools' temporary folder, one per test
    bool m_trustTestAuthority = true;           // whether the tools trust the test server's certificate

    QProcessEnvironment toolEnvironment()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TMPDIR"), m_temporary->path());
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_temporary->path()); // private: made 0700
        if (m_trustTestAuthority)
            environment.insert(QStringLiteral("TESSEL_EXTRA_CA_CERTIFICATES"), caFile());
        environment.insert(QStringLiteral("HOME"), m_folder.filePath(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_folder.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), m_folder.filePath(QStringLiteral("share")));
        environment.insert(QStringLiteral("TESSEL_SYSTEM_APPLICATIONS"),
                           m_folder.filePath(QStringLiteral("Applications")));
        return environment;
    }

    // Runs a tool without blocking the event loop, so that a test server in this process answers.
    Outcome run(const QString &tool, const QStringList &arguments)
    {
        QProcess process;
        process.setProcessEnvironment(toolEnvironment());
        QSignalSpy finished(&process, &QProcess::finished);
        process.start(tool.contains(u'/') ? tool : QStringLiteral(TESSEL_BIN_DIR "/") + tool, arguments);
        if (!finished.wait(30000))
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
                QString::fromUtf8(process.readAllStandardError())};
    }

    QString caFile()
    {
        const QString path = m_folder.filePath(QStringLiteral("ca.pem"));
        if (!QFile::exists(path))
            write(QStringLiteral("ca.pem"), TestServer::authority().certificate);
        return path;
    }

    // The objects of --json output, one a line.
    // A code-signing authority and a team ORVEL12345 identity it issued, as a maker makes them.
    bool makeSigningIdentity(const QString &ca, const QString &identity)
    {
        return run(QStringLiteral("tessel-service"), {QStringLiteral("make-ca"), QStringLiteral("--out"), ca})
                       .exitCode == 0 &&
               run(QStringLiteral("tessel-service"),
                   {QStringLiteral("make-signing-cert"), QStringLiteral("--ca"), ca, QStringLiteral("--team"),
                    QStringLiteral("ORVEL12345"), QStringLiteral("--out"), identity})
                       .exitCode == 0;
    }

    static QList<QJsonObject> jsonLines(const QString &out)
    {
        QList<QJsonObject> objects;
        for (const QString &line : out.split(u'\n', Qt::SkipEmptyParts))
            objects.append(QJsonDocument::fromJson(line.toUtf8()).object());
        return objects;
    }

    static QString readFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll().toBase64()) : QString();
    }

    // The pixel size a PNG declares in its header.
    static QSize pngSize(const QString &path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray header = file.read(24);
        return QSize(qFromBigEndian<qint32>(header.constData() + 16), qFromBigEndian<qint32>(header.constData() + 20));
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        const QString path = m_folder.filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        return path;
    }

    QStringList configurationArguments() const
    {
        const ServiceConfiguration configuration = m_signer.configuration();
        return {QStringLiteral("--issuer"), configuration.issuer,           QStringLiteral("--key-id"),
                configuration.keyID,        QStringLiteral("--public-key"), configuration.publicKey};
    }

    // A service whose Lumen download starts and then never gets an answer.
    void publishStalledDownload(TestServer &server)
    {
        QJsonObject lumen = app(QStringLiteral("lumen"));
        lumen.insert(QStringLiteral("appcastURL"), server.url(QStringLiteral("/lumen.xml")).toString());
        server.respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf({lumen}), "application/json"));
        server.respond("/lumen.xml", HttpResponse::ok("<rss xmlns:sparkle=\"s\"><channel><item><sparkle:version>1"
                                                      "</sparkle:version><enclosure url=\"" +
                                                          server.url(QStringLiteral("/lumen.zip")).toString().toUtf8() +
                                                          "\"/></item></channel></rss>",
                                                      "application/rss+xml"));
        HttpResponse stalled;
        stalled.stall = true;
        server.respond("/lumen.zip", stalled);
    }

    // "tesselctl install lumen" (or another command), left running once its download has begun.
    std::unique_ptr<QProcess> startInstall(TestServer &server, const QStringList &command = {QStringLiteral("install"),
                                                                                             QStringLiteral("lumen")})
    {
        const int downloads = server.hits("/lumen.zip");
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(toolEnvironment());
        process->start(QStringLiteral(TESSEL_BIN_DIR "/tesselctl"),
                       QStringList{command.first(), QStringLiteral("--service"), server.url().toString()} +
                           configurationArguments() + command.mid(1));
        if (!QTest::qWaitFor([&] { return server.hits("/lumen.zip") > downloads; }, 20000))
            qWarning() << "the install never began its download:" << process->readAllStandardError();
        return process;
    }

    QStringList workFolders() const
    {
        return QDir(m_temporary->path()).entryList({QStringLiteral("tessel-store-*")}, QDir::AllEntries | QDir::Hidden);
    }

    static bool endsWith(QProcess &process, int signal)
    {
        ::kill(pid_t(process.processId()), signal);
        return process.waitForFinished(20000);
    }

private Q_SLOTS:
    void init()
    {
        m_temporary = std::make_unique<QTemporaryDir>();
        m_trustTestAuthority = true;
    }

    // A stop asked by a signal ends the download; the install removes its work folder and the
    // tool reports the signal as a shell would.
    void signalsEndAnInstallWithItsWorkFolder_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << int(SIGTERM);
        QTest::newRow("SIGINT") << int(SIGINT);
    }

    void signalsEndAnInstallWithItsWorkFolder()
    {
        QFETCH(int, signal);
        TestServer server;
        publishStalledDownload(server);
        const std::unique_ptr<QProcess> install = startInstall(server);
        QCOMPARE(workFolders().size(), 1);
        QVERIFY(endsWith(*install, signal));
        QCOMPARE(install->exitStatus(), QProcess::NormalExit);
        QCOMPARE(install->exitCode(), 128 + signal);
        QCOMPARE(workFolders(), QStringList());
    }

    // An update stopped by a signal leaves the installed copy as it was.
    void aSignalEndsAnUpdateAndKeepsTheInstalledCopy()
    {
        TestServer server;
        publishStalledDownload(server); // offers build 1
        const QString copy = BundleFactory::write(
            m_folder.filePath(QStringLiteral("Applications/Lumen.app")),
            BundleFactory::info(QStringLiteral("com.orvel.lumen"), QStringLiteral("0.9"), QStringLiteral("0")));
        // The Applications folder is every test's: the next install of Lumen must not find it.
        const auto removeCopy = qScopeGuard([copy] { QDir(copy).removeRecursively(); });
        const QString info = copy + QStringLiteral("/Contents/Info.plist");
        const QString before = readFile(info);
        const std::unique_ptr<QProcess> update =
            startInstall(server, {QStringLiteral("update"), QStringLiteral("--all")});
        QCOMPARE(workFolders().size(), 1);
        QVERIFY(endsWith(*update, SIGINT));
        QCOMPARE(update->exitCode(), 130);
        QCOMPARE(workFolders(), QStringList());
        QCOMPARE(readFile(info), before);
    }

    // What a killed install leaves is removed by the next one; a running install's folder stays.
    void nextInstallRemovesOnlyFoldersOfEndedInstalls()
    {
        TestServer server;
        publishStalledDownload(server);
        const std::unique_ptr<QProcess> running = startInstall(server);
        const QStringList runningFolder = workFolders();
        QCOMPARE(runningFolder.size(), 1);
        const std::unique_ptr<QProcess> killed = startInstall(server);
        QCOMPARE(workFolders().size(), 2);
        QStringList killedFolder = workFolders();
        killedFolder.removeOne(runningFolder.first());
        QVERIFY(endsWith(*killed, SIGKILL));
        QCOMPARE(workFolders().size(), 2);

        const std::unique_ptr<QProcess> next = startInstall(server);
        const QStringList folders = workFolders();
        QCOMPARE(folders.size(), 2);
        QVERIFY(folders.contains(runningFolder.first()));
        QVERIFY(!folders.contains(killedFolder.first()));
        QVERIFY(endsWith(*running, SIGTERM));
        QVERIFY(endsWith(*next, SIGTERM));
        QCOMPARE(workFolders(), QStringList());
    }

    // On a terminal the bar tells the bytes of the archive's length; in a pipe, a line a tenth.
    void progressOnATerminalShowsTheBytes()
    {
        TestServer server;
        const QByteArray archive(3'000'000, 'z');
        QJsonObject lumen = app(QStringLiteral("lumen"));
        lumen.insert(QStringLiteral("appcastURL"), server.url(QStringLiteral("/lumen.xml")).toString());
        server.respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf({lumen}), "application/json"));
        server.respond("/lumen.xml", HttpResponse::ok("<rss xmlns:sparkle=\"s\"><channel><item><sparkle:version>1"
                                                      "</sparkle:version><enclosure length=\"3000000\" url=\"" +
                                                          server.url(QStringLiteral("/lumen.zip")).toString().toUtf8() +
                                                          "\"/></item></channel></rss>",
                                                      "application/rss+xml"));
        server.respond("/lumen.zip", HttpResponse::ok(archive, "application/zip"));
        QStringList command{QStringLiteral(TESSEL_BIN_DIR "/tesselctl"), QStringLiteral("install"),
                            QStringLiteral("--no-open"), QStringLiteral("--service"), server.url().toString()};
        command += configurationArguments();
        command.append(QStringLiteral("lumen"));
        for (QString &word : command)
            word = u'\'' + word + u'\'';
        // script(1) gives the tool a terminal; what it drew comes back on its output.
        const Outcome drawn = run(QStringLiteral("/usr/bin/script"),
                                  {QStringLiteral("-qec"), command.join(u' '), QStringLiteral("/dev/null")});
        QVERIFY2(drawn.out.contains(QStringLiteral(" of ") + QLocale().formattedDataSize(archive.size())),
                 qPrintable(drawn.out));
        QVERIFY(drawn.out.contains(QStringLiteral("\r")));
    }

    void verifyCatalogReportsEachOutcome_data()
    {
        QTest::addColumn<QByteArray>("envelope");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");

        // The stable name first, then the reason, then where the expectation came from.
        const QString source = QStringLiteral("  the service and its keys come from the command line\n");
        QTest::newRow("good") << m_signer.envelopeOf({app(QStringLiteral("a")), app(QStringLiteral("b"))}) << 0
                              << "a\tA\nb\tB\n"
                              << "";
        QTest::newRow("malformed")
            << QByteArray("{}") << 3 << ""
            << "error: malformed\n  not a signed envelope (a JSON object with the texts kid, catalog, signature)\n" +
                   source;
        QTest::newRow("bad signature")
            << Signer{}.envelopeOf({}) << 3 << ""
            << "error: badSignature\n  the signature does not verify with the public key expected for the key id "
               "\"test-key-1\"\n" +
                   source;
        Signer otherKey;
        otherKey.keyID = QStringLiteral("k2");
        QTest::newRow("other key id")
            << otherKey.envelopeOf({}) << 3 << ""
            << "error: badSignature\n  signed with the key id \"k2\", but the key id \"test-key-1\" is expected\n" +
                   source;
        Signer other;
        other.key = m_signer.key;
        other.issuer = QStringLiteral("x");
        QTest::newRow("wrong issuer") << other.envelopeOf({}) << 3 << ""
                                      << "error: wrongIssuer\n  the catalog names the issuer \"x\", but the issuer "
                                         "\"test-issuer\" is expected\n" +
                                             source;
    }

    void verifyCatalogReportsEachOutcome()
    {
        QFETCH(QByteArray, envelope);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        const QString file = write(QStringLiteral("envelope"), envelope);
        const Outcome outcome = run(QStringLiteral("tesselctl"), QStringList{QStringLiteral("verify-catalog")} +
                                                                     configurationArguments() + QStringList{file});
        QCOMPARE(outcome.exitCode, exitCode);
        QCOMPARE(outcome.out, out);
        QCOMPARE(outcome.err, err);
    }

    void compareVersionsTakesOperandsAfterDoubleDash()
    {
        QCOMPARE(run(QStringLiteral("tesselctl"), {QStringLiteral("compare-versions"), QStringLiteral("--"),
                                                   QStringLiteral("-1.0"), QStringLiteral("1")})
                     .out,
                 QStringLiteral("ascending\n"));
        QCOMPARE(run(QStringLiteral("tesselctl"),
                     {QStringLiteral("compare-versions"), QStringLiteral("1.10"), QStringLiteral("1.9")})
                     .out,
                 QStringLiteral("descending\n"));
        const Outcome missing =
            run(QStringLiteral("tesselctl"), {QStringLiteral("compare-versions"), QStringLiteral("1")});
        QCOMPARE(missing.exitCode, 2);
        QVERIFY(missing.err.contains(QStringLiteral("usage")));
    }

    void catalogLoadsFromTheServiceThenTheCache()
    {
        TestServer server;
        server.respond("/v1/catalog",
                       HttpResponse::ok(m_signer.envelopeOf({app(QStringLiteral("a"))}), "application/json"));
        const QString cache = m_folder.filePath(QStringLiteral("cache.json"));
        const QStringList arguments =
            QStringList{QStringLiteral("catalog"), QStringLiteral("--service"), server.url().toString()} +
            configurationArguments() + QStringList{QStringLiteral("--cache"), cache};
        const Outcome online = run(QStringLiteral("tesselctl"), arguments);
        QCOMPARE(online.exitCode, 0);
        QCOMPARE(online.out, QStringLiteral("a\tA\n"));
        const QList<QJsonObject> listed =
            jsonLines(run(QStringLiteral("tesselctl"), arguments + QStringList{QStringLiteral("--json")}).out);
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed[0].value(QStringLiteral("id")), QStringLiteral("a"));
        QCOMPARE(listed[0].value(QStringLiteral("name")), QStringLiteral("A"));

        HttpResponse down = HttpResponse::notFound();
        down.status = 500;
        server.respond("/v1/catalog", down);
        const QString answered =
            QStringLiteral("%1 answered 500").arg(server.url(QStringLiteral("/v1/catalog")).toString());
        const Outcome kept = run(QStringLiteral("tesselctl"), arguments);
        QCOMPARE(kept.out, QStringLiteral("a\tA\n"));
        QCOMPARE(kept.exitCode, 0);
        QVERIFY(kept.err.startsWith(QStringLiteral("warning: using the catalog saved 20")));
        QVERIFY(kept.err.endsWith(QStringLiteral(", because ") + answered + u'\n'));
        QCOMPARE(kept.err.count(u'\n'), 1);
        QFile::remove(cache);
        const Outcome offline = run(QStringLiteral("tesselctl"), arguments);
        QCOMPARE(offline.exitCode, 3);
        QCOMPARE(offline.err,
                 QStringLiteral("error: unavailable\n  %1\n  no kept copy could be read at %2: cannot open %2: No such "
                                "file or directory\n  the service and its keys come from the command line\n")
                     .arg(answered, cache));
    }

    // Each way of not getting a catalog names the address and what answered.
    void catalogFailuresSayWhatHappened_data()
    {
        QTest::addColumn<QString>("service"); // "refused", "http", or "https"
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<QString>("reason");
        QTest::newRow("connection refused") << "refused" << true << "no answer from %1: Connection refused";
        QTest::newRow("plain HTTP") << "http" << true << "no answer from %1: ";
        QTest::newRow("404") << "https" << true << "%1 answered 404";
        QTest::newRow("untrusted authority") << "https" << false << "no answer from %1: SSL handshake failed";
    }

    void catalogFailuresSayWhatHappened()
    {
        QFETCH(QString, service);
        QFETCH(bool, trusted);
        QFETCH(QString, reason);
        TestServer server;
        QUrl base = service == QLatin1String("refused") ? TestServer::refusingURL() : server.url();
        if (service == QLatin1String("http"))
            base.setScheme(QStringLiteral("http"));
        m_trustTestAuthority = trusted;
        const Outcome outcome =
            run(QStringLiteral("tesselctl"),
                QStringList{QStringLiteral("catalog"), QStringLiteral("--service"), base.toString()} +
                    configurationArguments() +
                    QStringList{QStringLiteral("--cache"), m_folder.filePath(QStringLiteral("none"))});
        QCOMPARE(outcome.exitCode, 3);
        const QStringList lines = outcome.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.value(0), QStringLiteral("error: unavailable"));
        const QString expected =
            QStringLiteral("  ") + reason.arg(base.resolved(QUrl(QStringLiteral("v1/catalog"))).toString());
        QVERIFY2(lines.value(1).startsWith(expected), qPrintable(lines.value(1)));
    }

    // Every request names the store, and a printed address is one a script can pass on.
    void requestsNameTheStoreAndAddressesAreEncoded()
    {
        TestServer server;
        QByteArray agent;
        server.handle("/v1/catalog", [&agent, this](const HttpRequest &request) {
            for (const auto &[name, value] : request.headers) {
                if (name.compare("user-agent", Qt::CaseInsensitive) == 0)
                    agent = value;
            }
            return HttpResponse::ok(m_signer.envelopeOf({app(QStringLiteral("a"))}), "application/json");
        });
        QCOMPARE(run(QStringLiteral("tesselctl"),
                     QStringList{QStringLiteral("catalog"), QStringLiteral("--service"), server.url().toString()} +
                         configurationArguments() +
                         QStringList{QStringLiteral("--cache"), m_folder.filePath(QStringLiteral("agent-cache"))})
                     .exitCode,
                 0);
        QVERIFY2(QRegularExpression(QStringLiteral("^TesselStore/\\d+\\.\\d+\\.\\d+ \\(Linux\\)$"))
                     .match(QString::fromLatin1(agent))
                     .hasMatch(),
                 agent.constData());

        const QString feed = write(QStringLiteral("spaced.xml"),
                                   "<rss xmlns:sparkle=\"s\"><channel><item><sparkle:version>3</sparkle:version>"
                                   "<enclosure url=\"https://d.example/My%20App%203.zip\"/></item></channel></rss>");
        const Outcome release =
            run(QStringLiteral("tesselctl"),
                {QStringLiteral("newest-release"), QStringLiteral("--system"), QStringLiteral("14.5.0"), feed});
        QCOMPARE(release.out.section(u'\t', 2, 2), QStringLiteral("https://d.example/My%20App%203.zip"));
        const QList<QJsonObject> json =
            jsonLines(run(QStringLiteral("tesselctl"), {QStringLiteral("newest-release"), QStringLiteral("--json"),
                                                        QStringLiteral("--system"), QStringLiteral("14.5.0"), feed})
                          .out);
        QCOMPARE(json, (QList<QJsonObject>{{{"build", "3"},
                                            {"version", "3"},
                                            {"url", "https://d.example/My%20App%203.zip"},
                                            {"length", QJsonValue()},
                                            {"edSignature", QJsonValue()},
                                            {"minimumSystemVersion", QJsonValue()}}}));
    }

    void newestReleasePrintsOneLineOrNothing()
    {
        const QString feed = QStringLiteral(TESSEL_TEST_DATA "/feeds/quire-legacy.xml");
        const Outcome found =
            run(QStringLiteral("tesselctl"),
                {QStringLiteral("newest-release"), QStringLiteral("--system"), QStringLiteral("14.5.0"), feed});
        QCOMPARE(found.exitCode, 0);
        QCOMPARE(
            found.out,
            QStringLiteral("2024.10\t2024.10\thttps://downloads.orvel.example/quire/Quire-2024.10.dmg\t\t\t12.0\n"));
        const QString empty = write(QStringLiteral("empty.xml"), "<rss><channel/></rss>");
        const Outcome none =
            run(QStringLiteral("tesselctl"),
                {QStringLiteral("newest-release"), QStringLiteral("--system"), QStringLiteral("14.5.0"), empty});
        QCOMPARE(none.exitCode, 1);
        QCOMPARE(none.out, QString());
        QCOMPARE(none.err, QStringLiteral("error: nothing runnable\n"));
        const QString broken = write(QStringLiteral("broken.xml"), "<rss><channel>");
        const Outcome malformed =
            run(QStringLiteral("tesselctl"),
                {QStringLiteral("newest-release"), QStringLiteral("--system"), QStringLiteral("14.5.0"), broken});
        QCOMPARE(malformed.exitCode, 1);
        QCOMPARE(malformed.err, QStringLiteral("error: malformed\n"));
    }

    void checkAndInstalledReportThisMachine()
    {
        TestServer server;
        QJsonObject a = app(QStringLiteral("a"));
        a.insert(QStringLiteral("appcastURL"), server.url(QStringLiteral("/a.xml")).toString());
        QJsonObject b = app(QStringLiteral("b"));
        b.insert(QStringLiteral("appcastURL"), server.url(QStringLiteral("/b.xml")).toString());
        server.respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf({a, b}), "application/json"));
        server.respond("/a.xml",
                       HttpResponse::ok("<rss xmlns:sparkle=\"s\"><channel><item><sparkle:version>2</sparkle:version>"
                                        "<enclosure url=\"https://d.example/a.zip\"/></item></channel></rss>",
                                        "application/rss+xml"));
        const QString bundle = BundleFactory::write(
            m_folder.filePath(QStringLiteral("Applications/A.app")),
            BundleFactory::info(QStringLiteral("com.orvel.a"), QStringLiteral("1.0"), QStringLiteral("1")));
        const QStringList service =
            QStringList{QStringLiteral("--service"), server.url().toString()} + configurationArguments();

        // b's feed answers 404: the check did not see all, and says so.
        const Outcome checked = run(QStringLiteral("tesselctl"), QStringList{QStringLiteral("check")} + service);
        QCOMPARE(checked.exitCode, 4);
        // In a pipe, the rows alone: no header, no time.
        QCOMPARE(checked.out, QStringLiteral("a\t1\t2\tupdate\nb\t-\t-\tunchecked\n"));
        QCOMPARE(checked.err, QStringLiteral("Could not check one app: its update feed could not be read.\n"
                                             "  b: %1 answered 404\n")
                                  .arg(server.url(QStringLiteral("/b.xml")).toString()));

        const Outcome installed = run(QStringLiteral("tesselctl"), QStringList{QStringLiteral("installed")} + service);
        QCOMPARE(installed.out, QStringLiteral("a\t%1\t1.0\t1\n").arg(bundle));

        const QString json = QStringLiteral("--json");
        const QList<QJsonObject> checkedApps =
            jsonLines(run(QStringLiteral("tesselctl"), QStringList{QStringLiteral("check"), json} + service).out);
        QCOMPARE(checkedApps.size(), 2);
        QCOMPARE(checkedApps[0], (QJsonObject{{"id", "a"},
                                              {"installedVersion", "1.0"},
                                              {"installedBuild", "1"},
                                              {"availableVersion", "2"},
                                              {"availableBuild", "2"},
                                              {"status", "update"},
                                              {"reason", QJsonValue()}}));
        QCOMPARE(checkedApps[1].value(QStringLiteral("status")), QStringLiteral("unchecked"));
        QCOMPARE(checkedApps[1].value(QStringLiteral("installedBuild")), QJsonValue());
        QVERIFY(checkedApps[1].value(QStringLiteral("reason")).toString().endsWith(QStringLiteral("answered 404")));
        QCOMPARE(
            jsonLines(run(QStringLiteral("tesselctl"), QStringList{QStringLiteral("installed"), json} + service).out),
            (QList<QJsonObject>{{{"id", "a"}, {"path", bundle}, {"version", "1.0"}, {"build", "1"}}}));
    }

    // With the service stopped, the kept catalog stands in and no feed answers: neither
    // check nor update may pass that off as "up to date".
    void aStoppedServiceIsNeverReportedAsUpToDate()
    {
        auto server = std::make_unique<TestServer>();
        QList<QJsonObject> apps;
        for (const QString &id : {QStringLiteral("a"), QStringLiteral("b")}) {
            QJsonObject record = app(id);
            record.insert(QStringLiteral("appcastURL"), server->url(QStringLiteral("/%1.xml").arg(id)).toString());
            server->respond(QStringLiteral("/%1.xml").arg(id).toLatin1(),
                            HttpResponse::ok("<rss xmlns:sparkle=\"s\"><channel><item><sparkle:version>2"
                                             "</sparkle:version><enclosure url=\"https://d.example/x.zip\"/>"
                                             "</item></channel></rss>",
                                             "application/rss+xml"));
            apps.append(record);
        }
        server->respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf(apps), "application/json"));
        BundleFactory::write(
            m_folder.filePath(QStringLiteral("Applications/A.app")),
            BundleFactory::info(QStringLiteral("com.orvel.a"), QStringLiteral("1.0"), QStringLiteral("2")));
        const QStringList service =
            QStringList{QStringLiteral("--service"), server->url().toString()} + configurationArguments();
        const Outcome online = run(QStringLiteral("tesselctl"), QStringList{QStringLiteral("check")} + service);
        QCOMPARE(online.err, QString());
        QCOMPARE(online.exitCode, 0);
        QCOMPARE(
            run(QStringLiteral("tesselctl"), QStringList{QStringLiteral("update"), QStringLiteral("--all")} + service)
                .out,
            QStringLiteral("Everything is up to date.\n"));

        const QString catalogURL = server->url(QStringLiteral("/v1/catalog")).toString();
        server.reset();
        const QString cacheWarning = QStringLiteral("warning: using the catalog saved ");
        const QString problem = QStringLiteral("Could not check 2 apps: the update service did not answer.\n");
        const Outcome offline = run(QStringLiteral("tesselctl"), QStringList{QStringLiteral("check")} + service);
        QCOMPARE(offline.exitCode, 4);
        QVERIFY(offline.out.startsWith(QStringLiteral("a\t2\t-\tunchecked\nb\t-\t-\tunchecked\n")));
        const QStringList errors = offline.err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(errors.size(), 4);
        QVERIFY2(errors[0].startsWith(cacheWarning), qPrintable(errors[0]));
        QVERIFY2(errors[0].endsWith(QStringLiteral(", because no answer from %1: Connection refused").arg(catalogURL)),
                 qPrintable(errors[0]));
        QCOMPARE(errors[1] + u'\n', problem);
        QVERIFY(errors[2].startsWith(QStringLiteral("  a: no answer from ")));

        const Outcome update =
            run(QStringLiteral("tesselctl"), QStringList{QStringLiteral("update"), QStringLiteral("--all")} + service);
        QCOMPARE(update.exitCode, 4);
        QCOMPARE(update.out, QString());
        QVERIFY(update.err.startsWith(cacheWarning));
        QVERIFY(update.err.contains(u'\n' + problem));
    }

    // A copy that cannot be started is reported; one that starts is left to itself.
    void openReportsAnAppThatCannotStart_data()
    {
        QTest::addColumn<QByteArray>("executable");
        QTest::addColumn<bool>("executableBit");
        QTest::addColumn<QString>("reason");
        QTest::newRow("starts") << QByteArray("#!/bin/sh\ntouch \"$0.ran\"\n") << true << QString();
        QTest::newRow("missing") << QByteArray() << true << "does not exist";
        QTest::newRow("not executable") << QByteArray("#!/bin/sh\n") << false << "is not an executable file";
        QTest::newRow("exec fails") << QByteArray("not a program") << true << "could not be started: Exec format error";
    }

    void openReportsAnAppThatCannotStart()
    {
        QFETCH(QByteArray, executable);
        QFETCH(bool, executableBit);
        QFETCH(QString, reason);
        TestServer server;
        server.respond("/v1/catalog",
                       HttpResponse::ok(m_signer.envelopeOf({app(QStringLiteral("a"))}), "application/json"));
        const QString bundle = BundleFactory::write(
            m_folder.filePath(QStringLiteral("Applications/A.app")),
            BundleFactory::info(QStringLiteral("com.orvel.a"), QStringLiteral("1.0"), QStringLiteral("1")));
        const QString program = bundle + QStringLiteral("/Contents/MacOS/app");
        QFile::remove(program);
        QFile::remove(program + QStringLiteral(".ran"));
        if (!executable.isEmpty()) {
            write(QStringLiteral("Applications/A.app/Contents/MacOS/app"), executable);
            if (executableBit)
                QFile::setPermissions(program, QFile::permissions(program) | QFile::ExeOwner);
        }
        const Outcome opened =
            run(QStringLiteral("tesselctl"),
                QStringList{QStringLiteral("open"), QStringLiteral("--service"), server.url().toString()} +
                    configurationArguments() + QStringList{QStringLiteral("a")});
        if (reason.isEmpty()) {
            QCOMPARE(opened.err, QString());
            QCOMPARE(opened.exitCode, 0);
            QTRY_VERIFY(QFile::exists(program + QStringLiteral(".ran")));
            return;
        }
        QCOMPARE(opened.exitCode, 1);
        QCOMPARE(opened.err, QStringLiteral("error: A could not be opened: %1 %2\n").arg(program, reason));
    }

    // An app this system cannot run is named as such; an unknown one gets the list.
    void installSaysWhyThereIsNoSuchApp()
    {
        TestServer server;
        server.respond("/v1/catalog",
                       HttpResponse::ok(m_signer.envelopeOf({app(QStringLiteral("a")),
                                                             app(QStringLiteral("orbit"), QStringLiteral("999.0")),
                                                             app(QStringLiteral("b"))}),
                                        "application/json"));
        const QStringList install =
            QStringList{QStringLiteral("install"), QStringLiteral("--service"), server.url().toString()} +
            configurationArguments();
        const Outcome tooNew = run(QStringLiteral("tesselctl"), install + QStringList{QStringLiteral("orbit")});
        QCOMPARE(tooNew.exitCode, 1);
        QVERIFY2(tooNew.err.startsWith(QStringLiteral("error: ORBIT needs system 999.0 or newer; this system is ")),
                 qPrintable(tooNew.err));
        const Outcome unknown = run(QStringLiteral("tesselctl"), install + QStringList{QStringLiteral("nosuch")});
        QCOMPARE(unknown.exitCode, 2);
        QCOMPARE(unknown.err, QStringLiteral("error: no app \"nosuch\" in the catalog; it lists: a, b\n"));
    }

    // --help and -h describe to standard output, --version names the version, and a usage
    // error is one line on standard error pointing at --help.
    void helpVersionAndUsageErrors()
    {
        for (const QString &tool : {QStringLiteral("tesselctl"), QStringLiteral("tessel-service")}) {
            const Outcome help = run(tool, {QStringLiteral("--help")});
            QCOMPARE(help.exitCode, 0);
            QVERIFY(help.out.startsWith(QStringLiteral("usage: %1 COMMAND").arg(tool)));
            QVERIFY(help.out.contains(QStringLiteral("commands:")));
            QCOMPARE(help.err, QString());
            const Outcome version = run(tool, {QStringLiteral("--version")});
            QCOMPARE(version.exitCode, 0);
            QVERIFY(QRegularExpression(QStringLiteral("^%1 \\d+\\.\\d+\\.\\d+\n$").arg(tool))
                        .match(version.out)
                        .hasMatch());
            const Outcome none = run(tool, {});
            QCOMPARE(none.exitCode, 2);
            QCOMPARE(none.err, QStringLiteral("%1: no command given; see '%1 --help'\n").arg(tool));
        }
        const Outcome commandHelp = run(QStringLiteral("tesselctl"), {QStringLiteral("install"), QStringLiteral("-h")});
        QCOMPARE(commandHelp.exitCode, 0);
        QVERIFY(commandHelp.out.startsWith(QStringLiteral("usage: tesselctl install ")));
        QVERIFY(commandHelp.out.contains(QStringLiteral("--no-open")));
        const Outcome wrong =
            run(QStringLiteral("tessel-service"), {QStringLiteral("keygen"), QStringLiteral("--bogus")});
        QCOMPARE(wrong.exitCode, 2);
        QCOMPARE(wrong.out, QString());
        QCOMPARE(wrong.err, QStringLiteral("tessel-service keygen: Unknown option 'bogus'; see 'tessel-service keygen "
                                           "--help' for its usage\n"));
    }

    void signedBundlesPassTheCodeSignatureCheck()
    {
        const QString ca = m_folder.filePath(QStringLiteral("ca"));
        const QString identity = m_folder.filePath(QStringLiteral("identity"));
        QVERIFY(makeSigningIdentity(ca, identity));
        const QString bundle = BundleFactory::write(
            m_folder.filePath(QStringLiteral("codesigned/Lumen.app")),
            BundleFactory::info(QStringLiteral("com.orvel.lumen"), QString(), QStringLiteral("1")));
        QCOMPARE(
            run(QStringLiteral("tessel-service"),
                {QStringLiteral("sign-bundle"), QStringLiteral("--cert"), identity + QStringLiteral("/signing.pem"),
                 QStringLiteral("--key"), identity + QStringLiteral("/signing-key.pem"), QStringLiteral("--chain"),
                 ca + QStringLiteral("/intermediate.pem"), bundle})
                .exitCode,
            0);
        const QStringList check{QStringLiteral("check-code-signature"), QStringLiteral("--bundle-id"),
                                QStringLiteral("com.orvel.lumen"), QStringLiteral("--team-id"),
                                QStringLiteral("ORVEL12345")};
        const Outcome valid =
            run(QStringLiteral("tesselctl"),
                check + QStringList{QStringLiteral("--anchor"), ca + QStringLiteral("/root.pem"), bundle});
        QCOMPARE(valid.exitCode, 0);
        QCOMPARE(valid.out, QStringLiteral("valid\n"));
        const Outcome untrusted = run(QStringLiteral("tesselctl"), check + QStringList{bundle});
        QCOMPARE(untrusted.exitCode, 1);
        QVERIFY(untrusted.out.startsWith(QStringLiteral("invalid: untrusted-signer: ")));
    }

    // The tools installed inside a store bundle take its configuration: service, trust anchors.
    void installAndUpdateFromAStoreBundle()
    {
        TestServer server;
        ReleaseFactory releases(m_folder.filePath(QStringLiteral("releases")));
        const QString store = m_folder.filePath(QStringLiteral("Tessel Store.app"));
        const ServiceConfiguration configuration = m_signer.configuration(server.url());
        QVariantList anchors;
        const TrustAnchors trusted = releases.anchors();
        for (const QByteArray &anchor : trusted.certificates())
            anchors.append(QString::fromLatin1(anchor.toBase64()));
        writeTestFile(store + QStringLiteral("/Contents/Info.plist"),
                      PropertyList::serialize(
                          QVariantMap{{QStringLiteral("TesselServiceURL"), configuration.serverURL.toString()},
                                      {QStringLiteral("TesselServiceIssuer"), configuration.issuer},
                                      {QStringLiteral("TesselServiceKeyID"), configuration.keyID},
                                      {QStringLiteral("TesselServicePublicKey"), configuration.publicKey},
                                      {QStringLiteral("TesselCodeSigningAnchors"), anchors}},
                          PropertyList::Format::XML));
        QDir().mkpath(store + QStringLiteral("/Contents/MacOS"));
        QVERIFY(QFile::copy(QStringLiteral(TESSEL_BIN_DIR "/tesselctl"),
                            store + QStringLiteral("/Contents/MacOS/tesselctl")));

        enum class Signature { Good, Forged };
        auto publish = [&](const QString &build, Signature signature) {
            const QByteArray archive =
                ReleaseFactory::zip(releases.app(QStringLiteral("lumen"), QStringLiteral("com.orvel.lumen"), build));
            QJsonObject lumen = app(QStringLiteral("lumen"));
            lumen.insert(QStringLiteral("appcastURL"), server.url(QStringLiteral("/lumen.xml")).toString());
            lumen.insert(QStringLiteral("sparklePublicKey"), releases.archivePublicKey());
            server.respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf({lumen}), "application/json"));
            const QString edSignature = releases.signature(signature == Signature::Good ? archive : archive + 'x');
            server.respond("/lumen.xml",
                           HttpResponse::ok("<rss xmlns:sparkle=\"s\"><channel><item><sparkle:version>" +
                                                build.toUtf8() + "</sparkle:version><enclosure url=\"" +
                                                server.url(QStringLiteral("/lumen.zip")).toString().toUtf8() +
                                                "\" sparkle:edSignature=\"" + edSignature.toUtf8() +
                                                "\"/></item></channel></rss>",
                                            "application/rss+xml"));
            server.respond("/lumen.zip", HttpResponse::ok(archive, "application/zip"));
        };
        const QString tool = store + QStringLiteral("/Contents/MacOS/tesselctl");
        publish(QStringLiteral("1"), Signature::Good);
        const Outcome installed =
            run(tool, {QStringLiteral("install"), QStringLiteral("--no-open"), QStringLiteral("lumen")});
        QCOMPARE(installed.exitCode, 0);
        // Results on standard output, progress on standard error: a line per tenth in a pipe.
        QCOMPARE(installed.out, QStringLiteral("LUMEN: done\n"));
        QVERIFY2(installed.err.endsWith(QStringLiteral("LUMEN: 100%\n")), qPrintable(installed.err));
        QVERIFY(QFile::exists(m_folder.filePath(QStringLiteral("Applications/lumen.app/Contents/Info.plist"))));
        QVERIFY(!QFile::exists(releases.launchMarker()));
        QCOMPARE(run(tool, {QStringLiteral("open"), QStringLiteral("lumen")}).exitCode, 0);
        QTRY_VERIFY(QFile::exists(releases.launchMarker()));
        // A current app is not downloaded again unless asked.
        const Outcome current = run(tool, {QStringLiteral("install"), QStringLiteral("lumen")});
        QCOMPARE(current.exitCode, 0);
        QCOMPARE(current.out,
                 QStringLiteral("LUMEN is up to date (version 1, build 1); '--reinstall' installs it again.\n"));
        const int downloads = server.hits("/lumen.zip");
        const Outcome again = run(tool, {QStringLiteral("install"), QStringLiteral("--reinstall"),
                                         QStringLiteral("--no-open"), QStringLiteral("-q"), QStringLiteral("lumen")});
        QCOMPARE(again.exitCode, 0);
        QCOMPARE(again.out + again.err, QString()); // quiet: nothing but errors
        QCOMPARE(server.hits("/lumen.zip"), downloads + 1);

        publish(QStringLiteral("2"), Signature::Forged);
        const Outcome refused = run(tool, {QStringLiteral("update"), QStringLiteral("--all")});
        QCOMPARE(refused.exitCode, 1);
        QVERIFY(refused.err.contains(QStringLiteral("did not pass the security check")));
        // The exact reason follows the sentence.
        QVERIFY(refused.err.contains(QStringLiteral("LUMEN: the signature does not verify over the archive")));

        publish(QStringLiteral("3"), Signature::Good);
        const Outcome updated = run(tool, {QStringLiteral("update"), QStringLiteral("--all")});
        QCOMPARE(updated.exitCode, 0);
        QVERIFY(run(tool, {QStringLiteral("installed")}).out.endsWith(QStringLiteral("\t3\t3\n")));
        QCOMPARE(run(tool, {QStringLiteral("update"), QStringLiteral("--all")}).out,
                 QStringLiteral("Everything is up to date.\n"));
    }

    // The same inputs and keys give the same service, signatures apart.
    void demoServiceIsReproducible()
    {
        QStringList outputs;
        for (const QString &name : {QStringLiteral("first"), QStringLiteral("second")}) {
            const QString out = m_folder.filePath(QStringLiteral("demo-") + name);
            const Outcome built =
                run(QStringLiteral("tessel-service"),
                    {QStringLiteral("build-demo"), QStringLiteral("--from"), QStringLiteral(TESSEL_SOURCE_DIR "/demo"),
                     QStringLiteral("--keys"), m_folder.filePath(QStringLiteral("demo-keys")),
                     QStringLiteral("--base-url"), QStringLiteral("https://127.0.0.1:4711/"),
                     QStringLiteral("--demo-app"), QStringLiteral(TESSEL_BIN_DIR "/tessel-demo-app"), out});
            QCOMPARE(built.exitCode, 0);
            outputs.append(out);
        }
        const QStringList catalogs{readFile(outputs[0] + QStringLiteral("/v1/catalog.json")),
                                   readFile(outputs[1] + QStringLiteral("/v1/catalog.json"))};
        QVERIFY(!catalogs[0].isEmpty());
        QCOMPARE(catalogs[0], catalogs[1]);
        for (const QString &image :
             {QStringLiteral("images/lumen/shot-1.png"), QStringLiteral("images/quire/icon.png")})
            QCOMPARE(readFile(outputs[0] + u'/' + image), readFile(outputs[1] + u'/' + image));
        QCOMPARE(pngSize(outputs[0] + QStringLiteral("/images/lumen/shot-1.png")), QSize(4000, 3000));
    }

    void archiveSignaturesRoundTrip()
    {
        const QString key = m_folder.filePath(QStringLiteral("archive-key.pem"));
        const QStringList lines =
            run(QStringLiteral("tessel-service"), {QStringLiteral("keygen"), QStringLiteral("--out"), key})
                .out.split(u'\n', Qt::SkipEmptyParts);
        const QString publicKey = lines.value(1).section(u'\t', 1);
        const QString archive = write(QStringLiteral("release.zip"), QByteArray(100000, 'r'));
        const QString signature = run(QStringLiteral("tessel-service"),
                                      {QStringLiteral("sign-archive"), QStringLiteral("--key"), key, archive})
                                      .out.trimmed();
        const QStringList check{QStringLiteral("check-archive"), QStringLiteral("--public-key"), publicKey,
                                QStringLiteral("--signature")};
        const Outcome valid = run(QStringLiteral("tesselctl"), check + QStringList{signature, archive});
        QCOMPARE(valid.out, QStringLiteral("valid\n"));
        QCOMPARE(valid.exitCode, 0);
        write(QStringLiteral("release.zip"), QByteArray(100000, 's'));
        const Outcome invalid = run(QStringLiteral("tesselctl"), check + QStringList{signature, archive});
        QCOMPARE(invalid.out, QStringLiteral("invalid\n"));
        QCOMPARE(invalid.err, QStringLiteral("the signature does not verify over the archive with the app's key\n"));
        QCOMPARE(invalid.exitCode, 1);
    }

    // A key file is never replaced unasked, and every private key is the owner's alone.
    void makerKeysAreKeptAndPrivate()
    {
        const QString key = m_folder.filePath(QStringLiteral("kept-key.pem"));
        const QStringList keygen{QStringLiteral("keygen"), QStringLiteral("--out"), key};
        QCOMPARE(run(QStringLiteral("tessel-service"), keygen).exitCode, 0);
        const QString first = readFile(key);
        const Outcome refused = run(QStringLiteral("tessel-service"), keygen);
        QCOMPARE(refused.exitCode, 1);
        QCOMPARE(refused.err, QStringLiteral("error: %1 exists; --force replaces it\n").arg(key));
        QCOMPARE(readFile(key), first);
        QCOMPARE(run(QStringLiteral("tessel-service"), keygen + QStringList{QStringLiteral("--force")}).exitCode, 0);
        QVERIFY(readFile(key) != first);

        const QString ca = m_folder.filePath(QStringLiteral("private-ca"));
        const QString identity = m_folder.filePath(QStringLiteral("private-identity"));
        const QString tls = m_folder.filePath(QStringLiteral("private-tls"));
        QVERIFY(makeSigningIdentity(ca, identity));
        QCOMPARE(run(QStringLiteral("tessel-service"), {QStringLiteral("make-tls-cert"), QStringLiteral("--out"), tls})
                     .exitCode,
                 0);
        const QFile::Permissions ownerOnly = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser;
        for (const QString &privateKey :
             {key, ca + QStringLiteral("/root-key.pem"), ca + QStringLiteral("/intermediate-key.pem"),
              identity + QStringLiteral("/signing-key.pem"), tls + QStringLiteral("/server-key.pem")})
            QCOMPARE(QFile(privateKey).permissions(), ownerOnly);
    }

    // What the store would refuse is not signed, and the reason names the record and field.
    void signCatalogRefusesWhatTheStoreWouldRefuse_data()
    {
        QTest::addColumn<QByteArray>("catalog");
        QTest::addColumn<QString>("reason");
        QTest::newRow("not JSON") << QByteArray("{bad json") << "not JSON: ";
        QJsonObject noFeed = app(QStringLiteral("z"));
        noFeed.remove(QStringLiteral("appcastURL"));
        QTest::newRow("a record without its feed")
            << catalogJSON(QStringLiteral("me"), {app(QStringLiteral("y")), noFeed})
            << "app 2 (\"z\"): the field \"appcastURL\" is missing or not of its type";
    }

    void signCatalogRefusesWhatTheStoreWouldRefuse()
    {
        QFETCH(QByteArray, catalog);
        QFETCH(QString, reason);
        const QString key = m_folder.filePath(QStringLiteral("catalog-key.pem"));
        run(QStringLiteral("tessel-service"),
            {QStringLiteral("keygen"), QStringLiteral("--force"), QStringLiteral("--out"), key});
        const QString file = write(QStringLiteral("refused.json"), catalog);
        const QString envelope = m_folder.filePath(QStringLiteral("refused-envelope"));
        const Outcome signing =
            run(QStringLiteral("tessel-service"),
                {QStringLiteral("sign-catalog"), QStringLiteral("--key"), key, QStringLiteral("--kid"),
                 QStringLiteral("k9"), QStringLiteral("--out"), envelope, file});
        QCOMPARE(signing.exitCode, 1);
        QVERIFY2(signing.err.startsWith(
                     QStringLiteral("error: %1 is not a catalog the store accepts: %2").arg(file, reason)),
                 qPrintable(signing.err));
        QVERIFY(!QFile::exists(envelope));
    }

    // The base address is a folder, a missing archive folder is an error, and an app without a
    // short version gets no empty element for it.
    void makeAppcastTakesTheBaseAsAFolder()
    {
        ReleaseFactory releases(m_folder.filePath(QStringLiteral("appcast-releases")));
        const QString archives = m_folder.filePath(QStringLiteral("archives"));
        QDir().mkpath(archives);
        const QString bundle =
            releases.app(QStringLiteral("lumen"), QStringLiteral("com.orvel.lumen"), QStringLiteral("7"));
        QVERIFY(QFile::remove(bundle + QStringLiteral("/Contents/Info.plist")));
        writeTestFile(bundle + QStringLiteral("/Contents/Info.plist"),
                      PropertyList::serialize(
                          BundleFactory::info(QStringLiteral("com.orvel.lumen"), QString(), QStringLiteral("7")),
                          PropertyList::Format::XML));
        write(QStringLiteral("archives/Lumen 7.zip"), ReleaseFactory::zip(bundle));
        const Outcome feed = run(QStringLiteral("tessel-service"),
                                 {QStringLiteral("make-appcast"), QStringLiteral("--dir"), archives,
                                  QStringLiteral("--base-url"), QStringLiteral("https://host.example/archives")});
        QCOMPARE(feed.exitCode, 0);
        QVERIFY2(feed.out.contains(QStringLiteral("url=\"https://host.example/archives/Lumen%207.zip\"")),
                 qPrintable(feed.out));
        QVERIFY(!feed.out.contains(QStringLiteral("shortVersionString")));
        QVERIFY(feed.out.contains(QStringLiteral("<sparkle:version>7</sparkle:version>")));

        const Outcome missing = run(QStringLiteral("tessel-service"),
                                    {QStringLiteral("make-appcast"), QStringLiteral("--dir"),
                                     m_folder.filePath(QStringLiteral("no-such-folder")), QStringLiteral("--base-url"),
                                     QStringLiteral("https://host.example/")});
        QCOMPARE(missing.exitCode, 1);
        QCOMPARE(missing.out, QString());
        QCOMPARE(
            missing.err,
            QStringLiteral("error: there is no folder %1\n").arg(m_folder.filePath(QStringLiteral("no-such-folder"))));
    }

    void serviceToolSignsWhatVerifyAccepts()
    {
        const QString key = m_folder.filePath(QStringLiteral("key.pem"));
        const Outcome keygen =
            run(QStringLiteral("tessel-service"), {QStringLiteral("keygen"), QStringLiteral("--out"), key});
        QCOMPARE(keygen.exitCode, 0);
        const QStringList lines = keygen.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);
        const QString publicKey = lines[0].section(u'\t', 1);
        QCOMPARE(publicKey.size(), 43);
        QCOMPARE(Base64::decodeURL(publicKey), Base64::decode(lines[1].section(u'\t', 1)));
        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther;
        QCOMPARE(QFile(key).permissions() & others, QFile::Permissions());

        const QString catalog =
            write(QStringLiteral("catalog.json"), catalogJSON(QStringLiteral("me"), {app(QStringLiteral("z"))}));
        const QString envelope = m_folder.filePath(QStringLiteral("signed"));
        QCOMPARE(run(QStringLiteral("tessel-service"),
                     {QStringLiteral("sign-catalog"), QStringLiteral("--key"), key, QStringLiteral("--kid"),
                      QStringLiteral("k9"), QStringLiteral("--out"), envelope, catalog})
                     .exitCode,
                 0);
        const Outcome verified =
            run(QStringLiteral("tesselctl"), {QStringLiteral("verify-catalog"), QStringLiteral("--issuer"),
                                              QStringLiteral("me"), QStringLiteral("--key-id"), QStringLiteral("k9"),
                                              QStringLiteral("--public-key"), publicKey, envelope});
        QCOMPARE(verified.exitCode, 0);
        QCOMPARE(verified.out, QStringLiteral("z\tZ\n"));
    }
};

QTEST_GUILESS_MAIN(TesselctlTest)
#include "tst_tesselctl.moc"
