#include "windows/tables/columnlayouts.h"

#include "app/settings.h"
#include "data/tableschemas.h"
#include "dbui/dbgrid.h"

namespace {

struct Arrays {
    qint32 *widths;
    qint32 *order;
    int count;
};

Arrays arraysOf(TLayoutGrid which)
{
    switch (which) {
    case TLayoutGrid::K:
        return {SPBreitenK, SPReihenfolgeK, SPColumnsK};
    case TLayoutGrid::F:
        return {SPBreitenF, SPReihenfolgeF, SPColumnsF};
    case TLayoutGrid::P:
        return {SPBreitenP, SPReihenfolgeP, SPColumnsP};
    case TLayoutGrid::MF:
        break;
    }
    return {SPBreitenMF, SPReihenfolgeMF, SPColumnsMF};
}

QStringList namesOf(const engine::TableDef &def, const QStringList &more = {})
{
    QStringList n;
    for (const engine::FieldDef &f : def.fields)
        n << f.name;
    return n + more;
}

} // namespace

bool LayoutsStored()
{
    return SPLayoutsValid;
}

void SetLayoutsStored(bool on)
{
    SPLayoutsValid = on;
}

const QStringList &LayoutFieldNames(TLayoutGrid which)
{
    // The media grid shows the two calculated fields after the stored ones.
    static const QStringList media = namesOf(MediaTableDef(), {QStringLiteral("bRest"), QStringLiteral("bMaxFree")});
    static const QStringList films = namesOf(FilmTableDef());
    static const QStringList persons = namesOf(PersonTableDef());
    switch (which) {
    case TLayoutGrid::K:
        return media;
    case TLayoutGrid::P:
        return persons;
    default:
        return films;
    }
}

dbui::ColumnLayout StoredColumnLayout(TLayoutGrid which)
{
    const Arrays a = arraysOf(which);
    const QStringList &names = LayoutFieldNames(which);
    dbui::ColumnLayout l;
    for (int i = 0; i < a.count; ++i) {
        l.widths << a.widths[i];
        const qint32 code = a.order[i];
        l.fields << ((code >= 0 && code < names.size()) ? names.at(code) : QString());
    }
    return l;
}

void SetStoredColumnLayout(TLayoutGrid which, const dbui::ColumnLayout &layout)
{
    const Arrays a = arraysOf(which);
    const QStringList &names = LayoutFieldNames(which);
    for (int i = 0; i < a.count; ++i) {
        if (i < layout.widths.size())
            a.widths[i] = layout.widths.at(i);
        if (i < layout.fields.size()) {
            int code = -1;
            for (int k = 0; k < names.size(); ++k)
                if (names.at(k).compare(layout.fields.at(i), Qt::CaseInsensitive) == 0)
                    code = k;
            a.order[i] = code;
        }
    }
}

void StoreColumnLayout(TLayoutGrid which, const dbui::DbGrid &grid)
{
    dbui::ColumnLayout l = StoredColumnLayout(which);
    dbui::storeColumnLayout(grid, l);
    SetStoredColumnLayout(which, l);
}

void ApplyColumnLayout(TLayoutGrid which, dbui::DbGrid &grid)
{
    dbui::applyColumnLayout(grid, StoredColumnLayout(which));
}
