#include "install/bundleplacement.h"

#include "install/workfolder.h"
#include "platform/appregistry.h"
#include "support/filetree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace BundlePlacement {
namespace {

const QString stagingPrefix = ownEntryPrefix + QStringLiteral("staging-");

bool exchange(const QString &first, const QString &second)
{
    return ::renameat2(AT_FDCWD, QFile::encodeName(first).constData(), AT_FDCWD, QFile::encodeName(second).constData(),
                       RENAME_EXCHANGE) == 0;
}

// A copy of the bundle on the file system of an Applications folder, inside a staging folder
// there: a kill while copying leaves no half-made bundle where discovery would take it for
// the app, and the next install removes what a dead one left (removeStale).
struct Staged
{
    WorkFolder folder;
    QString bundle;
};

std::optional<Staged> stage(const QString &bundle, const QString &applications)
{
    Expected<WorkFolder, QString> staging = WorkFolder::create(applications, stagingPrefix);
    if (!staging)
        return std::nullopt;
    const QString copy = staging->path() + u'/' + QFileInfo(bundle).fileName();
    if (!FileTree::copy(bundle, copy))
        return std::nullopt;
    return Staged{std::move(staging).value(), copy};
}

// Swaps the new bundle into the old one's place; the old one ends where the new one was (in
// the staging folder, across file systems, and goes with it).
bool swapInto(const QString &bundle, const QString &target)
{
    if (exchange(bundle, target))
        return true;
    if (errno != EXDEV)
        return false;
    const std::optional<Staged> staged = stage(bundle, QFileInfo(target).absolutePath());
    return staged && exchange(staged->bundle, target);
}

// Moves the new bundle to a destination nothing occupies, whole or not at all.
bool moveInto(const QString &bundle, const QString &destination)
{
    if (FileTree::rename(bundle, destination))
        return true;
    if (errno != EXDEV)
        return false;
    const std::optional<Staged> staged = stage(bundle, QFileInfo(destination).absolutePath());
    return staged && FileTree::rename(staged->bundle, destination);
}

} // namespace

bool isOwnEntry(const QString &name)
{
    return name.startsWith(ownEntryPrefix);
}

void removeStale(const Locations &locations)
{
    for (const QString &folder : locations.applicationsFolders())
        WorkFolder::removeStale(folder, ownEntryPrefix);
}

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
        if (moveInto(bundle, destination))
            return registered(destination);
    }
    return InstallFailure::of(InstallFailure::Kind::CannotReplace,
                              QStringLiteral("no Applications folder took %1 (tried %2)")
                                  .arg(QFileInfo(bundle).fileName(), locations.applicationsFolders().join(u", ")));
}

} // namespace BundlePlacement
