// The main window's "Feljegyzések" items open the diesel invoice forms.

#include "core/Folap.h"
#include "core/fresh_database.h"
#include "resources/Gazolajszlaosszh.h"
#include "resources/J05u.h"
#include "resources/commands.h"
#include "support/ui_test.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class DieselCommands : public testui::UiTest {
protected:
    DieselCommands() { core::CreateFreshDatabase(session); }
    ~DieselCommands() override {
        app.reset(); // the forms go before the session
        Folap1 = nullptr;
    }
    db::Session session{std::filesystem::current_path()};
};

TEST_F(DieselCommands, TheRecordsMenuOpensTheInvoiceRegisterAndTheInvoiceItems) {
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    ui::TMenuItem* summary = Folap1->FindMenuItem({"Feljegyzések", "Gázolaj számla összesítő"});
    ui::TMenuItem* items = Folap1->FindMenuItem({"Feljegyzések", "Új Gázolaj számla összesítő"});
    ASSERT_NE(summary, nullptr);
    ASSERT_NE(items, nullptr);
    EXPECT_FALSE(summary->Enabled());
    InstallResourceCommands(*Folap1, session);
    ShowActive(*Folap1);
    EXPECT_TRUE(summary->Enabled());
    EXPECT_TRUE(items->Enabled());
    forms.On<TGazolajszlaossz>([](TGazolajszlaossz& f) { f.Button1->click(); });
    forms.On<TJ05>([](TJ05& f) { f.Close(); });
    summary->Click();
    items->Click();
    EXPECT_EQ(forms.Shown(), (std::vector<std::string>{"TGazolajszlaossz", "TJ05"}));
    Folap1->Hide();
}

} // namespace
