// Functions the translated dialect calls inside SQLite: UPPER and LOWER that
// know German letters, a case-sensitive LIKE, and date constants.
#pragma once

#include <QByteArray>
#include <QByteArrayView>

struct sqlite3;

namespace engine::sql {

// Registers tarvo_upper, tarvo_lower, tarvo_like, tarvo_like_upper
// (tarvo_like over tarvo_upper of its first argument), tarvo_date and
// tarvo_single on a connection. Returns an SQLite result code.
int registerSqlFunctions(sqlite3 *db);

// Start of an error text our own SQL functions raise: the rest is the German
// message to show as it stands.
inline constexpr char OwnErrorMark[] = "tarvo: ";

// The same operations on UTF-8 text, for callers outside SQL.
QByteArray upperUtf8(QByteArrayView text);
QByteArray lowerUtf8(QByteArrayView text);
// LIKE with "%" and "_" (one character), letter case counting; escape is a
// single character or 0.
bool likeUtf8(QByteArrayView value, QByteArrayView pattern, char32_t escape = 0);

} // namespace engine::sql
