#include "print/labeldraw.h"

#include "app/apppaths.h"
#include "dbui/pictureloader.h"
#include "platform/rounding.h"
#include "print/labelpictures.h"
#include "print/labelsymbols.h"
#include "print/labeltext.h"
#include "print/numberlabel.h"
#include "print/sheetlayout.h"

#include <QFontMetrics>

#include <algorithm>

const QString LabelTooSmallCaption = QStringLiteral("Etikett zu klein, drucken unmöglich!");
const QString LabelTooSmallText = QStringLiteral(
    "Unpassende Etikett-Einrichtung: Die Etikettbreite ist zu klein, bei den gewählten Einstellungen noch Text "
    "darauf unterzubringen. Überprüfen Sie den Drucktyp!");

TLabelSettings LabelSettingsFromGlobals(bool selfAdhesive)
{
    TLabelSettings s;
    s.Kind = LabelKind;
    s.SelfAdhesive = selfAdhesive;
    s.PrintHZF = PrintHZF;
    s.NrEtiSeparate = NrEtiSeparate;
    s.VCenter = VCenter;
    s.FilmSizeIdent = FilmSizeIdent != 0;
    s.PrintHNr = PrintHNr;
    s.LabelAlignMode = LabelAlignMode;
    s.MaxSizeSub = MaxSizeSub;
    s.MaxSizeMin = MaxSizeMin;
    s.LabelFont = FontSpecToQFont(LabelFont);
    s.LabelFontPoints = std::max(1, LabelFont.Size);
    s.NumberFont = FontSpecToQFont(NrEtiFont);
    s.NumberFontPoints = std::max(1, NrEtiFont.Size);
    s.HasFootSymbol = !SymbolFile.isEmpty();
    // A name below the program folder keeps its Windows separators in the
    // settings ("Symbole\Fuss-Recycle.bmp").
    if (s.HasFootSymbol)
        s.FootSymbol = dbui::PictureLoader::loadFile(ExpandProgramPath(SymbolFile)).image;
    s.Options = LabelOptionsFromSettings();
    s.Sheet = ZFSheetLayout;
    return s;
}

QString LabelOutcomeCaption(TLabelOutcome o)
{
    switch (o) {
    case TLabelOutcome::Drawn: return QString();
    case TLabelOutcome::OtherMediumRefused:
    case TLabelOutcome::DvdRefused: return QStringLiteral("Unmöglich!");
    case TLabelOutcome::NoFilm: return QStringLiteral("Hinweis");
    }
    return QString();
}

QString LabelOutcomeText(TLabelOutcome o)
{
    switch (o) {
    case TLabelOutcome::Drawn: return QString();
    case TLabelOutcome::OtherMediumRefused:
        return QStringLiteral("Für sonstige Medien können keine VHS-Etiketten gedruckt werden!");
    case TLabelOutcome::DvdRefused: return QStringLiteral("Für DVDs können keine solchen VHS-Etiketten gedruckt werden!");
    case TLabelOutcome::NoFilm:
        return QStringLiteral("Das Medium enthält keinen einzigen Film.\\lb\\BEs kann kein Etikett gedruckt werden.!");
    }
    return QString();
}

int LabelFilmCount(const TLabelMedium &m, int maxFAnz)
{
    int count = 0;
    const int last = std::min(maxFAnz, int(m.Films.size()));
    for (int n = 1; n <= last; ++n)
        if (m.Films[size_t(n - 1)].Exists)
            count = n;
    return count;
}

int LabelLineGap(int filmCount, int maxFAnz)
{
    if (maxFAnz <= 1)
        return 0;
    if (filmCount < 1)
        return 10;
    // 10 - (n - 1) * 10 / (maxFAnz - 1) = (10 * (maxFAnz - 1) - (n - 1) * 10) / (maxFAnz - 1)
    return int(platform::mulDivRoundHalfEven(10 * (maxFAnz - 1) - (filmCount - 1) * 10, 1, maxFAnz - 1));
}

