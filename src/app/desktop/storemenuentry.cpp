#include "app/desktop/storemenuentry.h"

#include "app/desktop/singleinstance.h"
#include "platform/bundle.h"
#include "platform/desktopentry.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace StoreMenuEntry {

QString entryPath(const Locations &locations)
{
    return locations.dataHome + QStringLiteral("/applications/") + SingleInstance::serviceName +
           QStringLiteral(".desktop");
}

QString busServicePath(const Locations &locations)
{
    return locations.dataHome + QStringLiteral("/dbus-1/services/") + SingleInstance::serviceName +
           QStringLiteral(".service");
}

QString symbolicIconPath(const Locations &locations, const QString &iconName)
{
    return locations.dataHome + QStringLiteral("/icons/hicolor/symbolic/apps/") + iconName + QStringLiteral(".svg");
}

bool registerBundle(const Locations &locations, const QString &bundlePath, const QString &iconName,
                    const QByteArray &symbolicIcon)
{
    const Bundle bundle = Bundle::at(bundlePath);
    const std::optional<QString> entry =
        DesktopEntry::forBundle(bundle, {}, {{"DBusActivatable", QStringLiteral("true")}});
    if (!entry)
        return false;
    const QString executable =
        bundle.path() + QStringLiteral("/Contents/MacOS/") + bundle.string(QStringLiteral("CFBundleExecutable"));
    // The bus reads Exec as a shell would a word in double quotes; it knows no field codes.
    QString quoted;
    for (const QChar c : executable) {
        if (c == u'\\' || c == u'"' || c == u'$' || c == u'`')
            quoted.append(u'\\');
        quoted.append(c);
    }
    const QString service =
        QStringLiteral("[D-BUS Service]\nName=%1\nExec=\"%2\"\n").arg(SingleInstance::serviceName, quoted);
    QSaveFile icon(symbolicIconPath(locations, iconName));
    QDir().mkpath(QFileInfo(icon.fileName()).absolutePath());
    return DesktopEntry::write(entryPath(locations), *entry) &&
           DesktopEntry::write(busServicePath(locations), service) && icon.open(QIODevice::WriteOnly) &&
           icon.write(symbolicIcon) == symbolicIcon.size() && icon.commit();
}

} // namespace StoreMenuEntry
