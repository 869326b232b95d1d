// The stock movements form: purchases and sales booked in the material's unit with the
// rounding and the stock check of the ledger, on today or a past day; the date marker;
// the variety list narrowed to a species; the add dialogs opened from it.

#include "materials_fixture.h"
#include "register/Egyebfajh.h"
#include "resources/Egyebnovvedh.h"
#include "resources/Egyebternovh.h"
#include "resources/Egyebvetmagh.h"
#include "resources/Keszletkezelesu.h"

#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

using mattest::MaterialsTest;

const char* const kMore = "További készletmódosítás ?";
const char* const kTooMuch = "Nincs ekkora mennyiség készleten! Túl sok kiadás!";

class StockMovements : public MaterialsTest {
protected:
    // Plays the form: `body` runs on it, then it is closed unless it closed itself.
    void WithForm(const std::function<void(Tkeszletkezeles&)>& body) {
        forms.On<Tkeszletkezeles>([&](Tkeszletkezeles& f) {
            body(f);
            if (f.ModalResult() == ui::mrNone)
                f.Button2->click();
        });
        ui::ShowModalForm(keszletkezeles, session);
        dialogs.VerifyDone();
    }
    // Types a quantity and a unit on the active tab and records it.
    static void Record(Tkeszletkezeles& f, ui::TEdit* edit, ui::TComboBox* units,
                       const std::string& quantity, const std::string& unit) {
        edit->SetText(quantity);
        units->SetItemIndex(units->Items().IndexOf(unit));
        f.Button1->click();
    }
};

TEST_F(StockMovements, PurchasesAndSalesAreConvertedAndRoundedIntoTheMaterialsUnit) {
    AddFertiliser("100000", "Pétisó", "g");
    AddFertiliser("100001", "Urea", "kg", "F");
    WithForm([&](Tkeszletkezeles& f) {
        f.DBLookupComboBox1->Choose(0); // Pétisó
        EXPECT_TRUE(f.RadioButton1->Checked());
        ShowActive(f);
        Snapshot(f, "keszletkezeles");
        dialogs.Expect(kMore, ui::IDYES).Expect(kMore, ui::IDYES);
        Record(f, f.Edit10, f.ComboBox3, "2,5", "g");
        EXPECT_EQ(f.StockText1->Caption(), "3 g");
        Record(f, f.Edit10, f.ComboBox3, "-2.5", "g");
        EXPECT_EQ(f.StockText1->Caption(), "1 g");
        EXPECT_EQ(f.Edit10->Text(), "");
        // Nothing, typed or left by the rounding, books no row.
        dialogs.Expect("A(z) 'Vásárlás, eladás' értéke nem lehet nulla !")
            .ExpectContaining("kisebb a legkisebb könyvelhető mennyiségnél");
        Record(f, f.Edit10, f.ComboBox3, "0", "g");
        Record(f, f.Edit10, f.ComboBox3, "-0,4", "g");
        f.DBLookupComboBox1->Choose(1); // Urea
        EXPECT_TRUE(f.RadioButton2->Checked());
        dialogs.Expect(kMore, ui::IDYES).Expect(kMore, ui::IDYES).Expect(kMore, ui::IDNO);
        Record(f, f.Edit10, f.ComboBox3, "1", "t");
        Record(f, f.Edit10, f.ComboBox3, "0,0004", "kg");
        Record(f, f.Edit10, f.ComboBox3, "1100", "g");
    });
    EXPECT_EQ(Quantities("100000"), (std::vector<double>{3, -2}));
    EXPECT_EQ(Quantities("100001"), (std::vector<double>{1000, 0.001, 1.1}));
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Anyagkod = '100001'").front(),
              sys::dateToText(sys::today()));
}

TEST_F(StockMovements, TheFormShowsTheMaterialABookingGoesTo) {
    AddPesticide("200000", "Roundup", "l");
    AddSpecies("1", "Búza");
    AddSeed("300000", "GK Öthalom", "1");
    AddMovement("200000", sys::today(), 4);
    WithForm([&](Tkeszletkezeles& f) {
        // On opening: no fertiliser, the first pesticide named beside its stock.
        EXPECT_EQ(f.DBLookupComboBox1->Text(), "");
        f.PageControl1->setCurrentIndex(1);
        EXPECT_EQ(f.DBLookupComboBox2->Text(), "Roundup");
        EXPECT_EQ(f.StockText2->Caption(), "4 l");
        // A species chosen names the variety a booking goes to.
        f.PageControl1->setCurrentIndex(2);
        f.DBLookupComboBox4->Choose(0);
        EXPECT_EQ(f.DBLookupComboBox3->Text(), "GK Öthalom");
        // A solid fertiliser added to the empty list is named and shown solid.
        f.PageControl1->setCurrentIndex(0);
        forms.On<TEgyebTerNov>([](TEgyebTerNov& d) {
            d.Edit1->SetText("Pétisó");
            d.RadioButton1->SetChecked(true);
            d.Button2->click();
        });
        dialogs.Expect(kMore, ui::IDYES);
        f.Button3->click();
        EXPECT_EQ(f.DBLookupComboBox1->Text(), "Pétisó");
        EXPECT_TRUE(f.RadioButton1->Checked());
        EXPECT_FALSE(f.RadioButton2->Checked());
    });
}

