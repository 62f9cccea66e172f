#include "windows/main/maincommands.h"

#include "app/appmessage.h"
#include "app/settings.h"
#include "data/database.h"
#include "data/filmcard.h"
#include "data/locate.h"
#include "data/mediumrecords.h"
#include "data/persons.h"
#include "windows/tables/tablemaintenancedialogs.h"
#include "data/tabletools.h"
#include "windows/tables/columnlayouts.h"
#include "windows/tables/tabform.h"
#include "windows/printing/tableprintjob.h"
#include "windows/tables/wliste.h"
#include "dbui/datasource.h"
#include "dbui/dbgrid.h"
#include "dbui/gridmodel.h"
#include "dbui/pictureloader.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/session.h"
#include "engine/table.h"
#include "kit/dbtastennavigation.h"
#include "kit/enterexitbutton.h"
#include "kit/help.h"
#include "kit/lockbutton.h"
#include "kit/msgboxmetal.h"
#include "kit/oberform.h"
#include "kit/oberformmetal.h"
#include "kit/presenter.h"
#include "kit/pzspeedbutton.h"
#include "windows/exchange/backuprestore.h"
#include "windows/cards/categorydialogs.h"
#include "windows/labels/dzfsetup.h"
#include "windows/cards/editlabels.h"
#include "windows/dialogs/dinfo.h"
#include "windows/cards/dsn.h"
#include "windows/queries/dupdchk.h"
#include "windows/queries/dwebsuche.h"
#include "windows/labels/labelprint.h"
#include "windows/printing/attachmentprint.h"
#include "windows/labels/labeloptions.h"
#include "windows/labels/labelselect.h"
#include "windows/labels/printedflag.h"
#include "windows/labels/prevform2.h"
#include "windows/queries/queryform.h"
#include "windows/main/tipofday.h"
#include "windows/queries/querycommands.h"
#include "windows/main/mainform.h"
#include "windows/main/mainmenus.h"
#include "windows/main/mainquicksearch.h"
#include "windows/cards/mediumkind.h"
#include "windows/cards/persondialogs.h"
#include "windows/cards/personcardhooks.h"
#include "windows/cards/wpers.h"
#include "windows/main/whint.h"
#include "windows/cards/wnotes.h"
#include "windows/dialogs/windowparts.h"
#include "windows/main/wimportrunning.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QFileInfo>
#include <QKeyEvent>

const QString TarvoHomepageUrl = QStringLiteral("https://www.ozo-software.de/");
const QString TarvoForumUrl = QStringLiteral("https://www.ozo-software.de/forum/");

using windowparts::showEngineError;

namespace {

void postPending(engine::DataSet *t)
{
    if (t && t->active()
        && (t->state() == engine::DataSetState::Edit || t->state() == engine::DataSetState::Insert))
        t->post();
}

// A command runs; an engine error is shown, a silent abort ends it.
void guarded(const std::function<void()> &f)
{
    try {
        f();
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        showEngineError(e);
    }
}

} // namespace

