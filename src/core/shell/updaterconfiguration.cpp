#include "shell/updaterconfiguration.h"

#include "crypto/base64.h"
#include "crypto/ed25519.h"
#include "support/urlparsing.h"

namespace UpdaterConfiguration {

bool isConfigured(const QVariantMap &info)
{
    if (info.isEmpty())
        return false;
    const QVariant feed = info.value(QStringLiteral("SUFeedURL"));
    if (feed.typeId() != QMetaType::QString || !parseURL(feed.toString()) || !hasHTTPSScheme(feed.toString()))
        return false;
    const QVariant key = info.value(QStringLiteral("SUPublicEDKey"));
    if (key.typeId() != QMetaType::QString)
        return false;
    const std::optional<QByteArray> decoded = Base64::decode(key.toString());
    return decoded && decoded->size() == Ed25519::publicKeySize;
}

QString shownVersion(const QVariantMap &info)
{
    const QVariant version = info.value(QStringLiteral("CFBundleShortVersionString"));
    return version.typeId() == QMetaType::QString ? version.toString() : QStringLiteral("1.0");
}

} // namespace UpdaterConfiguration
