// Start-up: the command line, the parameter file "tarvo.par", the look
// switches they select, the database chosen at start and the main window's
// first-activation steps.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// First argument of the command line (a ".tarvo" file to open, or anything).
extern QString CmdFirstArg;
// The network control folder given after "/NET" (set only when it exists).
extern QString NetFileDir;
// The look keywords in force, upper case, in the order they were read.
extern QStringList LookKeywords;

// Reads the arguments (without the program's own name) from the first on:
// "/NET" and its folder, the look keywords. An invalid "/NET" folder gets its
// box; NetworkMode and NetFileDir are set for a valid one. Returns the look
// keywords found, upper case.
QStringList ReadCommandLine(const QStringList &args);

// Keywords of "tarvo.par": one a line, whole line against whole keyword,
// upper case. "ASK" is not taken from the file: the restarted program would
// read it again and restart for ever. A missing file gives nothing; an
// unreadable one a box.
QStringList ReadParameterFile(const QString &path);

// What the look keywords do, in the order they are applied.
enum class TLookAction { Restart, UseStandardFrames, FreeMetalSkins, NoRegions, NoButtonBitmaps };
QList<TLookAction> LookActions(const QStringList &keywords);

// Reads the command line, then "tarvo.par" in ProgDir unless a look keyword
// stood on the command line; sets CmdFirstArg and LookKeywords and returns
// the actions to apply.
QList<TLookAction> ReadStartParameters(const QStringList &args);

// The database to open at start: from a first argument naming an existing
// ".tarvo" file, else from DBFile; only when its media, film and person
// tables exist.
struct TStartDatabase
{
    bool Use = false;
    QString Base;      // with a trailing separator
    QString PersBase;  // person table without ".DB"
};
TStartDatabase ChooseStartDatabase(const QString &firstArg, const QString &dbFile,
                                   const QString &persDBFile);

// The main window's first-activation steps. While the intro box is still
// visible nothing runs (nullopt, firstActivation stays set); else the flag is
// cleared and the steps to run are returned; once done, nullopt.
struct TFirstActivationSteps
{
    bool ShowTip = false;
    bool ShowNoDatabaseHint = false;
    bool RunOverdueList = false;
};
std::optional<TFirstActivationSteps> FirstActivationSteps(bool &firstActivation, bool introVisible,
                                                          bool showTip, bool mediaTableOpen,
                                                          bool autoMahnliste);

// The hint at the file menu when no database is open.
QString NoDatabaseHintText();
