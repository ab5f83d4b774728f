#pragma once

#include "feeds/appcastrelease.h"
#include "install/archivedownload.h"
#include "install/archivelimits.h"
#include "install/installfailure.h"
#include "support/expected.h"

#include <QString>
#include <memory>
#include <qcorotask.h>

class CodeSignatureVerifier;
class QNetworkAccessManager;

namespace StoreUpdateInstall {

// Puts a release of the store in the place of the running store's bundle. The release goes
// through every step an app's install takes (download, the archive's Ed25519 signature under
// the store's own key, unpacking, the announced build) and must carry the running store's
// bundle identifier and a valid code signature of the running store's team. The two bundles
// are then exchanged in one atomic step and the old one removed, so a failure anywhere
// leaves the running copy as it was. The work folder "tessel-store-UUID" in the temporary
// folder goes whatever happens. Gives the path of the new copy, where the old one was.
QCoro::Task<Expected<QString, InstallFailure>>
install(QNetworkAccessManager *session, std::shared_ptr<const CodeSignatureVerifier> verifier, QString runningBundle,
        QString runningTeam, QString publicKey, AppcastRelease release, QString temporary, ProgressCallback progress,
        ArchiveLimits limits = ArchiveLimits::standard());

} // namespace StoreUpdateInstall
