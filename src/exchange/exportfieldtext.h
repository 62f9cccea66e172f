// A field's value as every export writes it, with the flags that choose the
// alignment of HTML cells and the number cells of DIF.
#pragma once

#include <QString>

namespace engine {
class Field;
}

// Boolean styles: 0 "Wahr"/"Falsch", 1 "true"/"false", 2 "X"/"-", 3 "X"/"".
enum ExportBoolStyle { ebsWahrFalsch = 0, ebsTrueFalse = 1, ebsXDash = 2, ebsXEmpty = 3 };

struct ExportValue {
    QString text;
    bool numeric = false;
    bool boolean = false;
};

QString ExportBoolText(bool value, int boolStyle);

// Strings and dates as displayed (dates "dd.MM.yyyy"), integers in decimal,
// floating point with the German decimal comma, Booleans by the style; memo,
// picture and any other type give an empty text.
ExportValue ExportFieldText(const engine::Field &field, int boolStyle);
