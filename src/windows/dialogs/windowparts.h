// Small pieces the record windows and the main window's commands share.
#pragma once

#include "engine/dataset.h"
#include "engine/engineerror.h"
#include "kit/msgboxmetal.h"

#include <QString>

namespace windowparts {

template <class T> T *named(T *w, const QString &name)
{
    w->setObjectName(name);
    return w;
}

// The engine's message in the program's database-error box.
inline void showEngineError(const engine::EngineError &e)
{
    ShowMetalMessage(QStringLiteral("Datenbank-Fehler"), e.message(), true);
}

// An open data set with a pending insert or edit.
inline bool editingState(const engine::DataSet *t)
{
    return t && t->active()
        && (t->state() == engine::DataSetState::Edit || t->state() == engine::DataSetState::Insert);
}

// Posts a pending insert or edit; a refused post keeps the record in edit
// with what the user typed and shows "<what> konnte nicht gespeichert
// werden". False when it was not posted.
inline bool postRecord(engine::DataSet *t, const QString &what)
{
    if (!editingState(t))
        return true;
    try {
        t->post();
        return true;
    } catch (const engine::Abort &) {
    } catch (const engine::EngineError &e) {
        ShowMetalMessage(QStringLiteral("Fehler beim Speichern"),
                         what + QStringLiteral(" konnte nicht gespeichert werden:\n") + e.message(), true);
    }
    return false;
}

} // namespace windowparts
