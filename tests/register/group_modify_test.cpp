// Group modification: the ticked properties reach every marked field (the area typed in
// hectares stored in square metres), and a value that cannot be stored changes no field.

#include "field_fixture.h"
#include "register/Csoportostablamodh.h"

#include <gtest/gtest.h>

namespace {

class GroupModify : public regtest::FieldTest {
public:
    GroupModify() {
        Insert("Magfajtak", {{"Fajkod", "1"}, {"Faj", "búza"}});
        Insert("Magfajtak", {{"Fajkod", "2"}, {"Faj", "zab"}});
        AddField("100000", 2024, 1);
        AddField("100001", 2025, 2, {{"Tervhozam", "4"}});
        AddField("100002", 2025, 3);
        const int parcel = regtest::AddParcel(session, {.helysz = "1", .ter = 100000});
        for (const char* field : {"100000", "100001", "100002"})
            Insert("Szhelyrajzi",
                   {{"Sorsz", field}, {"Parcellakod", field}, {"Helysz", std::to_string(parcel)}});
        std::string programme = Column("celprogramok", "Id").front();
        ket = Insert(
            "kotegyter",
            {{"Sorsz", "1"}, {"Akgkod", programme}, {"Akgmuvag", "1"}, {"Deleted", "False"}})["Id"];
    }
    std::string ket;
};

void Mark(TCsoportosTablamod& f, const std::string& parckod) {
    ASSERT_TRUE(f.Query1.Locate("Parckod", {db::Value(parckod)}));
    f.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
}

TEST(GroupModifyArea, HectaresBecomeSquareMetres) {
    EXPECT_EQ(reg::HectaresToSquareMetres("1,5"), "15000");
    EXPECT_EQ(reg::HectaresToSquareMetres("0,0123"), "123");
    EXPECT_FALSE(reg::HectaresToSquareMetres(""));
}

TEST_F(GroupModify, TwoFieldsReceiveEveryTickedValue) {
    forms.On<TCsoportosTablamod>([&](TCsoportosTablamod& f) {
        EXPECT_FALSE(f.Edit1->isEnabled());
        Mark(f, "100000");
        Mark(f, "100001");
        f.Button2->click();
        for (std::size_t i : {0, 1, 2, 5, 7, 11, 12})
            f.Ticks[i]->SetChecked(true);
        EXPECT_TRUE(f.Edit1->isEnabled());
        f.Edit1->SetText("2,5");
        f.DBLookupComboBox1->Choose(1); // zab
        f.Edit2->SetText("2026");
        f.CheckBox15->SetChecked(true);
        f.CheckBox17->SetChecked(true);
        f.Edit6->SetText("közös");
        f.Button4->click();
        EXPECT_TRUE(f.GroupBox1->isVisible());
        f.Button1->click();
    });
    dialogs.Expect("A kijelölt táblák módosítása megtörtént.");
    ui::ShowModalForm(CsoportosTablamod, session);
    for (const char* code : {"100000", "100001"}) {
        EXPECT_EQ(FieldOf(code, "Ter"), "25000");
        EXPECT_EQ(FieldOf(code, "Agazat"), "zab");
        EXPECT_EQ(FieldOf(code, "Evj"), "2026");
        EXPECT_EQ(FieldOf(code, "Masod"), "IGEN");
        EXPECT_EQ(FieldOf(code, "Ketid"), ket);
        EXPECT_EQ(FieldOf(code, "Talajbaszantas"), "True");
        EXPECT_EQ(FieldOf(code, "Megjegyzes"), "közös");
    }
    EXPECT_EQ(FieldOf("100001", "Tervhozam"), "4"); // not ticked
    EXPECT_EQ(FieldOf("100002", "Evj"), "2025");
    EXPECT_EQ(FieldOf("100002", "Agazat"), "búza");
    dialogs.VerifyDone();
}

TEST_F(GroupModify, AValueThatCannotBeStoredChangesNoField) {
    forms.On<TCsoportosTablamod>([&](TCsoportosTablamod& f) {
        Mark(f, "100000");
        Mark(f, "100002");
        f.Button2->click();
        f.Ticks[4]->SetChecked(true);
        f.Edit3->SetText("Új név");
        f.Ticks[10]->SetChecked(true);
        for (const char* yield : {"sok", "-3"}) {
            f.Edit5->SetText(yield);
            f.Button4->click();
        }
        f.Edit5->SetText("5");
        f.Ticks[2]->SetChecked(true);
        f.Edit2->SetText("2025");
        f.Ticks[0]->SetChecked(true);
        for (const char* hectares : {"", "-2", "10,5"}) { // none, below zero, above the parcels
            f.Edit1->SetText(hectares);
            f.Button4->click();
        }
        f.Ticks[0]->SetChecked(false);
        f.Edit2->SetText("2024"); // 100002 meets the serial 3 of 100009 there
        AddField("100009", 2024, 3);
        f.Button4->click();
        f.Button3->click();
    });
    dialogs.ExpectContaining("'Hozamterv' értéke nem szám")
        .Expect("A(z) 'Hozamterv' értéke nem lehet negatív !")
        .Expect("Kérem adja meg a területet!")
        .Expect("A(z) 'Terület' értéke nem lehet nulla vagy negatív !")
        .Expect("A tábla területe nem lehet nagyobb mint a kijelölt területek(hrsz.) "
                "összterülete!")
        .Expect("Ez a tábla sorszám már létezik az adott gazdasági évben!");
    ui::ShowModalForm(CsoportosTablamod, session);
    for (const char* code : {"100000", "100002"})
        EXPECT_EQ(FieldOf(code, "Hazmeg"), "") << code;
    dialogs.VerifyDone();
}

TEST_F(GroupModify, ClosedFieldsLeaveTheListAndNoMarkChangesNothing) {
    forms.On<TCsoportosTablamod>([&](TCsoportosTablamod& f) {
        f.Button2->click();
        f.Button4->click(); // nothing marked
        f.Button5->click();
        Mark(f, "100002");
        f.Button2->click();
        f.Ticks[3]->SetChecked(true);
        f.CheckBox14->SetChecked(true);
        f.Button4->click();
        EXPECT_EQ(f.Query1.RecordCount(), 2);
        f.Button1->click();
    });
    dialogs.Expect("A kijelölt táblák módosítása megtörtént.")
        .Expect("A kijelölt táblák módosítása megtörtént.");
    ui::ShowModalForm(CsoportosTablamod, session);
    EXPECT_EQ(FieldOf("100002", "Aktiv"), "N");
    EXPECT_EQ(FieldOf("100001", "Aktiv"), "A");
    dialogs.VerifyDone();
}

} // namespace
