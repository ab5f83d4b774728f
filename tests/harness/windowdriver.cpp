#include "harness/windowdriver.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>
#include <algorithm>

namespace WindowDriver {

QQuickItem *findItem(QQuickItem *root, const QString &name)
{
    if (!root)
        return nullptr;
    if (root->objectName() == name)
        return root;
    for (QQuickItem *child : root->childItems()) {
        if (QQuickItem *found = findItem(child, name))
            return found;
    }
    return nullptr;
}

QQuickItem *findText(QQuickItem *root, const QString &text)
{
    if (!root || !root->isVisible())
        return nullptr;
    if (root->property("text").toString().contains(text))
        return root;
    for (QQuickItem *child : root->childItems()) {
        if (QQuickItem *found = findText(child, text))
            return found;
    }
    return nullptr;
}

void scrollIntoView(const QQuickItem *item)
{
    for (QQuickItem *view = item->parentItem(); view; view = view->parentItem()) {
        if (!view->inherits("QQuickFlickable"))
            continue;
        const auto *content = view->property("contentItem").value<QQuickItem *>();
        const qreal top = item->mapToItem(content, QPointF(0, 0)).y();
        const qreal bottom = top + item->height();
        const qreal shownTop = view->property("contentY").toReal();
        if (top >= shownTop && bottom <= shownTop + view->height())
            return;
        const qreal furthest = std::max<qreal>(0, view->property("contentHeight").toReal() - view->height());
        view->setProperty("contentY", std::clamp<qreal>(top - 40, 0, furthest));
        return;
    }
}

bool click(QQuickWindow *window, const QQuickItem *item)
{
    if (!item || !item->isVisible())
        return false;
    scrollIntoView(item);
    // A person clicks where the item has come to rest, not where a moving layout passes it.
    QPointF resting = item->mapToScene(QPointF());
    for (int settled = 0, polls = 0; settled < 3 && polls < 60; ++polls) {
        QTest::qWait(30);
        const QPointF now = item->mapToScene(QPointF());
        settled = now == resting ? settled + 1 : 0;
        resting = now;
    }
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window, Qt::LeftButton, {}, centre.toPoint());
    return true;
}

} // namespace WindowDriver
