#include "windows/printing/pageprint.h"

#include "app/settings.h"
#include "data/categories.h"
#include "data/filmcard.h"
#include "data/freefieldlabels.h"
#include "data/locate.h"
#include "dbui/datasource.h"
#include "dbui/dbgrid.h"
#include "engine/dataset.h"
#include "engine/engineerror.h"
#include "engine/field.h"
#include "engine/table.h"
#include "kit/help.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "print/labelmedium.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/labels/labelprint.h"
#include "windows/printing/printjob.h"
#include "windows/cards/wfilm.h"
#include "windows/printing/wprint.h"

#include <QApplication>
#include <QFileInfo>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QSpinBox>

#include <memory>

// ---- the options dialog ---------------------------------------------------------------

namespace {
constexpr int hcFilmPage = 122;
constexpr int hcPersonPage = 123;
} // namespace

TDPersDruck::TDPersDruck(bool personMode, bool several, QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DPersDruck"));
    BorderStyle = bsDialog;
    BorderIcons = biSystemMenu;
    resize(420, 330);
    QLabel *labelFont = MakeDialogLabel(this, "LabelFont", QStringLiteral("Schrift&art"), QRect(12, 14, 120, 18));
    EditFont = new QLineEdit(PersDruckFontName, this);
    EditFont->setObjectName(QStringLiteral("EditFont"));
    EditFont->setGeometry(12, 34, 220, 23);
    ButtFontChoose = MakeDialogButton(this, "ButtFontChoose", ibkPPP, QRect(236, 34, 30, 23));
    QLabel *labelSize = MakeDialogLabel(this, "LabelSize", QStringLiteral("Schrift&größe"), QRect(290, 14, 110, 18));
    SpinEditSize = new QSpinBox(this);
    SpinEditSize->setObjectName(QStringLiteral("SpinEditSize"));
    SpinEditSize->setRange(6, 20);
    SpinEditSize->setValue(std::clamp(int(PersDruckFontSize), 6, 20));
    SpinEditSize->setGeometry(290, 34, 70, 23);
    labelFont->setBuddy(EditFont);
    labelSize->setBuddy(SpinEditSize);
    CheckBox1 = MakeDialogCheck(this, QStringLiteral("CheckBox1"), QStringLiteral("&Rückseite ggf. mit bedrucken"),
                                QRect(12, 72, 396, 20));
    MakeDialogLabel(this, "LabelBackSide", QStringLiteral("(Blatt nach Druck einer Seite wenden)"), QRect(34, 92, 370, 18));
    CheckBox2 = MakeDialogCheck(this, QStringLiteral("CheckBox2"), QStringLiteral("Seine / Ihre &Filme mit auflisten"),
                                QRect(12, 120, 396, 20));
    Checkbox2a = MakeDialogCheck(this, QStringLiteral("Checkbox2a"), QStringLiteral("...mit Medienindex-Angabe"),
                                 QRect(34, 142, 374, 20));
    CheckBox3 = MakeDialogCheck(this, QStringLiteral("CheckBox3"), QStringLiteral("Nur Datensätze mit ausgefülltem Memo"),
                                QRect(12, 172, 396, 20));
    CheckBox4 = MakeDialogCheck(this, QStringLiteral("CheckBox4"), QStringLiteral("Auch zum Löschen freigegebene Filme"),
                                QRect(12, 196, 396, 20));
    CheckBox1->SetChecked(PersDruckBackSide);
    CheckBox2->SetChecked(PersDruckListFilms);
    Checkbox2a->SetChecked(PersDruckMedIndex);
    Checkbox2a->setEnabled(PersDruckListFilms);
    CheckBox3->SetChecked(true);
    CheckBox4->SetChecked(false);
    CheckBox2->setVisible(personMode);
    Checkbox2a->setVisible(personMode);
    CheckBox3->setVisible(several);
    CheckBox4->setVisible(!personMode && several);
    CheckBox2->OnClick = [this](QObject *) { Checkbox2a->setEnabled(CheckBox2->Checked()); };

    ButtPrinter = MakeDialogButton(this, "ButtPrinter", ibkOther, QRect(12, 236, 120, 25), QStringLiteral("&Drucker..."));
    BitBtnHelp = MakeDialogButton(this, "BitBtnHelp", ibkHelp, QRect(12, 288, 100, 25), QStringLiteral("Hilfe"));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(200, 288, 100, 25), QStringLiteral("OK"));
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(308, 288, 100, 25), QStringLiteral("Abbruch"));
    BitBtnOK->setDefault(true);
    connect(ButtFontChoose, &QPushButton::clicked, this, [this] { ButtFontChooseClick(); });
    connect(ButtPrinter, &QPushButton::clicked, this, [this] { ChooseProgramPrinter(this); });
    connect(BitBtnHelp, &QPushButton::clicked, this,
            [personMode] { kit::showHelp(personMode ? hcPersonPage : hcFilmPage); });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { done(mrOk); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    SetCaption(personMode ? QStringLiteral("Personenbeschreibung drucken") : QStringLiteral("Film-Seite drucken"));
}

