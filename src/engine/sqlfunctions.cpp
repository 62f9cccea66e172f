#include "engine/sqlfunctions.h"

#include "engine/sqldialect.h"

#include <QChar>
#include <QString>

#include <sqlite3.h>

#include <cstring>

namespace engine::sql {

namespace {

// Decodes one UTF-8 character at p (end excluded); advances p. Malformed
// bytes come back one by one as themselves, so nothing is lost.
char32_t decode(const unsigned char *&p, const unsigned char *end)
{
    const unsigned char c = *p;
    if (c < 0x80) {
        ++p;
        return c;
    }
    int len = 0;
    char32_t cp = 0;
    if ((c & 0xE0) == 0xC0) {
        len = 2;
        cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
        len = 3;
        cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
        len = 4;
        cp = c & 0x07;
    } else {
        ++p;
        return c;
    }
    if (end - p < len) {
        ++p;
        return c;
    }
    for (int i = 1; i < len; ++i) {
        if ((p[i] & 0xC0) != 0x80) {
            ++p;
            return c;
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    p += len;
    return cp;
}

void encode(char32_t cp, QByteArray &out)
{
    if (cp < 0x80) {
        out.append(char(cp));
    } else if (cp < 0x800) {
        out.append(char(0xC0 | (cp >> 6)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.append(char(0xE0 | (cp >> 12)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    } else {
        out.append(char(0xF0 | (cp >> 18)));
        out.append(char(0x80 | ((cp >> 12) & 0x3F)));
        out.append(char(0x80 | ((cp >> 6) & 0x3F)));
        out.append(char(0x80 | (cp & 0x3F)));
    }
}

template<bool Upper>
QByteArray mapCase(QByteArrayView text)
{
    QByteArray out;
    out.reserve(text.size());
    const unsigned char *p = reinterpret_cast<const unsigned char *>(text.data());
    const unsigned char *end = p + text.size();
    while (p < end) {
        if (*p < 0x80) {
            char c = char(*p++);
            if (Upper && c >= 'a' && c <= 'z')
                c = char(c - 32);
            else if (!Upper && c >= 'A' && c <= 'Z')
                c = char(c + 32);
            out.append(c);
            continue;
        }
        const unsigned char *start = p;
        const char32_t cp = decode(p, end);
        if (p - start == 1 && cp >= 0x80) { // a stray byte stays as it is
            out.append(char(cp));
            continue;
        }
        // Simple (one to one) mapping: "ß" stays "ß", so lengths hold.
        const char32_t mapped = Upper ? QChar::toUpper(cp) : QChar::toLower(cp);
        encode(mapped, out);
    }
    return out;
}

bool matchGeneric(const unsigned char *v, const unsigned char *vend, const unsigned char *p,
                  const unsigned char *pend, char32_t escape)
{
    // Iterative wildcard match with one backtrack point (the last "%").
    const unsigned char *starP = nullptr;
    const unsigned char *starV = nullptr;
    while (true) {
        if (p < pend) {
            const unsigned char *pnext = p;
            char32_t pc = decode(pnext, pend);
            if (pc == U'%' ) {
                starP = pnext;
                starV = v;
                p = pnext;
                continue;
            }
            bool literal = false;
            if (escape && pc == escape && pnext < pend) {
                pc = decode(pnext, pend);
                literal = true;
            }
            if (v < vend) {
                const unsigned char *vnext = v;
                const char32_t vc = decode(vnext, vend);
                if ((!literal && pc == U'_') || pc == vc) {
                    v = vnext;
                    p = pnext;
                    continue;
                }
            }
        } else if (v == vend) {
            return true;
        }
        if (!starP || starV >= vend)
            return false;
        // Let the last "%" swallow one more character.
        decode(starV, vend);
        v = starV;
        p = starP;
    }
}

} // namespace

QByteArray upperUtf8(QByteArrayView text)
{
    return mapCase<true>(text);
}

QByteArray lowerUtf8(QByteArrayView text)
{
    return mapCase<false>(text);
}

bool likeUtf8(QByteArrayView value, QByteArrayView pattern, char32_t escape)
{
    const auto *v = reinterpret_cast<const unsigned char *>(value.data());
    const auto *p = reinterpret_cast<const unsigned char *>(pattern.data());
    const qsizetype pn = pattern.size();
    // The common shapes "%text%", "text%" and "%text" without other
    // wildcards are plain searches.
    if (!escape && pn >= 1) {
        bool inner = true;
        const qsizetype lead = (p[0] == '%') ? 1 : 0;
        const qsizetype trail = (pn > lead && p[pn - 1] == '%') ? 1 : 0;
        for (qsizetype i = lead; i < pn - trail; ++i)
            if (p[i] == '%' || p[i] == '_') {
                inner = false;
                break;
            }
        if (inner) {
            const QByteArrayView needle = pattern.sliced(lead, pn - lead - trail);
            if (lead && trail)
                return needle.isEmpty() || value.indexOf(needle) >= 0;
            if (trail)
                return value.startsWith(needle);
            if (lead)
                return value.endsWith(needle);
            return value == needle;
        }
    }
    return matchGeneric(v, v + value.size(), p, p + pn, escape);
}

namespace {

QByteArrayView argText(sqlite3_value *v)
{
    const unsigned char *t = sqlite3_value_text(v);
    const int n = sqlite3_value_bytes(v);
    return QByteArrayView(reinterpret_cast<const char *>(t), n);
}

template<bool Upper>
void caseFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QByteArrayView in = argText(argv[0]);
    // Pure ASCII is the usual case: map in place without decoding.
    bool ascii = true;
    for (char c : in)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) {
        char *buf = static_cast<char *>(sqlite3_malloc(int(in.size()) + 1));
        if (!buf) {
            sqlite3_result_error_nomem(ctx);
            return;
        }
        for (qsizetype i = 0; i < in.size(); ++i) {
            char c = in[i];
            if (Upper && c >= 'a' && c <= 'z')
                c = char(c - 32);
            else if (!Upper && c >= 'A' && c <= 'Z')
                c = char(c + 32);
            buf[i] = c;
        }
        sqlite3_result_text(ctx, buf, int(in.size()), sqlite3_free);
        return;
    }
    const QByteArray out = mapCase<Upper>(in);
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

// The arguments of a LIKE: false when the result is set already (NULL for
// an empty argument, or an error for a bad escape character).
bool likeArguments(sqlite3_context *ctx, int argc, sqlite3_value **argv, char32_t *escape)
{
    for (int i = 0; i < argc; ++i)
        if (sqlite3_value_type(argv[i]) == SQLITE_NULL) {
            sqlite3_result_null(ctx);
            return false;
        }
    *escape = 0;
    if (argc == 3) {
        const QByteArrayView e = argText(argv[2]);
        const unsigned char *p = reinterpret_cast<const unsigned char *>(e.data());
        const unsigned char *end = p + e.size();
        if (p < end)
            *escape = decode(p, end);
        if (p != end || !*escape) {
            sqlite3_result_error(ctx, "ESCAPE erwartet genau ein Zeichen", -1);
            return false;
        }
    }
    return true;
}

void likeFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    char32_t escape = 0;
    if (likeArguments(ctx, argc, argv, &escape))
        sqlite3_result_int(ctx, likeUtf8(argText(argv[0]), argText(argv[1]), escape) ? 1 : 0);
}

// tarvo_like_upper(value, pattern[, escape]): tarvo_like(tarvo_upper(value),
// pattern[, escape]), the value upper-cased on the stack where it is short
// and plain ASCII, as titles mostly are.
void likeUpperFunction(sqlite3_context *ctx, int argc, sqlite3_value **argv)
{
    char32_t escape = 0;
    if (!likeArguments(ctx, argc, argv, &escape))
        return;
    const QByteArrayView in = argText(argv[0]);
    char buf[256];
    bool ascii = in.size() <= qsizetype(sizeof buf);
    for (qsizetype i = 0; ascii && i < in.size(); ++i) {
        const char c = in[i];
        if (static_cast<unsigned char>(c) >= 0x80)
            ascii = false;
        else
            buf[i] = (c >= 'a' && c <= 'z') ? char(c - 32) : c;
    }
    const QByteArray wide = ascii ? QByteArray() : upperUtf8(in);
    const QByteArrayView upper = ascii ? QByteArrayView(buf, in.size()) : QByteArrayView(wide);
    sqlite3_result_int(ctx, likeUtf8(upper, argText(argv[1]), escape) ? 1 : 0);
}

void dateFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString text = QString::fromUtf8(argText(argv[0]));
    const QDate d = parseDateConstant(text);
    if (!d.isValid()) {
        const QByteArray msg = QStringLiteral("Ungültiges Datum \"%1\" (erwartet: MM/TT/JJJJ)").arg(text).toUtf8();
        sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
        return;
    }
    const QByteArray out = dateToStorage(d).toUtf8();
    sqlite3_result_text(ctx, out.constData(), int(out.size()), SQLITE_TRANSIENT);
}

// tarvo_single(value, rows): the value of a sub-query used as a value, which
// must not deliver more than one row.
void singleFunction(sqlite3_context *ctx, int, sqlite3_value **argv)
{
    if (sqlite3_value_int64(argv[1]) > 1) {
        const QByteArray msg = (QLatin1String(OwnErrorMark)
                                + QStringLiteral("Die Unterabfrage liefert mehr als eine Zeile, wo nur ein Wert stehen kann."))
                                   .toUtf8();
        sqlite3_result_error(ctx, msg.constData(), int(msg.size()));
        return;
    }
    sqlite3_result_value(ctx, argv[0]);
}

} // namespace

int registerSqlFunctions(sqlite3 *db)
{
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    int rc = sqlite3_create_function_v2(db, "tarvo_upper", 1, flags, nullptr, caseFunction<true>, nullptr, nullptr,
                                        nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "tarvo_lower", 1, flags, nullptr, caseFunction<false>, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "tarvo_like", 2, flags, nullptr, likeFunction, nullptr, nullptr,
                                        nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "tarvo_like", 3, flags, nullptr, likeFunction, nullptr, nullptr,
                                        nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "tarvo_like_upper", 2, flags, nullptr, likeUpperFunction, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "tarvo_like_upper", 3, flags, nullptr, likeUpperFunction, nullptr,
                                        nullptr, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "tarvo_date", 1, flags, nullptr, dateFunction, nullptr, nullptr,
                                        nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_create_function_v2(db, "tarvo_single", 2, flags, nullptr, singleFunction, nullptr, nullptr,
                                        nullptr);
    return rc;
}

} // namespace engine::sql
