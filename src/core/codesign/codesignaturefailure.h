#pragma once

#include "support/expected.h"

#include <QString>

// Why a bundle's code signature was not accepted: what went wrong, for decisions and tests,
// and the exact reason, for logs and diagnostics.
struct CodeSignatureFailure
{
    enum class Kind {
        NotABundle,         // no bundle folder, or no Contents, Info.plist or main executable in it
        Unsigned,           // no signature, or an ad hoc one that names no signer
        Malformed,          // a signature component that does not read as what it must be
        Unsupported,        // a form this verifier does not check (embedded signatures, old seals…)
        Unsealed,           // content the signature does not cover
        Modified,           // content that differs from what the signature records
        UntrustedSigner,    // the CMS does not verify, or its signer is not trusted for code signing
        RequirementNotMet,  // a valid signature that does not satisfy the requirement
        InvalidRequirement, // a requirement that does not compile
        UnsafeCatalogValue, // a catalog value that could change the requirement's meaning
    };

    Kind kind;
    QString detail;

    static CodeSignatureFailure of(Kind kind, QString detail) { return {kind, std::move(detail)}; }

    // The kind's stable name, as the tools print it ("modified", "untrusted-signer"…).
    static QString name(Kind kind);

    bool operator==(const CodeSignatureFailure &) const = default;
};

// A code-signature step's result: its value, or why the signature is not accepted.
template<typename T> using CodeSignatureResult = Expected<T, CodeSignatureFailure>;
