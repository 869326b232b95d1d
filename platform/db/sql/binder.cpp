// Binding: tables opened and named, columns resolved, parameters filled in, result
// columns typed and named, and conditions pushed down to the scans they belong to.

#include "platform/db/header.h"
#include "platform/db/sql/bound.h"
#include "platform/db/sql/lexer.h"
#include "platform/db/sql/values.h"
#include "platform/sys/text.h"

#include <bit>
#include <set>
#include <tuple>

namespace db::sql {

namespace {

constexpr std::size_t kMaxTables = 64; // slots are bits of a mask

FieldDef makeDef(std::string name, FieldType type, int size = 0) {
    return {std::move(name), type, storedSize(type, size), 0};
}

std::string withoutDb(std::string name) {
    if (name.size() > 3 && sys::equalsNoCase(std::string_view(name).substr(name.size() - 3), ".db"))
        name.resize(name.size() - 3);
    return name;
}

// Conjuncts of an AND chain.
void splitAnd(Node node, std::vector<Node>& out) {
    if (node.kind == Node::Kind::Binary && node.op == BinOp::And) {
        splitAnd(std::move(node.kids[0]), out);
        splitAnd(std::move(node.kids[1]), out);
        return;
    }
    out.push_back(std::move(node));
}

class Binder {
public:
    Binder(std::string_view text, Session& session, const std::map<std::string, Value>& params,
           BoundSelect& plan, bool layoutOnly)
        : text_(text), session_(session), params_(params), plan_(plan), layoutOnly_(layoutOnly) {}

    void bind(const SelectStmt& s) {
        plan_.distinct = s.distinct;
        for (const FromNode& f : s.from)
            plan_.from.push_back(openFrom(f));
        plan_.defaultCollation = collation(1250, sortOrderForDriver("anhundc"));
        for (PlanNode& p : plan_.from)
            markNullable(p, false);
        for (PlanNode& p : plan_.from)
            bindJoinConditions(p, s.from[static_cast<std::size_t>(&p - plan_.from.data())]);
        if (s.where)
            pushWhere(bindCondition(*s.where, false));
        for (const SelectItem& item : s.items)
            bindItem(item);
        nameColumns();
        for (const Expr& g : s.groupBy) {
            plan_.groupBy.push_back(bindExpr(g, false));
            plan_.groupOrders.push_back(orderOf(plan_.groupBy.back()));
        }
        if (s.having)
            plan_.having = bindCondition(*s.having, true);
        for (const OrderItem& o : s.orderBy)
            plan_.orderBy.push_back(bindOrder(o));
        plan_.aggregated = !plan_.groupBy.empty() || !plan_.aggs.empty();
        if (plan_.aggregated)
            checkGrouped(s);
    }

private:
    [[noreturn]] void fail(std::size_t at, const std::string& what) const {
        failAt(text_, at, what);
    }

    // One collation per code page and sort order (building one takes a while): a table's
    // own when one of the tables has that order.
    std::shared_ptr<const Collation> collation(int codePage, std::uint8_t sortOrder) {
        for (const auto& [page, order, made] : collations_)
            if (page == codePage && order == sortOrder)
                return made;
        auto made = std::make_shared<const Collation>(codePage, sortOrder);
        collations_.emplace_back(codePage, sortOrder, made);
        return made;
    }

    // --- FROM -------------------------------------------------------------------------
    PlanNode openFrom(const FromNode& f) {
        PlanNode p;
        if (f.isJoin) {
            p.isJoin = true;
            p.type = f.type;
            p.left = std::make_unique<PlanNode>(openFrom(*f.left));
            p.right = std::make_unique<PlanNode>(openFrom(*f.right));
            p.mask = p.left->mask | p.right->mask;
            return p;
        }
        if (plan_.tables.size() >= kMaxTables)
            fail(f.begin, "túl sok tábla (legfeljebb " + std::to_string(kMaxTables) + ")");
        const std::string name = withoutDb(f.table);
        if (!session_.exists(name))
            fail(f.begin, "nincs '" + f.table + "' nevű tábla");
        TableSlot slot;
        if (layoutOnly_) {
            slot.layout = session_.layout(name);
            slot.file = slot.layout.get();
        } else {
            slot.shared = session_.open(name);
            slot.file = &slot.shared->file();
        }
        slot.name = name;
        slot.alias = f.alias;
        // The table's own collation, kept while the slot holds the table.
        slot.collation =
            slot.shared ? std::shared_ptr<const Collation>(slot.shared, &slot.file->collation())
                        : std::shared_ptr<const Collation>(slot.layout, &slot.file->collation());
        collations_.emplace_back(slot.file->codec().codePage(), slot.file->header().sortOrder,
                                 slot.collation);
        p.slot = static_cast<int>(plan_.tables.size());
        p.mask = 1ull << p.slot;
        plan_.tables.push_back(std::move(slot));
        return p;
    }

