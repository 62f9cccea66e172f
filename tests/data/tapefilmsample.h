// A tape film of the given number, length and long-play flag, for tests.
#pragma once

#include "data/tapearithmetic.h"

inline TapeFilm tf(int nr, int len, bool lp)
{
    TapeFilm f;
    f.filmNr = nr;
    f.len = len;
    f.lp = lp;
    return f;
}
