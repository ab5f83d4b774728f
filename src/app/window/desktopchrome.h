#pragma once

#include "app/theme/providedsingleton.h"
#include "app/window/titleband.h"

#include <QQmlEngine>

// What the desktop says about window chrome: the side its close button goes on and what a
// double-click on a title bar does. The program keeps these current.
class DesktopChrome : public QObject, public ProvidedSingleton<DesktopChrome>
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool closeButtonLeading MEMBER m_closeButtonLeading NOTIFY changed)
    Q_PROPERTY(TitleBand::Action doubleClickAction MEMBER m_doubleClickAction NOTIFY changed)

public:
    // No default: QML would construct its own instance instead of taking the provided one.
    explicit DesktopChrome(QObject *parent) : QObject(parent) {}

    void set(bool closeButtonLeading, TitleBand::Action doubleClickAction)
    {
        m_closeButtonLeading = closeButtonLeading;
        m_doubleClickAction = doubleClickAction;
        Q_EMIT changed();
    }

Q_SIGNALS:
    void changed();

private:
    bool m_closeButtonLeading = true;
    TitleBand::Action m_doubleClickAction = TitleBand::Action::Zoom;
};
