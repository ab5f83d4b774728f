#include "install/unpackedtree.h"

#include <QDirIterator>
#include <QFile>

namespace UnpackedTree {
namespace {

bool restrict(const QString &path, const struct stat &status)
{
    const mode_t kept = status.st_mode & keptPermissions;
    return (status.st_mode & 07777) == kept || ::chmod(QFile::encodeName(path).constData(), kept) == 0;
}

} // namespace

bool visit(const QString &folder, const std::function<bool(const QString &path, const struct stat &status)> &visitor)
{
    // Without FollowSymlinks the iterator never descends through a link.
    QDirIterator iterator(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                          QDirIterator::Subdirectories);
    while (iterator.hasNext()) {
        const QString path = iterator.next();
        struct stat status;
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !visitor(path, status))
            return false;
    }
    return true;
}

qint64 fileBytes(const QString &folder)
{
    qint64 total = 0;
    visit(folder, [&total](const QString &, const struct stat &status) {
        if (S_ISREG(status.st_mode))
            total += status.st_size;
        return true;
    });
    return total;
}

bool restrictPermissions(const QString &folder)
{
    struct stat status;
    if (::lstat(QFile::encodeName(folder).constData(), &status) != 0 || !restrict(folder, status))
        return false;
    return visit(folder, [](const QString &path, const struct stat &item) {
        return S_ISLNK(item.st_mode) || restrict(path, item);
    });
}

} // namespace UnpackedTree
