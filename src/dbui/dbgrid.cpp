#include "dbui/dbgrid.h"

#include "dbui/errorsink.h"
#include "engine/field.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStyle>
#include <QStyledItemDelegate>

#include <algorithm>

namespace dbui {

namespace {

// Cell editors take no more characters than the field holds.
class GridDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override
    {
        QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
        auto *model = qobject_cast<const GridModel *>(index.model());
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (model && line) {
            const engine::Field *f = model->fieldOfColumn(index.column());
            if (f && f->dataType() == engine::FieldType::String && f->size() > 0)
                line->setMaxLength(f->size());
        }
        return editor;
    }
};

} // namespace

DbGrid::DbGrid(QWidget *parent)
    : QTableView(parent)
    , m_model(new GridModel(this))
{
    setModel(m_model);
    setItemDelegate(new GridDelegate(this));
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setHighlightSections(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    verticalHeader()->setFixedWidth(fontMetrics().horizontalAdvance(QStringLiteral("\u25B6")) + 10);
    setWordWrap(false);
    connect(m_model, &GridModel::currentRowChanged, this, &DbGrid::followCursor);
    connect(m_model, &GridModel::columnsChanged, this, &DbGrid::applyColumns);
    connect(m_model, &GridModel::editRefused, this, &DbGrid::editRefused);
    connect(m_model, &QAbstractItemModel::modelReset, this, &DbGrid::applyColumns);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this, &DbGrid::onSectionMoved);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &DbGrid::onSectionResized);
    applySelectionMode();
    setReadOnly(false);
}

// ---- Columns ---------------------------------------------------------------

int DbGrid::defaultWidth(int col) const
{
    int chars = 10;
    if (const engine::Field *f = m_model->fieldOfColumn(col)) {
        chars = std::clamp(f->displayWidth(), 1, 40);
        if (f->dataType() == engine::FieldType::Date)
            chars = std::max(chars, 10); // "dd.mm.yyyy"
    }
    const QFontMetrics fm = fontMetrics();
    // Digits are wider than the average letter.
    const int perChar = std::max(fm.averageCharWidth(), fm.horizontalAdvance(QLatin1Char('0')));
    const int byData = chars * perChar;
    return std::max(byData + 8, headingWidth(m_model->columnTitle(col)));
}

int DbGrid::headingWidth(const QString &title) const
{
    return dbui::headingWidth(*horizontalHeader(), title);
}

int headingWidth(QHeaderView &header, const QString &title)
{
    // The header takes its own font when it is polished.
    header.ensurePolished();
    // The margins on both sides, the section's edge lines and a pixel each
    // side for the centred text's rounding.
    return header.fontMetrics().horizontalAdvance(title)
        + 2 * header.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &header) + 4;
}

void DbGrid::applyColumns()
{
    m_applying = true;
    for (int c = 0; c < m_model->columnCount(); ++c) {
        const GridColumn &col = m_model->column(c);
        if (!col.visible) {
            setColumnHidden(c, true);
            continue;
        }
        setColumnHidden(c, false);
        // A column narrower than 15 pixels is one the user keeps out of the
        // printout; any other shows its heading whole.
        const int width = col.width <= 0      ? defaultWidth(c)
                          : col.width < 15    ? col.width
                                              : std::max(col.width, headingWidth(m_model->columnTitle(c)));
        setColumnWidth(c, width);
    }
    m_applying = false;
}

int DbGrid::gridColumnWidth(int col) const
{
    if (col < 0 || col >= m_model->columnCount() || isColumnHidden(col))
        return 0;
    return columnWidth(col);
}

void DbGrid::setGridColumnWidth(int col, int width)
{
    if (col < 0 || col >= m_model->columnCount())
        return;
    if (width <= 0) {
        m_model->setColumnWidth(col, gridColumnWidth(col) > 0 ? gridColumnWidth(col) : m_model->column(col).width);
        m_model->setColumnVisible(col, false);
    } else {
        m_model->setColumnWidth(col, width);
        m_model->setColumnVisible(col, true);
    }
    applyColumns();
}

void DbGrid::onSectionResized(int logical, int, int newSize)
{
    if (m_applying || newSize <= 0)
        return;
    m_applying = true;
    m_model->setColumnWidth(logical, newSize);
    m_applying = false;
}

void DbGrid::onSectionMoved(int, int oldVisual, int newVisual)
{
    // The header's own move is undone: the model takes the new order, so
    // that column positions and field order read back the same everywhere.
    QHeaderView *h = horizontalHeader();
    const bool blocked = h->blockSignals(true);
    h->moveSection(newVisual, oldVisual);
    h->blockSignals(blocked);
    const int col = selectedColumn();
    m_model->moveColumn(oldVisual, newVisual);
    applyColumns();
    if (col == oldVisual)
        setSelectedColumn(newVisual);
    emit columnMoved(oldVisual, newVisual);
}

int DbGrid::selectedColumn() const
{
    return currentIndex().isValid() ? currentIndex().column() : -1;
}

void DbGrid::setSelectedColumn(int col)
{
    if (col < 0 || col >= m_model->columnCount())
        return;
    const int row = m_model->currentRow();
    if (row < 0)
        return;
    m_syncing = true;
    selectionModel()->setCurrentIndex(m_model->index(row, col), QItemSelectionModel::NoUpdate);
    m_syncing = false;
    emit selectedColumnChanged(col);
}

// ---- Options ---------------------------------------------------------------

