#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <optional>

// The digests code signatures use, by their CodeDirectory hash type.
namespace Digest {

enum class Type : quint8 { SHA1 = 1, SHA256 = 2, SHA256Truncated = 3, SHA384 = 4 };

// The type for a CodeDirectory hashType byte, or nothing for an unknown or unaccepted one.
std::optional<Type> fromHashType(quint8 hashType);

// How many bytes a CodeDirectory stores per hash of this type.
int size(Type type);

QByteArray of(Type type, QByteArrayView bytes);

// The digests of a file's bytes, one per type, in one pass over a mapping of the file.
// Nothing when the file cannot be read.
std::optional<QList<QByteArray>> ofFile(const QList<Type> &types, const QString &path);

} // namespace Digest
