#include "common/commandline.h"

#include <cstdio>

namespace {

const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("print this description and exit"));

bool asksForHelp(const QString &argument)
{
    return argument == QLatin1String("--help") || argument == QLatin1String("-h") || argument == QLatin1String("help");
}

int usageError(const Tool &tool, const Command &command, const QString &message)
{
    QString reason = message;
    if (reason.endsWith(u'.'))
        reason.chop(1);
    printError(QStringLiteral("%1 %2: %3; see '%1 %2 --help' for its usage").arg(tool.name, command.name, reason));
    return ExitUsage;
}

// "  --name VALUE" padded to a column, then the description.
QString optionLine(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    QString left = QStringLiteral("  ") + names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        left += u' ' + option.valueName();
    QString line = left.leftJustified(28) + u' ' + option.description();
    if (!option.defaultValues().isEmpty())
        line += QStringLiteral(" (default: %1)").arg(option.defaultValues().join(QStringLiteral(", ")));
    return line;
}

void printCommandHelp(const Tool &tool, const Command &command)
{
    printLine(QStringLiteral("usage: %1 %2 %3").arg(tool.name, command.name, command.synopsis).trimmed());
    printLine(QString());
    printLine(command.description);
    printLine(QString());
    printLine(QStringLiteral("options:"));
    for (const QCommandLineOption &option : command.options + tool.commonOptions)
        printLine(optionLine(option));
    printLine(optionLine(helpOption));
}

void printToolHelp(const Tool &tool)
{
    printLine(QStringLiteral("usage: %1 COMMAND [options] [operands]").arg(tool.name));
    printLine(QString());
    printLine(tool.description);
    printLine(QString());
    printLine(QStringLiteral("commands:"));
    for (const Command &command : tool.commands)
        printLine(QStringLiteral("  ") + command.name.leftJustified(22) + u' ' + command.description);
    printLine(QString());
    printLine(QStringLiteral("'%1 COMMAND --help' describes a command's options; '%1 --version' prints the version.")
                  .arg(tool.name));
    if (!tool.epilogue.isEmpty()) {
        printLine(QString());
        printLine(tool.epilogue);
    }
}

int run(const Tool &tool, const Command &command, const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOptions(command.options);
    parser.addOptions(tool.commonOptions);
    parser.addOption(helpOption);
    if (!parser.parse(arguments))
        return usageError(tool, command, parser.errorText());
    if (parser.isSet(helpOption)) {
        printCommandHelp(tool, command);
        return ExitSuccess;
    }
    for (const QString &option : command.requiredOptions) {
        if (!parser.isSet(option))
            return usageError(tool, command, QStringLiteral("--%1 is required").arg(option));
    }
    const qsizetype operands = parser.positionalArguments().size();
    if (command.operandCount >= 0 && operands != command.operandCount)
        return usageError(tool, command,
                          QStringLiteral("expected %1 operand(s), got %2").arg(command.operandCount).arg(operands));
    if (tool.prepare)
        tool.prepare(parser);
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

int runCommand(const Tool &tool, const QStringList &arguments)
{
    const QString name = arguments.value(1);
    if (asksForHelp(name)) {
        printToolHelp(tool);
        return ExitSuccess;
    }
    if (name == QLatin1String("--version")) {
        printLine(QStringLiteral("%1 %2").arg(tool.name, QStringLiteral(TESSEL_VERSION)));
        return ExitSuccess;
    }
    for (const Command &command : tool.commands) {
        if (command.name == name)
            return run(tool, command, arguments.mid(1));
    }
    printError(name.isEmpty() ? QStringLiteral("%1: no command given; see '%1 --help'").arg(tool.name)
                              : QStringLiteral("%1: unknown command '%2'; see '%1 --help'").arg(tool.name, name));
    return ExitUsage;
}
