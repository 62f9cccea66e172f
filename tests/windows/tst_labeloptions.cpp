// The label print options through their components: "weder noch", taking
// over and then cancelling, the category line kept through a save and load,
// the play-time details (one of the two stays on; only the end position),
// the two mode dialogs, the enabling; the quarter turn of a 3 × 2 picture
// and the preview's menu.
#include "app/settingsfixture.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "print/labelpictures.h"
#include "windows/labels/labeloptions.h"
#include "windows/labels/prevform2.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QtTest>

class TestLabelOptions : public QObject
{
    Q_OBJECT
    SettingsFixture fx;

private slots:
    void init()
    {
        fx.setUp();
        PrintLen = PrintEndPos = PrintFree = PrintKat = false;
        PrintHFree = PrintHKateg = PrintHZF = false;
        MaxSizeSub = 10;
    }

    void playTimeChoiceAsStored()
    {
        QCOMPARE(StorePlayTimeChoice(true, false, true).PrintLen, false);
        QCOMPARE(StorePlayTimeChoice(true, false, true).PrintEndPos, true);
        QCOMPARE(StorePlayTimeChoice(true, false, false).PrintLen, true); // at least the length
        QCOMPARE(StorePlayTimeChoice(true, true, true).PrintEndPos, true);
        QCOMPARE(StorePlayTimeChoice(false, true, true).PrintLen, false);
        QCOMPARE(StorePlayTimeChoice(false, true, true).PrintEndPos, false);
    }

    void wederNochClearsTheFourFlags()
    {
        PrintLen = PrintEndPos = PrintFree = PrintKat = true;
        TDEtiEinst dlg;
        QVERIFY(dlg.RadPrintLen->Checked());
        QVERIFY(dlg.BtnPlayTime->isEnabled());
        QVERIFY(!dlg.SpinEdit1->isEnabled());
        QVERIFY(!dlg.BtnApply->isEnabled());
        dlg.RadWederNoch->Click();
        QVERIFY(dlg.BtnApply->isEnabled());
        QVERIFY(!dlg.BtnPlayTime->isEnabled());
        dlg.BitBtnOK->click();
        QVERIFY(!PrintLen && !PrintEndPos && !PrintFree && !PrintKat);
    }

    void takenOverValuesSurviveCancel()
    {
        TDEtiEinst dlg;
        dlg.SpinEditSub->setValue(7);
        QVERIFY(dlg.BtnApply->isEnabled());
        dlg.BtnApply->click();
        QCOMPARE(MaxSizeSub, quint8(7));
        QVERIFY(!dlg.BtnApply->isEnabled());
        dlg.SpinEditSub->setValue(9);
        dlg.RadPrintFree->Click();
        QVERIFY(dlg.SpinEdit1->isEnabled());
        dlg.BitBtnCancel->click();
        QCOMPARE(MaxSizeSub, quint8(7));
        QVERIFY(!PrintFree);
        // What was taken over was saved.
        MaxSizeSub = 12;
        LoadSettings();
        QCOMPARE(MaxSizeSub, quint8(7));
    }

    void categoryLineRoundTrip()
    {
        PrintKat = true;
        PrintHKateg = true;
        SaveSettings();
        PrintKat = PrintHKateg = false;
        LoadSettings();
        TDEtiEinst dlg;
        QVERIFY(dlg.RadPrintKat->Checked());
        QVERIFY(dlg.RadHKateg->Checked());
        QVERIFY(!dlg.RadWederNoch->Checked() && !dlg.RadHTitel->Checked());
        dlg.BitBtnOK->click();
        PrintKat = PrintHKateg = false;
        PrintLen = true;
        LoadSettings();
        QVERIFY(PrintKat && PrintHKateg && !PrintLen && !PrintFree && !PrintHFree);
    }

