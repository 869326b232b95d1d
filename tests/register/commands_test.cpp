// The main window's menu items and toolbar buttons open the register's forms.

#include "core/Folap.h"
#include "core/fresh_database.h"
#include "register/Dolvarenp.h"
#include "register/Tablalistac.h"
#include "register/Tulajdh.h"
#include "register/Ujtablak.h"
#include "register/commands.h"
#include "support/ui_test.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class RegisterCommands : public testui::UiTest {
protected:
    RegisterCommands() { core::CreateFreshDatabase(session); }
    ~RegisterCommands() override {
        app.reset(); // the forms go before the session
        Folap1 = nullptr;
        Form2 = nullptr;
    }
    db::Session session{std::filesystem::current_path()};
};

TEST_F(RegisterCommands, MenuItemsAndToolButtonsOpenTheForms) {
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    app->CreateForm(Form2, session); // the start-up instance
    TForm2* startUp = Form2;
    const std::string menu = "Területek(hrsz) törzsadatai ";
    ui::TMenuItem* newParcel = Folap1->FindMenuItem({menu, "Új terület(hrsz)"});
    ASSERT_NE(newParcel, nullptr);
    EXPECT_FALSE(newParcel->Enabled());
    EXPECT_FALSE(Folap1->ToolButton4->Enabled());

    InstallRegisterCommands(*Folap1, session);
    ShowActive(*Folap1);
    EXPECT_TRUE(newParcel->Enabled());
    EXPECT_TRUE(Folap1->ToolButton4->Enabled());

    forms.CloseWith<TUjtabla>(ui::mrCancel);
    forms.On<TForm2>([&](TForm2& f) {
        EXPECT_NE(&f, startUp); // an instance of its own
        EXPECT_EQ(Form2, &f);
        f.Button3->click();
    });
    forms.CloseWith<TTablalista>(ui::mrCancel);
    forms.CloseWith<TTulajd>(ui::mrCancel);
    forms.CloseWith<TUjtabla>(ui::mrCancel);
    forms.CloseWith<TForm2>(ui::mrCancel);
    forms.CloseWith<TTablalista>(ui::mrCancel);
    newParcel->Click();
    Folap1->FindMenuItem({menu, "Területek(hrsz) módosítása"})->Click();
    EXPECT_EQ(Form2, startUp); // back on the start-up instance
    Folap1->FindMenuItem({menu, "Területek(hrsz) listája"})->Click();
    Folap1->FindMenuItem({menu, "Tulajdonosok"})->Click();
    Folap1->ToolButton3->Click();
    Folap1->ToolButton4->Click();
    Folap1->ToolButton5->Click();
    EXPECT_EQ(Form2, startUp);
    EXPECT_EQ(forms.Shown(),
              (std::vector<std::string>{"TUjtabla", "TForm2", "TTablalista", "TTulajd", "TUjtabla",
                                        "TForm2", "TTablalista"}));
    forms.VerifyDone();
    Folap1->Hide();
}

} // namespace
