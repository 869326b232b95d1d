// The main window: the caption, the first show's database steps, the commands and their
// openers, the repeat question after recording operations, the strip, the exit with the
// backup offer, help and Ctrl+X.

#include "core/Adatkarbh.h"
#include "core/Folap.h"
#include "core/Settings.h"
#include "core/fresh_database.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"
#include "support/child_process.h"
#include "support/ui_test.h"

#include <QMenu>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

const std::string kCaption = "Dolvaren - Gazdálkodási Napló [2009-14] 3.05";
const std::string kAskForMore = "Kéri további művelet felvitelét?";
const std::string kBackupQuestion =
    "Automatikus adatmentés. Az adatmentés során a BackUp tartalma fölülíródik. "
    "Engedélyezi az adatmentést?";

// Stands in for the operation-recording form: it notes the last field it was opened
// with and, like that form after saving, leaves its own field behind.
class TMuvadatStandIn : public ui::TForm {
public:
    explicit TMuvadatStandIn(db::Session&) { OnShow = Handler(&TMuvadatStandIn::FormShow); }
    void FormShow(TObject*) { SeenFields.push_back(Folap1->LastFieldCode()); }
    static inline std::vector<std::string> SeenFields;
};
TMuvadatStandIn* MuvadatStandIn = nullptr;

class FolapTest : public testui::UiTest {
protected:
    FolapTest() {
        core::CreateFreshDatabase(session);
        TMuvadatStandIn::SeenFields.clear();
    }
    ~FolapTest() override {
        app.reset(); // the forms go before the session
        Folap1 = nullptr;
    }

    // Creates the main window as the application's main form; `show` shows it as
    // start-up does.
    TFolap1& Open(bool show = true) {
        app->CreateForm(Folap1, session);
        Folap1->Timer1->SetEnabled(false); // the tests move the strip themselves
        Folap1->ExitProcess = [this](int code) { exitCodes.push_back(code); };
        if (show)
            ShowActive(*Folap1);
        return *Folap1;
    }

    // Installs the stand-in as the operation form; each showing saves on field "100123".
    void InstallOperationForm() {
        Folap1->SetFormOpener("TMuvadat", [this] { ui::ShowModalForm(MuvadatStandIn, session); });
    }
    void ExpectOperationRecorded(int times) {
        for (int i = 0; i < times; ++i)
            forms.On<TMuvadatStandIn>([](TMuvadatStandIn& form) {
                Folap1->SetLastFieldCode("100123");
                form.SetModalResult(ui::mrOk);
            });
    }

    void StoreSafetySaveDay(double day) {
        core::WriteSetting(session, "safetysave", std::to_string(static_cast<long>(day)));
    }

    db::Session session{std::filesystem::current_path()};
    std::vector<int> exitCodes;
};

// --- caption and first show ---------------------------------------------------------------

TEST_F(FolapTest, EmptyBasicDataGivesEmptyBracketsInTheCaption) {
    TFolap1& form = Open();
    EXPECT_EQ(form.Caption(), kCaption + " ()");
    EXPECT_EQ(form.ClientWidth(), 867);
    EXPECT_EQ(form.ClientHeight(), 54);
    EXPECT_EQ(form.HelpContext(), 40);
}

TEST_F(FolapTest, CaptionNamesTheFarmNeverAnOptionRow) {
    db::TTable alapadatok(session);
    alapadatok.SetTableName("Alapadatok");
    alapadatok.Open();
    alapadatok.Insert();
    alapadatok.FieldByName("Nev").SetAsString("_kesz");
    alapadatok.FieldByName("Cim").SetAsString("no");
    alapadatok.Post();
    TFolap1& form = Open();
    EXPECT_EQ(form.Caption(), kCaption + " ()");
    alapadatok.Insert();
    alapadatok.FieldByName("Nev").SetAsString("Kovács Béla");
    alapadatok.Post();
    alapadatok.Close();
    form.Activate(); // as when a form it opened closes
    EXPECT_EQ(form.Caption(), kCaption + " (Kovács Béla)");
}

TEST_F(FolapTest, DesignCaptionUntilShown) {
    EXPECT_EQ(Open(false).Caption(), kCaption);
}

TEST_F(FolapTest, FirstShowCentresAtTheTopAndUpgradesAFreshDatabase) {
    EXPECT_FALSE(core::ReadSetting(session, "DBVersion").has_value());
    TFolap1& form = Open();
    // The window manager may add its frame after the move.
    EXPECT_NEAR(form.Left(), ui::Screen::Width() / 2 - form.Width() / 2, 4);
    EXPECT_EQ(form.Top(), 0);
    EXPECT_EQ(form.LastFieldCode(), "xxxxxx");
    db::Session reread(std::filesystem::current_path());
    EXPECT_EQ(core::ReadSetting(reread, "fhasznjog"), "2009");
    EXPECT_EQ(core::ReadSetting(reread, "DBVersion"), "3.05");
}

