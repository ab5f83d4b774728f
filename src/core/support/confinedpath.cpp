#include "support/confinedpath.h"

#include <QFile>
#include <QStringList>

#include <deque>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace ConfinedPath {
namespace {

// The kernel's own bound on links in one lookup.
constexpr int maximumLinks = 40;

std::optional<QByteArray> linkTarget(const QByteArray &path)
{
    struct stat status;
    if (lstat(path.constData(), &status) != 0 || !S_ISLNK(status.st_mode))
        return std::nullopt;
    QByteArray target(qsizetype(status.st_size) + 1, '\0');
    const ssize_t length = readlink(path.constData(), target.data(), size_t(target.size()));
    if (length < 0 || length >= target.size())
        return QByteArray(); // changed under us: treat as unreadable, which refuses below
    target.truncate(length);
    return target;
}

} // namespace

bool leadsInside(const QString &root, const QString &relative)
{
    std::deque<QString> pending;
    for (const QString &part : relative.split(u'/', Qt::SkipEmptyParts))
        pending.push_back(part);
    QStringList reached;
    int links = 0;
    while (!pending.empty()) {
        const QString part = pending.front();
        pending.pop_front();
        if (part == u'.')
            continue;
        if (part == QLatin1String("..")) {
            if (reached.isEmpty())
                return false;
            reached.removeLast();
            continue;
        }
        const QString here = root + u'/' + (reached + QStringList{part}).join(u'/');
        const std::optional<QByteArray> target = linkTarget(QFile::encodeName(here));
        if (!target) {
            reached.append(part);
            continue;
        }
        if (++links > maximumLinks || target->isEmpty() || target->startsWith('/'))
            return false;
        // The link's target takes its place, read from the link's own folder.
        const QStringList parts = QFile::decodeName(*target).split(u'/', Qt::SkipEmptyParts);
        for (auto next = parts.crbegin(); next != parts.crend(); ++next)
            pending.push_front(*next);
    }
    return !reached.isEmpty();
}

} // namespace ConfinedPath
