// A parsed statement of the local SQL dialect: its syntax tree, each node
// with its place in the statement's text, and the parser that builds it.
#pragma once

#include "engine/sqldialect.h"

#include <QString>

#include <deque>
#include <vector>

namespace engine::sql {

class Lexer;

enum class NK {
    Column, StrLit, NumLit, BoolLit, NullLit, Param, Neg, Not, And, Or, Compare,
    Arith, IsNull, Like, Between, InList, InSelect, Exists, ScalarSelect,
    Func, Aggregate, Cast, Substring, Trim, Extract
};

struct Select;

struct Node
{
    NK kind;
    int begin = 0; // source span, for messages and column names
    int end = 0;
    QString text;      // column name, literal, parameter, operator, function
    QString qualifier; // column's table or alias
    Node *a = nullptr;
    Node *b = nullptr;
    Node *c = nullptr;
    std::vector<Node *> list;
    Select *sub = nullptr;
    bool negated = false;  // NOT LIKE, NOT IN, NOT BETWEEN, IS NOT NULL, NOT EXISTS
    bool distinct = false; // aggregate DISTINCT
    bool star = false;     // COUNT(*)
    ValueType castType = ValueType::Unknown;
    int castSize = 0;
};

struct SelectItem
{
    Node *expr = nullptr; // null for * or T.*
    QString alias;
    QString starQualifier;
    bool star = false;
    int begin = 0;
};

enum class JoinKind { Comma, Inner, Left };

struct TableRef
{
    QString written;
    int begin = 0;
    QString alias;
    JoinKind join = JoinKind::Comma;
    Node *on = nullptr;
};

struct SelectCore
{
    bool distinct = false;
    std::vector<SelectItem> items;
    std::vector<TableRef> from;
    Node *where = nullptr;
    std::vector<Node *> groupBy;
    Node *having = nullptr;
    int begin = 0;
};

struct OrderItem
{
    Node *expr = nullptr;
    bool desc = false;
};

struct Select
{
    std::vector<SelectCore *> cores;
    std::vector<bool> unionAll; // between cores[i] and cores[i+1]
    std::vector<OrderItem> orderBy;
};

struct Assignment
{
    QString field;
    int begin = 0;
    Node *value = nullptr;
};

struct AlterItem
{
    QString field;
    int begin = 0;
    ValueType type = ValueType::Unknown;
    int size = 0;
    bool drop = false;
};

struct Statement
{
    StatementKind kind = StatementKind::Select;
    Select *select = nullptr;
    TableRef target;
    std::vector<Assignment> set;
    Node *where = nullptr;
    std::vector<QString> insertFields;
    std::vector<int> insertFieldPos;
    std::vector<Node *> insertValues;
    std::vector<AlterItem> alter;
};

// A statement with the nodes it points into; the nodes live as long as it.
struct ParsedStatement
{
    Statement statement;
    std::deque<Node> nodes;
    std::deque<Select> selects;
    std::deque<SelectCore> cores;
};

// Parses the lexer's statement into out (empty before); throws SqlError on
// the first fault.
void parseStatement(const Lexer &lexer, ParsedStatement &out);

} // namespace engine::sql
