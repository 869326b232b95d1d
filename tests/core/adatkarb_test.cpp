// The settings form: backup, restore, deletion of all data and archive on a database of
// every inventory table, and the option switches.

#include "core/Adatkarbh.h"
#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "core/inventory.h"
#include "inventory_database.h"
#include "platform/db/table.h"
#include "platform/sys/archive.h"
#include "platform/sys/file_copy.h"
#include "platform/sys/text.h"
#include "support/child_process.h"
#include "support/journal_state.h"
#include "support/table_rows.h"
#include "support/test_env.h"
#include "support/ui_test.h"

#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace fs = std::filesystem;
using testcore::AddRows;
using testcore::RowCount;
using testcore::Snapshot;

namespace {

const char* const kBackupDone = "Az adatbázis biztonsági mentése hibátlanul befejeződött.";
const char* const kRestoreQuestion =
    "Valóban visszatölti a mentett adatbázist ? Adatvesztéssel járhat. ";
const char* const kRestoreDone = "Kimentett adatbázis visszatöltése hibátlanul befejeződött. "
                                 "Frissítéshez a programot indítsa újra. A program leáll.";
const char* const kDeleteQuestion =
    "Valóban törölni szeretné az összes eddig rögzített adatot? Az összes adat elvész. ";
const char* const kDeleteDone = "Az adatok törlése sikeresen befejeződött.";

class AdatkarbTest : public testui::UiTest {
protected:
    AdatkarbTest() {
        testcore::CreateInventoryTables(session, true);
        NumericInt = &numeric;
    }
    ~AdatkarbTest() override { NumericInt = nullptr; }

    TAdatkarb& Form() {
        if (!form)
            form = std::make_unique<TAdatkarb>(session);
        return *form;
    }
    // The live database files (the working directory without BackUp).
    std::map<std::string, std::string> Live() const { return Snapshot(fs::current_path()); }
    std::map<std::string, std::string> Backup() const { return Snapshot("BackUp"); }

    void Fill() {
        AddRows(session, "Tablak", 40);
        AddRows(session, "parcellak", 25);
        AddRows(session, "ElvMuv", 60);
        AddRows(session, "Vetomagok", 5);
        AddRows(session, "Erogepek", 3);
        AddRows(session, "Alapadatok", 2);
    }

    // The messages shown so far: their types, in order.
    std::vector<ui::TMsgDlgType> ShownTypes() const {
        std::vector<ui::TMsgDlgType> types;
        for (const ui::Message& message : dialogs.Shown())
            types.push_back(message.type);
        return types;
    }

