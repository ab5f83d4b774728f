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
    QString synopsis;    // options and operands, for the usage text
    QString description; // what it does, one sentence, for --help
    QList<QCommandLineOption> options;
    QStringList requiredOptions;
    int operandCount = 0; // -1: any number
    std::function<int(const QCommandLineParser &)> run;
};

// A tool: its name, what it is for, and its commands.
struct Tool
{
    QString name;
    QString description;
    QList<Command> commands;
    QString epilogue;                        // after the commands in --help: exit statuses, environment
    QList<QCommandLineOption> commonOptions; // taken by every command
    // Called with every command's parsed arguments before it runs, for the common options.
    std::function<void(const QCommandLineParser &)> prepare;
};

// Exit statuses shared by the tools; commands add their own above these.
enum ExitStatus { ExitSuccess = 0, ExitFailure = 1, ExitUsage = 2 };

// Parses the arguments for the command named first after the program name and runs it.
// "--help", "-h" and "help" print the tool's or a command's description to standard output;
// "--version" prints the version. A usage error prints one line pointing at --help and
// gives ExitUsage.
int runCommand(const Tool &tool, const QStringList &arguments);

// An option that takes a value: `--name VALUE`.
QCommandLineOption valueOption(const char *name, const char *description, const char *valueName);

// Writes a line to standard output or standard error, flushed.
void printLine(const QString &line);
void printError(const QString &line);
