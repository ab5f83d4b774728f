#include "platform/loginitem.h"

#include "platform/bundle.h"
#include "platform/desktopentry.h"

#include <QFile>

namespace {

QString entryPathFor(const QString &folder, const QString &bundlePath)
{
    QString identifier = Bundle::at(bundlePath).string(QStringLiteral("CFBundleIdentifier"));
    if (identifier.isEmpty())
        identifier = QStringLiteral("com.orvel.TesselStore");
    return folder + u'/' + identifier + QStringLiteral(".desktop");
}

} // namespace

LoginItem::LoginItem(QString autostartFolder, QString bundlePath)
    : m_bundlePath(std::move(bundlePath)), m_entryPath(entryPathFor(autostartFolder, m_bundlePath))
{}

bool LoginItem::startsThisBundle() const
{
    return DesktopEntry::read(entryPath()).value(DesktopEntry::pathKey) == m_bundlePath;
}

bool LoginItem::isEnabled() const
{
    const QHash<QByteArray, QString> keys = DesktopEntry::read(entryPath());
    return keys.value(DesktopEntry::pathKey) == m_bundlePath && keys.value("Hidden") != QLatin1String("true") &&
           keys.value("X-GNOME-Autostart-enabled") != QLatin1String("false");
}

std::optional<QString> LoginItem::setEnabled(bool enabled)
{
    const QString path = entryPath();
    if (!enabled) {
        QFile entry(path);
        if (!entry.exists() || !startsThisBundle() || entry.remove())
            return std::nullopt;
        return QStringLiteral("could not remove %1: %2").arg(path, entry.errorString());
    }
    const std::optional<QString> entry = DesktopEntry::forBundle(
        Bundle::at(m_bundlePath), {backgroundArgument},
        {{"NoDisplay", QStringLiteral("true")}, {"X-GNOME-Autostart-enabled", QStringLiteral("true")}});
    if (!entry)
        return QStringLiteral("the bundle at %1 names no identifier or executable").arg(m_bundlePath);
    if (!DesktopEntry::write(path, *entry))
        return QStringLiteral("could not write %1").arg(path);
    return std::nullopt;
}
