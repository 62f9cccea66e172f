// The label format: built-in kinds with and without self-adhesive sheets,
// positions on the sheet with and without the printer calibration, frames,
// the largest start label, the checks of a user format, and loading a user
// format row (with the "ZF" field added on first use), bounded to the
// sheet when it is checked and when it is read.
#include "app/settings.h"
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/scriptedpresenter.h"
#include "print/labelformat.h"
#include "print/sheetlayout.h"

#include <QTemporaryDir>
#include <limits>
#include <QtTest>

class TestLabelFormat : public QObject
{
    Q_OBJECT
private slots:
    void spineWithoutSheets()
    {
        TLabelFormat f;
        ApplyBuiltInLabelKind(f, lkSpine, false, TZFSheetLayout());
        QCOMPARE(f.RandL, 100);
        QCOMPARE(f.RandO, 100);
        QCOMPARE(f.Breite, 1475);
        QCOMPARE(f.Hoehe, 200);
        QCOMPARE(f.Ay, 40);
        QCOMPARE(f.Ax, 0);
        QCOMPARE(f.ZeilenAnz, 11);
        QCOMPARE(f.SpaltenAnz, 1);
        QCOMPARE(f.MaxFAnz, 5);
        QCOMPARE(f.Drucktyp, int(ptSpine));
        // Case top: narrower on plain paper, its own print type.
        ApplyBuiltInLabelKind(f, lkCaseTop, false, TZFSheetLayout());
        QCOMPARE(f.Breite, 950);
        QCOMPARE(f.Drucktyp, int(ptCaseTop));
        ApplyBuiltInLabelKind(f, lkCaseTop, true, TZFSheetLayout());
        QCOMPARE(f.Breite, 1475);
    }

    void spineOnSheetsWhateverCameBefore()
    {
        TZFSheetLayout z;
        z.ZFRA = 250;
        TLabelFormat f;
        ApplyBuiltInLabelKind(f, lkWindow, true, z); // a different kind first
        f.R1 = TRahmen();
        ApplyBuiltInLabelKind(f, lkSpine, true, z);
        QCOMPARE(f.Hoehe, 200);
        QCOMPARE(f.Ay, 50);
        QCOMPARE(f.Hoehe + f.Ay, 250);
        QCOMPARE(f.RandL, 313);
        QCOMPARE(f.RandO, 184);
        QCOMPARE(f.ZeilenAnz, 13);
        QVERIFY(!f.R1);
        z.ZFRA = 150; // a pitch smaller than the label: the label shrinks
        ApplyBuiltInLabelKind(f, lkSpine, true, z);
        QCOMPARE(f.Hoehe, 150);
        QCOMPARE(f.Ay, 0);
    }

    void windowLabels()
    {
        TLabelFormat f;
        ApplyBuiltInLabelKind(f, lkWindow, false, TZFSheetLayout());
        QCOMPARE(f.Breite, 787);
        QCOMPARE(f.Hoehe, 465);
        QCOMPARE(f.Ax, 40);
        QCOMPARE(f.Ay, 40);
        QCOMPARE(f.SpaltenAnz, 2);
        QCOMPARE(f.ZeilenAnz, 5);
        QCOMPARE(f.Drucktyp, int(ptWindow));
        TZFSheetLayout z;
        z.ZFGAnz = 11;
        ApplyBuiltInLabelKind(f, lkWindow, true, z);
        QCOMPARE(f.ZeilenAnz, 5);
        QCOMPARE(LabelsPerSheet(f), 10);
        // Zweckform 4742: 813 × 466 pitch, labels at most 787 × 465.
        QCOMPARE(f.Breite, 787);
        QCOMPARE(f.Ax, 26);
        QCOMPARE(f.Hoehe, 465);
        QCOMPARE(f.Ay, 1);
        QCOMPARE(f.RandL, 250);
        QCOMPARE(f.RandO, 87);
    }

