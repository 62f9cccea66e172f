#include "dbui/dbmemo.h"

#include "dbui/fieldtext.h"
#include "engine/field.h"

#include <QKeyEvent>

namespace dbui {

DbMemo::DbMemo(QWidget *parent)
    : QPlainTextEdit(parent)
    , FieldControl(this)
{
    setProperty("dbuiMultiLine", true);
    m_link->watch(this);
    m_link->setWriter([this] { field()->setValue(parseText(*field(), fieldText())); });
    wireLink(this, &DbMemo::showField, &DbMemo::updateEditable, &DbMemo::editRefused);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            m_link->setModified();
    });
}

QString DbMemo::fieldText() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void DbMemo::showField()
{
    engine::Field *f = field();
    QString text = f ? editText(f->dataType(), f->value()) : QString();
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text == toPlainText())
        return;
    m_loading = true;
    setPlainText(text);
    m_loading = false;
}

void DbMemo::updateEditable()
{
    setReadOnly(!m_link->canModify());
    // A read-only plain text edit stops taking keys; the link still has to
    // see them to report the attempt.
    setTextInteractionFlags(m_link->canModify() ? Qt::TextEditorInteraction
                                                : Qt::TextSelectableByKeyboard
                                                      | Qt::TextSelectableByMouse);
}

void DbMemo::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_link->isModified()) {
        m_link->reset();
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace dbui
