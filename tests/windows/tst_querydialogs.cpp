// The dialogs of the stored queries, query by example, the film search and
// the lending and rating searches over a database in a temporary folder,
// driven through their components and the scripted presenter.
#include "cardfixture.h"

#include "app/apppaths.h"
#include "engine/query.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "windows/main/mainmenus.h"
#include "query/searchrules.h"
#include "windows/queries/dabfragedef.h"
#include "windows/queries/dqbe.h"
#include "windows/queries/dquerykind.h"
#include "windows/queries/dsqlparam.h"
#include "windows/queries/dsuchefilm.h"
#include "windows/dialogs/dverleiheinst.h"
#include "windows/main/dverlsuche.h"
#include "windows/queries/dwertungsuche.h"
#include "windows/queries/querycommands.h"
#include "windows/queries/queryform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QSpinBox>

class TstQueryDialogs : public QObject
{
    Q_OBJECT
    card::Fixture fx;
    kit::ScriptedPresenter &p() { return *fx.settings.presenter; }

    // Sets one field of the film titled title in the file, before the open.
    void setFilm(const QString &title, const char *field, const QVariant &value)
    {
        engine::Table t;
        t.setTableName(FilmTablePath(fx.base));
        t.open();
        QVERIFY(t.locate(QStringLiteral("Titel"), title));
        t.edit();
        t.fieldByName(QLatin1String(field))->setValue(value);
        t.post();
    }
    void lend(engine::Table &m, const QString &who, const QDate &lent, const QDate &back)
    {
        m.fieldByName(QStringLiteral("Verliehen"))->setAsString(who);
        m.fieldByName(QStringLiteral("Verleihdatum"))->setAsDate(lent);
        m.fieldByName(QStringLiteral("Rueckgabedatum"))->setAsDate(back);
    }
    void fill()
    {
        const QDate today = QDate::currentDate();
        fx.addMedium("VHS-SB", 1, 240, {{1, "Rio Bravo", 140}, {2, "Alien", 100}},
                     [&](engine::Table &m) { lend(m, "Meier", QDate(2004, 3, 1), today.addDays(-2)); });
        fx.addMedium("DVD", 2, 120, {{1, "Casablanca", 100}},
                     [&](engine::Table &m) { lend(m, "Schmeichel", QDate(2004, 3, 9), today.addDays(30)); });
        fx.addMedium("DVD", 3, 120, {{1, "Alien 2", 120}},
                     [&](engine::Table &m) { lend(m, "Huber", QDate(2004, 11, 20), today.addDays(10)); });
        setFilm("Alien", "Free3", "Ridley Scott");
        setFilm("Alien", "Memo", "Ein spannender Weltraum-Krimi");
        setFilm("Alien", "Wertung", 4);
        setFilm("Rio Bravo", "Wertung", 3);
        fx.open();
    }
    QStringList resultTitles()
    {
        QStringList out;
        if (!QueryForm || !QueryForm->Query1->active())
            return out;
        engine::Query *q = QueryForm->Query1.get();
        for (q->first(); !q->eof(); q->next())
            out << q->fieldByName("Titel")->asString();
        out.sort();
        return out;
    }
    QStringList resultField(const char *name)
    {
        QStringList out;
        if (!QueryForm || !QueryForm->Query1->active())
            return out;
        engine::Query *q = QueryForm->Query1.get();
        for (q->first(); !q->eof(); q->next())
            out << q->fieldByName(QLatin1String(name))->asString();
        out.sort();
        return out;
    }
    // The per-user folder, known to the settings without a question.
    QString sqlFolder()
    {
        const QString profile = fx.settings.path(QStringLiteral("data/Profil-Tarvo"));
        QDir().mkpath(profile + QStringLiteral("/SQL"));
        ResetProfileDirCache();
        SettingsFixture::seed([&](platform::Registry &r) { r.writeString(QStringLiteral("ProfileDir"), profile); });
        return ExpandProfilePath(QStringLiteral("SQL"));
    }
    static int column(const query::TQbeGrid &g, const QString &field) { return int(g.fields.indexOf(field)); }

private slots:
    void init() { fx.setUp(); }
    void cleanup()
    {
        delete QueryForm;
        delete DQBE;
        FreeAbfrageDef();
        fx.tearDown();
    }

