#pragma once

#include "catalog/catalog.h"
#include "catalog/catalogerror.h"
#include "catalog/catalogorigin.h"
#include "catalog/serviceconfiguration.h"
#include "net/httpfetch.h"
#include "support/expected.h"

#include <qcorotask.h>

class QNetworkAccessManager;
struct Locations;

using CatalogResult = Expected<Catalog, CatalogError>;

// Why a catalog was refused: the stable case, and the exact reason in words.
struct CatalogRefusal
{
    CatalogError error;
    QString detail;
};

// What a load gave: the catalog or why there is none, where it came from, and in words
// what kept the service's own answer out and, when the kept copy failed too, why (each
// empty when it did not happen).
struct CatalogLoad
{
    CatalogResult result;
    CatalogOrigin origin;
    QString serviceProblem;
    QString cacheProblem;
};

// Fetches the signed catalog, network first, and keeps the last verified envelope on disk
// for when the service cannot be reached.
class CatalogLoader
{
public:
    // The signed wrapper the service sends: the catalog's bytes and a signature over them.
    struct Envelope
    {
        QString kid;
        QString catalog;   // base64url of the catalog's JSON bytes
        QString signature; // base64url of the Ed25519 signature over those bytes

        static std::optional<Envelope> parse(const QByteArray &bytes);
    };

    CatalogLoader(ServiceConfiguration configuration, QString cacheURL);

    // "Tessel Store/catalog.json" in the user's data folder.
    static QString defaultCacheURL();
    static QString defaultCacheURL(const Locations &locations);

    // The service's catalog address: "v1/catalog" after the base address and its path.
    QUrl endpoint() const;

    // The service's catalog when it answers completely (a complete answer that fails
    // verification is an error, never a reason to use the cache), otherwise cached().
    QCoro::Task<CatalogLoad> load(QNetworkAccessManager *session,
                                  TransferLimits limits = HTTPFetch::documentLimits()) const;

    // The cached envelope, verified again.
    CatalogResult cached() const;

    // Verifies envelope bytes: key identifier, signature, catalog shape, issuer, in that order.
    CatalogResult decode(const QByteArray &bytes) const;
    // The same, with the reason of a refusal in words.
    Expected<Catalog, CatalogRefusal> check(const QByteArray &bytes) const;

private:
    Expected<Catalog, CatalogRefusal> readCache() const;

    void store(const QByteArray &bytes) const;

    ServiceConfiguration m_configuration;
    QString m_cacheURL;
};
