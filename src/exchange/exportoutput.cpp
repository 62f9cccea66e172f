#include "exchange/exportoutput.h"

#include "kit/textconv.h"
#include "platform/cp1252.h"

#include <QDir>

namespace {

constexpr qsizetype kFlushAt = 1 << 16;

QString writeErrorText(const QString &fileName, const QString &reason)
{
    return QStringLiteral("Die Exportdatei \"%1\" konnte nicht geschrieben werden:\n%2")
        .arg(QDir::toNativeSeparators(fileName), reason);
}

// Qt's own error texts are English; the user gets the cause in German.
QString reasonText(QFileDevice::FileError e)
{
    switch (e) {
    case QFileDevice::PermissionsError: return QStringLiteral("Zugriff verweigert (keine Schreibberechtigung).");
    case QFileDevice::OpenError: return QStringLiteral("Die Datei oder ihr Ordner kann nicht geöffnet werden.");
    case QFileDevice::ResourceError: return QStringLiteral("Der Datenträger ist voll.");
    default: return QStringLiteral("Schreibfehler (z.B. Datenträger voll oder schreibgeschützt).");
    }
}

// A character the Windows code page lacks would become '?': HTML names it
// by its number instead.
QByteArray htmlBytes(const QString &text)
{
    bool lossless = true;
    QByteArray bytes = platform::toCp1252(text, &lossless);
    if (lossless)
        return bytes;
    bytes.clear();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char32_t c = text.at(i).isHighSurrogate() && i + 1 < text.size()
                               ? QChar::surrogateToUcs4(text.at(i), text.at(i + 1))
                               : text.at(i).unicode();
        if (c > 0xFFFF)
            ++i;
        const int b = c > 0xFFFF ? -1 : platform::unicodeToCp1252(char16_t(c));
        if (b >= 0)
            bytes += char(b);
        else
            bytes += "&#" + QByteArray::number(uint(c)) + ';';
    }
    return bytes;
}

// XML 1.0 allows no control characters but tab, CR and LF; they are left out,
// so the file stays well formed.
QString xmlText(const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 0x20 && c != QLatin1Char('\t') && c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            QString out;
            out.reserve(text.size());
            for (QChar d : text)
                if (d.unicode() >= 0x20 || d == QLatin1Char('\t') || d == QLatin1Char('\r') || d == QLatin1Char('\n'))
                    out += d;
            return out;
        }
    }
    return text;
}

} // namespace

int ExportFormatOf(const QString &fileName)
{
    const QString tail = fileName.right(4).toUpper();
    if (tail == QLatin1String(".DIF"))
        return efDif;
    if (tail == QLatin1String(".HTM") || tail == QLatin1String("HTML"))
        return efHtml;
    if (tail == QLatin1String(".XML"))
        return efXml;
    return efText;
}

QString FitToWidth(const QString &text, int width, bool rightAlign)
{
    if (width <= 0)
        return QString();
    if (text.size() >= width)
        return text.left(width);
    const QString fill(width - text.size(), QLatin1Char(' '));
    return rightAlign ? fill + text : text + fill;
}

ExportOutput::ExportOutput(const QString &fileName, ExportCharset charset)
    : m_fileName(fileName), m_charset(charset), m_file(fileName)
{
}

ExportOutput::~ExportOutput()
{
    if (m_file.isOpen())
        m_file.cancelWriting();
}

bool ExportOutput::open(QString *error)
{
    m_buffer.reserve(kFlushAt + 4096);
    if (m_file.open(QIODevice::WriteOnly))
        return true;
    if (error)
        *error = QStringLiteral("Die Exportdatei \"%1\" kann nicht angelegt werden:\n%2")
                     .arg(QDir::toNativeSeparators(m_fileName), reasonText(m_file.error()));
    return false;
}

// Text of ASCII letters, digits and marks (most of an export) is the same
// bytes in every mode: copied straight into the buffer. False, with nothing
// appended, when the text holds anything else (in XML also a control
// character but tab, CR and LF).
static bool appendAscii(QByteArray &out, QStringView text, bool xml)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char *d = out.data() + at;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || (xml && u < 0x20 && u != u'\t' && u != u'\r' && u != u'\n')) {
            out.resize(at);
            return false;
        }
        *d++ = char(u);
    }
    return true;
}

