#include "support/nofollowfile.h"

#include "support/filetree.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace NoFollowFile {
namespace {

QString systemError(const QString &what)
{
    return what + QStringLiteral(": ") + qt_error_string(errno);
}

// Closes a descriptor when the scope ends, whichever way it ends.
struct Descriptor
{
    int fd = -1;
    ~Descriptor()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *next = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}

} // namespace

Expected<QByteArray, QString> read(const QString &path, qint64 maximumSize)
{
    // Non-blocking: opening a FIFO for reading would otherwise wait for a writer.
    Descriptor file{::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC)};
    if (file.fd < 0)
        return systemError(QStringLiteral("cannot open ") + path);
    struct stat status;
    if (::fstat(file.fd, &status) != 0)
        return systemError(QStringLiteral("cannot inspect ") + path);
    if (!S_ISREG(status.st_mode))
        return path + QStringLiteral(" is not a regular file");
    if (status.st_size > maximumSize)
        return QStringLiteral("%1 holds %2 bytes, more than %3").arg(path).arg(status.st_size).arg(maximumSize);
    // One byte more than fstat saw tells a file that grew while it was read.
    QByteArray bytes(qsizetype(status.st_size) + 1, '\0');
    qsizetype filled = 0;
    while (filled < bytes.size()) {
        const ssize_t got = ::read(file.fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return systemError(QStringLiteral("cannot read ") + path);
        if (got == 0)
            break;
        filled += got;
    }
    if (filled > status.st_size)
        return path + QStringLiteral(" grew while it was read");
    bytes.truncate(filled);
    return bytes;
}

Expected<Unit, QString> replace(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    // Beside the path, so that the final rename stays on one file system; mkostemp creates
    // it exclusively, so a link planted under that name is never followed either.
    QByteArray temporary = QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName()) + ".XXXXXX";
    Descriptor file{::mkostemp(temporary.data(), O_CLOEXEC)};
    if (file.fd < 0)
        return systemError(QStringLiteral("cannot create a file beside ") + path);
    auto fail = [&](const QString &reason) -> Expected<Unit, QString> {
        ::unlink(temporary.constData());
        return reason;
    };
    // Only a file whose every byte reached the disk may replace the old one: a full disk
    // must leave the old file as it was.
    if (!writeAll(file.fd, bytes))
        return fail(systemError(QStringLiteral("cannot write beside ") + path));
    if (::fsync(file.fd) != 0)
        return fail(systemError(QStringLiteral("cannot flush beside ") + path));
    const int descriptor = std::exchange(file.fd, -1);
    if (::close(descriptor) != 0)
        return fail(systemError(QStringLiteral("cannot close beside ") + path));
    // A rename replaces a link, FIFO or device by name, but not a folder.
    struct stat status;
    const QByteArray target = QFile::encodeName(path);
    if (::lstat(target.constData(), &status) == 0 && S_ISDIR(status.st_mode) && !FileTree::remove(path))
        return fail(QStringLiteral("cannot remove the folder at ") + path);
    if (::rename(temporary.constData(), target.constData()) != 0)
        return fail(systemError(QStringLiteral("cannot replace ") + path));
    return Unit{};
}

} // namespace NoFollowFile
