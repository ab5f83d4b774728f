#pragma once

#include <QString>
#include <QVariantMap>
#include <optional>

// An application bundle laid out as X.app/Contents/{Info.plist,MacOS,Resources}, or a
// plain folder standing in for one (no information dictionary).
class Bundle
{
public:
    // The bundle at a folder; its Info.plist is read once, here.
    static Bundle at(const QString &path);

    // The bundle that holds this executable when it sits in X.app/Contents/MacOS/,
    // otherwise the executable's folder.
    static Bundle containing(const QString &executablePath);

    // The running program's bundle, as it was when first asked for.
    static Bundle main();

    const QString &path() const { return m_path; }
    QString infoPlistPath() const;
    const std::optional<QVariantMap> &infoDictionary() const { return m_info; }

    // A string entry of the information dictionary; empty when absent or of another type.
    QString string(const QString &key) const;

private:
    Bundle(QString path, std::optional<QVariantMap> info);

    QString m_path;
    std::optional<QVariantMap> m_info;
};
