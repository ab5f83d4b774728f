#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

class Bundle;

// freedesktop .desktop entries for bundles: the keys that name the bundle, reading an entry's
// main group and writing an entry that starts the bundle.
namespace DesktopEntry {

inline const QByteArray identifierKey = "X-Tessel-BundleIdentifier";
inline const QByteArray pathKey = "X-Tessel-BundlePath";

// The keys of the [Desktop Entry] group with their values unescaped; other groups are not ours.
// Empty when the file cannot be read.
QHash<QByteArray, QString> read(const QString &file);
QHash<QByteArray, QString> parse(const QByteArray &contents);

// An entry that starts the bundle's executable with these arguments, named by the bundle and
// carrying the two bundle keys and any further ones. Nothing when the bundle has no identifier
// or executable.
std::optional<QString> forBundle(const Bundle &bundle, const QStringList &arguments = {},
                                 const QList<std::pair<QByteArray, QString>> &moreKeys = {});

// Replaces the file as a whole, making its folder; false when it could not be written.
bool write(const QString &path, const QString &entry);

// The command line of a bundle's executable with these arguments, as an Exec value.
QString execLine(const QString &executable, const QStringList &arguments);

} // namespace DesktopEntry
