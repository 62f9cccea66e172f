#include "windows/labels/labellist.h"

#include "app/settings.h"
#include "dbui/datasource.h"
#include "engine/dataset.h"
#include "engine/field.h"
#include "engine/table.h"
#include "print/labelcollection.h"
#include "print/labelmedium.h"
#include "print/previewsize.h"
#include "windows/labels/labelprint.h"
#include "windows/main/mainform.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QWheelEvent>

namespace {
QPointer<TWEtiListe> g_list;

QString mainCurrentKind()
{
    if (!Mainform || !Mainform->Table1 || !Mainform->Table1->active() || Mainform->Table1->isEmpty())
        return QString();
    engine::Field *f = Mainform->Table1->findField(QStringLiteral("Medium"));
    return f ? f->asString() : QString();
}
} // namespace

QSize TLabelPanelGrid::PanelSize() const
{
    return QSize(width() / std::max(1, Columns), height() / std::max(1, Rows));
}

int TLabelPanelGrid::RowOfPanel(int panel) const
{
    if (!Data || !Data->active() || panel < 0 || panel >= PanelCount())
        return -1;
    const int row = TopRow + panel;
    return row < Data->recordCount() ? row : -1;
}

void TLabelPanelGrid::FollowCursor()
{
    if (!Data || !Data->active() || Data->isEmpty()) {
        TopRow = 0;
        update();
        return;
    }
    const int current = Data->recNo() - 1;
    if (current >= 0) {
        if (current < TopRow)
            TopRow = current - current % Columns;
        else if (current >= TopRow + PanelCount())
            TopRow = current - current % Columns - (Rows - 1) * Columns;
    }
    // No empty panels at the end while rows above are out of view.
    const int filled = (Data->recordCount() + Columns - 1) / Columns * Columns;
    TopRow = std::clamp(TopRow, 0, std::max(0, filled - PanelCount()));
    update();
}

void TLabelPanelGrid::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    if (!Data || !Data->active() || Data->isEmpty())
        return;
    const TLabelScale scale = InitLabelPrintJob(false, nullptr, nullptr);
    const TLabelSettings s = CurrentLabelSettings();
    const TLabelFormat f = PreviewLabelFormat(ActiveLabelFormat);
    TProgDirArtProvider art = ProgramLabelArt();
    const QSize panel = PanelSize();
    const int current = Data->recNo() - 1;
    for (int k = 0; k < PanelCount(); ++k) {
        const int row = RowOfPanel(k);
        if (row < 0)
            break;
        const QRect cell(QPoint((k % Columns) * panel.width(), (k / Columns) * panel.height()), panel);
        p.fillRect(cell.adjusted(1, 1, -1, -1), row == current ? QColor(255, 255, 225) : QColor(Qt::white));
        const TLabelMedium m = ReadLabelMediumAt(*Data, row, &Data->session(), FilmTablePath, ActiveLabelFormat.MaxFAnz);
        p.save();
        p.setClipRect(cell);
        // Each panel shows its label as the preview does.
        p.translate(cell.topLeft() + QPoint(PreviewLabelInset, PreviewLabelInset));
        PaintLabelLayout(p, DrawLabel(m, false, f, 0, TLabelTarget{LabelKind, false}, s, scale, art).Layout);
        p.restore();
    }
}

void TLabelPanelGrid::mousePressEvent(QMouseEvent *e)
{
    const QSize panel = PanelSize();
    if (panel.width() <= 0 || panel.height() <= 0)
        return;
    const QPoint at = e->position().toPoint();
    const int k = (at.y() / panel.height()) * Columns + at.x() / panel.width();
    const int row = RowOfPanel(k);
    if (row >= 0 && Data->state() == engine::DataSetState::Browse)
        Data->setRecNo(row + 1);
}

TWEtiListe::TWEtiListe(QWidget *parent) : tOzoFormMetal(parent)
{
    setObjectName(QStringLiteral("WEtiListe"));
    DBCtrlGrid1 = new TLabelPanelGrid(this);
    DBCtrlGrid1->setObjectName(QStringLiteral("DBCtrlGrid1"));
    Create();
    SetCaption(QStringLiteral("Etikettenliste"));
}

void TWEtiListe::SetSource(dbui::DataSource *source, const QString &filmTablePath)
{
    for (auto *c : {&m_change, &m_rows, &m_state})
        disconnect(*c);
    Source = source;
    DBCtrlGrid1->Data = source ? source->dataSet() : nullptr;
    DBCtrlGrid1->FilmTablePath = filmTablePath;
    DBCtrlGrid1->TopRow = 0;
    if (source) {
        m_change = connect(source, &dbui::DataSource::dataChange, DBCtrlGrid1, [this](engine::Field *f) {
            if (!f)
                DBCtrlGrid1->FollowCursor();
        });
        m_rows = connect(source, &dbui::DataSource::rowsChange, DBCtrlGrid1, [this] { DBCtrlGrid1->FollowCursor(); });
        m_state = connect(source, &dbui::DataSource::stateChange, DBCtrlGrid1, [this] { DBCtrlGrid1->FollowCursor(); });
        connect(source, &QObject::destroyed, this, [this] {
            Source = nullptr;
            DBCtrlGrid1->Data = nullptr;
        });
    }
    DBCtrlGrid1->FollowCursor();
}

void TWEtiListe::Arrange(const QString &currentKind)
{
    const TLabelListGrid g = ArrangeLabelListGrid(ActiveLabelFormat, LabelKind, NrEtiSeparate, currentKind);
    DBCtrlGrid1->Columns = g.columns;
    DBCtrlGrid1->Rows = g.rows;
    // The window follows the grid: the title above, the client's bevel around.
    DBCtrlGrid1->setGeometry(QRect(QPoint(2, 2), g.size));
    resize(g.size.width() + 4, TitleHeight() + g.size.height() + 4);
    DBCtrlGrid1->FollowCursor();
}

void TWEtiListe::keyPressEvent(QKeyEvent *e)
{
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    tOzoFormMetal::keyPressEvent(e);
}

void TWEtiListe::wheelEvent(QWheelEvent *e)
{
    engine::DataSet *d = DBCtrlGrid1->Data;
    if (d && d->active() && d->state() == engine::DataSetState::Browse) {
        if (e->angleDelta().y() < 0)
            d->next();
        else if (e->angleDelta().y() > 0)
            d->prior();
    }
    e->accept();
}

void ShowLabelList(dbui::DataSource *source, const QString &filmTablePath, bool standardList,
                   const QString &caption, QWidget *owner)
{
    if (!g_list) {
        g_list = new TWEtiListe(owner);
        g_list->setAttribute(Qt::WA_DeleteOnClose);
    }
    g_list->StandardList = standardList;
    g_list->SetSource(source, filmTablePath);
    g_list->SetCaption(caption);
    g_list->Arrange(mainCurrentKind());
    g_list->show();
    g_list->raise();
}

TWEtiListe *LabelListWindow()
{
    return g_list;
}

void ArrangeLabelList()
{
    if (g_list)
        g_list->Arrange(mainCurrentKind());
}

void CloseLabelListOf(dbui::DataSource *source)
{
    if (g_list && g_list->Source == source)
        g_list->close();
}
