#pragma once

#include "catalog/catalog.h"
#include "catalog/serviceconfiguration.h"
#include "codesign/codesignatureverifier.h"
#include "install/archivelimits.h"
#include "net/httpfetch.h"
#include "platform/appregistry.h"
#include "platform/locations.h"
#include "platform/runningapplications.h"
#include "platform/systemversion.h"

#include <QDateTime>
#include <QStringList>
#include <functional>
#include <memory>

class QNetworkAccessManager;
class QObject;

// Everything the store model takes from the machine it runs on, handed in at creation
// so that a test can build a model over its own folders, server and clock.
struct StoreEnvironment
{
    QNetworkAccessManager *session = nullptr; // the shared session; not owned, outlives the model
    ServiceConfiguration configuration;
    Locations locations;
    std::shared_ptr<AppRegistry> registry;
    std::shared_ptr<const CodeSignatureVerifier> verifier; // checks every app before it is installed
    std::shared_ptr<RunningApplications> runningApplications;
    SystemVersion systemVersion;
    QStringList preferredLanguages;
    std::function<QDateTime()> now;
    TransferLimits documentLimits = HTTPFetch::documentLimits(); // the catalog and the feeds
    ArchiveLimits archiveLimits = ArchiveLimits::standard();
    // Called with the apps after every successful catalog load, to warm the image caches;
    // returns at once. Empty: nothing is prefetched.
    std::function<void(const QList<CatalogApp> &)> prefetchImages;

    // The real machine: the main bundle's configuration and code-signing anchors, the user's
    // folders, the desktop's application entries, the kernel's version, the system clock. The session is made as
    // a child of owner.
    static StoreEnvironment standard(QObject *owner);
};
