#include "kit/pzbackground.h"
#include "kit/pzbitmappanel.h"
#include "kit/pzshaded.h"
#include "kit/pzspeedbutton.h"
#include "kit/scriptedpresenter.h"
#include "platform/tcolor.h"

#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QtTest>

namespace {

// A tile whose every pixel differs, so a shifted tiling cannot pass for the right one.
QImage uniqueTile(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb(60 + x * 4, 50 + y * 7, 100 + (x * y) % 50));
    return img;
}

int mod(int a, int b)
{
    return ((a % b) + b) % b;
}

} // namespace

class TstPaintedControls : public QObject
{
    Q_OBJECT
private slots:
    void verticalBands()
    {
        const QColor s(0, 0, 250), e(250, 0, 0);
        const auto bands = ShadedBands(QSize(50, 100), s, e, 25, drVertical);
        QCOMPARE(bands.size(), 25);
        for (int i = 0; i < 25; ++i) {
            QCOMPARE(bands[i].rect, QRect(0, 4 * i, 50, 4));
            QCOMPARE(bands[i].color, QColor(10 * i, 0, 250 - 10 * i));
        }
        // Graduation 0: one band in the start colour.
        const auto one = ShadedBands(QSize(50, 100), s, e, 0, drVertical);
        QCOMPARE(one.size(), 1);
        QCOMPARE(one[0].rect, QRect(0, 0, 50, 100));
        QCOMPARE(one[0].color, s);
        // Rows past the last whole band take the last colour.
        const auto more = ShadedBands(QSize(50, 102), s, e, 25, drVertical);
        QCOMPARE(more.size(), 25);
        QCOMPARE(more.last().rect, QRect(0, 96, 50, 6));
        QCOMPARE(more.last().color, QColor(240, 0, 10));
        // Fractional band sizes: the bands tile the area without gaps.
        for (int g : {3, 7, 30, 33, 255}) {
            const auto b = ShadedBands(QSize(10, 97), s, e, TPZGraduation(g), drVertical);
            int y = 0;
            for (const ShadedBand &band : b) {
                QCOMPARE(band.rect.top(), y);
                y = band.rect.bottom() + 1;
            }
            QCOMPARE(y, 97);
        }
    }

    void horizontalAndInOutBands()
    {
        const QColor s(0, 0, 0), e(240, 120, 0);
        const auto across = ShadedBands(QSize(40, 7), s, e, 25, drHorizontal);
        QCOMPARE(across.size(), 10);
        QCOMPARE(across[2].rect, QRect(8, 0, 4, 7));
        QCOMPARE(across[2].color, QColor(48, 24, 0));

        const auto inOut = ShadedBands(QSize(10, 100), s, e, 25, drVerticalInOut);
        QCOMPARE(inOut.size(), 25);
        QCOMPARE(inOut.first().color, s);
        QCOMPARE(inOut.last().color, s);
        QCOMPARE(inOut[12].color, QColor(240, 120, 0)); // the middle: 12 steps of (end - start) div 12
        QCOMPARE(inOut[11].color, inOut[13].color);
        const auto inOutH = ShadedBands(QSize(100, 10), s, e, 25, drHorizontalInOut);
        QCOMPARE(inOutH[12].rect, QRect(48, 0, 4, 10));
        QCOMPARE(inOutH[1].color, QColor(20, 10, 0));
    }

    void diagonalBands()
    {
        const QColor s(0, 0, 0), e(160, 80, 240);
        // Band size 10: 4 columns and 2 rows.
        const auto lr = ShadedBands(QSize(40, 20), s, e, 10, drDiagonalLeftRight);
        QCOMPARE(lr.size(), 8);
        QCOMPARE(lr[0].rect, QRect(0, 0, 10, 10));
        QCOMPARE(lr[0].color, s);
        // Column step (end - start) div 8, row step (end - start) div 4.
        QCOMPARE(lr[7].rect, QRect(30, 10, 10, 10));
        QCOMPARE(lr[7].color, QColor(3 * 20 + 40, 3 * 10 + 20, 3 * 30 + 60));
        const auto rl = ShadedBands(QSize(40, 20), s, e, 10, drDiagonalRightLeft);
        QCOMPARE(rl[0].rect, QRect(30, 0, 10, 10));
        QCOMPARE(rl[0].color, s);
        QCOMPARE(rl[7].rect, QRect(0, 10, 10, 10));
    }

