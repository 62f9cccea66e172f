// Positions of row ids in a cursor's order. Row ids are mostly the numbers
// from 1 to the count of rows, with gaps where rows were deleted: those are
// kept in an array by row id, the few others (far beyond the count, or
// below zero) in a hash table. A hundred thousand ids take no allocation
// each and are found without a search.
#pragma once

#include <QtGlobal>

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace engine {

class RowPositions {
public:
    void clear()
    {
        m_dense.clear();
        m_sparse.clear();
        m_count = 0;
    }

    void reserve(size_t count) { m_dense.reserve(std::min(count + count / 4, denseLimit(count))); }

    // A row id already there keeps its first position.
    void insert(qint64 rowid, int pos)
    {
        if (find(rowid) >= 0)
            return;
        ++m_count;
        if (rowid >= 0 && quint64(rowid) < denseLimit(m_count)) {
            const size_t at = size_t(rowid);
            if (at >= m_dense.size())
                m_dense.resize(std::max(at + 1, std::min(m_dense.size() * 2, denseLimit(m_count))), -1);
            m_dense[at] = pos;
        } else {
            m_sparse.emplace(rowid, pos);
        }
    }

    // -1 when the row id is not there.
    int find(qint64 rowid) const
    {
        if (rowid >= 0 && quint64(rowid) < m_dense.size() && m_dense[size_t(rowid)] >= 0)
            return m_dense[size_t(rowid)];
        if (m_sparse.empty())
            return -1;
        const auto it = m_sparse.find(rowid);
        return it == m_sparse.end() ? -1 : it->second;
    }

private:
    // The array covers row ids up to twice the count and a margin: at most
    // some eight bytes a row.
    static size_t denseLimit(size_t count) { return 2 * count + 65536; }

    std::vector<int> m_dense; // by row id; -1: not there
    std::unordered_map<qint64, int> m_sparse;
    size_t m_count = 0;
};

} // namespace engine
