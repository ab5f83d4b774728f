#include "maker/httpsserver.h"

#include "maker/certificateissuer.h"

#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTimer>

namespace {

// Requests are a line and a few headers; anything larger is not a client of ours.
constexpr qsizetype maximumRequestSize = 64 * 1024;
// A streamed body waits while this much is still unsent, so a client that reads slowly
// does not make the server hold what it has not taken.
constexpr qint64 maximumUnsentBytes = 1024 * 1024;
const char *const bufferProperty = "tesselRequestBuffer";

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 206:
        return "Partial Content";
    case 304:
        return "Not Modified";
    case 400:
        return "Bad Request";
    case 404:
        return "Not Found";
    case 500:
        return "Internal Server Error";
    default:
        return "Status";
    }
}

std::optional<HttpRequest> parseRequest(const QByteArray &head)
{
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() != 3)
        return std::nullopt;
    HttpRequest request{requestLine[0], requestLine[1], {}};
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.append({line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed()});
    }
    return request;
}

} // namespace

HttpResponse HttpResponse::ok(QByteArray body, QByteArray contentType)
{
    HttpResponse response;
    response.body = std::move(body);
    response.headers.append({"Content-Type", std::move(contentType)});
    return response;
}

HttpResponse HttpResponse::notFound()
{
    HttpResponse response = ok("not found\n", "text/plain");
    response.status = 404;
    return response;
}

HttpsServer::HttpsServer(const PemIdentity &identity, Handler handler, QObject *parent)
    : QObject(parent), m_server(new QSslServer(this)), m_handler(std::move(handler))
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(QSslCertificate(identity.certificate, QSsl::Pem));
    configuration.setPrivateKey(QSslKey(identity.privateKey, QSsl::Ec, QSsl::Pem));
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
    m_server->setSslConfiguration(configuration);
    connect(m_server, &QSslServer::pendingConnectionAvailable, this, &HttpsServer::accept);
}

HttpsServer::~HttpsServer() = default;

bool HttpsServer::listen(const QHostAddress &address, quint16 port)
{
    return m_server->listen(address, port);
}

QString HttpsServer::errorString() const
{
    return m_server->errorString();
}

quint16 HttpsServer::port() const
{
    return m_server->serverPort();
}

QUrl HttpsServer::baseURL() const
{
    QUrl url;
    url.setScheme(QStringLiteral("https"));
    url.setHost(m_server->serverAddress().toString());
    url.setPort(port());
    url.setPath(QStringLiteral("/"));
    return url;
}

void HttpsServer::accept()
{
    while (m_server->hasPendingConnections()) {
        auto *socket = qobject_cast<QSslSocket *>(m_server->nextPendingConnection());
        if (!socket)
            continue;
        socket->setParent(this);
        connect(socket, &QSslSocket::readyRead, this, [this, socket] { readRequest(socket); });
        connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void HttpsServer::readRequest(QSslSocket *socket)
{
    QByteArray buffer = socket->property(bufferProperty).toByteArray() + socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) {
        if (buffer.size() > maximumRequestSize)
            socket->abort();
        else
            socket->setProperty(bufferProperty, buffer);
        return;
    }
    // One request per connection: whatever follows the head is not read.
    disconnect(socket, &QSslSocket::readyRead, this, nullptr);
    const std::optional<HttpRequest> request = parseRequest(buffer.left(end));
    HttpResponse response;
    if (request) {
        response = m_handler(*request);
    } else {
        response = HttpResponse::ok("bad request\n", "text/plain");
        response.status = 400;
    }
    if (response.stall)
        return;
    QTimer::singleShot(response.delayMilliseconds, socket, [this, socket, response] { answer(socket, response); });
}

void HttpsServer::answer(QSslSocket *socket, const HttpResponse &response)
{
    if (response.closeWithoutAnswer) {
        socket->abort();
        return;
    }
    if (response.raw) {
        socket->write(*response.raw);
        socket->disconnectFromHost();
        return;
    }
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + ' ' + reasonPhrase(response.status) + "\r\n";
    bool hasLength = false;
    for (const auto &[name, value] : response.headers) {
        hasLength = hasLength || name.compare("content-length", Qt::CaseInsensitive) == 0 ||
                    name.compare("transfer-encoding", Qt::CaseInsensitive) == 0;
        head += name + ": " + value + "\r\n";
    }
    if (!hasLength)
        head += "Content-Length: " + QByteArray::number(response.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    socket->write(head);
    socket->write(response.bodyBytesSent < 0 ? response.body : response.body.left(response.bodyBytesSent));
    if (response.more)
        sendMore(socket, response);
    else
        socket->disconnectFromHost();
}

void HttpsServer::sendMore(QSslSocket *socket, const HttpResponse &response)
{
    // Each piece leaves at once: without it, small pieces wait for the next full segment.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->flush();
    auto *timer = new QTimer(socket);
    connect(timer, &QTimer::timeout, socket, [socket, timer, more = response.more] {
        if (socket->encryptedBytesToWrite() + socket->bytesToWrite() > maximumUnsentBytes)
            return;
        const QByteArray piece = more();
        if (piece.isEmpty()) {
            timer->stop();
            socket->disconnectFromHost();
            return;
        }
        socket->write(piece);
        socket->flush();
    });
    timer->start(response.moreIntervalMilliseconds);
}
