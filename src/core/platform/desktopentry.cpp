#include "platform/desktopentry.h"

#include "platform/bundle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace DesktopEntry {
namespace {

// Values of the "string" type: \s \n \t \r \\ stand for their characters.
QString unescape(const QByteArray &value)
{
    QString text = QString::fromUtf8(value);
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\\' || i + 1 == text.size()) {
            out.append(text[i]);
            continue;
        }
        const QChar next = text[++i];
        out.append(next == u's'   ? QChar(u' ')
                   : next == u'n' ? QChar(u'\n')
                   : next == u't' ? QChar(u'\t')
                   : next == u'r' ? QChar(u'\r')
                                  : next);
    }
    return out;
}

QString escape(const QString &value)
{
    QString out;
    for (const QChar c : value) {
        if (c == u'\\')
            out.append(QStringLiteral("\\\\"));
        else if (c == u'\n')
            out.append(QStringLiteral("\\n"));
        else if (c == u'\r')
            out.append(QStringLiteral("\\r"));
        else if (c == u'\t')
            out.append(QStringLiteral("\\t"));
        else
            out.append(c);
    }
    return out;
}

// An Exec argument in double quotes, with the characters the launcher treats specially escaped.
QString quotedArgument(const QString &argument)
{
    QString quoted = QStringLiteral("\"");
    for (const QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted.append(u'\\');
        quoted.append(c == u'%' ? QStringLiteral("%%") : QString(c));
    }
    return quoted + u'"';
}

} // namespace

QHash<QByteArray, QString> read(const QString &file)
{
    QFile entry(file);
    return entry.open(QIODevice::ReadOnly) ? parse(entry.readAll()) : QHash<QByteArray, QString>();
}

QHash<QByteArray, QString> parse(const QByteArray &contents)
{
    QHash<QByteArray, QString> keys;
    bool inMainGroup = false;
    for (const QByteArray &rawLine : contents.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (inMainGroup && equals > 0)
            keys.insert(line.left(equals).trimmed(), unescape(line.mid(equals + 1).trimmed()));
    }
    return keys;
}

QString execLine(const QString &executable, const QStringList &arguments)
{
    QStringList words{quotedArgument(executable)};
    for (const QString &argument : arguments)
        words.append(quotedArgument(argument));
    return words.join(u' ');
}

std::optional<QString> forBundle(const Bundle &bundle, const QStringList &arguments,
                                 const QList<std::pair<QByteArray, QString>> &moreKeys)
{
    const QString identifier = bundle.string(QStringLiteral("CFBundleIdentifier"));
    const QString executable = bundle.string(QStringLiteral("CFBundleExecutable"));
    if (identifier.isEmpty() || executable.isEmpty())
        return std::nullopt;
    QString name = bundle.string(QStringLiteral("CFBundleDisplayName"));
    if (name.isEmpty())
        name = bundle.string(QStringLiteral("CFBundleName"));
    if (name.isEmpty())
        name = QFileInfo(bundle.path()).completeBaseName();
    QList<std::pair<QByteArray, QString>> keys{
        {"Type", QStringLiteral("Application")},
        {"Name", name},
        {"Exec", execLine(bundle.path() + QStringLiteral("/Contents/MacOS/") + executable, arguments)},
        {identifierKey, identifier},
        {pathKey, bundle.path()},
    };
    keys.append(moreKeys);
    QString entry = QStringLiteral("[Desktop Entry]\n");
    for (const auto &[key, value] : std::as_const(keys))
        entry += QString::fromLatin1(key) + u'=' + escape(value) + u'\n';
    return entry;
}

bool write(const QString &path, const QString &entry)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QByteArray bytes = entry.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

} // namespace DesktopEntry
