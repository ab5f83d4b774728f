#pragma once

#include "catalog/catalog.h"
#include "feeds/appcastrelease.h"
#include "install/archivedownload.h"
#include "install/archivelimits.h"
#include "install/installfailure.h"
#include "platform/locations.h"
#include "support/expected.h"

#include <memory>
#include <qcorotask.h>

class AppRegistry;
class CodeSignatureVerifier;
class QNetworkAccessManager;

// Installs and replaces the copies of catalog apps. Holds only where to look and what to
// use; nothing is cached between calls.
class Installer
{
public:
    // Every app's code signature is checked with the verifier; without one, nothing is
    // installed. Downloads stay within archiveLimits.
    Installer(Locations locations, AppRegistry *registry, QNetworkAccessManager *session,
              std::shared_ptr<const CodeSignatureVerifier> verifier,
              ArchiveLimits archiveLimits = ArchiveLimits::standard());

    // Downloads the release, checks the archive's signature, unpacks it, checks that the app
    // is the catalog's (identifier, then code signature) and puts it in place: replacing the
    // installed copy where it is, or into an Applications folder. Everything in between lives
    // in a work folder "tessel-store-UUID" in the temporary folder, removed whatever happens;
    // those of installs that were killed are removed when the next install starts.
    // Gives the installed bundle's path; a failure is logged with its reason.
    QCoro::Task<Expected<QString, InstallFailure>> install(CatalogApp app, AppcastRelease release,
                                                           ProgressCallback progress) const;

private:
    QCoro::Task<Expected<QString, InstallFailure>> run(CatalogApp app, AppcastRelease release,
                                                       ProgressCallback progress) const;

    Locations m_locations;
    AppRegistry *m_registry;
    QNetworkAccessManager *m_session;
    std::shared_ptr<const CodeSignatureVerifier> m_verifier;
    ArchiveLimits m_archiveLimits;
};
