#include "app/labelsettings.h"

TLabelSettings CurrentLabelSettings()
{
    TLabelSettings s;
    s.PrintLen = PrintLen;
    s.PrintEndPos = PrintEndPos;
    s.PlayTimeFormat = PlayTimeFormat;
    s.PrintFree = PrintFree;
    s.PrintFreeNr = PrintFreeNr;
    s.PrintHFree = PrintHFree;
    s.PrintHFreeNr = PrintHFreeNr;
    s.PrintHKateg = PrintHKateg;
    s.PrintKat = PrintKat;
    s.FreeStrikeOut = FreeStrikeOut;
    s.ATTS = ATTS;
    s.PrintTon = PrintTon;
    s.PrintKategSymb = PrintKategSymb;
    s.PrintAnhSymb = PrintAnhSymb;
    s.PrintAnhSymbMemo = PrintAnhSymbMemo;
    s.PrintSterne = PrintSterne;
    s.FormatSymbMode = FormatSymbMode;
    s.MaxSizeSymb = MaxSizeSymb;
    s.PrintRest = PrintRest;
    s.bRest1bis4 = bRest1bis4;
    s.PrintHZF = PrintHZF;
    s.NrEtiSeparate = NrEtiSeparate;
    s.VCenter = VCenter;
    s.FilmSizeIdent = FilmSizeIdent != 0;
    s.PrintHNr = PrintHNr;
    s.LabelAlignMode = LabelAlignMode;
    s.MaxSizeSub = MaxSizeSub;
    s.MaxSizeMin = MaxSizeMin;
    s.LabelFont = LabelFont;
    s.NrEtiFont = NrEtiFont;
    s.SymbolFile = SymbolFile;
    s.ZFSheetLayout = ZFSheetLayout;
    return s;
}
