// Printing labels: the job with its progress window, the orientation
// question, and the labels of media one after another on the sheet.
#pragma once

#include "print/labeldraw.h"

#include <QList>
#include <memory>
#include <QString>

namespace engine { class DataSet; class Session; }
class QPrinter;
class QWidget;
class TPrintJob;

// For the preview only the fixed scales. For printing also the job on the
// printer: the progress window, the job title "TarVO - Etikett", the
// orientation, BeginDoc; the scales from the device's resolution, so that a
// millimetre is the same number of pixels on every device. The job belongs
// to the caller (an aborted one when the device cannot be opened): whatever
// way the caller leaves, a job not ended is aborted and its painter closed.
TLabelScale InitLabelPrintJob(bool printing, QPrinter *printer, std::unique_ptr<TPrintJob> *job);

// What to print: each label's medium, read beforehand.
struct TLabelPrintResult
{
    int printed = 0;
    bool ok = false;      // the job reached the spooler or file complete
    QList<int> drawn;     // the indexes of the media whose labels were drawn
};
// Prints the media's labels from the 1-based start position on with the
// active format, a new sheet when one is full; refused media are told and
// skipped. The job is ended here; a failed or cancelled job says so.
// With positions (one per medium, 0-based on the one sheet) each label goes
// to its own place, so a medium left out leaves its place empty.
TLabelPrintResult PrintLabels(QPrinter &printer, const QList<TLabelMedium> &media, int startLabel,
                              TLabelArtProvider &art, const QList<int> &positions = {});

// The art of the program folder with the open database's categories.
TProgDirArtProvider ProgramLabelArt();

// "&Etikett(en) drucken...": the label kind and start label, the printer
// (or a PDF file), then the label of the medium shown in `media`.
// True when the label went out complete.
bool PrintCurrentMediumLabel(engine::DataSet &media, const QString &filmTablePath, QWidget *owner);
// "&Drucker...": the printer all printouts use.
void ChooseProgramPrinter(QWidget *owner);
// "&Schriftart Etiketten-Text" (false) / "Schriftart &Nummern-Etikett" (true).
void ChooseLabelFont(bool numberLabel, QWidget *owner);
// "Fuß-Symbol-&Grafik (Etiketten)".
void ChooseFootSymbol();
