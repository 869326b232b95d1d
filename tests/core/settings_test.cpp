// The settings rows, the land-use code fix, the schema upgrade with its failures, and the
// backup-offer day, on tables in the working directory.

#include "core/Settings.h"
#include "core_tables.h"
#include "platform/db/table.h"
#include "support/fault_vfs.h"
#include "support/table_check.h"

#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

using coretest::FieldNames;
using coretest::Rows;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

namespace {

// A start of the program as the main window runs it: the fix, the version test and the
// upgrade, the every-start checks. Returns every failure.
std::vector<core::ColumnFailure> Start(db::Session& session) {
    core::FixLandUseCodes(session);
    std::vector<core::ColumnFailure> failures;
    if (core::ReadSetting(session, "DBVersion") != core::kSchemaVersion)
        failures = core::UpgradeDatabase(session);
    for (auto& f : core::CheckStartColumns(session))
        failures.push_back(f);
    return failures;
}

} // namespace

TEST(Settings, WriteInsertsOnceThenEditsAndReadsBack) {
    db::Session session;
    coretest::MakeSet(session);
    EXPECT_EQ(core::ReadSetting(session, "DBVersion"), std::nullopt);
    core::WriteSetting(session, "DBVersion", "3.04");
    core::WriteSetting(session, "DBVersion", "3.05 ");
    core::WriteSetting(session, "it's", "x");
    EXPECT_THAT(Rows(session, "Set"), ElementsAre("DBVersion|3.05 ", "it's|x"));
    // A trailing blank is kept, so the version test runs the upgrade again.
    EXPECT_EQ(core::ReadSetting(session, "DBVersion"), "3.05 ");
    EXPECT_NE(core::ReadSetting(session, "DBVersion"), core::kSchemaVersion);
    EXPECT_EQ(core::ReadSetting(session, "it's"), "x");
    EXPECT_EQ(core::ReadSetting(session, "it"), std::nullopt);
}

TEST(Settings, FreshSettingsTableRunsFixAndUpgradeAndStampsBoth) {
    db::Session session;
    coretest::MakeSet(session);
    coretest::MakeOldDatabase(session);
    EXPECT_TRUE(Start(session).empty());
    EXPECT_THAT(Rows(session, "Set"), ElementsAre("DBVersion|3.05", "fhasznjog|2009"));
    EXPECT_EQ(testenv::compareWithOracle(session.tablePath("Set")), "");
}

TEST(Settings, LandUseCodesAreRewrittenOnceExactly) {
    db::Session session;
    coretest::MakeSet(session);
    coretest::MakeTablak(session);
    {
        db::TTable tablak(session);
        tablak.SetTableName("Tablak");
        tablak.Open();
        for (const char* code : {"I", "SZ", "i", "sz", "T", "", "SZI"}) {
            tablak.Append();
            tablak.FieldByName("Helysz").SetAsString(std::string("hrsz ") + code);
            tablak.FieldByName("Parcella").SetAsString(code);
            tablak.Post();
        }
    }
    core::FixLandUseCodes(session);
    EXPECT_THAT(Rows(session, "Tablak"),
                ElementsAre("1|hrsz I|T", "2|hrsz SZ|B", "3|hrsz i|i", "4|hrsz sz|sz", "5|hrsz T|T",
                            "6|hrsz |<null>", "7|hrsz SZI|SZI"));
    EXPECT_EQ(core::ReadSetting(session, "fhasznjog"), "2009");

    // Marked as done: a code written afterwards stays.
    {
        db::TTable tablak(session);
        tablak.SetTableName("Tablak");
        tablak.Open();
        tablak.First();
        tablak.Edit();
        tablak.FieldByName("Parcella").SetAsString("I");
        tablak.Post();
    }
    core::FixLandUseCodes(session);
    EXPECT_EQ(Rows(session, "Tablak").front(), "1|hrsz I|I");
}

