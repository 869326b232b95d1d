// The start-up: the database of the working directory (made fresh, or refused when
// partial), then the main window and the long-lived forms.

#include "app/startup.h"
#include "core/Adatkarbh.h"
#include "core/Folap.h"
#include "core/Isnuminth.h"
#include "core/Settings.h"
#include "core/fresh_database.h"
#include "core/inventory.h"
#include "long_lived_forms.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/layouts.h"
#include "platform/sys/codepage.h"
#include "register/Csoportostablamodh.h"
#include "register/Parckeze.h"
#include "reports/Funch.h"
#include "reports/Gazdnapvalasztoh.h"
#include "reports/Gn0914valasztou.h"
#include "reports/Gn1909vismajoru.h"
#include "reports/Gnketszukh.h"
#include "reports/Gnparcmuvadnyh.h"
#include "support/child_process.h"
#include "support/fault_vfs.h"
#include "support/table_rows.h"
#include "support/test_env.h"
#include "support/ui_test.h"

#include <QTimer>
#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

class StartUpTest : public testui::UiTest {
protected:
    ~StartUpTest() override {
        app.reset(); // the forms go before the session
        testapp::ForgetLongLivedForms();
    }
    db::Session session{fs::current_path()};
};

TEST_F(StartUpTest, EmptyWorkingDirectoryGetsAFreshDatabaseAndSaysSo) {
    report::RegisterLayout("TesztIndulas.rav", "farmreport 1\n# indulás\n");
    dialogs.Expect("Új, üres adatbázis készült a munkakönyvtárban: " + fs::current_path().string());
    EXPECT_EQ(app::PrepareWorkingDatabase(session), 0);
    EXPECT_EQ(dialogs.Last().type, ui::mtInformation);
    EXPECT_TRUE(fs::exists(session.tablePath("parcellak")));
    EXPECT_TRUE(fs::exists(session.tablePath("Set")));
    EXPECT_TRUE(fs::exists("TesztIndulas.rav")); // the report layouts beside it
    // Among them the 2004-2009 diary's sheets and the spray log.
    for (const char* diary :
         {"GN01Cim.rav", "09GN01Cim.rav", "GN02Osszesito.rav", "GN03Parcellak.rav",
          "09GN06Parcellak.rav", "GN07Novvedmegf.rav", "09GN09Novvedmegf.rav", "GN08Permetez.rav",
          "09GN10Permetez.rav", "Permetnaplo.rav", "PermetnaploM.rav", "09GN18Megjegyz.rav"})
        EXPECT_TRUE(fs::exists(diary)) << diary;
    // The next start finds it and says nothing.
    db::Session again(fs::current_path());
    EXPECT_EQ(app::PrepareWorkingDatabase(again), 0);
    EXPECT_EQ(dialogs.Shown().size(), 1u);
}

TEST_F(StartUpTest, AnIndexNotMatchingItsTableIsRebuiltAndTheUserIsTold) {
    core::CreateFreshDatabase(session);
    const fs::path px = fs::path(session.tablePath("Set")).replace_extension(".px");
    ASSERT_TRUE(fs::exists(px));
    std::ofstream(px, std::ios::binary | std::ios::trunc) << std::string(4096, '\x55');
    db::Session again(fs::current_path());
    EXPECT_EQ(app::PrepareWorkingDatabase(again), 0);
    // Whichever form opens the table first: the user hears of it once.
    dialogs.ExpectContaining("Egy indexfájl nem illett a táblájához");
    again.open("Set");
    EXPECT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Last().type, ui::mtWarning);
    EXPECT_NE(dialogs.Last().text.find(px.filename().string() + ": "), std::string::npos)
        << dialogs.Last().text;
}

// An index file holding another index (here a copy of another table's) is made again as
// the table's own, from the catalogue's definition.
TEST_F(StartUpTest, AnIndexFileHoldingAnotherIndexIsMadeAgainAsTheTablesOwn) {
    core::CreateFreshDatabase(session);
    for (const char* ext : {".xg", ".yg"})
        fs::copy_file(std::string("parcellak") + ext + "1", std::string("ElvMuv") + ext + "0",
                      fs::copy_options::overwrite_existing);
    db::Session again(fs::current_path());
    dialogs.ExpectContaining("ElvMuv.xg0: a fájlban nem a tábla ElvMuvMuvkodind indexe volt; "
                             "a program a tábla adataiból újraépítette");
    EXPECT_EQ(app::PrepareWorkingDatabase(again), 0);
    const auto table = again.open("ElvMuv");
    ASSERT_NE(table->index("ElvMuvMuvkodind"), nullptr);
    EXPECT_EQ(table->index("ElvMuvMuvkodind")->verify(), "");
    EXPECT_EQ(table->index("parckodind"), nullptr);
    dialogs.VerifyDone();
}

