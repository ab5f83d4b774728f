#include "app/theme/theme.h"

#include "app/images/imagebounds.h"
#include "app/theme/icons.h"
#include "shell/adaptivegrid.h"
#include "shell/storetheme.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QQuickStyle>
#include <QScreen>
#include <QTextBoundaryFinder>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// The embedded fonts, in the theme module's resources.
const QStringList fontFiles{
    QStringLiteral(":/fonts/Inter-Regular.otf"),          QStringLiteral(":/fonts/Inter-Medium.otf"),
    QStringLiteral(":/fonts/Inter-SemiBold.otf"),         QStringLiteral(":/fonts/Inter-Bold.otf"),
    QStringLiteral(":/fonts/NotoSansArabic-Regular.ttf"), QStringLiteral(":/fonts/NotoSansArabic-Bold.ttf"),
    QStringLiteral(":/fonts/MaterialIcons-Regular.ttf"),
};

// SpringAnimation's step, fixed by Qt.
constexpr double stepSeconds = 0.016;

} // namespace

QString Theme::fontFamily() const
{
    return QStringLiteral("Inter");
}

QString Theme::iconFamily() const
{
    return Icons::family;
}

QString Theme::icon(const QString &symbol) const
{
    return Icons::glyph(symbol);
}

bool Theme::mirrors(const QString &symbol) const
{
    return Icons::mirrors(symbol);
}

double Theme::scale(double windowWidth) const
{
    return StoreTheme::scale(windowWidth);
}

double Theme::titleScale(double scale) const
{
    return StoreTheme::titleScale(scale);
}

QPointF Theme::spring(double response, double dampingFraction) const
{
    // The discrete spring that follows the analytic one of that response and damping.
    const double w0 = 2 * std::numbers::pi / response;
    const double wd = w0 * std::sqrt(1 - dampingFraction * dampingFraction);
    const double damping = 1 - std::exp(-2 * dampingFraction * w0 * stepSeconds);
    const double spring =
        (2 - damping - 2 * std::exp(-dampingFraction * w0 * stepSeconds) * std::cos(wd * stepSeconds)) / stepSeconds;
    return {spring, damping};
}

qreal Theme::pt(qreal designPoints) const
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const qreal dotsPerInch = screen ? screen->logicalDotsPerInchY() : 96;
    return designPoints * 72 / dotsPerInch;
}

QColor Theme::brightness(const QColor &color, double amount) const
{
    const auto moved = [amount](float channel) { return std::clamp(channel + float(amount), 0.0f, 1.0f); };
    return QColor::fromRgbF(moved(color.redF()), moved(color.greenF()), moved(color.blueF()), color.alphaF());
}

qreal Theme::sidebarWidth(qreal scale) const
{
    return StoreTheme::sidebarWidth(scale);
}

namespace {

AdaptiveGrid::Layout exploreGrid(qreal width, qreal scale)
{
    return AdaptiveGrid::layout(width, 248 * scale, 420 * scale, 24 * scale);
}

} // namespace

int Theme::iconPixels(double points) const
{
    return ImageBounds::icon(points * qApp->devicePixelRatio());
}

int Theme::gridColumns(qreal width, qreal scale) const
{
    return exploreGrid(width, scale).columns;
}

qreal Theme::gridCellWidth(qreal width, qreal scale) const
{
    return exploreGrid(width, scale).cellWidth;
}

QString Theme::initial(const QString &name) const
{
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, name);
    const qsizetype end = graphemes.toNextBoundary();
    return end > 0 ? name.left(end) : QString();
}

void Theme::prepareApplication()
{
    for (const QString &file : fontFiles) {
        if (QFontDatabase::addApplicationFont(file) < 0)
            qWarning("the embedded font %s could not be loaded", qPrintable(file));
    }
    QQuickStyle::setStyle(QStringLiteral("TesselStore.Style"));
}