TMainCommands::TMainCommands(TMainform &form, TMainMenus &menus) : QObject(&form), m_form(form), m_menus(menus)
{
    setObjectName(QStringLiteral("MainCommands"));
    auto wire = [this](const char *name, std::function<void()> handler) {
        m_menus.Wire(QLatin1String(name), [this, handler] {
            guarded(handler);
            m_menus.UpdateStates();
        });
    };
    TMainform &f = m_form;
    // Opening an old database's table imports it first.
    InstallOldDatabaseImport();
    wire("Neu1", [&f] { f.Neu1Click(); });
    wire("ffnen1", [&f] { f.ffnen1Click(); });
    wire("Datensicherung1", [&f] {
        ExecBackupRestore();
        f.UpdateStatusLine();
    });
    wire("Flush1", [&f] { f.Flush1Click(); });
    // The tables are closed for the packing and open again: the status line
    // counts anew.
    wire("Packen1", [&f] {
        ExecPackDialog();
        f.UpdateStatusLine();
    });
    wire("UngltigeGrafikenlschen1", [this] { UngltigeGrafikenlschen1Click(); });
    wire("Passwortschutz1", [this] { Passwortschutz1Click(); });
    wire("MenEditieren", [&f] { f.SpBReadOnlyClick(); });
    wire("MenBeenden", [&f] { f.close(); });
    wire("FilternnachRestspielzeit1", [&f] { f.FilternnachRestspielzeit1Click(); });
    wire("MediumNrLokalisieren1", [&f] { ShowLocateMediumDialog(&f, f.DataSets(), f.Records->numberingMode()); });
    wire("MenNumProMedTyp", [&f] { f.Records->MenNumProMedTypClick(); });
    wire("MenNumAlleMedien", [&f] { f.Records->MenNumAlleMedienClick(); });
    wire("Filme1bis5bercksichtigen1", [this] { RestModeClick(true); });
    wire("AlleFilmebercksichtigen1", [this] { RestModeClick(false); });
    wire("ATTSZhlwerk1", [this] { CounterModeClick(true); });
    wire("KumulativSPLP1", [this] { CounterModeClick(false); });
    wire("Men_dvd_kk_nur1film", [&f] { f.Records->Men_dvd_kk_nur1filmClick(); });
    wire("NumHilfe1", [] { kit::showHelp(hcNumbering); });
    wire("RestHilfe1", [] { kit::showHelp(hcRemainingTime); });
    wire("ZhlHilfe1", [] { kit::showHelp(hcCounterMode); });
    wire("HauptfensterHilfe1", [] { kit::showHelp(hcMainWindow); });
    wire("WasistNeu1", [] { kit::showHelp(hcWhatsNew); });
    wire("BekannteProbleme1", [] { kit::showHelp(hcKnownProblems); });
    wire("HilfezurHilfe1", [] { kit::showHelp(hcHelpOnHelp); });
    wire("Inhalt1", [] { kit::showHelp(0); });
    wire("BeschriftenPDF1", [this] { OpenManualPdf(); });
    wire("TarvoHomepage1", [this] { OpenWebPage(TarvoHomepageUrl); });
    wire("TarvoFORUM1", [this] { OpenWebPage(TarvoForumUrl); });
    wire("About1", [&f] { f.Info1Click(); });
    wire("TippdesTages1", [&f] { ShowTipOfTheDay(&f); });
    wire("Kategoriendefinieren1", [&f] { ExecCategoryEditor(&f); });
    wire("KategorieSuche1", [&f] {
        if (const int category = ExecFindCategory(&f); category > 0)
            ShowCategoryQuery(category, &f);
    });
    wire("AbfragedefinierenSQL1", [&f] { ExecSqlQueryWindow(&f); });
    WireQueryCommands(f, m_menus, wire);
    wire("FilmAnhang1", [&f] { ExecEditLabels(false, false, &f); });
    wire("MedienAnhang1", [&f] { ExecEditLabels(true, false, &f); });
    wire("PersonenKartei1", [&f] { ExecEditLabels(false, true, &f); });
    wire("OnlineUpdateprfung1", [] { ExecUpdateCheckSettings(); });
    wire("InternetSuche1", [&f] { ExecWebSearch(QStringLiteral("Med"), f.Table1.get()); });
    wire("FilmKarteikarte1", [&f] { f.ShowFilmCard(0, true, false); });
    for (int n = 1; n <= 5; ++n) {
        m_menus.Wire(QStringLiteral("FilmKarte%1").arg(n), [&f, n] { f.ShowFilmCard(f.SlotFilmNr[size_t(n - 1)], true, false); });
        m_menus.Wire(QStringLiteral("AnhFilm%1").arg(n), [&f, n] { f.ShowFilmCard(f.SlotFilmNr[size_t(n - 1)], false, true); });
    }
    // The person card and the person file.
    wire("PersonenKarteikarte1", [&f] { ShowPersonCard(f); });
    wire("Auswhlenffnen1", [&f] {
        if (ExecPersonFileDialog(*f.PersTable, &f))
            BoundPersonCard(f)->ShowPersonSidePanel(0);
    });
    wire("Importieren1", [&f] {
        ExecPersonImport(*f.PersTable, [&f] {
            ShowPersonCard(f);
            BoundPersonCard(f)->ShowPersonSidePanel(0);
        }, &f);
    });
    wire("SelbstklebeEtiketteneinrichten1", [&f] { ExecLabelSetupDialog(&f); });
    wire("Drucker1", [&f] { ChooseProgramPrinter(&f); });
    wire("SchriftartEtikettenText1", [&f] { ChooseLabelFont(false, &f); });
    wire("SchriftartNummernEtikett1", [&f] { ChooseLabelFont(true, &f); });
    wire("FuSymbolGrafik1", [] { ChooseFootSymbol(); });
    // The statistics, the pointing hints, the disc serial number and the
    // medium attachment window.
    wire("MenInfo", [] { ExecDatabaseInfo(); });
    wire("MediumzureingelegtenCDDVD1", [&f] { LocateMediumOfInsertedDisc(f); });
    f.ButtPPPSN->setEnabled(true);
    connect(f.ButtPPPSN, &QAbstractButton::clicked, this, [&f] { guarded([&f] { ButtPPPSNClick(f); }); });
    HookNotesWindow(f);
    wire("AnhMedium1", [] { ShowMediumNotes(); });
    wire("EtikettenVorschau1", [&f] { ShowLabelPreview(f.Table1.get(), f.DataSource1, f.Table2.get(), &f); });
    // Attachment cards and description pages.
    wire("EinstellungenAnhangDruck1", [] { ExecAttachmentPrintOptions(); });
    // The table view, the list window and the printed tables and lists.
    auto *filmListSource = new dbui::DataSource(f.FilmTable.get(), this);
    filmListSource->setObjectName(QStringLiteral("DataSourceFilmList"));
    wire("Medientabelle1", [] { ShowTableView(TTabForm::PageMedia); });
    wire("Filmtabelle1", [] { ShowTableView(TTabForm::PageFilms); });
    wire("Personentabelle1", [] { ShowTableView(TTabForm::PagePersons); });
    wire("Medienliste1", [&f] { ShowListWindow(f.DataSource1, true, false); });
    wire("Filmliste1", [filmListSource] { ShowListWindow(filmListSource, true, true); });
    wire("MedienListedrucken1", [&f] { PrintMainList(false, &f); });
    wire("FilmListedrucken1", [&f] { PrintMainList(true, &f); });
    wire("EinstellungenListenDruck1", [&f] { ExecListPrintSettings(&f); });
    // The label collection and the printed flag.
    wire("Etikettendrucken1", [&f] { ShowPrintSelection(MainformLabelContext(), &f); });
    wire("Etikettenliste1", [&f] { ShowAllMediaLabelList(&f); });
    ConnectTableViewLabelCollection();
    wire("VerwaltungEtikettgedruckt1", [] { ExecPrintedFlagSettings(); });
    wire("Medienohnegedruckte1", [&f] { ExecFindNotPrinted(&f); });
    wire("ErweiterteDruckoptionen1", [] { ExecLabelOptions(); });
    connect(m_menus.SpBHelp, &TPZSpeedButton::Click, this, [] { kit::showHelp(hcMainWindow); });
    connect(m_menus.SPBHelpIdx, &TPZSpeedButton::Click, this, [] { kit::showHelp(0); });

    auto cardButton = [this](const char *name, const QString &caption, const QString &hint, int x) {
        auto *b = new TPZSpeedButton(m_form.PanelKrt);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(x, 388, 26, 22);
        b->SetCaption(caption);
        b->setToolTip(hint);
        return b;
    };
    ButtShowFilmtab = cardButton("ButtShowFilmtab", QStringLiteral("▼"), QStringLiteral("Filmtabelle anzeigen"), 548);
    ButtHideFilmtab = cardButton("ButtHideFilmtab", QStringLiteral("▲"), QStringLiteral("Filmtabelle ausblenden"), 548);
    SpbStd = cardButton("SpbStd", QStringLiteral("↺"), QStringLiteral("Standard-Spalten der Filmtabelle"), 520);
    ButtHideFilmtab->hide();
    SpbStd->hide();
    connect(ButtShowFilmtab, &TPZSpeedButton::Click, this, [this] { ButtShowFilmtabClick(); });
    connect(ButtHideFilmtab, &TPZSpeedButton::Click, this, [this] { ButtHideFilmtabClick(); });
    connect(SpbStd, &TPZSpeedButton::Click, this, [this] { SpbStdClick(); });
    connect(m_form.DBGridFL, &dbui::DbGrid::columnMoved, this, [this] { storeFilmListLayout(); });

    m_form.installEventFilter(this);
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState st) {
        if (st == Qt::ApplicationActive)
            AppOnActivate();
        else if (st == Qt::ApplicationInactive)
            AppOnDeActivate();
    });
}

