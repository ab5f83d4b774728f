#pragma once

#include "feeds/appcastfetch.h"
#include "feeds/appcastrelease.h"
#include "platform/systemversion.h"
#include "support/expected.h"

#include <QString>
#include <QUrl>
#include <optional>
#include <qcorotask.h>

class QNetworkAccessManager;

namespace StoreUpdateCheck {

// The newest full release of the store's own feed that this system runs, when its build is
// newer than the running one's; nothing when there is none (a feed with nothing this
// system runs offers nothing newer). A feed that cannot be read, or is not well-formed,
// is the failure.
QCoro::Task<Expected<std::optional<AppcastRelease>, AppcastFetch::Failure>>
check(QNetworkAccessManager *session, QUrl feed, QString runningBuild, SystemVersion systemVersion);

} // namespace StoreUpdateCheck
