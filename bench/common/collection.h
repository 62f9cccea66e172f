// A generated collection for benchmarks: media of four kinds with their
// films (titles with umlauts, subtitles, lengths, categories, some memos),
// written straight into the program's table files in a temporary folder.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace benchdata {

struct Collection {
    std::unique_ptr<QTemporaryDir> dir;
    QString folder;     // the database's "DB" folder
    QString mediaPath;  // folder + "/Med.DB"
    QString filmPath;   // folder + "/Film.DB"
    QString personPath; // folder + "/Pers.DB" (1 person per 20 films)
    int media = 0;
    int films = 0;
};

// Kind of medium i (0-based) and its number within its kind.
QString kindOf(int medium);
int numberOf(int medium);

// Default: 25,000 media with 4 films each (100,000 films).
Collection makeCollection(int media = 25000, int filmsPerMedium = 4);

// The number of media a benchmark run uses: TARVO_BENCH_MEDIA if set (75000
// gives the 300,000-film run), else 25,000.
int benchMedia();

} // namespace benchdata
