#include "catalog/catalogloader.h"
#include "codesign/bundlesignatureverifier.h"
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/releasefactory.h"
#include "harness/testserver.h"
#include "install/archivedownload.h"
#include "maker/certificateissuer.h"
#include "net/httpfetch.h"
#include "support/waitforresult.h"

#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace CatalogFixtures;
using namespace std::chrono_literals;
using Kind = InstallFailure::Kind;

Q_DECLARE_METATYPE(HttpResponse)
Q_DECLARE_METATYPE(std::optional<qint64>)
Q_DECLARE_METATYPE(ArchiveLimits)
Q_DECLARE_METATYPE(TransferLimits)

namespace {

// Runs the event loop until done() holds or the patience ends, asking every 20 ms: a busy
// test server keeps the loop from ever being idle, so a wait that asks between event batches
// would ask too rarely.
bool waitUntil(const std::function<bool()> &done, std::chrono::milliseconds patience)
{
    QEventLoop loop;
    QTimer asking;
    QObject::connect(&asking, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    QTimer::singleShot(patience, &loop, &QEventLoop::quit);
    asking.start(20);
    if (!done())
        loop.exec();
    return done();
}

// Runs the event loop until the task ends or the test's patience does; nothing when it did not end.
template<typename T> std::optional<T> resultWithin(QCoro::Task<T> task, std::chrono::milliseconds patience)
{
    std::optional<T> result;
    QCoro::Task<> storing = WaitForResult::storeResult(std::move(task), result);
    waitUntil([&result] { return result.has_value(); }, patience);
    return result;
}

// True once the task has ended: a value for resultWithin.
QCoro::Task<bool> ending(QCoro::Task<> task)
{
    co_await std::move(task);
    co_return true;
}

// The largest file a process holds open under folder, in bytes: where a download is being
// written. Asked through /proc, since a temporary file being written may have no name yet.
qint64 largestOpenFileUnder(qint64 process, const QString &folder)
{
    const QString descriptors = QStringLiteral("/proc/%1/fd").arg(process);
    qint64 largest = 0;
    for (const QString &descriptor : QDir(descriptors).entryList(QDir::System | QDir::Files)) {
        const QString path = descriptors + u'/' + descriptor;
        if (QFileInfo(path).symLinkTarget().startsWith(folder))
            largest = std::max(largest, QFileInfo(path).size());
    }
    return largest;
}

// The peak resident memory of a running process, in bytes (its VmHWM).
qint64 peakResidentBytes(qint64 process)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return -1;
}

QByteArray feed(const QUrl &archive, const QString &signature = QString())
{
    const QByteArray signatureAttribute =
        signature.isEmpty() ? QByteArray() : " sparkle:edSignature=\"" + signature.toUtf8() + '"';
    return "<rss xmlns:sparkle=\"s\"><channel><item><sparkle:version>2</sparkle:version><enclosure url=\"" +
           archive.toString().toUtf8() + '"' + signatureAttribute + "/></item></channel></rss>";
}

} // namespace

class HostileTransfersTest : public QObject
{
    Q_OBJECT

private:
    Signer m_signer;
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<QTemporaryDir> m_folder;

    QString folder(const QString &name) const
    {
        const QString path = m_folder->filePath(name);
        QDir().mkpath(path);
        return path;
    }

    // A catalog of apps whose feeds are /ID.xml on the test server, their archives signed
    // with archiveKey.
    void publishCatalog(const QStringList &productIDs, const QString &archiveKey = QString())
    {
        QList<QJsonObject> apps;
        for (const QString &id : productIDs) {
            QJsonObject entry = app(id);
            entry.insert(QStringLiteral("appcastURL"), m_server->url(QStringLiteral("/%1.xml").arg(id)).toString());
            entry.insert(QStringLiteral("sparklePublicKey"), archiveKey);
            apps.append(entry);
        }
        m_server->respond("/v1/catalog", HttpResponse::ok(m_signer.envelopeOf(apps), "application/json"));
    }

