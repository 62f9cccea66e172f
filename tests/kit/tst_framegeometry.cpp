// The frame's arithmetic: resize steps of all eight pieces, the title-button
// row, captions without mark-up, scaled bounds and fonts, button widths and
// accelerators.
#include "kit/enterexitbutton.h"
#include "kit/formscaling.h"
#include "kit/framegeometry.h"

#include <QtTest>

class TstFrameGeometry : public QObject
{
    Q_OBJECT
private slots:
    void windowsOpenCentredOnTheirOwner()
    {
        const QRect screen(0, 0, 1280, 1024);
        // 424 x 173 over an owner of 600 x 480 at (60, 40): (60 + 88, 40 + 153).
        QCOMPARE(CentredPlace(QSize(424, 173), QRect(60, 40, 600, 480), screen), QPoint(148, 193));
        // No owner: the screen's middle.
        QCOMPARE(CentredPlace(QSize(280, 24), QRect(), screen), QPoint(500, 500));
        // An owner near the edge: the window stays on the screen.
        QCOMPARE(CentredPlace(QSize(400, 300), QRect(1100, 900, 200, 100), screen), QPoint(880, 724));
        QCOMPARE(CentredPlace(QSize(400, 300), QRect(-150, -100, 200, 100), screen), QPoint(0, 0));
    }

    void resizeEdges()
    {
        const QRect g(100, 100, 300, 200);
        // Far edges grow by the pointer's offset in the piece.
        QCOMPARE(FrameResizeStep(g, TFramePiece::Bottom, {5, 7}, {}), QRect(100, 100, 300, 207));
        QCOMPARE(FrameResizeStep(g, TFramePiece::Right, {-9, 3}, {}), QRect(100, 100, 291, 200));
        // Near edges move that side; the opposite side stays.
        QCOMPARE(FrameResizeStep(g, TFramePiece::Top, {0, 10}, {}), QRect(100, 110, 300, 190));
        QCOMPARE(FrameResizeStep(g, TFramePiece::Top, {0, -10}, {}), QRect(100, 90, 300, 210));
        QCOMPARE(FrameResizeStep(g, TFramePiece::Left, {20, 0}, {}), QRect(120, 100, 280, 200));
        QCOMPARE(FrameResizeStep(g, TFramePiece::Left, {-20, 0}, {}), QRect(80, 100, 320, 200));
    }

    void resizeCorners()
    {
        const QRect g(100, 100, 300, 200);
        const QPoint press(3, 4);
        QCOMPARE(FrameResizeStep(g, TFramePiece::BottomRight, {13, 24}, press), QRect(100, 100, 310, 220));
        QCOMPARE(FrameResizeStep(g, TFramePiece::BottomLeft, {13, 24}, press), QRect(110, 100, 290, 220));
        QCOMPARE(FrameResizeStep(g, TFramePiece::TopLeft, {-7, -6}, press), QRect(90, 90, 310, 210));
        QCOMPARE(FrameResizeStep(g, TFramePiece::TopRight, {13, 14}, press), QRect(100, 110, 310, 190));
    }

    void resizeStopsAtMinimum()
    {
        // Every piece pushed far inwards ends exactly at 100 x 50, never
        // negative, with the opposite sides where they were.
        const QRect g(100, 100, 300, 200);
        const QPoint far(-1000, -1000), near(1000, 1000);
        QCOMPARE(FrameResizeStep(g, TFramePiece::Bottom, far, {}), QRect(100, 100, 300, 50));
        QCOMPARE(FrameResizeStep(g, TFramePiece::Right, far, {}), QRect(100, 100, 100, 200));
        QCOMPARE(FrameResizeStep(g, TFramePiece::Top, near, {}), QRect(100, 250, 300, 50));
        QCOMPARE(FrameResizeStep(g, TFramePiece::Left, near, {}), QRect(300, 100, 100, 200));
        QCOMPARE(FrameResizeStep(g, TFramePiece::BottomRight, far, {}), QRect(100, 100, 100, 50));
        QCOMPARE(FrameResizeStep(g, TFramePiece::BottomLeft, {1000, -1000}, {}), QRect(300, 100, 100, 50));
        QCOMPARE(FrameResizeStep(g, TFramePiece::TopLeft, near, {}), QRect(300, 250, 100, 50));
        QCOMPARE(FrameResizeStep(g, TFramePiece::TopRight, {-1000, 1000}, {}), QRect(100, 250, 100, 50));
    }

