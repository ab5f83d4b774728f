#pragma once

#include <QHash>
#include <QString>
#include <optional>

// The app icons the store carries itself (the resource bundle's "AppIcons" folder), so that
// they show without the network: one readable PNG per product identifier, its file name.
class OfflineIcons
{
public:
    // The PNG files of the folder that can be read as images; none without a folder.
    static OfflineIcons fromFolder(const std::optional<QString> &folder);
    // The running store's, found once.
    static const OfflineIcons &standard();

    std::optional<QString> path(const QString &productID) const;
    qsizetype count() const { return m_paths.size(); }

private:
    QHash<QString, QString> m_paths; // by product identifier
};
