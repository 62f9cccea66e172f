// Appending many rows to one table at once (the import of old databases):
// the rows go in through one prepared statement in one transaction, with the
// field rules of a posted record, and the table's indexes are built once
// after the last row instead of being kept up to date row by row.
#pragma once

#include <QString>
#include <QVariant>

#include <functional>

namespace engine {

class Session;

// Fills row with the next record's values, one per field of the table in
// the order of its fields (missing trailing values count as empty); returns
// false when there are no more records.
using BulkRowSource = std::function<bool(QVariantList &row)>;

// Appends the rows of next to the table file at path, which no data set of
// the session may have open and no other process may use meanwhile. Each
// value is converted as a field converts it (an empty text is empty, a text
// longer than the field is cut, a number or date out of range is refused);
// an empty value takes the field's default, and a required field without a
// value refuses the record, as a post does. A key violation is found when
// the primary index is built after the rows. Returns the number of rows
// appended. Throws EngineError (or what next throws); then the table is as
// it was before.
int bulkAppend(Session &session, const QString &path, const BulkRowSource &next);

} // namespace engine
