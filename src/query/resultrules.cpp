#include "query/resultrules.h"

namespace query {

namespace {
bool has(const QStringList &names, const char *name)
{
    return names.contains(QLatin1String(name), Qt::CaseInsensitive);
}
} // namespace

ResultKind ClassifyResult(const QStringList &fieldNames)
{
    if ((has(fieldNames, "Nr") || has(fieldNames, "KassNr")) && has(fieldNames, "Medium"))
        return ResultKind::Medium;
    if (has(fieldNames, "Name"))
        return ResultKind::Person;
    return ResultKind::Other;
}

ResultCommands CommandsForResult(const QStringList &fieldNames)
{
    ResultCommands c;
    const bool films = has(fieldNames, "FilmNr");
    switch (ClassifyResult(fieldNames)) {
    case ResultKind::Medium:
        c.printMenu = true;
        c.printMediaList = true;
        c.printFilmList = films;
        c.pagePrint = films;
        c.pagePrintCaption = QStringLiteral("&Anhang-Druck (min. 1 A4-Seite pro Film)");
        c.addToCollection = true;
        c.gotoMedium = true;
        c.mediaList = true;
        c.filmList = films;
        c.labelList = true;
        break;
    case ResultKind::Person:
        c.printMenu = true;
        c.printPersons = true;
        c.pagePrint = true;
        c.pagePrintCaption = QStringLiteral("&Personen-Druck (min. 1 A4-Seite pro Person)");
        break;
    case ResultKind::Other:
        break;
    }
    return c;
}

ChartPlan PlanChart(const QList<ChartColumn> &columns, int rowCount)
{
    ChartPlan p;
    int counts = 0;
    int firstCount = -1;
    for (int i = 0; i < columns.size(); ++i) {
        const ChartColumn &c = columns[i];
        if (!c.shown)
            continue;
        if (c.string && p.labelColumn < 0)
            p.labelColumn = i;
        if (!c.numeric)
            continue;
        p.valueColumns << i;
        if (c.name.startsWith(QLatin1String("COUNT"), Qt::CaseInsensitive)) {
            ++counts;
            if (firstCount < 0)
                firstCount = i;
        }
    }
    const int numeric = int(p.valueColumns.size());
    if (numeric > 0)
        p.valueColumn = p.valueColumns.first();
    p.pieColumn = firstCount >= 0 ? firstCount : p.valueColumn;
    p.pie = rowCount >= 2 && (numeric == 1 || counts == 1);
    p.bar = numeric > 0 && (rowCount >= 2 || numeric >= 2);
    p.line = numeric > 0 && rowCount >= 2;
    return p;
}

int HideColumn(QList<int> &widths, QList<TColInfo> &info, int col)
{
    if (col < 0 || col >= widths.size() || col >= info.size())
        return col;
    info[col].SavedWidth = widths[col];
    widths[col] = 0;
    while (col >= 1 && widths[col] == 0)
        --col;
    return col;
}

void ShowColumn(QList<int> &widths, QList<TColInfo> &info, int col)
{
    if (col < 0 || col >= widths.size() || col >= info.size() || info[col].SavedWidth < 0)
        return;
    widths[col] = info[col].SavedWidth;
    info[col].SavedWidth = -1;
}

void MoveColInfo(QList<TColInfo> &info, int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= info.size() || to >= info.size())
        return;
    // The moved column is shown at its new place; the others keep theirs.
    info.move(from, to);
    info[to].SavedWidth = -1;
}

} // namespace query
