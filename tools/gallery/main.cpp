// Shows every component of the store's window in its states, light or dark, left to right or
// right to left: for looking at them, and for the screenshots.
#include "app/theme/storepalette.h"
#include "app/theme/theme.h"
#include "app/window/windowshot.h"

#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QtQml/qqmlextensionplugin.h>

Q_IMPORT_QML_PLUGIN(TesselStore_ThemePlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_StylePlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_ComponentsPlugin)

int main(int argc, char *argv[])
{
    QGuiApplication application(argc, argv);
    Theme::prepareApplication();
    const WindowShot shot = WindowShot::fromArguments(QCoreApplication::arguments());
    if (shot.rightToLeft)
        QGuiApplication::setLayoutDirection(Qt::RightToLeft);

    StorePalette palette(nullptr);
    palette.setDark(shot.dark);
    StorePalette::provide(&palette);

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral(":/qt/qml"));
    QObject::connect(&engine, &QQmlApplicationEngine::objectCreated, &application, [&shot](QObject *created) {
        if (auto *window = qobject_cast<QQuickWindow *>(created))
            shot.arrange(window);
    });
    engine.load(QUrl(QStringLiteral("qrc:/qt/qml/TesselStore/Gallery/Gallery.qml")));
    if (engine.rootObjects().isEmpty())
        return 1;
    return QGuiApplication::exec();
}
