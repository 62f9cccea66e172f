// The printed flag's questions and modes on the main window's media table,
// the mode dialog and the search dialog; the print selection window with its
// collection list (refusals, duplicates, a DVD on a VHS-only kind, the DVD
// switch, the 255-label limit), the label list window's size, the preview
// showing the whole label, and a list printed into a PDF read back with
// pdftotext.
#include "cardfixture.h"

#include "data/printedflag.h"
#include "data/recordsql.h"
#include "engine/query.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "print/labelcollection.h"
#include "print/labelformat.h"
#include "windows/dialogs/askwithremember.h"
#include "windows/labels/labellist.h"
#include "windows/labels/labelselect.h"
#include "windows/labels/prevform2.h"
#include "windows/labels/printedflag.h"
#include "windows/printing/printjob.h"

#include <QListWidget>
#include <QScreen>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QtTest>

namespace {

bool shownCaption(const kit::ScriptedPresenter &p, const QString &caption)
{
    return std::any_of(p.shown().begin(), p.shown().end(), [&](const auto &b) { return b.caption == caption; });
}

// yMin (in pixels at 254 dpi, one pixel per tenth of a millimetre) of every
// occurrence of word in the PDF.
QList<double> wordTops(const QString &pdf, const QString &word)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(30000);
    const QString html = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression re(
        QStringLiteral("<word xMin=\"[0-9.]+\" yMin=\"([0-9.]+)\" xMax=\"[0-9.]+\" yMax=\"[0-9.]+\">([^<]*)</word>"));
    QList<double> out;
    for (auto it = re.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(2) == word)
            out << m.captured(1).toDouble() * 254.0 / 72.0;
    }
    return out;
}

// With TARVO_SCREEN_DIR set (run under a display with a window manager),
// the window as the screen shows it, frame included, goes there.
void saveScreen(QWidget *w, const char *name)
{
    const QString dir = qEnvironmentVariable("TARVO_SCREEN_DIR");
    if (dir.isEmpty())
        return;
    w->raise();
    w->activateWindow();
    QTest::qWait(800);
    const QRect r = w->frameGeometry();
    QGuiApplication::primaryScreen()->grabWindow(0, r.x(), r.y(), r.width(), r.height()).save(dir + QLatin1Char('/') + QLatin1String(name));
}

} // namespace

class TestLabelCollection : public QObject
{
    Q_OBJECT
    card::Fixture fx;

