#pragma once
// Local SQL over the tables of a session, in the dialect the program's statements are
// written in: SELECT with joins, grouping and ordering, and ALTER TABLE ... ADD.
//
// A statement is parsed once and run many times with new parameter values (":Name"
// placeholders). A result is a list of typed columns, named as the original engine
// named them (a repeated name gets _1, _2, ...; an aggregate without an alias reads
// "SUM OF Gepora"), and rows of values (kept compactly, see result_rows.h).

#include "platform/db/field.h"
#include "platform/db/sql/result_rows.h"
#include "platform/db/value.h"

#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace db {
class Session;
}

namespace db::sql {

// A statement that does not parse, names an unknown table or column, or cannot run.
// The message quotes the statement and points at the place (line and column, and the
// text there).
class SqlError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct ResultSet {
    std::vector<FieldDef> columns; // names as the original engine gave them
    ResultRows rows;
};

// Takes the rows of a SELECT a batch at a time, in their order; the batch is valid only
// during the call.
using RowBatchSink = std::function<void(const ResultRows& batch)>;

// What a run that gave its rows away held: the most rows at one moment (records kept from
// the tables, joined rows, groups, result rows not given away yet).
struct RunMeasure {
    std::size_t peakRowsHeld = 0;
};

class Statement {
public:
    // Parses; throws SqlError.
    static Statement parse(std::string_view text);

    Statement();
    ~Statement();
    Statement(Statement&&) noexcept;
    Statement& operator=(Statement&&) noexcept;

    const std::string& text() const;
    bool isSelect() const;
    // The parameter names in order of first appearance, without the colon.
    std::vector<std::string> parameters() const;

    // Runs a SELECT against the session's tables; parameter values by name (names
    // compare ignoring case; a missing parameter is an SqlError).
    ResultSet select(Session& session, const std::map<std::string, Value>& params = {}) const;
    // Runs a SELECT giving its rows to `sink` as they come: rows that are neither sorted,
    // grouped nor made distinct go from the join in batches of some thousand, without
    // being held for the whole result; the others once they are all in their order.
    // Returns the columns; `measure`, when given, learns what the run held.
    std::vector<FieldDef> select(Session& session, const std::map<std::string, Value>& params,
                                 const RowBatchSink& sink, RunMeasure* measure = nullptr) const;
    // The columns a SELECT would return, found without reading any row.
    std::vector<FieldDef> columns(Session& session,
                                  const std::map<std::string, Value>& params = {}) const;
    // Runs ALTER TABLE (the only other statement the program uses).
    void execute(Session& session, const std::map<std::string, Value>& params = {}) const;

    struct Ast;

private:
    std::string text_;
    std::unique_ptr<Ast> ast_;
};

// Helpers for the places where a form builds SQL text from what the user typed:
// a text literal ('O''Brien'), and a whole number checked to be one (throws SqlError
// naming the text otherwise).
std::string quoteSqlText(std::string_view text);
std::string sqlInteger(std::string_view text);

} // namespace db::sql
