// The shadow panel, the hover controls, the link label, gradients and tiled
// pictures, the coloured page control and file drag and drop.
#include "kit/dragdrop.h"
#include "kit/dspanel.h"
#include "kit/gradient.h"
#include "kit/ozohover.h"
#include "kit/pagecontroles.h"
#include "kit/weblink.h"

#include <QDesktopServices>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QtTest>

// Receives the addresses the link opens instead of a browser.
class UrlCatcher : public QObject
{
    Q_OBJECT
public:
    QList<QUrl> opened;
    QStringList *order = nullptr;
public slots:
    void open(const QUrl &url)
    {
        opened << url;
        if (order)
            *order << QStringLiteral("open");
    }
};

class TstKitControls : public QObject
{
    Q_OBJECT

    static QImage render(QWidget &w)
    {
        return w.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

private slots:
    void shadowPanelGeometry()
    {
        const DsPanelLayoutResult two = DsPanelLayout(QSize(185, 41), 2);
        QCOMPARE(two.shadow, QRect(QPoint(2, 2), QPoint(184, 40)));
        QCOMPARE(two.face, QRect(QPoint(0, 0), QPoint(182, 38)));
        QCOMPARE(two.upperBevel, QPolygon({QPoint(0, 38), QPoint(0, 0), QPoint(182, 0)}));
        QCOMPARE(two.lowerBevel, QPolygon({QPoint(182, 0), QPoint(182, 38), QPoint(0, 38)}));
        // An odd width: the shadow moves by w div 2 twice, the face back by w.
        const DsPanelLayoutResult three = DsPanelLayout(QSize(100, 50), 3);
        QCOMPARE(three.shadow, QRect(QPoint(2, 2), QPoint(99, 49)));
        QCOMPARE(three.face, QRect(QPoint(-1, -1), QPoint(96, 46)));
        // No shadow width: face and shadow on the same rectangle.
        const DsPanelLayoutResult none = DsPanelLayout(QSize(185, 41), 0);
        QCOMPARE(none.shadow, none.face);
        QCOMPARE(none.face, QRect(0, 0, 185, 41));
    }

    void shadowPanelPaints()
    {
        TDsPanel panel;
        QCOMPARE(panel.size(), QSize(185, 41));
        QCOMPARE(panel.ShadowWidth(), 2);
        QCOMPARE(panel.ShadowColor(), 0x808080);
        panel.resize(60, 30);
        panel.SetShadowWidth(4);
        panel.SetShadowColor(platform::clRed);   // BGR: red is 0x0000FF
        panel.SetFaceColor(platform::clLime);
        panel.SetBorderLine(TBorderLine::blNone);
        QImage img(panel.size(), QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            panel.PaintTo(p);
        }
        // Shadow (4,4)-(59,29), face (0,0)-(55,25).
        QCOMPARE(QColor(img.pixel(58, 28)), QColor(255, 0, 0));
        QCOMPARE(QColor(img.pixel(10, 10)), QColor(0, 255, 0));
        QCOMPARE(QColor(img.pixel(58, 1)), QColor(Qt::white));
        panel.SetShadowWidth(0);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            panel.PaintTo(p);
        }
        QCOMPARE(QColor(img.pixel(59, 29)), QColor(0, 255, 0));
    }

