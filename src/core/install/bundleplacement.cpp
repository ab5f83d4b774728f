#include "install/bundleplacement.h"

#include "platform/appregistry.h"
#include "support/filetree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace BundlePlacement {
namespace {

bool exchange(const QString &first, const QString &second)
{
    return ::renameat2(AT_FDCWD, QFile::encodeName(first).constData(), AT_FDCWD, QFile::encodeName(second).constData(),
                       RENAME_EXCHANGE) == 0;
}

// Swaps the new bundle into the old one's place; the old one ends where the new one was.
bool swapInto(const QString &bundle, const QString &target)
{
    if (exchange(bundle, target))
        return true;
    if (errno != EXDEV)
        return false;
    // Another file system: bring the new bundle next to the old one first, then swap there.
    const QString staging = QFileInfo(target).absolutePath() + QStringLiteral("/.tessel-") +
                            QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral(".app");
    if (!FileTree::copy(bundle, staging)) {
        FileTree::remove(staging);
        return false;
    }
    if (!exchange(staging, target)) {
        FileTree::remove(staging);
        return false;
    }
    FileTree::remove(staging); // now the old bundle
    return true;
}

} // namespace

Expected<QString, InstallFailure> place(const QString &bundle, const std::optional<QString> &replacing,
                                        const Locations &locations, AppRegistry *registry)
{
    auto registered = [registry](const QString &path) {
        if (registry)
            registry->registerApplication(path);
        return path;
    };
    if (replacing) {
        if (!swapInto(bundle, *replacing))
            return InstallFailure::of(InstallFailure::Kind::CannotReplace,
                                      QStringLiteral("cannot swap the new copy into %1").arg(*replacing));
        FileTree::remove(bundle); // the old copy, if the swap left it here
        return registered(*replacing);
    }
    for (const QString &folder : locations.applicationsFolders()) {
        QDir().mkpath(folder);
        const QString destination = folder + u'/' + QFileInfo(bundle).fileName();
        // Anything already there is not ours to overwrite, whatever it is.
        if (QFileInfo(destination).exists() || QFileInfo(destination).isSymLink() || !QFileInfo(folder).isWritable())
            continue;
        if (FileTree::move(bundle, destination))
            return registered(destination);
    }
    return InstallFailure::of(InstallFailure::Kind::CannotReplace,
                              QStringLiteral("no Applications folder took %1 (tried %2)")
                                  .arg(QFileInfo(bundle).fileName(), locations.applicationsFolders().join(u", ")));
}

} // namespace BundlePlacement
