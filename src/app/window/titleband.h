#pragma once

#include "shell/titlebarlayout.h"

#include <QPointF>
#include <QPointer>
#include <QQmlEngine>
#include <QQuickWindow>

// The title band the store draws itself in its frameless window: where the window buttons
// sit, and what dragging, double-clicking and the buttons do to the window.
class TitleBand : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(QQuickWindow *window READ window WRITE setWindow NOTIFY geometryInputsChanged)
    Q_PROPERTY(bool rightToLeft MEMBER m_rightToLeft NOTIFY geometryInputsChanged)
    Q_PROPERTY(bool closeButtonLeading MEMBER m_closeButtonLeading NOTIFY geometryInputsChanged)
    Q_PROPERTY(Action desktopDoubleClick MEMBER m_desktopDoubleClick NOTIFY desktopDoubleClickChanged)

public:
    enum class Action {
        Zoom = int(TitleBarAction::Zoom),
        Minimize = int(TitleBarAction::Minimize),
        None = int(TitleBarAction::None)
    };
    Q_ENUM(Action)

    static constexpr qreal buttonSize = 14;
    static constexpr qreal buttonSpacing = 6;

    explicit TitleBand(QObject *parent = nullptr);

    QQuickWindow *window() const { return m_window; }
    void setWindow(QQuickWindow *window);

    // The close button is outermost on the side the desktop puts it on, mirrored in
    // right-to-left layouts.
    bool buttonsOnRight() const;

    // Where the close, minimise and zoom buttons go, in that order, in a band this wide
    // (window coordinates, origin at the top left).
    Q_INVOKABLE QList<QPointF> buttonOrigins(qreal barWidth) const;

    // The user's double-click choice when one is stored, else the desktop's.
    Q_INVOKABLE Action doubleClickAction() const;

    Q_INVOKABLE void doubleClicked();
    Q_INVOKABLE void startMove();
    Q_INVOKABLE void startResize(int edges);
    Q_INVOKABLE void minimize();
    Q_INVOKABLE void toggleZoom();
    Q_INVOKABLE void close();

Q_SIGNALS:
    void geometryInputsChanged();
    void desktopDoubleClickChanged();

private:
    QPointer<QQuickWindow> m_window;
    bool m_rightToLeft = false;
    bool m_closeButtonLeading = true;
    Action m_desktopDoubleClick = Action::Zoom;
};
