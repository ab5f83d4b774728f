#pragma once

#include "feeds/appcastrelease.h"

#include <QString>
#include <QVariantMap>
#include <optional>

// One copy of an app found on disk.
struct InstalledApp
{
    QString url;          // the .app bundle's path as it was found
    QString shortVersion; // CFBundleShortVersionString, shown to the user
    QString build;        // CFBundleVersion, what every version decision uses

    // The copy at a bundle, or nothing when its Info.plist is missing or not a dictionary.
    static std::optional<InstalledApp> at(const QString &bundle);
    // The copy described by an Info.plist dictionary already read.
    static InstalledApp fromInfo(const QString &bundle, const QVariantMap &info);

    bool operator==(const InstalledApp &) const = default;
};

// True when the release's build is newer than the copy's; short versions play no part.
bool needsUpdate(const InstalledApp &installed, const AppcastRelease &release);