// A first start cut off while the database was being made leaves nothing in the working
// directory that the next start refuses: it makes the database again.
TEST_F(StartUpTest, AFirstStartCutOffMakesTheDatabaseAgainAtTheNextStart) {
    testenv::Child first(20, [](int) {
        db::Session cut(fs::current_path());
        core::PrepareDatabase(cut);
        ::_exit(0);
    });
    ASSERT_TRUE(first.wait().exited(99));
    std::ofstream("sajat.txt") << "a gazda saját fájlja";
    dialogs.ExpectContaining("Új, üres adatbázis készült");
    EXPECT_EQ(app::PrepareWorkingDatabase(session), 0);
    EXPECT_EQ(testenv::RowCount(session, "Muvelesiag"), core::kCultivationBranchCount);
    EXPECT_TRUE(fs::exists("sajat.txt"));
    dialogs.VerifyDone();
}

// A layout the program shipped before is brought to the current version at start; one
// the user changed is kept.
TEST_F(StartUpTest, AnEarlierShippedLayoutIsReplacedAndAChangedOneKept) {
    core::CreateFreshDatabase(session);
    const std::string earlier = "farmreport 1\n# a régi változat\n";
    const std::string current = "farmreport 1 version=2\n# az új változat\n";
    report::RegisterLayout("TesztRegi.rav", current, {report::LayoutChecksum(earlier)});
    report::RegisterLayout("TesztAtirt.rav", current, {report::LayoutChecksum(earlier)});
    std::ofstream("TesztRegi.rav", std::ios::binary) << earlier;
    std::ofstream("TesztAtirt.rav", std::ios::binary) << earlier + "# a gazda saját sora\n";
    EXPECT_EQ(app::PrepareWorkingDatabase(session), 0);
    EXPECT_EQ(testenv::readFile("TesztRegi.rav"), current);
    EXPECT_EQ(testenv::readFile("TesztAtirt.rav"), earlier + "# a gazda saját sora\n");
}

TEST_F(StartUpTest, PartialDatabaseIsRefusedNamingTheMissingFiles) {
    core::CreateFreshDatabase(session);
    fs::remove(session.tablePath("parcellak"));
    fs::remove(session.tablePath("Set"));
    db::Session partial(fs::current_path());
    dialogs.ExpectContaining("Hiányzó adatbázis fájlok: ");
    EXPECT_EQ(app::PrepareWorkingDatabase(partial), app::kExitMissingTables);
    const ui::Message& shown = dialogs.Last();
    EXPECT_EQ(shown.type, ui::mtError);
    EXPECT_NE(shown.text.find("parcellak.db"), std::string::npos) << shown.text;
    EXPECT_NE(shown.text.find("Set.db"), std::string::npos) << shown.text;
    EXPECT_FALSE(fs::exists(partial.tablePath("Set"))); // nothing is made in its place
}

TEST_F(StartUpTest, MainWindowFirstThenTheLongLivedForms) {
    core::CreateFreshDatabase(session);
    app::CreateForms(*app, session);
    EXPECT_EQ(app->Title(), "Dolvaren 3.0");
    ASSERT_NE(Folap1, nullptr);
    EXPECT_EQ(app->MainForm(), Folap1);
    EXPECT_TRUE(Folap1->isVisible());
    EXPECT_NE(NumericInt, nullptr);
    EXPECT_NE(Parckezeles, nullptr); // the operation deletes' holder
    EXPECT_NE(CsoportosTablamod, nullptr);
    EXPECT_NE(GNParMuvNy, nullptr); // the diary's routine holders
    EXPECT_NE(Func, nullptr);
    EXPECT_NE(GazdNaploValaszto, nullptr); // the 2004-2009 diary's selector, never shown
    EXPECT_FALSE(GazdNaploValaszto->isVisible());
    EXPECT_NE(GN200914, nullptr); // the 2009-2014 diary's forms, never shown
    EXPECT_NE(GNKetSzuk, nullptr);
    EXPECT_NE(GN1909vismajor, nullptr);
    EXPECT_EQ(app->HelpFile(), "HELP1.hlp"); // set again by the main window's activation
    EXPECT_EQ(core::ReadSetting(session, "DBVersion"), "3.05");
}

TEST_F(StartUpTest, AFreshDatabaseHasItsBackUpFolderAndTheFirstBackupSucceeds) {
    dialogs.ExpectContaining("Új, üres adatbázis készült");
    ASSERT_EQ(app::PrepareWorkingDatabase(session), 0);
    EXPECT_TRUE(fs::is_directory("BackUp"));
    TNumericInt numeric(session);
    NumericInt = &numeric;
    dialogs.Expect("Az adatbázis biztonsági mentése hibátlanul befejeződött.");
    {
        TAdatkarb form(session);
        form.Button1Click(nullptr);
    }
    NumericInt = nullptr;
    EXPECT_TRUE(fs::exists("BackUp/Agazaticsoport.db"));
    dialogs.VerifyDone();
}

