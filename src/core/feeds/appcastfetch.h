#pragma once

#include "feeds/appcastrelease.h"
#include "net/httpfetch.h"
#include "platform/systemversion.h"
#include "support/expected.h"

#include <QUrl>
#include <optional>
#include <qcorotask.h>

class QNetworkAccessManager;

namespace AppcastFetch {

// Why a feed gave no release.
enum class Failure {
    Unreadable,      // no complete answer
    Malformed,       // not well-formed XML
    NothingRunnable, // no full release this system runs
};

// A failure as those who report it need it: what happened in words, with the feed's address,
// and whether anything answered at all (a transfer that failed did not; a 404 did).
struct Problem
{
    Failure failure;
    bool answered;
    QString detail;

    bool operator==(const Problem &) const = default;
};

// The newest release an app's feed offers this system, or the problem.
QCoro::Task<Expected<AppcastRelease, Problem>> examine(QNetworkAccessManager *session, QUrl feed,
                                                       SystemVersion systemVersion,
                                                       TransferLimits limits = HTTPFetch::documentLimits());

// The same, with the failure alone. The feed is parsed on the thread pool, so that large
// feeds never hold up the main thread.
QCoro::Task<Expected<AppcastRelease, Failure>> newest(QNetworkAccessManager *session, QUrl feed,
                                                      SystemVersion systemVersion,
                                                      TransferLimits limits = HTTPFetch::documentLimits());

} // namespace AppcastFetch
