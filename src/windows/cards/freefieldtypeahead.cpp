#include "windows/cards/freefieldtypeahead.h"

#include "data/freefieldlinks.h"
#include "dbui/dbcombobox.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

void EmptyValueList(dbui::DbComboBox *c)
{
    const QString t = c->text();
    c->blockSignals(true);
    c->clear();
    c->setText(t);
    c->blockSignals(false);
}

TFreeFieldTypeAhead::TFreeFieldTypeAhead(Lookup lookup, QObject *parent)
    : QObject(parent), m_lookup(std::move(lookup))
{
    TimerFree = new QTimer(this);
    TimerFree->setObjectName(QStringLiteral("TimerFree"));
    TimerFree->setInterval(600);
    TimerFree->setSingleShot(true);
    connect(TimerFree, &QTimer::timeout, this, &TFreeFieldTypeAhead::TimerFreeTimer);
}

void TFreeFieldTypeAhead::attach(QComboBox *combo, int nr)
{
    combo->setProperty("Tag", nr);
    combo->installEventFilter(this);
    if (combo->lineEdit())
        combo->lineEdit()->installEventFilter(this);
}

void TFreeFieldTypeAhead::TimerFreeTimer()
{
    TimerFree->stop();
    QComboBox *c = m_current;
    QLineEdit *e = c ? c->lineEdit() : nullptr;
    if (!e || e->text().isEmpty() || e->cursorPosition() != e->text().size())
        return;
    const TTypeAheadText typed{e->text(), e->cursorPosition()};
    const QString completion = m_lookup ? m_lookup(c->property("Tag").toInt(), typed.text) : QString();
    if (completion.isEmpty())
        return;
    const TTypeAheadText done = ApplyCompletion(typed, completion);
    if (done.selStart < 0)
        return;
    e->setText(done.text);
    // Selected from the end back, so the caret stays after the typed text.
    e->setSelection(done.selStart + done.selLength, -done.selLength);
    m_completed = true;
}

bool TFreeFieldTypeAhead::eventFilter(QObject *watched, QEvent *event)
{
    auto *combo = qobject_cast<QComboBox *>(watched);
    if (!combo)
        combo = qobject_cast<QComboBox *>(watched->parent());
    if (!combo)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        m_current = combo;
        break;
    case QEvent::FocusOut:
        TimerFree->stop();
        break;
    case QEvent::KeyPress: {
        if (watched != combo->lineEdit())
            break; // the line edit's own filter handles it
        m_current = combo;
        auto *k = static_cast<QKeyEvent *>(event);
        const bool hadCompletion = m_completed;
        m_completed = false;
        if (beforeKey)
            beforeKey();
        TimerFree->stop();
        QLineEdit *e = combo->lineEdit();
        switch (k->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            e->setCursorPosition(int(e->text().size()));
            return false;
        case Qt::Key_Escape: {
            TTypeAheadText t{e->text(), e->cursorPosition(), e->selectionStart(),
                             int(e->selectedText().size())};
            const bool undone = UndoCompletion(t);
            if (undone) {
                e->setText(t.text);
                e->setCursorPosition(t.cursor);
            }
            if (m_escapeAsEnter) {
                emit enterPressed(combo);
                return true;
            }
            // The film card swallows the Escape that undid a completion.
            return undone || hadCompletion;
        }
        case Qt::Key_Backspace:
            return false;
        default:
            TimerFree->start();
            return false;
        }
    }
    default:
        break;
    }
    return false;
}
