#include "kit/textfit.h"

#include "kit/ozocheck.h"

#include <QAbstractButton>
#include <QLabel>
#include <QListWidget>
#include <QScrollBar>

namespace kit {

namespace {

QString plain(QString text)
{
    text.remove(QLatin1Char('&'));
    return text;
}

QString cut(const QWidget *w, const QString &text)
{
    return w->objectName() + QStringLiteral(": ") + text;
}

} // namespace

QStringList CutOffTexts(const QWidget *window)
{
    QStringList out;
    for (const QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisibleTo(window))
            continue;
        if (auto *l = qobject_cast<const QLabel *>(w)) {
            if (l->text().isEmpty())
                continue;
            const bool fits = l->wordWrap() ? l->heightForWidth(l->width()) <= l->height()
                                            : l->sizeHint().width() <= l->width()
                                                  && l->sizeHint().height() <= l->height();
            if (!fits)
                out << cut(l, l->text());
        } else if (auto *c = qobject_cast<const TQCustomCheck *>(w)) {
            if (!c->Caption().isEmpty() && c->CaptionRect().right() >= c->width())
                out << cut(c, c->Caption());
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
            const QFontMetrics fm(b->font());
            const int icon = b->icon().isNull() ? 0 : b->iconSize().width() + 4;
            if (fm.horizontalAdvance(plain(b->text())) + icon + 8 > b->width())
                out << cut(b, b->text());
        }
    }
    return out;
}

} // namespace kit
