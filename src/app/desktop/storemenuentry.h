#pragma once

#include "platform/locations.h"

#include <QString>

// The store in the desktop's application menu, as it puts the apps it installs there: an entry
// for its own bundle, named after its name on the session bus so that the desktop activates
// the running store there, the bus's service file that starts it when it is not running, and
// its tray icon in the user's icon theme, where desktops that tint symbolic icons find it.
namespace StoreMenuEntry {

QString entryPath(const Locations &locations);
QString busServicePath(const Locations &locations);
QString symbolicIconPath(const Locations &locations, const QString &iconName);

// Writes all three for the bundle; false when the bundle names no identifier or executable, or
// a file could not be written.
bool registerBundle(const Locations &locations, const QString &bundlePath, const QString &iconName,
                    const QByteArray &symbolicIcon);

} // namespace StoreMenuEntry
