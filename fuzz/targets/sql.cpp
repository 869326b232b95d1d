// The SQL parser, binder and executor: the input is a statement, parsed and, when it is a
// SELECT, run against small tables of the program's shape (four rows each) with every
// parameter given. A bad statement may only raise db::sql::SqlError (or a DbError /
// EncodingError from the tables); a result has as many values per row as columns, and
// the columns found without reading rows are the result's.

#include "platform/db/sql/sql.h"

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/targets.h"
#include "platform/db/error.h"
#include "platform/db/session.h"
#include "platform/sys/codepage.h"
#include "support/sql_corpus.h"

#include <algorithm>
#include <memory>

namespace fuzz {

namespace {

db::Session& fixtureSession() {
    static const std::unique_ptr<db::Session> session = [] {
        auto s = std::make_unique<db::Session>(freshDir("sql"));
        sqlcorpus::createFixture(*s, sqlcorpus::schemaTables(), std::nullopt);
        return s;
    }();
    return *session;
}

// Many tables in one FROM multiply their rows: such inputs are only parsed.
bool cheapToRun(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    std::size_t tables = 0;
    for (std::size_t from = upper.find("FROM"); from != std::string::npos;
         from = upper.find("FROM", from + 4)) {
        const std::size_t end = std::min(upper.find("WHERE", from), upper.size());
        tables += static_cast<std::size_t>(
            std::count(upper.begin() + static_cast<std::ptrdiff_t>(from),
                       upper.begin() + static_cast<std::ptrdiff_t>(end), ','));
        for (std::size_t j = upper.find("JOIN", from); j < end; j = upper.find("JOIN", j + 4))
            ++tables;
    }
    return tables <= 5;
}

} // namespace

void runSql(std::string_view input) {
    db::sql::Statement statement;
    try {
        statement = db::sql::Statement::parse(input);
    } catch (const db::sql::SqlError&) {
        return;
    }
    if (statement.text() != input)
        finding("the statement lost its text");
    if (!statement.isSelect() || !cheapToRun(input))
        return;
    std::map<std::string, db::Value> params;
    for (const std::string& name : statement.parameters())
        params[name] = std::int32_t{1};
    try {
        const db::sql::ResultSet result = statement.select(fixtureSession(), params);
        for (const db::Record& row : result.rows)
            if (row.size() != result.columns.size())
                finding("a result row has another number of values than columns");
        if (statement.columns(fixtureSession(), params) != result.columns)
            finding("the columns found without rows differ from the result's");
    } catch (const db::sql::SqlError&) {
    } catch (const db::DbError&) {
    } catch (const sys::EncodingError&) {
    }
}

void seedSql() {
    for (const sqlcorpus::Case& c : sqlcorpus::corpus())
        writeSeed("sql-" + c.id, c.text);
}

} // namespace fuzz