    void largestStartLabel()
    {
        TLabelFormat f;
        ApplyBuiltInLabelKind(f, lkSpine, false, TZFSheetLayout());
        QCOMPARE(LargestStartLabel(f, 1), 11);
        QCOMPARE(LargestStartLabel(f, 3), 9);
        ApplyBuiltInLabelKind(f, lkWindow, false, TZFSheetLayout());
        QCOMPARE(LargestStartLabel(f, 1), 10); // 2 × 5 + 1 - 1
        QCOMPARE(LargestStartLabel(f, 4), 7);
        f.SpaltenAnz = 3;
        f.ZeilenAnz = 8;
        QCOMPARE(LargestStartLabel(f, 2), 23);
    }

    void sheetPositionsWithoutCalibration()
    {
        // 254 dpi: ten pixels a millimetre, a pixel a tenth.
        const TLabelScale s = DpiLabelScale(254, 254);
        TZFSheetLayout z;
        z.ZFKX = 30;
        z.ZFKY = -20;
        TLabelFormat f;
        ApplyBuiltInLabelKind(f, lkSpine, false, z);
        QCOMPARE(LabelRectOnSheet(f, 0, s, false, z), QRect(100, 100, 1475, 200));
        QCOMPARE(LabelRectOnSheet(f, 10, s, false, z), QRect(100, 100 + 10 * 240, 1475, 200));
        ApplyBuiltInLabelKind(f, lkWindow, false, z);
        QCOMPARE(LabelRectOnSheet(f, 3, s, false, z), QRect(100 + 827, 100 + 505, 787, 465));
    }

    void sheetPositionsWithCalibration()
    {
        const TLabelScale s = DpiLabelScale(254, 254);
        TZFSheetLayout z;
        z.ZFKX = 30;
        z.ZFKY = -20;
        TLabelFormat f;
        ApplyBuiltInLabelKind(f, lkSpine, true, z);
        QCOMPARE(LabelRectOnSheet(f, 0, s, true, z), QRect(343, 164, 1475, 200));
        QCOMPARE(LabelRectOnSheet(f, 2, s, true, z), QRect(343, 164 + 400, 1475, 200));
        // Rounded once, half to even: at 3.2 px/mm the margin 313 + 30 = 343
        // tenths is 109.76 -> 110 px; pitch 200 tenths is 64 px.
        const TLabelScale p = PreviewLabelScale();
        QCOMPARE(LabelRectOnSheet(f, 1, p, true, z).left(), 110);
        QCOMPARE(LabelRectOnSheet(f, 1, p, true, z).top(), 56 + 69); // 16.4 mm × 24/7 = 56.2; 20 mm = 68.57
        // The calibration is for printing on sheets only.
        QVERIFY(SelfAdhesiveLayout(true, lkSpine, false));
        QVERIFY(!SelfAdhesiveLayout(false, lkSpine, true));
        QVERIFY(!SelfAdhesiveLayout(true, lkCaseTop, false));
        QVERIFY(SelfAdhesiveLayout(true, lkCaseTop, true));
    }

    void pixelsRoundHalfToEven()
    {
        // 5 tenths at 1 px/mm = 0.5 px -> 0; 15 -> 2; 25 -> 2.
        TLabelScale s;
        QCOMPARE(s.px(5), 0);
        QCOMPARE(s.px(15), 2);
        QCOMPARE(s.px(25), 2);
        QCOMPARE(s.py(35), 4);
    }

