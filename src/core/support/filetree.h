#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Copying and moving app bundles: modes, symbolic links (as links) and file times are kept.
namespace FileTree {

// Copies a folder tree (or a single file or link) to a destination that must not exist yet.
bool copy(const QString &source, const QString &destination);

// Moves an item, across file systems too (by copying next to the destination first, so the
// destination appears whole or not at all).
bool move(const QString &source, const QString &destination);

// The target text of a symbolic link, exactly as stored; nothing when it is no link.
std::optional<QByteArray> linkTarget(const QString &path);

// Removes an item and everything below it; a link is removed, never followed.
bool remove(const QString &path);

} // namespace FileTree
