// The lists of land parcels: only active ones, in their orders, with their owners.

#include "register/Tablalistac.h"
#include "register/Tulajdh.h"
#include "register/Ujtablak.h"
#include "register/Ujtulajok.h"
#include "register_fixture.h"

#include <gtest/gtest.h>

namespace {

using regtest::RegisterTest;
using ParcelLists = RegisterTest;

std::vector<std::string> Shown(db::TDataSet& rows, const std::string& field) {
    std::vector<std::string> values;
    for (rows.First(); !rows.Eof(); rows.Next())
        values.push_back(rows.FieldByName(field).AsString());
    return values;
}

void WithList(db::Session& session, testui::ScriptedForms& forms,
              const std::function<void(TTablalista&)>& body) {
    forms.On<TTablalista>([&](TTablalista& f) {
        body(f);
        if (f.ModalResult() == ui::mrNone)
            f.Button2->click();
    });
    ui::ShowModalForm(Tablalista, session);
}

TEST_F(ParcelLists, AnInactivatedLandParcelIsAbsentFromEveryList) {
    regtest::AddOwner(session, "100000", "Kiss Ádám");
    int gone = regtest::AddParcel(session, {.helysz = "1", .hazmeg = "A"});
    regtest::AddParcel(session, {.helysz = "2", .hazmeg = "B"});
    {
        db::TTable soil(session);
        soil.SetTableName("Tablak2");
        soil.Open();
        soil.Append();
        soil.FieldByName("Tablakod").SetAsString(std::to_string(gone));
        soil.FieldByName("Talajtip").SetAsString("agyag");
        soil.Post();
    }
    dialogs.Expect("Valóban törölni szeretné a kijelölt táblát (inaktiválás) ?", ui::mrYes);
    forms.On<TForm2>([gone](TForm2& f) {
        EXPECT_EQ(f.LoadedLandParcel(), gone); // first by house name
        f.Button2->click();
        EXPECT_EQ(f.ModalResult(), ui::mrCancel);
    });
    ui::ShowModalForm(Form2, session);

    // The row, its owner and soil type stay.
    EXPECT_EQ(ParcelField(gone, "Aktiv"), "0");
    EXPECT_EQ(ParcelField(gone, "Tulkod"), "100000");
    EXPECT_EQ(Column("Tablak2", "Talajtip"), std::vector<std::string>{"agyag"});

    forms.On<TForm2>([](TForm2& f) {
        EXPECT_EQ(Shown(f.Table1, "Helysz"), std::vector<std::string>{"2"});
        f.Button3->click();
    });
    ui::ShowModalForm(Form2, session);
    WithList(session, forms, [](TTablalista& f) {
        EXPECT_EQ(Shown(f.Table1, "Helysz"), std::vector<std::string>{"2"});
    });
    forms.On<Tujtulaj>([](Tujtulaj& d) {
        EXPECT_EQ(Shown(d.Query1, "Helysz"), std::vector<std::string>{"2"});
        d.Button2->click();
    });
    ui::ShowModalForm(ujtulaj, session);
}

TEST_F(ParcelLists, TheListShowsActiveLandParcelsByLotNumberWithTheirOwners) {
    regtest::AddOwner(session, "100000", "Kiss Ádám");
    regtest::AddOwner(session, "100001", "Nagy Éva");
    regtest::AddParcel(session, {.helysz = "30", .tulkod = "100001"});
    regtest::AddParcel(session, {.helysz = "10", .tulkod = "100000"});
    regtest::AddParcel(session, {.helysz = "20", .tulkod = "100009"}); // owner deleted
    regtest::AddParcel(session, {.helysz = "15", .aktiv = 0});
    WithList(session, forms, [](TTablalista& f) {
        EXPECT_EQ(Shown(f.Table1, "Helysz"), (std::vector<std::string>{"10", "20", "30"}));
        std::vector<std::string> owners;
        for (f.Table1.First(); !f.Table1.Eof(); f.Table1.Next())
            owners.push_back(f.Table2.IsEmpty() ? "" : f.Table2.FieldByName("Tulnev").AsString());
        EXPECT_EQ(owners, (std::vector<std::string>{"Kiss Ádám", "", "Nagy Éva"}));
    });
}

TEST_F(ParcelLists, PrintingAnEmptyListSaysSo) {
    regtest::AddOwner(session, "100000", "Kiss Ádám");
    regtest::AddParcel(session, {.aktiv = 0});
    dialogs.Expect("Nincs megjeleníthető tábla.").Expect("Nincs megjeleníthető tábla.");
    WithList(session, forms, [](TTablalista& f) {
        QApplication::setActiveWindow(&f);
        f.Button1->click();
        f.DBGrid1->SetFocus();
        Key(f.DBGrid1, Qt::Key_I, Qt::ControlModifier);
        Key(f.DBGrid1, Qt::Key_X, Qt::ControlModifier);
        EXPECT_EQ(f.ModalResult(), ui::mrCancel);
    });
    EXPECT_EQ(dialogs.Shown().at(0).type, ui::mtConfirmation);
    dialogs.VerifyDone();
}

} // namespace
