#include "app/screens/offlineicons.h"

#include "app/window/storeresources.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>

OfflineIcons OfflineIcons::fromFolder(const std::optional<QString> &folder)
{
    OfflineIcons icons;
    if (!folder)
        return icons;
    const QFileInfoList entries = QDir(*folder).entryInfoList(QDir::Files);
    for (const QFileInfo &entry : entries) {
        // Exactly "png": the name before it is the product identifier, dots and all.
        if (entry.suffix() != QLatin1String("png"))
            continue;
        QImageReader reader(entry.filePath());
        if (reader.canRead() && !reader.size().isEmpty())
            icons.m_paths.insert(entry.completeBaseName(), entry.filePath());
    }
    return icons;
}

const OfflineIcons &OfflineIcons::standard()
{
    static const OfflineIcons icons = [] {
        const std::optional<QString> &bundle = StoreResources::instance()->path();
        return fromFolder(bundle ? std::optional(*bundle + QStringLiteral("/AppIcons")) : std::nullopt);
    }();
    return icons;
}

std::optional<QString> OfflineIcons::path(const QString &productID) const
{
    const auto found = m_paths.constFind(productID);
    return found == m_paths.cend() ? std::nullopt : std::optional(*found);
}
