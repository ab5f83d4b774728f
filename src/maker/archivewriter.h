#pragma once

#include <QString>

// Packs an app bundle the way the maker publishes it. Both forms are reproducible: entries
// in name order with one fixed time, so the same bundle gives the same bytes.
namespace ArchiveWriter {

// A zip with the bundle at its top level, keeping modes and symbolic links.
bool zip(const QString &bundle, const QString &archive);

// A disk image (ISO 9660 with Rock Ridge, which keeps modes and links; the platform
// attaches it like any image) with the bundle at its top level, made by xorriso.
bool diskImage(const QString &bundle, const QString &archive);

} // namespace ArchiveWriter
