// The files of a collection database: the main file "Name.tarvo" (one line
// "6.0") and the folder "Name/" beside it with "DB/" (the tables, "KAT",
// "Pers.LAB") and "LNK/" (copies of linked files). New databases are made
// from the template files "Def60.*" of the program folder.
#pragma once

#include <QString>

struct TDatabasePlaces;

// Copies sourcePrefix + sourceTable + ".DB" (and the side files ".PX", ".VAL",
// ".MB" where a template carries them) to targetFolder/DB/targetTable + the
// same extension, overwriting, and makes the copies ordinary writable files.
// Stops at the first failure.
bool CopyTableFiles(const QString &sourcePrefix, const QString &targetFolder, const QString &sourceTable,
                    const QString &targetTable);
bool CopyTemplateTable(const QString &targetFolder, const QString &table);

// Makes the database files at path (without extension); false after its
// message. An existing database there is never overwritten.
bool CreateDatabaseFiles(const TDatabasePlaces &places, bool copyCategories, bool copyCaptions);
bool CreateDatabaseFiles(const QString &path, bool copyCategories, bool copyCaptions);

// "x.tarvo.tarvo" -> "x": every trailing ".tarvo" (any case) removed.
QString StripTarvoExtensions(const QString &name);
