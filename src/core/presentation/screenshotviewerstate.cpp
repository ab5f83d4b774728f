#include "presentation/screenshotviewerstate.h"

#include <algorithm>

ScreenshotViewerState::ScreenshotViewerState(QObject *parent) : QObject(parent) {}

void ScreenshotViewerState::setCount(int count)
{
    count = std::max(count, 0);
    if (count == m_count)
        return;
    m_count = count;
    Q_EMIT countChanged();
    // A shot that is gone cannot stay open; the arrows change with the count either way.
    if (m_index >= m_count)
        m_index = -1;
    Q_EMIT viewChanged();
}

QString ScreenshotViewerState::counterText() const
{
    return isOpen() ? tr("%1 / %2").arg(m_index + 1).arg(m_count) : QString();
}

void ScreenshotViewerState::open(int index)
{
    if (index >= 0 && index < m_count)
        setIndex(index);
}

void ScreenshotViewerState::close()
{
    setIndex(-1);
}

void ScreenshotViewerState::previous()
{
    if (canGoBack())
        setIndex(m_index - 1);
}

void ScreenshotViewerState::next()
{
    if (canGoForward())
        setIndex(m_index + 1);
}

void ScreenshotViewerState::setIndex(int index)
{
    if (index == m_index)
        return;
    m_index = index;
    Q_EMIT viewChanged();
}