// The power going at any step of the fix leaves every code and the mark as before or
// every one as after: a start cut off runs the whole fix again.
TEST(Settings, LandUseFixCutOffAnywhereIsAllOrNothing) {
    namespace fs = std::filesystem;
    for (long step = 1;; ++step) {
        SCOPED_TRACE("power cut at step " + std::to_string(step));
        fs::remove_all("farm");
        fs::create_directory("farm");
        {
            db::Session session("farm");
            coretest::MakeSet(session);
            coretest::MakeTablak(session);
            db::TTable tablak(session);
            tablak.SetTableName("Tablak");
            tablak.Open();
            for (const char* code : {"I", "SZ", "I"}) {
                tablak.Append();
                tablak.FieldByName("Parcella").SetAsString(code);
                tablak.Post();
            }
        }
        testenv::FaultVfs vfs("farm");
        try {
            db::Session session("farm", db::Durability::Fsync, &vfs);
            vfs.cutPowerAt(step, 0);
            core::FixLandUseCodes(session);
        } catch (const testenv::PowerCut&) {
        }
        if (!vfs.powerIsCut())
            break;
        vfs.restart();
        db::Session after("farm");
        after.recoverInterruptedChanges();
        std::vector<std::string> codes;
        for (const std::string& row : Rows(after, "Tablak"))
            codes.push_back(row.substr(row.rfind('|') + 1));
        if (core::ReadSetting(after, "fhasznjog") == "2009")
            ASSERT_THAT(codes, ElementsAre("T", "B", "T"));
        else
            ASSERT_THAT(codes, ElementsAre("I", "SZ", "I"));
    }
}

TEST(Settings, UpgradeAddsEveryColumnAndKeepsTheRows) {
    db::Session session;
    coretest::MakeSet(session);
    coretest::MakeOldDatabase(session);
    std::map<std::string, std::vector<std::string>> before;
    for (const std::string& table : coretest::OldDatabaseTables())
        before[table] = Rows(session, table);

    ASSERT_TRUE(core::UpgradeDatabase(session).empty());
    ASSERT_TRUE(core::CheckStartColumns(session).empty());

    EXPECT_THAT(FieldNames(session, "ElvMuv"),
                ElementsAre("Muvkod", "Tablakod", "Datum", "Ter", "Sorsz", "Vizkivid", "Muvveg",
                            "Tajkotmegnev", "Bejelido", "Bejelkot", "Deleted", "Megjegyzes"));
    EXPECT_THAT(FieldNames(session, "parcellak"),
                ElementsAre("Parckod", "Evj", "Ter", "Aktiv", "Szaporitotip", "Tapanytelj",
                            "Tervhozam", "Talajbaszantas", "Vismajor", "Megjegyzes", "Nkat",
                            "Nat2000", "Nitr", "Tizszaz", "Kattam", "Nattam", "Ketid", "Deleted"));
    EXPECT_THAT(FieldNames(session, "Alapadatok"),
                IsSupersetOf({"Szakirregsz", "Szaktan", "Szaktaneng", "Szaktancim"}));
    EXPECT_THAT(FieldNames(session, "felhanyag"),
                IsSupersetOf({"Egyhatoany", "Tragyakod", "Szervestr", "Higtr", "Egyebtr", "Deleted",
                              "Sorsz", "Mutr"}));
    EXPECT_THAT(FieldNames(session, "legnaplo"),
                ElementsAre("Id", "Tablakod", "Deleted", "Db", "Celp_id", "Napok", "Allid",
                            "Kor_id", "Legmod", "Megjegyzes", "Ae"));
    EXPECT_THAT(FieldNames(session, "Parckiegadat"),
                ElementsAre("Parckod", "Toszam", "odukszama", "rovarcsszama"));
    for (const char* table : {"Normalhektar", "Raktarak", "Munkagepek", "Erogepek", "Vetomagok",
                              "Novenyvedok", "Gazdepulet"})
        EXPECT_EQ(FieldNames(session, table).back(), "Deleted") << table;

    // The types as the list gives them.
    const auto parcellak = session.open("parcellak");
    const auto& fields = parcellak->file().header().fields;
    EXPECT_EQ(fields[6].type, db::FieldType::Bcd);
    EXPECT_EQ(fields[6].decimals, 4);
    const auto elvmuv = session.open("ElvMuv");
    const auto& ops = elvmuv->file().header().fields;
    EXPECT_EQ(ops[4].type, db::FieldType::Long);
    EXPECT_EQ(ops[6].type, db::FieldType::Date);
    EXPECT_EQ(ops[7].type, db::FieldType::Alpha);
    EXPECT_EQ(ops[7].size, 50);
    EXPECT_EQ(ops[9].type, db::FieldType::Logical);

    // Every row is there with its values; the new columns are empty.
    for (const std::string& table : coretest::OldDatabaseTables()) {
        const std::vector<std::string> after = Rows(session, table);
        ASSERT_EQ(after.size(), before[table].size()) << table;
        for (std::size_t i = 0; i < after.size(); ++i) {
            const std::string& old = before[table][i];
            EXPECT_EQ(after[i].substr(0, old.size()), old) << table;
            EXPECT_EQ(after[i].find_first_not_of("|<null>", old.size()), std::string::npos)
                << table << ": " << after[i];
        }
        EXPECT_EQ(testenv::compareWithOracle(session.tablePath(table)), "") << table;
    }
}

