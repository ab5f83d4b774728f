#pragma once

#include "install/installfailure.h"
#include "platform/locations.h"
#include "support/expected.h"

#include <QString>
#include <optional>

class AppRegistry;

namespace BundlePlacement {

// What the store makes in an Applications folder (a bundle being staged there) is named with
// this prefix and never ends in ".app".
inline const QString ownEntryPrefix = QStringLiteral(".tessel-");

// Whether an entry of an Applications folder is of the store's own making, and so never an
// installed app, whatever it holds.
bool isOwnEntry(const QString &name);

// Removes what dead installs left in the Applications folders (staging folders no live
// install holds, and the names the store once staged under).
void removeStale(const Locations &locations);

// Puts a verified bundle in place and registers it. Replacing swaps the new bundle with the
// old one in one atomic exchange (after first copying it into a staging folder beside the old
// one when the two are on different file systems), so the installed copy is never missing,
// not even after a crash; the old bundle is removed afterwards. A fresh install goes into
// the first Applications folder that takes it and has nothing of that name yet, whole or not
// at all. Either failing is CannotReplace, with what could not be written.
Expected<QString, InstallFailure> place(const QString &bundle, const std::optional<QString> &replacing,
                                        const Locations &locations, AppRegistry *registry);

} // namespace BundlePlacement
