// What the medium card shows, as plain functions: the film slots' captions,
// hints, colours and notes pictures, the percentage bar, the status line, the
// return-date colour, the lending rules and the remaining-time filter. The
// main window (windows/main/mainform.h) reads the records and puts the results on
// its controls.
#pragma once

#include "platform/tcolor.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The colour of the number label of film f: 1 navy, 2 teal, 3 green, 4 olive,
// 5 maroon, above 5 black.
platform::TColor FilmNumberColor(int filmNr);

// A kind counts as a tape when its first three characters are "VHS".
bool IsTapeKind(const QString &kind);

// One film of a slot as the card needs it.
struct CardFilm {
    int filmNr = 0;
    QString titel;
    QString untertitel;
    int len = 0;
    bool lp = false;
    bool mw = false;
    bool frei = false;
    bool anyFreeField = false; // one of Free1..Free15 is filled
    bool hasMemo = false;
    bool hasPicture = false;
};

// The film button's caption and whether it is struck through.
struct SlotCaption {
    QString text;
    bool strikeOut = false;
};
// The title with its subtitle (a subtitle starting with ">" continues the
// title, any other follows after " - "); a free area shows its tape length.
SlotCaption FilmSlotCaption(const CardFilm &film, bool freeStrikeOut);
// "ca. 95 min (1h35')" and " LP" / " m.W."; "Unbekannte Spielzeit!" for 0.
QString FilmSlotHint(const CardFilm &film);
// The notes button of a film: "NONOTES", "NOMEMO" or "NOTES", with "GRA"
// appended when the film has a picture.
QString FilmNotesGlyph(const CardFilm &film);
// The notes button of the medium: "NONOTES" when Free1..Free4 and the memo are
// empty, else "NOMEMO" without a memo, else "NOTES".
QString MediumNotesGlyph(bool anyFreeField, bool hasMemo);

// The percentage bar: one segment per shown film, side by side from the left.
struct PercentSegment {
    int slot = 0;          // 1..5
    int left = 0;          // from the bar's inner left edge
    int width = 0;
    bool freeArea = false; // cross-hatched
    QString hint;
};
struct PercentBar {
    QList<PercentSegment> films;
    bool unknown = false;       // a film of length 0: the unknown shape instead
    int unknownLeft = 0;
    std::optional<PercentSegment> beyond; // films after slot 5 (PercentFilm6ff)
};
// films: the films of slots 1..5 (offset 0) in order; capacity: the medium's
// Len; rest: its remaining time. A capacity of 0 or less draws nothing.
PercentBar LayoutPercentBar(int barWidth, int capacity, int rest, const QList<CardFilm> &films,
                            bool atts);

// The status line: left and right text and whether the right one is red.
struct StatusLine {
    QString left;
    QString right;
    QString hint;
    bool alarm = false;
};
StatusLine StatusLineTexts(bool databaseOpen, bool filtered, int mediaCount, int filmCount,
                           const QString &mediaTablePath);

// Colour of the return-date edit: green before the date, maroon on it, red
// after it; black without a date.
platform::TColor ReturnDateColor(const QDate &returnDate, const QDate &today);

// The lending dates after the borrower changed (DBVerliehenChange).
struct LendingDates {
    QDate lent;
    QDate back;
};
LendingDates LendingAfterBorrowerChange(const QString &borrower, const LendingDates &now,
                                        const QDate &calendarDate, int regelVerleihzeit);
// The lending dates after a day was picked in the calendar for the lending
// date (forLendingDate) or the return date. A return date before the lending
// date moves the lending date back to it.
LendingDates LendingAfterCalendarPick(bool forLendingDate, const QDate &picked,
                                      const LendingDates &now, int regelVerleihzeit);

// The input checks of a medium at its post: the length is 0 or more, the
// return date not before the lending date. The message names the fields by
// their captions; empty when all is well.
QString MediumInputProblem(qint64 len, const QDate &lent, const QDate &back, const QString &lenCaption,
                           const QString &lentCaption, const QString &backCaption);
// A field's caption from its label's text: "&Länge:" gives "Länge".
QString FieldCaptionOfLabel(const QString &labelText);

// The remaining-time filter (Table1FilterRecord).
bool RemainingTimeFilterAccepts(int rest, int maxFree, int minRest, bool onMaxFree);

// A change of this field of a medium of this kind bears on its label
// (Medium and Nr always; Len with PrintRest for "VHS-SB").
bool IsLabelRelevantChange(const QString &fieldName, const QString &kind, bool printRest);

// The kinds the kind chooser lists after the stored ones, in their order.
QStringList StandardMediumKinds();
// The query for the stored kinds of the chooser's list: the media table's
// name in double quotes and the conditions that leave out the built-in and
// the standard kinds.
QStringList StoredKindsQueryLines(const QString &mediaTable);
// "SELECT Max(Nr) FROM" with, per kind, the kind's condition on the
// parameter "Kind".
QStringList LastMediumNrQueryLines(const QString &mediaTable, bool perKind);
