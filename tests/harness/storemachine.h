#pragma once

#include "harness/releasefactory.h"
#include "harness/storepublication.h"
#include "harness/testserver.h"

#include <QNetworkAccessManager>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>

// A machine the store runs on, for the self-updater's tests: in a folder of its own, the
// running store 1.0 (build 100) in its Applications folder, its maker's release factory and
// feed on a test server, a network session and a temporary folder.
class StoreMachine
{
private:
    QTemporaryDir m_folder; // first: everything below lives in it

public:
    StoreMachine();

    QString path(const QString &relative) const { return m_folder.filePath(relative); }
    QString applications() const { return path(QStringLiteral("Applications")); }
    QString temporary() const { return path(QStringLiteral("tmp")); }
    // The user defaults the store keeps, in a file of the machine's.
    std::shared_ptr<QSettings> defaults() const;

    TestServer server;
    ReleaseFactory releases;
    StorePublication store;
    QNetworkAccessManager session;
};
