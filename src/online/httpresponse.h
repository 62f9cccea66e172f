// Reading an HTTP response: where its body starts, whether it has come in
// full (by Content-Length, by the last chunk of a chunked body, or only at
// the end of the connection) and the body itself, chunks decoded.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Nothing larger is accepted as a response: the version file is three lines.
constexpr qsizetype HttpMaxResponseBytes = 64 * 1024;

enum class THttpBodyState {
    NeedMore, // the headers or the announced body are not all there yet
    Complete, // the body is all there (Content-Length reached, last chunk read)
    ToEnd,    // no length given: the body is what comes until the connection ends
    Invalid,  // no status line, a broken chunk, a bad length or too large
};

struct THttpParse
{
    THttpBodyState state = THttpBodyState::NeedMore;
    QByteArray body; // decoded; for NeedMore what has come so far
    int status = 0;  // the status line's code ("HTTP/1.1 200 OK": 200); 0 when it has none
};

// Lines before the status line (the first line whose first four characters
// are "HTTP" in any case) are skipped; the headers end at the first empty
// line.
THttpParse ParseHttpResponse(const QByteArray &raw);

// Lines as the program's string lists take them: split at CR LF, LF or CR;
// a line end at the very end adds no empty line.
QStringList SplitTextLines(const QString &text);

// The body of a whole response as lines; none when there is no status line,
// the body is cut short or broken, or the response is larger than 64 KiB.
std::optional<QStringList> HttpResponseBody(const QString &response);
// The status code of a response's status line; 0 when there is none.
int HttpResponseStatus(const QString &response);
