#pragma once

#include "install/installfailure.h"
#include "support/expected.h"

#include <QString>

// After unpacking, every symbolic link must lead somewhere inside the unpacked tree once
// all the links on its way are followed: links can be chained so that each looks harmless
// on its own.
namespace UnpackedLinks {

Expected<Unit, InstallFailure> check(const QString &root);

} // namespace UnpackedLinks