    void queryKindAndEditor()
    {
        fill();
        p().answerDialog([](QDialog &d) { d.findChild<TOzoCheck *>("RadioButton3")->SetChecked(true); });
        TDAbfrageDef *e = EnsureAbfrageDef(fx.form.get());
        QCOMPARE(e->Lines(), QStringList({"SELECT * FROM", "Film F, Med M", "WHERE",
                                          "M.Medium = F.Medium AND M.Nr = F.KassNr", " "}));
        QStringList fields;
        for (int i = 0; i < e->ListBox1->count(); ++i)
            fields << e->ListBox1->item(i)->text();
        QCOMPARE(fields.first(), QStringLiteral("M.Medium"));
        QVERIFY(fields.contains("M.Verliehen") && fields.contains("F.Titel"));
        QVERIFY(!fields.contains("M.bRest") && !fields.contains("M.bMaxFree"));
        QVERIFY(fields.indexOf("M.Memo") < fields.indexOf("F.Medium"));
        // The buttons work on the last line.
        e->Buttons[1]->click();
        e->ListBox1->setCurrentRow(int(fields.indexOf("F.Titel")));
        e->ListBox1DblClick();
        e->Buttons[18]->click();
        e->Buttons[12]->click();
        QCOMPARE(e->Lines().mid(5), QStringList{"AND  F.Titel LIKE \""});
        // Cancel in the source dialog leaves the text.
        const QStringList before = e->Lines();
        p().answer(mrCancel);
        e->BitBtn7->click();
        QCOMPARE(e->Lines(), before);

        // Saved and opened again: the same lines, umlauts included.
        const QString folder = sqlFolder();
        e->SetLines({"SELECT * FROM FILM", "WHERE Titel = \"Grüße aus Köln\"", " "});
        p().answerFile(folder + "/Grüße.SQL");
        e->BitBtn6->click();
        e->SetLines({"x"});
        p().answerFile(folder + "/Grüße.SQL");
        e->BitBtn5->click();
        QCOMPARE(e->Lines(), QStringList({"SELECT * FROM FILM", "WHERE Titel = \"Grüße aus Köln\"", " "}));
        // The stored file runs from the menu's entry.
        p().answerFile(folder + "/Grüße.SQL");
        ExecQueryDefinition(true, QString(), fx.form.get());
        QVERIFY(QueryForm && QueryForm->Query1->active());
        QCOMPARE(QueryForm->Query1->recordCount(), 0);
        // A file that cannot be read: a message, the editor keeps its text.
        p().answerFile(folder + "/fehlt.SQL");
        e->BitBtn5->click();
        QCOMPARE(p().last().caption, QStringLiteral("Fehler"));
        QCOMPARE(e->Lines().size(), 3);
    }

    void parameterDialog()
    {
        fill();
        // Jahr_Z is preset as integer, X keeps that choice, Titel$ is text.
        QStringList seen;
        auto answer = [&](const char *set, const QVariant &v) {
            p().answerDialog([&seen, set, v](QDialog &d) {
                auto &dlg = static_cast<TDSQLParam &>(d);
                seen << (dlg.RadioInteger->Checked() ? "I" : dlg.RadioBoolean->Checked() ? "B" : "S");
                if (QLatin1String(set) == QLatin1String("S"))
                    dlg.EditString->setText(v.toString());
                else if (QLatin1String(set) == QLatin1String("I"))
                    dlg.SpinInteger->setValue(v.toInt());
                QCOMPARE(dlg.PanelInteger->isVisibleTo(&dlg), dlg.RadioInteger->Checked());
            });
        };
        answer("I", 1);
        answer("I", 2);
        answer("S", "Alien");
        answer("B", true);
        ExecQueryStatement({"SELECT * FROM FILM WHERE KassNr >= :Jahr_Z AND FilmNr <= :X AND Titel = :T$",
                            "AND (:Ok? = true)"},
                           fx.form.get());
        QCOMPARE(seen, QStringList({"I", "I", "S", "B"}));
        QCOMPARE(resultTitles(), QStringList{"Alien"});
        // Cancel stops asking; nothing opens.
        p().answer(mrCancel);
        ExecQueryStatement({"SELECT * FROM FILM WHERE Titel = :A AND Titel = :B"}, fx.form.get());
        QVERIFY(!QueryForm->Query1->active());
        QCOMPARE(p().pending(), 0);
    }

