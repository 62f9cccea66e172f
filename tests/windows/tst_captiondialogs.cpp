// The caption editor, the category windows, the link-or-copy question and
// the type-ahead of the value drop-downs, driven through their components
// and the scripted presenter.
#include "app/settings.h"
#include "data/categories.h"
#include "data/database.h"
#include "data/freefieldlabels.h"
#include "data/tableschemas.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/dragdrop.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/scriptedpresenter.h"
#include "program/programdialogs.h"
#include "windows/cards/categorydialogs.h"
#include "windows/cards/editlabels.h"
#include "windows/cards/flhint.h"
#include "windows/cards/freefieldcaptions.h"
#include "windows/cards/freefieldmenu.h"
#include "windows/cards/freefieldtypeahead.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QDropEvent>
#include <QMimeData>
#include <QtTest>

class TestCaptionDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir tmp;
    std::unique_ptr<engine::Table> media, films;

    void addLabRow(const QString &set, int nr, const QString &label, bool fl = false, bool person = false)
    {
        engine::Table *lab = CaptionTable();
        QVERIFY(lab);
        lab->append();
        lab->fieldByName("ANH")->setAsString(set);
        lab->fieldByName("FreeNr")->setAsInteger(nr);
        lab->fieldByName("Label")->setAsString(label);
        lab->fieldByName("FreeIsFL")->setAsBoolean(fl);
        lab->fieldByName("FreeIsPerson")->setAsBoolean(person);
        lab->post();
    }

    void addMedium(const QString &kind, int nr)
    {
        media->append();
        media->fieldByName("Medium")->setAsString(kind);
        media->fieldByName("Nr")->setAsInteger(nr);
        media->fieldByName("Len")->setAsInteger(240);
        media->post();
    }

    int labRows(const QString &set)
    {
        engine::Table *lab = CaptionTable();
        int n = 0;
        for (lab->first(); !lab->eof(); lab->next())
            n += lab->fieldByName("ANH")->asString() == set;
        return n;
    }

