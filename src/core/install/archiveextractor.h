#pragma once

#include "install/installfailure.h"
#include "support/expected.h"

#include <QString>
#include <optional>

namespace ArchiveExtractor {

// Unpacks a release archive into the destination folder and gives the app bundle found at
// its top level. Zip files are read with libarchive, refusing entries that climb out ("..",
// absolute paths, links that lead outside) and skipping "__MACOSX/"; disk images (".dmg")
// are unpacked with 7zz into "mount" beside the destination, the app copied out, and the
// unpacked image removed again on every path. Other types, and archives that cannot be
// unpacked, are Extract; an archive without an app is NoAppInArchive; each with the reason.
Expected<QString, InstallFailure> extract(const QString &archive, const QString &destination);

// The first entry of the folder, in listing order, whose name ends in ".app".
std::optional<QString> appBundle(const QString &folder);

// Unpacks a zip file with the same rules; a refusal is Extract with the reason.
Expected<Unit, InstallFailure> extractZip(const QString &archive, const QString &destination);

} // namespace ArchiveExtractor
