// Text files of the program and its databases: Windows-1252 with CR LF,
// read and written as bytes so that nothing is changed on the way.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace platform {

// The largest file the program reads whole: its text and settings files and
// pictures stay far below this.
constexpr qint64 kMaxReadFileBytes = qint64(64) * 1024 * 1024;

// Whole file as bytes; nullopt and a German message when it cannot be read.
// Only a regular file (or a link to one) of at most maxBytes is read: a FIFO
// or device never blocks the call, and nothing larger is taken into memory.
std::optional<QByteArray> readFileBytes(const QString &path, QString *error = nullptr,
                                        qint64 maxBytes = kMaxReadFileBytes);

// Writes through a temporary file and renames it over the target, so a
// failure part-way never leaves a half-written file behind.
bool writeFileBytes(const QString &path, const QByteArray &bytes, QString *error = nullptr);

// Splits Windows-1252 bytes into lines at CR LF (a lone LF also ends a line;
// a lone CR is kept as part of the line). A last line without an end is kept;
// a file that ends with a line end has no empty last line.
QStringList splitCp1252Lines(const QByteArray &bytes);

// Joins lines with CR LF after each one.
QByteArray joinCp1252Lines(const QStringList &lines);

std::optional<QStringList> readTextLines(const QString &path, QString *error = nullptr);
bool writeTextLines(const QString &path, const QStringList &lines, QString *error = nullptr);

} // namespace platform
