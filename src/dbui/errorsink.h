// Where the data-aware controls send errors they cannot return to a caller
// (a refused value typed into an edit, a post that failed while the grid
// moved to another row). The program installs a sink that shows the
// standard error box; tests install one that records the texts. Until one
// is installed the texts go to the debug log, so no box can block a test.
#pragma once

#include <QString>
#include <functional>

namespace dbui {

using ErrorSink = std::function<void(const QString &message)>;

// Installs a sink and returns the one it replaces.
ErrorSink setErrorSink(ErrorSink sink);
void reportError(const QString &message);
// The same for an error met where no box may open (while painting, inside a
// model's data()): it goes to the sink from the event loop, and repeats of it
// meanwhile go with it (platform/deferredreports.h).
void reportErrorLater(const QString &message);

// Runs an operation of the data set on behalf of a control: an
// engine::EngineError is reported through the sink, a silent abort is
// swallowed. Returns whether the operation ran to its end.
bool guarded(const std::function<void()> &operation);
// The same with the caller's own report of the error instead of the sink.
bool guarded(const std::function<void()> &operation, const ErrorSink &report);

} // namespace dbui