    void frameFormat()
    {
        TLabelFormat f;
        f.RandL = 100;
        f.RandO = 120;
        f.Breite = 900;
        f.Hoehe = 500;
        f.Ax = 20;
        f.Ay = 30;
        f.Drucktyp = ptWindow;
        TRahmen r;
        r.l = 50;
        r.r = 150;
        r.o = 10;
        r.u = 40;
        r.Drucktyp = ptPictures;
        r.ImgTurns = 3;
        r.Border = true;
        f.R1 = r;
        const TLabelFormat d = MakeFrameFormat(f, r);
        QCOMPARE(d.RandL, 150);
        QCOMPARE(d.RandO, 130);
        QCOMPARE(d.Breite, 700);
        QCOMPARE(d.Hoehe, 450);
        QCOMPARE(d.Ax, 220);
        QCOMPARE(d.Ay, 80);
        QCOMPARE(d.Breite + d.Ax, f.Breite + f.Ax); // the pitch stays
        QCOMPARE(d.Hoehe + d.Ay, f.Hoehe + f.Ay);
        QCOMPARE(d.FrameOffsetL, 50);
        QCOMPARE(d.FrameOffsetO, 10);
        QCOMPARE(d.Drucktyp, int(ptPictures));
        QCOMPARE(int(d.ImgTurns), 3);
        QVERIFY(d.Border);
        QVERIFY(!d.R1);
    }

    void checksOfAUserFormat()
    {
        TLabelFormat f;
        QVERIFY(CheckLabelFormat(f).isEmpty());
        f.Breite = 100;
        f.Hoehe = 150;
        f.SpaltenAnz = 16;
        f.ZeilenAnz = 16; // 256 would wrap to 0 as a byte
        QVERIFY(CheckLabelFormat(f).contains(QStringLiteral("255")));
        QCOMPARE(LabelsPerSheet(f), 256);
        f.ZeilenAnz = 15; // 160 × 225 mm
        QVERIFY(CheckLabelFormat(f).isEmpty());
        f.ZeilenAnz = 0;
        QVERIFY(!CheckLabelFormat(f).isEmpty());
        f = TLabelFormat();
        f.MaxFAnz = 0;
        QVERIFY(CheckLabelFormat(f).contains(QStringLiteral("Film")));
        f = TLabelFormat();
        TRahmen r;
        r.l = 700;
        r.r = 773; // together the whole width 1473
        f.R2 = r;
        QVERIFY(CheckLabelFormat(f).contains(QStringLiteral("Rahmen 2")));
        f.R2->r = 772;
        QVERIFY(CheckLabelFormat(f).isEmpty());
        f.R2->o = 100;
        f.R2->u = 100;
        QVERIFY(!CheckLabelFormat(f).isEmpty());
    }

    void formatsAtAndBeyondTheBounds()
    {
        constexpr qint32 big = std::numeric_limits<qint32>::max();
        TLabelFormat f;
        // 65536 × 65536 is 2^32: it must not wrap to 0 and pass as a sheet.
        f.SpaltenAnz = f.ZeilenAnz = 65536;
        QCOMPARE(LabelsPerSheet(f), std::numeric_limits<int>::max());
        QVERIFY(CheckLabelFormat(f).contains(QStringLiteral("255")));
        f.SpaltenAnz = f.ZeilenAnz = -5;
        QCOMPARE(LabelsPerSheet(f), 0);
        // Exactly the sheet: 2 × 100 mm + 10 mm wide, 11 × 27 mm high.
        f = TLabelFormat();
        f.SpaltenAnz = 2;
        f.Breite = 1000;
        f.Ax = 100;
        f.ZeilenAnz = 11;
        f.Hoehe = 270;
        QVERIFY(CheckLabelFormat(f).isEmpty());
        f.RandL = 1;
        QCOMPARE(CheckLabelFormat(f), QStringLiteral("Die Etiketten passen nicht auf den Bogen: Sie reichen 210,1 mm "
                                                     "weit nach rechts, der Bogen ist nur 210,0 mm breit."));
        f.RandL = 0;
        f.Quer = true; // across, the sheet is 210 mm high
        QVERIFY(CheckLabelFormat(f).contains(QStringLiteral("297,0 mm weit nach unten, der Bogen ist nur 210,0 mm hoch")));
        f.Quer = false;
        f.Ay = -1;
        QVERIFY(CheckLabelFormat(f).contains(QStringLiteral("negativ")));
        f.Ay = 0;
        f.MaxFAnz = 100;
        QVERIFY(CheckLabelFormat(f).contains(QStringLiteral("99 Filme")));

        // A row beyond every bound is held to the sheet when it is read.
        f = TLabelFormat();
        f.RandL = f.Breite = f.Ax = f.SpaltenAnz = f.MaxFAnz = big;
        f.Hoehe = f.ZeilenAnz = f.ImgMaxZoom = -big;
        f.R1 = TRahmen{big, -1, 0, 0, 0, 0, false};
        BoundLabelFormat(f);
        QCOMPARE(f.RandL, 2970);
        QCOMPARE(f.Breite, 2970);
        QCOMPARE(f.Hoehe, 0);
        QCOMPARE(f.SpaltenAnz, 255);
        QCOMPARE(f.ZeilenAnz, 0);
        QCOMPARE(f.MaxFAnz, 99);
        QCOMPARE(f.ImgMaxZoom, 0);
        QCOMPARE(f.R1->o, 2970);
        QCOMPARE(f.R1->u, 0);

        // Unbounded values (a format made in code) give far-off places, never
        // a wrapped sum: run under UBSan this stays clean.
        TLabelFormat g;
        g.RandL = g.RandO = g.Breite = g.Hoehe = g.Ax = g.Ay = big;
        g.SpaltenAnz = 2;
        TZFSheetLayout z;
        z.ZFKX = big;
        const QRect r = LabelRectOnSheet(g, 3, DpiLabelScale(1200, 1200), true, z);
        QVERIFY(r.left() > 0 && r.top() > 0 && r.right() > r.left() && r.bottom() > r.top());
        TLabelLayout out;
        DrawSheetPreview(out, g, 1, 2, Qt::black, QPoint(10, 10));
        QCOMPARE(int(out.items.size()), 1 + 2 * 13);
    }

