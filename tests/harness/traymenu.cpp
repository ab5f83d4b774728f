#include "harness/traymenu.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QDeadlineTimer>

namespace {

QList<TrayMenu::Entry> children(const QDBusArgument &layout)
{
    QList<TrayMenu::Entry> entries;
    int id = 0;
    QVariantMap properties;
    layout.beginStructure();
    layout >> id >> properties;
    layout.beginArray();
    while (!layout.atEnd()) {
        QDBusVariant child;
        layout >> child;
        const QDBusArgument item = child.variant().value<QDBusArgument>();
        TrayMenu::Entry entry;
        QVariantMap itemProperties;
        item.beginStructure();
        item >> entry.id >> itemProperties;
        item.endStructure();
        entry.label = itemProperties.value(QStringLiteral("label")).toString();
        entry.enabled = itemProperties.value(QStringLiteral("enabled"), true).toBool();
        entry.separator = itemProperties.value(QStringLiteral("type")).toString() == QLatin1String("separator");
        entries.append(entry);
    }
    layout.endArray();
    layout.endStructure();
    return entries;
}

} // namespace

QDBusMessage TrayMenu::callAndWait(const QDBusMessage &call)
{
    QDBusPendingCall pending = QDBusConnection::sessionBus().asyncCall(call);
    const QDeadlineTimer deadline(10000);
    while (!pending.isFinished() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return pending.reply();
}

QDBusMessage TrayMenu::call(const QString &method) const
{
    return QDBusMessage::createMethodCall(m_service, QStringLiteral("/MenuBar"),
                                          QStringLiteral("com.canonical.dbusmenu"), method);
}

QList<TrayMenu::Entry> TrayMenu::open() const
{
    QDBusMessage aboutToShow = call(QStringLiteral("AboutToShow"));
    aboutToShow << 0;
    callAndWait(aboutToShow);
    QDBusMessage getLayout = call(QStringLiteral("GetLayout"));
    getLayout << 0 << -1 << QStringList();
    const QDBusMessage layout = callAndWait(getLayout);
    m_last.clear();
    if (layout.type() == QDBusMessage::ReplyMessage && layout.arguments().size() == 2)
        m_last = children(layout.arguments().at(1).value<QDBusArgument>());
    return m_last;
}

void TrayMenu::click(const Entry &entry) const
{
    QDBusMessage event = call(QStringLiteral("Event"));
    event << entry.id << QStringLiteral("clicked") << QVariant::fromValue(QDBusVariant(0)) << 0u;
    callAndWait(event);
}

TrayMenu::Entry TrayMenu::entry(const QString &label) const
{
    for (const Entry &entry : std::as_const(m_last)) {
        if (entry.label == label)
            return entry;
    }
    return {};
}

QStringList TrayMenu::labels(const QList<Entry> &entries)
{
    QStringList labels;
    for (const Entry &entry : entries)
        labels.append(entry.separator ? QStringLiteral("-") : entry.label);
    return labels;
}
