#include "platform/desktopentryregistry.h"

#include "platform/bundle.h"
#include "platform/desktopentry.h"

#include <QDir>
#include <QFile>

DesktopEntryRegistry::DesktopEntryRegistry(Locations locations) : m_locations(std::move(locations)) {}

QHash<QString, QStringList> DesktopEntryRegistry::applicationsOf(const QSet<QString> &bundleIDs) const
{
    QHash<QString, QStringList> bundles;
    QStringList folders{m_locations.dataHome};
    folders.append(m_locations.dataDirs);
    for (const QString &folder : folders) {
        const QDir applications(folder + QStringLiteral("/applications"));
        const QStringList entries = applications.entryList({QStringLiteral("*.desktop")}, QDir::Files);
        for (const QString &name : entries) {
            QFile file(applications.filePath(name));
            if (!file.open(QIODevice::ReadOnly))
                continue;
            // The desktop's other entries are many: only those naming a bundle are parsed.
            const QByteArray contents = file.readAll();
            if (!contents.contains(DesktopEntry::identifierKey))
                continue;
            const QHash<QByteArray, QString> keys = DesktopEntry::parse(contents);
            const QString identifier = keys.value(DesktopEntry::identifierKey);
            const QString path = keys.value(DesktopEntry::pathKey);
            if (bundleIDs.contains(identifier) && QDir::isAbsolutePath(path))
                bundles[identifier].append(path);
        }
    }
    return bundles;
}

QString DesktopEntryRegistry::entryPath(const QString &bundleID) const
{
    QString name = bundleID;
    for (QChar &c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'.' && c != u'-')
            c = u'_';
    }
    return m_locations.dataHome + QStringLiteral("/applications/tessel-") + name + QStringLiteral(".desktop");
}

bool DesktopEntryRegistry::registerApplication(const QString &bundlePath)
{
    const Bundle bundle = Bundle::at(bundlePath);
    const std::optional<QString> entry = DesktopEntry::forBundle(bundle);
    return entry && DesktopEntry::write(entryPath(bundle.string(QStringLiteral("CFBundleIdentifier"))), *entry);
}
