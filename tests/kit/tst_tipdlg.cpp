#include "kit/scriptedpresenter.h"
#include "kit/tipdlg.h"
#include "platform/registry.h"
#include "platform/textfile.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace kit;

namespace {
// A random source that gives the scripted numbers in turn.
TipRandom scripted(QList<int> values)
{
    auto shared = std::make_shared<QList<int>>(std::move(values));
    return [shared](int n) {
        const int v = shared->isEmpty() ? 0 : shared->takeFirst();
        return v < n ? v : n - 1;
    };
}
} // namespace

class TstTipDlg : public QObject
{
    Q_OBJECT
private slots:
    void randomOrder()
    {
        // Two tips: the draw of 0..0 hits the shown tip and moves on, so they alternate.
        QCOMPARE(TipStartIndex(2, true, DefaultTipRandom()), 0);
        QCOMPARE(TipNextIndex(2, 0, true, DefaultTipRandom()), 1);
        QCOMPARE(TipNextIndex(2, 1, true, DefaultTipRandom()), 0);
        // One tip: always that one.
        QCOMPARE(TipStartIndex(1, true, DefaultTipRandom()), 0);
        QCOMPARE(TipNextIndex(1, 0, true, DefaultTipRandom()), 0);
        // Five tips: the draw covers 0..3; hitting the shown one takes the next.
        QCOMPARE(TipNextIndex(5, 2, true, scripted({2})), 3);
        QCOMPARE(TipNextIndex(5, 2, true, scripted({1})), 1);
        QCOMPARE(TipNextIndex(5, 3, true, scripted({3})), 4);
        // No tips at all.
        QCOMPARE(TipStartIndex(0, true, DefaultTipRandom()), -1);
        QCOMPARE(TipNextIndex(0, -1, false, {}), -1);
    }

    void sequentialOrderWraps()
    {
        QCOMPARE(TipStartIndex(3, false, {}), -1);
        QCOMPARE(TipNextIndex(3, -1, false, {}), 0);
        QCOMPARE(TipNextIndex(3, 1, false, {}), 2);
        QCOMPARE(TipNextIndex(3, 2, false, {}), 0);
        QCOMPARE(TipPrevIndex(3, 0), 2);
        QCOMPARE(TipPrevIndex(3, 2), 1);

        TTipsForm form;
        form.Start({"eins", "zwei", "drei"}, {}, false, {});
        QCOMPARE(form.ShownText(), QStringLiteral("eins"));
        QVERIFY(!form.PrevBtn->isHidden());
        form.PrevBtn->click();
        QCOMPARE(form.ShownText(), QStringLiteral("drei"));
        form.NextBtn->click();
        QCOMPARE(form.ShownText(), QStringLiteral("eins"));
        form.NextBtn->click();
        QCOMPARE(form.ShownText(), QStringLiteral("zwei"));
    }

    void randomWindowAlternatesAndHidesPrevious()
    {
        TTipsForm form;
        form.Start({"A", "B"}, {}, true, DefaultTipRandom());
        QVERIFY(form.PrevBtn->isHidden());
        const QString first = form.ShownText();
        QCOMPARE(first, QStringLiteral("B"));
        form.NextBtn->click();
        QCOMPARE(form.ShownText(), QStringLiteral("A"));
        form.NextBtn->click();
        QCOMPARE(form.ShownText(), QStringLiteral("B"));
    }

    void lineBreakSubstitute()
    {
        QCOMPARE(TipShownText(QStringLiteral("Erster Satz.\\lbZweiter Satz."), QStringLiteral("\\lb")),
                 QStringLiteral("Erster Satz.\r\nZweiter Satz."));
        QCOMPARE(TipShownText(QStringLiteral("a\\lbb\\lbc"), QStringLiteral("\\lb")), QStringLiteral("a\r\nb\r\nc"));
        // Without a substitute the text stays as it is.
        QCOMPARE(TipShownText(QStringLiteral("a\\lbb"), QString()), QStringLiteral("a\\lbb"));
    }

