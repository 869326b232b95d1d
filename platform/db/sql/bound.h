#pragma once
// A statement bound to the tables of a session for one run: expressions with their
// columns resolved to (table slot, field) and parameters replaced by their values, the
// tables with the conditions pushed down to their scans, and the join tree.

#include "platform/db/collation.h"
#include "platform/db/session.h"
#include "platform/db/sql/ast.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace db::sql {

struct Node {
    enum class Kind { Column, Const, Negate, Not, IsNull, Binary, AggRef } kind = Kind::Const;
    int table = -1; // Column
    int field = -1;
    Value value;            // Const
    bool emptyText = false; // Const: the text '' (matches a blank field)
    BinOp op = BinOp::Eq;
    bool negated = false; // IsNull
    int agg = -1;         // AggRef: index into the run's aggregates
    std::vector<Node> kids;
};

// How text sorts: a table's collation over its code page's bytes.
struct TextOrder {
    const Collation* collation = nullptr;
    int codePage = 1250;
};

struct AggSpec {
    AggFunc func = AggFunc::Count;
    bool distinct = false;
    bool star = false;
    Node arg;
    TextOrder order; // MIN and MAX of text
};

inline constexpr std::uint32_t kNoRow = 0xFFFFFFFF;

// The bytes of a table's records that a run reads: runs of fields copied out of each
// record kept, so that a wide record the statement reads two fields of is not copied
// whole.
struct KeptLayout {
    struct Run {
        std::size_t from = 0, size = 0; // the record's bytes, kept one run after the other
    };
    std::vector<Run> runs;
    std::vector<std::size_t> offsets; // per field: its place in a kept record (npos: not kept)
    std::size_t size = 0;

    // The runs lie one after the other in a kept record: each is appended in turn, the
    // room not filled with zeros first.
    void keep(std::span<const std::uint8_t> record, std::vector<std::uint8_t>& out) const {
        for (const Run& r : runs)
            out.insert(out.end(), record.data() + r.from, record.data() + r.from + r.size);
    }
};

// One table of the FROM list: the records that passed its pushed-down conditions, kept
// raw (the fields of `kept`) and decoded field by field when an expression reads them.
struct TableSlot {
    std::shared_ptr<SharedTable> shared;
    std::shared_ptr<const TableFile> layout; // bound for the columns only: no rows
    const TableFile* file = nullptr;
    std::string name;                           // as written, without ".db"
    std::string alias;                          // may be empty
    bool nullable = false;                      // on the NULL-filled side of an outer join
    std::shared_ptr<const Collation> collation; // shared by slots of the same order
    std::vector<Node> filters;
    KeptLayout kept;
    std::vector<std::uint8_t> raw; // kept records, kept.size bytes each
    std::size_t count = 0;

    std::span<const std::uint8_t> record(std::uint32_t i) const {
        return {raw.data() + i * kept.size, kept.size};
    }
};

// Where an expression reads its columns: a joined row (one record index per slot), or
// the record being scanned (as the file holds it, or a kept one of its slot); and the
// values of the aggregates of the current group.
struct EvalContext {
    const std::vector<TableSlot>* tables = nullptr;
    const std::uint32_t* rows = nullptr;
    int scanSlot = -1;
    std::span<const std::uint8_t> scanRecord;
    bool scanKept = false;
    const std::vector<Value>* aggs = nullptr;
};

// The record a column of slot `slot` reads in the row and where its field starts there;
// an empty record for a NULL-filled row. std::logic_error for a field the run keeps not.
struct FieldIn {
    std::span<const std::uint8_t> record;
    std::size_t offset = 0;
};
FieldIn fieldIn(const EvalContext& ctx, int slot, int field);

Value eval(const Node& node, const EvalContext& ctx);
// A condition's outcome: true only when it holds (NULL counts as not holding).
bool holds(const Node& node, const EvalContext& ctx);

// The tables an expression reads, one bit per slot.
std::uint64_t tablesOf(const Node& node);

// The join tree over the slots.
struct PlanNode {
    bool isJoin = false;
    int slot = -1;
    JoinType type = JoinType::Inner;
    std::unique_ptr<PlanNode> left, right;
    std::vector<Node> on; // conjuncts left after pushing down
    std::uint64_t mask = 0;
};

struct OutputColumn {
    Node expr;
    FieldDef def;
};

struct SortKey {
    int column = -1; // an output column, or
    Node expr;       // an expression evaluated on the row
    bool descending = false;
    TextOrder order;
};

struct BoundSelect {
    std::vector<TableSlot> tables;
    std::vector<PlanNode> from; // comma-separated entries
    std::vector<Node> where;    // conjuncts not pushed to a scan
    std::vector<Node> groupBy;
    std::vector<TextOrder> groupOrders;
    std::optional<Node> having;
    std::vector<AggSpec> aggs;
    std::vector<OutputColumn> columns;
    std::vector<SortKey> orderBy;
    bool distinct = false;
    bool aggregated = false;
    std::shared_ptr<const Collation> defaultCollation;
};

// `layoutOnly` binds against the tables' layouts alone: enough for the result's columns,
// not for running the plan.
BoundSelect bindSelect(const SelectStmt& stmt, std::string_view text, Session& session,
                       const std::map<std::string, Value>& params, bool layoutOnly = false);
ResultSet runSelect(BoundSelect& plan);
// Gives the rows to `sink` instead of keeping them (see Statement::select).
void runSelect(BoundSelect& plan, const RowBatchSink& sink, RunMeasure* measure);

} // namespace db::sql
