// The list export: the film or media list of the list window as fixed-width
// lines of a chosen length, for reading on small devices.
#pragma once

#include "exchange/tableexport.h"

#include <QString>

namespace engine {
class DataSet;
}

enum ListExtraColumn { lecNone = 0, lecCategory = 1, lecPlayTime = 2 };

struct ListLayout {
    int numberWidth = 11; // N: kind and number (single-line), number (two-line), and the blank after
    int filmSlots = 1;        // S: films per line
    int titleWidth = 0;   // T
    int extraWidth = 0;   // E (film lists with an extra column)
};

// The filmSlots of a media list: the stored list column count when it is 1..5,
// else the highest film number from 5 down to 2 that the medium has, else 1.
// filmExists(n) tells whether film n exists.
template <typename Exists>
int ListFilmSlots(int listColumns, Exists filmExists)
{
    if (listColumns >= 1 && listColumns <= 5)
        return listColumns;
    for (int n = 5; n >= 2; --n)
        if (filmExists(n))
            return n;
    return 1;
}

// The layout of a line of length L. digits is the width the numbers need
// beyond the usual 3 (single-line) or 4 (two-line) places: the number column
// widens rather than cut a number, and the titles give the room back.
ListLayout ListLayoutOf(int lineLength, bool singleLine, bool filmList, int filmSlots, int extra, int extraDigits = 0);

struct ListExportOptions {
    QString fileName;
    bool dosCharset = false;
    int lineLength = 80;  // 30..9999
    int extra = lecNone;  // ListExtraColumn
};

struct ListExportContext {
    engine::DataSet *films = nullptr; // the film table (films of a medium, films of a query)
    int listColumns = 0;              // the stored list column count (ListSpAnz)
    int playTimeFormat = 0;
    QList<ExportCategory> categories;
};

// The preset heading: "Liste der Filme in " / "Liste der Medien in " + the
// database folder (with the free-space filter's minutes when filtered), or
// "Abfrageergebnisse (Datei: " + folder + ")". filterMinutes < 0: no filter.
QString ListExportHeading(bool isStandardList, bool isFilmList, const QString &dbFolder, int filterMinutes);

// Writes the heading, an empty line and one line (two in two-line media
// lists) per record of the set. A null heading (the prompt was cancelled)
// leaves an empty file. False with a German message when writing failed.
bool ExportList(engine::DataSet &set, bool isStandardList, bool isFilmList, const ListExportOptions &options,
                bool singleLine, const QString &heading, const ListExportContext &context,
                QString *error = nullptr);
