#include "app/window/storeresources.h"

#include "platform/bundle.h"
#include "platform/preferredlanguages.h"
#include "shell/resourcebundlelocator.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTranslator>
#include <QUrl>

namespace {

// Where the build puts the compiled translations, "tessel-store_pt_BR.qm" and the like.
const QString translationsFolder = QStringLiteral(":/i18n");
const QString translationPrefix = QStringLiteral("tessel-store_");

// Qt lays the application out right to left when the installed translation turns this into
// "RTL"; named here so that it is offered to translators with the store's own texts.
//: "RTL" in languages written right to left (such as Arabic), "LTR" in all others.
[[maybe_unused]] constexpr const char *layoutDirection = QT_TRANSLATE_NOOP("QGuiApplication", "QT_LAYOUT_DIRECTION");

} // namespace

StoreResources::StoreResources(std::optional<QString> path, QStringList preferred)
    : m_path(std::move(path)), m_preferred(std::move(preferred))
{}

StoreResources *StoreResources::instance()
{
    static StoreResources *const resources = [] {
        const Bundle bundle = Bundle::main();
        const QString contents = bundle.path() + QStringLiteral("/Contents/Resources");
        const std::optional<QString> resourcesPath =
            QFileInfo(contents).isDir() ? std::optional<QString>(contents) : std::nullopt;
        const std::optional<QString> path = locate(bundle.path(), resourcesPath, QStringLiteral(TESSEL_BUILD_BIN_DIR));
        return new StoreResources(path, preferredLocalizations(localizations(), preferredLanguages()));
    }();
    return resources;
}

std::optional<QString> StoreResources::locate(const QString &bundlePath, const std::optional<QString> &resourcesPath,
                                              const QString &buildFolder)
{
    const auto isFolder = [](const QString &candidate) { return QFileInfo(candidate).isDir(); };
    if (const std::optional<QString> found =
            ResourceBundleLocator::url(bundleName, resourcesPath, bundlePath, isFolder))
        return found;
    const QString built = buildFolder + u'/' + bundleName;
    return isFolder(built) ? std::optional<QString>(built) : std::nullopt;
}

QStringList StoreResources::preferredLocalizations(const QStringList &available, const QStringList &preferred)
{
    QStringList offered = available;
    if (!offered.contains(QStringLiteral("en")))
        offered.append(QStringLiteral("en"));
    QStringList chosen;
    for (const QString &language : preferred) {
        // "pt-BR" takes "pt-BR", then "pt".
        const QString tag = QString(language).replace(u'_', u'-');
        for (const QString &candidate : {tag, tag.section(u'-', 0, 0)}) {
            if (offered.contains(candidate) && !chosen.contains(candidate))
                chosen.append(candidate);
        }
    }
    return chosen.isEmpty() ? QStringList{QStringLiteral("en")} : chosen;
}

bool StoreResources::isRightToLeft(const QStringList &localizations)
{
    const QString first = localizations.isEmpty() ? QStringLiteral("en") : localizations.first();
    return QLocale(first).textDirection() == Qt::RightToLeft;
}

std::optional<QString> StoreResources::appIconPath() const
{
    if (!m_path)
        return std::nullopt;
    const QString icon = *m_path + QStringLiteral("/AppIcon.png");
    return QFileInfo(icon).isFile() ? std::optional<QString>(icon) : std::nullopt;
}

QString StoreResources::appIconUrl() const
{
    const std::optional<QString> icon = appIconPath();
    return icon ? QUrl::fromLocalFile(*icon).toString() : QString();
}

QStringList StoreResources::localizations()
{
    QStringList languages;
    const QStringList files =
        QDir(translationsFolder).entryList({translationPrefix + QStringLiteral("*.qm")}, QDir::Files);
    for (const QString &file : files)
        languages.append(file.sliced(translationPrefix.size()).chopped(3).replace(u'_', u'-'));
    return languages;
}

std::unique_ptr<QTranslator> StoreResources::translator(const QString &localization)
{
    if (!localizations().contains(localization))
        return nullptr;
    auto translator = std::make_unique<QTranslator>();
    const QString file = translationPrefix + QString(localization).replace(u'-', u'_');
    if (!translator->load(file, translationsFolder))
        return nullptr;
    return translator;
}

void StoreResources::installTranslation() const
{
    std::unique_ptr<QTranslator> texts = translator(m_preferred.value(0));
    if (!texts)
        return;
    // The application keeps it for as long as it runs.
    texts->setParent(QCoreApplication::instance());
    QCoreApplication::installTranslator(texts.release());
}

StoreResources *StoreResources::create(QQmlEngine *, QJSEngine *)
{
    StoreResources *resources = instance();
    QJSEngine::setObjectOwnership(resources, QJSEngine::CppOwnership);
    return resources;
}