int LabelLinePitch(int heightTenths, int filmCount, int gapTenths, bool windowLabel, double pixelsPerMmY)
{
    if (filmCount < 1)
        return 0;
    const double mm = (heightTenths / 10.0 - (windowLabel ? 4 : 2)) - (filmCount - 1) * gapTenths / 10.0;
    return std::max(1, int(platform::roundHalfEven(mm * pixelsPerMmY / filmCount)));
}

int LabelBaselineOffset(int k, int pitch, int gapTenths, int titleTextHeight, double pixelsPerMmY)
{
    return int(platform::roundHalfEven(0.3 * titleTextHeight + ((k - 1) * gapTenths / 10.0 + 1) * pixelsPerMmY
                                       + pitch * (k - 0.5)));
}

namespace {

// The preview's refusal texts, in Arial 10 at x 3 from y 4, 14 pixels apart.
void refusalText(TLabelLayout &out, const QStringList &lines, const TLabelScale &scale)
{
    const QFont f = LabelFontAtPoints(QFont(QStringLiteral("Arial")), 10, scale.yPerMm());
    const int ascent = QFontMetrics(f).ascent();
    int y = 4;
    for (const QString &l : lines) {
        out.text(QPoint(3, y + ascent), f, l);
        y += 14;
    }
}

struct FilmGeometry
{
    int pitch = 0, gap = 0, extraHeight = 0;
    TFilmTextSizes sizes;
};

bool windowExtraLine(const TLabelOptions &o)
{
    return o.PrintKat || o.PrintKategSymb || o.PrintTon || o.PrintLen || o.PrintFree;
}

int ppAt(const QFont &base, int points, double perMm)
{
    return TextHeightPp(LabelFontAtPoints(base, points, perMm));
}

FilmGeometry lineGeometry(const TLabelFormat &f, int n, const TLabelSettings &s, const TLabelScale &scale)
{
    FilmGeometry g;
    const double perMm = scale.yPerMm();
    const bool window = f.Drucktyp == ptWindow;
    g.gap = LabelLineGap(n, f.MaxFAnz);
    g.pitch = LabelLinePitch(f.Hoehe, n, g.gap, window, perMm);
    int title = std::max(1, s.LabelFontPoints);
    if (!s.VCenter)
        g.pitch = std::min(g.pitch, ppAt(s.LabelFont, title, perMm));
    while (title > 1 && ppAt(s.LabelFont, title, perMm) > g.pitch)
        --title;
    g.sizes.Title = title;
    g.sizes.Sub = std::max(1, std::min(s.MaxSizeSub, title));
    g.sizes.Extra = std::max(1, std::min(s.MaxSizeMin, g.sizes.Sub));
    if (window && windowExtraLine(s.Options)) {
        g.extraHeight = std::min(ppAt(s.LabelFont, g.sizes.Extra, perMm),
                                 int(platform::roundHalfEven(0.33 * g.pitch)));
        while (g.sizes.Extra > 1 && ppAt(s.LabelFont, g.sizes.Extra, perMm) > g.extraHeight)
            --g.sizes.Extra;
    }
    return g;
}

struct FilmFit
{
    bool all = true, title = true, sub = true, extra = true;
};

FilmFit measureFilm(const TFilmLabelLines &l, const TFilmFonts &fonts, bool window, int avail, int pitch,
                    int extraHeight)
{
    FilmFit r;
    if (!window) {
        r.all = FilmLineWidth(l, fonts) <= avail;
        return r;
    }
    r.title = TextWidth(fonts.Title, l.Title) <= avail;
    r.sub = TextWidth(fonts.Sub, l.Sub) <= avail;
    const bool oneLine = WindowTitleLineWidth(l, fonts) <= avail
                         && TextHeightPp(fonts.Title) <= pitch - extraHeight;
    const bool twoLines = r.title && r.sub
                          && TextHeightPp(fonts.Title) + TextHeightPp(fonts.Sub) <= pitch - extraHeight;
    r.extra = l.Extra.isEmpty() || (TextWidth(fonts.Extra, l.Extra) <= avail && TextHeightPp(fonts.Extra) <= extraHeight);
    r.all = (oneLine || twoLines) && r.extra;
    return r;
}

// Shrinks the sizes until the film fits or the title is at 4 points; each
// size stays at 1 point at least and the loop ends when nothing shrinks.
// Returns the number of reductions.
int fitFilm(const TFilmLabelLines &l, const QFont &base, TFilmTextSizes &sz, bool window, int avail, int pitch,
            int extraHeight, double perMm)
{
    int reductions = 0;
    auto fonts = [&] { return FilmFonts(base, sz, perMm, l.StrikeOut); };
    auto lower = [&](int &size) {
        if (size <= 1)
            return false;
        --size;
        ++reductions;
        return true;
    };
    FilmFit fit = measureFilm(l, fonts(), window, avail, pitch, extraHeight);
    while (!fit.all && sz.Title > 4) {
        bool shrunk = false;
        if (window && fit.title && !fit.sub)
            shrunk = lower(sz.Sub);
        else
            shrunk = lower(sz.Title);
        if (sz.Title < sz.Sub)
            shrunk = lower(sz.Sub) || shrunk;
        if (sz.Sub < sz.Extra)
            shrunk = lower(sz.Extra) || shrunk;
        if (window) {
            while (!measureFilm(l, fonts(), window, avail, pitch, extraHeight).extra && lower(sz.Extra))
                shrunk = true;
        }
        if (!shrunk)
            break;
        fit = measureFilm(l, fonts(), window, avail, pitch, extraHeight);
    }
    return reductions;
}

void drawFilmPictures(TLabelLayout &out, const TLabelMedium &m, int count, const TLabelFormat &f,
                      const QRect &label, const TLabelScale &scale, TLabelArtProvider &art)
{
    std::vector<QImage> pictures;
    for (int n = 1; n <= count; ++n) {
        const TLabelFilm &film = m.Films[size_t(n - 1)];
        if (!film.Exists)
            continue;
        const QImage pic = ChooseFilmPicture(film, FindFilmPicture(film, art), f.ImgPreferBLOB);
        if (!pic.isNull())
            pictures.push_back(pic);
    }
    if (pictures.empty())
        return;
    const QRect area = label.adjusted(scale.px(10), scale.py(10), -scale.px(10), -scale.py(10));
    const std::vector<QRect> cells = PictureCells(area, int(pictures.size()), scale);
    for (size_t i = 0; i < cells.size() && i < pictures.size(); ++i)
        DrawFilmPicture(out, pictures[i], cells[i], f.ImgTurns, f.ImgMaxZoom, scale);
}

} // namespace

