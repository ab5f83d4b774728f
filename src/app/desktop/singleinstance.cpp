#include "app/desktop/singleinstance.h"

#include "app/desktop/desktoplog.h"
#include "platform/loginitem.h"
#include "platform/userdefaults.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>

namespace {

const QStringList optionKeys{QStringLiteral("section"), QStringLiteral("openApp"), QStringLiteral("background")};

// Only the options the store knows, and only as text: the data comes from another process.
QVariantMap knownOptions(const QVariantMap &data)
{
    QVariantMap options;
    for (const QString &key : optionKeys) {
        const QVariant value = data.value(key);
        if (value.typeId() == QMetaType::QString)
            options.insert(key, value);
    }
    return options;
}

} // namespace

SingleInstance::SingleInstance(QDBusConnection bus, QObject *parent) : QObject(parent), m_bus(std::move(bus)) {}

SingleInstance::Role SingleInstance::claim(const QVariantMap &options)
{
    if (!m_bus.isConnected())
        return Role::Alone;
    // The object first, so that a launch that finds the name finds someone to answer.
    m_bus.registerObject(objectPath, this, QDBusConnection::ExportScriptableSlots);
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> claimed = m_bus.interface()->registerService(
        serviceName, QDBusConnectionInterface::DontQueueService, QDBusConnectionInterface::DontAllowReplacement);
    if (claimed.isValid() && claimed.value() == QDBusConnectionInterface::ServiceRegistered)
        return Role::First;
    m_bus.unregisterObject(objectPath);

    QDBusMessage call = QDBusMessage::createMethodCall(
        serviceName, objectPath, QStringLiteral("org.freedesktop.Application"), QStringLiteral("Activate"));
    call << knownOptions(options);
    // Events go on meanwhile: in a test the store that answers may be this very process.
    const QDBusMessage answer = m_bus.call(call, QDBus::BlockWithGui, 5000);
    if (answer.type() == QDBusMessage::ReplyMessage)
        return Role::HandedOver;
    qCWarning(lcDesktop) << "the running store did not answer:" << answer.errorName() << answer.errorMessage();
    return Role::Alone;
}

void SingleInstance::release()
{
    if (!m_bus.isConnected())
        return;
    m_bus.interface()->unregisterService(serviceName);
    m_bus.unregisterObject(objectPath);
}

QVariantMap SingleInstance::launchOptions(const QStringList &arguments)
{
    const UserDefaults given(arguments, nullptr);
    QVariantMap options;
    for (const QString &key : optionKeys) {
        if (const std::optional<QString> value = given.string(key))
            options.insert(key, *value);
    }
    // The session's start: the running store has nothing to show.
    if (arguments.contains(LoginItem::backgroundArgument))
        options.insert(QStringLiteral("background"), QStringLiteral("true"));
    return options;
}

void SingleInstance::Activate(const QVariantMap &platformData)
{
    Q_EMIT activated(knownOptions(platformData));
}

void SingleInstance::Open(const QStringList &, const QVariantMap &platformData)
{
    // The store opens no files: opening is showing the window.
    Activate(platformData);
}

void SingleInstance::ActivateAction(const QString &action, const QVariantList &parameter, const QVariantMap &)
{
    if (action == QLatin1String("show-section") && parameter.size() == 1)
        Q_EMIT activated(knownOptions({{QStringLiteral("section"), parameter.constFirst()}}));
    else
        qCDebug(lcDesktop) << "no such action:" << action;
}
