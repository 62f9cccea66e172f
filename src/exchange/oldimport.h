// The import of databases written by older program versions. The old files
// are Paradox tables named by a base path and a suffix ("Videos.Kass.DB",
// "Videos.Film.DB", ...); the new database always lands in the databases'
// folder under the base's file name. The old files are only read.
//
// Generation A (V1.x/V2.x): one table "base.DB" of media with four film slots.
// Generation B (V3.x without medium kinds): "base.Kass.DB" without `Medium`.
// Generation C (up to V5.x): "base.Kass.DB" with `Medium`; its tables are
// converted as they are and the missing fields added by ALTER TABLE.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class TParadoxTable;

// Versions 3.x to 5.x: generation B or C by the media table's `Medium`.
bool ImportOldDatabase(const QString &oldBase);
// Versions 1.x and 2.x (generation A).
bool ImportOldVersionFile(const QString &oldBase);

// The open command's step: imports and returns the new main file, or empty
// after the messages (nothing of the new database is left behind then).
QString ImportOldDatabaseFile(const QString &oldBase, bool oldest);

// Where the import of oldBase lands: ExpandDBPath of its file name.
QString ImportTargetPath(const QString &oldBase);

// The ALTER TABLE statement that adds the fields a table ("Film", "Med",
// "Pers") lacks, line by line; empty when nothing is missing. printedAdded
// tells whether `Gedruckt` is among them.
enum class TOldTable { Film, Media, Persons };
QStringList UpgradeStatementLines(TOldTable table, const QString &tablePath, const QStringList &fieldNames,
                                  bool *printedAdded = nullptr);
// Runs it over the table file; true when nothing was missing or the statement
// ran. Throws engine::EngineError.
bool UpgradeOldTable(TOldTable table, const QString &tablePath, bool &printedAdded);

// The old captions text file ".LAB".
struct TOldCaptions
{
    int filmCount = 0;       // F: 4, 6 or 10
    QStringList film;        // F captions
    QStringList medium;      // 4 captions
    bool mediumLinkLine = false; // the medium flags are set: their line is missing or one character
    bool mediumLink[4] = {};
    bool filmLink[10] = {};
    bool filmPerson[10] = {};
};
TOldCaptions ParseOldCaptions(const QByteArray &bytes, bool oldest);

// Captions of the new database at newPath: copies "base.LAB.DB", else reads
// "base.LAB" (defaults when it is missing, after a message), then saves them.
void ImportOldCaptions(bool oldest, const QString &oldBase, const QString &newPath);

// Converts one old table into a new table file of our store with the old
// fields (and the indexes of our layout whose fields it has). Throws
// TParadoxError or engine::EngineError.
void ConvertParadoxTable(TParadoxTable &source, const QString &targetPath, const QString &tableName);
