#include "app/window/storecommands.h"

#include "presentation/storestatus.h"

#include <QCoreApplication>

StoreCommands::StoreCommands(StoreStatus *status, QObject *parent) : QObject(parent), m_status(status) {}

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
