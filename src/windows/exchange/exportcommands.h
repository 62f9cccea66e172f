// The export entries the record, table, list and query windows call: each
// runs its dialog, asks what the export needs to know, writes the file and
// shows a failure in German. True when a file was written.
#pragma once

#include "exchange/attachmentexport.h"
#include "exchange/listexport.h"
#include "exchange/tableexport.h"
#include "windows/main/mediafilterscope.h"

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace dbui {
class DbGrid;
}
namespace engine {
class DataSet;
}


// The columns of a grid as the table export takes them, in grid order; a
// column the user hid or narrowed to nothing is hidden.
QList<ExportColumn> ExportColumnsOf(const dbui::DbGrid &grid);

// Table window (film, media or person grid) and query window (its result,
// exported from a copy of the query). The grid gives the columns.
bool ExecTableExport(QWidget *owner, engine::DataSet &set, const dbui::DbGrid &grid, ExportSource source,
                     const TableExportContext &context, const MediaFilter &mediaFilter = {});

// List window: its data set, whether it shows the standard table (not a
// query result), whether it is a film list, and its line mode.
// filterMinutes: the free-space filter's minutes while the media are filtered, else -1.
bool ExecListExport(QWidget *owner, engine::DataSet &set, bool isStandardList, bool isFilmList, bool singleLine,
                    const ListExportContext &context, const MediaFilter &mediaFilter = {}, int filterMinutes = -1);

// Film window, person window, medium attachment window: the current record.
// personFilms fills the caption and lines of the person's films (the person
// window's side panel) when the user wants them.
bool ExecAttachmentExport(QWidget *owner, AttachmentKind kind, engine::DataSet &record,
                          const AttachmentExportContext &context,
                          const std::function<void(QString &caption, QStringList &films)> &personFilms = {});
