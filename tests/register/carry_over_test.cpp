// A field carried over into a new year: what the new field inherits, the rotation link,
// the old field closed by the same save, and a refused save leaving the old field open.

#include "field_fixture.h"
#include "register/Parcaktivh.h"
#include "register/Parcbeftenyh.h"
#include "register/Tapanyaggt.h"

#include <QApplication>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class CarryOver : public regtest::FieldTest {
public:
    CarryOver() {
        Insert("Magfajtak", {{"Fajkod", "1"}, {"Faj", "búza"}});
        Insert("Magfajtak", {{"Fajkod", "2"}, {"Faj", "kukorica"}});
        AddField("100000", 2025, 3,
                 {{"Ter", "12000"},
                  {"Ketid", "4"},
                  {"Agrkor", "True"},
                  {"Nitr", "True"},
                  {"Saps", "S1"},
                  {"Kattam", "régi KAT"}});
        Insert("Szhelyrajzi", {{"Sorsz", "100000"}, {"Parcellakod", "100000"}, {"Helysz", "7"}});
        Insert("Szhelyrajzi", {{"Sorsz", "100001"}, {"Parcellakod", "100000"}, {"Helysz", "8"}});
        auto vine = Insert("Parckiegadat", {{"Parckod", "100000"},
                                            {"Fajta", "Kékfrankos"},
                                            {"Tokedb", "4000"},
                                            {"odukszama", "3"}});
        Insert("Ultkieg02", {{"Parckod", "100000"},
                             {"Ultkod", vine["Kiegid"]},
                             {"Faj", "szőlő"},
                             {"Alanynev", "T5C"}});
        Insert("Parckiegadat", {{"Parckod", "100000"}, {"Fajta", "Zweigelt"}});
    }
};

