#include "data/tapearithmetic.h"

#include <algorithm>
#include <climits>

const char *const kSplitImpossibleCaption = "Unmöglich";
const char *const kSplitImpossibleText =
    "Der freie Bereich kann durch Teilen nicht größer werden!\\lb Sie müssen einen Wert "
    "eingeben, der \\Bkleiner als die Länge des zu teilenden Bereiches\\b ist!";
const char *const kSplitDoneCaption = "Bereich geteilt";
const char *const kSplitDoneText = "Sie können jetzt den ersten freien Bereich bearbeiten...";
const char *const kPushDownCaption = "Achtung!";
const char *const kFreeAreaTitle1 = "Freier Bereich 1";
const char *const kFreeAreaTitle2 = "Freier Bereich 2";

QString PushDownQuestionText()
{
    return QStringLiteral(
               "Hiermit wird der Film \"nach unten verschoben\", d.h. er bekommt die Nummer 6 "
               "statt 5. Falls bereits ein Film Nr. 6 existiert, bekommt dieser die Nr. 7 u.s.w.")
        + QLatin1Char('\n')
        + QStringLiteral(
               "Diese Funktion dient zum Aufrücken von Filmen, die in früheren Versionen von "
               "Tarvo noch nicht mit auf den Etiketten erschienen und nicht die "
               "Restspielzeitberechnung beeinflußten (Das waren ursprünglich die Filme ab "
               "Nummer 5, nun jedoch sind es die Filme ab Nr 6)! Sobald der Film nun die "
               "Nummer 6 erhält, wird er wieder seinen \"versteckten\" Status zurückerhalten.")
        + QLatin1Char('\n') + QStringLiteral("Verschieben durchführen?");
}

QString CutKind(const QString &kind)
{
    return kind.left(6);
}

bool HasTapeArithmetic(const QString &kind)
{
    const QString k = CutKind(kind);
    return k != QLatin1String("VHS-KK") && k != QLatin1String("DVD");
}

int TapeMinutes(int len, bool lp)
{
    return lp ? len / 2 : len;
}

int ClampToInt16(int value)
{
    return std::clamp(value, -32768, 32767);
}

RestAndMaxFree CalcRestAndMaxFree(const QString &kind, int capacity,
                                  const QList<TapeFilm> &films, bool rest1to5)
{
    RestAndMaxFree r;
    if (!HasTapeArithmetic(kind))
        return r;
    // 64-bit sums: film lengths are 32-bit and a damaged table may hold anything.
    long long rest = capacity;
    long long largest = 0;
    long long run = 0;
    bool valid = true;

    auto it = std::find_if(films.cbegin(), films.cend(),
                           [](const TapeFilm &f) { return f.filmNr == 1; });
    for (; it != films.cend(); ++it) {
        if (rest1to5 && it->filmNr > 5)
            break;
        int l = it->len;
        valid = valid && l > 0;
        l = TapeMinutes(l, it->lp);
        if (it->frei) {
            run += l;
            largest = std::max(largest, run);
        } else {
            run = 0;
        }
        rest -= l;
    }
    if (!valid)
        rest = 0;
    largest = std::max(largest, rest + run);
    r.rest = int(std::clamp<long long>(rest, INT_MIN, INT_MAX));
    r.maxFree = int(std::clamp<long long>(largest, INT_MIN, INT_MAX));
    return r;
}

FilmStep FilmStep::renumber(int from, int to)
{
    FilmStep s;
    s.kind = Renumber;
    s.filmNr = from;
    s.newFilmNr = to;
    return s;
}

FilmStep FilmStep::append(const TapeFilm &film)
{
    FilmStep s;
    s.kind = Append;
    s.filmNr = film.filmNr;
    s.film = film;
    return s;
}

FilmStep FilmStep::remove(int filmNr)
{
    FilmStep s;
    s.kind = Delete;
    s.filmNr = filmNr;
    return s;
}

static int indexOfFilm(const QList<TapeFilm> &films, int nr)
{
    for (int i = 0; i < films.size(); ++i)
        if (films[i].filmNr == nr)
            return i;
    return -1;
}

