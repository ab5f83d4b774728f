#include "shell/storesection.h"

#include <QCoreApplication>

namespace StoreSections {

QList<StoreSection> all()
{
    return {StoreSection::Explore, StoreSection::MyApps, StoreSection::Updates, StoreSection::Account};
}

QString rawValue(StoreSection section)
{
    switch (section) {
    case StoreSection::Explore:
        return QStringLiteral("explore");
    case StoreSection::MyApps:
        return QStringLiteral("myApps");
    case StoreSection::Updates:
        return QStringLiteral("updates");
    case StoreSection::Account:
        return QStringLiteral("account");
    }
    return {};
}

std::optional<StoreSection> fromRawValue(const QString &raw)
{
    for (const StoreSection section : all()) {
        if (rawValue(section) == raw)
            return section;
    }
    return std::nullopt;
}

StoreSection fromStored(const std::optional<QString> &stored)
{
    return (stored ? fromRawValue(*stored) : std::nullopt).value_or(StoreSection::Explore);
}

QString title(StoreSection section)
{
    switch (section) {
    case StoreSection::Explore:
        return QCoreApplication::translate("StoreSection", "Explore");
    case StoreSection::MyApps:
        return QCoreApplication::translate("StoreSection", "My Apps");
    case StoreSection::Updates:
        return QCoreApplication::translate("StoreSection", "Updates");
    case StoreSection::Account:
        return QCoreApplication::translate("StoreSection", "Account");
    }
    return {};
}

QString symbol(StoreSection section)
{
    switch (section) {
    case StoreSection::Explore:
        return QStringLiteral("sparkles");
    case StoreSection::MyApps:
        return QStringLiteral("square.grid.2x2");
    case StoreSection::Updates:
        return QStringLiteral("arrow.down.circle");
    case StoreSection::Account:
        return QStringLiteral("person.crop.circle");
    }
    return {};
}

} // namespace StoreSections
