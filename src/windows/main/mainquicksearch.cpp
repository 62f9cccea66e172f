#include "windows/main/mainquicksearch.h"
#include "windows/cards/personcardhooks.h"

#include "data/database.h"
#include "data/locate.h"
#include "dbui/datasource.h"
#include "dbui/dbgrid.h"
#include "engine/engineerror.h"
#include "engine/query.h"
#include "engine/sqldialect.h"
#include "engine/table.h"
#include "kit/msgboxmetal.h"
#include "kit/pzspeedbutton.h"
#include "query/querytext.h"
#include "windows/main/mainform.h"
#include "windows/queries/queryform.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>

namespace {

constexpr int kPanelHeight = 190;
constexpr int kPanelTop = 60; // below the tool bar and the navigator row
constexpr int kSideWidth = 56; // the column of the side buttons

const char *const kTopNames[3] = {"PanelSSFilmTop", "PanelSSKassTop", "PanelSSPersTop"};
const char *const kPanelNames[3] = {"PanelSSFilm", "PanelSSKass", "PanelSSPers"};
const char *const kGridNames[3] = {"DBGridSSFilm", "DBGridSSKass", "DBGridSSPers"};
const char *const kTopTexts[3] = {"Filme", "Medien", "Personen"};

} // namespace

TMainQuickSearch::TMainQuickSearch(TMainform *form) : QObject(form), m_form(form)
{
    setObjectName(QStringLiteral("QuickSearch"));
    QWidget *bar = form->DBNavigator1->parentWidget();
    LabSchnellSuche = new QLabel(QStringLiteral("Suche:"), bar);
    LabSchnellSuche->setObjectName(QStringLiteral("LabSchnellSuche"));
    LabSchnellSuche->setGeometry(366, 36, 46, 18);
    LabSchnellSuche->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    LabSchnellSuche->setCursor(Qt::PointingHandCursor);
    LabSchnellSuche->installEventFilter(this);
    EditSchnellsuche = new QLineEdit(bar);
    EditSchnellsuche->setObjectName(QStringLiteral("EditSchnellsuche"));
    EditSchnellsuche->setGeometry(414, 33, 118, 24);
    EditSchnellsuche->setToolTip(QStringLiteral("Schnellsuche in Filmen, Medien und Personen (Eingabetaste)"));
    EditSchnellsuche->installEventFilter(this);
    connect(EditSchnellsuche, &QLineEdit::returnPressed, this, [this] { QuickSearch(EditSchnellsuche->text()); });

    PanelExpanded = new QWidget(bar);
    PanelExpanded->setObjectName(QStringLiteral("PanelExpanded"));
    PanelExpanded->setGeometry(8, kPanelTop, 584, kPanelHeight);
    PanelExpanded->hide();
    SpBExpDetails = new TPZSpeedButton(PanelExpanded);
    SpBExpDetails->setObjectName(QStringLiteral("SpBExpDetails"));
    SpBExpDetails->SetCaption(QStringLiteral("Details"));
    SpBExpDetails->setToolTip(QStringLiteral("Die gefundenen Datensätze mit allen Feldern im Abfragefenster zeigen"));
    SpBShrink = new TPZSpeedButton(PanelExpanded);
    SpBShrink->setObjectName(QStringLiteral("SpBShrink"));
    SpBShrink->SetCaption(QStringLiteral("\u25b2"));
    SpBShrink->setToolTip(QStringLiteral("Suchergebnisse schließen"));
    connect(SpBExpDetails, &TPZSpeedButton::Click, this, &TMainQuickSearch::SpBExpDetailsClick);
    connect(SpBShrink, &TPZSpeedButton::Click, this, [this] { SetQuickSearchMode(0); });

    QuerySSFilm = std::make_unique<engine::Query>();
    QuerySSFilmDetail = std::make_unique<engine::Query>();
    QuerySSKass = std::make_unique<engine::Query>();
    QuerySSPers = std::make_unique<engine::Query>();
    const std::array<engine::Query *, 3> lists = {QuerySSFilm.get(), QuerySSKass.get(), QuerySSPers.get()};
    for (int i = 0; i < 3; ++i) {
        Panels[size_t(i)] = new QWidget(PanelExpanded);
        Panels[size_t(i)]->setObjectName(QLatin1String(kPanelNames[i]));
        PanelTops[size_t(i)] = new QLabel(QLatin1String(kTopTexts[i]), Panels[size_t(i)]);
        PanelTops[size_t(i)]->setObjectName(QLatin1String(kTopNames[i]));
        PanelTops[size_t(i)]->setFrameShape(QFrame::Panel);
        PanelTops[size_t(i)]->setFrameShadow(QFrame::Raised);
        PanelTops[size_t(i)]->installEventFilter(this);
        Sources[size_t(i)] = new dbui::DataSource(lists[size_t(i)], this);
        Grids[size_t(i)] = new dbui::DbGrid(Panels[size_t(i)]);
        Grids[size_t(i)]->setObjectName(QLatin1String(kGridNames[i]));
        Grids[size_t(i)]->setDataSource(Sources[size_t(i)]);
        Grids[size_t(i)]->setReadOnly(true);
        Grids[size_t(i)]->setRowSelect(true);
        Grids[size_t(i)]->installEventFilter(this);
        connect(Grids[size_t(i)], &QAbstractItemView::clicked, this, [this, i] { RowClick(i); });
        connect(Grids[size_t(i)], &QAbstractItemView::doubleClicked, this, [this, i] { RowDblClick(i); });
    }

    KassCursor = new QLabel(QStringLiteral("\u25b6"), form->PanelKrt);
    KassCursor->setObjectName(QStringLiteral("KassCursor"));
    KassCursor->setStyleSheet(QStringLiteral("color: #c00000"));
    KassCursor->resize(12, 14);
    KassCursor->hide();
}

