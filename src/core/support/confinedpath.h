#pragma once

#include <QString>

// Where a path inside a folder tree really leads: every symbolic link on the way is followed,
// one component at a time, against the tree's root. Read as text, "up/Resources/../../x"
// may stay inside while "up" is a link to ".." and the whole leads out; only the resolved
// path tells.
namespace ConfinedPath {

// Whether the relative path leads to something strictly below the root: false when the
// way leaves the root or ends at the root itself, a link on it is absolute, or links loop.
// Components that do not exist are taken as written.
bool leadsInside(const QString &root, const QString &relative);

} // namespace ConfinedPath
