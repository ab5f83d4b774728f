// The feed check of 200 apps whose feeds each answer after 100 ms: every feed on a loopback
// address of its own (as feeds of different apps live on different hosts), then all on one
// address, where HTTP/1.1's few connections per host queue the requests, then all on one
// HTTP/2 host (Node's http2 module, as a maker's CDN), where they share one connection.
// Each is printed as a ratio to the time one feed takes on the same kind of server. Then the
// appcast parser's throughput on a 5 MB feed next to the raw tokenising speed of the same
// XML reader over the same bytes.
#include "feeds/appcastparser.h"
#include "harness/catalogfixtures.h"
#include "harness/modelfixture.h"
#include "harness/testserver.h"
#include "maker/certificateissuer.h"

#include "bench/benchtiming.h"
#include "bench/http2host.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>
#include <cstdio>

using namespace CatalogFixtures;

namespace {

constexpr int appCount = 200;
constexpr int feedLatencyMilliseconds = 100;

QByteArray feedItem(int build)
{
    return "<item><title>Version " + QByteArray::number(build) + "</title><description><![CDATA[<p>Notes for " +
           QByteArray::number(build) + ": fixes &amp; improvements.</p>]]></description><sparkle:version>" +
           QByteArray::number(build) + "</sparkle:version><sparkle:shortVersionString>1." + QByteArray::number(build) +
           "</sparkle:shortVersionString><enclosure url=\"https://downloads.orvel.example/app-" +
           QByteArray::number(build) +
           ".zip\" length=\"12345678\" type=\"application/octet-stream\" "
           "sparkle:edSignature=\"c2lnbmF0dXJl\"/></item>\n";
}

QByteArray feed(int items)
{
    QByteArray document =
        "<?xml version=\"1.0\"?><rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel>";
    for (int i = 0; i < items; ++i)
        document += feedItem(i + 1);
    return document + "</channel></rss>";
}

// Serves one slow feed on each of the given addresses, from a thread of its own, so that
// the servers' TLS work does not share the store's main thread.
class FeedServers
{
public:
    explicit FeedServers(const QStringList &addresses)
    {
        const PemIdentity identity = CertificateIssuer::makeTLSServer(TestServer::authority(), addresses);
        HttpResponse slow = HttpResponse::ok(feed(3), "application/rss+xml");
        slow.delayMilliseconds = feedLatencyMilliseconds;
        m_thread.start();
        m_owner->moveToThread(&m_thread);
        QMetaObject::invokeMethod(
            m_owner,
            [&] {
                for (const QString &address : addresses) {
                    auto *server = new HttpsServer(
                        identity, [slow](const HttpRequest &) { return slow; }, m_owner);
                    if (!server->listen(QHostAddress(address)))
                        qFatal("cannot listen on %s", qPrintable(address));
                    m_baseURLs.append(server->baseURL());
                }
            },
            Qt::BlockingQueuedConnection);
    }

