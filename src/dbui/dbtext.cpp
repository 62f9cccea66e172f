#include "dbui/dbtext.h"

#include "dbui/fieldtext.h"
#include "engine/field.h"

namespace dbui {

DbText::DbText(QWidget *parent)
    : QLabel(parent)
    , FieldControl(this)
{
    setTextFormat(Qt::PlainText);
    connect(m_link, &FieldLink::dataChanged, this, &DbText::showField);
}

void DbText::showField()
{
    engine::Field *f = field();
    const QString value = f ? editText(f->dataType(), f->value()) : QString();
    if (value != text())
        setText(value);
}

} // namespace dbui
