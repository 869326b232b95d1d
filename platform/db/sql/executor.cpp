// Running a bound SELECT: filtered scans, hash joins on equality conditions (nested
// loops otherwise), hash aggregation, DISTINCT, ordering.

#include "platform/db/sql/bound.h"
#include "platform/db/sql/values.h"
#include "platform/sys/codepage.h"

#include <algorithm>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

namespace db::sql {

namespace {

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

struct AggState {
    std::int64_t count = 0;
    double sum = 0;
    Value best;
    std::unordered_set<Value, ValueHash> seen;
};

struct Group {
    std::vector<std::uint32_t> row; // a representative joined row
    std::vector<AggState> states;
    Key key;
};

struct OutRow {
    Record values;
    Key sortKeys;
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

class Executor {
public:
    explicit Executor(BoundSelect& plan) : plan_(plan), width_(plan.tables.size()) {
        for (const TableSlot& t : plan_.tables)
            if (t.nullable)
                nullableMask_ |= 1ull << (&t - plan_.tables.data());
    }

    ResultSet run() {
        for (std::size_t i = 0; i < plan_.tables.size(); ++i)
            scan(plan_.tables[i], static_cast<int>(i));
        const Relation all = joinAll();
        std::vector<OutRow> out = plan_.aggregated ? aggregate(all) : project(all);
        if (plan_.distinct)
            removeDuplicates(out);
        sortRows(out);
        ResultSet result;
        for (const OutputColumn& c : plan_.columns)
            result.columns.push_back(c.def);
        result.rows.reserve(out.size());
        for (OutRow& r : out)
            result.rows.push_back(std::move(r.values));
        return result;
    }

private:
    EvalContext context(const std::uint32_t* row) const {
        EvalContext ctx;
        ctx.tables = &plan_.tables;
        ctx.rows = row;
        return ctx;
    }

    std::size_t rowCount(const Relation& r) const { return width_ ? r.rows.size() / width_ : 0; }
    const std::uint32_t* rowAt(const Relation& r, std::size_t i) const {
        return r.rows.data() + i * width_;
    }

    // --- scans ------------------------------------------------------------------------
    void scan(TableSlot& t, int slot) {
        EvalContext ctx = context(nullptr);
        ctx.scanSlot = slot;
        t.file->scan([&](RecordPos, std::span<const std::uint8_t> raw) {
            ctx.scanRecord = raw;
            for (const Node& f : t.filters)
                if (!holds(f, ctx))
                    return true;
            t.raw.insert(t.raw.end(), raw.begin(), raw.end());
            ++t.count;
            return true;
        });
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
        for (std::size_t i = 0; i < rowCount(r); ++i) {
            const EvalContext ctx = context(rowAt(r, i));
            if (std::all_of(conditions.begin(), conditions.end(),
                            [&](const Node* c) { return holds(*c, ctx); }))
                kept.insert(kept.end(), rowAt(r, i), rowAt(r, i) + width_);
        }
        r.rows = std::move(kept);
    }

    // --- joins ------------------------------------------------------------------------
    FieldType fieldType(const Node& column) const {
        return plan_.tables[static_cast<std::size_t>(column.table)]
            .file->fields()[static_cast<std::size_t>(column.field)]
            .type;
    }

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

    // The key of one side's row; nullopt when a part is NULL (it matches nothing).
    std::optional<Key> keyOfRow(const std::vector<const Node*>& exprs,
                                const std::uint32_t* row) const {
        Key key;
        key.reserve(exprs.size());
        const EvalContext ctx = context(row);
        for (const Node* e : exprs) {
            Value v = eval(*e, ctx);
            if (isBlank(v))
                return std::nullopt;
            key.push_back(keyOf(v));
        }
        return key;
    }

    // A row of one side alone: the other side's slots are NULL-filled already.
    static void emitAlone(Relation& out, const std::uint32_t* row, std::size_t width) {
        out.rows.insert(out.rows.end(), row, row + width);
    }

