// The land parcel modification form: loading a land parcel into the panel, saving it
// back, owners chosen by code, branches kept by their Id, and inactivation.

#include "register/Ujtablak.h"
#include "register/Ujtulajok.h"
#include "register_fixture.h"

#include <QDateTimeEdit>
#include <gtest/gtest.h>

namespace {

using regtest::Parcel;
using regtest::RegisterTest;
using ModifyParcel = RegisterTest;

// Shows the form and plays `body` on it; the form is closed afterwards if still open.
void WithForm(db::Session& session, testui::ScriptedForms& forms,
              const std::function<void(TForm2&)>& body) {
    forms.On<TForm2>([&](TForm2& f) {
        body(f);
        if (f.ModalResult() == ui::mrNone)
            f.Button3->click();
    });
    ui::ShowModalForm(Form2, session);
}

// Moves the list to the land parcel and loads it, as a click on its row does.
void ClickRow(TForm2& f, int tableid) {
    ASSERT_TRUE(f.Table1.Locate("Tableid", {db::Value(static_cast<std::int32_t>(tableid))}));
    f.DBGrid1CellClick(f.DBGrid1->Columns()[0]);
}

TEST_F(ModifyParcel, ChangingTheLotNumberKeepsTheLandParcelAndItsSoilType) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    int id = regtest::AddParcel(session, {.helysz = "12/1", .hazmeg = "Dűlő"});
    {
        db::TTable soil(session);
        soil.SetTableName("Tablak2");
        soil.Open();
        soil.Append();
        soil.FieldByName("Tablakod").SetAsString(std::to_string(id));
        soil.FieldByName("Talajtip").SetAsString("vályog");
        soil.Post();
    }
    WithForm(session, forms, [&](TForm2& f) {
        EXPECT_EQ(f.Edit1->Text(), "12/1"); // loaded when the form opened
        EXPECT_EQ(f.Edit5->Text(), "vályog");
        EXPECT_EQ(f.ComboBox1->Text(), "Kovács Péter");
        EXPECT_EQ(f.ComboBox3->Text(), "szántó");
        f.Edit1->SetText("12/2");
        f.Edit5->SetText("homok");
        f.Button1->click();
        EXPECT_EQ(f.ModalResult(), ui::mrCancel); // the form closes
    });
    EXPECT_EQ(Column("Tablak", "Tableid"), std::vector<std::string>{std::to_string(id)});
    EXPECT_EQ(ParcelField(id, "Helysz"), "12/2");
    EXPECT_EQ(ParcelField(id, "Hazmeg"), "Dűlő");
    EXPECT_EQ(ParcelField(id, "Tulkod"), "100000");
    EXPECT_EQ(ParcelField(id, "Ter"), "10000");
    EXPECT_EQ(ParcelField(id, "Muvagid"), "1");
    EXPECT_EQ(ParcelField(id, "Parcella"), "T");
    EXPECT_EQ(Column("Tablak2", "Talajtip"), std::vector<std::string>{"homok"});
}

TEST_F(ModifyParcel, RoundTripOfEveryPanelEntry) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    regtest::AddOwner(session, "100001", "Szabó Anna");
    regtest::AddParcel(session, {.hazmeg = "A"});
    int id = regtest::AddParcel(session, {.helysz = "55", .hazmeg = "B"});
    WithForm(session, forms, [&](TForm2& f) {
        ClickRow(f, id);
        f.Edit2->SetText("Berek");
        f.MaskEdit1->SetText("XY123-4-56");
        f.ComboBox1->SetItemIndex(1);
        f.Edit4->SetText("4321");
        f.Edit7->SetText("7,25");
        f.Edit3->SetText("1200");
        f.ComboBox2->SetText("EU tám 20%-a");
        f.ComboBox3->SetItemIndex(4);
        f.CheckBox2->SetChecked(true);
        f.DateTimePicker1->SetDate(sys::encodeDate(2029, 5, 1));
        f.CheckBox1->SetChecked(true);
        f.Edit5->SetText("csernozjom");
        f.ComboBox4->SetItemIndex(6);
        f.Button1->click();
    });
    // A new soil-type row where there was none.
    EXPECT_EQ(Column("Tablak2", "Tablakod"), std::vector<std::string>{std::to_string(id)});
    EXPECT_EQ(Column("Tablak2", "Talajtip"), std::vector<std::string>{"csernozjom"});

    // Opened again, the panel shows what was saved.
    WithForm(session, forms, [&](TForm2& f) {
        ClickRow(f, id);
        EXPECT_EQ(f.Edit1->Text(), "55");
        EXPECT_EQ(f.Edit2->Text(), "Berek");
        EXPECT_EQ(f.MaskEdit1->Text(), "XY123-4-56");
        EXPECT_EQ(f.ComboBox1->Text(), "Szabó Anna");
        EXPECT_EQ(f.Edit4->Text(), "4321");
        EXPECT_EQ(f.Edit7->Text(), "7,25");
        EXPECT_EQ(f.Edit3->Text(), "1200");
        EXPECT_EQ(f.ComboBox2->Text(), "EU tám 20%-a");
        EXPECT_EQ(f.ComboBox3->Text(), "rét");
        EXPECT_TRUE(f.CheckBox2->Checked());
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2029, 5, 1));
        EXPECT_TRUE(f.CheckBox1->Checked());
        EXPECT_EQ(f.Edit5->Text(), "csernozjom");
        EXPECT_EQ(f.ComboBox4->ItemIndex(), 6);
    });
    EXPECT_EQ(ParcelField(id, "Tulkod"), "100001");
    EXPECT_EQ(ParcelField(id, "Muvagid"), "5");
    EXPECT_EQ(ParcelField(id, "Muvag"), "rét");
    EXPECT_EQ(ParcelField(id, "Parcella"), "V");
    EXPECT_EQ(ParcelField(id, "Berveg"), "2029. 05. 01.");
}

