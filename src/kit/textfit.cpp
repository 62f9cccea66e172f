#include "kit/textfit.h"

#include "dbui/dbgrid.h"
#include "kit/enterexitbutton.h"
#include "kit/ozocheck.h"
#include "kit/pzlabel.h"
#include "kit/pzspeedbutton.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>
#include <QStyle>
#include <QStackedWidget>
#include <QTableView>
#include <QToolButton>

namespace kit {

namespace {

QString plain(QString text)
{
    text.remove(QLatin1Char('&'));
    return text;
}

// Shown in the window, or on a page of it that another page covers now: the
// user turns to every page.
bool shownIn(const QWidget *w, const QWidget *window)
{
    for (const QWidget *p = w; p && p != window; p = p->parentWidget()) {
        if (p->isHidden() && !qobject_cast<const QStackedWidget *>(p->parentWidget()))
            return false;
        if (p->isWindow())
            return false;
    }
    return true;
}

QString cut(const QWidget *w, const QString &text)
{
    return w->objectName() + QStringLiteral(": ") + text;
}

// With the room it needs and the room it has.
QString cut(const QWidget *w, const QString &text, const QSize &need, const QSize &has)
{
    return cut(w, text) + QStringLiteral(" (%1 x %2 für %3 x %4)").arg(has.width()).arg(has.height()).arg(need.width()).arg(need.height());
}

// A label without a buddy shows its text as it is: an "&" before a letter,
// meant to mark the key, then shows as an ampersand.
bool showsKeyAmpersand(const QLabel *l)
{
    if (l->buddy() || l->textFormat() == Qt::RichText
        || (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text())))
        return false;
    const QString &t = l->text();
    for (qsizetype i = 0; i + 1 < t.size(); ++i) {
        if (t.at(i) != u'&')
            continue;
        if (t.at(i + 1) == u'&') {
            ++i;
            continue;
        }
        if (t.at(i + 1).isLetterOrNumber())
            return true;
    }
    return false;
}

QSize labelNeeds(const QLabel *l)
{
    if (l->wordWrap())
        return QSize(l->width(), l->heightForWidth(l->width()));
    return l->sizeHint();
}

bool fitsIn(const QSize &need, const QSize &has)
{
    return need.width() <= has.width() && need.height() <= has.height();
}

void checkHeadings(const QTableView *view, QStringList &out)
{
    const QHeaderView *h = view->horizontalHeader();
    if (!h || !h->isVisibleTo(view->window()) || !view->model())
        return;
    for (int section = 0; section < h->count(); ++section) {
        if (h->isSectionHidden(section) || h->sectionSize(section) <= 0)
            continue;
        const QString text = view->model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
        const int need = dbui::headingWidth(*const_cast<QHeaderView *>(h), text);
        if (!text.isEmpty() && need > h->sectionSize(section))
            out << cut(view, text, QSize(need, h->height()), QSize(h->sectionSize(section), h->height()));
    }
}

} // namespace