TEST_F(StockMovements, ASaleBeyondTheStockIsRefusedAndOneEqualToItAccepted) {
    AddPesticide("200000", "Roundup", "l");
    AddMovement("200000", sys::today() - 3, 0.5);
    WithForm([&](Tkeszletkezeles& f) {
        f.PageControl1->setCurrentIndex(1); // as the user picks the tab
        f.DBLookupComboBox2->Choose(0);
        EXPECT_EQ(f.StockText2->Caption(), "0,5 l");
        ShowActive(f);
        Snapshot(f, "keszletkezeles-2");
        dialogs.Expect(kTooMuch);
        Record(f, f.Edit12, f.ComboBox1, "-501", "ml");
        EXPECT_EQ(dialogs.Last().caption, "Sok kiadás");
        EXPECT_EQ(f.Edit12->Text(), "-501"); // the text stays
        dialogs.Expect(kMore, ui::IDNO);
        Record(f, f.Edit12, f.ComboBox1, "-500", "ml");
        EXPECT_EQ(f.ModalResult(), ui::mrCancel); // No closed the form
    });
    EXPECT_EQ(Quantities("200000"), (std::vector<double>{0.5, -0.5}));
}

TEST_F(StockMovements, ASaleOnAPastDayIsComparedWithThatDaysStock) {
    AddSpecies("1", "Búza");
    AddSeed("300000", "GK Öthalom", "1", "kg");
    const sys::DateTime today = sys::today();
    AddMovement("300000", today - 30, 10);
    AddMovement("300000", today - 5, 90);
    WithForm([&](Tkeszletkezeles& f) {
        f.PageControl1->setCurrentIndex(2); // as the user picks the tab
        EXPECT_EQ(f.StockText3->Caption(), "100 kg");
        f.DateTimePicker4->SetDate(today - 10);
        f.DateTimePicker4Exit(f.DateTimePicker4);
        EXPECT_EQ(f.StockText3->Caption(), "10 kg");
        dialogs.Expect(kTooMuch);
        Record(f, f.Edit13, f.ComboBox2, "-11", "kg");
        dialogs.Expect(kMore, ui::IDNO);
        Record(f, f.Edit13, f.ComboBox2, "-3", "db"); // 3 pieces of a seed kept in kg
    });
    EXPECT_EQ(Quantities("300000"), (std::vector<double>{10, 90, -0.003}));
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Menny < 0"),
              (std::vector<std::string>{sys::dateToText(today - 10)}));
}

TEST_F(StockMovements, ANegativeStockOfLaterDaysShowsCutTowardsMinusInfinity) {
    AddFertiliser("100000", "Pétisó", "kg");
    AddMovement("100000", sys::today() - 2, 0.0006);
    AddMovement("100000", sys::today() - 1, -0.001);
    WithForm([&](Tkeszletkezeles& f) { EXPECT_EQ(f.StockText1->Caption(), "-0,001 kg"); });
}

TEST_F(StockMovements, BadOrMissingInputWritesNothing) {
    AddFertiliser("100000", "Pétisó", "q"); // a unit with no factor
    WithForm([&](Tkeszletkezeles& f) {
        f.Button1->click(); // empty: nothing happens
        dialogs.Expect("A(z) 'Vásárlás, eladás' értéke nem szám !");
        f.Edit10->SetText("abc");
        f.Button1->click();
        // A typing slip far beyond any farm's purchase or sale.
        dialogs.Expect("A(z) 'Vásárlás, eladás(-)' értéke nem lehet nagyobb, mint 1000000000 !")
            .Expect("A(z) 'Vásárlás, eladás(-)' értéke nem lehet kisebb, mint -1000000000 !");
        for (const char* slip : {"2000000000", "-1e300"}) {
            f.Edit10->SetText(slip);
            f.Button1->click();
        }
        dialogs.ExpectContaining("mértékegysége ('q') ismeretlen");
        f.Edit10->SetText("5");
        f.Button1->click();
        f.PageControl1->setCurrentIndex(1); // as the user picks the tab // no pesticide to book
        dialogs.Expect("Kérem válassza ki az anyagot!");
        f.Edit12->SetText("5");
        f.Button1->click();
    });
    EXPECT_EQ(Column("Raktarmozgas", "Anyagkod"), (std::vector<std::string>{""}));
}