void TDPersDruck::ButtFontChooseClick()
{
    QFont f(EditFont->text().isEmpty() ? QStringLiteral("Arial") : EditFont->text());
    f.setPointSize(SpinEditSize->value());
    QFontDialog dlg(f, this);
    dlg.setOption(QFontDialog::ScalableFonts);
    if (kit::execDialog(dlg) != mrOk)
        return;
    const QFont chosen = dlg.selectedFont();
    EditFont->setText(chosen.family());
    SpinEditSize->setValue(std::clamp(chosen.pointSize(), 6, 20));
}

bool ExecPageOptionsDialog(bool personMode, bool several, TPageRunChoices &choices)
{
    TDPersDruck dlg(personMode, several);
    if (ExecMetalModal(dlg) != mrOk)
        return false;
    PersDruckFontName = dlg.EditFont->text();
    PersDruckFontSize = quint8(dlg.SpinEditSize->value());
    PersDruckBackSide = dlg.CheckBox1->Checked();
    if (personMode) {
        PersDruckListFilms = dlg.CheckBox2->Checked();
        PersDruckMedIndex = dlg.Checkbox2a->Checked();
    }
    choices.onlyWithMemo = several && dlg.CheckBox3->Checked();
    choices.withReleased = personMode || !several || dlg.CheckBox4->Checked();
    SaveSettings();
    return true;
}

TPageOptions PageOptionsFromSettings()
{
    TPageOptions o;
    o.fontName = PersDruckFontName;
    o.fontSize = std::clamp(int(PersDruckFontSize), 6, 20);
    o.backSide = PersDruckBackSide;
    o.playTimeFormat = PlayTimeFormat;
    return o;
}

// ---- the job ----------------------------------------------------------------------------

TPageMetrics PrinterPageMetrics(QPrinter &printer)
{
    const QPageLayout layout = printer.pageLayout();
    const QRect px = layout.fullRectPixels(printer.resolution());
    const QRectF mm = layout.fullRect(QPageLayout::Millimeter);
    return SetUpPageMetrics(px.width(), qRound(mm.width()), px.height(), qRound(mm.height()));
}

namespace {

// "Seiten.pdf", job 2: "Seiten-2.pdf".
QString numberedFile(const QString &file, int job)
{
    const QFileInfo fi(file);
    const QString suffix = fi.suffix().isEmpty() ? QString() : QLatin1Char('.') + fi.suffix();
    return fi.path() + QLatin1Char('/') + fi.completeBaseName() + QLatin1Char('-') + QString::number(job) + suffix;
}

void printError(const QString &text)
{
    kit::messageBox(text, QStringLiteral("Fehler beim Drucken:"), kit::MsgButtons::Ok, kit::BoxIcon::Error);
}

std::unique_ptr<TPrintJob> startJob(QPrinter &printer, const TPageJobTexts &texts)
{
    auto job = std::make_unique<TPrintJob>(printer);
    ShowPrintProgress(job.get(), texts.caption, texts.creating, texts.printing);
    if (!job->begin(texts.title)) {
        printError(QStringLiteral("Der Druckauftrag konnte nicht gestartet werden."));
        return nullptr;
    }
    StartPrintProgress();
    return job;
}

} // namespace

