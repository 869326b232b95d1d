// The main window's operation commands, the repeat question, the starter operation types
// of a fresh database, adding a type and the normal-hectare text.

#include "core/Folap.h"
#include "core/operation_types.h"
#include "operations/Anyagfelv.h"
#include "operations/Muvadatf.h"
#include "operations/Tovabbiaf.h"
#include "operations/Ujmuvh.h"
#include "operations/commands.h"
#include "operations_fixture.h"
#include "platform/sys/numbers.h"
#include "support/test_env.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace opstest {
namespace {

const sys::DateTime kDay = sys::encodeDate(2010, 3, 5);

class OperationCommandsTest : public OperationsTest {
protected:
    ~OperationCommandsTest() override {
        app.reset();
        Folap1 = nullptr;
    }
    TFolap1& Open() {
        app->CreateForm(Folap1, session);
        Folap1->Timer1->SetEnabled(false);
        InstallOperationCommands(*Folap1, session);
        ShowActive(*Folap1);
        return *Folap1;
    }
};

TEST_F(OperationCommandsTest, TheCommandsAreEnabled) {
    TFolap1& main = Open();
    EXPECT_TRUE(main.HasFormOpener("TMuvadat"));
    EXPECT_TRUE(main.HasFormOpener("TMuvadat:terv"));
    EXPECT_TRUE(main.HasFormOpener("TNormalhek"));
    EXPECT_TRUE(main.FindMenuItem({"Műveletek", "Elvégzett műveletek felvitele"})->Enabled());
    EXPECT_TRUE(main.ToolButton1->Enabled());
}

// Two operations recorded in a row from the main window, the stock booked out on their
// date.
TEST_F(OperationCommandsTest, YesToTheRepeatQuestionOpensTheRealFormAgain) {
    for (int i = 1; i <= 3; ++i)
        AddField(session, "10000" + std::to_string(i), 10000, "búza", i);
    AddFertiliser(session, "100000", "Pétisó", "kg");
    AddFertiliser(session, "100001", "Kálisó", "kg");
    Buy(session, "100000", 1000, kDay - 1);
    Buy(session, "100001", 1000, kDay - 1);
    auto record = [](std::vector<std::string> codes, int type) {
        return [codes, type](TMuvadat& form) {
            form.DateTimePicker1->SetDate(kDay);
            for (const auto& code : codes) {
                form.Table8.Locate("Parckod", {db::Value(code)});
                form.DBGrid2->SelectedRows().SetCurrentRowSelected(true);
            }
            form.DBGrid2CellClick(form.DBGrid2->Columns()[0]);
            form.Button1->click();
            form.ComboBox2->SetItemIndex(2);
            form.ComboBox2Change(form.ComboBox2);
            form.Table2.First();
            form.Table2.MoveBy(type);
            form.DBLookupListBox1->SetKeyValue(form.Table2.FieldByName("Kod").AsValue());
            form.Button2->click();
        };
    };
    // Two materials on three fields: 100 kg/ha each.
    forms.On<TAnyagfel>([](TAnyagfel& dialog) {
        dialog.Edit10->SetText("100");
        dialog.Button2->click();
        dialog.DBLookupComboBox1->Choose(1);
        dialog.Button2->click();
    });
    forms.On<TTovabbia>([](TTovabbia& ask) { ask.Button1->click(); });
    forms.On<TTovabbia>([](TTovabbia& ask) { ask.Button2->click(); });
    forms.On<TMuvadat>(record({"100001", "100002", "100003"}, 0));
    dialogs.Expect("Kéri további művelet felvitelét?", ui::mrYes);
    forms.On<TAnyagfel>([](TAnyagfel& dialog) {
        dialog.Edit10->SetText("50");
        dialog.Button2->click();
    });
    forms.On<TTovabbia>([](TTovabbia& ask) { ask.Button2->click(); });
    forms.On<TMuvadat>(record({"100001"}, 1));
    dialogs.Expect("Kéri további művelet felvitelét?", ui::mrNo);
    Open().FindMenuItem({"Műveletek", "Elvégzett műveletek felvitele"})->Click();
    forms.VerifyDone();
    dialogs.VerifyDone();
    EXPECT_EQ(Count("ElvMuv"), 4);
    EXPECT_EQ(Count("felhanyag", "Muvkod <> ''"), 7);
    // The lists are in name order: "Kálisó" first, then "Pétisó".
    EXPECT_NEAR(res::StockOnDate(session, "100001", kDay), 1000 - 300 - 50, 1e-9);
    EXPECT_NEAR(res::StockOnDate(session, "100000", kDay), 1000 - 300, 1e-9);
    EXPECT_NEAR(res::StockOnDate(session, "100000", kDay - 1), 1000, 1e-9);
}

TEST_F(OperationCommandsTest, TheHiddenPlanningItemRecordsAPlannedOperation) {
    AddField(session, "100001", 10000);
    forms.On<TMuvadat>([](TMuvadat& form) {
        EXPECT_EQ(form.PlanMode, "terv");
        form.Table8.First();
        form.DBGrid2->SelectedRows().SetCurrentRowSelected(true);
        form.DBGrid2CellClick(form.DBGrid2->Columns()[0]);
        form.DBLookupListBox1->SetKeyValue(form.Table2.FieldByName("Kod").AsValue());
        form.Button2->click();
    });
    Open().FindMenuItem({"Műveletek", "Műveletek tervezése", "Tervművelet rögzítése"})->Click();
    forms.VerifyDone();
    EXPECT_EQ(Count("Tervelvmuv"), 1);
    EXPECT_EQ(Count("ElvMuv"), 0);
}

TEST_F(OperationCommandsTest, AFreshDatabaseListsTheStarterTypesWithoutFactors) {
    const auto& types = core::StarterOperationTypes();
    EXPECT_EQ(Count("Normalhektar"), static_cast<int>(types.size()));
    EXPECT_EQ(Column("Normalhektar", "Kod").front(), "100000");
    EXPECT_EQ(Column("Normalhektar", "Nha"), std::vector<std::string>(types.size(), "0"));
    EXPECT_EQ(Column("Normalhektar", "Tip"), std::vector<std::string>(types.size(), ""));
    EXPECT_EQ(Column("Normalhektar", "Mtip"), std::vector<std::string>(types.size(), ""));
    EXPECT_EQ(Column("Normalhektar", "Muv", "Muvid = 4 AND Extra = 3").size(), 6u);
    EXPECT_EQ(Column("Normalhektar", "Muv", "Muvid = 5"), std::vector<std::string>{"szállítás"});
    EXPECT_EQ(Column("Normalhektar", "Muv", "Muvid = 3").size(), 2u);
    const std::string text = testenv::readFile("normalhektar.txt");
    EXPECT_NE(text.find("tárcsázás"), std::string::npos);
    EXPECT_NE(text.find("hivatalos átszámítási táblázatból"), std::string::npos);
    EXPECT_NE(text.find("\"+\""), std::string::npos);
}

TEST_F(OperationCommandsTest, TheNormalHectareFormShowsTheText) {
    forms.On<TNormalhek>([](TNormalhek& form) {
        EXPECT_NE(form.RichEdit1->Text().find("Betakarítás:"), std::string::npos);
        form.Close();
    });
    Open().FindMenuItem({"Segítség", "Normálhektár átszámítás"})->Click();
    forms.VerifyDone();
}

TEST_F(OperationCommandsTest, ANewTypeTakesTheNextCode) {
    forms.On<TUjmuv>([](TUjmuv& form) {
        form.Edit1->SetText("mélylazítás");
        form.ComboBox1->SetItemIndex(0);
        form.Edit2->SetText("");
        form.RadioButton2->SetChecked(true); // with the box unticked: no extra value
        form.Button2->click();
    });
    forms.On<TUjmuv>([](TUjmuv& form) {
        form.Edit1->SetText("ekézés");
        form.ComboBox1->SetItemIndex(0);
        form.Edit2->SetText("1,35");
        form.CheckBox1->SetChecked(true);
        form.RadioButton2->SetChecked(true);
        form.Button2->click();
    });
    // A starter type's name (case and blanks aside) gives that type its factor and
    // extra value: no second type of the name.
    forms.On<TUjmuv>([](TUjmuv& form) {
        form.ComboBox1->SetItemIndex(1);
        form.ComboBox1Change(form.ComboBox1);
        EXPECT_GE(form.Edit1->Items().IndexOf("vetés (gabonavetőgép, sorba)"), 0);
        form.Edit1->SetText(" Vetés (gabonavetőgép, sorba)");
        form.ComboBox2->SetItemIndex(1);
        form.Edit2->SetText("nyolc"); // the message keeps the category and unit chosen
        form.Button2->click();
        form.Edit2->SetText("0,8");
        form.Button2->click();
    });
    dialogs.ExpectContaining("nem érvényes szám");
    dialogs.ExpectContaining("már szerepel ebben a kategóriában", ui::mrYes);
    for (int i = 0; i < 3; ++i)
        ui::ShowModalForm(Ujmuv, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Column("Normalhektar", "Nha", "Muv = 'vetés (gabonavetőgép, sorba)'"),
              std::vector<std::string>{"0,8"});
    EXPECT_EQ(Column("Normalhektar", "Tip", "Muv = 'vetés (gabonavetőgép, sorba)'"),
              std::vector<std::string>{"nha/t"});
    EXPECT_EQ(Column("Normalhektar", "Extra", "Muv = 'mélyszántás'"),
              std::vector<std::string>{"1"});
    const std::string first =
        sys::intToText(100000 + static_cast<int>(core::StarterOperationTypes().size()));
    EXPECT_EQ(Column("Normalhektar", "Kod", "Muv = 'mélylazítás'"),
              std::vector<std::string>{first});
    EXPECT_EQ(Column("Normalhektar", "Nha", "Muv = 'mélylazítás'"), std::vector<std::string>{"0"});
    EXPECT_EQ(Column("Normalhektar", "Tip", "Muv = 'mélylazítás'"), std::vector<std::string>{""});
    EXPECT_EQ(Column("Normalhektar", "Extra", "Muv = 'mélylazítás'"),
              std::vector<std::string>{"0"});
    EXPECT_EQ(Column("Normalhektar", "Nha", "Muv = 'ekézés'"), std::vector<std::string>{"1,35"});
    EXPECT_EQ(Column("Normalhektar", "Tip", "Muv = 'ekézés'"), std::vector<std::string>{"nha/ha"});
    EXPECT_EQ(Column("Normalhektar", "Mtip", "Muv = 'ekézés'"), std::vector<std::string>{"0"});
    EXPECT_EQ(Column("Normalhektar", "Extra", "Muv = 'ekézés'"), std::vector<std::string>{"1"});
}

} // namespace
} // namespace opstest