// A date typed over the whole box is the day booked; an impossible one is told and books
// nothing, never on another day.
TEST_F(StockMovements, ADateTypedOverTheBoxIsTheDayBooked) {
    AddFertiliser("100000", "Pétisó", "kg");
    WithForm([&](Tkeszletkezeles& f) {
        QLineEdit& box = f.DateTimePicker4->Editor();
        box.selectAll();
        Type(&box, "2011. 02. 30.");
        dialogs.ExpectContaining("A(z) 'Készletváltozás dátuma' értéke ('2011. 02. 30.') nem "
                                 "érvényes dátum");
        ui::UserEvent(f.DateTimePicker4->OnExit, f.DateTimePicker4); // leaving the box
        dialogs.ExpectContaining("nem érvényes dátum");
        Record(f, f.Edit10, f.ComboBox3, "5", "kg");
        box.selectAll();
        Type(&box, "2024. 03. 05.");
        f.DateTimePicker4Exit(f.DateTimePicker4);
        dialogs.Expect(kMore, ui::IDNO);
        Record(f, f.Edit10, f.ComboBox3, "5", "kg");
    });
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Menny > 0"),
              std::vector<std::string>{"2024. 03. 05."});
}

TEST_F(StockMovements, EveryActivationLeavesExactlyOneDateMarkerDatedToday) {
    AddMovement("", sys::encodeDate(2009, 1, 1), 0);
    WithForm([&](Tkeszletkezeles& f) { f.FormActivate(&f); });
    WithForm([](Tkeszletkezeles&) {});
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Anyagkod = ''"),
              (std::vector<std::string>{sys::dateToText(sys::today())}));
}

TEST_F(StockMovements, ASpeciesNarrowsTheVarietiesAndOneWithoutACodeLeavesNone) {
    AddSpecies("1", "Búza");
    AddSpecies("2", "Kukorica");
    AddSpecies("", "Kód nélkül");
    AddSeed("300000", "GK Öthalom", "1");
    AddSeed("300001", "Mv Magdaléna", "1");
    AddSeed("300002", "DK 440", "2");
    AddSeed("300003", "Névtelen", "");
    WithForm([&](Tkeszletkezeles& f) {
        f.PageControl1->setCurrentIndex(2); // as the user picks the tab
        EXPECT_EQ(f.Table3.RecordCount(), 4);
        f.DBLookupComboBox4->Choose(2); // Kukorica, in name order
        EXPECT_EQ(f.Table3.RecordCount(), 1);
        EXPECT_EQ(f.Table3.FieldByName("Nev").AsString(), "DK 440");
        f.DBLookupComboBox4->Choose(0); // Búza
        EXPECT_EQ(f.Table3.RecordCount(), 2);
        f.DBLookupComboBox4->Choose(1); // the species without a code
        EXPECT_EQ(f.Table3.RecordCount(), 0);
        EXPECT_EQ(f.StockText3->Caption(), "");
    });
}

TEST_F(StockMovements, TheAddDialogsNumberTheirKindsAndNoClosesBothWindows) {
    AddSpecies("1", "Búza");
    WithForm([&](Tkeszletkezeles& f) {
        forms.On<TEgyebTerNov>([](TEgyebTerNov& d) {
            d.Edit1->SetText("Pétisó");
            d.Edit2->SetText("12");
            d.Edit3->SetText("5");
            d.Edit4->SetText("8,5");
            d.RadioButton2->SetChecked(true);
            d.ComboBox3->SetItemIndex(d.ComboBox3->Items().IndexOf("t"));
            d.Button2->click();
        });
        dialogs.Expect(kMore, ui::IDYES);
        f.Button3->click();
        EXPECT_EQ(f.Table1.RecordCount(), 1);
        forms.On<TEgyebNovVed>([](TEgyebNovVed& d) {
            d.ComboBox4->SetText("gyomirtó");
            // A fresh database has no classes to offer: typed ones are kept.
            d.DBLookupComboBox1->SetText("Xn");
            d.DBLookupComboBox4->SetText("tűzveszélyes");
            d.ComboBox2->SetItemIndex(d.ComboBox2->Items().IndexOf("21"));
            d.Button2->click();
        });
        dialogs.Expect(kMore, ui::IDYES);
        f.Button4->click();
        forms.On<TEgyebVetMag>([](TEgyebVetMag& d) {
            d.Edit1->SetText("GK Öthalom");
            d.Button2->click();
        });
        dialogs.Expect(kMore, ui::IDNO);
        f.Button5->click();
        EXPECT_EQ(f.ModalResult(), ui::mrCancel);
    });
    EXPECT_EQ(Column("Tapanyagok", "Kod"), (std::vector<std::string>{"100000"}));
    EXPECT_EQ(Column("Tapanyagok", "Halmaza"), (std::vector<std::string>{"F"}));
    EXPECT_EQ(Column("Tapanyagok", "Mert"), (std::vector<std::string>{"t"}));
    EXPECT_EQ(Column("Tapanyagok", "Nit"), (std::vector<std::string>{"12"}));
    EXPECT_EQ(Column("Tapanyagok", "Kal"), (std::vector<std::string>{"5"}));
    EXPECT_EQ(Column("Tapanyagok", "Fos"), (std::vector<std::string>{"8,5"}));
    EXPECT_EQ(Column("Tapanyagok", "Menny"), (std::vector<std::string>{"0"}));
    EXPECT_EQ(Column("Novenyvedok", "Kod"), (std::vector<std::string>{"200000"}));
    EXPECT_EQ(Column("Novenyvedok", "Nev"), (std::vector<std::string>{""}));
    EXPECT_EQ(Column("Novenyvedok", "Vido"), (std::vector<std::string>{"21"}));
    EXPECT_EQ(Column("Novenyvedok", "Forgk"), (std::vector<std::string>{"I."}));
    EXPECT_EQ(Column("Novenyvedok", "Meregjelzes"), (std::vector<std::string>{"Xn"}));
    EXPECT_EQ(Column("Novenyvedok", "Tuz"), (std::vector<std::string>{"tűzveszélyes"}));
    EXPECT_EQ(Column("Vetomagok", "Magkod"), (std::vector<std::string>{"300000"}));
    EXPECT_EQ(Column("Vetomagok", "Magfaj"), (std::vector<std::string>{"1"}));
    EXPECT_EQ(Column("Vetomagok", "Mert"), (std::vector<std::string>{"kg"}));
}

