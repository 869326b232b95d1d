// Modifying a field: data and links round trip, the grassland typed by hand, closing the
// field, a KET the list does not show kept, and the checks before the save.

#include "field_fixture.h"
#include "register/Parcmodh.h"
#include "register/side_data.h"

#include <gtest/gtest.h>

namespace {

class ModifyField : public regtest::FieldTest {
public:
    ModifyField() {
        Insert("Magfajtak", {{"Fajkod", "1"}, {"Faj", "búza"}});
        Insert("Magfajtak", {{"Fajkod", "2"}, {"Faj", "zab"}});
        north = regtest::AddParcel(session, {.helysz = "010/1", .ter = 10000});
        south = regtest::AddParcel(session, {.helysz = "020/2", .ter = 5000});
        AddField("100000", 2023, 1);
        AddField("100001", 2024, 1);
        AddField("100002", 2024, 2, {{"Agazat", "zab"}});
        AddField("100003", 2025, 1, {{"Hazmeg", "Dűlő"}, {"Ketid", "77"}, {"Agrkor", "True"}});
        Insert("Szparcellak",
               {{"Szulkod", "100000"}, {"Parckod", "100003"}, {"Szparckod", "100001"}});
        Insert("Szparcellak",
               {{"Szulkod", "100001"}, {"Parckod", "100003"}, {"Szparckod", "100000"}});
        Insert("Szparcellak",
               {{"Szulkod", "100002"}, {"Parckod", "100002"}, {"Szparckod", "100000"}});
        for (const char* field : {"100003", "100001", "100002"})
            Insert("Szhelyrajzi", {{"Sorsz", std::to_string(Count("Szhelyrajzi") + 100000)},
                                   {"Parcellakod", field},
                                   {"Helysz", std::to_string(north)}});
        std::string programme = Column("celprogramok", "Id").front();
        ket = Insert("kotegyter",
                     {{"Sorsz", "1"}, {"Akgkod", programme}, {"Deleted", "False"}})["Id"];
    }
    int north = 0, south = 0;
    std::string ket;
};

void Choose(TParcmod& f, const std::string& code) {
    ASSERT_TRUE(f.Table1.Locate("Parckod", {db::Value(code)}));
    f.Button1->click();
}

TEST_F(ModifyField, DataAndLinksRoundTrip) {
    forms.On<TParcmod>([&](TParcmod& f) {
        EXPECT_TRUE(f.Panel1->isVisible());
        Choose(f, "100003");
        EXPECT_FALSE(f.Panel1->isVisible());
        EXPECT_EQ(f.Label1->Caption(), "1/2025 parcella módosítása");
        EXPECT_EQ(f.Edit1->Text(), "Dűlő");
        ASSERT_EQ(f.StringGrid1->RowCount(), 3); // 2023 first
        EXPECT_EQ(f.StringGrid1->Cells(0, 1), "2023");
        EXPECT_EQ(f.StringGrid2->Cells(0, 2), "100001");
        EXPECT_EQ(f.StringGrid3->Cells(0, 1), "010/1");
        f.StringGrid1->SetRow(1);
        f.Button5->click(); // 100000 no longer a predecessor
        f.Button4->click();
        EXPECT_EQ(f.Table3.RecordCount(), 2); // neither itself nor 100001
        EXPECT_FALSE(f.Button12->isEnabled() || f.StringGrid1->isEnabled()); // until picked
        ASSERT_TRUE(f.Table3.Locate("Parckod", {db::Value(std::string("100002"))}));
        f.Button8->click();
        f.Button6->click();
        EXPECT_EQ(f.Table4.RecordCount(), 1);
        f.Button9->click();
        f.Edit1->SetText("Új dűlő");
        f.Edit2->SetText("14500");
        f.ComboBox2->SetItemIndex(1);
        f.CheckBox2->SetChecked(true);
        f.Button3->click();
    });
    dialogs.Expect("Valóban mentsem a módosításokat ?", ui::mrYes);
    ui::ShowModalForm(Parcmod, session);
    EXPECT_EQ(FieldOf("100003", "Hazmeg"), "Új dűlő");
    EXPECT_EQ(FieldOf("100003", "Ter"), "14500");
    EXPECT_EQ(FieldOf("100003", "Agazat"), "zab");
    EXPECT_EQ(FieldOf("100003", "Masod"), "IGEN");
    EXPECT_EQ(FieldOf("100003", "Ketid"), "77"); // matches no listed KET: kept
    EXPECT_EQ(Column("Szparcellak", "Szparckod", "Parckod = '100003'"),
              (std::vector<std::string>{"100001", "100002"}));
    EXPECT_EQ(Column("Szparcellak", "Szparckod", "Parckod = '100002'"),
              std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("Szhelyrajzi", "Helysz", "Parcellakod = '100003'"),
              (std::vector<std::string>{std::to_string(north), std::to_string(south)}));
    EXPECT_EQ(Count("gyepalap"), 0u);
    dialogs.VerifyDone();
}

TEST_F(ModifyField, AGrassTypeTypedByHandIsStoredAs111AndShownAgain) {
    auto play = [&](const std::string& typed) {
        forms.On<TParcmod>([&, typed](TParcmod& f) {
            Choose(f, "100001");
            if (typed.empty()) {
                EXPECT_EQ(f.Side.ComboBox3->Text(), "sziklagyep");
                EXPECT_EQ(f.Side.ComboBox1->ItemIndex(), 0);
                f.Button2->click();
                return;
            }
            f.Button13->click();
            f.Side.ComboBox1->SetItemIndex(0);
            f.Side.ComboBox3->SetText(typed);
            f.Side.Button25->click();
            f.Button3->click();
        });
        ui::ShowModalForm(Parcmod, session);
    };
    dialogs.Expect("Valóban mentsem a módosításokat ?", ui::mrYes);
    play("sziklagyep");
    EXPECT_EQ(Column("gyepalap", "Gyeptip"), std::vector<std::string>{"111"});
    EXPECT_EQ(Column("gyepalap", "Egyebtip"), std::vector<std::string>{"sziklagyep"});
    EXPECT_EQ(Column("gyepalap", "Hasznmod"), std::vector<std::string>{"0"});
    play("");
    dialogs.VerifyDone();
}

TEST_F(ModifyField, ClosingTheFieldKeepsItsStoredData) {
    forms.On<TParcmod>([&](TParcmod& f) {
        Choose(f, "100003");
        f.Edit1->SetText("nem mentett");
        f.Button20->click();
        EXPECT_EQ(f.ModalResult(), ui::mrNone);
        f.Button20->click();
    });
    dialogs.ExpectContaining("Valóban zároljam az aktuális táblát ?", ui::mrNo)
        .ExpectContaining("Valóban zároljam az aktuális táblát ?", ui::mrYes);
    ui::ShowModalForm(Parcmod, session);
    EXPECT_EQ(FieldOf("100003", "Aktiv"), "N");
    EXPECT_EQ(FieldOf("100003", "Hazmeg"), "Dűlő");
    dialogs.VerifyDone();
}

TEST_F(ModifyField, AChosenKetIsStoredAndAClashingSerialRefused) {
    forms.On<TParcmod>([&](TParcmod& f) {
        Choose(f, "100002");
        f.Button3->click();    // answered No
        f.Edit4->SetText("1"); // 100001's serial in 2024
        f.Button3->click();
        f.Edit4->SetText("x");
        f.Button3->click();
        f.Edit4->SetText("5");
        f.Edit9->SetText("-1"); // a planned yield below nothing
        f.Button3->click();
        f.Edit9->SetText("");
        for (const char* area : {"-300", "10001", "10000"}) { // its land parcel has 10000
            f.Edit2->SetText(area);
            f.DBGrid5->OnCellClick(f.DBGrid5->Columns()[0]);
            f.Button3->click();
        }
    });
    const std::string question = "Valóban mentsem a módosításokat ?";
    dialogs.Expect(question, ui::mrNo)
        .Expect(question, ui::mrYes)
        .Expect("Ez a tábla sorszám már létezik az adott gazdasági évben!")
        .Expect(question, ui::mrYes)
        .ExpectContaining("'Tábla sorszám' értéke nem egész szám")
        .Expect(question, ui::mrYes)
        .Expect("A(z) 'Hozamterv' értéke nem lehet negatív !")
        .Expect(question, ui::mrYes)
        .Expect("A(z) 'Terület' értéke nem lehet nulla vagy negatív !")
        .Expect(question, ui::mrYes)
        .Expect("A tábla területe nem lehet nagyobb mint a kijelölt területek(hrsz.) "
                "összterülete!")
        .Expect(question, ui::mrYes);
    ui::ShowModalForm(Parcmod, session);
    EXPECT_EQ(FieldOf("100002", "Parcsor"), "5");
    EXPECT_EQ(FieldOf("100002", "Ketid"), ket);
    EXPECT_EQ(Column("Szparcellak", "Szparckod", "Parckod = '100002'"),
              std::vector<std::string>{"100000"});
    dialogs.VerifyDone();
}

TEST_F(ModifyField, WithoutActiveFieldsTheFormClosesAtOnce) {
    db::TTable fields(session);
    fields.SetTableName("parcellak");
    fields.EmptyTable();
    dialogs.Expect("Nincs módosítható parcella !");
    EXPECT_EQ(ui::ShowModalForm(Parcmod, session), ui::mrCancel);
    dialogs.VerifyDone();
}

} // namespace

