#include "app/window/windowshot.h"

#include <QCoreApplication>
#include <QImage>
#include <QQuickWindow>
#include <QTimer>

namespace {

// Long enough for fonts, images and springs at rest to have drawn.
constexpr std::chrono::milliseconds settling{700};

} // namespace

WindowShot WindowShot::fromArguments(const QStringList &arguments)
{
    WindowShot shot;
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QString &argument = arguments[index];
        const bool hasValue = index + 1 < arguments.size();
        if (argument == QLatin1String("--screenshot") && hasValue)
            shot.path = arguments[++index];
        else if (argument == QLatin1String("--width") && hasValue)
            shot.width = arguments[++index].toInt();
        else if (argument == QLatin1String("--dark"))
            shot.dark = true;
        else if (argument == QLatin1String("--right-to-left"))
            shot.rightToLeft = true;
    }
    return shot;
}

void WindowShot::arrange(QQuickWindow *window) const
{
    if (width)
        window->setWidth(*width);
    if (!path)
        return;
    QTimer::singleShot(settling, window, [window, path = *path] {
        const QImage picture = window->grabWindow();
        const bool saved = !picture.isNull() && picture.save(path, "PNG");
        if (!saved)
            qWarning("could not write %s", qPrintable(path));
        QCoreApplication::exit(saved ? 0 : 1);
    });
}