TEST_F(ModifyParcel, ALandParcelWithoutExpiryLoadsAsNone) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    int id = regtest::AddParcel(session, {});
    {
        db::TTable parcels(session);
        parcels.SetTableName("Tablak");
        parcels.Open();
        parcels.Edit();
        parcels.FieldByName("Berveg").SetAsString("1899. 12. 30.");
        parcels.Post();
    }
    WithForm(session, forms, [&](TForm2& f) {
        EXPECT_FALSE(f.CheckBox2->Checked());
        EXPECT_FALSE(f.DateTimePicker1->Enabled());
        f.Button1->click();
    });
    EXPECT_EQ(ParcelField(id, "Berveg"), "1899. 12. 30.");
}

TEST_F(ModifyParcel, BranchesAreFoundByTheirIdBeyondTheTenth) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    int id = regtest::AddParcel(session, {.muvagid = 11, .muvag = "kivett"});
    int unknown = regtest::AddParcel(session, {.hazmeg = "Z", .muvagid = 40, .muvag = "régi"});
    WithForm(session, forms, [&](TForm2& f) {
        ClickRow(f, id);
        EXPECT_EQ(f.ComboBox3->Text(), "kivett");
        f.Button1->click();
    });
    EXPECT_EQ(ParcelField(id, "Muvagid"), "11");
    EXPECT_EQ(ParcelField(id, "Muvag"), "kivett");
    // A branch the list does not hold loads as none and saves as none.
    WithForm(session, forms, [&](TForm2& f) {
        ClickRow(f, unknown);
        EXPECT_EQ(f.ComboBox3->ItemIndex(), -1);
        EXPECT_EQ(f.ComboBox3->Text(), "");
        f.Button1->click();
    });
    EXPECT_EQ(ParcelField(unknown, "Muvagid"), "0");
    EXPECT_EQ(ParcelField(unknown, "Muvag"), "");
}

TEST_F(ModifyParcel, OwnersAreChosenByCodeEvenWithOneNameOrAnApostrophe) {
    regtest::AddOwner(session, "100000", "O'Brien Kata");
    regtest::AddOwner(session, "100001", "Nagy János", "Pécs");
    regtest::AddOwner(session, "100002", "Nagy János", "Győr");
    int id = regtest::AddParcel(session, {.tulkod = "100002"});
    WithForm(session, forms, [&](TForm2& f) {
        EXPECT_EQ(f.ComboBox1->ItemIndex(), 2); // the second of the two, by its code
        f.Button1->click();
    });
    EXPECT_EQ(ParcelField(id, "Tulkod"), "100002");
    WithForm(session, forms, [&](TForm2& f) {
        f.ComboBox1->SetItemIndex(0);
        f.Button1->click();
    });
    EXPECT_EQ(ParcelField(id, "Tulkod"), "100000");
}