bool PrintPageDocument(QPrinter &printer, const TPageDocument &doc, const TPageJobTexts &texts)
{
    if (doc.sheets.empty())
        return false;
    const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
    const QString baseFile = printer.outputFileName();
    struct RestoreFile
    {
        QPrinter &p;
        QString f;
        bool pdf;
        ~RestoreFile()
        {
            if (pdf)
                p.setOutputFileName(f);
        }
    } restore{printer, baseFile, pdf};

    std::unique_ptr<TPrintJob> job = startJob(printer, texts);
    if (!job)
        return false;
    int jobNr = 1;
    bool firstOnJob = true;
    for (const TPageSheet &sheet : doc.sheets) {
        QApplication::processEvents(); // the progress window's cancel
        if (job->aborted())
            return false;
        if (sheet.backSide && !firstOnJob) {
            if (!job->end()) {
                printError(QStringLiteral("Der Druckauftrag konnte nicht abgeschlossen werden."));
                return false;
            }
            if (kit::messageBox(QStringLiteral("Wenn der Druck der Seite beendet ist, wenden Sie das Blatt und klicken "
                                               "Sie dann auf OK, um die Rückseite zu bedrucken."),
                                QStringLiteral("Blatt wenden..."), kit::MsgButtons::OkCancel)
                != mrOk)
                return true; // the pages sent so far stay printed
            if (pdf)
                printer.setOutputFileName(numberedFile(baseFile, ++jobNr));
            job = startJob(printer, texts);
            if (!job)
                return false;
            firstOnJob = true;
        }
        if (!firstOnJob && !job->newPage()) {
            job->abort();
            printError(QStringLiteral("Eine neue Seite konnte nicht begonnen werden."));
            return false;
        }
        PaintLabelLayout(job->painter(), sheet.layout);
        firstOnJob = false;
    }
    if (job->aborted())
        return false;
    if (!job->end()) {
        printError(QStringLiteral("Der Druckauftrag konnte nicht abgeschlossen werden."));
        return false;
    }
    return true;
}

// ---- film pages -------------------------------------------------------------------------

namespace {

QString fieldText(engine::DataSet &ds, const QString &name)
{
    return FieldTextOf(ds, name);
}

int fieldInt(engine::DataSet &ds, const QString &name)
{
    return FieldNumberOf(ds, name).value_or(0);
}

QString categoryText(const QString &code)
{
    if (code.isEmpty())
        return QString();
    const int i = KategCharToIndex(code.at(0));
    if (i < 1 || i > int(CategoryTable.size()))
        return QString();
    return CategoryTable[size_t(i - 1)].name;
}

TPageDocument filmDocument(const std::vector<TFilmPageData> &films)
{
    TPageDocument doc;
    const TPageOptions o = PageOptionsFromSettings();
    TPageWriter w(PrinterPageMetrics(ProgramPrinter()), o, doc);
    const TLabelSettings lo = CurrentLabelSettings();
    TProgDirArtProvider art = ProgramLabelArt();
    for (const TFilmPageData &d : films)
        PrintFilmPageRecord(w, d, lo, art);
    return doc;
}

// "Nur die Selektion drucken?": the rows to print as bookmarks, all rows
// when there is no selection; false on Cancel.
bool rowsToPrint(dbui::DbGrid &grid, engine::DataSet &ds, const QString &what, QList<engine::Bookmark> &rows)
{
    rows = grid.selectedBookmarks();
    if (!rows.isEmpty()) {
        const TModalResult r = kit::messageBox(
            QStringLiteral("Sollen nur die %1 zu den markierten Zeilen gedruckt werden?\rAntworten Sie mit \"Nein\", so "
                           "werden alle %1 der Tabelle ausgewertet.")
                .arg(what),
            QStringLiteral("Nur die Selektion drucken?"), kit::MsgButtons::YesNoCancel, kit::BoxIcon::Question);
        if (r == mrCancel)
            return false;
        if (r == mrYes)
            return true;
        rows.clear();
    }
    for (ds.first(); !ds.eof(); ds.next())
        rows << ds.bookmark();
    return true;
}

void nothingFound(bool films, bool onlyWithMemo)
{
    const QString what = films ? QStringLiteral("Filme") : QStringLiteral("Personen");
    const QString text =
        !onlyWithMemo ? QStringLiteral("Die Menge der zum Druck ausgewählten %1 scheint leer zu sein!").arg(what)
        : films       ? QStringLiteral("Entweder wurden keine Filme ausgewählt, oder zu keinem Film war ein Memo gespeichert!")
                      : QStringLiteral("Entweder wurden keine Personen ausgewählt, oder zu keiner Person war ein Memo "
                                       "gespeichert!");
    kit::messageBox(text, QStringLiteral("Keine %1 zum Drucken gefunden!").arg(what), kit::MsgButtons::Ok,
                    kit::BoxIcon::Error);
}

const TPageJobTexts kFilmPage{QStringLiteral("Film-Beschreibung drucken"),
                              QStringLiteral("Der Druckauftrag für die Film-Seite \\Bwird erstellt..."),
                              QStringLiteral("Die Film-Seite\\lb\\Bwird gedruckt..."),
                              QStringLiteral("Tarvo - Film-Beschreibung")};
const TPageJobTexts kFilmPages{QStringLiteral("Film-Beschreibungen drucken"),
                               QStringLiteral("Der Druckauftrag\\lb\\Bwird erstellt..."),
                               QStringLiteral("Die Film-Seiten\\lb\\Bwerden gedruckt..."),
                               QStringLiteral("Tarvo - Film-Beschreibungen")};
const TPageJobTexts kPersonPage{QStringLiteral("Personenbeschreibung drucken"),
                                QStringLiteral("Der Druckauftrag für die Person \\Bwird erstellt..."),
                                QStringLiteral("Die Personenbeschreibung\\lb\\Bwird gedruckt..."),
                                QStringLiteral("Tarvo - Personenbeschreibung")};
const TPageJobTexts kPersonPages{QStringLiteral("Personenbeschreibungen drucken"),
                                 QStringLiteral("Der Druckauftrag für die Personen \\Bwird erstellt..."),
                                 QStringLiteral("Die Personenbeschreibungen\\lb\\Bwerden gedruckt..."),
                                 QStringLiteral("Tarvo - Personenbeschreibungen")};

} // namespace

