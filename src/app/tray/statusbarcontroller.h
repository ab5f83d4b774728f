#pragma once

#include "shell/statusmenu.h"

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QSystemTrayIcon>

class StoreCommands;
class StoreModel;
class StoreWindow;

// The store's item in the desktop's tray, there for the whole run, also while no window is
// open. Its menu is rebuilt from the current state each time it is about to show, so it
// never shows a stale count.
class StatusBarController : public QObject
{
    Q_OBJECT

public:
    StatusBarController(StoreModel *model, StoreCommands *commands, StoreWindow *window, QObject *parent = nullptr);

    // Whether the desktop shows the item; where it does not, nothing could bring a closed
    // window back.
    bool isShown() const;

private:
    void rebuild();
    QAction *actionFor(const StatusMenu::Entry &entry);

    QPointer<StoreModel> m_model;
    QPointer<StoreCommands> m_commands;
    QPointer<StoreWindow> m_window;
    QMenu m_menu;
    QSystemTrayIcon m_item;
};
