// Running a bound SELECT.
//
// The plan's shape (the usual one, FROM of INNER and LEFT joins of tables and
// comma-separated tables):
//   1. The driver is the first table of the FROM list; the others join it in the order
//      written (comma-separated tables in the order an equality in WHERE connects them).
//   2. Every table but the driver is read once into its slot (TableSlot::raw): the
//      records that pass its pushed-down conditions, hashed on the columns of the
//      equality that joins it (one key of bytes per record, see KeyPart). A table is
//      read through its primary key or a secondary index when one of its conditions is
//      an equality of the leading field to a constant, or when it joins a table already
//      read that gives few keys; otherwise whole, keeping only the records under the
//      keys of that table (see stream for the order of the reads).
//   3. The driver's records that pass its conditions (read through an index under the
//      keys of a small joined table, or read whole) stream through the joins: a join
//      looks up its table's records under the row's key (every record when no equality
//      joins it), keeps those its other conditions accept and, for a LEFT join,
//      NULL-fills the row when none does.
//   4. Each joined row goes to the sink as it comes: hash aggregation (one state per
//      group and aggregate; a group's first row is kept to evaluate its other columns)
//      or projection into output rows. No joined relation is materialised.
//   5. DISTINCT and ORDER BY on the output rows. A caller that takes the rows as they come
//      (a RowBatchSink) gets the rows of a statement without either, and without
//      grouping, in batches while the join runs: they are not held for the whole result.
// Rows come out in the order of these nested loops, the driver's records in file order,
// then the matching records of each joined table in file order, however the records were
// reached (an index read gives its records in file order too).
//
// Other FROM shapes (RIGHT and FULL joins, a join whose right side is a join) run through
// materialised relations of record indexes (one per slot per row) instead; the last join
// gives its rows to the same sink in the same order as it makes them.

#include "platform/db/key_table.h"
#include "platform/db/secondary_index.h"
#include "platform/db/sql/bound.h"
#include "platform/db/sql/kept_records.h"
#include "platform/db/sql/values.h"
#include "platform/db/text_codec.h"
#include "platform/sys/codepage.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace db::sql {

namespace {

struct NoValue {};
using KeySet = KeyTable<NoValue>;
template <class T>
using KeyMap = KeyTable<T>;

// Joined rows: one record index per table slot (kNoRow: not joined or NULL-filled),
// `width` indexes per row.
struct Relation {
    std::uint64_t mask = 0;
    std::vector<std::uint32_t> rows;
};

using Key = std::vector<Value>;

enum class TypeClass { Text, Number, Date, Other };

TypeClass classOf(FieldType t) {
    switch (t) {
    case FieldType::Alpha:
    case FieldType::Memo:
    case FieldType::FmtMemo:
        return TypeClass::Text;
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
    case FieldType::Number:
    case FieldType::Currency:
    case FieldType::Bcd:
        return TypeClass::Number;
    case FieldType::Date:
        return TypeClass::Date;
    default:
        return TypeClass::Other;
    }
}

bool isBlank(const Value& v) {
    const auto* s = std::get_if<std::string>(&v);
    return isNull(v) || (s && s->empty());
}

// --- keys of bytes ----------------------------------------------------------------------
// Joins, groups and COUNT(DISTINCT) compare values as keyOf makes them (every number a
// double). A key part turns one value into bytes that are equal exactly when those
// values are: a text field's stored bytes up to its end (within one code page), a
// whole-number or date field's stored bytes (stored big-endian, one value one pattern),
// anything else its decoded value, canonically. A NULL or empty value is one byte 0.

enum class Encoding { Text, Fixed, Decoded };

struct KeyPart {
    const Node* expr = nullptr;
    Encoding encoding = Encoding::Decoded;
    std::size_t size = 0; // Text, Fixed: the field's size
};

bool storedAsOnePattern(FieldType t) {
    return t == FieldType::Short || t == FieldType::Long || t == FieldType::AutoInc ||
           t == FieldType::Date || t == FieldType::Time || t == FieldType::Logical;
}

template <class T>
void appendBytes(std::string& out, const T& value) {
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

// A value as keyOf makes it, in bytes; false when it is blank.
bool appendDecoded(const Value& v, std::string& out) {
    const Value k = keyOf(v);
    out.push_back(static_cast<char>(k.index() + 1));
    std::visit(
        [&](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, std::string>) {
                appendBytes(out, static_cast<std::uint32_t>(x.size()));
                out.append(x);
            } else if constexpr (std::is_same_v<T, double>) {
                appendBytes(out, x == 0 ? 0.0 : x);
            } else if constexpr (std::is_same_v<T, bool>) {
                out.push_back(x ? 1 : 0);
            } else if constexpr (std::is_same_v<T, Date>) {
                appendBytes(out, x.days);
            } else if constexpr (std::is_same_v<T, Time>) {
                appendBytes(out, x.ms);
            } else if constexpr (std::is_same_v<T, Timestamp>) {
                appendBytes(out, x.ms);
            } else if constexpr (std::is_same_v<T, Bytes>) {
                appendBytes(out, static_cast<std::uint32_t>(x.size()));
                out.append(reinterpret_cast<const char*>(x.data()), x.size());
            } else if constexpr (std::is_same_v<T, Decimal>) {
                appendBytes(out, static_cast<std::uint32_t>(x.text.size()));
                out.append(x.text);
            } else if constexpr (std::is_same_v<T, std::int32_t>) {
                appendBytes(out, x);
            }
        },
        k);
    return !isBlank(v);
}

struct AggState {
    std::int64_t count = 0;
    double sum = 0;
    Value best;
    KeySet seen; // DISTINCT: the keys counted
};

struct Group {
    std::vector<std::uint32_t> row;         // its first joined row
    std::vector<std::uint8_t> driverRecord; // that row's driver record, when streamed
    bool driverKept = false;                // driverRecord is a kept record of its slot
    std::vector<AggState> states;
    Key key; // the group values, for ordering
};

struct SortSpec {
    TextOrder order;
    bool descending = false;
};

// The two columns of "a = b" when it can drive a hash join between the two sides.
struct EquiPair {
    const Node* left = nullptr;
    const Node* right = nullptr;
};

// One table of the stream: the driver (first), or a table joined to the rows before it.
struct Step {
    int slot = -1;
    JoinType type = JoinType::Inner;   // Inner or Left
    std::vector<KeyPart> leftKeys;     // the row's side of the equalities
    std::vector<KeyPart> rightKeys;    // this table's side
    std::vector<const Node*> residual; // the join's other conditions
    std::vector<const Node*> after;    // conditions on the row once joined
    // This table's records by key: the first and last record of each key, and the next
    // record of the same key after each record (kNoRow at the end), in file order.
    KeyMap<std::pair<std::uint32_t, std::uint32_t>> buckets;
    std::vector<std::uint32_t> next;
    std::string probe; // the key being looked up
};

// A condition of a table's scan. A comparison of a whole-number, date or time field with
// a constant of its kind compares the stored bytes: big-endian with the sign bit turned,
// they order as the values do, and all zero is NULL (which holds nothing). Any other
// condition is evaluated.
struct ScanFilter {
    const Node* node = nullptr; // evaluated when `size` is 0
    std::size_t offset = 0;     // the field's place in the file's record
    std::size_t size = 0;
    BinOp op = BinOp::Eq;
    std::uint32_t constant = 0; // its stored bytes, read big-endian

    bool holdsFor(std::span<const std::uint8_t> record) const {
        std::uint32_t v = 0;
        for (std::size_t i = 0; i < size; ++i)
            v = v << 8 | record[offset + i];
        return v != 0 && comparisonHolds(op, v < constant ? -1 : v > constant ? 1 : 0);
    }
};

class Executor {
public:
    Executor(BoundSelect& plan, const RowBatchSink* sink)
        : plan_(plan), width_(plan.tables.size()), sink_(sink) {
        chooseColumnsFromRecords();
        layOutKeptRecords();
        for (const TableSlot& t : plan_.tables)
            scanFilters_.push_back(scanFiltersOf(t));
        for (const TableSlot& t : plan_.tables)
            if (t.nullable)
                nullableMask_ |= 1ull << (&t - plan_.tables.data());
        for (const Node& g : plan_.groupBy)
            groupKeys_.push_back(keyPartOf(g));
        for (const AggSpec& a : plan_.aggs)
            aggKeys_.push_back(a.star ? KeyPart{} : keyPartOf(a.arg));
    }

