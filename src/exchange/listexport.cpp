#include "exchange/listexport.h"

#include "data/categories.h"
#include "engine/dataset.h"
#include "engine/field.h"
#include "exchange/exportoutput.h"
#include "exchange/exportsource.h"
#include "exchange/filmtext.h"

#include <QDir>

namespace {

struct Film {
    bool exists = false;
    QString title;    // with the subtitle as the layout asks
    QString titleOnly;
    QString extra;
};

QString str(engine::DataSet &s, const char *name)
{
    engine::Field *f = s.findField(QLatin1String(name));
    return f ? f->asString() : QString();
}

bool flag(engine::DataSet &s, const char *name)
{
    engine::Field *f = s.findField(QLatin1String(name));
    return f && f->asBoolean();
}

int recordNumber(engine::DataSet &s)
{
    engine::Field *f = s.findField(QStringLiteral("Nr"));
    if (!f)
        f = s.findField(QStringLiteral("KassNr"));
    return f ? f->asInteger() : 0;
}

int numberIndex(engine::DataSet &s)
{
    engine::Field *f = s.findField(QStringLiteral("Nr"));
    if (!f)
        f = s.findField(QStringLiteral("KassNr"));
    return f ? f->index() : -1;
}

class ListWriter
{
public:
    ListWriter(ExportOutput &out, engine::DataSet &set, bool standard, bool filmList, const ListExportOptions &opt,
               bool singleLine, const ListExportContext &ctx, int extraDigits)
        : out(out), set(set), standard(standard), filmList(filmList), opt(opt),
          singleLine(filmList || singleLine), ctx(ctx), extraDigits(extraDigits)
    {
    }

    void record();

private:
    Film filmFrom(engine::DataSet &f) const;
    bool locateFilm(const QString &kind, int nr, int filmNr) const;
    Film film(const QString &kind, int nr, int k);

    ExportOutput &out;
    engine::DataSet &set;
    bool standard, filmList;
    const ListExportOptions &opt;
    bool singleLine;
    const ListExportContext &ctx;
    int extraDigits;
};

Film ListWriter::filmFrom(engine::DataSet &f) const
{
    Film film;
    film.exists = true;
    QString title = str(f, "Titel");
    const QString subtitle = str(f, "Untertitel");
    if (flag(f, "Frei"))
        title = title.toLower();
    film.titleOnly = title;
    film.title = (!singleLine && opt.extra == lecNone) ? title : FilmTitleText(title, subtitle);
    if (opt.extra == lecPlayTime) {
        engine::Field *len = f.findField(QStringLiteral("Len"));
        film.extra = FilmPlayTimeText(len ? len->asInteger() : 0, flag(f, "LP"), flag(f, "MW"), ctx.playTimeFormat);
    } else if (opt.extra == lecCategory) {
        const QString code = str(f, "Kateg");
        const int k = KategCharToIndex(code.isEmpty() ? QChar() : code.at(0));
        film.extra = k <= ctx.categories.size() ? ctx.categories.at(k - 1).name : QString();
    }
    return film;
}

bool ListWriter::locateFilm(const QString &kind, int nr, int filmNr) const
{
    return ctx.films && ctx.films->active()
           && ctx.films->locate(QStringLiteral("Medium;KassNr;FilmNr"), {kind, nr, filmNr});
}

Film ListWriter::film(const QString &kind, int nr, int k)
{
    if (filmList) {
        if (standard)
            return filmFrom(set);
        engine::Field *fnr = set.findField(QStringLiteral("FilmNr"));
        if (fnr && locateFilm(kind, nr, fnr->asInteger()))
            return filmFrom(*ctx.films);
        // A query without the film table at hand: the record itself.
        return ctx.films ? Film{} : filmFrom(set);
    }
    return locateFilm(kind, nr, k) ? filmFrom(*ctx.films) : Film{};
}

void ListWriter::record()
{
    const QString kind = str(set, "Medium").left(6);
    const int nr = recordNumber(set);
    int filmSlots = 1;
    QList<Film> films;
    if (filmList) {
        films.append(film(kind, nr, 1));
    } else {
        for (int k = 1; k <= 5; ++k)
            films.append(film(kind, nr, k));
        filmSlots = ListFilmSlots(ctx.listColumns, [&](int n) { return films.at(n - 1).exists; });
    }
    const ListLayout lay = ListLayoutOf(opt.lineLength, singleLine, filmList, filmSlots, opt.extra, extraDigits);
    const int T = lay.titleWidth;

    QString line;
    if (singleLine)
        line = FitToWidth(kind, 7, false) + FitToWidth(QString::number(nr), 3 + extraDigits, true);
    else
        line = FitToWidth(QString::number(nr), 4 + extraDigits, true) + QStringLiteral("  ");
    for (int k = 0; k < filmSlots; ++k) {
        line += QLatin1Char(' ');
        const Film &f = films.at(k);
        if (!f.exists) {
            line += QString(T, QLatin1Char(' '));
            continue;
        }
        const bool tooLong = f.title.size() > T && f.titleOnly.size() + 6 > T;
        line += FitToWidth(tooLong ? f.titleOnly : f.title, T, false);
    }
    if (!filmList && singleLine) {
        out.writeLine(line);
        return;
    }
    if (!filmList) {
        out.writeLine(line);
        line = FitToWidth(kind, 6 + extraDigits, false);
    }
    if (opt.extra != lecNone) {
        for (int k = 0; k < filmSlots; ++k) {
            const Film &f = films.at(k);
            if (filmList) {
                if (f.exists)
                    line += QLatin1Char(' ') + FitToWidth(f.extra, lay.extraWidth, opt.extra == lecPlayTime);
            } else {
                // A missing film keeps its place, so the columns stay under their titles.
                line += QLatin1Char(' ') + FitToWidth(f.exists ? f.extra : QString(), T, false);
            }
        }
    }
    out.writeLine(line);
}

} // namespace

