// Tape arithmetic: remaining recording time and largest free area of a
// medium, and the four tape operations of the medium card (split a free area,
// join two free areas, push films down from number 5, finalise). The rules are
// plain functions over the films of one medium; the data-set layer
// (mediumrecords.h) reads the films, applies the resulting steps in one
// transaction and shows the boxes.
#pragma once

#include <QList>
#include <QString>

#include <optional>

// The film fields the tape arithmetic reads and writes.
struct TapeFilm {
    int filmNr = 0;
    int len = 0;          // minutes as recorded (0 or less: unknown)
    bool lp = false;      // long play: counts half on the tape
    bool frei = false;    // free area, may be recorded over
    QString titel;
    QString untertitel;
};

// The kind as keys hold it: its first six characters.
QString CutKind(const QString &kind);

// "VHS-KK" (bought cassette) and "DVD" carry no tape arithmetic; the kind is
// cut to six characters and compared exactly.
bool HasTapeArithmetic(const QString &kind);

// Minutes a film takes on the tape: its length, halved (toward zero) in long play.
int TapeMinutes(int len, bool lp);

struct RestAndMaxFree {
    int rest = 0;     // remaining recording time in minutes
    int maxFree = 0;  // largest free area in minutes
};

// Remaining time and largest free area of a medium of the given kind and
// capacity. `films` are the medium's films in film-number order. The walk
// starts at film 1 (no film 1: nothing is counted) and, with `rest1to5`, stops
// after film 5. Any film with a length of 0 or less makes the remaining time 0;
// a free run at the end of the tape joins the unrecorded rest.
RestAndMaxFree CalcRestAndMaxFree(const QString &kind, int capacity,
                                  const QList<TapeFilm> &films, bool rest1to5);

// The fields kept in a 16-bit calculated field.
int ClampToInt16(int value);

// One change to a medium's films. Steps are applied in list order; the
// data-set layer applies a whole list in one transaction.
struct FilmStep {
    enum Kind { Renumber, Append, Edit, Delete };
    Kind kind = Edit;
    int filmNr = 0;       // the film concerned (Renumber: its old number)
    int newFilmNr = 0;    // Renumber: the new number
    // Append: the whole new film. Edit: only the fields set below change.
    TapeFilm film;
    std::optional<int> len;
    std::optional<bool> lp;
    std::optional<QString> titel;
    std::optional<QString> untertitel;

    static FilmStep renumber(int from, int to);
    static FilmStep append(const TapeFilm &film);
    static FilmStep remove(int filmNr);
};

using FilmSteps = QList<FilmStep>;

// Applies steps to a film list (for checks and previews); the result is
// sorted by film number. A step whose film does not exist is skipped.
QList<TapeFilm> ApplyFilmSteps(QList<TapeFilm> films, const FilmSteps &steps);

// The highest number m >= from such that films from..m all exist; from - 1
// when film `from` does not exist.
int LastConsecutiveFilmNr(const QList<TapeFilm> &films, int from);

// Films from..last consecutive moved one number up, from the last down, so that
// no number is taken twice.
FilmSteps ShiftFilmsUp(const QList<TapeFilm> &films, int from);

// The split of the free area of film n (area = its tape minutes) into a first
// part of `enteredLen` minutes (in long play when `lp`) and a second free area
// with the rest. Empty when the first part would not be smaller than the area:
// the caller shows kSplitImpossibleText.
std::optional<FilmSteps> SplitFreeAreaSteps(const QList<TapeFilm> &films, int n,
                                            int area, int enteredLen, bool lp);

// The join of free area f into the area f - 1 before it: f - 1 takes f's title
// into its subtitle and f's tape time, f is deleted and the films after it move
// down. Empty when film f or f - 1 does not exist.
std::optional<FilmSteps> JoinFreeAreaSteps(const QList<TapeFilm> &films, int f);

// The film a join button stands for: the first slot k from 2 to 4 whose film
// button lies below the join button (filmButtonTops[k - 1] > joinTop), else
// slot 5; plus the slot offset of the film slots.
int JoinFilmNr(int joinTop, const QList<int> &filmButtonTops, int slotOffset);

// Films 5 .. last consecutive move one number up (film 5 becomes 6).
FilmSteps PushDownSteps(const QList<TapeFilm> &films);

// The medium's capacity after finalising: what is left is taken off.
int FinalisedCapacity(int capacity, int rest);

// The first film number, from 1, that the medium does not have yet.
int FirstMissingFilmNr(const QList<TapeFilm> &films);

// Texts of the tape operations.
extern const char *const kSplitImpossibleCaption;
extern const char *const kSplitImpossibleText;
extern const char *const kSplitDoneCaption;
extern const char *const kSplitDoneText;
extern const char *const kPushDownCaption;
QString PushDownQuestionText();
extern const char *const kFreeAreaTitle1;
extern const char *const kFreeAreaTitle2;
