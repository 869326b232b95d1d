// The program's own SQL statements (sql_corpus/statements.txt), each run against small
// tables of the program's shape (sql_corpus/schema.txt): every statement parses, runs
// with its parameters, and its result carries the column names that the forms, grids,
// filters and report layouts read (Ter_1, "SUM OF Gepora", ...). An ALTER TABLE adds its
// column to a table made without it and keeps the rows.

#include "platform/db/field_value.h"
#include "platform/db/session.h"
#include "platform/db/sql/sql.h"
#include "platform/sys/datetime.h"
#include "support/sql_corpus.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace db;

// Test names print the case's id (found by argument-dependent lookup).
namespace sqlcorpus {
void PrintTo(const Case& c, std::ostream* os);
void PrintTo(const Case& c, std::ostream* os) {
    *os << c.id;
}
} // namespace sqlcorpus

namespace {

using namespace sqlcorpus;

std::string testName(const std::string& id) {
    std::string name;
    for (char c : id)
        name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
    return name;
}

std::string describe(const Case& c) {
    return c.id + " (" + c.where + ", statements.txt line " + std::to_string(c.line) + ")\n" +
           c.text;
}

std::string columnList(const sql::ResultSet& result) {
    std::string out;
    for (const FieldDef& f : result.columns)
        out += (out.empty() ? "" : ", ") + f.name;
    return out;
}

class ProgramStatement : public ::testing::TestWithParam<Case> {};

TEST_P(ProgramStatement, ParsesRunsAndNamesItsColumns) {
    const Case& c = GetParam();
    SCOPED_TRACE(describe(c));

    Session session(".");
    createFixture(session, schemaTables(), c.adds);

    sql::Statement statement;
    try {
        statement = sql::Statement::parse(c.text);
    } catch (const sql::SqlError& e) {
        FAIL() << "does not parse: " << e.what();
    }
    EXPECT_EQ(statement.text(), c.text);

    std::vector<std::string> expectedParams;
    std::map<std::string, Value> params;
    for (const Param& p : c.params) {
        expectedParams.push_back(p.name);
        params[p.name] = paramValue(p);
    }
    EXPECT_EQ(statement.parameters(), expectedParams);

    if (c.adds) {
        ASSERT_FALSE(statement.isSelect());
        try {
            statement.execute(session, params);
        } catch (const sql::SqlError& e) {
            FAIL() << "does not run: " << e.what();
        }
        // The table now has the column at its end, of the declared kind, and kept its rows.
        auto table = session.open(c.adds->table);
        const auto& fields = table->file().fields();
        ASSERT_FALSE(fields.empty());
        const FieldDef& added = fields.back();
        EXPECT_TRUE(sameName(added.name, c.adds->field)) << added.name;
        if (c.adds->letter == 'N') { // NUMERIC(10,4): a float or a packed decimal
            EXPECT_TRUE(added.type == FieldType::Number || added.type == FieldType::Bcd)
                << typeLetter(added.type);
        } else {
            EXPECT_EQ(typeLetter(added.type), c.adds->letter);
        }
        if (c.adds->letter == 'A') {
            EXPECT_EQ(added.size, c.adds->size);
        }
        EXPECT_EQ(table->file().recordCount(), static_cast<std::uint32_t>(rowsPerTable));
        // The same statement again fails: the column is there now.
        EXPECT_THROW(statement.execute(session, params), sql::SqlError);
        return;
    }

    ASSERT_TRUE(statement.isSelect());
    sql::ResultSet result;
    try {
        result = statement.select(session, params);
    } catch (const sql::SqlError& e) {
        FAIL() << "does not run: " << e.what();
    }
    // The forms find a column by name, ignoring case as the original did; so the names
    // must be unique that way, and every name they read must be there.
    std::set<std::string> seen;
    for (const FieldDef& f : result.columns) {
        EXPECT_FALSE(f.name.empty()) << columnList(result);
        EXPECT_TRUE(seen.insert(lower(f.name)).second)
            << "two result columns named " << f.name << ": " << columnList(result);
    }
    for (const std::string& name : c.columns)
        EXPECT_TRUE(seen.count(lower(name)))
            << "no result column " << name << "; the result has: " << columnList(result);
    for (const Record& row : result.rows)
        ASSERT_EQ(row.size(), result.columns.size());
    // A parsed statement runs again with the same outcome.
    const sql::ResultSet again = statement.select(session, params);
    EXPECT_EQ(again.columns, result.columns);
    EXPECT_EQ(again.rows, result.rows);
}

INSTANTIATE_TEST_SUITE_P(Corpus, ProgramStatement, ::testing::ValuesIn(corpus()),
                         [](const ::testing::TestParamInfo<Case>& caseInfo) {
                             return testName(caseInfo.param.id);
                         });

// ---------------------------------------------------------------- the files themselves

TEST(ProgramStatementFiles, EveryBlockIsComplete) {
    std::set<std::string> ids;
    for (const Case& c : corpus()) {
        SCOPED_TRACE(c.id);
        EXPECT_TRUE(ids.insert(testName(c.id)).second) << "id used twice";
        EXPECT_FALSE(c.where.empty());
        EXPECT_TRUE(c.origin == "quoted" || c.origin == "described" || c.origin == "built")
            << c.origin;
        EXPECT_FALSE(c.text.empty());
        const std::string head = lower(c.text.substr(0, 12));
        EXPECT_TRUE(startsWith(head, "select") || startsWith(head, "alter table")) << head;
        EXPECT_EQ(c.adds.has_value(), startsWith(head, "alter table"));
        for (const Param& p : c.params)
            EXPECT_NO_THROW(paramValue(p)) << p.name;
    }
    EXPECT_GE(corpus().size(), 170u);
}

TEST(ProgramStatementFiles, FixtureTablesCanBeMade) {
    std::set<std::string> names;
    for (const TableSpec& t : schemaTables())
        EXPECT_TRUE(names.insert(lower(t.name)).second) << t.name << " twice";
    Session session(".");
    createFixture(session, schemaTables(), std::nullopt);
    for (const TableSpec& t : schemaTables()) {
        auto table = session.open(t.name);
        EXPECT_EQ(table->file().recordCount(), static_cast<std::uint32_t>(rowsPerTable)) << t.name;
        EXPECT_EQ(table->file().fields().size(), t.fields.size()) << t.name;
    }
}

TEST(ProgramStatementFiles, EveryAddedColumnBelongsToAFixtureTable) {
    for (const Case& c : corpus()) {
        if (!c.adds)
            continue;
        const auto table =
            std::find_if(schemaTables().begin(), schemaTables().end(),
                         [&](const TableSpec& t) { return sameName(t.name, c.adds->table); });
        ASSERT_NE(table, schemaTables().end()) << c.id;
        const bool known =
            std::any_of(table->fields.begin(), table->fields.end(),
                        [&](const FieldSpec& f) { return sameName(f.name, c.adds->field); });
        EXPECT_TRUE(known) << c.id << ": " << c.adds->field << " is not in the table's layout";
    }
}

} // namespace