ListLayout ListLayoutOf(int lineLength, bool singleLine, bool filmList, int filmSlots, int extra, int extraDigits)
{
    ListLayout l;
    l.numberWidth = ((filmList || singleLine) ? 11 : 7) + extraDigits;
    l.filmSlots = filmList ? 1 : qMax(1, filmSlots);
    l.titleWidth = (lineLength - l.numberWidth - l.filmSlots + 1) / l.filmSlots;
    if (filmList && extra != lecNone) {
        l.extraWidth = 10;
        if (extra == lecCategory && l.titleWidth > 60)
            l.extraWidth = 17;
        if (l.titleWidth < 25)
            l.extraWidth = 7;
        l.titleWidth -= l.extraWidth + 1;
    }
    l.titleWidth = qMax(0, l.titleWidth);
    return l;
}

QString ListExportHeading(bool isStandardList, bool isFilmList, const QString &dbFolder, int filterMinutes)
{
    const QString folder = QDir::toNativeSeparators(dbFolder);
    if (!isStandardList)
        return QStringLiteral("Abfrageergebnisse (Datei: ") + folder + QLatin1Char(')');
    QString h = (isFilmList ? QStringLiteral("Liste der Filme in ") : QStringLiteral("Liste der Medien in ")) + folder;
    if (filterMinutes >= 0)
        h += QStringLiteral(" mit mind. %1 Minuten freiem Bereich").arg(filterMinutes);
    return h;
}

bool ExportList(engine::DataSet &set, bool isStandardList, bool isFilmList, const ListExportOptions &options,
                bool singleLine, const QString &heading, const ListExportContext &context, QString *error)
{
    ExportOutput out(options.fileName, options.dosCharset ? ExportCharset::Dos : ExportCharset::Windows);
    if (!out.open(error))
        return false;
    if (heading.isNull())
        return out.finish(error);
    const engine::Bookmark filmHere = context.films && context.films->active() && !context.films->isEmpty()
                                          ? context.films->bookmark()
                                          : engine::InvalidBookmark;
    bool ok = WalkExportSource(set, [&] {
        // The widest number decides the number column for every line.
        const int nrIndex = numberIndex(set);
        int digits = 0;
        if (nrIndex >= 0)
            for (int r = 0, n = set.recordCount(); r < n; ++r)
                digits = qMax(digits, int(set.valueAt(r, nrIndex).toString().size()));
        const int extraDigits = qMax(0, digits - ((isFilmList || singleLine) ? 3 : 4));
        out.writeLine(heading);
        out.writeLine(QString());
        ListWriter w(out, set, isStandardList, isFilmList, options, singleLine, context, extraDigits);
        for (; !set.eof(); set.next())
            w.record();
    }, error);
    if (filmHere != engine::InvalidBookmark && context.films->bookmarkValid(filmHere))
        context.films->gotoBookmark(filmHere);
    return ok && out.finish(error);
}
