#include "app/window/storewindow.h"

#include <QGuiApplication>
#include <QWindow>

bool StoreWindow::isMainWindow(const QWindow *window)
{
    return window && window->objectName().startsWith(QLatin1String("main"));
}

bool StoreWindow::isVisible() const
{
    const QWindowList windows = QGuiApplication::allWindows();
    return std::any_of(windows.cbegin(), windows.cend(),
                       [](const QWindow *window) { return isMainWindow(window) && window->isVisible(); });
}

void StoreWindow::show(std::optional<StoreSection> section)
{
    QList<QWindow *> mains;
    for (QWindow *window : QGuiApplication::allWindows()) {
        if (isMainWindow(window))
            mains.append(window);
    }
    if (!mains.isEmpty()) {
        QWindow *first = mains.takeFirst();
        for (QWindow *other : std::as_const(mains))
            other->close();
        if (first->visibility() == QWindow::Minimized || !first->isVisible())
            first->showNormal();
        first->raise();
        first->requestActivate();
    } else if (open) {
        open();
    }
    if (section)
        Q_EMIT showSectionRequested(StoreSections::rawValue(*section));
}