    ~FeedServers()
    {
        QMetaObject::invokeMethod(
            m_owner, [this] { delete m_owner; }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }

    QUrl feedURL(int index) const
    {
        return m_baseURLs[index % m_baseURLs.size()].resolved(QUrl(QStringLiteral("feed-%1.xml").arg(index)));
    }

private:
    QThread m_thread;
    QObject *m_owner = new QObject;
    QList<QUrl> m_baseURLs;
};

// All feeds in one folder, for the HTTP/2 host.
class FeedFolder
{
public:
    explicit FeedFolder(int feeds)
    {
        for (int i = 0; i < feeds; ++i)
            writeTestFile(m_folder.filePath(QStringLiteral("feed-%1.xml").arg(i)), feed(3));
    }
    QString path() const { return m_folder.path(); }

private:
    QTemporaryDir m_folder;
};

// The HTTP/2 host's feeds, named as the feed servers name theirs.
struct HostFeeds
{
    const Http2Host &host;
    QUrl feedURL(int index) const { return host.url(QStringLiteral("feed-%1.xml").arg(index)); }
};

// Milliseconds of one feed check over apps whose feeds the servers answer.
template<typename Feeds> double timeFeedCheck(const Feeds &feeds, int apps)
{
    TestServer catalogServer;
    Signer signer;
    QList<QJsonObject> records;
    for (int i = 0; i < apps; ++i) {
        QJsonObject record = app(QStringLiteral("app-%1").arg(i));
        record.insert(QStringLiteral("appcastURL"), feeds.feedURL(i).toString());
        records.append(record);
    }
    catalogServer.respond("/v1/catalog", HttpResponse::ok(signer.envelopeOf(records), "application/json"));
    ModelFixture fixture(signer, catalogServer.url());
    fixture.session()->setTransferTimeout(60'000); // as in the store: queued requests must not time out here
    const auto model = fixture.makeModel();
    QCoro::waitFor(model->load()); // the catalog, and a first round that warms TLS and the thread pool
    QElapsedTimer timer;
    timer.start();
    QCoro::waitFor(model->checkForUpdates());
    const double elapsed = timer.nsecsElapsed() / 1e6;
    if (model->releases().size() != apps)
        qFatal("only %lld of %d feeds were read", qint64(model->releases().size()), apps);
    return elapsed;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication application(argc, argv);
    QStringList addresses;
    for (int i = 0; i < appCount; ++i)
        addresses.append(QStringLiteral("127.0.%1.%2").arg(1 + i / 250).arg(2 + i % 250));

    const double one = timeFeedCheck(FeedServers({addresses.first()}), 1);
    const double spread = timeFeedCheck(FeedServers(addresses), appCount);
    const double shared = timeFeedCheck(FeedServers({addresses.first()}), appCount);
    std::printf("feed check, each feed answering after %d ms\n", feedLatencyMilliseconds);
    std::printf("  one feed (base):                 %8.1f ms\n", one);
    std::printf("  %d feeds, one address each:     %8.1f ms  ratio %.2f\n", appCount, spread, spread / one);
    std::printf("  %d feeds, all on one address:   %8.1f ms  ratio %.2f\n", appCount, shared, shared / one);

    const FeedFolder feeds(appCount);
    Http2Host host(feeds.path(), feedLatencyMilliseconds);
    const double oneOverHttp2 = timeFeedCheck(HostFeeds{host}, 1);
    const double sharedOverHttp2 = timeFeedCheck(HostFeeds{host}, appCount);
    const QByteArray seen = host.finish();
    std::printf("feed check over HTTP/2, every feed on one host\n");
    std::printf("  one feed (base):                 %8.1f ms\n", oneOverHttp2);
    std::printf("  %d feeds:                       %8.1f ms  ratio %.2f\n", appCount, sharedOverHttp2,
                sharedOverHttp2 / oneOverHttp2);
    std::printf("  the host saw over both: %s\n", seen.constData());

    const QByteArray large = feed(13000);
    bool parsed = true;
    const double parse = bestMilliseconds(5, [&] {
        parsed = parsed && AppcastParser::newest(large, {14, 5, 0}).hasValue();
    });
    const double tokenise = bestMilliseconds(5, [&] {
        QXmlStreamReader reader(large);
        reader.setNamespaceProcessing(false);
        while (!reader.atEnd())
            reader.readNext();
        parsed = parsed && !reader.hasError();
    });
    if (!parsed)
        qFatal("the large feed did not parse");
    const double megabytes = large.size() / 1e6;
    std::printf("appcast parser on a %.1f MB feed\n", megabytes);
    std::printf("  raw tokenising (base): %8.1f MB/s\n", megabytes / (tokenise / 1e3));
    std::printf("  AppcastParser::newest: %8.1f MB/s  ratio %.2f of raw\n", megabytes / (parse / 1e3),
                tokenise / parse);
    return 0;
}
