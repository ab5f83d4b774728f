#include "shell/appearance.h"

#include <QCoreApplication>

namespace Appearances {

QList<Appearance> all()
{
    return {Appearance::System, Appearance::Light, Appearance::Dark};
}

QString rawValue(Appearance appearance)
{
    switch (appearance) {
    case Appearance::System:
        return QStringLiteral("system");
    case Appearance::Light:
        return QStringLiteral("light");
    case Appearance::Dark:
        return QStringLiteral("dark");
    }
    return {};
}

Appearance fromRawValue(const QString &raw)
{
    for (const Appearance appearance : all()) {
        if (rawValue(appearance) == raw)
            return appearance;
    }
    return Appearance::System;
}

QString title(Appearance appearance)
{
    switch (appearance) {
    case Appearance::System:
        return QCoreApplication::translate("Appearance", "Automatic");
    case Appearance::Light:
        return QCoreApplication::translate("Appearance", "Light");
    case Appearance::Dark:
        return QCoreApplication::translate("Appearance", "Dark");
    }
    return {};
}

} // namespace Appearances
