#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QSslConfiguration>
#include <QUrl>
#include <functional>
#include <optional>
#include <utility>

class QSslServer;
class QSslSocket;
struct PemIdentity;

struct HttpRequest
{
    QByteArray method;
    QByteArray path; // as sent, query included
    QList<std::pair<QByteArray, QByteArray>> headers;
};

// An answer, and how to deliver it: on time, late, cut short, never, or not at all.
struct HttpResponse
{
    int status = 200;
    // Content-Length is added unless given here, or the body is chunked ("Transfer-Encoding").
    QList<std::pair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // After the body, each piece more() gives is sent at once, one every moreIntervalMilliseconds
    // (as fast as the client takes them at 0), until a piece is empty: then the connection closes.
    std::function<QByteArray()> more;
    int moreIntervalMilliseconds = 0;
    int delayMilliseconds = 0;    // wait this long before answering
    qsizetype bodyBytesSent = -1; // send only this many body bytes, then close the connection
    bool stall = false;           // keep the connection open and never answer
    bool closeWithoutAnswer = false;
    std::optional<QByteArray> raw; // sent as it is, in place of an HTTP answer

    static HttpResponse ok(QByteArray body, QByteArray contentType);
    static HttpResponse notFound();
};

// HTTP/1.1 over TLS, one request per connection: the maker's static service and the
// test suite's misbehaving server are both this, with different handlers.
class HttpsServer : public QObject
{
    Q_OBJECT

public:
    using Handler = std::function<HttpResponse(const HttpRequest &)>;

    HttpsServer(const PemIdentity &identity, Handler handler, QObject *parent = nullptr);
    ~HttpsServer() override;

    bool listen(const QHostAddress &address = QHostAddress::LocalHost, quint16 port = 0);
    QString errorString() const;
    quint16 port() const;
    // "https://127.0.0.1:PORT/".
    QUrl baseURL() const;

private:
    void accept();
    void readRequest(QSslSocket *socket);
    void answer(QSslSocket *socket, const HttpResponse &response);
    void sendMore(QSslSocket *socket, const HttpResponse &response);

    QSslServer *m_server;
    Handler m_handler;
};
