#include "platform/cp1252.h"

namespace platform {

namespace {

// 0x80..0x9F; the undefined positions keep their own number.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

} // namespace

char16_t cp1252ToUnicode(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHigh[byte - 0x80];
    return char16_t(byte);
}

int unicodeToCp1252(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return int(ch);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == ch)
            return 0x80 + i;
    return -1;
}

QString fromCp1252(QByteArrayView bytes)
{
    QString out;
    out.resize(bytes.size());
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(cp1252ToUnicode(static_cast<unsigned char>(bytes[i])));
    return out;
}

QByteArray toCp1252(QStringView text, bool *lossless)
{
    QByteArray out;
    out.resize(text.size());
    bool ok = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int b = unicodeToCp1252(text[i].unicode());
        if (b < 0) {
            ok = false;
            out[i] = '?';
        } else {
            out[i] = char(b);
        }
    }
    if (lossless)
        *lossless = ok;
    return out;
}

bool isCp1252(QStringView text)
{
    for (QChar c : text)
        if (unicodeToCp1252(c.unicode()) < 0)
            return false;
    return true;
}

} // namespace platform
