#pragma once

#include "support/expected.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>
#include <QUrl>
#include <optional>

// One app of the maker's catalog; every per-app state in the store is keyed by its productID.
struct CatalogApp
{
    QString productID;
    QString name;
    QString bundleID;
    QString teamID;
    QUrl appcastURL;
    QString sparklePublicKey;
    QUrl websiteURL;
    QUrl iconURL;
    QString minimumSystemVersion;
    QString category;
    QMap<QString, QString> tagline;
    QMap<QString, QString> description;
    QList<QUrl> screenshots;

    const QString &id() const { return productID; }

    QString taglineFor(QStringView language) const { return localized(tagline, language); }
    QString descriptionFor(QStringView language) const { return localized(description, language); }

    // The text for a language tag, falling back through shorter tags, then "en", then "".
    static QString localized(const QMap<QString, QString> &texts, QStringView language);

    bool operator==(const CatalogApp &) const = default;
};

// The catalog document carried inside the signed envelope.
struct Catalog
{
    qint64 version = 0;
    QString issuer;
    QList<CatalogApp> apps;

    // The document from its JSON bytes, or nothing when any part is not of the expected shape.
    static std::optional<Catalog> fromJSON(const QByteArray &json);
    // The same, with what is wrong in words, naming the field and the record.
    static Expected<Catalog, QString> read(const QByteArray &json);

    bool operator==(const Catalog &) const = default;
};