    ResultSet run() {
        specs_ = sortSpecs();
        streaming_ = sink_ && !plan_.distinct && specs_.empty();
        out_ = ResultRows(plan_.columns.size());
        keys_ = ResultRows(specs_.size());
        for (std::size_t c = 0; c < plan_.columns.size(); ++c)
            if (fromColumn_[c])
                out_.readFromRecords(c, static_cast<std::size_t>(plan_.columns[c].expr.table),
                                     plan_.columns[c].expr.field);
        if (plan_.aggregated && plan_.groupBy.empty())
            groups_.push_back({std::vector<std::uint32_t>(width_, kNoRow),
                               {},
                               false,
                               std::vector<AggState>(plan_.aggs.size()),
                               {}});
        std::vector<Step> steps;
        if (streamPlan(steps)) {
            driveByLargest(steps);
            stream(steps);
        } else {
            for (std::size_t i = 0; i < plan_.tables.size(); ++i)
                scan(plan_.tables[i], static_cast<int>(i));
            joinAll();
        }
        if (plan_.aggregated)
            finishGroups();
        if (plan_.distinct || !specs_.empty()) {
            const std::vector<std::uint32_t> order = sortedRows();
            // The sort keys are not read again: their room goes before the rows move.
            keys_ = ResultRows();
            ties_ = {};
            out_.arrange(order);
        }
        if (sink_) {
            flush();
            return {};
        }
        ResultSet result;
        for (const OutputColumn& c : plan_.columns)
            result.columns.push_back(c.def);
        if (fromRecords_)
            giveRecords();
        result.rows = std::move(out_);
        return result;
    }

    std::size_t peakRowsHeld() const { return peakHeld_; }

private:
    // Rows that go to a sink leave in batches of this many.
    static constexpr std::size_t kBatchRows = 4096;

    // The output rows so far go to the sink.
    void flush() {
        noteHeld(0);
        if (!out_.empty())
            (*sink_)(out_);
        out_.clear();
    }

    // What the run holds now, with `extra` joined rows besides.
    void noteHeld(std::size_t extra) const {
        std::size_t held = extra + out_.size() + groups_.size();
        for (const TableSlot& t : plan_.tables)
            held += t.count;
        peakHeld_ = std::max(peakHeld_, held);
    }

    EvalContext context(const std::uint32_t* row) const {
        EvalContext ctx;
        ctx.tables = &plan_.tables;
        ctx.rows = row;
        return ctx;
    }

    static bool allHold(const std::vector<const Node*>& conditions, const EvalContext& ctx) {
        return std::all_of(conditions.begin(), conditions.end(),
                           [&](const Node* c) { return holds(*c, ctx); });
    }

    FieldType fieldType(const Node& column) const {
        return plan_.tables[static_cast<std::size_t>(column.table)]
            .file->fields()[static_cast<std::size_t>(column.field)]
            .type;
    }

    // --- keys of bytes -----------------------------------------------------------------
    KeyPart keyPartOf(const Node& e, Encoding encoding) const {
        KeyPart p;
        p.expr = &e;
        p.encoding = encoding;
        if (encoding != Encoding::Decoded) {
            const RecordCodec& codec =
                plan_.tables[static_cast<std::size_t>(e.table)].file->codec();
            p.size =
                static_cast<std::size_t>(codec.fields()[static_cast<std::size_t>(e.field)].size);
        }
        return p;
    }

    // The key part of one expression compared with itself (a group value, a DISTINCT
    // argument): a column's values all come in its own table's code page.
    KeyPart keyPartOf(const Node& e) const {
        if (e.kind != Node::Kind::Column)
            return keyPartOf(e, Encoding::Decoded);
        const FieldType t = fieldType(e);
        if (t == FieldType::Alpha)
            return keyPartOf(e, Encoding::Text);
        return keyPartOf(e, storedAsOnePattern(t) ? Encoding::Fixed : Encoding::Decoded);
    }

    // How the two columns of an equality are compared as bytes: alike on both sides.
    Encoding pairEncoding(const Node& a, const Node& b) const {
        const FieldType ta = fieldType(a), tb = fieldType(b);
        const auto codePage = [&](const Node& n) {
            return plan_.tables[static_cast<std::size_t>(n.table)].file->codec().codePage();
        };
        if (ta == FieldType::Alpha && tb == FieldType::Alpha && codePage(a) == codePage(b))
            return Encoding::Text;
        if (ta == tb && storedAsOnePattern(ta))
            return Encoding::Fixed;
        return Encoding::Decoded;
    }

    // Appends the part's bytes; false when the value is blank (NULL or empty text).
    bool appendKey(const KeyPart& p, const EvalContext& ctx, std::string& out) const {
        if (p.encoding == Encoding::Decoded)
            return appendDecoded(eval(*p.expr, ctx), out);
        const FieldIn in = fieldIn(ctx, p.expr->table, p.expr->field);
        const std::uint8_t* field = in.record.empty() ? nullptr : in.record.data() + in.offset;
        std::size_t length = 0;
        if (field && p.encoding == Encoding::Text) {
            const void* end = std::memchr(field, 0, p.size);
            length = end ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - field)
                         : p.size;
        } else if (field && std::any_of(field, field + p.size, [](std::uint8_t b) { return b; })) {
            length = p.size;
        }
        if (length == 0) {
            out.push_back(0);
            return false;
        }
        out.push_back(1);
        if (p.encoding == Encoding::Text)
            out.push_back(static_cast<char>(length));
        out.append(reinterpret_cast<const char*>(field), length);
        return true;
    }

    // A join key: false when a part is blank (the row matches nothing).
    bool joinKey(const std::vector<KeyPart>& parts, const EvalContext& ctx,
                 std::string& out) const {
        out.clear();
        for (const KeyPart& p : parts)
            if (!appendKey(p, ctx, out))
                return false;
        return true;
    }

    // --- scans -------------------------------------------------------------------------
    static BinOp mirrored(BinOp op) {
        switch (op) {
        case BinOp::Lt:
            return BinOp::Gt;
        case BinOp::Gt:
            return BinOp::Lt;
        case BinOp::Le:
            return BinOp::Ge;
        case BinOp::Ge:
            return BinOp::Le;
        default:
            return op;
        }
    }

    // A condition of the table as a ScanFilter: on the stored bytes where it can be.
    static ScanFilter scanFilterOf(const TableSlot& t, const Node& f) {
        ScanFilter out;
        out.node = &f;
        if (f.kind != Node::Kind::Binary || !isComparison(f.op))
            return out;
        const bool columnFirst = f.kids[0].kind == Node::Kind::Column;
        const Node& column = f.kids[columnFirst ? 0 : 1];
        const Node& constant = f.kids[columnFirst ? 1 : 0];
        if (column.kind != Node::Kind::Column || constant.kind != Node::Kind::Const ||
            isNull(constant.value))
            return out;
        const RecordCodec& codec = t.file->codec();
        const FieldType type = codec.fields()[static_cast<std::size_t>(column.field)].type;
        const bool fits =
            (type == FieldType::Date && std::holds_alternative<Date>(constant.value)) ||
            (type == FieldType::Time && std::holds_alternative<Time>(constant.value)) ||
            ((type == FieldType::Short || type == FieldType::Long || type == FieldType::AutoInc) &&
             std::holds_alternative<std::int32_t>(constant.value));
        if (!fits)
            return out;
        const auto offset = static_cast<std::size_t>(codec.offset(column.field));
        const auto size = static_cast<std::size_t>(codec.offset(column.field + 1)) - offset;
        std::vector<std::uint8_t> raw(static_cast<std::size_t>(codec.recordSize()));
        try {
            codec.encode(constant.value, column.field, raw);
        } catch (const std::exception&) {
            return out; // out of the field's range: evaluated
        }
        for (std::size_t i = 0; i < size; ++i)
            out.constant = out.constant << 8 | raw[offset + i];
        out.offset = offset;
        out.size = size;
        out.op = columnFirst ? f.op : mirrored(f.op);
        return out;
    }

    static std::vector<ScanFilter> scanFiltersOf(const TableSlot& t) {
        std::vector<ScanFilter> out;
        for (const Node& f : t.filters)
            out.push_back(scanFilterOf(t, f));
        // The comparisons on bytes first: they are the cheap ones.
        std::stable_partition(out.begin(), out.end(),
                              [](const ScanFilter& f) { return f.size != 0; });
        return out;
    }

    // Whether a record of the slot's file passes the table's conditions (`ctx` scans it).
    bool passes(int slot, const EvalContext& ctx) const {
        for (const ScanFilter& f : scanFilters_[static_cast<std::size_t>(slot)])
            if (f.size ? !f.holdsFor(ctx.scanRecord) : !holds(*f.node, ctx))
                return false;
        return true;
    }

    // The records of a table that pass its conditions, copied into its slot.
    void scan(TableSlot& t, int slot) {
        EvalContext ctx = context(nullptr);
        ctx.scanSlot = slot;
        reserveKept(t);
        t.file->scan([&](RecordPos, std::span<const std::uint8_t> raw) {
            ctx.scanRecord = raw;
            if (!passes(slot, ctx))
                return true;
            t.kept.keep(raw, t.raw);
            keepRead(slot, raw);
            ++t.count;
            return true;
        });
    }

