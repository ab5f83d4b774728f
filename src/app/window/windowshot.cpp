#include "app/window/windowshot.h"

#include "app/window/storewindow.h"

#include <QCoreApplication>
#include <QImage>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>

namespace {

// Long enough for fonts, images and springs at rest to have drawn.
constexpr std::chrono::milliseconds settling{700};
// How often to look whether the content is ready, and how long to wait for it at most.
constexpr std::chrono::milliseconds polling{50};
constexpr int pollsAtMost = 200;

// The first object of that name in the window's visual tree, where repeaters put their items.
QObject *findNamed(QQuickItem *item, const QString &name)
{
    if (item->objectName() == name)
        return item;
    if (QObject *found = item->findChild<QObject *>(name))
        return found;
    for (QQuickItem *child : item->childItems()) {
        if (QObject *found = findNamed(child, name))
            return found;
    }
    return nullptr;
}

void save(QQuickWindow *window, const QString &path)
{
    const QImage picture = window->grabWindow();
    const bool saved = !picture.isNull() && picture.save(path, "PNG");
    if (!saved)
        qWarning("could not write %s", qPrintable(path));
    QCoreApplication::exit(saved ? 0 : 1);
}

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
        else if (argument == QLatin1String("--height") && hasValue)
            shot.height = arguments[++index].toInt();
        else if (argument == QLatin1String("--dark"))
            shot.dark = true;
        else if (argument == QLatin1String("--right-to-left"))
            shot.rightToLeft = true;
        else if (argument == QLatin1String("--search") && hasValue)
            shot.search = arguments[++index];
        else if (argument == QLatin1String("--viewer") && hasValue)
            shot.viewer = arguments[++index].toInt();
        else if (argument == QLatin1String("--update-window"))
            shot.updateWindow = true;
    }
    return shot;
}

bool WindowShot::pictures(const QQuickWindow *window) const
{
    // The update window is the one that is not a main window.
    return StoreWindow::isMainWindow(window) != updateWindow;
}

void WindowShot::arrange(QQuickWindow *window, std::function<bool()> ready) const
{
    if (width)
        window->setWidth(*width);
    if (height)
        window->setHeight(*height);
    if (!path)
        return;
    auto *poll = new QTimer(window);
    poll->setInterval(polling);
    QObject::connect(poll, &QTimer::timeout, window, [window, poll, ready, shot = *this, polls = 0]() mutable {
        if (!ready() && ++polls < pollsAtMost)
            return;
        QQuickItem *content = window->contentItem();
        QObject *field = shot.search ? findNamed(content, QStringLiteral("search")) : nullptr;
        QObject *viewer = shot.viewer ? findNamed(content, QStringLiteral("viewerState")) : nullptr;
        // What the options ask for may appear a little after the data (a page opening).
        if ((shot.search && !field) || (shot.viewer && !viewer)) {
            if (++polls < pollsAtMost)
                return;
        }
        poll->stop();
        if (field)
            field->setProperty("text", *shot.search);
        if (viewer)
            QMetaObject::invokeMethod(viewer, "open", Q_ARG(int, *shot.viewer));
        QTimer::singleShot(settling, window, [window, path = *shot.path] { save(window, path); });
    });
    poll->start();
}
