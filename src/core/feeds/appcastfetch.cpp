#include "feeds/appcastfetch.h"

#include "feeds/appcastparser.h"
#include "feeds/feedslog.h"
#include "net/httpfetch.h"

#include <QtConcurrent/QtConcurrentRun>
#include <qcorofuture.h>

namespace AppcastFetch {

QCoro::Task<std::optional<AppcastRelease>> newestRelease(QNetworkAccessManager *session, QUrl feed,
                                                         SystemVersion systemVersion, TransferLimits limits)
{
    const std::optional<HTTPAnswer> answer = co_await HTTPFetch::get(session, feed, limits);
    if (!answer || !answer->complete) {
        qCWarning(lcFeeds).noquote() << "the feed" << feed.toDisplayString() << "could not be read";
        co_return std::nullopt;
    }
    // The future is held before it is awaited: GCC 12 destroys the arguments of a QtConcurrent
    // call made inside the co_await expression twice.
    QFuture<Expected<AppcastRelease, AppcastParser::Failure>> parsing =
        QtConcurrent::run(&AppcastParser::newest, answer->body, systemVersion);
    Expected<AppcastRelease, AppcastParser::Failure> newest = co_await parsing;
    if (!newest) {
        qCWarning(lcFeeds).noquote() << "the feed" << feed.toDisplayString()
                                     << "offers no release:" << AppcastParser::failureName(newest.error());
        co_return std::nullopt;
    }
    co_return std::move(newest).value();
}

} // namespace AppcastFetch
