#include "harness/standinportal.h"

#include <QDBusError>

namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");

} // namespace

StandInPortal::StandInPortal()
    : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("stand-in portal")))
{}

bool StandInPortal::exportObject()
{
    return m_bus.isConnected() &&
           m_bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), this,
                                QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
}

bool StandInPortal::appear()
{
    return m_bus.registerService(service);
}

void StandInPortal::disappear()
{
    m_bus.unregisterService(service);
    m_values.clear();
    hasReadOne = true;
}

void StandInPortal::set(const QString &group, const QString &key, const QVariant &value)
{
    if (value.isValid())
        m_values.insert(group + u' ' + key, value);
}

void StandInPortal::change(const QString &group, const QString &key, const QVariant &value)
{
    set(group, key, value);
    Q_EMIT SettingChanged(group, key, QDBusVariant(value));
}

QDBusVariant StandInPortal::ReadOne(const QString &group, const QString &key)
{
    if (!hasReadOne) {
        sendErrorReply(QDBusError::UnknownMethod, QStringLiteral("No such method ReadOne"));
        return {};
    }
    return QDBusVariant(value(group, key));
}

QDBusVariant StandInPortal::Read(const QString &group, const QString &key)
{
    return QDBusVariant(QVariant::fromValue(QDBusVariant(value(group, key))));
}

QVariant StandInPortal::value(const QString &group, const QString &key)
{
    const QVariant found = m_values.value(group + u' ' + key);
    if (!found.isValid())
        sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"), QStringLiteral("No such setting"));
    return found;
}
