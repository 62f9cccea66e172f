// A data set over rows held in memory, for the tests of the controls and
// the grid: the same cursor, states and notices as a table, without files.
#pragma once

#include "engine/dataset.h"
#include "engine/engineerror.h"
#include "engine/field.h"

#include <vector>

class MemoryDataSet : public engine::DataSet
{
public:
    explicit MemoryDataSet(QList<engine::FieldDef> defs)
        : m_defs(std::move(defs))
    {
    }
    ~MemoryDataSet() override
    {
        if (active())
            close();
    }

    void addRow(const QVariantList &values)
    {
        std::vector<QVariant> row(size_t(m_defs.size()));
        for (int i = 0; i < values.size() && i < m_defs.size(); ++i)
            row[size_t(i)] = values[i];
        m_rows.push_back(std::move(row));
        m_keys.push_back(++m_nextKey);
        if (active())
            rowsInvalidated();
    }
    int storedCount() const { return int(m_rows.size()); }
    QVariant stored(int row, int field) const { return m_rows[size_t(row)][size_t(field)]; }
    int reads = 0; // rows read through the row source
    bool failReads = false; // every row read fails, as on a share that dropped

protected:
    void openSource() override
    {
        for (const auto &d : m_defs)
            defineField(d);
    }
    void closeSource() override {}
    int sourceCount() override { return int(m_rows.size()); }
    void sourceRead(int row, QVariant *values) override
    {
        ++reads;
        if (failReads)
            engine::raise(engine::ErrIo, QStringLiteral("Die Tabelle lässt sich nicht lesen."));
        for (size_t i = 0; i < m_rows[size_t(row)].size(); ++i)
            values[i] = m_rows[size_t(row)][i];
    }
    qint64 sourceKey(int row) override { return m_keys[size_t(row)]; }
    int sourceFind(qint64 key) override
    {
        for (size_t i = 0; i < m_keys.size(); ++i)
            if (m_keys[i] == key)
                return int(i);
        return -1;
    }
    bool sourceWritable() const override { return true; }
    qint64 sourceWrite(bool inserting, qint64 key, const QVariant *values,
                       const std::vector<bool> &) override
    {
        std::vector<QVariant> row(values, values + m_defs.size());
        if (inserting) {
            m_rows.push_back(std::move(row));
            m_keys.push_back(++m_nextKey);
            return m_nextKey;
        }
        m_rows[size_t(sourceFind(key))] = std::move(row);
        return key;
    }
    void sourceDelete(qint64 key) override
    {
        const int i = sourceFind(key);
        m_rows.erase(m_rows.begin() + i);
        m_keys.erase(m_keys.begin() + i);
    }

private:
    QList<engine::FieldDef> m_defs;
    std::vector<std::vector<QVariant>> m_rows;
    std::vector<qint64> m_keys;
    qint64 m_nextKey = 0;
};
