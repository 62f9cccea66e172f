// The category windows: the picker "Kategorien" (TDKateg), the editor
// "Kategorien festlegen" (TDKatSymb), the symbol file picker "Symboldatei"
// (TDSymbolOpen) and the search "Kategorie-Suche" (TDFindKat).
#pragma once

#include "data/categories.h"
#include "kit/oberformmetal.h"

#include <memory>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QTableWidget;
class TOzoNewButton;

class TDKateg : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDKateg(QWidget *parent = nullptr);

    // Refills the radio group from CategoryTable: one item per named category.
    void RefreshCategoryPicker();
    // The chosen code character ('\0' when none).
    QChar Code() const;
    void SetCode(QChar code);

    QGroupBox *RadioGroup1; // "Kategorie"
    TOzoNewButton *BitBtnEdit, *BitBtnOK;

private:
    QButtonGroup *FGroup;
};

class TDKatSymb : public tOzoFormMetal
{
    Q_OBJECT
public:
    // films: the film table the codes are changed in; media: for the printed
    // flags (both may be null: then nothing is recoded).
    TDKatSymb(engine::Table *films, engine::Table *media, QWidget *parent = nullptr);

    QTableWidget *StringGrid1;
    TOzoNewButton *BtnRename, *BtnSymbol, *BtnFont, *BtnNoFont, *BtnUp, *BtnDown, *BtnSort, *BtnFertig;

    void BtnRenameClick();
    void BtnSymbolClick();
    void BtnFontClick();
    void BtnNoFontClick();
    void BtnUpClick();
    void BtnDownClick();
    void BtnSortClick();
    int Row() const; // the selected category, 1..62

    void RedrawGrid();

private:
    void UpdateButtons();
    void MoveRow(bool up);
    engine::Table *FFilms, *FMedia;
    TCategoryReorder FReorder;
};

class TDSymbolOpen : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDSymbolOpen(bool footer, QWidget *parent = nullptr);

    void SetSymbol(const QString &stored);
    QString Symbol() const { return FSymbol; }
    void BtnOpenClick();
    void BtnNoneClick();

    QLabel *Image1;    // the picture, or the note instead of it
    TOzoNewButton *BtnOpen, *BtnNone, *BitBtnOK, *BitBtnCancel;

private:
    bool FFooter;
    QString FSymbol;
};

class TDFindKat : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDFindKat(QWidget *parent = nullptr);

    QLabel *Label1, *Label2;
    QComboBox *ComboBox1;
    TOzoNewButton *BitBtnOK, *BitBtnCancel;
};

// The symbol of a category or of the labels' footer (footer mode); true on OK
// with symbol changed to the choice.
bool ExecSymbolOpen(QString &symbol, bool footer);
// "&Kategorien definieren": the editor over the open database's film and
// media tables (DBTables.FilmTable or Table2, Table1), then "KAT" is saved.
// Needs an open database (DBBase).
void ExecCategoryEditor(QWidget *owner = nullptr);
// The picker for a code (the film card's category); true on OK.
bool ExecCategoryPicker(QChar &code, QWidget *owner = nullptr);
// "&Kategorie-Suche...": the category the user named (1..62), or 0. Showing
// its films is the query window's.
int ExecFindCategory(QWidget *owner = nullptr);
// The statement that lists the films of category n (for the query window).
QStringList CategorySearchSql(const QString &filmTablePath, int n);