TEST_F(CarryOver, TheNewFieldInheritsLinksAndPlantationsAndTheOldOneCloses) {
    forms.On<TParcAktiv>([&](TParcAktiv& f) {
        f.DBGrid1CellClick(f.DBGrid1->Columns()[0]);
        EXPECT_EQ(f.ComboBox1->Items().Count(), 4);
        EXPECT_EQ(f.ComboBox1->Text(), "2025");
        f.ComboBox1->SetText("2026");
        f.DBLookupComboBox1->Choose(1); // kukorica
        f.Edit1->SetText("Öreg szőlő");
        f.Edit3->SetText("8,5");
        f.ComboBox2->SetItemIndex(1);
        f.CheckBox1->SetChecked(true);
        forms.On<TTapterv>([](TTapterv& p) {
            p.Button1->click();
            p.Edit1->SetText("150");
            p.Button7->click();
            p.Button5->click();
        });
        f.Button4->click();
        forms.On<TParcBefTeny>([](TParcBefTeny& p) {
            EXPECT_TRUE(p.Table2.IsEmpty());
            p.Button1->click();
            p.Edit1->SetText("vadkár");
            p.Button7->click();
            p.Button5->click();
        });
        f.Button5->click();
        f.Button2->click();
    });
    ui::ShowModalForm(ParcAktiv, session);
    EXPECT_EQ(FieldOf("100000", "Aktiv"), "N");
    EXPECT_EQ(FieldOf("100001", "Aktiv"), "A");
    EXPECT_EQ(FieldOf("100001", "Evj"), "2026");
    EXPECT_EQ(FieldOf("100001", "Parcsor"), "3");
    EXPECT_EQ(FieldOf("100001", "Ter"), "12000");
    EXPECT_EQ(FieldOf("100001", "Agazat"), "kukorica");
    EXPECT_EQ(FieldOf("100001", "Masod"), "IGEN");
    EXPECT_EQ(FieldOf("100001", "Tervhozam"), "8,5");
    EXPECT_EQ(FieldOf("100001", "Ketid"), "4");
    EXPECT_EQ(FieldOf("100001", "Nitr"), "True");
    EXPECT_EQ(FieldOf("100001", "Agrkor"), "True");
    EXPECT_EQ(FieldOf("100001", "Saps"), "S1");
    EXPECT_EQ(FieldOf("100001", "Kattam"), "");
    EXPECT_EQ(Column("Szhelyrajzi", "Helysz", "Parcellakod = '100001'"),
              (std::vector<std::string>{"7", "8"}));
    EXPECT_EQ(Column("Szhelyrajzi", "Sorsz", "Parcellakod = '100001'"),
              (std::vector<std::string>{"100002", "100003"}));
    EXPECT_EQ(Column("Szparcellak", "Szparckod", "Parckod = '100001'"),
              std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("Szparcellak", "Szulkod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("Parckiegadat", "Fajta", "Parckod = '100001'"),
              (std::vector<std::string>{"Kékfrankos", "Zweigelt"}));
    EXPECT_EQ(Column("Parckiegadat", "odukszama", "Parckod = '100001'"),
              (std::vector<std::string>{"", ""}));
    auto newVine = Column("Parckiegadat", "Kiegid", "Parckod = '100001'").front();
    EXPECT_EQ(Column("Ultkieg02", "Alanynev", "Ultkod = " + newVine),
              std::vector<std::string>{"T5C"});
    EXPECT_EQ(Column("Parclellak02", "Parckod"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("Parclellak02", "Tvizsgtip"), std::vector<std::string>{"B"});
    EXPECT_EQ(Column("Tapterv", "Parckod"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("Parcteny", "Parckod"), std::vector<std::string>{"100001"});
    dialogs.VerifyDone();
}

TEST_F(CarryOver, InItsOwnYearTheNewFieldTakesTheNextFreeSerial) {
    AddField("100005", 2025, 9);
    forms.On<TParcAktiv>([&](TParcAktiv& f) {
        f.DBGrid1CellClick(f.DBGrid1->Columns()[0]);
        f.DBLookupComboBox1->Choose(0);
        dialogs.Expect(
            "A(z) 2025. évben a(z) 3. sorszám már foglalt: az új tábla a(z) 10. sorszámot kapta.");
        f.Button2->click();
    });
    ui::ShowModalForm(ParcAktiv, session);
    dialogs.VerifyDone();
    EXPECT_EQ(FieldOf("100006", "Parcsor"), "10");
    EXPECT_EQ(Column("Parclellak02", "Tvizsgtip"), std::vector<std::string>{"T"});
}

TEST_F(CarryOver, ARefusedSaveLeavesTheOldFieldOpenAndACancelDropsTheTemporaryRows) {
    forms.On<TParcAktiv>([&](TParcAktiv& f) {
        f.Button2->click(); // nothing selected: no year
        f.DBGrid1CellClick(f.DBGrid1->Columns()[0]);
        f.DBLookupComboBox1->Choose(0);
        for (const char* yield : {"nyolc", "-3"}) {
            f.Edit3->SetText(yield);
            f.Button2->click();
        }
        f.Edit3->SetText("");
        f.ComboBox1->SetText("20x6");
        f.Button2->click();
        forms.On<TTapterv>([](TTapterv& p) {
            p.Button1->click();
            p.Button7->click();
            p.Button5->click();
        });
        f.Button4->click();
        EXPECT_EQ(Count("Tapterv"), 1u);
        f.Button1->click();
    });
    dialogs.Expect("Ágazat és a gazdasági év kötelező !")
        .ExpectContaining("'Hozamterv' értéke nem szám")
        .Expect("A(z) 'Hozamterv' értéke nem lehet negatív !")
        .ExpectContaining("'Gazdasági év' értéke nem egész szám");
    ui::ShowModalForm(ParcAktiv, session);
    EXPECT_EQ(FieldOf("100000", "Aktiv"), "A");
    EXPECT_EQ(Count("parcellak"), 1u);
    EXPECT_EQ(Count("Szparcellak"), 0u);
    EXPECT_EQ(Count("Tapterv"), 0u);
    dialogs.VerifyDone();
}

TEST_F(CarryOver, ASaveFailingWhileItWritesLeavesTheOldFieldOpen) {
    // The soil-test table is gone from the folder: the save fails after its first rows.
    std::filesystem::remove(session.tablePath("Parclellak02"));
    forms.On<TParcAktiv>([&](TParcAktiv& f) {
        f.DBGrid1CellClick(f.DBGrid1->Columns()[0]);
        f.DBLookupComboBox1->Choose(0);
        EXPECT_ANY_THROW(f.Button2->Click());
        f.Button1->click();
    });
    ui::ShowModalForm(ParcAktiv, session);
    EXPECT_EQ(FieldOf("100000", "Aktiv"), "A");
}

// Tab leaves the field list for "Ágazat :", the field to be carried staying chosen.
TEST_F(CarryOver, TabLeavesTheFieldListForTheSector) {
    AddField("100001", 2025, 4);
    forms.On<TParcAktiv>([&](TParcAktiv& f) {
        ShowActive(f);
        f.DBGrid1->SetFocus();
        Key(f.DBGrid1, Qt::Key_Tab);
        EXPECT_EQ(ui::ControlOf(QApplication::focusWidget()), f.DBLookupComboBox1);
        EXPECT_EQ(f.Table1.FieldByName("Parckod").AsString(), "100000");
        f.Button1->click();
    });
    ui::ShowModalForm(ParcAktiv, session);
}

TEST_F(CarryOver, WithNoActiveFieldTheSaveIsDisabled) {
    db::TTable fields(session);
    fields.SetTableName("parcellak");
    fields.EmptyTable();
    forms.On<TParcAktiv>([&](TParcAktiv& f) {
        EXPECT_FALSE(f.Button2->isEnabled());
        f.Button1->click();
    });
    dialogs.Expect("Nem léteznek meglévő aktív parcellák !");
    ui::ShowModalForm(ParcAktiv, session);
    EXPECT_EQ(dialogs.Last().caption, "Nincsenek parcellák !");
    dialogs.VerifyDone();
}

} // namespace
