// The label print settings as one value, under the settings' own names:
// what the label drawing, the film pages' symbols and the film card's
// question "does this change alter the label?" read. Taken from the
// globals once (CurrentLabelSettings) and handed to the routines that need
// it, so that none of them reads a global.
#pragma once

#include "app/settings.h"

#include <QString>

struct TLabelSettings
{
    // The film lines (play times, free field, category).
    bool PrintLen = false, PrintEndPos = false;
    int PlayTimeFormat = 0; // 0..4
    bool PrintFree = false;
    int PrintFreeNr = 1;
    bool PrintHFree = false;
    int PrintHFreeNr = 1;
    bool PrintHKateg = false, PrintKat = false;
    bool FreeStrikeOut = false, ATTS = false;
    // The symbols of a film.
    bool PrintTon = false, PrintKategSymb = false, PrintAnhSymb = false, PrintAnhSymbMemo = false;
    bool PrintSterne = false;
    int FormatSymbMode = 0; // 0..3
    int MaxSizeSymb = 5;    // millimetres
    // The number label.
    bool PrintRest = false, bRest1bis4 = false;
    // Sizes and placement.
    bool PrintHZF = false, NrEtiSeparate = false, VCenter = false, FilmSizeIdent = false, PrintHNr = false;
    int LabelAlignMode = 0; // 0..2
    int MaxSizeSub = 10, MaxSizeMin = 10;
    TFontSpec LabelFont, NrEtiFont;
    QString SymbolFile; // the spine's foot symbol below the program folder; empty: none
    TZFSheetLayout ZFSheetLayout;
};

// The settings as the globals hold them now.
TLabelSettings CurrentLabelSettings();

// The range of each value of the self-adhesive sheets as the set-up offers
// it (tenths of a millimetre, or labels).
struct TValueRange
{
    qint32 Min, Max;
};
namespace SheetRange {
constexpr TValueRange RTop{50, 500}, RLeft{10, 1000}, RA{150, 400}, RAnz{1, 14};
constexpr TValueRange GTop{50, 500}, GLeft{10, 1000}, GAv{400, 600}, GAh{770, 1000}, GAnz{1, 12};
// The calibration: 200 less the distance measured on the test page (1 to 1000).
constexpr TValueRange K{-800, 199};
} // namespace SheetRange

// Holds every value of z inside its range; true when one was outside (z is
// then marked changed, so that the set-up's next OK writes it back).
bool BoundSheetLayout(TZFSheetLayout &z);
