// Text orders of the store. TARVO_DE sorts titles as a German reader expects
// (DIN 5007 "dictionary" order): umlauts and accented letters with their base
// letters, "ß" as "ss", letter case ignored first; accents, then case (lower
// before upper), then the exact characters only break ties, so that the order
// is total and equal means identical. TARVO_NOCASE ignores letter case only.
#include "engine/tablefile.h"

#include <sqlite3.h>

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <mutex>

namespace engine {
namespace {

struct Utf8Reader {
    const unsigned char *p;
    const unsigned char *end;
    bool atEnd() const { return p >= end; }
    char32_t next()
    {
        unsigned c = *p++;
        if (c < 0x80)
            return c;
        int extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
        char32_t cp = c & (0x3F >> extra);
        while (extra-- > 0 && p < end)
            cp = (cp << 6) | (*p++ & 0x3F);
        return cp;
    }
};

char32_t foldCase(char32_t c)
{
    if (c >= 'A' && c <= 'Z')
        return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    if (c == 0x160 || c == 0x17D || c == 0x152)
        return c + 1;
    if (c == 0x178)
        return 0xFF;
    return c;
}

// Base letters of a (case-folded) character; returns how many were written.
int baseLetters(char32_t c, char32_t out[2])
{
    if (c < 0xC0) {
        out[0] = c;
        return 1;
    }
    switch (c) {
    case 0xE0: case 0xE1: case 0xE2: case 0xE3: case 0xE4: case 0xE5: out[0] = 'a'; return 1;
    case 0xE6: out[0] = 'a'; out[1] = 'e'; return 2;
    case 0xE7: out[0] = 'c'; return 1;
    case 0xE8: case 0xE9: case 0xEA: case 0xEB: out[0] = 'e'; return 1;
    case 0xEC: case 0xED: case 0xEE: case 0xEF: out[0] = 'i'; return 1;
    case 0xF0: out[0] = 'd'; return 1;
    case 0xF1: out[0] = 'n'; return 1;
    case 0xF2: case 0xF3: case 0xF4: case 0xF5: case 0xF6: case 0xF8: out[0] = 'o'; return 1;
    case 0xF9: case 0xFA: case 0xFB: case 0xFC: out[0] = 'u'; return 1;
    case 0xFD: case 0xFF: out[0] = 'y'; return 1;
    case 0xFE: out[0] = 't'; out[1] = 'h'; return 2;
    case 0xDF: out[0] = 's'; out[1] = 's'; return 2;
    case 0x153: out[0] = 'o'; out[1] = 'e'; return 2;
    case 0x161: out[0] = 's'; return 1;
    case 0x17E: out[0] = 'z'; return 1;
    default: out[0] = c; return 1;
    }
}

// Streams the base letters of a text.
struct PrimaryReader {
    Utf8Reader r;
    char32_t buf[2];
    int n = 0, i = 0;
    bool next(char32_t &c)
    {
        if (i < n) {
            c = buf[i++];
            return true;
        }
        if (r.atEnd())
            return false;
        n = baseLetters(foldCase(r.next()), buf);
        i = 1;
        c = buf[0];
        return true;
    }
};

int cmp3(int64_t a, int64_t b) { return a < b ? -1 : a > b ? 1 : 0; }

int germanCompare(void *, int na, const void *a, int nb, const void *b)
{
    auto pa = static_cast<const unsigned char *>(a);
    auto pb = static_cast<const unsigned char *>(b);
    {
        PrimaryReader ra{{pa, pa + na}, {}, 0, 0}, rb{{pb, pb + nb}, {}, 0, 0};
        for (;;) {
            char32_t ca, cb;
            bool ha = ra.next(ca), hb = rb.next(cb);
            if (!ha || !hb) {
                if (ha != hb)
                    return ha ? 1 : -1;
                break;
            }
            if (ca != cb)
                return cmp3(ca, cb);
        }
    }
    // Accents: the folded characters themselves (plain letters are lower).
    {
        Utf8Reader ra{pa, pa + na}, rb{pb, pb + nb};
        while (!ra.atEnd() && !rb.atEnd()) {
            char32_t ca = foldCase(ra.next()), cb = foldCase(rb.next());
            if (ca != cb)
                return cmp3(ca, cb);
        }
    }
    // Case: lower before upper at the first difference.
    {
        Utf8Reader ra{pa, pa + na}, rb{pb, pb + nb};
        while (!ra.atEnd() && !rb.atEnd()) {
            char32_t ca = ra.next(), cb = rb.next();
            if (ca != cb) {
                bool ua = foldCase(ca) != ca, ub = foldCase(cb) != cb;
                if (ua != ub)
                    return ua ? 1 : -1;
                return cmp3(ca, cb);
            }
        }
    }
    int n = na < nb ? na : nb;
    for (int i = 0; i < n; ++i)
        if (pa[i] != pb[i])
            return cmp3(pa[i], pb[i]);
    return cmp3(na, nb);
}

int noCaseCompare(void *, int na, const void *a, int nb, const void *b)
{
    auto pa = static_cast<const unsigned char *>(a);
    auto pb = static_cast<const unsigned char *>(b);
    Utf8Reader ra{pa, pa + na}, rb{pb, pb + nb};
    while (!ra.atEnd() && !rb.atEnd()) {
        char32_t ca = foldCase(ra.next()), cb = foldCase(rb.next());
        if (ca != cb)
            return cmp3(ca, cb);
    }
    return cmp3(ra.atEnd() ? 0 : 1, rb.atEnd() ? 0 : 1);
}

} // namespace

int compareText(Collation collation, const QString &a, const QString &b)
{
    if (collation == Collation::Binary) {
        // UTF-16 order equals the UTF-8 byte order SQLite uses for all
        // characters a Windows-1252 text can hold.
        int c = QStringView(a).compare(QStringView(b), Qt::CaseSensitive);
        return c < 0 ? -1 : c > 0 ? 1 : 0;
    }
    QByteArray ua = a.toUtf8(), ub = b.toUtf8();
    if (collation == Collation::German)
        return germanCompare(nullptr, int(ua.size()), ua.constData(), int(ub.size()), ub.constData());
    return noCaseCompare(nullptr, int(ua.size()), ua.constData(), int(ub.size()), ub.constData());
}

void configureSqlite()
{
    // Every table is a database of its own on a connection, and each gets a
    // page cache: without a preset block of pages, a cache takes memory as
    // its pages are read, instead of claiming (and touching) twenty pages
    // for every table file at once.
    static std::once_flag once;
    std::call_once(once, [] { sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0); });
}

void registerCollations(sqlite3 *db)
{
    sqlite3_create_collation(db, "TARVO_DE", SQLITE_UTF8, nullptr, germanCompare);
    sqlite3_create_collation(db, "TARVO_NOCASE", SQLITE_UTF8, nullptr, noCaseCompare);
}

} // namespace engine
