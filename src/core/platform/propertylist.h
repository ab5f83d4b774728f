#pragma once

#include <QByteArray>
#include <QVariant>
#include <optional>

// Property lists, XML or binary, as Qt values: dict → QVariantMap, array → QVariantList,
// string → QString, integer → qint64 (or quint64), real → double, bool, date → QDateTime,
// data → QByteArray.
namespace PropertyList {

enum class Format { XML, Binary };

std::optional<QVariant> parse(const QByteArray &bytes);

// The value as a property list; types without a property-list form are left out.
QByteArray serialize(const QVariant &value, Format format);

// The top-level dictionary of a property list file, or nothing when it is missing,
// unreadable, not a property list, or has another top-level type.
std::optional<QVariantMap> readDictionary(const QString &path);

} // namespace PropertyList
