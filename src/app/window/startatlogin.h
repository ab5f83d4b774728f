#pragma once

#include "app/theme/providedsingleton.h"
#include "platform/loginitem.h"

#include <QQmlEngine>
#include <optional>

// What the "Open at login" switch shows and does: the store's autostart entry, read back after
// every change so that the switch shows what the next session will do. Only a store that runs
// from its bundle has one.
class StartAtLogin : public QObject, public ProvidedSingleton<StartAtLogin>
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool available READ available CONSTANT)
    Q_PROPERTY(bool openAtLogin READ openAtLogin NOTIFY openAtLoginChanged)

public:
    StartAtLogin(std::optional<LoginItem> item, QObject *parent);

    bool available() const { return m_item.has_value(); }
    bool openAtLogin() const { return m_openAtLogin; }

    // Writes or removes the entry; a failure is logged, and the switch falls back to what is there.
    Q_INVOKABLE void setOpenAtLogin(bool enabled);
    // Reads the entry again, as the page does each time it appears.
    Q_INVOKABLE void refresh();

Q_SIGNALS:
    void openAtLoginChanged();

private:
    std::optional<LoginItem> m_item;
    bool m_openAtLogin = false;
};
