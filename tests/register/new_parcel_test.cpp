// The new land parcel form: what a save writes, the required entries and number checks,
// and a new owner added from the form.

#include "core/fresh_database.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/Dolvarenp.h"
#include "register/Tablalistac.h"
#include "register/Ujtulajok.h"
#include "register/layouts.h"
#include "register/parcel_fields.h"
#include "register_fixture.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using regtest::RegisterTest;
using NewParcel = RegisterTest;

// Fills the four required entries; the owner is the list's first (name order).
void FillRequired(TUjtabla& f) {
    f.Edit1->SetText("0123/4");
    f.Edit2->SetText("Kút melletti");
    f.TulajBox1->Choose(0);
    f.Edit4->SetText("25000");
}

TEST_F(NewParcel, RequiredEntriesOnlyStoreTheDefaults) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    forms.On<TUjtabla>([](TUjtabla& f) {
        FillRequired(f);
        f.Button1->click();
    });
    ui::ShowModalForm(Ujtabla, session);

    ASSERT_EQ(Column("Tablak", "Tableid").size(), 1u);
    int id = std::stoi(Column("Tablak", "Tableid").front());
    EXPECT_EQ(ParcelField(id, "Helysz"), "0123/4");
    EXPECT_EQ(ParcelField(id, "Hazmeg"), "Kút melletti");
    EXPECT_EQ(ParcelField(id, "Tulkod"), "100000");
    EXPECT_EQ(ParcelField(id, "Ter"), "25000");
    EXPECT_EQ(ParcelField(id, "Aktiv"), "1");
    EXPECT_EQ(ParcelField(id, "Parcella"), "T");
    EXPECT_EQ(ParcelField(id, "Berveg"), sys::dateToText(sys::today()));
    EXPECT_EQ(ParcelField(id, "Bmert"), "búza kg/AK");
    EXPECT_EQ(ParcelField(id, "Ont"), "0");
    EXPECT_EQ(ParcelField(id, "Muvagid"), "0");
    EXPECT_EQ(ParcelField(id, "Muvag"), "");
    EXPECT_EQ(ParcelField(id, "Arany"), "");
    EXPECT_EQ(Column("Tablak2", "Tablakod"), std::vector<std::string>{std::to_string(id)});
    EXPECT_EQ(Column("Tablak2", "Talajtip"), std::vector<std::string>{""});
    dialogs.VerifyDone();
}

TEST_F(NewParcel, EveryEntryReachesItsField) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    regtest::AddOwner(session, "100001", "Anna Szabó");
    forms.On<TUjtabla>([](TUjtabla& f) {
        FillRequired(f); // Anna Szabó, first by name
        f.MaskEdit1->SetText("AB12C-D-3E");
        f.DBLookupComboBox1->Choose(10); // "kivett", Id 11
        f.Edit7->SetText("12,5");
        f.Edit3->SetText("3000");
        f.ComboBox1->SetText("EU tám 20%-a");
        f.DateTimePicker1->SetDate(sys::encodeDate(2030, 10, 31));
        f.ComboBox2->SetItemIndex(2);
        f.CheckBox1->SetChecked(true);
        f.Edit5->SetText("K2");
        f.Button1->click();
    });
    ui::ShowModalForm(Ujtabla, session);

    int id = std::stoi(Column("Tablak", "Tableid").at(0));
    EXPECT_EQ(ParcelField(id, "Tulkod"), "100001");
    EXPECT_EQ(ParcelField(id, "Blok"), "AB12C-D-3E");
    EXPECT_EQ(ParcelField(id, "Muvagid"), "11");
    EXPECT_EQ(ParcelField(id, "Muvag"), "kivett");
    EXPECT_EQ(ParcelField(id, "Arany"), "12,5");
    EXPECT_EQ(ParcelField(id, "Berl"), "3000");
    EXPECT_EQ(ParcelField(id, "Bmert"), "EU tám 20%-a");
    EXPECT_EQ(ParcelField(id, "Berveg"), "2030. 10. 31.");
    EXPECT_EQ(ParcelField(id, "Parcella"), "SZ");
    EXPECT_EQ(ParcelField(id, "Ont"), "1");
    EXPECT_EQ(Column("Tablak2", "Talajtip"), std::vector<std::string>{"K2"});
}

TEST_F(NewParcel, ClearedExpiryStoresTheNoDateDay) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    forms.On<TUjtabla>([](TUjtabla& f) {
        FillRequired(f);
        f.CheckBox2->SetChecked(false);
        EXPECT_FALSE(f.DateTimePicker1->Enabled());
        f.Button1->click();
    });
    ui::ShowModalForm(Ujtabla, session);
    int id = std::stoi(Column("Tablak", "Tableid").at(0));
    EXPECT_EQ(ParcelField(id, "Berveg"), "1899. 12. 30.");
}

