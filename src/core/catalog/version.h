#pragma once

#include <QStringView>

// The one ordering of dotted version texts: minimum systems, feed builds, installed builds.
namespace Version {

enum class Order { Ascending, Same, Descending };

// Compares part by part as integers; a missing part counts as 0, and so does one
// that is not a plain integer ("2.0b1" orders equal to "2.0").
Order compare(QStringView a, QStringView b);

} // namespace Version
