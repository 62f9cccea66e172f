// Backup and restore of a whole database: its main file B + ".tarvo" and its
// data folder B (with "DB/" and "LNK/" inside). A copy is written beside the
// target first and only then put in place, so a copy that fails or is
// stopped half-way leaves the database at the target as it was.
#pragma once

#include <QString>
#include <functional>

// The size of every file in the folder, and of its subfolders when asked
// (names beginning with a point are skipped); 0 for a missing folder.
qint64 FolderSize(const QString &folder, bool withSubfolders);
// The file's size in bytes; -1 when it cannot be opened.
qint64 FileSizeOf(const QString &fileName);

// True when the target's "DB/" holds a table file ("Med.DB", "Film.DB",
// "Pers.DB", in that order) modified later than the source's.
bool BackupIsOlder(const QString &sourceBase, const QString &targetBase);

// Bytes the copy of the database at sourceBase takes: its folder with every
// subfolder and its main file.
qint64 BackupNeed(const QString &sourceBase);
// Free bytes where targetBase would go (the nearest existing folder above it).
qint64 BackupFree(const QString &targetBase);
// Replaces the reading of the free space (tests stand in for a full disc);
// an empty function restores it.
void SetBackupFreeProbe(std::function<qint64(const QString &folder)> probe);

// Why a target cannot take the copy; empty when it can. The target must not
// be the source itself nor lie inside the source's folder.
QString BackupTargetRefusal(const QString &sourceBase, const QString &targetBase);

// Told the bytes copied so far of the total; false stops the copy.
using BackupProgress = std::function<bool(qint64 done, qint64 total)>;

// Copies main file and data folder of sourceBase to targetBase, replacing
// what is there as a whole. False with a German reason in *error when it
// failed or was stopped; then the target is untouched and nothing of the
// copy is left behind. Every file and folder of the copy is on the disc
// before the swap; a marker beside the target (Name + ".tarvo-tausch")
// stands for the swap while it runs, so that a crash at any point leaves
// the old or, after RecoverDatabaseSwap, the new database.
bool CopyDatabaseFiles(const QString &sourceBase, const QString &targetBase, const BackupProgress &progress,
                       QString *error);

// What RecoverDatabaseSwap did at a base.
struct TSwapRecovery
{
    bool completed = false; // an interrupted swap was finished: the new copy is in place
    QString error;          // German; the swap could not be finished, nothing was removed
};
// Finishes a swap of CopyDatabaseFiles at base that a crash interrupted and
// removes what an interrupted copy left beside it. Nothing to do: neither
// flag nor error.
TSwapRecovery RecoverDatabaseSwap(const QString &base);

// Why the database at base cannot serve as a whole (German), empty when it
// can: main file, table folder and the tables "Med" and "Film" there, and
// they and "Pers" and "LAB" where present each a table of ours, readable to
// its last record.
QString CheckDatabaseSet(const QString &base);

// A new tag for a database made beside its target: the database is written
// at target + tag (folder and main file) and then put in place by
// InstallDatabaseCopy; RecoverDatabaseSwap removes one that never was.
QString NewDatabaseCopyTag();
// Puts the complete database at target + tag in place of the one at target
// (when there is one), durably and as one step for a crash. False with a
// German reason in *error; then the target is as it was and the copy gone.
bool InstallDatabaseCopy(const QString &targetBase, const QString &tag, QString *error);
