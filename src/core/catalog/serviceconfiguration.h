#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <optional>

class Bundle;

// Where the maker's service lives and what its catalogs must be signed with.
struct ServiceConfiguration
{
    QUrl serverURL;
    QString issuer;
    QString keyID;
    QString publicKey; // base64url of the 32 raw bytes of an Ed25519 public key

    // The raw Ed25519 key, or nothing when publicKey does not decode to exactly 32 bytes.
    std::optional<QByteArray> signingKey() const;

    static ServiceConfiguration production();

    // The four "TesselService…" entries of the bundle's Info.plist when all of them are
    // acceptable, otherwise production() whole: a half-configured bundle never mixes.
    static ServiceConfiguration fromBundle(const Bundle &bundle);

    bool operator==(const ServiceConfiguration &) const = default;
};
