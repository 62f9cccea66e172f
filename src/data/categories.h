// The 62 categories of a database: name, symbol file and own title font, kept
// in the text file "KAT" of the database's "DB" folder (Windows-1252, CR LF),
// the code characters the films store in "Kateg", and the reordering rules of
// the category editor (swaps through a spare code, the arrows, the sort).
#pragma once

#include <QString>

#include <array>
#include <functional>
#include <optional>

namespace engine {
class Table;
}

constexpr int CategoryCount = 62;

// Style bits: 1 bold, 2 italic, 4 underline, 8 struck out. Size is always 10.
struct TCategoryFont
{
    QString face;
    qint32 color = 0; // Windows colour value (0x00BBGGRR)
    quint8 style = 0;
    bool operator==(const TCategoryFont &) const = default;
};

struct TCategory
{
    QString name;   // empty: the category is unused
    QString symbol; // a file in the program folder by its name, any other by its full path
    std::optional<TCategoryFont> font;
    bool operator==(const TCategory &) const = default;
};

// Entry i holds category i + 1.
using TCategoryTable = std::array<TCategory, CategoryCount>;
extern TCategoryTable CategoryTable;

// 1..9 -> '1'..'9', 10 -> '0', 11..36 -> 'a'..'z', 37..62 -> 'A'..'Z'; any
// other number gives '1'. The reverse gives 1 for any other character.
QChar KategIndexToChar(int n);
int KategCharToIndex(QChar c);

// The file "KAT" of the database at dbBase.
QString CategoryFilePath(const QString &dbBase);

// The symbol as found: the stored text when it names an existing file
// (against the program folder), else its part after the last separator, else
// "Symbole\" + that part when that exists, else the bare part.
QString ResolveCategorySymbol(const QString &stored);
// The file to draw for a stored symbol (empty for none).
QString CategorySymbolFile(const QString &stored);
// A chosen file as stored: below the program folder its path from there in
// the file's Windows spelling, as the built-in symbols ("Symbole\x.bmp"; a
// file directly in the folder by its name alone), else the path as given.
QString StoredSymbolName(const QString &file);

// Reads the lines into table: 62 pairs of name and symbol (missing lines
// empty), then, when the file goes on, 62 font triples of face, colour and
// style character (an empty face: no font, its two lines skipped).
void ParseCategories(const QByteArray &bytes, TCategoryTable &table);
// Always 310 lines: the pairs, then the triples (three empty lines for none).
QByteArray FormatCategories(const TCategoryTable &table);

// LoadCategories leaves the table unchanged when the file is missing.
bool LoadCategories(const QString &path, TCategoryTable &table = CategoryTable);
bool SaveCategories(const QString &path, const TCategoryTable &table = CategoryTable, QString *error = nullptr);

// The numbers of the named categories 1..62, in order.
QList<int> NamedCategories(const TCategoryTable &table = CategoryTable);
// The first named category whose name equals text, without regard to case;
// 0 when none.
int FindCategoryByName(const QString &text, const TCategoryTable &table = CategoryTable);


// ---- Reordering ------------------------------------------------------------------
// Two categories change places: their entries, and the films of each take
// the other's code. A code no film uses (the spare) carries the films of the
// first while the second's move; everything is one transaction.
class TCategoryReorder
{
public:
    // confirm asks once per editor run before the first recoding.
    TCategoryReorder(TCategoryTable &table, const engine::Table *films, std::function<bool()> confirm);

    // The spare codes, searched from 62 down to 2 (0: none). The second is
    // the first when only one exists.
    int spare();
    int secondSpare();
    bool hasSpare() { return spare() != 0; }
    void resetSpare() { m_searched = false; }

    // Row 1 never moves; the arrows need a spare code.
    bool canMoveUp(int row) { return hasSpare() && row >= 3 && row <= CategoryCount; }
    bool canMoveDown(int row) { return hasSpare() && row >= 2 && row <= CategoryCount - 1; }
    // The row selected afterwards, or 0 when nothing moved.
    int moveUp(int row);
    int moveDown(int row);
    // Alphabetical order of rows 2..61, category 10 ("0") kept free when an
    // empty row exists. False when it did not run.
    bool sort();

    // The swap itself, through temp (a code no film uses).
    void swap(int a, int b, int temp);

private:
    bool confirmed();
    int move(int row, int step);
    void search();

    TCategoryTable &m_table;
    const engine::Table *m_films;
    std::function<bool()> m_confirm;
    bool m_confirmed = false;
    bool m_searched = false;
    int m_spare = 0, m_second = 0;
};
