// The running-time arithmetic of the playing-time dialog: the tape sums of
// the films before and after a film, hours and minutes, the pages' values
// and the length computed from the page the user filled.
#pragma once

#include "data/tapearithmetic.h"

#include <QList>
#include <QString>

// Tape minutes and playing minutes before and after a film; -1 undetermined.
struct TapePositions {
    int beforeUsed = 0, beforeLen = 0;
    int afterUsed = 0, afterLen = 0;
    bool beforeKnown() const { return beforeUsed >= 0; }
    bool afterKnown() const { return afterUsed >= 0; }
};
// The kinds without tape arithmetic ("DVD", "VHS-KK").
bool KindWithoutTape(const QString &kind);
// Over the films of the medium (any order): the sums of films 1..filmNr-1
// and of filmNr+1..4; a film of length 0 makes its sums undetermined, an
// undetermined before sum makes all four -1.
TapePositions GetTapePositions(const QString &kind, int filmNr, const QList<TapeFilm> &films);

struct HoursMinutes {
    int hours = 0, minutes = 0;
};
HoursMinutes MinutesToHoursMinutes(int minutes);
int HoursMinutesToMinutes(int hours, int minutes);

// The values the dialog works on.
struct LenEnterState {
    int length = 0;       // playing minutes (the result)
    int tapeLength = 0;   // 0 for a kind without tape arithmetic
    TapePositions pos;
    bool longPlay = false;
    bool atts = false;    // tape-counter positions
    bool lpCounter = false; // RadLP selected
};
int UsedMinutes(int length, bool longPlay);

// What the three pages show for the state.
struct LenEnterPages {
    HoursMinutes length;
    bool positionPage = false;
    HoursMinutes start, end;
    bool restPage = false;
    int rest = 0;
};
LenEnterPages FillLenEnterPages(const LenEnterState &s, bool hasTape);

enum class LenPage { HoursMinutes = 0, Position = 1, Rest = 2 };
// The user's input on the page.
struct LenEnterInput {
    int hours = 0, minutes = 0;    // page 1
    int endHours = 0, endMinutes = 0; // page 2
    int rest = 0;                  // page 3
};
struct LenComputeResult {
    int length = 0;     // the new length, or the old one after a message
    QString message;    // empty: fine
};
extern const QString NegativeLengthMessage;
extern const QString NoRoomMessage;
LenComputeResult ComputeLength(const LenEnterState &s, LenPage page, const LenEnterInput &in);
