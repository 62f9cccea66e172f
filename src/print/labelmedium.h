// The medium of a label as values, read from the current row of a media
// data set and, for its films, through a query of its own: drawing a label
// never moves the cursor of a table a window shows.
#pragma once

#include "print/labeldata.h"

namespace engine { class DataSet; class Session; }

// Number from "Nr" (else "KassNr"), kind code from "Medium", "brest" when
// the data set has it; films 1..maxFAnz from the film table at filmTablePath
// (a slot without a record stays with Exists false).
TLabelMedium ReadLabelMedium(engine::DataSet &media, engine::Session *session, const QString &filmTablePath,
                             int maxFAnz);
// The same for row n (0-based) of the data set, without moving its cursor.
TLabelMedium ReadLabelMediumAt(engine::DataSet &media, int row, engine::Session *session,
                               const QString &filmTablePath, int maxFAnz);
