#pragma once

#include "install/installfailure.h"
#include "platform/locations.h"
#include "support/expected.h"

#include <QString>
#include <optional>

class AppRegistry;

namespace BundlePlacement {

// Puts a verified bundle in place and registers it. Replacing swaps the new bundle with the
// old one in one atomic exchange (after first copying it beside the old one when the two are
// on different file systems), so the installed copy is never missing, not even after a
// crash; the old bundle is removed afterwards. A fresh install goes into the first
// Applications folder that takes it and has nothing of that name yet. Either failing is
// CannotReplace, with what could not be written.
Expected<QString, InstallFailure> place(const QString &bundle, const std::optional<QString> &replacing,
                                        const Locations &locations, AppRegistry *registry);

} // namespace BundlePlacement
