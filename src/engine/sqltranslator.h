// The translator from a parsed statement to SQLite text: one object per
// statement. Names, SELECT and the changing statements are in
// sqltranslator.cpp, expressions and their types in sqlexpressions.cpp.
#pragma once

#include "engine/sqldialect.h"
#include "engine/sqllexer.h"
#include "engine/sqlstatement.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <vector>

namespace engine::sql {

struct ScopeTable
{
    QString alias;      // as written, may be empty
    QString baseName;   // file name without ".DB"
    QString written;    // the path as written
    const TableInfo *info = nullptr;
    QString sqlAlias;   // name used in the SQLite text
    int index = -1;     // into Translation::tables
};

struct Scope
{
    Scope *parent = nullptr;
    std::vector<ScopeTable> tables;
};

struct Value
{
    QString sql;
    ValueType type = ValueType::Unknown;
    int size = 0;
    const Node *literal = nullptr; // a string literal, re-rendered by context
    bool isNull = false;
    int param = -1; // index into Translation::params when the value is one parameter
    bool aggregate = false;
    const ScopeTable *srcTable = nullptr; // a plain column
    QString srcField;
    // Chains stay flat in the SQL text, since SQLite's parser nests only so
    // deep: the pieces of a text join, or "a + b - c" without its brackets.
    QStringList concat;
    QString chain;
    char chainKind = 0; // '+' for + and -, '*' for *
    QString upperOf; // UPPER(x): the SQL of x
};

// Joins pieces with one allocation; the translator builds much text.
QString cat(std::initializer_list<QStringView> parts);
QString quoteIdent(const QString &name);
QString quoteText(const QString &text);
QString typeName(ValueType t);

class Translator
{
public:
    Translator(const Lexer &lex, const TranslateContext &ctx, Translation &out)
        : m_lex(lex), m_ctx(ctx), m_out(out)
    {
    }

    void run(const Statement &st);

    int deepestOffset() const { return m_deepestOffset; } // where the expressions nest deepest

private:
    [[noreturn]] void fail(const QString &problem, int offset) const { m_lex.fail(problem, offset); }

    // -- tables and names -----------------------------------------------------
    QString spanText(const Node *n) const;
    const TableInfo *table(const TableRef &ref, int *index);
    ScopeTable scopeTable(const TableRef &ref, const QString &sqlAlias);
    QString tableSql(const TableInfo *info) const;
    static bool qualifierMatches(const ScopeTable &t, const QString &q);
    Value column(const Node *n, Scope *scope);
    int param(const Node *n);

    // -- SELECT ---------------------------------------------------------------
    static bool hasAggregate(const Node *n, int depth = 0);
    QString orderTerm(const QString &sql, ValueType type, bool desc) const;
    QString core(const SelectCore &c, Scope *outer, std::vector<ResultColumn> *cols, bool top, bool *liveOut,
                 Scope *scopeOut, bool *aggregateOut);
    static void uniqueNames(std::vector<ResultColumn> &cols);
    QString select(const Select &s, Scope *outer, std::vector<ResultColumn> *cols, bool top);
    QString selectInner(const Select &s, Scope *outer, std::vector<ResultColumn> *cols, bool top);
    QString whereClause(const Node *where, Scope *scope);
    bool isSearchTerm(const Node *like) const;

    // -- changes --------------------------------------------------------------
    void targetScope(const Statement &st, Scope *scope);
    const FieldInfo *targetField(const ScopeTable &t, const QString &name, int offset);
    QString valueFor(const FieldInfo *f, const Node *n, Scope *scope);
    void update(const Statement &st);
    void remove(const Statement &st);
    void insert(const Statement &st);
    void alter(const Statement &st);

    // -- typing helpers -------------------------------------------------------
    QString as(const Value &v, ValueType want);
    static bool comparable(ValueType a, ValueType b);
    ValueType meet(const Value &l, const Value &r, const Node *where);
    void requireText(const Value &v, const Node *n, const QString &what);
    Value paramValue(const Node *n);
    static Value make(const QString &sql, ValueType type, int size = 0);

    // -- expressions -----------------------------------------------------------
    Value expr(const Node *n, Scope *scope);
    Value exprInner(const Node *n, Scope *scope);
    QString keySet(const Node *n, Scope *scope, std::vector<const Node *> *rest);
    static QString balanced(const QStringList &terms, qsizetype from, qsizetype to, QStringView op);
    void numeric(const Value &v, const Node *n, const QString &what);
    void condition(const Value &v, const Node *n);
    Value arith(const Node *n, Scope *scope);
    Value combine(const Node *n, const Value &a, const Value &b);
    Value function(const Node *n, Scope *scope);
    Value aggregate(const Node *n, Scope *scope);
    QString collated(const QString &sql, ValueType type) const;
    Value cast(const Node *n, Scope *scope);

    struct BareColumn
    {
        const Node *node;
        QString sql;
    };

    const Lexer &m_lex;
    const TranslateContext &m_ctx;
    Translation &m_out;
    int m_aliasCounter = 0;
    int m_aggregateDepth = 0;
    QHash<QString, int> m_paramIndex; // upper-case name -> index into params
    bool m_aggregatesAllowed = false;
    std::vector<BareColumn> *m_bareColumns = nullptr;
    QStringList m_groupOrder;
    QStringList m_lastItems;
    QHash<QString, QString> m_paths; // table paths as written, resolved
    std::vector<const Node *> m_searchTerms; // conditions the WHERE being translated requires
    int m_exprDepth = 0;
    static constexpr int MaxExprDepth = 950; // SQLite refuses 1000
    int m_deepest = 0;
    int m_deepestOffset = 0;
};

} // namespace engine::sql