    kit::ScriptedPresenter &p() { return *fx.settings.presenter; }
    QString flagOf(const QString &kind, int nr)
    {
        const QVariant v = recordsql::scalar(fx.form->Table1->session(),
                                             QStringLiteral("SELECT Gedruckt FROM %1 WHERE Medium = ?1 AND Nr = ?2")
                                                 .arg(recordsql::tableRef(*fx.form->Table1)),
                                             {kind, nr});
        return v.isNull() ? QStringLiteral("null") : v.toString();
    }
    void setFlag(const QString &kind, int nr, int v)
    {
        recordsql::change(*fx.form->Table1, QStringLiteral("UPDATE %1 SET Gedruckt = ?1 WHERE Medium = ?2 AND Nr = ?3")
                                                .arg(recordsql::tableRef(*fx.form->Table1)),
                          {v, kind, nr});
        fx.form->Table1->refresh();
    }

private slots:
    void init()
    {
        fx.setUp();
        p().answer(mrYes); // the per-user folder
        GetProfileDir();
        PFSetAlways = PFSetNever = PFClearAlways = PFClearNever = PFNoReadOnlyAsk = false;
        LabelKind = lkSpine;
        ApplyBuiltInLabelKind(ActiveLabelFormat, lkSpine, false, ZFSheetLayout);
        NrEtiSeparate = false;
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240, {{1, QStringLiteral("Alien")}, {2, QStringLiteral("Brazil")}});
        fx.addMedium(QStringLiteral("VHS-SB"), 2, 240, {{1, QStringLiteral("Casablanca")}});
        fx.addMedium(QStringLiteral("DVD"), 1, 0, {{1, QStringLiteral("Dune")}});
        fx.open();
        for (const auto &k : {QPair<QString, int>{"VHS-SB", 1}, {"VHS-SB", 2}, {"DVD", 1}})
            setFlag(k.first, k.second, 0);
        p().clear();
    }
    void cleanup()
    {
        delete DDrckSelect;
        if (TWEtiListe *w = LabelListWindow())
            delete w;
        fx.tearDown();
    }

    void autoSetFollowsTheMode()
    {
        engine::Table &media = *fx.form->Table1;
        const TMediumNrPairCollection one = SingleMediumPairs(QStringLiteral("VHS-SB"), 1);
        const TMediumSelection sel{&one, {}};
        const QString q = QStringLiteral("Soll das Feld gesetzt werden?");
        // "Nie" chosen before: no question, nothing set.
        PFSetNever = true;
        QVERIFY(!AutoSetPrintedFlag(media, sel, q));
        QVERIFY(p().shown().isEmpty());
        PFSetNever = false;
        // Asked, "Nein".
        p().answer(mrAskNo);
        QVERIFY(!AutoSetPrintedFlag(media, sel, q));
        QCOMPARE(p().last().caption, QStringLiteral("Etikett(en) als gedruckt markieren?"));
        QCOMPARE(p().last().text, q);
        QCOMPARE(flagOf("VHS-SB", 1), QStringLiteral("0"));
        // "Ja" on the write-protected card: the safety question follows.
        QVERIFY(media.readOnly());
        p().clear();
        p().answer(mrAskYes).answer(mrAskYes);
        QVERIFY(AutoSetPrintedFlag(media, sel, q));
        QCOMPARE(p().shown().size(), 2);
        QCOMPARE(p().last().caption, QStringLiteral("Sicherheits-Nachfrage"));
        QCOMPARE(flagOf("VHS-SB", 1), QStringLiteral("1"));
        QCOMPARE(flagOf("VHS-SB", 2), QStringLiteral("0"));
        QVERIFY(fx.locate("VHS-SB", 1));
        QVERIFY(media.fieldByName(QStringLiteral("Gedruckt"))->asBoolean()); // the card was refreshed
        // "Immer automatisch setzen": the safety question still comes while
        // write-protected, and "Immer" there stops it for good.
        setFlag("VHS-SB", 1, 0);
        PFSetAlways = true;
        p().clear();
        p().answer(mrAskAlways);
        QVERIFY(AutoSetPrintedFlag(media, sel, q));
        QCOMPARE(p().shown().at(0).caption, QStringLiteral("Sicherheits-Nachfrage"));
        QVERIFY(shownCaption(p(), QStringLiteral("Information")));
        QVERIFY(PFNoReadOnlyAsk);
        setFlag("VHS-SB", 1, 0);
        p().clear();
        QVERIFY(AutoSetPrintedFlag(media, sel, q));
        QVERIFY(p().shown().isEmpty());
        QCOMPARE(flagOf("VHS-SB", 1), QStringLiteral("1"));
        // The switches are stored as bits 1 to 16.
        PFSetAlways = PFClearNever = PFNoReadOnlyAsk = true;
        PFSetNever = PFClearAlways = false;
        SaveSettings();
        PFSetAlways = PFClearNever = PFNoReadOnlyAsk = false;
        PFSetNever = PFClearAlways = true;
        LoadSettings();
        QVERIFY(PFSetAlways && PFClearNever && PFNoReadOnlyAsk && !PFSetNever && !PFClearAlways);
    }

    void neverSticksUntilTheDialogChangesIt()
    {
        engine::Table &media = *fx.form->Table1;
        setFlag("VHS-SB", 2, 1);
        const TMediumNrPairCollection one = SingleMediumPairs(QStringLiteral("VHS-SB"), 2);
        const QString q = QStringLiteral("Neu drucken?");
        p().answer(mrAskNever);
        QVERIFY(!AutoClearPrintedFlag(media, {&one, {}}, q));
        QCOMPARE(p().shown().at(0).caption, QStringLiteral("Neues Etikett drucken?"));
        QCOMPARE(p().last().caption, QStringLiteral("Information"));
        QVERIFY(PFClearNever);
        p().clear();
        QVERIFY(!AutoClearPrintedFlag(media, {&one, {}}, q));
        QVERIFY(p().shown().isEmpty());
        QCOMPARE(flagOf("VHS-SB", 2), QStringLiteral("1"));

        // The dialog shows "Niemals automatisch löschen"; "Abbruch" keeps it.
        {
            TDPrintedFlagAutoSetClearMode dlg;
            QVERIFY(dlg.RadClearNever->Checked());
            QVERIFY(dlg.RadSetAsk->Checked());
            QVERIFY(dlg.ChkNoReadOnlyAsk->isEnabled());
            dlg.RadSetNever->Click();
            QVERIFY(!dlg.ChkNoReadOnlyAsk->isEnabled());
        }
        p().answerDialog([](QDialog &d) { d.findChild<TOzoCheck *>(QStringLiteral("RadClearAsk"))->Click(); },
                         mrCancel);
        ExecPrintedFlagSettings();
        QVERIFY(PFClearNever);
        p().answerDialog([](QDialog &d) { d.findChild<TOzoCheck *>(QStringLiteral("RadClearAsk"))->Click(); });
        ExecPrintedFlagSettings();
        QVERIFY(!PFClearNever && !PFClearAlways);
        // Asked again: "Ja" clears.
        p().clear();
        p().answer(mrAskYes);
        QVERIFY(AutoClearPrintedFlag(media, {&one, {}}, q));
        QCOMPARE(flagOf("VHS-SB", 2), QStringLiteral("0"));
    }

    void findDialogNeedsOneKind()
    {
        TDFindNotPrinted dlg;
        QVERIFY(dlg.BitBtnOK->isEnabled());
        for (TOzoCheck *c : {dlg.ChkSB, dlg.ChkKK, dlg.ChkDVD})
            c->Click();
        QVERIFY(dlg.BitBtnOK->isEnabled());
        dlg.ChkOther->Click();
        QVERIFY(!dlg.BitBtnOK->isEnabled());
        dlg.ChkDVD->Click();
        QVERIFY(dlg.BitBtnOK->isEnabled());
    }

    void listPlanAndSheet()
    {
        // A 2 × 5 window-label sheet from label 7 takes 4.
        TLabelFormat window;
        ApplyBuiltInLabelKind(window, lkWindow, false, ZFSheetLayout);
        QCOMPARE(CollectionLabelsPerSheet(window), 10);
        QVERIFY(LabelListFitsSheet(4, 10, 7));
        QVERIFY(!LabelListFitsSheet(5, 10, 7));
        // More than 255 labels a sheet are refused, not wrapped to 0 or 1.
        TLabelFormat huge = window;
        huge.SpaltenAnz = 16;
        huge.ZeilenAnz = 16;
        QCOMPARE(CollectionLabelsPerSheet(huge), 0);
        huge.ZeilenAnz = 17; // 272, which a byte would hold as 16
        QCOMPARE(CollectionLabelsPerSheet(huge), 0);
        // A DVD between two cassettes on the case top; duplicates twice.
        const QList<TLabelCollectionItem> items{{"VHS-SB", 1}, {"DVD", 1}, {"VHS-SB", 1}, {"VHS-KK", 9}};
        const TLabelListPlan plan = PlanLabelListPrint(items, 3, lkCaseTop,
                                                       [](const TLabelCollectionItem &i) { return i.Nr != 9; });
        QCOMPARE(plan.entries, (QList<TLabelListEntry>{{0, 2}, {2, 4}}));
        QCOMPARE(plan.missing, QList<int>{3});
        QVERIFY(plan.dvdSkipped);
        QCOMPARE(PlanLabelListPrint(items.mid(0, 3), 1, lkSpine, {}).entries.size(), 3);
        // The statement binds its values.
        QList<QPair<QString, QVariant>> binds;
        QCOMPARE(LabelCollectionQueryLines(QStringLiteral("/db/Med.DB"), items.mid(0, 2), &binds),
                 QStringList({"SELECT * FROM", "\"/db/Med.DB\"", "WHERE (", "Medium = :M0 AND Nr = :N0)", "OR (",
                              "Medium = :M1 AND Nr = :N1)"}));
        QCOMPARE(binds.size(), 4);
        QCOMPARE(binds.at(2).second.toString(), QStringLiteral("DVD"));
        QVERIFY(LabelCollectionQueryLines(QStringLiteral("/db/Med.DB"), {}, nullptr).isEmpty());
    }

    void collectingOnTheWindow()
    {
        TDDrckSelect *w = EnsurePrintSelection(MainformLabelContext());
        QVERIFY(!w->BtnPrintList->isEnabled() && !w->BtnClear->isEnabled() && !w->BtnShowList->isEnabled());
        QVERIFY(w->BtnSpaeter->isEnabled());
        // An empty list runs no query; its label list shows nothing.
        w->ShowListClick();
        QVERIFY(!w->Query1->active());
        QCOMPARE(LabelListWindow()->DBCtrlGrid1->RowOfPanel(0), -1);
        // The same medium twice is listed twice.
        QVERIFY(fx.locate("VHS-SB", 2));
        w->SpaeterClick();
        w->SpaeterClick();
        QCOMPARE(w->ListBox1->count(), 2);
        QCOMPARE(w->ListBox1->item(1)->text(), QStringLiteral("VHS-SB-Nr.2"));
        QVERIFY(w->Query1->active());
        QCOMPARE(w->Query1->recordCount(), 1);
        QVERIFY(w->BtnPrintList->isEnabled() && !w->BtnRemove->isEnabled());
        w->ListBox1->setCurrentRow(0);
        QVERIFY(w->BtnRemove->isEnabled() && w->BtnShowCard->isEnabled());
        QVERIFY(fx.locate("VHS-SB", 1));
        w->ShowCardClick();
        QCOMPARE(fx.field("Nr")->asInteger(), 2);
        w->RemoveSelected();
        QCOMPARE(w->ListBox1->count(), 1);
        w->ClearList();
        QVERIFY(!w->Query1->active());

        // The sheet limits the list; a sheet of more than 255 labels is refused.
        ApplyBuiltInLabelKind(ActiveLabelFormat, lkWindow, false, ZFSheetLayout);
        LabelKind = lkWindow;
        for (int i = 0; i < 12; ++i)
            w->SpaeterClick();
        QCOMPARE(w->ListBox1->count(), 10);
        QVERIFY(!w->BtnSpaeter->isEnabled());
        w->ClearList();
        ActiveLabelFormat.SpaltenAnz = 16;
        ActiveLabelFormat.ZeilenAnz = 17;
        p().clear();
        w->SpaeterClick();
        QCOMPARE(w->ListBox1->count(), 0);
        QCOMPARE(p().last().caption, QStringLiteral("Fehler"));

        // A table without "Nr" or "KassNr".
        engine::Query q(&fx.form->Table1->session());
        q.setSql({QStringLiteral("SELECT Medium FROM"), QLatin1Char('"') + fx.form->Table1->tableName() + QLatin1Char('"')});
        q.open();
        p().clear();
        QVERIFY(!w->AddToLabelCollection(q));
        QCOMPARE(p().last().caption, QStringLiteral("Hinweis"));
        QVERIFY(p().last().text.startsWith(QStringLiteral("Die Tabelle enthält weder eine \"Nr\"- noch")));
    }

    void tooLongAListIsRefused()
    {
        ApplyBuiltInLabelKind(ActiveLabelFormat, lkWindow, false, ZFSheetLayout);
        LabelKind = lkWindow;
        TDDrckSelect *w = EnsurePrintSelection(MainformLabelContext());
        QVERIFY(fx.locate("VHS-SB", 1)); // a DVD would switch to the spine
        for (int i = 0; i < 5; ++i)
            w->SpaeterClick();
        p().clear();
        p().answer(mrOk); // no user formats
        // A start label past the room (the dialog keeps its own limit): from
        // label 7 the window-label sheet has room for 4.
        p().answerDialog([](QDialog &d) {
            auto *spin = d.findChild<QSpinBox *>(QStringLiteral("SpinStart"));
            const QSignalBlocker quiet(spin);
            spin->setMaximum(10);
            spin->setValue(7);
        });
        w->PrintListClick();
        QCOMPARE(p().last().caption, QStringLiteral("Fehler"));
        QCOMPARE(p().last().text,
                 QStringLiteral("In der Liste stehen mehr Etiketten, als (ab der eingestellten Position) auf die Seite "
                                "passen!"));
    }

    void dvdSwitchesToTheSpine()
    {
        LabelKind = lkCaseTop;
        ApplyBuiltInLabelKind(ActiveLabelFormat, lkCaseTop, false, ZFSheetLayout);
        QVERIFY(fx.locate("DVD", 1));
        TDDrckSelect *w = EnsurePrintSelection(MainformLabelContext());
        p().answer(mrOk).answer(mrCancel); // the kind dialog is left
        w->SofortClick();
        QCOMPARE(LabelKind, quint8(lkSpine));
        QCOMPARE(ActiveLabelFormat.Drucktyp, 0);
        QCOMPARE(ActiveLabelFormat.Breite, 1475);
    }

    void labelListWindowSize()
    {
        QVERIFY(fx.locate("VHS-SB", 1));
        ShowAllMediaLabelList();
        TWEtiListe *w = LabelListWindow();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Etikettenliste - Alle Medien"));
        QCOMPARE(w->DBCtrlGrid1->size(), QSize(481, 504));
        QCOMPARE(w->DBCtrlGrid1->Rows, 7);
        QCOMPARE(w->DBCtrlGrid1->RowOfPanel(2), 2);
        QCOMPARE(w->DBCtrlGrid1->RowOfPanel(3), -1);
        // A separate number label needs the room beside the spine.
        NrEtiSeparate = true;
        ArrangeLabelList();
        QCOMPARE(w->DBCtrlGrid1->width(), 570);
        // Window labels: two columns.
        ApplyBuiltInLabelKind(ActiveLabelFormat, lkWindow, false, ZFSheetLayout);
        LabelKind = lkWindow;
        ArrangeLabelList();
        // (78.7 + 1) × 2 × 3.2 = 510.08 -> 510, + 6; rows: 550 div 163 = 3;
        // 47.5 × 3 × 24/7 = 488.57 -> 489.
        QCOMPARE(w->DBCtrlGrid1->Columns, 2);
        QCOMPARE(w->DBCtrlGrid1->Rows, 3);
        QCOMPARE(w->DBCtrlGrid1->size(), QSize(516, 489));
        w->grab(); // paints every panel
    }

    void previewShowsTheWholeLabel()
    {
        // Five films on a spine label: 20 mm are round(200 × 24/7 / 10) = 69
        // pixels, the box 4 more; the label 2 pixels in from its corner.
        fx.addMedium(QStringLiteral("VHS-SB"), 3, 240, card::numberedFilms(5, 40));
        fx.form->Table1->refresh();
        QVERIFY(fx.locate("VHS-SB", 3));
        fx.form->findChild<QAction *>(QStringLiteral("EtikettenVorschau1"))->trigger();
        auto *w = fx.form->findChild<TPrevForm2 *>(QStringLiteral("PrevForm2"));
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->PaintBox1->size(), QSize(476, 73));
        auto shown = [&] {
            const QImage img = w->grab().toImage();
            const QPoint at = w->PaintBox1->mapTo(w, QPoint(0, 0));
            saveScreen(w, LabelKind == lkUser ? "label-preview-user.png" : "label-preview-spine.png");
            return std::make_pair(img, at);
        };
        auto [img, at] = shown();
        // The whole box lies inside the window's client, above its lower edge.
        QVERIFY(at.y() + 73 <= w->height() - 4);
        auto dark = [&](int x, int y) { return qGray(img.pixel(at.x() + x, at.y() + y)) < 128; };
        // The outline's top and bottom rows, 472 pixels (147.5 mm) wide.
        for (int x : {2, 100, 300, 2 + 472 - 1}) {
            QVERIFY(dark(x, 2));
            QVERIFY(dark(x, 2 + 69 - 1));
        }
        // The fifth title: ink below the fourth line's slot (a pitch of 12
        // pixels: round(18 mm × 24/7 / 5)) and above the bottom edge.
        int ink = 0;
        for (int y = 2 + 1 + 4 * 12 + 3; y < 2 + 69 - 2; ++y)
            for (int x = 2 + 42; x < 2 + 200; ++x)
                ink += dark(x, y);
        QVERIFY(ink > 20);

        // A user format with margins: the box is the label's, and the label
        // is drawn from its own corner, not shifted by 30 and 40 mm.
        TLabelFormat u;
        u.Name = QStringLiteral("Karte");
        u.RandL = 300;
        u.RandO = 400;
        u.Breite = 1000;
        u.Hoehe = 300;
        u.MaxFAnz = 2;
        u.Drucktyp = ptSpineNoFoot;
        LabelKind = lkUser;
        ActiveLabelFormat = u;
        UpdatePreviewSize();
        // 1000 × 3.2 / 10 = 320; 300 × 24/7 / 10 = 102.86 -> 103.
        QCOMPARE(w->PaintBox1->size(), QSize(324, 107));
        std::tie(img, at) = shown();
        QVERIFY(at.y() + 107 <= w->height() - 4);
        for (const QPoint &corner : {QPoint(2, 2), QPoint(2 + 319, 2), QPoint(2, 2 + 102), QPoint(2 + 319, 2 + 102)})
            QVERIFY(dark(corner.x(), corner.y()));
    }

    void printingTheListIntoAPdf()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("liste.pdf"));
        QPrinter &printer = ProgramPrinter();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        printer.setResolution(254);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
        // Case top, 11 labels from 100/100 with a pitch of 24 mm.
        LabelKind = lkCaseTop;
        ApplyBuiltInLabelKind(ActiveLabelFormat, lkCaseTop, false, ZFSheetLayout);
        TDDrckSelect *w = EnsurePrintSelection(MainformLabelContext());
        for (const auto &k : {QPair<QString, int>{"VHS-SB", 1}, {"DVD", 1}, {"VHS-SB", 1}}) {
            QVERIFY(fx.locate(k.first, k.second));
            w->AddToLabelCollection(*fx.form->Table1);
        }
        QCOMPARE(w->ListBox1->count(), 3);
        QVERIFY(fx.locate("VHS-SB", 2));
        p().clear();
        p().answer(mrOk); // no user formats
        p().answerDialog([](QDialog &d) { d.findChild<QSpinBox *>(QStringLiteral("SpinStart"))->setValue(2); });
        p().answer(mrOk);       // the printer
        p().answer(mrOk);       // the DVD hint
        p().answer(mrAskYes);   // mark as printed
        p().answer(mrAskYes);   // despite the write protection
        w->PrintListClick();
        QStringList captions;
        for (const auto &b : p().shown())
            captions << b.caption;
        QCOMPARE(captions.count(QStringLiteral("Hinweis!")), 1);
        QVERIFY2(shownCaption(p(), QStringLiteral("Etikett(en) als gedruckt markieren?")), qPrintable(captions.join('|')));
        QCOMPARE(flagOf("VHS-SB", 1), QStringLiteral("1"));
        QCOMPARE(flagOf("DVD", 1), QStringLiteral("0"));
        QCOMPARE(fx.field("Nr")->asInteger(), 2); // the card is back on its medium
        // Labels at positions 1 and 3 (tops 340 and 820); position 2 stays empty.
        const QList<double> tops = wordTops(pdf, QStringLiteral("Alien"));
        QCOMPARE(tops.size(), 2);
        QVERIFY2(tops[0] > 340 && tops[0] < 540, qPrintable(QString::number(tops[0])));
        QVERIFY2(tops[1] > 820 && tops[1] < 1020, qPrintable(QString::number(tops[1])));
        QVERIFY(wordTops(pdf, QStringLiteral("Dune")).isEmpty());
    }
};

QTEST_MAIN(TestLabelCollection)
#include "tst_labelcollection.moc"
