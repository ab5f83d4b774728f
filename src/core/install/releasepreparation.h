#pragma once

#include "catalog/catalog.h"
#include "feeds/appcastrelease.h"
#include "install/archivedownload.h"
#include "install/archivelimits.h"
#include "install/installfailure.h"
#include "support/expected.h"

#include <memory>
#include <qcorotask.h>

class CodeSignatureVerifier;
class QNetworkAccessManager;

// What every install does before its bundle is put in place, whichever copy it replaces.
namespace ReleasePreparation {

// Downloads the release into the work folder, checks the archive's signature against the
// app's key, unpacks it there, picks the app's bundle of the announced build and checks its
// code signature against the app's identifier and team. Gives the verified bundle, still
// inside the work folder; each blocking step runs on the thread pool.
QCoro::Task<Expected<QString, InstallFailure>> prepare(QNetworkAccessManager *session,
                                                       std::shared_ptr<const CodeSignatureVerifier> verifier,
                                                       CatalogApp app, AppcastRelease release, QString work,
                                                       ArchiveLimits limits, ProgressCallback progress);

} // namespace ReleasePreparation
