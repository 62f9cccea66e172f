// What the three export dialogs share: the target file row ("Zieldatei",
// a read-only box and the button that opens the save dialog), the character
// set group and the folder the save dialog starts in.
#pragma once

#include <QString>

class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;
class TOzoCheck;
class TOzoNewButton;

struct ExportFileRow {
    QLabel *label = nullptr;
    QLineEdit *edit = nullptr;
    TOzoNewButton *button = nullptr;
};

// "Zieldatei" at y, the box across the width, the button at its right end.
ExportFileRow MakeExportFileRow(QWidget *parent, int x, int y, int width, const QString &preset);

struct ExportCharsetGroup {
    QGroupBox *group = nullptr;
    TOzoCheck *ansi = nullptr; // "ANSI (Windows)", preset
    TOzoCheck *dos = nullptr;  // "ASCII (DOS)"
};

ExportCharsetGroup MakeExportCharsetGroup(QWidget *parent, int x, int y, int width, int radioGroup);

// The user's documents folder (the program folder may be read-only).
QString ExportStartFolder();

// The save dialog through the presenter: asks before overwriting; an empty
// text when cancelled.
QString ChooseExportFile(QWidget *parent, const QString &current, const QString &filter, const QString &suffix);
