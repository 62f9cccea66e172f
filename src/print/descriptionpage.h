// Description pages of films and persons: a heading with the record's
// fields and picture, a rule, then the memo over as many pages as it needs,
// optionally on the backs of the sheets. Everything is laid out into a
// document of pages first; the print job then only paints them.
#pragma once

#include "print/labeldata.h"
#include "print/labellayout.h"
#include "print/pagetext.h"

#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>
#include <vector>

// One page of a document. A back side starts a job of its own: the pages
// before it are printed, the user turns the sheet and the printer takes it
// again.
struct TPageSheet
{
    TLabelLayout layout;
    bool backSide = false;
};

struct TPageDocument
{
    std::vector<TPageSheet> sheets;
};

// The options of the page dialog.
struct TPageOptions
{
    QString fontName;   // empty prints in "Arial"
    int fontSize = 12;  // memo text, points
    bool backSide = false;
    int playTimeFormat = 0;
};

// Lays pages out one after another: the margins, the current line and the
// page counter of the record being printed.
class TPageWriter
{
public:
    TPageWriter(const TPageMetrics &metrics, const TPageOptions &options, TPageDocument &doc);

    // A record begins: a new page with the front margins (the first record
    // on the first page); the page counter starts at 1.
    void beginRecord();
    // A continuation page of the record: the back of the sheet when back
    // sides are on and the counter is odd, else the next front page; with
    // its header (the page title, "Seite n", a rule).
    void continuationPage();

    TLabelLayout &out() { return m_doc.sheets.back().layout; }
    const TPageMetrics &metrics() const { return m_m; }
    const TPageOptions &options() const { return m_o; }
    QFont font(int points, bool italic = false, bool bold = false) const;
    // Text with its top at y, and with its baseline at y.
    void textTop(int x, int y, const QFont &f, const QString &s);
    void textBase(int x, int y, const QFont &f, const QString &s);

    int XL = 0, XR = 0, y = 0;
    int pageCounter = 1;
    QString pageTitle;

private:
    void addSheet(bool backSide);
    TPageMetrics m_m;
    TPageOptions m_o;
    TPageDocument &m_doc;
};

// A piece of the text after the heading: wrapped text (a memo) or a single
// entry line.
struct TPageTextPart
{
    QString text;
    bool italic = false, underline = false;
    bool entry = false; // one entry: an empty text still takes its line
};

// The text from the writer's y on, continued on new pages while it remains.
void PrintPageText(TPageWriter &w, const std::vector<TPageTextPart> &parts);

// ---- film pages -----------------------------------------------------------------

struct TFilmPageData
{
    QString header;       // "Band-Nr. 12, Film-Nr. 2": the card's caption after "-- "
    TLabelFilm film;      // title, subtitle, times, flags, free fields, memo, picture
    QString categoryText; // what the card's category control shows
    QString freeCaptions[15]; // captions without "&"
    bool freeIsLink[15] = {};
};

// Where the heading of a page put its parts (tests measure them).
struct TPageHeadingBoxes
{
    int titleBaseline = 0, fieldTop = 0, lineHeight = 0, lines = 0;
    int valueX = 0, ruleY = 0;
    QRect picture; // empty: no picture
};

// The title line's texts: title (a subtitle beginning with ">" joins it),
// " - " + subtitle (empty when none shows) and the time text.
struct TFilmTitleLine
{
    QString title, sub, time;
    QString pageTitle; // the continuation pages' title
};
TFilmTitleLine FilmTitleLine(const TLabelFilm &film, int playTimeFormat);

TPageHeadingBoxes DrawFilmPage(TPageWriter &w, const TFilmPageData &d, const TLabelSettings &o,
                               TLabelArtProvider &art);
// One film: a record with its heading and memo.
void PrintFilmPageRecord(TPageWriter &w, const TFilmPageData &d, const TLabelSettings &o, TLabelArtProvider &art);

// ---- person pages ---------------------------------------------------------------

struct TPersonPageData
{
    QString name;
    QString captions[7]; // without "&"
    QString values[7];
    bool isLink[7] = {};
    QString memo;
    QImage picture;
    // With the film list: the side panel's heading and one entry per film.
    bool listFilms = false;
    QString filmsHeading;
    QStringList films;
};

// "Titel" or, with the medium index, "Titel  (VHS-SB Nr. 12)".
QString PersonFilmEntry(const QString &title, const QString &kind, int kassNr, bool medIndex);
// The text after the heading: the memo, then (with the film list) an empty
// line, the heading in italic underlined and the films.
std::vector<TPageTextPart> PersonPageText(const TPersonPageData &d);

TPageHeadingBoxes DrawPersonPage(TPageWriter &w, const TPersonPageData &d);
void PrintPersonPageRecord(TPageWriter &w, const TPersonPageData &d);

// The fit of a picture of `size` (width already corrected for the axes)
// beside a heading: fit 1 from top1 to bottom capped at width1, fit 2 from
// top2 to bottom capped at the larger of width1 and width2; the taller fit
// wins (fit 2 on a tie), in a box ending at right. Empty when no room is
// left (a height or width of 0 or less).
QRect FitHeadingPicture(const QSize &size, int right, int top1, int top2, int bottom, int width1, int width2);
