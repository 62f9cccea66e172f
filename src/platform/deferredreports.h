// Reports that must not open a box where they arise. While a widget paints,
// inside a model's data() or inside the application's notify, a modal box
// would run a nested event loop in the middle of that work (one loop per row
// when a table becomes unreadable under a grid). Such a report waits here and
// is shown from the event loop; the same report raised again while it waits
// or while its box is up is merged into it.
#pragma once

#include <QString>

#include <functional>

namespace platform {

// Queues show under key: reports of one key are one report. Without an
// application object show runs at once.
void reportLater(const QString &key, std::function<void()> show);

// How many reports wait or are on screen.
int pendingReports();

} // namespace platform