    db::Session session;
    TNumericInt numeric{session};
    std::unique_ptr<TAdatkarb> form;
};

using Types = std::vector<ui::TMsgDlgType>;

// --- backup and restore --------------------------------------------------------------

TEST_F(AdatkarbTest, BackupThenRestoreGivesBackTheSavedFilesByteForByte) {
    Fill();
    fs::create_directory("BackUp");
    const auto saved = Live();
    ASSERT_EQ(saved.size(), 244u);

    dialogs.Expect(kBackupDone);
    Form().Button1->Click();
    EXPECT_EQ(Backup(), saved);
    EXPECT_EQ(ShownTypes(), (Types{ui::mtInformation}));

    // Later work: rows added and removed, an index file and a family file gone.
    AddRows(session, "Tablak", 30, 200000);
    AddRows(session, "Szemely", 4);
    db::TTable elvmuv(session);
    elvmuv.SetTableName("ElvMuv");
    elvmuv.EmptyTable();
    fs::remove("ElvMuv.fam");
    ASSERT_NE(Live(), saved);

    dialogs.Expect(kRestoreQuestion, ui::mrYes).Expect(kRestoreDone);
    Form().Button2->Click();
    EXPECT_EQ(Live(), saved);
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(ShownTypes(), (Types{ui::mtInformation, ui::mtWarning, ui::mtInformation}));

    // The restored tables open and hold what was saved.
    db::Session fresh;
    EXPECT_EQ(RowCount(fresh, "Tablak"), 40);
    EXPECT_EQ(RowCount(fresh, "ElvMuv"), 60);
    EXPECT_EQ(RowCount(fresh, "Szemely"), 0);
}

TEST_F(AdatkarbTest, BackupFindsFilesInAnyLetterCaseAndKeepsOneCopyOfEach) {
    // Tablak and vizkivet were made as ".DB": their companions are "Tablak.PX", ...
    ASSERT_TRUE(fs::exists("Tablak.XG2"));
    fs::create_directory("BackUp");
    // An older copy spelled otherwise is replaced, not doubled.
    { std::ofstream("BackUp/TABLAK.xg2") << "old"; }
    dialogs.Expect(kBackupDone);
    Form().Button1Click(nullptr);
    const auto copies = Backup();
    EXPECT_EQ(copies.size(), 244u);
    EXPECT_EQ(copies.at("TABLAK.xg2"), Live().at("Tablak.XG2"));
    EXPECT_EQ(copies.count("Tablak.XG2"), 0u);
}

TEST_F(AdatkarbTest, FreshDatabaseWithoutFamilyFilesIsBackedUpAndRestored) {
    for (const core::InventoryFile& file : core::BackupFiles())
        if (file.optional)
            fs::remove(file.name);
    fs::create_directory("BackUp");
    const auto saved = Live();
    EXPECT_EQ(saved.size(), 244u - 12u);
    dialogs.Expect(kBackupDone);
    Form().Button1Click(nullptr);
    EXPECT_EQ(Backup(), saved);

    AddRows(session, "Tapterv", 3);
    dialogs.Expect(kRestoreQuestion, ui::mrYes).Expect(kRestoreDone);
    Form().Button2Click(nullptr);
    EXPECT_EQ(Live(), saved);
}

TEST_F(AdatkarbTest, BackupWithoutBackUpFolderNamesTheFirstFile) {
    dialogs
        .Expect("Hiba a Agazaticsoport.db kimentésénél!\nA BackUp mappa nem található a "
                "munkakönyvtárban.")
        .Expect("Hibás mentés!");
    Form().Button1Click(nullptr);
    EXPECT_EQ(ShownTypes(), (Types{ui::mtError, ui::mtError}));
    EXPECT_FALSE(fs::exists("BackUp"));
}

TEST_F(AdatkarbTest, BackupWithALiveFileMissingKeepsTheOldBackupWhole) {
    fs::create_directory("BackUp");
    dialogs.Expect(kBackupDone);
    Form().Button1Click(nullptr);
    const auto before = Backup();

    AddRows(session, "Agazaticsoport", 5);
    fs::remove("Szhelyrajzi.xg1");
    dialogs.Expect("Hiba a Szhelyrajzi.xg1 kimentésénél!\nA fájl nem található a munkakönyvtárban.")
        .Expect("Hibás mentés!");
    Form().Button1Click(nullptr);
    EXPECT_EQ(Backup(), before);
}

TEST_F(AdatkarbTest, BackupFailingMidwayLeavesNoHalfFileAndTheOldCopies) {
    Fill();
    fs::create_directory("BackUp");
    dialogs.Expect(kBackupDone);
    Form().Button1Click(nullptr);
    const auto before = Backup();

    AddRows(session, "Tablak", 10, 300000);
    AddRows(session, "Vetomagok", 10, 300000);
    // The last file cannot be written: a folder stands where its copy would be made.
    fs::create_directory(sys::temporaryCopyName("BackUp/Vetomagok.yg1"));
    dialogs.Expect("Hiba a Vetomagok.yg1 kimentésénél!\nA fájl nem másolható: a fájl már létezik.")
        .Expect("Hibás mentés!");
    Form().Button1Click(nullptr);
    EXPECT_EQ(Backup(), before);
}

TEST_F(AdatkarbTest, RestoreWithAFileMissingFromBackUpChangesNothing) {
    fs::create_directory("BackUp");
    dialogs.Expect(kBackupDone);
    Form().Button1Click(nullptr);
    fs::remove("BackUp/parcellak.xg2");
    Fill();
    const auto live = Live();

    dialogs.Expect(kRestoreQuestion, ui::mrYes)
        .Expect("Hiba a parcellak.xg2 visszatöltésénél!\nA fájl nem található a BackUp mappában.")
        .Expect("Hibás visszatöltés!");
    Form().Button2Click(nullptr);
    EXPECT_EQ(Live(), live);
    EXPECT_FALSE(app->Terminated());
    EXPECT_EQ(ShownTypes()[2], ui::mtError);
    EXPECT_EQ(ShownTypes()[3], ui::mtError);
}

TEST_F(AdatkarbTest, RestoreWithoutBackUpFolderNamesTheFirstFile) {
    const auto live = Live();
    dialogs.Expect(kRestoreQuestion, ui::mrYes)
        .Expect("Hiba a Agazaticsoport.db visszatöltésénél!\nA BackUp mappa nem található a "
                "munkakönyvtárban.")
        .Expect("Hibás visszatöltés!");
    Form().Button2Click(nullptr);
    EXPECT_EQ(Live(), live);
    EXPECT_FALSE(app->Terminated());
}

TEST_F(AdatkarbTest, RestoreAnsweredNoChangesNothing) {
    fs::create_directory("BackUp");
    dialogs.Expect(kBackupDone);
    Form().Button1Click(nullptr);
    Fill();
    const auto live = Live();
    dialogs.Expect(kRestoreQuestion, ui::mrNo);
    Form().Button2Click(nullptr);
    EXPECT_EQ(Live(), live);
    EXPECT_FALSE(app->Terminated());
}

// --- deletion of all data --------------------------------------------------------------

TEST_F(AdatkarbTest, DeleteAllEmptiesTheDataTablesAndWritesTheNoMachineRows) {
    for (const core::InventoryTable& table : core::Inventory())
        AddRows(session, std::string(table.name), 3);
    const auto before = Live();

    dialogs.Expect(kDeleteQuestion, ui::mrYes).Expect(kDeleteDone);
    Form().Button3->Click();
    EXPECT_EQ(ShownTypes(), (Types{ui::mtWarning, ui::mtInformation}));

    const auto after = Live();
    int emptied = 0;
    for (const core::InventoryTable& table : core::Inventory()) {
        const std::string name(table.name);
        if (table.kept()) {
            for (std::string_view extension : table.extensions) {
                const std::string file =
                    core::FindDatabaseFile(".", name + std::string(extension)).filename().string();
                EXPECT_EQ(after.at(file), before.at(file)) << file;
            }
            continue;
        }
        ++emptied;
        const bool machines = name == "Erogepek" || name == "Munkagepek";
        EXPECT_EQ(RowCount(session, name), machines ? 1 : 0) << name;
    }
    EXPECT_EQ(emptied, 57);
    EXPECT_EQ(RowCount(session, "Alapadatok"), 0);
    EXPECT_EQ(RowCount(session, "Alapadat2"), 0);

    for (const std::string& name : {std::string("Erogepek"), std::string("Munkagepek")}) {
        db::TTable table(session);
        table.SetTableName(name);
        table.Open();
        EXPECT_EQ(table.FieldByName("Gepkod").AsString(), "100000");
        EXPECT_EQ(table.FieldByName("Gepnev").AsString(), "---");
        EXPECT_EQ(table.Fields(2).AsString(), "---");
        EXPECT_EQ(table.FieldByName("Tul").AsInteger(), 1);
        EXPECT_TRUE(table.FieldByName("F0").IsNull());
    }
}

TEST_F(AdatkarbTest, DeleteAllAnsweredNoChangesNothing) {
    Fill();
    const auto before = Live();
    dialogs.Expect(kDeleteQuestion, ui::mrNo);
    Form().Button3Click(nullptr);
    EXPECT_EQ(Live(), before);
}

// --- archive -------------------------------------------------------------------------

TEST(ArchiveName, HasNoLeadingZerosAndNoMilliseconds) {
    EXPECT_EQ(core::ArchiveName(sys::encodeDate(2011, 1, 1)), "res2011_1_1_0_0_0");
    EXPECT_EQ(core::ArchiveName(sys::encodeDateTime({{2010, 7, 21}, {9, 5, 3, 250}})),
              "res2010_7_21_9_5_3");
    EXPECT_EQ(core::ArchiveName(sys::encodeDateTime({{2012, 12, 31}, {23, 59, 59, 0}})),
              "res2012_12_31_23_59_59");
}

TEST_F(AdatkarbTest, ArchiveHoldsTheBackUpFolderAfterTheBackup) {
    Fill();
    fs::create_directory("BackUp");
    Form().Clock = [] { return sys::encodeDate(2011, 1, 1); };
    dialogs.Expect(kBackupDone);
    Form().Button4->Click();
    EXPECT_EQ(dialogs.Shown().size(), 1u);

    const fs::path archive = "res2011_1_1_0_0_0.zip";
    ASSERT_TRUE(fs::is_regular_file(archive));
    const auto copies = Backup();
    std::vector<std::string> expected = {"BackUp/"};
    for (const auto& [name, contents] : copies)
        expected.push_back("BackUp/" + name);
    EXPECT_EQ(sys::zipEntries(archive), expected);
    EXPECT_EQ(sys::zipEntryContents(archive, "BackUp/Tablak.DB"), copies.at("Tablak.DB"));
    EXPECT_EQ(sys::zipEntryContents(archive, "BackUp/ElvMuv.fam"), copies.at("ElvMuv.fam"));
    EXPECT_FALSE(fs::exists(sys::temporaryCopyName(archive)));
}

TEST_F(AdatkarbTest, ArchiveFollowsAFailedBackupAndReportsAMissingFolder) {
    Form().Clock = [] { return sys::encodeDateTime({{2010, 7, 21}, {9, 5, 3, 0}}); };
    dialogs
        .Expect("Hiba a Agazaticsoport.db kimentésénél!\nA BackUp mappa nem található a "
                "munkakönyvtárban.")
        .Expect("Hibás mentés!")
        .Expect("Hiba az archívum (res2010_7_21_9_5_3.zip) írásakor: a BackUp mappa nem "
                "található.");
    Form().Button4Click(nullptr);
    EXPECT_FALSE(fs::exists("res2010_7_21_9_5_3.zip"));
}

TEST_F(AdatkarbTest, ArchiveThatCannotBeWrittenIsNamed) {
    fs::create_directory("BackUp");
    Form().Clock = [] { return sys::encodeDate(2011, 1, 1); };
    fs::create_directory("res2011_1_1_0_0_0.zip"); // the name is taken by a folder
    dialogs.Expect(kBackupDone)
        .ExpectContaining("Hiba az archívum (res2011_1_1_0_0_0.zip) "
                          "írásakor: ");
    Form().Button4Click(nullptr);
    EXPECT_EQ(ShownTypes().back(), ui::mtError);
}

// --- the form and its switches ---------------------------------------------------------

// The option rows of Alapadatok.db: name -> value.
std::map<std::string, std::string> Options(db::Session& session) {
    db::TTable table(session);
    table.SetTableName("Alapadatok");
    table.Open();
    std::map<std::string, std::string> rows;
    for (; !table.Eof(); table.Next())
        rows[table.FieldByName("Nev").AsString()] = table.FieldByName("Cim").AsString();
    return rows;
}

using Rows = std::map<std::string, std::string>;

TEST_F(AdatkarbTest, FormHasThreePagesWithTheMaintenancePageInFront) {
    TAdatkarb& f = Form();
    EXPECT_EQ(f.Caption(), "Beállítások, karbantartás");
    ASSERT_EQ(f.PageControl1->PageCount(), 3);
    EXPECT_EQ(f.PageControl1->Pages(0)->Caption(), "Adatbázis karbantartása");
    EXPECT_EQ(f.PageControl1->Pages(1)->Caption(), "Készletkezelés");
    EXPECT_EQ(f.PageControl1->Pages(2)->Caption(), "Megjelenés");
    EXPECT_EQ(f.PageControl1->ActivePage(), f.TabSheet1);
    EXPECT_EQ(f.Button1->Caption(), "Biztonsági mentés");
    EXPECT_EQ(f.Button2->Caption(), "Visszatöltés");
    EXPECT_EQ(f.Button4->Caption(), "Archivállás");
    EXPECT_EQ(f.Button3->Caption(), "Adatok törlése");
    EXPECT_LT(f.Button1->Top(), f.Button2->Top());
    EXPECT_LT(f.Button2->Top(), f.Button4->Top());
    EXPECT_LT(f.Button4->Top(), f.Button3->Top());
    EXPECT_EQ(f.GroupBox1->Caption(), "Műveleti adatok ");
    EXPECT_EQ(f.GroupBox2->Caption(), "Új tábla kialakítása");
    EXPECT_EQ(f.GroupBox3->Caption(), "Erőgépek - munkagépek");
    EXPECT_EQ(f.CheckBox1->Caption(), "Készletek figyelmenkívül hagyása (műveleteknél).");
}

TEST_F(AdatkarbTest, StockSwitchWritesOneKeszRow) {
    TAdatkarb& f = Form();
    forms.On<TAdatkarb>([](TAdatkarb& shown) { shown.Close(); });
    f.ShowModal();
    EXPECT_FALSE(f.CheckBox1->Checked());
    EXPECT_EQ(Options(session), Rows{}); // showing writes nothing

    f.CheckBox1->click();
    EXPECT_EQ(Options(session), (Rows{{"_kesz", "no"}}));
    f.CheckBox1->click();
    EXPECT_EQ(Options(session), (Rows{{"_kesz", "yes"}}));
}

TEST_F(AdatkarbTest, StockKeepingOffShowsTickedAndStaysOff) {
    Form().CheckBox1->SetChecked(true);
    ASSERT_EQ(Options(session), (Rows{{"_kesz", "no"}}));
    TAdatkarb again(session);
    again.FormShow(nullptr);
    EXPECT_TRUE(again.CheckBox1->Checked());
    EXPECT_EQ(Options(session), (Rows{{"_kesz", "no"}}));
}

TEST_F(AdatkarbTest, TheThreeMaximisedBoxesAreThreeOptions) {
    TAdatkarb& f = Form();
    f.FormShow(nullptr);
    EXPECT_EQ(f.CheckBox2->Caption(), "Maximális méretű megjelenés");
    EXPECT_EQ(f.CheckBox4->Caption(), "Maximális méretű megjelenés");
    EXPECT_EQ(f.CheckBox5->Caption(), "Maximális méretű megjelenés");
    f.CheckBox2->click();
    EXPECT_EQ(Options(session), (Rows{{"_MuvFormState", "yes"}}));
    f.CheckBox4->click();
    f.CheckBox5->click();
    f.CheckBox2->click();
    EXPECT_EQ(Options(session),
              (Rows{{"_GepekFormState", "yes"}, {"_MuvFormState", "no"}, {"_UjParcState", "yes"}}));
    f.CheckBox3->click();
    f.CheckBox6->click();
    EXPECT_EQ(Options(session).at("_MuvFormEddig"), "yes");
    EXPECT_EQ(Options(session).at("_ElozoParc"), "yes");

    TAdatkarb again(session);
    again.FormShow(nullptr);
    EXPECT_FALSE(again.CheckBox2->Checked());
    EXPECT_TRUE(again.CheckBox3->Checked());
    EXPECT_TRUE(again.CheckBox4->Checked());
    EXPECT_TRUE(again.CheckBox5->Checked());
    EXPECT_TRUE(again.CheckBox6->Checked());
}

TEST_F(AdatkarbTest, AfterDeleteAllEveryBoxIsClear) {
    TAdatkarb& f = Form();
    for (ui::TCheckBox* box :
         {f.CheckBox1, f.CheckBox2, f.CheckBox3, f.CheckBox4, f.CheckBox5, f.CheckBox6})
        box->SetChecked(true);
    ASSERT_EQ(Options(session).size(), 6u);

    dialogs.Expect(kDeleteQuestion, ui::mrYes).Expect(kDeleteDone);
    f.Button3Click(nullptr);
    TAdatkarb again(session);
    again.FormShow(nullptr);
    for (ui::TCheckBox* box : {again.CheckBox1, again.CheckBox2, again.CheckBox3, again.CheckBox4,
                               again.CheckBox5, again.CheckBox6})
        EXPECT_FALSE(box->Checked()) << box->Caption();
    EXPECT_EQ(Options(session), Rows{});
}

} // namespace

