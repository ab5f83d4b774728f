#pragma once

#include "install/installfailure.h"
#include "support/expected.h"

#include <QString>
#include <optional>

namespace ArchiveSignature {

// Whether a release archive may be opened: always when the app publishes no key; otherwise
// only with a standard Base64 Ed25519 signature that verifies over the whole file under the
// standard Base64 key. A refusal is BadArchiveSignature with the reason.
Expected<Unit, InstallFailure> check(const QString &archive, const std::optional<QString> &signature,
                                     const QString &publicKey);

} // namespace ArchiveSignature
