#include "app/storeroot.h"

#include "app/desktop/desktopsettings.h"
#include "app/images/imageloader.h"
#include "app/images/imagesession.h"
#include "app/screens/storedata.h"
#include "app/theme/appearancesetting.h"
#include "app/theme/storepalette.h"
#include "app/updater/appupdater.h"
#include "app/window/desktopchrome.h"
#include "app/window/startatlogin.h"
#include "app/window/storecommands.h"
#include "app/window/storeresources.h"
#include "app/window/storewindow.h"
#include "model/storemodel.h"
#include "platform/bundle.h"
#include "platform/locations.h"
#include "platform/loginitem.h"
#include "presentation/storestatus.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPointer>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TesselStore_ThemePlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_StylePlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_ComponentsPlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_ImagesPlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_UpdaterPlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_WindowPlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_ScreensPlugin)

StoreRoot::StoreRoot(QQmlApplicationEngine *engine, QObject *parent)
    : QObject(parent), m_engine(engine), m_palette(std::make_unique<StorePalette>(nullptr)),
      m_appearance(std::make_unique<AppearanceSetting>(UserDefaults::standard(), m_palette.get())),
      m_status(std::make_unique<StoreStatus>(StoreModel::shared())),
      m_updater(std::make_unique<AppUpdater>(Bundle::main(), UserDefaults::standard(),
                                             AppUpdater::Services::standard(Bundle::main(), this))),
      m_commands(std::make_unique<StoreCommands>(m_status.get(), m_updater.get())),
      m_window(std::make_unique<StoreWindow>(nullptr)), m_desktop(std::make_unique<DesktopChrome>(nullptr)),
      m_desktopSettings(std::make_unique<DesktopSettings>()),
      m_images(std::make_unique<ImageLoader>(ImageDiskCache::standard(), std::make_unique<ImageSession>())),
      m_data(std::make_unique<StoreData>(StoreModel::shared(), m_status.get(), nullptr))
{
    StorePalette::provide(m_palette.get());
    AppearanceSetting::provide(m_appearance.get());
    AppUpdater::provide(m_updater.get());
    StoreCommands::provide(m_commands.get());
    StoreWindow::provide(m_window.get());
    DesktopChrome::provide(m_desktop.get());
    ImageLoader::provide(m_images.get());
    // The shared model outlives this root: a load after it is gone prefetches nothing.
    StoreModel::shared()->setPrefetchImages(
        [images = QPointer<ImageLoader>(m_images.get())](const QList<CatalogApp> &apps) {
            if (images)
                images->prefetch(apps);
        });
    StoreData::provide(m_data.get());
    // Only a store in its bundle can be started by the session: the entry names the bundle.
    std::optional<LoginItem> loginItem;
    if (Bundle::main().path().endsWith(QLatin1String(".app")))
        loginItem.emplace(Locations::standard().configHome + QStringLiteral("/autostart"), Bundle::main().path());
    m_startAtLogin = std::make_unique<StartAtLogin>(std::move(loginItem), nullptr);
    StartAtLogin::provide(m_startAtLogin.get());
    m_window->open = [this] { openWindow(); };

    // The desktop's mode, which "system" follows, and its title-bar habits, kept current.
    const auto followDesktop = [this] {
        m_appearance->setSystemPrefersDark(m_desktopSettings->prefersDark());
        m_desktop->set(m_desktopSettings->closeButtonLeading(),
                       TitleBand::Action(m_desktopSettings->doubleClickAction()));
        m_data->setReduceMotion(m_desktopSettings->reduceMotion());
    };
    for (auto changed : {&DesktopSettings::prefersDarkChanged, &DesktopSettings::closeButtonLeadingChanged,
                         &DesktopSettings::doubleClickActionChanged, &DesktopSettings::reduceMotionChanged})
        connect(m_desktopSettings.get(), changed, this, followDesktop);
    followDesktop();

    // Installed copies may have changed while the store was in the background.
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [](Qt::ApplicationState state) {
        if (state == Qt::ApplicationActive)
            StoreModel::shared()->applicationBecameActive();
    });
    connect(m_updater->window(), &UpdateWindowState::changed, this, [this] {
        if (m_updater->window()->isVisible())
            openUpdateWindow();
    });
    m_updater->start();

    // Outside an application bundle nothing else gives the window the store's icon.
    if (!Bundle::main().path().endsWith(QLatin1String(".app"))) {
        if (const std::optional<QString> icon = StoreResources::instance()->appIconPath())
            QGuiApplication::setWindowIcon(QIcon(*icon));
    }
}

StoreRoot::~StoreRoot() = default;

void StoreRoot::activate(const QVariantMap &options)
{
    // A session starting the store again finds it running: it stays in the tray.
    if (options.value(QStringLiteral("background")).toBool())
        return;
    m_window->show(StoreSections::fromRawValue(options.value(QStringLiteral("section")).toString()));
    const QString app = options.value(QStringLiteral("openApp")).toString();
    if (!app.isEmpty())
        Q_EMIT m_window->openAppRequested(app);
}

bool StoreRoot::isSettled() const
{
    return m_status->loadState() != StoreModel::LoadState::Loading && !m_status->checking();
}

void StoreRoot::openUpdateWindow()
{
    if (m_updateWindowOpen)
        return;
    m_updateWindowOpen = true;
    m_engine->load(QUrl(QStringLiteral("qrc:/qt/qml/TesselStore/Updater/UpdateWindow.qml")));
}

void StoreRoot::openWindow()
{
    m_engine->load(QUrl(QStringLiteral("qrc:/qt/qml/TesselStore/Window/Main.qml")));
    auto *window = qobject_cast<QQuickWindow *>(m_engine->rootObjects().value(m_engine->rootObjects().size() - 1));
    if (StoreWindow::isMainWindow(window)) {
        connect(window, &QWindow::visibleChanged, window, [window](bool visible) {
            if (!visible)
                window->deleteLater();
        });
    }
    // Each window's content starts the whole refresh when it appears.
    m_commands->checkForAppUpdates();
}

void StoreRoot::startInBackground()
{
    m_commands->checkForAppUpdates();
}
