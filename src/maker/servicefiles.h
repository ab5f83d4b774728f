#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The maker's files: written whole or not at all, their folders made as needed.
namespace ServiceFiles {

bool write(const QString &path, const QByteArray &bytes);
// For private keys: readable and writable by the owner only, from the first byte.
bool writePrivate(const QString &path, const QByteArray &bytes);
std::optional<QByteArray> read(const QString &path);

} // namespace ServiceFiles
