#include "harness/catalogfixtures.h"

#include "crypto/base64.h"
#include "maker/catalogsigner.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace CatalogFixtures {

QJsonObject app(const QString &productID, const QString &minimumSystemVersion)
{
    const QString base = QStringLiteral("https://apps.orvel.example/") + productID;
    return {
        {QStringLiteral("productID"), productID},
        {QStringLiteral("name"), productID.toUpper()},
        {QStringLiteral("bundleID"), QStringLiteral("com.orvel.") + productID},
        {QStringLiteral("teamID"), QStringLiteral("ORVEL12345")},
        {QStringLiteral("appcastURL"), base + QStringLiteral("/appcast.xml")},
        {QStringLiteral("sparklePublicKey"), QStringLiteral("k0j2D1x1Zc4rWlW8oKQ3m0bqVQmQH3Kp4c2o9yYb1Ck=")},
        {QStringLiteral("websiteURL"), base},
        {QStringLiteral("iconURL"), base + QStringLiteral("/icon.png")},
        {QStringLiteral("minimumSystemVersion"), minimumSystemVersion},
        {QStringLiteral("category"), QStringLiteral("Utilities")},
        {QStringLiteral("tagline"), QJsonObject{{QStringLiteral("en"), QStringLiteral("Tagline")}}},
        {QStringLiteral("description"), QJsonObject{{QStringLiteral("en"), QStringLiteral("Description")}}},
        {QStringLiteral("screenshots"), QJsonArray{base + QStringLiteral("/1.png")}},
    };
}

QStringList productIDs(const QList<CatalogApp> &apps)
{
    QStringList ids;
    for (const CatalogApp &app : apps)
        ids.append(app.productID);
    return ids;
}

QByteArray catalogJSON(const QString &issuer, const QList<QJsonObject> &apps, int version)
{
    QJsonArray array;
    for (const QJsonObject &app : apps)
        array.append(app);
    return QJsonDocument(QJsonObject{
                             {QStringLiteral("version"), version},
                             {QStringLiteral("issuer"), issuer},
                             {QStringLiteral("apps"), array},
                         })
        .toJson(QJsonDocument::Compact);
}

ServiceConfiguration Signer::configuration(const QUrl &serverURL) const
{
    return {serverURL, issuer, keyID, QString::fromLatin1(Base64::encodeURL(key.publicKey()))};
}

QByteArray Signer::envelope(const QByteArray &catalogJSON) const
{
    return CatalogSigner::envelope(catalogJSON, key, keyID);
}

QByteArray Signer::envelopeOf(const QList<QJsonObject> &apps) const
{
    return envelope(catalogJSON(issuer, apps));
}

} // namespace CatalogFixtures
