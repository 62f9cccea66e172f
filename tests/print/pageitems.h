// Looking into laid-out pages: their texts, one text by its content, and a
// memo of numbered lines.
#pragma once

#include "print/labellayout.h"

#include <QStringList>
#include <vector>

inline std::vector<const TLabelItem *> texts(const TLabelLayout &l)
{
    std::vector<const TLabelItem *> out;
    for (const TLabelItem &it : l.items)
        if (it.kind == TLabelItem::Text)
            out.push_back(&it);
    return out;
}

inline const TLabelItem *findText(const TLabelLayout &l, const QString &s)
{
    for (const TLabelItem *t : texts(l))
        if (t->text == s)
            return t;
    return nullptr;
}

inline bool hasTextStarting(const TLabelLayout &l, const QString &s)
{
    for (const TLabelItem *t : texts(l))
        if (t->text.startsWith(s))
            return true;
    return false;
}

// "Zeile 1" to "Zeile n", one a line, CR LF between them.
inline QString numberedLines(int n)
{
    QStringList l;
    for (int i = 1; i <= n; ++i)
        l << QStringLiteral("Zeile %1").arg(i);
    return l.join(QStringLiteral("\r\n"));
}
