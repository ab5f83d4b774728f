#include "harness/bundlefactory.h"

#include "harness/modelfixture.h"

#include <QFile>

namespace BundleFactory {

QVariantMap info(const QString &bundleID, const QString &shortVersion, const QString &build)
{
    QVariantMap entries{
        {QStringLiteral("CFBundleIdentifier"), bundleID},
        {QStringLiteral("CFBundleExecutable"), QStringLiteral("app")},
        {QStringLiteral("CFBundleName"), bundleID.section(u'.', -1)},
    };
    if (!shortVersion.isEmpty())
        entries.insert(QStringLiteral("CFBundleShortVersionString"), shortVersion);
    if (!build.isEmpty())
        entries.insert(QStringLiteral("CFBundleVersion"), build);
    return entries;
}

QString write(const QString &path, const QVariantMap &info, PropertyList::Format format)
{
    writeTestFile(path + QStringLiteral("/Contents/Info.plist"), PropertyList::serialize(info, format));
    const QString executable = path + QStringLiteral("/Contents/MacOS/app");
    writeTestFile(executable, "#!/bin/sh\nexit 0\n");
    QFile::setPermissions(executable, QFile::permissions(executable) | QFile::ExeOwner);
    return path;
}

} // namespace BundleFactory
