#pragma once

#include "install/unpackbudget.h"

#include <QString>
#include <optional>

// A disk image as the store reads it before unpacking it with 7zz.
namespace DiskImage {

// Whether the file is an image 7zz should open as a disk image: UDIF (the 512-byte "koly"
// trailer at its end) or ISO 9660 ("CD001" at 0x8001). A tar or zip named ".dmg" is not.
bool isDiskImage(const QString &path);

// What 7zz's listing of the image says it unpacks to (alternate streams left out, as the
// unpacking leaves them out); nothing when 7zz cannot open it.
std::optional<UnpackSize> announcedSize(const QString &sevenZip, const QString &image);

} // namespace DiskImage
