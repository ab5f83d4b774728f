#pragma once

#include <QString>
#include <QUrl>
#include <optional>

// Builds the demo service folder from demo/apps.json: sample app bundles (the demo app as
// their executable), code-signed with a demo chain, packed as zip files or disk images,
// Ed25519-signed, described by appcast feeds, with icons, screenshots and a signed catalog.
// Keys are made once in the keys folder and reused, so a rebuild from the same inputs gives
// the same bytes, signatures apart.
namespace DemoBuilder {

struct Options
{
    QString source;  // the folder holding apps.json
    QString keys;    // where the demo's keys and certificates live (made when missing)
    QUrl baseURL;    // where the service will be served, "https://127.0.0.1:PORT/"
    QString demoApp; // the tessel-demo-app executable
    QString output;  // the service folder to write
};

// What a store needs to trust the demo service.
struct Trust
{
    QString issuer;
    QString keyID;
    QString publicKey;          // base64url, the catalog key
    QByteArray codeSigningRoot; // DER
    QString archivePublicKey;   // standard Base64: the apps' archives, and the store's own, are signed with it
};

// The trust to configure, or the reason the build failed.
std::optional<Trust> build(const Options &options, QString *reason);

} // namespace DemoBuilder
