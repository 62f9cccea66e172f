// A small table in a temporary folder, filled with rows of values in field
// order, for the kit's data-aware pieces.
#pragma once

#include "engine/session.h"
#include "engine/table.h"
#include "engine/tablefile.h"

#include <QTemporaryDir>
#include <QVariantList>

struct TempTable {
    QTemporaryDir dir;
    engine::Session session;
    engine::Table table{&session};

    TempTable(const engine::TableDef &def, const QList<QVariantList> &rows)
    {
        const QString path = dir.filePath(def.name + QStringLiteral(".DB"));
        engine::createTableFile(path, def);
        table.setTableName(path);
        table.open();
        for (const QVariantList &row : rows) {
            table.append();
            for (int i = 0; i < row.size(); ++i)
                table.field(i)->setValue(row[i]);
            table.post();
        }
        table.first();
    }

    void reopenReadOnly()
    {
        table.close();
        table.setReadOnly(true);
        table.open();
    }
};

// A definition with an integer key "Nr" and the given further fields.
inline engine::TableDef keyedDef(const QString &name, const QList<engine::FieldDef> &more)
{
    engine::TableDef def;
    def.name = name;
    def.fields = {engine::FieldDef(QStringLiteral("Nr"), engine::FieldType::Integer)};
    def.fields += more;
    def.primaryKeyFields = 1;
    return def;
}
