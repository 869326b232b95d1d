// The main window's stock commands open the stock forms, and the species command opens
// the species dialog.

#include "core/Folap.h"
#include "core/fresh_database.h"
#include "register/Egyebfajh.h"
#include "resources/Fogalomh.h"
#include "resources/Keszletkezelesu.h"
#include "resources/Keszlisth.h"
#include "resources/commands.h"
#include "support/ui_test.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class StockCommands : public testui::UiTest {
protected:
    StockCommands() { core::CreateFreshDatabase(session); }
    ~StockCommands() override {
        app.reset();
        Folap1 = nullptr;
    }
    db::Session session{std::filesystem::current_path()};
};

TEST_F(StockCommands, StockAndSpeciesCommandsOpenTheirForms) {
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    const std::string menu = "Személyek/Készlet/Eszköz";
    ui::TMenuItem* stock = Folap1->FindMenuItem({menu, "Készlet kezelés"});
    ASSERT_NE(stock, nullptr);
    EXPECT_FALSE(stock->Enabled());
    InstallResourceCommands(*Folap1, session);
    ShowActive(*Folap1);
    EXPECT_TRUE(stock->Enabled());
    EXPECT_TRUE(Folap1->ToolButton12->Enabled());
    EXPECT_TRUE(Folap1->ToolButton20->Enabled());

    forms.CloseWith<Tkeszletkezeles>(ui::mrCancel);
    forms.CloseWith<TKeszlist>(ui::mrCancel);
    forms.CloseWith<TForgalom>(ui::mrCancel);
    forms.CloseWith<TEgyebFaj>(ui::mrCancel);
    forms.CloseWith<Tkeszletkezeles>(ui::mrCancel);
    forms.CloseWith<TEgyebFaj>(ui::mrCancel);
    stock->Click();
    Folap1->FindMenuItem({menu, "Készlet listázása"})->Click();
    Folap1->FindMenuItem({menu, "Raktárforgalom"})->Click();
    Folap1->FindMenuItem({"Ágazatok", "Ágazatok bővítése"})->Click();
    Folap1->ToolButton12->Click();
    Folap1->ToolButton20->Click();
    forms.VerifyDone();
    EXPECT_EQ(forms.Shown(),
              (std::vector<std::string>{"Tkeszletkezeles", "TKeszlist", "TForgalom", "TEgyebFaj",
                                        "Tkeszletkezeles", "TEgyebFaj"}));
    EXPECT_EQ(keszletkezeles, nullptr);
}

} // namespace