TMainQuickSearch::~TMainQuickSearch()
{
    // The grids may be gone with the window already; the sources are ours.
    for (auto *s : Sources)
        s->setDataSet(nullptr);
}


void TMainQuickSearch::QuickSearch(const QString &text)
{
    const query::QueryTables tables = TQueryForm::Tables();
    if (tables.film.isEmpty() || tables.media.isEmpty())
        return;
    Params = query::QuickSearchParamsFor(text, TQueryForm::CategoryNames());
    const QString film = SQLTableRef(tables.film);
    int counts[3] = {0, 0, 0};
    try {
        QuerySSFilm->close();
        QuerySSFilm->setSql(query::QuerySSFilmLines(film));
        QuerySSFilmDetail->close();
        QuerySSFilmDetail->setSql(query::QuerySSFilmDetailLines(film));
        QuerySSKass->close();
        QuerySSKass->setSql(query::QuerySSKassLines(SQLTableRef(tables.media)));
        QuerySSPers->close();
        if (!tables.person.isEmpty())
            QuerySSPers->setSql(query::QuerySSPersLines(SQLTableRef(tables.person)));
        for (engine::Query *q : {QuerySSFilm.get(), QuerySSFilmDetail.get(), QuerySSKass.get(), QuerySSPers.get()})
            query::ApplyQuickSearchParams(*q, Params);
        QuerySSFilm->open();
        QuerySSKass->open();
        if (!tables.person.isEmpty())
            QuerySSPers->open();
        counts[0] = QuerySSFilm->recordCount();
        counts[1] = QuerySSKass->recordCount();
        counts[2] = QuerySSPers->active() ? QuerySSPers->recordCount() : 0;
    } catch (const engine::EngineError &e) {
        ShowMetalMessage(QStringLiteral("Fehler"),
                         QStringLiteral("Die Schnellsuche konnte nicht ausgeführt werden:\\lb\\lb") + e.message());
        SetQuickSearchMode(0);
        return;
    }
    LastRoute = query::RouteQuickSearch(counts[0], counts[1], counts[2]);
    switch (LastRoute) {
    case query::QuickSearchRoute::Nothing:
        SetQuickSearchMode(0);
        ShowMetalMessage(query::NothingFoundCaption(), query::NothingFoundText());
        break;
    case query::QuickSearchRoute::Film:
        SetQuickSearchMode(0);
        RowClick(0);
        break;
    case query::QuickSearchRoute::Medium:
        SetQuickSearchMode(0);
        RowClick(1);
        break;
    case query::QuickSearchRoute::Person:
        SetQuickSearchMode(0);
        RowDblClick(2);
        break;
    default:
        SetQuickSearchMode(query::QuickSearchMode(LastRoute));
        break;
    }
}

