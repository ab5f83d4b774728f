#include "platform/userdefaults.h"
#include "shell/titlebarlayout.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

using OptionalRect = std::optional<QRectF>;

class TitleBarTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void containerFrame_data()
    {
        QTest::addColumn<QRectF>("current");
        QTest::addColumn<qreal>("superviewHeight");
        QTest::addColumn<OptionalRect>("expected");

        QTest::newRow("too short, too low")
            << QRectF(0, 672, 1000, 28) << qreal(700) << OptionalRect(QRectF(0, 650, 1000, 50));
        QTest::newRow("close enough") << QRectF(0, 650.2, 1000, 50.3) << qreal(700) << OptionalRect();
        QTest::newRow("height off by more than half")
            << QRectF(5, 650, 800, 50.6) << qreal(700) << OptionalRect(QRectF(5, 650, 800, 50));
        QTest::newRow("position off by more than half")
            << QRectF(0, 649.4, 800, 50) << qreal(700) << OptionalRect(QRectF(0, 650, 800, 50));
    }

    void containerFrame()
    {
        QFETCH(QRectF, current);
        QFETCH(qreal, superviewHeight);
        QFETCH(OptionalRect, expected);
        QCOMPARE(TitlebarLayout::containerFrame(current, superviewHeight), expected);
    }

    void lightOrigins_data()
    {
        QTest::addColumn<QList<QRectF>>("frames");
        QTest::addColumn<qreal>("barWidth");
        QTest::addColumn<bool>("rightToLeft");
        QTest::addColumn<QList<QPointF>>("origins");

        const QList<QRectF> lights{QRectF(7, 3, 14, 16), QRectF(27, 3, 14, 16), QRectF(47, 3, 14, 16)};
        QTest::newRow("left to right") << lights << qreal(1180) << false
                                       << QList<QPointF>{QPointF(26, 17), QPointF(46, 17), QPointF(66, 17)};
        QTest::newRow("right to left") << lights << qreal(1180) << true
                                       << QList<QPointF>{QPointF(1100, 17), QPointF(1120, 17), QPointF(1140, 17)};
        QTest::newRow("none") << QList<QRectF>{} << qreal(1180) << false << QList<QPointF>{};
        // Halves round away from zero, on both sides of it.
        QTest::newRow("halves") << QList<QRectF>{QRectF(0, 0, 14, 15)} << qreal(40.5) << true
                                << QList<QPointF>{QPointF(1, 18)};
        QTest::newRow("negative half") << QList<QRectF>{QRectF(10, 0, 14, 15)} << qreal(37.5) << true
                                       << QList<QPointF>{QPointF(-3, 18)};
        QTest::newRow("spacing kept, halves up")
            << QList<QRectF>{QRectF(3, 0, 14, 16), QRectF(23.5, 0, 14, 16)} << qreal(0) << false
            << QList<QPointF>{QPointF(26, 17), QPointF(47, 17)};
    }

    void lightOrigins()
    {
        QFETCH(QList<QRectF>, frames);
        QFETCH(qreal, barWidth);
        QFETCH(bool, rightToLeft);
        QFETCH(QList<QPointF>, origins);
        QCOMPARE(TitlebarLayout::lightOrigins(frames, barWidth, rightToLeft), origins);
    }

    void doubleClickAction_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<TitleBarAction>("action");

        const QStringList none{QStringLiteral("store")};
        QTest::newRow("no setting") << none << QVariant() << TitleBarAction::Zoom;
        QTest::newRow("Minimize") << none << QVariant(QStringLiteral("Minimize")) << TitleBarAction::Minimize;
        QTest::newRow("None") << none << QVariant(QStringLiteral("None")) << TitleBarAction::None;
        QTest::newRow("case matters") << none << QVariant(QStringLiteral("minimize")) << TitleBarAction::Zoom;
        QTest::newRow("the system's zoom value")
            << none << QVariant(QStringLiteral("Maximize")) << TitleBarAction::Zoom;
        QTest::newRow("not a string") << none << QVariant(3) << TitleBarAction::Zoom;
        QTest::newRow("argument first") << QStringList{QStringLiteral("store"),
                                                       QStringLiteral("-AppleActionOnDoubleClick"),
                                                       QStringLiteral("None")}
                                        << QVariant(QStringLiteral("Minimize")) << TitleBarAction::None;
        QTest::newRow("argument without a value")
            << QStringList{QStringLiteral("store"), QStringLiteral("-AppleActionOnDoubleClick")}
            << QVariant(QStringLiteral("Minimize")) << TitleBarAction::Minimize;
    }

    void doubleClickAction()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QVariant, stored);
        QFETCH(TitleBarAction, action);
        QTemporaryDir folder;
        auto settings =
            std::make_shared<QSettings>(folder.filePath(QStringLiteral("defaults.ini")), QSettings::IniFormat);
        if (stored.isValid())
            settings->setValue(QStringLiteral("AppleActionOnDoubleClick"), stored);
        QCOMPARE(TitleBarActions::current(UserDefaults(arguments, settings)), action);
    }
};

QTEST_GUILESS_MAIN(TitleBarTest)
#include "tst_titlebar.moc"
