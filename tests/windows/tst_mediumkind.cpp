// The medium-kind chooser (list order, preselection, choice, position) and
// the go-to-medium dialog, answered through the scripted presenter.
#include "cardfixture.h"

#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "windows/cards/mediumkind.h"

#include <QLineEdit>
#include <QListWidget>
#include <QSpinBox>

class TestMediumKind : public QObject
{
    Q_OBJECT
    card::Fixture fx;

    static QStringList items(const QListWidget *l)
    {
        QStringList r;
        for (int i = 0; i < l->count(); ++i)
            r << l->item(i)->text();
        return r;
    }

private slots:
    void init() { fx.setUp(); }
    void cleanup() { fx.tearDown(); }

    void listOrderAndPreselection()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.addMedium(QStringLiteral("Beta"), 1, 180);
        fx.addMedium(QStringLiteral("Hi8"), 1, 90);
        fx.open();
        TDMedienDropDown dd;
        QCOMPARE(items(dd.Listbox1), QStringList({"Beta", "Laserd", "CDi", "DV", "miniDV", "Hi8", "VHS-C",
                                                  "DVD-R", "DVD-RW", "DVD+R", "DVD+RW"}));
        dd.Preselect(QStringLiteral("Hi8"));
        QCOMPARE(dd.Listbox1->currentItem()->text(), QStringLiteral("Hi8"));
        QVERIFY(!dd.RadSB->Checked() && !dd.RadKK->Checked() && !dd.RadDVD->Checked());
        QCOMPARE(dd.ChosenKind(QStringLiteral("xx")), QStringLiteral("Hi8"));
        TDMedienDropDown dd2;
        dd2.Preselect(QStringLiteral("VHS-KK"));
        QVERIFY(dd2.RadKK->Checked());
        QVERIFY(dd2.Listbox1->selectedItems().isEmpty());
        QCOMPARE(dd2.ChosenKind(QStringLiteral("xx")), QStringLiteral("VHS-KK"));
        // The radio boxes exclude each other; a radio clears the list and back.
        dd2.RadDVD->Click();
        QVERIFY(dd2.RadDVD->Checked() && !dd2.RadKK->Checked());
        dd2.Listbox1->setCurrentRow(0);
        emit dd2.Listbox1->itemClicked(dd2.Listbox1->item(0));
        QVERIFY(!dd2.RadDVD->Checked());
        QCOMPARE(dd2.ChosenKind(QStringLiteral("xx")), QStringLiteral("Beta"));
        // The hint for new kinds.
        dd2.LabelNewKindClick();
        QCOMPARE(fx.settings.presenter->last().caption, QStringLiteral("Neuen Medientyp anlegen"));
        QVERIFY(fx.settings.presenter->last().text.startsWith(
            QStringLiteral("Sie können direkt in der Medien-Karteikarte im Feld ")));
    }

    void chooseReturnsTheChoiceOrTheCurrentKind()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.open();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        p.answerDialog([](QDialog &d) {
            static_cast<TDMedienDropDown &>(d).RadDVD->Click();
        });
        QCOMPARE(ChooseMediumKind(10, 10, QStringLiteral("VHS-SB")), QStringLiteral("DVD"));
        QCOMPARE(p.last().objectName, QStringLiteral("DMedienDropDown"));
        p.answerDialog([](QDialog &d) { static_cast<TDMedienDropDown &>(d).RadDVD->Click(); }, mrCancel);
        QCOMPARE(ChooseMediumKind(10, 10, QStringLiteral("VHS-SB")), QStringLiteral("VHS-SB"));
        // A long current kind comes back cut to six characters.
        QCOMPARE(ChooseMediumKind(10, 10, QStringLiteral("Betamax")), QStringLiteral("Betama"));
    }

    void positionBelowOrAbove()
    {
        QCOMPARE(MediumDropDownPosition(100, 200, 330, 1000), QPoint(100, 200));
        QCOMPARE(MediumDropDownPosition(100, 900, 330, 1000), QPoint(100, 900 - 20 - 330));
        QCOMPARE(MediumDropDownPosition(100, 300, 330, 400), QPoint(100, 0));
    }

    void goToMedium()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.addMedium(QStringLiteral("VHS-SB"), 7, 240);
        fx.addMedium(QStringLiteral("DVD"), 3, 0);
        TMainform &m = fx.open();
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        p.answerDialog([](QDialog &d) {
            auto &dlg = static_cast<TDLocateKass &>(d);
            QCOMPARE(dlg.EditMed->text(), QStringLiteral("DVD")); // the card's first medium
            QVERIFY(dlg.EditMed->isEnabled());
            dlg.EditMed->setText(QStringLiteral("VHS-SB"));
            dlg.ButtLetzteClick();
            QCOMPARE(dlg.SpinEdit1->value(), 7);
        });
        ShowLocateMediumDialog(&m, m.DataSets(), m.Records->numberingMode());
        QCOMPARE(p.last().objectName, QStringLiteral("DLocateKass"));
        QCOMPARE(fx.field("Medium")->asString(), QStringLiteral("VHS-SB"));
        QCOMPARE(fx.field("Nr")->asInteger(), 7);
        // Not found: a box, the card stays.
        p.answerDialog([](QDialog &d) { static_cast<TDLocateKass &>(d).SpinEdit1->setValue(99); });
        ShowLocateMediumDialog(&m, m.DataSets(), m.Records->numberingMode());
        QCOMPARE(p.last().text, QStringLiteral("Medium nicht gefunden!"));
        QCOMPARE(p.last().caption, QStringLiteral("Fehler"));
        QCOMPARE(fx.field("Nr")->asInteger(), 7);
        // Cancel moves nothing.
        p.answerDialog([](QDialog &d) { static_cast<TDLocateKass &>(d).SpinEdit1->setValue(1); }, mrCancel);
        ShowLocateMediumDialog(&m, m.DataSets(), m.Records->numberingMode());
        QCOMPARE(fx.field("Nr")->asInteger(), 7);
    }

    void goToMediumAcrossAllKinds()
    {
        fx.addMedium(QStringLiteral("VHS-SB"), 1, 240);
        fx.addMedium(QStringLiteral("DVD"), 2, 0);
        TMainform &m = fx.open();
        // Numbering across all media.
        fx.unlock();
        m.Records->MenNumAlleMedienClick();
        QCOMPARE(m.Records->numberingMode(), NumberingMode::AcrossAll);
        kit::ScriptedPresenter &p = *fx.settings.presenter;
        p.answerDialog([](QDialog &d) {
            auto &dlg = static_cast<TDLocateKass &>(d);
            QCOMPARE(dlg.EditMed->text(), QStringLiteral("Alle"));
            QVERIFY(!dlg.EditMed->isEnabled());
            QVERIFY(!dlg.ButtMedPPP->isEnabled());
            dlg.ButtLetzteClick();
            QCOMPARE(dlg.SpinEdit1->value(), 2);
        });
        ShowLocateMediumDialog(&m, m.DataSets(), m.Records->numberingMode());
        QCOMPARE(fx.field("Medium")->asString(), QStringLiteral("DVD"));
        QCOMPARE(fx.field("Nr")->asInteger(), 2);
    }
};

QTEST_MAIN(TestMediumKind)
#include "tst_mediumkind.moc"