    void markNullable(PlanNode& p, bool nullable) {
        if (!p.isJoin) {
            plan_.tables[static_cast<std::size_t>(p.slot)].nullable = nullable;
            return;
        }
        const bool full = p.type == JoinType::Full;
        markNullable(*p.left, nullable || full || p.type == JoinType::Right);
        markNullable(*p.right, nullable || full || p.type == JoinType::Left);
    }

    // ON conjuncts that read one side only go to that side's scan when it is a table
    // and the join keeps only its matching rows.
    void bindJoinConditions(PlanNode& p, const FromNode& f) {
        if (!p.isJoin)
            return;
        bindJoinConditions(*p.left, *f.left);
        bindJoinConditions(*p.right, *f.right);
        std::vector<Node> conjuncts;
        splitAnd(bindCondition(*f.on, false), conjuncts);
        for (Node& c : conjuncts) {
            const std::uint64_t mask = tablesOf(c);
            const bool toRight = mask && (mask & ~p.right->mask) == 0 && !p.right->isJoin &&
                                 (p.type == JoinType::Inner || p.type == JoinType::Left);
            const bool toLeft = mask && (mask & ~p.left->mask) == 0 && !p.left->isJoin &&
                                (p.type == JoinType::Inner || p.type == JoinType::Right);
            if (toRight)
                plan_.tables[static_cast<std::size_t>(p.right->slot)].filters.push_back(
                    std::move(c));
            else if (toLeft)
                plan_.tables[static_cast<std::size_t>(p.left->slot)].filters.push_back(
                    std::move(c));
            else
                p.on.push_back(std::move(c));
        }
    }

    // WHERE conjuncts on one table that an outer join does not fill with NULLs are
    // checked while scanning it.
    void pushWhere(Node where) {
        std::vector<Node> conjuncts;
        splitAnd(std::move(where), conjuncts);
        for (Node& c : conjuncts) {
            const std::uint64_t mask = tablesOf(c);
            if (std::popcount(mask) == 1) {
                TableSlot& t = plan_.tables[static_cast<std::size_t>(std::countr_zero(mask))];
                if (!t.nullable) {
                    t.filters.push_back(std::move(c));
                    continue;
                }
            }
            plan_.where.push_back(std::move(c));
        }
    }

    // --- columns ----------------------------------------------------------------------
    bool slotNamed(const TableSlot& t, const std::string& q, bool byAlias) const {
        if (byAlias)
            return !t.alias.empty() && sys::equalsNoCase(t.alias, q);
        return sys::equalsNoCase(t.name, withoutDb(q));
    }

    // A qualifier names an alias, else a table without alias, else any table of that name.
    int findQualifier(const Expr& e) const {
        for (int pass = 0; pass < 3; ++pass) {
            for (std::size_t i = 0; i < plan_.tables.size(); ++i) {
                const TableSlot& t = plan_.tables[i];
                if (pass == 1 && !t.alias.empty())
                    continue;
                if (slotNamed(t, e.qualifier, pass == 0))
                    return static_cast<int>(i);
            }
        }
        fail(e.begin, "nincs '" + e.qualifier + "' nevű tábla");
    }

    // An unqualified name that several tables carry means the first table's field.
    Node resolveColumn(const Expr& e) const {
        Node n;
        n.kind = Node::Kind::Column;
        if (!e.qualifier.empty()) {
            n.table = findQualifier(e);
            n.field = plan_.tables[static_cast<std::size_t>(n.table)].file->fieldIndex(e.name);
            if (n.field < 0)
                fail(e.begin, "nincs '" + e.qualifier + "." + e.name + "' nevű mező");
            return n;
        }
        for (std::size_t i = 0; i < plan_.tables.size(); ++i) {
            const int field = plan_.tables[i].file->fieldIndex(e.name);
            if (field >= 0) {
                n.table = static_cast<int>(i);
                n.field = field;
                return n;
            }
        }
        fail(e.begin, "nincs '" + e.name + "' nevű mező");
    }