private slots:
    void initTestCase()
    {
        InstallFreeFieldCaptions();
        QVERIFY(DBTables.TableLAB);
    }

    void init()
    {
        DBBase = QDir(tmp.path()).filePath(QStringLiteral("%1/").arg(QTest::currentTestFunction()));
        PersBase = DBBase + "DB/Pers";
        QDir().mkpath(DBBase + "DB");
        engine::createTableFile(CaptionTablePath(DBBase), CaptionTableDef());
        engine::createTableFile(DBBase + "DB/Med.DB", MediaTableDef());
        engine::createTableFile(DBBase + "DB/Film.DB", FilmTableDef());
        media = std::make_unique<engine::Table>();
        media->setTableName(DBBase + "DB/Med.DB");
        media->open();
        films = std::make_unique<engine::Table>();
        films->setTableName(DBBase + "DB/Film.DB");
        films->open();
        DBTables.Table1 = media.get();
        DBTables.FilmTable = films.get();
        ResetFreeFieldLabels();
        CategoryTable = TCategoryTable{};
    }

    void cleanup()
    {
        DBTables.TableLAB->close();
        DBTables.Table1 = nullptr;
        DBTables.FilmTable = nullptr;
        media.reset();
        films.reset();
    }

    void cancelRestoresEveryCaption()
    {
        addLabRow("FILM", 1, "&Regie", false, true);
        addLabRow("FILM", 2, "Datei", true);
        QVERIFY(LoadFreeFieldLabelsNow());
        QStringList seen;
        kit::ScriptedPresenter p;
        p.answerDialog(
            [&](QDialog &d) {
                for (int n = 1; n <= 15; ++n)
                    d.findChild<QLineEdit *>(QStringLiteral("Edit%1").arg(n))->setText(QStringLiteral("neu%1").arg(n));
                d.findChild<TOzoCheck *>("CheckFL1")->Click();
                d.findChild<TOzoCheck *>("CheckPers2")->Click();
                // Applied at once.
                seen << GetFilmFreeLabel(1) << GetFilmFreeLabel(15);
                QVERIFY(GetFilmFreeIsFileLink(1));
                QVERIFY(GetFilmFreeIsPerson(2));
            },
            mrCancel);
        QVERIFY(!ExecEditLabels(false, false));
        QCOMPARE(seen, (QStringList{"neu1", "neu15"}));
        QCOMPARE(GetFilmFreeLabel(1), QStringLiteral("&Regie"));
        QCOMPARE(GetFilmFreeLabel(2), QStringLiteral("Datei"));
        for (int n = 3; n <= 15; ++n)
            QCOMPARE(GetFilmFreeLabel(n), DefaultFreeCaption(n));
        QVERIFY(GetFilmFreeIsPerson(1));
        QVERIFY(!GetFilmFreeIsFileLink(1));
        QVERIFY(GetFilmFreeIsFileLink(2));
        QCOMPARE(labRows("FILM"), 2);
    }

    void editorBesideItsWindowOnTheScreen()
    {
        // A record window near the screen's right edge: the editor opens
        // left of it, whole on the screen.
        QWidget owner;
        owner.show();
        const QRect screen = owner.screen()->availableGeometry();
        owner.setGeometry(screen.right() - 300, screen.top() + 40, 280, 300);
        kit::ScriptedPresenter p;
        QRect placed;
        p.answerDialog([&](QDialog &d) {
            d.show();
            placed = d.frameGeometry();
        }, mrCancel);
        ExecEditLabels(false, false, &owner);
        QVERIFY(screen.contains(placed));
        QVERIFY(placed.right() < owner.frameGeometry().left());
    }

    void filmFlagsClearEachOther()
    {
        kit::ScriptedPresenter p;
        bool checked = false;
        p.answerDialog([&](QDialog &d) {
            auto *fl = d.findChild<TOzoCheck *>("CheckFL3");
            auto *pers = d.findChild<TOzoCheck *>("CheckPers3");
            QVERIFY(pers->isVisibleTo(&d));
            pers->Click();
            QVERIFY(pers->Checked());
            fl->Click();
            QVERIFY(fl->Checked());
            QVERIFY(!pers->Checked());
            pers->Click();
            QVERIFY(!fl->Checked());
            checked = true;
        });
        QVERIFY(ExecEditLabels(false, false));
        QVERIFY(checked);
        QVERIFY(GetFilmFreeIsPerson(3));
        QCOMPARE(labRows("FILM"), 15);
    }

    void mediumKindOnly()
    {
        addMedium("DVD", 1);
        media->first();
        addLabRow("KASS", 1, "&Regal");
        QVERIFY(LoadFreeFieldLabelsNow());
        kit::ScriptedPresenter p;
        p.answer(mrNo); // not the general captions: those of "DVD"
        p.answerDialog([](QDialog &d) {
            QVERIFY(!d.findChild<QLineEdit *>("Edit6")->isVisibleTo(&d));
            QCOMPARE(d.findChild<QLineEdit *>("Edit1")->text(), QStringLiteral("&Regal"));
            d.findChild<QLineEdit *>("Edit1")->setText("&Sprache");
        });
        QVERIFY(ExecEditLabels(true, false));
        QCOMPARE(p.shown().at(0).caption, QStringLiteral("Auswahl"));
        QVERIFY(p.shown().at(0).text.contains("Typs \"DVD\"!)"));
        QCOMPARE(GetMediumFreeLabel(1), QStringLiteral("&Sprache"));
        QVERIFY(LocateLabelRow(*CaptionTable(), "DVD", 1));
        QVERIFY(LocateLabelRow(*CaptionTable(), "KASS", 1));
        QCOMPARE(CaptionTable()->fieldByName("Label")->asString(), QStringLiteral("&Regal"));
        // Another kind keeps the general caption.
        QVERIFY(LoadMediumFreeFieldLabels(*CaptionTable(), DBBase, "VHS-SB", {}));
        QCOMPARE(GetMediumFreeLabel(1), QStringLiteral("&Regal"));
    }

    void generalCaptionsKeepOwnShown()
    {
        addMedium("DVD", 1);
        media->first();
        addLabRow("DVD", 2, "Sprache");
        QVERIFY(LoadFreeFieldLabelsNow());
        kit::ScriptedPresenter p;
        p.answer(mrYes);
        p.answerDialog([](QDialog &d) {
            // The general captions are shown for editing.
            QCOMPARE(d.findChild<QLineEdit *>("Edit2")->text(), QStringLiteral("Frei&2"));
            d.findChild<QLineEdit *>("Edit2")->setText("Preis");
        });
        QVERIFY(ExecEditLabels(true, false));
        QCOMPARE(labRows("KASS"), 5);
        QCOMPARE(GetMediumFreeLabel(2), QStringLiteral("Sprache")); // the kind's own stays shown
    }

    void reservedKindRefused()
    {
        addMedium("Film", 1); // written past the card's own rule
        media->first();
        kit::ScriptedPresenter p;
        p.answer(mrNo);
        QVERIFY(!ExecEditLabels(true, false));
        QCOMPARE(p.shown().size(), 2);
        QVERIFY(p.shown().at(1).text.contains("reserviert"));
        QCOMPARE(p.shown().at(1).caption, QStringLiteral("Fehler"));
        QCOMPARE(labRows("Film") + labRows("FILM"), 0);
    }

    void personCaptionsToFile()
    {
        kit::ScriptedPresenter p;
        p.answerDialog([](QDialog &d) {
            QVERIFY(d.findChild<QLineEdit *>("Edit7")->isVisibleTo(&d));
            QVERIFY(!d.findChild<QLineEdit *>("Edit8")->isVisibleTo(&d));
            QVERIFY(!d.findChild<TOzoCheck *>("CheckPers1")->isVisibleTo(&d));
            d.findChild<QLineEdit *>("Edit4")->setText("Homepage");
            d.findChild<TOzoCheck *>("CheckFL4")->Click();
        });
        QVERIFY(ExecEditLabels(false, true));
        QFile f(PersonLabelsPath(PersBase));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.contains("Homepage\r\n"));
        QVERIFY(bytes.contains("\r\n\x10\r\nFrei&7\r\n"));
    }

    void categoryEditorArrows()
    {
        CategoryTable[0].name = "Keine";
        CategoryTable[1].name = "Krimi";
        CategoryTable[2].name = "Western";
        films->append();
        films->fieldByName("Medium")->setAsString("DVD");
        films->fieldByName("KassNr")->setAsInteger(1);
        films->fieldByName("FilmNr")->setAsInteger(1);
        films->fieldByName("Kateg")->setAsString("3");
        films->post();
        kit::ScriptedPresenter p;
        p.answerDialog([](QDialog &d) {
            auto &k = static_cast<TDKatSymb &>(d);
            k.StringGrid1->setCurrentCell(0, 2);
            QVERIFY(!k.BtnUp->isEnabled());
            QVERIFY(!k.BtnDown->isEnabled());
            // A disabled arrow still shows, greyed, darker than its face.
            const QImage up = k.BtnUp->grab().toImage();
            const QRect arrow = k.BtnUp->CaptionRect();
            int darkest = 255;
            for (int y = arrow.top(); y <= arrow.bottom(); ++y)
                for (int x = arrow.left(); x <= arrow.right(); ++x)
                    darkest = std::min(darkest, qGray(up.pixel(x, y)));
            QVERIFY2(darkest <= 160, qPrintable(QString::number(darkest)));
            k.StringGrid1->setCurrentCell(2, 2);
            QVERIFY(k.BtnUp->isEnabled());
            k.BtnUp->click();
        });
        p.answer(mrYes); // the warning before the first recoding
        p.answerInput("Krimi & Thriller");
        ExecCategoryEditor();
        QVERIFY(std::any_of(p.shown().begin(), p.shown().end(),
                            [](const kit::ShownBox &b) { return b.caption == QLatin1String("Warnung"); }));
        QCOMPARE(CategoryTable[1].name, QStringLiteral("Western"));
        films->refresh();
        films->first();
        QCOMPARE(films->fieldByName("Kateg")->asString(), QStringLiteral("2"));
        TCategoryTable saved;
        QVERIFY(LoadCategories(CategoryFilePath(DBBase), saved));
        QCOMPARE(saved[1].name, QStringLiteral("Western"));
        QCOMPARE(p.pending(), 1); // the input box was never asked for
    }

    void categoryRename()
    {
        CategoryTable[3].name = "Alt";
        kit::ScriptedPresenter p;
        p.answerDialog([](QDialog &d) {
            auto &k = static_cast<TDKatSymb &>(d);
            k.StringGrid1->setCurrentCell(3, 2);
            k.BtnRename->click();
            QCOMPARE(k.StringGrid1->item(3, 2)->text(), QStringLiteral("Neu"));
            QCOMPARE(k.StringGrid1->item(3, 0)->text(), QStringLiteral("4"));
        });
        p.answerInput("Neu");
        ExecCategoryEditor();
        QVERIFY(std::any_of(p.shown().begin(), p.shown().end(), [](const kit::ShownBox &b) {
            return b.caption == QLatin1String("Kategoriename") && b.input == QLatin1String("Alt");
        }));
        QCOMPARE(CategoryTable[3].name, QStringLiteral("Neu"));
    }

    void findCategory()
    {
        CategoryTable[0].name = "Keine";
        CategoryTable[36].name = "Anime";
        kit::ScriptedPresenter p;
        p.answerDialog([](QDialog &d) {
            auto *c = d.findChild<QComboBox *>("ComboBox1");
            QCOMPARE(c->count(), 2);
            c->setEditText("anime");
        });
        QCOMPARE(ExecFindCategory(), 37);
        p.answerDialog([](QDialog &d) { d.findChild<QComboBox *>("ComboBox1")->setEditText("gibt es nicht"); });
        QCOMPARE(ExecFindCategory(), 0);
        QCOMPARE(CategorySearchSql("/x/Film.DB", 37).last(), QStringLiteral("WHERE Kateg = \"A\""));
    }

    void symbolOpenStates()
    {
        ProgDir = QDir(tmp.path()).filePath("prog/");
        QDir().mkpath(ProgDir);
        TDSymbolOpen d(false);
        d.SetSymbol(QString());
        QCOMPARE(d.Image1->text(), QStringLiteral("Kein Symbol gewählt..."));
        d.SetSymbol("fehlt.bmp");
        QCOMPARE(d.Image1->text(), QStringLiteral("Datei nicht gefunden!"));
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::red);
        QVERIFY(img.save(ProgDir + "da.bmp"));
        kit::ScriptedPresenter p;
        p.answerFile(ProgDir + "da.bmp");
        d.BtnOpenClick();
        QCOMPARE(d.Symbol(), QStringLiteral("da.bmp")); // directly in the program folder: the name alone
        QCOMPARE(SymbDirK, ProgDir);
        // At first the chooser starts in the program's "Symbole"; a symbol
        // there is stored as the built-in ones are.
        SymbDirK = QStringLiteral("Symbole");
        QVERIFY(QDir().mkpath(ProgDir + "Symbole"));
        QVERIFY(img.save(ProgDir + "Symbole/eigen.bmp"));
        p.answerFile(ProgDir + "Symbole/eigen.bmp");
        d.BtnOpenClick();
        QCOMPARE(QDir::cleanPath(p.last().folder), QDir::cleanPath(ProgDir + "Symbole"));
        QCOMPARE(d.Symbol(), QStringLiteral("Symbole\\eigen.bmp"));
        QVERIFY(d.Image1->text().isEmpty());
        QVERIFY(d.Image1->text().isEmpty());
        d.BtnNoneClick();
        QCOMPARE(d.Symbol(), QString());
    }

    void pickerFollowsTheFile()
    {
        // Opening a database loads its "KAT" (the main window's door does this).
        TCategoryTable file;
        file[0].name = "Keine";
        file[2].name = "Komödie";
        file[36].name = "Anime";
        QVERIFY(SaveCategories(CategoryFilePath(DBBase), file));
        LoadDatabaseCategories();
        QCOMPARE(CategoryTable, file);

        kit::ScriptedPresenter p;
        p.answerDialog([](QDialog &d) {
            // One item per named category, 15 pixels each.
            QCOMPARE(d.findChildren<QRadioButton *>().size(), 3);
            auto *anime = d.findChild<QRadioButton *>("Kat37");
            QCOMPARE(anime->text(), QStringLiteral("Anime"));
            QCOMPARE(anime->height(), 15);
            QVERIFY(d.findChild<QRadioButton *>("Kat3")->isChecked()); // the film's code
            anime->setChecked(true);
        });
        QChar code('3');
        QVERIFY(ExecCategoryPicker(code));
        QCOMPARE(code, QChar('A'));
    }

    void symbolChangeResetsPrintedFlags()
    {
        ProgDir = QDir(tmp.path()).filePath("prog/");
        QDir().mkpath(ProgDir);
        QImage img(8, 8, QImage::Format_RGB32);
        img.fill(Qt::blue);
        QVERIFY(img.save(ProgDir + "neu.bmp"));
        PrintKategSymb = true;
        CategoryTable[1].name = "Krimi";
        // The cassette's flag is reset; a DVD's label shows no category symbol.
        for (const char *kind : {"VHS-SB", "DVD"}) {
            media->append();
            media->fieldByName("Medium")->setAsString(kind);
            media->fieldByName("Nr")->setAsInteger(1);
            media->fieldByName("Len")->setAsInteger(0);
            media->fieldByName("Gedruckt")->setAsBoolean(true);
            media->post();
            films->append();
            films->fieldByName("Medium")->setAsString(kind);
            films->fieldByName("KassNr")->setAsInteger(1);
            films->fieldByName("FilmNr")->setAsInteger(1);
            films->fieldByName("Kateg")->setAsString("2");
            films->post();
        }
        kit::ScriptedPresenter p;
        p.answerDialog([](QDialog &d) {
            auto &k = static_cast<TDKatSymb &>(d);
            k.StringGrid1->setCurrentCell(1, 2);
            k.BtnSymbol->click();
            QCOMPARE(k.StringGrid1->item(1, 3)->text(), QStringLiteral("neu.bmp"));
        });
        p.answerDialog([](QDialog &d) { static_cast<TDSymbolOpen &>(d).BtnOpenClick(); });
        p.answerFile(ProgDir + "neu.bmp");
        p.answer(mrYes); // "Etiketten aktualisieren?"
        ExecCategoryEditor();
        QCOMPARE(CategoryTable[1].symbol, QStringLiteral("neu.bmp"));
        QVERIFY(std::any_of(p.shown().begin(), p.shown().end(),
                            [](const kit::ShownBox &b) { return b.caption == QLatin1String("Etiketten aktualisieren?"); }));
        media->refresh();
        QVERIFY(media->locate("Medium;Nr", QVariantList{"VHS-SB", 1}));
        QVERIFY(!media->fieldByName("Gedruckt")->asBoolean());
        QVERIFY(media->locate("Medium;Nr", QVariantList{"DVD", 1}));
        QVERIFY(media->fieldByName("Gedruckt")->asBoolean());
    }

    void droppedFiles()
    {
        QDir().mkpath(DBBase + "LNK/sub");
        QFile inside(DBBase + "LNK/a.pdf");
        QVERIFY(inside.open(QIODevice::WriteOnly));
        inside.close();
        QTemporaryDir outside;
        QFile out(outside.filePath("b.pdf"));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write("b");
        out.close();
        addMedium("DVD", 1);
        media->first();
        TFreeFieldLinkTarget t;
        t.dataSet = media.get();
        t.field = media->fieldByName("Free5");
        kit::ScriptedPresenter p;
        // From inside LNK: linked without the question.
        QVERIFY(DropFileOnFreeField(t, DBBase + "LNK/a.pdf"));
        QCOMPARE(t.field->asString(), QStringLiteral("a.pdf"));
        QVERIFY(p.shown().isEmpty());
        // A folder: linked as well.
        QVERIFY(DropFileOnFreeField(t, DBBase + "LNK/sub"));
        QCOMPARE(t.field->asString(), QStringLiteral("sub"));
        // From outside: asked, link preselected; the copy choice copies.
        p.answerDialog([](QDialog &d) {
            QVERIFY(d.findChild<TOzoCheck *>("RadLNK")->Checked());
            d.findChild<TOzoCheck *>("RadCOPY")->Click();
        });
        QVERIFY(DropFileOnFreeField(t, outside.filePath("b.pdf")));
        QCOMPARE(t.field->asString(), QStringLiteral("b.pdf"));
        QVERIFY(QFileInfo::exists(DBBase + "LNK/b.pdf"));
        // Cancel stores nothing.
        p.answer(mrCancel);
        QVERIFY(!DropFileOnFreeField(t, outside.filePath("b.pdf")));
        media->cancel();
        // A locked record only blinks.
        engine::Table locked;
        locked.setTableName(DBBase + "DB/Med.DB");
        locked.setReadOnly(true);
        locked.open();
        int blinks = 0;
        TFreeFieldLinkTarget l{&locked, locked.fieldByName("Free5"), nullptr, QString(), [&] { ++blinks; }};
        QVERIFY(!DropFileOnFreeField(l, DBBase + "LNK/a.pdf"));
        QCOMPARE(blinks, 1);
    }

    void fileDroppedOnLinkEdit()
    {
        addMedium("DVD", 8);
        media->first();
        QLabel edit;
        edit.setObjectName(QStringLiteral("DBEFL5"));
        TDragDropFiles *dd = AttachFreeFieldFileDrop(&edit, [&] {
            return TFreeFieldLinkTarget{media.get(), media->fieldByName("Free5"), &edit, QString(), {}};
        });
        QVERIFY(edit.acceptDrops());
        QCOMPARE(dd->parent(), &edit);
        kit::ScriptedPresenter p;
        auto dropFiles = [&](const QStringList &paths) {
            QMimeData data;
            QList<QUrl> urls;
            for (const QString &f : paths)
                urls << QUrl::fromLocalFile(f);
            data.setUrls(urls);
            QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(&edit, &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(&edit, &drop);
            QVERIFY(drop.isAccepted());
        };
        // Two files at once count for nothing.
        const QString before = media->fieldByName("Free5")->asString();
        dropFiles({DBBase + "LNK/a.pdf", DBBase + "LNK/b.pdf"});
        QApplication::processEvents();
        QCOMPARE(media->fieldByName("Free5")->asString(), before);
        QCOMPARE(media->state(), engine::DataSetState::Browse);
        // One file from the LNK folder is linked once the drop has returned.
        dropFiles({DBBase + "LNK/a.pdf"});
        QCOMPARE(media->state(), engine::DataSetState::Browse);
        QTRY_COMPARE(media->fieldByName("Free5")->asString(), QStringLiteral("a.pdf"));
        QCOMPARE(media->state(), engine::DataSetState::Edit);
        QVERIFY(p.shown().isEmpty());
        media->cancel();
    }

    void freeFieldMenu()
    {
        addMedium("DVD", 7);
        media->first();
        TFreeFieldLinkTarget t{media.get(), media->fieldByName("Free5"), nullptr, "DVD-Nr7", {}};
        kit::ScriptedPresenter p;
        p.answerMenu("Sammelordner erstellen...");
        p.answerInput("DVD-Nr7");
        PopupFreeFieldMenu(QPoint(0, 0), t);
        QVERIFY(QFileInfo(DBBase + "LNK/DVD-Nr7").isDir());
        QCOMPARE(media->state(), engine::DataSetState::Browse);
        QCOMPARE(media->fieldByName("Free5")->asString(), QStringLiteral("DVD-Nr7"));
        QCOMPARE(p.shown().at(0).text.count('\n') + 1, 4); // four entries
        QCOMPARE(p.shown().last().caption, QStringLiteral("Sammelorder erstellt"));
        QVERIFY(p.shown().last().literal);
        // Link to a chosen file.
        p.clear();
        p.answerMenu("Verknüpfung zu Datei einfügen...");
        p.answerFile("/srv/filme/kritik.pdf");
        PopupFreeFieldMenu(QPoint(0, 0), t);
        QCOMPARE(media->state(), engine::DataSetState::Edit);
        QCOMPARE(media->fieldByName("Free5")->asString(), QStringLiteral("/srv/filme/kritik.pdf"));
        media->cancel();
    }

    void linkOrCopy()
    {
        kit::ScriptedPresenter p;
        bool copy = true;
        p.answerDialog([](QDialog &d) {
            QVERIFY(d.findChild<TOzoCheck *>("RadCOPY")->Checked());
            d.findChild<TOzoCheck *>("RadLNK")->Click();
        });
        QVERIFY(AskLinkOrCopy(copy));
        QVERIFY(!copy);
        p.answer(mrCancel);
        QVERIFY(!AskLinkOrCopy(copy));
        QCOMPARE(p.shown().at(0).caption, QStringLiteral("Verknüpfung oder Kopie?"));
    }

    void typeAheadAndEscape()
    {
        QWidget w;
        auto *combo = new QComboBox(&w);
        combo->setEditable(true);
        TFreeFieldTypeAhead ta([](int nr, const QString &typed) {
            return nr == 2 && typed == QLatin1String("Ab") ? QStringLiteral("Abc") : QString();
        });
        ta.attach(combo, 2);
        w.show();
        combo->setFocus();
        QTest::keyClicks(combo->lineEdit(), "Ab");
        QVERIFY(ta.TimerFree->isActive());
        QCOMPARE(ta.TimerFree->interval(), 600);
        ta.TimerFreeTimer();
        QCOMPARE(combo->currentText(), QStringLiteral("Abc"));
        QCOMPARE(combo->lineEdit()->selectedText(), QStringLiteral("c"));
        QCOMPARE(combo->lineEdit()->cursorPosition(), 2);
        QVERIFY(ta.completed());
        QTest::keyClick(combo->lineEdit(), Qt::Key_Escape);
        QCOMPARE(combo->currentText(), QStringLiteral("Ab"));
        QCOMPARE(combo->lineEdit()->cursorPosition(), 2);
        // Backspace and Enter do not start the timer.
        QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
        QVERIFY(!ta.TimerFree->isActive());
        // Caret not at the end: no completion.
        combo->lineEdit()->setText("Ab");
        combo->lineEdit()->setCursorPosition(1);
        ta.TimerFreeTimer();
        QCOMPARE(combo->currentText(), QStringLiteral("Ab"));
    }
};

// The program's door for the data layer's messages, as at start.
static ProgramDialogs programDialogs;

QTEST_MAIN(TestCaptionDialogs)
#include "tst_captiondialogs.moc"