// --- a new installation's database -----------------------------------------------------

class FreshDatabaseMaintenance : public testui::UiTest {
protected:
    db::Session session;
};

// The diesel invoice items are backed up and restored with the invoices; the deletion of
// all data keeps them.
TEST_F(FreshDatabaseMaintenance, IsBackedUpRestoredAndEmptied) {
    core::CreateFreshDatabase(session);
    const auto addItem = [&](const std::string& number) {
        db::TTable items(session);
        items.SetTableName("szlatet.db");
        items.Open();
        items.Append();
        items.FieldByName("Szlaszam").SetAsString(number);
        items.Post();
    };
    addItem("G-1");
    fs::create_directory("BackUp");
    TAdatkarb form(session);
    dialogs.Expect(kBackupDone);
    form.Button1Click(nullptr);
    // Every file of the inventory but the family and view files, which a new database
    // has none of, and the invoice items' files.
    const auto copies = Snapshot("BackUp");
    std::set<std::string> expected;
    for (const core::InventoryFile& file : core::BackupFiles())
        if (!file.optional || file.table->outside)
            expected.insert(sys::toLower(file.name));
    std::set<std::string> copied;
    for (const auto& [name, contents] : copies)
        copied.insert(sys::toLower(name));
    EXPECT_EQ(copied, expected);

    dialogs.Expect(kDeleteQuestion, ui::mrYes).Expect(kDeleteDone);
    form.Button3Click(nullptr);
    EXPECT_EQ(RowCount(session, "Erogepek"), 1);
    EXPECT_EQ(RowCount(session, "Munkagepek"), 1);
    EXPECT_GT(RowCount(session, "Muvelesiag"), 0); // kept
    EXPECT_EQ(RowCount(session, "szlatet"), 1);
    addItem("G-2");

    dialogs.Expect(kRestoreQuestion, ui::mrYes).Expect(kRestoreDone);
    form.Button2Click(nullptr);
    for (const auto& [name, contents] : copies)
        EXPECT_EQ(testenv::readFile(core::FindDatabaseFile(".", name)), contents) << name;
    db::Session restored;
    EXPECT_EQ(testenv::ColumnValues(restored, "szlatet", "Szlaszam"),
              std::vector<std::string>{"G-1"});
}

