// The program's settings: globals with their start-up defaults, the loader
// that reads them once at start and the writer that stores all of them after
// every change. They live in the settings store (platform/registry.h) below
// "Software\Ozo-Software\TARVO"; the self-adhesive sheet geometry below the
// machine's "SOFTWARE\Ozo-Software\TARVO".
#pragma once

#include "platform/tcolor.h"

#include <QString>
#include <QtGlobal>

class QFont;
namespace platform { class Registry; }

// ---- Program-wide paths and state ------------------------------------------
extern QString ProgDir;    // folder of the program file, with a trailing separator
extern QString SkinDir;    // ProgDir + "Skins/"
extern QString DBsDir;     // folder proposed for databases
extern QString HelpFile;   // ProgDir + "Tarvo.hlp"
extern QString SymbolFile; // footer symbol of labels ("Symbol")
extern QString DBFile;     // base path of the database opened at start
extern QString PersDBFile; // shared person table, without ".DB"; empty = the database's own
extern QString DBBase;     // base path of the open database, with a trailing separator
extern QString PersBase;   // person table of the open database, without ".DB"
extern bool NetworkMode;

// ---- User settings -----------------------------------------------------------
extern bool ShowTipODay;   // the tip dialog's show-at-start switch
extern QString SymbDirF, SymbDirK;
extern quint8 SymbTypK;
extern QString LFont;      // list print font; empty prints in "Arial"
extern quint8 LPP, ListSpAnz;
extern bool ListUseKategFont;
extern QString AnhFont;    // attachment card font; empty prints in "Arial"
extern quint8 AnhGrScale;
extern bool AnhPrintFlag1, AnhPrintFlag2, AnhShrinkPicture;
extern QString PersDruckFontName;
extern quint8 PersDruckFontSize;
extern bool PersDruckBackSide, PersDruckListFilms, PersDruckMedIndex;
extern quint8 MaxSizeSub, MaxSizeMin, MaxSizeSymb, FilmSizeIdent, PrintFreeNr, PrintHFreeNr;
extern bool PrintRest, PrintTon, PrintAnhSymb, PrintAnhSymbMemo, PrintLen, PrintFree,
    PrintKategSymb, FreeStrikeOut, PrintKat;
extern int PlayTimeFormat; // 0..4
extern bool PrintHZF, PrintHKateg, PrintHFree, NrEtiSeparate, PrintEndPos;
extern int LabelAlignMode; // 0..2
extern bool PrintSterne, PrintHNr, VCenter;
extern int FormatSymbMode; // 0..3
extern bool GridBoolBothSymbols, GridBoolTrueSymbolOnly, GridBoolTickStyle;
extern bool ZFOn, ZFShowHint;
extern bool PFSetAlways, PFSetNever, PFClearAlways, PFClearNever, PFNoReadOnlyAsk;
extern bool bRest1bis4, ATTS, dvd_kk_nur1film;
extern QString CDDrive; // the disc drive: a mount point or a device
extern const QString DefaultCDDrive;
extern quint16 RegelVerleihzeit;
extern bool AutoMahnliste, ErsterVerleih;
// The network refresh timer's interval in milliseconds; stored in seconds.
extern int NetRefreshInterval;
extern int UpdChkMode;     // 0 ask at start, 1 check at start, 2 never

// Column layouts of the table view and the main window's film list.
constexpr int SPColumnsK = 14, SPColumnsF = 29, SPColumnsP = 9, SPColumnsMF = 27;
extern qint32 SPBreitenK[SPColumnsK], SPReihenfolgeK[SPColumnsK];
extern qint32 SPBreitenF[SPColumnsF], SPReihenfolgeF[SPColumnsF];
extern qint32 SPBreitenP[SPColumnsP], SPReihenfolgeP[SPColumnsP];
extern qint32 SPBreitenMF[SPColumnsMF], SPReihenfolgeMF[SPColumnsMF];
extern bool SPLayoutsValid; // set when loaded complete or stored once by the table view

// A font as the store keeps it: face name, points, style bits
// (1 bold, 2 italic, 4 underline, 8 struck out) and a Windows colour value.
struct TFontSpec
{
    QString Name = QStringLiteral("Arial");
    int Size = 10;
    int Style = 0;
    platform::TColor Color = 0;
    bool operator==(const TFontSpec &) const = default;
};
enum : int { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
extern TFontSpec LabelFont;  // the label font dialog's font
extern TFontSpec NrEtiFont;  // the number-label font dialog's font
QFont FontSpecToQFont(const TFontSpec &f);
TFontSpec QFontToFontSpec(const QFont &font, platform::TColor color);
// The face to use for a stored font name: "Arial" when it is empty.
QString FontNameOrArial(const QString &name);

// One entry of the user's free-query menu.
struct TFreeQueryMenuEntry
{
    QString SQL;
    QString Caption;
    bool Enabled = false;
};
constexpr int FreeQueryMenuCount = 5;
extern TFreeQueryMenuEntry FreeQueryMenu[FreeQueryMenuCount]; // entry n at index n - 1

// Self-adhesive sheet geometry, tenths of a millimetre (machine-wide).
struct TZFSheetLayout
{
    qint32 ZFRTop = 184, ZFRLeft = 313, ZFRA = 200, ZFRAnz = 13;
    qint32 ZFGTop = 87, ZFGLeft = 250, ZFGAh = 813, ZFGAv = 466, ZFGAnz = 12;
    qint32 ZFKX = 0, ZFKY = 0;
    bool Changed = false; // a value was missing: the next OK of the set-up writes all
};
extern TZFSheetLayout ZFSheetLayout;
extern bool ZFSetupMissing;

// Set by LoadSettings: this start is the user's first (no box of failed
// groups, the per-user folder question comes at once).
extern bool FirstRunDetected;
// Set when the application is already ending (the profile question is then
// not asked).
extern bool AppTerminating;

// Puts every global of this header back to its start-up default; ProgDir
// and the folders derived from it from progDir.
void InitSettingsDefaults(const QString &progDir);

// ---- Loader and writer ----------------------------------------------------------
void LoadSettings();
void SaveSettings();

void WriteFontToRegistry(platform::Registry &key, const TFontSpec &font);
// Sets "Arial", 10, no style, colour 0, then overwrites each with what the
// key holds; a value of the wrong kind raises platform::RegistryError with
// the values read so far already in font.
void ReadFontFromRegistry(platform::Registry &key, TFontSpec &font);

void SaveFreeQueryMenuItem(int n);
void SaveFreeQueryMenu();
void LoadFreeQueryMenu();

// Opens the machine's product key; true only when it already existed.
bool OpenMachineKey(platform::Registry &key, bool forWriting);
void LoadSelfAdhesiveSetup(bool silent);
bool SaveSelfAdhesiveSetup();

// The per-user folder (with a trailing separator), created on first need if
// the user agrees; else the program folder.
QString GetProfileDir();
// Forgets the cached per-user folder (tests).
void ResetProfileDirCache();
// Base of the per-user folder: $XDG_DATA_HOME; tests may point it elsewhere
// (an empty string restores the default).
void SetProfileBaseDir(const QString &dir);