    // Room for every record of the table: the memory is only touched as records come.
    static void reserveKept(TableSlot& t) {
        t.raw.reserve(static_cast<std::size_t>(t.file->recordCount()) * t.kept.size);
    }

    // --- the kept records ----------------------------------------------------------------
    // Each slot keeps the fields that some expression of the plan reads, nothing more.
    void layOutKeptRecords() {
        std::vector<std::vector<char>> used(width_);
        for (std::size_t i = 0; i < width_; ++i)
            used[i].assign(plan_.tables[i].file->fields().size(), 0);
        const auto mark = [&](const Node& n) { markColumns(n, used); };
        for (const TableSlot& t : plan_.tables)
            std::for_each(t.filters.begin(), t.filters.end(), mark);
        for (const PlanNode& p : plan_.from)
            markJoinColumns(p, used);
        std::for_each(plan_.where.begin(), plan_.where.end(), mark);
        std::for_each(plan_.groupBy.begin(), plan_.groupBy.end(), mark);
        if (plan_.having)
            mark(*plan_.having);
        for (const AggSpec& a : plan_.aggs)
            mark(a.arg);
        for (std::size_t c = 0; c < plan_.columns.size(); ++c)
            if (!fromColumn_[c])
                mark(plan_.columns[c].expr);
        for (const SortKey& k : plan_.orderBy)
            mark(k.column >= 0 ? plan_.columns[static_cast<std::size_t>(k.column)].expr : k.expr);
        for (std::size_t i = 0; i < width_; ++i)
            plan_.tables[i].kept = keptLayout(plan_.tables[i].file->codec(), used[i]);
    }

    static void markColumns(const Node& n, std::vector<std::vector<char>>& used) {
        if (n.kind == Node::Kind::Column)
            used[static_cast<std::size_t>(n.table)][static_cast<std::size_t>(n.field)] = 1;
        for (const Node& k : n.kids)
            markColumns(k, used);
    }

    static void markJoinColumns(const PlanNode& p, std::vector<std::vector<char>>& used) {
        for (const Node& c : p.on)
            markColumns(c, used);
        if (p.left)
            markJoinColumns(*p.left, used);
        if (p.right)
            markJoinColumns(*p.right, used);
    }

    // The fields marked, in record order, neighbours copied as one run.
    static KeptLayout keptLayout(const RecordCodec& codec, const std::vector<char>& used) {
        KeptLayout k;
        k.offsets.assign(used.size(), std::string::npos);
        for (std::size_t f = 0; f < used.size(); ++f) {
            if (!used[f])
                continue;
            const auto from = static_cast<std::size_t>(codec.offset(static_cast<int>(f)));
            const auto size =
                static_cast<std::size_t>(codec.offset(static_cast<int>(f) + 1)) - from;
            if (!k.runs.empty() && k.runs.back().from + k.runs.back().size == from)
                k.runs.back().size += size;
            else
                k.runs.push_back({from, size});
            k.offsets[f] = k.size;
            k.size += size;
        }
        return k;
    }

    // --- the stream --------------------------------------------------------------------
    std::optional<EquiPair> equiPair(const Node& c, std::uint64_t left, std::uint64_t right) const {
        if (c.kind != Node::Kind::Binary || c.op != BinOp::Eq)
            return std::nullopt;
        const Node& a = c.kids[0];
        const Node& b = c.kids[1];
        if (a.kind != Node::Kind::Column || b.kind != Node::Kind::Column)
            return std::nullopt;
        const TypeClass ca = classOf(fieldType(a));
        if (ca == TypeClass::Other || ca != classOf(fieldType(b)))
            return std::nullopt;
        const std::uint64_t ma = 1ull << a.table, mb = 1ull << b.table;
        if ((ma & left) && (mb & right))
            return EquiPair{&a, &b};
        if ((mb & left) && (ma & right))
            return EquiPair{&b, &a};
        return std::nullopt;
    }

    // A join of the rows so far (`left`) with the table of `step` on `conditions`.
    void addConditions(Step& step, std::uint64_t left,
                       const std::vector<const Node*>& conditions) const {
        const std::uint64_t right = 1ull << step.slot;
        for (const Node* c : conditions) {
            if (const auto pair = equiPair(*c, left, right)) {
                const Encoding e = pairEncoding(*pair->left, *pair->right);
                step.leftKeys.push_back(keyPartOf(*pair->left, e));
                step.rightKeys.push_back(keyPartOf(*pair->right, e));
            } else {
                step.residual.push_back(c);
            }
        }
    }

    // A FROM entry as steps: a table, or INNER and LEFT joins down the left side with a
    // table on the right of each; false for any other shape.
    bool flatten(const PlanNode& p, std::vector<Step>& steps) const {
        if (!p.isJoin) {
            steps.emplace_back().slot = p.slot;
            return true;
        }
        if (p.right->isJoin || (p.type != JoinType::Inner && p.type != JoinType::Left) ||
            !flatten(*p.left, steps))
            return false;
        Step& s = steps.emplace_back();
        s.slot = p.right->slot;
        s.type = p.type;
        std::vector<const Node*> on;
        for (const Node& c : p.on)
            on.push_back(&c);
        addConditions(s, p.left->mask, on);
        return true;
    }

    // The steps of the whole FROM list, the comma-separated entries joined as joinAll
    // joins them; false when the shape needs the materialised relations.
    bool streamPlan(std::vector<Step>& steps) const {
        if (!flatten(plan_.from.front(), steps))
            return false;
        std::vector<char> used(plan_.where.size(), 0);
        std::vector<std::uint64_t> masks;
        for (const PlanNode& p : plan_.from) {
            if (&p != &plan_.from.front() && p.isJoin)
                return false;
            masks.push_back(p.mask);
            const auto covered = takeCovered(p.mask, used);
            if (&p == &plan_.from.front())
                steps.back().after = covered;
            else if (!covered.empty())
                return false;
        }
        std::uint64_t current = masks.front();
        std::vector<std::size_t> rest(masks.size() - 1);
        std::iota(rest.begin(), rest.end(), 1);
        while (!rest.empty()) {
            auto next = std::find_if(rest.begin(), rest.end(), [&](std::size_t k) {
                return connected(current, masks[k], used);
            });
            if (next == rest.end())
                next = rest.begin();
            Step& s = steps.emplace_back();
            s.slot = plan_.from[*next].slot;
            addConditions(s, current, takeCovered(current | masks[*next], used));
            current |= masks[*next];
            rest.erase(next);
        }
        for (std::size_t i = 0; i < plan_.where.size(); ++i)
            if (!used[i])
                steps.back().after.push_back(&plan_.where[i]);
        return true;
    }

    // A sorted result does not depend on the order the join makes its rows in, once the
    // rows that sort alike keep the order they would have come in: the records' places in
    // their files, slot by slot in the order of the steps as written. So the largest
    // table of an unfiltered comma join can drive it, streaming from its file, instead of
    // being kept whole in its slot while a small driver streams; every record of each
    // slot is numbered in file order either way (see tieBreak).
    void driveByLargest(std::vector<Step>& steps) {
        if (specs_.empty() || plan_.aggregated || plan_.distinct || steps.size() < 2)
            return;
        if (std::any_of(plan_.from.begin(), plan_.from.end(),
                        [](const PlanNode& p) { return p.isJoin; }))
            return;
        const auto driver = static_cast<std::size_t>(steps.front().slot);
        if (!plan_.tables[driver].filters.empty() || !steps.front().after.empty())
            return;
        const auto bytes = [&](std::size_t slot) {
            const TableSlot& t = plan_.tables[slot];
            return static_cast<std::size_t>(t.file->recordCount()) * t.kept.size;
        };
        std::size_t largest = driver;
        for (const Step& s : steps)
            if (bytes(static_cast<std::size_t>(s.slot)) > bytes(largest))
                largest = static_cast<std::size_t>(s.slot);
        if (bytes(largest) < 4 * bytes(driver))
            return;
        std::vector<int> written;
        for (const Step& s : steps)
            written.push_back(s.slot);
        const auto entry =
            std::find_if(plan_.from.begin(), plan_.from.end(),
                         [&](const PlanNode& p) { return p.slot == static_cast<int>(largest); });
        std::rotate(plan_.from.begin(), entry, entry + 1);
        std::vector<Step> reordered;
        if (!streamPlan(reordered)) {
            std::rotate(plan_.from.begin(), plan_.from.begin() + 1, entry + 1);
            return;
        }
        steps = std::move(reordered);
        tieSlots_ = std::move(written);
    }

