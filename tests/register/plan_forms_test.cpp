// The KET areas, the nutrient-management plan and the influencing factors: serials and
// soft deletion, the plan amounts and their percentages, and the rows always belonging
// to the form's field.

#include "field_fixture.h"
#include "register/Ketu.h"
#include "register/Parcbeftenyh.h"
#include "register/Tapanyaggt.h"

#include <gtest/gtest.h>

namespace {

using PlanForms = regtest::FieldTest;

// "új KET" with a name and the first support programme, then "rögzítés".
void NewKet(Tket& f, const std::string& name) {
    f.Button1->click();
    f.Edit1->SetText(name);
    f.DBLookupComboBox1->Choose(0);
    f.Edit4->SetText("12,5");
    f.Button5->click();
}

TEST_F(PlanForms, KetSerialsCountDeletedRowsAndDeletingOnlyHidesTheKet) {
    forms.On<Tket>([&](Tket& f) {
        EXPECT_TRUE(f.Query1.IsEmpty());
        f.Button1->click();
        EXPECT_EQ(f.Edit2->Text(), "1");
        EXPECT_GT(f.Table2.RecordCount(), 0); // the fresh database's programmes
        f.Button6->click();
        NewKet(f, "Déli tábla");
        NewKet(f, "Északi tábla");
        EXPECT_EQ(f.Query1.RecordCount(), 2);
        ASSERT_TRUE(f.Query1.Locate("Sorsz", {db::Value(std::int32_t{2})}));
        f.Button3->click(); // the highest serial
        EXPECT_EQ(f.Query1.RecordCount(), 1);
        f.Button1->click();
        EXPECT_EQ(f.Edit2->Text(), "3");
        f.Button6->click();
        // A KET without a programme could not be listed: it is refused.
        f.Button1->click();
        f.Edit1->SetText("Programme nélkül");
        f.Button5->click();
        EXPECT_TRUE(f.GroupBox1->isVisible());
        f.Button6->click();
        f.Button4->click();
    });
    dialogs.Expect("Kérem, válassza ki az AKG célprogramot! Célprogram nélkül a KET nem "
                   "rögzíthető.");
    ui::ShowModalForm(ket, session);
    EXPECT_EQ(Column("kotegyter", "Sorsz"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(Column("kotegyter", "Deleted"), (std::vector<std::string>{"False", "True"}));
    dialogs.VerifyDone();
}

TEST_F(PlanForms, KetModificationKeepsTheRowAndRefusesAnAreaThatIsNoNumber) {
    forms.On<Tket>([&](Tket& f) {
        NewKet(f, "Déli tábla");
        f.Button2->click();
        EXPECT_EQ(f.Edit1->Text(), "Déli tábla");
        f.Edit1->SetText("Déli rész");
        f.Edit4->SetText("tizenkettő");
        f.Button5->click(); // refused, the editor stays
        EXPECT_TRUE(f.GroupBox1->isVisible());
        f.Edit4->SetText("13");
        f.CheckBox4->SetChecked(true);
        f.Button5->click();
        f.Button4->click();
    });
    dialogs.ExpectContaining("'Terület' értéke nem szám");
    ui::ShowModalForm(ket, session);
    EXPECT_EQ(Column("kotegyter", "Hazimen"), std::vector<std::string>{"Déli rész"});
    EXPECT_EQ(Column("kotegyter", "Ter"), std::vector<std::string>{"13"});
    EXPECT_EQ(Column("kotegyter", "Kat"), std::vector<std::string>{"True"});
    dialogs.VerifyDone();
}

TEST(NutrientPlan, AmountsFollowThePercentagesOfTheQuantity) {
    EXPECT_DOUBLE_EQ(*reg::NutrientAmount("15", "200"), 30);
    EXPECT_FALSE(reg::NutrientAmount("", "200"));
    EXPECT_FALSE(reg::NutrientAmount("15", ""));
    EXPECT_FALSE(reg::NutrientAmount("sok", "200"));
}

void AddFertiliser(regtest::FieldTest& t) {
    t.Insert("Tapanyagok", {{"Kod", "100000"}, {"Nev", "Pétisó"}, {"Nit", "20"}, {"Kal", "10"}});
}

TEST_F(PlanForms, PlanItemOfTheExampleAndWhatReopeningShows) {
    AddField("100000", 2025, 1);
    AddFertiliser(*this);
    forms.On<TTapterv>([&](TTapterv& f) {
        EXPECT_TRUE(f.Chooser.Header->isVisible());
        f.Button1->click();
        f.Percents[2]->SetText("7");
        f.DBLookupComboBox1->Choose(0);
        EXPECT_EQ(f.Percents[0]->Text(), "20");
        EXPECT_EQ(f.Percents[1]->Text(), "10");
        EXPECT_EQ(f.Percents[2]->Text(), "7"); // Fos is empty: the box keeps its text
        f.Edit1->SetText("200");
        f.Percents[0]->SetText("150"); // no share is more than the whole
        f.Button7->click();
        EXPECT_EQ(f.Query1.RecordCount(), 0);
        f.Percents[0]->SetText("15");
        EXPECT_EQ(f.Amounts[0]->Text(), "30");
        EXPECT_EQ(f.Amounts[1]->Text(), "20");
        f.Button7->click();
        ASSERT_EQ(f.Query1.RecordCount(), 1);
        EXPECT_EQ(f.Query1.FieldByName("Nev").AsString(), "Pétisó");
        f.Button2->click();
        EXPECT_EQ(f.Percents[0]->Text(), "15");
        EXPECT_EQ(f.Percents[2]->Text(), "7");
        f.Button8->click();
        f.Button5->click();
    });
    dialogs.Expect("A(z) 'Nitrogén' értéke nem lehet nagyobb, mint 100 !");
    Tapterv = nullptr;
    {
        ui::OwnedForm<TTapterv> form(Tapterv, session);
        form->FieldCode = "100000";
        form->ShowModal();
    }
    EXPECT_EQ(Column("Tapterv", "Parckod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("Tapterv", "N"), std::vector<std::string>{"30"});
    EXPECT_EQ(Column("Tapterv", "P"), std::vector<std::string>{"20"});
    EXPECT_EQ(Column("Tapterv", "K"), std::vector<std::string>{"14"});
    EXPECT_EQ(Column("Tapterv", "Anyagkod"), std::vector<std::string>{"100000"});
    dialogs.VerifyDone();
}

TEST_F(PlanForms, AZeroQuantityReopensWithEmptyPercentagesAndNoFieldMeansNoItem) {
    AddField("100000", 2025, 1);
    Insert("Tapterv", {{"Parckod", "100000"}, {"Menny", "0"}, {"N", "0"}});
    forms.On<TTapterv>([&](TTapterv& f) {
        EXPECT_TRUE(f.Chooser.Panel->isVisible()); // from the menu: choose first
        f.Button1->click();
        f.Edit1->SetText("100");
        f.Button7->click(); // refused: no field
        f.Button8->click();
        f.Chooser.Choose->click();
        EXPECT_EQ(f.FieldCode, "100000");
        f.Button2->click();
        EXPECT_EQ(f.Percents[0]->Text(), "");
        EXPECT_EQ(f.Amounts[0]->Text(), "0");
        f.Button8->click();
        f.Button3->click();
        EXPECT_TRUE(f.Query1.IsEmpty());
        f.Button3->click(); // on an empty list: nothing
        f.Button2->click();
        EXPECT_FALSE(f.GroupBox1->isVisible());
        f.Button5->click();
    });
    dialogs.Expect("Kérem előbb válassza ki a parcellát (Másik parcella)!");
    ui::ShowModalForm(Tapterv, session);
    EXPECT_EQ(Count("Tapterv"), 0u);
    dialogs.VerifyDone();
}

TEST_F(PlanForms, TemporaryPlanItemsAreListedAloneUnderTemp) {
    AddField("100000", 2025, 1);
    Insert("Tapterv", {{"Parckod", "100000"}, {"Menny", "5"}});
    forms.On<TTapterv>([&](TTapterv& f) {
        EXPECT_FALSE(f.Chooser.Header->isVisible());
        EXPECT_FALSE(f.Query1.Active());
        f.Button1->click();
        f.Edit1->SetText("50");
        f.Button7->click();
        EXPECT_EQ(f.Query1.RecordCount(), 1);
        f.Button5->click();
    });
    {
        ui::OwnedForm<TTapterv> form(Tapterv, session);
        form->FieldCode = "TEMP";
        form->ShowModal();
    }
    EXPECT_EQ(Column("Tapterv", "Parckod"), (std::vector<std::string>{"100000", "TEMP"}));
}

TEST_F(PlanForms, FactorsAreAlwaysThoseOfTheFormsField) {
    AddField("100000", 2025, 1);
    AddField("100001", 2025, 2);
    Insert("Parcteny", {{"Parckod", "100001"}, {"Megnev", "vadkár"}});
    Insert("Parcteny", {{"Parckod", ""}, {"Megnev", "árva sor"}});
    forms.On<TParcBefTeny>([&](TParcBefTeny& f) {
        EXPECT_TRUE(f.Chooser.Panel->isVisible());
        EXPECT_FALSE(f.Table2.Active());
        f.Button1->click();
        f.Button7->click(); // no field yet
        f.Button8->click();
        f.Chooser.Choose->click(); // the first field: 100000
        EXPECT_TRUE(f.Table2.IsEmpty());
        f.Button1->click();
        f.Edit1->SetText("belvíz");
        f.Edit3->SetText("2025.");
        f.Button7->click(); // the year is no whole number
        f.Edit3->SetText("2025");
        f.Button7->click();
        EXPECT_EQ(f.Table2.RecordCount(), 1);
        f.Button4->click();
        f.Chooser.Table.Last();
        f.Chooser.Choose->click();
        ASSERT_EQ(f.Table2.RecordCount(), 1);
        EXPECT_EQ(f.Table2.FieldByName("Megnev").AsString(), "vadkár");
        f.Button2->click();
        f.Edit2->SetText("kerítés");
        f.Button7->click();
        f.Button5->click();
    });
    dialogs.Expect("Kérem előbb válassza ki a parcellát (Másik parcella)!")
        .ExpectContaining("'Beavatkozás ideje (év)' értéke nem egész szám");
    ui::ShowModalForm(ParcBefTeny, session);
    EXPECT_EQ(Column("Parcteny", "Megnev", "Parckod = '100000'"),
              std::vector<std::string>{"belvíz"});
    EXPECT_EQ(Column("Parcteny", "Beavat", "Parckod = '100001'"),
              std::vector<std::string>{"kerítés"});
    EXPECT_EQ(Count("Parcteny"), 3u);
    dialogs.VerifyDone();
}

} // namespace
