#pragma once

#include <QDBusConnection>
#include <QString>
#include <QVariant>
#include <optional>
#include <qcorotask.h>

// The desktop's settings as the desktop portal's Settings interface offers them.
namespace PortalSettings {

inline constexpr QLatin1String service{"org.freedesktop.portal.Desktop"};
inline constexpr QLatin1String objectPath{"/org/freedesktop/portal/desktop"};
inline constexpr QLatin1String settingsInterface{"org.freedesktop.portal.Settings"};

// One setting's value, or nothing when there is no portal or it has no such setting.
QCoro::Task<std::optional<QVariant>> read(QDBusConnection bus, QString group, QString key);

// The value inside its D-Bus variants: Read, the only method of older portals, wraps it twice.
QVariant unwrapped(QVariant value);

} // namespace PortalSettings
