// The label collection list ("Sammel-Liste") as values: its items and their
// text, the statement that reads the listed media (kinds and numbers bound
// as parameters), whether the list fits the sheet from a start label, and
// the size of the label list window for the active format.
#pragma once

#include "print/labelformat.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariantList>

#include <functional>

struct TLabelCollectionItem
{
    QString Medium; // at most 6 characters
    qint32 Nr = 0;
    bool operator==(const TLabelCollectionItem &) const = default;
};

// "VHS-SB-Nr.12": the kind, "-Nr." and the number.
QString LabelCollectionItemText(const TLabelCollectionItem &item);

// "SELECT * FROM", the media table's path in double quotes, then per item
// "WHERE (" (first) or "OR (" and "Medium = :M<i> AND Nr = :N<i>)". The values
// of the parameters M0, N0, M1, ... in binds (name, value). Empty for an
// empty list: nothing is to be read then.
QStringList LabelCollectionQueryLines(const QString &mediaTablePath, const QList<TLabelCollectionItem> &items,
                                      QList<QPair<QString, QVariant>> *binds);

// The most labels a sheet can take, or 0 when the format's sheet holds more
// than 255 (refused, never wrapped) or none.
int CollectionLabelsPerSheet(const TLabelFormat &f);

// n listed labels fit the sheet from the 1-based start label s.
bool LabelListFitsSheet(int n, int labelsPerSheet, int start);

// The sheet position (0-based) of item i of a list printed from start s.
inline int LabelListPosition(int start, int item) { return start - 1 + item; }

// Printing the list from start s: which items go where. A medium no longer
// in the table is left out (missing); a DVD on the case top or the window
// label is left out (dvdSkipped) and its place stays empty, since places
// follow the item index.
struct TLabelListEntry
{
    int item = 0;     // index in the list
    int position = 0; // sheet position, 0-based
    bool operator==(const TLabelListEntry &) const = default;
};
struct TLabelListPlan
{
    QList<TLabelListEntry> entries;
    QList<int> missing;
    bool dvdSkipped = false;
};
TLabelListPlan PlanLabelListPrint(const QList<TLabelCollectionItem> &items, int start, quint8 kind,
                                  const std::function<bool(const TLabelCollectionItem &)> &exists);

// The label list's grid for the format: columns of the sheet, at most 8 rows
// (and as many as fit 550 pixels), at the preview scales; the spine kind
// with a separate number label or a current medium other than "VHS-SB" is
// 570 wide.
struct TLabelListGrid
{
    int columns = 1, rows = 1;
    QSize size;
};
TLabelListGrid ArrangeLabelListGrid(const TLabelFormat &f, quint8 kind, bool nrEtiSeparate,
                                    const QString &currentKind);
