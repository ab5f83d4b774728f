#pragma once

#include <QDateTime>

// Where the catalog a load gave came from: the service, or the copy kept from an earlier
// load because the service gave no whole answer.
struct CatalogOrigin
{
    enum class Source { Service, Cache };

    Source source = Source::Service;
    QDateTime savedAt; // for the cache: when the copy was written

    bool isCached() const { return source == Source::Cache; }
    bool operator==(const CatalogOrigin &) const = default;
};
