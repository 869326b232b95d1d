// The program's own SQL statements (sql_corpus/statements.txt), each run against small
// tables of the program's shape (sql_corpus/schema.txt): every statement parses, runs
// with its parameters, and its result carries the column names that the forms, grids,
// filters and report layouts read (Ter_1, "SUM OF Gepora", ...). An ALTER TABLE adds its
// column to a table made without it and keeps the rows.

#include "platform/db/field_value.h"
#include "platform/db/session.h"
#include "platform/db/sql/sql.h"
#include "platform/sys/datetime.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace db;

namespace {

const std::filesystem::path corpusDir =
    std::filesystem::path(FARM_SOURCE_DIR) / "tests" / "platform" / "db" / "sql_corpus";

// ---------------------------------------------------------------- reading the files

std::vector<std::string> readLines(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path.string());
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return s.substr(first, last - first + 1);
}

std::vector<std::string> split(const std::string& s, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const auto at = s.find(separator, start);
        parts.push_back(s.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + separator.size();
    }
}

bool startsWith(const std::string& s, const std::string& prefix) {
    return s.compare(0, prefix.size(), prefix) == 0;
}

// ASCII case folding is enough: the accented names of the tables (Megjegyzés) are
// written the same way everywhere.
std::string lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

struct FieldSpec {
    std::string name;
    char letter = 'A';
    int size = 0;
    std::vector<std::string> values; // one per row; empty: the type's defaults
};

struct TableSpec {
    std::string name;
    int keyFields = 0;
    std::vector<IndexDef> indexes;
    std::vector<FieldSpec> fields;
};

constexpr int rowsPerTable = 4;

std::vector<TableSpec> loadSchema() {
    std::vector<TableSpec> tables;
    TableSpec* current = nullptr;
    int lineNo = 0;
    for (const std::string& raw : readLines(corpusDir / "schema.txt")) {
        ++lineNo;
        const std::string line = trim(raw);
        auto fail = [&](const std::string& why) {
            throw std::runtime_error("schema.txt:" + std::to_string(lineNo) + ": " + why);
        };
        if (line.empty() || line[0] == '#')
            continue;
        if (line == "==end") {
            if (!current)
                fail("==end outside a table");
            current = nullptr;
        } else if (startsWith(line, "== ")) {
            if (current)
                fail("table not closed");
            tables.push_back({trim(line.substr(3)), 0, {}, {}});
            current = &tables.back();
        } else if (!current) {
            fail("text outside a table");
        } else if (startsWith(line, "key ")) {
            current->keyFields = std::stoi(line.substr(4));
        } else if (startsWith(line, "index ")) {
            const auto colon = line.find(':');
            if (colon == std::string::npos)
                fail("index without ':'");
            IndexDef def;
            def.name = trim(line.substr(6, colon - 6));
            for (const std::string& f : split(trim(line.substr(colon + 1)), ";"))
                def.fields.push_back(trim(f));
            current->indexes.push_back(def);
        } else {
            FieldSpec field;
            std::string head = line;
            const auto eq = line.find(" = ");
            if (eq != std::string::npos) {
                head = trim(line.substr(0, eq));
                for (const std::string& v : split(line.substr(eq + 3), "|"))
                    field.values.push_back(trim(v));
                if (field.values.size() != rowsPerTable)
                    fail("expected " + std::to_string(rowsPerTable) + " values");
            } else if (line.size() >= 2 && line.substr(line.size() - 2) == " =") {
                fail("'=' without values");
            }
            std::istringstream words(head);
            std::string letter;
            words >> field.name >> letter;
            if (field.name.empty() || letter.size() != 1 || !typeFromLetter(letter[0]))
                fail("bad field line: " + line);
            field.letter = letter[0];
            words >> field.size;
            if (field.letter == 'A' && field.size <= 0)
                fail("text field without a size: " + field.name);
            current->fields.push_back(field);
        }
    }
    if (current)
        throw std::runtime_error("schema.txt: last table not closed");
    return tables;
}

