// The list window: a data set as a list of one- or two-line rows, each
// drawn with the list printing's row layout. A film list is always
// single-line. The rows follow the data set's cursor; a click, the wheel
// and the keys move it.
#pragma once

#include "kit/oberformmetal.h"

#include <QPointer>

class QAction;
class QMenu;
class TPZSpeedButton;
namespace dbui { class DataSource; class DbNavigator; }
namespace engine { class DataSet; }

class TWListe;

// The panel that shows the rows.
class TListRowPanel : public QWidget
{
    Q_OBJECT
public:
    explicit TListRowPanel(TWListe &owner, QWidget *parent);
    int TopRow() const { return m_top; }
    // The first shown row follows the current one.
    void FollowCursor();

protected:
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void wheelEvent(QWheelEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    TWListe &m_owner;
    int m_top = 0;
};

class TWListe : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TWListe(QWidget *parent = nullptr);
    ~TWListe() override;

    TPZSpeedButton *SpBMenu, *SpBTable, *SpBCard, *SpBPrint, *SpBExport, *SpBSettings, *SpBClose;
    QMenu *PopupMenu1, *PopupSort;
    QAction *MenPrintAll, *MenPrintThis, *MenPrintCursor, *MenExport, *MenSettings, *MenTwoLines, *MenTable, *MenCard,
        *MenSortieren, *MenSortTitel, *MenSortKateg, *MenSortNummern, *MenClose;
    TListRowPanel *PanelRows;
    dbui::DbNavigator *DBNavigator1;

    // The data source, the standard flag (the database's own table rather
    // than a query result) and the film flag.
    void Setup(dbui::DataSource *source, bool standard, bool films);
    engine::DataSet *DataSet() const;
    bool FilmList() const { return m_films; }
    bool StandardList() const { return m_standard; }
    bool TwoLines() const { return m_twoLines && !m_films; }
    void SetTwoLines(bool on);
    // One line 18 pixels, two lines 35.
    int RowHeight() const { return TwoLines() ? 35 : 18; }
    int RowsPerPage() const;
    void SyncSortChecks(int which);

    void PrintClick(bool fromStart);
    void ExportClick();
    void TableClick();
    void CardClick();

    void FormResize() override;
    void FormClose(TCloseAction &action) override;

private:
    void updateCaption();
    QPointer<dbui::DataSource> m_source;
    bool m_standard = true, m_films = false, m_twoLines = false;
};

extern TWListe *WListe;

// Opens the list window on a data source, or reuses the shown one.
TWListe *ShowListWindow(dbui::DataSource *source, bool standard, bool films);
