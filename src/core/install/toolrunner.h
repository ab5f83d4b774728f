#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <functional>

namespace ToolRunner {

// Asked now and then while a program runs; false ends the program at once.
using KeepGoing = std::function<bool()>;
// Given each line the program writes to its standard output; false ends the program at once.
using LineReader = std::function<bool(QByteArrayView line)>;

// Runs a program directly (no shell), its output to the null device, and waits for it.
// True exactly when it started and exited normally with status 0, and keepGoing never said no.
bool run(const QString &program, const QStringList &arguments, const KeepGoing &keepGoing = {});

// The same, handing the program's standard output to the reader line by line as it comes,
// so a long listing is never held whole.
bool readLines(const QString &program, const QStringList &arguments, const LineReader &reader);

} // namespace ToolRunner
