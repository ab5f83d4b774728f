#pragma once

#include "maker/certificateissuer.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// Signs an app bundle the way the platform's signer does for a bundle whose main executable
// is not Mach-O: nested bundles first, then the resource seal (CodeResources with the default
// rules), the requirement set, a SHA-256 CodeDirectory with the team from the leaf's OU, and
// a detached CMS signature, all in Contents/_CodeSignature/. It shares no code with the
// store's verifier beyond hashing, so that one mistake cannot hide another.
class BundleSigner
{
public:
    // The leaf signs; the chain (intermediates, root) goes into the CMS.
    BundleSigner(PemIdentity leaf, QList<QByteArray> chainPEM);

    // Signs the bundle, or gives the reason it cannot. The identifier defaults to the
    // bundle's CFBundleIdentifier.
    std::optional<QString> sign(const QString &bundle, const std::optional<QString> &identifier = std::nullopt) const;

    // The leaf's team (its subject OU).
    QString team() const;

private:
    struct Signed
    {
        QByteArray cdhash; // of the CodeDirectory written
    };
    std::optional<Signed> signBundle(const QString &bundle, const std::optional<QString> &identifier,
                                     QString *reason) const;

    PemIdentity m_leaf;
    QList<QByteArray> m_chain;
};
