#pragma once

#include <QQmlEngine>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QTranslator;

// The store's resources: the bundle "TesselStore_TesselStore.bundle" with its icon and the
// offline app icons, and the translations compiled into the program. The bundle is searched
// inside the application bundle's resources, then beside the bundle, then in the build's
// output folder; without one anywhere the store runs on without the resource images.
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

    // The languages the program carries translations for ("de", "pt-BR"); English, the
    // language of the source texts, needs none.
    static QStringList localizations();

    // The translation for one of those languages; nothing for English or a language without one.
    static std::unique_ptr<QTranslator> translator(const QString &localization);

    const std::optional<QString> &path() const { return m_path; }
    bool isRightToLeft() const { return isRightToLeft(m_preferred); }
    // The bundle's "AppIcon.png", when there is one.
    std::optional<QString> appIconPath() const;
    QString appIconUrl() const;

    // Puts the texts of the first preferred language into the application. Its translation of
    // the layout direction turns the application right to left for Arabic.
    void installTranslation() const;

    static StoreResources *create(QQmlEngine *, QJSEngine *);

private:
    StoreResources(std::optional<QString> path, QStringList preferred);

    std::optional<QString> m_path;
    // The languages of the store's texts for this user, most preferred first.
    QStringList m_preferred;
};
