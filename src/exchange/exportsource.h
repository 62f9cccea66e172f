// Reading an export source from its first record to its last: the cursor is
// put back where it stood, the controls stay quiet meanwhile, and an engine
// error becomes the German message of the export.
#pragma once

#include <QString>
#include <functional>
#include <memory>

namespace engine {
class DataSet;
class Query;
}

// Runs body with the set on its first record; body walks the set. The set
// returns to the record it stood on. False with the message when reading
// failed.
bool WalkExportSource(engine::DataSet &set, const std::function<void()> &body, QString *error);

// A query result is exported from a copy of its query (the same SQL text,
// folder and parameter values), opened on its own, so that the grid keeps
// its position. Null for any other data set. Throws engine::EngineError when
// the copy cannot be opened.
std::unique_ptr<engine::Query> ExportQueryCopy(engine::DataSet &set);

// The message for an engine error met while reading the source.
QString ExportReadErrorText(const QString &detail);
