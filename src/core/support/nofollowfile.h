#pragma once

#include "support/expected.h"

#include <QByteArray>
#include <QString>

// The file at a path itself, never what a symbolic link there points to: for files the
// store keeps at a fixed path that someone else may have replaced by a link, a FIFO, a
// device or a folder.
namespace NoFollowFile {

// The bytes of the regular file at path, read without following a link and without
// blocking; a link, FIFO, device, folder or a file over maximumSize is refused with the
// reason.
Expected<QByteArray, QString> read(const QString &path, qint64 maximumSize);

// Puts bytes at path: written and flushed to disk in a new file beside it, which then
// replaces whatever is at path (a link itself, not its target; a folder with everything
// below it). On any failure path keeps what it had and the new file is removed.
Expected<Unit, QString> replace(const QString &path, const QByteArray &bytes);

} // namespace NoFollowFile
