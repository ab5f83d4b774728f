#pragma once

#include <QIcon>
#include <QString>

// The tray item's picture: a rounded square with the maker's monogram. Desktops that tint
// symbolic icons get the symbolic one from the icon theme the store registers; elsewhere a
// drawn one in the store's accent, which reads on light and dark panels alike.
namespace MenuBarIcon {

inline const QString symbolicName = QStringLiteral("com.orvel.TesselStore-symbolic");

QIcon icon();

// The symbolic icon's SVG, as the store installs it into the icon theme.
QByteArray symbolicSvg();

} // namespace MenuBarIcon
