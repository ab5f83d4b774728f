#pragma once

#include <QString>

// One copy of an app found on disk.
struct InstalledApp
{
    QString url;          // the .app bundle's path as it was found
    QString shortVersion; // CFBundleShortVersionString, shown to the user
    QString build;        // CFBundleVersion, what every version decision uses

    bool operator==(const InstalledApp &) const = default;
};
