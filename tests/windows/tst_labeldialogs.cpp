// The label dialogs through their components and the scripted presenter:
// choosing a kind (built-in, self-adhesive, user format with its "ZF"
// field added on the first OK), refusing an unusable user format, the start
// label for printing, the sheet set-up with its calibration and its bounds,
// and the hint.
#include "app/settingsfixture.h"
#include "data/tableschemas.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/ozodbcheck.h"
#include "print/labelformat.h"
#include "windows/labels/detikind.h"
#include "windows/labels/dzfhint.h"
#include "kit/pagecontroles.h"
#include "windows/labels/dzfsetup.h"

#include <QListWidget>
#include <QSpinBox>
#include <limits>
#include <QtTest>

namespace {

void addFormat(const QString &path, const QString &name, int columns, int rows)
{
    engine::Session session;
    engine::Table t(&session);
    t.setTableName(path);
    t.open();
    t.append();
    t.fieldByName(QStringLiteral("Name"))->setValue(name);
    const QList<QPair<const char *, int>> ints = {{"RandO", 100}, {"RandL", 100}, {"SpaltenAnz", columns},
                                                  {"ZeilenAnz", rows}, {"Breite", 600}, {"Hoehe", 300},
                                                  {"Ax", 10}, {"Ay", 10}, {"MaxFAnz", 2}, {"Drucktyp", 3},
                                                  {"ImgMaxZoom", 0}};
    for (const auto &v : ints)
        t.fieldByName(QLatin1String(v.first))->setValue(v.second);
    for (const char *b : {"Quer", "ImgPreferBLOB", "R1", "R2", "R3"})
        t.fieldByName(QLatin1String(b))->setValue(false);
    t.post();
}

} // namespace

class TestLabelDialogs : public QObject
{
    Q_OBJECT
    SettingsFixture fx;
    QString table;

private slots:
    void init()
    {
        fx.setUp();
        fx.presenter->answer(mrYes); // the per-user folder
        const QString profile = GetProfileDir();
        fx.presenter->clear();
        table = profile + UserLabelsTableFile;
        ZFShowHint = false;
        LabelKind = lkSpine;
        ActiveLabelFormat = TLabelFormat();
    }

    void builtInKindOnSheets()
    {
        ZFSheetLayout.ZFGAnz = 11;
        TDEtiKind dlg(false, 1);
        // No user formats table: a message, and the choice is not offered.
        QCOMPARE(fx.presenter->shown().size(), 1);
        QCOMPARE(fx.presenter->last().text,
                 QStringLiteral("Die Datenbank für Eigene Etikettenformate kann nicht geöffnet werden!"));
        QVERIFY(!dlg.RadEigen->isEnabled());
        QVERIFY(dlg.RadRueck->Checked());
        QVERIFY(!dlg.SpinStart->isEnabled());
        dlg.RadBig->Click();
        dlg.ChkZF->Click();
        QCOMPARE(dlg.ChosenKind(), quint8(lkWindow));
        QCOMPARE(dlg.ChosenFormat().ZeilenAnz, 5);
        QCOMPARE(dlg.ChosenFormat().RandL, 250);
        QVERIFY(dlg.Apply());
        QCOMPARE(LabelKind, quint8(lkWindow));
        QVERIFY(ZFOn);
        QCOMPARE(ActiveLabelFormat.Drucktyp, int(ptWindow));
        // The case top has no sheets unless it is set to use the spine stickers.
        PrintHZF = false;
        dlg.RadTop->Click();
        QVERIFY(!dlg.ChkZF->isEnabled());
        QCOMPARE(dlg.ChosenFormat().Breite, 950);
    }

    void hintWhenSwitchingSheetsOn()
    {
        ZFShowHint = true;
        TDEtiKind dlg(false, 1);
        fx.presenter->clear();
        fx.presenter->answerDialog([](QDialog &d) {
            d.findChild<TOzoCheck *>(QStringLiteral("ChkDontShow"))->SetChecked(true);
        });
        dlg.ChkZF->Click();
        QCOMPARE(fx.presenter->last().objectName, QStringLiteral("DZFHint"));
        QVERIFY(!ZFShowHint);
    }

