#include "dbui/dbcombobox.h"

#include "dbui/fieldtext.h"
#include "engine/field.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace dbui {

DbComboBox::DbComboBox(QWidget *parent)
    : QComboBox(parent)
    , FieldControl(this)
{
    setInsertPolicy(QComboBox::NoInsert);
    setStyle(DropDown);
    m_link->setWriter([this] { field()->setValue(parseText(*field(), text())); });
    wireLink(this, &DbComboBox::showField, &DbComboBox::updateEditable, &DbComboBox::editRefused);
    connect(this, &QComboBox::activated, this, &DbComboBox::picked);
}

void DbComboBox::setStyle(Style style)
{
    m_style = style;
    const QString keep = text();
    setEditable(style == DropDown);
    m_link->watch(this);
    if (QLineEdit *le = lineEdit()) {
        // Keys reach the line edit through the combo box, whose filter
        // (above) sees them first.
        connect(le, &QLineEdit::textEdited, m_link, &FieldLink::setModified, Qt::UniqueConnection);
    }
    setText(keep);
    showField();
    updateEditable();
}

QString DbComboBox::text() const
{
    return currentText();
}

void DbComboBox::setText(const QString &text)
{
    m_loading = true;
    if (isEditable()) {
        setEditText(text);
    } else {
        int i = findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (i < 0 && !text.isEmpty()) {
            // A stored value that is not in the list is still shown.
            addItem(text);
            i = count() - 1;
        }
        setCurrentIndex(i);
    }
    m_loading = false;
}

void DbComboBox::showField()
{
    engine::Field *f = field();
    if (QLineEdit *le = lineEdit()) {
        const int size = m_link->fieldSize();
        if (le->maxLength() != (size > 0 ? size : 32767))
            le->setMaxLength(size > 0 ? size : 32767);
    }
    const QString value = f ? editText(f->dataType(), f->value()) : QString();
    if (value != text())
        setText(value);
}

void DbComboBox::updateEditable()
{
    if (QLineEdit *le = lineEdit())
        le->setReadOnly(!m_link->canModify());
}

void DbComboBox::picked(int index)
{
    if (m_loading || index < 0)
        return;
    const QString chosen = itemText(index);
    if (!m_link->beginEdit()) {
        showField();
        return;
    }
    // The field's value may have been re-read on entering edit state.
    setText(chosen);
    m_link->setModified();
}

void DbComboBox::showPopup()
{
    // Filling the list must not lose what was typed: a combo box that gets
    // its first item shows it in the edit.
    const QString typed = text();
    emit dropDown();
    if (isEditable() && text() != typed)
        setText(typed);
    if (count() == 0)
        return;
    m_droppedDown = true;
    QComboBox::showPopup();
}

void DbComboBox::hidePopup()
{
    QComboBox::hidePopup();
    if (m_droppedDown) {
        m_droppedDown = false;
        emit closeUp();
    }
}

void DbComboBox::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && !m_droppedDown && m_link->isModified()) {
        m_link->reset();
        event->ignore();
        return;
    }
    QComboBox::keyPressEvent(event);
}

} // namespace dbui
