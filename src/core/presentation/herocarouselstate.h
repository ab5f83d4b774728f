#pragma once

#include <QObject>

// The Explore page's hero carousel: which app it shows, whether the pager is drawn, and the
// step its timer takes every interval (skipped while the pointer is over it).
class HeroCarouselState : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int count READ count WRITE setCount NOTIFY countChanged)
    Q_PROPERTY(int index READ index NOTIFY indexChanged)
    Q_PROPERTY(bool hovering READ hovering WRITE setHovering NOTIFY hoveringChanged)
    Q_PROPERTY(bool showsPager READ showsPager NOTIFY countChanged)
    Q_PROPERTY(int interval READ interval CONSTANT)

public:
    explicit HeroCarouselState(QObject *parent = nullptr);

    int count() const { return m_count; }
    void setCount(int count);
    // The current app's position: the chosen one wrapped into the apps there are, 0 without apps.
    int index() const { return m_count > 0 ? m_chosen % m_count : 0; }
    bool hovering() const { return m_hovering; }
    void setHovering(bool hovering);
    bool showsPager() const { return m_count >= 2; }
    // Milliseconds between two steps of the timer.
    int interval() const { return 6000; }

    // The timer's step: the next app, the first after the last; nothing while hovered.
    Q_INVOKABLE void advance();
    // A pager button; positions outside the apps are ignored.
    Q_INVOKABLE void select(int index);

Q_SIGNALS:
    void countChanged();
    void indexChanged();
    void hoveringChanged();

private:
    void choose(int chosen);

    int m_count = 0;
    // Kept when the count changes, so that the current app follows as index() says.
    int m_chosen = 0;
    bool m_hovering = false;
};
