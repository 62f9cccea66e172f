#include "exchange/tableexport.h"

#include "data/categories.h"
#include "engine/dataset.h"
#include "engine/field.h"
#include "engine/sqlutil.h"
#include "engine/table.h"
#include "exchange/exportfieldtext.h"
#include "exchange/exportoutput.h"
#include "exchange/exportsource.h"
#include "kit/textconv.h"

#include <QDir>

namespace {

const QString kTitlePrefix = QStringLiteral("Tabellen-Export aus Tarvo: ");

// How XML writes a column: its category or sound with their names, a plain
// element, or the caption with the value.
enum class XmlShape { Kateg, Ton, Plain, Captioned };

struct Col {
    engine::Field *field;
    QString label;   // title, or the field name when chosen
    QString title;   // the column title (XML caption)
    QString xmlName; // the element name of the field (XML)
    XmlShape shape;  // ... with its title as caption
    bool free;       // a free field (its caption may depend on the medium)
};

XmlShape xmlShape(const QString &name, const QString &caption, const QString &fieldName)
{
    if (name == QLatin1String("KATEG"))
        return XmlShape::Kateg;
    if (name == QLatin1String("TON"))
        return XmlShape::Ton;
    return caption.compare(fieldName, Qt::CaseInsensitive) == 0 ? XmlShape::Plain : XmlShape::Captioned;
}

QString xmlName(const QString &fieldName);

// Columns whose field the source has; hidden ones and memos/pictures only
// when all are asked for (combined XML).
QList<Col> resolve(engine::DataSet &set, const QList<ExportColumn> &columns, bool useFieldNames, bool all)
{
    QList<Col> out;
    for (const ExportColumn &c : columns) {
        engine::Field *f = set.findField(c.fieldName);
        if (!f || (!all && (c.hidden || f->isBlob())))
            continue;
        const QString title = c.title.isEmpty() ? f->displayLabel() : c.title;
        const QString name = xmlName(f->fieldName());
        out.append({f, useFieldNames ? f->fieldName() : title, title, name, xmlShape(name, title, f->fieldName()),
                    name.startsWith(QLatin1String("FREE"))});
    }
    return out;
}

// A text value that holds the separator, a quote or a line break is quoted,
// inner quotes doubled, so that the columns still line up when read back.
QString textCell(const QString &text, QChar sep)
{
    for (QChar c : text)
        if (c == sep || c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return engine::quoteIdent(text);
    return text;
}

// DIF strings are quoted as SQL quotes its names: in double quotes, inner
// ones doubled.
QString difString(const QString &text)
{
    return engine::quoteIdent(text);
}

// An element name made of a column name: characters a name cannot hold
// become '_', and a name that cannot start as it is gets a '_' in front.
QString xmlName(const QString &fieldName)
{
    QString n = fieldName.toUpper();
    for (QChar &c : n)
        if (!c.isLetterOrNumber() && c != QLatin1Char('_') && c != QLatin1Char('-') && c != QLatin1Char('.'))
            c = QLatin1Char('_');
    if (n.isEmpty() || !(n.at(0).isLetter() || n.at(0) == QLatin1Char('_')))
        n.prepend(QLatin1Char('_'));
    return n;
}

QString soundName(QChar c)
{
    switch (c.unicode()) {
    case 'A': return QStringLiteral("Dolby Digital (AC-3)");
    case 'D': return QStringLiteral("Dolby Surround");
    case 'H': return QStringLiteral("Hifi-Mono");
    case 'M': return QStringLiteral("Mono");
    case 'P': return QStringLiteral("MPEG Audio");
    case 'S': return QStringLiteral("Stereo");
    case 'T': return QStringLiteral("dts");
    case 'Z': return QStringLiteral("Zweikanalton");
    default: return QStringLiteral("ungültige ID!");
    }
}

class Writer
{
public:
    Writer(ExportOutput &out, engine::DataSet &set, ExportSource source, const TableExportOptions &opt,
           const TableExportContext &ctx)
        : out(out), set(set), source(source), opt(opt), ctx(ctx)
    {
    }

    void text(const QList<Col> &cols);
    void html(const QList<Col> &cols);
    void dif(const QList<Col> &cols);
    void xml(const QList<Col> &cols);

private:
    void xmlRecord(engine::DataSet &rec, const QList<Col> &cols, const QString &tag, bool media);
    void xmlField(engine::DataSet &rec, const Col &c, bool media);
    void xmlFilmsOf(engine::DataSet &medium);
    QString mediumCaption(engine::DataSet &rec, const QString &name, const QString &title);
    QString recordKind() const;
    void line(const QString &s) { out.writeLine(s); }
    // A line of mark-up of the program's own.
    void ascii(QLatin1StringView s)
    {
        out.writeAscii(s);
        out.endLine();
    }
    // Mark-up, a value, mark-up: one line.
    void framed(QLatin1StringView before, QStringView value, QLatin1StringView after)
    {
        out.writeAscii(before);
        out.write(value);
        out.writeAscii(after);
        out.endLine();
    }
    // "<NAME>value</NAME>" after the indent, or "<NAME />" for no value.
    void element(QLatin1StringView indent, QStringView name, QStringView value)
    {
        out.writeAscii(indent);
        out.writeAscii(QLatin1StringView("<"));
        out.write(name);
        if (value.isEmpty()) {
            out.writeAscii(QLatin1StringView(" />"));
        } else {
            out.writeAscii(QLatin1StringView(">"));
            out.write(value);
            out.writeAscii(QLatin1StringView("</"));
            out.write(name);
            out.writeAscii(QLatin1StringView(">"));
        }
        out.endLine();
    }

    ExportOutput &out;
    engine::DataSet &set;
    ExportSource source;
    const TableExportOptions &opt;
    const TableExportContext &ctx;
};

void Writer::text(const QList<Col> &cols)
{
    const QChar sep = opt.separator.isNull() ? QLatin1Char('\t') : opt.separator;
    QString row;
    for (int i = 0; i < cols.size(); ++i) {
        if (i)
            row += sep;
        row += textCell(cols[i].label, sep);
    }
    line(row);
    for (; !set.eof(); set.next()) {
        for (int i = 0; i < cols.size(); ++i) {
            if (i)
                out.write(QStringView(&sep, 1));
            out.write(textCell(ExportFieldText(*cols[i].field, opt.boolStyle).text, sep));
        }
        out.endLine();
    }
}

QString Writer::recordKind() const
{
    if (set.findField(QStringLiteral("Titel")) || set.findField(QStringLiteral("FilmNr"))
        || set.findField(QStringLiteral("KassNr")))
        return QStringLiteral("Film");
    if (set.findField(QStringLiteral("Nr")))
        return QStringLiteral("Med");
    if (set.findField(QStringLiteral("Name")))
        return QStringLiteral("Pers");
    return QStringLiteral("-");
}

void Writer::html(const QList<Col> &cols)
{
    const bool webSearch = opt.htmlWebSearch && bool(ctx.webSearchLinks);
    line(QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">"));
    line(QStringLiteral("<HTML>"));
    line(QStringLiteral("<HEAD>"));
    line(QStringLiteral("  <meta http-equiv=\"content-type\" content=\"text/html; charset=iso-8859-1\">"));
    line(QStringLiteral("  <meta http-equiv=\"Content-Style-Type\" content=\"text/css\">"));
    line(QStringLiteral("  <TITLE>") + kTitlePrefix + ctx.sourceTitle + QStringLiteral("</TITLE>"));
    line(QStringLiteral("  <META NAME=\"GENERATOR\" CONTENT=\"") + ctx.generator.left(9) + QStringLiteral("\">"));
    line(QStringLiteral("<STYLE type=\"text/css\">"));
    line(QStringLiteral("\t<!--"));
    line(QStringLiteral("\tbody { font-family:\"Arial\"; font-size:2; }"));
    line(QStringLiteral("   table { empty-cells:show; }"));
    line(QStringLiteral("\t -->"));
    line(QStringLiteral("</STYLE>"));
    line(QStringLiteral("</HEAD>"));
    line(QStringLiteral("<BODY>"));
    line(QStringLiteral("<TABLE WIDTH=\"100%\" BORDER=\"1\" CELLPADDING=\"4\" CELLSPACING=\"0\">"));
    line(QStringLiteral("  <THEAD>"));
    line(QStringLiteral("    <TR VALIGN=\"BOTTOM\">"));
    for (const Col &c : cols)
        line(QStringLiteral("      <TH>") + HtmlEscape(c.label) + QStringLiteral("</TH>"));
    if (webSearch)
        line(QStringLiteral("      <TH>Web-Suche</TH>"));
    line(QStringLiteral("    </TR>"));
    line(QStringLiteral("  </THEAD>"));
    line(QStringLiteral("  <TBODY>"));
    const QString kind = webSearch ? recordKind() : QString();
    for (; !set.eof(); set.next()) {
        ascii(QLatin1StringView("    <TR VALIGN=\"TOP\">"));
        for (const Col &c : cols) {
            const ExportValue v = ExportFieldText(*c.field, opt.boolStyle);
            QString t = v.text.isEmpty() ? (opt.htmlEmptyBr ? QStringLiteral("<br>") : QString()) : HtmlEscape(v.text);
            if (t.startsWith(QLatin1StringView("HTTP:"), Qt::CaseInsensitive))
                t = QStringLiteral("<A HREF=\"") + t + QStringLiteral("\" TARGET=\"_blank\">") + t + QStringLiteral("</A>");
            framed(v.numeric   ? QLatin1StringView("      <TD ALIGN=\"RIGHT\">")
                   : v.boolean ? QLatin1StringView("      <TD ALIGN=\"CENTER\">")
                               : QLatin1StringView("      <TD ALIGN=\"LEFT\">"),
                   t, QLatin1StringView("</TD>"));
        }
        if (webSearch) {
            line(QStringLiteral("      <TD ALIGN=\"LEFT\">"));
            const QStringList links = ctx.webSearchLinks(kind, set);
            if (links.isEmpty())
                line(QStringLiteral("</TD>"));
            for (int i = 0; i < links.size(); ++i)
                line(QStringLiteral("        ") + links[i]
                     + (i + 1 < links.size() ? QStringLiteral(", ") : QStringLiteral("</TD>")));
        }
        ascii(QLatin1StringView("    </TR>"));
    }
    line(QStringLiteral("  </TBODY>"));
    line(QStringLiteral("</TABLE>"));
    line(QStringLiteral("</BODY>"));
    line(QStringLiteral("</HTML>"));
}

void Writer::dif(const QList<Col> &cols)
{
    // TUPLES counts every tuple of the data part: the label tuple and the rows.
    const int rows = set.recordCount();
    line(QStringLiteral("TABLE"));
    line(QStringLiteral("0,1"));
    line(difString(kTitlePrefix + ctx.sourceTitle));
    line(QStringLiteral("VECTORS"));
    line(QStringLiteral("0,%1").arg(cols.size()));
    line(QStringLiteral("\"\""));
    line(QStringLiteral("TUPLES"));
    line(QStringLiteral("0,%1").arg(rows + 1));
    line(QStringLiteral("\"\""));
    line(QStringLiteral("DATA"));
    line(QStringLiteral("0,0"));
    line(QStringLiteral("\"\""));
    line(QStringLiteral("-1,0"));
    line(QStringLiteral("BOT"));
    for (const Col &c : cols) {
        line(QStringLiteral("1,0"));
        line(difString(c.label));
    }
    for (; !set.eof(); set.next()) {
        ascii(QLatin1StringView("-1,0"));
        ascii(QLatin1StringView("BOT"));
        for (const Col &c : cols) {
            const ExportValue v = ExportFieldText(*c.field, opt.boolStyle);
            const bool number = v.numeric && !c.field->isNull();
            if (v.boolean && !opt.difBoolAsText) {
                // A truth value as the number 1 or 0: spreadsheets read the
                // TRUE/FALSE indicators differently, some every one as true.
                ascii(c.field->asBoolean() ? QLatin1StringView("0,1") : QLatin1StringView("0,0"));
                ascii(QLatin1StringView("V"));
            } else if (number) {
                // DIF numbers carry a decimal point whatever the locale.
                const QString n = c.field->dataType() == engine::FieldType::Float
                                      ? QString::number(c.field->asFloat(), 'g', 15)
                                      : v.text;
                framed(QLatin1StringView("0,"), n, QLatin1StringView(""));
                ascii(QLatin1StringView("V"));
            } else {
                ascii(QLatin1StringView("1,0"));
                line(difString(v.text));
            }
        }
    }
    line(QStringLiteral("-1,0"));
    line(QStringLiteral("EOD"));
}

QString Writer::mediumCaption(engine::DataSet &rec, const QString &name, const QString &title)
{
    if (!ctx.captions || !ctx.captions->active() || name.size() < 5)
        return title;
    const int n = name.at(4).digitValue();
    engine::Field *kindField = rec.findField(QStringLiteral("Medium"));
    const QString kind = kindField ? kindField->asString().left(6) : QString();
    for (const QString &set : {kind, QStringLiteral("KASS")}) {
        if (set.isEmpty())
            continue;
        if (ctx.captions->locate(QStringLiteral("ANH;FreeNr"), {set, n}))
            return ctx.captions->fieldByName(QStringLiteral("Label"))->asString().remove(QLatin1Char('&'));
    }
    return title;
}

void Writer::xmlField(engine::DataSet &rec, const Col &c, bool media)
{
    const QString &name = c.xmlName;
    const QString value = ExportFieldText(*c.field, opt.boolStyle).text;
    QString caption = c.title;
    XmlShape shape = c.shape;
    if (media && c.free) {
        caption = mediumCaption(rec, name, caption);
        shape = xmlShape(name, caption, c.field->fieldName());
    }
    if (shape == XmlShape::Kateg) {
        if (value.isEmpty()) {
            line(QStringLiteral("    <KATEG />"));
            return;
        }
        const int k = KategCharToIndex(value.at(0));
        const ExportCategory cat = k <= ctx.categories.size() ? ctx.categories.at(k - 1) : ExportCategory{};
        line(QStringLiteral("    <KATEG>"));
        line(QStringLiteral("      <ID>") + XmlEscape(value) + QStringLiteral("</ID>"));
        line(QStringLiteral("      <BEZ>") + XmlEscape(cat.name) + QStringLiteral("</BEZ>"));
        line(QStringLiteral("      <SYMBOL>") + XmlEscape(cat.symbol) + QStringLiteral("</SYMBOL>"));
        line(QStringLiteral("    </KATEG>"));
    } else if (shape == XmlShape::Ton) {
        line(QStringLiteral("    <TON>"));
        line(QStringLiteral("      <ID>") + XmlEscape(value) + QStringLiteral("</ID>"));
        line(value.isEmpty() ? QStringLiteral("      <BEZ />")
                             : QStringLiteral("      <BEZ>") + XmlEscape(soundName(value.at(0))) + QStringLiteral("</BEZ>"));
        line(QStringLiteral("    </TON>"));
    } else if (shape == XmlShape::Plain) {
        element(QLatin1StringView("    "), name, XmlEscape(value));
    } else {
        line(QStringLiteral("    <") + name + QLatin1Char('>'));
        line(QStringLiteral("      <NAME>") + XmlEscape(caption) + QStringLiteral("</NAME>"));
        line(QStringLiteral("      <WERT>") + XmlEscape(value) + QStringLiteral("</WERT>"));
        line(QStringLiteral("    </") + name + QLatin1Char('>'));
    }
}

void Writer::xmlRecord(engine::DataSet &rec, const QList<Col> &cols, const QString &tag, bool media)
{
    framed(QLatin1StringView("  <"), tag, QLatin1StringView(">"));
    for (const Col &c : cols)
        xmlField(rec, c, media);
    if (opt.xmlMemos) {
        if (engine::Field *memo = rec.findField(QStringLiteral("Memo"))) {
            const QString m = memo->asString();
            line(m.isEmpty() ? QStringLiteral("    <MEMO />")
                             : QStringLiteral("    <MEMO>") + XmlEscape(m) + QStringLiteral("</MEMO>"));
        }
    }
    if (media && opt.xmlCombined && ctx.films && ctx.films->active())
        xmlFilmsOf(rec);
    framed(QLatin1StringView("  </"), tag, QLatin1StringView(">"));
}

void Writer::xmlFilmsOf(engine::DataSet &medium)
{
    engine::DataSet &films = *ctx.films;
    const QString kind = medium.fieldByName(QStringLiteral("Medium"))->asString().left(6);
    const int nr = medium.fieldByName(QStringLiteral("Nr"))->asInteger();
    // Every film of the medium, whatever its first film number is: the
    // first one in the film table's order, then on while the key holds.
    if (!films.locate(QStringLiteral("Medium;KassNr"), {kind, nr}))
        return;
    const QList<Col> cols = resolve(films, ctx.filmColumns, false, true);
    engine::Field *fKind = films.fieldByName(QStringLiteral("Medium"));
    engine::Field *fNr = films.fieldByName(QStringLiteral("KassNr"));
    for (; !films.eof() && fNr->asInteger() == nr && fKind->asString() == kind; films.next())
        xmlRecord(films, cols, QStringLiteral("FILM"), false);
}

void Writer::xml(const QList<Col> &cols)
{
    const bool all = source == ExportSource::MediaGrid && opt.xmlCombined;
    QString root, tag;
    switch (source) {
    case ExportSource::FilmGrid: root = QStringLiteral("TARVO-FILMTABELLE"), tag = QStringLiteral("FILM"); break;
    case ExportSource::PersonGrid: root = QStringLiteral("TARVO-PERSONENTABELLE"), tag = QStringLiteral("PERS"); break;
    case ExportSource::MediaGrid:
        root = all ? QStringLiteral("TARVO") : QStringLiteral("TARVO-MEDIENTABELLE"), tag = QStringLiteral("KASS");
        break;
    case ExportSource::QueryResult: root = QStringLiteral("TARVO-ABFRAGEERGEBNISSE"), tag = QStringLiteral("SATZ"); break;
    }
    line(QStringLiteral("<?xml version=\"1.0\" standalone=\"yes\" ?>"));
    line(QLatin1Char('<') + root + QLatin1Char('>'));
    for (; !set.eof(); set.next())
        xmlRecord(set, cols, tag, source == ExportSource::MediaGrid);
    line(QStringLiteral("</") + root + QLatin1Char('>'));
}

// The data fields the export reads of each record: its columns', the memo
// of XML, the medium's kind and number that name its free fields and find
// its films. Empty (every field) when the web-search links read the record:
// they may read any of its fields.
QList<int> fieldsRead(engine::DataSet &set, const QList<Col> &cols, int format, ExportSource source,
                      const TableExportOptions &opt, const TableExportContext &ctx)
{
    if (format == efHtml && opt.htmlWebSearch && ctx.webSearchLinks)
        return {};
    QList<int> out;
    for (const Col &c : cols)
        out << c.field->index();
    QStringList more;
    if (format == efXml && opt.xmlMemos)
        more << QStringLiteral("Memo");
    if (format == efXml && source == ExportSource::MediaGrid)
        more << QStringLiteral("Medium") << QStringLiteral("Nr");
    for (const QString &name : more)
        if (engine::Field *f = set.findField(name))
            out << f->index();
    return out;
}

// Reads only the fields named while it lives; the record it leaves current
// is read whole again.
class LimitedReading
{
public:
    LimitedReading(engine::DataSet &set, const QList<int> &fields) : m_set(set) { m_set.limitReading(fields); }
    ~LimitedReading()
    {
        try {
            m_set.limitReading({});
        } catch (const engine::EngineError &) {
            // The record is gone meanwhile; the return to the user's record reads anew.
        }
    }
    LimitedReading(const LimitedReading &) = delete;
    LimitedReading &operator=(const LimitedReading &) = delete;

private:
    engine::DataSet &m_set;
};

} // namespace