    void tinyAreasDoNotDivideByZero()
    {
        const QColor s(1, 2, 3), e(200, 200, 200);
        for (TPZDirection d : {drVertical, drHorizontal, drVerticalInOut, drHorizontalInOut, drDiagonalLeftRight,
                               drDiagonalRightLeft}) {
            const auto b = ShadedBands(QSize(2, 2), s, e, 25, d);
            QCOMPARE(b.size(), 1);
            QCOMPARE(b[0].rect, QRect(0, 0, 2, 2));
            QCOMPARE(b[0].color, s);
            QVERIFY(ShadedBands(QSize(0, 5), s, e, 25, d).isEmpty());
        }
        // In-out with a single band: halved to 0.
        QCOMPARE(ShadedBands(QSize(5, 5), s, e, 25, drVerticalInOut).size(), 1);
    }

    void shadedPaints()
    {
        TPZShaded shaded;
        QCOMPARE(shaded.size(), QSize(50, 50));
        QCOMPARE(shaded.StartColor(), QColor(0, 0, 255));
        QCOMPARE(shaded.EndColor(), QColor(0, 0, 0));
        QCOMPARE(int(shaded.Graduation()), 25);
        shaded.resize(20, 100);
        shaded.SetStartColor(QColor(0, 0, 250));
        shaded.SetEndColor(QColor(250, 0, 0));
        const QImage img = shaded.grab().toImage();
        QCOMPARE(img.pixelColor(5, 0), QColor(0, 0, 250));
        QCOMPARE(img.pixelColor(5, 13), QColor(30, 0, 220));
        QCOMPARE(img.pixelColor(19, 99), QColor(240, 0, 10));
    }

    void speedButtonStateTable()
    {
        SpeedContext c;
        c.enabled = true;
        // Entering and leaving.
        QCOMPARE(SpeedButtonNextState(bsUp, SpeedEvent::Enter, c), bsHot);
        QCOMPARE(SpeedButtonNextState(bsLatched, SpeedEvent::Enter, c), bsLatched);
        QCOMPARE(SpeedButtonNextState(bsHot, SpeedEvent::Leave, c), bsUp);
        QCOMPARE(SpeedButtonNextState(bsPressed, SpeedEvent::Leave, c), bsUp);
        QCOMPARE(SpeedButtonNextState(bsPressedLatched, SpeedEvent::Leave, c), bsLatched);
        QCOMPARE(SpeedButtonNextState(bsMenu, SpeedEvent::Leave, c), bsUp);
        QCOMPARE(SpeedButtonNextState(bsLatched, SpeedEvent::Leave, c), bsLatched);
        // Left button down.
        QCOMPARE(SpeedButtonNextState(bsHot, SpeedEvent::LeftDown, c), bsPressed);
        QCOMPARE(SpeedButtonNextState(bsLatched, SpeedEvent::LeftDown, c), bsLatched);
        QCOMPARE(SpeedButtonNextState(bsMenu, SpeedEvent::LeftDown, c), bsPressed);
        SpeedContext menu = c;
        menu.hasMenu = true;
        QCOMPARE(SpeedButtonNextState(bsHot, SpeedEvent::LeftDown, menu), bsMenu);
        SpeedContext allUp = c;
        allUp.allowAllUp = true;
        QCOMPARE(SpeedButtonNextState(bsLatched, SpeedEvent::LeftDown, allUp), bsPressedLatched);
        // Left button up: latch in a group, else hot.
        QCOMPARE(SpeedButtonNextState(bsPressed, SpeedEvent::LeftUp, c), bsHot);
        SpeedContext group = c;
        group.groupIndex = 2;
        QCOMPARE(SpeedButtonNextState(bsPressed, SpeedEvent::LeftUp, group), bsLatched);
        QCOMPARE(SpeedButtonNextState(bsPressedLatched, SpeedEvent::LeftUp, group), bsHot);
        // The menu closed: hot only with the pointer still over the button.
        QCOMPARE(SpeedButtonNextState(bsMenu, SpeedEvent::MenuClosed, c), bsUp);
        SpeedContext over = c;
        over.pointerOver = true;
        QCOMPARE(SpeedButtonNextState(bsMenu, SpeedEvent::MenuClosed, over), bsHot);
        // Disabling and enabling.
        for (TPZButtonState s : {bsHot, bsPressed, bsMenu})
            QCOMPARE(SpeedButtonNextState(s, SpeedEvent::Disable, c), bsUp);
        QCOMPARE(SpeedButtonNextState(bsPressedLatched, SpeedEvent::Disable, c), bsLatched);
        QCOMPARE(SpeedButtonNextState(bsUp, SpeedEvent::Enable, over), bsHot);
        QCOMPARE(SpeedButtonNextState(bsUp, SpeedEvent::Enable, c), bsUp);
        // A disabled button does not become hot or pressed.
        SpeedContext off = c;
        off.enabled = false;
        QCOMPARE(SpeedButtonNextState(bsUp, SpeedEvent::Enter, off), bsUp);
        QCOMPARE(SpeedButtonNextState(bsHot, SpeedEvent::LeftDown, off), bsHot);
    }

