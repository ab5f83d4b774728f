#include "codesign/resourcecheck.h"

#include "support/confinedpath.h"
#include "support/filetree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QThread>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentMap>

#include <sys/stat.h>

namespace ResourceCheck {
namespace {

using Kind = CodeSignatureFailure::Kind;
using Result = CodeSignatureResult<Unit>;

CodeSignatureFailure fail(Kind kind, const QString &why)
{
    return CodeSignatureFailure::of(kind, why);
}

// Paths the seal never covers: the signature itself and the main executable (both are
// covered by the CodeDirectory instead).
bool excluded(const QString &path, const QString &mainExecutable)
{
    return path == QLatin1String("_CodeSignature") || path == QLatin1String("CodeResources") ||
           path == QLatin1String("_MASReceipt") || path == mainExecutable;
}

struct SealedFile
{
    QString path; // relative to Contents/
    QString absolute;
    const ResourceSeal::Entry *entry;
};

class Walk
{
public:
    Walk(const QString &bundle, const QString &mainExecutable, const ResourceSeal &seal, const NestedCheck &nestedCheck)
        : m_bundle(QDir::cleanPath(bundle)), m_contents(m_bundle + QStringLiteral("/Contents")),
          m_mainExecutable(mainExecutable), m_seal(seal), m_nestedCheck(nestedCheck)
    {}

    // Checks everything but the file hashes, which it collects for one parallel pass.
    Result walk(const QString &relative)
    {
        const QDir folder(relative.isEmpty() ? m_contents : m_contents + u'/' + relative);
        const QStringList names =
            folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        for (const QString &name : names) {
            const QString path = relative.isEmpty() ? name : relative + u'/' + name;
            if (Result visited = visit(path); !visited)
                return visited;
        }
        return Unit();
    }

    const QList<SealedFile> &files() const { return m_files; }
    const QSet<QString> &seen() const { return m_seen; }

private:
    Result visit(const QString &path)
    {
        if (excluded(path, m_mainExecutable))
            return Unit();
        const QString absolute = m_contents + u'/' + path;
        struct stat status;
        if (lstat(QFile::encodeName(absolute).constData(), &status) != 0)
            return fail(Kind::Malformed, QStringLiteral("unreadable item: %1").arg(path));
        const std::optional<ResourceSeal::Rule> rule = m_seal.rule(path);
        if (!rule || rule->omit)
            return Unit();
        if (S_ISDIR(status.st_mode)) {
            if (rule->nested && QFileInfo(path).fileName().contains(u'.'))
                return nested(path, absolute);
            return walk(path);
        }
        if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
            return fail(Kind::Unsupported, QStringLiteral("unsupported file type: %1").arg(path));
        const auto found = m_seal.entries().constFind(path);
        if (found == m_seal.entries().constEnd())
            return fail(Kind::Unsealed, QStringLiteral("file added: %1").arg(path));
        m_seen.insert(path);
        const ResourceSeal::Entry &entry = *found;
        if (S_ISLNK(status.st_mode))
            return link(path, absolute, entry);
        if (!entry.hashes.isEmpty()) {
            m_files.append({path, absolute, &entry});
            return Unit();
        }
        if (entry.symlink)
            return fail(Kind::Modified, QStringLiteral("file modified: %1 is sealed as a link").arg(path));
        // A signed single file keeps its signature in extended attributes, which unpacking drops.
        return fail(Kind::Unsupported,
                    QStringLiteral("nested code %1 is not a bundle and cannot be verified").arg(path));
    }

    Result nested(const QString &path, const QString &absolute)
    {
        const auto found = m_seal.entries().constFind(path);
        if (found == m_seal.entries().constEnd())
            return fail(Kind::Unsealed, QStringLiteral("nested code added: %1").arg(path));
        m_seen.insert(path);
        if (!found->requirement)
            return fail(Kind::Modified, QStringLiteral("nested code modified: %1 is not sealed as code").arg(path));
        // The nested code's own kind, with where it sits.
        if (Result checked = m_nestedCheck(absolute, *found->requirement); !checked)
            return fail(checked.error().kind,
                        QStringLiteral("nested code %1 is invalid: %2").arg(path, checked.error().detail));
        return Unit();
    }

    Result link(const QString &path, const QString &absolute, const ResourceSeal::Entry &entry)
    {
        const QString target = QFile::decodeName(FileTree::linkTarget(absolute).value_or(QByteArray()));
        if (!entry.symlink || *entry.symlink != target)
            return fail(Kind::Modified,
                        QStringLiteral("file modified: %1 is a link that was not sealed as this link").arg(path));
        // The link must stay inside the bundle once every link on its way is resolved.
        if (!ConfinedPath::leadsInside(m_bundle, QDir(m_bundle).relativeFilePath(absolute)))
            return fail(Kind::Unsealed, QStringLiteral("the link %1 points outside the bundle").arg(path));
        return Unit();
    }

    QString m_bundle;
    QString m_contents;
    QString m_mainExecutable;
    const ResourceSeal &m_seal;
    const NestedCheck &m_nestedCheck;
    QList<SealedFile> m_files;
    QSet<QString> m_seen;
};

Result checkHashes(const SealedFile &file, const QList<Digest::Type> &types)
{
    // A hash type the entry lacks is checked through the SHA-1 "hash" key instead.
    QList<Digest::Type> computed;
    QList<QByteArray> expected;
    for (const Digest::Type type : types) {
        const Digest::Type key = file.entry->hashes.contains(type) ? type : Digest::Type::SHA1;
        if (!file.entry->hashes.contains(key))
            return fail(Kind::Malformed, QStringLiteral("the seal has no usable hash for %1").arg(file.path));
        if (computed.contains(key))
            continue;
        computed.append(key);
        expected.append(file.entry->hashes.value(key));
    }
    const std::optional<QList<QByteArray>> actual = Digest::ofFile(computed, file.absolute);
    if (!actual)
        return fail(Kind::Malformed, QStringLiteral("unreadable file: %1").arg(file.path));
    if (*actual != expected)
        return fail(Kind::Modified, QStringLiteral("file modified: %1").arg(file.path));
    return Unit();
}

// The hashing runs on a pool of its own: checks are themselves started on the global pool,
// and a check waiting there for work queued on the same full pool would wait forever.
QThreadPool *hashingPool()
{
    static QThreadPool *const pool = [] {
        auto *created = new QThreadPool;
        created->setMaxThreadCount(QThread::idealThreadCount());
        created->setExpiryTimeout(5000);
        return created;
    }();
    return pool;
}

} // namespace

Result check(const QString &bundle, const QString &mainExecutable, const ResourceSeal &seal,
             const QList<Digest::Type> &types, const NestedCheck &nestedCheck)
{
    Walk walk(bundle, mainExecutable, seal, nestedCheck);
    if (Result walked = walk.walk(QString()); !walked)
        return walked;
    for (auto it = seal.entries().begin(); it != seal.entries().end(); ++it) {
        if (!it->optional && !walk.seen().contains(it.key()))
            return fail(Kind::Modified, QStringLiteral("file missing: %1").arg(it.key()));
    }
    const QList<Result> hashed = QtConcurrent::blockingMapped(
        hashingPool(), walk.files(), [&types](const SealedFile &file) { return checkHashes(file, types); });
    for (const Result &result : hashed) {
        if (!result)
            return result;
    }
    return Unit();
}

} // namespace ResourceCheck
