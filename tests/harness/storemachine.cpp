#include "harness/storemachine.h"

#include <QDir>

StoreMachine::StoreMachine() : releases(path(QStringLiteral("made"))), store(&releases, &server, applications())
{
    QDir().mkpath(temporary());
    store.install(QStringLiteral("1.0"), QStringLiteral("100"));
}

std::shared_ptr<QSettings> StoreMachine::defaults() const
{
    return std::make_shared<QSettings>(path(QStringLiteral("defaults.ini")), QSettings::IniFormat);
}