    void tipsFromIniFileInFileOrder()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("TarvoTips.ini"));
        QVERIFY(platform::writeFileBytes(path,
            "[Andere]\r\nX=nicht\r\n[TipsOfTheDay]\r\nZ=Erster Tipp f\xFCr \xC4rger\r\nA=Zweiter\\lbTipp\r\n"
            "[Weiter]\r\nY=auch nicht\r\n"));
        QCOMPARE(ReadTipsFromIni(path, QStringLiteral("TipsOfTheDay")),
                 QStringList({QStringLiteral("Erster Tipp für Ärger"), QStringLiteral("Zweiter\\lbTipp")}));
        QVERIFY(ReadTipsFromIni(dir.filePath(QStringLiteral("fehlt.ini")), QStringLiteral("TipsOfTheDay")).isEmpty());
        QVERIFY(ReadTipsFromIni(path, QString()).isEmpty());

        ScriptedPresenter p;
        QString shown;
        p.answerDialog([&](QDialog &d) {
            auto &form = static_cast<TTipsForm &>(d);
            shown = form.ShownText();
            form.ShowChk->setChecked(false);
        });
        TQurTipDlg dlg;
        dlg.TipsLocation = TTipLocation::locINIFile;
        dlg.INIFile = path;
        dlg.INISection = QStringLiteral("TipsOfTheDay");
        dlg.CRLFSubstitute = QStringLiteral("\\lb");
        dlg.RandomTips = true;
        dlg.Tips = QStringList({"eingebettet"}); // replaced by the file's tips
        QVERIFY(dlg.ShowAtStartup);
        QCOMPARE(dlg.Execute(), false);
        QCOMPARE(dlg.ShowAtStartup, false);
        // Random mode with two tips starts at the second.
        QCOMPARE(shown, QStringLiteral("Zweiter\r\nTipp"));
        QCOMPARE(p.last().caption, QStringLiteral("Tipp des Tages"));
    }

    void missingFileGivesEmptyWindowWithDisabledButtons()
    {
        ScriptedPresenter p;
        bool nextEnabled = true, prevEnabled = true, checked = false;
        QString text = QStringLiteral("x"), title;
        p.answerDialog([&](QDialog &d) {
            auto &form = static_cast<TTipsForm &>(d);
            nextEnabled = form.NextBtn->isEnabled();
            prevEnabled = form.PrevBtn->isEnabled();
            text = form.ShownText();
            title = form.TipTitleLbl->text();
            checked = form.ShowChk->isChecked();
        });
        TQurTipDlg dlg;
        dlg.TipsLocation = TTipLocation::locINIFile;
        dlg.INIFile = QStringLiteral("/nicht/vorhanden/TarvoTips.ini");
        dlg.INISection = QStringLiteral("TipsOfTheDay");
        dlg.DlgCaption = QStringLiteral("Eigener Titel");
        QCOMPARE(dlg.Execute(), true);
        QVERIFY(!nextEnabled);
        QVERIFY(!prevEnabled);
        QVERIFY(text.isEmpty());
        QVERIFY(checked);
        QCOMPARE(title, QStringLiteral("Wussten Sie schon...?"));
        QCOMPARE(p.last().caption, QStringLiteral("Eigener Titel"));
    }

    void tipsFromRegistryStringValuesOnly()
    {
        QTemporaryDir dir;
        platform::setUserRegistryFile(dir.filePath(QStringLiteral("user.reg")));
        platform::resetRegistryStores();
        {
            platform::Registry reg;
            QVERIFY(reg.openKey(QStringLiteral("Software\\Tipps"), true));
            reg.writeString(QStringLiteral("1"), QStringLiteral("Eins"));
            reg.writeInteger(QStringLiteral("2"), 7);
            reg.writeString(QStringLiteral("3"), QStringLiteral("Drei"));
            reg.closeKey();
        }
        const QStringList tips = ReadTipsFromRegistry(platform::RegistryRoot::CurrentUser, QStringLiteral("Software\\Tipps"));
        QCOMPARE(tips.size(), 2);
        QVERIFY(tips.contains(QStringLiteral("Eins")));
        QVERIFY(tips.contains(QStringLiteral("Drei")));
        QVERIFY(ReadTipsFromRegistry(platform::RegistryRoot::CurrentUser, QStringLiteral("Software\\Fehlt")).isEmpty());
    }
};

QTEST_MAIN(TstTipDlg)
#include "tst_tipdlg.moc"