    void qbeOnTheDatabase()
    {
        fill();
        // The join, the first criteria row left empty: the second and third
        // rows decide, and the join holds for both.
        p().answerDialog([](QDialog &d) { d.findChild<TOzoCheck *>("RadioButton3")->SetChecked(true); });
        p().answerDialog([this](QDialog &d) {
            auto &q = static_cast<TDQBE &>(d);
            query::TQbeGrid &g = q.Grid;
            for (QString &s : g.selection)
                s.clear();
            g.selection[column(g, "F.Titel")] = ">";
            g.rows[1][column(g, "F.Titel")] = "alien*";
            g.rows[2][column(g, "M.Nr")] = "1";
        });
        ExecQBE(fx.form.get());
        QVERIFY(DQBE);
        QVERIFY(QueryForm && QueryForm->Query1->active());
        // Alien, Alien 2 (title) and Rio Bravo, Alien (medium 1), once each.
        QCOMPARE(resultTitles(), QStringList({"Alien", "Alien 2", "Rio Bravo"}));
        QCOMPARE(QueryForm->Query1->recordCount(), 3);

        // The film table alone, a memo criterion in other letter case.
        delete DQBE;
        p().answerDialog([](QDialog &) {}); // film table
        p().answerDialog([this](QDialog &d) {
            query::TQbeGrid &g = static_cast<TDQBE &>(d).Grid;
            g.rows[1][column(g, "Memo")] = "KRIMI";
        });
        ExecQBE(fx.form.get());
        QCOMPARE(resultTitles(), QStringList{"Alien"});

        // The dialog is kept: the next call shows the last grid; the editor
        // gets the statement with table words and is freed afterwards.
        p().answerDialog([](QDialog &d) { QCOMPARE(static_cast<TDQBE &>(d).Grid.rows[1][0].isEmpty(), true); },
                         mrQbeEdit);
        QStringList handed;
        p().answerDialog([&handed](QDialog &d) { handed = static_cast<TDAbfrageDef &>(d).Lines(); }, mrCancel);
        ExecQBE(fx.form.get());
        QCOMPARE(handed.value(1), QStringLiteral("FROM Film"));
        QCOMPARE(handed.value(2), QStringLiteral("WHERE  (UPPER(Memo) LIKE \"%KRIMI%\")"));
        QVERIFY(!DAbfrageDef);

        // An empty selection row is refused with a message, the dialog stays.
        TDQBE *q = DQBE;
        for (QString &s : q->Grid.selection)
            s.clear();
        p().clear();
        q->BitBtnOK->click();
        QCOMPARE(p().last().caption, QStringLiteral("Fehler"));
        QVERIFY(q->BuildStatement(true).isEmpty());
    }

