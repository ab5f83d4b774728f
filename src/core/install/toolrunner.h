#pragma once

#include <QString>
#include <QStringList>

namespace ToolRunner {

// Runs a program directly (no shell), its output to the null device, and waits for it.
// True exactly when it started and exited normally with status 0.
bool run(const QString &program, const QStringList &arguments);

} // namespace ToolRunner
