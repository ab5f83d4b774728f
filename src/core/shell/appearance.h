#pragma once

#include <QList>
#include <QString>

// The window's appearance choice, stored under "appearance" by its raw value.
enum class Appearance { System, Light, Dark };

namespace Appearances {

QList<Appearance> all();
QString rawValue(Appearance appearance);
// A stored string that is no raw value reads as the default, System.
Appearance fromRawValue(const QString &raw);
// The localised name shown in the choice ("Automatic", "Light", "Dark").
QString title(Appearance appearance);

} // namespace Appearances
