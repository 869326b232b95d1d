// The fields of a farming year from the main window of a fresh database, as a new user
// goes: a KET area, a species, three fields of 2025 in a predecessor chain, a nutrient
// plan and a factor, one field carried into 2026, group modification, modification,
// closing, deleting a field with operations, every table read by the oracle reader.

#include "core/Folap.h"
#include "field_fixture.h"
#include "register/Csoportostablamodh.h"
#include "register/Egyebfajh.h"
#include "register/Ketu.h"
#include "register/Parcaktivh.h"
#include "register/Parcbeftenyh.h"
#include "register/Parcinaktiv.h"
#include "register/Parckeze.h"
#include "register/Parcmodh.h"
#include "register/Tapanyaggt.h"
#include "register/Ujparcella.h"
#include "register/commands.h"
#include "support/table_check.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

class FieldsFlow : public regtest::FieldTest {
public:
    ~FieldsFlow() override {
        app.reset();
        Folap1 = nullptr;
    }
    ui::TMenuItem* Item(const std::string& menu, const std::string& item) {
        ui::TMenuItem* found = Folap1->FindMenuItem({menu, item});
        EXPECT_NE(found, nullptr) << item;
        EXPECT_TRUE(found && found->Enabled()) << item;
        return found;
    }
};

const std::string kFields = "Táblák (eddig parcellák)";

// A field of 2025 on the land parcel `helysz`, continuing the fields marked by code.
void CreateField(testui::ScriptedForms& forms, const std::string& helysz, const std::string& serial,
                 std::vector<std::string> predecessors) {
    forms.On<TUjparcellaF>([=](TUjparcellaF& f) {
        ASSERT_TRUE(f.Table2.Locate("Helysz", {db::Value(helysz)}));
        f.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
        f.DBGrid1CellClick(f.DBGrid1->Columns()[0]);
        f.Edit4->SetText("2025");
        f.Edit4Exit(nullptr);
        EXPECT_EQ(f.Edit1->Text(), serial);
        f.DBLookupComboBox1->Choose(0);
        f.Edit3->SetText("5000");
        f.DBGrid4->DataSet()->First(); // the KET area
        for (const std::string& code : predecessors) {
            ASSERT_TRUE(f.Table3.Locate("Parckod", {db::Value(code)}));
            f.DBGrid2->SelectedRows().SetCurrentRowSelected(true);
        }
        f.Button1->click();
    });
    if (!predecessors.empty())
        forms.On<TParcinak>([](TParcinak& d) { d.Button2->click(); }); // all stay active
}

