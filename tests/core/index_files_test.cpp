// The start-up's check of the index files: every primary and secondary index file the
// inventory lists that is missing is made again from its table, under its own number,
// the data files untouched, so that the backup that follows finds every file.

#include "core/Adatkarbh.h"
#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "core/index_files.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "support/table_check.h"
#include "support/test_env.h"
#include "support/ui_test.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void AddParcels(db::Session& session, int rows) {
    db::TTable t(session);
    t.SetTableName("Tablak");
    t.Open();
    for (int i = 0; i < rows; ++i) {
        t.Append();
        t.FieldByName("Helysz").SetAsString(std::to_string(1000 - i) + "/1");
        t.FieldByName("Hazmeg").SetAsString("Dűlő " + std::to_string(i % 37));
        t.FieldByName("Tulkod").SetAsString("100000");
        t.FieldByName("Aktiv").SetAsInteger(1);
        t.Post();
    }
}

// The names of the table's secondary indexes by the number of their files.
std::map<std::string, std::string> IndexNames(db::Session& session, const std::string& table) {
    std::map<std::string, std::string> names;
    const auto open = session.open(table);
    for (const auto& index : open->indexes())
        names[index->xPath().extension().string()] = index->definition().name;
    return names;
}

class IndexFiles : public testui::UiTest {
protected:
    IndexFiles() {
        core::PrepareDatabase(session);
        AddParcels(session, 300);
    }
    db::Session session{fs::current_path()};
};

TEST_F(IndexFiles, ACompleteDatabaseHasNothingToRebuild) {
    EXPECT_TRUE(core::MissingIndexFiles(session).empty());
    int calls = 0;
    EXPECT_TRUE(core::RebuildMissingIndexFiles(session, [&](auto, auto) { ++calls; }).empty());
    EXPECT_EQ(calls, 0);
}

TEST_F(IndexFiles, MissingIndexFilesAreRebuiltUnderTheirNumbersAndTheDataStays) {
    const auto namesBefore = IndexNames(session, "Tablak");
    const std::string data = Bytes(session.tablePath("Tablak"));
    const std::string parcels = Bytes(session.tablePath("parcellak"));
    fs::remove(session.tablePath("Tablak").replace_extension(".px"));
    fs::remove(session.tablePath("Tablak").replace_extension(".xg1"));
    fs::remove(session.tablePath("parcellak").replace_extension(".yg2"));
    fs::remove(session.tablePath("ElvMuv").replace_extension(".xg0"));
    fs::remove(session.tablePath("ElvMuv").replace_extension(".yg0"));

    const std::vector<std::string> missing = core::MissingIndexFiles(session);
    EXPECT_EQ(missing, (std::vector<std::string>{"ElvMuv.xg0", "ElvMuv.yg0", "parcellak.yg2",
                                                 "Tablak.px", "Tablak.xg1"}));
    std::vector<std::pair<std::size_t, std::size_t>> progress;
    const auto rebuilt = core::RebuildMissingIndexFiles(
        session, [&](std::size_t done, std::size_t total) { progress.emplace_back(done, total); });
    EXPECT_EQ(rebuilt, missing);
    EXPECT_EQ(progress, (std::vector<std::pair<std::size_t, std::size_t>>{{1, 3}, {2, 3}, {3, 3}}));
    EXPECT_TRUE(core::MissingIndexFiles(session).empty());

    // The data files are as they were; the indexes have their names under their numbers.
    EXPECT_EQ(Bytes(session.tablePath("Tablak")), data);
    EXPECT_EQ(Bytes(session.tablePath("parcellak")), parcels);
    EXPECT_EQ(IndexNames(session, "Tablak"), namesBefore);
    EXPECT_EQ(testenv::compareWithOracle(session.tablePath("Tablak")), "");
    // The index orders the rows again: by house name.
    db::TTable byName(session);
    byName.SetTableName("Tablak");
    byName.SetIndexName("Tablakhazmind");
    byName.Open();
    EXPECT_EQ(byName.RecordCount(), 300);
    EXPECT_EQ(byName.FieldByName("Hazmeg").AsString(), "Dűlő 0");
    byName.Last();
    EXPECT_EQ(byName.FieldByName("Hazmeg").AsString(), "Dűlő 9");
}

TEST_F(IndexFiles, AfterTheRebuildTheBackupFindsEveryFile) {
    fs::remove(session.tablePath("tulaj").replace_extension(".yg0"));
    fs::remove(session.tablePath("Szhelyrajzi").replace_extension(".px"));
    ASSERT_EQ(core::RebuildMissingIndexFiles(session).size(), 2u);
    fs::create_directory("BackUp");
    TNumericInt numeric(session);
    NumericInt = &numeric;
    dialogs.Expect("Az adatbázis biztonsági mentése hibátlanul befejeződött.");
    {
        TAdatkarb form(session);
        form.Button1Click(nullptr);
    }
    NumericInt = nullptr;
    EXPECT_TRUE(fs::exists("BackUp/tulaj.yg0"));
    EXPECT_TRUE(fs::exists("BackUp/Szhelyrajzi.px"));
    dialogs.VerifyDone();
}

TEST(RebuiltIndexMessage, NamesEveryFileOnce) {
    EXPECT_EQ(core::RebuiltIndexMessage({"Tablak.px", "tulaj.yg0"}),
              "Hiányzó index fájlok készültek újra a táblák adataiból: Tablak.px, tulaj.yg0.\n"
              "Az adatok nem változtak.");
}

} // namespace
