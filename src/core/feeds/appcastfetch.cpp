#include "feeds/appcastfetch.h"

#include "feeds/appcastparser.h"
#include "net/httpfetch.h"

#include <QtConcurrent/QtConcurrentRun>
#include <qcorofuture.h>

namespace AppcastFetch {

QCoro::Task<Expected<AppcastRelease, Problem>> examine(QNetworkAccessManager *session, QUrl feed,
                                                       SystemVersion systemVersion, TransferLimits limits)
{
    QCoro::Task<Expected<HTTPAnswer, QString>> fetching = HTTPFetch::fetch(session, feed, limits);
    const Expected<HTTPAnswer, QString> answer = co_await fetching;
    if (!answer)
        co_return Problem{Failure::Unreadable, false, answer.error()};
    if (!answer->complete)
        co_return Problem{Failure::Unreadable, true, HTTPFetch::incompleteAnswer(feed, *answer)};
    // The future is held before it is awaited: GCC 12 destroys the arguments of a QtConcurrent
    // call made inside the co_await expression twice.
    QFuture<Expected<AppcastRelease, AppcastParser::Failure>> parsing =
        QtConcurrent::run(&AppcastParser::newest, answer->body, systemVersion);
    Expected<AppcastRelease, AppcastParser::Failure> parsed = co_await parsing;
    if (!parsed) {
        const Failure failure =
            parsed.error() == AppcastParser::Failure::Malformed ? Failure::Malformed : Failure::NothingRunnable;
        co_return Problem{failure, true,
                          QStringLiteral("the feed %1 offers no release: %2")
                              .arg(feed.toString(QUrl::FullyEncoded), AppcastParser::failureName(parsed.error()))};
    }
    co_return std::move(parsed).value();
}

QCoro::Task<Expected<AppcastRelease, Failure>> newest(QNetworkAccessManager *session, QUrl feed,
                                                      SystemVersion systemVersion, TransferLimits limits)
{
    Expected<AppcastRelease, Problem> release = co_await examine(session, feed, systemVersion, limits);
    if (!release)
        co_return release.error().failure;
    co_return std::move(release).value();
}

} // namespace AppcastFetch