TFilmPageData ReadFilmPageData(engine::DataSet &films)
{
    TFilmPageData d;
    d.film = ReadLabelFilm(films);
    const QString caption = FilmWindowCaption(fieldText(films, QStringLiteral("Medium")),
                                              fieldInt(films, QStringLiteral("KassNr")),
                                              fieldInt(films, QStringLiteral("FilmNr")));
    const int cut = caption.indexOf(QStringLiteral("-- "));
    d.header = cut < 0 ? caption : caption.mid(cut + 3);
    d.categoryText = categoryText(d.film.Kateg);
    for (int i = 0; i < 15; ++i) {
        d.freeCaptions[i] = StripAmpersands(GetFilmFreeLabel(i + 1));
        d.freeIsLink[i] = GetFilmFreeIsFileLink(i + 1);
    }
    return d;
}

void PrintFilmPage(TWFilm &card)
{
    if (!card.Table1 || !card.Table1->active() || card.Table1->isEmpty())
        return;
    TPageRunChoices choices;
    if (!ExecPageOptionsDialog(false, false, choices) || !EnsurePrintTarget(&card))
        return;
    try {
        PrintPageDocument(ProgramPrinter(), filmDocument({ReadFilmPageData(*card.Table1)}), kFilmPage);
    } catch (const engine::EngineError &e) {
        printError(e.message());
    }
}

void PrintFilmPages(dbui::DbGrid &grid, engine::Table &filmTable)
{
    engine::DataSet *ds = grid.dataSource() ? grid.dataSource()->dataSet() : nullptr;
    if (!ds || !ds->active())
        return;
    try {
        QList<engine::Bookmark> rows;
        if (!rowsToPrint(grid, *ds, QStringLiteral("Filme"), rows))
            return;
        TPageRunChoices choices;
        if (!ExecPageOptionsDialog(false, true, choices) || !EnsurePrintTarget(grid.window()))
            return;
        MainDataSets sets;
        sets.filmTable = &filmTable;
        std::vector<TFilmPageData> films;
        for (engine::Bookmark b : rows) {
            ds->gotoBookmark(b);
            if (ds != &filmTable
                && !LocateFilm(sets, fieldText(*ds, QStringLiteral("Medium")), fieldInt(*ds, QStringLiteral("KassNr")),
                               fieldInt(*ds, QStringLiteral("FilmNr")), true))
                continue;
            if (choices.onlyWithMemo && fieldText(filmTable, QStringLiteral("Memo")).isEmpty())
                continue;
            if (!choices.withReleased && FieldFlagOf(filmTable, QStringLiteral("Frei")))
                continue;
            films.push_back(ReadFilmPageData(filmTable));
        }
        if (films.empty()) {
            nothingFound(true, choices.onlyWithMemo);
            return;
        }
        PrintPageDocument(ProgramPrinter(), filmDocument(films), kFilmPages);
    } catch (const engine::EngineError &e) {
        printError(e.message());
    }
}