    Relation join(const Relation& left, const Relation& right, JoinType type,
                  const std::vector<const Node*>& conditions) const {
        std::vector<const Node*> leftKeys, rightKeys, residual;
        for (const Node* c : conditions) {
            if (const auto pair = equiPair(*c, left.mask, right.mask)) {
                leftKeys.push_back(pair->left);
                rightKeys.push_back(pair->right);
            } else {
                residual.push_back(c);
            }
        }
        // Right side hashed on its key (or one bucket of every row for a nested loop).
        std::unordered_map<Key, std::vector<std::uint32_t>, KeyHash> buckets;
        const std::size_t rightRows = rowCount(right);
        for (std::size_t j = 0; j < rightRows; ++j)
            if (auto key = keyOfRow(rightKeys, rowAt(right, j)))
                buckets[std::move(*key)].push_back(static_cast<std::uint32_t>(j));

        Relation out;
        out.mask = left.mask | right.mask;
        std::vector<char> rightMatched(rightRows, 0);
        std::vector<std::uint32_t> combined(width_);
        for (std::size_t i = 0; i < rowCount(left); ++i) {
            const std::uint32_t* l = rowAt(left, i);
            bool matched = false;
            const auto key = keyOfRow(leftKeys, l);
            const auto bucket = key ? buckets.find(*key) : buckets.end();
            if (bucket != buckets.end()) {
                for (const std::uint32_t j : bucket->second) {
                    const std::uint32_t* r = rowAt(right, j);
                    for (std::size_t s = 0; s < width_; ++s)
                        combined[s] = (right.mask >> s & 1) ? r[s] : l[s];
                    const EvalContext ctx = context(combined.data());
                    if (!std::all_of(residual.begin(), residual.end(),
                                     [&](const Node* c) { return holds(*c, ctx); }))
                        continue;
                    out.rows.insert(out.rows.end(), combined.begin(), combined.end());
                    matched = true;
                    rightMatched[j] = 1;
                }
            }
            if (!matched && (type == JoinType::Left || type == JoinType::Full))
                emitAlone(out, l, width_);
        }
        if (type == JoinType::Right || type == JoinType::Full)
            for (std::size_t j = 0; j < rightRows; ++j)
                if (!rightMatched[j])
                    emitAlone(out, rowAt(right, j), width_);
        return out;
    }

