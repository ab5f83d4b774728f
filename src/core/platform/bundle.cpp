#include "platform/bundle.h"

#include "platform/propertylist.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

Bundle::Bundle(QString path, std::optional<QVariantMap> info) : m_path(std::move(path)), m_info(std::move(info)) {}

Bundle Bundle::at(const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    return Bundle(clean, PropertyList::readDictionary(clean + QStringLiteral("/Contents/Info.plist")));
}

Bundle Bundle::containing(const QString &executablePath)
{
    const QDir macOS = QFileInfo(executablePath).absoluteDir();
    QDir contents = macOS;
    if (macOS.dirName() == QLatin1String("MacOS") && contents.cdUp() &&
        contents.dirName() == QLatin1String("Contents")) {
        QDir bundle = contents;
        if (bundle.cdUp() && bundle.dirName().endsWith(QLatin1String(".app")))
            return at(bundle.path());
    }
    return Bundle(macOS.path(), QVariantMap());
}

Bundle Bundle::main()
{
    // Read once: the running program's bundle changes only when an update replaces it, and
    // the program then quits. Whoever must see the new one reads it with at().
    static const Bundle running = containing(QCoreApplication::applicationFilePath());
    return running;
}

QString Bundle::infoPlistPath() const
{
    return m_path + QStringLiteral("/Contents/Info.plist");
}

QString Bundle::string(const QString &key) const
{
    if (!m_info)
        return {};
    const QVariant value = m_info->value(key);
    return value.typeId() == QMetaType::QString ? value.toString() : QString();
}
