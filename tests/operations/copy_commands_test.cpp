// The main window's commands open the copier, the planned-operations list, the sector
// operation form and the grazing log.

#include "core/Folap.h"
#include "core/fresh_database.h"
#include "operations/Agazatimuvadath.h"
#include "operations/Legeltetesh.h"
#include "operations/Muvmasoloh.h"
#include "operations/Tervkezelesh.h"
#include "operations/commands.h"
#include "support/ui_test.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class CopyCommands : public testui::UiTest {
protected:
    CopyCommands() { core::CreateFreshDatabase(session); }
    ~CopyCommands() override {
        app.reset();
        Folap1 = nullptr;
    }
    db::Session session{std::filesystem::current_path()};
};

TEST_F(CopyCommands, TheMenuItemsOpenTheirForms) {
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    InstallOperationCommands(*Folap1, session);
    ShowActive(*Folap1);
    const std::string menu = "Műveletek";
    ui::TMenuItem* planning = Folap1->FindMenuItem({menu, "Műveletek tervezése"});
    ASSERT_NE(planning, nullptr);
    EXPECT_FALSE(planning->Visible());

    forms.CloseWith<Tmuvmasolo>(ui::mrCancel);
    forms.CloseWith<TAgazatimuvadat>(ui::mrCancel);
    forms.CloseWith<TLegeltetes>(ui::mrCancel);
    forms.CloseWith<TTervkezeles>(ui::mrCancel);
    for (const std::vector<std::string>& item : std::vector<std::vector<std::string>>{
             {menu, "Művelet másolás"},
             {menu, "Ágazati művelet felvitele"},
             {menu, "Legeltetés legelőn"},
             {menu, "Műveletek tervezése", "Tervezett műveletek kezelése"}}) {
        ui::TMenuItem* command = Folap1->FindMenuItem(item);
        ASSERT_NE(command, nullptr) << item.back();
        EXPECT_TRUE(command->Enabled()) << item.back();
        command->Click();
    }
    forms.VerifyDone();
    EXPECT_EQ(forms.Shown(), (std::vector<std::string>{"Tmuvmasolo", "TAgazatimuvadat",
                                                       "TLegeltetes", "TTervkezeles"}));
}

} // namespace
