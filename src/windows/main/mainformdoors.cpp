// The one place where the doors upward are filled: what the database switch
// and the media records' rules ask of the windows.
#include "windows/main/mainform.h"

#include "data/mediumrecords.h"
#include "data/upwarddoors.h"
#include "dbui/dbcombobox.h"
#include "exchange/oldimport.h"
#include "windows/cards/freeareadialogs.h"
#include "windows/cards/freefieldcaptions.h"
#include "windows/main/mainmenus.h"
#include "windows/main/mainquicksearch.h"
#include "windows/labels/prevform2.h"

#include <QLabel>

void TMainform::FillUpwardDoors()
{
    TDatabaseDoors &db = UpwardDoors.Database;
    // Captions and categories follow the open database.
    db.CreateCategoryDialog = [] { LoadDatabaseCategories(); };
    db.FreeCategoryDialog = [] {};
    db.LoadFreeFieldCaptions = [] { LoadFreeFieldLabelsNow(); };
    db.SetEditing = [this](bool on) { SetEditing(on); };
    // Opening an old database's table imports it first.
    db.ImportOldDatabase = [](const QString &name, bool oldest) { return ImportOldDatabaseFile(name, oldest); };
    // A database command closes the result panel and its queries first: they
    // read the files of the database that is about to go.
    db.BeforeDatabaseCommand = [this] { QuickSearchPart->SetQuickSearchMode(0); };
    // The preview shows the first medium of the database now open.
    db.AdjustLabelPreview = [] { UpdatePreviewSize(); };
    // The guided tour after a new database or an import; the lock button
    // explained when a first database opens.
    db.NewDatabaseTour = [this] { NewDatabaseTour(); };
    db.ImportTour = [this] { CardTour(); };
    db.LockButtonHint = [this] { LockButtonHint(); };

    TMediumRecordDoors &rec = Records->doors();
    rec.onNumberingMenu = [this](NumberingMenuState s) { Menus->ShowNumberingMenu(s); };
    rec.resetInsertFocus = [this] { InsertFocusField = QStringLiteral("-"); };
    rec.afterPostRefresh = [this] {
        DBVerliehen->clear();
        UpdateStatusLine();
        UpdateMediumNotesGlyph();
        ShowMediumFilms();
    };
    rec.afterDeleteRefresh = [this] { UpdateStatusLine(); };
    rec.filmsChanged = [this] {
        ShowMediumFilms();
        UpdateStatusLine();
    };
    rec.execSplitFreeDialog = [](int &minutes, bool &longPlay) { return ExecSplitFreeDialog(minutes, longPlay); };
    rec.showFilmWindow = [this](int filmNr) { ShowFilmCard(filmNr, true, false); };
}

void TMainform::EmptyUpwardDoors()
{
    if (Records)
        Records->doors() = TMediumRecordDoors();
    TDatabaseDoors &db = UpwardDoors.Database;
    db.SetEditing = nullptr;
    db.BeforeDatabaseCommand = nullptr;
    db.NewDatabaseTour = nullptr;
    db.ImportTour = nullptr;
    db.LockButtonHint = nullptr;
}
