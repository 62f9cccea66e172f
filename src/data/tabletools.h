// The four table operations the data sets do not offer: validity checks,
// packing, password protection and the primary index. Each closes the table,
// works on the file with nobody else using it, and always reopens the table
// before an engine error is passed on to the caller.
#pragma once

#include <QString>
#include <QVariant>

namespace engine {
class Table;
}

// Adds (drop false) or drops (drop true) the validity check of a field:
// required flag, and the default value when one is given (null pointer: none).
void SetFieldValidity(engine::Table &table, const QString &fieldName, const QVariant *defaultValue,
                      bool required, bool drop);
// Removes deleted records and unused memo and picture space.
void PackTable(engine::Table &table);
// Empty password: protection off; else the file is encrypted with it. The
// password is added to the session first so that the table stays openable.
void SetTablePassword(engine::Table &table, const QString &password);
// Adds the primary index on the first keyFields fields.
void RebuildPrimaryIndex(engine::Table &table, int keyFields);
// Whether the table (open or not) has its primary index.
bool HasPrimaryIndex(engine::Table &table);
// Adds "iNrExcl" to a table opened exclusively (raises "TTable.Exclusive must
// be set to true in order to add an index to the table" otherwise).
void CreateNrExclIndex(engine::Table &table);
