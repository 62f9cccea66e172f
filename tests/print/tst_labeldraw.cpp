// One medium's label: the line geometry by hand, every refusal and outcome,
// where the text and the number start, the frame split with each frame's
// drawing held inside its frame, and the fitting.
#include "fakeart.h"
#include "print/labeldraw.h"
#include "print/numberlabel.h"
#include "print/previewsize.h"

#include <QPainter>
#include <QtTest>

namespace {

TLabelMedium medium(const QString &kind, int nr, int films)
{
    TLabelMedium m;
    m.Medium = kind;
    m.Nr = nr;
    m.Films.resize(5);
    for (int i = 0; i < 5; ++i) {
        m.Films[size_t(i)].Exists = i < films;
        m.Films[size_t(i)].Titel = QStringLiteral("Film %1").arg(i + 1);
    }
    return m;
}

TLabelFormat spine()
{
    TLabelFormat f; // 147.3 x 20 mm, 5 films, print type 0
    return f;
}

TLabelSettings settings()
{
    TLabelSettings s;
    s.VCenter = true;
    return s;
}

const TLabelTarget spineKind{lkSpine};

const TLabelScale tenth = DpiLabelScale(254, 254); // 10 pixels per millimetre

std::vector<const TLabelItem *> texts(const TLabelLayout &l)
{
    std::vector<const TLabelItem *> out;
    for (const TLabelItem &i : l.items)
        if (i.kind == TLabelItem::Text && !i.text.isEmpty())
            out.push_back(&i);
    return out;
}

const TLabelItem *textItem(const TLabelLayout &l, const QString &t)
{
    for (const TLabelItem &i : l.items)
        if (i.kind == TLabelItem::Text && i.text == t)
            return &i;
    return nullptr;
}

int rectCount(const TLabelLayout &l)
{
    int n = 0;
    for (const TLabelItem &i : l.items)
        n += i.kind == TLabelItem::Rect;
    return n;
}

} // namespace

class TestLabelDraw : public QObject
{
    Q_OBJECT
private slots:
    void lineGeometryByHand()
    {
        // MaxFAnz 5: 10 - (n - 1) * 2.5, halves to even.
        QCOMPARE(LabelLineGap(1, 5), 10);
        QCOMPARE(LabelLineGap(2, 5), 8);
        QCOMPARE(LabelLineGap(3, 5), 5);
        QCOMPARE(LabelLineGap(4, 5), 2);
        QCOMPARE(LabelLineGap(5, 5), 0);
        QCOMPARE(LabelLineGap(1, 1), 0); // no division by MaxFAnz - 1 = 0
        QCOMPARE(LabelLineGap(1, 0), 0);
        // Spine, 20 mm, 3 films, gap 0.5 mm: (18 - 1) * 10 / 3 = 56.67 -> 57.
        QCOMPARE(LabelLinePitch(200, 3, 5, false, 10.0), 57);
        // The window label takes 4 mm off: (16 - 1) * 10 / 3 = 50.
        QCOMPARE(LabelLinePitch(200, 3, 5, true, 10.0), 50);
        // Preview: 17 * 24/7 / 3 = 19.43 -> 19.
        QCOMPARE(LabelLinePitch(200, 3, 5, false, 24.0 / 7.0), 19);
        QCOMPARE(LabelLinePitch(200, 0, 10, false, 10.0), 0); // an empty medium divides by nothing
        // Baselines with a text height of 40: 0.3 * 40 + ((k - 1) * 0.5 + 1) mm + 57 (k - 0.5):
        // 50.5 -> 50, 112.5 -> 112, 174.5 -> 174 (halves to even).
        QCOMPARE(LabelBaselineOffset(1, 57, 5, 40, 10.0), 50);
        QCOMPARE(LabelBaselineOffset(2, 57, 5, 40, 10.0), 112);
        QCOMPARE(LabelBaselineOffset(3, 57, 5, 40, 10.0), 174);
    }

