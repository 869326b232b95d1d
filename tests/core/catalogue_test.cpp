// The catalogue against the file inventory and the schema upgrade's column list: every
// table present and keyed, its indexes as many as its index files, every upgrade column
// present with its exact spelling and a type the upgrade's would be.

#include "core/catalogue.h"
#include "core/inventory_files.h"

#include <algorithm>
#include <cctype>
#include <gtest/gtest.h>
#include <set>
#include <string>

namespace {

using core::Catalogue;
using core::FindTable;
using core::TableDef;

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const db::FieldDef* FieldNamed(const TableDef& table, const std::string& name) {
    for (const auto& f : table.fields)
        if (f.name == name)
            return &f;
    return nullptr;
}

TEST(Catalogue, HoldsTheInventoryInItsOrderThenTheTablesOutsideIt) {
    const auto& tables = Catalogue();
    ASSERT_GE(tables.size(), testcore::kInventory.size());
    for (std::size_t i = 0; i < testcore::kInventory.size(); ++i) {
        EXPECT_EQ(tables[i].name, testcore::kInventory[i].table);
        EXPECT_TRUE(tables[i].inInventory) << tables[i].name;
    }
    std::vector<std::string> outside;
    for (std::size_t i = testcore::kInventory.size(); i < tables.size(); ++i) {
        EXPECT_FALSE(tables[i].inInventory) << tables[i].name;
        outside.push_back(tables[i].name);
    }
    EXPECT_EQ(outside, (std::vector<std::string>{"celprogramok", "Akgmuvag", "szlatet"}));
}

TEST(Catalogue, EveryTableIsKeyedAndHasAsManyIndexesAsItsIndexFiles) {
    for (const auto& entry : testcore::kInventory) {
        const TableDef* table = FindTable(entry.table);
        ASSERT_NE(table, nullptr) << entry.table;
        EXPECT_GE(table->keyFields, 1) << entry.table;
        const auto indexFiles = testcore::IndexExtensions(entry);
        EXPECT_EQ(table->indexes.size() * 2, indexFiles.size()) << entry.table;
    }
    for (const auto& table : Catalogue())
        EXPECT_GE(table.keyFields, 1) << table.name;
}

TEST(Catalogue, LayoutsAreWellFormed) {
    for (const auto& table : Catalogue()) {
        SCOPED_TRACE(table.name);
        ASSERT_LE(table.keyFields, static_cast<int>(table.fields.size()));
        std::set<std::string> names;
        for (const auto& f : table.fields) {
            EXPECT_TRUE(names.insert(Lower(f.name)).second) << "repeated field " << f.name;
            EXPECT_LE(f.name.size(), 25u) << f.name;
            if (f.type == db::FieldType::Alpha)
                EXPECT_TRUE(f.size >= 1 && f.size <= 255) << f.name;
            else
                EXPECT_EQ(f.size, db::storedSize(f.type, 0)) << f.name;
        }
        std::set<std::string> indexNames;
        for (const auto& index : table.indexes) {
            EXPECT_TRUE(indexNames.insert(Lower(index.name)).second) << index.name;
            ASSERT_FALSE(index.fields.empty()) << index.name;
            for (const auto& field : index.fields)
                EXPECT_NE(FieldNamed(table, field), nullptr) << index.name << ": " << field;
        }
        // Text codes of other tables are six characters wide.
        for (const char* code : {"Parckod", "Muvkod", "Tulkod", "Anyagkod", "Gepkod"})
            if (const auto* f = FieldNamed(table, code); f && f->type == db::FieldType::Alpha) {
                EXPECT_EQ(f->size, 6) << code;
            }
    }
}

TEST(Catalogue, FindsTablesWhateverTheCaseAndExtension) {
    ASSERT_NE(FindTable("Tablak"), nullptr);
    EXPECT_EQ(FindTable("tablak.DB"), FindTable("Tablak"));
    EXPECT_EQ(FindTable("TABLAK.db"), FindTable("Tablak"));
    EXPECT_EQ(FindTable("Parcellak")->name, "parcellak");
    EXPECT_EQ(FindTable("vizkivet.DB")->name, "vizkivet");
    EXPECT_EQ(FindTable("celprogramok.db")->name, "celprogramok");
    EXPECT_EQ(FindTable("Tablak3"), nullptr);
    EXPECT_EQ(FindTable(".db"), nullptr);
    EXPECT_EQ(FindTable(""), nullptr);
}

TEST(Catalogue, PlannedTwinsHaveTheirOriginalsLayoutsKeysAndIndexes) {
    const std::pair<const char*, const char*> twins[] = {
        {"ElvMuv", "Tervelvmuv"},        {"felhanyag", "Tervfanyag"},
        {"Raktarmozgas", "Tervrmozgas"}, {"Ontozes", "Tervontozes"},
        {"Munkavegz", "Tervmunkas"},     {"Szhelyrajzi", "Tervszhrsz"},
        {"Szparcellak", "Tervszparc"},   {"Parckiegadat", "Tervpkieg"},
        {"Parclellak02", "Tervparc02"},  {"parcellak", "Tervparc"},
        {"Ultkieg02", "Gyumkieg02"},
    };
    for (const auto& [original, twin] : twins) {
        const TableDef* a = FindTable(original);
        const TableDef* b = FindTable(twin);
        ASSERT_TRUE(a && b) << twin;
        EXPECT_EQ(a->fields, b->fields) << twin;
        EXPECT_EQ(a->keyFields, b->keyFields) << twin;
        if (std::string(twin) != "Tervparc") {
            EXPECT_EQ(a->indexes.size(), b->indexes.size()) << twin;
        }
        EXPECT_FALSE(b->note.empty()) << twin;
    }
}

// The columns the schema upgrade adds, with their SQL types.
struct UpgradeColumn {
    const char* table;
    const char* column;
    const char* type;
};

// clang-format off
constexpr UpgradeColumn kUpgradeColumns[] = {
    {"ElvMuv", "Sorsz", "INTEGER"}, {"ElvMuv", "Vizkivid", "INTEGER"}, {"ElvMuv", "Muvveg", "DATE"},
    {"ElvMuv", "Tajkotmegnev", "CHAR(50)"}, {"ElvMuv", "Bejelido", "DATE"},
    {"ElvMuv", "Bejelkot", "BOOLEAN"}, {"ElvMuv", "Deleted", "BOOLEAN"},
    {"ElvMuv", "Megjegyzes", "CHAR(200)"},
    {"parcellak", "Szaporitotip", "CHAR(40)"}, {"parcellak", "Tapanytelj", "BOOLEAN"},
    {"parcellak", "Tervhozam", "NUMERIC(10,4)"}, {"parcellak", "Talajbaszantas", "BOOLEAN"},
    {"parcellak", "Vismajor", "BOOLEAN"}, {"parcellak", "Megjegyzes", "CHAR(100)"},
    {"parcellak", "Nkat", "BOOLEAN"}, {"parcellak", "Nat2000", "BOOLEAN"},
    {"parcellak", "Nitr", "BOOLEAN"}, {"parcellak", "Tizszaz", "BOOLEAN"},
    {"parcellak", "Kattam", "CHAR(40)"}, {"parcellak", "Nattam", "CHAR(40)"},
    {"parcellak", "Ketid", "INTEGER"},
    {"Alapadatok", "Szakirregsz", "CHAR(40)"}, {"Alapadatok", "Szaktan", "CHAR(100)"},
    {"Alapadatok", "Szaktaneng", "CHAR(30)"}, {"Alapadatok", "Szaktancim", "CHAR(70)"},
    {"Tapanyagok", "Egyhatoany", "CHAR(40)"}, {"Tapanyagok", "Szervestr", "BOOLEAN"},
    {"Tapanyagok", "Higtr", "BOOLEAN"}, {"Tapanyagok", "Egyebtr", "BOOLEAN"},
    {"Tapanyagok", "Deleted", "BOOLEAN"}, {"Tapanyagok", "Mutr", "BOOLEAN"},
    {"felhanyag", "Egyhatoany", "CHAR(40)"}, {"felhanyag", "Tragyakod", "CHAR(40)"},
    {"felhanyag", "Szervestr", "BOOLEAN"}, {"felhanyag", "Higtr", "BOOLEAN"},
    {"felhanyag", "Egyebtr", "BOOLEAN"}, {"felhanyag", "Deleted", "BOOLEAN"},
    {"felhanyag", "Sorsz", "INTEGER"}, {"felhanyag", "Mutr", "BOOLEAN"},
    {"Novvedmegf", "Fertmert", "CHAR(50)"}, {"Novvedmegf", "Agrotechsorsz", "INTEGER"},
    {"Novvedmegf", "Megjegy", "CHAR(100)"}, {"Novvedmegf", "Deleted", "BOOLEAN"},
    {"Novvedmegf", "Sorsz", "INTEGER"},
    {"Magfajtak", "Hasznkod", "CHAR(10)"}, {"Magfajtak", "Deleted", "BOOLEAN"},
    {"GNMegjegy", "Msorsz", "INTEGER"},
    {"Tablak", "Telepules", "CHAR(100)"}, {"Tablak", "Deleted", "BOOLEAN"},
    {"Normalhektar", "Deleted", "BOOLEAN"}, {"Raktarak", "Deleted", "BOOLEAN"},
    {"Munkagepek", "Deleted", "BOOLEAN"}, {"Erogepek", "Deleted", "BOOLEAN"},
    {"parcellak", "Deleted", "BOOLEAN"}, {"legnaplo", "Deleted", "BOOLEAN"},
    {"Vetomagok", "Deleted", "BOOLEAN"}, {"Novenyvedok", "Deleted", "BOOLEAN"},
    {"Gazdepulet", "Deleted", "BOOLEAN"},
    // checked on every start
    {"Parckiegadat", "odukszama", "INTEGER"}, {"Parckiegadat", "rovarcsszama", "INTEGER"},
    {"legnaplo", "Db", "INTEGER"}, {"legnaplo", "Celp_id", "INTEGER"},
    {"legnaplo", "Napok", "INTEGER"}, {"legnaplo", "Allid", "INTEGER"},
    {"legnaplo", "Kor_id", "INTEGER"}, {"legnaplo", "Legmod", "CHAR(100)"},
    {"legnaplo", "Deleted", "BOOLEAN"}, {"legnaplo", "Megjegyzes", "CHAR(200)"},
    {"legnaplo", "Ae", "NUMERIC(10,4)"},
};
// clang-format on

// The field an ALTER TABLE ... ADD of that SQL type makes.
db::FieldDef FieldOfSqlType(const std::string& name, const std::string& type) {
    if (type == "INTEGER")
        return {name, db::FieldType::Long, 4, 0};
    if (type == "DATE")
        return {name, db::FieldType::Date, 4, 0};
    if (type == "BOOLEAN")
        return {name, db::FieldType::Logical, 1, 0};
    if (type == "NUMERIC(10,4)")
        return {name, db::FieldType::Bcd, 17, 4};
    if (type.starts_with("CHAR("))
        return {name, db::FieldType::Alpha, std::stoi(type.substr(5)), 0};
    ADD_FAILURE() << "unknown type " << type;
    return {};
}

TEST(Catalogue, HoldsEveryUpgradeColumnSpelledExactlyWithTheUpgradesType) {
    for (const auto& column : kUpgradeColumns) {
        const TableDef* table = FindTable(column.table);
        ASSERT_NE(table, nullptr) << column.table;
        const db::FieldDef* field = FieldNamed(*table, column.column);
        ASSERT_NE(field, nullptr) << column.table << "." << column.column;
        EXPECT_EQ(*field, FieldOfSqlType(column.column, column.type))
            << column.table << "." << column.column;
    }
    // The planned twins carry the same columns.
    const std::pair<std::string, std::string> twins[] = {{"ElvMuv", "Tervelvmuv"},
                                                         {"felhanyag", "Tervfanyag"}};
    for (const auto& [original, twin] : twins)
        for (const auto& column : kUpgradeColumns)
            if (column.table == original) {
                EXPECT_NE(FieldNamed(*FindTable(twin), column.column), nullptr)
                    << twin << "." << column.column;
            }
}

TEST(Catalogue, KeepsTheColumnsTheFormsAndSheetsNameInTheirSpelling) {
    // Columns whose names are no ordinary identifiers, or whose letter case differs from
    // their neighbours'.
    const TableDef* ket = FindTable("TalajmintaKet");
    for (const char* name : {"025", "020", "2040", "030", "3060", "Megjegyzés"})
        EXPECT_NE(FieldNamed(*ket, name), nullptr) << name;
    EXPECT_NE(FieldNamed(*FindTable("kotegyter"), "12szaz"), nullptr);
    EXPECT_NE(FieldNamed(*FindTable("Altmuv"), "Megjegyzés"), nullptr);
    EXPECT_NE(FieldNamed(*FindTable("Tablak"), "Tableid"), nullptr);
    EXPECT_NE(FieldNamed(*FindTable("Ultkieg02"), "Ult02_id"), nullptr);
    const TableDef* parcellak = FindTable("parcellak");
    EXPECT_EQ(parcellak->fields[0].name, "Parc_id");
    EXPECT_EQ(parcellak->fields[1].name, "Parckod");
    const TableDef* erogepek = FindTable("Erogepek");
    EXPECT_EQ(erogepek->keyFields, 2);
    EXPECT_TRUE(erogepek->indexes[0].caseInsensitive);
    // The read-only lists as the joins read them.
    const TableDef* programmes = FindTable("celprogramok");
    std::vector<std::string> names;
    for (const auto& f : programmes->fields)
        names.push_back(f.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Id", "Kod", "Megnev", "Megjegy", "Deleted"}));
}

} // namespace
