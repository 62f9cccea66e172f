#include "windows/queries/dqbe.h"

#include "data/database.h"
#include "engine/engineerror.h"
#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"
#include "kit/help.h"
#include "kit/msgboxmetal.h"
#include "kit/ozocheck.h"
#include "kit/presenter.h"
#include "windows/queries/dabfragedef.h"
#include "windows/dialogs/dialogparts.h"
#include "windows/queries/dquerykind.h"
#include "query/storedquery.h"
#include "windows/queries/queryform.h"

#include <QHeaderView>
#include <QTableWidget>

TDQBE *DQBE = nullptr;

namespace {
constexpr int hcQbe = 63;

// The fields as the table file stores them; the open cursor's when the
// file cannot be read (its calculated fields left out).
QStringList tableFields(engine::Table *t)
{
    if (!t)
        return {};
    QStringList out;
    try {
        const engine::TableDef def = engine::readTableDef(engine::Session::instance(), t->tableName());
        for (const engine::FieldDef &f : def.fields)
            out << f.name;
        return out;
    } catch (const engine::EngineError &) {
    }
    if (t->active())
        for (const QString &f : t->fieldNames())
            if (!f.startsWith(QLatin1Char('b')))
                out << f;
    return out;
}

QTableWidgetItem *fixedItem(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(Qt::ItemIsEnabled);
    item->setBackground(QColor(0xC0, 0xC0, 0xC0));
    return item;
}
} // namespace

TDQBE::TDQBE(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("DQBE"));
    BorderStyle = bsSizeable;
    resize(800, 360);
    StringGrid1 = new QTableWidget(this);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setGeometry(8, 8, 744, 270);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->horizontalHeader()->setSectionsMovable(true);
    StringGrid1->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    connect(StringGrid1, &QTableWidget::cellClicked, this, [this](int row, int col) { StringGrid1Click(col, row); });
    connect(StringGrid1, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int col) { StringGrid1DblClick(col, row); });
    connect(StringGrid1, &QTableWidget::cellChanged, this, [this](int row, int col) { cellEdited(row, col); });
    ChkGKS = MakeDialogCheck(this, QStringLiteral("ChkGKS"),
                             QStringLiteral("Groß-/Kleinschreibung bei Suchbegriffen beachten!"),
                             QRect(8, 286, 400, 20));
    ChkGKS->OnStateChange = [this](QObject *) { Grid.caseSensitive = ChkGKS->Checked(); };
    const int y = 318;
    BtnNeueZeile = MakeDialogButton(this, "BtnNeueZeile", ibkOther, QRect(8, y, 90, 28), QStringLiteral("Neue &Zeile"));
    BtnReset = MakeDialogButton(this, "BtnReset", ibkOther, QRect(104, y, 70, 28), QStringLiteral("&Reset"));
    BitBtnHelp = MakeDialogButton(this, "BitBtnHelp", ibkHelp, QRect(180, y, 70, 28), QStringLiteral("Hilfe"));
    BitBtnEdit = MakeDialogButton(this, "BitBtnEdit", ibkOther, QRect(346, y, 220, 28),
                                  QStringLiteral("Abfragetext (SQL) &bearbeiten..."));
    BitBtnOK = MakeDialogButton(this, "BitBtnOK", ibkOK, QRect(572, y, 86, 28), QStringLiteral("OK"));
    BitBtnCancel = MakeDialogButton(this, "BitBtnCancel", ibkCancel, QRect(664, y, 88, 28), QStringLiteral("Abbruch"));
    connect(BtnNeueZeile, &QPushButton::clicked, this, [this] { BtnNeueZeileClick(); });
    connect(BtnReset, &QPushButton::clicked, this, [this] { BtnResetClick(); });
    connect(BitBtnHelp, &QPushButton::clicked, this, [] { kit::showHelp(hcQbe); });
    connect(BitBtnOK, &QPushButton::clicked, this, [this] { closeWith(mrOk); });
    connect(BitBtnEdit, &QPushButton::clicked, this, [this] { closeWith(mrQbeEdit); });
    connect(BitBtnCancel, &QPushButton::clicked, this, [this] { done(mrCancel); });
    Create();
    SetCaption(QStringLiteral("Abfrage tabellarisch definieren"));
}

TDQBE::~TDQBE()
{
    if (DQBE == this)
        DQBE = nullptr;
}

void TDQBE::SetSource(int source)
{
    Grid = query::NewQbeGrid(source, query::QbeFields(source, tableFields(DBTables.Table1),
                                                      tableFields(DBTables.Table2), tableFields(DBTables.PersTable)));
    Grid.caseSensitive = ChkGKS->Checked();
    ShowGrid();
}