TEST_F(FieldsFlow, FromTheMainWindowOfAFreshDatabase) {
    regtest::AddOwner(session, "100000", "Kiss Ádám");
    regtest::AddParcel(session, {.helysz = "101/1", .ter = 20000});
    regtest::AddParcel(session, {.helysz = "102/2", .ter = 30000});
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    ui::OwnedForm<TParckezeles> deletes(Parckezeles, session);
    InstallRegisterCommands(*Folap1, session);
    ShowActive(*Folap1);

    forms.On<Tket>([](Tket& f) {
        f.Button1->click();
        f.Edit1->SetText("Öreg-hegy");
        f.DBLookupComboBox1->Choose(0);
        f.Edit4->SetText("5");
        f.Button5->click();
        f.Button4->click();
    });
    Item("Területek(hrsz) törzsadatai ",
         "KET(Kötelezettségválalással érintett egybefüggő területek)")
        ->Click();
    ASSERT_EQ(Count("kotegyter"), 1u);

    // The sector added through "+" of the create form, which is then cancelled.
    forms.On<TUjparcellaF>([&](TUjparcellaF& f) {
        forms.On<TEgyebFaj>([](TEgyebFaj& d) {
            d.Edit1->SetText("őszi búza");
            d.Button2->click();
        });
        f.Button3->click();
        EXPECT_EQ(f.Table1.RecordCount(), 1);
        f.Button2->click();
    });
    Folap1->ToolButton6->Click();

    CreateField(forms, "101/1", "1", {});
    Item(kFields, "Új tábla kialakítása")->Click();
    const std::string monoculture =
        "Figyelem ! Monokultúra kialakulásának veszéje áll fenn! Folytatja ?";
    CreateField(forms, "101/1", "2", {"100000"});
    dialogs.Expect(monoculture, ui::mrOk);
    Item(kFields, "Új tábla kialakítása")->Click();
    CreateField(forms, "101/1", "3", {"100001"});
    dialogs.Expect(monoculture, ui::mrOk);
    Item(kFields, "Új tábla kialakítása")->Click();
    EXPECT_EQ(Column("parcellak", "Parckod"),
              (std::vector<std::string>{"100000", "100001", "100002"}));
    EXPECT_EQ(Column("parcellak", "Ketid"),
              (std::vector<std::string>(3, Column("kotegyter", "Id")[0])));

    forms.On<TTapterv>([](TTapterv& f) {
        f.Chooser.Choose->click();
        f.Button1->click();
        f.Edit1->SetText("200");
        f.Percents[0]->SetText("15");
        f.Button7->click();
        f.Button5->click();
    });
    Item(kFields, "Tápanyag-gazdálkodási terv")->Click();
    forms.On<TParcBefTeny>([](TParcBefTeny& f) {
        f.Chooser.Choose->click();
        f.Button1->click();
        f.Edit1->SetText("belvíz");
        f.Button7->click();
        f.Button5->click();
    });
    Item(kFields, "Befolyásoló tényezők")->Click();
    EXPECT_EQ(Column("Tapterv", "N"), std::vector<std::string>{"30"});
    EXPECT_EQ(Column("Parcteny", "Parckod"), std::vector<std::string>{"100000"});

    forms.On<TParcAktiv>([](TParcAktiv& f) {
        ASSERT_TRUE(f.Table1.Locate("Parckod", {db::Value(std::string("100002"))}));
        f.DBGrid1CellClick(f.DBGrid1->Columns()[0]);
        f.ComboBox1->SetText("2026");
        f.DBLookupComboBox1->Choose(0);
        f.Button2->click();
    });
    Item(kFields, "Új tábla meglévő alapján")->Click();
    EXPECT_EQ(FieldOf("100002", "Aktiv"), "N");
    EXPECT_EQ(FieldOf("100003", "Evj"), "2026");

    forms.On<TCsoportosTablamod>([](TCsoportosTablamod& f) {
        for (const char* code : {"100000", "100001"}) {
            ASSERT_TRUE(f.Query1.Locate("Parckod", {db::Value(std::string(code))}));
            f.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
        }
        f.Button2->click();
        f.Ticks[10]->SetChecked(true);
        f.Edit5->SetText("7,5");
        f.Button4->click();
        f.Button1->click();
    });
    dialogs.Expect("A kijelölt táblák módosítása megtörtént.");
    Item(kFields, "Táblák csoportos módosítása")->Click();
    EXPECT_EQ(FieldOf("100001", "Tervhozam"), "7,5");

    forms.On<TParcmod>([](TParcmod& f) {
        ASSERT_TRUE(f.Table1.Locate("Parckod", {db::Value(std::string("100001"))}));
        f.Button1->click();
        f.Button20->click();
    });
    dialogs.ExpectContaining("Valóban zároljam az aktuális táblát ?", ui::mrYes);
    Item(kFields, "Tábla módosítása")->Click();

    // Field 100001, closed, with an operation that withdrew 200 kg.
    Insert("Raktarmozgas", {{"Anyagkod", "100000"}, {"Menny", "500"}, {"Datum", "2025. 03. 01."}});
    Insert("ElvMuv", {{"Muvkod", "100000"}, {"Tablakod", "100001"}});
    Insert("felhanyag", {{"Felhkod", "100000"},
                         {"Muvkod", "100000"},
                         {"Tablakod", "100001"},
                         {"Anyagkod", "100000"},
                         {"Menny", "200"}});
    Insert("Raktarmozgas", {{"Anyagkod", "100000"},
                            {"Menny", "-200"},
                            {"Felhanykod", "100000"},
                            {"Datum", "2025. 04. 01."}});
    forms.On<TParckezeles>([](TParckezeles& f) {
        ASSERT_EQ(f.Table1.RecordCount(), 2);
        ASSERT_TRUE(f.Table1.Locate("Parckod", {db::Value(std::string("100001"))}));
        f.Button3->click();
        f.Button1->click();
    });
    dialogs.ExpectContaining("Biztosan törölni szeretné a kiválasztott parcellát?", ui::mrYes);
    Item(kFields, "Törlés / aktiválás")->Click();
    EXPECT_EQ(FieldOf("100001", "Aktiv"), "<none>");
    EXPECT_EQ(Column("Raktarmozgas", "Menny"), std::vector<std::string>{"500"});
    EXPECT_EQ(Column("Szparcellak", "Szparckod"), (std::vector<std::string>{"100002"}));
    dialogs.VerifyDone();
    forms.VerifyDone();
    Folap1->Hide();

    for (const char* table :
         {"parcellak", "Szhelyrajzi", "Szparcellak", "Parclellak02", "Tapterv", "Parcteny",
          "kotegyter", "Magfajtak", "ElvMuv", "felhanyag", "Raktarmozgas"})
        EXPECT_EQ(testenv::compareWithOracle(session.tablePath(table)), "") << table;
}

} // namespace
