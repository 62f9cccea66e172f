// The program's local SQL dialect and its translation to SQLite.
//
// Statements arrive as lists of lines, as the windows build them: table
// files named by their paths in double quotes, string constants in double
// quotes as well, named parameters, SUBSTRING(x FROM n FOR m), "+" joining
// strings. The translator parses such a statement completely, checks every
// table, field and type against the tables it names, and writes SQLite SQL
// that keeps the dialect's meaning (case-sensitive LIKE and "=", German
// letters in UPPER and LOWER, rows in key order) instead of relying on how
// lenient SQLite happens to be.
//
// Inside: the lexer (sqllexer.h), the parser and its syntax tree
// (sqlstatement.h) and the translator (sqltranslator.h). The translator
// learns about tables only through the context: it reads no file itself.
#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <stdexcept>

namespace engine::sql {

// Value types as the dialect sees them.
enum class ValueType { Unknown, Text, Memo, Integer, Float, Boolean, Date, Time, DateTime, Blob };

bool isTextType(ValueType t);
bool isNumericType(ValueType t);

struct FieldInfo
{
    QString name;
    ValueType type = ValueType::Unknown;
    int size = 0; // characters of a text field
};

// One table file as the store has it attached to the connection.
struct TableInfo
{
    QString filePath;    // absolute path of the ".DB" file
    QString schema;      // schema name the file is attached under
    QString table;       // table name inside the file
    QString rowIdColumn = QStringLiteral("rowid");
    QList<FieldInfo> fields;
    QStringList primaryKey; // field names, in key order

    const FieldInfo *field(const QString &name) const; // case-insensitive
};

// Looks a table file up (attaching it when needed); nullptr when there is
// no such table. The pointer stays valid for the translation.
using TableResolver = std::function<const TableInfo *(const QString &absolutePath)>;

// Declared type of a parameter by name; Unknown while it has no value.
using ParamTypeLookup = std::function<ValueType(const QString &name)>;

// Makes a table path as written in a statement absolute. *byLetterCase is
// set when the file was found only under a name of other letter case (a
// later look-up may find another file).
using PathResolver = std::function<QString(const QString &written, bool *byLetterCase)>;

struct TranslateContext
{
    QString databaseFolder;     // relative table paths resolve against it
    // Empty: a path is made absolute by its text alone (tablePathOf), and
    // the translator looks at no file.
    PathResolver pathResolver;
    TableResolver resolver;
    ParamTypeLookup paramType;  // may be empty: every parameter unknown
    QString textCollation;      // collation for sorting texts ("" = binary)
};

enum class StatementKind { Select, Update, Delete, Insert, AlterTable };

struct ParamUse
{
    QString name;         // as first written
    int sqlIndex = 0;     // the ?N it is bound to
    ValueType declared = ValueType::Unknown;
    ValueType expected = ValueType::Unknown; // the type the context asks for
};

struct ResultColumn
{
    QString name;                       // unique within the result
    ValueType type = ValueType::Unknown;
    int size = 0;
    int sourceTable = -1;               // index into Translation::tables
    int sourceSlot = -1;                // position of that table in FROM
    QString sourceField;                // the field it shows unchanged
};

struct AlterColumn
{
    QString name;
    ValueType type = ValueType::Unknown;
    int size = 0;
    bool drop = false;
};

struct Translation
{
    StatementKind kind = StatementKind::Select;
    QString sql;                 // SQLite text (empty for ALTER TABLE)
    QStringList tables;          // absolute paths, in order of appearance
    int targetTable = -1;        // UPDATE, DELETE, INSERT, ALTER TABLE
    QList<ParamUse> params;      // one per distinct name, in order of appearance
    QList<ResultColumn> columns; // SELECT only
    // SELECT of plain field columns (no DISTINCT, grouping or UNION): the
    // SQL ends with one row id column per table of FROM (not in `columns`),
    // whose tables are listed here; rows can be read again by them.
    QList<int> slotTables;
    // Such a SELECT over one table: its rows can be changed in place.
    bool live = false;
    QList<AlterColumn> alter;
    // UPDATE and INSERT: the fields of the target whose stored values the
    // statement decides (for INSERT every field, the missing ones empty).
    QStringList written;
    // Most SELECTs joined by UNION in one place (checked against SQLite's
    // limit before it is asked).
    int compoundTerms = 1;
    // False when a table was found only by a file name of other letter case
    // (or not found at once): the same text may name another file later.
    bool pathsExact = true;
};

// A statement that cannot be parsed or translated. line and column are
// 1-based positions in the statement's lines (0 when not tied to a place).
class SqlError : public std::runtime_error
{
public:
    SqlError(const QString &message, int line, int column);
    QString message() const { return m_message; }
    QString problem() const { return m_problem; }
    int line() const { return m_line; }
    int column() const { return m_column; }

private:
    QString m_message;
    QString m_problem;
    int m_line;
    int m_column;
};

Translation translate(const QStringList &lines, const TranslateContext &context);

// Names of the parameters of a statement, in order of first appearance, one
// per distinct name (compared without regard to case). Text that cannot be
// tokenized yields the parameters found before the fault.
QStringList parameterNames(const QStringList &lines);

// The statement kind, from its first word; Select when it is not known.
StatementKind statementKind(const QStringList &lines);

// Path of a table file as written in a statement, made absolute by its
// text alone: against the database folder, with ".DB" when it has no
// extension.
QString tablePathOf(const QString &written, const QString &databaseFolder);
// The same, then looked for on disk: a file that exists only under a name
// of other letter case is taken by that name (and *byLetterCase is set).
QString resolveTablePath(const QString &written, const QString &databaseFolder, bool *byLetterCase = nullptr);

// Dates in the store: a date field holds text "YYYY-MM-DD".
QString dateToStorage(const QDate &date);
// Date constants of the dialect: "MM/DD/YYYY"; also "DD.MM.YYYY" and
// "YYYY-MM-DD". Invalid when the text is none of these.
QDate parseDateConstant(const QString &text);

} // namespace engine::sql

// Doubles every double quote, for a value that goes between double quotes
// in an SQL text.
QString QuoteSQLString(const QString &text);
// A table named by its file path as a statement writes it: in double quotes,
// the path's own double quotes doubled. Every table path that goes into an
// SQL text goes through here.
QString SQLTableRef(const QString &path);
