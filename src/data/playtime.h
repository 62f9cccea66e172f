// Playing times as text: the one routine that writes minutes for labels,
// lists, pages, exports and the main window.
#pragma once

#include <QString>

// Minutes m in one of five formats: 0 "95 min", 1 "95'", 2 "1h35'" (without
// hours "25'"), 3 "1h35'" (always with hours), 4 "1:35". A negative m shows
// as minutes only; a format above 4 gives an empty text.
QString FormatPlayTime(int minutes, int format);
