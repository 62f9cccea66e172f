#include "query/storedquery.h"

#include "platform/textfile.h"

namespace query {

int QueryKindFromButtons(bool media, bool join, bool person)
{
    if (media)
        return qsMedia;
    if (join)
        return qsJoin;
    if (person)
        return qsPerson;
    return qsFilm;
}

QStringList NewQueryLines(int source)
{
    QString table;
    switch (source) {
    case qsFilm: table = QStringLiteral("Film"); break;
    case qsMedia: table = QStringLiteral("Med"); break;
    case qsJoin: table = QStringLiteral("Film F, Med M"); break;
    case qsPerson: table = QStringLiteral("Pers"); break;
    default: return {};
    }
    QStringList lines = {QStringLiteral("SELECT * FROM"), table, QStringLiteral("WHERE")};
    if (source == qsJoin)
        lines << QStringLiteral("M.Medium = F.Medium AND M.Nr = F.KassNr");
    lines << QStringLiteral(" ");
    return lines;
}

QStringList QueryFieldList(int source, const QStringList &mediaFields, const QStringList &filmFields,
                           const QStringList &personFields)
{
    QStringList out;
    if (source == qsPerson)
        return personFields;
    const QString mediaPrefix = source == qsJoin ? QStringLiteral("M.") : QString();
    const QString filmPrefix = source == qsJoin ? QStringLiteral("F.") : QString();
    if (source == qsMedia || source == qsJoin)
        for (const QString &f : mediaFields)
            if (!f.startsWith(QLatin1Char('b')))
                out << mediaPrefix + f;
    if (source == qsFilm || source == qsJoin)
        for (const QString &f : filmFields)
            out << filmPrefix + f;
    return out;
}

std::optional<ParamKind> ParamKindFromName(const QString &name)
{
    const QString n = name.toUpper();
    auto endsWithAny = [&n](std::initializer_list<const char *> ends) {
        for (const char *e : ends)
            if (n.endsWith(QLatin1String(e)))
                return true;
        return false;
    };
    if (endsWithAny({"$", "STR", "STRING"}))
        return ParamKind::String;
    if (endsWithAny({"JN", "WF", "01", "?", "JANEIN", "WAHRFALSCH"}))
        return ParamKind::Boolean;
    if (endsWithAny({"_Z", "_I", "%", "ZAHL", "INT", "INTEGER"}))
        return ParamKind::Integer;
    return std::nullopt;
}

QStringList AppendToLastLine(QStringList lines, const QString &text)
{
    if (lines.isEmpty())
        lines << QString();
    lines.last() += text;
    return lines;
}

QStringList AppendLine(QStringList lines, const QString &text)
{
    lines << text;
    return lines;
}

QStringList EditorLines(const QString &text)
{
    return text.split(QLatin1Char('\n'));
}

QString EditorText(const QStringList &lines)
{
    return lines.join(QLatin1Char('\n'));
}

std::optional<QStringList> ReadStoredQuery(const QString &path, QString *error)
{
    return platform::readTextLines(path, error);
}

bool WriteStoredQuery(const QString &path, const QStringList &lines, QString *error)
{
    return platform::writeTextLines(path, lines, error);
}

} // namespace query