TEST(Settings, SecondStartChangesNoByte) {
    {
        db::Session session;
        coretest::MakeSet(session);
        coretest::MakeOldDatabase(session);
        ASSERT_TRUE(Start(session).empty());
    }
    const auto first = coretest::FileBytes();
    db::Session session;
    EXPECT_TRUE(Start(session).empty());
    EXPECT_TRUE(coretest::FileBytes() == first);

    // Even a forced upgrade finds every column: only the version row is written again.
    EXPECT_TRUE(core::UpgradeDatabase(session).empty());
    auto forced = coretest::FileBytes();
    ASSERT_EQ(forced.size(), first.size());
    for (const auto& [name, bytes] : first) {
        if (name.rfind("Set.", 0) != 0) {
            EXPECT_TRUE(forced[name] == bytes) << name << " changed";
        }
    }
}

TEST(Settings, ColumnNamedInAnotherCaseIsFoundAndTheVersionStamped) {
    db::Session session;
    coretest::MakeSet(session);
    coretest::MakeOldDatabase(session);
    std::filesystem::remove(session.tablePath("GNMegjegy"));
    session.create("GNMegjegy", {{coretest::Field("msorsz", db::FieldType::Long)}, 0});
    core::WriteSetting(session, "DBVersion", "3.04");

    EXPECT_TRUE(core::UpgradeDatabase(session).empty());
    EXPECT_THAT(FieldNames(session, "GNMegjegy"), ElementsAre("msorsz"));
    EXPECT_EQ(core::ReadSetting(session, "DBVersion"), "3.05");
    EXPECT_EQ(FieldNames(session, "Gazdepulet").back(), "Deleted");
}

TEST(Settings, ColumnFailuresAreNamedWithTheirTableAndReason) {
    const std::string message = core::ColumnFailureMessage(
        {{"GNMegjegy", "Msorsz", "the wider records need 70000 blocks"}});
    EXPECT_EQ(message, "Az adatbázis frissítése nem sikerült teljesen. A következő oszlopok "
                       "nem adhatók hozzá:\nGNMegjegy: Msorsz (the wider records need 70000 "
                       "blocks)\nA frissítés a program következő indításakor újra lefut.");
}

