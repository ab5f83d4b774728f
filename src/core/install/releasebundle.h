#pragma once

#include "install/installfailure.h"
#include "support/expected.h"

#include <QString>
#include <QStringList>

// Which of the app bundles an archive held is the release the feed announced.
namespace ReleaseBundle {

// The one candidate whose "CFBundleIdentifier" is the catalog's bundle identifier and whose
// "CFBundleVersion" is the announced build. Anything else is WrongApp: no candidate of that
// identifier, several (which one would depend on the listing order of a file system), or a
// build other than the feed's, which would replace the copy with a release the store then
// offers to update forever. A chosen bundle whose main executable is not executable (as
// from a file system that keeps no modes) is Extract: it would never launch.
Expected<QString, InstallFailure> choose(const QStringList &candidates, const QString &bundleID, const QString &build);

} // namespace ReleaseBundle
