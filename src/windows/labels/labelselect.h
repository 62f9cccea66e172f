// "Druck-Auswahl": the label of the current medium printed at once, or media
// collected on a list ("Sammel-Liste") until a sheet is full and then
// printed onto one sheet from a chosen start label; the printed media get
// their "Etikett gedruckt" flag as the stored mode says.
#pragma once

#include "data/maindatasets.h"
#include "kit/oberformmetal.h"
#include "print/labelcollection.h"

#include <functional>
#include <memory>

class QListWidget;
class TOzoNewButton;
namespace dbui { class DataSource; }
namespace engine { class DataSet; class Query; class Table; }

// What the window works on: the main window's data sets and film table.
struct TLabelSelectContext
{
    MainDataSets sets;     // sets.Table1: the media table of the card
    QString filmTablePath;
    std::function<void()> showMainWindow; // brings the card to the front
};

class TDDrckSelect : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDDrckSelect(const TLabelSelectContext &ctx, QWidget *parent = nullptr);
    ~TDDrckSelect() override;

    QListWidget *ListBox1; // the collection list
    TOzoNewButton *BtnSofort, *BtnSpaeter, *BtnShowCard, *BtnShowList, *BtnRemove, *BtnClear, *BtnFindNotPrinted,
        *BtnKind, *BtnPrintList, *BtnClose;
    std::unique_ptr<engine::Query> Query1; // the listed media
    dbui::DataSource *DataSource1;

    const QList<TLabelCollectionItem> &Items() const { return m_items; }
    void SetContext(const TLabelSelectContext &ctx) { m_ctx = ctx; }
    // Adds the data set's current medium (number from "Nr", else "KassNr")
    // while the list holds fewer than a sheet's labels; true when added.
    bool AddToLabelCollection(engine::DataSet &ds);
    // Adds one medium while the list holds fewer than a sheet's labels.
    bool AddItem(const TLabelCollectionItem &item);
    void ClearList();
    void RemoveSelected();
    void RebuildQuery();
    void UpdateButtons();

    void SofortClick();
    void SpaeterClick();
    void ShowCardClick();
    void ShowListClick();
    void PrintListClick();
    void KindClick();

    void FormActivate() override;

private:
    // A DVD on a built-in kind switches to the spine label.
    void switchDvdToSpine();
    TLabelSelectContext m_ctx;
    QList<TLabelCollectionItem> m_items;
};

extern TDDrckSelect *DDrckSelect;
// The main window's data sets for the window (empty without a main window).
TLabelSelectContext MainformLabelContext();
// Lets the table view's "In Sammelliste" fill this window's list.
void ConnectTableViewLabelCollection();
// "&Etikettenliste": the label list over every medium of the card.
void ShowAllMediaLabelList(QWidget *owner = nullptr);
// The one print selection window (created on first use), shown beside the
// main window on its first show.
TDDrckSelect *ShowPrintSelection(const TLabelSelectContext &ctx, QWidget *owner = nullptr);
// The window, created hidden when there is none.
TDDrckSelect *EnsurePrintSelection(const TLabelSelectContext &ctx, QWidget *owner = nullptr);

class TQueryForm;
// The query window's label entries: the collection from the selected rows
// and the label list of the result.
void HookQueryLabelCommands(TQueryForm &form);
void ShowQueryLabelList(TQueryForm &form);

// "&Etikettendruck: In Sammelliste einfügen" of the query window: the rows
// (0-based, in selection order) of the result go onto the collection list.
void AddRowsToLabelCollection(engine::DataSet &result, const QList<int> &rows, const TLabelSelectContext &ctx,
                              QWidget *owner = nullptr);