TEST_F(ModifyParcel, AnOwnerCreatedThroughPlusIsChosenAndCancelKeepsTheChoice) {
    regtest::AddOwner(session, "100000", "Nagy János");
    int id = regtest::AddParcel(session, {});
    forms.CloseWith<Tujtulaj>(ui::mrCancel);
    forms.On<Tujtulaj>([](Tujtulaj& d) {
        d.Edit3->SetText("Nagy Jánosné");
        d.Edit2->SetText("Szeged");
        d.Button1->click();
    });
    WithForm(session, forms, [&](TForm2& f) {
        f.Edit7->SetText("3");
        f.Button4->click(); // cancelled
        EXPECT_EQ(f.ComboBox1->ItemIndex(), 0);
        EXPECT_EQ(f.NewOwnerName, "");
        f.Button4->click(); // an owner listed after the first is created
        EXPECT_EQ(f.NewOwnerName, "Nagy Jánosné");
        EXPECT_EQ(f.ComboBox1->ItemIndex(), 1);
        EXPECT_EQ(f.Edit7->Text(), "3"); // the panel stays
        f.Button1->click();
    });
    EXPECT_EQ(ParcelField(id, "Tulkod"), "100001");
    EXPECT_EQ(ParcelField(id, "Arany"), "3");
}

TEST_F(ModifyParcel, ABadNumberLeavesTheRowAndTheFormAsTheyWere) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    int id = regtest::AddParcel(session, {});
    dialogs.Expect("A(z) 'Aranykorona érték' értéke nem szám !")
        .Expect("Hiba! A(z) 'Terület' értéke nem egész szám !")
        .Expect("A(z) 'Bérleti díj' értéke nem szám !");
    WithForm(session, forms, [&](TForm2& f) {
        f.Edit1->SetText("más");
        f.Edit7->SetText("1.2.3");
        f.Button1->click();
        f.Edit7->SetText("");
        f.Edit4->SetText("12,5");
        f.Button1->click();
        f.Edit4->SetText("12");
        f.Edit3->SetText("abc");
        f.Button1->click();
        EXPECT_EQ(f.ModalResult(), ui::mrNone);
    });
    EXPECT_EQ(ParcelField(id, "Helysz"), "123/4");
    EXPECT_EQ(ParcelField(id, "Ter"), "10000");
    dialogs.VerifyDone();
}

// A typed impossible expiry refuses the save before the row is touched: moving the list
// afterwards posts nothing half-written.
TEST_F(ModifyParcel, ARefusedExpiryLeavesTheRowAsItWas) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    int first = regtest::AddParcel(session, {.helysz = "1", .hazmeg = "A"});
    regtest::AddParcel(session, {.helysz = "2", .hazmeg = "B"});
    dialogs.ExpectContaining("nem érvényes dátum");
    WithForm(session, forms, [&](TForm2& f) {
        f.Edit1->SetText("más");
        f.CheckBox2->SetChecked(true);
        f.DateTimePicker1->Editor().selectAll();
        Type(&f.DateTimePicker1->Editor(), "2024. 02. 30.");
        f.Button1->click();
        f.Table1.Last();
    });
    EXPECT_EQ(ParcelField(first, "Helysz"), "1");
    dialogs.VerifyDone();
}

TEST_F(ModifyParcel, SavingWithNoLandParcelLoadedIsRefused) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    regtest::AddParcel(session, {.aktiv = 0});
    WithForm(session, forms, [&](TForm2& f) {
        EXPECT_TRUE(f.Table1.IsEmpty());
        EXPECT_FALSE(f.Button1->Enabled());
        EXPECT_FALSE(f.Button2->Enabled());
        EXPECT_FALSE(f.N1->Enabled());
        EXPECT_FALSE(f.N2->Enabled());
        EXPECT_TRUE(f.N3->Enabled());
        f.Button1->Click(); // a disabled button does nothing, from code either
    });
    EXPECT_EQ(Column("Tablak", "Helysz"), std::vector<std::string>{"123/4"});
    dialogs.VerifyDone();
}

TEST_F(ModifyParcel, AKeyInTheGridLoadsTheRowItMovedTo) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    int first = regtest::AddParcel(session, {.helysz = "1", .hazmeg = "A"});
    int second = regtest::AddParcel(session, {.helysz = "2", .hazmeg = "B"});
    WithForm(session, forms, [&](TForm2& f) {
        QApplication::setActiveWindow(&f);
        EXPECT_EQ(f.LoadedLandParcel(), first);
        f.Edit3->SetText("99");
        f.DBGrid1->SetFocus();
        Key(f.DBGrid1, Qt::Key_Shift); // the same row: the panel stays
        EXPECT_EQ(f.Edit3->Text(), "99");
        Key(f.DBGrid1, Qt::Key_Down);
        EXPECT_EQ(f.LoadedLandParcel(), second);
        EXPECT_EQ(f.Edit1->Text(), "2");
    });
}

