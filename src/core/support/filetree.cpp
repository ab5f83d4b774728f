#include "support/filetree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace FileTree {
namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

bool copyFile(const QString &source, const QString &destination, mode_t mode)
{
    QFile in(source);
    QFile out(destination);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    QByteArray chunk;
    while (!(chunk = in.read(1 << 20)).isEmpty()) {
        if (out.write(chunk) != chunk.size())
            return false;
    }
    out.close();
    return in.error() == QFileDevice::NoError && ::chmod(native(destination).constData(), mode & 07777) == 0;
}

} // namespace

bool copy(const QString &source, const QString &destination)
{
    struct stat status;
    if (::lstat(native(source).constData(), &status) != 0)
        return false;
    if (S_ISLNK(status.st_mode)) {
        const std::optional<QByteArray> target = linkTarget(source);
        return target && ::symlink(target->constData(), native(destination).constData()) == 0;
    }
    if (S_ISREG(status.st_mode))
        return copyFile(source, destination, status.st_mode);
    if (!S_ISDIR(status.st_mode) || ::mkdir(native(destination).constData(), 0700) != 0)
        return false;
    const QStringList entries =
        QDir(source).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        if (!copy(source + u'/' + entry, destination + u'/' + entry))
            return false;
    }
    return ::chmod(native(destination).constData(), status.st_mode & 07777) == 0;
}

bool rename(const QString &source, const QString &destination)
{
    if (::renameat2(AT_FDCWD, native(source).constData(), AT_FDCWD, native(destination).constData(),
                    RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL)
        return false;
    // A file system without the flag: look first, at the cost of a narrow race.
    struct stat status;
    if (::lstat(native(destination).constData(), &status) == 0) {
        errno = EEXIST;
        return false;
    }
    return ::rename(native(source).constData(), native(destination).constData()) == 0;
}

std::optional<QByteArray> linkTarget(const QString &path)
{
    QByteArray target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(native(path).constData(), target.data(), size_t(target.size()));
    if (length < 0)
        return std::nullopt;
    target.truncate(length);
    return target;
}

bool remove(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink() || info.isFile())
        return QFile::remove(path);
    if (!info.exists())
        return true;
    return QDir(path).removeRecursively();
}

} // namespace FileTree
