#include "app/desktop/gnomewindowpreferences.h"

#include <QStringList>

namespace GnomeWindowPreferences {

TitleBarAction doubleClickAction(const QString &setting)
{
    if (setting == QLatin1String("minimize"))
        return TitleBarAction::Minimize;
    if (setting == QLatin1String("none"))
        return TitleBarAction::None;
    return TitleBarAction::Zoom;
}

bool closeButtonLeading(const QString &buttonLayout)
{
    // Without a colon every button is a leading one.
    const QString trailing = buttonLayout.section(u':', 1);
    return !trailing.split(u',').contains(QLatin1String("close"));
}

} // namespace GnomeWindowPreferences
