// Creating a field: what a save writes, the checks made before anything is written, the
// predecessor list and the area proposed, the provisional side rows adopted by the save
// and removed by a cancel, and closing the predecessors afterwards.

#include "field_fixture.h"
#include "register/Parcinaktiv.h"
#include "register/Tapanyaggt.h"
#include "register/Ujparcella.h"

#include <gtest/gtest.h>

namespace {

using regtest::FieldTest;

class NewField : public FieldTest {
public:
    NewField() {
        north = regtest::AddParcel(session, {.helysz = "010/1", .ter = 10000});
        south = regtest::AddParcel(session, {.helysz = "020/2", .ter = 5000});
        Insert("Magfajtak", {{"Fajkod", "1"}, {"Faj", "búza"}, {"Hasznkod", "B01"}});
        Insert("Magfajtak", {{"Fajkod", "2"}, {"Faj", "kukorica"}});
    }
    int north = 0, south = 0;
};

void Mark(ui::TDBGrid& grid, db::TDataSet& rows, const std::string& field,
          const std::string& value) {
    ASSERT_TRUE(rows.Locate(field, {db::Value(value)})) << value;
    grid.SelectedRows().SetCurrentRowSelected(true);
}

void MarkParcel(TUjparcellaF& f, const std::string& helysz) {
    Mark(*f.DBGrid1, f.Table2, "Helysz", helysz);
    f.DBGrid1CellClick(f.DBGrid1->Columns()[0]);
}

// The year, the serial it proposes, the sector, the area; no KET (a field under no
// commitment).
void FillField(TUjparcellaF& f, const std::string& year, const std::string& area, int sector = 0) {
    f.Edit4->SetText(year);
    f.Edit4Exit(nullptr);
    f.DBLookupComboBox1->Choose(sector);
    f.CheckBox5->SetChecked(false);
    f.Edit3->SetText(area);
}

TEST_F(NewField, TheFirstFieldGetsCode100000AndSerialOneWithItsLinks) {
    forms.On<TUjparcellaF>([&](TUjparcellaF& f) {
        MarkParcel(f, "010/1");
        MarkParcel(f, "020/2");
        EXPECT_EQ(f.Edit3->Text(), "15000");
        FillField(f, "2025", "15000");
        EXPECT_EQ(f.Edit1->Text(), "1");
        EXPECT_EQ(f.Edit9->Text(), "B01"); // the species' usage code
        f.Edit9->SetText("B02");
        f.Edit2->SetText("Nagy tábla");
        f.Edit8->SetText("6,5");
        f.CheckBox1->SetChecked(true);
        f.CheckBox7->SetChecked(true);
        f.Edit17->SetText("KAT 2025");
        f.Button1->click();
    });
    ui::ShowModalForm(UjparcellaF, session);
    EXPECT_EQ(Column("parcellak", "Parckod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(FieldOf("100000", "Evj"), "2025");
    EXPECT_EQ(FieldOf("100000", "Parcsor"), "1");
    EXPECT_EQ(FieldOf("100000", "Ter"), "15000");
    EXPECT_EQ(FieldOf("100000", "Agazat"), "búza");
    EXPECT_EQ(FieldOf("100000", "Aktiv"), "A");
    EXPECT_EQ(FieldOf("100000", "Masod"), "IGEN");
    EXPECT_EQ(FieldOf("100000", "Tervhozam"), "6,5");
    EXPECT_EQ(FieldOf("100000", "Nat2000"), "True");
    EXPECT_EQ(FieldOf("100000", "Agrkor"), "False");
    EXPECT_EQ(FieldOf("100000", "Ketid"), "");
    EXPECT_EQ(FieldOf("100000", "Kattam"), "KAT 2025");
    EXPECT_EQ(Column("Szhelyrajzi", "Sorsz"), (std::vector<std::string>{"100000", "100001"}));
    EXPECT_EQ(Column("Szhelyrajzi", "Helysz"),
              (std::vector<std::string>{std::to_string(north), std::to_string(south)}));
    EXPECT_EQ(Column("Parclellak02", "Parckod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("Magfajtak", "Hasznkod", "Fajkod = '1'"), std::vector<std::string>{"B02"});
    EXPECT_EQ(Count("Szparcellak"), 0u);
    EXPECT_EQ(Count("gyepalap"), 0u);
    dialogs.VerifyDone();
}

TEST_F(NewField, TheAreaMayEqualTheLandParcelsButNotExceedThem) {
    forms.On<TUjparcellaF>([&](TUjparcellaF& f) {
        MarkParcel(f, "020/2");
        FillField(f, "2025", "5001");
        f.Button1->click();
        EXPECT_EQ(Count("parcellak"), 0u);
        f.Edit3->SetText("5000");
        f.Button1->click();
    });
    dialogs.Expect("A tábla területe nem lehet nagyobb mint a kijelölt területek(hrsz.) "
                   "összterülete!");
    ui::ShowModalForm(UjparcellaF, session);
    EXPECT_EQ(Column("parcellak", "Ter"), std::vector<std::string>{"5000"});
    dialogs.VerifyDone();
}

TEST_F(NewField, EveryInputIsCheckedBeforeTheFirstWrite) {
    AddField("100000", 2025, 1, {{"Aktiv", "N"}});
    forms.On<TUjparcellaF>([&](TUjparcellaF& f) {
        FillField(f, "2025", "1000");
        EXPECT_EQ(f.Edit1->Text(), "2");
        f.Button1->click(); // no land parcel: above their sum of 0
        MarkParcel(f, "010/1");
        f.Edit3->SetText("");
        f.Button1->click(); // no area
        f.Edit3->SetText("1000,5");
        f.Button1->click(); // not a whole number
        for (const char* area : {"-300", "0"}) {
            f.Edit3->SetText(area);
            f.Button1->click();
        }
        f.Edit3->SetText("1000");
        f.Edit4->SetText("202");
        f.Button1->click(); // half a year
        f.Edit4->SetText("");
        f.Button1->click(); // no year
        f.Edit4->SetText("2025");
        f.Edit1->SetText("2a");
        f.Button1->click(); // the serial is no number
        f.Edit1->SetText("2");
        f.Edit8->SetText("sok");
        f.Button1->click(); // the planned yield is no number
        f.Edit8->SetText("-3");
        f.Button1->click(); // nor below nothing
        f.Edit8->SetText("");
        f.Edit1->SetText("1");
        f.Button1->click(); // the serial of the closed field
        EXPECT_EQ(f.Edit1->Text(), "");
        f.Button2->click();
    });
    const std::string missing = "A tábla sorszámát, területét, a gazdasági évet, és a helyrajzi "
                                "számo(ka)t kérem adja meg!";
    dialogs.ExpectContaining("nem lehet nagyobb mint a kijelölt területek")
        .Expect(missing)
        .ExpectContaining("'Terület' értéke nem egész szám")
        .Expect("A(z) 'Terület' értéke nem lehet nulla vagy negatív !")
        .Expect("A(z) 'Terület' értéke nem lehet nulla vagy negatív !")
        .Expect("Hiba! A(z) 'Gazdasági év' értéke (\"202\") nem évszám !")
        .Expect(missing)
        .ExpectContaining("'Tábla sorszám' értéke nem egész szám")
        .ExpectContaining("'Hozamterv' értéke nem szám")
        .Expect("A(z) 'Hozamterv' értéke nem lehet negatív !")
        .Expect("Ez a tábla sorszám már létezik az adott gazdasági évben!");
    ui::ShowModalForm(UjparcellaF, session);
    EXPECT_EQ(dialogs.Last().caption, " Tábla sorszám ütközés!");
    EXPECT_EQ(Count("parcellak"), 1u);
    EXPECT_EQ(Count("Szhelyrajzi"), 0u);
    EXPECT_EQ(Count("Parclellak02"), 0u);
    dialogs.VerifyDone();
}

// Two wheat fields of 2024 on the north parcel, a maize field of 2025 on it, and a field
// on no parcel.
void FieldsOnTheNorthParcel(NewField& t) {
    t.AddField("100000", 2024, 1, {{"Ter", "4000"}});
    t.AddField("100001", 2024, 2, {{"Ter", "3000"}});
    t.AddField("100002", 2025, 1, {{"Ter", "2500"}, {"Agazat", "kukorica"}});
    t.AddField("100003", 2024, 3);
    for (const char* code : {"100000", "100001", "100002"})
        t.Insert("Szhelyrajzi", {{"Sorsz", std::string("1") + code},
                                 {"Parcellakod", code},
                                 {"Helysz", std::to_string(t.north)}});
}

TEST_F(NewField, ThePredecessorsNarrowToTheMarkedParcelsAndTheYearsFieldsReduceTheArea) {
    FieldsOnTheNorthParcel(*this);
    forms.On<TUjparcellaF>([&](TUjparcellaF& f) {
        EXPECT_EQ(f.Table3.RecordCount(), 4);
        f.Edit4->SetText("2025");
        MarkParcel(f, "020/2");
        EXPECT_FALSE(f.Table3.Active()); // no field lies on it
        EXPECT_EQ(f.Edit3->Text(), "5000");
        f.DBGrid1->SelectedRows().Clear();
        MarkParcel(f, "010/1");
        EXPECT_EQ(f.Table3.RecordCount(), 3);
        EXPECT_EQ(f.Edit3->Text(), "7500"); // the 2025 field only
        f.Edit4->SetText("2024");
        f.DBGrid1CellClick(f.DBGrid1->Columns()[0]);
        EXPECT_EQ(f.Edit3->Text(), "3000");
        f.DBGrid1->SelectedRows().Clear();
        f.DBGrid1CellClick(f.DBGrid1->Columns()[0]);
        EXPECT_EQ(f.Table3.RecordCount(), 3); // every field on any parcel
        EXPECT_EQ(f.Edit3->Text(), "0");
        f.Button2->click();
    });
    ui::ShowModalForm(UjparcellaF, session);
}

TEST_F(NewField, SameCropPredecessorsWarnOnceAndTheMarkedOnesMayBeClosed) {
    FieldsOnTheNorthParcel(*this);
    forms.On<TUjparcellaF>([&](TUjparcellaF& f) {
        MarkParcel(f, "010/1");
        FillField(f, "2025", "1000");
        Mark(*f.DBGrid2, f.Table3, "Parckod", "100000");
        Mark(*f.DBGrid2, f.Table3, "Parckod", "100001");
        Mark(*f.DBGrid2, f.Table3, "Parckod", "100002");
        f.Button1->click(); // cancelled at the warning
        EXPECT_EQ(Count("parcellak"), 4u);
        f.Button1->click();
    });
    forms.On<TParcinak>([&](TParcinak& d) {
        EXPECT_EQ(d.Table1.RecordCount(), 3);
        ASSERT_TRUE(d.Table1.Locate("Parckod", {db::Value(std::string("100001"))}));
        d.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
        d.Button2->click();
    });
    const std::string warning = "Figyelem ! Monokultúra kialakulásának veszéje áll fenn! "
                                "Folytatja ?";
    dialogs.Expect(warning, ui::mrCancel).Expect(warning, ui::mrOk);
    ui::ShowModalForm(UjparcellaF, session);
    EXPECT_EQ(FieldOf("100004", "Parcsor"), "2");
    EXPECT_EQ(Column("Szparcellak", "Szparckod", "Parckod = '100004'"),
              (std::vector<std::string>{"100000", "100001", "100002"}));
    EXPECT_EQ(Column("Szparcellak", "Szulkod"),
              (std::vector<std::string>{"100000", "100001", "100002"}));
    EXPECT_EQ(FieldOf("100001", "Aktiv"), "N");
    EXPECT_EQ(FieldOf("100000", "Aktiv"), "A");
    dialogs.VerifyDone();
}

// A plantation row, a grazing row and a plan item entered before the save.
void EnterSideRows(TUjparcellaF& f, testui::ScriptedForms& forms) {
    f.Button7->click();
    f.Side.Button15->click();
    f.Side.Edit5->SetText("szőlő");
    f.Side.Edit10->SetText("Olaszrizling");
    f.Side.Edit12->SetText("2,4");
    f.Side.Button14->click();
    EXPECT_EQ(f.Side.Query3.RecordCount(), 1);
    f.Side.Button28->click();
    f.Side.Edit28->SetText("800");
    f.Side.Edit30->SetText("juh");
    f.Side.Button29->click();
    f.Side.ComboBox1->SetItemIndex(1);
    f.Side.ComboBox3->SetText("löszgyep");
    f.Side.Button19->click();
    forms.On<TTapterv>([](TTapterv& p) {
        p.Button1->click();
        p.Edit1->SetText("100");
        p.Button7->click();
        p.Button5->click();
    });
    f.Button6->click();
}

TEST_F(NewField, TheSaveAdoptsTheSideRowsEnteredOnTheForm) {
    // What an earlier session left with a provisional code is no one's.
    Insert("Parcteny", {{"Parckod", "TEMP"}, {"Megnev", "régi"}});
    Insert("legnaplo", {{"Parcid", ""}, {"Faj", "régi"}});
    forms.On<TUjparcellaF>([&](TUjparcellaF& f) {
        EnterSideRows(f, forms);
        MarkParcel(f, "010/1");
        FillField(f, "2025", "1000");
        f.Button1->click();
    });
    ui::ShowModalForm(UjparcellaF, session);
    EXPECT_EQ(Column("Parckiegadat", "Parckod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("Ultkieg02", "Parckod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("Ultkieg02", "Faj"), std::vector<std::string>{"szőlő"});
    EXPECT_EQ(Column("legnaplo", "Faj", "Parcid = '100000'"), std::vector<std::string>{"juh"});
    EXPECT_EQ(Column("Tapterv", "Parckod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Count("Parcteny"), 0u);
    EXPECT_EQ(Count("legnaplo"), 1u);
    EXPECT_EQ(Column("gyepalap", "Hasznmod"), std::vector<std::string>{"1"});
    EXPECT_EQ(Column("gyepalap", "Gyeptip"), std::vector<std::string>{"111"});
    EXPECT_EQ(Column("gyepalap", "Egyebtip"), std::vector<std::string>{"löszgyep"});
    dialogs.VerifyDone();
}

TEST_F(NewField, ACancelledCreationLeavesNoRowAnywhere) {
    forms.On<TUjparcellaF>([&](TUjparcellaF& f) {
        EnterSideRows(f, forms);
        MarkParcel(f, "010/1");
        FillField(f, "2025", "1000");
        f.Button2->click();
    });
    ui::ShowModalForm(UjparcellaF, session);
    for (const char* table : {"parcellak", "Szhelyrajzi", "Parckiegadat", "Ultkieg02", "legnaplo",
                              "Tapterv", "gyepalap", "Parclellak02"})
        EXPECT_EQ(Count(table), 0u) << table;
    dialogs.VerifyDone();
}

// The KET list is headed in words, never by its fields' names.
TEST_F(NewField, TheKetListIsHeadedInWords) {
    TUjparcellaF f(session);
    ui::TDBGridColumns& columns = f.Ket.grid->Columns();
    for (int i = 0; i < columns.Count(); ++i)
        EXPECT_NE(columns[i].TitleCaption(), columns[i].FieldName());
}

TEST_F(NewField, WithoutActiveLandParcelsNothingCanBeSaved) {
    db::TTable parcels(session);
    parcels.SetTableName("Tablak");
    parcels.EmptyTable();
    forms.On<TUjparcellaF>([&](TUjparcellaF& f) {
        EXPECT_FALSE(f.Button1->isEnabled());
        EXPECT_FALSE(f.Button7->isEnabled());
        f.Button2->click();
    });
    dialogs.Expect("Nincsenek táblák rögzítve! Táblák nélkül nem lehet parcellát létrhozni!");
    ui::ShowModalForm(UjparcellaF, session);
    dialogs.VerifyDone();
}

} // namespace

namespace {

TEST_F(NewField, PredecessorsClosedOnlyWhenMarkedAndRendbenClicked) {
    AddField("100000", 2024, 1);
    AddField("100001", 2024, 2, {{"Aktiv", "N"}});
    forms.On<TParcinak>([](TParcinak& d) {
        EXPECT_EQ(d.Table1.RecordCount(), 2); // a closed one is listed too
        d.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
        d.Button1->click(); // the marks cleared
        d.Close();
    });
    {
        ui::OwnedForm<TParcinak> dialog(Parcinak, session);
        dialog->Predecessors = {"100000", "100001"};
        dialog->ShowModal();
    }
    EXPECT_EQ(FieldOf("100000", "Aktiv"), "A");
    forms.On<TParcinak>([](TParcinak& d) {
        d.Table1.Last(); // 100001, closed already
        d.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
        d.Table1.First();
        d.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
        d.Button2->click();
    });
    {
        ui::OwnedForm<TParcinak> dialog(Parcinak, session);
        dialog->Predecessors = {"100000", "100001"};
        dialog->ShowModal();
    }
    EXPECT_EQ(Column("parcellak", "Aktiv"), (std::vector<std::string>{"N", "N"}));
}

} // namespace
