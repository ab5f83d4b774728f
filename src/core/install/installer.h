#pragma once

#include "catalog/catalog.h"
#include "feeds/appcastrelease.h"
#include "installedapp.h"
#include "platform/locations.h"

#include <QList>
#include <optional>

class AppRegistry;
class CodeSignatureVerifier;

// Finds and (later) replaces the installed copies of catalog apps. Holds only where to
// look; nothing is cached between calls, so every answer reflects the disk.
class Installer
{
public:
    Installer(Locations locations, const AppRegistry *registry);

    // The copy to use: from the two Applications folders' top level and the app registry,
    // those whose identifier is the app's, ranked by preferredCopy().
    std::optional<InstalledApp> installed(const CatalogApp &app) const;

    // A copy in the machine's Applications folder beats one in the user's, whatever the
    // versions; within one folder the higher build wins; copies elsewhere never count.
    static std::optional<InstalledApp> preferredCopy(const QList<InstalledApp> &copies, const Locations &locations);

    // True when the release's build is newer than the copy's; short versions play no part.
    static bool needsUpdate(const InstalledApp &installed, const AppcastRelease &release);

    // The designated requirement a catalog app's bundle must meet: anchored at the vendor's
    // root (or a configured anchor), the catalog's identifier, the catalog's team.
    static QString requirement(const CatalogApp &app);

    // Whether the bundle's code signature is intact and meets requirement(app), checked
    // with the anchors of the store's own bundle.
    static bool codeSignatureIsValid(const QString &bundle, const CatalogApp &app);

    // Why the bundle fails the check with this verifier, or nothing when it passes. A
    // catalog value with a quote or a backslash fails: it could change the requirement's
    // meaning, never only its value.
    static std::optional<QString> codeSignatureFailure(const QString &bundle, const CatalogApp &app,
                                                       const CodeSignatureVerifier &verifier);

private:
    Locations m_locations;
    const AppRegistry *m_registry;
};
