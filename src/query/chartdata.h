// What a chart of a query result shows: its series, each with a title, the
// point labels (from the label column) and the values (from its column),
// read from the result's rows without moving its cursor.
#pragma once

#include "query/resultrules.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace engine {
class DataSet;
}

namespace query {

enum class ChartKind { Pie, Bar, Line };

struct ChartSeriesData {
    QString title;      // the value column's field name
    QStringList labels; // one per row; empty texts without a label column
    QList<double> values;
};

// The chart columns of the set's fields: shown is taken from shownFields
// (the grid's shown columns by field name).
QList<ChartColumn> ChartColumnsOf(const engine::DataSet &set, const QStringList &shownFields);

// The texts along a bar or line chart's axis, one per row in row order: a
// row without a label shows its number; rows sharing a label show it each,
// told apart by trailing zero-width spaces, since the axis keeps one entry
// per distinct text.
QStringList ChartAxisLabels(const QStringList &labels);

// Pie: one series over the pie column; bar and line: one per value column.
QList<ChartSeriesData> BuildChartSeries(engine::DataSet &set, const ChartPlan &plan, ChartKind kind);

} // namespace query