    // The places of the row's records in their files, in the steps' written order: the
    // order the rows would have come in, for the rows that sort alike.
    void tieBreak(const EvalContext& ctx) {
        for (const int slot : tieSlots_)
            ties_.push_back(slot == driverSlot_ ? driverOrdinal_
                                                : ctx.rows[static_cast<std::size_t>(slot)]);
    }

    // The one slot the row's side of a join reads its key from; -1 for several or none.
    static int keySource(const Step& s) {
        int source = -1;
        for (const KeyPart& p : s.leftKeys) {
            if (source >= 0 && p.expr->table != source)
                return -1;
            source = p.expr->table;
        }
        return source;
    }

    // The keys the records of a read slot give the row's side of a join, and for a key
    // of one column its distinct values (to look them up with).
    KeySet keysOf(const Step& s, int source, std::vector<Value>& values) const {
        const TableSlot& t = plan_.tables[static_cast<std::size_t>(source)];
        KeySet keys;
        EvalContext ctx = context(nullptr);
        ctx.scanSlot = source;
        ctx.scanKept = true;
        std::string key;
        for (std::uint32_t j = 0; j < t.count; ++j) {
            ctx.scanRecord = t.record(j);
            if (joinKey(s.leftKeys, ctx, key) && keys.insert(key).second && s.leftKeys.size() == 1)
                values.push_back(eval(*s.leftKeys.front().expr, ctx));
        }
        return keys;
    }

    // A record of a step's table: kept in its slot when it passes the table's conditions
    // and (with `wanted`) its key is one of those; hashed on its join key.
    void offer(Step& s, std::span<const std::uint8_t> raw, const KeySet* wanted) {
        TableSlot& t = plan_.tables[static_cast<std::size_t>(s.slot)];
        EvalContext ctx = context(nullptr);
        ctx.scanSlot = s.slot;
        ctx.scanRecord = raw;
        const bool keyed = !s.rightKeys.empty();
        // A record with a blank key matches nothing. Without keys to match, the table's
        // conditions come first: a record they refuse needs no key.
        if (!wanted && !passes(s.slot, ctx))
            return;
        if (keyed &&
            (!joinKey(s.rightKeys, ctx, offerKey_) || (wanted && !wanted->contains(offerKey_))))
            return;
        if (wanted && !passes(s.slot, ctx))
            return;
        const auto j = static_cast<std::uint32_t>(t.count);
        t.kept.keep(raw, t.raw);
        keepRead(s.slot, raw);
        ++t.count;
        if (!keyed)
            return;
        s.next.push_back(kNoRow);
        const auto [it, added] = s.buckets.try_emplace(offerKey_, j, j);
        if (!added) {
            s.next[it->second.second] = j;
            it->second.second = j;
        }
    }

    void scanInto(Step& s, const KeySet* wanted) {
        TableSlot& t = plan_.tables[static_cast<std::size_t>(s.slot)];
        reserveKept(t);
        if (!s.rightKeys.empty())
            s.next.reserve(t.file->recordCount());
        t.file->scan([&](RecordPos, std::span<const std::uint8_t> raw) {
            offer(s, raw, wanted);
            return true;
        });
    }

    // --- reading through keys and indexes ----------------------------------------------
    // Whether a value can be looked up in a field of this type (as the field stores it,
    // comparing equal exactly when the values do).
    static bool fitsField(FieldType t, const Value& v) {
        switch (t) {
        case FieldType::Alpha: {
            const auto* text = std::get_if<std::string>(&v);
            return text && !text->empty();
        }
        case FieldType::Short:
        case FieldType::Long:
        case FieldType::AutoInc:
            return std::holds_alternative<std::int32_t>(v);
        case FieldType::Number:
            return std::holds_alternative<std::int32_t>(v) || std::holds_alternative<double>(v);
        case FieldType::Date:
            return std::holds_alternative<Date>(v);
        default:
            return false;
        }
    }

    // The records of the step's table whose `field` may hold one of `values`, found
    // through the primary key (the field leads it) or a secondary index the field leads,
    // and offered in file order; false (nothing offered) when there is no such way or
    // when the keys name too many records.
    bool lookUp(Step& s, int field, const std::vector<Value>& values, const KeySet* wanted) {
        // More records than this are read faster whole.
        const std::size_t limit =
            plan_.tables[static_cast<std::size_t>(s.slot)].file->recordCount() / 16 + 16;
        TableSlot& t = plan_.tables[static_cast<std::size_t>(s.slot)];
        if (!t.shared)
            return false;
        const TableFile& file = *t.file;
        const bool primary = file.keyed() && field == 0;
        const SecondaryIndex* index = nullptr;
        for (const auto& candidate : t.shared->indexes())
            if (!primary && !index && candidate->fieldNumbers().front() == field)
                index = candidate.get();
        const FieldType type = file.fields()[static_cast<std::size_t>(field)].type;
        if ((!primary && !index) || !std::all_of(values.begin(), values.end(), [&](const Value& v) {
                return fitsField(type, v);
            }))
            return false;
        std::vector<RecordPos> positions;
        HintedRecords hinted;
        try {
            std::vector<std::uint8_t> raw(static_cast<std::size_t>(file.codec().recordSize()));
            for (const Value& v : values) {
                std::fill(raw.begin(), raw.end(), 0);
                file.codec().encode(v, field, raw);
                if (primary) {
                    const auto found = file.findAll(raw, 1);
                    positions.insert(positions.end(), found.begin(), found.end());
                } else {
                    index->findHinted(raw, hinted);
                }
                if (positions.size() + hinted.size() > limit)
                    return false;
            }
        } catch (const std::exception&) {
            return false; // a text the code page cannot hold, an index that does not read
        }
        const auto take = [&](RecordPos, std::span<const std::uint8_t> raw) {
            offer(s, raw, wanted);
        };
        if (primary)
            file.visitEach(std::move(positions), take);
        else
            file.visitHinted(hinted, take);
        return true;
    }

    // Whether looking keys up one by one beats reading a table of `size` records whole:
    // each key costs a search of the index and a block read for every record under it;
    // a key of the primary key is found among the blocks' first keys, with one read.
    static bool fewKeys(std::size_t keys, std::uint32_t size, bool primary = false) {
        return keys * (primary ? 16 : 64) < size;
    }

    // A table with an equality of a key or indexed field to a constant among its
    // conditions is read through that key or index.
    bool readByConstant(Step& s) {
        for (const Node& f : plan_.tables[static_cast<std::size_t>(s.slot)].filters) {
            if (f.kind != Node::Kind::Binary || f.op != BinOp::Eq)
                continue;
            for (int side = 0; side < 2; ++side) {
                const Node& column = f.kids[static_cast<std::size_t>(side)];
                const Node& constant = f.kids[static_cast<std::size_t>(1 - side)];
                if (column.kind == Node::Kind::Column && column.table == s.slot &&
                    constant.kind == Node::Kind::Const && !constant.emptyText &&
                    lookUp(s, column.field, {constant.value}, nullptr))
                    return true;
            }
        }
        return false;
    }

    // The driver read through its key or an index under the keys of an INNER join's table
    // already read, when those are few: a driver record under another key joins nothing.
    bool readDriverByJoin(std::vector<Step>& steps, const std::vector<char>& read) {
        Step& driver = steps.front();
        const TableFile& file = *plan_.tables[static_cast<std::size_t>(driver.slot)].file;
        // The joins that could pick the driver's records, the one with the fewest keys first.
        std::vector<std::pair<const Step*, std::vector<Value>>> picks;
        for (std::size_t k = 1; k < steps.size(); ++k) {
            const Step& s = steps[k];
            if (s.type != JoinType::Inner || !read[static_cast<std::size_t>(s.slot)] ||
                s.leftKeys.size() != 1 || s.leftKeys.front().expr->table != driver.slot)
                continue;
            std::vector<Value> values;
            Step reverse; // the join seen from its other side
            reverse.leftKeys = s.rightKeys;
            reverse.rightKeys = s.leftKeys;
            keysOf(reverse, s.slot, values);
            if (fewKeys(values.size(), file.recordCount(),
                        file.keyed() && s.leftKeys.front().expr->field == 0))
                picks.emplace_back(&s, std::move(values));
        }
        std::stable_sort(picks.begin(), picks.end(), [](const auto& a, const auto& b) {
            return a.second.size() < b.second.size();
        });
        return std::any_of(picks.begin(), picks.end(), [&](const auto& pick) {
            return lookUp(driver, pick.first->leftKeys.front().expr->field, pick.second, nullptr);
        });
    }

    // The driver is read into its slot first when it is much smaller than a table it
    // joins directly: that table then keeps only the records under the driver's keys.
    bool readDriverFirst(const std::vector<Step>& steps) const {
        const auto size = [&](int slot) {
            return plan_.tables[static_cast<std::size_t>(slot)].file->recordCount();
        };
        const int driver = steps.front().slot;
        return std::any_of(steps.begin() + 1, steps.end(), [&](const Step& s) {
            return keySource(s) == driver && size(s.slot) / 4 > size(driver);
        });
    }

