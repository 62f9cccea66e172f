#include "platform/textfile.h"

#include "platform/cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace platform {

std::optional<QByteArray> readFileBytes(const QString &path, QString *error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Die Datei \"%1\" konnte nicht gelesen werden: %2")
                         .arg(path, f.errorString());
        return std::nullopt;
    }
    return f.readAll();
}

bool writeFileBytes(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        if (error)
            *error = QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden: %2")
                         .arg(path, f.errorString());
        return false;
    }
    return true;
}

QStringList splitCp1252Lines(const QByteArray &bytes)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = bytes.size();
    for (qsizetype i = 0; i < n; ++i) {
        if (bytes[i] != '\n')
            continue;
        qsizetype end = i;
        if (end > start && bytes[end - 1] == '\r')
            --end;
        lines.append(fromCp1252(QByteArrayView(bytes).sliced(start, end - start)));
        start = i + 1;
    }
    if (start < n)
        lines.append(fromCp1252(QByteArrayView(bytes).sliced(start)));
    return lines;
}

QByteArray joinCp1252Lines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += toCp1252(line);
        out += "\r\n";
    }
    return out;
}

std::optional<QStringList> readTextLines(const QString &path, QString *error)
{
    auto bytes = readFileBytes(path, error);
    if (!bytes)
        return std::nullopt;
    return splitCp1252Lines(*bytes);
}

bool writeTextLines(const QString &path, const QStringList &lines, QString *error)
{
    return writeFileBytes(path, joinCp1252Lines(lines), error);
}

} // namespace platform
