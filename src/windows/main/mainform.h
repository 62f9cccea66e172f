// The main window, the medium card: one medium of the media table at a time
// with its kind, number, capacity, remaining time and largest free area, its
// lending fields and notes button, and up to five film slots; the edit lock
// that reopens the record tables writable; the remaining-time filter; the
// network refresh. It also holds what start-up and the database commands
// need: the data sets, the password event, the first show and the close.
// Until the film and person cards exist, their tables live here too.
#pragma once

#include "data/maindatasets.h"
#include "engine/signal.h"
#include "kit/oberformmetal.h"

#include <QDate>
#include <QFont>
#include <QMap>
#include <QPixmap>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

namespace engine {
class DataSet;
class Query;
class Field;
class Table;
}
namespace dbui {
class DataSource;
class DbGrid;
class DbComboBox;
class DbEdit;
class DbText;
}
class MediumRecords;
class QCalendarWidget;
class QFrame;
class QLabel;
class QMenu;
class QAction;
class QTimer;
class QToolButton;
class TLockButton;
class TPZSpeedButton;
class TOzoNewButton;
class TOzoDBCheck;
class TMainMenus;
class TMainCommands;
class TMainQuickSearch;

class TMainform : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TMainform(QWidget *parent = nullptr);
    ~TMainform() override;

    // ---- data sets ------------------------------------------------------------
    std::unique_ptr<engine::Table> Table1;   // the medium card
    std::unique_ptr<engine::Table> Table11;  // second media cursor
    std::unique_ptr<engine::Table> Table2;   // read-only film cursor
    // Held here until the film card and the person card take them over.
    std::unique_ptr<engine::Table> FilmTable;
    std::unique_ptr<engine::Table> PersTable;
    std::unique_ptr<MediumRecords> Records;  // numbering, record rules, tape operations
    dbui::DataSource *DataSource1;           // Table1
    MainDataSets DataSets() const;

    bool FirstActivation = true;

    TMainMenus *Menus = nullptr;       // every menu entry, by objectName (windows/main/mainmenus.h)
    TMainCommands *Commands = nullptr; // the commands of the menus and the card's keys
    // The films of the shown medium as a table under the card.
    std::unique_ptr<engine::Query> QueryFL;
    dbui::DataSource *DataSourceFL;
    // Shows or hides the film table under the card (the window grows by it).
    void ShowFilmList(bool on);
    void LoadFilmList();

    // ---- the form's components --------------------------------------------------
    // A component of the window by its objectName: its own widgets, menus and
    // timers, not those of the record windows and dialogs it owns; null when
    // there is none of that type. Tests and other windows reach the card so.
    template <class T = QWidget>
    T *Component(const QString &name) const
    {
        return dynamic_cast<T *>(findComponent(name));
    }

    // ---- window state -----------------------------------------------------------
    quint8 SlotOffset = 0;
    QString PrevKind;
    QString InsertFocusField = QStringLiteral("-");
    int FilterMinRest = 0;
    bool FilterOnMaxFree = false;
    // The film numbers the slots show now (0: empty slot).
    std::array<int, 5> SlotFilmNr{};
    // The date edit the calendar works on (null: none).
    dbui::DbEdit *CalendarTarget = nullptr;

    // Lock buttons of record windows and the tables whose lock they show.
    struct RecordWindowLock {
        QPointer<TLockButton> button;
        engine::Table *table = nullptr;
    };
    QList<RecordWindowLock> RecordWindowLocks;
    void RegisterRecordWindowLock(TLockButton *button, engine::Table *table);
    // Moves the film window to film n of the shown medium (0: no move) and
    // shows it when card or attachments is set.
    void ShowFilmCard(int filmNr, bool card, bool attachments);

    // ---- the form's handlers ----------------------------------------------------
    void FormCreate() override;
    void FormShow() override;
    void FormActivate() override;
    void FormDeactivate() override;
    void FormClose(TCloseAction &action) override;
    void SetZoomed(bool z) override;
    void FormResize() override;

    bool PwdAbfrage(const QString &tablePath, QString &password);
    void Neu1Click();
    void ffnen1Click();
    void Info1Click();

    // The edit lock.
    void SpBReadOnlyClick();
    void SetEditing(bool editing);
    bool Editing() const;
    void SyncReadOnlyState();
    void Flush1Click();

    void DataSource1DataChange(engine::Field *field);
    void ShowMediumFilms();
    void UpdateStatusLine();
    void UpdateMediumNotesGlyph();
    void UpdatePercentBar();
    void ButtNewFilmClick();
    // The new-film button shows: editing, and not a second film where the
    // one-film setting forbids it.
    bool NewFilmAllowed() const;
    // A new film on the medium of the film card's film (its "+").
    void NewFilmOfShownFilm();
    void SpBFilmDelClick();
    void SpBSplitFreeClick(int slot);
    void SpBJoinFreeClick();
    void SpB5PushDownClick();
    void SpBFinalizeClick();
    void BUpClick();
    void BDownClick();
    void ButtPPPMedClick();
    void ImageClick(int slot);

    void DBVerliehenDropDown();
    void DBVerliehenChange();
    void DateEditEnter(dbui::DbEdit *edit);
    void OtherControlEnter();
    void Calendar1Pick(const QDate &day);
    void CalendarStep(int years, int months);

    bool Table1FilterRecord(engine::DataSet &ds);
    void FilternnachRestspielzeit1Click();

    void NetRefreshTimer();
    void NavRefreshClick();

    // The quick search in the tool bar and its result panel (mainquicksearch.cpp).
    TMainQuickSearch *QuickSearchPart = nullptr;
    void QuickSearch(const QString &text);
    void SetQuickSearchMode(int mode);
    void MarkFilmSlot(int slot);
    void ShowCurrentFilmMarker();

    // The six notes-button pictures, by name.
    QPixmap NotesPicture(const QString &name) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void wheelEvent(QWheelEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    // The window's own parts build and use its components.
    friend class TMainMenus;
    friend class TMainCommands;
    friend class TMainQuickSearch;
    QObject *findComponent(const QString &name) const;

    QWidget *ToolBar1;
    TPZSpeedButton *TBDatei, *TBAnsicht, *TBDruck, *TBEinstellungen, *TBSuche, *TBHilfe;
    QMenu *PopupDatei, *PopupAnsicht, *PopupDruck, *PopupEinstellungen, *PopupSuche, *PopupHilfe;
    QAction *MenEditieren, *MenBeenden, *FilternnachRestspielzeit1, *MediumNrLokalisieren1;
    TPZSpeedButton *SpBReadOnly;   // down while editing
    TPZSpeedButton *SpBRest;       // down while the remaining-time filter is on
    TLockButton *LockButton1;      // in the title bar
    QWidget *DBNavigator1;
    QToolButton *NavFirst, *NavPrior, *NavNext, *NavLast, *NavInsert, *NavDelete, *NavPost,
        *NavCancel, *NavRefresh;

    QWidget *PanelKrt;             // the card
    QLabel *LabelMed, *LabelNr, *LabelLen, *LabelMin, *LabelRest, *LabelMaxFree;
    dbui::DbEdit *DBMed, *DBNr, *DBLen;
    dbui::DbText *DBTRest, *DBTMaxFree;
    TOzoNewButton *ButtPPPMed;     // kind chooser
    TOzoNewButton *ButtPPPSN;      // serial number of a disc
    QLabel *ImgCD, *ImgCDX;
    TPZSpeedButton *SpBFinalize;
    TPZSpeedButton *SpBNotesK;     // medium notes
    QWidget *PanelKauf, *PanelDVD;
    QWidget *PanelPercent;
    QFrame *PercentFilm[5];        // PercentFilm1..PercentFilm5
    QFrame *PercentFilm6ff, *PercentUnknown;

    // The five film slots (index 0 is slot 1).
    std::array<TPZSpeedButton *, 5> Film;
    std::array<QLabel *, 5> Image;
    std::array<TPZSpeedButton *, 5> SpBNotes;      // SpbNotes1, SpBNotes2..5
    std::array<TPZSpeedButton *, 4> SpBSplitFree;  // slots 1..4
    TPZSpeedButton *SpBFilmDel, *SpBJoinFree, *SpB5PushDown;
    TOzoNewButton *ButtNewFilm;
    TPZSpeedButton *BUp, *BDown;

    QLabel *LabelVerliehen, *LabelVerleihdatum, *LabelRueckgabedatum;
    dbui::DbComboBox *DBVerliehen;
    dbui::DbEdit *DBVerleihdatum, *DBRueckgabedatum;
    TOzoDBCheck *DBChkGedruckt;    // "Etikett gedruckt"
    QWidget *PanelKalender;
    QCalendarWidget *Calendar1;
    TPZSpeedButton *SpBYearBack, *SpBMonthBack, *SpBMonthFwd, *SpBYearFwd;
    QLabel *LabelKalender;

    QLabel *Status1, *Status2;
    QWidget *PanelFilmListe;
    dbui::DbGrid *DBGridFL;
    QTimer *NetRefresh;

    void ReleaseRecordWindows();
    // Closes every other window of the program; false when one stays open.
    bool CloseOtherWindows();
    void buildToolBar();
    void buildCard();
    void buildSlots();
    void buildLending();
    void bindEvents();
    // The doors from below that this window serves (mainformdoors.cpp): filled
    // once it is built, those reaching it emptied when it goes.
    void FillUpwardDoors();
    void EmptyUpwardDoors();
    void afterOpenMedia(engine::DataSet &ds);
    void focusInsertField();
    void placeLockButton();
    void setFilmStripPictures();
    void updateKindControls();
    void updateReturnDateColour();
    void paintDateLabels();
    void askLabelPrinted(engine::Field *field);
    void firstLendingHints();
    // The guided tour (mainformtour.cpp): the card's four hints; those and the
    // three at the film buttons after a new database; the lock button's hint.
    void CardTour();
    void NewDatabaseTour();
    void LockButtonHint();
    void recordChanged();
    bool mediumEmpty() const;
    // The key the shown medium's films are stored under; false while a new
    // medium is entered (it has none yet).
    bool filmsKey(QString &kind, int &nr) const;
    bool mediaBrowsing() const;
    QString currentKind() const;
    QString shownKind() const;
    int currentNr() const;
    bool m_shown = false;
    bool m_programWrites = false;   // values the program itself writes
    bool m_inDataChange = false;
    QMap<QString, QPixmap> m_notesPictures;
    QPixmap m_stripActive, m_stripNormal;
    QFont m_slotFont;
    engine::Subscriptions m_events; // the window's own data-set handlers, dropped first
};

extern TMainform *Mainform;