// A first start cut off after its tables were moved into place left no BackUp folder:
// the next start, finding the database whole, makes it without a word; one spelled in
// another letter case is kept as the folder.
TEST_F(StartUpTest, AWholeDatabaseWithoutItsBackUpFolderGetsOne) {
    core::CreateFreshDatabase(session);
    ASSERT_FALSE(fs::exists("BackUp"));
    EXPECT_EQ(app::PrepareWorkingDatabase(session), 0);
    EXPECT_TRUE(fs::is_directory("BackUp"));
    fs::rename("BackUp", "backup");
    db::Session again(fs::current_path());
    EXPECT_EQ(app::PrepareWorkingDatabase(again), 0);
    EXPECT_FALSE(fs::exists("BackUp"));
    dialogs.VerifyDone();
}

// A table of the program whose header names another code page (0, 1251) is read in
// Windows-1250 all the same, and the user is told once which table it was; the file
// stays as it is. One that names DOS 852 is read in 852 without a word.
TEST_F(StartUpTest, ATableWhoseHeaderNamesAnotherCodePageIsReadInWindows1250) {
    core::CreateFreshDatabase(session);
    {
        db::TTable rain(session);
        rain.SetTableName("Csapadek");
        rain.Open();
        rain.Append();
        rain.FieldByName("Helye").SetAsString("dűlő");
        rain.Post();
    }
    for (const int named : {0, 1251, 852}) {
        std::string bytes = testenv::readFile("Csapadek.db");
        bytes[0x6A] = static_cast<char>(named & 0xFF);
        bytes[0x6B] = static_cast<char>(named >> 8);
        std::ofstream("Csapadek.db", std::ios::binary) << bytes;
        db::Session damaged(fs::current_path());
        if (named != 852)
            dialogs.ExpectContaining("A(z) Csapadek.db tábla fejléce a(z) " +
                                     std::to_string(named) + " kódlapot nevezi meg");
        EXPECT_EQ(app::PrepareWorkingDatabase(damaged), 0);
        const std::string place =
            named != 852 ? "dűlő" : sys::toUtf8(sys::fromUtf8("dűlő", 1250), 852);
        for (int read = 0; read < 2; ++read)
            EXPECT_EQ(testenv::ColumnValues(damaged, "Csapadek", "Helye"),
                      std::vector<std::string>{place})
                << named;
        dialogs.VerifyDone();
        if (named != 852) {
            EXPECT_EQ(dialogs.Last().type, ui::mtWarning);
        }
        EXPECT_EQ(testenv::readFile("Csapadek.db"), bytes);
    }
}

TEST_F(StartUpTest, MissingIndexFilesAreRebuiltAndTheUserToldOnce) {
    core::PrepareDatabase(session);
    fs::remove(session.tablePath("Tablak").replace_extension(".yg0"));
    fs::remove(session.tablePath("tulaj").replace_extension(".px"));
    db::Session next(fs::current_path());
    dialogs.Expect("Hiányzó index fájlok készültek újra a táblák adataiból: Tablak.yg0, "
                   "tulaj.px.\nAz adatok nem változtak.");
    EXPECT_EQ(app::PrepareWorkingDatabase(next), 0);
    EXPECT_EQ(dialogs.Last().type, ui::mtInformation);
    EXPECT_TRUE(fs::exists(session.tablePath("Tablak").replace_extension(".yg0")));
    EXPECT_TRUE(fs::exists(session.tablePath("tulaj").replace_extension(".px")));
    // The next start has nothing to say.
    db::Session again(fs::current_path());
    EXPECT_EQ(app::PrepareWorkingDatabase(again), 0);
    EXPECT_EQ(dialogs.Shown().size(), 1u);
}

// Every name in the folder with its size and modification time.
std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> FolderState() {
    std::map<std::string, std::pair<std::uintmax_t, fs::file_time_type>> state;
    for (const auto& entry : fs::directory_iterator(fs::current_path()))
        state[entry.path().filename().string()] = {entry.is_regular_file() ? entry.file_size() : 0,
                                                   entry.last_write_time()};
    return state;
}

