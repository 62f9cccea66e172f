#include "kit/help.h"
#include "kit/presenter.h"
#include "kit/scriptedpresenter.h"
#include "kit/systemmessagebox.h"
#include "platform/progdir.h"

#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TstPresenter : public QObject
{
    Q_OBJECT
private slots:
    void messageBoxIsRecordedAndAnswered()
    {
        kit::ScriptedPresenter p;
        p.answer(mrYes);
        const TModalResult r = kit::messageBox(
            QStringLiteral("Wollen Sie den aktuell angezeigten Datensatz wirklich löschen?"),
            QStringLiteral("Warnung!"), kit::MsgButtons::YesNo, kit::BoxIcon::Warning);
        QCOMPARE(r, mrYes);
        QCOMPARE(p.shown().size(), 1);
        const kit::ShownBox &b = p.last();
        QCOMPARE(b.kind, QStringLiteral("MessageBox"));
        QCOMPARE(b.caption, QStringLiteral("Warnung!"));
        QCOMPARE(b.text, QStringLiteral("Wollen Sie den aktuell angezeigten Datensatz wirklich löschen?"));
        QCOMPARE(b.icon, kit::BoxIcon::Warning);
        QVERIFY(b.literal);
        QCOMPARE(b.buttons, (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein")}));
        QCOMPARE(b.result, mrYes);
        QCOMPARE(p.unscripted(), 0);
        QCOMPARE(p.pending(), 0);
    }

    void unscriptedBoxesGetTheirSafeAnswer()
    {
        kit::ScriptedPresenter p;
        QCOMPARE(kit::messageBox(QStringLiteral("x"), QStringLiteral("c")), mrOk);
        QCOMPARE(kit::messageBox(QStringLiteral("x"), QStringLiteral("c"), kit::MsgButtons::YesNo), mrNo);
        QCOMPARE(kit::messageBox(QStringLiteral("x"), QStringLiteral("c"), kit::MsgButtons::YesNoCancel),
                 mrCancel);
        QCOMPARE(kit::messageBox(QStringLiteral("x"), QStringLiteral("c"), kit::MsgButtons::OkCancel),
                 mrCancel);
        QCOMPARE(p.unscripted(), 4);
        QCOMPARE(kit::chooseFile({}), QString());
    }

    void systemBoxButtonsAndEscape()
    {
        kit::SystemMessageBox yesNo(QStringLiteral("Weiter?"), QStringLiteral("Frage"), kit::MsgButtons::YesNo,
                                    kit::BoxIcon::Question, 1);
        QCOMPARE(yesNo.windowTitle(), QStringLiteral("Frage"));
        QCOMPARE(yesNo.findChild<QPushButton *>(QStringLiteral("Button2"))->isDefault(), true);
        yesNo.setResult(mrNone);
        yesNo.reject(); // no Cancel button: Esc does nothing
        QCOMPARE(yesNo.result(), int(mrNone));
        yesNo.findChild<QPushButton *>(QStringLiteral("Button1"))->click();
        QCOMPARE(yesNo.result(), int(mrYes));

        kit::SystemMessageBox three(QStringLiteral("x"), QStringLiteral("c"), kit::MsgButtons::YesNoCancel,
                                    kit::BoxIcon::None, 0);
        QCOMPARE(three.buttonCaptions(),
                 (QStringList{QStringLiteral("&Ja"), QStringLiteral("&Nein"), QStringLiteral("Abbrechen")}));
        three.reject();
        QCOMPARE(three.result(), int(mrCancel));
        kit::SystemMessageBox ok(QStringLiteral("x"), QStringLiteral("c"), kit::MsgButtons::Ok, kit::BoxIcon::Error, 0);
        ok.reject();
        QCOMPARE(ok.result(), int(mrOk));
        QVERIFY(ok.findChild<QLabel *>(QStringLiteral("Icon")));
        QCOMPARE(ok.findChild<QLabel *>(QStringLiteral("Text"))->text(), QStringLiteral("x"));
    }

    void dialogIsFilledBeforeItsAnswer()
    {
        kit::ScriptedPresenter p;
        QDialog dlg;
        dlg.setObjectName(QStringLiteral("DExport"));
        dlg.setWindowTitle(QStringLiteral("Exportieren"));
        auto *edit = new QLineEdit(&dlg);
        edit->setObjectName(QStringLiteral("Edit1"));
        new QPushButton(QStringLiteral("OK"), &dlg);
        new QPushButton(QStringLiteral("Abbruch"), &dlg);
        p.answerDialog([](QDialog &d) { d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText("abc"); });
        QCOMPARE(kit::execDialog(dlg), mrOk);
        QCOMPARE(edit->text(), QStringLiteral("abc"));
        QCOMPARE(dlg.result(), int(mrOk));
        QCOMPARE(p.last().kind, QStringLiteral("QDialog"));
        QCOMPARE(p.last().objectName, QStringLiteral("DExport"));
        QCOMPARE(p.last().caption, QStringLiteral("Exportieren"));
        QCOMPARE(p.last().buttons, (QStringList{QStringLiteral("OK"), QStringLiteral("Abbruch")}));

        // An input text goes into the box's edit.
        kit::BoxInfo info = kit::describeDialog(dlg);
        info.inputEdit = edit;
        p.answerInput(QStringLiteral("neu"), mrCancel);
        QCOMPARE(kit::execDialog(dlg, info), mrCancel);
        QCOMPARE(edit->text(), QStringLiteral("neu"));
        QCOMPARE(p.last().answeredInput, QStringLiteral("neu"));
    }

    void menuChoiceTriggersTheItem()
    {
        kit::ScriptedPresenter p;
        QMenu menu;
        menu.setObjectName(QStringLiteral("PopupMemo"));
        QAction *copy = menu.addAction(QStringLiteral("&Kopieren"));
        menu.addSeparator();
        QAction *off = menu.addAction(QStringLiteral("&Einfügen"));
        off->setEnabled(false);
        int triggered = 0;
        connect(copy, &QAction::triggered, this, [&] { ++triggered; });

        p.answerMenu(QStringLiteral("&Kopieren")).answerMenu(QStringLiteral("&Einfügen")).answerMenu({});
        QCOMPARE(kit::popupMenu(menu, QPoint(10, 10)), copy);
        QCOMPARE(triggered, 1);
        QCOMPARE(p.last().buttons, (QStringList{QStringLiteral("&Kopieren"), QStringLiteral("&Einfügen")}));
        QCOMPARE(kit::popupMenu(menu, QPoint()), nullptr); // a disabled item cannot be chosen
        QCOMPARE(kit::popupMenu(menu, QPoint()), nullptr);
        QCOMPARE(triggered, 1);
    }

    void fileChooserAndNesting()
    {
        kit::ScriptedPresenter outer;
        outer.answerFile(QStringLiteral("/tmp/a.txt"));
        {
            kit::ScriptedPresenter inner;
            inner.answerFile(QStringLiteral("/tmp/b.txt"));
            kit::FileRequest req;
            req.mode = kit::FileMode::Save;
            req.caption = QStringLiteral("Speichern unter");
            QCOMPARE(kit::chooseFile(req), QStringLiteral("/tmp/b.txt"));
            QCOMPARE(inner.last().caption, QStringLiteral("Speichern unter"));
        }
        QCOMPARE(&kit::presenter(), static_cast<kit::Presenter *>(&outer));
        QCOMPARE(kit::chooseFile({}), QStringLiteral("/tmp/a.txt"));
    }

    void helpHook()
    {
        QList<int> asked;
        kit::setHelpHook([&](int ctx) { asked << ctx; });
        kit::showHelp(42);
        QCOMPARE(asked, QList<int>{42});
        kit::setHelpHook({});

        // The program's own hook: no help in this program folder, so it says so.
        QTemporaryDir empty;
        platform::setProgramDir(empty.path());
        kit::ScriptedPresenter p;
        kit::showHelp(7);
        platform::setProgramDir(QString());
        QCOMPARE(p.shown().size(), 1);
        QCOMPARE(p.last().caption, QStringLiteral("Hilfe"));
        QVERIFY(p.last().text.startsWith(QStringLiteral("Die Hilfe ist nicht installiert")));
    }
};

QTEST_MAIN(TstPresenter)
#include "tst_presenter.moc"
