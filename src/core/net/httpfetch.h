#pragma once

#include "net/transferlimits.h"
#include "support/expected.h"

#include <QByteArray>
#include <QUrl>
#include <optional>
#include <qcorotask.h>

class QNetworkAccessManager;

// What a plain GET brought back when the service answered at all.
struct HTTPAnswer
{
    QByteArray body;
    bool complete = false; // the body is the whole resource (HTTPComplete)
    int status = 0;
};

class QNetworkReply;

namespace HTTPFetch {

// Whether a finished reply failed as a transfer (no connection, TLS, time-out, cut short)
// rather than bringing an HTTP answer, whatever its status.
bool transferFailed(const QNetworkReply *reply);

// Documents are read whole into memory; a larger body is a hostile or broken server.
constexpr qint64 maximumBodySize = 64 * 1024 * 1024;

// A catalog or a feed is a few hundred kilobytes: a minute is ample on the slowest line the
// store should work on, and bounds a check that a trickling server would hold forever.
constexpr std::chrono::milliseconds documentDeadline{60'000};

// The limits of a document fetch: maximumBodySize, within documentDeadline.
TransferLimits documentLimits();

// A plain GET (no extra headers) through the session. Nothing when the transfer failed
// (no connection, TLS failure, timeout, a body cut short, a limit crossed); an HTTP error
// status is an answer.
QCoro::Task<std::optional<HTTPAnswer>> get(QNetworkAccessManager *session, QUrl url,
                                           TransferLimits limits = documentLimits());

// The same GET, with the reason in words when the transfer failed, for those who report it:
// "no answer from https://host/feed.xml: Connection refused".
QCoro::Task<Expected<HTTPAnswer, QString>> fetch(QNetworkAccessManager *session, QUrl url,
                                                 TransferLimits limits = documentLimits());

// What a GET that gave no whole resource got, in words: "https://host/feed.xml answered 404".
QString incompleteAnswer(const QUrl &url, const HTTPAnswer &answer);

} // namespace HTTPFetch
