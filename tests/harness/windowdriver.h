#pragma once

#include <QString>

class QQuickItem;
class QQuickWindow;

// A person's hands on a window: finding its controls by their object names and clicking them.
namespace WindowDriver {

// The first item of that name in the visual tree under root, where repeaters put theirs.
QQuickItem *findItem(QQuickItem *root, const QString &name);

// Clicks the middle of the item as a pointer would; false when it is missing or hidden.
bool click(QQuickWindow *window, const QQuickItem *item);

} // namespace WindowDriver
