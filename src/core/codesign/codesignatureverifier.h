#pragma once

#include "codesign/codesignaturefailure.h"

#include <QString>

class Requirement;

// Checks that an app bundle's code signature is intact and satisfies a requirement. The
// platform's own code-signing service can stand behind this as well as our verifier.
class CodeSignatureVerifier
{
public:
    virtual ~CodeSignatureVerifier() = default;

    // Unit when the signature is valid and satisfies the requirement; otherwise why not.
    virtual CodeSignatureResult<Unit> check(const QString &bundle, const Requirement &requirement) const = 0;

    // The team that signed the bundle (its signing certificate's OU), when the signature is
    // valid and names one; otherwise why not.
    virtual CodeSignatureResult<QString> team(const QString &bundle) const = 0;
};