TEST_F(NewParcel, MissingEntriesAreNamedAndNothingIsWritten) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    const std::string missing =
        "Kérem a következőket megadni: Helyrajzi Szám, Házi Megnevezés, Tulajdonos, Terület!";
    dialogs.Expect(missing).Expect(missing);
    forms.On<TUjtabla>([](TUjtabla& f) {
        FillRequired(f);
        f.DateTimePicker1->SetDate(sys::encodeDate(2031, 1, 15));
        f.Edit4->SetText("");
        f.Button1->click(); // no area
        f.Edit4->SetText("100");
        f.TulajBox1->SetKeyValue(db::Null{});
        f.Button1->click(); // no owner
        EXPECT_EQ(f.ModalResult(), ui::mrNone);
        // What was typed stays, the chosen date too.
        EXPECT_EQ(f.Edit1->Text(), "0123/4");
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2031, 1, 15));
        f.Button2->click();
    });
    ui::ShowModalForm(Ujtabla, session);
    EXPECT_TRUE(Column("Tablak", "Tableid").empty());
    EXPECT_TRUE(Column("Tablak2", "Tablakod").empty());
    EXPECT_EQ(dialogs.Shown().at(0).caption, "Hiányzó Adatok!");
    dialogs.VerifyDone();
}

// An impossible expiry typed into the picker refuses the save each time, and the save
// after the day is mended stores one whole land parcel.
TEST_F(NewParcel, ARefusedExpiryLeavesNoRowBehind) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    dialogs.ExpectContaining("('2024. 02. 30.') nem érvényes dátum")
        .ExpectContaining("('2024. 02. 30.') nem érvényes dátum");
    forms.On<TUjtabla>([](TUjtabla& f) {
        FillRequired(f);
        f.CheckBox1->SetChecked(true);
        f.DateTimePicker1->Editor().selectAll();
        Type(&f.DateTimePicker1->Editor(), "2024. 02. 30.");
        f.Button1->click();
        f.Button1->click();
        EXPECT_EQ(f.ModalResult(), ui::mrNone);
        f.DateTimePicker1->SetDate(sys::encodeDate(2024, 2, 29));
        f.Button1->click();
    });
    ui::ShowModalForm(Ujtabla, session);
    ASSERT_EQ(Column("Tablak", "Tableid").size(), 1u);
    const int id = std::stoi(Column("Tablak", "Tableid").front());
    EXPECT_EQ(ParcelField(id, "Berveg"), "2024. 02. 29.");
    EXPECT_EQ(ParcelField(id, "Ont"), "1");
    EXPECT_EQ(ParcelField(id, "Parcella"), "T");
    EXPECT_EQ(Column("Tablak2", "Tablakod"), std::vector<std::string>{std::to_string(id)});
    dialogs.VerifyDone();
}

TEST_F(NewParcel, NumberChecksStopAtTheFirstBadEntry) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    dialogs.Expect("A(z) 'Aranykorona érték' értéke nem szám !")
        .Expect("A(z) 'Bérleti díj' értéke nem szám !")
        .Expect("Hiba! A(z) 'Terület' értéke nem egész szám !")
        .Expect("Hiba! A(z) 'Terület' értéke nem egész szám !");
    forms.On<TUjtabla>([](TUjtabla& f) {
        FillRequired(f);
        f.Edit7->SetText("sok");
        f.Edit3->SetText("x");
        f.Button1->click(); // the gold-crown value only
        f.Edit7->SetText("");
        f.Button1->click(); // then the rent
        f.Edit3->SetText("1,5");
        f.Edit4->SetText("1,5");
        f.Button1->click(); // an area must be whole
        f.Edit4->SetText("ezer");
        f.Button1->click();
        f.Button2->click();
    });
    ui::ShowModalForm(Ujtabla, session);
    EXPECT_TRUE(Column("Tablak", "Tableid").empty());
    for (const ui::Message& message : dialogs.Shown())
        EXPECT_EQ(message.caption, "Hejtelen bevitel!");
    dialogs.VerifyDone();
}