    void resizeAtMinimumSnaps()
    {
        // Dragging the bottom edge upward at or below 50 snaps the height to 50.
        QCOMPARE(FrameResizeStep(QRect(0, 0, 200, 50), TFramePiece::Bottom, {0, -5}, {}).height(), 50);
        QCOMPARE(FrameResizeStep(QRect(0, 0, 200, 40), TFramePiece::Bottom, {0, 0}, {}).height(), 50);
        QCOMPARE(FrameResizeStep(QRect(0, 0, 200, 50), TFramePiece::Bottom, {0, 4}, {}).height(), 54);
        // The top edge at the minimum keeps its top.
        QCOMPARE(FrameResizeStep(QRect(0, 10, 200, 50), TFramePiece::Top, {0, 3}, {}), QRect(0, 10, 200, 50));
        QCOMPARE(FrameResizeStep(QRect(0, 10, 100, 50), TFramePiece::TopRight, {0, 10}, {5, 5}), QRect(0, 10, 100, 50));
        QCOMPARE(FrameResizeStep(QRect(0, 10, 100, 50), TFramePiece::Left, {2, 0}, {}), QRect(0, 10, 100, 50));
        // A step from just above the minimum stops at it.
        QCOMPARE(FrameResizeStep(QRect(0, 0, 200, 52), TFramePiece::Bottom, {0, -30}, {}).height(), 50);
    }

    void titleButtonRow()
    {
        // Close alone.
        TTitleButtonRow r = ArrangeTitleButtonRow(false, false, false, false);
        QCOMPARE(r.panelWidth, 16);
        QCOMPARE(r.x[4], 0);
        // Roll up and close.
        r = ArrangeTitleButtonRow(false, false, true, false);
        QCOMPARE(r.panelWidth, 32);
        QCOMPARE(r.x[2], 0);
        QCOMPARE(r.x[4], 16);
        QCOMPARE(r.x[1], -1);
        // All five, left to right without gaps; zoom stays at 0.
        r = ArrangeTitleButtonRow(true, true, true, true);
        QCOMPARE(r.panelWidth, 80);
        for (int i = 0; i < 5; ++i)
            QCOMPARE(r.x[i], 16 * i);
        // Minimise, maximise and close.
        r = ArrangeTitleButtonRow(false, true, false, true);
        QCOMPARE(r.x[1], 0);
        QCOMPARE(r.x[3], 16);
        QCOMPARE(r.x[4], 32);
    }

    void stripCaptionMarkup()
    {
        QCOMPARE(StripCaptionMarkup(QStringLiteral("\\BFilm\\b")), QStringLiteral("Film"));
        QCOMPARE(StripCaptionMarkup(QStringLiteral("\\uA\\U\\iB\\I\\lbC\\LB")), QStringLiteral("ABC"));
        // Colour escapes stay.
        QCOMPARE(StripCaptionMarkup(QStringLiteral("\\cRed\\BTitel\\b")), QStringLiteral("\\cRedTitel"));
        QCOMPARE(StripCaptionMarkup(QString()), QString());
    }

