#include "appcastfetch.h"

#include "appcastparser.h"
#include "catalog/httpfetch.h"

#include <QtConcurrent/QtConcurrentRun>
#include <qcorofuture.h>

namespace AppcastFetch {

QCoro::Task<std::optional<AppcastRelease>> newestRelease(QNetworkAccessManager *session, QUrl feed,
                                                         SystemVersion systemVersion)
{
    const std::optional<HTTPAnswer> answer = co_await HTTPFetch::get(session, feed);
    if (!answer || !answer->complete)
        co_return std::nullopt;
    co_return co_await QtConcurrent::run(&AppcastParser::newest, answer->body, systemVersion);
}

} // namespace AppcastFetch
