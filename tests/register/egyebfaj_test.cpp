// The species dialog: codes from 1, one above the highest numeric code (also of the
// tables naming a species), and the required name.

#include "field_fixture.h"
#include "register/Egyebfajh.h"

#include <gtest/gtest.h>

namespace {

using Species = regtest::FieldTest;

void StoreSpecies(testui::ScriptedForms& forms, const std::string& name,
                  const std::string& latin = "") {
    forms.On<TEgyebFaj>([=](TEgyebFaj& d) {
        d.Edit1->SetText(name);
        d.Edit2->SetText(latin);
        d.Button2->click();
    });
}

TEST_F(Species, CodesStartAtOneAndFollowTheNumericMaximum) {
    StoreSpecies(forms, "búza", "Triticum aestivum");
    ui::ShowModalForm(EgyebFaj, session);
    EXPECT_EQ(Column("Magfajtak", "Fajkod"), std::vector<std::string>{"1"});
    EXPECT_EQ(Column("Magfajtak", "Latin"), std::vector<std::string>{"Triticum aestivum"});

    // Codes up to 10 in text order would put "9" last and hand "10" out twice.
    for (int code = 2; code <= 10; ++code)
        Insert("Magfajtak",
               {{"Fajkod", std::to_string(code)}, {"Faj", "faj" + std::to_string(code)}});
    StoreSpecies(forms, "árpa");
    ui::ShowModalForm(EgyebFaj, session);
    EXPECT_EQ(Column("Magfajtak", "Fajkod", "Faj = 'árpa'"), std::vector<std::string>{"11"});

    // A seed variety still naming a removed species keeps its code taken.
    Insert("Vetomagok", {{"Magkod", "300000"}, {"Magfaj", "40"}, {"Nev", "GK Öthalom"}});
    StoreSpecies(forms, "rozs");
    ui::ShowModalForm(EgyebFaj, session);
    EXPECT_EQ(Column("Magfajtak", "Fajkod", "Faj = 'rozs'"), std::vector<std::string>{"41"});
    dialogs.VerifyDone();
}

TEST_F(Species, ASecondSpeciesOfOneNameIsRefusedWithTheDialogOpen) {
    Insert("Magfajtak", {{"Fajkod", "1"}, {"Faj", "Búza"}});
    forms.On<TEgyebFaj>([&](TEgyebFaj& d) {
        d.Edit1->SetText("búza ");
        d.Button2->click();
        EXPECT_EQ(d.ModalResult(), ui::mrNone);
        d.Button1->click();
    });
    dialogs.Expect("Ilyen nevű növényfaj, ágazat már van a listában!");
    ui::ShowModalForm(EgyebFaj, session);
    EXPECT_EQ(Count("Magfajtak"), 1u);
    dialogs.VerifyDone();
}

TEST_F(Species, AnEmptyNameIsRefusedWithTheDialogOpen) {
    forms.On<TEgyebFaj>([&](TEgyebFaj& d) {
        d.Button2->click();
        EXPECT_EQ(d.ModalResult(), ui::mrNone);
        d.Button1->click();
    });
    dialogs.Expect("Kérem a faj megnevezését !");
    ui::ShowModalForm(EgyebFaj, session);
    EXPECT_EQ(Count("Magfajtak"), 0u);
    EXPECT_EQ(dialogs.Last().caption, "Hiányzó Adatok!");
    dialogs.VerifyDone();
}

} // namespace
