#include "app/window/storeresources.h"

#include "platform/bundle.h"
#include "platform/preferredlanguages.h"
#include "shell/resourcebundlelocator.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QUrl>

StoreResources::StoreResources(std::optional<QString> path, bool rightToLeft)
    : m_path(std::move(path)), m_rightToLeft(rightToLeft)
{}

StoreResources *StoreResources::instance()
{
    static StoreResources *const resources = [] {
        const Bundle bundle = Bundle::main();
        const QString contents = bundle.path() + QStringLiteral("/Contents/Resources");
        const std::optional<QString> resourcesPath =
            QFileInfo(contents).isDir() ? std::optional<QString>(contents) : std::nullopt;
        const std::optional<QString> path = locate(bundle.path(), resourcesPath, QStringLiteral(TESSEL_BUILD_BIN_DIR));
        auto *found = new StoreResources(path, false);
        found->m_rightToLeft = isRightToLeft(preferredLocalizations(found->localizations(), preferredLanguages()));
        return found;
    }();
    return resources;
}

std::optional<QString> StoreResources::locate(const QString &bundlePath, const std::optional<QString> &resourcesPath,
                                              const QString &buildFolder)
{
    const auto isFolder = [](const QString &candidate) { return QFileInfo(candidate).isDir(); };
    if (const std::optional<QString> found =
            ResourceBundleLocator::url(bundleName, resourcesPath, bundlePath, isFolder))
        return found;
    const QString built = buildFolder + u'/' + bundleName;
    return isFolder(built) ? std::optional<QString>(built) : std::nullopt;
}

QStringList StoreResources::preferredLocalizations(const QStringList &available, const QStringList &preferred)
{
    QStringList offered = available;
    if (!offered.contains(QStringLiteral("en")))
        offered.append(QStringLiteral("en"));
    QStringList chosen;
    for (const QString &language : preferred) {
        // "pt-BR" takes "pt-BR", then "pt".
        const QString tag = QString(language).replace(u'_', u'-');
        for (const QString &candidate : {tag, tag.section(u'-', 0, 0)}) {
            if (offered.contains(candidate) && !chosen.contains(candidate))
                chosen.append(candidate);
        }
    }
    return chosen.isEmpty() ? QStringList{QStringLiteral("en")} : chosen;
}

bool StoreResources::isRightToLeft(const QStringList &localizations)
{
    const QString first = localizations.isEmpty() ? QStringLiteral("en") : localizations.first();
    return QLocale(first).textDirection() == Qt::RightToLeft;
}

std::optional<QString> StoreResources::appIconPath() const
{
    if (!m_path)
        return std::nullopt;
    const QString icon = *m_path + QStringLiteral("/AppIcon.png");
    return QFileInfo(icon).isFile() ? std::optional<QString>(icon) : std::nullopt;
}

QString StoreResources::appIconUrl() const
{
    const std::optional<QString> icon = appIconPath();
    return icon ? QUrl::fromLocalFile(*icon).toString() : QString();
}

QStringList StoreResources::localizations() const
{
    QStringList languages;
    if (!m_path)
        return languages;
    const QStringList files =
        QDir(*m_path + QStringLiteral("/translations")).entryList({QStringLiteral("tessel-store_*.qm")}, QDir::Files);
    for (const QString &file : files)
        languages.append(file.section(u'_', 1).chopped(3).replace(u'_', u'-'));
    return languages;
}

StoreResources *StoreResources::create(QQmlEngine *, QJSEngine *)
{
    StoreResources *resources = instance();
    QJSEngine::setObjectOwnership(resources, QJSEngine::CppOwnership);
    return resources;
}