    void spineWithThreeFilms()
    {
        FakeArt art;
        TLabelFormat f = spine();
        f.RandL = 100;
        f.RandO = 50;
        const TLabelDrawing d = DrawLabel(medium(QStringLiteral("VHS-SB"), 17, 3), true, f, 1, spineKind, settings(), tenth, art);
        QCOMPARE(int(d.Outcome), int(TLabelOutcome::Drawn));
        // Position 1: one row down, 20 mm pitch.
        const QRect label(100, 50 + 200, 1473, 200);
        QCOMPARE(d.Layout.items.front().kind, TLabelItem::Rect);
        QCOMPARE(d.Layout.items.front().rect, label);
        // Titles 13 mm right of the edge (room for the number), one per baseline.
        for (int k = 1; k <= 3; ++k) {
            const TLabelItem *t = textItem(d.Layout, QStringLiteral("Film %1").arg(k));
            QVERIFY(t);
            QCOMPARE(t->p1.x(), label.left() + 130);
            const int h = TextHeightPp(t->font);
            QCOMPARE(t->p1.y(), label.top() + LabelBaselineOffset(k, 57, 5, h, 10.0));
        }
        // The number turned at 1 mm.
        const TLabelItem *n = textItem(d.Layout, QStringLiteral("17"));
        QVERIFY(n);
        QCOMPARE(n->rotation, 90);
        QVERIFY(n->p1.x() >= label.left() + 10 && n->p1.x() < label.left() + 130);
    }

    void separateNumberAndFootSymbol()
    {
        FakeArt art;
        TLabelSettings s = settings();
        s.NrEtiSeparate = true;
        TLabelDrawing d = DrawLabel(medium(QStringLiteral("VHS-SB"), 5, 1), false, spine(), 0, spineKind, s, tenth, art);
        QCOMPARE(textItem(d.Layout, QStringLiteral("Film 1"))->p1.x(), 20);
        // The separate number's box at 155 mm, 16 x 11 mm.
        bool box = false;
        for (const TLabelItem &i : d.Layout.items)
            box = box || (i.kind == TLabelItem::Rect && i.rect == QRect(1550, 0, 160, 110));
        QVERIFY(box);

        // A foot symbol: a square of height - 4 mm at (2, 2) mm, text 2 mm after it.
        s.NrEtiSeparate = false;
        s.SymbolFile = QStringLiteral("Fuss.bmp"); // not loadable: a cross
        art.missing << s.SymbolFile;
        d = DrawLabel(medium(QStringLiteral("VHS-SB"), 5, 1), false, spine(), 0, spineKind, s, tenth, art);
        QCOMPARE(textItem(d.Layout, QStringLiteral("Film 1"))->p1.x(), 20 + 160 + 20);
        bool cross = false;
        for (const TLabelItem &i : d.Layout.items)
            cross = cross || (i.kind == TLabelItem::Line && i.p1 == QPoint(20, 20));
        QVERIFY(cross);
        QVERIFY(!textItem(d.Layout, QStringLiteral("5")));
    }

    void dvdOnSpineIsOnlyItsNumber()
    {
        FakeArt art;
        const TLabelDrawing d = DrawLabel(medium(QStringLiteral("DVD"), 3, 2), true, spine(), 0, spineKind, settings(), tenth, art);
        QCOMPARE(int(d.Outcome), int(TLabelOutcome::Drawn));
        QCOMPARE(rectCount(d.Layout), 1);
        QCOMPARE(d.Layout.items.front().rect, QRect(1550, 0, 100, 80));
        const auto t = texts(d.Layout);
        QCOMPARE(int(t.size()), 1);
        QCOMPARE(t.front()->text, QStringLiteral("3"));
    }

    void refusals()
    {
        FakeArt art;
        // A DVD on the case top and on the window label.
        for (quint8 kind : {lkCaseTop, lkWindow}) {
            TLabelFormat f = spine();
            f.Drucktyp = kind == lkCaseTop ? ptCaseTop : ptWindow;
            TLabelDrawing d = DrawLabel(medium(QStringLiteral("DVD"), 1, 1), true, f, 0, TLabelTarget{kind}, settings(), tenth, art);
            QCOMPARE(int(d.Outcome), int(TLabelOutcome::DvdRefused));
            QVERIFY(d.Layout.items.empty());
            d = DrawLabel(medium(QStringLiteral("DVD"), 1, 1), false, f, 0, TLabelTarget{kind}, settings(), tenth, art);
            const auto t = texts(d.Layout);
            QCOMPARE(int(t.size()), 3);
            QCOMPARE(t[0]->text, QStringLiteral("Kein Etikett druckbar!"));
            QCOMPARE(t[2]->text, QStringLiteral("DVDs nicht zur Verfügung."));
            QCOMPARE(t[0]->p1.x(), 3);
        }
        // Other kinds on the built-in kinds; a user format takes them.
        TLabelDrawing d = DrawLabel(medium(QStringLiteral("CD"), 1, 1), true, spine(), 0, spineKind, settings(), tenth, art);
        QCOMPARE(int(d.Outcome), int(TLabelOutcome::OtherMediumRefused));
        QVERIFY(d.Layout.items.empty());
        d = DrawLabel(medium(QStringLiteral("CD"), 1, 1), false, spine(), 0, spineKind, settings(), tenth, art);
        QCOMPARE(texts(d.Layout).front()->text, QStringLiteral("Für sonstige Medien ist kein VHS-Etikett druckbar!"));
        d = DrawLabel(medium(QStringLiteral("CD"), 1, 1), true, spine(), 0, TLabelTarget{lkUser}, settings(), tenth, art);
        QCOMPARE(int(d.Outcome), int(TLabelOutcome::Drawn));
        QVERIFY(textItem(d.Layout, QStringLiteral("Film 1")));
        QCOMPARE(LabelOutcomeText(TLabelOutcome::DvdRefused),
                 QStringLiteral("Für DVDs können keine solchen VHS-Etiketten gedruckt werden!"));
    }

