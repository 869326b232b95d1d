#include "inventory_database.h"

#include "core/inventory.h"
#include "platform/db/table.h"
#include "support/journal_state.h"
#include "support/test_env.h"

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;

namespace testcore {

namespace {

db::FieldDef Text(const std::string& name, int size) {
    return {name, db::FieldType::Alpha, size};
}

db::TableSchema SchemaOf(const std::string& table) {
    db::TableSchema schema;
    schema.keyFields = 1;
    if (table == "Alapadatok") {
        schema.fields = {Text("Nev", 60), Text("Cim", 60)};
    } else if (table == "Erogepek" || table == "Munkagepek") {
        schema.fields = {Text("Gepkod", 6),
                         Text("Gepnev", 30),
                         Text(table == "Erogepek" ? "Geptip" : "Tipus", 30),
                         {"Tul", db::FieldType::Long, 4}};
    } else {
        schema.fields = {Text("Kod", 6), Text("Nev", 40)};
    }
    for (int i = 0; i < 3; ++i)
        schema.fields.push_back(Text("F" + std::to_string(i), 10));
    return schema;
}

std::vector<db::IndexDef> IndexesOf(const core::InventoryTable& table) {
    std::vector<db::IndexDef> indexes;
    for (std::string_view extension : table.extensions)
        if (extension.starts_with(".xg"))
            indexes.push_back({std::string(table.name) + "Ind" + std::to_string(indexes.size()),
                               {"F" + std::to_string(indexes.size())}});
    return indexes;
}

void WriteFile(const fs::path& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary);
    out << contents;
}

} // namespace

void CreateInventoryTables(db::Session& session, bool familyFiles) {
    for (const core::InventoryTable& table : core::Inventory()) {
        const std::string name(table.name);
        const bool upper = name == "Tablak" || name == "vizkivet";
        session.create(upper ? name + ".DB" : name, SchemaOf(name), IndexesOf(table));
        if (!familyFiles)
            continue;
        for (std::string_view extension : table.extensions)
            if (extension == ".fam" || extension == ".tv")
                WriteFile(session.directory() / (name + std::string(extension)),
                          "settings of " + name + std::string(extension));
    }
}

void AddRows(db::Session& session, const std::string& table, int rows, int first) {
    db::TTable t(session);
    t.SetTableName(table);
    t.Open();
    for (int i = 0; i < rows; ++i) {
        const std::string code = std::to_string(first + i);
        t.Append();
        t.Fields(0).SetAsString(code);
        t.Fields(1).SetAsString(table + " " + code);
        t.FieldByName("F0").SetAsString("x" + std::to_string(i % 7));
        t.FieldByName("F1").SetAsString("y" + std::to_string(i % 5));
        t.FieldByName("F2").SetAsString("z" + std::to_string(i % 3));
        t.Post();
    }
    t.Close();
}

int RowCount(db::Session& session, const std::string& table) {
    db::TTable t(session);
    t.SetTableName(table);
    t.Open();
    const int count = t.RecordCount();
    t.Close();
    return count;
}

bool IsEngineFile(const fs::directory_entry& entry) {
    return entry.path().filename() == db::Session::kIndexCheckFile ||
           (db::sameFileName(entry.path().extension().string(), ".jnl") &&
            !testenv::journalHoldsAChange(entry.path()));
}

std::map<std::string, std::string> Snapshot(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file() && !IsEngineFile(entry))
            files[entry.path().filename().string()] = testenv::readFile(entry.path());
    return files;
}

} // namespace testcore
