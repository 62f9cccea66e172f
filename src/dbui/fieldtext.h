// Field values as the controls and grid cells show and take them: dates as
// "dd.mm.yyyy", numbers with the German decimal comma, Boolean values as
// "Ja" and "Nein". Parsing refuses bad input with a German message.
#pragma once

#include "engine/tabledef.h"

#include <QDate>
#include <QString>
#include <QVariant>

namespace engine {
class Field;
}

namespace dbui {

QString formatDate(const QDate &date);                       // "dd.MM.yyyy"; empty when invalid
// Day, month and year separated by dots (also "/" or "-"); a two-digit year
// lies within 1930..2029. Invalid dates give an invalid QDate.
QDate parseDate(const QString &text);

// What an edit control shows for a value (memo: the whole text).
QString editText(engine::FieldType type, const QVariant &value);
// What a grid cell or label shows: like editText, but a memo shows its first
// line and a picture a placeholder.
QString displayText(engine::FieldType type, const QVariant &value);

// Text typed by the user, converted for the field; an empty text is null.
// Throws engine::EngineError (ErrInvalidValue) with a German message.
QVariant parseText(const engine::Field &field, const QString &text);

} // namespace dbui
