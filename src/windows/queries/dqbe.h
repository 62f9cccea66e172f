// "Abfrage tabellarisch definieren": query by example. One column per
// field of the chosen source, a selection row (shown, sorted or
// aggregated columns) and criteria rows; the statement is run in the query
// window or handed to the statement editor. The dialog is kept with its
// grid between uses.
#pragma once

#include "kit/oberformmetal.h"
#include "query/qbe.h"

class QTableWidget;
class TOzoCheck;
class TOzoNewButton;

constexpr TModalResult mrQbeEdit = 5; // "Abfragetext (SQL) bearbeiten..."

class TDQBE : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDQBE(QWidget *parent = nullptr);
    ~TDQBE() override;

    QTableWidget *StringGrid1;
    TOzoCheck *ChkGKS;
    TOzoNewButton *BtnNeueZeile, *BtnReset, *BitBtnOK, *BitBtnEdit, *BitBtnCancel, *BitBtnHelp;

    // The grid's content as plain values.
    query::TQbeGrid Grid;

    // Builds a new grid for the source (1..4) from the open database's tables.
    void SetSource(int source);
    // Shows Grid in StringGrid1.
    void ShowGrid();
    // The statement (paths for running, table words for the editor); every
    // message is shown. Empty when it was refused.
    QStringList BuildStatement(bool usePaths);

    void StringGrid1Click(int col, int row);
    void StringGrid1DblClick(int col, int row);
    void BtnNeueZeileClick();
    void BtnResetClick();

private:
    void cellEdited(int row, int col);
    void closeWith(TModalResult r);
    bool m_showing = false;
};

extern TDQBE *DQBE;

// "Abfrage definieren (tabellarisch)...".
void ExecQBE(QWidget *owner = nullptr);
