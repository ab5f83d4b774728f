#pragma once

#include "codesign/codesignaturefailure.h"
#include "codesign/trustanchors.h"

#include <QByteArray>
#include <QList>
#include <memory>
#include <optional>

typedef struct x509_st X509;

// The verified certificates of a signature, leaf first, anchor last.
class SignerChain
{
public:
    // Verifies a detached CMS signature (DER) over exactly signedBytes, then the signer's
    // chain, built from the certificates in the CMS, to one of the anchors. Time is not
    // checked: like the platform without a secure timestamp, an expired chain still counts.
    // The leaf must allow code signing. Otherwise why not.
    static CodeSignatureResult<SignerChain> verify(const QByteArray &cms, const QByteArray &signedBytes,
                                                   const TrustAnchors &anchors);

    QList<X509 *> certificates() const;
    X509 *leaf() const { return m_chain.front().get(); }

    // The CMS's signed hash-agility attribute: digest OID → full cdhash, for binding
    // alternate CodeDirectories. Empty when the attribute is absent.
    const QList<std::pair<QByteArray, QByteArray>> &agility() const { return m_agility; }

private:
    std::vector<std::shared_ptr<X509>> m_chain;
    QList<std::pair<QByteArray, QByteArray>> m_agility;
};