    // A joined table: read under the keys of the table its key comes from when that is
    // read already (through its key or an index when those keys are few), else whole.
    void prepare(Step& s, const std::vector<char>& read) {
        const int source = keySource(s);
        if (source < 0 || !read[static_cast<std::size_t>(source)]) {
            scanInto(s, nullptr);
            return;
        }
        std::vector<Value> values;
        const auto wanted = keysOf(s, source, values);
        const TableFile& file = *plan_.tables[static_cast<std::size_t>(s.slot)].file;
        const bool looked = s.rightKeys.size() == 1 &&
                            fewKeys(values.size(), file.recordCount(),
                                    file.keyed() && s.rightKeys.front().expr->field == 0) &&
                            lookUp(s, s.rightKeys.front().expr->field, values, &wanted);
        if (!looked)
            scanInto(s, &wanted);
    }

    // Reading in this order: tables with an equality to a constant on a key or indexed
    // field (through it); the driver through the keys of such a table it joins when they
    // are few; else tables much smaller than the driver that an INNER join ties to it,
    // and the driver through the keys of those (or whole when it is small); then each
    // joined table (see prepare). The driver's records then stream through the joins
    // (advance).
    void stream(std::vector<Step>& steps) {
        const Step& driver = steps.front();
        driverSlot_ = driver.slot;
        TableSlot& t = plan_.tables[static_cast<std::size_t>(driver.slot)];
        std::vector<char> read(width_, 0);
        for (Step& s : steps)
            if (readByConstant(s))
                read[static_cast<std::size_t>(s.slot)] = 1;
        auto& driverRead = read[static_cast<std::size_t>(driver.slot)];
        const auto size = [&](int slot) {
            return plan_.tables[static_cast<std::size_t>(slot)].file->recordCount();
        };
        if (!driverRead && readDriverByJoin(steps, read))
            driverRead = 1;
        // Small tables that an INNER join ties to the driver: their keys may pick the
        // driver's records through an index.
        if (!driverRead) {
            for (Step& s : steps)
                if (&s != &driver && !read[static_cast<std::size_t>(s.slot)] &&
                    s.type == JoinType::Inner && keySource(s) == driver.slot &&
                    size(s.slot) < size(driver.slot) / 4) {
                    scanInto(s, nullptr);
                    read[static_cast<std::size_t>(s.slot)] = 1;
                }
            if (readDriverByJoin(steps, read))
                driverRead = 1;
        }
        if (!driverRead && readDriverFirst(steps)) {
            scanInto(steps.front(), nullptr);
            driverRead = 1;
        }
        for (std::size_t k = 1; k < steps.size(); ++k) {
            if (!read[static_cast<std::size_t>(steps[k].slot)])
                prepare(steps[k], read);
            read[static_cast<std::size_t>(steps[k].slot)] = 1;
        }
        std::vector<std::uint32_t> row(width_, kNoRow);
        EvalContext ctx = context(row.data());
        ctx.scanSlot = driver.slot;
        if (driverRead) {
            ctx.scanKept = true;
            for (std::uint32_t j = 0; j < t.count; ++j) {
                driverOrdinal_ = j;
                ctx.scanRecord = t.record(j);
                if (allHold(driver.after, ctx))
                    advance(steps, 1, row, ctx);
            }
            return;
        }
        std::uint32_t next = 0;
        t.file->scan([&](RecordPos, std::span<const std::uint8_t> raw) {
            driverOrdinal_ = next++;
            ctx.scanRecord = raw;
            if (!passes(driver.slot, ctx))
                return true;
            if (allHold(driver.after, ctx))
                advance(steps, 1, row, ctx);
            return true;
        });
    }

    // The row joined with the tables of steps k, k+1, ... and given to the sink.
    void advance(std::vector<Step>& steps, std::size_t k, std::vector<std::uint32_t>& row,
                 const EvalContext& ctx) {
        if (k == steps.size()) {
            consume(ctx);
            return;
        }
        Step& s = steps[k];
        const auto slot = static_cast<std::size_t>(s.slot);
        bool matched = false;
        const auto tryRecord = [&](std::uint32_t j) {
            row[slot] = j;
            if (!allHold(s.residual, ctx))
                return;
            matched = true;
            if (allHold(s.after, ctx))
                advance(steps, k + 1, row, ctx);
        };
        if (s.rightKeys.empty()) {
            const std::size_t count = plan_.tables[slot].count;
            for (std::uint32_t j = 0; j < count; ++j)
                tryRecord(j);
        } else if (joinKey(s.leftKeys, ctx, s.probe)) {
            if (const auto it = s.buckets.find(s.probe); it != s.buckets.end())
                for (std::uint32_t j = it->second.first; j != kNoRow; j = s.next[j])
                    tryRecord(j);
        }
        row[slot] = kNoRow;
        if (!matched && s.type == JoinType::Left && allHold(s.after, ctx))
            advance(steps, k + 1, row, ctx);
    }

    // --- materialised relations (the other FROM shapes) ---------------------------------
    std::size_t rowCount(const Relation& r) const { return width_ ? r.rows.size() / width_ : 0; }
    const std::uint32_t* rowAt(const Relation& r, std::size_t i) const {
        return r.rows.data() + i * width_;
    }

    Relation base(int slot) const {
        Relation r;
        r.mask = 1ull << slot;
        const std::size_t n = plan_.tables[static_cast<std::size_t>(slot)].count;
        r.rows.assign(n * width_, kNoRow);
        for (std::size_t i = 0; i < n; ++i)
            r.rows[i * width_ + static_cast<std::size_t>(slot)] = static_cast<std::uint32_t>(i);
        return r;
    }

    void filter(Relation& r, const std::vector<const Node*>& conditions) const {
        if (conditions.empty())
            return;
        std::vector<std::uint32_t> kept;
        for (std::size_t i = 0; i < rowCount(r); ++i)
            if (allHold(conditions, context(rowAt(r, i))))
                kept.insert(kept.end(), rowAt(r, i), rowAt(r, i) + width_);
        r.rows = std::move(kept);
    }

    // The rows of a join of two relations, each given to `emit` (a row of record indexes,
    // valid during the call) in the order: each left row's matches, a LEFT or FULL join's
    // unmatched left row in its place, then a RIGHT or FULL join's unmatched right rows.
    template <class Emit>
    void joinRows(const Relation& left, const Relation& right, JoinType type,
                  const std::vector<const Node*>& conditions, Emit&& emit) const {
        std::vector<KeyPart> leftKeys, rightKeys;
        std::vector<const Node*> residual;
        for (const Node* c : conditions) {
            if (const auto pair = equiPair(*c, left.mask, right.mask)) {
                const Encoding e = pairEncoding(*pair->left, *pair->right);
                leftKeys.push_back(keyPartOf(*pair->left, e));
                rightKeys.push_back(keyPartOf(*pair->right, e));
            } else {
                residual.push_back(c);
            }
        }
        // Right side hashed on its key (or one bucket of every row for a nested loop).
        KeyMap<std::vector<std::uint32_t>> buckets;
        const std::size_t rightRows = rowCount(right);
        std::string key;
        for (std::size_t j = 0; j < rightRows; ++j)
            if (joinKey(rightKeys, context(rowAt(right, j)), key))
                buckets[key].push_back(static_cast<std::uint32_t>(j));

        std::vector<char> rightMatched(rightRows, 0);
        std::vector<std::uint32_t> combined(width_);
        for (std::size_t i = 0; i < rowCount(left); ++i) {
            const std::uint32_t* l = rowAt(left, i);
            bool matched = false;
            const bool keyed = joinKey(leftKeys, context(l), key);
            const auto bucket = keyed ? buckets.find(key) : buckets.end();
            if (bucket != buckets.end()) {
                for (const std::uint32_t j : bucket->second) {
                    const std::uint32_t* r = rowAt(right, j);
                    for (std::size_t s = 0; s < width_; ++s)
                        combined[s] = (right.mask >> s & 1) ? r[s] : l[s];
                    if (!allHold(residual, context(combined.data())))
                        continue;
                    emit(combined.data());
                    matched = true;
                    rightMatched[j] = 1;
                }
            }
            if (!matched && (type == JoinType::Left || type == JoinType::Full))
                emit(l);
        }
        if (type == JoinType::Right || type == JoinType::Full)
            for (std::size_t j = 0; j < rightRows; ++j)
                if (!rightMatched[j])
                    emit(rowAt(right, j));
        noteHeld(rowCount(left) + rowCount(right));
    }