void TMainCommands::AppOnActivate()
{
    ReactivateMetalForm();
    ReactivateOberForm();
}

void TMainCommands::AppOnDeActivate()
{
    DeactivateMetalForm();
    DeactivateOberForm();
}

// ---- database commands -------------------------------------------------------------

void TMainCommands::Passwortschutz1Click()
{
    if (!m_form.Table1->active())
        return;
    QString password;
    if (!ExecSetPasswordDialog(&password))
        return;
    for (engine::Table *t : {m_form.Table1.get(), m_form.FilmTable.get(), m_form.PersTable.get()})
        postPending(t);
    if (m_form.QueryFL->active())
        m_form.QueryFL->close();
    // The second cursor of a table is closed around the change, so that
    // nobody else uses the file meanwhile.
    auto protect = [&password](engine::Table *second, engine::Table *table) {
        const bool reopen = second->active();
        second->close();
        try {
            SetTablePassword(*table, password);
        } catch (...) {
            if (reopen)
                second->open();
            throw;
        }
        if (reopen)
            second->open();
    };
    bool ok = true;
    try {
        protect(m_form.Table11.get(), m_form.Table1.get());
        protect(m_form.Table2.get(), m_form.FilmTable.get());
    } catch (const engine::EngineError &e) {
        showEngineError(e);
        ok = false;
    }
    if (ok) {
        const bool removing = password.isEmpty();
        const TModalResult r = removing
            ? kit::messageBox(QStringLiteral("Soll auch der Passwortschutz der Personenkartei entfernt werden?"),
                              QStringLiteral("Auch Personenkartei?"), kit::MsgButtons::YesNo, kit::BoxIcon::Question)
            : kit::messageBox(
                  QStringLiteral(
                      "Soll die Personenkartei auch verschlüsselt werden?\nHintergrund der Frage:\nBenutzen nur Sie "
                      "allein die Personenkartei, so kann sie problemlos mit geschützt werden. Wird aber dieselbe "
                      "Personenkartei von mehreren Tarvo-Nutzern benutzt und wird sie nun mit Passwort geschützt, so "
                      "muss jeder Mitbenutzer der Personenkartei ebenfalls das Passwort kennen. Schützt dieser seine "
                      "eigene Medien-/Filmkartei mit einem anderen Passwort, so muss er beim Öffnen sogar beide "
                      "Passwörter eingeben: Das für seine Medien/Film-Kartei und das für Ihre Personenkartei. (Die "
                      "Reihenfolge bei der Eingabe der Passwörter spielt dabei keine Rolle.)"),
                  QStringLiteral("Personenkartei auch schützen?"), kit::MsgButtons::YesNo, kit::BoxIcon::Question);
        if (r == mrYes && !m_form.PersTable->tableName().isEmpty())
            guarded([&] { SetTablePassword(*m_form.PersTable, password); });
    }
    m_form.ShowMediumFilms();
    m_form.UpdateStatusLine();
}