TEST_F(FolapTest, OnlyTheFirstShowRunsTheStartUpSteps) {
    TFolap1& form = Open();
    form.SetLastFieldCode("100007");
    form.Hide();
    form.Show();
    EXPECT_EQ(form.LastFieldCode(), "100007");
}

TEST_F(FolapTest, ColumnThatCannotBeAddedIsShownWithItsTable) {
    // A record so wide that the 200 characters of Megjegyzes no longer fit a block; the
    // narrower columns are added.
    std::filesystem::remove(session.tablePath("legnaplo"));
    db::TableSchema wide{{{"Legid", db::FieldType::Long, 4}}, 1};
    for (int i = 0; i < 42; ++i)
        wide.fields.push_back({"Szoveg" + std::to_string(i), db::FieldType::Alpha, 255});
    session.create("legnaplo", wide);
    dialogs.ExpectContaining("legnaplo: Megjegyzes (");
    Open();
    EXPECT_EQ(dialogs.Last().type, ui::mtWarning);
    EXPECT_EQ(dialogs.Shown().size(), 1u); // the columns it could add are not named
    EXPECT_EQ(dialogs.Last().text.find("legnaplo: Db"), std::string::npos);
}

TEST_F(FolapTest, ColumnInAnotherLetterCaseIsFoundAndNothingIsShown) {
    std::filesystem::remove(session.tablePath("legnaplo"));
    session.create(
        "legnaplo",
        db::TableSchema{{{"Legid", db::FieldType::Long, 4}, {"db", db::FieldType::Long, 4}}, 1});
    Open();
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_EQ(core::ReadSetting(session, "DBVersion"), "3.05");
}

