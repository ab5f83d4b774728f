#pragma once

#include "catalog/catalog.h"
#include "feeds/appcastrelease.h"
#include "install/archivedownload.h"
#include "install/installedapp.h"
#include "install/installerror.h"
#include "platform/locations.h"
#include "support/expected.h"

#include <QList>
#include <memory>
#include <optional>
#include <qcorotask.h>

class AppRegistry;
class CodeSignatureVerifier;
class QNetworkAccessManager;

// Finds, installs and replaces the copies of catalog apps. Holds only where to look and
// what to use; nothing is cached between calls, so every answer reflects the disk.
class Installer
{
public:
    Installer(Locations locations, AppRegistry *registry, QNetworkAccessManager *session = nullptr,
              std::shared_ptr<const CodeSignatureVerifier> verifier = nullptr);

    // Downloads the release, checks the archive's signature, unpacks it, checks that the app
    // is the catalog's (identifier, then code signature) and puts it in place: replacing the
    // installed copy where it is, or into an Applications folder. Everything in between lives
    // in a work folder "tessel-store-UUID" in the temporary folder, removed whatever happens.
    // Gives the installed bundle's path.
    QCoro::Task<Expected<QString, InstallFailure>> install(CatalogApp app, AppcastRelease release,
                                                           ProgressCallback progress) const;

    // Whether an archive may be opened for an app with this public key.
    static bool archiveIsSigned(const QString &archive, const std::optional<QString> &signature,
                                const QString &publicKey);

    // The copy to use: from the two Applications folders' top level and the app registry,
    // those whose identifier is the app's, ranked by preferredCopy().
    std::optional<InstalledApp> installed(const CatalogApp &app) const;

    // A copy in the machine's Applications folder beats one in the user's, whatever the
    // versions; within one folder the higher build wins; copies elsewhere never count.
    static std::optional<InstalledApp> preferredCopy(const QList<InstalledApp> &copies, const Locations &locations);

    // True when the release's build is newer than the copy's; short versions play no part.
    static bool needsUpdate(const InstalledApp &installed, const AppcastRelease &release);

private:
    // Our verifier, anchored at the built-in root and the store bundle's own anchors.
    static std::shared_ptr<const CodeSignatureVerifier> standardVerifier();

    Locations m_locations;
    AppRegistry *m_registry;
    QNetworkAccessManager *m_session;
    std::shared_ptr<const CodeSignatureVerifier> m_verifier;
};