TEST(Settings, MissingTableStopsTheUpgradeWithOneMessageNamingIt) {
    db::Session session;
    coretest::MakeSet(session);
    coretest::MakeOldDatabase(session);
    std::filesystem::remove(session.tablePath("Magfajtak"));
    std::filesystem::remove(session.tablePath("Magfajtak").replace_extension(".px"));

    try {
        core::UpgradeDatabase(session);
        FAIL() << "the upgrade went on";
    } catch (const core::UnreadableTable& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Az adatbázis frissítése nem folytatható: a(z) "
                                              "Magfajtak",
                                              0),
                  0u)
            << e.what();
    }
    EXPECT_EQ(core::ReadSetting(session, "DBVersion"), std::nullopt);
    // The tables after it are left as they were.
    EXPECT_NE(FieldNames(session, "Gazdepulet").back(), "Deleted");
}

TEST(Settings, DamagedTableStopsTheUpgradeNamingTheFileAndTheDamage) {
    db::Session session;
    coretest::MakeSet(session);
    coretest::MakeOldDatabase(session);
    {
        // The header's file type byte overwritten: no table data file any more.
        std::fstream file(session.tablePath("felhanyag"),
                          std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4);
        file.put(static_cast<char>(0x55));
    }
    core::WriteSetting(session, "DBVersion", "3.04");
    try {
        core::UpgradeDatabase(session);
        FAIL() << "the upgrade went on";
    } catch (const core::UnreadableTable& e) {
        const std::string text = e.what();
        EXPECT_EQ(text.rfind("Az adatbázis frissítése nem folytatható: a(z) felhanyag.db nem "
                             "olvasható (a fájl sérült).\nA program leáll.",
                             0),
                  0u)
            << text;
    }
    EXPECT_EQ(core::ReadSetting(session, "DBVersion"), "3.04");
    // The tables before it were brought up to date; the damaged one was not touched.
    EXPECT_EQ(FieldNames(session, "Tapanyagok").back(), "Mutr");
}

TEST(Settings, TheUpgradeReportsItsProgressColumnByColumn) {
    db::Session session;
    coretest::MakeSet(session);
    coretest::MakeOldDatabase(session);
    std::vector<std::pair<std::size_t, std::size_t>> steps;
    EXPECT_TRUE(core::UpgradeDatabase(session, [&](std::size_t done, std::size_t total) {
                    steps.emplace_back(done, total);
                }).empty());
    ASSERT_EQ(steps.size(), 18u); // after each table
    EXPECT_EQ(steps.front(), std::make_pair(std::size_t{8}, std::size_t{58}));
    EXPECT_EQ(steps.back(), std::make_pair(std::size_t{58}, std::size_t{58}));
    for (std::size_t i = 1; i < steps.size(); ++i)
        EXPECT_GT(steps[i].first, steps[i - 1].first);
}

TEST(Settings, SafetySaveOffersFromTheTwentySecondDay) {
    const double d = 40000;
    db::Session session;
    coretest::MakeSet(session);
    EXPECT_FALSE(core::SafetySaveDue(session, d + 0.75));
    EXPECT_EQ(core::ReadSetting(session, "safetysave"), "40000");

    EXPECT_FALSE(core::SafetySaveDue(session, d + 21));
    EXPECT_EQ(core::ReadSetting(session, "safetysave"), "40000");
    EXPECT_TRUE(core::SafetySaveDue(session, d + 22));
    EXPECT_EQ(core::ReadSetting(session, "safetysave"), "40022");
    EXPECT_FALSE(core::SafetySaveDue(session, d + 23));
    EXPECT_THAT(Rows(session, "Set"), ElementsAre("safetysave|40022"));
}

TEST(Settings, SafetySaveDayEmptyOrUnreadableStartsTheCount) {
    db::Session session;
    coretest::MakeSet(session);
    for (const char* stored : {"", "tegnap"}) {
        core::WriteSetting(session, "safetysave", stored);
        EXPECT_FALSE(core::SafetySaveDue(session, 45000));
        EXPECT_EQ(core::ReadSetting(session, "safetysave"), "45000");
    }
}
