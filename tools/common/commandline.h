#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <functional>

// One subcommand of a tool: `tool NAME [options] [--] operands`. "--" ends the options,
// so an operand may begin with "-".
struct Command
{
    QString name;
    QString synopsis; // options and operands, for the usage text
    QList<QCommandLineOption> options;
    QStringList requiredOptions;
    int operandCount = 0; // -1: any number
    std::function<int(const QCommandLineParser &)> run;
};

// Exit statuses shared by the tools; commands add their own above these.
enum ExitStatus { ExitSuccess = 0, ExitFailure = 1, ExitUsage = 2 };

// Parses the arguments for the command named first after the program name and runs it.
// A usage error prints the command's synopsis and gives ExitUsage.
int runCommand(const QString &tool, const QList<Command> &commands, const QStringList &arguments);

// An option that takes a value: `--name VALUE`.
QCommandLineOption valueOption(const char *name, const char *description, const char *valueName);

// Writes a line to standard output or standard error, flushed.
void printLine(const QString &line);
void printError(const QString &line);
