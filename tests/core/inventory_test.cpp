// The database's file inventory and its three orders.

#include "core/inventory.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> Names(const std::vector<const core::InventoryTable*>& tables) {
    std::vector<std::string> names;
    for (const core::InventoryTable* table : tables)
        names.emplace_back(table->name);
    return names;
}

std::vector<std::string> InventoryNames() {
    std::vector<std::string> names;
    for (const core::InventoryTable& table : core::Inventory())
        names.emplace_back(table.name);
    return names;
}

// The backup copies the diesel invoice items (szlatet) too, after the invoices.
TEST(Inventory, HoldsSixtyEightTablesAndTheBackupTwoHundredFortySixFiles) {
    EXPECT_EQ(core::Inventory().size(), 68u);
    const std::vector<core::InventoryFile> files = core::BackupFiles();
    ASSERT_EQ(files.size(), 246u);
    EXPECT_EQ(files.front().name, "Agazaticsoport.db");
    EXPECT_EQ(files.back().name, "Vetomagok.yg1");
    std::set<std::string> unique;
    for (const core::InventoryFile& file : files)
        unique.insert(file.name);
    EXPECT_EQ(unique.size(), 246u);
    const auto items = std::find_if(files.begin(), files.end(), [](const core::InventoryFile& f) {
        return f.name == "szlatet.db";
    });
    ASSERT_NE(items, files.end());
    EXPECT_EQ(items[-1].name, "Gazolajszla.yg0");
    EXPECT_EQ(items[1].name, "szlatet.px");

    // A table's files in its own order, spelled as the inventory spells them.
    std::vector<std::string> parcellak;
    for (const core::InventoryFile& file : files)
        if (file.table->name == "parcellak")
            parcellak.push_back(file.name);
    EXPECT_EQ(parcellak, (std::vector<std::string>{
                             "parcellak.db", "parcellak.xg0", "parcellak.px", "parcellak.xg1",
                             "parcellak.yg0", "parcellak.yg1", "parcellak.yg2", "parcellak.xg2"}));
}

// A backup made before the invoice items were copied lacks them.
TEST(Inventory, OnlyFamilyViewAndInvoiceItemFilesMayBeMissing) {
    std::vector<std::string> optional;
    for (const core::InventoryFile& file : core::BackupFiles())
        if (file.optional)
            optional.push_back(file.name);
    EXPECT_EQ(optional,
              (std::vector<std::string>{
                  "Alapadatok.fam", "Alapadatok.tv", "ElvMuv.fam", "ElvMuv.tv", "Gazdepulet.fam",
                  "Gazdepulet.tv", "szlatet.db", "szlatet.px", "Novenyvedok.fam", "Novenyvedok.tv",
                  "Tapanyagok.fam", "Tapanyagok.tv", "Tervelvmuv.fam", "Tervelvmuv.tv"}));
}

TEST(Inventory, RestoreOrderDiffersInTwoPlaces) {
    std::vector<std::string> expected = InventoryNames();
    const auto at = [&](const std::string& name) {
        return std::find(expected.begin(), expected.end(), name);
    };
    expected.insert(at("Gazolajszla") + 1, "szlatet");
    std::iter_swap(at("Szemely"), at("Szaktanacs"));
    expected.erase(at("mitak_helyek"));
    expected.erase(at("TalajmintaKet"));
    expected.insert(at("Tapanyagok") + 1, {"mitak_helyek", "TalajmintaKet"});
    EXPECT_EQ(Names(core::RestoreOrder()), expected);
    EXPECT_EQ(core::FilesOf(core::RestoreOrder()).size(), 246u);
}

TEST(Inventory, DeleteAllEmptiesFiftySevenTablesInItsOwnOrder) {
    const std::vector<std::string> order = Names(core::DeleteAllOrder());
    ASSERT_EQ(order.size(), 57u);
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 7),
              (std::vector<std::string>{"Agazaticsoport", "Foldhasznterv", "mitak_helyek",
                                        "TalajmintaKet", "Alapadatok", "ElvMuv", "Erogepek"}));
    EXPECT_EQ(order[15], "muv_novmegf");
    EXPECT_EQ(order[14], "Munkagepek");
    EXPECT_EQ(order.back(), "vizkivet");
    std::vector<std::string> kept;
    for (const core::InventoryTable& table : core::Inventory())
        if (table.kept())
            kept.emplace_back(table.name);
    EXPECT_EQ(kept, (std::vector<std::string>{"Allatfajok", "Korcsoport", "Magfajtak", "Muvelesiag",
                                              "Normalhektar", "Novenyv", "Novenyvedok", "Set",
                                              "Talajkategoria", "Tapanyagok", "Vetomagok"}));
}

TEST(Inventory, FilesAreFoundInAnyLetterCase) {
    std::ofstream("Tablak.XG0") << "x";
    EXPECT_EQ(core::FindDatabaseFile(".", "Tablak.xg0").filename(), "Tablak.XG0");
    EXPECT_EQ(core::FindDatabaseFile(".", "Tablak.db"), fs::path(".") / "Tablak.db");
}

} // namespace
