#include "catalog/catalogloader.h"
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/testserver.h"
#include "platform/locations.h"
#include "support/waitforresult.h"

#include "net/httpfetch.h"

#include <QFile>
#include <QNetworkAccessManager>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

using namespace CatalogFixtures;

Q_DECLARE_METATYPE(HttpResponse)

namespace {

// What someone else may have left at the cache path instead of a file.
enum class CachePath {
    LinkToDecoy,      // a link to a file of someone else's
    LinkToDevice,     // a link to a device node
    LinkToOlderCache, // a link to a verified envelope
    Folder,           // a folder holding a link out of it
    FIFO,
    ZeroDevice,   // reads forever
    OverTheLimit, // a sparse file one byte over a download's limit
    Sparse4GiB,
};

bool makesDeviceNode(CachePath kind)
{
    return kind == CachePath::LinkToDevice || kind == CachePath::ZeroDevice;
}

bool makeZeroDevice(const QString &path)
{
    return ::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 5)) == 0;
}

} // namespace

Q_DECLARE_METATYPE(CachePath)

class CatalogLoaderTest : public QObject
{
    Q_OBJECT

private:
    Signer m_signer;
    QByteArray m_good;  // the service's current catalog
    QByteArray m_older; // a catalog signed earlier, as a cache would hold it
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<TestServer> m_server;
    std::unique_ptr<QNetworkAccessManager> m_session;

    QString cacheFile() const { return m_folder->filePath(QStringLiteral("Tessel Store/catalog.json")); }

    CatalogLoader loader(const QUrl &base) const { return CatalogLoader(m_signer.configuration(base), cacheFile()); }

    CatalogResult load(const QUrl &base) const { return waitForResult(loader(base).load(m_session.get())).result; }

