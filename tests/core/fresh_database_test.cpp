// A fresh database made in the test's working directory: every table of the inventory
// with exactly its index files, every file read cleanly by the independent reader, the
// reference rows read back; and the start-up check on empty, partial and complete
// databases.

#include "core/catalogue.h"
#include "core/fresh_database.h"
#include "core/inventory_files.h"
#include "inventory_database.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "support/test_env.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Every file of the directory, by lower-case name, with its time of last change.
std::map<std::string, fs::file_time_type> Files(const fs::path& dir = fs::current_path()) {
    std::map<std::string, fs::file_time_type> out;
    for (const auto& entry : fs::directory_iterator(dir))
        if (!testcore::IsEngineFile(entry))
            out[Lower(entry.path().filename().string())] = entry.last_write_time();
    return out;
}

// The lower-case extensions of the files whose stem is `table`, in any case.
std::set<std::string> ExtensionsOf(const std::string& table) {
    std::set<std::string> out;
    for (const auto& entry : fs::directory_iterator(fs::current_path()))
        if (Lower(entry.path().stem().string()) == Lower(table) && !testcore::IsEngineFile(entry))
            out.insert(Lower(entry.path().extension().string()));
    return out;
}

std::vector<std::string> Column(db::Session& session, const std::string& table,
                                const std::string& field) {
    db::TTable t(session);
    t.SetTableName(table);
    t.Open();
    std::vector<std::string> out;
    for (t.First(); !t.Eof(); t.Next())
        out.push_back(t.FieldByName(field).AsString());
    return out;
}

// Runs `command` on each file in one shell (the test binary is forked once), giving
// each file's output and exit status.
std::map<std::string, testenv::CommandResult> RunEach(const std::string& command,
                                                      const std::vector<std::string>& files) {
    std::string script;
    for (const auto& file : files)
        script += "printf '\\001%s\\n' '" + file + "'; " + command + " '" + file +
                  "' 2>&1; printf '\\002%d\\n' $?; ";
    const auto result = testenv::run(script);
    std::map<std::string, testenv::CommandResult> out;
    testenv::CommandResult* current = nullptr;
    for (const auto& line : testenv::splitLines(result.out)) {
        if (!line.empty() && line[0] == '\001') {
            current = &out[line.substr(1)];
        } else if (!line.empty() && line[0] == '\002' && current) {
            current->exitCode = std::stoi(line.substr(1));
            current = nullptr;
        } else if (current) {
            current->out += line + "\n";
        }
    }
    EXPECT_EQ(out.size(), files.size());
    return out;
}

// A dump without the comment lines that name the tool that made it.
std::vector<std::string> WithoutComments(const std::string& dump) {
    auto lines = testenv::splitLines(dump);
    std::erase_if(lines, [](const std::string& l) { return l.starts_with("# "); });
    return lines;
}

class FreshDatabase : public ::testing::Test {
protected:
    void SetUp() override {
        const auto check = core::PrepareDatabase(session_);
        ASSERT_TRUE(check.fresh);
        ASSERT_TRUE(check.missing.empty());
    }
    db::Session session_;
};

TEST_F(FreshDatabase, HasEveryInventoryTableWithExactlyItsIndexFiles) {
    for (const auto& entry : testcore::kInventory) {
        SCOPED_TRACE(entry.table);
        std::set<std::string> expected = {".db", ".px"};
        for (const auto& ext : testcore::IndexExtensions(entry))
            expected.insert(ext);
        if (std::string(entry.table) == "Normalhektar")
            expected.insert(".txt"); // the reference text "normalhektar.txt" beside it
        EXPECT_EQ(ExtensionsOf(entry.table), expected);
        EXPECT_TRUE(fs::exists(fs::current_path() / (std::string(entry.table) + ".db")))
            << "the data file is spelled as the inventory spells the table";
    }
    for (const char* list : {"celprogramok", "Akgmuvag", "szlatet"})
        EXPECT_EQ(ExtensionsOf(list), (std::set<std::string>{".db", ".px"})) << list;
}