TEST_F(StockMovements, TheFirstSpeciesOfAnEmptyTableIsOneAndShowsAtOnce) {
    WithForm([&](Tkeszletkezeles& f) {
        forms.On<TEgyebFaj>([](TEgyebFaj& d) {
            d.Edit1->SetText("Búza");
            d.Edit2->SetText("Triticum aestivum");
            d.Button2->click();
        });
        f.Button6->click();
        EXPECT_EQ(f.Table4.RecordCount(), 1);
        f.PageControl1->setCurrentIndex(2);
        f.DBLookupComboBox4->Choose(0);
        EXPECT_EQ(f.Table3.RecordCount(), 0);
    });
    EXPECT_EQ(Column("Magfajtak", "Fajkod"), (std::vector<std::string>{"1"}));
}

TEST_F(StockMovements, TheAddDialogsRefuseMissingInputAndBadNumbers) {
    forms.On<TEgyebTerNov>([&](TEgyebTerNov& d) {
        dialogs.Expect("A(z) 'Foszfortartalom' értéke nem szám !");
        d.Edit3->SetText("sok");
        d.Button2->click();
        dialogs.Expect("Az anyag nevét kérem megadni !");
        d.Edit3->SetText("");
        d.Button2->click();
        EXPECT_EQ(dialogs.Last().caption, "Hiányzó Adatok!");
        d.Button1->click();
    });
    ui::ShowModalForm(EgyebTerNov, session);
    forms.On<TEgyebNovVed>([&](TEgyebNovVed& d) {
        dialogs.Expect("Az anyag nevét, típusát, méregjelzését kérem megadni !");
        d.Button2->click();
        d.Button1->click();
    });
    ui::ShowModalForm(EgyebNovVed, session);
    forms.On<TEgyebVetMag>([&](TEgyebVetMag& d) {
        dialogs.Expect("A vetőmag nevét, fajtáját kérem megadni !");
        d.Button2->click();
        d.Button1->click();
    });
    ui::ShowModalForm(EgyebVetMag, session);
    dialogs.VerifyDone();
    EXPECT_TRUE(Column("Tapanyagok", "Kod").empty());
    EXPECT_TRUE(Column("Novenyvedok", "Kod").empty());
    EXPECT_TRUE(Column("Vetomagok", "Magkod").empty());
}

TEST_F(StockMovements, ThePesticideDialogOffersTheTypesAlreadyRecorded) {
    AddPesticide("200004", "Roundup", "l", "gyomirtó");
    AddPesticide("200001", "Dithane", "kg", "gombaölő");
    AddPesticide("200002", "Dithane 2", "kg", "gombaölő");
    forms.On<TEgyebNovVed>([](TEgyebNovVed& d) {
        EXPECT_EQ(d.ComboBox4->Items().ToVector(),
                  (std::vector<std::string>{"gombaölő", "gyomirtó"}));
        d.Edit1->SetText("Új szer");
        ShowActive(d);
        Snapshot(d, "egyebnovved");
        d.Button2->click();
    });
    dialogs.Expect(kMore, ui::IDNO);
    ui::ShowModalForm(EgyebNovVed, session);
    EXPECT_EQ(Column("Novenyvedok", "Kod").back(), "200005");
}

} // namespace
