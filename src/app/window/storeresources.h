#pragma once

#include <QQmlEngine>
#include <QString>
#include <QStringList>
#include <optional>

// The store's resource bundle "TesselStore_TesselStore.bundle": its icon, the offline app
// icons and the translations. Searched inside the application bundle's resources, then
// beside the bundle, then in the build's output folder. Without one anywhere the store runs
// on, in English and without the resource images.
class StoreResources : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString appIcon READ appIconUrl CONSTANT)

public:
    static inline const QString bundleName = QStringLiteral("TesselStore_TesselStore.bundle");

    // The bundle for the running program, found once.
    static StoreResources *instance();

    // Where the bundle is for an application bundle at bundlePath (its resources folder,
    // when it has one, first), or the build-time folder; nothing when none exists.
    static std::optional<QString> locate(const QString &bundlePath, const std::optional<QString> &resourcesPath,
                                         const QString &buildFolder);

    // The bundle's languages (those with a translation, and English) that the user prefers,
    // most preferred first; "en" when none.
    static QStringList preferredLocalizations(const QStringList &available, const QStringList &preferred);

    // Whether the first preferred localisation is written right to left.
    static bool isRightToLeft(const QStringList &localizations);

    const std::optional<QString> &path() const { return m_path; }
    bool isRightToLeft() const { return m_rightToLeft; }
    // The bundle's "AppIcon.png", when there is one.
    std::optional<QString> appIconPath() const;
    QString appIconUrl() const;
    // The languages the bundle holds translations for ("name_xx.qm" in "translations").
    QStringList localizations() const;

    static StoreResources *create(QQmlEngine *, QJSEngine *);

private:
    StoreResources(std::optional<QString> path, bool rightToLeft);

    std::optional<QString> m_path;
    bool m_rightToLeft;
};
