// The quick search of the main window: the search field in the tool bar,
// the four search queries, and the result panel with its three lists that
// opens below the tool bar when a search finds several records.
#pragma once

#include "query/quicksearch.h"

#include <QObject>

#include <array>
#include <memory>

namespace engine {
class Query;
}
namespace dbui {
class DataSource;
class DbGrid;
}
class QLabel;
class QLineEdit;
class QWidget;
class TMainform;
class TPZSpeedButton;

class TMainQuickSearch : public QObject
{
    Q_OBJECT
public:
    explicit TMainQuickSearch(TMainform *form);
    ~TMainQuickSearch() override;

    QLabel *LabSchnellSuche;
    QLineEdit *EditSchnellsuche;
    QWidget *PanelExpanded;
    TPZSpeedButton *SpBExpDetails, *SpBShrink;
    // Films, media, persons.
    std::array<QWidget *, 3> Panels;     // PanelSSFilm, PanelSSKass, PanelSSPers
    std::array<QLabel *, 3> PanelTops;   // PanelSSFilmTop, ...
    std::array<dbui::DbGrid *, 3> Grids; // DBGridSSFilm, ...
    std::unique_ptr<engine::Query> QuerySSFilm, QuerySSFilmDetail, QuerySSKass, QuerySSPers;
    std::array<dbui::DataSource *, 3> Sources;
    QLabel *KassCursor;

    int Mode = 0;
    query::QuickSearchParams Params;
    // What the last search led to.
    query::QuickSearchRoute LastRoute = query::QuickSearchRoute::Nothing;

    void QuickSearch(const QString &text);
    void SetQuickSearchMode(int mode);
    void MarkFilmSlot(int slot);
    void ShowCurrentFilmMarker();
    // A click (or Enter) on a row of list 0..2.
    void RowClick(int list);
    void RowDblClick(int list);
    void SpBExpDetailsClick();

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void gotoFilm(const QString &kind, int kassNr, int filmNr);
    void gotoPerson(const QString &name);
    void layoutPanel();
    TMainform *m_form;
    int m_grown = 0;
};