namespace {

TEST_F(ModifyField, PlantationAndGrazingRowsAreWrittenForTheField) {
    forms.On<TParcmod>([&](TParcmod& f) {
        Choose(f, "100001");
        f.Button13->click();
        reg::SideData& s = f.Side;
        s.Button15->click();
        s.Edit10->SetText("Cabernet");
        s.Edit5->SetText("szőlő");
        s.Edit15->SetText("2010.");
        s.Button14->click(); // the planting year is no whole number
        EXPECT_TRUE(s.GroupBox6->isVisible());
        s.Edit15->SetText("2010");
        s.Button14->click();
        ASSERT_EQ(s.Query3.RecordCount(), 1);
        s.Button16->click();
        EXPECT_EQ(s.Edit10->Text(), "Cabernet");
        EXPECT_EQ(s.Edit5->Text(), "szőlő");
        s.Edit6->SetText("Kober 5BB");
        s.Button14->click();
        s.Button28->click();
        s.Edit28->SetText("1200");
        s.Edit30->SetText("szarvasmarha");
        s.DateTimePicker2->SetDate(s.DateTimePicker1->Date() - 1);
        s.Button29->click(); // it ends the day before it begins
        EXPECT_TRUE(s.GroupBox8->Visible());
        s.DateTimePicker2->SetDate(s.DateTimePicker1->Date());
        s.Button29->click();
        s.Button28->click();
        s.Edit30->SetText("juh");
        s.Button29->click();
        EXPECT_EQ(s.Table8.RecordCount(), 2);
        s.Table8.First();
        s.Button27->click();
        s.Edit33->SetText("12");
        s.Button29->click();
        s.Table8.Last();
        s.Button26->click();
        f.Button2->click();
    });
    dialogs.ExpectContaining("'Telepítés éve' értéke nem egész szám")
        .Expect("A legeltetés vége nem lehet korábbi a kezdeténél!");
    ui::ShowModalForm(Parcmod, session);
    EXPECT_EQ(Column("Parckiegadat", "Parckod"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("Parckiegadat", "Teve"), std::vector<std::string>{"2010"});
    EXPECT_EQ(Column("Ultkieg02", "Alanynev"), std::vector<std::string>{"Kober 5BB"});
    EXPECT_EQ(Column("Ultkieg02", "Ultkod"), Column("Parckiegadat", "Kiegid"));
    EXPECT_EQ(Column("legnaplo", "Faj"), std::vector<std::string>{"szarvasmarha"});
    EXPECT_EQ(Column("legnaplo", "Darab"), std::vector<std::string>{"12"});
    EXPECT_EQ(Column("legnaplo", "Parcid"), std::vector<std::string>{"100001"});
    dialogs.VerifyDone();

    forms.On<TParcmod>([&](TParcmod& f) {
        Choose(f, "100001");
        f.Side.ShowWindow();
        f.Side.Button18->click();
        f.Button2->click();
    });
    ui::ShowModalForm(Parcmod, session);
    EXPECT_EQ(Count("Parckiegadat"), 0u);
    EXPECT_EQ(Count("Ultkieg02"), 0u);
}

} // namespace
