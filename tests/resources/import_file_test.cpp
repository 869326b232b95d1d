// The import file of the excise-duty claim, compared byte for byte with reference files
// written from the file's rules by hand (tests/resources/data), and the file written
// safely: an old file moved aside without overwriting another, failures reported.

#include "diesel_fixture.h"
#include "resources/J04ImportFile.h"
#include "resources/J05u.h"
#include "support/test_env.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

using restest::DieselTest;

std::string Reference(const std::string& name) {
    return testenv::readFile(fs::path(FARM_SOURCE_DIR) / "tests/resources/data" / name);
}

// The items of the reference files: item i is dated 5 January 2010 plus i days.
restest::InvoiceItem ReferenceItem(int i) {
    const double litres[] = {12.0, 12.5, 12.25, 12.125};
    const char* rates[] = {"523", "602", "660", "664", "666"};
    return {std::to_string(11111111 + i),
            std::string(1, "GBZ"[i % 3]),
            rates[i % 5],
            i == 0 ? "ÁRVÍZTŰRŐ tükörfúrógép-ő/1" : "SZ-" + std::to_string(i) + "/2010",
            sys::encodeDate(2010, 1, 5) + i,
            litres[i % 4] + 10 * i,
            i == 2 ? -500 : 1000 * i + 7};
}

class ImportFile : public DieselTest {
protected:
    // Records the items, latest first: the file takes them in date order all the same.
    void AddReferenceItems(int count) {
        for (int i = count - 1; i >= 0; --i)
            AddItem(ReferenceItem(i));
    }

    // Opens the form, presses the import button with the name given to the save dialog.
    void WriteFile(const std::optional<std::string>& name) {
        dialogs.ExpectSaveFile(name);
        forms.On<TJ05>([](TJ05& f) {
            f.Button6->click();
            f.Close();
        });
        ui::ShowModalForm(J05, session);
    }
};

TEST(ImportFileRules, FieldCodesOfTheTellingRowsAndEveryCodeOfAPageOnce) {
    using res::ItemFieldCodes;
    EXPECT_EQ(res::FieldCodesOfRow(0), (ItemFieldCodes{570, 571, 572, 573, 1544, 1673, 1674}));
    EXPECT_EQ(res::FieldCodesOfRow(1), (ItemFieldCodes{577, 578, 579, 580, 581, 1675, 1707}));
    EXPECT_EQ(res::FieldCodesOfRow(2), (ItemFieldCodes{582, 583, 584, 585, 586, 1676, 1708}));
    EXPECT_EQ(res::FieldCodesOfRow(7), (ItemFieldCodes{607, 608, 609, 610, 611, 1681, 1713}));
    EXPECT_EQ(res::FieldCodesOfRow(8), (ItemFieldCodes{612, 613, 614, 615, 616, 1683, 1714}));
    EXPECT_EQ(res::FieldCodesOfRow(30), (ItemFieldCodes{722, 723, 724, 725, 726, 1705, 1736}));
    EXPECT_EQ(res::FieldCodesOfRow(31), (ItemFieldCodes{727, 728, 729, 740, 731, 1706, 1737}));
    std::set<int> codes;
    for (int row = 0; row < 32; ++row) {
        const ItemFieldCodes c = res::FieldCodesOfRow(row);
        codes.insert({c.adosz, c.szlaszam, c.teljkelt, c.gmenny, c.vegossz, c.szlatip, c.fajtakod});
    }
    EXPECT_EQ(codes.size(), 224u);
    for (int never : {730, 1682, 574, 575, 576})
        EXPECT_EQ(codes.count(never), 0u) << never;
    EXPECT_EQ(res::ItemPageCount(0), 1);
    EXPECT_EQ(res::ItemPageCount(31), 1);
    EXPECT_EQ(res::ItemPageCount(32), 2);
    EXPECT_EQ(res::ItemPageCount(64), 3);
}

