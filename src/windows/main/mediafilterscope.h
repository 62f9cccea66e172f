// The main media table's free-area filter, offered to a job that reads the
// second media cursor (an export, a printed list): the user says whether the
// job reads the filtered or the whole table; the filter is switched off
// again when the scope ends.
#pragma once

#include "engine/dataset.h"

#include <QString>
#include <functional>

// The filter of the main media table, when it is filtered; empty otherwise.
using MediaFilter = std::function<bool(engine::DataSet &)>;

class MediaFilterScope
{
public:
    // question: the line after "Die Medientabelle ist momentan gefiltert!".
    MediaFilterScope(engine::DataSet &set, const MediaFilter &filter, const QString &question);
    ~MediaFilterScope();
    MediaFilterScope(const MediaFilterScope &) = delete;
    MediaFilterScope &operator=(const MediaFilterScope &) = delete;
    bool applied() const { return m_applied; }

private:
    engine::DataSet &m_set;
    std::function<bool(engine::DataSet &)> m_old;
    bool m_wasFiltered = false;
    bool m_applied = false;
};
