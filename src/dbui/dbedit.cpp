#include "dbui/dbedit.h"

#include "dbui/fieldtext.h"
#include "engine/field.h"

#include <QKeyEvent>

namespace dbui {

DbEdit::DbEdit(QWidget *parent)
    : QLineEdit(parent)
    , FieldControl(this)
{
    m_link->watch(this);
    m_link->setWriter([this] { field()->setValue(parseText(*field(), text())); });
    wireLink(this, &DbEdit::showField, &DbEdit::updateEditable, &DbEdit::editRefused);
    connect(this, &QLineEdit::textEdited, m_link, &FieldLink::setModified);
}

void DbEdit::showField()
{
    engine::Field *f = field();
    const int size = m_link->fieldSize();
    // Setting the length re-sets the text (and drops the selection), so
    // only when it really changes.
    if (maxLength() != (size > 0 ? size : 32767))
        setMaxLength(size > 0 ? size : 32767);
    const QString text = f ? editText(f->dataType(), f->value()) : QString();
    if (text != this->text())
        setText(text);
}

void DbEdit::updateEditable()
{
    // Write-protected: the text cannot change, but keys still reach the
    // link so that it can report the attempt.
    setReadOnly(!m_link->canModify());
}

void DbEdit::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_link->isModified()) {
        m_link->reset();
        selectAll();
    }
    QLineEdit::keyPressEvent(event);
}

} // namespace dbui
