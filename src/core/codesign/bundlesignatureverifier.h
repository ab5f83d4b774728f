#pragma once

#include "codesign/codesignatureverifier.h"
#include "codesign/trustanchors.h"

#include <optional>

// Strict static validation of a bundle signed in the detached form (a main executable that
// is not Mach-O, its signature in Contents/_CodeSignature/): the CodeDirectories, the CMS
// signature and its chain to a trust anchor, the special slots, the executable's pages,
// the requirement, and every file under Contents/ against the resource seal, nested code
// included. Mach-O executables (embedded signatures) are refused, never accepted.
class BundleSignatureVerifier : public CodeSignatureVerifier
{
public:
    explicit BundleSignatureVerifier(TrustAnchors anchors);

    CodeSignatureResult<Unit> check(const QString &bundle, const Requirement &requirement) const override;
    CodeSignatureResult<QString> team(const QString &bundle) const override;

private:
    // The signer's team goes to team when it is asked for and the signature is valid.
    CodeSignatureResult<Unit> verify(const QString &bundle, const Requirement &requirement, int depth,
                                     std::optional<QString> *team = nullptr) const;

    TrustAnchors m_anchors;
};
