#pragma once

#include <QString>

// Why no catalog could be obtained or accepted.
enum class CatalogError {
    Unavailable,  // neither the service nor the cache gave a catalog
    BadSignature, // wrong key identifier, unusable key, or a signature that does not verify
    WrongIssuer,  // a verified catalog naming another issuer
    Malformed,    // not JSON of the envelope's or catalog's shape, or not base64
};

// The lower camel case name, as tools print it ("badSignature").
QString errorName(CatalogError error);
