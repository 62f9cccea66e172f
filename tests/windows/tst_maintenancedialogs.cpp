#include "app/settingsfixture.h"
#include "windows/tables/tablemaintenancedialogs.h"
#include "kit/pzlabel.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QtTest>

class TstMaintenanceDialogs : public QObject
{
    Q_OBJECT
    SettingsFixture fx;

    static kit::ScriptedPresenter::Fill entries(const QString &a, const QString &b)
    {
        return [a, b](QDialog &d) {
            d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(a);
            d.findChild<QLineEdit *>(QStringLiteral("Edit2"))->setText(b);
        };
    }

private slots:
    void init() { fx.setUp(); }

    void newPasswordIsAskedUntilBothEntriesAgree()
    {
        fx.presenter->answer(mrOk)
            .answerDialog(entries(QStringLiteral("geheim"), QStringLiteral("gehiem")))
            .answer(mrOk)
            .answerDialog(entries(QStringLiteral("a"), QString()))
            .answer(mrOk)
            .answerDialog(entries(QStringLiteral("geheim"), QStringLiteral("geheim")));
        QString pwd;
        QVERIFY(ExecSetPasswordDialog(&pwd));
        QCOMPARE(pwd, QStringLiteral("geheim"));
        const auto &shown = fx.presenter->shown();
        QCOMPARE(shown.size(), 6);
        QCOMPARE(shown[0].caption, QStringLiteral("ACHTUNG!!!!!"));
        QCOMPARE(shown[0].icon, kit::BoxIcon::Warning);
        QCOMPARE(shown[1].objectName, QStringLiteral("DPwd"));
        QCOMPARE(shown[2].caption, QStringLiteral("Fehler"));
        QCOMPARE(shown[2].text, QStringLiteral("Ihre Eingaben waren nicht identisch!"));
        QCOMPARE(shown[4].text, QStringLiteral("Ihre Eingaben waren nicht identisch!"));
    }

    void emptyEntriesRemoveTheProtection()
    {
        fx.presenter->answer(mrOk).answerDialog(entries(QString(), QString()));
        QString pwd = QStringLiteral("alt");
        QVERIFY(ExecSetPasswordDialog(&pwd));
        QVERIFY(pwd.isEmpty());
    }

    void cancelAnywhereGivesFalse()
    {
        QString pwd;
        fx.presenter->answer(mrCancel);
        QVERIFY(!ExecSetPasswordDialog(&pwd));
        QCOMPARE(fx.presenter->shown().size(), 1);
        fx.presenter->clear();
        fx.presenter->answer(mrOk)
            .answerDialog(entries(QStringLiteral("a"), QStringLiteral("b")))
            .answer(mrOk)
            .answerDialog(entries(QStringLiteral("a"), QStringLiteral("a")), mrCancel);
        QVERIFY(!ExecSetPasswordDialog(&pwd));
    }

    void askTablePassword()
    {
        fx.presenter->answerDialog([](QDialog &d) {
            QVERIFY(d.findChild<QLineEdit *>(QStringLiteral("Edit2"))->isHidden());
            d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("pw"));
        });
        QCOMPARE(AskTablePassword(), QStringLiteral("pw"));
        fx.presenter->answerDialog([](QDialog &d) {
            d.findChild<QLineEdit *>(QStringLiteral("Edit1"))->setText(QStringLiteral("pw"));
        }, mrCancel);
        QCOMPARE(AskTablePassword(), QString());
    }

    void promptTextCarriesItsMarkup()
    {
        fx.presenter->answerDialog([](QDialog &d) {
            QVERIFY(d.findChild<TPZLabel *>(QStringLiteral("PZLabel1"))->Caption().contains(
                QStringLiteral("\\Bpasswortgeschützt\\b")));
        }, mrCancel);
        AskTablePassword();
    }

    void maskingFollowsTheCheckBox()
    {
        TDPwd d;
        d.CheckBox1->setChecked(true);
        QCOMPARE(d.Edit1->echoMode(), QLineEdit::Normal);
        QCOMPARE(d.Edit2->echoMode(), QLineEdit::Normal);
        QCOMPARE(d.Edit2->font().family(), QStringLiteral("Arial"));
        d.show(); // every show starts masked
        QVERIFY(!d.CheckBox1->isChecked());
        QCOMPARE(d.Edit1->echoMode(), QLineEdit::Password);
        QCOMPARE(d.Edit2->echoMode(), QLineEdit::Password);
    }

};

QTEST_MAIN(TstMaintenanceDialogs)
#include "tst_maintenancedialogs.moc"