    Relation join(const Relation& left, const Relation& right, JoinType type,
                  const std::vector<const Node*>& conditions) const {
        Relation out;
        out.mask = left.mask | right.mask;
        joinRows(left, right, type, conditions, [&](const std::uint32_t* row) {
            out.rows.insert(out.rows.end(), row, row + width_);
        });
        noteHeld(rowCount(left) + rowCount(right) + rowCount(out));
        return out;
    }

    static std::vector<const Node*> onOf(const PlanNode& p) {
        std::vector<const Node*> on;
        for (const Node& c : p.on)
            on.push_back(&c);
        return on;
    }

    // The rows of a FROM entry, each given to `emit`: a join's sides are materialised,
    // its own rows are not.
    template <class Emit>
    void produce(const PlanNode& p, Emit&& emit) const {
        if (!p.isJoin) {
            const Relation r = base(p.slot);
            for (std::size_t i = 0; i < rowCount(r); ++i)
                emit(rowAt(r, i));
            return;
        }
        joinRows(execute(*p.left), execute(*p.right), p.type, onOf(p), emit);
    }

    Relation execute(const PlanNode& p) const {
        if (!p.isJoin)
            return base(p.slot);
        return join(execute(*p.left), execute(*p.right), p.type, onOf(p));
    }

    // WHERE conditions not yet applied whose tables all lie in `mask` and are never
    // NULL-filled; marks them used.
    std::vector<const Node*> takeCovered(std::uint64_t mask, std::vector<char>& used) const {
        std::vector<const Node*> out;
        for (std::size_t i = 0; i < plan_.where.size(); ++i) {
            const std::uint64_t m = tablesOf(plan_.where[i]);
            if (!used[i] && m && (m & ~mask) == 0 && (m & nullableMask_) == 0) {
                out.push_back(&plan_.where[i]);
                used[i] = 1;
            }
        }
        return out;
    }

    bool connected(std::uint64_t a, std::uint64_t b, const std::vector<char>& used) const {
        for (std::size_t i = 0; i < plan_.where.size(); ++i)
            if (!used[i] && (tablesOf(plan_.where[i]) & nullableMask_) == 0 &&
                equiPair(plan_.where[i], a, b))
                return true;
        return false;
    }

    // The comma-separated entries joined in order, each time preferring the next entry
    // that an equality in WHERE connects to what is joined so far; the rows of the last
    // join go to the sink as they come.
    void joinAll() {
        std::vector<char> used(plan_.where.size(), 0);
        const auto remaining = [&] {
            std::vector<const Node*> out;
            for (std::size_t i = 0; i < plan_.where.size(); ++i)
                if (!used[i])
                    out.push_back(&plan_.where[i]);
            return out;
        };
        std::vector<const Node*> last;
        const auto toSink = [&](const std::uint32_t* row) {
            const EvalContext ctx = context(row);
            if (allHold(last, ctx))
                consume(ctx);
        };
        if (plan_.from.size() == 1) {
            last = remaining();
            produce(plan_.from.front(), toSink);
            return;
        }
        std::vector<Relation> items;
        for (const PlanNode& p : plan_.from) {
            items.push_back(execute(p));
            filter(items.back(), takeCovered(items.back().mask, used));
        }
        Relation current = std::move(items.front());
        std::vector<std::size_t> rest(items.size() - 1);
        std::iota(rest.begin(), rest.end(), 1);
        while (true) {
            auto next = std::find_if(rest.begin(), rest.end(), [&](std::size_t k) {
                return connected(current.mask, items[k].mask, used);
            });
            if (next == rest.end())
                next = rest.begin();
            const Relation& other = items[*next];
            const auto conditions = takeCovered(current.mask | other.mask, used);
            if (rest.size() == 1) {
                last = remaining();
                joinRows(current, other, JoinType::Inner, conditions, toSink);
                return;
            }
            current = join(current, other, JoinType::Inner, conditions);
            rest.erase(next);
        }
    }

    // --- the sink: projection and aggregation ------------------------------------------
    void consume(const EvalContext& ctx) {
        if (!plan_.aggregated) {
            project(ctx);
            return;
        }
        Group& g = groupOf(ctx);
        for (std::size_t a = 0; a < plan_.aggs.size(); ++a)
            update(plan_.aggs[a], aggKeys_[a], g.states[a], ctx);
    }

    // The group of the row, added when it is the group's first row.
    Group& groupOf(const EvalContext& ctx) {
        if (plan_.groupBy.empty()) {
            Group& g = groups_.front();
            if (!seenRow_)
                keepRow(g, ctx);
            seenRow_ = true;
            return g;
        }
        groupKey_.clear();
        for (const KeyPart& p : groupKeys_)
            appendKey(p, ctx, groupKey_);
        const auto [it, added] =
            groupIndex_.try_emplace(groupKey_, static_cast<std::uint32_t>(groups_.size()));
        if (added) {
            Group& g = groups_.emplace_back();
            keepRow(g, ctx);
            g.states.resize(plan_.aggs.size());
            for (const Node& e : plan_.groupBy)
                g.key.push_back(keyOf(eval(e, ctx)));
        }
        return groups_[it->second];
    }

    void keepRow(Group& g, const EvalContext& ctx) const {
        g.row.assign(ctx.rows, ctx.rows + width_);
        if (ctx.scanSlot >= 0) {
            g.driverRecord.assign(ctx.scanRecord.begin(), ctx.scanRecord.end());
            g.driverKept = ctx.scanKept;
        }
    }

    // --- columns read from records -------------------------------------------------------
    // A result returned whole, neither grouped nor made distinct, reads its columns that
    // are fields stored in the records from the records the run met, when a value is
    // read: a row costs its record numbers, not a decode of each of its fields. The
    // fields those columns alone read are not in the slots' kept records (see
    // layOutKeptRecords) but in compact copies that go with the rows (see KeptRecords).
    void chooseColumnsFromRecords() {
        fromColumn_.assign(plan_.columns.size(), 0);
        read_.resize(width_);
        fileOffsets_.resize(width_);
        if (sink_ || plan_.aggregated || plan_.distinct)
            return;
        std::vector<std::vector<char>> fields(width_);
        for (std::size_t s = 0; s < width_; ++s)
            fields[s].assign(plan_.tables[s].file->fields().size(), 0);
        for (std::size_t c = 0; c < plan_.columns.size(); ++c) {
            const Node& e = plan_.columns[c].expr;
            if (e.kind != Node::Kind::Column || isBlobType(fieldType(e)))
                continue; // a blob is read now: its file may change before the value is read
            fields[static_cast<std::size_t>(e.table)][static_cast<std::size_t>(e.field)] = 1;
            fromColumn_[c] = 1;
            fromRecords_ = true;
        }
        rowRecords_.assign(width_, kNoRow);
        for (std::size_t s = 0; s < width_; ++s) {
            const TableFile& file = *plan_.tables[s].file;
            if (std::find(fields[s].begin(), fields[s].end(), 1) == fields[s].end())
                continue;
            read_[s].emplace(std::make_shared<RecordCodec>(file.codec()), fields[s]);
            for (std::size_t f = 0; f < fields[s].size(); ++f)
                fileOffsets_[s].push_back(
                    static_cast<std::size_t>(file.codec().offset(static_cast<int>(f))));
        }
    }

    // A record of the slot's file kept in the slot: its fields read from records too.
    void keepRead(int slot, std::span<const std::uint8_t> raw) {
        if (auto& read = read_[static_cast<std::size_t>(slot)])
            read->add(raw, fileOffsets_[static_cast<std::size_t>(slot)]);
    }

    // The row's record in each slot; a record of the driver streamed from its file is
    // copied the first time a row joins it.
    std::span<const std::uint32_t> recordsOf(const EvalContext& ctx) {
        for (std::size_t s = 0; s < width_; ++s)
            rowRecords_[s] = ctx.rows ? ctx.rows[s] : kNoRow;
        if (ctx.scanSlot < 0)
            return rowRecords_;
        const auto slot = static_cast<std::size_t>(ctx.scanSlot);
        if (ctx.scanKept) {
            rowRecords_[slot] = driverOrdinal_; // the slot's record streaming (see stream)
        } else if (read_[slot]) {
            if (!copied_ || copiedOrdinal_ != driverOrdinal_)
                copiedRecord_ = read_[slot]->add(ctx.scanRecord, fileOffsets_[slot]);
            copied_ = true;
            copiedOrdinal_ = driverOrdinal_;
            rowRecords_[slot] = copiedRecord_;
        }
        return rowRecords_;
    }

    // The copies go with the rows; a slot whose fields no column reads gives none.
    void giveRecords() {
        auto sources = std::make_shared<std::vector<KeptRecords>>();
        for (std::size_t s = 0; s < width_; ++s) {
            if (read_[s])
                sources->push_back(std::move(*read_[s]));
            else
                sources->emplace_back(nullptr, std::vector<char>{});
        }
        out_.setRecords(std::move(sources));
    }