QStringList CutOffTexts(const QWidget *window)
{
    QStringList out;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (!shownIn(w, window))
            continue;
        if (auto *l = qobject_cast<const QLabel *>(w)) {
            if (l->text().isEmpty())
                continue;
            if (!fitsIn(labelNeeds(l), l->size()))
                out << cut(l, l->text(), labelNeeds(l), l->size());
            else if (showsKeyAmpersand(l))
                out << cut(l, l->text() + QStringLiteral(" (zeigt das &)"));
        } else if (auto *m = qobject_cast<const TPZLabel *>(w)) {
            if (m->Caption().isEmpty())
                continue;
            const QRect block = m->Layout().block;
            if (!m->rect().contains(block))
                out << cut(m, m->Caption(), block.size(), m->size());
        } else if (auto *c = qobject_cast<const TQCustomCheck *>(w)) {
            if (!c->Caption().isEmpty() && c->CaptionRect().right() >= c->width())
                out << cut(c, c->Caption(), QSize(c->CaptionRect().right() + 1, c->height()), c->size());
        } else if (auto *b = qobject_cast<const TOzoNewButton *>(w)) {
            if (!b->Caption().isEmpty() && !b->rect().contains(b->CaptionRect()))
                out << cut(b, b->Caption(), b->CaptionRect().size(), b->size());
        } else if (auto *s = qobject_cast<const TPZSpeedButton *>(w)) {
            if (!s->Caption().isEmpty() && !s->rect().contains(s->Place().caption))
                out << cut(s, s->Caption(), s->Place().caption.size(), s->size());
        } else if (auto *g = qobject_cast<const QGroupBox *>(w)) {
            if (!g->title().isEmpty() && g->minimumSizeHint().width() > g->width())
                out << cut(g, g->title(), g->minimumSizeHint(), g->size());
        } else if (auto *t = qobject_cast<const QTableView *>(w)) {
            checkHeadings(t, out);
        } else if (auto *list = qobject_cast<const QListWidget *>(w)) {
            const int room = list->viewport()->width();
            const QFontMetrics fm(list->font());
            for (int i = 0; i < list->count(); ++i) {
                // The entry's text and the margins the view keeps around it.
                const int need = fm.horizontalAdvance(list->item(i)->text()) + 6;
                if (need > room)
                    out << cut(list, list->item(i)->text());
            }
            const int row = list->count() > 0 ? list->sizeHintForRow(0) : 0;
            const int rows = list->viewport()->height();
            if (row > 0 && list->count() * row > rows && rows % row != 0)
                out << cut(list, QStringLiteral("(Zeile %1 nur zum Teil sichtbar)").arg(rows / row + 1));
        } else if (auto *b = qobject_cast<const QAbstractButton *>(w)) {
            if (b->text().isEmpty())
                continue;
            if (qobject_cast<const QPushButton *>(b) || qobject_cast<const QToolButton *>(b)) {
                const QFontMetrics fm(b->font());
                const int icon = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
                const int margins = qobject_cast<const QToolButton *>(b) ? 6 : 8;
                const int need = fm.horizontalAdvance(plain(b->text())) + icon + margins;
                if (need > b->width())
                    out << cut(b, b->text(), QSize(need, b->height()), b->size());
            } else if (b->sizeHint().width() > b->width()) { // a check or radio box with its indicator
                out << cut(b, b->text(), b->sizeHint(), b->size());
            }
        }
    }
    return out;
}

QStringList ControlsOutside(const QWidget *window)
{
    QStringList out;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (w->isWindow() || !shownIn(w, window) || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        const QWidget *parent = w->parentWidget();
        // What a scrolled view holds may reach beyond it: it is scrolled to.
        if (!parent || qobject_cast<const QAbstractScrollArea *>(parent)
            || (parent->parentWidget() && qobject_cast<const QAbstractScrollArea *>(parent->parentWidget())))
            continue;
        // A pixel over the edge (the title's engraved shadow) is never missed.
        if (!parent->rect().adjusted(-1, -1, 1, 1).contains(w->geometry())) {
            const QRect g = w->geometry();
            out << (w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName())
                    + QStringLiteral(" (%1, %2, %3 x %4 in %5 x %6)")
                          .arg(g.x()).arg(g.y()).arg(g.width()).arg(g.height())
                          .arg(parent->width()).arg(parent->height());
        }
    }
    return out;
}

void ShowWholeRows(QListWidget *list)
{
    const int row = list->count() > 0 ? list->sizeHintForRow(0) : 0;
    if (row <= 0)
        return;
    const int frame = 2 * list->frameWidth();
    const int rows = std::max(1, (list->height() - frame) / row);
    list->resize(list->width(), rows * row + frame);
}

QFont ProgramFont()
{
    return QFont(QStringLiteral("DejaVu Sans"), 9);
}

void UseProgramFont()
{
    QApplication::setFont(ProgramFont());
}

} // namespace kit
