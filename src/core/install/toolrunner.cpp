#include "install/toolrunner.h"

#include <QProcess>

namespace ToolRunner {

bool run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForStarted() || !process.waitForFinished(-1))
        return false;
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace ToolRunner
