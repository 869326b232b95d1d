// The main window's queries menu and toolbar button open the lists and summaries.

#include "core/Folap.h"
#include "lists_fixture.h"
#include "reports/Elvmuvlista.h"
#include "reports/Gepmuvlekerh.h"
#include "reports/Hozah.h"
#include "reports/Mezeih.h"
#include "reports/Parcinputh.h"

#include <gtest/gtest.h>

namespace {

class ReportCommands : public liststest::ListsReportTest {
protected:
    ~ReportCommands() override {
        app.reset(); // the forms go before the session
        Folap1 = nullptr;
    }
};

TEST_F(ReportCommands, TheQueriesMenuAndTheToolButtonOpenTheForms) {
    AddField({.parckod = "100000"});
    AddOperation({.muvkod = "100000", .tablakod = "100000"});
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    const std::string menu = "Lekérdezések  ";
    ui::TMenuItem* operations = Folap1->FindMenuItem({menu, "Műveleti lekérdezések"});
    ASSERT_NE(operations, nullptr);
    EXPECT_FALSE(operations->Enabled());

    InstallReportCommands(*Folap1, session);
    ShowActive(*Folap1);
    EXPECT_TRUE(operations->Enabled());
    EXPECT_TRUE(Folap1->ToolButton7->Enabled());
    forms.On<Telvmuvlist>([](Telvmuvlist& f) { f.Button3->click(); });
    forms.On<Telvmuvlist>([](Telvmuvlist& f) { f.Button3->click(); });
    forms.On<TMezei>([](TMezei& f) { f.Button1->click(); });
    forms.On<TGepmuvleker>([](TGepmuvleker& f) { f.Button2->click(); });
    forms.On<THozam>([](THozam& f) { f.Button1->click(); });
    forms.On<TParcInput>([](TParcInput& f) { f.Button1->click(); });
    operations->Click();
    Folap1->ToolButton7->Click();
    for (const char* item :
         {"Mezei leltár", "Gépi lekérdezés", "Hozam összesítő", "Input kimutatás"})
        Folap1->FindMenuItem({menu, item})->Click();
    EXPECT_EQ(forms.Shown(), (std::vector<std::string>{"Telvmuvlist", "Telvmuvlist", "TMezei",
                                                       "TGepmuvleker", "THozam", "TParcInput"}));
    forms.VerifyDone();
    Folap1->Hide();
}

} // namespace