    void emptySelfRecordedCassette()
    {
        FakeArt art;
        TLabelDrawing d = DrawLabel(medium(QStringLiteral("VHS-SB"), 9, 0), true, spine(), 0, spineKind, settings(), tenth, art);
        QCOMPARE(int(d.Outcome), int(TLabelOutcome::NoFilm));
        QVERIFY(d.Layout.items.empty());
        QCOMPARE(LabelOutcomeCaption(d.Outcome), QStringLiteral("Hinweis"));
        // The preview draws the empty label and its number.
        d = DrawLabel(medium(QStringLiteral("VHS-SB"), 9, 0), false, spine(), 0, spineKind, settings(), tenth, art);
        QCOMPARE(int(d.Outcome), int(TLabelOutcome::Drawn));
        QCOMPARE(d.Layout.items.front().rect, QRect(0, 0, 1473, 200));
        QVERIFY(textItem(d.Layout, QStringLiteral("9")));
        // A bought cassette without films still gets its label.
        d = DrawLabel(medium(QStringLiteral("VHS-KK"), 2, 0), true, spine(), 0, spineKind, settings(), tenth, art);
        QCOMPARE(int(d.Outcome), int(TLabelOutcome::Drawn));
    }

    void numberOnlyAndOutlineNeedNoFilms()
    {
        FakeArt art;
        TLabelFormat f = spine();
        f.Drucktyp = ptNumberOnly;
        f.MaxFAnz = 1;
        TLabelDrawing d = DrawLabel(medium(QStringLiteral("VHS-SB"), 42, 0), true, f, 0, TLabelTarget{lkUser}, settings(), tenth, art);
        QCOMPARE(int(d.Outcome), int(TLabelOutcome::Drawn));
        QCOMPARE(texts(d.Layout).front()->text, QStringLiteral("42"));
        f.Drucktyp = ptOutline;
        d = DrawLabel(medium(QStringLiteral("VHS-SB"), 42, 0), true, f, 0, TLabelTarget{lkUser}, settings(), tenth, art);
        QCOMPARE(int(d.Layout.items.size()), 1);
    }

    void framesDrawTheOutlineOnce()
    {
        FakeArt art;
        TLabelFormat f = spine();
        f.Drucktyp = ptSpineNoFoot;
        f.R1 = TRahmen{0, 0, 1000, 0, ptNumberOnly, 0, true};
        f.R2 = TRahmen{0, 0, 0, 500, ptSpineNoFoot, 0, false};
        const TLabelDrawing d = DrawLabel(medium(QStringLiteral("VHS-SB"), 8, 1), false, f, 0, TLabelTarget{lkUser}, settings(), tenth, art);
        QCOMPARE(rectCount(d.Layout), 2); // the label and R1's border
        QCOMPARE(d.Layout.items.front().rect, QRect(0, 0, 1473, 200));
        QVERIFY(textItem(d.Layout, QStringLiteral("8")));
        // R2 starts its text 2 mm inside its left inset.
        QCOMPARE(textItem(d.Layout, QStringLiteral("Film 1"))->p1.x(), 500 + 20);
    }