    void startLabelForPrinting()
    {
        TDEtiKind dlg(true, 3);
        QVERIFY(dlg.SpinStart->isEnabled());
        QVERIFY(dlg.BtnPrinter->isEnabled());
        QCOMPARE(dlg.SpinStart->maximum(), 9); // 11 rows + 1 - 3
        dlg.RadBig->Click();
        QCOMPARE(dlg.SpinStart->maximum(), 8); // 2 × 5 + 1 - 3
        QCOMPARE(dlg.windowTitle(), QStringLiteral("Etiketten-Art und Startposition für Druck"));
        fx.presenter->answer(mrOk); // the message of the missing user formats
        fx.presenter->answerDialog([](QDialog &d) { d.findChild<QSpinBox *>(QStringLiteral("SpinStart"))->setValue(4); });
        int start = -1;
        QVERIFY(ExecLabelKindDialog(true, 3, start));
        QCOMPARE(start, 4);
        fx.presenter->answer(mrOk).answer(mrCancel);
        QVERIFY(!ExecLabelKindDialog(false, 1, start));
    }

    void userFormatGetsItsZFField()
    {
        engine::createTableFile(table, UserLabelsTableDef(false));
        addFormat(table, QStringLiteral("Karten"), 2, 4);
        {
            TDEtiKind dlg(false, 1);
            QVERIFY(fx.presenter->shown().isEmpty());
            QCOMPARE(dlg.DBGrid1->count(), 1);
            dlg.RadEigen->Click();
            QCOMPARE(dlg.ChosenFormat().Name, QStringLiteral("Karten"));
            QCOMPARE(dlg.ChosenFormat().SpaltenAnz, 2);
            dlg.ChkZF->Click();
            QVERIFY(dlg.Apply());
        }
        QCOMPARE(LabelKind, quint8(lkUser));
        QCOMPARE(ActiveLabelFormat.Name, QStringLiteral("Karten"));
        engine::Session session;
        QVERIFY(engine::readTableDef(session, table).fieldIndex(QStringLiteral("ZF")) >= 0);
        // The set-up now shows the switch of the format.
        TDZFSetup setup;
        QVERIFY(!setup.DBChkZF->isHidden());
        QVERIFY(setup.DBChkZF->Checked());
    }

    void unusableUserFormatIsRefused()
    {
        engine::createTableFile(table, UserLabelsTableDef());
        addFormat(table, QStringLiteral("Riesig"), 16, 16);
        TDEtiKind dlg(false, 1);
        dlg.RadEigen->Click();
        QCOMPARE(LabelsPerSheet(dlg.ChosenFormat()), 256);
        QVERIFY(!dlg.Apply());
        QVERIFY(fx.presenter->last().text.contains(QStringLiteral("255")));
        QCOMPARE(LabelKind, quint8(lkSpine));
    }

    void setupRefusesABadRowOnPost()
    {
        engine::createTableFile(table, UserLabelsTableDef());
        addFormat(table, QStringLiteral("Gut"), 1, 4);
        TDZFSetup setup;
        engine::Table *t = setup.UserTable();
        QVERIFY(t);
        t->edit();
        t->fieldByName(QStringLiteral("MaxFAnz"))->setValue(0);
        fx.presenter->clear();
        QVERIFY(!setup.Apply());
        QVERIFY(fx.presenter->last().text.contains(QStringLiteral("Film")));
        t->fieldByName(QStringLiteral("MaxFAnz"))->setValue(3);
        // Lengths are bounded on entry: a label wider than the sheet is refused.
        t->fieldByName(QStringLiteral("Breite"))->setValue(2147483647);
        QVERIFY(!setup.Apply());
        QVERIFY(fx.presenter->last().text.contains(QStringLiteral("passen nicht auf den Bogen")));
        t->fieldByName(QStringLiteral("Breite"))->setValue(600);
        QVERIFY(setup.Apply());
    }

