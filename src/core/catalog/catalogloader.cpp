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
        const QString serviceProblem = answer ? HTTPFetch::incompleteAnswer(endpoint, *answer) : answer.error();
        Expected<Catalog, CatalogRefusal> cached = loader.readCache();
        if (!cached)
            co_return CatalogLoad{cached.error().error, origin, serviceProblem, cached.error().detail};
        co_return CatalogLoad{std::move(cached).value(), origin, serviceProblem, {}};
    }
    Expected<Catalog, CatalogRefusal> checked = loader.check(answer->body);
    if (!checked) {
        qCWarning(lcCatalog).noquote() << "the service's catalog was refused:" << checked.error().detail;
        const QString problem = QStringLiteral("the catalog from %1 was refused: %2")
                                    .arg(endpoint.toString(QUrl::FullyEncoded), checked.error().detail);
        co_return CatalogLoad{checked.error().error, {}, problem, {}};
    }
    loader.store(answer->body);
    co_return CatalogLoad{std::move(checked).value(), {}, {}, {}};
}

CatalogResult CatalogLoader::cached() const
{
    Expected<Catalog, CatalogRefusal> cached = readCache();
    if (!cached)
        return cached.error().error;
    return std::move(cached).value();
}

Expected<Catalog, CatalogRefusal> CatalogLoader::readCache() const
{
    // The cache path is not trusted to hold a file: a link, FIFO, device or huge sparse file
    // there must neither hang the store nor fill its memory. The limit is a download's.
    const Expected<QByteArray, QString> bytes = NoFollowFile::read(m_cacheURL, HTTPFetch::maximumBodySize);
    if (!bytes) {
        qCWarning(lcCatalog).noquote() << "no cached catalog:" << bytes.error();
        return CatalogRefusal{CatalogError::Unavailable,
                              QStringLiteral("no kept copy could be read at %1: %2").arg(m_cacheURL, bytes.error())};
    }
    Expected<Catalog, CatalogRefusal> result = check(bytes.value());
    if (!result) {
        qCWarning(lcCatalog).noquote() << "the cached catalog was refused:" << result.error().detail;
        return CatalogRefusal{
            result.error().error,
            QStringLiteral("the kept copy at %1 was refused: %2").arg(m_cacheURL, result.error().detail)};
    }
    return result;
}

CatalogResult CatalogLoader::decode(const QByteArray &bytes) const
{
    Expected<Catalog, CatalogRefusal> checked = check(bytes);
    if (!checked)
        return checked.error().error;
    return std::move(checked).value();
}

Expected<Catalog, CatalogRefusal> CatalogLoader::check(const QByteArray &bytes) const
{
    const auto refused = [](CatalogError error, QString detail) { return CatalogRefusal{error, std::move(detail)}; };
    const std::optional<Envelope> envelope = Envelope::parse(bytes);
    if (!envelope)
        return refused(CatalogError::Malformed,
                       QStringLiteral("not a signed envelope (a JSON object with the texts kid, catalog, signature)"));
    const std::optional<QByteArray> payload = Base64::decodeURL(envelope->catalog);
    if (!payload)
        return refused(CatalogError::Malformed, QStringLiteral("the envelope's catalog is not base64url"));
    if (envelope->kid != m_configuration.keyID)
        return refused(CatalogError::BadSignature,
                       QStringLiteral("signed with the key id \"%1\", but the key id \"%2\" is expected")
                           .arg(envelope->kid, m_configuration.keyID));
    if (!ServiceSignature::isValid(envelope->signature, *payload, m_configuration))
        return refused(
            CatalogError::BadSignature,
            QStringLiteral("the signature does not verify with the public key expected for the key id \"%1\"")
                .arg(m_configuration.keyID));
    Expected<Catalog, QString> catalog = Catalog::read(*payload);
    if (!catalog)
        return refused(CatalogError::Malformed, QStringLiteral("the signed catalog is refused: ") + catalog.error());
    if (catalog->issuer != m_configuration.issuer)
        return refused(CatalogError::WrongIssuer,
                       QStringLiteral("the catalog names the issuer \"%1\", but the issuer \"%2\" is expected")
                           .arg(catalog->issuer, m_configuration.issuer));
    return std::move(catalog).value();
}

void CatalogLoader::store(const QByteArray &bytes) const
{
    // A cache that cannot be written only costs the offline fallback.
    QDir().mkpath(QFileInfo(m_cacheURL).absolutePath());
    const Expected<Unit, QString> stored = NoFollowFile::replace(m_cacheURL, bytes);
    if (!stored)
        qCWarning(lcCatalog).noquote() << "the catalog cache could not be written:" << stored.error();
}
