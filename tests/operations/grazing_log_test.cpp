// The grazing log: rows inserted, modified and marked deleted, with their livestock units.

#include "operations/Legeltetesh.h"
#include "register/field_fixture.h"

#include <gtest/gtest.h>

namespace {

class GrazingLog : public regtest::FieldTest {
protected:
    GrazingLog() {
        AddField("100000", 2025, 1, {{"Ter", "5000"}, {"Agazat", "legelő"}, {"Hazmeg", "Rét"}});
        const std::string species =
            Insert("Allatfajok", {{"Megnev", "Szarvasmarha"}, {"Deleted", "False"}})["Id"];
        Insert(
            "Korcsoport",
            {{"Allid", species}, {"Korcs", "2 év felett"}, {"Aepdb", "0,6"}, {"Deleted", "False"}});
    }
    double Ae() {
        db::TTable rows(session, "Check");
        rows.SetTableName("legnaplo");
        rows.Open();
        rows.First();
        return rows.FieldByName("Ae").AsFloat();
    }
};

TEST_F(GrazingLog, ARowIsInsertedModifiedAndMarkedDeleted) {
    forms.On<TLegeltetes>([&](TLegeltetes& f) {
        f.Button1->Click();
        EXPECT_EQ(f.Label1->Caption(), "Tábla : legelő/2025, Rét");
        f.Button3->Click();
        EXPECT_EQ(f.Table2.FieldByName("Ter").AsString(), "5000");
        f.DBLookupComboBox1->Choose(0);
        f.DBLookupComboBox2->Choose(0);
        f.Edit2->SetText("12");
        EXPECT_DOUBLE_EQ(f.Table2.FieldByName("Ae").AsFloat(), 7.2);
        f.Edit1->SetText("szakaszos");
        for (const char* area : {"-1", "6000", "5000"}) { // the field has 5000 m²
            f.DBEdit2->selectAll();
            Type(f.DBEdit2, area);
            f.Button8->Click();
        }
        ASSERT_EQ(f.Query1.RecordCount(), 1);

        f.Button4->Click();
        EXPECT_EQ(f.Edit2->Text(), "12");
        f.Edit2->SetText("x");
        EXPECT_DOUBLE_EQ(f.Table2.FieldByName("Ae").AsFloat(), 0);
        f.Edit2->SetText("10");
        f.Button8->Click();
        EXPECT_EQ(f.Query1.RecordCount(), 1);

        f.Button5->Click(); // No
        f.Button5->Click(); // Yes
        EXPECT_TRUE(f.Query1.IsEmpty());
        f.Button6->Click();
    });
    dialogs.Expect("A(z) 'Terület' értéke nem lehet nulla vagy negatív !")
        .Expect("Az érintett terület nem lehet nagyobb a tábla területénél!");
    dialogs.Expect("Az állategység számítás nem sikerült. Valószínűleg a darabszám helytelenül "
                   "lett megadva.");
    dialogs.Expect("Valóban töröljem a kiválasztott legeltetést ?", ui::mrNo);
    dialogs.Expect("Valóban töröljem a kiválasztott legeltetést ?", ui::mrYes);
    ui::ShowModalForm(Legeltetes, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Count("legnaplo"), 1u); // never removed
    EXPECT_EQ(Column("legnaplo", "Deleted"), std::vector<std::string>{"True"});
    EXPECT_EQ(Column("legnaplo", "Darab"), std::vector<std::string>{"10"});
    EXPECT_EQ(Column("legnaplo", "Legmod"), std::vector<std::string>{"szakaszos"});
    EXPECT_EQ(Column("legnaplo", "Parcid"), std::vector<std::string>{"100000"});
    EXPECT_DOUBLE_EQ(Ae(), 6);
}

TEST_F(GrazingLog, ARowWithoutSpeciesAndAgeGroupIsRefused) {
    forms.On<TLegeltetes>([&](TLegeltetes& f) {
        f.Button1->Click();
        f.Button3->Click();
        f.Edit2->SetText("3");
        f.Button8->Click();
        f.Button7->Click();
        f.Button4->Click(); // nothing chosen: nothing happens
        f.Button5->Click();
        f.Button6->Click();
    });
    dialogs.Expect("Kérem, adja meg az állatfajt és a korcsoportot!");
    ui::ShowModalForm(Legeltetes, session);
    dialogs.VerifyDone();
    EXPECT_EQ(Count("legnaplo"), 0u);
}

} // namespace
