#pragma once

#include <QString>

#include <functional>
#include <sys/stat.h>

// A tree an unpacking tool wrote, walked without following links.
namespace UnpackedTree {

// The permission bits an unpacked item keeps: no set-id or sticky bit, no write permission
// for the group or others (a download decides nothing about who else may change the app);
// the owner's bits and every execute bit as they came.
constexpr mode_t keptPermissions = 0755;

// Calls the visitor with every item below the folder (not the folder itself) and its lstat;
// the walk stops, false, when the visitor says false or an item cannot be read.
bool visit(const QString &folder, const std::function<bool(const QString &path, const struct stat &status)> &visitor);

// The bytes of the regular files below the folder.
qint64 fileBytes(const QString &folder);

// Applies keptPermissions to the folder and everything below it except links (whose own mode
// means nothing); false when an item could not be changed.
bool restrictPermissions(const QString &folder);

} // namespace UnpackedTree
