#include "app/window/startatlogin.h"

#include <QtDebug>

StartAtLogin::StartAtLogin(std::optional<LoginItem> item, QObject *parent) : QObject(parent), m_item(std::move(item))
{
    refresh();
}

void StartAtLogin::setOpenAtLogin(bool enabled)
{
    if (!m_item)
        return;
    if (const std::optional<QString> failure = m_item->setEnabled(enabled))
        qWarning().noquote() << QStringLiteral("Tessel Store: login item: %1").arg(*failure);
    refresh();
    // The switch may have moved on its own: it shows the entry, whatever became of the change.
    Q_EMIT openAtLoginChanged();
}

void StartAtLogin::refresh()
{
    const bool enabled = m_item && m_item->isEnabled();
    if (enabled == m_openAtLogin)
        return;
    m_openAtLogin = enabled;
    Q_EMIT openAtLoginChanged();
}