    void speedButtonGroups()
    {
        QWidget parent;
        TPZSpeedButton a(&parent), b(&parent), other(&parent), loose(&parent);
        for (TPZSpeedButton *btn : {&a, &b})
            btn->SetGroupIndex(1);
        other.SetGroupIndex(2);
        QCOMPARE(a.size(), QSize(25, 25));
        loose.SetDown(true); // group 0: stays up
        QVERIFY(!loose.Down());
        other.SetDown(true);
        a.SetDown(true);
        QVERIFY(a.Down());
        b.SetDown(true);
        QVERIFY(b.Down());
        QVERIFY(!a.Down());
        QVERIFY(other.Down()); // another group is not touched
        // Releasing a latched button is refused unless AllowAllUp.
        b.SetDown(false);
        QVERIFY(b.Down());
        b.SetAllowAllUp(true);
        b.SetDown(false);
        QVERIFY(!b.Down());

        // By mouse: press and release latch the button and release the other.
        QSignalSpy clicks(&a, &TPZSpeedButton::Click);
        b.SetDown(true);
        a.MouseEnter();
        a.MouseDownLeft();
        QCOMPARE(a.State(), bsPressed);
        a.MouseUpLeft();
        QVERIFY(a.Down());
        QVERIFY(!b.Down());
        QCOMPARE(clicks.size(), 1);
        // Leaving while pressed: no click on release.
        loose.MouseEnter();
        loose.MouseDownLeft();
        loose.MouseLeave();
        QSignalSpy looseClicks(&loose, &TPZSpeedButton::Click);
        loose.MouseUpLeft();
        QCOMPARE(looseClicks.size(), 0);
        QCOMPARE(loose.State(), bsUp);
        // Disabling leaves a latched button latched.
        a.setEnabled(false);
        QVERIFY(a.Down());
    }

    void speedButtonMenu()
    {
        kit::ScriptedPresenter presenter;
        QWidget parent;
        TPZSpeedButton btn(&parent);
        btn.move(50, 50); // away from the (offscreen) pointer
        QMenu menu;
        QAction *item = menu.addAction(QStringLiteral("&Eins"));
        QSignalSpy triggered(item, &QAction::triggered);
        btn.SetPopupMenu(&menu);
        presenter.answerMenu(QStringLiteral("&Eins"));
        btn.MouseEnter();
        btn.MouseDownLeft();
        QCOMPARE(presenter.shown().size(), 1);
        QCOMPARE(presenter.last().kind, QStringLiteral("QMenu"));
        QCOMPARE(triggered.size(), 1);
        QCOMPARE(btn.State(), bsUp); // the pointer is not over the button afterwards
    }

