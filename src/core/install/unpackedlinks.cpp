#include "install/unpackedlinks.h"

#include "support/confinedpath.h"

#include <QDir>
#include <QDirIterator>

namespace UnpackedLinks {

Expected<Unit, InstallFailure> check(const QString &root)
{
    const QDir base(root);
    // The iterator does not descend through links, so every item is visited where it lies.
    QDirIterator items(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDirIterator::Subdirectories);
    while (items.hasNext()) {
        const QString item = base.relativeFilePath(items.next());
        if (items.fileInfo().isSymLink() && !ConfinedPath::leadsInside(root, item))
            return InstallFailure::of(InstallFailure::Kind::Extract,
                                      QStringLiteral("the link \"%1\" leads outside the destination").arg(item));
    }
    return Unit();
}

} // namespace UnpackedLinks
