#include "harness/testserver.h"

#include "maker/certificateissuer.h"

#include <QSslCertificate>
#include <QSslConfiguration>
#include <QTcpServer>

TestServer::TestServer(QObject *parent)
    : QObject(parent), m_server(new HttpsServer(
                           CertificateIssuer::makeTLSServer(authority(), {QStringLiteral("127.0.0.1")}),
                           [this](const HttpRequest &request) { return answer(request); }, this))
{
    if (!m_server->listen(QHostAddress::LocalHost))
        qFatal("test server cannot listen: %s", qPrintable(m_server->errorString()));
}

void TestServer::respond(const QByteArray &path, const HttpResponse &response)
{
    handle(path, [response](const HttpRequest &) { return response; });
}

void TestServer::handle(const QByteArray &path, HttpsServer::Handler handler)
{
    m_handlers.insert(path, std::move(handler));
}

QUrl TestServer::url(const QString &path) const
{
    return m_server->baseURL().resolved(QUrl(path));
}

HttpResponse TestServer::answer(const HttpRequest &request)
{
    const QByteArray path = request.path.split('?').first();
    ++m_hits[path];
    const auto handler = m_handlers.constFind(path);
    return handler == m_handlers.constEnd() ? HttpResponse::notFound() : (*handler)(request);
}

const PemIdentity &TestServer::authority()
{
    static const PemIdentity identity = [] {
        PemIdentity made = CertificateIssuer::makeTLSAuthority(QStringLiteral("Tessel Test CA"));
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.addCaCertificate(QSslCertificate(made.certificate, QSsl::Pem));
        QSslConfiguration::setDefaultConfiguration(configuration);
        return made;
    }();
    return identity;
}

HttpResponse TestServer::endlessChunks(qsizetype pieceBytes, std::chrono::milliseconds interval)
{
    HttpResponse response;
    response.headers = {{"Content-Type", "application/octet-stream"}, {"Transfer-Encoding", "chunked"}};
    const QByteArray chunk = QByteArray::number(pieceBytes, 16) + "\r\n" + QByteArray(pieceBytes, 'x') + "\r\n";
    response.more = [chunk] { return chunk; };
    response.moreIntervalMilliseconds = int(interval.count());
    return response;
}

QUrl TestServer::refusingURL()
{
    // A port just released by a listener of ours stays free for the moment a test needs it.
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const quint16 port = probe.serverPort();
    probe.close();
    return QUrl(QStringLiteral("https://127.0.0.1:%1/").arg(port));
}
