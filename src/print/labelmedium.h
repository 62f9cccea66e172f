// The medium of a label as values, read from the current row of a media
// data set and, for its films, through a query of its own: drawing a label
// never moves the cursor of a table a window shows.
#pragma once

#include "print/labeldata.h"

#include <QImage>
#include <optional>

namespace engine { class DataSet; class Session; }

// Number from "Nr" (else "KassNr"), kind code from "Medium", "brest" when
// the data set has it; films 1..maxFAnz from the film table at filmTablePath
// (a slot without a record stays with Exists false).
TLabelMedium ReadLabelMedium(engine::DataSet &media, engine::Session *session, const QString &filmTablePath,
                             int maxFAnz);
// The same for row n (0-based) of the data set, without moving its cursor.
TLabelMedium ReadLabelMediumAt(engine::DataSet &media, int row, engine::Session *session,
                               const QString &filmTablePath, int maxFAnz);

// The film of the data set's current row (missing fields stay empty).
TLabelFilm ReadLabelFilm(engine::DataSet &films);

// A field of the current row by name; a missing field reads as empty.
QString FieldTextOf(engine::DataSet &ds, const QString &name);
bool FieldFlagOf(engine::DataSet &ds, const QString &name);
std::optional<int> FieldNumberOf(engine::DataSet &ds, const QString &name);
// A picture field decoded; null when empty or not a picture.
QImage FieldPictureOf(engine::DataSet &ds, const QString &name);

// The film of the data set's current record (row < 0) or of row n, read
// without moving; full adds, for the current record, the free fields, the
// memo and the picture (a list needs only the title, flags and codes).
void ReadLabelFilm(engine::DataSet &films, TLabelFilm &film, bool full, int row = -1);
