#include "app/window/titleband.h"

#include "platform/userdefaults.h"

TitleBand::TitleBand(QObject *parent) : QObject(parent) {}

void TitleBand::setWindow(QQuickWindow *window)
{
    if (m_window == window)
        return;
    m_window = window;
    Q_EMIT geometryInputsChanged();
}

bool TitleBand::buttonsOnRight() const
{
    return m_rightToLeft == m_closeButtonLeading;
}

QList<QPointF> TitleBand::buttonOrigins(qreal barWidth) const
{
    // The group as the layout expects it: close, minimise, zoom from the outer edge.
    QList<QRectF> frames;
    const bool right = buttonsOnRight();
    for (int index = 0; index < 3; ++index) {
        const int fromLeft = right ? 2 - index : index;
        frames.append(QRectF(fromLeft * (buttonSize + buttonSpacing), 0, buttonSize, buttonSize));
    }
    // The layout's origins are measured from the bottom of the band; ours from its top,
    // which for a centred button is the same.
    return TitlebarLayout::lightOrigins(frames, barWidth, right);
}

TitleBand::Action TitleBand::doubleClickAction() const
{
    return Action(TitleBarActions::current(UserDefaults::standard(), TitleBarAction(m_desktopDoubleClick)));
}

void TitleBand::doubleClicked()
{
    switch (doubleClickAction()) {
    case Action::Zoom:
        toggleZoom();
        break;
    case Action::Minimize:
        minimize();
        break;
    case Action::None:
        break;
    }
}

void TitleBand::startMove()
{
    if (m_window)
        m_window->startSystemMove();
}

void TitleBand::startResize(int edges)
{
    if (m_window)
        m_window->startSystemResize(Qt::Edges(edges));
}

void TitleBand::minimize()
{
    if (m_window)
        m_window->showMinimized();
}

void TitleBand::toggleZoom()
{
    if (!m_window || m_window->visibility() == QWindow::FullScreen)
        return;
    if (m_window->visibility() == QWindow::Maximized)
        m_window->showNormal();
    else
        m_window->showMaximized();
}

void TitleBand::close()
{
    if (m_window)
        m_window->close();
}