TEST_F(NewParcel, AnOwnerAddedThroughPlusIsListedAtOnceInNameOrder) {
    regtest::AddOwner(session, "100000", "Kovács Péter");
    forms.On<Tujtulaj>([](Tujtulaj& d) {
        d.Edit3->SetText("Bakos Éva");
        d.Edit2->SetText("Kossuth u. 2.");
        d.Button1->click();
    });
    std::vector<std::string> listed;
    std::string chosenBefore, chosenAfter;
    forms.On<TUjtabla>([&](TUjtabla& f) {
        f.TulajBox1->Choose(0);
        f.DateTimePicker1->SetDate(sys::encodeDate(2031, 1, 15));
        chosenBefore = f.TulajBox1->Text();
        f.Button3->click();
        chosenAfter = f.TulajBox1->Text();
        // Coming back from the dialog keeps what was entered.
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2031, 1, 15));
        for (int i = 0; i < f.TulajBox1->count(); ++i)
            listed.push_back(f.TulajBox1->itemText(i).toStdString());
        f.TulajBox1->Choose(0);
        f.Edit1->SetText("7");
        f.Edit2->SetText("Rét");
        f.Edit4->SetText("10");
        f.Button1->click();
    });
    ui::ShowModalForm(Ujtabla, session);
    EXPECT_EQ(listed, (std::vector<std::string>{"Bakos Éva", "Kovács Péter"}));
    EXPECT_EQ(chosenBefore, "Kovács Péter");
    EXPECT_EQ(chosenAfter, "Kovács Péter"); // the choice does not change by itself
    EXPECT_EQ(Column("Tablak", "Tulkod"), std::vector<std::string>{"100001"});
}

} // namespace

namespace {

using RegisterFreshDatabase = testui::UiTest;

// The whole road in a fresh database: an owner, a land parcel, the list printed.
TEST_F(RegisterFreshDatabase, TakesOwnersAndLandParcelsAndPrintsThem) {
    db::Session session;
    core::CreateFreshDatabase(session);
    reg::RegisterLayouts();
    report::WriteBuiltInLayouts(std::filesystem::current_path());
    ui::OwnedForm<TNumericInt> numbers(NumericInt, session);
    report::CaptureOutput output;
    report::ScopedOutput use(output);

    forms.On<Tujtulaj>([](Tujtulaj& d) {
        d.Edit3->SetText("Kiss Ádám");
        d.Edit2->SetText("Eger");
        d.Button1->click();
    });
    forms.On<TUjtabla>([](TUjtabla& f) {
        f.Button3->click();
        f.TulajBox1->Choose(0);
        f.DBLookupComboBox1->Choose(0);
        f.Edit1->SetText("0112/3");
        f.Edit2->SetText("Tó mellett");
        f.Edit4->SetText("12345");
        f.Button1->click();
    });
    forms.On<TTablalista>([](TTablalista& f) {
        f.Button1->click();
        f.Button2->click();
    });
    ui::ShowModalForm(Ujtabla, session);
    ui::ShowModalForm(Tablalista, session);

    ASSERT_EQ(output.documents.size(), 1u);
    std::vector<std::string> lines = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(lines, ::testing::Contains("0112/3 | Tó mellett | 12 345 | 1,2345 | nem"));
    EXPECT_THAT(lines, ::testing::Contains("Kiss Ádám | Eger"));
    EXPECT_THAT(lines, ::testing::Contains("Összesen: | 12 345 | 1,2345"));
    db::TTable parcels(session);
    parcels.SetTableName("Tablak");
    parcels.Open();
    EXPECT_EQ(parcels.FieldByName("Tulkod").AsString(), "100000");
    EXPECT_EQ(parcels.FieldByName("Muvag").AsString(), "szántó");
    EXPECT_EQ(parcels.FieldByName("Muvagid").AsInteger(), 1);
}

} // namespace

namespace {

TEST_F(NewParcel, TheEditsHoldNoMoreThanTheirFields) {
    forms.On<TUjtabla>([](TUjtabla& f) {
        EXPECT_EQ(f.Edit1->maxLength(), 40);
        EXPECT_EQ(f.Edit2->maxLength(), 40);
        EXPECT_EQ(f.Edit5->maxLength(), 40);
        ASSERT_NE(f.ComboBox1->lineEdit(), nullptr);
        EXPECT_EQ(f.ComboBox1->lineEdit()->maxLength(), 20);
        f.Button2->click();
    });
    ui::ShowModalForm(Ujtabla, session);
}

TEST_F(NewParcel, AClearedExpiryShowsNoDate) {
    forms.On<TUjtabla>([](TUjtabla& f) {
        f.CheckBox2->SetChecked(false);
        EXPECT_EQ(f.DateTimePicker1->Date(), reg::NoExpiry);
        f.CheckBox2->SetChecked(true);
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::today());
        f.Button2->click();
    });
    ui::ShowModalForm(Ujtabla, session);
}

} // namespace