    // The output row of the joined row (or group), and its sort keys: those of ORDER BY,
    // then the group's values (grouped rows come in their order after ORDER BY), then for
    // DISTINCT the row's own values (in their order after those).
    void project(const EvalContext& ctx, const Key* groupValues = nullptr) {
        if (fromRecords_) {
            out_.addRecords(recordsOf(ctx));
            for (std::size_t c = 0; c < plan_.columns.size(); ++c)
                if (!fromColumn_[c])
                    appendValue(plan_.columns[c].expr, ctx);
        } else {
            for (const OutputColumn& c : plan_.columns)
                appendValue(c.expr, ctx);
        }
        if (specs_.empty()) {
            if (streaming_ && out_.size() >= kBatchRows)
                flush();
            return;
        }
        const std::size_t row = out_.size() - 1;
        std::size_t spec = 0;
        for (const SortKey& k : plan_.orderBy) {
            if (k.column >= 0 && fromRecords_ && fromColumn_[static_cast<std::size_t>(k.column)])
                appendSortKey(eval(plan_.columns[static_cast<std::size_t>(k.column)].expr, ctx),
                              specs_[spec++]);
            else if (k.column >= 0)
                appendOutputKey(row, static_cast<std::size_t>(k.column), specs_[spec++]);
            else
                appendSortKey(eval(k.expr, ctx), specs_[spec++]);
        }
        if (groupValues)
            for (const Value& v : *groupValues)
                appendSortKey(v, specs_[spec++]);
        if (plan_.distinct)
            for (std::size_t c = 0; c < plan_.columns.size(); ++c)
                appendOutputKey(row, c, specs_[spec++]);
        tieBreak(ctx);
    }

    // A text column goes from the record into the rows through one reused string.
    void appendValue(const Node& e, const EvalContext& ctx) {
        if (e.kind == Node::Kind::Column && fieldType(e) == FieldType::Alpha) {
            const FieldIn in = fieldIn(ctx, e.table, e.field);
            const RecordCodec& codec =
                plan_.tables[static_cast<std::size_t>(e.table)].file->codec();
            const auto size =
                static_cast<std::size_t>(codec.fields()[static_cast<std::size_t>(e.field)].size);
            if (in.record.empty())
                return out_.appendNull();
            if (in.offset + size <= in.record.size()) {
                if (codec.text().decodeField(in.record.subspan(in.offset, size), text_))
                    return out_.appendText(text_);
                return out_.appendNull();
            }
        }
        out_.append(eval(e, ctx));
    }

    void appendSortKey(const Value& v, const SortSpec& spec) {
        if (const auto* s = std::get_if<std::string>(&v))
            return keys_.appendText(encoded(*s, spec.order.codePage));
        keys_.append(v);
    }

    void appendOutputKey(std::size_t row, std::size_t column, const SortSpec& spec) {
        if (const auto text = out_.text(row, column))
            return keys_.appendText(encoded(*text, spec.order.codePage));
        keys_.append(out_.value(row, column));
    }

    void update(const AggSpec& spec, const KeyPart& part, AggState& s, const EvalContext& ctx) {
        if (spec.star) {
            ++s.count;
            return;
        }
        if (spec.distinct) {
            distinctKey_.clear();
            if (!appendKey(part, ctx, distinctKey_) || !s.seen.insert(distinctKey_).second)
                return;
        } else if (spec.func == AggFunc::Count && part.encoding != Encoding::Decoded) {
            distinctKey_.clear();
            if (appendKey(part, ctx, distinctKey_))
                ++s.count;
            return;
        }
        Value v = eval(spec.arg, ctx);
        if (isBlank(v))
            return;
        switch (spec.func) {
        case AggFunc::Count:
            ++s.count;
            break;
        case AggFunc::Sum:
        case AggFunc::Avg:
            if (const auto n = numberOf(v)) {
                s.sum += *n;
                ++s.count;
            }
            break;
        case AggFunc::Min:
        case AggFunc::Max: {
            const auto c =
                isNull(s.best) ? std::optional<int>() : compareInOrder(v, s.best, spec.order);
            if (isNull(s.best) || (c && (spec.func == AggFunc::Min ? *c < 0 : *c > 0)))
                s.best = std::move(v);
            break;
        }
        }
    }

    // Text in the collation of its table, other values by value.
    std::optional<int> compareInOrder(const Value& a, const Value& b,
                                      const TextOrder& order) const {
        const auto* sa = std::get_if<std::string>(&a);
        const auto* sb = std::get_if<std::string>(&b);
        if (!sa || !sb || !order.collation)
            return compareValues(a, b);
        const std::string ea = encoded(*sa, order.codePage), eb = encoded(*sb, order.codePage);
        return compareKey(isBlank(a), isBlank(b), ea, eb, {order, false});
    }

    static Value finish(const AggSpec& spec, const AggState& s) {
        switch (spec.func) {
        case AggFunc::Count:
            return static_cast<std::int32_t>(s.count);
        case AggFunc::Sum:
            return s.count ? Value(s.sum) : Value(Null{});
        case AggFunc::Avg:
            return s.count ? Value(s.sum / static_cast<double>(s.count)) : Value(Null{});
        default:
            return s.best;
        }
    }

    void finishGroups() {
        std::vector<Value> finished(plan_.aggs.size());
        for (const Group& g : groups_) {
            for (std::size_t a = 0; a < plan_.aggs.size(); ++a)
                finished[a] = finish(plan_.aggs[a], g.states[a]);
            EvalContext ctx = context(g.row.data());
            if (!g.driverRecord.empty()) {
                ctx.scanSlot = driverSlot_;
                ctx.scanRecord = g.driverRecord;
                ctx.scanKept = g.driverKept;
            }
            ctx.aggs = &finished;
            if (plan_.having && !holds(*plan_.having, ctx))
                continue;
            project(ctx, &g.key);
        }
    }

