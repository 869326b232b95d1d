// The main window opens the register's lists, chart, plan and soil-test forms.

#include "core/Folap.h"
#include "core/fresh_database.h"
#include "register/Fhaszntervh.h"
#include "register/Parclistszukh.h"
#include "register/Probavforgoh.h"
#include "register/Talajmintabevh.h"
#include "register/Talajmintalisth.h"
#include "register/TalamintaKeth.h"
#include "register/commands.h"
#include "support/ui_test.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class ListCommands : public testui::UiTest {
protected:
    ListCommands() { core::CreateFreshDatabase(session); }
    ~ListCommands() override {
        app.reset(); // the forms go before the session
        Folap1 = nullptr;
    }
    db::Session session{std::filesystem::current_path()};
};

TEST_F(ListCommands, TheMenusAndTheSoilTestButtonOpenTheForms) {
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    const std::string land = "Területek(hrsz) törzsadatai ";
    const std::vector<std::vector<std::string>> items = {
        {"Táblák (eddig parcellák)", "Táblák lekérdezése"},
        {"Lekérdezések  ", "Műveletek területek szereint"},
        {"Lekérdezések  ", "Vetésforgó lekérdezés"},
        {land, "Talajvizsgálatok rögzítése"},
        {land, "Talajvizsgálati eredmények"},
        {land, "Talajmintavételi helyek KET-hez"},
        {land, "Földhasználati Terv"},
    };
    for (const auto& path : items)
        ASSERT_NE(Folap1->FindMenuItem(path), nullptr) << path[1];
    EXPECT_FALSE(Folap1->FindMenuItem(items[0])->Enabled());
    InstallRegisterCommands(*Folap1, session);
    ShowActive(*Folap1);
    for (const auto& path : items)
        EXPECT_TRUE(Folap1->FindMenuItem(path)->Enabled()) << path[1];
    EXPECT_TRUE(Folap1->ToolButton14->Enabled());

    std::vector<int> modes;
    forms.On<TParcListSzuk>([&](TParcListSzuk& f) {
        modes.push_back(f.FieldListMode);
        f.Close();
    });
    forms.On<TParcListSzuk>([&](TParcListSzuk& f) {
        modes.push_back(f.FieldListMode);
        f.Close();
    });
    forms.CloseWith<TProbaVForgo>(ui::mrCancel);
    dialogs.Expect("Nincsenek táblák rögzítve ! Nem lehetséges talajvizsgálatok rögzítése.");
    forms.CloseWith<TTalajmintabev>(ui::mrCancel);
    dialogs.Expect("Nincsenek táblák rögzítve ! Nem lehetséges talajvizsgálatok lekérdezése.");
    forms.CloseWith<TTalajmintalist>(ui::mrCancel);
    forms.CloseWith<TTalamintaKet>(ui::mrCancel);
    forms.CloseWith<Tfoldhasznterv>(ui::mrCancel);
    dialogs.Expect("Nincsenek táblák rögzítve ! Nem lehetséges talajvizsgálatok rögzítése.");
    forms.CloseWith<TTalajmintabev>(ui::mrCancel);
    for (const auto& path : items)
        Folap1->FindMenuItem(path)->Click();
    Folap1->ToolButton14->Click();
    EXPECT_EQ(modes, (std::vector<int>{0, 1}));
    EXPECT_EQ(forms.Shown(),
              (std::vector<std::string>{"TParcListSzuk", "TParcListSzuk", "TProbaVForgo",
                                        "TTalajmintabev", "TTalajmintalist", "TTalamintaKet",
                                        "Tfoldhasznterv", "TTalajmintabev"}));
    Folap1->Hide();
}

} // namespace
