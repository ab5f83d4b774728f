#pragma once

#include "maker/httpsserver.h"

#include <QHash>
#include <QObject>
#include <QUrl>
#include <chrono>

struct PemIdentity;

// A real HTTPS server on 127.0.0.1 for tests, with a certificate from a test authority
// made at run time and trusted by this process only. Each path answers as it is told,
// misbehaviour included; unknown paths answer 404.
class TestServer : public QObject
{
public:
    explicit TestServer(QObject *parent = nullptr);

    // Answers every request for the path (query excluded) with this response.
    void respond(const QByteArray &path, const HttpResponse &response);
    void handle(const QByteArray &path, HttpsServer::Handler handler);

    QUrl url(const QString &path = QString()) const;
    int hits(const QByteArray &path) const { return m_hits.value(path); }

    // The process's test authority; trusted for HTTPS once it exists.
    static const PemIdentity &authority();

    // An address on which nothing listens: connections to it are refused.
    static QUrl refusingURL();

    // A 200 answer whose chunked body never ends: a piece of pieceBytes every interval, or
    // as fast as the client takes them at 0 (an endless body, or a drip).
    static HttpResponse endlessChunks(qsizetype pieceBytes, std::chrono::milliseconds interval);

private:
    HttpResponse answer(const HttpRequest &request);

    QHash<QByteArray, HttpsServer::Handler> m_handlers;
    QHash<QByteArray, int> m_hits;
    HttpsServer *m_server;
};
