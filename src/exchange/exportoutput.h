// The output of every export: a file written through a temporary file, the
// character set mode (Windows, DOS, HTML entities, UTF-8 for XML) and the
// three line writers shared by the table, list and attachment exports.
// Every line ends with CR LF. Nothing reaches the target until finish()
// succeeds, so a failed export never leaves a half-written file.
#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringView>
#include <cstring>

// The format by the last four characters of the file name, upper-cased:
// ".DIF" 0, ".HTM"/"HTML" 1, ".XML" 3, anything else 2 (text).
enum ExportFormat { efDif = 0, efHtml = 1, efText = 2, efXml = 3 };
int ExportFormatOf(const QString &fileName);

enum class ExportCharset { Windows, Dos, Html, Xml };

class ExportOutput
{
public:
    ExportOutput(const QString &fileName, ExportCharset charset);
    ~ExportOutput(); // without finish() the target stays untouched

    // False with a German message when the file cannot be created.
    bool open(QString *error);
    ExportCharset charset() const { return m_charset; }

    // Converts one written text for the mode: HTML entities, UTF-8, code
    // page 437 or Windows-1252 bytes.
    QByteArray convert(const QString &text) const;

    void write(QStringView text);
    void writeLine(QStringView text);
    void writeField(const QString &text, int width, bool rightAlign);
    // Mark-up and numbers of the program's own, plain ASCII without control
    // characters: the same bytes in every mode, copied as they stand.
    void writeAscii(QLatin1StringView text) { appendBytes(text.data(), text.size()); }
    // CR LF, and the buffer written out once it is full.
    void endLine();

    // Writes what is left and puts the file in place; false with a German
    // message (and nothing left behind) when anything failed on the way.
    bool finish(QString *error);

private:
    void append(QStringView text);
    // Bytes copied to the end of the buffer, within the room it keeps.
    void appendBytes(const char *bytes, qsizetype n)
    {
        const qsizetype at = m_buffer.size();
        m_buffer.resize(at + n);
        memcpy(m_buffer.data() + at, bytes, size_t(n));
    }
    void flush();

    QString m_fileName;
    ExportCharset m_charset;
    QSaveFile m_file;
    QByteArray m_buffer;
    bool m_failed = false;
};

// The writers under the names the exports use.
inline void ExportWrite(ExportOutput &out, QStringView text) { out.write(text); }
inline void ExportWriteLine(ExportOutput &out, QStringView text) { out.writeLine(text); }
inline void ExportWriteField(ExportOutput &out, const QString &text, int width, bool rightAlign)
{
    out.writeField(text, width, rightAlign);
}

// The text cut to the width, then filled with blanks to it (before the text
// when right-aligned).
QString FitToWidth(const QString &text, int width, bool rightAlign);
