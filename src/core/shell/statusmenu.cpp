#include "shell/statusmenu.h"

namespace StatusMenu {

bool Entry::operator==(const Entry &other) const
{
    if (kind != other.kind)
        return false;
    if (kind == Kind::UpdateAll)
        return count == other.count;
    if (kind == Kind::CheckStoreUpdate)
        return enabled == other.enabled;
    return true;
}

QList<Entry> entries(int updates, bool canCheckStoreUpdate)
{
    using Kind = Entry::Kind;
    return {
        Entry::simple(Kind::OpenStore),
        Entry::simple(Kind::Separator),
        updates >= 1 ? Entry::updateAll(updates) : Entry::simple(Kind::UpToDate),
        Entry::simple(Kind::CheckAppUpdates),
        Entry::checkStoreUpdate(canCheckStoreUpdate),
        Entry::simple(Kind::Separator),
        Entry::simple(Kind::Quit),
    };
}

} // namespace StatusMenu