void DbGrid::setFixedColor(const QColor &color)
{
    m_fixedColor = color;
    if (!color.isValid()) {
        setStyleSheet(QString());
        return;
    }
    const QString name = color.name();
    setStyleSheet(QStringLiteral("QHeaderView::section { background-color: %1; border: 1px solid %2; "
                                 "padding: 1px 3px; }"
                                 "QTableCornerButton::section { background-color: %1; }")
                      .arg(name, color.darker(140).name()));
}

void DbGrid::setReadOnly(bool on)
{
    m_model->setReadOnly(on);
    setEditTriggers(on ? QAbstractItemView::NoEditTriggers
                       : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                             | QAbstractItemView::AnyKeyPressed);
}

void DbGrid::setRowSelect(bool on)
{
    m_rowSelect = on;
    applySelectionMode();
}

void DbGrid::setMultiSelect(bool on)
{
    m_multiSelect = on;
    applySelectionMode();
}

void DbGrid::applySelectionMode()
{
    setSelectionMode(m_multiSelect ? QAbstractItemView::ExtendedSelection
                                   : QAbstractItemView::SingleSelection);
    setSelectionBehavior(m_multiSelect || m_rowSelect ? QAbstractItemView::SelectRows
                                                      : QAbstractItemView::SelectItems);
    clearRowSelection();
    followCursor(m_model->currentRow());
}

QList<int> DbGrid::selectedRows() const
{
    if (!m_multiSelect || !selectionModel())
        return {};
    QList<int> rows;
    for (const QModelIndex &i : selectionModel()->selectedIndexes())
        rows.append(i.row());
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

QList<engine::Bookmark> DbGrid::selectedBookmarks() const
{
    QList<engine::Bookmark> marks;
    engine::DataSet *ds = m_model->dataSet();
    if (!ds)
        return marks;
    const QList<int> rows = selectedRows();
    guarded([&] {
        for (int row : rows) {
            if (row == m_model->insertRow())
                continue;
            const int rec = row - (m_model->insertRow() >= 0 && row > m_model->insertRow() ? 1 : 0);
            marks.append(ds->bookmarkAt(rec));
        }
    });
    return marks;
}

void DbGrid::selectAll()
{
    m_model->fetchAllRows();
    QTableView::selectAll();
}

void DbGrid::clearRowSelection()
{
    if (selectionModel())
        selectionModel()->clearSelection();
}

// ---- Cursor ----------------------------------------------------------------

void DbGrid::followCursor(int row)
{
    if (!selectionModel())
        return;
    m_syncing = true;
    if (row < 0 || m_model->columnCount() == 0) {
        selectionModel()->clearCurrentIndex();
    } else {
        int col = currentIndex().isValid() ? currentIndex().column() : 0;
        while (col < m_model->columnCount() - 1 && isColumnHidden(col))
            ++col;
        const QModelIndex idx = m_model->index(row, col);
        QItemSelectionModel::SelectionFlags flags = QItemSelectionModel::NoUpdate;
        if (!m_multiSelect) {
            flags = QItemSelectionModel::ClearAndSelect;
            if (m_rowSelect)
                flags |= QItemSelectionModel::Rows;
        }
        selectionModel()->setCurrentIndex(idx, flags);
        scrollTo(idx);
    }
    m_syncing = false;
}

void DbGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (m_syncing || !current.isValid())
        return;
    if (current.row() != m_model->currentRow())
        m_model->setCurrentRow(current.row()); // tells us back where the cursor went
    if (!previous.isValid() || current.column() != previous.column())
        emit selectedColumnChanged(current.column());
}

// ---- Editing ---------------------------------------------------------------

bool DbGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool byUser = trigger == DoubleClicked || trigger == EditKeyPressed
                        || trigger == AnyKeyPressed || trigger == SelectedClicked;
    if (!index.isValid() || !byUser)
        return QTableView::edit(index, trigger, event);
    if (m_model->isLockedCell(index)) {
        emit editRefused();
        return false;
    }
    const engine::Field *f = m_model->fieldOfColumn(index.column());
    if (f && f->dataType() == engine::FieldType::Boolean) {
        // A Boolean cell toggles instead of opening an editor.
        if (!(m_model->flags(index) & Qt::ItemIsEditable))
            return false;
        if (trigger == AnyKeyPressed) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (!key || key->key() != Qt::Key_Space)
                return false;
        }
        const QVariant v = m_model->data(index, GridModel::ValueRole);
        m_model->setData(index, QVariant(!(v.isValid() && v.toBool())));
        return false;
    }
    if ((m_model->flags(index) & Qt::ItemIsEditable) && index.row() != m_model->currentRow()
        && !m_model->setCurrentRow(index.row()))
        return false;
    return QTableView::edit(index, trigger, event);
}

QModelIndex DbGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    // The model knows the records only as far as they were shown: a move
    // beyond them learns what it needs first (Ctrl+End every record).
    const int row = currentIndex().isValid() ? currentIndex().row() : 0;
    switch (action) {
    case MoveEnd:
        if (modifiers & Qt::ControlModifier)
            m_model->fetchAllRows();
        break;
    case MovePageDown:
        m_model->fetchRowsTo(row + viewport()->height() / std::max(1, verticalHeader()->defaultSectionSize()) + 1);
        break;
    case MoveDown:
    case MoveNext:
        m_model->fetchRowsTo(row + 1);
        break;
    default:
        break;
    }
    return QTableView::moveCursor(action, modifiers);
}

void DbGrid::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && state() != EditingState) {
        engine::DataSet *ds = m_model->dataSet();
        if (ds && (ds->state() == engine::DataSetState::Edit
                   || ds->state() == engine::DataSetState::Insert)) {
            guarded([ds] { ds->cancel(); });
            event->accept();
            return;
        }
    }
    QTableView::keyPressEvent(event);
}

} // namespace dbui
