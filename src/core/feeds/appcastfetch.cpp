#include "feeds/appcastfetch.h"

#include "feeds/appcastparser.h"
#include "feeds/feedslog.h"
#include "net/httpfetch.h"

#include <QtConcurrent/QtConcurrentRun>
#include <qcorofuture.h>

namespace AppcastFetch {
namespace {

QString why(Failure failure)
{
    switch (failure) {
    case Failure::Unreadable:
        break;
    case Failure::Malformed:
        return QStringLiteral("offers no release: ") + AppcastParser::failureName(AppcastParser::Failure::Malformed);
    case Failure::NothingRunnable:
        return QStringLiteral("offers no release: ") +
               AppcastParser::failureName(AppcastParser::Failure::NothingRunnable);
    }
    return QStringLiteral("could not be read");
}

} // namespace

QCoro::Task<Expected<AppcastRelease, Failure>> newest(QNetworkAccessManager *session, QUrl feed,
                                                      SystemVersion systemVersion, TransferLimits limits)
{
    const std::optional<HTTPAnswer> answer = co_await HTTPFetch::get(session, feed, limits);
    if (!answer || !answer->complete)
        co_return Failure::Unreadable;
    // The future is held before it is awaited: GCC 12 destroys the arguments of a QtConcurrent
    // call made inside the co_await expression twice.
    QFuture<Expected<AppcastRelease, AppcastParser::Failure>> parsing =
        QtConcurrent::run(&AppcastParser::newest, answer->body, systemVersion);
    Expected<AppcastRelease, AppcastParser::Failure> parsed = co_await parsing;
    if (!parsed)
        co_return parsed.error() == AppcastParser::Failure::Malformed ? Failure::Malformed : Failure::NothingRunnable;
    co_return std::move(parsed).value();
}

QCoro::Task<std::optional<AppcastRelease>> newestRelease(QNetworkAccessManager *session, QUrl feed,
                                                         SystemVersion systemVersion, TransferLimits limits)
{
    Expected<AppcastRelease, Failure> release = co_await newest(session, feed, systemVersion, limits);
    if (release)
        co_return std::move(release).value();
    qCWarning(lcFeeds).noquote() << "the feed" << feed.toDisplayString() << why(release.error());
    co_return std::nullopt;
}

} // namespace AppcastFetch