    Value paramValue(const Expr& e) const {
        for (const auto& [name, value] : params_)
            if (sys::equalsNoCase(name, e.name))
                return value;
        fail(e.begin, "a(z) :" + e.name + " paraméternek nincs értéke");
    }

    Node bindExpr(const Expr& e, bool allowAggregates) {
        Node n;
        switch (e.kind) {
        case ExprKind::Column:
            return resolveColumn(e);
        case ExprKind::Literal:
            n.value = e.value;
            n.emptyText = e.emptyText;
            return n;
        case ExprKind::Param: {
            n.value = paramValue(e);
            const auto* s = std::get_if<std::string>(&n.value);
            n.emptyText = s && s->empty();
            return n;
        }
        case ExprKind::Aggregate:
            return bindAggregate(e, allowAggregates);
        case ExprKind::Negate:
            n.kind = Node::Kind::Negate;
            break;
        case ExprKind::Not:
            n.kind = Node::Kind::Not;
            break;
        case ExprKind::IsNull:
            n.kind = Node::Kind::IsNull;
            n.negated = e.negated;
            break;
        case ExprKind::Binary:
            n.kind = Node::Kind::Binary;
            n.op = e.op;
            break;
        }
        for (const Expr& a : e.args)
            n.kids.push_back(bindExpr(a, allowAggregates));
        if (n.kind == Node::Kind::Binary && isComparison(n.op))
            readConstantsAsFields(e, n);
        checkSorts(e, n);
        return n;
    }

    // A WHERE, HAVING or ON condition: a text never holds, so one is an error.
    Node bindCondition(const Expr& e, bool allowAggregates) {
        Node n = bindExpr(e, allowAggregates);
        if (const Sort s = sortOf(n); s == Sort::Text || s == Sort::Bytes)
            fail(e.begin, "típuseltérés a kifejezésben: " + std::string(sortName(s)) +
                              " nem lehet feltétel");
        return n;
    }

    // --- kinds of values --------------------------------------------------------------
    // What an expression's values are, as far as the statement shows. A comparison, a
    // computation or a condition over values of kinds that never meet is an error naming
    // the place, not a condition that never holds or a column of NULLs.
    enum class Sort { Any, Text, Number, Moment, Time, Flag, Bytes };

    static Sort sortOfField(FieldType t) {
        switch (t) {
        case FieldType::Alpha:
        case FieldType::Memo:
        case FieldType::FmtMemo:
            return Sort::Text;
        case FieldType::Date:
        case FieldType::Timestamp:
            return Sort::Moment;
        case FieldType::Time:
            return Sort::Time;
        case FieldType::Logical:
            return Sort::Flag;
        case FieldType::Blob:
        case FieldType::Graphic:
        case FieldType::Ole:
        case FieldType::Bytes:
            return Sort::Bytes;
        default:
            return Sort::Number;
        }
    }

    Sort sortOf(const Node& n) const {
        switch (n.kind) {
        case Node::Kind::Column:
            return sortOfField(typeOf(n).type);
        case Node::Kind::Const:
            return isNull(n.value) || n.emptyText ? Sort::Any : sortOfField(typeOf(n).type);
        case Node::Kind::AggRef: {
            const AggSpec& a = plan_.aggs[static_cast<std::size_t>(n.agg)];
            if (a.func == AggFunc::Min || a.func == AggFunc::Max)
                return a.star ? Sort::Number : sortOf(a.arg);
            return Sort::Number;
        }
        case Node::Kind::Negate:
            return Sort::Number;
        case Node::Kind::Binary:
            return isComparison(n.op) || n.op == BinOp::And || n.op == BinOp::Or ? Sort::Flag
                                                                                 : Sort::Number;
        default:
            return Sort::Flag;
        }
    }

    // Numbers, dates and times compare and count with each other (a date plus days is
    // a date; a logical field reads as 0 or 1). A text compares with a text, and with a
    // number as the number it reads as (the program joins a code kept as text to one
    // kept as a number); bytes only with bytes.
    static bool numeric(Sort s) {
        return s == Sort::Number || s == Sort::Moment || s == Sort::Time || s == Sort::Flag;
    }
    static bool comparable(Sort a, Sort b) {
        if (a == Sort::Any || b == Sort::Any || a == b)
            return true;
        if (a == Sort::Text || b == Sort::Text)
            return a == Sort::Number || b == Sort::Number;
        return numeric(a) && numeric(b);
    }

