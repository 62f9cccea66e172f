// The media table's "Gedruckt" flag ("Etikett gedruckt") over a set of medium
// keys: whether the listed media are marked printed, marking or clearing
// them, and the media that hold films of one category. Every kind and number
// is bound as a parameter; a long key set is run in slices inside one
// transaction, so no statement grows past SQLite's limits.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace engine { class Table; }

struct TMediumNrPair
{
    QString Medium; // the kind code, at most 6 characters
    qint32 Nr = 0;
    bool operator==(const TMediumNrPair &) const = default;
};

class TMediumNrPairCollection
{
public:
    // Longer kind codes are cut to 6 characters, as the table stores them.
    void AddPair(const QString &medium, qint32 nr);
    int count() const { return int(m_items.size()); }
    bool isEmpty() const { return m_items.isEmpty(); }
    const TMediumNrPair &at(int i) const { return m_items[i]; }
    const QList<TMediumNrPair> &items() const { return m_items; }
    void clear() { m_items.clear(); }

private:
    QList<TMediumNrPair> m_items;
};

// Which media a statement covers: a key set, or else a ready condition text
// (beginning with "WHERE") that is appended unchanged.
struct TMediumSelection
{
    const TMediumNrPairCollection *pairs = nullptr;
    QString whereText;
    bool empty() const { return (!pairs || pairs->isEmpty()) && whereText.trimmed().isEmpty(); }
};

// The key set's condition for the pairs [first, first + count): the line
// "WHERE", then per pair "(Medium = ?a COLLATE BINARY AND Nr = ?b)" with "OR"
// between two pairs; the values go to binds, numbered after those already there.
void AppendMediumWhere(QStringList &lines, QVariantList &binds, const TMediumNrPairCollection &pairs, int first,
                       int count);

// The pairs one statement takes at most.
constexpr int MediumWhereSlice = 200;

// True when the one distinct value of "Gedruckt" over the selection is true
// (a NULL counts as nullCounts); with several distinct values and all off,
// true when one is true or one is NULL and nullCounts; else (no row, or
// several values with all) false. An empty selection is false.
bool TestPrintedFlag(const engine::Table &media, const TMediumSelection &sel, bool all, bool nullCounts = false);
// Sets "Gedruckt" of the selection to value in one transaction; the rows
// changed. An empty selection changes nothing (never the whole table).
int SetPrintedFlag(const engine::Table &media, const TMediumSelection &sel, bool value);

// The self-recorded and bought cassettes ("VHS-SB", "VHS-KK") holding films
// of category k (1-based; its character as the category table gives it).
TMediumNrPairCollection GetCategoryMediaPairs(const engine::Table &films, int category);