TEST(ImportFileRules, QuantitiesGetAPointAndAtLeastTwoDecimals) {
    EXPECT_EQ(res::FormatQuantity("573[1]=12"), "573[1]=12.00");
    EXPECT_EQ(res::FormatQuantity("573[1]=12,5"), "573[1]=12.50");
    EXPECT_EQ(res::FormatQuantity("573[1]=12,25"), "573[1]=12.25");
    EXPECT_EQ(res::FormatQuantity("573[1]=12,125"), "573[1]=12.125");
    EXPECT_EQ(res::FormatQuantity("573[1]="), "573[1]=.00");
    EXPECT_EQ(res::ImportDate(sys::encodeDate(2010, 3, 5)), "20100305");
    EXPECT_EQ(res::ImportDate(sys::encodeDate(2011, 1, 5)), "20110105");
    EXPECT_EQ(res::ImportDate(0), "18991230");
}

TEST_F(ImportFile, MatchesTheReferenceFilesByteForByte) {
    for (int count : {0, 1, 32, 33}) {
        SCOPED_TRACE(count);
        {
            db::TTable items(session);
            items.SetTableName("szlatet");
            items.EmptyTable();
        }
        AddReferenceItems(count);
        char name[32];
        std::snprintf(name, sizeof name, "j04_%02d_items.imp", count);
        WriteFile(fs::absolute(name).string());
        EXPECT_EQ(testenv::readFile(name), Reference(name));
    }
    const auto lines = testenv::splitLines(testenv::readFile("j04_33_items.imp"));
    EXPECT_EQ(lines.size(), 237u);
    EXPECT_THAT(lines, ::testing::Contains("570[2]=11111143")); // the 33rd item, page 2
    EXPECT_THAT(lines, ::testing::Contains("740[1]=322.125"));  // row 31's litres
    // "Á" and "ő" of the first invoice number as Windows-1250 bytes.
    EXPECT_NE(testenv::readFile("j04_01_items.imp").find("571[1]=\xC1RV\xCDZT\xDBR\xD5"),
              std::string::npos);
}

TEST_F(ImportFile, EmptyFieldsGiveEmptyValuesAndTheDateOfDayZero) {
    AddItem({});
    WriteFile(fs::absolute("ures.imp").string());
    EXPECT_EQ(testenv::readFile("ures.imp"),
              std::string("$ny_azon=J04\n$sorok_sz\xE1ma=13\n$d_lapok_sz\xE1ma=2\n"
                          "$d_lap1=F.G,1\n$d_lap2=P4,1\n"
                          "$info=\xDC"
                          "dv\xF6zlet a sz\xE1mlat\xE9tel kit\xF6lt\xF5"
                          "b\xF6l\n"
                          "570[1]=\n571[1]=\n572[1]=18991230\n573[1]=.00\n1544[1]=\n"
                          "1673[1]=\n1674[1]=\n"));
}

