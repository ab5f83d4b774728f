#include "install/installedapp.h"

#include "catalog/version.h"
#include "platform/bundle.h"

namespace {

QString stringEntry(const QVariantMap &info, const QString &key)
{
    const QVariant value = info.value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}

} // namespace

std::optional<InstalledApp> InstalledApp::at(const QString &bundle)
{
    const std::optional<QVariantMap> info = Bundle::at(bundle).infoDictionary();
    if (!info)
        return std::nullopt;
    return fromInfo(bundle, *info);
}

InstalledApp InstalledApp::fromInfo(const QString &bundle, const QVariantMap &info)
{
    return {bundle, stringEntry(info, QStringLiteral("CFBundleShortVersionString")),
            stringEntry(info, QStringLiteral("CFBundleVersion"))};
}

bool needsUpdate(const InstalledApp &installed, const AppcastRelease &release)
{
    return Version::compare(installed.build, release.build) == Version::Order::Ascending;
}