    void sheetPreview()
    {
        TLabelFormat f;
        ApplyBuiltInLabelKind(f, lkWindow, false, TZFSheetLayout());
        TRahmen r;
        r.l = r.r = r.o = r.u = 40;
        f.R1 = r;
        TLabelLayout out;
        DrawSheetPreview(out, f, 3, 2, Qt::black);
        // The page, then per label its rounded rectangle and one frame.
        QCOMPARE(int(out.items.size()), 1 + 10 * 2);
        QCOMPARE(out.items[0].rect, QRect(0, 0, 105, 148)); // 2100 / 20, 2970 / 20 = 148.5 -> 148
        const TLabelItem &third = out.items[1 + 2 * 2];
        QCOMPARE(third.kind, TLabelItem::RoundRect);
        QCOMPARE(third.radius, 3);
        QCOMPARE(third.brush, QColor(0, 0, 128));
        // Row 1, column 0: 100 / 20 = 5; (100 + 505) / 20 = 30.25 -> 30
        QCOMPARE(third.rect.topLeft(), QPoint(5, 30));
        QCOMPARE(out.items[1 + 3 * 2].brush, QColor(192, 192, 192));
        QCOMPARE(out.items[1 + 4 * 2].brush, QColor(Qt::white));
        QCOMPARE(out.items[1].brush, QColor(Qt::white));
        QCOMPARE(out.items[2].pen, QColor(0, 0, 128)); // frame 1 navy
    }

