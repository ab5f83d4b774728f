#include "install/releasebundle.h"

#include "catalog/version.h"
#include "platform/bundle.h"

#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

namespace ReleaseBundle {

Expected<QString, InstallFailure> choose(const QStringList &candidates, const QString &bundleID, const QString &build)
{
    using Kind = InstallFailure::Kind;
    // Each Info.plist is read once.
    QList<Bundle> matching;
    QStringList others;
    for (const QString &candidate : candidates) {
        Bundle read = Bundle::at(candidate);
        const QString identifier = read.string(QStringLiteral("CFBundleIdentifier"));
        if (identifier == bundleID)
            matching.append(std::move(read));
        else
            others.append(identifier.isEmpty() ? QFileInfo(candidate).fileName() : identifier);
    }
    if (matching.isEmpty())
        return InstallFailure::of(Kind::WrongApp,
                                  QStringLiteral("the archive holds %1, not %2").arg(others.join(u", "), bundleID));
    if (matching.size() > 1) {
        QStringList names;
        for (const Bundle &bundle : std::as_const(matching))
            names.append(QFileInfo(bundle.path()).fileName());
        return InstallFailure::of(Kind::WrongApp,
                                  QStringLiteral("the archive holds %1 copies of %2 (%3)")
                                      .arg(QString::number(matching.size()), bundleID, names.join(u", ")));
    }
    const Bundle &chosen = matching.first();
    const QString bundle = chosen.path();
    const QString found = chosen.string(QStringLiteral("CFBundleVersion"));
    if (found.isEmpty() || Version::compare(found, build) != Version::Order::Same)
        return InstallFailure::of(
            Kind::WrongApp,
            QStringLiteral("the archive holds build \"%1\" of %2, not build %3").arg(found, bundleID, build));
    // A file system that keeps no modes (a FAT disk image) gives an executable that is not
    // one: installed, that copy would replace one that runs with one that never launches.
    const QString executable =
        bundle + QStringLiteral("/Contents/MacOS/") + chosen.string(QStringLiteral("CFBundleExecutable"));
    struct stat status;
    if (::stat(QFile::encodeName(executable).constData(), &status) != 0 || !S_ISREG(status.st_mode) ||
        (status.st_mode & S_IXUSR) == 0)
        return InstallFailure::of(Kind::Extract,
                                  QStringLiteral("%1 is no executable once unpacked: the archive keeps no modes")
                                      .arg(QFileInfo(bundle).fileName() + QStringLiteral("/Contents/MacOS/") +
                                           QFileInfo(executable).fileName()));
    return bundle;
}

} // namespace ReleaseBundle