    // --- DISTINCT and ORDER BY ------------------------------------------------------------
    // The numbers of the output rows in their order: the first of equal rows for
    // DISTINCT, sorted by their keys.
    std::vector<std::uint32_t> sortedRows() const {
        std::vector<std::uint32_t> order;
        if (plan_.distinct) {
            std::unordered_set<Key, KeyHash> seen;
            for (std::size_t r = 0; r < out_.size(); ++r) {
                Key key;
                for (std::size_t c = 0; c < out_.width(); ++c)
                    key.push_back(keyOf(out_.value(r, c)));
                if (seen.insert(std::move(key)).second)
                    order.push_back(static_cast<std::uint32_t>(r));
            }
        } else {
            order.resize(out_.size());
            std::iota(order.begin(), order.end(), 0u);
        }
        if (!specs_.empty() && !sortByWords(order))
            std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
                for (std::size_t i = 0; i < specs_.size(); ++i) {
                    const int c = compareSortKeys(a, b, i);
                    if (c != 0)
                        return specs_[i].descending ? c > 0 : c < 0;
                }
                const std::size_t n = tieSlots_.size();
                return std::lexicographical_compare(
                    ties_.begin() + static_cast<std::ptrdiff_t>(a * n),
                    ties_.begin() + static_cast<std::ptrdiff_t>(a * n + n),
                    ties_.begin() + static_cast<std::ptrdiff_t>(b * n),
                    ties_.begin() + static_cast<std::ptrdiff_t>(b * n + n));
            });
        return order;
    }

    // ORDER BY through a row of whole numbers per output row, compared in turn: for each
    // key a number's bits made to order (two words) or a text's rank in the collation (one
    // word), blank as 0 and inverted when descending, then the row's ties, then its number,
    // so that no two rows are equal and a plain sort keeps equal rows in their order. A
    // text is collated once per distinct value instead of on every comparison. False,
    // `order` untouched, when a key column holds values that only compare by value
    // (several kinds, logical values, text without a collation).
    bool sortByWords(std::vector<std::uint32_t>& order) const {
        std::vector<char> byText(specs_.size(), 0);
        for (std::size_t key = 0; key < specs_.size(); ++key)
            for (const std::uint32_t r : order) {
                if (keys_.isBlank(r, key) || keys_.number(r, key))
                    continue;
                if (!specs_[key].order.collation || !keys_.text(r, key))
                    return false;
                byText[key] = 1;
            }
        std::size_t width = tieSlots_.size() + 1;
        for (const char text : byText)
            width += text ? 1 : 2;
        std::vector<std::uint32_t> words(order.size() * width);
        std::size_t at = 0;
        for (std::size_t key = 0; key < specs_.size(); ++key) {
            const std::uint32_t flip = specs_[key].descending ? ~0u : 0u;
            if (byText[key]) {
                const std::vector<std::uint32_t> ranks = textRanks(key, order);
                for (std::size_t i = 0; i < order.size(); ++i)
                    words[i * width + at] = ranks[i] ^ flip;
                ++at;
                continue;
            }
            for (std::size_t i = 0; i < order.size(); ++i) {
                std::uint64_t bits = 0; // blank
                if (const auto n = keys_.number(order[i], key)) {
                    bits = std::bit_cast<std::uint64_t>(*n == 0 ? 0.0 : *n);
                    bits = bits >> 63 ? ~bits : bits | 1ull << 63;
                }
                words[i * width + at] = static_cast<std::uint32_t>(bits >> 32) ^ flip;
                words[i * width + at + 1] = static_cast<std::uint32_t>(bits) ^ flip;
            }
            at += 2;
        }
        const std::size_t ties = tieSlots_.size();
        for (std::size_t i = 0; i < order.size(); ++i) {
            std::uint32_t* row = &words[i * width + at];
            std::copy_n(ties_.begin() + static_cast<std::ptrdiff_t>(order[i] * ties), ties, row);
            row[ties] = order[i];
        }
        std::vector<std::uint32_t> rows(order.size());
        std::iota(rows.begin(), rows.end(), 0u);
        std::sort(rows.begin(), rows.end(), [&](std::uint32_t a, std::uint32_t b) {
            const std::uint32_t* x = &words[a * width];
            const std::uint32_t* y = &words[b * width];
            return std::lexicographical_compare(x, x + width, y, y + width);
        });
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] = words[rows[i] * width + width - 1];
        order = std::move(rows);
        return true;
    }

    // The ranks of a text key's values in the collation, one per row of `order`: 0 for a
    // blank, equal texts one rank.
    std::vector<std::uint32_t> textRanks(std::size_t key,
                                         const std::vector<std::uint32_t>& order) const {
        std::unordered_map<std::string_view, std::uint32_t> ids;
        std::vector<std::uint32_t> idOfRow(order.size(), kNoRow);
        for (std::size_t i = 0; i < order.size(); ++i)
            if (!keys_.isBlank(order[i], key))
                idOfRow[i] = ids.try_emplace(*keys_.text(order[i], key),
                                             static_cast<std::uint32_t>(ids.size()))
                                 .first->second;
        // Each distinct text's collation key, in one buffer.
        std::string bytes;
        std::vector<std::size_t> ends(ids.size() + 1, 0);
        std::vector<std::string_view> texts(ids.size());
        for (const auto& [text, id] : ids)
            texts[id] = text;
        ids = {}; // its room goes before the collation keys take theirs
        for (std::size_t id = 0; id < texts.size(); ++id) {
            specs_[key].order.collation->appendSortKey(
                std::span(reinterpret_cast<const std::uint8_t*>(texts[id].data()),
                          texts[id].size()),
                false, bytes);
            ends[id + 1] = bytes.size();
        }
        const auto collated = [&](std::uint32_t id) {
            return std::string_view(bytes).substr(ends[id], ends[id + 1] - ends[id]);
        };
        std::vector<std::uint32_t> sorted(texts.size());
        std::iota(sorted.begin(), sorted.end(), 0u);
        std::sort(sorted.begin(), sorted.end(),
                  [&](std::uint32_t a, std::uint32_t b) { return collated(a) < collated(b); });
        std::vector<std::uint32_t> rankOf(texts.size());
        std::uint32_t rank = 0;
        for (std::size_t k = 0; k < sorted.size(); ++k) {
            if (k == 0 || collated(sorted[k - 1]) != collated(sorted[k]))
                ++rank;
            rankOf[sorted[k]] = rank;
        }
        for (std::uint32_t& id : idOfRow)
            id = id == kNoRow ? 0 : rankOf[id];
        return idOfRow;
    }

    std::vector<SortSpec> sortSpecs() const {
        std::vector<SortSpec> specs;
        for (const SortKey& k : plan_.orderBy)
            specs.push_back({k.order, k.descending});
        if (plan_.aggregated)
            for (const TextOrder& o : plan_.groupOrders)
                specs.push_back({o, false});
        if (plan_.distinct)
            for (const OutputColumn& c : plan_.columns)
                specs.push_back({columnOrder(c), false});
        return specs;
    }

    TextOrder columnOrder(const OutputColumn& c) const {
        if (c.expr.kind == Node::Kind::Column) {
            const TableSlot& t = plan_.tables[static_cast<std::size_t>(c.expr.table)];
            return {t.collation.get(), t.file->codec().codePage()};
        }
        return {plan_.defaultCollation.get(), 1250};
    }

    // Text turned into the code page's bytes once, for the collation to compare: through
    // the codec of a table of that code page (its own tables, no conversion library),
    // else the system's conversion. Text that cannot be turned stays UTF-8 and compares
    // by its bytes.
    std::string encoded(std::string_view text, int codePage) const {
        const auto table =
            std::find_if(plan_.tables.begin(), plan_.tables.end(), [&](const TableSlot& t) {
                return t.file && t.file->codec().codePage() == codePage;
            });
        try {
            return table != plan_.tables.end() ? table->file->codec().text().encode(text)
                                               : sys::fromUtf8(text, codePage);
        } catch (const std::exception&) {
            return std::string(text);
        }
    }

    // Blank values first, encoded texts in the collation; nullopt: compare by value.
    static std::optional<int> compareKey(bool blankA, bool blankB,
                                         std::optional<std::string_view> textA,
                                         std::optional<std::string_view> textB,
                                         const SortSpec& spec) {
        if (blankA || blankB)
            return blankA == blankB ? 0 : (blankA ? -1 : 1);
        if (textA && textB && spec.order.collation) {
            const auto bytes = [](std::string_view s) {
                return std::span(reinterpret_cast<const std::uint8_t*>(s.data()), s.size());
            };
            return spec.order.collation->compare(bytes(*textA), bytes(*textB));
        }
        return std::nullopt;
    }

    int compareSortKeys(std::uint32_t a, std::uint32_t b, std::size_t key) const {
        if (const auto x = keys_.number(a, key))
            if (const auto y = keys_.number(b, key))
                return (*x > *y) - (*x < *y);
        const SortSpec& spec = specs_[key];
        const bool byText = spec.order.collation != nullptr;
        if (const auto c = compareKey(keys_.isBlank(a, key), keys_.isBlank(b, key),
                                      byText ? keys_.text(a, key) : std::nullopt,
                                      byText ? keys_.text(b, key) : std::nullopt, spec))
            return *c;
        return compareValues(keys_.value(a, key), keys_.value(b, key)).value_or(0);
    }

    BoundSelect& plan_;
    std::size_t width_;
    const RowBatchSink* sink_ = nullptr; // rows go there instead of into the result
    bool streaming_ = false;             // ... as they come
    mutable std::size_t peakHeld_ = 0;
    std::uint64_t nullableMask_ = 0;
    int driverSlot_ = -1;
    std::uint32_t driverOrdinal_ = 0; // the driver's record being joined, in file order
    std::vector<int> tieSlots_;       // see driveByLargest; empty: the rows come in order
    std::vector<std::uint32_t> ties_; // per output row, its records' places (tieBreak)
    std::vector<std::vector<ScanFilter>> scanFilters_; // per slot, its table's conditions
    std::vector<KeyPart> groupKeys_;
    std::vector<KeyPart> aggKeys_; // per aggregate: its argument's key part
    std::vector<SortSpec> specs_;  // of the output rows' order
    // The sink's state: the output rows, and a row of sort keys for each.
    ResultRows out_, keys_;
    std::string text_; // reused for a text on its way to the rows
    // Output columns read from records (see chooseColumnsFromRecords): per slot the
    // copies of the fields they read, and where those fields lie in the file's records.
    bool fromRecords_ = false;
    std::vector<char> fromColumn_;
    std::vector<std::optional<KeptRecords>> read_;
    std::vector<std::vector<std::size_t>> fileOffsets_;
    std::vector<std::uint32_t> rowRecords_;
    bool copied_ = false; // a driver's record streamed was copied: the last one, and its copy
    std::uint32_t copiedOrdinal_ = 0, copiedRecord_ = 0;
    std::vector<Group> groups_;
    KeyMap<std::uint32_t> groupIndex_;
    bool seenRow_ = false;
    std::string groupKey_, distinctKey_, offerKey_; // reused buffers
};

} // namespace

ResultSet runSelect(BoundSelect& plan) {
    return Executor(plan, nullptr).run();
}

void runSelect(BoundSelect& plan, const RowBatchSink& sink, RunMeasure* measure) {
    Executor executor(plan, &sink);
    executor.run();
    if (measure)
        measure->peakRowsHeld = executor.peakRowsHeld();
}

} // namespace db::sql