TEST_F(ImportFile, ACancelledDialogWritesNothing) {
    AddReferenceItems(1);
    WriteFile(std::nullopt);
    for (const auto& entry : fs::directory_iterator(fs::current_path()))
        EXPECT_NE(entry.path().extension(), ".imp") << entry.path();
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(ImportFile, AnExistingFileIsMovedToTheWorkingDirectoryUnderItsBareName) {
    AddReferenceItems(1);
    fs::create_directory("abev");
    {
        std::FILE* old = std::fopen("abev/bevallas.txt", "wb");
        std::fputs("régi", old);
        std::fclose(old);
    }
    WriteFile(fs::absolute("abev/bevallas.txt").string());
    EXPECT_EQ(testenv::readFile("abev/bevallas.txt"), Reference("j04_01_items.imp"));
    EXPECT_EQ(testenv::readFile("bevallas.imp"), "régi");
    EXPECT_TRUE(dialogs.Shown().empty()); // success says nothing
}

TEST_F(ImportFile, AMoveThatWouldOverwriteAnotherFileIsRefusedAndReported) {
    AddReferenceItems(1);
    fs::create_directory("abev");
    auto write = [](const char* path, const char* text) {
        std::FILE* f = std::fopen(path, "wb");
        std::fputs(text, f);
        std::fclose(f);
    };
    write("abev/bevallas.imp", "a választott");
    write("bevallas.imp", "a munkakönyvtárban");
    dialogs.ExpectContaining("nem nevezhető át");
    WriteFile(fs::absolute("abev/bevallas.imp").string());
    EXPECT_THAT(dialogs.Last().text, ::testing::HasSubstr("már van ilyen nevű fájl"));
    EXPECT_THAT(dialogs.Last().text, ::testing::HasSubstr("Az import fájl nem készült el."));
    EXPECT_EQ(testenv::readFile("abev/bevallas.imp"), "a választott");
    EXPECT_EQ(testenv::readFile("bevallas.imp"), "a munkakönyvtárban");
}

TEST_F(ImportFile, TheChosenFileInTheWorkingDirectoryIsReplacedWhole) {
    AddReferenceItems(1);
    {
        std::FILE* f = std::fopen("bevallas.imp", "wb");
        std::fputs("régi tartalom, ami hosszabb az újnál sokkal sokkal sokkal", f);
        std::fclose(f);
    }
    WriteFile(fs::absolute("bevallas.imp").string());
    EXPECT_EQ(testenv::readFile("bevallas.imp"), Reference("j04_01_items.imp"));
}

// The superuser writes into read-only folders: while the file is written, the test acts
// as an ordinary user.
class OrdinaryUser {
public:
    OrdinaryUser() : was_(::geteuid()) {
        if (was_ == 0 && ::seteuid(65534) != 0)
            ADD_FAILURE() << "cannot act as an ordinary user";
    }
    ~OrdinaryUser() {
        if (was_ == 0 && ::seteuid(0) != 0)
            std::abort();
    }
    OrdinaryUser(const OrdinaryUser&) = delete;
    OrdinaryUser& operator=(const OrdinaryUser&) = delete;

private:
    uid_t was_;
};

TEST_F(ImportFile, AReadOnlyFolderIsReportedAndLeavesNoFile) {
    AddReferenceItems(1);
    fs::create_directory("zart");
    fs::permissions("zart", fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                                fs::perms::others_exec);
    dialogs.ExpectSaveFile(fs::absolute("zart/bevallas.imp").string());
    dialogs.ExpectContaining("Az import fájl nem írható");
    forms.On<TJ05>([](TJ05& f) {
        {
            OrdinaryUser user;
            f.Button6->click();
        }
        f.Close();
    });
    ui::ShowModalForm(J05, session);
    EXPECT_THAT(dialogs.Last().text, ::testing::HasSubstr("nincs írási jog"));
    fs::permissions("zart", fs::perms::owner_all);
    EXPECT_TRUE(fs::is_empty("zart"));
}

} // namespace

namespace {

// The save dialog asks through the dialog service; a name without extension gets the
// default one, a cancel leaves the name as it was.
TEST_F(DieselTest, TheSaveDialogAsksTheServiceAndAddsTheDefaultExtension) {
    ui::TSaveDialog dialog;
    dialog.Title = "Import fájl mentése";
    dialog.DefaultExt = "imp";
    dialog.InitialDir = "/adat";
    dialogs.ExpectSaveFile("/adat/bevallas");
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/adat/bevallas.imp");
    dialogs.ExpectSaveFile("/adat/bevallas.txt");
    EXPECT_TRUE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/adat/bevallas.txt");
    dialogs.ExpectSaveFile(std::nullopt);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(dialog.FileName, "/adat/bevallas.txt");
    ASSERT_EQ(dialogs.SaveDialogs().size(), 3u);
    EXPECT_EQ(dialogs.SaveDialogs()[0].title, "Import fájl mentése");
    EXPECT_EQ(dialogs.SaveDialogs()[0].initialDir, "/adat");
    EXPECT_EQ(dialogs.SaveDialogs()[2].fileName, "/adat/bevallas.txt");
}

} // namespace
