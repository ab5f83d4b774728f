#include "feeds/appcastfetch.h"

#include "feeds/appcastparser.h"
#include "net/httpfetch.h"

#include <QtConcurrent/QtConcurrentRun>
#include <qcorofuture.h>

namespace AppcastFetch {

QCoro::Task<std::optional<AppcastRelease>> newestRelease(QNetworkAccessManager *session, QUrl feed,
                                                         SystemVersion systemVersion)
{
    const std::optional<HTTPAnswer> answer = co_await HTTPFetch::get(session, feed);
    if (!answer || !answer->complete)
        co_return std::nullopt;
    // The future is held before it is awaited: GCC 12 destroys the arguments of a QtConcurrent
    // call made inside the co_await expression twice.
    QFuture<std::optional<AppcastRelease>> parsing =
        QtConcurrent::run(&AppcastParser::newest, answer->body, systemVersion);
    co_return co_await parsing;
}

} // namespace AppcastFetch