    void writeCache(const QByteArray &bytes) const
    {
        QDir().mkpath(QFileInfo(cacheFile()).absolutePath());
        QFile file(cacheFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray cacheBytes() const
    {
        QFile file(cacheFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString decoyFile() const { return m_folder->filePath(QStringLiteral("decoy")); }
    QString outsideFile() const { return m_folder->filePath(QStringLiteral("outside/keep")); }
    QString deviceDecoy() const { return m_folder->filePath(QStringLiteral("zero")); }

    // Puts an item of that kind at the cache path, with decoys beside it that must survive.
    void makeCachePath(CachePath kind) const
    {
        writeTestFile(decoyFile(), "decoy");
        writeTestFile(outsideFile(), "keep");
        QDir().mkpath(QFileInfo(cacheFile()).absolutePath());
        switch (kind) {
        case CachePath::LinkToDecoy:
            QVERIFY(QFile::link(decoyFile(), cacheFile()));
            break;
        case CachePath::LinkToDevice:
            QVERIFY(makeZeroDevice(deviceDecoy()));
            QVERIFY(QFile::link(deviceDecoy(), cacheFile()));
            break;
        case CachePath::LinkToOlderCache:
            writeTestFile(m_folder->filePath(QStringLiteral("older")), m_older);
            QVERIFY(QFile::link(m_folder->filePath(QStringLiteral("older")), cacheFile()));
            break;
        case CachePath::Folder:
            writeTestFile(cacheFile() + QStringLiteral("/inside"), m_older);
            QVERIFY(QFile::link(QFileInfo(outsideFile()).absolutePath(), cacheFile() + QStringLiteral("/out")));
            break;
        case CachePath::FIFO:
            QCOMPARE(::mkfifo(QFile::encodeName(cacheFile()).constData(), 0600), 0);
            break;
        case CachePath::ZeroDevice:
            QVERIFY(makeZeroDevice(cacheFile()));
            break;
        case CachePath::OverTheLimit:
        case CachePath::Sparse4GiB: {
            QFile file(cacheFile());
            QVERIFY(file.open(QIODevice::WriteOnly));
            QVERIFY(file.resize(kind == CachePath::Sparse4GiB ? Q_INT64_C(4) << 30 : HTTPFetch::maximumBodySize + 1));
            break;
        }
        }
    }

    bool decoysIntact() const
    {
        QFile decoy(decoyFile());
        QFile outside(outsideFile());
        struct stat device;
        if (::lstat(QFile::encodeName(deviceDecoy()).constData(), &device) == 0 && !S_ISCHR(device.st_mode))
            return false;
        return decoy.open(QIODevice::ReadOnly) && decoy.readAll() == "decoy" && outside.open(QIODevice::ReadOnly) &&
               outside.readAll() == "keep";
    }

    static HttpResponse status(int code, QByteArray body = {})
    {
        HttpResponse response = HttpResponse::ok(std::move(body), "text/html");
        response.status = code;
        return response;
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_good = m_signer.envelopeOf({app(QStringLiteral("new"))});
        m_older = m_signer.envelopeOf({app(QStringLiteral("old"))});
    }

    void init()
    {
        m_folder = std::make_unique<QTemporaryDir>();
        m_server = std::make_unique<TestServer>();
        m_session = std::make_unique<QNetworkAccessManager>();
        m_session->setTransferTimeout(1500);
    }

    void completeAnswerIsVerifiedAndCached()
    {
        m_server->respond("/v1/catalog", HttpResponse::ok(m_good, "application/json"));
        const CatalogResult result = load(m_server->url());
        QVERIFY(result);
        QCOMPARE(result->apps.first().productID, QStringLiteral("new"));
        QCOMPARE(cacheBytes(), m_good);
        const CatalogResult cached = loader(m_server->url()).cached();
        QVERIFY(cached);
        QCOMPARE(*cached, *result);
    }

    void completePartialAnswerIsAccepted()
    {
        HttpResponse response = HttpResponse::ok(m_good, "application/json");
        response.status = 206;
        response.headers.append({"Content-Range", "bytes 0-" + QByteArray::number(m_good.size() - 1) + '/' +
                                                      QByteArray::number(m_good.size())});
        m_server->respond("/v1/catalog", response);
        QVERIFY(load(m_server->url()));
        QCOMPARE(cacheBytes(), m_good);
    }

    // Every answer that is not complete falls back to the cache, and the cache is kept.
    void incompleteAnswersFallBack_data()
    {
        QTest::addColumn<HttpResponse>("response");

        QTest::newRow("304") << status(304);
        QTest::newRow("500 with a body") << status(500, m_good);
        QTest::newRow("404 with a body") << status(404, "<html>not here</html>");
        HttpResponse partial = HttpResponse::ok(m_good.left(10), "application/json");
        partial.status = 206;
        partial.headers.append({"Content-Range", "bytes 0-9/" + QByteArray::number(m_good.size())});
        QTest::newRow("206 covering part") << partial;
        HttpResponse cut = HttpResponse::ok(m_good, "application/json");
        cut.bodyBytesSent = m_good.size() / 2;
        QTest::newRow("body cut short") << cut;
        HttpResponse closed;
        closed.closeWithoutAnswer = true;
        QTest::newRow("connection closed") << closed;
        HttpResponse stalled;
        stalled.stall = true;
        QTest::newRow("stalled") << stalled;
    }

    void incompleteAnswersFallBack()
    {
        QFETCH(HttpResponse, response);
        m_server->respond("/v1/catalog", response);

        const CatalogResult withoutCache = load(m_server->url());
        QVERIFY(!withoutCache);
        QCOMPARE(withoutCache.error(), CatalogError::Unavailable);

        writeCache(m_older);
        const CatalogResult withCache = load(m_server->url());
        QVERIFY(withCache);
        QCOMPARE(withCache->apps.first().productID, QStringLiteral("old"));
        QCOMPARE(cacheBytes(), m_older);
    }

    void refusedConnectionUsesTheCache()
    {
        writeCache(m_older);
        const CatalogResult result = load(TestServer::refusingURL());
        QVERIFY(result);
        QCOMPARE(result->apps.first().productID, QStringLiteral("old"));
    }

    // A complete answer that fails verification is an error, never a reason to use the cache.
    void completeButUnverifiedAnswerNeverFallsBack_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<CatalogError>("error");
        QTest::newRow("HTML page") << QByteArray("<html><body>Maintenance</body></html>") << CatalogError::Malformed;
        QTest::newRow("other key") << Signer{}.envelopeOf({app(QStringLiteral("evil"))}) << CatalogError::BadSignature;
        Signer otherIssuer;
        otherIssuer.key = m_signer.key;
        otherIssuer.issuer = QStringLiteral("other");
        QTest::newRow("other issuer") << otherIssuer.envelopeOf({app(QStringLiteral("x"))})
                                      << CatalogError::WrongIssuer;
    }

    void completeButUnverifiedAnswerNeverFallsBack()
    {
        QFETCH(QByteArray, body);
        QFETCH(CatalogError, error);
        writeCache(m_older);
        m_server->respond("/v1/catalog", HttpResponse::ok(body, "text/html"));
        const CatalogResult result = load(m_server->url());
        QVERIFY(!result);
        QCOMPARE(result.error(), error);
        QCOMPARE(cacheBytes(), m_older);
    }

    void tamperedCacheIsRejected()
    {
        QByteArray tampered = m_older;
        tampered.replace("\"kid\":\"test-key-1\"", "\"kid\":\"test-key-2\"");
        QVERIFY(tampered != m_older);
        writeCache(tampered);
        const CatalogResult result = load(TestServer::refusingURL());
        QCOMPARE(result.error(), CatalogError::BadSignature);
    }

    // Only a regular file at the cache path itself is read, without blocking and no more
    // than a download could bring.
    void unusualCacheIsNeverRead_data()
    {
        QTest::addColumn<CachePath>("kind");
        QTest::newRow("link to a verified envelope") << CachePath::LinkToOlderCache;
        QTest::newRow("FIFO without a writer") << CachePath::FIFO;
        QTest::newRow("zero device") << CachePath::ZeroDevice;
        QTest::newRow("one byte over the limit") << CachePath::OverTheLimit;
        QTest::newRow("4 GiB sparse file") << CachePath::Sparse4GiB;
    }

    void unusualCacheIsNeverRead()
    {
        QFETCH(CachePath, kind);
        if (makesDeviceNode(kind) && ::geteuid() != 0)
            QSKIP("making a device node needs root");
        makeCachePath(kind);
        const CatalogResult result = load(TestServer::refusingURL());
        QVERIFY(!result);
        QCOMPARE(result.error(), CatalogError::Unavailable);
    }

    // A new catalog replaces whatever is at the cache path, never what a link there names.
    void unusualCacheIsReplaced_data()
    {
        QTest::addColumn<CachePath>("kind");
        QTest::newRow("link to someone's file") << CachePath::LinkToDecoy;
        QTest::newRow("folder with a link out") << CachePath::Folder;
        QTest::newRow("link to a device node") << CachePath::LinkToDevice;
    }

    void unusualCacheIsReplaced()
    {
        QFETCH(CachePath, kind);
        if (makesDeviceNode(kind) && ::geteuid() != 0)
            QSKIP("making a device node needs root");
        makeCachePath(kind);
        m_server->respond("/v1/catalog", HttpResponse::ok(m_good, "application/json"));
        QVERIFY(load(m_server->url()));
        QVERIFY(decoysIntact());
        QVERIFY(QFileInfo(cacheFile()).isFile() && !QFileInfo(cacheFile()).isSymLink());
        QCOMPARE(cacheBytes(), m_good);
        QCOMPARE(QDir(QFileInfo(cacheFile()).absolutePath())
                     .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("catalog.json")});
    }

    // A cache that cannot be written whole leaves the old one as it was.
    void fullDiskKeepsTheOldCache()
    {
        const QString folder = QFileInfo(cacheFile()).absolutePath();
        QDir().mkpath(folder);
        if (::geteuid() != 0)
            QSKIP("mounting a small file system for a full disk needs root");
        if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, "size=64k") != 0)
            QSKIP("this machine refuses to mount a tmpfs");
        const auto unmount = qScopeGuard([&] { ::umount2(QFile::encodeName(folder).constData(), MNT_DETACH); });
        writeCache(m_older);
        const int filler = ::open(QFile::encodeName(folder + QStringLiteral("/filler")).constData(),
                                  O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        QVERIFY(filler >= 0);
        const QByteArray block(4096, 'f');
        while (::write(filler, block.constData(), size_t(block.size())) > 0) {
        }
        ::close(filler);

        m_server->respond("/v1/catalog", HttpResponse::ok(m_good, "application/json"));
        const CatalogResult result = load(m_server->url());
        QVERIFY(result);
        QCOMPARE(result->apps.first().productID, QStringLiteral("new"));
        QCOMPARE(cacheBytes(), m_older);
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("catalog.json"), QStringLiteral("filler")}));
    }

    void baseAddressKeepsItsPath_data()
    {
        QTest::addColumn<QString>("base");
        QTest::newRow("no trailing slash") << "api";
        QTest::newRow("trailing slash") << "api/";
        QTest::newRow("two levels") << "store/api";
    }

    void baseAddressKeepsItsPath()
    {
        QFETCH(QString, base);
        QString path = QStringLiteral("/") + base;
        if (!path.endsWith(u'/'))
            path.append(u'/');
        m_server->respond((path + QStringLiteral("v1/catalog")).toLatin1(),
                          HttpResponse::ok(m_good, "application/json"));
        QUrl url = m_server->url();
        url.setPath(QStringLiteral("/") + base);
        QVERIFY(load(url));
        QCOMPARE(m_server->hits("/v1/catalog"), 0);
    }

    void unwritableCacheStillReturnsTheCatalog()
    {
        // A file where the cache folder should be makes both the folder and the file impossible.
        QFile blocker(m_folder->filePath(QStringLiteral("Tessel Store")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        m_server->respond("/v1/catalog", HttpResponse::ok(m_good, "application/json"));
        QVERIFY(load(m_server->url()));
    }

    void defaultCacheIsInTheDataFolder()
    {
        Locations locations = Locations::under(QStringLiteral("/tmp/x"));
        QCOMPARE(CatalogLoader::defaultCacheURL(locations),
                 locations.dataHome + QStringLiteral("/Tessel Store/catalog.json"));
    }
};

QTEST_GUILESS_MAIN(CatalogLoaderTest)
#include "tst_catalogloader.moc"
