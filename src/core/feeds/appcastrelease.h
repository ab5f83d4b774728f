#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// One full release of an app, as its update feed announces it.
struct AppcastRelease
{
    QString shortVersion; // what the user sees
    QString build;        // what installed builds are compared with
    QUrl url;             // the full archive, never a delta
    std::optional<qint64> length;
    std::optional<QString> edSignature;
    std::optional<QString> minimumSystemVersion;
    std::optional<QString> releaseNotes; // the item's description, as written (often HTML)

    bool operator==(const AppcastRelease &) const = default;
};
