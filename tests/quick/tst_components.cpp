// Behaviour of the window's components, in Qt Quick Tests (tests/quick/tst_*.qml).
#include "app/theme/storepalette.h"
#include "app/theme/theme.h"

#include <QQmlEngine>
#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>

Q_IMPORT_QML_PLUGIN(TesselStore_ThemePlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_StylePlugin)
Q_IMPORT_QML_PLUGIN(TesselStore_ComponentsPlugin)

class Setup : public QObject
{
    Q_OBJECT

public:
    Setup() : m_palette(nullptr) {}

public Q_SLOTS:
    void applicationAvailable()
    {
        Theme::prepareApplication();
        StorePalette::provide(&m_palette);
    }

    void qmlEngineAvailable(QQmlEngine *engine)
    {
        engine->addImportPath(QStringLiteral(":/qt/qml"));
        // Every test file starts light.
        m_palette.setDark(false);
    }

private:
    StorePalette m_palette;
};

QUICK_TEST_MAIN_WITH_SETUP(tst_components, Setup)
#include "tst_components.moc"
