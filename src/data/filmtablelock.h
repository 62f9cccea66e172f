// In network mode, a whole-table write lock on the film table for the time of
// one multi-row change. The lock goes with the object, whichever way the
// operation ends (done, Cancel, a refusal, an error). When it cannot be had,
// the box "Konnte Filmtabelle nicht sperren" is shown and failed() is true.
#pragma once

#include "data/mediumnumbering.h"

namespace engine {
class Table;
}

class FilmTableLock
{
public:
    // table may be null or closed (nothing to lock); outside network mode
    // nothing is locked.
    FilmTableLock(engine::Table *table, bool networkMode, FilmLockPurpose purpose);
    ~FilmTableLock();
    FilmTableLock(const FilmTableLock &) = delete;
    FilmTableLock &operator=(const FilmTableLock &) = delete;

    bool failed() const { return m_failed; }
    bool held() const { return m_table != nullptr; }

private:
    engine::Table *m_table = nullptr;
    bool m_failed = false;
};
