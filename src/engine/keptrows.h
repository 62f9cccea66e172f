// The rows of a query result that cannot be read again by row id (computed
// columns, groups, DISTINCT, UNION), kept as they come from the statement.
// A block of rows shares one array of cells and one buffer of bytes: numbers
// are kept in place, text and pictures as their bytes, so that keeping a row
// costs no allocation for each of its values; a value becomes a QVariant
// (the same one readColumn gives) when it is read.
#pragma once

#include "engine/tabledef.h"

#include <QByteArray>
#include <QVariant>
#include <sqlite3.h>
#include <vector>

namespace engine {

class KeptRows {
public:
    KeptRows(int columns = 0, int blockRows = 128);
    void reset(int columns);
    void clear();
    int size() const { return m_rows; }
    // The statement's current row, its columns read as `types` say.
    void append(sqlite3_stmt *st, const std::vector<FieldType> &types);
    QVariant value(int row, int column) const;
    void read(int row, QVariant *values) const;

private:
    enum class Kind : quint8 { Null, Int, LargeInt, Bool, Float, Date, Text, Bytes };
    struct Cell {
        Kind kind = Kind::Null;
        quint32 length = 0;
        union {
            qint64 number;
            double real;
            quint32 offset;
        };
        Cell() : number(0) {}
    };
    struct Block {
        std::vector<Cell> cells;
        QByteArray bytes;
    };
    int m_columns = 0;
    int m_blockRows = 128;
    int m_rows = 0;
    std::vector<Block> m_blocks;
    const Cell &cell(int row, int column) const;
    const Block &blockOf(int row) const { return m_blocks[size_t(row / m_blockRows)]; }
};

} // namespace engine