    void calibrationAndSheets()
    {
        ZFSheetLayout.ZFKX = 15;
        ZFSheetLayout.ZFKY = -10;
        {
            TDZFSetup setup;
            QCOMPARE(setup.SpinLeftKorr->value(), 185);
            QCOMPARE(setup.SpinTopKorr->value(), 210);
            QCOMPARE(setup.PageControl1->count(), 5);
            QCOMPARE(setup.PageControl1->tabText(3), QStringLiteral("VHS-\"Fensteretiketten\""));
            setup.SpinLeftKorr->setValue(200);
            setup.SpinTopKorr->setValue(200);
            setup.SpinGAnz->setValue(4);
            setup.BtnZ4742->click();
            setup.SpinRAnz->setValue(5);
            setup.BtnZ4746->click();
            QCOMPARE(setup.SpinGAnz->value(), 12);
            QCOMPARE(setup.SpinGAHoriz->value(), 813);
            QCOMPARE(setup.SpinRAnz->value(), 13);
            // 13 labels 25 mm apart from 18.4 mm run off the page (their last
            // ends at 338.4 mm): refused, on the sheet's page.
            setup.SpinRA->setValue(250);
            setup.PageControl1->setCurrentIndex(0);
            fx.presenter->clear();
            QVERIFY(!setup.Apply());
            QCOMPARE(fx.presenter->last().text,
                     QStringLiteral("VHS-Rückenetiketten: Die Etiketten passen nicht auf den Bogen: Sie reichen "
                                    "338,4 mm weit nach unten, der Bogen ist nur 297,0 mm hoch."));
            QCOMPARE(setup.PageControl1->currentIndex(), 2);
            setup.SpinRAnz->setValue(11); // ends at 288.4 mm
            QVERIFY(setup.Apply());
        }
        QCOMPARE(ZFSheetLayout.ZFKX, 0);
        QCOMPARE(ZFSheetLayout.ZFKY, 0);
        QCOMPARE(ZFSheetLayout.ZFRA, 250);
        // Written machine-wide: a fresh load reads the new values back.
        ZFSheetLayout = TZFSheetLayout();
        LoadSelfAdhesiveSetup(true);
        QCOMPARE(ZFSheetLayout.ZFRA, 250);
        QCOMPARE(ZFSheetLayout.ZFKX, 0);
        QVERIFY(!ZFSheetLayout.Changed);
        // Values the set-up never offers are held to its ranges when read.
        ZFSheetLayout.ZFKX = std::numeric_limits<qint32>::max();
        ZFSheetLayout.ZFRAnz = -7;
        QVERIFY(SaveSelfAdhesiveSetup());
        ZFSheetLayout = TZFSheetLayout();
        LoadSelfAdhesiveSetup(true);
        QCOMPARE(ZFSheetLayout.ZFKX, 199);
        QCOMPARE(ZFSheetLayout.ZFRAnz, 1);
        QVERIFY(ZFSheetLayout.Changed);
    }

    void setupFromTheMenuEntry()
    {
        fx.presenter->answer(mrOk).answer(mrCancel);
        ExecLabelSetupDialog(nullptr);
        QCOMPARE(fx.presenter->last().objectName, QStringLiteral("DZFSetup"));
        QCOMPARE(fx.presenter->last().caption, QStringLiteral("Einrichtung für Selbstklebeetiketten"));
    }

    void hintOpensTheSetup()
    {
        ZFShowHint = true;
        fx.presenter->answerDialog([](QDialog &d) {
            d.findChild<TOzoNewButton *>(QStringLiteral("BtnSetup"))->click();
        });
        fx.presenter->answer(mrOk); // the message of the missing user formats
        fx.presenter->answer(mrOk); // the set-up, confirmed
        ExecZFHint();
        QVERIFY(!ZFShowHint); // the box got ticked
    }
};

QTEST_MAIN(TestLabelDialogs)
#include "tst_labeldialogs.moc"
