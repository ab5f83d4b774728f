#pragma once

#include <QString>
#include <QVariantMap>

// What the store's own updater reads from the main bundle's Info.plist.
namespace UpdaterConfiguration {

// True when "SUFeedURL" is an https address (the scheme written exactly so) and
// "SUPublicEDKey" is standard Base64 of 32 bytes.
bool isConfigured(const QVariantMap &info);

// The version shown to the user: "CFBundleShortVersionString", or "1.0" without one.
QString shownVersion(const QVariantMap &info);

} // namespace UpdaterConfiguration
