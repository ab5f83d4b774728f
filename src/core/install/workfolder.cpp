#include "install/workfolder.h"

#include "install/installlog.h"
#include "support/filetree.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A new folder can lose a race with another process's sweep (made, then taken as stale
// before it was locked); a fresh name then almost surely wins.
constexpr int creationAttempts = 3;

// The lock on the folder at path, or -1 when another open holds it or the folder is gone.
// flock, not fcntl locks: those belong to the process, so two installs of one process
// would not keep each other out; and unlike an owner's pid in the name, a lock ends with
// its owner and survives no pid reuse.
int lockFolder(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    const int folder = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (folder < 0)
        return -1;
    // A sweep may have removed the folder between the open and the lock: only a lock on the
    // folder still at the path counts.
    struct stat held;
    struct stat current;
    if (::flock(folder, LOCK_EX | LOCK_NB) != 0 || ::fstat(folder, &held) != 0 ||
        ::lstat(name.constData(), &current) != 0 || held.st_dev != current.st_dev || held.st_ino != current.st_ino) {
        ::close(folder);
        return -1;
    }
    return folder;
}

} // namespace

Expected<WorkFolder, QString> WorkFolder::create(const QString &parent, const QString &prefix)
{
    removeStale(parent, prefix);
    if (!QDir().mkpath(parent))
        return QStringLiteral("cannot create %1").arg(parent);
    for (int attempt = 0; attempt < creationAttempts; ++attempt) {
        const QString path = parent + u'/' + prefix + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
        if (::mkdir(QFile::encodeName(path).constData(), 0700) != 0)
            return QStringLiteral("cannot create %1: %2").arg(path, qt_error_string(errno));
        const int lock = lockFolder(path);
        if (lock >= 0)
            return WorkFolder(path, lock);
        qCInfo(lcInstall).noquote() << "another store took" << path << "as stale; making another";
    }
    return QStringLiteral("cannot keep a work folder in %1").arg(parent);
}

void WorkFolder::removeStale(const QString &parent, const QString &prefix)
{
    const QStringList entries = QDir(parent).entryList({prefix + u'*'}, QDir::Dirs | QDir::Hidden | QDir::NoSymLinks);
    for (const QString &entry : entries) {
        const QString path = parent + u'/' + entry;
        // In a shared folder, another user's folders are theirs to remove.
        struct stat status;
        if (::lstat(QFile::encodeName(path).constData(), &status) != 0 || !S_ISDIR(status.st_mode) ||
            status.st_uid != ::geteuid())
            continue;
        const int lock = lockFolder(path);
        if (lock < 0)
            continue;
        qCInfo(lcInstall).noquote() << "removing the folder of an install that ended without it:" << path;
        FileTree::remove(path);
        ::close(lock);
    }
}

WorkFolder::WorkFolder(WorkFolder &&other) noexcept
    : m_path(std::move(other.m_path)), m_lock(std::exchange(other.m_lock, -1))
{}

WorkFolder::~WorkFolder()
{
    if (m_lock < 0)
        return;
    // Removed before the lock ends, so no sweep ever finds it half removed and unlocked.
    FileTree::remove(m_path);
    ::close(m_lock);
}
