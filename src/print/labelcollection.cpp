#include "print/labelcollection.h"

#include "engine/sqldialect.h"
#include "platform/rounding.h"

#include <algorithm>

QString LabelCollectionItemText(const TLabelCollectionItem &item)
{
    return item.Medium + QStringLiteral("-Nr.") + QString::number(item.Nr);
}

QStringList LabelCollectionQueryLines(const QString &mediaTablePath, const QList<TLabelCollectionItem> &items,
                                      QList<QPair<QString, QVariant>> *binds)
{
    if (items.isEmpty())
        return {};
    QStringList lines{QStringLiteral("SELECT * FROM"), SQLTableRef(mediaTablePath)};
    for (int i = 0; i < items.size(); ++i) {
        lines << (i == 0 ? QStringLiteral("WHERE (") : QStringLiteral("OR ("));
        lines << QStringLiteral("Medium = :M%1 AND Nr = :N%1)").arg(i);
        if (binds) {
            binds->append({QStringLiteral("M%1").arg(i), items[i].Medium});
            binds->append({QStringLiteral("N%1").arg(i), items[i].Nr});
        }
    }
    return lines;
}

int CollectionLabelsPerSheet(const TLabelFormat &f)
{
    const int n = LabelsPerSheet(f);
    return n >= 1 && n <= 255 ? n : 0;
}

bool LabelListFitsSheet(int n, int labelsPerSheet, int start)
{
    return start >= 1 && n <= labelsPerSheet - start + 1;
}

TLabelListPlan PlanLabelListPrint(const QList<TLabelCollectionItem> &items, int start, quint8 kind,
                                  const std::function<bool(const TLabelCollectionItem &)> &exists)
{
    TLabelListPlan plan;
    for (int i = 0; i < items.size(); ++i) {
        if (exists && !exists(items[i])) {
            plan.missing << i;
            continue;
        }
        if (items[i].Medium == QLatin1String("DVD") && (kind == lkCaseTop || kind == lkWindow)) {
            plan.dvdSkipped = true;
            continue;
        }
        plan.entries << TLabelListEntry{i, LabelListPosition(start, i)};
    }
    return plan;
}

TLabelListGrid ArrangeLabelListGrid(const TLabelFormat &f, quint8 kind, bool nrEtiSeparate,
                                    const QString &currentKind)
{
    constexpr double sx = 3.2, sy = 24.0 / 7.0;
    auto rnd = [](double v) { return int(platform::roundHalfEven(v)); };
    TLabelListGrid g;
    g.columns = std::max(1, int(f.SpaltenAnz));
    int width = rnd((f.Breite / 10.0 + 1) * g.columns * sx) + 6;
    if (kind == lkSpine && (nrEtiSeparate || currentKind.left(6) != QLatin1String("VHS-SB")))
        width = 570;
    const int rowPixels = std::max(1, rnd((f.Hoehe / 10.0 + 1) * sy));
    g.rows = std::max(1, std::min(550 / rowPixels, std::min(8, int(f.ZeilenAnz))));
    g.size = QSize(width, rnd((f.Hoehe / 10.0 + 1) * g.rows * sy));
    return g;
}
