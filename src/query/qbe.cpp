#include "query/qbe.h"

#include "engine/sqldialect.h"
#include "query/querytext.h"

namespace query {

namespace {

bool holds(const QString &field, std::initializer_list<const char *> parts)
{
    for (const char *p : parts)
        if (field.contains(QLatin1String(p)))
            return true;
    return false;
}

QString cycle(const QString &value, const QStringList &steps)
{
    // steps begins with the empty value; anything unknown starts over.
    const int i = steps.indexOf(value);
    if (i < 0)
        return steps.value(1);
    return steps.value((i + 1) % int(steps.size()));
}

const QString kWrongValue = QStringLiteral(" Wert\\b für die Spalte ");

QString errorText(int gridRow, const QString &middle, const QString &field, const QString &cell,
                  const QString &more = QString())
{
    return QStringLiteral("In Zeile ") + QString::number(gridRow) + QStringLiteral(" steht ein \\Bungültiger")
           + middle + field + QStringLiteral(" : ") + cell + more;
}

bool isQuoted(const QString &v)
{
    return v.size() >= 2 && v.startsWith(QLatin1Char('"')) && v.endsWith(QLatin1Char('"'));
}

QString stripQuotes(const QString &v)
{
    return isQuoted(v) ? v.mid(1, v.size() - 2) : v;
}

QString trimRight(QString v)
{
    while (!v.isEmpty() && v.back() == QLatin1Char(' '))
        v.chop(1);
    return v;
}

QString quoted(const QString &v)
{
    return u'"' + QuoteSQLString(v) + u'"';
}

// A prefix of at most six letters of one of the words, letter case ignored.
bool beginsWord(const QString &v, std::initializer_list<const char *> words)
{
    if (v.isEmpty() || v.size() > 6)
        return false;
    for (const char *w : words)
        if (QLatin1String(w).startsWith(v, Qt::CaseInsensitive))
            return true;
    return false;
}

QString soundCode(const QString &value)
{
    if (value.size() == 3 && isQuoted(value))
        return value.mid(1, 1).toUpper();
    const QString v = value.toUpper();
    QString code = v.left(1);
    if (v.startsWith(QLatin1String("SU")))
        code = QStringLiteral("D");
    else if (v.startsWith(QLatin1String("MP")))
        code = QStringLiteral("P");
    else if (v.startsWith(QLatin1String("DT")))
        code = QStringLiteral("T");
    else if (v.startsWith(QLatin1String("DOLBY D")) || v.startsWith(QLatin1String("DI"))
             || v.startsWith(QLatin1String("DD")))
        code = QStringLiteral("A");
    const bool dts = v.contains(QLatin1String("DTS"));
    if (v.contains(QLatin1String("ES")))
        code = QStringLiteral("E");
    else if (v.contains(QLatin1String("EX")))
        code = QStringLiteral("X");
    else if (v.contains(QLatin1Char('6')))
        code = dts ? QStringLiteral("E") : QStringLiteral("X");
    else if (v.contains(QLatin1Char('5')))
        code = dts ? QStringLiteral("T") : QStringLiteral("A");
    return code;
}

} // namespace

QbeColumnKind QbeKindOf(const QString &field)
{
    QbeColumnKind k;
    k.text = holds(field, {"Medium", "itel", "Free", "Verliehen", "Name"});
    k.boolean = holds(field, {"LP", "Wide", "Frei", "MW", "SW"});
    k.memo = holds(field, {"Memo"});
    k.memoOrPicture = holds(field, {"Memo", "Grafik"});
    k.sound = holds(field, {"Ton"});
    k.category = holds(field, {"Kateg"});
    k.sex = holds(field, {"MF"});
    k.mediumKind = holds(field, {"Medium"});
    return k;
}

QStringList QbeFields(int source, const QStringList &mediaFields, const QStringList &filmFields,
                      const QStringList &personFields)
{
    switch (source) {
    case 1: return filmFields;
    case 2: return mediaFields;
    case 4: return personFields;
    default: break;
    }
    QStringList out;
    for (const QString &f : filmFields)
        out << QStringLiteral("F.") + f;
    for (const QString &f : mediaFields)
        out << QStringLiteral("M.") + f;
    return out;
}

TQbeGrid NewQbeGrid(int source, const QStringList &fields)
{
    TQbeGrid g;
    g.source = source;
    g.fields = fields;
    for (const QString &f : fields)
        g.selection << (QbeKindOf(f).memoOrPicture ? QString() : QStringLiteral("X"));
    for (int r = 0; r < 3; ++r) {
        g.rowOps << (r == 0 ? QString() : QStringLiteral("OR"));
        g.rows << QStringList(QList<QString>(fields.size()));
    }
    return g;
}

void AddQbeRow(TQbeGrid &grid)
{
    grid.rowOps << QStringLiteral("OR");
    grid.rows << QStringList(QList<QString>(grid.fields.size()));
}

void ToggleQbeMode(TQbeGrid &grid)
{
    grid.aggregate = !grid.aggregate;
    for (QString &s : grid.selection)
        s.clear();
}

QString NextRowOperator(int criteriaRow, const QString &op)
{
    if (criteriaRow == 0)
        return op.isEmpty() ? QStringLiteral("NOT") : QString();
    static const QStringList ops = {QStringLiteral("OR"), QStringLiteral("AND"), QStringLiteral("AND NOT"),
                                    QStringLiteral("OR NOT")};
    const int i = ops.indexOf(op);
    return i < 0 ? ops[0] : ops[(i + 1) % 4];
}

QString NextSelectionValue(const QString &value, bool aggregate, const QbeColumnKind &kind)
{
    if (aggregate)
        return cycle(value, {QString(), QStringLiteral("COUNT"), QStringLiteral("SUM"), QStringLiteral("MIN"),
                             QStringLiteral("MAX"), QStringLiteral("AVG")});
    if (kind.memoOrPicture)
        return value == QLatin1String("X") ? QString() : QStringLiteral("X");
    return cycle(value, {QString(), QStringLiteral("X"), QStringLiteral(">"), QStringLiteral("<")});
}

QString NextCriteriaValue(const QString &value, const QbeColumnKind &kind)
{
    // The first kind whose list holds the value (or the first kind that
    // applies, for a value none of them knows) steps it.
    QList<QStringList> lists;
    if (kind.boolean)
        lists << QStringList{QString(), QStringLiteral("true"), QStringLiteral("false")};
    if (kind.sound)
        lists << QStringList{QString(), QStringLiteral("Mono"), QStringLiteral("Hifi-Mono"), QStringLiteral("Stereo"),
                             QStringLiteral("Zweikanalton"), QStringLiteral("Dolby Surround"),
                             QStringLiteral("Dolby Digital 5.1"), QStringLiteral("Dolby Digital EX 6.1"),
                             QStringLiteral("dts 5.1"), QStringLiteral("dts ES 6.1"), QStringLiteral("MPEG Audio")};
    if (kind.sex)
        lists << QStringList{QString(), QStringLiteral("M"), QStringLiteral("F")};
    if (kind.mediumKind)
        lists << QStringList{QString(), QStringLiteral("VHS-SB"), QStringLiteral("VHS-KK"), QStringLiteral("DVD")};
    if (kind.memoOrPicture)
        lists << QStringList{QString(), QStringLiteral("NOT NULL"), QStringLiteral("NULL")};
    if (lists.isEmpty())
        return value;
    for (const QStringList &l : lists)
        if (!value.isEmpty() && l.contains(value))
            return cycle(value, l);
    return cycle(value.isEmpty() ? QString() : QStringLiteral("?"), lists.first());
}

QbeCell CheckQBECell(const QString &field, const QString &cell, int gridRow, bool caseSensitive,
                     const QStringList &categoryNames)
{
    const QbeColumnKind kind = QbeKindOf(field);
    QbeCell out;
    const QString up = cell.trimmed().toUpper();
    if (up == QLatin1String("IS NULL") || up == QLatin1String("IS NOT NULL")) {
        out.condition = cell.trimmed();
        return out;
    }
    if (up == QLatin1String("NULL") || up == QLatin1String("NOT NULL")) {
        out.condition = QStringLiteral("IS ") + cell.trimmed();
        return out;
    }

    QString op, value;
    if (cell.startsWith(QLatin1String("LIKE"), Qt::CaseInsensitive)) {
        op = QStringLiteral("LIKE");
        value = cell.mid(5);
    } else if (cell.startsWith(QLatin1String("WIE"), Qt::CaseInsensitive)) {
        op = QStringLiteral("LIKE");
        value = cell.mid(4);
    } else if (cell.startsWith(QLatin1Char('<')) || cell.startsWith(QLatin1Char('=')) || cell.startsWith(QLatin1Char('>'))
               || cell.startsWith(QLatin1String("!="))) {
        op = cell.left(1);
        const QString two = cell.left(2);
        if (two == QLatin1String("<=") || two == QLatin1String("<>") || two == QLatin1String(">=")
            || two == QLatin1String("!="))
            op = two;
        int i = int(op.size());
        while (i < cell.size() && cell[i] == QLatin1Char(' '))
            ++i;
        value = cell.mid(i);
    } else {
        value = cell;
        const bool wild = value.contains(QLatin1Char('*')) || value.contains(QLatin1Char('?'))
                          || value.contains(QLatin1Char('%')) || value.contains(QLatin1Char('_'));
        op = wild ? QStringLiteral("LIKE") : QStringLiteral("=");
        if (kind.memo && op == QLatin1String("=")) {
            op = QStringLiteral("LIKE");
            value = u'%' + trimRight(value) + u'%';
        }
    }
    const bool like = op == QLatin1String("LIKE");
    if (like) {
        value.replace(QLatin1Char('*'), QLatin1Char('%'));
        value.replace(QLatin1Char('?'), QLatin1Char('_'));
    }

    if (kind.text || kind.memo) {
        value = stripQuotes(trimRight(value));
        value = quoted(value);
        if (!caseSensitive)
            value = value.toUpper();
        if (kind.memo && !like)
            out.error = errorText(gridRow, kWrongValue, field, cell,
                                  QStringLiteral("\\lb Auf Memo-Felder ist nur NULL, NOT NULL oder der LIKE "
                                                 "(WIE)-Operator anwendbar!"));
    } else if (like) {
        out.error = errorText(gridRow, kWrongValue, field, cell,
                              QStringLiteral("\\lb Der LIKE-Operator ist nur auf Texte (Strings und Memos) "
                                             "anwendbar!"));
        value = quoted(value);
    } else if (kind.sex) {
        const QString v = stripQuotes(trimRight(value)).toUpper();
        value = quoted(v);
        if (v != QLatin1String("M") && v != QLatin1String("F"))
            out.error = QStringLiteral("In Zeile ") + QString::number(gridRow)
                        + QStringLiteral(" steht ein \\Bungültiger Wert\\b für die Spalte MF: ") + cell
                        + QStringLiteral("\\lbEs sind nur die Werte \"M\" (männlich) oder \"F\" (weiblich) erlaubt!");
    } else if (kind.boolean) {
        const QString v = value.trimmed();
        if (v.compare(QLatin1String("TRUE"), Qt::CaseInsensitive) == 0
            || v.compare(QLatin1String("FALSE"), Qt::CaseInsensitive) == 0)
            value = v;
        else if (beginsWord(v, {"TRUE", "WAHR"}))
            value = QStringLiteral("true");
        else if (beginsWord(v, {"FALSE", "FALSCH"}))
            value = QStringLiteral("false");
        else {
            out.error = errorText(gridRow, QStringLiteral(" Wahrheitswert\\b (true/false) für die Spalte "), field,
                                  cell);
            value = quoted(v);
        }
    } else if (kind.sound) {
        const QString code = soundCode(value.trimmed());
        value = quoted(code);
        static const QString valid = QStringLiteral("ADEHMPSTXZ");
        if (code.size() != 1 || !valid.contains(code[0]))
            out.error = errorText(gridRow, kWrongValue, field, cell);
    } else if (kind.category) {
        QString v = value.trimmed();
        if (v.size() == 3 && isQuoted(v))
            v = v.mid(1, 1);
        if (v.size() > 1) {
            for (int n = 1; n <= 62 && n <= categoryNames.size(); ++n) {
                if (!categoryNames[n - 1].isEmpty() && categoryNames[n - 1].compare(v, Qt::CaseInsensitive) == 0) {
                    v = CategoryCode(n);
                    break;
                }
            }
        }
        const QChar c = v.size() == 1 ? v[0] : QChar();
        if (v.size() == 1 && c.isDigit())
            value = quoted(v);
        else if (v.size() == 1 && c.isLower() && c.unicode() < 128)
            value = QStringLiteral("LOWER(") + quoted(v) + u')';
        else if (v.size() == 1 && c.isUpper() && c.unicode() < 128)
            value = QStringLiteral("UPPER(") + quoted(v) + u')';
        else {
            value = quoted(v);
            out.error = errorText(gridRow, QStringLiteral(" Wert\\b für die Kategorie-Spalte "), field, cell);
        }
    } else if (kind.memoOrPicture) {
        out.error = errorText(gridRow, kWrongValue, field, cell,
                              QStringLiteral("\\lb In Grafik-Feldern sind nur NULL (oder IS NULL) sowie NOT NULL "
                                             "(oder IS NOT NULL) erlaubt!"));
    }
    out.condition = op + u' ' + value;
    return out;
}

QbeStatement BuildQBESelect(const TQbeGrid &grid, bool usePaths, const QueryTables &tables,
                            const QStringList &categoryNames)
{
    QbeStatement st;
    QString select = QStringLiteral("SELECT DISTINCT ");
    QStringList sort;
    bool any = false;
    for (int c = 0; c < grid.fields.size(); ++c) {
        const QString &field = grid.fields[c];
        const QString s = grid.selection.value(c).trimmed();
        if (s.isEmpty())
            continue;
        static const QStringList aggregates = {QStringLiteral("COUNT"), QStringLiteral("SUM"), QStringLiteral("MIN"),
                                               QStringLiteral("MAX"), QStringLiteral("AVG")};
        if (aggregates.contains(s)) {
            select += s + u'(' + field + QStringLiteral("), ");
        } else if (s == QLatin1String("X") || s == QLatin1String(">") || s == QLatin1String("<")) {
            select += field + QStringLiteral(", ");
            if (s == QLatin1String(">"))
                sort << field;
            else if (s == QLatin1String("<"))
                sort << field + QStringLiteral(" DESC");
        } else {
            st.messages << QStringLiteral("Die Auswahlzeile enthält einen \\Bungültigen Wert\\b für die Spalte ")
                               + field + QStringLiteral(".\rDie Spalte wird nicht ausgewählt!");
            continue;
        }
        any = true;
    }
    if (!any) {
        // Nothing to select would leave "SELECT DISTIN": say so instead.
        st.messages << QStringLiteral("In der Auswahlzeile ist \\Bkeine Spalte\\b ausgewählt.\\lbMarkieren Sie "
                                      "mindestens eine Spalte (Doppelklick in die Zeile \"Auswahl\").");
        return st;
    }
    select.chop(2);
    st.lines << select;

    auto table = [usePaths](const QString &path, const char *word) {
        return usePaths ? SQLTableRef(path) : QLatin1String(word);
    };
    const bool join = grid.source == 3;
    switch (grid.source) {
    case 2: st.lines << QStringLiteral("FROM ") + table(tables.media, "Med"); break;
    case 4: st.lines << QStringLiteral("FROM ") + table(tables.person, "Pers"); break;
    case 3:
        st.lines << QStringLiteral("FROM ") + table(tables.film, "Film") + QStringLiteral(" F , ")
                        + table(tables.media, "Med") + QStringLiteral(" M");
        st.lines << QStringLiteral("WHERE") << QStringLiteral("F.Medium = M.Medium AND F.KassNr = M.Nr") << QString();
        break;
    default: st.lines << QStringLiteral("FROM ") + table(tables.film, "Film"); break;
    }

    bool first = true;
    for (int r = 0; r < grid.rowCount(); ++r) {
        QStringList terms;
        const QStringList &cells = grid.rows[r];
        for (int c = 0; c < grid.fields.size(); ++c) {
            const QString cell = cells.value(c);
            if (cell.trimmed().isEmpty())
                continue;
            const QString &field = grid.fields[c];
            const QbeCell qc = CheckQBECell(field, cell, r + 2, grid.caseSensitive, categoryNames);
            if (!qc.error.isEmpty())
                st.messages << qc.error;
            const QbeColumnKind kind = QbeKindOf(field);
            // A memo compared without the case option: both sides upper-cased.
            const bool upper = !grid.caseSensitive && (kind.text || kind.memo);
            terms << (upper ? QStringLiteral("UPPER(") + field + QStringLiteral(") ") : field + u' ') + qc.condition;
        }
        if (terms.isEmpty())
            continue;
        QString op = grid.rowOps.value(r).trimmed();
        QString prefix;
        if (first) {
            // The first written row opens the condition, whichever row it
            // is: a later row's OR or AND has nothing to join to, its NOT
            // stays.
            prefix = join ? QStringLiteral("AND (") : QStringLiteral("WHERE ");
            if (r > 0)
                op = op.endsWith(QLatin1String("NOT")) ? QStringLiteral("NOT") : QString();
        }
        st.lines << prefix + op + QStringLiteral(" (") + terms.join(QStringLiteral(" AND ")) + u')';
        first = false;
    }
    st.lines << (join && !first ? QStringLiteral(")") : QString());
    if (!sort.isEmpty())
        st.lines << QStringLiteral("ORDER BY ") + sort.join(QStringLiteral(", "));
    st.ok = true;
    return st;
}

} // namespace query