    void userFormatRowAndZF()
    {
        kit::ScriptedPresenter presenter;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("userlabels2.db"));
        engine::createTableFile(path, UserLabelsTableDef(false));
        {
            engine::Session session;
            engine::Table t(&session);
            t.setTableName(path);
            t.open();
            t.append();
            t.fieldByName(QStringLiteral("Name"))->setValue(QStringLiteral("CD-Hülle"));
            const QList<QPair<const char *, int>> ints = {{"RandO", 110}, {"RandL", 90}, {"SpaltenAnz", 2},
                                                          {"ZeilenAnz", 4}, {"Breite", 1200}, {"Hoehe", 600},
                                                          {"Ax", 10}, {"Ay", 20}, {"MaxFAnz", 3}, {"Drucktyp", 3},
                                                          {"ImgMaxZoom", 150}, {"R1l", 10}, {"R1r", 20},
                                                          {"R1o", 30}, {"R1u", 40}, {"R1ImgTurns", 1},
                                                          {"R2l", 1}, {"R2r", 2}, {"R2o", 3}, {"R2u", 4},
                                                          {"R2Drucktyp", 5}, {"R2ImgTurns", 2}};
            for (const auto &v : ints)
                t.fieldByName(QLatin1String(v.first))->setValue(v.second);
            for (const char *b : {"Quer", "R1", "R2", "R2Border"})
                t.fieldByName(QLatin1String(b))->setValue(true);
            for (const char *b : {"ImgPreferBLOB", "R1Border", "R3", "R3Border"})
                t.fieldByName(QLatin1String(b))->setValue(false);
            t.post();
            t.close();
        }
        engine::Session session;
        engine::Table t(&session);
        t.setTableName(path);
        t.open();
        TLabelFormat f;
        f.R3 = TRahmen(); // freed by the row
        QVERIFY(ReadLabelDataFromDB(t, f));
        QCOMPARE(f.Name, QStringLiteral("CD-Hülle"));
        QCOMPARE(f.RandO, 110);
        QCOMPARE(f.SpaltenAnz, 2);
        QCOMPARE(f.MaxFAnz, 3);
        QVERIFY(f.Quer);
        QCOMPARE(f.ImgMaxZoom, 150);
        QVERIFY(f.R1 && f.R2 && !f.R3);
        QCOMPARE(f.R1->Drucktyp, 3); // empty: the format's own print type
        QCOMPARE(f.R1->u, 40);
        QCOMPARE(f.R2->Drucktyp, 5);
        QCOMPARE(int(f.R2->ImgTurns), 2);
        QVERIFY(f.R2->Border);
        QVERIFY(!f.ZFValid); // the table has no "ZF" yet
        t.close();

        QVERIFY(StoreUserLabelZF(path, QStringLiteral("CD-Hülle"), true).isEmpty());
        QVERIFY(presenter.shown().isEmpty());
        t.open();
        QVERIFY(t.findField(QStringLiteral("ZF")));
        QVERIFY(ReadLabelDataFromDB(t, f));
        QVERIFY(f.ZFValid);
        QVERIFY(f.ZF);
        t.close();
        // The second time the field is there and only the value changes.
        QVERIFY(StoreUserLabelZF(path, QStringLiteral("CD-Hülle"), false).isEmpty());
        t.open();
        QVERIFY(ReadLabelDataFromDB(t, f));
        QVERIFY(f.ZFValid);
        QVERIFY(!f.ZF);
    }

    void unreadableRowKeepsWhatWasRead()
    {
        kit::ScriptedPresenter presenter;
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("other.db"));
        engine::TableDef def;
        def.name = QStringLiteral("other");
        engine::FieldDef name;
        name.name = QStringLiteral("Name");
        name.type = engine::FieldType::String;
        name.size = 30;
        engine::FieldDef randO;
        randO.name = QStringLiteral("RandO");
        randO.type = engine::FieldType::Integer;
        def.fields << name << randO;
        def.primaryKeyFields = 1;
        engine::createTableFile(path, def);
        engine::Session session;
        engine::Table t(&session);
        t.setTableName(path);
        t.open();
        t.append();
        t.fieldByName(QStringLiteral("Name"))->setValue(QStringLiteral("halb"));
        t.fieldByName(QStringLiteral("RandO"))->setValue(77);
        t.post();
        TLabelFormat f;
        QVERIFY(!ReadLabelDataFromDB(t, f));
        QCOMPARE(f.Name, QStringLiteral("halb"));
        QCOMPARE(f.RandO, 77);
        QVERIFY(presenter.shown().isEmpty()); // the dialog that asked tells the user
    }
};

QTEST_MAIN(TestLabelFormat)
#include "tst_labelformat.moc"
