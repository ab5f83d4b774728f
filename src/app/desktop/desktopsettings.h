#pragma once

#include "shell/titlebarlayout.h"

#include <QDBusConnection>
#include <QObject>
#include <qcorotask.h>

class QDBusVariant;

// The desktop's settings the window follows: its light or dark mode, what a double-click on a
// title bar does, the side of the close button, and whether animations are wanted. Read once
// through the desktop portal, then kept up to date as the portal reports changes; without a
// portal, light, zoom, leading and animated.
class DesktopSettings : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool prefersDark READ prefersDark NOTIFY prefersDarkChanged)
    Q_PROPERTY(TitleBarAction doubleClickAction READ doubleClickAction NOTIFY doubleClickActionChanged)
    Q_PROPERTY(bool closeButtonLeading READ closeButtonLeading NOTIFY closeButtonLeadingChanged)
    Q_PROPERTY(bool reduceMotion READ reduceMotion NOTIFY reduceMotionChanged)
    // True once every setting has been read or found missing, so a window can wait for its mode.
    Q_PROPERTY(bool ready READ isReady NOTIFY readyChanged)

public:
    explicit DesktopSettings(QDBusConnection bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    bool prefersDark() const { return m_prefersDark; }
    TitleBarAction doubleClickAction() const { return m_doubleClickAction; }
    bool closeButtonLeading() const { return m_closeButtonLeading; }
    bool reduceMotion() const { return m_reduceMotion; }
    bool isReady() const { return m_ready; }

Q_SIGNALS:
    void prefersDarkChanged();
    void doubleClickActionChanged();
    void closeButtonLeadingChanged();
    void reduceMotionChanged();
    void readyChanged();

private Q_SLOTS:
    void onSettingChanged(const QString &group, const QString &key, const QDBusVariant &value);

private:
    QCoro::Task<> readAll();
    void apply(const QString &group, const QString &key, const QVariant &value);
    template<typename T> void assign(T &member, T value, void (DesktopSettings::*changed)());

    QDBusConnection m_bus;
    bool m_prefersDark = false;
    TitleBarAction m_doubleClickAction = TitleBarAction::Zoom;
    bool m_closeButtonLeading = true;
    bool m_reduceMotion = false;
    bool m_ready = false;
};