void TMainQuickSearch::layoutPanel()
{
    const int w = PanelExpanded->width();
    const int h = PanelExpanded->height();
    const int top = 20;
    const int open = Mode - 1;
    // The open list takes the room of the other two; the others show their heading.
    int y = 0;
    for (int i = 0; i < 3; ++i) {
        const bool isOpen = i == open;
        const int ph = isOpen ? h - 2 * top : top;
        Panels[size_t(i)]->setGeometry(0, y, w - kSideWidth - 2, ph);
        PanelTops[size_t(i)]->setGeometry(0, 0, w - kSideWidth - 2, top);
        Grids[size_t(i)]->setGeometry(0, top, w - kSideWidth - 2, std::max(0, ph - top));
        Grids[size_t(i)]->setVisible(isOpen);
        QFont f = PanelTops[size_t(i)]->font();
        f.setBold(isOpen);
        PanelTops[size_t(i)]->setFont(f);
        PanelTops[size_t(i)]->setCursor(isOpen ? Qt::ArrowCursor : Qt::PointingHandCursor);
        y += ph;
    }
    // The side buttons as wide as "Details" needs.
    SpBShrink->setGeometry(w - kSideWidth, 0, kSideWidth, 24);
    SpBExpDetails->setGeometry(w - kSideWidth, 28, kSideWidth, 24);
}

void TMainQuickSearch::SetQuickSearchMode(int mode)
{
    mode = std::clamp(mode, 0, 3);
    const int grow = mode > 0 ? kPanelHeight + 4 : 0;
    if (grow != m_grown) {
        // The card and what lies below the tool bar move down by the panel.
        QWidget *area = PanelExpanded->parentWidget();
        const int step = grow - m_grown;
        for (QObject *o : area->children()) {
            auto *w = qobject_cast<QWidget *>(o);
            if (w && w != PanelExpanded && w->y() >= kPanelTop && !w->isWindow())
                w->move(w->x(), w->y() + step);
        }
        m_form->resize(m_form->width(), m_form->height() + step);
        m_grown = grow;
        // The window stays on its screen.
        if (QScreen *s = m_form->screen()) {
            const QRect avail = s->availableGeometry();
            if (m_form->frameGeometry().bottom() > avail.bottom())
                m_form->move(m_form->x(), std::max(avail.top(), avail.bottom() - m_form->frameGeometry().height()));
        }
    }
    Mode = mode;
    PanelExpanded->setVisible(mode > 0);
    SpBExpDetails->setVisible(mode > 0);
    SpBShrink->setVisible(mode > 0);
    if (mode == 0) {
        if (EditSchnellsuche->isVisible())
            EditSchnellsuche->setFocus();
        return;
    }
    layoutPanel();
    Grids[size_t(mode - 1)]->setFocus();
}

void TMainQuickSearch::MarkFilmSlot(int slot)
{
    if (slot < 1 || slot > 5) {
        KassCursor->hide();
        return;
    }
    TPZSpeedButton *b = m_form->Film[size_t(slot - 1)];
    KassCursor->move(b->x() - KassCursor->width() - 1, b->y() + 1);
    KassCursor->show();
    KassCursor->raise();
}

void TMainQuickSearch::ShowCurrentFilmMarker()
{
    engine::Table *films = m_form->FilmTable.get();
    engine::Table *media = m_form->Table1.get();
    if (!films || !media || !films->active() || !media->active() || films->isEmpty() || media->isEmpty()) {
        MarkFilmSlot(0);
        return;
    }
    const bool sameMedium =
        films->fieldByName(QStringLiteral("Medium"))->asString() == media->fieldByName(QStringLiteral("Medium"))->asString()
        && films->fieldByName(QStringLiteral("KassNr"))->asInteger() == media->fieldByName(QStringLiteral("Nr"))->asInteger();
    const int filmNr = int(films->fieldByName(QStringLiteral("FilmNr"))->asInteger());
    int slot = 0;
    for (int i = 0; sameMedium && i < 5; ++i)
        if (m_form->SlotFilmNr[size_t(i)] == filmNr && filmNr > 0)
            slot = i + 1;
    MarkFilmSlot(slot);
}