    static const char* sortName(Sort s) {
        switch (s) {
        case Sort::Text:
            return "szöveg";
        case Sort::Moment:
            return "dátum";
        case Sort::Time:
            return "időpont";
        case Sort::Flag:
            return "logikai érték";
        case Sort::Bytes:
            return "bináris adat";
        default:
            return "szám";
        }
    }

    void checkSorts(const Expr& e, const Node& n) const {
        const auto mismatch = [&](std::size_t at, const std::string& what) {
            fail(at, "típuseltérés a kifejezésben: " + what);
        };
        if (n.kind == Node::Kind::Negate || (n.kind == Node::Kind::Binary && !isComparison(n.op) &&
                                             n.op != BinOp::And && n.op != BinOp::Or)) {
            for (std::size_t i = 0; i < n.kids.size(); ++i)
                if (const Sort s = sortOf(n.kids[i]); s != Sort::Any && !numeric(s))
                    mismatch(e.args[i].begin,
                             std::string(sortName(s)) + " nem lehet számítás tagja");
            return;
        }
        if (n.kind == Node::Kind::Not ||
            (n.kind == Node::Kind::Binary && (n.op == BinOp::And || n.op == BinOp::Or))) {
            for (std::size_t i = 0; i < n.kids.size(); ++i)
                if (const Sort s = sortOf(n.kids[i]); s == Sort::Text || s == Sort::Bytes)
                    mismatch(e.args[i].begin, std::string(sortName(s)) + " nem lehet feltétel");
            return;
        }
        if (n.kind == Node::Kind::Binary) {
            const Sort a = sortOf(n.kids[0]), b = sortOf(n.kids[1]);
            if (!comparable(a, b))
                mismatch(e.args[1].begin, std::string(sortName(a)) + " és " + sortName(b) +
                                              " nem hasonlítható össze");
        }
    }

    // A literal or parameter compared with a field is read once as the field's kind (a
    // text as a date, a time, a number); one that cannot be read so is an error naming
    // both, not a comparison that never holds.
    void readConstantsAsFields(const Expr& e, Node& n) const {
        for (std::size_t side = 0; side < 2; ++side) {
            const Node& column = n.kids[side];
            Node& constant = n.kids[1 - side];
            if (constant.kind != Node::Kind::Const || constant.emptyText ||
                (column.kind != Node::Kind::Column && !numeric(sortOf(column))))
                continue;
            const FieldDef& field = typeOf(column);
            if (auto read = asKindOf(field.type, constant.value)) {
                constant.value = std::move(*read);
                continue;
            }
            const Expr& written = e.args[1 - side];
            fail(written.begin,
                 constantName(written, constant.value) + " nem olvasható " + kindName(field.type) +
                     "ként " +
                     (column.kind == Node::Kind::Column ? "a(z) " + field.name + " mezőhöz"
                                                        : std::string("a kifejezéshez")));
        }
    }

    std::string constantName(const Expr& e, const Value& value) const {
        const std::string written(text_.substr(e.begin, e.end - e.begin));
        if (e.kind != ExprKind::Param)
            return written;
        const auto* s = std::get_if<std::string>(&value);
        return "a(z) " + written + " paraméter értéke" + (s ? " ('" + *s + "')" : std::string());
    }

    // The kind a constant could not be read as (a field's kind that reads constants).
    static std::string kindName(FieldType t) {
        return t == FieldType::Timestamp ? "dátum és idő" : sortName(sortOfField(t));
    }

    Node bindAggregate(const Expr& e, bool allowAggregates) {
        if (!allowAggregates)
            fail(e.begin, "összesítő függvény itt nem állhat");
        AggSpec spec;
        spec.func = e.func;
        spec.distinct = e.distinct;
        spec.star = e.star;
        if (!e.star) {
            spec.arg = bindExpr(e.args[0], false);
            spec.order = orderOf(spec.arg);
            const Sort sort = sortOf(spec.arg);
            if ((e.func == AggFunc::Sum || e.func == AggFunc::Avg) && sort != Sort::Any &&
                !numeric(sort))
                fail(e.args[0].begin, "típuseltérés a kifejezésben: " +
                                          std::string(sortName(sort)) + " nem összegezhető");
        }
        Node n;
        n.kind = Node::Kind::AggRef;
        n.agg = static_cast<int>(plan_.aggs.size());
        plan_.aggs.push_back(std::move(spec));
        return n;
    }

