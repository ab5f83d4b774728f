#include "install/toolrunner.h"

#include <QProcess>

namespace ToolRunner {
namespace {

// How often a running program's progress is looked at: often enough that a runaway tool
// writes little more before it is stopped, rarely enough to cost nothing.
constexpr int pollMilliseconds = 100;

bool finishedWell(QProcess &process)
{
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

void stop(QProcess &process)
{
    process.kill();
    process.waitForFinished(-1);
}

} // namespace

bool run(const QString &program, const QStringList &arguments, const KeepGoing &keepGoing)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted())
        return false;
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(keepGoing ? pollMilliseconds : -1)) {
        if (process.state() != QProcess::NotRunning && !keepGoing()) {
            stop(process);
            return false;
        }
    }
    return finishedWell(process) && (!keepGoing || keepGoing());
}

bool readLines(const QString &program, const QStringList &arguments, const LineReader &reader)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted())
        return false;
    auto readAvailable = [&process, &reader] {
        while (process.canReadLine()) {
            QByteArray line = process.readLine();
            if (!reader(QByteArrayView(line).chopped(1)))
                return false;
        }
        return true;
    };
    while (process.state() != QProcess::NotRunning) {
        process.waitForReadyRead(pollMilliseconds);
        if (!readAvailable()) {
            stop(process);
            return false;
        }
    }
    if (!readAvailable())
        return false;
    const QByteArray last = process.readAll();
    return (last.isEmpty() || reader(last)) && finishedWell(process);
}

} // namespace ToolRunner
