#include "harness/windowdriver.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

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

bool click(QQuickWindow *window, const QQuickItem *item)
{
    if (!item || !item->isVisible())
        return false;
    const QPointF centre = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    QTest::mouseClick(window, Qt::LeftButton, {}, centre.toPoint());
    return true;
}

} // namespace WindowDriver
