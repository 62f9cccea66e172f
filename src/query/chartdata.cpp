#include "query/chartdata.h"

#include "engine/dataset.h"
#include "engine/field.h"

#include <QHash>
#include <QSet>

namespace query {

QList<ChartColumn> ChartColumnsOf(const engine::DataSet &set, const QStringList &shownFields)
{
    QList<ChartColumn> cols;
    for (int i = 0; i < set.fieldCount(); ++i) {
        const engine::Field *f = set.field(i);
        ChartColumn c;
        c.name = f->fieldName();
        switch (f->dataType()) {
        case engine::FieldType::SmallInt:
        case engine::FieldType::Integer:
        case engine::FieldType::LargeInt:
        case engine::FieldType::Float:
            c.numeric = true;
            break;
        case engine::FieldType::String:
            c.string = true;
            break;
        default:
            break;
        }
        c.shown = shownFields.contains(c.name, Qt::CaseInsensitive);
        cols << c;
    }
    return cols;
}

QStringList ChartAxisLabels(const QStringList &labels)
{
    QStringList out;
    out.reserve(labels.size());
    QHash<QString, int> seen; // how often each label came before
    QSet<QString> used;
    for (int i = 0; i < labels.size(); ++i) {
        const QString label = labels[i].isEmpty() ? QString::number(i + 1) : labels[i];
        QString text = label + QString(seen[label]++, QChar(0x200B));
        while (used.contains(text))
            text += QChar(0x200B);
        used.insert(text);
        out << text;
    }
    return out;
}

QList<ChartSeriesData> BuildChartSeries(engine::DataSet &set, const ChartPlan &plan, ChartKind kind)
{
    const QList<int> columns = kind == ChartKind::Pie ? QList<int>{plan.pieColumn} : plan.valueColumns;
    QList<ChartSeriesData> out;
    const int rows = set.recordCount();
    QStringList labels;
    for (int r = 0; r < rows; ++r)
        labels << (plan.labelColumn >= 0 ? set.valueAt(r, plan.labelColumn).toString() : QString());
    for (int col : columns) {
        if (col < 0 || col >= set.fieldCount())
            continue;
        ChartSeriesData s;
        s.title = set.field(col)->fieldName();
        s.labels = labels;
        for (int r = 0; r < rows; ++r)
            s.values << set.valueAt(r, col).toDouble();
        out << s;
    }
    return out;
}

} // namespace query