    void scaledBounds()
    {
        using platform::Ratio;
        // 1500 x 0.833 = 1249.5, rounded to the even 1250.
        QCOMPARE(ScaleBounds(QRect(1, 1, 1500, 10), ZoomOutFactor).width(), 1250);
        // Left 1 stays at 1; left 101 moves to 121.
        QCOMPARE(ScaleBounds(QRect(1, 1, 10, 10), ZoomInFactor).left(), 1);
        QCOMPARE(ScaleBounds(QRect(101, 1, 10, 10), ZoomInFactor).left(), 121);
        QCOMPARE(ScaleBounds(QRect(1, 1, 100, 22), ZoomInFactor), QRect(1, 1, 120, 26));
        // Zoomed in and out again ends slightly smaller.
        QCOMPARE(ZoomOutFactor.apply(ZoomInFactor.apply(3000)), 2999);
        QCOMPARE(RatioFromFactor(1.2).apply(1000), 1200);
        QCOMPARE(RatioFromFactor(0.833).apply(1500), 1250);
        QCOMPARE(ScaleConstraint(0, ZoomInFactor), 0);
        QCOMPARE(ScaleConstraint(QWIDGETSIZE_MAX, ZoomInFactor), QWIDGETSIZE_MAX);
        QCOMPARE(ScaleConstraint(50, ZoomInFactor), 60);
    }

    void fontHeights()
    {
        QFont f;
        f.setPixelSize(11);
        QCOMPARE(FontHeight(f), -11);
        // -11 zoomed in is -13.2, rounded to -13.
        QCOMPARE(ZoomInFactor.apply(FontHeight(f)), -13);
        QCOMPARE(FontWithHeight(f, -13).pixelSize(), 13);
        QFont pt;
        pt.setPointSize(9);
        QCOMPARE(FontHeight(pt, 96), -12);
    }

    void blueWidthSnapping()
    {
        QCOMPARE(SnapBlueWidth(120), 100);
        QCOMPARE(SnapBlueWidth(39), 35);
        QCOMPARE(SnapBlueWidth(40), 100);
        QCOMPARE(SnapBlueWidth(125), 100);
        QCOMPARE(SnapBlueWidth(126), 150);
        QCOMPARE(SnapBlueWidth(175), 150);
        QCOMPARE(SnapBlueWidth(176), 200);
        QCOMPARE(SnapBlueWidth(0), 35);
    }

    void accelerators()
    {
        TAccelCaption a = SplitAccelCaption(QStringLiteral("Ab&brechen"), true);
        QCOMPARE(a.text, QStringLiteral("Abbrechen"));
        QCOMPARE(a.underline, 2);
        a = SplitAccelCaption(QStringLiteral("A&&B"), true);
        QCOMPARE(a.text, QStringLiteral("A&&B"));
        QCOMPARE(a.underline, -1);
        a = SplitAccelCaption(QStringLiteral("Ab&brechen"), false);
        QCOMPARE(a.text, QStringLiteral("Ab&brechen"));
        QCOMPARE(a.underline, -1);
        a = SplitAccelCaption(QStringLiteral("Ende&"), true);
        QCOMPARE(a.text, QStringLiteral("Ende"));
        QCOMPARE(a.underline, -1);
    }

    void captionFitting()
    {
        QFont f(QStringLiteral("Arial"));
        f.setPointSize(10);
        f.setBold(true);
        // A caption that fits keeps its font.
        QCOMPARE(FitCaptionFont(f, QStringLiteral("OK"), 100), f);
        // A wider one loses bold first, then points, down to no less than 6.
        const QFont small = FitCaptionFont(f, QStringLiteral("Einstellungen übernehmen"), 100);
        QVERIFY(!small.bold());
        QVERIFY(small.pointSize() < 10);
        QVERIFY(QFontMetrics(small).horizontalAdvance(QStringLiteral("Einstellungen übernehmen")) <= 100
                || small.pointSize() == 6);
        const QFont tiny = FitCaptionFont(f, QString(200, QLatin1Char('W')), 35);
        QCOMPARE(tiny.pointSize(), 6);
    }
};

QTEST_MAIN(TstFrameGeometry)
#include "tst_framegeometry.moc"
