#pragma once

#include <QByteArray>
#include <QString>

class SigningKey;

// Wraps catalog JSON bytes into the signed envelope the store accepts.
namespace CatalogSigner {

// The envelope as compact JSON: "kid", the base64url bytes, and their base64url signature.
// The bytes are signed exactly as given, never re-serialised.
QByteArray envelope(const QByteArray &catalogJSON, const SigningKey &key, const QString &keyID);

} // namespace CatalogSigner
