#include "selfupdate/storeupdatecheck.h"

#include "catalog/version.h"
#include "selfupdate/selfupdatelog.h"

namespace StoreUpdateCheck {

QCoro::Task<Expected<std::optional<AppcastRelease>, AppcastFetch::Failure>>
check(QNetworkAccessManager *session, QUrl feed, QString runningBuild, SystemVersion systemVersion)
{
    using Result = Expected<std::optional<AppcastRelease>, AppcastFetch::Failure>;
    Expected<AppcastRelease, AppcastFetch::Failure> newest =
        co_await AppcastFetch::newest(session, feed, systemVersion);
    if (!newest) {
        if (newest.error() == AppcastFetch::Failure::NothingRunnable)
            co_return Result(std::nullopt);
        qCWarning(lcSelfUpdate).noquote() << "the store's feed" << feed.toDisplayString() << "could not be read";
        co_return newest.error();
    }
    if (Version::compare(runningBuild, newest->build) != Version::Order::Ascending)
        co_return Result(std::nullopt);
    co_return Result(std::optional<AppcastRelease>(std::move(newest).value()));
}

} // namespace StoreUpdateCheck
