#pragma once

#include "app/theme/providedsingleton.h"

#include <QPointer>
#include <QQmlEngine>

class AppUpdater;
class StoreStatus;

// The application's commands, as the window's shortcuts and menu offer them.
class StoreCommands : public QObject, public ProvidedSingleton<StoreCommands>
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(bool canCheckForUpdates READ canCheckForUpdates NOTIFY canCheckForUpdatesChanged)
    Q_PROPERTY(QString version READ version CONSTANT)

public:
    // Without an updater the store's own check is never offered.
    StoreCommands(StoreStatus *status, AppUpdater *updater, QObject *parent = nullptr);

    // The store's own updater: whether a check may start now, and starting one, for the
    // command menu and the tray alike.
    bool canCheckForUpdates() const;
    Q_INVOKABLE void checkForUpdates();
    QString version() const;

    // Starts the whole refresh and returns at once.
    Q_INVOKABLE void checkForAppUpdates();
    Q_INVOKABLE void about();
    Q_INVOKABLE void quit();

Q_SIGNALS:
    void canCheckForUpdatesChanged();
    // The window shows its About panel.
    void aboutRequested();

private:
    QPointer<StoreStatus> m_status;
    QPointer<AppUpdater> m_updater;
};
