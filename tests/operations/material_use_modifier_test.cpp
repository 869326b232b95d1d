// The material-use modifier as the operation modifier opens it: changing, adding and
// deleting uses moves the stock on the operation's date; nothing is written before every
// value is checked; a pesticide use keeps an empty date.

#include "operations/Felhanymodh.h"
#include "operations/recorded_uses.h"
#include "operations_fixture.h"
#include "resources/stock.h"

#include <gtest/gtest.h>

namespace opstest {
namespace {

const sys::DateTime kDay = sys::encodeDate(2010, 4, 15);

class MaterialUseModifierTest : public OperationsTest {
protected:
    MaterialUseModifierTest() {
        AddField(session, "100001", 20000);
        AddFertiliser(session, "100000", "Pétisó", "kg");
        AddPesticide(session, "200000", "Decis", "l");
        AddRow(session, "Vetomagok", [](db::TTable& t) {
            t.FieldByName("Magkod").SetAsString("300000");
            t.FieldByName("Nev").SetAsString("GK Öthalom");
            t.FieldByName("Mert").SetAsString("kg");
            t.FieldByName("Magfaj").SetAsString("1");
        });
        AddRow(session, "Magfajtak", [](db::TTable& t) {
            t.FieldByName("Fajkod").SetAsString("1");
            t.FieldByName("Faj").SetAsString("búza");
        });
        Buy(session, "100000", 100, kDay - 10);
        Buy(session, "200000", 10, kDay - 10);
        Buy(session, "300000", 500, kDay - 10);
        AddOperation("100000", 10000);
    }
    void AddOperation(const std::string& muvkod, double ter) {
        AddRow(session, "ElvMuv", [&](db::TTable& t) {
            t.FieldByName("Muvkod").SetAsString(muvkod);
            t.FieldByName("Tablakod").SetAsString("100001");
            t.FieldByName("Datum").SetAsDateTime(kDay);
            t.FieldByName("Ter").SetAsFloat(ter);
        });
    }
    // A recorded use with its withdrawal (none when `withdrawal` is 0).
    void AddUse(const std::string& felhkod, const std::string& anyagkod, const std::string& type,
                double dose, const std::string& unit, double withdrawal,
                const std::string& muvkod = "100000") {
        AddRow(session, "felhanyag", [&](db::TTable& t) {
            t.FieldByName("Felhkod").SetAsString(felhkod);
            t.FieldByName("Muvkod").SetAsString(muvkod);
            t.FieldByName("Tablakod").SetAsString("100001");
            t.FieldByName("Anyagkod").SetAsString(anyagkod);
            t.FieldByName("Anyagtip").SetAsString(type);
            t.FieldByName("Menny").SetAsFloat(dose);
            t.FieldByName("Mert").SetAsString(unit);
        });
        if (withdrawal != 0)
            AddRow(session, "Raktarmozgas", [&](db::TTable& t) {
                t.FieldByName("Anyagkod").SetAsString(anyagkod);
                t.FieldByName("Menny").SetAsFloat(withdrawal);
                t.FieldByName("Felhanykod").SetAsString(felhkod);
                t.FieldByName("Datum").SetAsDateTime(kDay);
            });
    }
    void Open(std::function<void(TFelhAnyMod&)> play, const std::string& muvkod = "100000") {
        forms.On<TFelhAnyMod>([play](TFelhAnyMod& f) {
            play(f);
            f.Close(); // as "Rendben" does, which a box left open by a refusal keeps inert
        });
        OpenMaterialUseModifier(session, muvkod, [] { return kDay; });
        forms.VerifyDone();
        dialogs.VerifyDone();
    }
    void ChangeDose(ui::TButton* change, TFelhAnyMod& f, const std::string& dose) {
        change->Click();
        EXPECT_TRUE(f.Panel1->Visible());
        f.Edit1->SetText(dose);
        f.Button4->Click();
    }
    double Stock(const std::string& code) { return res::StockOnDate(session, code, kDay); }
    std::vector<std::string> Withdrawal(const std::string& felhkod) {
        return Column("Raktarmozgas", "Menny", "Felhanykod = '" + felhkod + "'");
    }
    void StockKeepingOff() {
        AddRow(session, "Alapadatok", [](db::TTable& t) {
            t.FieldByName("Nev").SetAsString("_kesz");
            t.FieldByName("Cim").SetAsString("no");
        });
    }
};

TEST_F(MaterialUseModifierTest, TheListsShowTheirTitlesAndValuesWhole) {
    AddUse("100000", "100000", "000000", 0.5, "kg", -0.5);
    Open([&](TFelhAnyMod& f) {
        ShowActive(f);
        for (ui::TDBGrid* grid : {f.DBGrid1, f.DBGrid2, f.DBGrid3})
            EXPECT_EQ(CutGridTexts(*grid), std::vector<std::string>{});
    });
}

TEST_F(MaterialUseModifierTest, ChangingADoseRewritesTheWithdrawalToAWholeBaseUnit) {
    AddUse("100000", "100000", "000000", 0.5, "kg", -0.5);
    Open([&](TFelhAnyMod& f) {
        EXPECT_EQ(f.Query3.FieldByName("Menny_1").AsFloat(), 0.5);
        EXPECT_EQ(f.Query3.FieldByName("Mert_1").AsString(), "kg");
        EXPECT_EQ(f.Query3.FieldByName("Mert").AsString(), "kg");
        ChangeDose(f.Button2, f, "0,3");
        EXPECT_FALSE(f.Panel1->Visible());
        EXPECT_EQ(Withdrawal("100000"), std::vector<std::string>{"-0,3"});
        EXPECT_DOUBLE_EQ(Stock("100000"), 99.7);
        ChangeDose(f.Button2, f, "0,0012");
        EXPECT_EQ(Withdrawal("100000"), std::vector<std::string>{"-0,002"});
        EXPECT_EQ(f.Query3.FieldByName("Menny_1").AsFloat(), 0.0012);
        EXPECT_DOUBLE_EQ(Stock("100000"), 99.998);
    });
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Felhanykod = '100000'"),
              std::vector<std::string>{sys::dateToText(kDay)});
}

TEST_F(MaterialUseModifierTest, ADoseInGramsOfAMaterialKeptInKilogramsIsConverted) {
    AddOperation("100001", 20000);
    AddUse("100000", "100000", "000000", 250, "g", -0.5, "100001");
    Open(
        [&](TFelhAnyMod& f) {
            ChangeDose(f.Button2, f, "500");
            EXPECT_EQ(Withdrawal("100000"), std::vector<std::string>{"-1"});
            EXPECT_EQ(Column("felhanyag", "Mert"), std::vector<std::string>{"g"});
        },
        "100001");
    EXPECT_DOUBLE_EQ(Stock("100000"), 99);
}

TEST_F(MaterialUseModifierTest, AChangeBeyondTheStockOnTheDateIsRefused) {
    AddUse("100000", "200000", "000001", 2, "l", -2);
    Buy(session, "200000", 50, kDay + 1); // bought later: not on the operation's date
    dialogs.Expect("Nincs elegendő mennyiség raktáron ! (dátum szerint)");
    Open([&](TFelhAnyMod& f) {
        ChangeDose(f.Button7, f, "10,5"); // 8.5 l more, 8 l left
        EXPECT_TRUE(f.Panel1->Visible());
        ChangeDose(f.Button7, f, "10"); // exactly the stock
        EXPECT_EQ(Withdrawal("100000"), std::vector<std::string>{"-10"});
    });
    EXPECT_DOUBLE_EQ(Stock("200000"), 0);
}

TEST_F(MaterialUseModifierTest, WithoutStockKeepingAChangeTouchesNoWithdrawal) {
    StockKeepingOff();
    AddUse("100000", "300000", "000002", 100, "kg", -100);
    AddUse("100001", "300000", "000002", 50, "kg", 0);
    Open([&](TFelhAnyMod& f) {
        ChangeDose(f.Button10, f, "900");
        EXPECT_EQ(Column("felhanyag", "Menny"), (std::vector<std::string>{"900", "50"}));
        EXPECT_EQ(Withdrawal("100000"), std::vector<std::string>{"-100"});
        f.Query1.Next();
        f.Button9->Click(); // the use without a withdrawal takes no other one
        EXPECT_EQ(Count("Raktarmozgas", "Anyagkod = '300000'"), 2);
        f.Query1.First();
        f.Button9->Click(); // a deletion still takes the withdrawal
    });
    EXPECT_EQ(Count("felhanyag"), 0);
    EXPECT_DOUBLE_EQ(Stock("300000"), 500);
}

TEST_F(MaterialUseModifierTest, AQuantityThatIsNoNumberOrEmptyWritesNothing) {
    AddUse("100000", "100000", "000000", 0.5, "kg", -0.5);
    dialogs.ExpectContaining("'mennyiség'");
    dialogs.Expect("Mennyiség nélkül a felhasználás nem nyugtázható!");
    Open([&](TFelhAnyMod& f) {
        ChangeDose(f.Button2, f, "0,3x");
        ChangeDose(f.Button2, f, "");
        EXPECT_TRUE(f.Panel1->Visible());
    });
    EXPECT_EQ(Column("felhanyag", "Menny"), std::vector<std::string>{"0,5"});
    EXPECT_EQ(Withdrawal("100000"), std::vector<std::string>{"-0,5"});
}

TEST_F(MaterialUseModifierTest, EnterOnAListOpensTheQuantityBoxWhereEnterSavesAndEscCloses) {
    AddUse("100000", "100000", "000000", 0.5, "kg", -0.5);
    Open([&](TFelhAnyMod& f) {
        QApplication::setActiveWindow(&f);
        f.DBGrid3->SetFocus();
        Key(f.DBGrid3, Qt::Key_Return);
        EXPECT_TRUE(f.Panel1->Visible());
        EXPECT_EQ(f.Panel1->Top(), 168);
        f.Edit1->SetText("0,4");
        Key(f.Edit1, Qt::Key_Return);
        EXPECT_FALSE(f.Panel1->Visible());
        EXPECT_EQ(Withdrawal("100000"), std::vector<std::string>{"-0,4"});
        Key(f.DBGrid3, Qt::Key_Return);
        EXPECT_TRUE(f.Edit1->hasFocus());
        f.Edit1->SetText("9");
        Key(f.Edit1, Qt::Key_Escape);
        EXPECT_FALSE(f.Panel1->Visible());
    });
    EXPECT_EQ(Column("felhanyag", "Menny"), std::vector<std::string>{"0,4"});
}

TEST_F(MaterialUseModifierTest, DeletingAUseReturnsItsOwnWithdrawalToStock) {
    AddUse("100000", "100000", "000000", 20, "kg", -20);
    AddUse("100001", "100000", "000000", 30, "kg", -30);
    Open([&](TFelhAnyMod& f) {
        EXPECT_EQ(f.Query3.RecordCount(), 2);
        f.Query3.Next();
        f.Button1->Click();
        EXPECT_EQ(f.Query3.RecordCount(), 1);
        EXPECT_DOUBLE_EQ(Stock("100000"), 80);
        EXPECT_DOUBLE_EQ(f.Query5.FieldByName("Kossz").AsFloat(), 80); // the add box follows
    });
    EXPECT_EQ(Column("felhanyag", "Felhkod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Withdrawal("100000"), std::vector<std::string>{"-20"});
}

// A dose of zero or less, changed or added, is refused: it would give stock back.
TEST_F(MaterialUseModifierTest, EveryDoseBoxRefusesZeroAndLess) {
    AddUse("100000", "100000", "000000", 0.5, "kg", -0.5);
    const std::string refused = "' értéke nem lehet nulla vagy negatív !";
    for (const char* label :
         {"mennyiség", "mennyiség", "mennyiség", "Felhasznált mennyiség", "Felhasznált mennyiség"})
        dialogs.Expect("A(z) '" + std::string(label) + refused);
    Open([&](TFelhAnyMod& f) {
        ChangeDose(f.Button2, f, "-100");
        ChangeDose(f.Button2, f, "0");
        f.Panel1->Hide(); // left by Esc: the lists come back
        f.Button3->Click();
        f.DBLookupComboBox1->Choose(0);
        f.Edit2->SetText("-5");
        f.Button12->Click();
        f.Button17->Click();
        f.Edit12->SetText("-1");
        f.Button13->Click();
        f.Edit11->SetText("0");
        f.Button14->Click();
    });
    EXPECT_EQ(Column("felhanyag", "Menny"), std::vector<std::string>{"0,5"});
    EXPECT_EQ(Withdrawal("100000"), std::vector<std::string>{"-0,5"});
}

TEST_F(MaterialUseModifierTest, AddingIntoAnEmptyUseTableGivesTheFirstCodeAndTheDatedWithdrawal) {
    Open([&](TFelhAnyMod& f) {
        f.Button3->Click();
        EXPECT_TRUE(f.Panel2->Visible());
        f.DBLookupComboBox1->Choose(0);
        EXPECT_EQ(f.DBEdit2->Text(), "100");
        f.Edit2->SetText("0,3");
        f.Button12->Click();
        EXPECT_FALSE(f.Panel2->Visible());
        EXPECT_EQ(f.Query3.RecordCount(), 1);
        EXPECT_EQ(f.DBEdit2->Text(), "99,7");
    });
    EXPECT_EQ(Column("felhanyag", "Felhkod"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("felhanyag", "Muvkod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("felhanyag", "Tablakod"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("felhanyag", "Anyagtip"), std::vector<std::string>{"000000"});
    EXPECT_EQ(Column("felhanyag", "Menny"), std::vector<std::string>{"0,3"});
    EXPECT_EQ(Column("felhanyag", "Mert"), std::vector<std::string>{"kg"});
    EXPECT_EQ(Withdrawal("100001"), std::vector<std::string>{"-0,3"});
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Felhanykod = '100001'"),
              std::vector<std::string>{sys::dateToText(kDay)});
    EXPECT_DOUBLE_EQ(Stock("100000"), 99.7);
}

TEST_F(MaterialUseModifierTest, AnAddBeyondTheStockIsRefusedAndAnEmptyFertiliserBoxDoesNothing) {
    dialogs.Expect("Nincs a raktáron elegendő anyag !");
    Open([&](TFelhAnyMod& f) {
        f.Button3->Click();
        f.Button12->Click(); // no dose: nothing, no message
        f.DBLookupComboBox1->Choose(0);
        f.Edit2->SetText("100,001");
        f.Button12->Click();
        EXPECT_TRUE(f.Panel2->Visible());
    });
    EXPECT_EQ(Count("felhanyag"), 0);
    EXPECT_DOUBLE_EQ(Stock("100000"), 100);
}

// 0.4 g of a material kept in kg shows as 0 and gives nothing; a negative stock is listed
// and a change that lowers the withdrawal by the deficit passes.
TEST_F(MaterialUseModifierTest, AStockShownAsZeroGivesNothingAndANegativeOneOnlyBack) {
    AddFertiliser(session, "100001", "Ammónium-nitrát", "kg");
    Buy(session, "100001", 0.0004, kDay - 10);
    AddUse("100000", "100000", "000000", 150, "kg", -150); // 50 kg short
    dialogs.Expect("Nincs a raktáron elegendő anyag !");
    dialogs.Expect("Nincs elegendő mennyiség raktáron ! (dátum szerint)");
    Open([&](TFelhAnyMod& f) {
        f.Button3->Click();
        f.DBLookupComboBox1->Choose(f.DBLookupComboBox1->findText("Ammónium-nitrát"));
        EXPECT_EQ(f.DBEdit2->Text(), "0");
        f.Edit2->SetText("0,0001");
        f.Button12->Click();
        EXPECT_TRUE(f.Panel2->Visible());
        f.Button17->Click();
        ChangeDose(f.Button2, f, "120"); // 30 kg back: still 20 kg short
        EXPECT_TRUE(f.Panel1->Visible());
        ChangeDose(f.Button2, f, "100"); // 50 kg back: the deficit
        EXPECT_FALSE(f.Panel1->Visible());
    });
    EXPECT_EQ(Count("felhanyag", "Anyagkod = '100001'"), 0);
    EXPECT_EQ(Withdrawal("100000"), std::vector<std::string>{"-100"});
    EXPECT_DOUBLE_EQ(Stock("100000"), 0);
}

TEST_F(MaterialUseModifierTest, APesticideAddChecksEveryValueBeforeWriting) {
    dialogs.ExpectContaining("'Permetlé mennyisége'");
    dialogs.Expect("Mennyiség nélkül a felhasználás nem nyugtázható!");
    Open([&](TFelhAnyMod& f) {
        f.Button8->Click();
        f.Edit12->SetText("1,5");
        f.Edit4->SetText("sok");
        f.Button13->Click();
        f.Edit12->SetText("");
        f.Edit4->SetText("300");
        f.Button13->Click();
        EXPECT_EQ(Count("felhanyag"), 0);
        f.Edit12->SetText("1,5");
        f.Edit3->SetText("Kiss Péter");
        f.Button13->Click(); // the material the list stands on
        EXPECT_EQ(f.Query2.RecordCount(), 1);
    });
    EXPECT_EQ(Column("felhanyag", "Anyagkod"), std::vector<std::string>{"200000"});
    EXPECT_EQ(Column("felhanyag", "Permetle"), std::vector<std::string>{"300"});
    EXPECT_EQ(Column("felhanyag", "Felelos"), std::vector<std::string>{"Kiss Péter"});
    const int year = sys::decodeDate(sys::today()).year;
    EXPECT_EQ(Column("felhanyag", "Betido"),
              std::vector<std::string>{sys::dateToText(sys::encodeDate(year, 6, 20))});
    EXPECT_EQ(Withdrawal("100001"), std::vector<std::string>{"-1,5"});
}

TEST_F(MaterialUseModifierTest, ASeedAddOffersTheChosenSpeciesAndWithoutStockKeepingBooksNothing) {
    StockKeepingOff();
    Open([&](TFelhAnyMod& f) {
        f.Button11->Click();
        f.DBLookupComboBox4->Choose(0);
        EXPECT_EQ(f.Query7.RecordCount(), 1);
        f.Edit11->SetText("0,2");
        f.ComboBox3->SetText("t");
        f.Edit5->SetText("5000000");
        f.Button14->Click(); // 200 kg of 500, and no stock test anyway
    });
    EXPECT_EQ(Column("felhanyag", "Csira"), std::vector<std::string>{"5000000"});
    EXPECT_EQ(Column("felhanyag", "Anyagtip"), std::vector<std::string>{"000002"});
    EXPECT_EQ(Count("Raktarmozgas", "Felhanykod <> ''"), 0);
    EXPECT_DOUBLE_EQ(Stock("300000"), 500);
}

TEST_F(MaterialUseModifierTest, APesticideUseWithoutADateKeepsItEmptyUnlessOneIsSet) {
    AddUse("100000", "200000", "000001", 2, "l", -2);
    dialogs.ExpectContaining("'Permetlé mennyisége'");
    Open([&](TFelhAnyMod& f) {
        f.Button23->Click();
        EXPECT_TRUE(f.GroupBox3->Visible());
        EXPECT_FALSE(f.DateTimePicker3->Checked());
        f.Table2.FieldByName("Felelos").SetAsString("Kiss Péter");
        f.Button25->Click();
        EXPECT_EQ(Column("felhanyag", "Betido"), std::vector<std::string>{""});
        EXPECT_EQ(Column("felhanyag", "Felelos"), std::vector<std::string>{"Kiss Péter"});

        f.Button23->Click();
        f.Table2.FieldByName("Permetle").SetAsString("sok");
        f.Button25->Click(); // refused: the box stays
        EXPECT_TRUE(f.GroupBox3->Visible());
        f.Table2.FieldByName("Permetle").SetAsString("250");
        f.DateTimePicker3->SetChecked(true);
        f.DateTimePicker3->SetDate(kDay + 3);
        f.Button25->Click();
        EXPECT_FALSE(f.GroupBox3->Visible());
    });
    EXPECT_EQ(Column("felhanyag", "Betido"), std::vector<std::string>{sys::dateToText(kDay + 3)});
    EXPECT_EQ(Column("felhanyag", "Permetle"), std::vector<std::string>{"250"});
}

TEST_F(MaterialUseModifierTest, TheNutrientBoxAndTheIncorporationDate) {
    AddUse("100000", "100000", "000000", 20, "kg", -20);
    AddUse("100001", "100000", "000000", 30, "kg", -30);
    ops::UpdateRecordedUse(session, "100000", [](db::TTable& t) {
        t.FieldByName("Felelos").SetAsString("X34;5;6;");
        t.FieldByName("Betido").SetAsDateTime(kDay);
    });
    dialogs.ExpectContaining("'Kálium %'");
    Open([&](TFelhAnyMod& f) {
        EXPECT_EQ(f.Query3.FieldByName("Phat").AsString(), "5");
        f.Button18->Click();
        EXPECT_EQ(f.Edit8->Text(), "6");
        f.Edit8->SetText("hat");
        f.Button20->Click(); // nothing written
        EXPECT_EQ(Column("felhanyag", "Felelos"), (std::vector<std::string>{"X34;5;6;", ""}));
        f.Query3.Next();
        EXPECT_EQ(f.Query3.FieldByName("Nhat").AsString(), "0");
        f.Button18->Click();
        f.Edit6->SetText("");
        f.Edit7->SetText("");
        f.Edit8->SetText("");
        f.RadioButton5->SetChecked(true);
        f.Button20->Click();

        f.Button21->Click();
        EXPECT_TRUE(f.CheckBox1->Checked()); // the first row's date
        f.CheckBox1->SetChecked(false);
        f.O->Click(); // "Összesre" unticked: every date cleared
    });
    EXPECT_EQ(Column("felhanyag", "Felelos"), (std::vector<std::string>{"X34;5;6;", "X0;0;0;"}));
    EXPECT_EQ(Column("felhanyag", "Higtr", "Felhkod = '100001'"), std::vector<std::string>{"True"});
    EXPECT_EQ(Column("felhanyag", "Szervestr", "Felhkod = '100001'"),
              std::vector<std::string>{"True"});
    EXPECT_EQ(Column("felhanyag", "Betido"), (std::vector<std::string>{"", ""}));
}

// The master records no manure kind (as a fertiliser added on the stock form): the box
// shows the kind the use was recorded with, and a change of the percentages keeps it.
TEST_F(MaterialUseModifierTest, ANutrientChangeKeepsTheUsesManureKind) {
    AddUse("100000", "100000", "000000", 20, "kg", -20);
    ops::UpdateRecordedUse(session, "100000",
                           [](db::TTable& t) { t.FieldByName("Mutr").SetAsBoolean(true); });
    Open([&](TFelhAnyMod& f) {
        f.Button18->Click();
        EXPECT_TRUE(f.RadioButton3->Checked());
        f.Edit6->SetText("27");
        f.Button20->Click();
    });
    EXPECT_EQ(Column("felhanyag", "Felelos"), std::vector<std::string>{"X27;0;0;"});
    EXPECT_EQ(Column("felhanyag", "Mutr"), std::vector<std::string>{"True"});
}

TEST_F(MaterialUseModifierTest, EachActivationLeavesOneDateMarker) {
    Open([](TFelhAnyMod&) {});
    Open([](TFelhAnyMod&) {});
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Anyagkod = ''"),
              std::vector<std::string>{sys::dateToText(sys::today())});
}

} // namespace
} // namespace opstest
