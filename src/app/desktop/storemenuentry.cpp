#include "app/desktop/storemenuentry.h"

#include "app/desktop/singleinstance.h"
#include "platform/bundle.h"
#include "platform/desktopentry.h"

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

bool registerBundle(const Locations &locations, const QString &bundlePath)
{
    const Bundle bundle = Bundle::at(bundlePath);
    const std::optional<QString> entry =
        DesktopEntry::forBundle(bundle, {}, {{"DBusActivatable", QStringLiteral("true")}});
    if (!entry)
        return false;
    const QString executable =
        bundle.path() + QStringLiteral("/Contents/MacOS/") + bundle.string(QStringLiteral("CFBundleExecutable"));
    const QString service = QStringLiteral("[D-BUS Service]\nName=%1\nExec=%2\n")
                                .arg(SingleInstance::serviceName, DesktopEntry::execLine(executable, {}));
    return DesktopEntry::write(entryPath(locations), *entry) && DesktopEntry::write(busServicePath(locations), service);
}

} // namespace StoreMenuEntry
