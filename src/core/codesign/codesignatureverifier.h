#pragma once

#include <QString>
#include <optional>

class Requirement;

// Checks that an app bundle's code signature is intact and satisfies a requirement. The
// platform's own code-signing service can stand behind this as well as our verifier.
class CodeSignatureVerifier
{
public:
    virtual ~CodeSignatureVerifier() = default;

    // Nothing when the signature is valid and satisfies the requirement; otherwise the
    // reason, for logs and diagnostics.
    virtual std::optional<QString> failure(const QString &bundle, const Requirement &requirement) const = 0;
};
