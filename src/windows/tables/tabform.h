// The table view: the media, film and person tables as grids on three tabs,
// on the data sets of the medium card, the film card and the person card,
// so moving in a grid moves the cards. Columns hide, show and move; the
// layout is kept in the settings (windows/tables/columnlayouts.h).
#pragma once

#include "kit/oberformmetal.h"
#include "windows/tables/columnlayouts.h"

#include <QPair>
#include <functional>

class QAction;
class QMenu;
class QTabBar;
class QTimer;
class TPZSpeedButton;
namespace dbui { class DataSource; class DbGrid; class DbNavigator; }
namespace engine { class DataSet; }

class TTabForm : public tOzoFormMetal
{
    Q_OBJECT
public:
    enum Page { PageMedia = 0, PageFilms = 1, PagePersons = 2 };

    explicit TTabForm(QWidget *parent = nullptr);
    ~TTabForm() override;

    QTabBar *TabSet1;
    dbui::DbGrid *DBGrid1, *DBGrid2, *DBGrid3; // media, films, persons
    dbui::DataSource *DataSourceK, *DataSourceF, *DataSourceP;
    dbui::DbNavigator *DBNavigator1;
    TPZSpeedButton *SpBMenu, *SpBEdit, *SpBCard, *SpBPrint, *SpBList, *SpBLabelList, *SpBExport, *SpBShowAll,
        *SpBStandard, *SpBClose;
    QMenu *PopupMenu1, *PopupSort;
    QAction *MenEditieren, *MenKarte, *MenSuche, *MenVorschau, *MenPrintAll, *MenPrintCursor, *MenPagePrint,
        *MenSammelliste, *MenListe, *MenEtikettenliste, *MenExport, *MenShowAll, *MenStandard, *MenSortieren,
        *MenSortTitel, *MenSortKateg, *MenSortNummern, *MenSchliessen;
    QWidget *PanelColTools;
    TPZSpeedButton *SpBColLeft, *SpBColHide, *SpBColRight;
    QTimer *Timer1;

    int ActivePage() const;
    void SetActivePage(int page);
    dbui::DbGrid *ActiveGrid() const;
    dbui::DbGrid *Grid(TLayoutGrid which) const;

    void FormShow() override;
    void FormActivate() override;
    void FormDeactivate() override;

    // Stores the main window's film list layout (unless layouts are stored
    // already) and those of the three grids, then saves the settings.
    void StoreAllLayouts();
    void ApplyColumnLayouts();

    void TabSet1Change(int page);
    void SetEditMode(bool on);
    void HideSelectedColumn();
    void ShowNeighbourColumn(int step);
    void ShowAllColumns();
    void StandardClick();
    void SortClick(int which); // 0 title, 1 category, 2 numbers
    void CardClick();
    void PrintClick(bool fromStart);
    void ListClick();
    void ExportClick();
    void AddToLabelCollectionClick();
    void PlaceColumnTools();
    // Shifts the stored widths after the user dragged a column.
    void ColumnMoved(TLayoutGrid which, int from, int to);

private:
    void buildGrids();
    void updateCommands();
    TLayoutGrid activeLayout() const;
    bool m_resetting = false; // "Standard": the old view must not store
};

extern TTabForm *TabForm;


// "&Tabellen" › "&Medientabelle" / "&Filmtabelle" / "&Personentabelle":
// shows the table view on that page (created on first use).
TTabForm *ShowTableView(int page);
// The main window hides its film list: its layout is stored (and saved once
// layouts are stored; else all layouts are stored first).
void StoreMainGridLayout();

// The label collection list as the table view fills it; the entry stays
// disabled until the list sets add.
struct TLabelCollectionDoor
{
    std::function<int()> count;          // entries now in the list
    std::function<void()> clear;
    std::function<void(const QString &kind, int nr)> add;
    std::function<int()> labelsPerSheet; // of the current label format
};
TLabelCollectionDoor &LabelCollectionDoor();
// Adds the media to the list with the hint and the question of the table
// view; false when nothing was added.
bool AddMediaToLabelCollection(const QList<QPair<QString, int>> &media);
