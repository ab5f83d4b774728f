#include "catalog/serviceconfiguration.h"

#include "crypto/base64.h"
#include "crypto/ed25519.h"
#include "platform/bundle.h"
#include "support/urlparsing.h"

std::optional<QByteArray> ServiceConfiguration::signingKey() const
{
    std::optional<QByteArray> key = Base64::decodeURL(publicKey);
    if (!key || key->size() != Ed25519::publicKeySize)
        return std::nullopt;
    return key;
}

ServiceConfiguration ServiceConfiguration::production()
{
    return {
        .serverURL = QUrl(QStringLiteral("https://store.orvel.example")),
        .issuer = QStringLiteral("orvel-store"),
        .keyID = QStringLiteral("orvel-catalog-2026-1"),
        .publicKey = QStringLiteral("LJaP5dF3pFzX1K_6YVMqBfEJIf--0l6YU8gmfSNAfMk"),
    };
}

ServiceConfiguration ServiceConfiguration::fromBundle(const Bundle &bundle)
{
    const QVariantMap info = bundle.infoDictionary().value_or(QVariantMap());
    auto string = [&info](const char *key) -> std::optional<QString> {
        const QVariant value = info.value(QLatin1String(key));
        if (value.typeId() != QMetaType::QString)
            return std::nullopt;
        return value.toString();
    };
    const std::optional<QString> serverText = string("TesselServiceURL");
    const std::optional<QUrl> serverURL = serverText ? parseURL(*serverText) : std::nullopt;
    const std::optional<QString> issuer = string("TesselServiceIssuer");
    const std::optional<QString> keyID = string("TesselServiceKeyID");
    const std::optional<QString> publicKey = string("TesselServicePublicKey");
    if (!serverURL || !issuer || issuer->isEmpty() || !keyID || keyID->isEmpty() || !publicKey)
        return production();
    return {*serverURL, *issuer, *keyID, *publicKey};
}