TEST_F(FreshDatabase, EveryFileReadsCleanlyInTheIndependentReader) {
    std::vector<std::string> all, tables;
    for (const auto& entry : fs::directory_iterator(fs::current_path())) {
        if (Lower(entry.path().extension().string()) == ".txt" || testcore::IsEngineFile(entry))
            continue; // the reference texts and the engine's own files are no table files
        all.push_back(entry.path().filename().string());
        if (Lower(entry.path().extension().string()) == ".db")
            tables.push_back(all.back());
    }
    const std::string pxdump = "'" + testenv::tool("pxdump").string() + "'";
    for (const auto& [file, raw] : RunEach(pxdump + " -r", all)) {
        EXPECT_EQ(raw.exitCode, 0) << file << "\n" << raw.out;
        for (const auto& line : testenv::splitLines(raw.out))
            for (const char* bad : {"MISMATCH", "ERROR", "WARNING", "wrong"})
                EXPECT_EQ(line.find(bad), std::string::npos) << file << ": " << line;
    }
    // Our own reader and the independent one see the same headers and rows.
    const auto ours = RunEach("'" + testenv::tabledump().string() + "'", tables);
    const auto theirs = RunEach(pxdump, tables);
    for (const auto& file : tables) {
        EXPECT_EQ(ours.at(file).exitCode, 0) << file;
        EXPECT_EQ(WithoutComments(ours.at(file).out), WithoutComments(theirs.at(file).out)) << file;
    }
}

TEST_F(FreshDatabase, TablesReopenWithTheCataloguesLayoutKeyAndIndexes) {
    for (const auto& def : core::Catalogue()) {
        SCOPED_TRACE(def.name);
        auto table = session_.open(def.name);
        EXPECT_EQ(table->file().fields(), def.fields);
        EXPECT_EQ(table->file().keyFields(), def.keyFields);
        // The tables that grow with every operation have room for millions of rows.
        if (def.minBlockKiB != 0) {
            EXPECT_EQ(table->file().header().maxTableSize, def.minBlockKiB);
        }
        ASSERT_EQ(table->indexes().size(), def.indexes.size());
        for (const auto& index : def.indexes) {
            const auto* opened = table->index(index.name);
            ASSERT_NE(opened, nullptr) << index.name;
            EXPECT_EQ(opened->definition().fields, index.fields) << index.name;
            EXPECT_EQ(opened->verify(), "") << index.name;
        }
    }
}

TEST_F(FreshDatabase, OracleReadsTheHeaderWithTheAccentedAndDigitFieldNames) {
    const auto dump = testenv::run("'" + testenv::tool("pxdump").string() + "' -H '" +
                                   (fs::current_path() / "TalajmintaKet.db").string() + "'");
    ASSERT_EQ(dump.exitCode, 0);
    for (const char* name : {"Megjegyzés", "025", "2040", "3060", "Elsominatido"})
        EXPECT_NE(dump.out.find(name), std::string::npos) << name << "\n" << dump.out;
}

TEST_F(FreshDatabase, MachineTablesHoldOnlyTheNoMachineRow) {
    for (const auto& [table, typeField] :
         {std::pair<std::string, std::string>{"Erogepek", "Geptip"}, {"Munkagepek", "Tipus"}}) {
        SCOPED_TRACE(table);
        db::TTable t(session_);
        t.SetTableName(table);
        t.Open();
        ASSERT_EQ(t.RecordCount(), 1);
        t.First();
        EXPECT_EQ(t.FieldByName("Gepkod").AsString(), "100000");
        EXPECT_EQ(t.FieldByName("Gepnev").AsString(), "---");
        EXPECT_EQ(t.FieldByName(typeField).AsString(), "---");
        EXPECT_EQ(t.FieldByName("Tul").AsInteger(), 1);
        for (int i = 0; i < t.FieldCount(); ++i) {
            const auto& field = t.Fields(i);
            const std::string name = field.FieldName();
            if (name != "Gepkod" && name != "Gepnev" && name != typeField && name != "Tul" &&
                field.DataType() != db::FieldType::AutoInc) {
                EXPECT_TRUE(field.IsNull()) << name;
            }
        }
    }
}

TEST_F(FreshDatabase, ReferenceListsReadBack) {
    EXPECT_EQ(Column(session_, "Muvelesiag", "Id"),
              (std::vector<std::string>{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11",
                                        "12", "13"}));
    EXPECT_EQ(Column(session_, "Muvelesiag", "Muvag"),
              (std::vector<std::string>{"szántó", "gyep", "szőlő", "gyümölcs", "nádas", "halastó",
                                        "zsombékos, láp", "erdő", "pihentett terület", "kaszáló",
                                        "legelő", "fásított terület", "konyhakert"}));
    EXPECT_EQ(Column(session_, "Akgmuvag", "Id"), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Column(session_, "Akgmuvag", "Megnev"),
              (std::vector<std::string>{"Szántó", "Gyep", "Ültetvény"}));

    const auto codes = Column(session_, "celprogramok", "Kod");
    const auto names = Column(session_, "celprogramok", "Megnev");
    ASSERT_EQ(names.size(), 11u);
    EXPECT_EQ(Column(session_, "celprogramok", "Id").back(), "11");
    EXPECT_EQ(codes[0], "aa");
    EXPECT_EQ(names[0], "Integrált szántóföldi növénytermesztés célprogram");
    EXPECT_EQ(codes[2], "ac");
    EXPECT_EQ(names[2], "Ökológiai szántóföldi növénytermesztés célprogram");
    EXPECT_EQ(std::count(codes.begin(), codes.end(), ""), 9) << "no code was made up";
    EXPECT_EQ(names[10], "Hagyományos gyümölcstermesztés célprogram");
    for (const auto& deleted : Column(session_, "celprogramok", "Deleted"))
        EXPECT_EQ(deleted, "False");

    // The independent reader sees the same Windows-1250 text.
    const auto dump = testenv::run("'" + testenv::tool("pxdump").string() + "' '" +
                                   (fs::current_path() / "Muvelesiag.db").string() + "'");
    EXPECT_NE(dump.out.find("12\tfásított terület"), std::string::npos) << dump.out;
}

