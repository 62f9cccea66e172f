#include "kit/enterexitbutton.h"
#include "kit/help.h"
#include "kit/inpboxmetal.h"
#include "kit/framewidgets.h"
#include "kit/msgboxmetal.h"
#include "kit/oberform.h"
#include "kit/ozoroundrectpanel.h"
#include "kit/pzlabel.h"
#include "kit/scriptedpresenter.h"
#include "kit/waitbox.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class TstBoxes : public QObject
{
    Q_OBJECT
private slots:
    void doubleBackslashes()
    {
        QCOMPARE(DoubleBackslashes(QString()), QString());
        QCOMPARE(DoubleBackslashes(QStringLiteral("ohne")), QStringLiteral("ohne"));
        QCOMPARE(DoubleBackslashes(QStringLiteral("a\\b\\\\c\\")), QStringLiteral("a\\\\b\\\\\\\\c\\\\"));
    }

    void messageWithAndWithoutEscaping()
    {
        kit::ScriptedPresenter p;
        const QString path = QStringLiteral("C:\\Bilder\\Neu");
        bool boxSeen = false;
        p.answerDialog([&](QDialog &d) {
            auto &box = static_cast<TWMsgBoxMetal &>(d);
            boxSeen = WMsgBoxMetal == &box;
            QCOMPARE(box.PZLabel1->size(), QSize(401, 105));
            QCOMPARE(box.PZLabel1->font().pixelSize(), 13);
            QCOMPARE(box.PZLabel1->HorzAlignment(), haCenter);
            QCOMPARE(box.PZLabel1->VertAlignment(), vaCenter);
            QCOMPARE(box.OzoNewButton1->size(), QSize(100, 21));
            QVERIFY(box.OzoNewButton1->isDefault());
            // The path shows exactly, with no style switched.
            const MarkupLayout l = box.PZLabel1->Layout();
            QCOMPARE(l.lines.size(), 1);
            QCOMPARE(l.lines[0].runs.size(), 1);
            QCOMPARE(l.lines[0].runs[0].text, path);
        });
        ShowMetalMessage(QStringLiteral("Hinweis"), path, true);
        QVERIFY(boxSeen);
        QCOMPARE(WMsgBoxMetal, nullptr);
        const kit::ShownBox &escaped = p.last();
        QCOMPARE(escaped.kind, QStringLiteral("TWMsgBoxMetal"));
        QCOMPARE(escaped.caption, QStringLiteral("Hinweis"));
        QCOMPARE(escaped.buttons, QStringList{QStringLiteral("OK")});
        QCOMPARE(escaped.text, path);
        QVERIFY(escaped.literal);

        // Without the flag "\B" switches bold on and "\N" resets: the path is mangled.
        p.answerDialog([&](QDialog &d) {
            const MarkupLayout l = static_cast<TWMsgBoxMetal &>(d).PZLabel1->Layout();
            QCOMPARE(l.lines[0].runs.size(), 3);
            QCOMPARE(l.lines[0].runs[1].text, QStringLiteral("ilder"));
            QVERIFY(l.lines[0].runs[1].style.bold);
            QVERIFY(!l.lines[0].runs[2].style.bold);
        });
        ShowMetalMessage(QStringLiteral("Hinweis"), path);
        QCOMPARE(p.last().text, path);
        QVERIFY(!p.last().literal);
        QCOMPARE(StripMarkup(p.last().text), QStringLiteral("C:ildereu"));
        QCOMPARE(p.unscripted(), 0);
    }

    void messageBoxAsShown()
    {
        // The box as the program shows it: sized by its hook, the text centred.
        TWMsgBoxMetal *box = CreateForm<TWMsgBoxMetal>();
        box->SetCaption(QStringLiteral("Hinweis"));
        box->PZLabel1->SetCaption(QStringLiteral("Die Datei wurde \\Bgespeichert\\b."));
        box->show();
        QVERIFY(QTest::qWaitForWindowExposed(box));
        QCOMPARE(box->PZLabel1->parentWidget(), box->PanelClient);
        QCOMPARE(box->PZLabel1->size(), QSize(401, 105));
        delete box;
    }

    void boxesOpenCentredOnTheirOwner()
    {
        TOberForm owner;
        owner.setGeometry(60, 40, 600, 480); // within the offscreen screen of 800 x 600
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        const QPoint centre = owner.frameGeometry().center();
        // The metal box as ShowMetalMessage makes it, and a dialog of ours.
        std::unique_ptr<TWMsgBoxMetal> box(CreateForm<TWMsgBoxMetal>(&owner));
        box->show();
        QVERIFY((box->frameGeometry().center() - centre).manhattanLength() <= 2);
        std::unique_ptr<TOberForm> dlg(CreateForm<TOberForm>(&owner));
        dlg->resize(200, 100);
        dlg->show();
        QVERIFY((dlg->frameGeometry().center() - centre).manhattanLength() <= 2);
        dlg->hide();
        // A window the program placed keeps its place.
        dlg->move(20, 30);
        dlg->show();
        QCOMPARE(dlg->pos(), QPoint(20, 30));
        // The system-style box belongs to the active window when none is named.
        owner.activateWindow();
        QApplication::setActiveWindow(&owner);
        kit::ScriptedPresenter p;
        QWidget *parentSeen = nullptr;
        p.answerDialog([&parentSeen](QDialog &d) { parentSeen = d.parentWidget(); }, mrOk);
        kit::messageBox(QStringLiteral("Text"), QStringLiteral("Titel"));
        QCOMPARE(parentSeen, &owner);
    }

    void inputBox()
    {
        kit::ScriptedPresenter p;
        QString value = QStringLiteral("alt");
        // Cancel keeps the value; the help button is visible but disabled for context 0.
        p.answerDialog([](QDialog &d) {
            auto &box = static_cast<TWiInputBox &>(d);
            QCOMPARE(WiInputBox, &box);
            QVERIFY(!box.HelpButton->isEnabled());
            QVERIFY(!box.HelpButton->isHidden());
            QCOMPARE(box.HelpButton->Kind(), ibkHelp);
            QCOMPARE(box.OzoNewButton2->Kind(), ibkOK);
            QVERIFY(box.OzoNewButton2->isDefault());
            QCOMPARE(box.OzoNewButton3->Kind(), ibkCancel);
            QCOMPARE(box.OzoRoundRectPanel1->RndRadius(), 20);
            QCOMPARE(box.Edit1->parentWidget(), box.OzoRoundRectPanel1);
            QVERIFY(!box.Edit1->hasFrame());
            QCOMPARE(box.Edit1->text(), QStringLiteral("alt"));
            QCOMPARE(box.Edit1->selectedText(), QStringLiteral("alt")); // typing replaces it
            box.Edit1->setText(QStringLiteral("verworfen"));
        }, mrCancel);
        QVERIFY(!MetalInputBox(QStringLiteral("Neu"), QStringLiteral("\\BName:"), value, 0));
        QCOMPARE(value, QStringLiteral("alt"));
        QCOMPARE(WiInputBox, nullptr);
        const kit::ShownBox &b = p.last();
        QCOMPARE(b.kind, QStringLiteral("TWiInputBox"));
        QCOMPARE(b.caption, QStringLiteral("Neu"));
        QCOMPARE(b.text, QStringLiteral("\\BName:"));
        QCOMPARE(b.input, QStringLiteral("alt"));
        QCOMPARE(b.buttons, (QStringList{QStringLiteral("Hilfe"), QStringLiteral("OK"), QStringLiteral("Abbruch")}));

        // An unscripted box is cancelled.
        QVERIFY(!MetalInputBox(QStringLiteral("Neu"), QStringLiteral("Name:"), value, 0));
        QCOMPARE(value, QStringLiteral("alt"));

        // OK with an emptied edit: true and an empty value.
        p.answerInput(QString());
        QVERIFY(MetalInputBox(QStringLiteral("Neu"), QStringLiteral("Name:"), value, 0));
        QCOMPARE(value, QString());
        p.answerInput(QStringLiteral("Neuer Name"));
        QVERIFY(MetalInputBox(QStringLiteral("Neu"), QStringLiteral("Name:"), value, 0));
        QCOMPARE(value, QStringLiteral("Neuer Name"));

        // With a help context the help button opens the help there.
        QList<int> helped;
        kit::setHelpHook([&](int ctx) { helped << ctx; });
        p.answerDialog([](QDialog &d) {
            auto &box = static_cast<TWiInputBox &>(d);
            QVERIFY(box.HelpButton->isEnabled());
            box.HelpButton->click();
        }, mrCancel);
        MetalInputBox(QStringLiteral("Neu"), QStringLiteral("Name:"), value, 1234);
        kit::setHelpHook({});
        QCOMPARE(helped, QList<int>{1234});
    }

    void oneWaitBoxForTwoCalls()
    {
        QCOMPARE(Waitbox, nullptr);
        TWaitbox *first = ShowWaitBox(QStringLiteral("Import"), QStringLiteral("Filme..."));
        QVERIFY(first);
        QVERIFY(!first->isVisible()); // the caller shows it
        QCOMPARE(first->GetCaptionText(), QStringLiteral("Bitte warten..."));
        QVERIFY(first->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(first->WinXButt->isHidden());
        TWaitbox *second = ShowWaitBox(QStringLiteral("Export"), QStringLiteral("Medien..."));
        QCOMPARE(second, first);
        QCOMPARE(first->Text1->Caption(), QStringLiteral("Export"));
        QCOMPARE(first->Text2->Caption(), QStringLiteral("Medien..."));
        first->show();
        SetWaitBoxText(first, QStringLiteral("Satz 10 von 20"));
        QCOMPARE(first->Text2->Caption(), QStringLiteral("Satz 10 von 20"));
        QCOMPARE(first->Text1->Caption(), QStringLiteral("Export"));
        QPointer<TWaitbox> watch(first);
        CloseWaitBox(first);
        QCOMPARE(Waitbox, nullptr);
        QVERIFY(watch.isNull());
        QVERIFY(ShowWaitBox(QString(), QString()) != nullptr);
        CloseWaitBox(Waitbox);
        QCOMPARE(Waitbox, nullptr);
    }
};

QTEST_MAIN(TstBoxes)
#include "tst_boxes.moc"
