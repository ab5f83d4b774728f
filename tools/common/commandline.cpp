#include "common/commandline.h"

#include <cstdio>

namespace {

int usageError(const QString &tool, const Command &command, const QString &message)
{
    printError(QStringLiteral("error: %1").arg(message));
    printError(QStringLiteral("usage: %1 %2 %3").arg(tool, command.name, command.synopsis));
    return ExitUsage;
}

int run(const QString &tool, const Command &command, const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(command.options);
    if (!parser.parse(arguments))
        return usageError(tool, command, parser.errorText());
    for (const QString &option : command.requiredOptions) {
        if (!parser.isSet(option))
            return usageError(tool, command, QStringLiteral("--%1 is required").arg(option));
    }
    const qsizetype operands = parser.positionalArguments().size();
    if (command.operandCount >= 0 && operands != command.operandCount)
        return usageError(tool, command,
                          QStringLiteral("expected %1 operand(s), got %2").arg(command.operandCount).arg(operands));
    return command.run(parser);
}

} // namespace

QCommandLineOption valueOption(const char *name, const char *description, const char *valueName)
{
    return {QString::fromLatin1(name), QString::fromLatin1(description), QString::fromLatin1(valueName)};
}

void printLine(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

void printError(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stderr);
    std::fflush(stderr);
}

int runCommand(const QString &tool, const QList<Command> &commands, const QStringList &arguments)
{
    const QString name = arguments.value(1);
    for (const Command &command : commands) {
        if (command.name == name)
            return run(tool, command, arguments.mid(1));
    }
    if (!name.isEmpty() && name != QLatin1String("help") && name != QLatin1String("--help"))
        printError(QStringLiteral("%1: unknown command '%2'").arg(tool, name));
    printError(QStringLiteral("usage:"));
    for (const Command &command : commands)
        printError(QStringLiteral("  %1 %2 %3").arg(tool, command.name, command.synopsis));
    return ExitUsage;
}
