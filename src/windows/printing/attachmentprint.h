// Printing attachment cards: "Anhang drucken" (the playing-time switch of
// its mode, the options, the printer), "Anhang-Druck-Optionen" (font and
// picture size), and the job that prints the cards the card layout made.
#pragma once

#include "kit/oberformmetal.h"
#include "print/attachmentcard.h"

namespace engine { class DataSet; }
class QComboBox;
class QLineEdit;
class QPrinter;
class QTabWidget;
class TOzoCheck;
class TOzoNewButton;
class TPZLabel;
class TWFilm;

class TDAnhDruck : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDAnhDruck(bool film, QWidget *parent = nullptr);
    TOzoCheck *CheckBox1;
    TPZLabel *LabelHint;
    TOzoNewButton *ButtOptions, *ButtPrinter, *BitBtnOK, *BitBtnCancel;
};

class TDAnhOpt : public tOzoFormMetal
{
    Q_OBJECT
public:
    explicit TDAnhOpt(QWidget *parent = nullptr);
    QTabWidget *PageControl1;
    QLineEdit *EditFont;
    TOzoNewButton *ButtArial, *ButtFont;
    QComboBox *ComboBoxScale;
    TOzoCheck *CheckBox1;
    TOzoNewButton *BitBtnOK, *BitBtnCancel;
};

// "Anhang drucken"; the check box is stored (either button) and saved.
bool ExecAttachmentPrintDialog(bool film);
// "Anhang-Druck-Optionen" ("Einstellungen für &Anhang-Druck").
bool ExecAttachmentPrintOptions();

TAttachmentOptions AttachmentOptionsFromSettings();

// The film's card: title, subtitle, times, symbols, picture, the free fields
// that are neither empty nor file links, the memo.
TAttachmentCardData ReadFilmCardData(engine::DataSet &films);
// A medium's card from the media table's current row: kind, number, length,
// remaining minutes, free fields 1..5, and the attachment window's memo.
TAttachmentCardData ReadMediumCardData(engine::DataSet &media, const QString &memo);

// The ladder's questions through the presenter.
bool AskCardQuestion(TCardQuestion q);

// Lays out the cards and prints them in one job ("Tarvo - Anhang"); false
// when a question was cancelled or the job failed (no file is left then).
bool PrintAttachmentCards(QPrinter &printer, const TAttachmentCardData &d);

// "Anhang-Karte(n) drucken..." of the film card.
void PrintFilmAttachment(TWFilm &card);
// The medium attachment window's print entry.
void PrintMediumAttachment(engine::DataSet &media, const QString &memo);
