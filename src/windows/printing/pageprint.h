// Printing film and person description pages: the options dialog
// "Film-Seite drucken" / "Personenbeschreibung drucken", the question which
// rows to print, and the job that prints the laid-out pages, ending a job and
// asking to turn the sheet before each back side.
#pragma once

#include "kit/oberformmetal.h"
#include "print/descriptionpage.h"

#include <functional>

namespace dbui { class DbGrid; }
namespace engine { class DataSet; class Table; }
class QLineEdit;
class QSpinBox;
class QPrinter;
class TOzoCheck;
class TOzoNewButton;
class TWFilm;

class TDPersDruck : public tOzoFormMetal
{
    Q_OBJECT
public:
    TDPersDruck(bool personMode, bool several, QWidget *parent = nullptr);

    QLineEdit *EditFont;
    QSpinBox *SpinEditSize;
    TOzoNewButton *ButtFontChoose;
    TOzoCheck *CheckBox1, *CheckBox2, *Checkbox2a, *CheckBox3, *CheckBox4;
    TOzoNewButton *ButtPrinter, *BitBtnHelp, *BitBtnOK, *BitBtnCancel;

    void ButtFontChooseClick();
};

// The dialog's choices that live for one printout.
struct TPageRunChoices
{
    bool onlyWithMemo = true;
    bool withReleased = false; // checked: films released for deletion print too
};
// The options dialog; on OK the font, size and flags are stored and saved.
bool ExecPageOptionsDialog(bool personMode, bool several, TPageRunChoices &choices);

// The page options as the settings hold them now.
TPageOptions PageOptionsFromSettings();

// The texts of the progress window and the job title.
struct TPageJobTexts
{
    QString caption, creating, printing, title;
};

// Prints the document on the program's printer (or into the PDF file it is
// set to): one job, and a new one for each back side after "Blatt wenden...";
// a PDF job after the first writes a file of its own named after the first
// ("Seiten-2.pdf"). False when nothing was printed to the end (cancelled,
// failed); a job cancelled while it was built leaves no file.
bool PrintPageDocument(QPrinter &printer, const TPageDocument &doc, const TPageJobTexts &texts);
// The metrics of the printer's page (used full-page).
TPageMetrics PrinterPageMetrics(QPrinter &printer);

// The film of the film table's current row as its page shows it.
TFilmPageData ReadFilmPageData(engine::DataSet &films);

// "A4-Seite(n) drucken...": the page of the film window's film.
void PrintFilmPage(TWFilm &card);
// The films of the grid's selected rows (after the question) or of all its
// rows; the film table is moved to each unless the grid shows it itself.
void PrintFilmPages(dbui::DbGrid &grid, engine::Table &filmTable);

// ---- person pages (the person window calls these) ------------------------------------

// The person of the person table's current row: name, the seven free fields
// with their captions, memo and picture; the film list as the person
// window's side panel shows it (heading, and title, "Medium" and "KassNr" of
// each film).
struct TPersonFilmRow
{
    QString title, kind;
    int kassNr = 0;
};
TPersonPageData ReadPersonPageData(engine::DataSet &persons, bool listFilms, const QString &filmsHeading,
                                   const std::vector<TPersonFilmRow> &films, bool medIndex);

// What the person window supplies: the current person as its page shows it
// (the window switches its side panel to the films when the list is asked
// for), and moving to a person by name.
struct TPersonPageSource
{
    std::function<TPersonPageData()> current;
    std::function<bool(const QString &name)> locate;
    // With the film list: called true before the job (show the window, its
    // films, rolled up) and false after it.
    std::function<void(bool)> filmsPanel;
};
// The person window's print entry.
void PrintPersonPage(const TPersonPageSource &source);
// The persons of the grid's selected rows (after the question) or of all
// its rows; the person window is moved to each unless the grid shows its
// table (personTable).
void PrintPersonPages(dbui::DbGrid &grid, engine::DataSet *personTable, const TPersonPageSource &source);