    void qbeGridClicks()
    {
        fill();
        auto *q = CreateForm<TDQBE>(fx.form.get());
        q->SetSource(1);
        const int lp = column(q->Grid, "LP") + 1;
        QVERIFY(lp > 0);
        q->StringGrid1DblClick(lp, 2);
        QCOMPARE(q->Grid.rows[0][lp - 1], QStringLiteral("true"));
        q->StringGrid1Click(0, 3);
        QCOMPARE(q->Grid.rowOps[1], QStringLiteral("AND"));
        q->StringGrid1Click(0, 1);
        QVERIFY(q->Grid.aggregate);
        QCOMPARE(q->StringGrid1->item(1, 0)->text(), QStringLiteral("Aggreg."));
        q->BtnNeueZeileClick();
        QCOMPARE(q->StringGrid1->rowCount(), 6);
        QCOMPARE(q->Grid.rowOps.last(), QStringLiteral("OR"));
        // Typing into a cell reaches the grid's values.
        q->StringGrid1->item(2, 1)->setText("VHS-SB");
        QCOMPARE(q->Grid.rows[0][0], QStringLiteral("VHS-SB"));
        delete q;
    }

    void filmSearch()
    {
        fill();
        // Partial match off: only the exact title (letter case ignored).
        p().answerDialog([](QDialog &d) {
            auto &s = static_cast<TDSucheFilm &>(d);
            s.FilmName->setEditText("alien 2");
            s.ChkTeil->SetChecked(false);
        });
        ExecFindFilm(fx.form.get());
        QCOMPARE(fx.form->FilmTable->fieldByName("Titel")->asString(), QStringLiteral("Alien 2"));
        QCOMPARE(fx.field("Nr")->asInteger(), 3);
        p().answerDialog([](QDialog &d) {
            auto &s = static_cast<TDSucheFilm &>(d);
            s.FilmName->setEditText("alien 3");
            s.ChkTeil->SetChecked(false);
        });
        ExecFindFilm(fx.form.get());
        QCOMPARE(p().last().text, QStringLiteral("Nicht gefunden!"));
        QCOMPARE(TDSucheFilm::History(), QStringList({"alien 2", "alien 3"}));
        // A term only in Free3 needs that box of the wide layout.
        p().answerDialog([](QDialog &d) { static_cast<TDSucheFilm &>(d).FilmName->setEditText("Ridley"); });
        ExecFindFilm(fx.form.get());
        QCOMPARE(p().last().text, QStringLiteral("Nicht gefunden!"));
        p().answerDialog([](QDialog &d) {
            auto &s = static_cast<TDSucheFilm &>(d);
            QCOMPARE(s.FilmName->count(), 3); // the history
            s.FilmName->setEditText("Ridley");
            s.SetWide(true);
            s.FreeBoxes[2]->SetChecked(true);
        });
        ExecFindFilm(fx.form.get());
        QCOMPARE(fx.form->FilmTable->fieldByName("Titel")->asString(), QStringLiteral("Alien"));
        QCOMPARE(fx.field("Nr")->asInteger(), 1);

        // The master box: all, none, some.
        auto *s = CreateForm<TDSucheFilm>(fx.form.get());
        QCOMPARE(s->BtnWide->text(), QStringLiteral(">>"));
        s->CheckBoxFree->Click();
        QVERIFY(s->Wide());
        QCOMPARE(s->BtnWide->text(), QStringLiteral("<<"));
        QCOMPARE(s->CheckBoxFree->State(), cbChecked);
        s->FreeBoxes[7]->Click();
        QCOMPARE(s->CheckBoxFree->State(), cbGrayed);
        for (TOzoCheck *c : s->FreeBoxes)
            c->SetChecked(false);
        QCOMPARE(s->CheckBoxFree->State(), cbUnchecked);
        QVERIFY(!s->FreeBoxes[15]->isEnabled());
        delete s;

        // The full-text search lists every match, the memo box on.
        p().answerDialog([](QDialog &d) {
            auto &s = static_cast<TDSucheFilm &>(d);
            QVERIFY(!s.ChkTeil->isEnabled() && s.ChkTeil->Checked());
            QVERIFY(s.FreeBoxes[15]->isEnabled());
            s.FilmName->setEditText("ALIEN");
        });
        ExecQueryFilmSearch(fx.form.get());
        QCOMPARE(resultTitles(), QStringList({"Alien", "Alien 2"}));
    }