TEST_F(FolapTest, ADamagedTableStopsTheStartWithOneMessageNamingIt) {
    {
        std::fstream file(session.tablePath("Novvedmegf"),
                          std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(4);
        file.put(static_cast<char>(0x55));
    }
    dialogs.ExpectContaining("a(z) Novvedmegf.db nem olvasható (a fájl sérült)");
    try {
        Open();
        FAIL() << "the start went on";
    } catch (...) {
        app->HandleException(); // as the start-up's handler shows it
    }
    ASSERT_EQ(dialogs.Shown().size(), 1u);
    EXPECT_EQ(dialogs.Last().type, ui::mtError);
    EXPECT_NE(core::ReadSetting(session, "DBVersion"), "3.05");
}

// --- commands and openers -----------------------------------------------------------------

TEST_F(FolapTest, CommandsWithoutOpenerAreDisabledUntilOneIsSet) {
    TFolap1& form = Open();
    ui::TMenuItem* newField =
        form.FindMenuItem({"Táblák (eddig parcellák)", "Új tábla kialakítása"});
    ASSERT_NE(newField, nullptr);
    EXPECT_FALSE(newField->Enabled());
    EXPECT_FALSE(form.ToolButton6->Enabled());
    int opened = 0;
    form.SetFormOpener("TUjparcellaF", [&] { ++opened; });
    EXPECT_TRUE(newField->Enabled());
    EXPECT_TRUE(form.ToolButton6->Enabled());
    newField->Click();
    form.ToolButton6->Click();
    EXPECT_EQ(opened, 2);
    form.SetFormOpener("TUjparcellaF", nullptr);
    EXPECT_FALSE(newField->Enabled());
    EXPECT_THROW(form.SetFormOpener("TNincsIlyen", [] {}), std::invalid_argument);
}

TEST_F(FolapTest, OnlyTheCoreOwnCommandsAreReadyAtFirst) {
    TFolap1& form = Open();
    std::vector<std::string> ready;
    for (const std::string& command : form.Commands())
        if (form.HasFormOpener(command))
            ready.push_back(command);
    EXPECT_EQ(ready, (std::vector<std::string>{"TAlapadatok", "TAdatkarb", "TAboutBox"}));
    EXPECT_EQ(form.Commands().size(), 61u);
}

TEST_F(FolapTest, ModeCommandsAreSeparateFromTheirForm) {
    TFolap1& form = Open();
    std::vector<std::string> opened;
    form.SetFormOpener("TGepjavitas:true", [&] { opened.push_back("power"); });
    form.SetFormOpener("TGepjavitas:false", [&] { opened.push_back("implement"); });
    form.SetFormOpener("grafikon:3", [&] { opened.push_back("chart 3"); });
    form.FindMenuItem({"Feljegyzések", "Munkagép javítások"})->Click();
    form.FindMenuItem({"Feljegyzések", "Erőgép javítások"})->Click();
    form.FindMenuItem({"Lekérdezések  ", "Diagrammok", "Területek település szerint"})->Click();
    EXPECT_EQ(opened, (std::vector<std::string>{"implement", "power", "chart 3"}));
    EXPECT_FALSE(form.FindMenuItem({"Lekérdezések  ", "Diagrammok", "Területek tulajdon szerint"})
                     ->Enabled());
}

TEST_F(FolapTest, TheCoreOwnFormsAndTheHiddenItems) {
    TFolap1& form = Open();
    EXPECT_TRUE(form.FindMenuItem({"Alapadatok", "Alapadatok"})->Enabled());
    EXPECT_TRUE(form.ToolButton22->Enabled());
    EXPECT_TRUE(form.FindMenuItem({"Segítség", "Beállítások"})->Enabled());
    EXPECT_TRUE(form.FindMenuItem({"Segítség", "Szoftver készítő"})->Enabled());
    EXPECT_FALSE(form.FindMenuItem({"Műveletek", "Műveletek tervezése"})->Visible());
    EXPECT_FALSE(form.FindMenuItem({"Segítség", "A helyes gazdálkodásról"})->Visible());
    EXPECT_TRUE(form.FindMenuItem({"Segítség", "Fogalmak (NVT)"})->Visible());
}

// --- the repeat question ----------------------------------------------------------------

TEST_F(FolapTest, ThreeYesFromTheMenuOpenTheFormFourTimesThenNoLastField) {
    TFolap1& form = Open();
    InstallOperationForm();
    ExpectOperationRecorded(4);
    dialogs.Expect(kAskForMore, ui::mrYes)
        .Expect(kAskForMore, ui::mrYes)
        .Expect(kAskForMore, ui::mrYes)
        .Expect(kAskForMore, ui::mrNo);
    form.Elvgzettmveletekfelvitele1->Click();
    EXPECT_EQ(forms.Shown().size(), 4u);
    EXPECT_EQ(TMuvadatStandIn::SeenFields,
              (std::vector<std::string>{"xxxxxx", "100123", "100123", "100123"}));
    EXPECT_EQ(form.LastFieldCode(), "xxxxxx");
    EXPECT_EQ(dialogs.Last().type, ui::mtConfirmation);
}

TEST_F(FolapTest, ImmediateNoFromTheMenuKeepsTheLastField) {
    TFolap1& form = Open();
    InstallOperationForm();
    ExpectOperationRecorded(1);
    dialogs.Expect(kAskForMore, ui::mrNo);
    form.Elvgzettmveletekfelvitele1->Click();
    EXPECT_EQ(form.LastFieldCode(), "100123");
}

TEST_F(FolapTest, ImmediateNoFromTheToolbarLeavesNoLastField) {
    TFolap1& form = Open();
    InstallOperationForm();
    ExpectOperationRecorded(1);
    dialogs.Expect(kAskForMore, ui::mrNo);
    form.ToolButton1->Click();
    EXPECT_EQ(form.LastFieldCode(), "xxxxxx");
}

TEST_F(FolapTest, PlannedOperationsAskNothing) {
    TFolap1& form = Open();
    int opened = 0;
    form.SetFormOpener("TMuvadat:terv", [&] { ++opened; });
    form.FindMenuItem({"Műveletek", "Műveletek tervezése", "Tervművelet rögzítése"})->Click();
    EXPECT_EQ(opened, 1);
    EXPECT_TRUE(dialogs.Shown().empty());
}

// --- the strip ------------------------------------------------------------------------------

TEST_F(FolapTest, StripRunsToAndFroBetweenOneAnd724) {
    TFolap1& form = Open();
    EXPECT_EQ(form.StripPosition(), 2);
    EXPECT_EQ(form.StripDirection(), 1);
    form.Timer1Timer(nullptr);
    EXPECT_EQ(form.Image1->Left(), 1);
    EXPECT_EQ(form.StripDirection(), 0);
    while (form.StripDirection() == 0)
        form.Timer1Timer(nullptr);
    EXPECT_EQ(form.Image1->Left(), 724);
    form.Timer1Timer(nullptr);
    EXPECT_EQ(form.Image1->Left(), 723);
    int ticks = 1;
    while (form.StripDirection() == 1) {
        form.Timer1Timer(nullptr);
        ++ticks;
    }
    EXPECT_EQ(form.Image1->Left(), 1);
    EXPECT_EQ(ticks, 723);
    EXPECT_TRUE(form.Image1->Visible());
    // Activation starts it again from 2, moving left.
    form.Activate();
    EXPECT_EQ(form.StripPosition(), 2);
    EXPECT_EQ(form.StripDirection(), 1);
}

// --- exit -------------------------------------------------------------------------------------

TEST_F(FolapTest, ExitOnTheTwentySecondDayOffersTheBackup) {
    TFolap1& form = Open();
    double today = sys::today();
    StoreSafetySaveDay(today - 22);
    dialogs.Expect(kBackupQuestion, ui::mrNo);
    form.Kilps1->Click();
    EXPECT_TRUE(app->Terminated());
    EXPECT_EQ(core::ReadSetting(session, "safetysave"), std::to_string(static_cast<long>(today)));
}

TEST_F(FolapTest, AcceptedOfferBacksUpTwiceAndArchives) {
    TFolap1& form = Open();
    std::filesystem::create_directory("BackUp");
    StoreSafetySaveDay(sys::today() - 40);
    const std::string done = "Az adatbázis biztonsági mentése hibátlanul befejeződött.";
    dialogs.Expect(kBackupQuestion, ui::mrYes).Expect(done).Expect(done);
    form.ToolButton25->Click();
    EXPECT_TRUE(app->Terminated());
    EXPECT_TRUE(std::filesystem::exists("BackUp/Set.db"));
    EXPECT_TRUE(std::filesystem::exists("BackUp/parcellak.db"));
    int archives = 0;
    for (const auto& entry : std::filesystem::directory_iterator("."))
        archives += entry.path().filename().string().starts_with("res") &&
                    entry.path().extension() == ".zip";
    EXPECT_EQ(archives, 1);
    EXPECT_EQ(Adatkarb, nullptr); // created for the backup only, and freed
}

TEST_F(FolapTest, ExitOnTheTwentyFirstDayOffersNothing) {
    TFolap1& form = Open();
    StoreSafetySaveDay(sys::today() - 21);
    form.ToolButton25->Click();
    EXPECT_TRUE(app->Terminated());
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(FolapTest, ClosingTheWindowEndsWithoutTheOffer) {
    TFolap1& form = Open();
    StoreSafetySaveDay(sys::today() - 100);
    form.close();
    testui::ProcessEvents();
    EXPECT_TRUE(app->Terminated());
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(FolapTest, CtrlXEndsTheProcessWithCodeOne) {
    TFolap1& form = Open();
    Key(form.ToolBar1, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(exitCodes, std::vector<int>{1});
    Key(&form, Qt::Key_X);
    EXPECT_EQ(exitCodes, std::vector<int>{1});
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(FolapTest, TheProgramsOwnExitEndsTheProcessAtOnce) {
    app->CreateForm(Folap1, session);
    std::function<void(int)> exitNow = Folap1->ExitProcess;
    testenv::Child child(0, [&](int) { exitNow(1); });
    EXPECT_TRUE(child.wait().exited(1));
}

TEST_F(FolapTest, HelpItemOpensTheHelpContents) {
    TFolap1& form = Open();
    form.Sg1->Click();
    ASSERT_EQ(help.topics.size(), 1u);
    EXPECT_EQ(help.topics[0], (std::pair<std::string, int>{"HELP1.hlp", -1}));
}

// --- a picture to look at -----------------------------------------------------------------

// FARM_SCREENSHOT_DIR=/tmp/shots QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x800x24"
//     build/tests/farm_tests --gtest_filter='FolapTest.Screenshot'
TEST_F(FolapTest, Screenshot) {
    const char* folder = std::getenv("FARM_SCREENSHOT_DIR");
    if (!folder)
        GTEST_SKIP() << "FARM_SCREENSHOT_DIR not set";
    TFolap1& form = Open();
    form.SetFormOpener("TUjparcellaF", [] {});
    form.Timer1->SetEnabled(true);
    QTest::qWait(400); // the strip moves a few steps
    std::filesystem::path out(folder);
    EXPECT_TRUE(form.grab().save(QString::fromStdString((out / "folap.png").string())));
    QMenu* menu = form.FindMenuItem({"Táblák (eddig parcellák)"})->Submenu();
    menu->popup(form.mapToGlobal(QPoint(0, 20)));
    QTest::qWait(100);
    EXPECT_TRUE(menu->grab().save(QString::fromStdString((out / "folap-menu.png").string())));
    menu->hide();
}

} // namespace