void TDQBE::ShowGrid()
{
    m_showing = true;
    StringGrid1->clear();
    StringGrid1->setColumnCount(int(Grid.fields.size()) + 1);
    StringGrid1->setRowCount(Grid.rowCount() + 2);
    StringGrid1->setColumnWidth(0, 55);
    StringGrid1->setItem(0, 0, fixedItem(QString()));
    StringGrid1->setItem(1, 0, fixedItem(Grid.aggregate ? QStringLiteral("Aggreg.") : QStringLiteral("Auswahl")));
    for (int r = 0; r < Grid.rowCount(); ++r)
        StringGrid1->setItem(r + 2, 0, fixedItem(Grid.rowOps.value(r)));
    for (int c = 0; c < Grid.fields.size(); ++c) {
        StringGrid1->setItem(0, c + 1, fixedItem(Grid.fields[c]));
        StringGrid1->setItem(1, c + 1, new QTableWidgetItem(Grid.selection.value(c)));
        for (int r = 0; r < Grid.rowCount(); ++r)
            StringGrid1->setItem(r + 2, c + 1, new QTableWidgetItem(Grid.rows[r].value(c)));
    }
    m_showing = false;
}

void TDQBE::cellEdited(int row, int col)
{
    if (m_showing || col < 1 || row < 1)
        return;
    const QString text = StringGrid1->item(row, col) ? StringGrid1->item(row, col)->text() : QString();
    if (row == 1)
        Grid.selection[col - 1] = text;
    else if (row - 2 < Grid.rowCount())
        Grid.rows[row - 2][col - 1] = text;
}

void TDQBE::StringGrid1Click(int col, int row)
{
    if (col != 0 || row < 1)
        return;
    if (row == 1)
        query::ToggleQbeMode(Grid);
    else
        Grid.rowOps[row - 2] = query::NextRowOperator(row - 2, Grid.rowOps.value(row - 2));
    ShowGrid();
}

void TDQBE::StringGrid1DblClick(int col, int row)
{
    if (col < 1 || row < 1 || col > Grid.fields.size())
        return;
    const query::QbeColumnKind kind = query::QbeKindOf(Grid.fields[col - 1]);
    if (row == 1)
        Grid.selection[col - 1] = query::NextSelectionValue(Grid.selection[col - 1], Grid.aggregate, kind);
    else
        Grid.rows[row - 2][col - 1] = query::NextCriteriaValue(Grid.rows[row - 2][col - 1], kind);
    ShowGrid();
}

void TDQBE::BtnNeueZeileClick()
{
    query::AddQbeRow(Grid);
    ShowGrid();
}

void TDQBE::BtnResetClick()
{
    const int source = AskQueryKind(this);
    if (source != query::qsNone)
        SetSource(source);
}

QStringList TDQBE::BuildStatement(bool usePaths)
{
    const query::QbeStatement st =
        query::BuildQBESelect(Grid, usePaths, TQueryForm::Tables(), TQueryForm::CategoryNames());
    for (const QString &m : st.messages)
        ShowMetalMessage(QStringLiteral("Fehler"), m);
    return st.ok ? st.lines : QStringList();
}

void TDQBE::closeWith(TModalResult r)
{
    // Nothing selected: say so here and let the user mend the grid.
    bool any = false;
    for (const QString &s : Grid.selection)
        any = any || !s.trimmed().isEmpty();
    if (!any) {
        ShowMetalMessage(QStringLiteral("Fehler"),
                         QStringLiteral("In der Auswahlzeile ist \\Bkeine Spalte\\b ausgewählt.\\lbMarkieren Sie "
                                        "mindestens eine Spalte (Doppelklick in die Zeile \"Auswahl\")."));
        return;
    }
    done(r);
}

void ExecQBE(QWidget *owner)
{
    if (!DQBE) {
        const int source = AskQueryKind(owner);
        if (source == query::qsNone)
            return;
        DQBE = CreateForm<TDQBE>(owner ? owner->window() : nullptr);
        DQBE->SetSource(source);
    }
    const TModalResult r = ExecMetalModal(*DQBE);
    if (r == mrOk) {
        const QStringList lines = DQBE->BuildStatement(true);
        if (!lines.isEmpty())
            ShowStatementResult(lines, owner);
    } else if (r == mrQbeEdit) {
        const QStringList lines = DQBE->BuildStatement(false);
        if (lines.isEmpty())
            return;
        TDAbfrageDef *editor = EnsureAbfrageDef(owner, false);
        editor->SetLines(lines);
        ExecQueryDefinition(false, QString(), owner);
        FreeAbfrageDef();
    }
}
