#include "platform/desktopentryregistry.h"

#include "platform/bundle.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

const QByteArray identifierKey = "X-Tessel-BundleIdentifier";
const QByteArray pathKey = "X-Tessel-BundlePath";

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

struct EntryKeys
{
    QString identifier;
    QString path;
};

// The two keys of the [Desktop Entry] group; other groups and keys are not ours.
EntryKeys readEntry(const QString &file)
{
    QFile entry(file);
    if (!entry.open(QIODevice::ReadOnly))
        return {};
    const QByteArray contents = entry.readAll();
    if (!contents.contains(identifierKey))
        return {};
    EntryKeys keys;
    bool inMainGroup = false;
    for (const QByteArray &rawLine : contents.split('\n')) {
        const QByteArray line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (!inMainGroup || equals < 0)
            continue;
        const QByteArray key = line.left(equals).trimmed();
        if (key == identifierKey)
            keys.identifier = unescape(line.mid(equals + 1).trimmed());
        else if (key == pathKey)
            keys.path = unescape(line.mid(equals + 1).trimmed());
    }
    return keys;
}

} // namespace

DesktopEntryRegistry::DesktopEntryRegistry(Locations locations) : m_locations(std::move(locations)) {}

QStringList DesktopEntryRegistry::applications(const QString &bundleID) const
{
    QStringList bundles;
    QStringList folders{m_locations.dataHome};
    folders.append(m_locations.dataDirs);
    for (const QString &folder : folders) {
        const QDir applications(folder + QStringLiteral("/applications"));
        const QStringList entries = applications.entryList({QStringLiteral("*.desktop")}, QDir::Files);
        for (const QString &name : entries) {
            const EntryKeys keys = readEntry(applications.filePath(name));
            if (keys.identifier == bundleID && QDir::isAbsolutePath(keys.path))
                bundles.append(keys.path);
        }
    }
    return bundles;
}

QString DesktopEntryRegistry::entryPath(const QString &bundleID) const
{
    QString name = bundleID;
    for (QChar &c : name) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'.' && c != u'-')
            c = u'_';
    }
    return m_locations.dataHome + QStringLiteral("/applications/tessel-") + name + QStringLiteral(".desktop");
}

bool DesktopEntryRegistry::registerApplication(const QString &bundlePath)
{
    const Bundle bundle = Bundle::at(bundlePath);
    const QString identifier = bundle.string(QStringLiteral("CFBundleIdentifier"));
    const QString executable = bundle.string(QStringLiteral("CFBundleExecutable"));
    if (identifier.isEmpty() || executable.isEmpty())
        return false;
    QString name = bundle.string(QStringLiteral("CFBundleDisplayName"));
    if (name.isEmpty())
        name = bundle.string(QStringLiteral("CFBundleName"));
    if (name.isEmpty())
        name = QFileInfo(bundle.path()).completeBaseName();
    const QString entry =
        QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2\n%3=%4\n%5=%6\n")
            .arg(escape(name), escape(quotedArgument(bundle.path() + QStringLiteral("/Contents/MacOS/") + executable)),
                 QString::fromLatin1(identifierKey), escape(identifier), QString::fromLatin1(pathKey),
                 escape(bundle.path()));
    const QString path = entryPath(identifier);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QByteArray bytes = entry.toUtf8();
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}
