#include "platform/runningapplications.h"

#include "platform/bundle.h"
#include "platform/detachedlaunch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <csignal>
#include <cstring>
#include <sys/types.h>

QList<qint64> ProcessTable::find(const QString &bundleID) const
{
    QList<qint64> processes;
    QHash<QString, QString> identifiers; // bundle → identifier, read once per bundle
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &entry : entries) {
        bool numeric = false;
        const qint64 process = entry.toLongLong(&numeric);
        if (!numeric || !isRunning(process))
            continue;
        const QString executable = QFile::symLinkTarget(QStringLiteral("/proc/%1/exe").arg(process));
        const qsizetype marker = executable.lastIndexOf(QLatin1String(".app/Contents/MacOS/"));
        if (marker < 0)
            continue;
        const QString bundle = executable.left(marker + 4);
        if (!identifiers.contains(bundle))
            identifiers.insert(bundle, Bundle::at(bundle).string(QStringLiteral("CFBundleIdentifier")));
        if (identifiers.value(bundle) == bundleID)
            processes.append(process);
    }
    return processes;
}

void ProcessTable::terminate(qint64 process) const
{
    ::kill(pid_t(process), SIGTERM);
}

bool ProcessTable::isRunning(qint64 process) const
{
    // A process that has exited but not been collected yet (a zombie) is gone for us.
    QFile status(QStringLiteral("/proc/%1/stat").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = status.readAll();
    const qsizetype end = line.lastIndexOf(')');
    return end >= 0 && line.size() > end + 2 && line[end + 2] != 'Z' && line[end + 2] != 'X';
}

Expected<Unit, QString> ProcessTable::launch(const QString &bundle) const
{
    const QString executable = Bundle::at(bundle).string(QStringLiteral("CFBundleExecutable"));
    if (executable.isEmpty())
        return QStringLiteral("%1 names no executable (CFBundleExecutable in its Info.plist)").arg(bundle);
    const QString macOS = bundle + QStringLiteral("/Contents/MacOS");
    const QString program = macOS + u'/' + executable;
    const QFileInfo file(program);
    if (!file.exists())
        return QStringLiteral("%1 does not exist").arg(program);
    if (!file.isFile() || !file.isExecutable())
        return QStringLiteral("%1 is not an executable file").arg(program);
    const Expected<Unit, int> launched = launchDetached(program, macOS);
    if (!launched)
        return QStringLiteral("%1 could not be started: %2")
            .arg(program, QString::fromLocal8Bit(std::strerror(launched.error())));
    return Unit{};
}