QList<TapeFilm> ApplyFilmSteps(QList<TapeFilm> films, const FilmSteps &steps)
{
    for (const FilmStep &s : steps) {
        const int i = indexOfFilm(films, s.filmNr);
        switch (s.kind) {
        case FilmStep::Renumber:
            if (i >= 0 && indexOfFilm(films, s.newFilmNr) < 0)
                films[i].filmNr = s.newFilmNr;
            break;
        case FilmStep::Append:
            if (i < 0)
                films.append(s.film);
            break;
        case FilmStep::Edit:
            if (i >= 0) {
                if (s.len)
                    films[i].len = *s.len;
                if (s.lp)
                    films[i].lp = *s.lp;
                if (s.titel)
                    films[i].titel = *s.titel;
                if (s.untertitel)
                    films[i].untertitel = *s.untertitel;
            }
            break;
        case FilmStep::Delete:
            if (i >= 0)
                films.removeAt(i);
            break;
        }
    }
    std::sort(films.begin(), films.end(),
              [](const TapeFilm &a, const TapeFilm &b) { return a.filmNr < b.filmNr; });
    return films;
}

int LastConsecutiveFilmNr(const QList<TapeFilm> &films, int from)
{
    int m = from - 1;
    while (indexOfFilm(films, m + 1) >= 0)
        ++m;
    return m;
}

FilmSteps ShiftFilmsUp(const QList<TapeFilm> &films, int from)
{
    FilmSteps steps;
    for (int nr = LastConsecutiveFilmNr(films, from); nr >= from; --nr)
        steps.append(FilmStep::renumber(nr, nr + 1));
    return steps;
}

std::optional<FilmSteps> SplitFreeAreaSteps(const QList<TapeFilm> &films, int n,
                                            int area, int enteredLen, bool lp)
{
    if (TapeMinutes(enteredLen, lp) >= area)
        return std::nullopt;
    FilmSteps steps = ShiftFilmsUp(films, n + 1);

    TapeFilm second;
    second.filmNr = n + 1;
    second.frei = true;
    second.lp = false;
    second.len = area - TapeMinutes(enteredLen, lp);
    second.titel = QString::fromUtf8(kFreeAreaTitle2);
    steps.append(FilmStep::append(second));

    FilmStep first;
    first.kind = FilmStep::Edit;
    first.filmNr = n;
    first.lp = lp;
    first.len = enteredLen;
    first.titel = QString::fromUtf8(kFreeAreaTitle1);
    first.untertitel = QString();
    steps.append(first);
    return steps;
}

std::optional<FilmSteps> JoinFreeAreaSteps(const QList<TapeFilm> &films, int f)
{
    const int iSecond = indexOfFilm(films, f);
    const int iFirst = indexOfFilm(films, f - 1);
    if (iSecond < 0 || iFirst < 0)
        return std::nullopt;
    const TapeFilm &a = films[iFirst];
    const TapeFilm &b = films[iSecond];

    FilmStep edit;
    edit.kind = FilmStep::Edit;
    edit.filmNr = f - 1;
    edit.untertitel = a.untertitel + QStringLiteral(" + ") + b.titel;
    if (a.lp == b.lp) {
        edit.len = a.len + b.len;
    } else if (a.lp) {
        // Joined in standard play: the long-play part counts by its tape time.
        edit.len = a.len / 2 + b.len;
        edit.lp = false;
    } else {
        edit.len = a.len + b.len / 2;
    }

    FilmSteps steps{edit, FilmStep::remove(f)};
    const int last = LastConsecutiveFilmNr(films, f + 1);
    for (int nr = f + 1; nr <= last; ++nr)
        steps.append(FilmStep::renumber(nr, nr - 1));
    return steps;
}

int JoinFilmNr(int joinTop, const QList<int> &filmButtonTops, int slotOffset)
{
    int slot = 5;
    for (int k = 2; k <= 4; ++k) {
        if (filmButtonTops.value(k - 1, INT_MIN) > joinTop) {
            slot = k;
            break;
        }
    }
    return slot + slotOffset;
}

FilmSteps PushDownSteps(const QList<TapeFilm> &films)
{
    return ShiftFilmsUp(films, 5);
}

int FinalisedCapacity(int capacity, int rest)
{
    return capacity - rest;
}

int FirstMissingFilmNr(const QList<TapeFilm> &films)
{
    int n = 1;
    while (indexOfFilm(films, n) >= 0)
        ++n;
    return n;
}