void TMainCommands::UngltigeGrafikenlschen1Click()
{
    if (kit::messageBox(QStringLiteral("Diese Funktion durchsucht die Film-Anhänge und die Personen-Kartei nach "
                                       "ungültigen Grafiken, die Fehlermeldungen verursachen. \nDiese werden gelöscht, "
                                       "damit Tarvo wieder ordnungsgemäß funktioniert!"),
                        QStringLiteral("Löschen ungültiger Grafiken!"), kit::MsgButtons::OkCancel,
                        kit::BoxIcon::Information)
        != mrOk)
        return;
    // Each check shows its own wait box and report.
    const auto decodes = [](const QByteArray &b) { return dbui::PictureLoader::decode(b).ok(); };
    bool removed = false;
    guarded([&] { removed = CheckFilmBitmaps(*m_form.FilmTable, decodes) || removed; });
    guarded([&] { removed = ScanPersonPictures(*m_form.PersTable, decodes) || removed; });
    if (!removed)
        return;
    guarded([this] {
        if (m_form.Table2->active())
            m_form.Table2->refresh();
    });
    m_form.ShowMediumFilms();
    if (kit::messageBox(QStringLiteral("Die ungültigen Bitmaps wurden bisher nur \"gestrichen\". Um sie auch "
                                       "physikalisch aus den Datenbankdateien zu entfernen, muss die Datenbank "
                                       "\"gepackt\" werden. Soll das nun geschehen?"),
                        QStringLiteral("Datenbank packen?"), kit::MsgButtons::YesNo, kit::BoxIcon::Question)
        == mrYes) {
        ExecPackDialog();
        m_form.UpdateStatusLine();
    }
}

// ---- settings with check marks -----------------------------------------------------

