#pragma once

#include <QString>
#include <optional>

// Where a path inside a folder tree really leads: every symbolic link on the way is followed,
// one component at a time, against the tree's root. Read as text, "up/Resources/../../x"
// may stay inside while "up" is a link to ".." and the whole leads out; only the resolved
// path tells.
namespace ConfinedPath {

// The path below the root (relative, "" for the root itself) that the relative path leads
// to; nothing when the way leaves the root, a link is absolute, or links loop. Components
// that do not exist are taken as written.
std::optional<QString> resolve(const QString &root, const QString &relative);

} // namespace ConfinedPath
