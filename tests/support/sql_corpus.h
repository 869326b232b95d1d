#pragma once
// The program's own SQL statements (tests/platform/db/sql_corpus/statements.txt) and the
// small tables of the program's shape they run against (schema.txt): read from the files
// and made in a session. Used by the corpus tests and the SQL fuzz target.

#include "platform/db/index_def.h"
#include "platform/db/session.h"
#include "platform/db/value.h"

#include <optional>
#include <string>
#include <vector>

namespace sqlcorpus {

struct FieldSpec {
    std::string name;
    char letter = 'A';
    int size = 0;
    std::vector<std::string> values; // one per row; empty: the type's defaults
};

struct TableSpec {
    std::string name;
    int keyFields = 0;
    std::vector<db::IndexDef> indexes;
    std::vector<FieldSpec> fields;
};

constexpr int rowsPerTable = 4;

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

// Both files, read once.
const std::vector<TableSpec>& schemaTables();
const std::vector<Case>& corpus();

db::Value paramValue(const Param& p);
// ASCII case folding is enough: the accented names of the tables (Megjegyzés) are
// written the same way everywhere.
std::string lower(std::string s);
bool sameName(const std::string& a, const std::string& b);
bool startsWith(const std::string& s, const std::string& prefix);

// Creates every table of the schema, four rows each; `without` names a field left out
// (the one an ALTER TABLE of the case adds).
void createFixture(db::Session& session, const std::vector<TableSpec>& tables,
                   const std::optional<AddedField>& without);

} // namespace sqlcorpus
