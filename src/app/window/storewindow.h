#pragma once

#include "app/theme/providedsingleton.h"
#include "shell/storesection.h"

#include <QQmlEngine>
#include <functional>
#include <optional>

class QWindow;

// The main window as the rest of the program reaches it: whether one is visible, and
// bringing it (or a new one) forward on a section. Main windows are those whose object name
// begins with "main"; other windows never count.
class StoreWindow : public QObject, public ProvidedSingleton<StoreWindow>
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

public:
    // No default: QML would construct its own instance instead of taking the provided one.
    explicit StoreWindow(QObject *parent) : QObject(parent) {}

    // Opens a new main window; set by whoever loads the window's content.
    std::function<void()> open;

    static bool isMainWindow(const QWindow *window);
    bool isVisible() const;

    // Keeps the first main window, closes the others, deminimises and raises it (or opens a
    // new one), activates it, and asks the content to show the section when one is given.
    void show(std::optional<StoreSection> section = std::nullopt);

Q_SIGNALS:
    // The raw value of the section the content should show.
    void showSectionRequested(const QString &section);
    // The product identifier of the app whose page the content should open.
    void openAppRequested(const QString &productID);
};
