// Paths as the program writes and stores them. Stored names may use "\" (they
// come from databases made on Windows); on disk the platform's "/" is used.
#pragma once

#include <QString>

namespace platform {

// "\" becomes "/"; nothing else changes.
QString toNativeSeparators(const QString &storedPath);

// "/" becomes "\", for names written into files that keep Windows spelling.
QString toStoredSeparators(const QString &path);

// Absolute: starts with "/", or is a Windows drive or share name ("C:\...",
// "\\server\...") as older stored data may hold.
bool isAbsolutePath(const QString &path);

// Joins a folder and a (relative) name with exactly one separator.
QString joinPath(const QString &folder, const QString &name);

// A folder name that ends with "/" (the program keeps its folders so).
QString withTrailingSeparator(const QString &folder);

// Extension of a file name including the dot, or "" ("x.tarvo" -> ".tarvo").
QString fileExtension(const QString &path);
// The name without its last extension ("a/b.c.d" -> "a/b.c").
QString stripExtension(const QString &path);

} // namespace platform
