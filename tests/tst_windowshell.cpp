#include "app/theme/appearancesetting.h"
#include "app/theme/storepalette.h"
#include "app/window/storeresources.h"
#include "app/window/storewindow.h"
#include "app/window/titleband.h"

#include <QDir>
#include <QGuiApplication>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWindow>

namespace {

// Defaults over a settings file of the test's own.
UserDefaults defaultsIn(const QTemporaryDir &folder, const QStringList &arguments = {QStringLiteral("store")})
{
    return UserDefaults(
        arguments, std::make_shared<QSettings>(folder.filePath(QStringLiteral("settings.ini")), QSettings::IniFormat));
}

QColor page(const StorePalette &palette)
{
    return palette.value(QStringLiteral("page")).value<QColor>();
}

} // namespace

class WindowShellTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // What the window shows for a stored choice and the desktop's preference.
    void appearanceFollowsTheChoiceThenTheDesktop_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("desktopDark");
        QTest::addColumn<QString>("reads");
        QTest::addColumn<bool>("dark");
        QTest::newRow("nothing stored, desktop light") << QString() << false << "system" << false;
        QTest::newRow("nothing stored, desktop dark") << QString() << true << "system" << true;
        QTest::newRow("unknown value, desktop dark") << "sepia" << true << "system" << true;
        QTest::newRow("light over a dark desktop") << "light" << true << "light" << false;
        QTest::newRow("dark over a light desktop") << "dark" << false << "dark" << true;
    }

    void appearanceFollowsTheChoiceThenTheDesktop()
    {
        QFETCH(QString, stored);
        QFETCH(bool, desktopDark);
        QFETCH(QString, reads);
        QFETCH(bool, dark);
        QTemporaryDir folder;
        UserDefaults defaults = defaultsIn(folder);
        if (!stored.isEmpty())
            defaults.setString(QStringLiteral("appearance"), stored);
        StorePalette palette(nullptr);
        AppearanceSetting setting(defaults, &palette);
        setting.setSystemPrefersDark(desktopDark);
        QCOMPARE(setting.appearance(), reads);
        QCOMPARE(setting.isDark(), dark);
        QCOMPARE(palette.isDark(), dark);
        QCOMPARE(page(palette), dark ? QColor(0x0D0C11) : QColor(0xF6F5F2));
    }

    // A choice is stored and repaints at once; choosing what is in effect changes nothing.
    void choosingStoresAndRecoloursAtOnce()
    {
        QTemporaryDir folder;
        StorePalette palette(nullptr);
        AppearanceSetting setting(defaultsIn(folder), &palette);
        QSignalSpy darkened(&setting, &AppearanceSetting::darkChanged);
        QSignalSpy pageChanged(&palette, &QQmlPropertyMap::valueChanged);
        setting.setAppearance(QStringLiteral("dark"));
        QCOMPARE(darkened.count(), 1);
        QCOMPARE(page(palette), QColor(0x0D0C11));
        QCOMPARE(defaultsIn(folder).string(QStringLiteral("appearance")), QStringLiteral("dark"));
        // Under "dark" the desktop's preference does not matter.
        setting.setSystemPrefersDark(false);
        setting.setAppearance(QStringLiteral("dark"));
        QCOMPARE(darkened.count(), 1);
        setting.setAppearance(QStringLiteral("nonsense"));
        QCOMPARE(setting.appearance(), QStringLiteral("system"));
        QCOMPARE(defaultsIn(folder).string(QStringLiteral("appearance")), QStringLiteral("system"));
        QVERIFY(!palette.isDark());
    }

    void resourceBundleIsFoundWhereTheStoreLooks()
    {
        QTemporaryDir root;
        const QString app = root.filePath(QStringLiteral("Tessel Store.app"));
        const QString resources = app + QStringLiteral("/Contents/Resources");
        const QString build = root.filePath(QStringLiteral("build"));
        const QString inside = resources + u'/' + StoreResources::bundleName;
        const QString beside = app + u'/' + StoreResources::bundleName;
        const QString built = build + u'/' + StoreResources::bundleName;
        QCOMPARE(StoreResources::locate(app, resources, build), std::nullopt);
        QVERIFY(QDir().mkpath(built));
        QCOMPARE(StoreResources::locate(app, resources, build), built);
        QVERIFY(QDir().mkpath(beside));
        QCOMPARE(StoreResources::locate(app, resources, build), beside);
        QVERIFY(QDir().mkpath(inside));
        QCOMPARE(StoreResources::locate(app, resources, build), inside);
        // Without a resources folder only the bundle's own folder and the build count.
        QCOMPARE(StoreResources::locate(app, std::nullopt, build), beside);
    }

    void rightToLeftComesFromTheFirstLocalisationTheUserPrefers_data()
    {
        QTest::addColumn<QStringList>("available");
        QTest::addColumn<QStringList>("preferred");
        QTest::addColumn<QStringList>("localizations");
        QTest::addColumn<bool>("rightToLeft");
        QTest::newRow("no preference") << QStringList() << QStringList() << QStringList{"en"} << false;
        QTest::newRow("Arabic with a region")
            << QStringList{"ar"} << QStringList{"ar-EG", "en"} << QStringList{"ar", "en"} << true;
        QTest::newRow("Arabic not shipped")
            << QStringList{"de"} << QStringList{"ar", "de"} << QStringList{"de"} << false;
        QTest::newRow("Hebrew second") << QStringList{"he"} << QStringList{"en", "he"} << QStringList{"en", "he"}
                                       << false;
    }

    void rightToLeftComesFromTheFirstLocalisationTheUserPrefers()
    {
        QFETCH(QStringList, available);
        QFETCH(QStringList, preferred);
        QFETCH(QStringList, localizations);
        QFETCH(bool, rightToLeft);
        QCOMPARE(StoreResources::preferredLocalizations(available, preferred), localizations);
        QCOMPARE(StoreResources::isRightToLeft(localizations), rightToLeft);
    }

    // The group's outer edge sits 26 points in from the side the close button belongs on.
    void windowButtonsSitOnTheCloseButtonsSide_data()
    {
        QTest::addColumn<bool>("rightToLeft");
        QTest::addColumn<bool>("closeLeading");
        QTest::addColumn<QList<qreal>>("xs"); // close, minimise, zoom
        QTest::newRow("left to right, close leading") << false << true << QList<qreal>{26, 46, 66};
        QTest::newRow("left to right, close trailing") << false << false << QList<qreal>{1140, 1120, 1100};
        QTest::newRow("right to left, close leading") << true << true << QList<qreal>{1140, 1120, 1100};
        QTest::newRow("right to left, close trailing") << true << false << QList<qreal>{26, 46, 66};
    }

    void windowButtonsSitOnTheCloseButtonsSide()
    {
        QFETCH(bool, rightToLeft);
        QFETCH(bool, closeLeading);
        QFETCH(QList<qreal>, xs);
        TitleBand band;
        band.setProperty("rightToLeft", rightToLeft);
        band.setProperty("closeButtonLeading", closeLeading);
        const QList<QPointF> origins = band.buttonOrigins(1180);
        QCOMPARE(origins.size(), 3);
        for (int index = 0; index < 3; ++index)
            QCOMPARE(origins[index], QPointF(xs[index], 18));
    }

    // Main windows are found by the prefix of their name; others never count or close.
    void showKeepsTheFirstMainWindowAndAsksForTheSection()
    {
        StoreWindow store(nullptr);
        int opened = 0;
        store.open = [&opened] { ++opened; };
        QSignalSpy sections(&store, &StoreWindow::showSectionRequested);
        store.show(StoreSection::Updates);
        QCOMPARE(opened, 1);
        QCOMPARE(sections.takeFirst().first().toString(), QStringLiteral("updates"));

        QWindow first;
        first.setObjectName(QStringLiteral("main"));
        QWindow second;
        second.setObjectName(QStringLiteral("main-2"));
        QWindow dialog;
        dialog.setObjectName(QStringLiteral("updater"));
        dialog.show();
        QVERIFY(!store.isVisible());
        first.show();
        second.show();
        QVERIFY(store.isVisible());
        // The one kept is the first the application lists.
        QWindow *kept = nullptr;
        for (QWindow *window : QGuiApplication::allWindows()) {
            if (!kept && StoreWindow::isMainWindow(window))
                kept = window;
        }
        QWindow *closed = kept == &first ? &second : &first;
        store.show();
        QCOMPARE(opened, 1);
        QVERIFY(sections.isEmpty());
        QVERIFY(kept->isVisible());
        QVERIFY(!closed->isVisible());
        QVERIFY(dialog.isVisible());
        kept->showMinimized();
        store.show();
        QCOMPARE(kept->visibility(), QWindow::Windowed);
    }
};

QTEST_MAIN(WindowShellTest)
#include "tst_windowshell.moc"
