// The three export dialogs and their entries, run through the scripted
// presenter: which options the chosen format enables, the Boolean style
// and the DIF text option following each other, the question about the
// filtered media table, a cancelled heading and a failed target.
#include "exportfixture.h"

#include "dbui/datasource.h"
#include "dbui/dbgrid.h"
#include "exchange/exportfieldtext.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/scriptedpresenter.h"
#include "windows/exchange/exportcommands.h"
#include "windows/exchange/tdanhexport.h"
#include "windows/exchange/tdlistexport.h"
#include "windows/exchange/tdtabexport.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QSpinBox>
#include <QStandardPaths>

#include <memory>

using fixture::Exports;

class TstExportDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void tableDialogFollowsTheFormat()
    {
        std::unique_ptr<TDTabExport> d(CreateForm<TDTabExport>());
        QVERIFY(!d->BitBtnOK->isEnabled());
        QCOMPARE(d->EditFile->text(), QStringLiteral("Klicken Sie rechts auf den Button, um eine Datei festzulegen..."));
        QVERIFY(d->CheckXmlMemos->Checked());
        QCOMPARE(d->Separator(), QLatin1Char(';'));

        d->SetFileName(QStringLiteral("/tmp/a.dif"));
        QVERIFY(d->BitBtnOK->isEnabled());
        QVERIFY(d->GroupCharset->isEnabled());
        QVERIFY(!d->GroupSeparator->isEnabled());
        QVERIFY(d->GroupLabels->isEnabled());
        QVERIFY(d->CheckDifText->isEnabled());
        QVERIFY(!d->CheckHtmlBr->isEnabled());

        d->SetFileName(QStringLiteral("/tmp/a.xml"));
        QVERIFY(!d->GroupCharset->isEnabled());
        QVERIFY(!d->GroupLabels->isEnabled());
        QVERIFY(d->CheckXmlMemos->isEnabled());
        QVERIFY(!d->CheckXmlCombined->isEnabled());
        d->SetCombinedAllowed(true);
        QVERIFY(d->CheckXmlCombined->isEnabled());
        // Without configured search sites there is no web-search column.
        QVERIFY(!d->CheckWebSearch->isEnabled());

        d->SetFileName(QStringLiteral("/tmp/a.csv"));
        QVERIFY(d->GroupSeparator->isEnabled());
        d->RadioTab->SetChecked(true);
        QCOMPARE(d->Separator(), QLatin1Char('\t'));

        // An X style wants the DIF text option; dropping it leaves the X style.
        QVERIFY(!d->CheckDifText->Checked());
        d->RadioBool3->SetChecked(true);
        QVERIFY(d->CheckDifText->Checked());
        QCOMPARE(d->BoolStyle(), int(ebsXEmpty));
        d->CheckDifText->SetChecked(false);
        QVERIFY(d->RadioBool0->Checked());
        QCOMPARE(d->BoolStyle(), int(ebsWahrFalsch));
    }

    void tableExportWithFilteredMedia()
    {
        Exports x;
        x.addMedium(QStringLiteral("DVD"), 1);
        x.addMedium(QStringLiteral("DVD"), 2);
        x.addMedium(QStringLiteral("DVD"), 3);
        dbui::DataSource src(&x.media);
        dbui::DbGrid grid;
        grid.setDataSource(&src);
        grid.setColumns({dbui::GridColumn(QStringLiteral("Medium"), QStringLiteral("Art")),
                         dbui::GridColumn(QStringLiteral("Nr"), QStringLiteral("Nr"))});
        const QString file = x.path(QStringLiteral("medien.csv"));
        kit::ScriptedPresenter p;
        p.answerDialog([](QDialog &d) { d.findChild<QPushButton *>(QStringLiteral("ButtonFile"))->click(); });
        p.answerFile(file);
        p.answer(mrYes);
        const MediaFilter odd = [](engine::DataSet &s) { return s.fieldByName(QStringLiteral("Nr"))->asInteger() % 2 == 1; };
        QVERIFY(ExecTableExport(nullptr, x.media, grid, ExportSource::MediaGrid, {}, odd));
        // The file chooser (asked while the dialog is open) comes first.
        QCOMPARE(p.shown().at(0).kind, QStringLiteral("FileDialog"));
        QCOMPARE(p.shown().at(0).input, QString()); // no proposed name: starts in the documents folder
        QCOMPARE(p.shown().at(1).caption, QStringLiteral("Tabelle exportieren"));
        QCOMPARE(p.shown().at(2).caption, QStringLiteral("Frage"));
        QVERIFY(p.shown().at(2).text.startsWith(QStringLiteral("Die Medientabelle ist momentan gefiltert!\r")));
        QCOMPARE(fixture::readAll(file), QByteArray("Art;Nr\r\nDVD;1\r\nDVD;3\r\n"));
        QVERIFY(!x.media.filtered());

        // No: the whole table.
        p.clear();
        p.answerDialog([&](QDialog &d) { static_cast<TDTabExport &>(d).SetFileName(file); });
        p.answer(mrNo);
        QVERIFY(ExecTableExport(nullptr, x.media, grid, ExportSource::MediaGrid, {}, odd));
        QCOMPARE(fixture::readAll(file), QByteArray("Art;Nr\r\nDVD;1\r\nDVD;2\r\nDVD;3\r\n"));

        // A target that cannot be written: a German message, no success.
        p.clear();
        p.answerDialog([&](QDialog &d) { static_cast<TDTabExport &>(d).SetFileName(x.path(QStringLiteral("no/dir.csv"))); });
        QVERIFY(!ExecTableExport(nullptr, x.media, grid, ExportSource::MediaGrid, {}));
        QCOMPARE(p.last().caption, QStringLiteral("Fehler"));
        QVERIFY(p.last().text.contains(QStringLiteral("kann nicht angelegt werden")));

        // Cancel writes nothing.
        p.clear();
        p.answer(mrCancel);
        QVERIFY(!ExecTableExport(nullptr, x.media, grid, ExportSource::MediaGrid, {}));
    }

    void listAndAttachmentEntries()
    {
        Exports x;
        x.addFilm({QStringLiteral("DVD"), 1, 1, QStringLiteral("Eins"), QString(), 90, false, false, {}, {}, {},
                   QStringLiteral("Ein Memo")});
        x.addMedium(QStringLiteral("DVD"), 1);
        const QString file = x.path(QStringLiteral("liste.txt"));
        kit::ScriptedPresenter p;
        p.answerDialog([&](QDialog &d) {
            auto &l = static_cast<TDListExport &>(d);
            QVERIFY(!l.BitBtnOK->isEnabled());
            l.SetFileName(file);
            QVERIFY(l.BitBtnOK->isEnabled());
            l.SpinWidth->setValue(40);
        });
        p.answerInput(QStringLiteral("Meine Filme"));
        ListExportContext ctx;
        ctx.films = &x.films;
        ctx.listColumns = 1;
        QVERIFY(ExecListExport(nullptr, x.media, true, false, true, ctx));
        QCOMPARE(p.shown().at(1).caption, QStringLiteral("Liste exportieren"));
        QCOMPARE(fixture::readAll(file), "Meine Filme\r\n\r\nDVD      1 " + QByteArray("Eins").leftJustified(29) + "\r\n");

        // A cancelled heading leaves an empty file.
        p.clear();
        p.answerDialog([&](QDialog &d) { static_cast<TDListExport &>(d).SetFileName(file); });
        p.answer(mrCancel);
        QVERIFY(ExecListExport(nullptr, x.media, true, false, true, ctx));
        QCOMPARE(fixture::readAll(file), QByteArray());

        // The film window allows play times, not the person's films.
        p.clear();
        x.films.first();
        p.answerDialog([&](QDialog &d) {
            auto &a = static_cast<TDAnhExport &>(d);
            QVERIFY(a.CheckPlayTimes->isEnabled());
            QVERIFY(!a.CheckFilms->isEnabled());
            QVERIFY(!a.CheckWrap->Checked());
            a.SpinWrap->setValue(40);
            QVERIFY(a.CheckWrap->Checked());
            a.SetFileName(file);
        });
        QVERIFY(ExecAttachmentExport(nullptr, AttachmentKind::Film, x.films, {}));
        QCOMPARE(fixture::readAll(file), QByteArray("Eins\r\n\r\n\r\nEin Memo\r\n"));
    }
};

QTEST_MAIN(TstExportDialogs)
#include "tst_exportdialogs.moc"
