#pragma once

#include <QList>

// Which entries the status item's menu shows, in order, decided without any window system.
namespace StatusMenu {

struct Entry
{
    enum class Kind { UpdateAll, CheckStoreUpdate, OpenStore, Separator, UpToDate, CheckAppUpdates, Quit };

    Kind kind;
    int count = 0;       // UpdateAll: how many apps have an update
    bool enabled = true; // CheckStoreUpdate: whether the store's updater can check now

    static Entry updateAll(int count) { return {Kind::UpdateAll, count, true}; }
    static Entry checkStoreUpdate(bool enabled) { return {Kind::CheckStoreUpdate, 0, enabled}; }
    static Entry simple(Kind kind) { return {kind, 0, true}; }

    // Payloads take part only for the kinds that carry one.
    bool operator==(const Entry &other) const;
};

// Always seven entries: open, separator, update-all or up-to-date, check apps, check the
// store (its availability in the payload), separator, quit.
QList<Entry> entries(int updates, bool canCheckStoreUpdate);

} // namespace StatusMenu