    void hoverEditKeepsActiveWhileFocused()
    {
        TOzoEdit edit;
        int entered = 0, left = 0;
        edit.Hover.OnMouseEnter = [&] { ++entered; };
        edit.Hover.OnMouseExit = [&] { ++left; };
        // At creation both colours are the current one.
        QCOMPARE(edit.Hover.ColorNormal(), edit.Hover.ColorActive());
        edit.Hover.SetColorNormal(Qt::white);
        edit.Hover.SetColorActive(Qt::yellow);
        QCOMPARE(edit.Hover.Shown(), QColor(Qt::white));
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&edit, &enter);
        QCOMPARE(entered, 1);
        QCOMPARE(edit.Hover.Shown(), QColor(Qt::yellow));
        QFocusEvent in(QEvent::FocusIn);
        QApplication::sendEvent(&edit, &in);
        QVERIFY(edit.Hover.Focused());
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&edit, &leave);
        QCOMPARE(left, 1);
        QCOMPARE(edit.Hover.Shown(), QColor(Qt::yellow));
        QFocusEvent out(QEvent::FocusOut);
        QApplication::sendEvent(&edit, &out);
        QCOMPARE(edit.Hover.Shown(), QColor(Qt::white));

        // Without the focus the edit goes back at once.
        QApplication::sendEvent(&edit, &enter);
        QApplication::sendEvent(&edit, &leave);
        QCOMPARE(edit.Hover.Shown(), QColor(Qt::white));
    }

    void hoverLabelChangesFontColour()
    {
        TOzoLabel label;
        label.Hover.SetColorNormal(Qt::black);
        label.Hover.SetColorActive(Qt::red);
        QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
        QApplication::sendEvent(&label, &enter);
        QCOMPARE(label.palette().color(QPalette::WindowText), QColor(Qt::red));
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&label, &leave);
        QCOMPARE(label.palette().color(QPalette::WindowText), QColor(Qt::black));
    }

    void webLinkAddresses()
    {
        // A bare host and path gets "http://"; a fresh link shows the bare text.
        WebLinkText t = ApplyWebLinkHRef(QStringLiteral("www.ozo.de/tarvo"), {}, {}, QStringLiteral("WebLink1"));
        QCOMPARE(t.href, QStringLiteral("http://www.ozo.de/tarvo"));
        QCOMPARE(t.caption, QStringLiteral("www.ozo.de/tarvo"));
        // "MAILTO:" in any case is kept.
        t = ApplyWebLinkHRef(QStringLiteral("MaIlTo:info@ozo.de"), {}, {}, QStringLiteral("WebLink1"));
        QCOMPARE(t.href, QStringLiteral("MaIlTo:info@ozo.de"));
        // Any scheme is kept: no "http://https://".
        t = ApplyWebLinkHRef(QStringLiteral("https://www.ozo.de"), {}, QStringLiteral("WebLink1"), QStringLiteral("WebLink1"));
        QCOMPARE(t.href, QStringLiteral("https://www.ozo.de"));
        QCOMPARE(t.caption, QStringLiteral("https://www.ozo.de"));
        t = ApplyWebLinkHRef(QStringLiteral("ftp://ftp.ozo.de"), {}, {}, {});
        QCOMPARE(t.href, QStringLiteral("ftp://ftp.ozo.de"));
        // A custom caption stays.
        t = ApplyWebLinkHRef(QStringLiteral("www.neu.de"), QStringLiteral("http://www.alt.de"), QStringLiteral("Homepage"),
                             QStringLiteral("WebLink1"));
        QCOMPARE(t.caption, QStringLiteral("Homepage"));
        // A caption that showed the bare address follows the new one.
        t = ApplyWebLinkHRef(QStringLiteral("www.neu.de"), QStringLiteral("http://www.alt.de"), QStringLiteral("www.alt.de"), {});
        QCOMPARE(t.caption, QStringLiteral("www.neu.de"));
        t = ApplyWebLinkHRef(QStringLiteral("http://www.neu.de"), QStringLiteral("http://www.alt.de"),
                             QStringLiteral("www.alt.de"), {});
        QCOMPARE(t.caption, QStringLiteral("www.neu.de"));
    }

    void webLinkClickOpensAfterClickedAndTakesSelColor()
    {
        UrlCatcher catcher;
        QStringList order;
        catcher.order = &order;
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
        TWebLink link;
        link.setObjectName(QStringLiteral("WebLink1"));
        // Blue and underlined at creation (0xFF0000 is blue as BBGGRR).
        QCOMPARE(link.palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(link.font().underline());
        link.SetHRef(QStringLiteral("www.ozo.de"));
        QCOMPARE(link.text(), QStringLiteral("www.ozo.de"));
        connect(&link, &TWebLink::clicked, this, [&] { order << QStringLiteral("clicked"); });
        link.Click();
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(order, QStringList({"clicked", "open"}));
        QCOMPARE(catcher.opened.value(0), QUrl(QStringLiteral("http://www.ozo.de")));
        QCOMPARE(link.palette().color(QPalette::WindowText), QColor(128, 0, 128));
    }

    void gradientSteps()
    {
        QCOMPARE(GradientStep(QColor(0, 0, 0), QColor(255, 0, 10), 128, 255), QColor(128, 0, 5));
        // Falling channels truncate towards the start: 200 + 1 × (-100) ÷ 3 = 167.
        QCOMPARE(GradientStep(QColor(200, 0, 0), QColor(100, 0, 0), 1, 3), QColor(167, 0, 0));
        QCOMPARE(GradientStep(QColor(1, 2, 3), QColor(9, 9, 9), 5, 0), QColor(1, 2, 3));
    }

    void gradientBandsPerStyle()
    {
        const QColor a(0, 0, 0), b(250, 100, 50);
        // Style 0 over 512 pixels: 256 bands of 2, the last in the end colour.
        QList<GradientBand> bands = GradientBands(QRect(0, 0, 512, 10), a, b, 0);
        QCOMPARE(bands.size(), 256);
        QCOMPARE(bands.at(1).rect, QRect(2, 0, 2, 10));
        QCOMPARE(bands.last().colour, b);
        // Style 1 over 100 rows: only non-empty bands, covering every row.
        bands = GradientBands(QRect(0, 0, 10, 100), a, b, 1);
        int rows = 0;
        for (const GradientBand &g : bands)
            rows += g.rect.height();
        QCOMPARE(rows, 100);
        // Style 4 on 10 rows: six pairs (i = 0..5) meeting in the middle.
        bands = GradientBands(QRect(0, 0, 20, 10), a, b, 4);
        QCOMPARE(bands.size(), 12);
        QList<int> top, bottom;
        for (int i = 0; i < bands.size(); i += 2) {
            top << bands.at(i).rect.top();
            bottom << bands.at(i + 1).rect.top();
            QCOMPARE(bands.at(i).rect.height(), 1);
            QCOMPARE(bands.at(i).colour, bands.at(i + 1).colour);
        }
        QCOMPARE(top, QList<int>({0, 1, 2, 3, 4, 5}));
        QCOMPARE(bottom, QList<int>({9, 8, 7, 6, 5, 4}));
        QCOMPARE(bands.at(10).colour, b);
        QCOMPARE(bands.at(2).colour, QColor(50, 20, 10)); // step 1 of 5
        // Style 5 mirrors the columns the same way.
        bands = GradientBands(QRect(0, 0, 6, 3), a, b, 5);
        QCOMPARE(bands.size(), 8);
        QCOMPARE(bands.at(1).rect, QRect(5, 0, 1, 3));
        // Under 2 pixels: no division by zero, the start colour.
        bands = GradientBands(QRect(0, 0, 30, 1), a, b, 4);
        QCOMPARE(bands.size(), 2);
        QCOMPARE(bands.at(0).colour, a);
        bands = GradientBands(QRect(0, 0, 1, 30), a, b, 5);
        QCOMPARE(bands.at(1).colour, a);
        // Style 2: 51 ellipses, the first a third larger on every side.
        bands = GradientBands(QRect(0, 0, 30, 60), a, b, 2);
        QCOMPARE(bands.first().shape, GradientBand::Shape::Ellipse);
        QCOMPARE(bands.first().rect, QRect(-10, -20, 50, 100));
        QCOMPARE(bands.at(10).rect, QRect(-5, -10, 40, 80));
        // Style 3: the first rectangle two pixels larger but kept inside.
        bands = GradientBands(QRect(0, 0, 255, 51), a, b, 3);
        QCOMPARE(bands.first().rect, QRect(0, 0, 255, 51));
        QCOMPARE(bands.at(2).rect.left(), 1);
        QVERIFY(GradientBands(QRect(0, 0, 10, 10), a, b, 6).isEmpty());
    }

    void equalColoursFillUniformly()
    {
        for (int style = 0; style <= 5; ++style) {
            QImage img(37, 23, QImage::Format_RGB32);
            img.fill(Qt::white);
            {
                QPainter p(&img);
                FillGradient(p, img.rect(), QColor(10, 120, 200), QColor(10, 120, 200), style);
            }
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    if (QColor(img.pixel(x, y)) != QColor(10, 120, 200))
                        QFAIL(qPrintable(QStringLiteral("style %1 at %2,%3").arg(style).arg(x).arg(y)));
        }
    }

    void tileBitmapClipsAndRestores()
    {
        QPixmap tile(3, 2);
        tile.fill(Qt::red);
        QImage img(20, 20, QImage::Format_RGB32);
        img.fill(Qt::white);
        {
            QPainter p(&img);
            TileBitmap(p, QRect(1, 1, 10, 5), tile);
            p.fillRect(QRect(15, 15, 2, 2), Qt::blue); // clipping is back
        }
        QCOMPARE(QColor(img.pixel(1, 1)), QColor(Qt::red));
        QCOMPARE(QColor(img.pixel(10, 5)), QColor(Qt::red));
        QCOMPARE(QColor(img.pixel(11, 1)), QColor(Qt::white));
        QCOMPARE(QColor(img.pixel(1, 6)), QColor(Qt::white));
        QCOMPARE(QColor(img.pixel(15, 15)), QColor(Qt::blue));
    }

    void tabFacePlans()
    {
        const QRect tab(10, 0, 60, 20);
        TabFacePlan p = PlanTabFace(tab, true, QTabBar::RoundedNorth, true, QColor(0, 0, 255));
        QCOMPARE(p.fill, QRect(11, 0, 58, 20));
        QCOMPARE(p.from, QColor(255, 255, 255));
        QCOMPARE(p.style, 0);
        QCOMPARE(p.text, tab);
        p = PlanTabFace(tab, false, QTabBar::RoundedNorth, true, QColor(0, 0, 255));
        QCOMPARE(p.fill, QRect(11, 0, 58, 22));
        QCOMPARE(p.to, QColor(0x88, 0x88, 0x88));
        QCOMPARE(p.text, tab.translated(0, 2));
        p = PlanTabFace(tab, false, QTabBar::RoundedSouth, true, QColor(0, 0, 255));
        QCOMPARE(p.fill, QRect(11, -2, 58, 22));
        QCOMPARE(p.text, tab.translated(0, -2));
        p = PlanTabFace(QRect(0, 10, 20, 60), false, QTabBar::RoundedWest, true, Qt::red);
        QCOMPARE(p.fill, QRect(0, 10, 22, 60));
        QCOMPARE(p.style, 1);
        QCOMPARE(p.rotation, 90);
        p = PlanTabFace(QRect(0, 10, 20, 60), true, QTabBar::RoundedEast, false, Qt::red);
        QVERIFY(!p.gradient);
        QCOMPARE(p.fill, QRect(0, 10, 20, 60));
        QCOMPARE(p.rotation, 270);
    }

    void changingToTabVeto()
    {
        TPageControles pc;
        pc.resize(300, 200);
        for (const char *caption : {"Eins", "Zwei", "Drei"}) {
            auto *page = new TTabSheetes;
            page->SetCaption(QString::fromLatin1(caption));
            pc.AddPage(page);
        }
        QList<int> asked;
        int changes = 0;
        bool allow = false;
        pc.OnChangingToTab = [&](TPageControles *, int to, bool &ok) {
            asked << to;
            ok = allow;
        };
        pc.OnChange = [&](TPageControles *) { ++changes; };
        pc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pc));
        QCOMPARE(pc.ActivePageIndex(), 0);
        TColorTabBar *bar = pc.TabBar();

        // Mouse: refused, the page stays; allowed, it changes.
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
        QCOMPARE(asked, QList<int>({2}));
        QCOMPARE(pc.LastHitTab(), 2);
        QCOMPARE(pc.ActivePageIndex(), 0);
        QCOMPARE(changes, 0);
        allow = true;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
        QCOMPARE(pc.ActivePageIndex(), 1);
        QCOMPARE(changes, 1);
        QVERIFY(pc.ActivePage()->isVisible());

        // Keyboard: the veto hears the real target, not the last mouse tab.
        allow = false;
        asked.clear();
        QTest::keyClick(bar, Qt::Key_Right);
        QCOMPARE(asked, QList<int>({2}));
        QCOMPARE(pc.ActivePageIndex(), 1);
        QTest::keyClick(bar, Qt::Key_Left);
        QCOMPARE(asked, QList<int>({2, 0}));
        QCOMPARE(pc.ActivePageIndex(), 1);
        QTest::keyClick(&pc, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(asked.last(), 2);
        QCOMPARE(pc.ActivePageIndex(), 1);

        // Wheel: down goes to the next tab, refused, then allowed.
        QWheelEvent down(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                         Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &down);
        QCOMPARE(asked.last(), 2);
        QCOMPARE(pc.ActivePageIndex(), 1);
        allow = true;
        QApplication::sendEvent(bar, &down);
        QCOMPARE(pc.ActivePageIndex(), 2);
        QCOMPARE(changes, 2);

        // The program's own change asks nobody.
        asked.clear();
        pc.SetActivePageIndex(0);
        QVERIFY(asked.isEmpty());
        QCOMPARE(pc.ActivePageIndex(), 0);
    }

    void holderRepaintsLinkedPages()
    {
        TBitmapHolder holder;
        TPageControles pc;
        pc.resize(200, 120);
        auto *page = new TTabSheetes;
        page->SetCaption(QStringLiteral("Seite"));
        pc.AddPage(page);
        page->SetBitmapHolder(&holder);
        pc.SetBitmapHolder(&holder);
        QCOMPARE(holder.ClientCount(), 2);
        QPixmap red(4, 4);
        red.fill(Qt::red);
        holder.SetBitmap(red);
        QCOMPARE(QColor(render(*page).pixel(10, 10)), QColor(Qt::red));

        pc.show();
        QVERIFY(QTest::qWaitForWindowExposed(&pc));
        int paints = 0;
        struct Counter : QObject {
            int *n;
            bool eventFilter(QObject *, QEvent *e) override
            {
                if (e->type() == QEvent::Paint)
                    ++*n;
                return false;
            }
        } counter;
        counter.n = &paints;
        page->installEventFilter(&counter);
        QApplication::processEvents();
        paints = 0;
        QPixmap green(4, 4);
        green.fill(Qt::green);
        holder.SetBitmap(green);
        QTRY_VERIFY(paints > 0);
        QCOMPARE(QColor(render(*page).pixel(10, 10)), QColor(Qt::green));

        // A page with its own picture uses that one.
        QPixmap blue(4, 4);
        blue.fill(Qt::blue);
        page->SetBitmap(blue);
        QCOMPARE(QColor(render(*page).pixel(10, 10)), QColor(Qt::blue));
        page->removeEventFilter(&counter);
    }

    void dropEffects()
    {
        const int all = DropEffectCopy | DropEffectMove | DropEffectLink;
        QCOMPARE(ComputeDropEffect(MK_SHIFT, all, all), DropEffectMove);
        QCOMPARE(ComputeDropEffect(MK_SHIFT | MK_CONTROL, all, all), DropEffectLink);
        QCOMPARE(ComputeDropEffect(0, all, all), DropEffectCopy);
        QCOMPARE(ComputeDropEffect(MK_CONTROL, all, all), DropEffectCopy);
        // Shift without move on the target falls back to the first shared effect.
        QCOMPARE(ComputeDropEffect(MK_SHIFT, DropEffectCopy | DropEffectLink, all), DropEffectCopy);
        QCOMPARE(ComputeDropEffect(0, DropEffectLink, DropEffectMove | DropEffectLink), DropEffectLink);
        QCOMPARE(ComputeDropEffect(0, DropEffectCopy, DropEffectMove), DropEffectNone);
        QCOMPARE(DragKeyState(Qt::ShiftModifier | Qt::ControlModifier, Qt::LeftButton), MK_SHIFT | MK_CONTROL | MK_LBUTTON);
    }

    void fileDropTakesFilesAndProcessesAfterTheDrop()
    {
        QWidget target;
        target.resize(100, 100);
        TDragDropFiles dd;
        dd.SetDragDropControl(&target);
        dd.SetTargetEffects(DropEffectCopy | DropEffectMove | DropEffectLink);
        QVERIFY(target.acceptDrops());
        int dropped = 0, processed = 0, processedEffect = -1;
        QStringList filesAtProcessing;
        dd.OnDrop = [&](const QMimeData *, int, QPoint, int &) { ++dropped; };
        dd.OnProcessDropped = [&](QObject *sender, int, QPoint, int effect) {
            QCOMPARE(sender, &dd);
            ++processed;
            processedEffect = effect;
            filesAtProcessing = dd.Files;
        };
        QMimeData files;
        files.setUrls({QUrl::fromLocalFile("/tmp/a.txt"), QUrl::fromLocalFile("/tmp/b"), QUrl::fromLocalFile("/tmp/a.txt")});
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
        QDragEnterEvent enter(QPoint(5, 5), actions, &files, Qt::LeftButton, Qt::ShiftModifier);
        QApplication::sendEvent(&target, &enter);
        QVERIFY(enter.isAccepted());
        QCOMPARE(enter.dropAction(), Qt::MoveAction);
        QDropEvent drop(QPointF(5, 5), actions, &files, Qt::NoButton, Qt::ShiftModifier);
        QApplication::sendEvent(&target, &drop);
        QCOMPARE(dropped, 1);
        QCOMPARE(drop.dropAction(), Qt::MoveAction);
        QCOMPARE(processed, 0); // not yet: after the drop has returned
        QTRY_COMPARE(processed, 1);
        QCOMPARE(processedEffect, DropEffectMove);
        QCOMPARE(filesAtProcessing, QStringList({"/tmp/a.txt", "/tmp/b", "/tmp/a.txt"}));
        QCOMPARE(dd.LastKeyState(), MK_SHIFT);
    }

    void foreignDataRefusedAndOwnDragIgnored()
    {
        QWidget target;
        TDragDropFiles dd;
        dd.SetDragDropControl(&target);
        int dropped = 0, processed = 0;
        dd.OnDrop = [&](const QMimeData *, int, QPoint, int &) { ++dropped; };
        dd.OnProcessDropped = [&](QObject *, int, QPoint, int) { ++processed; };
        QMimeData text;
        text.setText(QStringLiteral("kein Dateiname"));
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &enter);
        QVERIFY(!enter.isAccepted());
        QDropEvent drop(QPointF(1, 1), Qt::CopyAction, &text, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &drop);
        QVERIFY(!drop.isAccepted());
        QCOMPARE(dropped, 0);
        // Web addresses are no local files either.
        QMimeData web;
        web.setUrls({QUrl(QStringLiteral("https://www.ozo.de/"))});
        QDragEnterEvent webEnter(QPoint(1, 1), Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &webEnter);
        QVERIFY(!webEnter.isAccepted());

        // The component's own drag dropped on its own control.
        dd.Files = QStringList({"/tmp/eigen.txt"});
        std::unique_ptr<QMimeData> own(dd.CreateDragData());
        dd.Files = QStringList({"/tmp/bleibt.txt"});
        QDragEnterEvent ownEnter(QPoint(1, 1), Qt::CopyAction, own.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &ownEnter);
        QVERIFY(ownEnter.isAccepted());
        QDropEvent ownDrop(QPointF(1, 1), Qt::CopyAction, own.get(), Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&target, &ownDrop);
        QCOMPARE(dropped, 1);
        QTRY_COMPARE(processed, 1);
        QCOMPARE(dd.Files, QStringList({"/tmp/bleibt.txt"}));

        // A drag of nothing does nothing.
        dd.Files.clear();
        QCOMPARE(dd.StartDrag(), DropEffectNone);
    }
};

QTEST_MAIN(TstKitControls)
#include "tst_kitcontrols.moc"
