#include "data/filmtablelock.h"

#include "engine/table.h"
#include "app/appmessage.h"

FilmTableLock::FilmTableLock(engine::Table *table, bool networkMode, FilmLockPurpose purpose)
{
    if (!networkMode || !table || !table->active())
        return;
    try {
        table->lockTable();
        m_table = table;
    } catch (const engine::EngineError &e) {
        m_failed = true;
        AppMessage(FilmLockFailedText(purpose, e.message()), QString::fromUtf8(kFilmLockCaption),
                   platform::MessageIcon::Error);
    }
}

FilmTableLock::~FilmTableLock()
{
    if (!m_table)
        return;
    try {
        m_table->unlockTable();
    } catch (const engine::EngineError &) {
        // Closed meanwhile: the lock went with the table.
    }
}
