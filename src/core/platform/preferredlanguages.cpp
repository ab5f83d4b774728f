#include "platform/preferredlanguages.h"

#include <QLocale>

QStringList preferredLanguages()
{
    // The C locale is no preference, whatever tag Qt reports for it.
    if (QLocale::system().language() == QLocale::C)
        return {};
    return QLocale::system().uiLanguages();
}
