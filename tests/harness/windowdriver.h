#pragma once

#include <QString>

class QQuickItem;
class QQuickWindow;

// A person's hands on a window: finding its controls by their object names and clicking them.
namespace WindowDriver {

// The first item of that name in the visual tree under root, where repeaters put theirs.
QQuickItem *findItem(QQuickItem *root, const QString &name);

// The first shown item under root whose text contains this, as a person reads the window.
QQuickItem *findText(QQuickItem *root, const QString &text);

// Scrolls the view the item is in until the whole item shows, as a person would.
void scrollIntoView(const QQuickItem *item);

// Scrolls to the item, waits for it to come to rest and clicks its middle as a pointer would;
// false when it is missing or hidden.
bool click(QQuickWindow *window, const QQuickItem *item);

} // namespace WindowDriver
