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
