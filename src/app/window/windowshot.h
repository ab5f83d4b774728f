#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QQuickWindow;

// Rendering a window to a picture without a display, for the screenshots: the options a
// program takes for it, and the capture of the first frames.
struct WindowShot
{
    std::optional<QString> path;   // "--screenshot FILE": render, save as PNG, quit
    bool dark = false;             // "--dark"
    bool rightToLeft = false;      // "--right-to-left"
    std::optional<int> width;      // "--width N"
    std::optional<int> height;     // "--height N"
    std::optional<QString> search; // "--search TEXT": typed into the field named "search"
    std::optional<int> viewer;     // "--viewer N": the screenshot viewer opened on shot N
    bool updateWindow = false;     // "--update-window": the store's own update window, not the main one

    // Whether this window is the one to picture.
    bool pictures(const QQuickWindow *window) const;

    static WindowShot fromArguments(const QStringList &arguments);

    // Sizes the window, and when a path is given waits until the content is ready (its data
    // loaded), does what the options ask, saves the window once its frames have settled and
    // ends the program (exit status 1 when the picture could not be written).
    void arrange(
        QQuickWindow *window, std::function<bool()> ready = [] { return true; }) const;
};
