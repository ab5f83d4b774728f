#pragma once

#include "shell/titlebarlayout.h"

#include <QString>

// The window manager's preferences as GNOME writes them (org.gnome.desktop.wm.preferences).
namespace GnomeWindowPreferences {

// "action-double-click-titlebar": "minimize" and "none" as they say; "toggle-maximize", and
// the actions without a counterpart here (menu, shade, lower), zoom.
TitleBarAction doubleClickAction(const QString &setting);

// "button-layout", the leading buttons, a colon, the trailing ones ("appmenu:minimize,close"):
// false only when the close button is among the trailing ones.
bool closeButtonLeading(const QString &buttonLayout);

} // namespace GnomeWindowPreferences
