#pragma once

#include "codesign/digest.h"
#include "codesign/resourceseal.h"

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace ResourceCheck {

// Verifies a nested bundle against the requirement text its parent's seal records.
using NestedCheck = std::function<std::optional<QString>(const QString &bundle, const QString &requirement)>;

// Walks Contents/ of the bundle without following links and checks every item against the
// seal: an added, changed or missing file, a link where a file was sealed (or the reverse),
// a link that leads out of the bundle, an unusual file type, and nested code that fails its
// own check all fail. File hashes are computed for every hash type given, in parallel.
// Nothing when everything matches; otherwise the reason.
std::optional<QString> check(const QString &bundle, const QString &mainExecutable, const ResourceSeal &seal,
                             const QList<Digest::Type> &types, const NestedCheck &nestedCheck);

} // namespace ResourceCheck
