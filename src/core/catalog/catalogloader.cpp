#include "catalog/catalogloader.h"

#include "catalog/cataloglog.h"
#include "catalog/servicesignature.h"
#include "crypto/base64.h"
#include "platform/locations.h"
#include "support/nofollowfile.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

std::optional<CatalogLoader::Envelope> CatalogLoader::Envelope::parse(const QByteArray &bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue kid = object.value(QLatin1String("kid"));
    const QJsonValue catalog = object.value(QLatin1String("catalog"));
    const QJsonValue signature = object.value(QLatin1String("signature"));
    if (!kid.isString() || !catalog.isString() || !signature.isString())
        return std::nullopt;
    return Envelope{kid.toString(), catalog.toString(), signature.toString()};
}

CatalogLoader::CatalogLoader(ServiceConfiguration configuration, QString cacheURL)
    : m_configuration(std::move(configuration)), m_cacheURL(std::move(cacheURL))
{}

QString CatalogLoader::defaultCacheURL()
{
    return defaultCacheURL(Locations::standard());
}

QString CatalogLoader::defaultCacheURL(const Locations &locations)
{
    return locations.dataHome + QStringLiteral("/Tessel Store/catalog.json");
}

QUrl CatalogLoader::endpoint() const
{
    QUrl url = m_configuration.serverURL;
    QString path = url.path();
    if (!path.endsWith(u'/'))
        path.append(u'/');
    url.setPath(path + QStringLiteral("v1/catalog"));
    return url;
}

QCoro::Task<CatalogLoad> CatalogLoader::load(QNetworkAccessManager *session, TransferLimits limits) const
{
    // The caller's loader may be gone by the time the answer arrives.
    const CatalogLoader loader = *this;
    const QUrl endpoint = loader.endpoint();
    QCoro::Task<Expected<HTTPAnswer, QString>> fetching = HTTPFetch::fetch(session, endpoint, limits);
    const Expected<HTTPAnswer, QString> answer = co_await fetching;
    if (!answer || !answer->complete) {
        qCInfo(lcCatalog) << "the service gave no complete catalog; reading the cached copy";
        const CatalogOrigin origin{CatalogOrigin::Source::Cache, QFileInfo(loader.m_cacheURL).lastModified().toUTC()};
        co_return CatalogLoad{loader.cached(), origin,
                              answer ? HTTPFetch::incompleteAnswer(endpoint, *answer) : answer.error()};
    }
    CatalogResult result = loader.decode(answer->body);
    if (result) {
        loader.store(answer->body);
        co_return CatalogLoad{std::move(result), {}, {}};
    }
    qCWarning(lcCatalog) << "the service's catalog was refused:" << errorName(result.error());
    const QString problem = QStringLiteral("the catalog from %1 was refused: %2")
                                .arg(endpoint.toString(QUrl::FullyEncoded), errorName(result.error()));
    co_return CatalogLoad{std::move(result), {}, problem};
}

CatalogResult CatalogLoader::cached() const
{
    // The cache path is not trusted to hold a file: a link, FIFO, device or huge sparse file
    // there must neither hang the store nor fill its memory. The limit is a download's.
    const Expected<QByteArray, QString> bytes = NoFollowFile::read(m_cacheURL, HTTPFetch::maximumBodySize);
    if (!bytes) {
        qCWarning(lcCatalog).noquote() << "no cached catalog:" << bytes.error();
        return CatalogError::Unavailable;
    }
    CatalogResult result = decode(bytes.value());
    if (!result)
        qCWarning(lcCatalog) << "the cached catalog was refused:" << errorName(result.error());
    return result;
}

CatalogResult CatalogLoader::decode(const QByteArray &bytes) const
{
    const std::optional<Envelope> envelope = Envelope::parse(bytes);
    if (!envelope)
        return CatalogError::Malformed;
    const std::optional<QByteArray> payload = Base64::decodeURL(envelope->catalog);
    if (!payload)
        return CatalogError::Malformed;
    if (envelope->kid != m_configuration.keyID)
        return CatalogError::BadSignature;
    if (!ServiceSignature::isValid(envelope->signature, *payload, m_configuration))
        return CatalogError::BadSignature;
    std::optional<Catalog> catalog = Catalog::fromJSON(*payload);
    if (!catalog)
        return CatalogError::Malformed;
    if (catalog->issuer != m_configuration.issuer)
        return CatalogError::WrongIssuer;
    return std::move(*catalog);
}

void CatalogLoader::store(const QByteArray &bytes) const
{
    // A cache that cannot be written only costs the offline fallback.
    QDir().mkpath(QFileInfo(m_cacheURL).absolutePath());
    const Expected<Unit, QString> stored = NoFollowFile::replace(m_cacheURL, bytes);
    if (!stored)
        qCWarning(lcCatalog).noquote() << "the catalog cache could not be written:" << stored.error();
}