    void onlyTheEndPosition()
    {
        PrintLen = true;
        TDEtiEinst dlg;
        fx.presenter->answerDialog([](QDialog &d) {
            d.findChild<TOzoCheck *>(QStringLiteral("ChkEP"))->Click();
            d.findChild<TOzoCheck *>(QStringLiteral("ChkLen"))->Click();
            d.findChild<TOzoCheck *>(QStringLiteral("RadHm3"))->Click();
        });
        dlg.BtnPlayTime->click();
        QCOMPARE(fx.presenter->last().objectName, QStringLiteral("DEtiEinst2"));
        QVERIFY(!dlg.Length && dlg.EndPosition);
        QCOMPARE(dlg.Format, 5);
        dlg.BitBtnOK->click();
        QVERIFY(!PrintLen && PrintEndPos);
        QCOMPARE(PlayTimeFormat, 4);
    }

    void oneOfLengthAndPositionStaysOn()
    {
        TDEtiEinst2 dlg(true, false, 3);
        QCOMPARE(dlg.ChosenFormat(), 3);
        dlg.ChkLen->Click();
        QVERIFY(dlg.ChkLen->Checked());
        dlg.ChkEP->Click();
        dlg.ChkLen->Click();
        QVERIFY(!dlg.ChkLen->Checked() && dlg.ChkEP->Checked());
        dlg.ChkEP->Click();
        QVERIFY(dlg.ChkEP->Checked());
    }

    void modesOfTheSmallDialogs()
    {
        PrintHZF = true;
        LabelAlignMode = 0;
        FormatSymbMode = 0;
        PrintTon = false;
        TDEtiEinst dlg;
        QVERIFY(dlg.BtnZF->isEnabled());
        QVERIFY(!dlg.BtnFormatSymb->isEnabled());
        dlg.ChkPrintTon->Click();
        QVERIFY(dlg.BtnFormatSymb->isEnabled());
        fx.presenter->answerDialog([](QDialog &d) { d.findChild<TOzoCheck *>(QStringLiteral("RadMode2"))->Click(); });
        dlg.BtnZF->click();
        fx.presenter->answerDialog([](QDialog &d) {
            auto *v = d.findChild<TOzoCheck *>(QStringLiteral("RadVar3"));
            v->Click();
            QCOMPARE(d.findChild<QLabel *>(QStringLiteral("LabelDemo"))->text().count(QLatin1Char('\n')), 3);
        });
        dlg.BtnFormatSymb->click();
        // A cancelled choice changes nothing.
        fx.presenter->answerDialog([](QDialog &d) { d.findChild<TOzoCheck *>(QStringLiteral("RadMode1"))->Click(); },
                                   mrCancel);
        dlg.BtnZF->click();
        dlg.BitBtnOK->click();
        QCOMPARE(LabelAlignMode, 2);
        QCOMPARE(FormatSymbMode, 2);
        QVERIFY(PrintTon);
    }

    void quarterTurnOfAThreeByTwoPicture()
    {
        QImage src(3, 2, QImage::Format_RGB32);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                src.setPixel(x, y, qRgb(10 * x, 100 * y, 7));
        const QImage t = RotateBitmap90(src);
        QCOMPARE(t.size(), QSize(2, 3));
        QCOMPARE(t.depth(), 24); // both bitmaps 24 bits per pixel
        // The first row is the source's first column read bottom to top.
        QCOMPARE(t.pixel(0, 0), src.pixel(0, 1));
        QCOMPARE(t.pixel(1, 0), src.pixel(0, 0));
        // Source (row y, column x) lands on (row x, column 1 - y).
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                QCOMPARE(t.pixel(1 - y, x), src.pixel(x, y));
    }

    void previewMenuHoldsTheLabelSettings()
    {
        TPrevForm2 w(nullptr, nullptr, nullptr);
        QStringList names;
        for (QAction *a : w.PopupMenu1->actions())
            names << a->objectName();
        QCOMPARE(names, QStringList({"EtikettenArtauswhlen1", "SchriftartEtikettenText1", "SchriftartNummernEtikett1",
                                     "ErweiterteDruckoptionen1", "FuSymbolGrafik1", "Etikettdrucken1"}));
        fx.presenter->answer(mrCancel);
        w.PopupMenu1->actions().at(3)->trigger();
        QCOMPARE(fx.presenter->last().objectName, QStringLiteral("DEtiEinst"));
    }
};

QTEST_MAIN(TestLabelOptions)
#include "tst_labeloptions.moc"
