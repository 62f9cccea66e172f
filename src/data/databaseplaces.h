// Where a collection database lives, computed once from its name: the main
// file "Name.tarvo", the folder "Name/" with "DB/" (tables, "KAT",
// "Pers.LAB") and "LNK/" (copies of linked files), and each table's file.
// Opening, the tables, the repair steps (and later backup and import) take
// this value instead of putting the paths together again.
#pragma once

#include <QString>

struct TDatabasePlaces
{
    QString Name;         // "/a/b/Name": no extension, no trailing separator
    QString MainFile;     // "/a/b/Name.tarvo"
    QString Base;         // "/a/b/Name/" (DBBase)
    QString DBDir;        // "/a/b/Name/DB/"
    QString LinkDir;      // "/a/b/Name/LNK/"
    QString MediaTable;   // DB/Med.DB
    QString FilmTable;    // DB/Film.DB
    QString PersBase;     // DB/Pers (the database's own person table, without ".DB")
    QString Categories;   // DB/KAT
    QString PersCaptions; // DB/Pers.LAB

    bool isEmpty() const { return Base.isEmpty(); }
    // The file of a table of the "DB" folder ("Med" -> ".../DB/Med.DB").
    QString tablePath(const QString &table) const { return DBDir + table + QStringLiteral(".DB"); }

    // From a name as the user chose it (trailing ".tarvo" removed, expanded
    // against the databases' folder).
    static TDatabasePlaces fromName(const QString &name);
    // From an absolute name without extension.
    static TDatabasePlaces fromPath(const QString &path);
    // From the folder (DBBase, with or without its trailing separator).
    static TDatabasePlaces fromBase(const QString &base);
};
