#pragma once
// The parsed form of a statement: plain data, with each node's place in the text.

#include "platform/db/field.h"
#include "platform/db/sql/sql.h"
#include "platform/db/value.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace db::sql {

enum class ExprKind { Column, Literal, Param, Negate, Not, IsNull, Binary, Aggregate };
enum class BinOp { Add, Sub, Mul, Div, Eq, Ne, Lt, Gt, Le, Ge, And, Or };
enum class AggFunc { Count, Sum, Avg, Min, Max };

inline bool isComparison(BinOp op) {
    return op == BinOp::Eq || op == BinOp::Ne || op == BinOp::Lt || op == BinOp::Gt ||
           op == BinOp::Le || op == BinOp::Ge;
}

// Whether a comparison holds for two values that order as `order` says (<0, 0, >0).
inline bool comparisonHolds(BinOp op, int order) {
    switch (op) {
    case BinOp::Eq:
        return order == 0;
    case BinOp::Ne:
        return order != 0;
    case BinOp::Lt:
        return order < 0;
    case BinOp::Gt:
        return order > 0;
    case BinOp::Le:
        return order <= 0;
    default:
        return order >= 0;
    }
}

struct Expr {
    ExprKind kind = ExprKind::Literal;
    std::size_t begin = 0; // place in the text
    std::size_t end = 0;
    std::string qualifier;  // Column: table name or alias, may be empty
    std::string name;       // Column: field name; Param: name without the colon
    Value value;            // Literal
    bool emptyText = false; // Literal: the text ''
    BinOp op = BinOp::Eq;   // Binary
    bool negated = false;   // IsNull: IS NOT NULL
    AggFunc func = AggFunc::Count;
    bool distinct = false;  // Aggregate: COUNT(DISTINCT x)
    bool star = false;      // Aggregate: COUNT(*)
    std::string resultName; // Aggregate: "SUM OF Gepora"
    std::vector<Expr> args; // operands
    int height = 1;         // levels of the tree below and including this node
};

struct SelectItem {
    enum class Kind { Expr, Star, TableStar } kind = Kind::Expr;
    Expr expr;
    std::string qualifier; // TableStar
    std::string alias;     // may be empty
    std::size_t begin = 0;
};

enum class JoinType { Inner, Left, Right, Full };

// A FROM entry: a table (with an optional alias) or a join of two entries.
struct FromNode {
    bool isJoin = false;
    std::string table; // file name as written, ".db" dropped
    std::string alias;
    std::size_t begin = 0;
    JoinType type = JoinType::Inner;
    std::unique_ptr<FromNode> left, right;
    std::optional<Expr> on;
};

struct OrderItem {
    Expr expr;
    bool descending = false;
};

struct SelectStmt {
    bool distinct = false;
    std::vector<SelectItem> items;
    std::vector<FromNode> from; // comma-separated entries
    std::optional<Expr> where;
    std::vector<Expr> groupBy;
    std::optional<Expr> having;
    std::vector<OrderItem> orderBy;
};

struct AlterStmt {
    std::string table;
    std::size_t tableBegin = 0;
    std::vector<FieldDef> added;
};

struct Statement::Ast {
    bool isSelect = true;
    SelectStmt select;
    AlterStmt alter;
    std::vector<std::string> params; // in order of first appearance
};

// Parses the statement's text; throws SqlError pointing at the place.
std::unique_ptr<Statement::Ast> parseStatement(std::string_view text);

} // namespace db::sql