    void lendingSearch()
    {
        fill();
        // "mei" finds Meier and Schmeichel.
        p().answerDialog([](QDialog &d) {
            auto &v = static_cast<TDVerlSuche &>(d);
            QVERIFY(v.RadioButton1->Checked());
            v.ComboBox1->setFocus();
            v.ComboBox1->setEditText("mei");
            v.RadioButton2->SetChecked(true);
        });
        ExecLendingSearch(fx.form.get());
        QCOMPARE(resultField("Verliehen"), QStringList({"Meier", "Schmeichel"}));
        // Lent before 5.3.2004 (month first in the statement).
        p().answerDialog([](QDialog &d) {
            auto &v = static_cast<TDVerlSuche &>(d);
            v.Edit1->setText("5.3.2004");
            QVERIFY(v.RadioButton3->Checked());
        });
        ExecLendingSearch(fx.form.get());
        QCOMPARE(QueryForm->Query1->sql().value(1), QStringLiteral("Verleihdatum <= \"03/05/2004\""));
        QCOMPARE(resultField("Verliehen"), QStringList{"Meier"});
        p().answerDialog([](QDialog &d) { static_cast<TDVerlSuche &>(d).Edit1->setText("15.11.2004"); });
        ExecLendingSearch(fx.form.get());
        QCOMPARE(QueryForm->Query1->sql().value(1), QStringLiteral("Verleihdatum <= \"11/15/2004\""));
        QCOMPARE(resultField("Verliehen"), QStringList({"Meier", "Schmeichel"}));
        // A date that is none: a message, no statement.
        p().clear();
        p().answerDialog([](QDialog &d) { static_cast<TDVerlSuche &>(d).Edit1->setText("31.2.2004"); });
        ExecLendingSearch(fx.form.get());
        QCOMPARE(p().last().caption, QStringLiteral("Hinweis"));
        // A borrower with a double quote cannot break the statement.
        p().answerDialog([](QDialog &d) {
            auto &v = static_cast<TDVerlSuche &>(d);
            v.ComboBox1->setEditText("a\") OR (\"1\"=\"1");
            v.RadioButton2->SetChecked(true);
        });
        ExecLendingSearch(fx.form.get());
        QVERIFY(QueryForm->Query1->active());
        QCOMPARE(QueryForm->Query1->recordCount(), 0);
        // The reminder list from the dialog.
        p().answerDialog([](QDialog &d) { static_cast<TDVerlSuche &>(d).RadioButton4->SetChecked(true); });
        ExecLendingSearch(fx.form.get());
        QCOMPARE(resultField("Verliehen"), QStringList{"Meier"});
        QCOMPARE(QueryForm->GetCaptionText(), QStringLiteral("Mahnliste: \\bRückgabedatum erreicht oder überschritten!"));

        // The borrowers list: filled once, when it first drops down.
        auto *v = CreateForm<TDVerlSuche>(fx.form.get());
        QCOMPARE(v->ComboBox1->count(), 0);
        v->ComboBox1DropDown();
        QStringList names;
        for (int i = 0; i < v->ComboBox1->count(); ++i)
            names << v->ComboBox1->itemText(i);
        names.sort();
        QCOMPARE(names, QStringList({"Huber", "Meier", "Schmeichel"}));
        v->MoveCalendar(0, 1);
        QCOMPARE(v->Edit1->text(), query::LendingDateText(QDate::currentDate().addMonths(1)));
        delete v;
    }

    void overdueListAtStart()
    {
        fill();
        AutoMahnliste = true;
        ShowReminderList(false, fx.form.get());
        QVERIFY(QueryForm && QueryForm->isVisible());
        QCOMPARE(resultField("Verliehen"), QStringList{"Meier"});
        delete QueryForm;
        // Nothing due: no window at all.
        ExecDmlStatement({"UPDATE \"" + MediaTablePath(fx.base) + "\" SET Rueckgabedatum = NULL"});
        ShowReminderList(false, fx.form.get());
        QVERIFY(!QueryForm);
        AutoMahnliste = false;
    }

