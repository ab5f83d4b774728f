#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Copying and moving app bundles: modes, symbolic links (as links) and file times are kept.
namespace FileTree {

// Copies a folder tree (or a single file or link) to a destination that must not exist yet.
bool copy(const QString &source, const QString &destination);

// Renames an item within one file system, never over an existing destination; false (errno
// EXDEV) across file systems, where only a copy can move it.
bool rename(const QString &source, const QString &destination);

// The target text of a symbolic link, exactly as stored; nothing when it is no link.
std::optional<QByteArray> linkTarget(const QString &path);

// Removes an item and everything below it; a link is removed, never followed.
bool remove(const QString &path);

} // namespace FileTree