struct Param {
    std::string name;
    std::string type;
    std::string value;
};

struct AddedField {
    std::string table;
    std::string field;
    char letter = 0;
    int size = 0;
};

struct Case {
    std::string id;
    std::string where;
    std::string origin;
    std::vector<Param> params;
    std::vector<std::string> columns;
    std::optional<AddedField> adds;
    std::string text;
    int line = 0; // where the block starts in statements.txt
};

std::vector<Case> loadCases() {
    std::vector<Case> cases;
    const std::vector<std::string> lines = readLines(corpusDir / "statements.txt");
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!startsWith(lines[i], "== "))
            continue;
        Case c;
        c.line = static_cast<int>(i + 1);
        auto fail = [&](const std::string& why) {
            throw std::runtime_error("statements.txt:" + std::to_string(c.line) + ": " + why);
        };
        const std::string header = trim(lines[i].substr(3));
        const auto blank = header.find(' ');
        c.id = header.substr(0, blank);
        c.where = blank == std::string::npos ? "" : trim(header.substr(blank));
        std::size_t j = i + 1;
        for (; j < lines.size(); ++j) {
            const std::string& l = lines[j];
            if (startsWith(l, "origin:")) {
                c.origin = trim(l.substr(7));
            } else if (startsWith(l, "built:")) {
            } else if (startsWith(l, "params:")) {
                for (const std::string& p : split(trim(l.substr(7)), "; ")) {
                    const auto eq = p.find('=');
                    const auto colon = p.find(':', eq);
                    if (eq == std::string::npos || colon == std::string::npos)
                        fail("bad parameter: " + p);
                    c.params.push_back({trim(p.substr(0, eq)), p.substr(eq + 1, colon - eq - 1),
                                        p.substr(colon + 1)});
                }
            } else if (startsWith(l, "columns:")) {
                const std::string list = trim(l.substr(8));
                if (!list.empty())
                    for (const std::string& name : split(list, ", "))
                        c.columns.push_back(trim(name));
            } else if (startsWith(l, "adds:")) {
                std::istringstream words(trim(l.substr(5)));
                std::string qualified, letter;
                AddedField a;
                words >> qualified >> letter >> a.size;
                const auto dot = qualified.find('.');
                if (dot == std::string::npos || letter.size() != 1)
                    fail("bad adds line");
                a.table = qualified.substr(0, dot);
                a.field = qualified.substr(dot + 1);
                a.letter = letter[0];
                c.adds = a;
            } else {
                break;
            }
        }
        std::string text;
        bool closed = false;
        for (; j < lines.size(); ++j) {
            if (lines[j] == "==end") {
                closed = true;
                break;
            }
            if (!text.empty())
                text += '\n';
            text += lines[j];
        }
        if (!closed)
            fail("block not closed");
        c.text = text;
        cases.push_back(c);
        i = j;
    }
    return cases;
}

// ---------------------------------------------------------------- the fixture database

FieldType fieldType(char letter) {
    return *typeFromLetter(letter);
}

FieldDef fieldDef(const FieldSpec& f) {
    const FieldType type = fieldType(f.letter);
    return {f.name, type, storedSize(type, f.size), 0};
}

const std::vector<std::string>& defaultValues(const FieldSpec& f) {
    static const std::vector<std::string> code{"100000", "100001", "100002", "100003"};
    static const std::vector<std::string> text{"őszi búza", "kukorica", "Árpa, tavaszi", "-"};
    static const std::vector<std::string> integer{"1", "2", "1", "-"};
    static const std::vector<std::string> counter{"1", "2", "3", "4"};
    static const std::vector<std::string> number{"12000.5", "8000", "0", "-"};
    static const std::vector<std::string> date{"2009-03-05", "2009-10-01", "2010-04-20", "-"};
    static const std::vector<std::string> flag{"false", "true", "false", "-"};
    switch (fieldType(f.letter)) {
    case FieldType::Alpha:
        return f.size <= 6 ? code : text;
    case FieldType::Short:
    case FieldType::Long:
        return integer;
    case FieldType::AutoInc:
        return counter;
    case FieldType::Number:
    case FieldType::Currency:
        return number;
    case FieldType::Date:
        return date;
    case FieldType::Logical:
        return flag;
    default:
        throw std::runtime_error("no default values for field " + f.name);
    }
}


