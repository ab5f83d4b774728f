#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Ed25519 signature verification (RFC 8032) over bytes in memory.
namespace Ed25519 {

constexpr qsizetype publicKeySize = 32;
constexpr qsizetype signatureSize = 64;

// False for a key or signature of the wrong length as well as for a signature that does not verify.
bool verify(QByteArrayView publicKey, QByteArrayView message, QByteArrayView signature);

} // namespace Ed25519