// Windows-1252 bytes written straight into the buffer ('?' for a character
// the set lacks).
static void appendCp1252(QByteArray &out, QStringView text)
{
    const qsizetype at = out.size();
    out.resize(at + text.size());
    char *d = out.data() + at;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            *d++ = char(u);
        } else {
            const int b = platform::unicodeToCp1252(u);
            *d++ = b < 0 ? '?' : char(b);
        }
    }
}

static bool hasSurrogate(QStringView text)
{
    for (const QChar c : text)
        if (c.isSurrogate())
            return true;
    return false;
}

// XML text as UTF-8 straight into the buffer, without the control characters
// XML 1.0 forbids. False, with nothing appended, for a text with surrogates:
// convert() handles those.
static bool appendUtf8(QByteArray &out, QStringView text)
{
    if (hasSurrogate(text))
        return false;
    const qsizetype at = out.size();
    out.resize(at + 3 * text.size());
    char *d = out.data() + at;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            if (u >= 0x20 || u == u'\t' || u == u'\r' || u == u'\n')
                *d++ = char(u);
        } else if (u < 0x800) {
            *d++ = char(0xC0 | (u >> 6));
            *d++ = char(0x80 | (u & 0x3F));
        } else {
            *d++ = char(0xE0 | (u >> 12));
            *d++ = char(0x80 | ((u >> 6) & 0x3F));
            *d++ = char(0x80 | (u & 0x3F));
        }
    }
    out.resize(d - out.constData());
    return true;
}

// HTML text straight into the buffer: named entities where HTML has them,
// Windows-1252 bytes, and the number of any other character. False, with
// nothing appended, for a text with surrogates: convert() handles those.
static bool appendHtml(QByteArray &out, QStringView text)
{
    if (hasSurrogate(text))
        return false;
    for (const QChar c : text) {
        if (const char *e = HtmlEntityOf(c.unicode())) {
            out.append(e);
        } else if (const int b = platform::unicodeToCp1252(c.unicode()); b >= 0) {
            out.append(char(b));
        } else {
            out.append("&#", 2);
            out.append(QByteArray::number(uint(c.unicode())));
            out.append(';');
        }
    }
    return true;
}

QByteArray ExportOutput::convert(const QString &text) const
{
    // In the DOS code page nothing is cut: a long memo or title keeps all of
    // its characters.
    switch (m_charset) {
    case ExportCharset::Html: return htmlBytes(AnsiToHtmlEntities(text));
    case ExportCharset::Xml: return AnsiToUtf8(xmlText(text));
    case ExportCharset::Dos: return AnsiToDos(platform::toCp1252(text));
    case ExportCharset::Windows: break;
    }
    return platform::toCp1252(text);
}

void ExportOutput::append(QStringView text)
{
    if (m_charset == ExportCharset::Windows) {
        appendCp1252(m_buffer, text);
        return;
    }
    if (appendAscii(m_buffer, text, m_charset == ExportCharset::Xml))
        return;
    if (m_charset == ExportCharset::Xml && appendUtf8(m_buffer, text))
        return;
    if (m_charset == ExportCharset::Html && appendHtml(m_buffer, text))
        return;
    m_buffer += convert(text.toString());
}

void ExportOutput::write(QStringView text)
{
    append(text);
    if (m_buffer.size() >= kFlushAt)
        flush();
}

void ExportOutput::writeLine(QStringView text)
{
    append(text);
    endLine();
}

void ExportOutput::endLine()
{
    appendBytes("\r\n", 2);
    if (m_buffer.size() >= kFlushAt)
        flush();
}

void ExportOutput::writeField(const QString &text, int width, bool rightAlign)
{
    write(FitToWidth(text, width, rightAlign));
}

void ExportOutput::flush()
{
    if (!m_failed && !m_buffer.isEmpty() && m_file.write(m_buffer) != m_buffer.size())
        m_failed = true;
    m_buffer.resize(0); // keeps its room for the next block

}

bool ExportOutput::finish(QString *error)
{
    flush();
    if (!m_failed && m_file.commit())
        return true;
    const QString reason = reasonText(m_file.error());
    if (m_file.isOpen())
        m_file.cancelWriting();
    if (error)
        *error = writeErrorText(m_fileName, reason);
    return false;
}