void TMainQuickSearch::gotoFilm(const QString &kind, int kassNr, int filmNr)
{
    const MainDataSets ds = m_form->DataSets();
    LocateFilm(ds, kind, kassNr, filmNr, true);
    // The card shows the film's medium, its slot marked.
    if (LocateMedium(ds, kind, kassNr, true))
        ShowCurrentFilmMarker();
}

void TMainQuickSearch::gotoPerson(const QString &name)
{
    if (m_form->PersTable && m_form->PersTable->active())
        ShowPersonCard(*m_form, name);
}

void TMainQuickSearch::RowClick(int list)
{
    try {
        if (list == 0 && QuerySSFilm->active() && !QuerySSFilm->isEmpty()) {
            gotoFilm(QuerySSFilm->fieldByName(QStringLiteral("Medium"))->asString(),
                     int(QuerySSFilm->fieldByName(QStringLiteral("KassNr"))->asInteger()),
                     int(QuerySSFilm->fieldByName(QStringLiteral("FilmNr"))->asInteger()));
        } else if (list == 1 && QuerySSKass->active() && !QuerySSKass->isEmpty()) {
            LocateMedium(m_form->DataSets(), QuerySSKass->fieldByName(QStringLiteral("Medium"))->asString(),
                         int(QuerySSKass->fieldByName(QStringLiteral("Nr"))->asInteger()), true);
            MarkFilmSlot(0);
        }
    } catch (const engine::EngineError &e) {
        ShowMetalMessage(QStringLiteral("Fehler"), e.message());
    }
}

void TMainQuickSearch::RowDblClick(int list)
{
    if (list == 2 && QuerySSPers->active() && !QuerySSPers->isEmpty())
        gotoPerson(QuerySSPers->fieldByName(QStringLiteral("Name"))->asString());
    else if (list == 0)
        RowClick(0);
}

void TMainQuickSearch::SpBExpDetailsClick()
{
    engine::Query *q = Mode == 1 ? QuerySSFilmDetail.get() : Mode == 2 ? QuerySSKass.get() : Mode == 3 ? QuerySSPers.get() : nullptr;
    if (!q)
        return;
    QList<QPair<QString, QVariant>> params;
    for (int i = 0; i < q->paramCount(); ++i)
        params.append({q->param(i).name(), q->param(i).value()});
    ShowQueryResult(q->sql(), params, m_form);
}

bool TMainQuickSearch::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == EditSchnellsuche) {
        if (event->type() == QEvent::FocusIn) {
            m_form->OtherControlEnter();
            QMetaObject::invokeMethod(EditSchnellsuche, &QLineEdit::selectAll, Qt::QueuedConnection);
            LabSchnellSuche->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
        } else if (event->type() == QEvent::FocusOut) {
            LabSchnellSuche->setStyleSheet(QStringLiteral("color: black"));
        }
    } else if (watched == LabSchnellSuche && event->type() == QEvent::MouseButtonRelease) {
        EditSchnellsuche->setFocus();
        EditSchnellsuche->selectAll();
        return true;
    } else if (event->type() == QEvent::MouseButtonRelease) {
        for (int i = 0; i < 3; ++i)
            if (watched == PanelTops[size_t(i)] && Mode != i + 1) {
                SetQuickSearchMode(i + 1);
                return true;
            }
    } else if (event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        for (int i = 0; i < 3; ++i) {
            if (watched != Grids[size_t(i)])
                continue;
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                if (i == 2)
                    RowDblClick(i);
                else
                    RowClick(i);
                return true;
            }
            if (k->key() == Qt::Key_Escape) {
                SetQuickSearchMode(0);
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---- the main window's routines of the quick search --------------------------------

void TMainform::QuickSearch(const QString &text)
{
    QuickSearchPart->QuickSearch(text);
}

void TMainform::SetQuickSearchMode(int mode)
{
    QuickSearchPart->SetQuickSearchMode(mode);
}

void TMainform::MarkFilmSlot(int slot)
{
    QuickSearchPart->MarkFilmSlot(slot);
}

void TMainform::ShowCurrentFilmMarker()
{
    QuickSearchPart->ShowCurrentFilmMarker();
}