void DrawMediumLabel(TLabelDrawing &res, const TLabelMedium &m, bool printing, TLabelFormat f, int position,
                     const TLabelSettings &s, const TLabelScale &scale, TLabelArtProvider &art)
{
    TLabelLayout &out = res.Layout;
    const QString kind = m.Medium.left(6);
    const bool isKK = kind == QLatin1String("VHS-KK");
    const bool isDVD = kind == QLatin1String("DVD");
    const bool separate = s.Kind == lkSpine && (isKK || isDVD || s.NrEtiSeparate);
    const int t = f.Drucktyp;

    if (kind != QLatin1String("VHS-SB") && !isKK && !isDVD && s.Kind != lkUser) {
        res.Outcome = TLabelOutcome::OtherMediumRefused;
        if (!printing)
            refusalText(out, {QStringLiteral("Für sonstige Medien ist kein VHS-Etikett druckbar!")}, scale);
        return;
    }
    if (isDVD && (s.Kind == lkCaseTop || s.Kind == lkWindow)) {
        res.Outcome = TLabelOutcome::DvdRefused;
        if (!printing)
            refusalText(out,
                        {QStringLiteral("Kein Etikett druckbar!"), QStringLiteral("Diese Etikettenart steht für"),
                         QStringLiteral("DVDs nicht zur Verfügung.")},
                        scale);
        return;
    }

    int count = 0;
    if (t != ptOutline && t != ptNumberOnly)
        count = LabelFilmCount(m, f.MaxFAnz);
    if (printing && count == 0 && t != ptOutline && t != ptNumberOnly && !isKK && !isDVD) {
        res.Outcome = TLabelOutcome::NoFilm;
        return;
    }
    const bool haveAttachmentPicture = !art.symbol(QStringLiteral("NotesSW.bmp")).isNull();
    const bool selfAdhesive = SelfAdhesiveLayout(s.SelfAdhesive, s.Kind, s.PrintHZF);
    const QRect label = LabelRectOnSheet(f, position, scale, printing && selfAdhesive, s.Sheet);
    const int right = label.left() + label.width();
    const double perMm = scale.yPerMm();
    const bool caseTopLeft = selfAdhesive && s.Kind == lkCaseTop;

    const bool onlyNumber = (isKK && s.Kind == lkSpine) || (isDVD && s.Kind >= lkCaseTop && s.Kind <= lkSpine);
    if (!onlyNumber) {
        if (f.Border && !selfAdhesive)
            out.rect(label);

        // Left edge of the film lines.
        int x = label.left() + scale.px(20);
        if (t == ptSpine && s.HasFootSymbol) {
            const int side = std::max(1, scale.py(f.Hoehe - 40));
            const QRect sq(label.left() + scale.px(20), label.top() + scale.py(20), side, side);
            if (s.FootSymbol.isNull())
                DrawCross(out, sq);
            else
                out.image(sq, s.FootSymbol);
            x = sq.left() + side + scale.px(20);
        } else if (t == ptSpine) {
            x = label.left() + scale.px(separate ? 20 : 130);
        } else if (t == ptCaseTop) {
            x = label.left() + scale.px(caseTopLeft && s.LabelAlignMode == 2 ? 550 : 20);
            if (s.PrintHNr)
                x += scale.px(110);
        }

        if (t == ptPictures) {
            drawFilmPictures(out, m, count, f, label, scale, art);
        } else if (t != ptOutline && t != ptNumberOnly && count > 0) {
            const bool window = t == ptWindow;
            const FilmGeometry g = lineGeometry(f, count, s, scale);
            const int symbolW = window ? g.extraHeight
                                       : std::min(int(platform::roundHalfEven(g.pitch * scale.xPerMm() / perMm)),
                                                  scale.px(s.Options.MaxSizeSymb * 10));
            const int symbolH = window ? g.extraHeight : std::min(g.pitch, scale.py(s.Options.MaxSizeSymb * 10));
            int textEnd = right - scale.px(20) - (t == ptCaseTop ? 0 : symbolW);
            if (t == ptCaseTop && caseTopLeft && s.LabelAlignMode <= 1)
                textEnd = label.left() + scale.px(940);
            TSymbolSwitches sw;
            sw.sound = s.Options.PrintTon;
            sw.stars = s.Options.PrintSterne;
            sw.category = s.Options.PrintKategSymb;
            sw.compactStars = window;
            const int margin = window ? 2 : 1;
            auto slotTop = [&](int k) {
                return label.top()
                       + int(platform::roundHalfEven(((k - 1) * g.gap / 10.0 + margin) * perMm + g.pitch * (k - 1)));
            };

            TFilmLinesState state;
            std::vector<TFilmLabelLines> lines(static_cast<size_t>(count));
            std::vector<int> ends(static_cast<size_t>(count));
            TFilmTextSizes sizes = g.sizes;
            auto draw = [&](int k, const TFilmTextSizes &sz) {
                const TFilmLabelLines &l = lines[size_t(k - 1)];
                const QFont base = l.CategoryFont.value_or(s.LabelFont);
                const TFilmFonts fonts = FilmFonts(base, sz, perMm, l.StrikeOut);
                if (window) {
                    DrawWindowFilmLines(out, l, fonts, x, slotTop(k), g.pitch, g.extraHeight,
                                        ends[size_t(k - 1)] - scale.px(10) - x);
                } else {
                    const int baseline = label.top()
                                         + LabelBaselineOffset(k, g.pitch, g.gap, ppAt(base, sz.Title, perMm), perMm);
                    DrawFilmLine(out, l, fonts, x, baseline);
                }
            };
            for (int k = 1; k <= count; ++k) {
                const TLabelFilm &film = m.Films[size_t(k - 1)];
                int end = textEnd;
                if (t != ptCaseTop && film.Exists) {
                    QRect first;
                    if (window) {
                        const int top = slotTop(k) + g.pitch - g.extraHeight;
                        first = QRect(right - scale.px(20) - symbolW, top, symbolW, symbolH);
                    } else {
                        const int centre = slotTop(k) + g.pitch / 2;
                        first = QRect(right - scale.px(20) - symbolW, centre - symbolH / 2, symbolW, symbolH);
                    }
                    if (symbolW > 0 && symbolH > 0) {
                        const int left = DrawFilmSymbols(out, film, first, 1, haveAttachmentPicture, sw, s.Options, art);
                        end = std::min(end, left);
                    }
                }
                ends[size_t(k - 1)] = end;
                lines[size_t(k - 1)] = BuildFilmLabelLines(m, k, t, s.Options, art, state);
                const TFilmLabelLines &l = lines[size_t(k - 1)];
                const QFont base = l.CategoryFont.value_or(s.LabelFont);
                if (!s.FilmSizeIdent)
                    sizes = g.sizes;
                fitFilm(l, base, sizes, window, end - scale.px(10) - x, g.pitch, g.extraHeight, perMm);
                if (sizes.Title <= 4 && printing)
                    res.TooSmall = true;
                if (!s.FilmSizeIdent)
                    draw(k, sizes);
            }
            if (s.FilmSizeIdent)
                for (int k = 1; k <= count; ++k)
                    draw(k, sizes);
        }
    }

    // The medium number.
    TNumberLabelInput num;
    num.label = label;
    num.labelHeightTenths = f.Hoehe;
    num.number = m.Nr;
    num.isDVD = isDVD;
    num.spineKind = s.Kind == lkSpine;
    num.font = s.NumberFont;
    num.fontPoints = s.NumberFontPoints;
    if (t == ptNumberOnly) {
        DrawNumberOnlyLabel(out, label, m.Nr, s.NumberFont, s.NumberFontPoints, scale);
    } else if (t == ptSpine) {
        TFilmLinesState probe;
        for (int k = 1; k <= count; ++k)
            BuildFilmLabelLines(m, k, t, s.Options, art, probe);
        num.separate = separate;
        num.rest = RemainingTimeText(m, s.Options, s.Kind, f.MaxFAnz, probe.HasFreeArea);
        // A foot symbol takes the number's place on the spine itself.
        if (separate || !s.HasFootSymbol)
            DrawNumberLabel(out, num, s.Kind == lkSpine && separate ? 1550 : 10, scale);
    } else if (t == ptCaseTop && !(isDVD && s.Kind == lkCaseTop)) {
        if (s.PrintHNr)
            DrawNumberLabel(out, num, caseTopLeft && s.LabelAlignMode == 2 ? 540 : 10, scale);
        if (caseTopLeft && s.LabelAlignMode == 1) {
            num.readsDownwards = false;
            DrawNumberLabel(out, num, 1340, scale);
        }
    }
}

TLabelDrawing DrawLabel(const TLabelMedium &medium, bool printing, const TLabelFormat &active, int position,
                        const TLabelSettings &s, const TLabelScale &scale, TLabelArtProvider &art)
{
    TLabelFormat f = active;
    f.Border = true;
    TLabelDrawing res;
    if (!f.R1 && !f.R2 && !f.R3) {
        DrawMediumLabel(res, medium, printing, f, position, s, scale, art);
        return res;
    }
    TLabelFormat outline = f;
    outline.Drucktyp = ptOutline;
    DrawMediumLabel(res, medium, printing, outline, position, s, scale, art);
    for (const std::optional<TRahmen> *r : {&f.R1, &f.R2, &f.R3}) {
        if (!*r || res.Outcome != TLabelOutcome::Drawn)
            continue;
        DrawMediumLabel(res, medium, printing, MakeFrameFormat(f, **r), position, s, scale, art);
    }
    return res;
}