// ---- person pages -----------------------------------------------------------------------

TPersonPageData ReadPersonPageData(engine::DataSet &persons, bool listFilms, const QString &filmsHeading,
                                   const std::vector<TPersonFilmRow> &films, bool medIndex)
{
    TPersonPageData d;
    d.name = fieldText(persons, QStringLiteral("Name"));
    for (int i = 0; i < 7; ++i) {
        d.captions[i] = StripAmpersands(GetPersonFreeLabel(i + 1));
        d.values[i] = fieldText(persons, QStringLiteral("Free%1").arg(i + 1));
        d.isLink[i] = GetPersonFreeIsFileLink(i + 1);
    }
    d.memo = fieldText(persons, QStringLiteral("Memo"));
    d.picture = FieldPictureOf(persons, QStringLiteral("Grafik"));
    d.listFilms = listFilms;
    d.filmsHeading = filmsHeading;
    for (const TPersonFilmRow &f : films)
        d.films << PersonFilmEntry(f.title, f.kind, f.kassNr, medIndex);
    return d;
}

namespace {

TPageDocument personDocument(const std::vector<TPersonPageData> &persons)
{
    TPageDocument doc;
    TPageWriter w(PrinterPageMetrics(ProgramPrinter()), PageOptionsFromSettings(), doc);
    for (const TPersonPageData &d : persons)
        PrintPersonPageRecord(w, d);
    return doc;
}

// Shows the person window's films for the time of a job.
struct FilmsPanel
{
    const TPersonPageSource &s;
    bool on;
    FilmsPanel(const TPersonPageSource &src, bool listFilms) : s(src), on(listFilms && bool(src.filmsPanel))
    {
        if (on)
            s.filmsPanel(true);
    }
    ~FilmsPanel()
    {
        if (on)
            s.filmsPanel(false);
    }
};

} // namespace

void PrintPersonPage(const TPersonPageSource &source)
{
    if (!source.current)
        return;
    TPageRunChoices choices;
    if (!ExecPageOptionsDialog(true, false, choices) || !EnsurePrintTarget(nullptr))
        return;
    try {
        const FilmsPanel panel(source, PersDruckListFilms);
        PrintPageDocument(ProgramPrinter(), personDocument({source.current()}), kPersonPage);
    } catch (const engine::EngineError &e) {
        printError(e.message());
    }
}

void PrintPersonPages(dbui::DbGrid &grid, engine::DataSet *personTable, const TPersonPageSource &source)
{
    engine::DataSet *ds = grid.dataSource() ? grid.dataSource()->dataSet() : nullptr;
    if (!ds || !ds->active() || !source.current)
        return;
    try {
        QList<engine::Bookmark> rows;
        if (!rowsToPrint(grid, *ds, QStringLiteral("Personen"), rows))
            return;
        TPageRunChoices choices;
        if (!ExecPageOptionsDialog(true, true, choices) || !EnsurePrintTarget(grid.window()))
            return;
        const FilmsPanel panel(source, PersDruckListFilms);
        std::vector<TPersonPageData> persons;
        for (engine::Bookmark b : rows) {
            ds->gotoBookmark(b);
            if (ds != personTable && (!source.locate || !source.locate(fieldText(*ds, QStringLiteral("Name")))))
                continue;
            TPersonPageData d = source.current();
            if (choices.onlyWithMemo && d.memo.isEmpty())
                continue;
            persons.push_back(std::move(d));
        }
        if (persons.empty()) {
            nothingFound(false, choices.onlyWithMemo);
            return;
        }
        PrintPageDocument(ProgramPrinter(), personDocument(persons), kPersonPages);
    } catch (const engine::EngineError &e) {
        printError(e.message());
    }
}