void TMainCommands::RestModeClick(bool firstFive)
{
    bRest1bis4 = firstFive;
    m_form.Records->rest1to5 = firstFive;
    if (m_form.Table1->active())
        guarded([this] { m_form.Table1->refresh(); });
    m_form.ShowMediumFilms();
    SaveSettings();
}

void TMainCommands::CounterModeClick(bool atts)
{
    ATTS = atts;
    if (m_form.Table1->active())
        guarded([this] { m_form.Table1->refresh(); });
    m_form.ShowMediumFilms();
    SaveSettings();
}

// ---- manual and web pages --------------------------------------------------------------

void TMainCommands::OpenManualPdf()
{
    const QString path = ProgDir + QStringLiteral("Etikettendruck.pdf");
    if (!QFileInfo::exists(path) || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        AppMessage(QStringLiteral("Fehler beim Öffnen der PDF-Datei!"), QStringLiteral("Fehler!"),
                   platform::MessageIcon::Error);
}

void TMainCommands::OpenWebPage(const QString &url)
{
    QDesktopServices::openUrl(QUrl(url));
}

// ---- the film table under the card -------------------------------------------------------

void TMainCommands::ButtShowFilmtabClick()
{
    m_form.ShowFilmList(true);
    if (SPLayoutsValid)
        ApplyColumnLayout(TLayoutGrid::MF, *m_form.DBGridFL);
    ButtShowFilmtab->hide();
    ButtHideFilmtab->show();
    SpbStd->show();
    m_form.ShowMediumFilms();
}

void TMainCommands::ButtHideFilmtabClick()
{
    StoreMainGridLayout();
    m_form.ShowFilmList(false);
    ButtHideFilmtab->hide();
    SpbStd->hide();
    ButtShowFilmtab->show();
    m_form.ShowMediumFilms();
}

void TMainCommands::SpbStdClick()
{
    m_form.DBGridFL->gridModel()->resetColumns();
    storeFilmListLayout();
}

void TMainCommands::storeFilmListLayout()
{
    StoreColumnLayout(TLayoutGrid::MF, *m_form.DBGridFL);
    // The layouts are stored together, once the table window has stored them.
    if (SPLayoutsValid)
        SaveSettings();
}

// ---- the card's keys ---------------------------------------------------------------------

bool TMainCommands::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_form || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto *ke = static_cast<QKeyEvent *>(event);
    const Qt::KeyboardModifiers mods = ke->modifiers() & ~Qt::KeypadModifier;
    if (mods == Qt::ControlModifier && ke->key() >= Qt::Key_1 && ke->key() <= Qt::Key_5) {
        TPZSpeedButton *film = m_form.Film[size_t(ke->key() - Qt::Key_1)];
        if (film->isVisibleTo(&m_form) && film->isEnabled())
            emit film->Click();
        return true;
    }
    // While the quick search's result panel is open: its film, media and person list.
    if (mods == Qt::ControlModifier && m_form.QuickSearchPart && m_form.QuickSearchPart->Mode != 0) {
        const int list = ke->key() == Qt::Key_F ? 1 : ke->key() == Qt::Key_M ? 2 : ke->key() == Qt::Key_P ? 3 : 0;
        if (list) {
            m_form.SetQuickSearchMode(list);
            return true;
        }
    }
    if (!m_form.Table1->active())
        return false;
    if (mods == Qt::NoModifier) {
        auto click = [](TPZSpeedButton *b) {
            if (b->isEnabled())
                emit b->Click();
            return true;
        };
        switch (ke->key()) {
        case Qt::Key_F6:
            return m_menus.Run(QStringLiteral("AnhMedium1")) || true;
        case Qt::Key_F7:
            return m_menus.Run(QStringLiteral("FilmKarteikarte1")) || true;
        case Qt::Key_F8:
            return m_menus.Run(QStringLiteral("PersonenKarteikarte1")) || true;
        case Qt::Key_F9:
            return click(m_menus.SpBLocateSN);
        case Qt::Key_F10:
            return click(m_menus.SpBWeb);
        default:
            break;
        }
    }
    const int vk = VirtualKeyOf(*ke);
    if (m_form.Table1->readOnly() && (vk == VK_INSERT || vk == VK_DELETE || vk == VK_ADD || vk == VK_SUBTRACT)) {
        m_form.LockButton1->BlinkIfLocked();
        return true;
    }
    return false;
}
