#pragma once

#include "codesign/codesignaturefailure.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// The files of a detached signature in Contents/_CodeSignature/, read whole.
struct SignatureComponents
{
    QByteArray codeDirectory;     // "CodeDirectory": the CodeDirectory the CMS signs
    QList<QByteArray> alternates; // "CodeRequirements-1"…: alternate CodeDirectories (the platform's naming)
    QByteArray requirements;      // "CodeRequirements": the requirement set
    QByteArray resources;         // "CodeResources": the resource seal
    QByteArray cms;               // "CodeSignature": the CMS signature, DER
    std::optional<QByteArray> entitlements;    // "CodeEntitlements"
    std::optional<QByteArray> entitlementsDER; // "CodeEntitlementDER"

    // Reads the folder. Every required file must be there and regular, and nothing else may
    // be: an extra or unusual entry is unsealed content. Otherwise why not.
    static CodeSignatureResult<SignatureComponents> read(const QString &folder);
};