// --- a change interrupted by a crash ---------------------------------------------------

namespace {

// The files of one table: extension -> contents.
std::map<std::string, std::string> TableFiles(const std::map<std::string, std::string>& files,
                                              const std::string& stem) {
    std::map<std::string, std::string> found;
    for (const auto& [name, contents] : files)
        if (fs::path(name).stem() == stem)
            found[fs::path(name).extension().string()] = contents;
    return found;
}

// Runs an insert into parcellak in a child that dies at each step of its commit in turn,
// until one leaves the journal with the table's files already changed.
bool CrashMidInsert() {
    const auto before = TableFiles(testcore::Snapshot("."), "parcellak");
    for (long step = 1; step < 60; ++step) {
        testenv::Child child(step, [](int) {
            db::Session session;
            AddRows(session, "parcellak", 1, 900000);
        });
        if (!child.wait().exited(99))
            return false;
        const auto after = TableFiles(testcore::Snapshot("."), "parcellak");
        // The journal stays between changes holding none: a crash left one that holds one.
        if (after.count(".jnl") && testenv::journalBytesHoldAChange(after.at(".jnl"))) {
            auto files = after;
            auto original = before;
            files.erase(".jnl");
            original.erase(".jnl");
            if (files.size() == original.size() && files != original)
                return true;
        }
        db::Session recover; // undoes the interrupted change for the next try
        RowCount(recover, "parcellak");
    }
    return false;
}

} // namespace

TEST_F(AdatkarbTest, BackupUndoesAChangeAnInterruptedCrashLeft) {
    AddRows(session, "parcellak", 20);
    fs::create_directory("BackUp");
    const auto before = TableFiles(Live(), "parcellak");
    ASSERT_TRUE(CrashMidInsert());

    dialogs.Expect(kBackupDone);
    Form().Button1Click(nullptr);
    EXPECT_EQ(TableFiles(Backup(), "parcellak"), before);
    EXPECT_EQ(TableFiles(Live(), "parcellak"), before);
}
