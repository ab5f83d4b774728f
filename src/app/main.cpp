#include "app/desktop/singleinstance.h"
#include "app/desktop/storemenuentry.h"
#include "app/storeroot.h"
#include "app/theme/appearancesetting.h"
#include "app/theme/theme.h"
#include "app/tray/menubaricon.h"
#include "app/tray/statusbarcontroller.h"
#include "app/updater/appupdater.h"
#include "app/window/storeresources.h"
#include "app/window/windowshot.h"
#include "model/storemodel.h"
#include "net/networksession.h"
#include "platform/bundle.h"
#include "platform/loginitem.h"

#include <QApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>

int main(int argc, char *argv[])
{
    // Widgets, for the tray item's menu.
    QApplication application(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Orvel"));
    QCoreApplication::setApplicationName(QStringLiteral("Tessel Store"));
    QCoreApplication::setApplicationVersion(QStringLiteral(TESSEL_VERSION));
    // Before anything makes a text: the core's and the window's texts in the user's language.
    StoreResources::instance()->installTranslation();
    Theme::prepareApplication();
    // The demo's service, and any signed by a private authority, before the first request.
    trustExtraCertificateAuthorities();

    const WindowShot shot = WindowShot::fromArguments(QCoreApplication::arguments());
    if (StoreResources::instance()->isRightToLeft() || shot.rightToLeft)
        QGuiApplication::setLayoutDirection(Qt::RightToLeft);

    // One store per user: a second launch hands its options to the first and ends. Pictures
    // are taken by a store of their own.
    SingleInstance instance;
    if (!shot.path && instance.claim(SingleInstance::launchOptions(QCoreApplication::arguments())) ==
                          SingleInstance::Role::HandedOver)
        return 0;

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral(":/qt/qml"));
    StoreRoot root(&engine);
    // A picture shows the appearance asked for, whatever the desktop prefers.
    if (shot.path)
        root.appearance()->setAppearance(shot.dark ? QStringLiteral("dark") : QStringLiteral("light"));
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreated, &application, [&shot, &root](QObject *created) {
        auto *window = qobject_cast<QQuickWindow *>(created);
        if (window && shot.pictures(window))
            shot.arrange(window, [&root] { return root.isSettled(); });
    });
    QObject::connect(&instance, &SingleInstance::activated, &root, &StoreRoot::activate);
    QObject::connect(root.updater(), &AppUpdater::relaunching, &instance, &SingleInstance::release);
    if (shot.path) {
        root.openWindow();
        return engine.rootObjects().isEmpty() ? 1 : QCoreApplication::exec();
    }

    // The window lives on in the tray once closed, and only Quit ends the store. Where the
    // desktop shows no tray, nothing could bring a closed window back: closing it ends the store.
    StatusBarController tray(StoreModel::shared(), root.commands(), root.window());
    QGuiApplication::setQuitOnLastWindowClosed(!tray.isShown());
    // Run from its bundle, the store is in the desktop's menu like the apps it installs.
    if (const QString bundle = Bundle::main().path(); bundle.endsWith(QLatin1String(".app")))
        StoreMenuEntry::registerBundle(Locations::standard(), bundle, MenuBarIcon::symbolicName,
                                       MenuBarIcon::symbolicSvg());

    // Started by the session, the store waits in the tray, unless there is none to wait in.
    if (QCoreApplication::arguments().contains(LoginItem::backgroundArgument) && tray.isShown()) {
        root.startInBackground();
    } else {
        root.openWindow();
        if (engine.rootObjects().isEmpty())
            return 1;
    }
    return QCoreApplication::exec();
}
