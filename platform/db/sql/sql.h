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
