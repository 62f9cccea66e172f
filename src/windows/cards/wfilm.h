// The film card: one film of the film table with its title, subtitle,
// playing time, recording flags, rating, sound, category, the fifteen free
// fields, the memo and the picture. It checks titles for duplicates, matches
// person fields against the person card file, protects the last film and
// offers to clear a printed label after a change that shows on it.
#pragma once

#include "engine/signal.h"

#include "kit/oberformmetal.h"

#include <array>

namespace engine {
class DataSet;
class Field;
class Table;
}
namespace dbui {
class DataSource;
class DbComboBox;
class DbEdit;
class DbImage;
class DbMemo;
class DbNavigator;
}
class QComboBox;
class QLabel;
class QMenu;
class QTabBar;
class TDragDropFiles;
class TFreeFieldTypeAhead;
struct TFreeFieldLinkTarget;
class TLockButton;
class TOzoDBCheck;
class TOzoNewButton;
class TPZLabel;
class TPZSpeedButton;

class TWFilm : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TWFilm(QWidget *parent = nullptr);
    ~TWFilm() override;

    // The film table the card shows, the person table its person fields
    // look into and the media table whose label flag it may clear.
    void SetTables(engine::Table *films, engine::Table *persons, engine::Table *media);
    engine::Table *Table1 = nullptr;
    engine::Table *PersTable = nullptr;
    engine::Table *MediaTable = nullptr;
    dbui::DataSource *DataSource1;

    // ---- components -------------------------------------------------------------
    TPZLabel *PZLabelKrtB, *PZLabelAnh;
    TLockButton *LockButton1;
    dbui::DbNavigator *DBNavigator1;
    dbui::DbComboBox *DBETitel, *DBESub;
    dbui::DbEdit *DBELen;
    TOzoNewButton *ButtLen;
    TOzoDBCheck *DBChkLP, *DbChkmW, *DBChkWide, *DBChkSW, *DBChkFrei;
    QComboBox *ComboBoxWertung, *ComboBoxTon, *ComboBoxKateg;
    QLabel *ImageTon, *ImageKateg;
    TOzoNewButton *ButtKateg;    // "Kategorien bearbeiten..."
    TPZSpeedButton *SpBTitelDoppelt, *SpBExp, *SpBWeb;
    TOzoNewButton *ButtShowMedium; // "Zeige Medium..."
    QTabBar *TabSet1;
    QWidget *PanelFree, *PanelMemo, *PanelGrafik;
    std::array<QLabel *, 15> LabelF;          // the captions
    std::array<dbui::DbComboBox *, 15> DBEF;  // value drop-downs
    std::array<dbui::DbEdit *, 15> DBEFL;     // file-name edits of the file-link fields
    std::array<TPZSpeedButton *, 15> ButtF;
    std::array<TDragDropFiles *, 15> DragDropFiles; // drop targets and drag sources of the edits
    dbui::DbMemo *DBMemo;
    dbui::DbImage *DBImage1;
    QMenu *PopupGrafik;
    QAction *Einfgen1, *Kopieren1, *Ausschneiden1, *GrafikLaden1, *GrafikFenster1;

    // ---- window state -----------------------------------------------------------
    bool LabelChanged = false;
    bool MemoWasEmpty = true, NoAnhData = true;
    std::array<QString, 15> OldPersonName;
    std::array<QString, 15> DeclinedPersonName; // no card wanted for it, asked on leaving the field
    bool NewPersonRequested = false;
    QString NewPersonName; // the first person card started by the last post
    bool TitleListOpen = false, SubListOpen = false;
    QString DelKind;
    int DelNr = 0;
    bool AnhLastActive = false;

    // ---- interfaces --------------------------------------------------------------
    void UpdateFilmWindowCaption();
    bool IsFilmUnique();
    void CopyFilmDataFromExisting();
    // Shows the film of the key (the film table moves to it).
    bool ShowFilm(const QString &kind, int kassNr, int filmNr);
    // Follows the write lock of the main window.
    void SyncLock(bool editing);

    // ---- handlers -----------------------------------------------------------------
    void Table1BeforePost(engine::DataSet &ds);
    void Table1AfterPost(engine::DataSet &ds);
    void Table1BeforeEdit(engine::DataSet &ds);
    void Table1AfterInsert(engine::DataSet &ds);
    void Table1BeforeDelete(engine::DataSet &ds);
    void Table1AfterDelete(engine::DataSet &ds);
    void DataSource1DataChange(engine::Field *field);
    void DBETitelDropDown();
    void DBETitelPicked();
    void DBESubPicked();
    void TitleExit();
    void SpBTitelDoppeltClick();
    void ComboBoxTonChange(int index);
    void ComboBoxWertungChange(int index);
    void ComboBoxKategChange(int index);
    void ButtLenClick();
    void PersonFieldDropDown(int nr);
    void PersonFieldExit(int nr);
    void TabSet1Change(int index);
    // The free fields: value lists, the menu of a link field, type-ahead;
    // the person fields link to the person card.
    void FreeFieldDropDown(int nr);
    void FreeFieldButtonClick(int nr);
    // Shows the caption of field nr and its drop-down or, for a file link,
    // its file-name edit with the button.
    void ShowFreeField(int nr);
    void FreeFieldCaptionClick(int nr);
    void PersonFieldDblClick(int nr);
    void ShowPersonWindow(const QString &name);
    // The memo window below the card and the picture window beside it.
    void SpBExpClick();
    void ShowMemoWindow();
    void TitleTooLong();
    TPZSpeedButton *SpBPrint;
    QMenu *PopupPrint;
    QAction *AnhangKarte1, *A4Seite1, *AnhangExport1;
    TFreeFieldTypeAhead *TypeAhead;
    void FormClose(TCloseAction &action) override;
    void FormDeactivate() override;
    void ShowInactiveCaption() override;
    void ShowActiveCaption() override;

    // What the main window supplies: the tape films of a medium and the
    // medium's length (for the playing-time dialog), after a post or delete.
    std::function<void()> OnFilmsChanged;
    // A new film of the shown film's medium ("+" and Ctrl+Insert).
    std::function<void()> OnNewFilm;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildCard();
    void buildAttachments();
    void wireFields();
    bool cardKey(QObject *watched, QKeyEvent *e);
    bool fieldEvent(QObject *watched, QEvent *event);
    void markArea(QWidget *now);
    int m_hoverField = 0;
    void refreshCombos();
    bool editable();
    bool toEdit();
    bool isPersonField(int nr) const;
    void askLabelPrinted(const QString &kind, int nr, const QString &text);
    void clearFreeLists();
    bool postPending();
    TFreeFieldLinkTarget linkTarget(int nr);
    bool m_loading = false;
    bool m_posting = false;
    bool m_askingPerson = false;
    int m_labelsId = -1;

private:
    // Declared last: the table's events are dropped before anything they reach.
    engine::Subscriptions m_events;
};

extern TWFilm *WFilm;
// The card, created on first use.
TWFilm *FilmCard();
// Fills a free field's drop-down, while it is empty, with the field's stored values.
void FillFreeFieldCombo(dbui::DbComboBox *combo, engine::Table *table, int nr);
// The sound symbol of a code, drawn as the label draws it.
QPixmap SoundSymbolPixmap(const QString &ton, const QSize &size);
