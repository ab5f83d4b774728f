#pragma once

#include "support/expected.h"

#include <QList>
#include <QString>

// The applications running on this machine, found by bundle identifier, asked politely to
// quit, and launched from their bundles.
class RunningApplications
{
public:
    virtual ~RunningApplications() = default;

    // The processes whose executable lies inside a bundle with this identifier.
    virtual QList<qint64> find(const QString &bundleID) const = 0;
    // A request the application may handle or refuse; never a forced kill.
    virtual void terminate(qint64 process) const = 0;
    virtual bool isRunning(qint64 process) const = 0;
    // Starts the bundle's main executable, detached from this process; why not, in words,
    // when it cannot be started. What the app does once started is its own business.
    virtual Expected<Unit, QString> launch(const QString &bundle) const = 0;
};

// The process table of a Unix system: /proc/*/exe inside X.app/Contents/MacOS/, SIGTERM.
class ProcessTable : public RunningApplications
{
public:
    QList<qint64> find(const QString &bundleID) const override;
    void terminate(qint64 process) const override;
    bool isRunning(qint64 process) const override;
    Expected<Unit, QString> launch(const QString &bundle) const override;
};
