#pragma once

#include <QList>
#include <QString>
#include <optional>

// The sections of the window's sidebar; the raw value is what "section" defaults and the
// show-section message carry.
enum class StoreSection { Explore, MyApps, Updates, Account };

namespace StoreSections {

QList<StoreSection> all();
QString rawValue(StoreSection section);
// Nothing for a string that is none of the raw values.
std::optional<StoreSection> fromRawValue(const QString &raw);
// A stored choice: an absent or unknown string reads as Explore.
StoreSection fromStored(const std::optional<QString> &stored);
QString title(StoreSection section);
// The system symbol of the section's sidebar row.
QString symbol(StoreSection section);

} // namespace StoreSections
