#pragma once

#include "platform/propertylist.h"

#include <QString>
#include <QVariantMap>

// App bundles on disk for tests: X.app/Contents/Info.plist and an executable.
namespace BundleFactory {

// The Info.plist entries of an app with this identifier and these versions; an empty
// version is left out.
QVariantMap info(const QString &bundleID, const QString &shortVersion, const QString &build);

// Writes a bundle at path (made with its folders) and returns the path.
QString write(const QString &path, const QVariantMap &info, PropertyList::Format format = PropertyList::Format::XML);

} // namespace BundleFactory
