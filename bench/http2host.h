#pragma once

#include <QByteArray>
#include <QProcess>
#include <QTemporaryDir>
#include <QUrl>

// A folder served over HTTP/2 and TLS by a Node process (bench/http2-host.mjs), each answer
// held back by a delay: one host for all of a maker's feeds and downloads, as a CDN is. Its
// certificate comes from the process's test authority, so the store's client trusts it and
// negotiates HTTP/2 with it (ALPN), as with nginx. A host that cannot start stops the run.
class Http2Host
{
public:
    Http2Host(const QString &folder, int delayMilliseconds);
    ~Http2Host();

    QUrl url(const QString &path) const { return m_baseURL.resolved(QUrl(path)); }

    // Stops the host and returns what it saw: connections, requests, the most held at once.
    QByteArray finish();

private:
    QTemporaryDir m_keys;
    QProcess m_node;
    QUrl m_baseURL;
};
