// Symbols beside a film's line (modes, positions, sound shapes), the search
// for a film's picture, picture fitting and cells, the quarter turn, and the
// number label's boxes, sizes and remaining time; the pictures a new user's
// labels name, in the built program folder.
#include "fakeart.h"
#include "app/apppaths.h"
#include "app/settings.h"
#include "data/categories.h"
#include "print/labelformat.h"
#include "print/labelpictures.h"
#include "print/labelsymbols.h"
#include "print/numberlabel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TLabelFilm colourFullScreen()
{
    TLabelFilm f;
    f.Titel = QStringLiteral("Film");
    return f;
}

QStringList files(const std::vector<TSymbolSlot> &slotRow)
{
    QStringList l;
    for (const TSymbolSlot &s : slotRow)
        l << (s.kind == TSymbolSlot::Sound ? QStringLiteral("sound:") + s.code : s.file);
    return l;
}

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

} // namespace

class TestLabelSymbols : public QObject
{
    Q_OBJECT
private slots:
    void formatModes_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("wide");
        QTest::addColumn<bool>("sw");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("0 colour 4:3") << 0 << false << false << QStringList();
        QTest::newRow("0 colour wide") << 0 << true << false << QStringList{"widescrn.bmp"};
        QTest::newRow("0 sw 4:3") << 0 << false << true << QStringList{"SW.bmp"};
        QTest::newRow("0 sw wide") << 0 << true << true << QStringList{"widescrn.bmp", "SW.bmp"};
        QTest::newRow("1 colour 4:3") << 1 << false << false << QStringList{"fullscrn.bmp", "RGB.bmp"};
        QTest::newRow("1 sw wide") << 1 << true << true << QStringList{"widescrn.bmp", "SW.bmp"};
        QTest::newRow("2 colour 4:3") << 2 << false << false << QStringList{"Fullscrn.bmp"};
        QTest::newRow("2 colour wide") << 2 << true << false << QStringList{"Widescrn.bmp"};
        QTest::newRow("2 sw wide") << 2 << true << true << QStringList{"WidescrnSW.bmp"};
        QTest::newRow("2 sw 4:3") << 2 << false << true << QStringList{"SW.bmp"};
        QTest::newRow("3 colour 4:3") << 3 << false << false << QStringList{"RGB.bmp"};
        QTest::newRow("3 colour wide") << 3 << true << false << QStringList{"WidescrnRGB.bmp"};
        QTest::newRow("3 sw wide") << 3 << true << true << QStringList{"WidescrnSW.bmp"};
    }
    void formatModes()
    {
        QFETCH(int, mode);
        QFETCH(bool, wide);
        QFETCH(bool, sw);
        QFETCH(QStringList, expected);
        QCOMPARE(FormatSymbolFiles(mode, wide, sw), expected);
    }

    void slotOrder()
    {
        TLabelSettings o;
        o.FormatSymbMode = 1;
        o.PrintAnhSymb = true;
        TLabelFilm f = colourFullScreen();
        f.Ton = QStringLiteral("S");
        f.Memo = QStringLiteral("Notiz");
        f.Wertung = 4;
        TSymbolSwitches sw{true, true, true, false};
        QCOMPARE(files(FilmSymbolSlots(f, o, sw, true, true)),
                 (QStringList{"sound:S", "fullscrn.bmp", "RGB.bmp", "", "NotesSW.bmp", "4Sterne.jpg"}));
        // No category symbol file, no attachment picture: those take no place.
        QCOMPARE(files(FilmSymbolSlots(f, o, sw, false, false)),
                 (QStringList{"sound:S", "fullscrn.bmp", "RGB.bmp", "4Sterne.jpg"}));
        // Ratings beyond 5 draw no stars; 0 and 1 have their own files.
        f.Wertung = 6;
        QVERIFY(!files(FilmSymbolSlots(f, o, sw, false, false)).contains(QStringLiteral("6Sterne.jpg")));
        QCOMPARE(files(FilmSymbolSlots(f, o, sw, false, false)).size(), 3);
        f.Wertung = 1;
        QCOMPARE(files(FilmSymbolSlots(f, o, sw, false, false)).last(), QStringLiteral("1Stern.jpg"));
        f.Wertung = 0;
        QCOMPARE(files(FilmSymbolSlots(f, o, sw, false, false)).last(), QStringLiteral("0Sterne.jpg"));
    }

    void attachmentSymbol()
    {
        TLabelSettings o;
        o.PrintAnhSymb = true;
        TLabelFilm f = colourFullScreen();
        const TSymbolSwitches none;
        QVERIFY(FilmSymbolSlots(f, o, none, true, false).empty());
        f.Free[14] = QStringLiteral("x");
        QCOMPARE(FilmSymbolSlots(f, o, none, true, false).size(), size_t(1));
        o.PrintAnhSymbMemo = true; // only a memo counts then
        QVERIFY(FilmSymbolSlots(f, o, none, true, false).empty());
        f.Memo = QStringLiteral("m");
        QCOMPARE(FilmSymbolSlots(f, o, none, true, false).size(), size_t(1));
        QVERIFY(FilmSymbolSlots(f, o, none, false, false).empty()); // no picture loaded
    }

    void positionsRightToLeft()
    {
        FakeArt art;
        art.missing << QStringLiteral("RGB.bmp");
        TLabelSettings o;
        o.FormatSymbMode = 1;
        TLabelFilm f = colourFullScreen();
        f.Ton = QStringLiteral("Q"); // no such sound: nothing, but it takes its place
        TLabelLayout out;
        const QRect first(500, 10, 20, 20);
        const int left = DrawFilmSymbols(out, f, first, 4, false, {true, false, false, false}, o, art);
        // fullscrn in the second position, a cross for the missing RGB in the third.
        QCOMPARE(int(out.items.size()), 3);
        QCOMPARE(out.items[0].kind, TLabelItem::Image);
        QCOMPARE(out.items[0].rect, QRect(476, 10, 20, 20));
        QCOMPARE(out.items[1].kind, TLabelItem::Line);
        QCOMPARE(out.items[1].p1, QPoint(452, 10));
        QCOMPARE(out.items[1].p2, QPoint(472, 30));
        QCOMPARE(left, 452);
    }

    void starsRectangles()
    {
        FakeArt art;
        TLabelSettings o;
        TLabelFilm f = colourFullScreen();
        f.Wertung = 3;
        TLabelLayout out;
        DrawFilmSymbols(out, f, QRect(500, 10, 20, 20), 4, false, {false, true, false, false}, o, art);
        QCOMPARE(out.items.at(0).rect, QRect(420, 10, 100, 20));
        TLabelLayout compact;
        DrawFilmSymbols(compact, f, QRect(500, 10, 20, 20), 4, false, {false, true, false, true}, o, art);
        QCOMPARE(compact.items.at(0).rect, QRect(470, 15, 50, 10));
        f.Wertung = 7;
        TLabelLayout none;
        DrawFilmSymbols(none, f, QRect(500, 10, 20, 20), 4, false, {false, true, false, false}, o, art);
        QVERIFY(none.items.empty());
    }

    void soundShapes()
    {
        FakeArt art;
        const QRect r(0, 0, 40, 40); // inner rectangle 10, 10, 20 × 20
        TLabelLayout m;
        DrawSoundSymbol(m, r, QLatin1Char('M'), art);
        QCOMPARE(int(m.items.size()), 1);
        QCOMPARE(m.items[0].rect, QRect(10, 10, 20, 20));
        TLabelLayout s;
        DrawSoundSymbol(s, r, QLatin1Char('S'), art);
        QCOMPARE(s.items[0].rect, QRect(5, 10, 20, 20));
        QCOMPARE(s.items[1].rect, QRect(15, 10, 20, 20));
        TLabelLayout h;
        DrawSoundSymbol(h, r, QLatin1Char('H'), art);
        QCOMPARE(h.items[1].rect, QRect(14, 12, 16, 16));
        TLabelLayout z;
        DrawSoundSymbol(z, r, QLatin1Char('Z'), art);
        QCOMPARE(z.items[0].rect, QRect(10, 10, 10, 20));
        QCOMPARE(z.items[1].rect, QRect(20, 10, 10, 20));
        TLabelLayout a;
        DrawSoundSymbol(a, r, QLatin1Char('A'), art);
        QCOMPARE(a.items[0].image.text(QStringLiteral("name")), QStringLiteral("ac3.bmp"));
        QCOMPARE(a.items[0].rect, r);
        for (char c : {'D', 'E', 'P', 'T', 'X'}) {
            TLabelLayout b;
            DrawSoundSymbol(b, r, QLatin1Char(c), art);
            QCOMPARE(int(b.items.size()), 1);
        }
        TLabelLayout other;
        DrawSoundSymbol(other, r, QLatin1Char('?'), art);
        QVERIFY(other.items.empty());
        art.missing << QStringLiteral("dts.bmp");
        TLabelLayout missing;
        DrawSoundSymbol(missing, r, QLatin1Char('T'), art);
        QVERIFY(missing.items.empty());
    }

    void pictureSearchOrder()
    {
        QTemporaryDir dir;
        QDir d(dir.path());
        d.mkdir(QStringLiteral("folder"));
        for (const char *n : {"a.jpg", "b.bmp", "cover_back.png", "z.jpeg"})
            touch(d.filePath(QStringLiteral("folder/") + QLatin1String(n)));
        d.mkdir(QStringLiteral("nocover"));
        for (const char *n : {"b.bmp", "c.jpeg", "a.txt"})
            touch(d.filePath(QStringLiteral("nocover/") + QLatin1String(n)));
        d.mkdir(QStringLiteral("bmponly"));
        touch(d.filePath(QStringLiteral("bmponly/x.bmp")));
        touch(d.filePath(QStringLiteral("single.png")));

        FakeArt art;
        art.links = {2, 3, 5};
        TLabelFilm f;
        f.Free[0] = d.filePath(QStringLiteral("single.png")); // not a link field
        f.Free[1] = d.filePath(QStringLiteral("missing"));
        f.Free[2] = d.filePath(QStringLiteral("folder"));
        TFilmPicture p = FindFilmPicture(f, art);
        QVERIFY(!p.HasBlob);
        QCOMPARE(QFileInfo(p.Path).fileName(), QStringLiteral("cover_back.png"));
        f.Free[2] = d.filePath(QStringLiteral("nocover"));
        QCOMPARE(QFileInfo(FindFilmPicture(f, art).Path).fileName(), QStringLiteral("c.jpeg"));
        f.Free[2] = d.filePath(QStringLiteral("bmponly"));
        QCOMPARE(QFileInfo(FindFilmPicture(f, art).Path).fileName(), QStringLiteral("x.bmp"));
        f.Free[2] = d.filePath(QStringLiteral("single.png")); // a file ends the search
        f.Free[4] = d.filePath(QStringLiteral("folder"));
        QCOMPARE(QFileInfo(FindFilmPicture(f, art).Path).fileName(), QStringLiteral("single.png"));
        f.Free[2].clear();
        QCOMPARE(QFileInfo(FindFilmPicture(f, art).Path).fileName(), QStringLiteral("cover_back.png"));

        // The stored picture: when there is no file, or when it is preferred.
        f.Grafik = QImage(2, 2, QImage::Format_RGB32);
        p = FindFilmPicture(f, art);
        QVERIFY(p.HasBlob);
        QCOMPARE(ChooseFilmPicture(f, p, false).size(), QSize(8, 6));
        QCOMPARE(ChooseFilmPicture(f, p, true).size(), QSize(2, 2));
        QCOMPARE(ChooseFilmPicture(f, TFilmPicture(), false).size(), QSize(2, 2));
    }

    void pictureFitting()
    {
        // Grown by 1.1 while it fits: 100×50 into 300×300 without limit.
        QSize s = FitFilmPicture(QSize(100, 50), QSize(300, 300), 0);
        QVERIFY(s.width() <= 300 && s.height() <= 300);
        QVERIFY(s.width() > 270); // one more ×1.1 would pass 300
        // 100 % never enlarges beyond the picture's own size.
        QCOMPARE(FitFilmPicture(QSize(100, 50), QSize(300, 300), 100), QSize(100, 50));
        QVERIFY(FitFilmPicture(QSize(100, 50), QSize(300, 300), 150).width() <= 150);
        // Too large: shrunk by 0.98 into the cell.
        s = FitFilmPicture(QSize(4000, 3000), QSize(100, 80), 0);
        QVERIFY(s.width() <= 100 && s.height() <= 80);
        QVERIFY(s.width() >= 95 || s.height() >= 75);
        // Tiny pictures and cells end, at least one pixel.
        QCOMPARE(FitFilmPicture(QSize(1, 1), QSize(50, 50), 0), QSize(1, 1));
        QCOMPARE(FitFilmPicture(QSize(2, 2), QSize(50, 50), 0).width(), FitFilmPicture(QSize(2, 2), QSize(50, 50), 0).height());
        s = FitFilmPicture(QSize(5000, 2), QSize(1, 1), 0);
        QCOMPARE(s, QSize(1, 1));
        s = FitFilmPicture(QSize(3, 3), QSize(0, 0), 0);
        QCOMPARE(s, QSize(1, 1));
    }

    void pictureCells()
    {
        const TLabelScale s = DpiLabelScale(254, 254); // 1 mm = 10 px
        std::vector<QRect> c = PictureCells(QRect(0, 0, 320, 100), 3, s);
        QCOMPARE(int(c.size()), 3);
        QCOMPARE(c[0], QRect(0, 0, 100, 100));
        QCOMPARE(c[1], QRect(110, 0, 100, 100));
        QCOMPARE(c[2], QRect(220, 0, 100, 100));
        c = PictureCells(QRect(5, 5, 100, 210), 2, s);
        QCOMPARE(c[0], QRect(5, 5, 100, 100));
        QCOMPARE(c[1], QRect(5, 115, 100, 100));
        QCOMPARE(PictureCells(QRect(0, 0, 100, 100), 1, s).at(0), QRect(0, 0, 100, 100));
    }

    void quarterTurn()
    {
        QImage src(3, 2, QImage::Format_RGB32);
        const QRgb px[2][3] = {{0xff000001, 0xff000002, 0xff000003}, {0xff000004, 0xff000005, 0xff000006}};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                src.setPixel(x, y, px[y][x]);
        const QImage t = RotateBitmap90(src);
        QCOMPARE(t.size(), QSize(2, 3));
        // First row: the first column of the source read bottom to top.
        QCOMPARE(t.pixel(0, 0), QRgb(0xff000004));
        QCOMPARE(t.pixel(1, 0), QRgb(0xff000001));
        QCOMPARE(t.pixel(0, 2), QRgb(0xff000006));
        QCOMPARE(t.pixel(1, 2), QRgb(0xff000003));
    }

    void numberBoxes()
    {
        TNumberBox dvd = SeparateNumberBox(true, 1550);
        QCOMPARE(dvd.left, 1550);
        QCOMPARE(dvd.width, 100);
        QCOMPARE(dvd.height, 80);
        QCOMPARE(dvd.centreX, 1600);
        QCOMPARE(dvd.maxTextWidth, 100);
        TNumberBox vhs = SeparateNumberBox(false, 1550);
        QCOMPARE(vhs.width, 160);
        QCOMPARE(vhs.height, 110);
        QCOMPARE(vhs.centreX, 1630);
        QCOMPARE(vhs.maxTextWidth, 150);
        QCOMPARE(NumberTargetHeight(true, true, false), 75);
        QCOMPARE(NumberTargetHeight(false, true, true), 75);
        QCOMPARE(NumberTargetHeight(false, true, false), 100);
        QCOMPARE(NumberTargetHeight(true, false, false), 100);

        // Drawn at 254 dpi: the box in pixels = tenths.
        TNumberLabelInput in;
        in.label = QRect(100, 200, 1475, 200);
        in.number = 42;
        in.isDVD = true;
        in.separate = true;
        in.spineKind = true;
        in.font = QFont(QStringLiteral("DejaVu Sans"));
        TLabelLayout out;
        DrawNumberLabel(out, in, 1550, DpiLabelScale(254, 254));
        QCOMPARE(out.items[0].rect, QRect(1650, 200, 100, 80));
        QCOMPARE(out.items[1].text, QStringLiteral("42"));
        const QFontMetrics fm(out.items[1].font);
        QVERIFY(fm.height() <= 75);
        QVERIFY(fm.horizontalAdvance(QStringLiteral("42")) <= 100);
        // Centred on 160 mm from the label's left edge.
        QVERIFY(qAbs(out.items[1].p1.x() + fm.horizontalAdvance(QStringLiteral("42")) / 2 - 1700) <= 1);
    }

    void fontLoops()
    {
        // Height grows 3 px a point; width 10 px a point.
        auto measure = [](int p) { return QSize(10 * p, 3 * p); };
        QCOMPARE(FitFontPoints(5, 30, 30, 1000, measure), 10);
        QCOMPARE(FitFontPoints(20, 30, 30, 1000, measure), 10);
        QCOMPARE(FitFontPoints(5, 30, 30, 55, measure), 5); // the width limits
        // Nothing fits: stops at 1 point.
        QCOMPARE(FitFontPoints(5, 30, 30, 0, measure), 1);
        // A measure that never grows ends at the cap, not never.
        const int capped = FitFontPoints(1, 10, 10, 1000, [](int) { return QSize(1, 1); });
        QVERIFY(capped > 1 && capped <= 1001);
        QCOMPARE(FitFontPoints(0, 0, 0, 0, measure), 1);
    }

    void remainingTime()
    {
        TLabelSettings o;
        o.PrintRest = true;
        o.PlayTimeFormat = 4;
        TLabelMedium m;
        m.Medium = QStringLiteral("VHS-SB");
        m.bRest = 75;
        TLabelFilm a;
        a.Len = 90;
        TLabelFilm b;
        b.Len = 60;
        m.Films = {a, b};
        QCOMPARE(RemainingTimeText(m, o, lkSpine, 5, false), QStringLiteral("1:15"));
        QCOMPARE(RemainingTimeText(m, o, lkSpine, 5, true), QStringLiteral("1:15 *"));
        m.bRest.reset();
        QCOMPARE(RemainingTimeText(m, o, lkSpine, 5, false), QStringLiteral("----"));
        QVERIFY(!RemainingTimeText(m, o, lkUser, 5, false));
        m.Films[1].Len.reset();
        QVERIFY(!RemainingTimeText(m, o, lkSpine, 5, false));
        o.bRest1bis4 = true; // only the films of the label count
        QVERIFY(RemainingTimeText(m, o, lkSpine, 1, false));
        m.Films[1].Exists = false; // up to the first missing film
        o.bRest1bis4 = false;
        QVERIFY(RemainingTimeText(m, o, lkSpine, 5, false));
        m.Medium = QStringLiteral("DVD");
        QVERIFY(!RemainingTimeText(m, o, lkSpine, 5, false));
        m.Medium = QStringLiteral("VHS-KK");
        QVERIFY(!RemainingTimeText(m, o, lkSpine, 5, false));
        o.PrintRest = false;
        m.Medium = QStringLiteral("VHS-SB");
        QVERIFY(!RemainingTimeText(m, o, lkSpine, 5, false));
    }

    void generatedSymbolFiles()
    {
        // The program folder's own symbols, found by the names the drawing
        // uses; "Widescrn.bmp" is the screen symbol "widescrn.bmp".
        TProgDirArtProvider art(QStringLiteral(TARVO_PROGDIR) + QLatin1Char('/'));
        for (const char *name : {"ac3.bmp", "surrnd.bmp", "es.bmp", "mpg.bmp", "dts.bmp", "ex.bmp", "widescrn.bmp",
                                 "fullscrn.bmp", "Widescrn.bmp", "Fullscrn.bmp", "SW.bmp", "RGB.bmp",
                                 "WidescrnSW.bmp", "WidescrnRGB.bmp", "NotesSW.bmp", "0Sterne.jpg", "1Stern.jpg",
                                 "2Sterne.jpg", "5Sterne.jpg"})
            QVERIFY2(!art.symbol(QLatin1String(name)).isNull(), name);
        QVERIFY(art.symbol(QStringLiteral("6Sterne.jpg")).isNull());
        // A foot symbol as stored: below the folder, the separator "\\".
        QVERIFY(!art.symbol(QStringLiteral("Symbole\\teddy2.bmp")).isNull());
        // Five stars wide, one high: drawn into five symbol widths.
        const QImage stars = art.symbol(QStringLiteral("3Sterne.jpg"));
        QCOMPARE(stars.width(), 5 * stars.height());
        QVERIFY(art.categorySymbol(1).isNull()); // no categories given
        QCOMPARE(art.categoryName(1), QString());
    }

    void numberOnlyLabel()
    {
        TLabelLayout out;
        const QRect label(0, 0, 400, 200);
        DrawNumberOnlyLabel(out, label, 1234, QFont(QStringLiteral("DejaVu Sans")), 8, DpiLabelScale(254, 254));
        QCOMPARE(int(out.items.size()), 1);
        const QFontMetrics fm(out.items[0].font);
        QVERIFY(fm.height() <= 180);
        QVERIFY(fm.horizontalAdvance(QStringLiteral("1234")) <= 380);
        // Grown from 8 points to about the label's height.
        QVERIFY(fm.height() > 120 || fm.horizontalAdvance(QStringLiteral("1234")) > 330);
    }

    void defaultPicturesAreInTheProgramFolder()
    {
        // What a new user's labels name before anything is chosen: the foot
        // symbol the settings start with, the folder its chooser opens, and
        // the symbols of a new database's built-in categories.
        InitSettingsDefaults(QStringLiteral(TARVO_PROGDIR));
        TProgDirArtProvider art(ProgDir);
        QVERIFY(!art.symbol(SymbolFile).isNull());
        QVERIFY(QFileInfo(ExpandProgramPath(SymbDirF)).isDir());
        TCategoryTable table;
        QVERIFY(LoadCategories(ProgDir + QStringLiteral("Def60.KAT"), table));
        std::vector<TProgDirArtProvider::Category> cats;
        for (const TCategory &c : table)
            cats.push_back({c.name, c.symbol, std::nullopt});
        art.setCategories(cats);
        int named = 0;
        for (int i = 1; i <= CategoryCount; ++i) {
            if (table[size_t(i - 1)].symbol.isEmpty())
                continue;
            ++named;
            QVERIFY2(!art.categorySymbol(i).isNull(), qPrintable(table[size_t(i - 1)].symbol));
        }
        QVERIFY(named > 0);
    }
};

QTEST_MAIN(TestLabelSymbols)
#include "tst_labelsymbols.moc"