    // --- grouping ---------------------------------------------------------------------
    // In a grouped statement every column read outside an aggregate is one of the group's
    // values: any other would be read from one row of the group, a value that is no
    // group's.
    void checkGrouped(const SelectStmt& s) const {
        for (std::size_t c = 0; c < plan_.columns.size(); ++c) {
            const ColumnSource& source = sources_[c];
            if (source.expr)
                checkGrouped(*source.expr, plan_.columns[c].expr);
            else if (!isGroupValue(plan_.columns[c].expr))
                failUngrouped(source.begin, plan_.columns[c].def.name);
        }
        if (s.having)
            checkGrouped(*s.having, *plan_.having);
        for (std::size_t k = 0; k < s.orderBy.size(); ++k)
            if (plan_.orderBy[k].column < 0)
                checkGrouped(s.orderBy[k].expr, plan_.orderBy[k].expr);
    }

    // The expression as written and as bound, side by side.
    void checkGrouped(const Expr& e, const Node& n) const {
        if (e.kind == ExprKind::Aggregate || isGroupValue(n))
            return;
        if (e.kind == ExprKind::Column)
            failUngrouped(e.begin, e.qualifier.empty() ? e.name : e.qualifier + "." + e.name);
        for (std::size_t i = 0; i < e.args.size() && i < n.kids.size(); ++i)
            checkGrouped(e.args[i], n.kids[i]);
    }

    [[noreturn]] void failUngrouped(std::size_t at, const std::string& name) const {
        fail(at, "a(z) " + name +
                     " mező nincs a GROUP BY után, és nem is összesítő függvény (COUNT, SUM, "
                     "AVG, MIN, MAX) része");
    }

    bool isGroupValue(const Node& n) const {
        return std::any_of(plan_.groupBy.begin(), plan_.groupBy.end(),
                           [&](const Node& g) { return sameNode(g, n); });
    }

    static bool sameNode(const Node& a, const Node& b) {
        if (a.kind != b.kind || a.table != b.table || a.field != b.field || a.op != b.op ||
            a.negated != b.negated || a.agg != b.agg || a.value != b.value ||
            a.kids.size() != b.kids.size())
            return false;
        for (std::size_t i = 0; i < a.kids.size(); ++i)
            if (!sameNode(a.kids[i], b.kids[i]))
                return false;
        return true;
    }

    // --- types ------------------------------------------------------------------------
    static FieldDef typeOfValue(const Value& v) {
        if (const auto* s = std::get_if<std::string>(&v))
            return makeDef("", FieldType::Alpha, std::clamp(static_cast<int>(s->size()), 1, 255));
        if (std::holds_alternative<std::int32_t>(v))
            return makeDef("", FieldType::Long);
        if (std::holds_alternative<bool>(v))
            return makeDef("", FieldType::Logical);
        if (std::holds_alternative<Date>(v))
            return makeDef("", FieldType::Date);
        if (std::holds_alternative<Timestamp>(v))
            return makeDef("", FieldType::Timestamp);
        if (std::holds_alternative<Time>(v))
            return makeDef("", FieldType::Time);
        return makeDef("", FieldType::Number);
    }

    FieldDef typeOf(const Node& n) const {
        switch (n.kind) {
        case Node::Kind::Column:
            return plan_.tables[static_cast<std::size_t>(n.table)]
                .file->fields()[static_cast<std::size_t>(n.field)];
        case Node::Kind::Const:
            return typeOfValue(n.value);
        case Node::Kind::AggRef: {
            const AggSpec& a = plan_.aggs[static_cast<std::size_t>(n.agg)];
            if (a.func == AggFunc::Count)
                return makeDef("", FieldType::Long);
            if (a.func == AggFunc::Sum || a.func == AggFunc::Avg)
                return makeDef("", FieldType::Number);
            return typeOf(a.arg);
        }
        case Node::Kind::Negate:
            return makeDef("", FieldType::Number);
        case Node::Kind::Binary:
            if (n.op == BinOp::Add || n.op == BinOp::Sub || n.op == BinOp::Mul ||
                n.op == BinOp::Div)
                return makeDef("", FieldType::Number);
            return makeDef("", FieldType::Logical);
        default:
            return makeDef("", FieldType::Logical);
        }
    }

    TextOrder orderOf(const Node& n) const {
        if (n.kind == Node::Kind::Column) {
            const TableSlot& t = plan_.tables[static_cast<std::size_t>(n.table)];
            return {t.collation.get(), t.file->codec().codePage()};
        }
        if (n.kind == Node::Kind::AggRef)
            return orderOf(plan_.aggs[static_cast<std::size_t>(n.agg)].arg);
        return {plan_.defaultCollation.get(), 1250};
    }

