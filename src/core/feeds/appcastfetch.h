#pragma once

#include "feeds/appcastrelease.h"
#include "net/httpfetch.h"
#include "platform/systemversion.h"

#include <QUrl>
#include <optional>
#include <qcorotask.h>

class QNetworkAccessManager;

namespace AppcastFetch {

// The newest release an app's feed offers this system. Nothing when the feed cannot be
// fetched completely, is not well-formed, or offers nothing this system runs. The feed is
// parsed on the thread pool, so that large feeds never hold up the main thread.
QCoro::Task<std::optional<AppcastRelease>> newestRelease(QNetworkAccessManager *session, QUrl feed,
                                                         SystemVersion systemVersion,
                                                         TransferLimits limits = HTTPFetch::documentLimits());

} // namespace AppcastFetch
