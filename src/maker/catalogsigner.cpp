#include "maker/catalogsigner.h"

#include "crypto/base64.h"
#include "maker/signingkey.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace CatalogSigner {

QByteArray envelope(const QByteArray &catalogJSON, const SigningKey &key, const QString &keyID)
{
    const QJsonObject object{
        {QStringLiteral("kid"), keyID},
        {QStringLiteral("catalog"), QString::fromLatin1(Base64::encodeURL(catalogJSON))},
        {QStringLiteral("signature"), QString::fromLatin1(Base64::encodeURL(key.sign(catalogJSON)))},
    };
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

} // namespace CatalogSigner
