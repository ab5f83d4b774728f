#include "maker/servicefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace ServiceFiles {

namespace {

bool save(const QString &path, const QByteArray &bytes, std::optional<QFileDevice::Permissions> permissions)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (permissions && !file.setPermissions(*permissions))
        return false;
    return file.write(bytes) == bytes.size() && file.commit();
}

} // namespace

bool write(const QString &path, const QByteArray &bytes)
{
    return save(path, bytes, std::nullopt);
}

bool writePrivate(const QString &path, const QByteArray &bytes)
{
    return save(path, bytes, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

std::optional<QByteArray> read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace ServiceFiles