    void glyphStrips()
    {
        TPZSpeedButton btn;
        QImage strip(64, 16, QImage::Format_RGB32);
        strip.fill(Qt::white);
        btn.SetGlyph(strip);
        QCOMPARE(btn.NumGlyphs(), 1); // four glyphs: above three, so one
        QCOMPARE(btn.Images().Width(), 64);
        strip = QImage(48, 16, QImage::Format_RGB32);
        strip.fill(Qt::white);
        btn.SetGlyph(strip);
        QCOMPARE(btn.NumGlyphs(), 3);
        QCOMPARE(btn.Images().Width(), 16);

        // Two glyphs: hot first, normal second; the disabled one is embossed.
        QImage two(32, 16, QImage::Format_RGB32);
        two.fill(QColor(255, 0, 255)); // bottom-left pixel: the transparent colour
        two.setPixel(3, 3, qRgb(0, 0, 0));
        two.setPixel(16 + 5, 5, qRgb(0, 128, 0));
        btn.SetGlyph(two);
        QCOMPARE(btn.NumGlyphs(), 2);
        QCOMPARE(btn.Images().Count(), 3);
        QCOMPARE(btn.Images().Image(0).pixel(3, 3), qRgb(0, 0, 0));
        QCOMPARE(qAlpha(btn.Images().Image(0).pixel(0, 0)), 0);
        QCOMPARE(btn.Images().Image(1).pixel(5, 5), qRgb(0, 128, 0));
        const QImage disabled = btn.Images().Image(2);
        QCOMPARE(disabled.pixel(3, 3), platform::toQColor(platform::clBtnShadow).rgb());
        QCOMPARE(disabled.pixel(4, 4), platform::toQColor(platform::clBtnHighlight).rgb());
        QCOMPARE(qAlpha(disabled.pixel(8, 8)), 0);
        // A width that is no multiple of the height keeps NumGlyphs.
        btn.SetGlyph(QImage(30, 16, QImage::Format_RGB32));
        QCOMPARE(btn.NumGlyphs(), 2);
        QCOMPARE(btn.Images().Width(), 15);
        // Margin below -1 is refused.
        btn.SetMargin(-5);
        QCOMPARE(btn.Margin(), -1);
    }

    void speedButtonLayouts()
    {
        const QSize client(100, 40), glyph(16, 16), text(30, 10);
        SpeedButtonPlace p = SpeedButtonLayout(client, glyph, text, true, blLeft, -1, 4);
        // extent 16 + 4 + 30 = 50: glyph at 50 - 25.
        QCOMPARE(p.glyph, QPoint(25, 12));
        QCOMPARE(p.caption, QRect(QPoint(45, 15), QPoint(74, 24)));
        p = SpeedButtonLayout(client, glyph, text, true, blRight, -1, 4);
        QCOMPARE(p.glyph, QPoint(59, 12));
        QCOMPARE(p.caption, QRect(QPoint(25, 15), QPoint(54, 24)));
        p = SpeedButtonLayout(client, glyph, text, true, blTop, -1, 4);
        // extent 16 + 4 + 10 = 30: glyph at 20 - 15.
        QCOMPARE(p.glyph, QPoint(42, 5));
        QCOMPARE(p.caption, QRect(QPoint(2, 25), QPoint(97, 34)));
        p = SpeedButtonLayout(client, glyph, text, true, blBottom, -1, 4);
        QCOMPARE(p.glyph, QPoint(42, 19));
        QCOMPARE(p.caption, QRect(QPoint(2, 5), QPoint(97, 14)));
        // Margins move glyph and caption together.
        p = SpeedButtonLayout(client, glyph, text, true, blLeft, 3, 4);
        QCOMPARE(p.glyph, QPoint(3, 12));
        QCOMPARE(p.caption.left(), 23);
        p = SpeedButtonLayout(client, glyph, text, true, blRight, 3, 4);
        QCOMPARE(p.glyph.x() + 16, 97);
        p = SpeedButtonLayout(client, glyph, text, true, blBottom, 2, 4);
        QCOMPARE(p.glyph.y() + 16, 38);
        QCOMPARE(p.caption.bottom(), 38 - 16 - 4 - 1);
        // A glyph alone: no spacing, centred.
        p = SpeedButtonLayout(QSize(16, 16), glyph, QSize(), false, blTop, -1, 4);
        QCOMPARE(p.glyph, QPoint(0, 0));
    }