TEST_F(FreshDatabase, OtherTablesAreEmpty) {
    for (const auto& def : core::Catalogue()) {
        const std::string& n = def.name;
        if (n == "Erogepek" || n == "Munkagepek" || n == "Muvelesiag" || n == "Akgmuvag" ||
            n == "celprogramok" || n == "Normalhektar")
            continue;
        EXPECT_EQ(session_.open(n)->file().recordCount(), 0u) << n;
    }
}

TEST_F(FreshDatabase, ACompleteDatabaseIsLeftAlone) {
    const auto before = Files();
    const auto check = core::PrepareDatabase(session_);
    EXPECT_FALSE(check.fresh);
    EXPECT_TRUE(check.missing.empty());
    EXPECT_EQ(Files(), before);
}

TEST_F(FreshDatabase, ACompleteInventoryGetsOnlyItsMissingListsBack) {
    for (const char* ext : {".db", ".px"})
        fs::remove(fs::current_path() / (std::string("celprogramok") + ext));
    auto before = Files();
    db::Session session;
    const auto check = core::PrepareDatabase(session);
    EXPECT_FALSE(check.fresh);
    EXPECT_TRUE(check.missing.empty());
    EXPECT_EQ(Column(session, "celprogramok", "Megnev").size(), 11u);
    auto after = Files();
    after.erase("celprogramok.db");
    after.erase("celprogramok.px");
    EXPECT_EQ(after, before);
}

TEST(PrepareDatabase, APartialDatabaseNamesEveryMissingDataFileAndCreatesNothing) {
    {
        db::Session session;
        for (const char* name : {"Set", "Tablak", "parcellak"}) {
            const core::TableDef* def = core::FindTable(name);
            db::TableSchema schema;
            schema.fields = def->fields;
            schema.keyFields = def->keyFields;
            session.create(name, schema, def->indexes);
        }
    }
    // A table present in another letter case counts as present.
    fs::rename("Set.db", "SET.DB");
    fs::rename("Set.px", "SET.PX");
    const auto before = Files();

    db::Session session;
    const auto check = core::PrepareDatabase(session);
    EXPECT_FALSE(check.fresh);
    std::vector<std::string> expected;
    for (const auto& entry : testcore::kInventory) {
        const std::string name = entry.table;
        if (name != "Set" && name != "Tablak" && name != "parcellak")
            expected.push_back(name + ".db");
    }
    EXPECT_EQ(check.missing, expected);
    EXPECT_EQ(Files(), before);
}

TEST(PrepareDatabase, TheReadOnlyListsAloneDoNotMakeADatabase) {
    {
        db::Session session;
        const core::TableDef* def = core::FindTable("celprogramok");
        db::TableSchema schema;
        schema.fields = def->fields;
        schema.keyFields = def->keyFields;
        session.create("celprogramok", schema);
    }
    db::Session session;
    const auto check = core::PrepareDatabase(session);
    EXPECT_TRUE(check.fresh);
    EXPECT_TRUE(session.exists("Vetomagok"));
    EXPECT_TRUE(Column(session, "celprogramok", "Id").empty()) << "an existing table is kept";
}

TEST(InsertNoMachineRow, WritesTheRowWhateverTheSpellingAndRefusesOtherTables) {
    db::Session session;
    for (const char* name : {"Erogepek", "Munkagepek"}) {
        const core::TableDef* def = core::FindTable(name);
        db::TableSchema schema;
        schema.fields = def->fields;
        schema.keyFields = def->keyFields;
        session.create(name, schema, def->indexes);
    }
    core::InsertNoMachineRow(session, "erogepek.DB");
    core::InsertNoMachineRow(session, "Munkagepek");
    EXPECT_EQ(Column(session, "Erogepek", "Geptip"), std::vector<std::string>{"---"});
    EXPECT_EQ(Column(session, "Munkagepek", "Tipus"), std::vector<std::string>{"---"});
    EXPECT_THROW(core::InsertNoMachineRow(session, "Tablak"), std::invalid_argument);
}

} // namespace
