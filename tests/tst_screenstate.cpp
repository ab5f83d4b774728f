#include "presentation/herocarouselstate.h"
#include "presentation/relativedate.h"
#include "presentation/screenshotviewerstate.h"
#include "shell/adaptivegrid.h"
#include "shell/storetheme.h"

#include <QSignalSpy>
#include <QTest>

// The states the screens bind to that need no model: the viewer, the carousel, the layout
// sizes and the relative dates.
class ScreenStateTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void viewerMovesWithinTheShots_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("opened");
        QTest::addColumn<int>("nexts");      // presses of the right arrow
        QTest::addColumn<int>("previouses"); // then presses of the left arrow
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("counter");
        QTest::addColumn<bool>("canGoBack");
        QTest::addColumn<bool>("canGoForward");

        QTest::newRow("first of three") << 3 << 0 << 0 << 0 << 0 << "1 / 3" << false << true;
        QTest::newRow("next twice reaches the last") << 3 << 0 << 2 << 0 << 2 << "3 / 3" << true << false;
        QTest::newRow("next stops at the last") << 3 << 0 << 5 << 0 << 2 << "3 / 3" << true << false;
        QTest::newRow("previous stops at the first") << 3 << 1 << 0 << 4 << 0 << "1 / 3" << false << true;
        QTest::newRow("in the middle") << 5 << 1 << 1 << 0 << 2 << "3 / 5" << true << true;
        QTest::newRow("one shot hides both arrows") << 1 << 0 << 1 << 1 << 0 << "1 / 1" << false << false;
        QTest::newRow("opening past the end does nothing") << 3 << 3 << 1 << 0 << -1 << "" << false << false;
        QTest::newRow("opening before the start does nothing") << 3 << -1 << 0 << 1 << -1 << "" << false << false;
    }

    void viewerMovesWithinTheShots()
    {
        QFETCH(int, count);
        QFETCH(int, opened);
        QFETCH(int, nexts);
        QFETCH(int, previouses);
        QFETCH(int, index);
        QFETCH(QString, counter);
        QFETCH(bool, canGoBack);
        QFETCH(bool, canGoForward);
        ScreenshotViewerState viewer;
        viewer.setCount(count);
        QCOMPARE(viewer.isOpen(), false);
        viewer.open(opened);
        for (int i = 0; i < nexts; ++i)
            viewer.next();
        for (int i = 0; i < previouses; ++i)
            viewer.previous();
        QCOMPARE(viewer.index(), index);
        QCOMPARE(viewer.isOpen(), index >= 0);
        QCOMPARE(viewer.counterText(), counter);
        QCOMPARE(viewer.canGoBack(), canGoBack);
        QCOMPARE(viewer.canGoForward(), canGoForward);
    }

    void viewerClosesWhenItsShotGoes()
    {
        ScreenshotViewerState viewer;
        QSignalSpy view(&viewer, &ScreenshotViewerState::viewChanged);
        viewer.setCount(3);
        viewer.open(2);
        viewer.setCount(4);
        QCOMPARE(viewer.index(), 2);
        QVERIFY(viewer.canGoForward()); // the new last shot can be reached
        view.clear();
        viewer.setCount(2);
        QCOMPARE(viewer.index(), -1);
        QCOMPARE(view.count(), 1);
        viewer.next(); // closed: the arrows do nothing
        QCOMPARE(viewer.index(), -1);
        viewer.open(1);
        viewer.close();
        QVERIFY(!viewer.isOpen());
    }

    void carouselSteps_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("selected"); // a pager click before the steps, or -1
        QTest::addColumn<bool>("hovering");
        QTest::addColumn<int>("steps");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("indexChanges");

        QTest::newRow("advances") << 5 << -1 << false << 2 << 2 << 2;
        QTest::newRow("wraps from the fifth to the first") << 5 << 4 << false << 1 << 0 << 2;
        QTest::newRow("paused while hovered") << 5 << -1 << true << 3 << 0 << 0;
        QTest::newRow("a single app never moves") << 1 << -1 << false << 4 << 0 << 0;
        QTest::newRow("no apps") << 0 << -1 << false << 2 << 0 << 0;
        QTest::newRow("a pager position past the apps is ignored") << 3 << 3 << false << 0 << 0 << 0;
    }

    void carouselSteps()
    {
        QFETCH(int, count);
        QFETCH(int, selected);
        QFETCH(bool, hovering);
        QFETCH(int, steps);
        QFETCH(int, index);
        QFETCH(int, indexChanges);
        HeroCarouselState carousel;
        carousel.setCount(count);
        QSignalSpy changes(&carousel, &HeroCarouselState::indexChanged);
        carousel.select(selected);
        carousel.setHovering(hovering);
        for (int i = 0; i < steps; ++i)
            carousel.advance();
        QCOMPARE(carousel.index(), index);
        QCOMPARE(changes.count(), indexChanges);
        QCOMPARE(carousel.showsPager(), count >= 2);
    }

    void carouselKeepsItsPlaceAsTheAppsChange()
    {
        HeroCarouselState carousel;
        carousel.setCount(5);
        carousel.select(3);
        QSignalSpy changes(&carousel, &HeroCarouselState::indexChanged);
        carousel.setCount(2); // 3 mod 2
        QCOMPARE(carousel.index(), 1);
        carousel.setCount(0);
        QCOMPARE(carousel.index(), 0);
        carousel.setCount(5); // back to the chosen one
        QCOMPARE(carousel.index(), 3);
        QCOMPARE(changes.count(), 3);
        carousel.setHovering(true);
        carousel.advance();
        carousel.setHovering(false);
        carousel.advance();
        QCOMPARE(carousel.index(), 4);
    }

    void sidebarWidthFollowsTheWindow_data()
    {
        QTest::addColumn<double>("windowWidth");
        QTest::addColumn<double>("sidebarWidth");
        QTest::newRow("narrow window") << 900.0 << 232.0;
        QTest::newRow("scale 1") << 1180.0 << 232.0;
        QTest::newRow("halfway") << 1368.0 << 244.0;
        QTest::newRow("scale 1.4") << 1556.0 << 256.0;
        QTest::newRow("wider still") << 2400.0 << 256.0;
    }

    void sidebarWidthFollowsTheWindow()
    {
        QFETCH(double, windowWidth);
        QFETCH(double, sidebarWidth);
        QCOMPARE(StoreTheme::sidebarWidth(StoreTheme::scale(windowWidth)), sidebarWidth);
    }

    void gridColumns_data()
    {
        QTest::addColumn<double>("scale");
        QTest::addColumn<double>("width");
        QTest::addColumn<int>("columns");
        QTest::addColumn<double>("cellWidth");
        // Columns from 248 × s to 420 × s, 24 × s apart.
        QTest::newRow("1: narrower than one column") << 1.0 << 200.0 << 1 << 200.0;
        QTest::newRow("1: exactly one") << 1.0 << 248.0 << 1 << 248.0;
        QTest::newRow("1: one, capped at the maximum") << 1.0 << 500.0 << 1 << 420.0;
        QTest::newRow("1: exactly two") << 1.0 << 520.0 << 2 << 248.0;
        QTest::newRow("1: two widened") << 1.0 << 700.0 << 2 << 338.0;
        QTest::newRow("1: three") << 1.0 << 1000.0 << 3 << (1000.0 - 48) / 3;
        QTest::newRow("1.4: one, capped at the maximum") << 1.4 << 700.0 << 1 << 588.0;
        QTest::newRow("1.4: exactly two") << 1.4 << 728.0 << 2 << 347.2;
        QTest::newRow("1.4: two widened") << 1.4 << 1000.0 << 2 << 483.2;
        QTest::newRow("1.4: three") << 1.4 << 1200.0 << 3 << 377.6;
    }

    void gridColumns()
    {
        QFETCH(double, scale);
        QFETCH(double, width);
        QFETCH(int, columns);
        QFETCH(double, cellWidth);
        const AdaptiveGrid::Layout layout = AdaptiveGrid::layout(width, 248 * scale, 420 * scale, 24 * scale);
        QCOMPARE(layout.columns, columns);
        QCOMPARE(layout.cellWidth, cellWidth);
        // The cells and their gaps never overflow the width they were given.
        QVERIFY(layout.columns * layout.cellWidth + (layout.columns - 1) * 24 * scale <= width + 1e-6);
    }

    void gridWithoutSizesYetStaysBounded()
    {
        QCOMPARE(AdaptiveGrid::layout(800, 0, 0, 0).columns, 1000);
        QCOMPARE(AdaptiveGrid::layout(0, 248, 420, 24), (AdaptiveGrid::Layout{1, 0}));
        QCOMPARE(AdaptiveGrid::layout(-10, 248, 420, 24), (AdaptiveGrid::Layout{1, 0}));
    }

    void relativeDates_data()
    {
        QTest::addColumn<qint64>("secondsAgo");
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("text");
        constexpr qint64 minute = 60, hour = 3600, day = 86400;
        QTest::newRow("just now") << qint64(0) << "en"
                                  << "now";
        QTest::newRow("seconds") << qint64(42) << "en"
                                 << "42 seconds ago";
        QTest::newRow("one minute") << minute << "en"
                                    << "1 minute ago";
        QTest::newRow("five minutes") << 5 * minute + 59 << "en"
                                      << "5 minutes ago";
        QTest::newRow("hours") << 3 * hour << "en"
                               << "3 hours ago";
        QTest::newRow("yesterday") << day + 2 * hour << "en"
                                   << "yesterday";
        QTest::newRow("days") << 3 * day << "en"
                              << "3 days ago";
        QTest::newRow("last week") << 8 * day << "en"
                                   << "last week";
        QTest::newRow("weeks") << 22 * day << "en"
                               << "3 weeks ago";
        QTest::newRow("months") << 65 * day << "en"
                                << "2 months ago";
        QTest::newRow("years") << 800 * day << "en"
                               << "2 years ago";
        QTest::newRow("a clock set back reads as now") << -5 * minute << "en"
                                                       << "now";
        QTest::newRow("German minutes") << 5 * minute << "de"
                                        << "vor 5 Minuten";
        QTest::newRow("German yesterday") << day << "de"
                                          << "gestern";
        QTest::newRow("a region after the language") << 5 * minute << "pt-BR"
                                                     << "há 5 minutos";
        QTest::newRow("QLocale's spelling of a region") << 5 * minute << "pt_BR"
                                                        << "há 5 minutos";
    }

    void relativeDates()
    {
        QFETCH(qint64, secondsAgo);
        QFETCH(QString, language);
        QFETCH(QString, text);
        const QDateTime now(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC);
        QCOMPARE(RelativeDate::describe(now.addSecs(-secondsAgo), now, language), text);
    }
};

QTEST_GUILESS_MAIN(ScreenStateTest)
#include "tst_screenstate.moc"
