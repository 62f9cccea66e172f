// The medium attachment window "Medien-Anhang": the current medium of the
// main window with its kind and number, its five free fields under their
// captions and its memo. A plain borderless window with a dog-ear at the top
// right; every control is bound to the main window's media table, so the
// window always follows the medium shown there.
#pragma once

#include "engine/signal.h"
#include "windows/cards/memosearch.h"

#include <QPointer>
#include <QWidget>

#include <array>

namespace engine {
class DataSet;
class Table;
}
namespace dbui {
class DataSource;
class DbComboBox;
class DbEdit;
class DbMemo;
}
class QLabel;
class TDragDropFiles;
struct TFreeFieldLinkTarget;
class TFreeFieldTypeAhead;
class TLockButton;
class TOzoNewButton;
class TPZLabel;
class TPZSpeedButton;

// The collection folder proposed for a medium: kind + "-Nr" + number.
QString MediumCollectionFolderName(const QString &kind, const QString &nr);

class TWNotes : public QWidget
{
    Q_OBJECT
public:
    explicit TWNotes(QWidget *parent = nullptr);
    ~TWNotes() override;

    // The main window's media table and its data source; every control is
    // bound to it.
    void SetSource(engine::Table *media, dbui::DataSource *source);
    engine::Table *Table1 = nullptr;
    dbui::DataSource *DataSource1 = nullptr;

    // ---- components ---------------------------------------------------------------
    TPZLabel *PZLabel1;                // title line, drags the window
    TPZSpeedButton *SpBX;
    TLockButton *LockButton1;
    QLabel *ImgEselsohr;
    QLabel *LabelMedium, *LabelNr;
    dbui::DbEdit *DBEdit1, *DBENr;
    std::array<QLabel *, 5> Label;     // Label1..Label5, the captions
    std::array<dbui::DbComboBox *, 5> DBEF;
    std::array<dbui::DbEdit *, 5> DBEFL;
    std::array<TPZSpeedButton *, 5> ButtF;
    std::array<TDragDropFiles *, 5> DragDropFiles;
    QLabel *LabelMemo;
    dbui::DbMemo *DBMemo;
    TPZLabel *LabelMemoFind, *LabelMemoFindNext;
    TPZLabel *PZLabel2, *PZLabel3;     // print, export
    TPZSpeedButton *SpBPrint, *SpBExport;
    TOzoNewButton *CloseBtn, *HelpBtn;
    TFreeFieldTypeAhead *TypeAhead;    // holds TimerFree

    // ---- interfaces -----------------------------------------------------------------
    // Empties the value lists of the five drop-downs, so that they are built
    // again for the medium shown next.
    void ClearMediumFreeFieldLists();
    // Shows the captions and switches the controls of field nr.
    void ShowFreeField(int nr);
    // Follows the main window's write lock.
    void SyncLock();

    // ---- handlers --------------------------------------------------------------------
    void DBEFDropDown(int nr);
    void ButtFClick(int nr);
    void LabelClick(int nr);
    void LabelMemoFindClick();
    void LabelMemoFindNextClick();
    void DBMemoMouseDown();
    void DBMemoDblClick();
    void SpBExportClick();
    void CloseBtnClick();

    // The memo's search term and its current hit.
    TMemoSearch MemoSearch;
    bool TitleActive = false;

protected:
    void showEvent(QShowEvent *e) override;
    void changeEvent(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void build();
    void postPending();
    bool browsing() const;
    bool readOnly() const;
    void blinkLock();
    bool handleKey(QObject *watched, QKeyEvent *ke);
    void updateMemoFindLabels();
    void setTitleActive(bool on);
    int fieldOf(QObject *watched) const;
    TFreeFieldLinkTarget linkTarget(int nr);
    QPoint m_dragOffset;
    bool m_dragging = false;
    QImage m_skin;
    int m_labelsSubscription = -1;

public:
    // The media table's events the window follows; declared last, so they
    // are dropped before anything they reach.
    engine::Subscriptions Events;
};

extern TWNotes *WNotes;
// The window, created on first use.
TWNotes *NotesWindow();
// Posts a pending edit of the media table and shows the window (main window
// menus, the card's notes button, F6).
void ShowMediumNotes();
// Shows the window as it is (F6 in the film card).
void ShowMediumNotesWindow();
// The main window's part: F6, the notes button, the medium change.
class TMainform;
void HookNotesWindow(TMainform &form);
// Frees the window with the other record windows, before the tables it
// follows go.
void ReleaseNotesWindow();