    void frameDrawingStaysInItsFrame()
    {
        // A 30 mm frame whose title does not fit even at the smallest size.
        FakeArt art;
        TLabelFormat f = spine();
        f.Drucktyp = ptSpineNoFoot;
        f.R1 = TRahmen{0, 0, 1173, 0, ptSpineNoFoot, 0, true};
        TLabelMedium m = medium(QStringLiteral("VHS-SB"), 1, 1);
        m.Films[0].Titel = QStringLiteral("Ein Filmtitel, der in keinen Rahmen von drei Zentimetern Breite passt");
        const TLabelDrawing d = DrawLabel(m, true, f, 0, TLabelTarget{lkUser}, settings(), tenth, art);
        QVERIFY(d.TooSmall); // still told
        QImage img(1473, 200, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        PaintLabelLayout(p, d.Layout);
        p.end();
        // Right of the frame (x 0..299) only the label's own outline is drawn,
        // on its top and bottom rows.
        int ink = 0, inkInFrame = 0;
        for (int y = 1; y < 199; ++y) {
            for (int x = 1; x < 1472; ++x) {
                const bool dark = qGray(img.pixel(x, y)) < 250;
                (x < 300 ? inkInFrame : ink) += dark;
            }
        }
        QCOMPARE(ink, 0);
        QVERIFY(inkInFrame > 0);
    }

    void fittingShrinksLongTitles()
    {
        FakeArt art;
        TLabelFormat f = spine();
        f.Breite = 400; // 40 mm
        TLabelMedium m = medium(QStringLiteral("VHS-SB"), 1, 2);
        m.Films[0].Titel = QStringLiteral("Ein sehr langer Filmtitel, der nicht passt");
        TLabelSettings s = settings();
        s.NrEtiSeparate = true;
        TLabelDrawing d = DrawLabel(m, true, f, 0, spineKind, s, tenth, art);
        const TLabelItem *longOne = textItem(d.Layout, m.Films[0].Titel);
        const TLabelItem *shortOne = textItem(d.Layout, QStringLiteral("Film 2"));
        QVERIFY(longOne->font.pixelSize() < shortOne->font.pixelSize());
        QVERIFY(TextWidth(longOne->font, longOne->text) <= 400 - 20 - 20 - 10 || d.TooSmall);
        // One size for all films.
        s.FilmSizeIdent = true;
        d = DrawLabel(m, true, f, 0, spineKind, s, tenth, art);
        QCOMPARE(textItem(d.Layout, QStringLiteral("Film 2"))->font.pixelSize(),
                 textItem(d.Layout, m.Films[0].Titel)->font.pixelSize());
        // A label far too narrow is reported and still drawn.
        f.Breite = 60;
        d = DrawLabel(m, true, f, 0, spineKind, s, tenth, art);
        QVERIFY(d.TooSmall);
        QVERIFY(textItem(d.Layout, QStringLiteral("Film 2")));
    }

    void windowLabelWithExtraLine()
    {
        FakeArt art;
        TLabelFormat f = spine();
        f.Breite = 1000;
        f.Hoehe = 700;
        f.Drucktyp = ptWindow;
        TLabelSettings s = settings();
        s.PrintLen = true;
        TLabelMedium m = medium(QStringLiteral("VHS-SB"), 1, 1);
        m.Films[0].Len = 95;
        m.Films[0].Untertitel = QStringLiteral("Teil 2 mit sehr langem Untertitel, der eine zweite Zeile braucht und mehr");
        const TLabelDrawing d = DrawLabel(m, true, f, 0, TLabelTarget{lkWindow}, s, tenth, art);
        QCOMPARE(int(d.Outcome), int(TLabelOutcome::Drawn));
        QVERIFY(textItem(d.Layout, QStringLiteral("Film 1")));
        bool extra = false;
        for (const TLabelItem *t : texts(d.Layout))
            extra = extra || t->text.startsWith(QStringLiteral("(ca. "));
        QVERIFY(extra);
        for (const TLabelItem *t : texts(d.Layout))
            QVERIFY(t->font.pixelSize() >= 1);
    }

    void previewSizes()
    {
        TLabelFormat f;
        f.Breite = 1000;
        QCOMPARE(PreviewPaintBoxSize(f, lkUser, false, QStringLiteral("VHS-SB")), QSize(324, 73));
        f.Breite = 1475; // 472 + 4
        QCOMPARE(PreviewPaintBoxSize(f, lkSpine, false, QStringLiteral("VHS-SB")).width(), 476);
        // Room for the separate number at 155 mm.
        QCOMPARE(PreviewPaintBoxSize(f, lkSpine, false, QStringLiteral("DVD")).width(), 552);
        QCOMPARE(PreviewPaintBoxSize(f, lkSpine, true, QStringLiteral("VHS-SB")).width(), 552);
        QCOMPARE(PreviewPaintBoxSize(f, lkCaseTop, true, QStringLiteral("DVD")).width(), 476);
    }
};

QTEST_MAIN(TestLabelDraw)
#include "tst_labeldraw.moc"
