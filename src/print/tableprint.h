// Tables and lists on paper: the one-to-one table (an image of a grid with
// its visible columns) and the standard lists of media with their film
// titles, or of films. Rows are given as values; the printer lays each page
// out into a TLabelLayout and hands it over, so a job of any length holds one
// page at a time. The list window paints its rows with the same row layout.
#pragma once

#include "dbui/boolsymbols.h"
#include "print/labeldata.h"
#include "print/labellayout.h"
#include "print/labelscale.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

// Page geometry of one job in device pixels.
struct TTablePrintGeometry
{
    TLabelScale scale;       // pixels per millimetre of each axis
    int widthMm = 0, heightMm = 0;
    int widthPx = 0, heightPx = 0;
    bool landscape = false;
    bool screen = false;     // a row of the list window, not a page
    int lineHeight = 0;      // H = round(5 mm)
    int top = 0;             // first line y
    int x0 = 0;              // left border
    int numberCentre = 0;    // centre of the medium number column
    int b0 = 0;              // first film column
    int tableWidth = 0;      // W, what the table columns share

    int mmX(double mm) const { return scale.px(int(platform::roundHalfEven(mm * 10))); }
    int mmY(double mm) const { return scale.py(int(platform::roundHalfEven(mm * 10))); }
};

// A printer page: its printable size in pixels and whole millimetres.
TTablePrintGeometry PrinterTableGeometry(int widthPx, int widthMm, int heightPx, int heightMm, bool landscape);
// The list window's rows: 200 x 140 mm on 640 x 480 pixels.
TTablePrintGeometry ScreenListGeometry();

// Lines per page: lpp when set, else (height - 10 - 3) div 5 in portrait and
// (height - 10 - 10) div 5 in landscape, but not below 2 on a very small
// page, so that every page holds a row.
int TablePrintLinesPerPage(int lpp, int heightMm, bool landscape);

// ---- the one-to-one table --------------------------------------------------------

enum class TCellKind { Text, Number, Boolean, None };

// A grid column as the table takes it.
struct TTableColumnSource
{
    QString title;
    int screenWidth = 0; // 0: hidden
    bool blob = false;   // memo or picture
    TCellKind kind = TCellKind::Text;
};

struct TPrintColumn
{
    int width = 0;      // device pixels
    int gridColumn = 0; // index into the sources
};

// A column prints when it is at least 15 pixels wide on screen and is no BLOB.
bool IsPrintableColumn(const TTableColumnSource &c);
// The printable columns in grid order, each round(w / S * W) wide (S the sum
// of their screen widths).
std::vector<TPrintColumn> BuildPrintColumns(const std::vector<TTableColumnSource> &sources, int tableWidth);

// One cell of a data row: its text (numbers and dates already as text) or,
// for a Boolean column, its value (null: nothing printed).
struct TTableCell
{
    QString text;
    std::optional<bool> flag;
};

// A cell text fitted to a width: 10 pt, bold dropped first, then down to 6 pt,
// then cut before an appended "...".
struct TFittedText
{
    QString text;
    int points = 10;
    bool bold = false;
};
TFittedText FitCellText(const QFont &base, const QString &text, bool bold, int available, double pixelsPerMmY);

// ---- the standard lists ----------------------------------------------------------

// One row of a media list (a medium with its film columns) or of a film list
// (the medium key with its one film).
struct TListRow
{
    QString medium;              // kind, at most 6 characters
    int nr = 0;
    std::optional<int> len;      // the medium's tape length
    std::optional<int> rest;     // its remaining time
    std::vector<TLabelFilm> films; // column i + 1; Exists false: no film there
};

struct TTablePrintStyle
{
    QString fontName = QStringLiteral("Arial");
    QString symbolFont = QStringLiteral("DejaVu Sans"); // has the Boolean symbols
    dbui::BoolSymbolStyle boolStyle;
    int linesPerPage = 54;      // L
    bool twoLines = false;      // media lists with a second line per medium
    bool filmList = false;
    bool useCategoryFonts = false;
    bool printStars = false;    // film lists: the rating stars
    bool filmsHaveLen = true;   // the film source has "Len" / "Kateg"
    bool filmsHaveKateg = true;
    TLabelSettings symbols;      // picture-format mode for the symbols
};

// The list's film column boundaries B0 < B1 < ... < Bn; R = Bn.
std::vector<int> ListColumnBounds(const TTablePrintGeometry &g, int n);

// Lays out the first line of a list row at y and returns the next y.
int LayoutListLine1(TLabelLayout &out, const TTablePrintGeometry &g, const TTablePrintStyle &s, const TListRow &row,
                    int y, TLabelArtProvider &art);
// The second line: for film lists on the line just printed, for media lists
// below it. Returns the next y.
int LayoutListLine2(TLabelLayout &out, const TTablePrintGeometry &g, const TTablePrintStyle &s, const TListRow &row,
                    int y, TLabelArtProvider &art);
// A row of the list window at y = 0: its lines and a rule along the bottom.
TLabelLayout LayoutListRowOnScreen(const TTablePrintGeometry &g, const TTablePrintStyle &s, const TListRow &row,
                                   TLabelArtProvider &art);

// ---- the pages ---------------------------------------------------------------------

// Builds the pages of one job. Each finished page goes to the sink, which
// draws it; a sink that returns false stops the job (cancelled).
class TTablePrinter
{
public:
    using PageSink = std::function<bool(const TLabelLayout &page)>;

    TTablePrinter(const TTablePrintGeometry &g, const TTablePrintStyle &s, TLabelArtProvider &art, PageSink sink);

    // The heading in 12 pt; it counts as the first line.
    void begin(const QString &heading);
    // The one-to-one table: its columns; the header row follows at once and
    // on every new page.
    void setTable(const std::vector<TTableColumnSource> &sources);
    bool tableRow(const std::vector<TTableCell> &cells);
    bool listRow(const TListRow &row);
    // The closing rule; page numbers only when the job has more than one page.
    bool finish();

    int pageCount() const { return m_page; }
    bool cancelled() const { return m_cancelled; }
    // The table's right edge: x0 + the sum of the column widths.
    int rightEdge() const { return m_right; }
    const std::vector<TPrintColumn> &columns() const { return m_columns; }

private:
    bool countLine();
    bool breakPage();
    void pageNumber();
    void headerRow();
    void cellText(int left, int right, int baseline, const QString &text, bool bold, bool rightAligned);
    void boolCell(int left, int width, int baseline, std::optional<bool> value);

    TTablePrintGeometry m_g;
    TTablePrintStyle m_s;
    TLabelArtProvider &m_art;
    PageSink m_sink;
    TLabelLayout m_pageLayout;
    std::vector<TTableColumnSource> m_sources;
    std::vector<TPrintColumn> m_columns;
    bool m_table = false;
    int m_y = 0, m_c = 0, m_page = 1, m_right = 0;
    bool m_cancelled = false;
};
