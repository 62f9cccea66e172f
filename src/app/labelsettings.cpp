#include "app/labelsettings.h"

#include <algorithm>

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

bool BoundSheetLayout(TZFSheetLayout &z)
{
    const std::pair<qint32 *, TValueRange> values[] = {
        {&z.ZFRTop, SheetRange::RTop}, {&z.ZFRLeft, SheetRange::RLeft}, {&z.ZFRA, SheetRange::RA},
        {&z.ZFRAnz, SheetRange::RAnz}, {&z.ZFGTop, SheetRange::GTop},   {&z.ZFGLeft, SheetRange::GLeft},
        {&z.ZFGAv, SheetRange::GAv},   {&z.ZFGAh, SheetRange::GAh},     {&z.ZFGAnz, SheetRange::GAnz},
        {&z.ZFKX, SheetRange::K},      {&z.ZFKY, SheetRange::K}};
    bool outside = false;
    for (const auto &[value, range] : values) {
        const qint32 held = std::clamp(*value, range.Min, range.Max);
        outside = outside || held != *value;
        *value = held;
    }
    if (outside)
        z.Changed = true;
    return outside;
}
