// Attachment cards: a card of 185 × 100 mm at the top of a sheet, to be cut
// out and put into a film's or a medium's case. A text that does not fit
// is laid out again with smaller fonts, then with a smaller picture, then,
// after a question, with the lower half of the sheet as a back side to fold
// behind the card, and last, after another question, on a further card
// "Fortsetzung...". Every attempt is only laid out; the one that holds is
// the one printed.
#pragma once

#include "print/descriptionpage.h"

#include <functional>

struct TAttachmentCardData
{
    bool film = true;
    TLabelFilm values;     // a film's title, subtitle, times, symbols and picture
    QString mediumKind;    // a medium's kind code
    int mediumNr = 0;
    QString tapeLength;    // a medium's length as the main window shows it
    int mediumRest = 0;    // a medium's remaining minutes
    std::vector<QString> captions; // the free fields in use, captions without "&"
    std::vector<QString> fieldValues;
    QString text;          // the memo
};

struct TAttachmentOptions
{
    QString fontName;       // empty prints in "Arial"
    int grScale = 10;       // picture scale in tenths, 8..12
    bool shrinkPicture = true;
    bool filmTimes = false; // film cards print the playing-time details
    bool mediumTimes = false;
    int playTimeFormat = 0;
};

// The free fields that go on a card: not empty and not a file link.
void AddCardField(TAttachmentCardData &d, const QString &caption, const QString &value, bool isLink);

// "Anhang zu Kassette Nummer 12" (the heading of a medium's card).
QString MediumCardHeading(const QString &kind, int nr);

// The value cut from its end until it is at most maxWidth pixels wide.
QString FitCardValue(const QString &value, const QFont &font, int maxWidth);

// The size a picture gets on a card: grown by × 1.1 while both sides and
// the area in mm² stay within their limits, then shrunk by × 0.9 until they
// are within them. Every step moves at least one pixel, no side goes below
// one pixel, and the loops are capped. Empty when the height limit is 0 or
// less.
QSize FitCardPicture(const QSize &picture, int maxWidth, int maxHeight, int maxAreaMm2, const TLabelScale &scale);

// What the ladder asks: the back half ("zum Umknicken als Rückseite") or a
// second card; true for OK.
enum class TCardQuestion { BackHalf, SecondCard };
using TCardAsk = std::function<bool(TCardQuestion)>;

// Where one card attempt put its parts (tests measure them).
struct TCardAttempt
{
    int fontSize = 12;
    int scaleTenths = 10;
    bool firstPass = true;
    bool backHalf = false; // the back half was used
    QRect picture;
    int fieldTop = 0, ruleY = 0;
    int endPos = 0;        // where the text stopped
    bool complete = false;
};

struct TCardResult
{
    TPageDocument doc;                 // one sheet per card
    bool aborted = false;              // a question was cancelled
    std::vector<TCardAttempt> attempts; // every attempt, in order
};

// All cards of one printout, from the first attempt in 12 pt.
TCardResult DrawAttachmentCard(const TAttachmentCardData &d, const TAttachmentOptions &o, const TLabelScale &scale,
                               const TLabelSettings &labelOptions, TLabelArtProvider &art, const TCardAsk &ask);
