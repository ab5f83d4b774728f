#include "app/desktop/portalsettings.h"

#include "app/desktop/desktoplog.h"

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <qcorodbuspendingcall.h>

namespace PortalSettings {

namespace {

QCoro::Task<QDBusMessage> call(QDBusConnection bus, QString method, QString group, QString key)
{
    QDBusMessage message = QDBusMessage::createMethodCall(service, objectPath, settingsInterface, method);
    message << group << key;
    const QDBusPendingCall pending = bus.asyncCall(message);
    co_return co_await pending;
}

} // namespace

QCoro::Task<std::optional<QVariant>> read(QDBusConnection bus, QString group, QString key)
{
    QDBusMessage reply = co_await call(bus, QStringLiteral("ReadOne"), group, key);
    // ReadOne came with version 2 of the interface; Debian 12's portal has only Read.
    if (QDBusError(reply).type() == QDBusError::UnknownMethod)
        reply = co_await call(bus, QStringLiteral("Read"), group, key);
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        const QDBusError error(reply);
        if (error.type() == QDBusError::ServiceUnknown)
            qCDebug(lcDesktop) << "no desktop portal on the bus";
        else
            qCDebug(lcDesktop) << "no setting" << group << key << error.name() << error.message();
        co_return std::nullopt;
    }
    co_return unwrapped(reply.arguments().constFirst());
}

QVariant unwrapped(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = qvariant_cast<QDBusVariant>(value).variant();
    return value;
}

} // namespace PortalSettings