TEST_F(ModifyParcel, SaveWritesTheLoadedLandParcelWhereverTheListIs) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    int first = regtest::AddParcel(session, {.helysz = "1", .hazmeg = "A"});
    int second = regtest::AddParcel(session, {.helysz = "2", .hazmeg = "B"});
    WithForm(session, forms, [&](TForm2& f) {
        f.Edit1->SetText("1/a");
        f.Table1.Last(); // the list moved without loading
        f.Button1->click();
    });
    EXPECT_EQ(ParcelField(first, "Helysz"), "1/a");
    EXPECT_EQ(ParcelField(second, "Helysz"), "2");
}

TEST_F(ModifyParcel, KeysSaveInactivateAndClose) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    int id = regtest::AddParcel(session, {});
    WithForm(session, forms, [&](TForm2& f) {
        QApplication::setActiveWindow(&f);
        f.Edit1->SetFocus();
        f.Edit1->SetText("R1");
        Key(f.Edit1, Qt::Key_R, Qt::ControlModifier);
        EXPECT_EQ(f.ModalResult(), ui::mrCancel);
    });
    EXPECT_EQ(ParcelField(id, "Helysz"), "R1");
    dialogs.Expect("Valóban törölni szeretné a kijelölt táblát (inaktiválás) ?", ui::mrNo);
    WithForm(session, forms, [&](TForm2& f) {
        QApplication::setActiveWindow(&f);
        f.Edit1->SetFocus();
        Key(f.Edit1, Qt::Key_T, Qt::ControlModifier);
        EXPECT_EQ(f.ModalResult(), ui::mrNone);
        Key(f.Edit1, Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(f.ModalResult(), ui::mrCancel);
    });
    EXPECT_EQ(ParcelField(id, "Aktiv"), "1");
    dialogs.VerifyDone();
}

} // namespace

namespace {

void SetExpiry(db::Session& session, int tableid, sys::DateTime day) {
    db::TTable parcels(session);
    parcels.SetTableName("Tablak");
    parcels.Open();
    ASSERT_TRUE(parcels.Locate("Tableid", {db::Value(static_cast<std::int32_t>(tableid))}));
    parcels.Edit();
    parcels.FieldByName("Berveg").SetAsDateTime(day);
    parcels.Post();
}

TEST_F(ModifyParcel, ALandParcelWithoutExpiryShowsNoDateOfTheOneBefore) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    const int expiring = regtest::AddParcel(session, {.helysz = "1", .hazmeg = "Alsó"});
    const int open = regtest::AddParcel(session, {.helysz = "2", .hazmeg = "Felső"});
    SetExpiry(session, expiring, sys::encodeDate(2029, 5, 1));
    WithForm(session, forms, [&](TForm2& f) {
        ClickRow(f, expiring);
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2029, 5, 1));
        ClickRow(f, open);
        EXPECT_FALSE(f.CheckBox2->Checked());
        EXPECT_FALSE(f.DateTimePicker1->Enabled());
        EXPECT_EQ(f.DateTimePicker1->Date(), reg::NoExpiry);
        EXPECT_EQ(f.DateTimePicker1->Editor().text().trimmed(), ""); // no date shown
        // Ticked the picker offers today; cleared again it holds no date.
        f.CheckBox2->SetChecked(true);
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::today());
        f.CheckBox2->SetChecked(false);
        EXPECT_EQ(f.DateTimePicker1->Date(), reg::NoExpiry);
    });
}

TEST_F(ModifyParcel, TheEditsHoldNoMoreThanTheirFields) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    const int id = regtest::AddParcel(session, {});
    WithForm(session, forms, [&](TForm2& f) {
        EXPECT_EQ(f.Edit1->maxLength(), 40);
        EXPECT_EQ(f.Edit2->maxLength(), 40);
        EXPECT_EQ(f.Edit5->maxLength(), 40);
        ASSERT_NE(f.ComboBox2->lineEdit(), nullptr);
        EXPECT_EQ(f.ComboBox2->lineEdit()->maxLength(), 20);
        Type(f.Edit5, std::string(45, 'x'));
        EXPECT_EQ(f.Edit5->Text(), std::string(40, 'x'));
        f.Button1->click();
    });
    EXPECT_EQ(Column("Tablak2", "Talajtip"), std::vector<std::string>{std::string(40, 'x')});
    EXPECT_EQ(ParcelField(id, "Helysz"), "123/4");
}

} // namespace
