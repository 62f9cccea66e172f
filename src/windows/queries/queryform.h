// The query window: the result of a local-SQL statement over the open
// database's tables in a grid, with go-to, export, charts, column hiding and
// edit mode for one-table results. One window for every query; a new query
// replaces the text of the one window and opens it again.
#pragma once

#include "kit/oberformmetal.h"
#include "query/chartdata.h"
#include "query/querytext.h"
#include "query/resultrules.h"

#include <QStringList>

#include <array>
#include <memory>

namespace engine {
class Query;
}
namespace dbui {
class DataSource;
class DbGrid;
class DbNavigator;
}
class QAction;
class QMenu;
class QTimer;
class TPZSpeedButton;

class TQueryForm : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TQueryForm(QWidget *parent = nullptr);
    ~TQueryForm() override;

    std::unique_ptr<engine::Query> Query1;
    dbui::DataSource *DataSource2;
    dbui::DbGrid *DBGrid1;
    dbui::DbNavigator *DBNavigator1;

    TPZSpeedButton *SpBGoto, *SpBPrint, *SpBExport, *SpBLists, *SpBPie, *SpBBar, *SpBLine, *SpBEdit,
        *SpBClose, *SpBMenu;
    TPZSpeedButton *SpBHideCol, *SpBShowLeft, *SpBShowRight;
    QTimer *TimerColButtons;
    QMenu *PopupMenu1;
    QAction *MenGoto, *MenPrintMedia, *MenPrintFilms, *MenPagePrint, *MenAddToCollection, *MenPrintPersons,
        *MenPrint, *MenExport, *MenMediaList, *MenFilmList, *MenLabelList, *MenPie, *MenBar, *MenLine,
        *MenEditieren, *MenSchliessen;

    // The state after the last open.
    query::ResultCommands Commands;
    query::ChartPlan Chart;
    QList<query::TColInfo> ColInfo;
    QString LastMediumKind;

    // Prepares the SQL text in Query1 (macros, parameters), opens it and
    // shows the window. False when nothing was opened.
    bool RunQuery();
    // Replaces the text and opens it without the macro step (canned queries).
    bool OpenLines(const QStringList &lines);
    // The table words' paths and the category names of the open database.
    static query::QueryTables Tables();
    static QStringList CategoryNames();

    void AfterOpen();
    // The free-field captions on the result's fields: film and person
    // captions after each open, the medium captions of the current row's kind.
    void ApplyResultCaptions();
    void ApplyRowMediumCaptions();
    void UpdateChartButtons();
    void SpBGotoClick();
    void SpBExportClick();
    void ChartClick(query::ChartKind kind);
    void SetEditMode(bool on);
    void HideSelectedColumn();
    void ShowNeighbourColumn(int step);
    void PlaceColumnButtons();
    void DBGrid1DblClick();

    void FormShow() override;
    void FormActivate() override;
    void FormResize() override;
    void FormClose(TCloseAction &action) override;

protected:
    void keyPressEvent(QKeyEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool askParams();
    bool openQuery();
    void showError(const QString &message);
    QStringList shownFields() const;
};

extern TQueryForm *QueryForm;

// The one query window, created when there is none.
TQueryForm *EnsureQueryForm(QWidget *owner = nullptr);

// ---- entries of the menus and of other windows ----------------------------------

// "Abfrage definieren (S&QL)...": the statement editor, then the statement
// runs (OK) or is executed as DML (after the warning).
void ExecSqlQueryWindow(QWidget *owner);
// fromFile false: the statement editor, then its statement runs (OK) or is
// executed as DML (after the warning). fromFile true: the stored statement
// file runs (an empty name is asked for).
void ExecQueryDefinition(bool fromFile, const QString &fileName, QWidget *owner = nullptr);
// Any statement in the query window: macros, parameter dialog, open.
void ExecQueryStatement(const QStringList &lines, QWidget *owner = nullptr);
// Any statement with its parameter values (the quick search's details).
void ShowQueryResult(const QStringList &lines, const QList<QPair<QString, QVariant>> &params,
                     QWidget *owner = nullptr);
// Runs a DML statement unchanged; every table is closed meanwhile and opened
// again on every way out. False with a German message when it failed.
bool ExecDmlStatement(const QStringList &lines);

// A finished statement with table paths (query by example): opened as it
// stands, without the macro step and the parameter dialog.
void ShowStatementResult(const QStringList &lines, QWidget *owner = nullptr);

// The canned queries.
void ShowCategoryQuery(int category, QWidget *owner = nullptr);
void ShowRatingQuery(bool atLeast, int rating, const QString &order, QWidget *owner = nullptr);
void ShowNotPrintedQuery(const std::array<bool, 4> &kinds, QWidget *owner = nullptr);
void ShowLendingQuery(bool byLendDate, bool byReturnDate, bool showFirst, const QString &text,
                      QWidget *owner = nullptr);
void ShowReminderList(bool showFirst, QWidget *owner = nullptr);
// The full-text film search: fields Titel, Untertitel, Free1..Free15.
void QueryFilmSearch(const QString &term, const std::array<bool, 17> &fields, bool caseSensitive, bool memo,
                     QWidget *owner = nullptr);
