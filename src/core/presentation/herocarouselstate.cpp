#include "presentation/herocarouselstate.h"

#include <algorithm>

HeroCarouselState::HeroCarouselState(QObject *parent) : QObject(parent) {}

void HeroCarouselState::setCount(int count)
{
    count = std::max(count, 0);
    if (count == m_count)
        return;
    const int before = index();
    m_count = count;
    Q_EMIT countChanged();
    if (index() != before)
        Q_EMIT indexChanged();
}

void HeroCarouselState::setHovering(bool hovering)
{
    if (hovering == m_hovering)
        return;
    m_hovering = hovering;
    Q_EMIT hoveringChanged();
}

void HeroCarouselState::advance()
{
    if (m_hovering || m_count == 0)
        return;
    choose((index() + 1) % m_count);
}

void HeroCarouselState::select(int index)
{
    if (index >= 0 && index < m_count)
        choose(index);
}

void HeroCarouselState::choose(int chosen)
{
    const int before = index();
    m_chosen = chosen;
    if (index() != before)
        Q_EMIT indexChanged();
}