sys::DateTime parseIsoDate(const std::string& text) {
    int y = 0, m = 0, d = 0;
    char dash1 = 0, dash2 = 0;
    std::istringstream in(text);
    in >> y >> dash1 >> m >> dash2 >> d;
    if (!in || dash1 != '-' || dash2 != '-')
        throw std::runtime_error("bad date " + text);
    return sys::encodeDate(y, m, d);
}

bool parseBoolean(const std::string& text) {
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    throw std::runtime_error("bad boolean " + text);
}

Value fieldValue(const std::string& text, const FieldDef& def) {
    if (text == "-" || text.empty())
        return Null{};
    switch (def.type) {
    case FieldType::Alpha:
        return valueFromString(text, def);
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return valueFromInteger(std::stoll(text), def);
    case FieldType::Number:
    case FieldType::Currency:
        return valueFromFloat(std::stod(text), def);
    case FieldType::Date:
        return valueFromDateTime(parseIsoDate(text), def);
    case FieldType::Logical:
        return valueFromBoolean(parseBoolean(text), def);
    default:
        throw std::runtime_error("unsupported fixture type for " + def.name);
    }
}

Value paramValue(const Param& p) {
    if (p.type == "text")
        return p.value;
    if (p.type == "integer")
        return static_cast<std::int32_t>(std::stol(p.value));
    if (p.type == "float")
        return std::stod(p.value);
    if (p.type == "boolean")
        return parseBoolean(p.value);
    if (p.type == "date")
        return valueFromDateTime(parseIsoDate(p.value), FieldDef{"", FieldType::Date, 4, 0});
    throw std::runtime_error("unknown parameter type " + p.type);
}

bool sameName(const std::string& a, const std::string& b) {
    return lower(a) == lower(b);
}

// Creates every table of the schema, four rows each; `without` names a field left out
// (the one an ALTER TABLE of the case adds).
void createFixture(Session& session, const std::vector<TableSpec>& tables,
                   const std::optional<AddedField>& without) {
    for (const TableSpec& t : tables) {
        std::vector<const FieldSpec*> kept;
        for (const FieldSpec& f : t.fields)
            if (!(without && sameName(without->table, t.name) && sameName(without->field, f.name)))
                kept.push_back(&f);
        TableSchema schema;
        for (const FieldSpec* f : kept)
            schema.fields.push_back(fieldDef(*f));
        schema.keyFields = t.keyFields;
        auto table = session.create(t.name, schema, t.indexes);
        for (int row = 0; row < rowsPerTable; ++row) {
            Record record;
            for (std::size_t i = 0; i < kept.size(); ++i) {
                const FieldSpec& f = *kept[i];
                const auto& values = f.values.empty() ? defaultValues(f) : f.values;
                record.push_back(fieldValue(values[static_cast<std::size_t>(row)],
                                            schema.fields[i]));
            }
            table->insert(record);
        }
    }
}

// ---------------------------------------------------------------- the parameterized cases

const std::vector<TableSpec>& schemaTables() {
    static const std::vector<TableSpec> tables = loadSchema();
    return tables;
}

const std::vector<Case>& corpus() {
    static const std::vector<Case> cases = loadCases();
    return cases;
}

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

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.id;
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
        const auto table = std::find_if(schemaTables().begin(), schemaTables().end(),
                                        [&](const TableSpec& t) { return sameName(t.name, c.adds->table); });
        ASSERT_NE(table, schemaTables().end()) << c.id;
        const bool known = std::any_of(table->fields.begin(), table->fields.end(),
                                       [&](const FieldSpec& f) { return sameName(f.name, c.adds->field); });
        EXPECT_TRUE(known) << c.id << ": " << c.adds->field << " is not in the table's layout";
    }
}

} // namespace