    // --- the select list --------------------------------------------------------------
    void addColumn(Node expr, std::string name) {
        OutputColumn c;
        c.def = typeOf(expr);
        c.def.name = std::move(name);
        c.expr = std::move(expr);
        plan_.columns.push_back(std::move(c));
    }

    void addTableColumns(int slot, std::size_t begin) {
        const auto& fields = plan_.tables[static_cast<std::size_t>(slot)].file->fields();
        for (std::size_t f = 0; f < fields.size(); ++f) {
            Node n;
            n.kind = Node::Kind::Column;
            n.table = slot;
            n.field = static_cast<int>(f);
            addColumn(std::move(n), fields[f].name);
            sources_.push_back({nullptr, begin});
        }
    }

    void bindItem(const SelectItem& item) {
        if (item.kind == SelectItem::Kind::Star) {
            for (std::size_t i = 0; i < plan_.tables.size(); ++i)
                addTableColumns(static_cast<int>(i), item.begin);
            return;
        }
        if (item.kind == SelectItem::Kind::TableStar) {
            Expr q;
            q.qualifier = item.qualifier;
            q.begin = item.begin;
            addTableColumns(findQualifier(q), item.begin);
            return;
        }
        Node n = bindExpr(item.expr, true);
        std::string name = item.alias;
        if (name.empty()) {
            if (n.kind == Node::Kind::Column)
                name = typeOf(n).name;
            else if (item.expr.kind == ExprKind::Aggregate)
                name = item.expr.resultName;
            else
                name = std::string(
                    sys::trim(text_.substr(item.expr.begin, item.expr.end - item.expr.begin)));
        }
        addColumn(std::move(n), std::move(name));
        sources_.push_back({&item.expr, item.begin});
    }

    // A name that an earlier column already has (in any letter case) gets _1, _2, ...
    // counted per name in the order the columns come.
    void nameColumns() {
        std::set<std::string> used;
        std::map<std::string, int> repeats;
        for (OutputColumn& c : plan_.columns) {
            const std::string base = sys::toLower(c.def.name);
            if (used.insert(base).second)
                continue;
            int& n = repeats[base];
            std::string candidate;
            do
                candidate = c.def.name + "_" + std::to_string(++n);
            while (!used.insert(sys::toLower(candidate)).second);
            c.def.name = candidate;
        }
    }

    // --- ORDER BY ---------------------------------------------------------------------
    SortKey bindOrder(const OrderItem& o) {
        SortKey k;
        k.descending = o.descending;
        const Expr& e = o.expr;
        if (e.kind == ExprKind::Literal && std::holds_alternative<std::int32_t>(e.value)) {
            const int position = std::get<std::int32_t>(e.value);
            if (position < 1 || position > static_cast<int>(plan_.columns.size()))
                fail(e.begin, "nincs " + std::to_string(position) + ". eredményoszlop");
            k.column = position - 1;
        } else if (e.kind == ExprKind::Column && e.qualifier.empty()) {
            for (std::size_t i = 0; i < plan_.columns.size() && k.column < 0; ++i)
                if (sys::equalsNoCase(plan_.columns[i].def.name, e.name))
                    k.column = static_cast<int>(i);
        }
        if (k.column >= 0) {
            k.order = orderOf(plan_.columns[static_cast<std::size_t>(k.column)].expr);
            return k;
        }
        k.expr = bindExpr(e, true);
        k.order = orderOf(k.expr);
        return k;
    }

    std::string_view text_;
    Session& session_;
    const std::map<std::string, Value>& params_;
    BoundSelect& plan_;
    bool layoutOnly_;
    std::vector<std::tuple<int, std::uint8_t, std::shared_ptr<const Collation>>> collations_;
    // Per output column: the expression it was written as (none for a * column), where.
    struct ColumnSource {
        const Expr* expr = nullptr;
        std::size_t begin = 0;
    };
    std::vector<ColumnSource> sources_;
};

} // namespace

BoundSelect bindSelect(const SelectStmt& stmt, std::string_view text, Session& session,
                       const std::map<std::string, Value>& params, bool layoutOnly) {
    BoundSelect plan;
    Binder(text, session, params, plan, layoutOnly).bind(stmt);
    return plan;
}

} // namespace db::sql