    // Starts tesselctl against the test server, its temporary folder under this test's.
    void startTesselctl(QProcess &process, const QStringList &arguments)
    {
        const QString ca = m_folder->filePath(QStringLiteral("ca.pem"));
        writeTestFile(ca, TestServer::authority().certificate);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("TESSEL_EXTRA_CA_CERTIFICATES"), ca);
        environment.insert(QStringLiteral("HOME"), folder(QStringLiteral("home")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), folder(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), folder(QStringLiteral("share")));
        environment.insert(QStringLiteral("TESSEL_SYSTEM_APPLICATIONS"), folder(QStringLiteral("Applications")));
        environment.insert(QStringLiteral("TMPDIR"), folder(QStringLiteral("tmp")));
        process.setProcessEnvironment(environment);
        const ServiceConfiguration configuration = m_signer.configuration(m_server->url());
        process.start(QStringLiteral(TESSEL_BIN_DIR "/tesselctl"),
                      arguments + QStringList{QStringLiteral("--service"), m_server->url().toString(),
                                              QStringLiteral("--issuer"), configuration.issuer,
                                              QStringLiteral("--key-id"), configuration.keyID,
                                              QStringLiteral("--public-key"), configuration.publicKey});
        QVERIFY(process.waitForStarted());
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<TestServer>();
        m_folder = std::make_unique<QTemporaryDir>();
    }

    void archiveDownloadsStopAtTheirLimits_data()
    {
        QTest::addColumn<HttpResponse>("answer");
        QTest::addColumn<std::optional<qint64>>("declaredLength");
        QTest::addColumn<ArchiveLimits>("limits");
        QTest::addColumn<QString>("failure"); // the reason's start; empty when the archive is taken

        const ArchiveLimits small{.maximumBytes = 2 * 1024 * 1024, .minimumRate = {1, 10s}};
        const std::optional<qint64> kibibytes100 = 100 * 1024;
        QTest::newRow("endless, no length: the hard cap")
            << TestServer::endlessChunks(64 * 1024, 0ms) << std::optional<qint64>() << small
            << "the body is larger than 2097152 bytes";
        QTest::newRow("endless, with a length: length and 64 KiB")
            << TestServer::endlessChunks(64 * 1024, 0ms) << kibibytes100 << small
            << "the body is larger than 167936 bytes";
        QTest::newRow("longer than its length") << HttpResponse::ok(QByteArray(1024 * 1024, 'a'), "application/zip")
                                                << kibibytes100 << small << "the body is larger than 167936 bytes";
        QTest::newRow("a length larger than the cap is capped")
            << HttpResponse::ok(QByteArray(3 * 1024 * 1024, 'a'), "application/zip")
            << std::optional<qint64>(3 * 1024 * 1024) << small << "the body is larger than 2097152 bytes";
        QTest::newRow("within the slack") << HttpResponse::ok(QByteArray(100 * 1024 + 1000, 'a'), "application/zip")
                                          << kibibytes100 << small << QString();
        QTest::newRow("a drip") << TestServer::endlessChunks(1, 50ms) << std::optional<qint64>()
                                << ArchiveLimits{.maximumBytes = small.maximumBytes, .minimumRate = {1024, 400ms}}
                                << "fewer than 1024 bytes arrived in 400 ms";
    }

    void archiveDownloadsStopAtTheirLimits()
    {
        QFETCH(HttpResponse, answer);
        QFETCH(std::optional<qint64>, declaredLength);
        QFETCH(ArchiveLimits, limits);
        QFETCH(QString, failure);
        m_server->respond("/a.zip", answer);
        QNetworkAccessManager session;
        const QString into = folder(QStringLiteral("download"));
        const auto result =
            resultWithin(ArchiveDownload::download(&session, m_server->url(QStringLiteral("/a.zip")), into,
                                                   limits.forLength(declaredLength), [](double) {}),
                         10s);
        QVERIFY2(result, "the download did not end");
        if (failure.isEmpty()) {
            QVERIFY(result->hasValue());
            QCOMPARE(QFileInfo(result->value()).size(), answer.body.size());
            return;
        }
        QVERIFY(!result->hasValue());
        QCOMPARE(InstallFailure::name(result->error().kind), InstallFailure::name(Kind::Download));
        QVERIFY2(result->error().detail.contains(failure), qPrintable(result->error().detail));
        QCOMPARE(QDir(into).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
    }

    // A real store process on an endless archive: the file grows and the memory does not.
    void tesselctlMemoryStaysBoundedOnAnEndlessArchive()
    {
        publishCatalog({QStringLiteral("a")});
        m_server->respond("/a.xml", HttpResponse::ok(feed(m_server->url(QStringLiteral("/a.zip"))), "text/xml"));
        m_server->respond("/a.zip", TestServer::endlessChunks(64 * 1024, 0ms));
        QProcess tesselctl;
        startTesselctl(tesselctl, {QStringLiteral("install"), QStringLiteral("a")});
        constexpr qint64 target = 512 * 1024 * 1024;
        const QString temporary = m_folder->filePath(QStringLiteral("tmp"));
        const bool grew = waitUntil(
            [&] {
                return largestOpenFileUnder(tesselctl.processId(), temporary) >= target ||
                       tesselctl.state() == QProcess::NotRunning;
            },
            60s);
        const qint64 written = largestOpenFileUnder(tesselctl.processId(), temporary);
        const qint64 peak = peakResidentBytes(tesselctl.processId());
        tesselctl.kill();
        tesselctl.waitForFinished();
        qInfo() << "written" << written << "bytes with a peak resident memory of" << peak << "bytes";
        QVERIFY2(grew && written >= target, qPrintable(QString::number(written)));
        QVERIFY2(peak > 0 && peak < 128 * 1024 * 1024, qPrintable(QString::number(peak)));
    }

    void documentFetchesStopAtTheirLimits_data()
    {
        QTest::addColumn<HttpResponse>("answer");
        QTest::addColumn<TransferLimits>("limits");

        QTest::newRow("a drip past the deadline")
            << TestServer::endlessChunks(1, 50ms)
            << TransferLimits{.maximumBytes = 1024 * 1024, .deadline = 500ms, .minimumRate = std::nullopt};
        QTest::newRow("an endless body past the size")
            << TestServer::endlessChunks(64 * 1024, 0ms)
            << TransferLimits{.maximumBytes = 1024 * 1024, .deadline = 60s, .minimumRate = std::nullopt};
    }

    void documentFetchesStopAtTheirLimits()
    {
        QFETCH(HttpResponse, answer);
        QFETCH(TransferLimits, limits);
        m_server->respond("/feed.xml", answer);
        QNetworkAccessManager session;
        const auto fetched =
            resultWithin(HTTPFetch::get(&session, m_server->url(QStringLiteral("/feed.xml")), limits), 10s);
        QVERIFY2(fetched, "the fetch did not end");
        QVERIFY(!fetched->has_value());
    }

    void aDrippingCatalogOrFeedEndsTheLoad_data()
    {
        QTest::addColumn<QByteArray>("dripping");
        QTest::addColumn<StoreModel::LoadState>("loadState");
        QTest::newRow("the feed") << QByteArray("/a.xml") << StoreModel::LoadState::Ready;
        QTest::newRow("the catalog, nothing cached") << QByteArray("/v1/catalog") << StoreModel::LoadState::Failed;
    }

    // The model's catalog and feeds take the environment's limits.
    void aDrippingCatalogOrFeedEndsTheLoad()
    {
        QFETCH(QByteArray, dripping);
        QFETCH(StoreModel::LoadState, loadState);
        publishCatalog({QStringLiteral("a")});
        m_server->respond("/a.xml", HttpResponse::ok(feed(m_server->url(QStringLiteral("/a.zip"))), "text/xml"));
        m_server->respond(dripping, TestServer::endlessChunks(1, 50ms));
        ModelFixture fixture(m_signer, m_server->url());
        fixture.environment.documentLimits.deadline = 500ms;
        const auto model = fixture.makeModel();
        QVERIFY2(resultWithin(ending(model->load()), 10s), "the load did not end");
        QCOMPARE(model->loadState(), loadState);
        QVERIFY(model->releases().isEmpty());
    }

    // An install of one app needs its own feed only: another's drip holds nothing up.
    void installProceedsWhileAnotherFeedDrips()
    {
        ReleaseFactory releases(m_folder->filePath(QStringLiteral("releases")));
        publishCatalog({QStringLiteral("a"), QStringLiteral("b")}, releases.archivePublicKey());
        const QByteArray archive =
            ReleaseFactory::zip(releases.app(QStringLiteral("a"), QStringLiteral("com.orvel.a"), QStringLiteral("2")));
        m_server->respond(
            "/a.xml",
            HttpResponse::ok(feed(m_server->url(QStringLiteral("/a.zip")), releases.signature(archive)), "text/xml"));
        m_server->respond("/a.zip", HttpResponse::ok(archive, "application/zip"));
        m_server->respond("/b.xml", TestServer::endlessChunks(1, 50ms));
        ModelFixture fixture(m_signer, m_server->url());
        fixture.environment.verifier = std::make_shared<BundleSignatureVerifier>(releases.anchors());
        const auto model = fixture.makeModel();
        QCoro::Task<> checking = model->load(); // b's feed drips through the whole test
        QTRY_COMPARE(model->loadState(), StoreModel::LoadState::Ready);
        const CatalogApp a = model->apps().first();
        QVERIFY2(resultWithin(ending(model->install(a)), 20s), "the install waited");
        QVERIFY2(model->jobs().isEmpty(), qPrintable(model->jobs().value(QStringLiteral("a")).detail));
        QCOMPARE(model->installed().value(QStringLiteral("a")).build, QStringLiteral("2"));
        QVERIFY(!model->lastChecked().isValid()); // the check is still waiting for b
    }

    // tesselctl install goes ahead while another app's feed drips.
    void tesselctlInstallDoesNotWaitForOtherFeeds()
    {
        publishCatalog({QStringLiteral("a"), QStringLiteral("b")});
        m_server->respond("/a.xml", HttpResponse::ok(feed(m_server->url(QStringLiteral("/a.zip"))), "text/xml"));
        m_server->respond("/a.zip", HttpResponse::notFound());
        m_server->respond("/b.xml", TestServer::endlessChunks(1, 50ms));
        QProcess tesselctl;
        startTesselctl(tesselctl, {QStringLiteral("install"), QStringLiteral("a")});
        // The server answers from this thread: wait with the event loop running.
        const bool ended = waitUntil([&tesselctl] { return tesselctl.state() == QProcess::NotRunning; }, 15s);
        if (!ended)
            tesselctl.kill();
        QVERIFY2(ended, "tesselctl install waited for another app's feed");
        QCOMPARE(tesselctl.exitCode(), 1);
        QVERIFY(QString::fromUtf8(tesselctl.readAllStandardError()).contains(QStringLiteral("404")));
    }
};

QTEST_GUILESS_MAIN(HostileTransfersTest)
#include "tst_hostiletransfers.moc"
