#pragma once

#include <QByteArray>
#include <QStringView>
#include <optional>

// Strict Base64 in both alphabets: anything outside the alphabet, white space
// included, and impossible padding fail instead of being skipped.
namespace Base64 {

// Standard alphabet (RFC 4648 section 4); the length must be a multiple of 4.
std::optional<QByteArray> decode(QStringView text);

// Base64url (section 5) with or without padding; standard text is accepted too.
std::optional<QByteArray> decodeURL(QStringView text);

QByteArray encodeURL(const QByteArray &bytes);

} // namespace Base64
