// The main window's menu items and the "Gépek" toolbar button open the machine and record
// forms; the repair commands set the mode first.

#include "core/Folap.h"
#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "resources/Allatfajtah.h"
#include "resources/Csapadekh.h"
#include "resources/Elorejelforrh.h"
#include "resources/Eszkozfelh.h"
#include "resources/Gazdeph.h"
#include "resources/Gepjavitash.h"
#include "resources/Geplisth.h"
#include "resources/Korcsoportszh.h"
#include "resources/Novvedmegfh.h"
#include "resources/Szemelyh.h"
#include "resources/Vismajoru.h"
#include "resources/commands.h"
#include "support/ui_test.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>

namespace {

class ResourceCommands : public testui::UiTest {
protected:
    ResourceCommands() {
        core::CreateFreshDatabase(session);
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, session);
    }
    ~ResourceCommands() override {
        app.reset(); // the forms go before the session
        Folap1 = nullptr;
    }
    db::Session session{std::filesystem::current_path()};
    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
};

TEST_F(ResourceCommands, MenuItemsAndTheMachinesButtonOpenTheForms) {
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    const std::string things = "Személyek/Készlet/Eszköz";
    const std::string records = "Feljegyzések";
    ui::TMenuItem* machines = Folap1->FindMenuItem({things, "Gépek"});
    ASSERT_NE(machines, nullptr);
    EXPECT_FALSE(machines->Enabled());
    EXPECT_FALSE(Folap1->ToolButton13->Enabled());
    InstallResourceCommands(*Folap1, session);
    ShowActive(*Folap1);
    EXPECT_TRUE(Folap1->ToolButton13->Enabled());

    std::vector<bool> modes;
    forms.CloseWith<TEszkozfel>(ui::mrCancel);
    forms.CloseWith<TEszkozfel>(ui::mrCancel);
    forms.CloseWith<TGeplist>(ui::mrCancel);
    forms.CloseWith<TGazdep>(ui::mrCancel);
    forms.CloseWith<TSzemelyek>(ui::mrCancel);
    forms.CloseWith<TAllatfajta>(ui::mrCancel);
    forms.CloseWith<TKorcsoportok>(ui::mrCancel);
    forms.CloseWith<TCsapadek>(ui::mrCancel);
    forms.CloseWith<TNovvedmegf>(ui::mrCancel);
    forms.CloseWith<TElorejelforr>(ui::mrCancel);
    for (int i = 0; i < 2; ++i)
        forms.On<TGepjavitas>([&](TGepjavitas& f) {
            modes.push_back(f.PowerMachineMode);
            f.Button1->click();
        });
    forms.CloseWith<Tvismajor>(ui::mrCancel);
    machines->Click();
    Folap1->ToolButton13->Click();
    for (const char* item :
         {"Gépek listája", "Gazdasági épületek", "Alkalmazottak", "Állatfajták", "Korcsoportok"})
        Folap1->FindMenuItem({things, item})->Click();
    for (const char* item :
         {"Csapadék feljegyzések", "Növényvédelmi megfigyelések", "Előrejelzési adatok forrása",
          "Erőgép javítások", "Munkagép javítások", "Vis major esetek"})
        Folap1->FindMenuItem({records, item})->Click();
    forms.VerifyDone();
    EXPECT_EQ(modes, (std::vector<bool>{true, false}));
}

} // namespace
