// The person card: one person of the person table with name, sex, seven
// captioned free fields, memo and picture; a name search, a side list of all
// or of the found persons or of the person's films; the duplicate check of
// names and the rename carried into the films. The film card also opens it
// modally to pick a person.
#pragma once

#include "windows/cards/memosearch.h"
#include "windows/printing/pageprint.h"

#include "engine/signal.h"

#include "kit/oberformmetal.h"

#include <array>
#include <memory>

namespace engine {
class DataSet;
class Field;
class Query;
class Table;
}
namespace dbui {
class DataSource;
class DbComboBox;
class DbEdit;
class DbGrid;
class DbImage;
class DbMemo;
class DbNavigator;
}
class QLabel;
class QLineEdit;
class QMenu;
class QTabBar;
class TFreeFieldTypeAhead;
struct TFreeFieldLinkTarget;
class TLockButton;
class TOzoCheck;
class TOzoNewButton;
class TPZLabel;
class TPZSpeedButton;

class TWPers : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TWPers(QWidget *parent = nullptr);
    ~TWPers() override;

    // The person table the card shows and the film table its films come from.
    void SetTables(engine::Table *persons, engine::Table *films);
    engine::Table *Table1 = nullptr;
    engine::Table *FilmTable = nullptr;
    dbui::DataSource *DataSource1;
    std::unique_ptr<engine::Query> QueryNames; // the person list (:Filter, :N)
    std::unique_ptr<engine::Query> QueryFilms; // the person's films (the UNION)
    dbui::DataSource *DataSourceList;

    // ---- components ---------------------------------------------------------------
    TPZLabel *PZLabelKrtB;
    TLockButton *LockButton1;
    dbui::DbNavigator *DBNavigator1;
    dbui::DbEdit *DBEName;
    TOzoCheck *ChkM, *ChkF;
    QLineEdit *EditSuche;
    TOzoNewButton *ButtNamen, *ButtExpand;
    TPZSpeedButton *SpBDetails, *SpBWeb, *SpBPrint, *SpBExport;
    TOzoNewButton *ButtOK, *ButtCancel, *ButtClose;
    QTabBar *TabSet1;
    QWidget *PanelFree, *PanelMemo, *PanelGrafik;
    std::array<dbui::DbComboBox *, 7> DBEF;
    std::array<QLabel *, 7> DBEFL;
    std::array<TPZSpeedButton *, 7> ButtF;
    dbui::DbMemo *DBMemo;
    dbui::DbImage *DBImage1;
    QMenu *PopupGrafik;
    QAction *Einfgen1, *Kopieren1, *Ausschneiden1, *GrafikLaden1, *GrafikFenster1;
    QWidget *PanelList;
    QLabel *LabelList;
    dbui::DbGrid *DBGridList;
    TFreeFieldTypeAhead *TypeAhead;
    TMemoSearch MemoSearch; // the memo menu's search

    // ---- window state ------------------------------------------------------------
    int ListMode = 0; // 0 closed, 1 all persons, 2 found persons, 3 the person's films
    QString OldName;

    // ---- interfaces -----------------------------------------------------------------
    // The picker of the film card: OK and Cancel instead of the close button;
    // the chosen person is the current record.
    TModalResult ShowModal();
    bool LocatePersonByName(const QString &name);
    bool InsertPerson(const QString &name);
    bool ScanPersonPictures();
    // Shows the card (rolled down), on the person of that name when given;
    // without activate the window that has the keyboard keeps it.
    void ShowPerson(const QString &name = QString(), bool activate = true);
    void SyncLock(bool editing);

    void ShowPersonSidePanel(int mode);
    // What a person page prints of the card: the shown person, moving to a
    // person by name, and the film list shown for the job.
    TPersonPageSource PageSource();
    void RefreshList();
    void ButtNamenClick();
    void ButtExpandClick();
    void ListClick();
    void ListDblClick();
    void SpBDetailsClick();
    void SexClick(bool female);

    // ---- handlers -------------------------------------------------------------------
    void Table1BeforePost(engine::DataSet &ds);
    void Table1AfterPost(engine::DataSet &ds);
    void Table1BeforeEdit(engine::DataSet &ds);
    void Table1AfterInsert(engine::DataSet &ds);
    void Table1AfterOpen(engine::DataSet &ds);
    void DataSource1DataChange(engine::Field *field);
    void FormShow() override;
    void FormClose(TCloseAction &action) override;
    void FormDeactivate() override;

    // What the main window supplies: showing a film on the film card.
    std::function<void(const QString &kind, int kassNr, int filmNr)> OnShowFilm;
    std::function<void()> OnActivateMain;
    std::function<void()> OnShowFilmCard;
    // After a rename carried into the films (the film card's table is
    // refreshed already).
    std::function<void()> OnFilmsChanged;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildCard();
    void buildAttachments();
    void buildList();
    void rebuildQueries();
    void showRecord();
    bool female() const;
    bool postPending();
    void applyCaptions();
    // The file-link target of free field nr (menu and file drops).
    TFreeFieldLinkTarget linkTarget(int nr);
    bool m_modal = false;
    int m_labelsId = -1;
    int m_plainWidth = 0;
    int m_renamedFilms = 0; // films the running post renamed the person in

    // Declared last: the table's events are dropped before anything they reach.
    engine::Subscriptions m_events;
};

extern TWPers *WPers;
// The card, created on first use.
TWPers *PersonCard();
