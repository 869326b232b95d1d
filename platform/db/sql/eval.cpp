// Evaluation of bound expressions with SQL's three-valued logic.

#include "platform/db/sql/bound.h"
#include "platform/db/sql/values.h"

#include <stdexcept>
#include <string>

namespace db::sql {

namespace {

std::optional<bool> truthOf(const Value& v) {
    if (const auto* b = std::get_if<bool>(&v))
        return *b;
    if (isNull(v))
        return std::nullopt;
    if (const auto n = numberOf(v))
        return *n != 0;
    return std::nullopt;
}

Value fromTruth(std::optional<bool> t) {
    if (!t)
        return Null{};
    return *t;
}

bool isBlank(const Value& v) {
    const auto* s = std::get_if<std::string>(&v);
    return isNull(v) || (s && s->empty());
}

Value column(const Node& n, const EvalContext& ctx) {
    const FieldIn in = fieldIn(ctx, n.table, n.field);
    if (in.record.empty())
        return Null{};
    const TableSlot& slot = (*ctx.tables)[static_cast<std::size_t>(n.table)];
    return slot.file->codec().decodeAt(in.record, in.offset, n.field, slot.file->blobs());
}

Value arithmetic(BinOp op, const Value& a, const Value& b) {
    const auto x = numberOf(a), y = numberOf(b);
    if (!x || !y)
        return Null{};
    switch (op) {
    case BinOp::Add:
        return *x + *y;
    case BinOp::Sub:
        return *x - *y;
    case BinOp::Mul:
        return *x * *y;
    default:
        if (*y == 0)
            return Null{};
        return *x / *y;
    }
}

Value comparison(BinOp op, const Value& a, const Value& b) {
    const auto c = compareValues(a, b);
    if (!c)
        return Null{};
    return comparisonHolds(op, *c);
}

Value logical(const Node& n, const EvalContext& ctx) {
    const std::optional<bool> a = truthOf(eval(n.kids[0], ctx));
    const bool isAnd = n.op == BinOp::And;
    if (a && *a != isAnd) // false AND x, true OR x
        return *a;
    const std::optional<bool> b = truthOf(eval(n.kids[1], ctx));
    if (b && *b != isAnd)
        return *b;
    if (!a || !b)
        return Null{};
    return isAnd;
}

Value binary(const Node& n, const EvalContext& ctx) {
    if (n.op == BinOp::And || n.op == BinOp::Or)
        return logical(n, ctx);
    // '' stands for a blank field: "= ''" holds for NULL, "<> ''" for any other value.
    if (n.op == BinOp::Eq || n.op == BinOp::Ne) {
        for (int side = 0; side < 2; ++side) {
            const Node& k = n.kids[static_cast<std::size_t>(side)];
            if (k.kind == Node::Kind::Const && k.emptyText) {
                const bool blank = isBlank(eval(n.kids[static_cast<std::size_t>(1 - side)], ctx));
                return n.op == BinOp::Eq ? blank : !blank;
            }
        }
    }
    const Value a = eval(n.kids[0], ctx);
    const Value b = eval(n.kids[1], ctx);
    switch (n.op) {
    case BinOp::Add:
    case BinOp::Sub:
    case BinOp::Mul:
    case BinOp::Div:
        return arithmetic(n.op, a, b);
    default:
        return comparison(n.op, a, b);
    }
}

} // namespace

FieldIn fieldIn(const EvalContext& ctx, int slot, int field) {
    const TableSlot& t = (*ctx.tables)[static_cast<std::size_t>(slot)];
    const auto f = static_cast<std::size_t>(field);
    if (slot == ctx.scanSlot && !ctx.scanKept)
        return {ctx.scanRecord, static_cast<std::size_t>(t.file->codec().offset(field))};
    std::span<const std::uint8_t> record = ctx.scanRecord;
    if (slot != ctx.scanSlot) {
        const std::uint32_t row = ctx.rows ? ctx.rows[slot] : kNoRow;
        if (row == kNoRow)
            return {};
        record = t.record(row);
    }
    if (f >= t.kept.offsets.size() || t.kept.offsets[f] == std::string::npos)
        throw std::logic_error("a column the statement does not keep: " + t.name);
    return {record, t.kept.offsets[f]};
}

Value eval(const Node& n, const EvalContext& ctx) {
    switch (n.kind) {
    case Node::Kind::Column:
        return column(n, ctx);
    case Node::Kind::Const:
        return n.value;
    case Node::Kind::Negate: {
        const auto x = numberOf(eval(n.kids[0], ctx));
        return x ? Value(-*x) : Value(Null{});
    }
    case Node::Kind::Not: {
        const auto t = truthOf(eval(n.kids[0], ctx));
        return t ? fromTruth(!*t) : Value(Null{});
    }
    case Node::Kind::IsNull:
        return isBlank(eval(n.kids[0], ctx)) != n.negated;
    case Node::Kind::Binary:
        return binary(n, ctx);
    case Node::Kind::AggRef:
        return (*ctx.aggs)[static_cast<std::size_t>(n.agg)];
    }
    return Null{};
}

bool holds(const Node& node, const EvalContext& ctx) {
    return truthOf(eval(node, ctx)).value_or(false);
}

std::uint64_t tablesOf(const Node& node) {
    std::uint64_t mask = node.kind == Node::Kind::Column ? (1ull << node.table) : 0;
    for (const Node& k : node.kids)
        mask |= tablesOf(k);
    return mask;
}

} // namespace db::sql
