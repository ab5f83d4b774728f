#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <utility>

// A certificate and its private key, both PEM.
struct PemIdentity
{
    QByteArray certificate;
    QByteArray privateKey;
};

// What goes into a new X.509 certificate: subject entries ("CN", "OU", …) and v3
// extensions in OpenSSL's configuration syntax ("basicConstraints" → "critical,CA:TRUE").
struct CertificateSpec
{
    QList<std::pair<QString, QString>> subject;
    QList<std::pair<QString, QString>> extensions;
    int days = 365;     // valid until this many days from now (negative: already expired)
    int daysBefore = 0; // valid from this many days ago
};

namespace CertificateIssuer {

// A new P-256 key and a certificate for it, signed by the issuer, or self-signed without one.
// The subject and authority key identifiers are always added.
PemIdentity issue(const CertificateSpec &spec, const PemIdentity *issuer = nullptr);

// A certificate authority for TLS servers, valid for ten years.
PemIdentity makeTLSAuthority(const QString &commonName);

// A TLS server certificate for these host names and IP addresses.
PemIdentity makeTLSServer(const PemIdentity &authority, const QStringList &hosts);

// A code-signing chain: a root, an intermediate under it, and (makeCodeSigningLeaf) a leaf
// for a team: the team in the subject's OU, the code-signing extended key usage.
PemIdentity makeCodeSigningRoot(const QString &commonName);
PemIdentity makeCodeSigningIntermediate(const PemIdentity &root, const QString &commonName);
PemIdentity makeCodeSigningLeaf(const PemIdentity &issuer, const QString &team, const QString &organisation,
                                int days = 1825);

} // namespace CertificateIssuer
