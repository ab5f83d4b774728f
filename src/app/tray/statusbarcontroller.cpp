#include "app/tray/statusbarcontroller.h"

#include "app/tray/menubaricon.h"
#include "app/window/storecommands.h"
#include "app/window/storewindow.h"
#include "model/storemodel.h"

#include <QLocale>

StatusBarController::StatusBarController(StoreModel *model, StoreCommands *commands, StoreWindow *window,
                                         QObject *parent)
    : QObject(parent), m_model(model), m_commands(commands), m_window(window)
{
    m_item.setIcon(MenuBarIcon::icon());
    m_item.setToolTip(QStringLiteral("Tessel Store"));
    connect(&m_menu, &QMenu::aboutToShow, this, &StatusBarController::rebuild);
    rebuild();
    m_item.setContextMenu(&m_menu);
    // A click on the item itself opens the window; the menu opens on the other button.
    connect(&m_item, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger && m_window)
            m_window->show();
    });
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_item.show();
}

bool StatusBarController::isShown() const
{
    return m_item.isVisible();
}

void StatusBarController::rebuild()
{
    // Items of the last opening go (the menu owns and deletes them), and their connections.
    m_menu.clear();
    const int updates = m_model ? int(m_model->updates().size()) : 0;
    const bool canCheck = m_commands && m_commands->canCheckForUpdates();
    for (const StatusMenu::Entry &entry : StatusMenu::entries(updates, canCheck))
        m_menu.addAction(actionFor(entry));
}

QAction *StatusBarController::actionFor(const StatusMenu::Entry &entry)
{
    using Kind = StatusMenu::Entry::Kind;
    auto *action = new QAction(&m_menu);
    const auto run = [action](auto &&work) { QObject::connect(action, &QAction::triggered, action, work); };
    switch (entry.kind) {
    case Kind::Separator:
        action->setSeparator(true);
        break;
    case Kind::OpenStore:
        action->setText(tr("Open Tessel Store"));
        run([this] {
            if (m_window)
                m_window->show();
        });
        break;
    case Kind::UpdateAll:
        action->setText(tr("Update All (%1)").arg(QLocale().toString(entry.count)));
        // Started, not awaited: the menu closes at once and each job shows in the model.
        run([this] {
            if (m_model)
                m_model->updateAll();
        });
        break;
    case Kind::UpToDate:
        action->setText(tr("Everything is up to date."));
        action->setEnabled(false);
        break;
    case Kind::CheckAppUpdates:
        action->setText(tr("Check for App Updates"));
        run([this] {
            if (m_commands)
                m_commands->checkForAppUpdates();
        });
        break;
    case Kind::CheckStoreUpdate:
        action->setText(tr("Check for Updates…"));
        action->setEnabled(entry.enabled);
        run([this] {
            if (m_commands)
                m_commands->checkForUpdates();
        });
        break;
    case Kind::Quit:
        action->setText(tr("Quit Tessel Store"));
        action->setShortcut(QKeySequence(QStringLiteral("Ctrl+Q")));
        run([this] {
            if (m_commands)
                m_commands->quit();
        });
        break;
    }
    return action;
}
