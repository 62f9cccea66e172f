// How Boolean values are shown in grids and printed tables. The three
// switches are the settings GridBoolBothSymbols, GridBoolTrueSymbolOnly and
// GridBoolTickStyle; callers pass them in, nothing here reads the settings.
//
// The symbols stood in the Wingdings font; we use the Unicode characters of
// the same pictures:
//   Wingdings 254 ballot box with check  -> U+2611 ☑
//   Wingdings 253 ballot box with cross  -> U+2612 ☒
//   Wingdings 252 check mark             -> U+2713 ✓
//   Wingdings 251 ballot cross           -> U+2717 ✗
//   Wingdings "o" empty box              -> U+2610 ☐
#pragma once

#include <QString>
#include <QVariant>

namespace dbui {

struct BoolSymbolStyle
{
    bool bothSymbols = true;     // a symbol for true and one for false
    bool trueSymbolOnly = false; // a symbol for true, nothing for false
    bool tickStyle = true;       // a tick rather than a cross for true

    // Neither switch: true shows a plain "X" in the ordinary font.
    bool usesSymbols() const { return bothSymbols || trueSymbolOnly; }
    bool operator==(const BoolSymbolStyle &) const = default;
};

// From the stored byte: bit 1 both symbols, bit 2 true only, bit 4 tick style.
BoolSymbolStyle boolSymbolStyleFromFlags(int flags);
int boolSymbolStyleToFlags(const BoolSymbolStyle &style);

// The text for a value; a null value shows nothing.
QString boolSymbolText(const QVariant &value, const BoolSymbolStyle &style);
QString boolSymbolText(bool value, const BoolSymbolStyle &style);

} // namespace dbui
