#pragma once

#include "install/installfailure.h"
#include "install/unpackbudget.h"
#include "support/expected.h"

#include <QString>
#include <QStringList>

namespace ArchiveExtractor {

// Unpacks a release archive into the destination folder and gives the app bundles found at
// its top level, in listing order (at least one). Zip files are read with libarchive,
// refusing entries that climb out ("..", absolute paths, links that lead outside) and
// skipping "__MACOSX/"; disk images (".dmg", UDIF or ISO 9660 inside) are unpacked with 7zz
// into "mount" beside the destination, the apps at the volume's root moved out, and the
// unpacked image removed again on every path. Either way, a link that leads outside the
// destination once followed is refused. Nothing unpacked keeps write permission for the
// group or others. An archive announcing more than the limits allow is refused before
// anything is written, one writing more than it announced is stopped while writing. Other
// types, and archives that cannot be unpacked, are Extract; an archive without an app is
// NoAppInArchive; too little room is FileSystem; each with the reason.
Expected<QStringList, InstallFailure> extract(const QString &archive, const QString &destination,
                                              const UnpackLimits &limits = {});

// The entries of the folder, in listing order, whose names end in ".app".
QStringList appBundles(const QString &folder);

// Where the volume 7zz unpacked into this folder begins: HFS+ volumes come out under a
// folder named after the volume, other file systems straight into it. The volume's own
// furniture (".DS_Store", ".Trashes", "[HFS+ Private Data]", the "Applications" link…)
// does not count.
QString volumeRoot(const QString &unpacked);

// The candidate apps of an unpacked disk image: the app bundles at its volume's root.
QStringList volumeAppBundles(const QString &unpacked);

// Unpacks a disk image with 7zz into the folder, whole, within the limits (without the
// extended-attribute side files); a refusal is Extract (FileSystem for too little room).
Expected<Unit, InstallFailure> unpackDiskImage(const QString &image, const QString &mount,
                                               const UnpackLimits &limits = {});

// Unpacks a zip file with the same rules; a refusal is Extract with the reason.
Expected<Unit, InstallFailure> extractZip(const QString &archive, const QString &destination,
                                          const UnpackLimits &limits = {});

} // namespace ArchiveExtractor