    void brightnessAndPool()
    {
        QCOMPARE(ScaledColor(QColor(200, 100, 50), 140), QColor(255, 140, 70));
        QCOMPARE(ScaledColor(QColor(200, 100, 50), 60), QColor(120, 60, 30));
        const QImage tile = uniqueTile(9, 7);
        TPZBackground a(nullptr), b(nullptr), c(nullptr);
        a.SetBitmap(tile);
        b.SetBitmap(tile.copy()); // a separate but identical picture
        QCOMPARE(a.ShareCount(), 2);
        c.SetBitmap(uniqueTile(9, 8));
        QCOMPARE(c.ShareCount(), 1);
        b.SetBitmap(QImage());
        QCOMPARE(a.ShareCount(), 1);
        QCOMPARE(QColor(a.Brightness(60).toImage().pixel(2, 3)), ScaledColor(tile.pixelColor(2, 3), 60));
    }

    void neighbouringPanelsTileSeamlessly()
    {
        const QImage tile = uniqueTile(37, 23);
        QWidget form;
        form.resize(203, 80);
        auto *holder = new QWidget(&form);
        holder->setGeometry(3, 5, 200, 75);
        auto *left = new TPZBitmapPanel(holder);
        auto *right = new TPZBitmapPanel(holder);
        left->setGeometry(0, 0, 100, 60);
        right->setGeometry(100, 0, 100, 60);
        for (TPZBitmapPanel *p : {left, right}) {
            p->SetBevelOuter(bvNone);
            p->Background().SetBitmap(tile);
        }
        const QImage img = form.grab().toImage();
        for (int y = 5; y < 65; y += 3)
            for (int x = 3; x < 203; ++x)
                QCOMPARE(img.pixel(x, y), tile.pixel(mod(x, 37), mod(y, 23)));

        // Bevels are the same texture, darker on the raised bevel's right and bottom.
        left->SetBevelOuter(bvRaised);
        left->SetBevelWidth(2);
        const QImage bev = form.grab().toImage();
        auto at = [&](int x, int y, int pct) {
            return ScaledColor(tile.pixelColor(mod(x, 37), mod(y, 23)), pct).rgb();
        };
        QCOMPARE(bev.pixel(3, 30), at(3, 30, 140));  // left strip
        QCOMPARE(bev.pixel(4, 30), at(4, 30, 140));  // second ring
        QCOMPARE(bev.pixel(50, 5), at(50, 5, 140));  // top strip
        QCOMPARE(bev.pixel(102, 30), at(102, 30, 60)); // right strip
        QCOMPARE(bev.pixel(50, 64), at(50, 64, 60)); // bottom strip
        QCOMPARE(bev.pixel(50, 30), at(50, 30, 100)); // inside
        QCOMPARE(left->InsideRect(), QRect(2, 2, 96, 56));
    }

    void transparentAndCentredBackgrounds()
    {
        QImage tile(4, 4, QImage::Format_RGB32);
        tile.fill(QColor(255, 0, 255));
        tile.setPixel(1, 1, qRgb(10, 20, 30));
        TPZBitmapPanel panel;
        panel.resize(8, 8);
        panel.SetBevelOuter(bvNone);
        panel.SetColor(QColor(0, 200, 0));
        panel.Background().SetBitmap(tile);
        panel.Background().SetTransparent(true);
        QImage img = panel.grab().toImage();
        QCOMPARE(img.pixel(0, 0), qRgb(0, 200, 0));
        QCOMPARE(img.pixel(5, 5), qRgb(10, 20, 30));
        panel.Background().SetTransparent(false);
        panel.Background().SetStyle(bsCentered);
        panel.resize(10, 10);
        img = panel.grab().toImage();
        QCOMPARE(img.pixel(4, 4), qRgb(10, 20, 30)); // the picture once, at (3, 3)
        QCOMPARE(img.pixel(8, 8), qRgb(0, 200, 0));
        QCOMPARE(img.pixel(3, 3), qRgb(255, 0, 255));
    }
};

QTEST_MAIN(TstPaintedControls)
#include "tst_paintedcontrols.moc"
