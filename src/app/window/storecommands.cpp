#include "app/window/storecommands.h"

#include "app/updater/appupdater.h"
#include "presentation/storestatus.h"

#include <QCoreApplication>

StoreCommands::StoreCommands(StoreStatus *status, AppUpdater *updater, QObject *parent)
    : QObject(parent), m_status(status), m_updater(updater)
{
    if (updater)
        connect(updater, &AppUpdater::canCheckChanged, this, &StoreCommands::canCheckForUpdatesChanged);
}

bool StoreCommands::canCheckForUpdates() const
{
    return m_updater && m_updater->canCheck();
}

void StoreCommands::checkForUpdates()
{
    if (m_updater)
        m_updater->checkForUpdates();
}

QString StoreCommands::version() const
{
    return QCoreApplication::applicationVersion();
}

void StoreCommands::checkForAppUpdates()
{
    if (m_status)
        m_status->reload();
}

void StoreCommands::about()
{
    Q_EMIT aboutRequested();
}

void StoreCommands::quit()
{
    QCoreApplication::quit();
}
