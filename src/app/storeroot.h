#pragma once

#include <QObject>
#include <QVariantMap>
#include <memory>

class AppUpdater;
class AppearanceSetting;
class DesktopChrome;
class DesktopSettings;
class ImageLoader;
class QQmlApplicationEngine;
class StoreCommands;
class StoreData;
class StartAtLogin;
class StorePalette;
class StoreStatus;
class StoreWindow;

// The application's composition root: it makes or takes every process-wide object the window
// uses, hands them to QML as its singletons, and opens the main window.
class StoreRoot : public QObject
{
    Q_OBJECT

public:
    explicit StoreRoot(QQmlApplicationEngine *engine, QObject *parent = nullptr);
    ~StoreRoot() override;

    AppearanceSetting *appearance() const { return m_appearance.get(); }
    StoreCommands *commands() const { return m_commands.get(); }
    StoreWindow *window() const { return m_window.get(); }
    AppUpdater *updater() const { return m_updater.get(); }

    // Another launch asked for the window: shows it, on the section and app page it names.
    void activate(const QVariantMap &options);

    // Whether the store has finished what it started: the catalog, installed copies and feeds.
    bool isSettled() const;

    // Opens a main window on the store's content; every new window loads the store again. A
    // closed window is gone: the next one is new, at its default size.
    void openWindow();

    // The store without a window, as a session starts it: it loads all the same, for the tray.
    void startInBackground();

private:
    // The updater's window, made the first time it has something to show.
    void openUpdateWindow();

    QQmlApplicationEngine *m_engine;
    std::unique_ptr<StorePalette> m_palette;
    std::unique_ptr<AppearanceSetting> m_appearance;
    std::unique_ptr<StoreStatus> m_status;
    std::unique_ptr<AppUpdater> m_updater;
    std::unique_ptr<StoreCommands> m_commands;
    std::unique_ptr<StoreWindow> m_window;
    std::unique_ptr<DesktopChrome> m_desktop;
    std::unique_ptr<DesktopSettings> m_desktopSettings;
    std::unique_ptr<ImageLoader> m_images;
    std::unique_ptr<StoreData> m_data;
    std::unique_ptr<StartAtLogin> m_startAtLogin;
    bool m_updateWindowOpen = false;
};