QList<ExportCategory> ExportCategoriesOf(const TCategoryTable &table)
{
    QList<ExportCategory> out;
    out.reserve(int(table.size()));
    for (const TCategory &c : table)
        out.append({c.name, c.symbol});
    return out;
}

QString ExportSourceTitle(ExportSource source, const QString &dbBase)
{
    const char *file = nullptr;
    switch (source) {
    case ExportSource::QueryResult: return QStringLiteral("Abfrageergebnisse");
    case ExportSource::FilmGrid: file = "Film.DB"; break;
    case ExportSource::MediaGrid: file = "Med.DB"; break;
    case ExportSource::PersonGrid: file = "Pers.DB"; break;
    }
    return dbBase + QStringLiteral("DB") + QDir::separator() + QLatin1String(file);
}

bool ExportTable(engine::DataSet &set, const QList<ExportColumn> &columns, ExportSource source,
                 const TableExportOptions &options, const TableExportContext &context, QString *error)
{
    const int format = ExportFormatOf(options.fileName);
    const ExportCharset charset = format == efHtml  ? ExportCharset::Html
                                  : format == efXml ? ExportCharset::Xml
                                  : options.dosCharset ? ExportCharset::Dos
                                                       : ExportCharset::Windows;
    ExportOutput out(options.fileName, charset);
    if (!out.open(error))
        return false;

    // The film grid is written in the order the film window shows.
    auto *table = dynamic_cast<engine::Table *>(&set);
    const bool reorder = table && source == ExportSource::FilmGrid && !context.filmIndex.isEmpty()
                         && table->indexName() != context.filmIndex;
    const QString oldIndex = table ? table->indexName() : QString();
    const bool combined = format == efXml && source == ExportSource::MediaGrid && options.xmlCombined;
    const bool nested = combined && context.films && context.films->active();
    const engine::Bookmark filmHere =
        nested && !context.films->isEmpty() ? context.films->bookmark() : engine::InvalidBookmark;

    Writer w(out, set, source, options, context);
    bool ok = true;
    try {
        if (reorder)
            table->setIndexName(context.filmIndex);
    } catch (const engine::EngineError &e) {
        if (error)
            *error = e.message();
        return false;
    }
    ok = WalkExportSource(set, [&] {
        const QList<Col> cols = resolve(set, columns, options.useFieldNames && format != efXml,
                                        combined);
        LimitedReading limited(set, fieldsRead(set, cols, format, source, options, context));
        switch (format) {
        case efDif: w.dif(cols); break;
        case efHtml: w.html(cols); break;
        case efXml: w.xml(cols); break;
        default: w.text(cols); break;
        }
    }, error);
    try {
        if (reorder)
            table->setIndexName(oldIndex);
        if (filmHere != engine::InvalidBookmark && context.films->bookmarkValid(filmHere))
            context.films->gotoBookmark(filmHere);
    } catch (const engine::EngineError &) {
        // The order or position could not be restored; the export itself stands.
    }
    return ok && out.finish(error);
}
