// Text conversions for the program's outputs: the DOS code page for text
// exports, HTML and XML escapes, UTF-8 for XML and percent-encoding for
// web-search addresses. Pure functions; none of them fails or cuts its input.
#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252 bytes to code page 437 and back; only the fifteen letters
// ü é â ä à ç ê ë è Ä ö Ö Ü á ß are translated, every other byte is copied.
QByteArray AnsiToDos(const QByteArray &ansi);
QByteArray DosToAnsi(const QByteArray &dos);

// Named HTML entities for the accented letters that have one.
QString AnsiToHtmlEntities(const QString &s);
// The named entity of one character ("&auml;"), or null when it has none.
const char *HtmlEntityOf(char16_t ch);
// & < > " escaped; the apostrophe is left alone.
QString HtmlEscape(const QString &s);
// & < > " ' escaped.
QString XmlEscape(const QString &s);
// The text as UTF-8 bytes (the Euro sign, curly quotes and every other
// character keep their meaning).
QByteArray AnsiToUtf8(const QString &s);
// Blank to '+', the listed reserved characters and every character of 128 and
// above (by its Windows-1252 byte) to "%XX".
QString UrlEncode(const QString &s);
// Every '&' becomes "&amp;".
QString EscapeAmpersands(const QString &s);
