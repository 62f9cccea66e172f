// Locating records: the routines that move the medium card, the second media
// cursor, the film cursor or the film window's table to a given medium or
// film. Each is one exact-match locate (letter case counts, the kind cut to
// six characters) and returns whether the record was found; a failed locate
// leaves the data set where it was.
#pragma once

#include "data/maindatasets.h"

#include <QString>

// The kind the flags stand for: bought gives "VHS-KK", else DVD gives "DVD",
// else "VHS-SB".
QString KindFromFlags(bool bought, bool dvd);

// On Table1 (on the card) or Table11. With numbering across all media (an
// index set on the data set) a medium is found by its number alone; when
// media of several kinds carry the number, the one of the kind asked for wins.
bool LocateMedium(const MainDataSets &ds, const QString &kind, int nr, bool onCard);
// Table1 on "Nr".
bool LocateMediumByNr(const MainDataSets &ds, int nr);
bool LocateMediumByKind(const MainDataSets &ds, int nr, bool bought, bool dvd, bool onCard);
// The medium of the film window's current film, on the card.
bool LocateMediumOfCurrentFilm(const MainDataSets &ds);
// The film window's table (inFilmWindow) or Table2 on "Medium;KassNr;FilmNr".
bool LocateFilm(const MainDataSets &ds, const QString &kind, int mediumNr, int filmNr,
                bool inFilmWindow);
bool LocateFilmByKind(const MainDataSets &ds, int mediumNr, bool bought, bool dvd, int filmNr,
                      bool inFilmWindow);
// Film filmNr of the medium shown in Table1 (fromCard) or Table11.
bool LocateFilmOfCurrentMedium(const MainDataSets &ds, int filmNr, bool fromCard,
                               bool inFilmWindow);
