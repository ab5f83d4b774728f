#pragma once

#include "codesign/codesignaturefailure.h"
#include "codesign/digest.h"
#include "codesign/resourceseal.h"

#include <QList>
#include <QString>
#include <functional>

namespace ResourceCheck {

// Verifies a nested bundle against the requirement text its parent's seal records.
using NestedCheck = std::function<CodeSignatureResult<Unit>(const QString &bundle, const QString &requirement)>;

// Walks Contents/ of the bundle without following links and checks every item against the
// seal: an added, changed or missing file, a link where a file was sealed (or the reverse),
// a link that leads out of the bundle, an unusual file type, and nested code that fails its
// own check all fail. File hashes are computed for every hash type given, in parallel.
// Unit when everything matches; otherwise the first failure found.
CodeSignatureResult<Unit> check(const QString &bundle, const QString &mainExecutable, const ResourceSeal &seal,
                                const QList<Digest::Type> &types, const NestedCheck &nestedCheck);

} // namespace ResourceCheck