    Relation execute(const PlanNode& p) const {
        if (!p.isJoin)
            return base(p.slot);
        const Relation left = execute(*p.left);
        const Relation right = execute(*p.right);
        std::vector<const Node*> on;
        for (const Node& c : p.on)
            on.push_back(&c);
        return join(left, right, p.type, on);
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

    bool connected(const Relation& a, const Relation& b, const std::vector<char>& used) const {
        for (std::size_t i = 0; i < plan_.where.size(); ++i)
            if (!used[i] && (tablesOf(plan_.where[i]) & nullableMask_) == 0 &&
                equiPair(plan_.where[i], a.mask, b.mask))
                return true;
        return false;
    }

    // The comma-separated entries joined in order, each time preferring the next entry
    // that an equality in WHERE connects to what is joined so far.
    Relation joinAll() const {
        std::vector<char> used(plan_.where.size(), 0);
        std::vector<Relation> items;
        for (const PlanNode& p : plan_.from) {
            items.push_back(execute(p));
            filter(items.back(), takeCovered(items.back().mask, used));
        }
        Relation current = std::move(items.front());
        std::vector<std::size_t> rest(items.size() - 1);
        std::iota(rest.begin(), rest.end(), 1);
        while (!rest.empty()) {
            auto next = std::find_if(rest.begin(), rest.end(), [&](std::size_t k) {
                return connected(current, items[k], used);
            });
            if (next == rest.end())
                next = rest.begin();
            const Relation& other = items[*next];
            const auto conditions = takeCovered(current.mask | other.mask, used);
            current = join(current, other, JoinType::Inner, conditions);
            rest.erase(next);
        }
        std::vector<const Node*> remaining;
        for (std::size_t i = 0; i < plan_.where.size(); ++i)
            if (!used[i])
                remaining.push_back(&plan_.where[i]);
        filter(current, remaining);
        return current;
    }

    // --- projection and aggregation ---------------------------------------------------
    Key sortValues(const Record& values, const EvalContext& ctx) const {
        Key keys;
        for (const SortKey& k : plan_.orderBy)
            keys.push_back(k.column >= 0 ? values[static_cast<std::size_t>(k.column)]
                                         : eval(k.expr, ctx));
        return keys;
    }

    OutRow outputRow(const EvalContext& ctx) const {
        OutRow r;
        r.values.reserve(plan_.columns.size());
        for (const OutputColumn& c : plan_.columns)
            r.values.push_back(eval(c.expr, ctx));
        r.sortKeys = sortValues(r.values, ctx);
        return r;
    }

    std::vector<OutRow> project(const Relation& rel) const {
        std::vector<OutRow> out;
        out.reserve(rowCount(rel));
        for (std::size_t i = 0; i < rowCount(rel); ++i)
            out.push_back(outputRow(context(rowAt(rel, i))));
        return out;
    }

    void update(const AggSpec& spec, AggState& s, const EvalContext& ctx) const {
        if (spec.star) {
            ++s.count;
            return;
        }
        Value v = eval(spec.arg, ctx);
        if (isBlank(v))
            return;
        if (spec.distinct && !s.seen.insert(keyOf(v)).second)
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
    static std::optional<int> compareInOrder(const Value& a, const Value& b,
                                             const TextOrder& order) {
        const auto* sa = std::get_if<std::string>(&a);
        const auto* sb = std::get_if<std::string>(&b);
        if (!sa || !sb || !order.collation)
            return compareValues(a, b);
        Key pair{*sa, *sb};
        encodeTexts(pair, {{order, false}, {order, false}});
        return compareKey(pair[0], pair[1], {order, false});
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

    std::vector<OutRow> aggregate(const Relation& rel) const {
        std::vector<Group> groups;
        std::unordered_map<Key, std::uint32_t, KeyHash> index;
        if (plan_.groupBy.empty())
            groups.push_back({std::vector<std::uint32_t>(width_, kNoRow),
                              std::vector<AggState>(plan_.aggs.size()),
                              {}});
        for (std::size_t i = 0; i < rowCount(rel); ++i) {
            const std::uint32_t* row = rowAt(rel, i);
            const EvalContext ctx = context(row);
            Group* g = nullptr;
            if (plan_.groupBy.empty()) {
                g = &groups.front();
                if (i == 0)
                    g->row.assign(row, row + width_);
            } else {
                Key key;
                for (const Node& e : plan_.groupBy)
                    key.push_back(keyOf(eval(e, ctx)));
                const auto [it, added] =
                    index.try_emplace(key, static_cast<std::uint32_t>(groups.size()));
                if (added)
                    groups.push_back({std::vector<std::uint32_t>(row, row + width_),
                                      std::vector<AggState>(plan_.aggs.size()), std::move(key)});
                g = &groups[it->second];
            }
            for (std::size_t a = 0; a < plan_.aggs.size(); ++a)
                update(plan_.aggs[a], g->states[a], ctx);
        }
        std::vector<OutRow> out;
        std::vector<Value> finished(plan_.aggs.size());
        for (const Group& g : groups) {
            for (std::size_t a = 0; a < plan_.aggs.size(); ++a)
                finished[a] = finish(plan_.aggs[a], g.states[a]);
            EvalContext ctx = context(g.row.data());
            ctx.aggs = &finished;
            if (plan_.having && !holds(*plan_.having, ctx))
                continue;
            OutRow r = outputRow(ctx);
            // Grouped rows come in the order of their group values after ORDER BY.
            r.sortKeys.insert(r.sortKeys.end(), g.key.begin(), g.key.end());
            out.push_back(std::move(r));
        }
        return out;
    }

    // --- DISTINCT and ORDER BY ------------------------------------------------------------
    void removeDuplicates(std::vector<OutRow>& rows) const {
        std::unordered_set<Key, KeyHash> seen;
        std::vector<OutRow> kept;
        for (OutRow& r : rows) {
            Key key;
            for (const Value& v : r.values)
                key.push_back(keyOf(v));
            if (!seen.insert(std::move(key)).second)
                continue;
            // DISTINCT rows come in the order of all their columns after ORDER BY.
            r.sortKeys.insert(r.sortKeys.end(), r.values.begin(), r.values.end());
            kept.push_back(std::move(r));
        }
        rows = std::move(kept);
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

    // Text turned into the code page's bytes once, for the collation to compare.
    static void encodeTexts(Key& keys, const std::vector<SortSpec>& specs) {
        for (std::size_t i = 0; i < keys.size() && i < specs.size(); ++i) {
            auto* s = std::get_if<std::string>(&keys[i]);
            if (!s)
                continue;
            try {
                *s = sys::fromUtf8(*s, specs[i].order.codePage);
            } catch (const std::exception&) {
                // Left as UTF-8: compares by its bytes.
            }
        }
    }

    static int compareKey(const Value& a, const Value& b, const SortSpec& spec) {
        const bool na = isBlank(a), nb = isBlank(b);
        if (na || nb)
            return na == nb ? 0 : (na ? -1 : 1);
        const auto* sa = std::get_if<std::string>(&a);
        const auto* sb = std::get_if<std::string>(&b);
        if (sa && sb && spec.order.collation) {
            const auto bytes = [](const std::string* s) {
                return std::span(reinterpret_cast<const std::uint8_t*>(s->data()), s->size());
            };
            return spec.order.collation->compare(bytes(sa), bytes(sb));
        }
        return compareValues(a, b).value_or(0);
    }

    void sortRows(std::vector<OutRow>& rows) const {
        const std::vector<SortSpec> specs = sortSpecs();
        if (specs.empty())
            return;
        for (OutRow& r : rows)
            encodeTexts(r.sortKeys, specs);
        std::stable_sort(rows.begin(), rows.end(), [&](const OutRow& a, const OutRow& b) {
            for (std::size_t i = 0; i < specs.size() && i < a.sortKeys.size(); ++i) {
                const int c = compareKey(a.sortKeys[i], b.sortKeys[i], specs[i]);
                if (c != 0)
                    return specs[i].descending ? c > 0 : c < 0;
            }
            return false;
        });
    }

    BoundSelect& plan_;
    std::size_t width_;
    std::uint64_t nullableMask_ = 0;
};

} // namespace

ResultSet runSelect(BoundSelect& plan) {
    return Executor(plan).run();
}

} // namespace db::sql
