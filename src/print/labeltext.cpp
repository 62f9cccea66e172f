#include "print/labeltext.h"

#include "data/categories.h"
#include "print/labelformat.h"
#include "data/playtime.h"

#include <QFontMetrics>

namespace {

QString freeField(const TLabelFilm &film, int nr)
{
    return (nr >= 1 && nr <= 15) ? film.Free[nr - 1] : QString();
}

// Extends the bracketed play-time part: the first piece opens it.
void addPiece(QString &part, const QString &withBlank, const QString &opening)
{
    part += part.isEmpty() ? opening : withBlank;
}

QString extraPart(const TLabelFilm &film, int t, const TLabelSettings &o, TLabelArtProvider &art,
                  TFilmLinesState &state)
{
    if (t != ptCaseTop && (o.PrintLen || o.PrintEndPos)) {
        QString part;
        int len = film.Len.value_or(0);
        if (len > 0 && o.PrintLen)
            part = QStringLiteral("(ca. ") + FormatPlayTime(len, o.PlayTimeFormat);
        if (film.LP) {
            // The tape counts half a long-play film; the shown length stays.
            if (o.ATTS)
                len /= 2;
            addPiece(part, QStringLiteral(" LP"), QStringLiteral("(LP"));
        }
        if (film.MW)
            addPiece(part, QStringLiteral(" m.W."), QStringLiteral("(m.W."));
        if (o.PrintEndPos && len >= 1) {
            addPiece(part, QStringLiteral(" "), QStringLiteral("("));
            state.EndPos += len;
            part += QStringLiteral("bis: ") + FormatPlayTime(state.EndPos, o.PlayTimeFormat);
        }
        if (!part.isEmpty())
            part += QLatin1Char(')');
        if (t != ptWindow)
            part.prepend(QStringLiteral("  "));
        return part;
    }
    if (t != ptCaseTop && o.PrintFree) {
        QString v = freeField(film, o.PrintFreeNr);
        if (!v.isEmpty() && t != ptWindow)
            v.prepend(QStringLiteral(" - "));
        return v;
    }
    if (t == ptCaseTop && o.PrintHFree)
        return freeField(film, o.PrintHFreeNr);
    if ((t == ptCaseTop && o.PrintHKateg) || (t < ptCaseTop && o.PrintKat) || t == ptWindow) {
        if (film.Kateg.isEmpty())
            return QString();
        QString name = art.categoryName(KategCharToIndex(film.Kateg.at(0)));
        if (name == QLatin1String("Keine"))
            name = QStringLiteral("Keine Kategorie");
        if (!name.isEmpty() && t < ptCaseTop)
            name.prepend(QStringLiteral(" - "));
        return name;
    }
    return QString();
}

} // namespace

TFilmLabelLines BuildFilmLabelLines(const TLabelMedium &medium, int n, int t, const TLabelSettings &o,
                                    TLabelArtProvider &art, TFilmLinesState &state)
{
    TFilmLabelLines l;
    if (n == 1)
        state.EndPos = 0;
    if (n < 1 || n > int(medium.Films.size()) || !medium.Films[size_t(n - 1)].Exists) {
        l.Title = QStringLiteral("Fehler:");
        l.Sub = QStringLiteral(" FilmDatensatz nicht vorhanden!");
        return l;
    }
    const TLabelFilm &film = medium.Films[size_t(n - 1)];
    if (film.Frei)
        state.HasFreeArea = true;
    if (film.Frei && !o.FreeStrikeOut) {
        l.Sub = QStringLiteral("(freier Bereich)  ");
        return l;
    }
    l.StrikeOut = film.Frei;
    l.Title = film.Titel;
    if (film.Untertitel) {
        const QString &sub = *film.Untertitel;
        if (sub.startsWith(QLatin1Char('>'))) {
            l.Title += sub.mid(1);
        } else {
            l.Sub = sub;
            if (t != ptWindow && !sub.isEmpty())
                l.Sub.prepend(QStringLiteral(" - "));
        }
    }
    if (!film.Kateg.isEmpty())
        l.CategoryFont = art.categoryFont(KategCharToIndex(film.Kateg.at(0)));
    l.Extra = extraPart(film, t, o, art, state);
    if (t == ptCaseTop && (o.PrintHFree || o.PrintHKateg)) {
        // The case top then shows the free field or the category in place
        // of the title.
        l.Title = l.Extra;
        l.Sub.clear();
        l.Extra.clear();
    }
    return l;
}

TFilmFonts FilmFonts(const QFont &base, const TFilmTextSizes &sizes, double pixelsPerMmY, bool strikeOut)
{
    TFilmFonts f;
    f.Title = LabelFontAtPoints(base, sizes.Title, pixelsPerMmY);
    f.Sub = LabelFontAtPoints(base, sizes.Sub, pixelsPerMmY);
    f.Extra = LabelFontAtPoints(base, sizes.Extra, pixelsPerMmY);
    f.Title.setStrikeOut(strikeOut);
    f.Sub.setStrikeOut(strikeOut);
    f.Extra.setStrikeOut(false);
    return f;
}

int FilmLineWidth(const TFilmLabelLines &l, const TFilmFonts &f)
{
    return TextWidth(f.Title, l.Title) + TextWidth(f.Sub, l.Sub) + TextWidth(f.Extra, l.Extra);
}

int WindowTitleLineWidth(const TFilmLabelLines &l, const TFilmFonts &f)
{
    if (l.Sub.isEmpty())
        return TextWidth(f.Title, l.Title);
    return TextWidth(f.Title, l.Title) + TextWidth(f.Sub, QStringLiteral(" - ") + l.Sub);
}

void DrawFilmLine(TLabelLayout &out, const TFilmLabelLines &l, const TFilmFonts &f, int x, int baseline)
{
    out.text(QPoint(x, baseline), f.Title, l.Title);
    x += TextWidth(f.Title, l.Title);
    out.text(QPoint(x, baseline), f.Sub, l.Sub);
    x += TextWidth(f.Sub, l.Sub);
    out.text(QPoint(x, baseline), f.Extra, l.Extra);
}

void DrawWindowFilmLines(TLabelLayout &out, const TFilmLabelLines &l, const TFilmFonts &f, int x, int top,
                         int pitch, int extraHeight, int availWidth)
{
    // The slot: title lines above, the extra line at its bottom.
    const int textBottom = top + pitch - extraHeight;
    const QFontMetrics title(f.Title), sub(f.Sub), extra(f.Extra);
    if (WindowTitleLineWidth(l, f) <= availWidth) {
        const int textHeight = textBottom - top;
        const int baseline = top + (textHeight - title.height()) / 2 + title.ascent();
        out.text(QPoint(x, baseline), f.Title, l.Title);
        if (!l.Sub.isEmpty())
            out.text(QPoint(x + TextWidth(f.Title, l.Title), baseline), f.Sub, QStringLiteral(" - ") + l.Sub);
    } else {
        out.text(QPoint(x, top + title.ascent()), f.Title, l.Title);
        out.text(QPoint(x, textBottom - sub.descent()), f.Sub, l.Sub);
    }
    if (!l.Extra.isEmpty())
        out.text(QPoint(x, top + pitch - extra.descent()), f.Extra, l.Extra);
}
