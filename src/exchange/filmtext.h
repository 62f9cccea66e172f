// Texts of a film and a medium shared by the list and attachment exports.
#pragma once

#include <QString>

// The title followed by " - " and the subtitle, or directly by the subtitle
// without its first character when it begins with ">"; the title alone when
// there is no subtitle.
QString FilmTitleText(const QString &title, const QString &subtitle);

// "LP " and then "mW " put in front of the formatted play time.
QString FilmPlayTimeText(int minutes, bool lp, bool mw, int playTimeFormat);
