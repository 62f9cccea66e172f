#include "online/httpresponse.h"

#include "platform/cp1252.h"

namespace {

// End of the line starting at pos (the index of its CR or LF, or n).
qsizetype lineEnd(const QByteArray &b, qsizetype pos)
{
    while (pos < b.size() && b[pos] != '\r' && b[pos] != '\n')
        ++pos;
    return pos;
}

// Index after the line end at pos (CR LF, LF or CR); -1 when the line has no
// end yet.
qsizetype afterLineEnd(const QByteArray &b, qsizetype pos)
{
    if (pos >= b.size())
        return -1;
    if (b[pos] == '\r' && pos + 1 < b.size() && b[pos + 1] == '\n')
        return pos + 2;
    return pos + 1;
}

bool startsWithHttp(const QByteArray &b, qsizetype pos)
{
    return pos + 4 <= b.size() && b.mid(pos, 4).toUpper() == "HTTP";
}

// The code of a status line "HTTP/1.1 404 Not Found": the three digits after
// the first blank; 0 when they are not there.
int statusCode(const QByteArray &line)
{
    const QList<QByteArray> words = line.simplified().split(' ');
    if (words.size() < 2 || words[1].size() != 3)
        return 0;
    for (const char c : words[1])
        if (c < '0' || c > '9')
            return 0;
    return words[1].toInt();
}

// Decodes a chunked body: sizes in hexadecimal (extensions after ';'
// ignored), each chunk followed by a line end, the last chunk of size 0.
THttpParse decodeChunks(const QByteArray &b, qsizetype pos)
{
    THttpParse p;
    for (;;) {
        const qsizetype end = lineEnd(b, pos);
        const qsizetype next = afterLineEnd(b, end);
        if (next < 0 || (b[end] == '\r' && next == end + 1 && end + 1 == b.size()))
            return p; // the size line is not complete yet
        QByteArray sizeText = b.mid(pos, end - pos);
        if (const qsizetype semi = sizeText.indexOf(';'); semi >= 0)
            sizeText.truncate(semi);
        sizeText = sizeText.trimmed();
        bool ok = false;
        const qlonglong size = sizeText.toLongLong(&ok, 16);
        if (!ok || sizeText.isEmpty() || size < 0 || size > HttpMaxResponseBytes || sizeText.startsWith('+')
            || sizeText.startsWith('-')) {
            p.state = THttpBodyState::Invalid;
            return p;
        }
        if (size == 0) {
            p.state = THttpBodyState::Complete;
            return p;
        }
        if (next + size > b.size()) {
            p.body += b.mid(next, b.size() - next);
            return p;
        }
        p.body += b.mid(next, size);
        pos = next + size;
        if (pos >= b.size())
            return p;
        if (b[pos] != '\r' && b[pos] != '\n') {
            p.state = THttpBodyState::Invalid;
            return p;
        }
        const qsizetype after = afterLineEnd(b, pos);
        if (b[pos] == '\r' && after == pos + 1 && after == b.size())
            return p;
        pos = after;
    }
}

} // namespace

THttpParse ParseHttpResponse(const QByteArray &raw)
{
    THttpParse p;
    if (raw.size() > HttpMaxResponseBytes) {
        p.state = THttpBodyState::Invalid;
        return p;
    }
    qsizetype pos = 0;
    while (!startsWithHttp(raw, pos)) {
        const qsizetype next = afterLineEnd(raw, lineEnd(raw, pos));
        if (next < 0) {
            // No status line at all; the last line may still become one.
            if (raw.size() - pos >= 4)
                p.state = THttpBodyState::Invalid;
            return p;
        }
        pos = next;
    }
    // The status line and the headers up to the first empty line.
    bool chunked = false;
    qlonglong length = -1;
    bool first = true;
    for (;;) {
        const qsizetype end = lineEnd(raw, pos);
        const qsizetype next = afterLineEnd(raw, end);
        if (next < 0)
            return p;
        if (end == pos) {
            pos = next;
            break;
        }
        if (first) {
            p.status = statusCode(raw.mid(pos, end - pos));
        } else {
            const QByteArray line = raw.mid(pos, end - pos);
            const qsizetype colon = line.indexOf(':');
            if (colon > 0) {
                const QByteArray name = line.left(colon).trimmed().toLower();
                const QByteArray value = line.mid(colon + 1).trimmed();
                if (name == "transfer-encoding" && value.toLower().contains("chunked")) {
                    chunked = true;
                } else if (name == "content-length") {
                    bool ok = false;
                    const qlonglong n = value.toLongLong(&ok);
                    if (!ok || n < 0 || value.startsWith('+') || n > HttpMaxResponseBytes) {
                        p.state = THttpBodyState::Invalid;
                        return p;
                    }
                    length = n;
                }
            }
        }
        first = false;
        pos = next;
    }
    if (chunked) {
        THttpParse chunks = decodeChunks(raw, pos);
        chunks.status = p.status;
        return chunks;
    }
    if (length < 0) {
        p.state = THttpBodyState::ToEnd;
        p.body = raw.mid(pos);
        return p;
    }
    p.body = raw.mid(pos, length);
    p.state = raw.size() - pos >= length ? THttpBodyState::Complete : THttpBodyState::NeedMore;
    return p;
}

QStringList SplitTextLines(const QString &text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        lines << text.mid(start, i - start);
        i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
        start = i;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

int HttpResponseStatus(const QString &response)
{
    return ParseHttpResponse(platform::toCp1252(response)).status;
}

std::optional<QStringList> HttpResponseBody(const QString &response)
{
    const THttpParse p = ParseHttpResponse(platform::toCp1252(response));
    if (p.state != THttpBodyState::Complete && p.state != THttpBodyState::ToEnd)
        return std::nullopt;
    return SplitTextLines(platform::fromCp1252(p.body));
}
