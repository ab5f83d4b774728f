#pragma once

#include <QByteArray>
#include <QString>

// The binary form of the designated requirement the signer writes, kept apart from the
// store's requirement compiler so that a mistake in one is not mirrored by the other.
namespace RequirementEncoder {

// "anchor apple generic and identifier "ID" and certificate leaf[subject.OU] = "TEAM"" as
// a requirement blob (0xfade0c00).
QByteArray designated(const QString &identifier, const QString &team);

// A requirement set (0xfade0c01) holding that blob as the designated requirement.
QByteArray designatedSet(const QString &identifier, const QString &team);

// The same requirement as text, for a parent bundle's seal of this nested code.
QString designatedText(const QString &identifier, const QString &team);

} // namespace RequirementEncoder