    void ratingSearch()
    {
        fill();
        // "mindestens" with "-": every film, no WHERE.
        p().answerDialog([](QDialog &d) {
            auto &w = static_cast<TDWertungSuche &>(d);
            QCOMPARE(w.ComboBoxWertung->currentIndex(), 4);
            QCOMPARE(w.ComboBoxSort->currentText(), QStringLiteral("Wertung / Nr"));
            w.ComboBoxWertung->setCurrentIndex(0);
            w.ComboBoxSort->setCurrentText("Titel");
        });
        QVERIFY(ExecRatingSearch(fx.form.get()));
        QCOMPARE(QueryForm->Query1->recordCount(), 4);
        QVERIFY(!QueryForm->Query1->sql().join(' ').contains("WHERE"));
        QCOMPARE(QueryForm->Query1->sql().last(), QStringLiteral("ORDER BY Titel, Untertitel"));
        // "genau" with "-": the films without rating.
        p().answerDialog([](QDialog &d) {
            auto &w = static_cast<TDWertungSuche &>(d);
            w.RadioButton2->SetChecked(true);
            w.ComboBoxWertung->setCurrentIndex(0);
        });
        ExecRatingSearch(fx.form.get());
        QCOMPARE(resultTitles(), QStringList({"Alien 2", "Casablanca"}));
        // At least 3 stars (the preset).
        p().answerDialog([](QDialog &) {});
        ExecRatingSearch(fx.form.get());
        QCOMPARE(resultTitles(), QStringList({"Alien", "Rio Bravo"}));
        p().answer(mrCancel);
        QVERIFY(!ExecRatingSearch(fx.form.get()));
    }

    void lendingSettings()
    {
        fill();
        RegelVerleihzeit = 14;
        AutoMahnliste = false;
        p().answerDialog([](QDialog &d) {
            auto &e = static_cast<TDVerleihEinst &>(d);
            QCOMPARE(e.SpinEdit1->value(), 14);
            QVERIFY(!e.CheckBox1->Checked());
            e.SpinEdit1->setValue(21);
            e.CheckBox1->SetChecked(true);
        });
        ExecLendingSettings(fx.form.get());
        QCOMPARE(int(RegelVerleihzeit), 21);
        QVERIFY(AutoMahnliste);
        RegelVerleihzeit = 0;
        AutoMahnliste = false;
        LoadSettings();
        QCOMPARE(int(RegelVerleihzeit), 21);
        QVERIFY(AutoMahnliste);
        // Cancel keeps them.
        p().answer(mrCancel);
        ExecLendingSettings(fx.form.get());
        QCOMPARE(int(RegelVerleihzeit), 21);
        AutoMahnliste = false;
    }

    void querySlotFromFile()
    {
        fill();
        const QString folder = sqlFolder();
        QVERIFY(query_write(folder + "/Krimis.SQL", {"SELECT * FROM FILM", "WHERE Titel = \"Alien\""}));
        QString name, sql;
        p().answerFile(folder + "/Krimis.SQL");
        QVERIFY(ChooseStoredQuery(fx.form.get(), name, sql));
        QCOMPARE(sql, QStringLiteral("SELECT * FROM FILM\r\nWHERE Titel = \"Alien\""));
        QCOMPARE(QuerySlotLines(sql), QStringList({"SELECT * FROM FILM", "WHERE Titel = \"Alien\""}));
        // A slot holding only the file's path runs the file.
        QCOMPARE(QuerySlotLines(folder + "/Krimis.SQL"), QStringList({"SELECT * FROM FILM", "WHERE Titel = \"Alien\""}));
        fx.form->Menus->RunQuerySQL(sql);
        QCOMPARE(resultTitles(), QStringList{"Alien"});
    }

private:
    static bool query_write(const QString &path, const QStringList &lines);
};

#include "query/storedquery.h"
bool TstQueryDialogs::query_write(const QString &path, const QStringList &lines)
{
    return query::WriteStoredQuery(path, lines);
}

QTEST_MAIN(TstQueryDialogs)
#include "tst_querydialogs.moc"