TEST_F(StartUpTest, ASecondCopyOnTheSameFolderSaysSoAndStopsWithoutTouchingAFile) {
    core::CreateFreshDatabase(session);
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    // The first copy: another process that claims the folder as the program does.
    testenv::Child first(0, [&](int) {
        std::optional<sys::FileLock> lock;
        if (app::ClaimWorkingDirectory(fs::current_path(), lock) != 0)
            ::_exit(4);
        const char go = 1;
        if (::write(ready[1], &go, 1) != 1)
            ::_exit(4);
        ::pause();
    });
    char go = 0;
    ASSERT_EQ(::read(ready[0], &go, 1), 1);
    const auto before = FolderState();
    dialogs.Expect("A munkakönyvtár adatbázisát a program egy másik példánya már használja: " +
                   fs::current_path().string());
    std::optional<sys::FileLock> lock;
    EXPECT_EQ(app::ClaimWorkingDirectory(fs::current_path(), lock), app::kExitAnotherCopy);
    EXPECT_FALSE(lock.has_value());
    EXPECT_EQ(dialogs.Last().type, ui::mtError);
    EXPECT_EQ(FolderState(), before);
    // The first copy dies without a word: the system drops its lock, the folder is free.
    first.kill();
    first.wait();
    EXPECT_EQ(app::ClaimWorkingDirectory(fs::current_path(), lock), 0);
    EXPECT_TRUE(lock.has_value());
    EXPECT_EQ(dialogs.Shown().size(), 1u);
    ::close(ready[0]);
    ::close(ready[1]);
}

// "A program leáll": a restore from the settings form, opened from the menu while the
// message loop runs, ends the loop, and once the forms are gone the restored files are
// on disk.
TEST_F(StartUpTest, ASuccessfulRestoreEndsTheProgramWithTheRestoredFilesOnDisk) {
    dialogs.ExpectContaining("Új, üres adatbázis készült");
    ASSERT_EQ(app::PrepareWorkingDatabase(session), 0);
    app::CreateForms(*app, session);
    const auto settings = [] { Folap1->FindMenuItem({"Segítség", "Beállítások"})->Click(); };
    dialogs.Expect("Az adatbázis biztonsági mentése hibátlanul befejeződött.");
    forms.On<TAdatkarb>([](TAdatkarb& f) {
        f.Button1->Click();
        f.Close();
    });
    settings();
    { // work after the backup, which the restore undoes
        db::TTable rain(session);
        rain.SetTableName("Csapadek");
        rain.Open();
        rain.Append();
        rain.FieldByName("Helye").SetAsString("major");
        rain.Post();
    }
    dialogs.Expect("Valóban visszatölti a mentett adatbázist ? Adatvesztéssel járhat. ", ui::mrYes)
        .ExpectContaining("A program leáll.");
    forms.On<TAdatkarb>([](TAdatkarb& f) {
        f.Button2->Click();
        f.Close();
    });
    QTimer::singleShot(0, settings);
    QTimer watchdog; // a loop that went on would never return: it ends it, failing the test
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        ADD_FAILURE() << "the program goes on after the restore";
        QCoreApplication::exit(1);
    });
    watchdog.start(30000);
    app->Run();
    watchdog.stop();
    app.reset();
    testapp::ForgetLongLivedForms();
    std::size_t restored = 0;
    for (const auto& copy : fs::directory_iterator("BackUp")) {
        const std::string name = copy.path().filename().string();
        EXPECT_EQ(testenv::readFile(core::FindDatabaseFile(".", name)),
                  testenv::readFile(copy.path()))
            << name;
        ++restored;
    }
    EXPECT_GT(restored, 200u);
    EXPECT_EQ(testenv::RowCount(session, "Csapadek"), 0);
}

TEST_F(StartUpTest, ASaveInterruptedByACrashIsRolledBackAndTheUserToldOnce) {
    core::CreateFreshDatabase(session);
    const db::TableSchema schema{{{"Kod", db::FieldType::Long, 4, 0}}, 1};
    session.create("Proba1", schema);
    session.create("Proba2", schema);
    // The program dies in the middle of writing a save over both tables.
    testenv::Child crashed(0, [](int) {
        testenv::FaultVfs vfs(fs::current_path());
        db::Session program(fs::current_path(), db::Durability::OsBuffers, &vfs);
        db::SessionTransaction transaction(program);
        for (const char* name : {"Proba1", "Proba2"}) {
            db::Record row{std::int32_t{1}};
            program.open(name)->insert(row);
        }
        vfs.killAfter(7); // both journals are written, the first table in part
        transaction.Commit();
        ::_exit(0);
    });
    ASSERT_TRUE(crashed.wait().exited(99));
    db::Session restarted(fs::current_path());
    dialogs.Expect(
        "Egy félbeszakadt mentést a program visszavont; érintett táblák: Proba1, Proba2");
    EXPECT_EQ(app::PrepareWorkingDatabase(restarted), 0);
    EXPECT_EQ(dialogs.Last().type, ui::mtWarning);
    EXPECT_EQ(restarted.open("Proba1")->file().recordCount(), 0u);
    EXPECT_EQ(restarted.open("Proba2")->file().recordCount(), 0u);
    db::Session again(fs::current_path());
    EXPECT_EQ(app::PrepareWorkingDatabase(again), 0);
    EXPECT_EQ(dialogs.Shown().size(), 1u);
}

} // namespace
