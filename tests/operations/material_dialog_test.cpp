// The material-use dialog from the entry form: the stock test, the second use of one
// material, the pesticide checks before anything is written.

#include "operations/Anyagfelv.h"
#include "operations/Muvadatf.h"
#include "operations/Tovabbiaf.h"
#include "operations_fixture.h"

#include <gtest/gtest.h>

namespace opstest {
namespace {

const sys::DateTime kDay = sys::encodeDate(2010, 3, 5);

class MaterialDialogTest : public OperationsTest {
protected:
    MaterialDialogTest() {
        AddField(session, "100001", 10000, "búza", 1);
        AddField(session, "100002", 10000, "búza", 2);
        AddFertiliser(session, "100000", "Pétisó", "kg");
        AddPesticide(session, "200000", "Decis", "l");
        Buy(session, "100000", 600, kDay - 1);
        Buy(session, "200000", 10, kDay - 1);
    }

    // Opens the entry form on both fields and runs `play` in the material dialog.
    void InDialog(std::function<void(TAnyagfel&)> play) {
        forms.On<TAnyagfel>(std::move(play));
        forms.On<TMuvadat>([](TMuvadat& form) {
            form.DateTimePicker1->SetDate(kDay);
            for (const char* code : {"100001", "100002"}) {
                form.Table8.Locate("Parckod", {db::Value(std::string(code))});
                form.DBGrid2->SelectedRows().SetCurrentRowSelected(true);
            }
            form.DBGrid2CellClick(form.DBGrid2->Columns()[0]);
            form.Button1->click();
            form.Button3->click();
        });
        ui::OwnedForm<TMuvadat> form(Muvadat, session);
        form->ShowModal();
    }
};

TEST_F(MaterialDialogTest, ASecondUseOfTheSameMaterialCountsTheFirst) {
    forms.On<TTovabbia>([](TTovabbia& ask) { ask.Button1->click(); }); // "Igen"
    dialogs.Expect("A felhasznált mennyiség nogyobb mint a rendelkezésre álló!");
    InDialog([this](TAnyagfel& dialog) {
        EXPECT_EQ(dialog.Query1.RecordCount(), 1);
        dialog.Edit10->SetText("250"); // 500 kg of 600
        dialog.Button2->click();
        EXPECT_TRUE(dialog.MaterialsPosted);
        EXPECT_EQ(dialog.ModalResult(), ui::mrNone);
        dialog.Edit10->SetText("100"); // 200 kg more: only 100 are left
        dialog.Button2->click();
        EXPECT_FALSE(dialog.MaterialsPosted);
        EXPECT_EQ(Count("felhanyag"), 2);
        dialog.Button1->click();
    });
    dialogs.VerifyDone();
}

TEST_F(MaterialDialogTest, ABadSprayingSerialOrShareWritesNeitherUseNorWithdrawal) {
    dialogs.ExpectContaining("'Sorszám'")
        .Expect("A(z) 'Sorszám' értéke nem lehet nulla vagy negatív !")
        .Expect("A(z) 'Nitrogén' értéke nem lehet nagyobb, mint 100 !");
    InDialog([this](TAnyagfel& dialog) {
        dialog.PageControl1->SetActivePageIndex(1);
        dialog.Edit12->SetText("1");
        dialog.Edit2->SetText("300");
        dialog.Edit3->SetText("Kiss Péter");
        for (const char* serial : {"3b", "0"}) {
            dialog.Edit14->SetText(serial);
            dialog.Button2->click();
        }
        dialog.PageControl1->SetActivePageIndex(0);
        dialog.Edit10->SetText("1");
        dialog.CheckBox1->click();
        dialog.Edit8->SetText("101");
        dialog.Button2->click();
        EXPECT_FALSE(dialog.MaterialsPosted);
        EXPECT_EQ(Count("felhanyag"), 0);
        EXPECT_EQ(Count("Raktarmozgas", "Datum = NULL"), 0);
        dialog.Button1->click();
    });
    dialogs.VerifyDone();
}

// A setting ticked before the farm data was first saved writes its option row first: the
// responsible person still comes from the farm row and lands on every use.
TEST_F(MaterialDialogTest, TheResponsiblePersonIsTheFarmRowsAfterAnOptionRow) {
    AddRow(session, "Alapadatok", [](db::TTable& t) {
        t.FieldByName("Nev").SetAsString("_MuvFormState");
        t.FieldByName("Cim").SetAsString("yes");
    });
    AddRow(session, "Alapadatok", [](db::TTable& t) {
        t.FieldByName("Nev").SetAsString("Zöldmező Kft.");
        t.FieldByName("Fnev").SetAsString("Nagy Béla");
    });
    forms.On<TTovabbia>([](TTovabbia& ask) { ask.Button2->click(); });
    InDialog([this](TAnyagfel& dialog) {
        EXPECT_EQ(dialog.Edit3->Text(), "Nagy Béla");
        dialog.PageControl1->SetActivePageIndex(1);
        dialog.Edit12->SetText("1");
        dialog.Edit2->SetText("300");
        dialog.Button2->click();
        EXPECT_EQ(Column("felhanyag", "Felelos"),
                  (std::vector<std::string>{"Nagy Béla", "Nagy Béla"}));
    });
}

// Each refusal is told once, whatever the number of fields; a dose of a kind of which
// nothing is in stock says so.
TEST_F(MaterialDialogTest, APesticideWithoutLiquidAndPersonShowsBothMessagesOnce) {
    dialogs.Expect("Permetlé mennyiség nélkül a felhasználás nem nyugtázható!");
    dialogs.Expect("Kérem adja meg a felelőst!");
    dialogs.Expect("A művelethez szükséges anyagmennyiség nincsen készleten!");
    InDialog([this](TAnyagfel& dialog) {
        dialog.PageControl1->SetActivePageIndex(1);
        dialog.Edit12->SetText("1");
        dialog.Edit2->SetText("");
        dialog.Edit3->SetText("");
        dialog.Button2->click();
        dialog.PageControl1->SetActivePageIndex(2);
        dialog.Edit11->SetText("200");
        dialog.Button2->click();
        EXPECT_EQ(Count("felhanyag"), 0);
        dialog.Button1->click();
    });
    dialogs.VerifyDone();
}

TEST_F(MaterialDialogTest, ATotalGivesTheDosePerHectareAndTheWithdrawal) {
    forms.On<TTovabbia>([](TTovabbia& ask) { ask.Button2->click(); });
    InDialog([this](TAnyagfel& dialog) {
        dialog.Button4->click();
        EXPECT_FALSE(dialog.PageControl1->Enabled());
        dialog.Edit1->SetText("0,3");
        dialog.ComboBox4->SetText("t");
        dialog.Button8->click();
        EXPECT_EQ(dialog.Edit10->Text(), "0,15");
        EXPECT_EQ(dialog.ComboBox1->Text(), "t");
        dialog.Button2->click();
        EXPECT_EQ(Column("Raktarmozgas", "Menny", "Datum = NULL"),
                  (std::vector<std::string>{"-150", "-150"}));
    });
}

// A dose of zero or less would add stock instead of taking it: every tab refuses it,
// naming its box, and nothing is written.
TEST_F(MaterialDialogTest, EveryDoseBoxRefusesZeroAndLess) {
    InDialog([this](TAnyagfel& dialog) {
        dialog.Edit2->SetText("300");
        dialog.Edit3->SetText("Kiss Péter");
        const std::pair<ui::TEdit*, const char*> boxes[] = {
            {dialog.Edit10, "Vásárolt mennyiség"},
            {dialog.Edit12, "Felhasznált mennyiség"},
            {dialog.Edit11, "Felhasznált mennyiség"}};
        for (int tab = 0; tab < 3; ++tab)
            for (const char* dose : {"-100", "0"}) {
                dialogs.Expect("A(z) '" + std::string(boxes[tab].second) +
                               "' értéke nem lehet nulla vagy negatív !");
                dialog.PageControl1->SetActivePageIndex(tab);
                boxes[tab].first->SetText(dose);
                dialog.Button2->click();
                EXPECT_FALSE(dialog.MaterialsPosted);
            }
        EXPECT_EQ(Count("felhanyag"), 0);
        EXPECT_EQ(Count("Raktarmozgas", "Datum = NULL"), 0);
        dialog.Button1->click();
    });
    dialogs.VerifyDone();
}

} // namespace
} // namespace opstest
