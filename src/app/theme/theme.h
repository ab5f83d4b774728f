#pragma once

#include <QColor>
#include <QPointF>
#include <QQmlEngine>
#include <QString>

// What the components share besides colours: the fonts, the symbols, the layout scale and
// the springs, each decided once here.
class Theme : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QString fontFamily READ fontFamily CONSTANT)
    Q_PROPERTY(QString iconFamily READ iconFamily CONSTANT)

public:
    using QObject::QObject;

    // The embedded UI font, registered with the font database.
    QString fontFamily() const;
    QString iconFamily() const;

    // The glyph that draws the system symbol, and whether it turns in right-to-left text.
    Q_INVOKABLE QString icon(const QString &symbol) const;
    Q_INVOKABLE bool mirrors(const QString &symbol) const;

    // The factor sizes grow by on wide windows, and the damped one of large titles.
    Q_INVOKABLE double scale(double windowWidth) const;
    Q_INVOKABLE double titleScale(double scale) const;

    // The pixel bound an icon this many points wide is decoded to, on this display.
    Q_INVOKABLE int iconPixels(double points) const;

    // A spring given by its response (seconds) and damping fraction, as SpringAnimation's
    // spring (x) and damping (y) for its 16 ms steps.
    Q_INVOKABLE QPointF spring(double response, double dampingFraction) const;

    // A type size the design gives in points, where a point is one device-independent pixel
    // as on the desktop it was drawn for, as the point size Qt maps to that many pixels here.
    Q_INVOKABLE qreal pt(qreal designPoints) const;

    // The sidebar's width at a scale, and the Explore grid's columns and their width in a
    // container this wide.
    Q_INVOKABLE qreal sidebarWidth(qreal scale) const;
    Q_INVOKABLE int gridColumns(qreal width, qreal scale) const;
    Q_INVOKABLE qreal gridCellWidth(qreal width, qreal scale) const;

    // The letter a placeholder shows for a name: its first character as a reader sees it
    // (a whole grapheme), nothing for an empty name.
    Q_INVOKABLE QString initial(const QString &name) const;

    // The colour with every channel moved by the amount (−0.06 darkens a pressed fill).
    Q_INVOKABLE QColor brightness(const QColor &color, double amount) const;

    // Before any window: registers the embedded fonts and selects the store's control style.
    static void prepareApplication();
};
