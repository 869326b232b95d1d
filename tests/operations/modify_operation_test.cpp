// Modifying a recorded operation: what the form loads, what a save writes to the
// operation, its irrigation, its observation link and the uses that follow it, the checks
// before anything is written, and the way back to the chooser.

#include "operations/Felhanymodh.h"
#include "operations/Felhaszneh.h"
#include "operations/Muvmod.h"
#include "operations/Muvmodvalh.h"
#include "operations/operation_change.h"
#include "operations_fixture.h"
#include "platform/ui/db_lookup.h"
#include "resources/stock.h"

#include <QScrollBar>
#include <filesystem>
#include <gtest/gtest.h>

namespace opstest {
namespace {

const sys::DateTime kDay = sys::encodeDate(2010, 4, 1);
const char* const kOperation = "Muvkod = '100005'";

class ModifyOperationTest : public OperationsTest {
protected:
    ModifyOperationTest() {
        AddField(session, "100000", 20000, "árpa", 1);
        AddField(session, "100001", 10000, "búza", 2);
        AddType("900001", "Próbaszántás", 0, 1.5, 1);
        AddType("900002", "Próbaaratás", 4, 2, 2);
        AddRow(session, "Erogepek", [](db::TTable& t) {
            t.FieldByName("Gepkod").SetAsString("100001");
            t.FieldByName("Gepnev").SetAsString("MTZ 82");
            t.FieldByName("Geptip").SetAsString("MTZ");
        });
        AddRow(session, "Munkagepek", [](db::TTable& t) {
            t.FieldByName("Gepkod").SetAsString("100002");
            t.FieldByName("Gepnev").SetAsString("Eke");
        });
        AddOperation("100005", "100000");
        chooser = std::make_unique<ui::OwnedForm<TMuvModVal>>(MuvModVal, session);
        (*chooser)->SelectedOperationCode = "100005";
    }
    ~ModifyOperationTest() override { chooser.reset(); }

    void AddType(const std::string& kod, const std::string& name, int category, double factor,
                 int extra) {
        AddRow(session, "Normalhektar", [&](db::TTable& t) {
            t.FieldByName("Kod").SetAsString(kod);
            t.FieldByName("Muv").SetAsString(name);
            t.FieldByName("Muvid").SetAsInteger(category);
            t.FieldByName("Nha").SetAsFloat(factor);
            t.FieldByName("Extra").SetAsInteger(extra);
        });
    }
    // A ploughing of 5000 m² on field 100000 (whose register area is 20000 m²).
    void AddOperation(const std::string& muvkod, const std::string& field) {
        AddRow(session, "ElvMuv", [&](db::TTable& t) {
            t.FieldByName("Muvkod").SetAsString(muvkod);
            t.FieldByName("Tablakod").SetAsString(field);
            t.FieldByName("Datum").SetAsDateTime(kDay);
            t.FieldByName("Muvveg").SetAsDateTime(kDay + 1);
            t.FieldByName("Muvnev").SetAsString("Próbaszántás");
            t.FieldByName("Muvid").SetAsString("900001");
            t.FieldByName("Ter").SetAsInteger(5000);
            t.FieldByName("Nha").SetAsFloat(0.75);
            t.FieldByName("Erogepkod").SetAsString("100001");
            t.FieldByName("Munkagepkod").SetAsString("100002");
            t.FieldByName("Szantm").SetAsString("25");
            t.FieldByName("Gepora").SetAsFloat(2.5);
            t.FieldByName("Sorsz").SetAsInteger(7);
            t.FieldByName("Irany").SetAsString("K-NY");
            t.FieldByName("Megjegyzes").SetAsString("régi");
        });
    }
    // A use of the operation with its withdrawal.
    void AddUse(const std::string& felhkod, const std::string& muvkod, const std::string& field) {
        AddRow(session, "felhanyag", [&](db::TTable& t) {
            t.FieldByName("Felhkod").SetAsString(felhkod);
            t.FieldByName("Muvkod").SetAsString(muvkod);
            t.FieldByName("Tablakod").SetAsString(field);
            t.FieldByName("Anyagkod").SetAsString("100000");
        });
        AddRow(session, "Raktarmozgas", [&](db::TTable& t) {
            t.FieldByName("Anyagkod").SetAsString("100000");
            t.FieldByName("Menny").SetAsFloat(-10);
            t.FieldByName("Datum").SetAsDateTime(kDay);
            t.FieldByName("Felhanykod").SetAsString(felhkod);
        });
    }
    void AddIrrigation() {
        AddRow(session, "Ontozes", [](db::TTable& t) {
            t.FieldByName("Muvkod").SetAsString("100005");
            t.FieldByName("Parckod").SetAsString("100000");
            t.FieldByName("Uora").SetAsFloat(4);
            t.FieldByName("Menny").SetAsFloat(80);
        });
        db::TTable t(session);
        t.SetTableName("ElvMuv");
        t.Open();
        t.Edit();
        t.FieldByName("Evj").SetAsInteger(1);
        t.Post();
    }
    void AddObservation(const std::string& field, int sorsz) {
        AddRow(session, "Novvedmegf", [&](db::TTable& t) {
            t.FieldByName("Parc_id").SetAsString(field);
            t.FieldByName("Sorsz").SetAsInteger(sorsz);
            t.FieldByName("Datum").SetAsDateTime(kDay);
        });
    }
    void Run(std::function<void(TMuvModo&)> play) {
        forms.On<TMuvModo>(std::move(play));
        ui::ShowModalForm(MuvModo, session);
        forms.VerifyDone();
    }
    std::string Stored(const std::string& field) { return Column("ElvMuv", field, kOperation)[0]; }

    std::unique_ptr<ui::OwnedForm<TMuvModVal>> chooser;
};

TEST_F(ModifyOperationTest, TheLoadQueryNamesTheRepeatedColumnsWithTheSuffix) {
    Run([](TMuvModo& f) {
        db::TQuery& q = f.Query1;
        ASSERT_FALSE(q.IsEmpty());
        EXPECT_EQ(q.FieldByName("Ter").AsInteger(), 5000);  // the operation's area
        EXPECT_EQ(q.FieldByName("Ter_1").AsFloat(), 20000); // the field's area
        EXPECT_EQ(q.FieldByName("Agazat_1").AsString(), "árpa");
        EXPECT_EQ(q.FieldByName("Evj_1").AsInteger(), 2010);
        EXPECT_TRUE(q.FieldByName("Evj").IsNull()); // no irrigation
        EXPECT_NE(q.FindField("Masod_1"), nullptr);
        EXPECT_EQ(q.FieldByName("Gepkod").AsString(), "100001");   // the tractor
        EXPECT_EQ(q.FieldByName("Gepkod_1").AsString(), "100002"); // the implement
        EXPECT_EQ(q.FieldByName("Gepnev").AsString(), "MTZ 82");
        EXPECT_EQ(q.FieldByName("Gepnev_1").AsString(), "Eke");
        EXPECT_NE(q.FindField("Tul_1"), nullptr);
        EXPECT_NE(q.FindField("Beszev_1"), nullptr);
        EXPECT_EQ(q.FieldByName("Muvid").AsString(), "900001"); // the operation's type
        EXPECT_EQ(q.FieldByName("Muvid_1").AsInteger(), 0);     // the type's category
        EXPECT_EQ(q.FieldByName("Nha").AsFloat(), 0.75);
        EXPECT_EQ(q.FieldByName("Nha_1").AsFloat(), 1.5);
        EXPECT_EQ(q.FieldByName("Extra").AsInteger(), 1);
        f.Button1->click();
    });
}

TEST_F(ModifyOperationTest, LoadingShowsTheStoredOperation) {
    Run([](TMuvModo& f) {
        EXPECT_EQ(f.Label18->Caption(), "Próbaszántás");
        EXPECT_EQ(f.Label19->Caption(), "1. árpa/2010.");
        EXPECT_EQ(f.Edit7->Text(), "5000"); // the stored area, not the field's
        EXPECT_EQ(f.Edit5->Text(), "25");
        EXPECT_EQ(f.Label11->Caption(), "Mélység :");
        EXPECT_FALSE(f.Edit6->isVisibleTo(&f));
        EXPECT_EQ(f.Edit3->Text(), "2,5");
        EXPECT_EQ(f.Edit15->Text(), "7");
        EXPECT_EQ(f.ComboBox4->Text(), "K-NY");
        EXPECT_EQ(f.DateTimePicker1->Date(), kDay);
        EXPECT_EQ(f.DBText1->Caption(), "MTZ");
        EXPECT_EQ(f.DBText2->Caption(), "Eke");
        EXPECT_EQ(f.Label15->Caption(), "nincs kapcsolva");
        EXPECT_TRUE(f.CheckBox1->Checked()); // no irrigation row
        EXPECT_FALSE(f.GroupBox1->isVisibleTo(&f));
        EXPECT_EQ(f.Table3.FieldByName("Kod").AsString(), "900001");
        EXPECT_EQ(f.OperationFieldCode, "100000");
        EXPECT_EQ(f.ExtraKind, 1);
        f.Button1->click();
    });
}

TEST_F(ModifyOperationTest, TheGridsShowTheirTitlesAndValuesWhole) {
    AddObservation("100000", 3);
    Run([](TMuvModo& f) {
        ShowActive(f);
        for (ui::TDBGrid* grid : {f.DBGrid1, f.DBGrid3, f.DBGrid4, f.DBGrid5, f.DBGrid6})
            EXPECT_EQ(CutGridTexts(*grid), std::vector<std::string>{})
                << grid->objectName().toStdString();
        EXPECT_FALSE(f.DBGrid1->horizontalScrollBar()->isVisible()); // every field column
        f.Button1->click();
    });
}

TEST_F(ModifyOperationTest, ARemarkChangeKeepsEverythingElse) {
    Run([](TMuvModo& f) {
        f.Edit14->SetText("új megjegyzés");
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Megjegyzes"), "új megjegyzés");
    EXPECT_EQ(Stored("Ter"), "5000");
    EXPECT_EQ(Stored("Nha"), "0,75");
    EXPECT_EQ(Stored("Muvid"), "900001");
    EXPECT_EQ(Stored("Tablakod"), "100000");
    EXPECT_EQ(Stored("Erogepkod"), "100001");
    EXPECT_EQ(Stored("Munkagepkod"), "100002");
    EXPECT_EQ(Stored("Szantm"), "25");
    EXPECT_EQ(Stored("Sorsz"), "7");
    EXPECT_EQ(Stored("Gepora"), "2,5");
    EXPECT_EQ(Stored("Keziora"), "");
    EXPECT_EQ(Stored("Muvveg"), Column("ElvMuv", "Muvveg")[0]);
    // A date the row never had is not invented.
    EXPECT_EQ(Stored("Bejelido"), "");
    EXPECT_EQ(Count("Ontozes"), 0);
    EXPECT_EQ(Stored("Evj"), "");
}

// Normal hectares stored with a ceiling (as the sector form books them), an irrigation
// from the second water point, and an implement no longer in the register: a change of
// the remark alone keeps them all.
TEST_F(ModifyOperationTest, ARemarkChangeKeepsTheStoredHectaresWaterPointAndMachines) {
    for (const char* name : {"Kút 1", "Kút 2"})
        AddRow(session, "vizkivet", [&](db::TTable& t) {
            t.FieldByName("Nev").SetAsString(name);
            t.FieldByName("Deleted").SetAsBoolean(false);
        });
    AddIrrigation();
    const std::string second = Column("vizkivet", "Id", "Nev = 'Kút 2'")[0];
    {
        db::TTable t(session);
        t.SetTableName("ElvMuv");
        t.Open();
        t.Edit();
        t.FieldByName("Nha").SetAsFloat(0.76);
        t.FieldByName("Vizkivid").SetAsInteger(std::stoi(second));
        t.FieldByName("Munkagepkod").SetAsString("100077");
        t.Post();
    }
    Run([](TMuvModo& f) {
        EXPECT_EQ(f.DBLookupComboBox1->Text(), "Kút 2");
        f.Edit14->SetText("más");
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Nha"), "0,76");
    EXPECT_EQ(Stored("Vizkivid"), second);
    EXPECT_EQ(Stored("Munkagepkod"), "100077");
    // A point removed since stays the operation's until another is picked.
    {
        db::TTable t(session);
        t.SetTableName("vizkivet");
        t.SetFilter("Nev = 'Kút 2'");
        t.SetFiltered(true);
        t.Open();
        t.Edit();
        t.FieldByName("Deleted").SetAsBoolean(true);
        t.Post();
    }
    Run([](TMuvModo& f) {
        f.Edit14->SetText("még más");
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Vizkivid"), second);
    Run([](TMuvModo& f) {
        f.DBLookupComboBox1->Choose(0);
        f.Edit7->SetText("10000"); // a new area: the stored factor 1.5 again
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Vizkivid"), Column("vizkivet", "Id", "Nev = 'Kút 1'")[0]);
    EXPECT_EQ(Stored("Nha"), "1,5");
}

TEST_F(ModifyOperationTest, ANotificationTakesTheDateShown) {
    Run([](TMuvModo& f) {
        EXPECT_FALSE(f.Edit16->isVisibleTo(&f));
        f.CheckBox2->SetChecked(true);
        f.CheckBox2Click(f.CheckBox2);
        EXPECT_TRUE(f.Edit16->isVisibleTo(&f));
        f.Edit16->SetText("talajművelés");
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Bejelkot"), "True");
    EXPECT_EQ(Stored("Tajkotmegnev"), "talajművelés");
    EXPECT_EQ(Stored("Bejelido"), Stored("Datum"));
}

TEST_F(ModifyOperationTest, ChangingOnlyTheCategoryKeepsTheStoredFactor) {
    AddType("900003", "AAA első típus", 3, 9, 0);
    Run([](TMuvModo& f) {
        f.ComboBox3->SetItemIndex(3);
        f.ComboBox3Change(f.ComboBox3);
        ASSERT_EQ(f.Table3.FieldByName("Nha").AsFloat(), 9); // the list moved on
        f.Edit7->SetText("10000");
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Nha"), "1,5"); // 10000 m² x 1.5 x 0.0001
    EXPECT_EQ(Stored("Ter"), "10000");
    EXPECT_EQ(Stored("Muvid"), "900001");
    EXPECT_EQ(Stored("Muvnev"), "Próbaszántás");
}

TEST_F(ModifyOperationTest, ATypedCategoryThatIsNoItemKeepsTheList) {
    dialogs.Expect("A műveletek kategóriáit nem lehet módosítani !");
    Run([](TMuvModo& f) {
        f.ComboBox3->SetText("Permetezés");
        f.ComboBox3Change(f.ComboBox3);
        EXPECT_EQ(f.Table3.FieldByName("Kod").AsString(), "900001");
        f.Button2->click();
    });
    dialogs.VerifyDone();
    EXPECT_EQ(dialogs.Shown()[0].caption, "Helytelen kategóriaszűrés!");
    EXPECT_EQ(Stored("Muvid"), "900001");
    EXPECT_EQ(Stored("Nha"), "0,75");
}

TEST_F(ModifyOperationTest, APickedTypeWritesItsNameCodeFactorAndExtraValues) {
    AddType("900003", "Próbaaratás", 4, 2, 2); // the same name: the pick is by code
    Run([](TMuvModo& f) {
        f.ComboBox3->SetItemIndex(4);
        f.ComboBox3Change(f.ComboBox3);
        f.DBLookupListBox1->SetKeyValue(db::Value(std::string("900003")));
        f.DBLookupListBox1Click(f.DBLookupListBox1);
        EXPECT_TRUE(f.TypeChanged);
        EXPECT_EQ(f.Label11->Caption(), "Hozam :");
        EXPECT_TRUE(f.Edit6->isVisibleTo(&f));
        f.Edit5->SetText("4,5");
        f.Edit6->SetText("szalma");
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Muvnev"), "Próbaaratás");
    EXPECT_EQ(Stored("Muvid"), "900003");
    EXPECT_EQ(Stored("Nha"), "1"); // 5000 m² x 2 x 0.0001
    EXPECT_EQ(Stored("Hozam"), "4,5");
    EXPECT_EQ(Stored("Mellek"), "szalma");
}

TEST_F(ModifyOperationTest, AnotherFieldTakesTheOperationWithItsUsesAndIrrigation) {
    AddUse("100000", "100005", "100000");
    AddUse("100001", "100006", "100000"); // another operation's use stays
    AddIrrigation();
    AddObservation("100001", 3);
    Run([](TMuvModo& f) {
        ASSERT_TRUE(f.Table1.Locate("Parckod", {db::Value(std::string("100001"))}));
        EXPECT_EQ(f.Edit7->Text(), "10000");
        EXPECT_EQ(f.Label19->Caption(), "2 búza/2010.");
        f.Button9->click();
        EXPECT_EQ(f.Table8.RecordCount(), 1); // the new field's observations
        f.Button28->click();
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Tablakod"), "100001");
    EXPECT_EQ(Stored("Ter"), "10000");
    EXPECT_EQ(Column("felhanyag", "Tablakod", "Muvkod = '100005'"),
              std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("felhanyag", "Tablakod", "Muvkod = '100006'"),
              std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("Raktarmozgas", "Menny"), (std::vector<std::string>{"-10", "-10"}));
    EXPECT_EQ(Column("Ontozes", "Parckod"), std::vector<std::string>{"100001"});
}

// 200 kg/ha of a fertiliser on the operation's 5000 m²: 100 kg booked, 300 kg bought.
class AreaWithdrawalTest : public ModifyOperationTest {
protected:
    AreaWithdrawalTest() {
        AddFertiliser(session, "100000", "Pétisó", "kg");
        Book("100000", 300, kDay - 1);
        AddRow(session, "felhanyag", [](db::TTable& t) {
            t.FieldByName("Felhkod").SetAsString("100000");
            t.FieldByName("Muvkod").SetAsString("100005");
            t.FieldByName("Tablakod").SetAsString("100000");
            t.FieldByName("Anyagkod").SetAsString("100000");
            t.FieldByName("Menny").SetAsFloat(200);
            t.FieldByName("Mert").SetAsString("kg");
        });
        Book("100000", -100, kDay, "100000");
    }
    void Book(const std::string& kod, double quantity, sys::DateTime day,
              const std::string& felhkod = "") {
        AddRow(session, "Raktarmozgas", [&](db::TTable& t) {
            t.FieldByName("Anyagkod").SetAsString(kod);
            t.FieldByName("Menny").SetAsFloat(quantity);
            t.FieldByName("Datum").SetAsDateTime(day);
            t.FieldByName("Felhanykod").SetAsString(felhkod);
        });
    }
    void MoveTo(const std::string& field) {
        Run([&](TMuvModo& f) {
            ASSERT_TRUE(f.Table1.Locate("Parckod", {db::Value(field)}));
            f.Button2->click();
            if (f.ModalResult() == ui::mrNone)
                f.Button1->click();
        });
    }
};

TEST_F(AreaWithdrawalTest, ANewAreaTakesTheDosePerHectareFromStock) {
    MoveTo("100001"); // 10000 m²: 200 kg
    EXPECT_EQ(Stored("Ter"), "10000");
    EXPECT_EQ(Column("Raktarmozgas", "Menny", "Felhanykod = '100000'"),
              std::vector<std::string>{"-200"});
    EXPECT_DOUBLE_EQ(res::StockOnDate(session, "100000", kDay), 100);
    dialogs.Expect("Nincs elegendő mennyiség raktáron ! (dátum szerint)");
    MoveTo("100000"); // back to 20000 m²: 400 kg, 100 kg more than the stock
    dialogs.VerifyDone();
    EXPECT_EQ(Stored("Tablakod"), "100001");
    EXPECT_EQ(Column("Raktarmozgas", "Menny", "Felhanykod = '100000'"),
              std::vector<std::string>{"-200"});
}

TEST_F(AreaWithdrawalTest, ASmallerAreaGivesBackAndTheSameAreaKeepsTheBooking) {
    Run([](TMuvModo& f) {
        f.Edit7->SetText("2500");
        f.Button2->click();
    });
    EXPECT_EQ(Column("Raktarmozgas", "Menny", "Felhanykod = '100000'"),
              std::vector<std::string>{"-50"});
    Run([](TMuvModo& f) {
        f.Edit14->SetText("csak megjegyzés");
        f.Button2->click();
    });
    EXPECT_EQ(Column("Raktarmozgas", "Menny", "Felhanykod = '100000'"),
              std::vector<std::string>{"-50"});
    EXPECT_DOUBLE_EQ(res::StockOnDate(session, "100000", kDay), 250);
}

TEST_F(AreaWithdrawalTest, WithoutStockKeepingANewAreaTouchesNoWithdrawal) {
    AddRow(session, "Alapadatok", [](db::TTable& t) {
        t.FieldByName("Nev").SetAsString("_kesz");
        t.FieldByName("Cim").SetAsString("no");
    });
    MoveTo("100001"); // 10000 m²: saved without asking the stock
    EXPECT_EQ(Stored("Ter"), "10000");
    EXPECT_EQ(Column("Raktarmozgas", "Menny", "Felhanykod = '100000'"),
              std::vector<std::string>{"-100"});
}

// The material dialog dates a new withdrawal with the date as edited; when the change is
// then not saved, the withdrawal goes back to the operation's date.
TEST_F(AreaWithdrawalTest, AnUnsavedDateLeavesTheWithdrawalsOnTheStoredOne) {
    forms.On<TFelhAnyMod>([](TFelhAnyMod& f) {
        f.Button3->Click();
        f.DBLookupComboBox1->Choose(0);
        f.Edit2->SetText("10");
        f.Button12->Click();
        f.Button5->Click();
    });
    Run([](TMuvModo& f) {
        f.DateTimePicker1->SetDate(kDay + 3);
        f.Button5->click();
        f.Button1->click();
    });
    EXPECT_EQ(Column("Raktarmozgas", "Menny", "Felhanykod = '100001'"),
              std::vector<std::string>{"-5"});
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Felhanykod <> ''"),
              (std::vector<std::string>{sys::dateToText(kDay), sys::dateToText(kDay)}));
    EXPECT_EQ(Stored("Datum"), sys::dateToText(kDay));
}

TEST_F(ModifyOperationTest, ALockedAreaStaysWhenTheFieldChanges) {
    Run([](TMuvModo& f) {
        f.Edit7->SetEnabled(false); // as after the material uses were changed
        ASSERT_TRUE(f.Table1.Locate("Parckod", {db::Value(std::string("100001"))}));
        EXPECT_EQ(f.Edit7->Text(), "5000");
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Tablakod"), "100001");
    EXPECT_EQ(Stored("Ter"), "5000");
}

TEST_F(ModifyOperationTest, AnotherDateTakesTheWithdrawalsOfTheUses) {
    AddUse("100000", "100005", "100000");
    AddUse("100001", "100006", "100000");
    Run([](TMuvModo& f) {
        f.DateTimePicker1->SetDate(kDay + 3);
        f.DateTimePicker2->SetDate(kDay + 3); // the end moves with it
        f.Button2->click();
    });
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Felhanykod = '100000'"),
              Column("ElvMuv", "Datum", kOperation));
    EXPECT_NE(Column("Raktarmozgas", "Datum", "Felhanykod = '100001'"),
              Column("ElvMuv", "Datum", kOperation));
}

TEST_F(ModifyOperationTest, IrrigationIsWrittenWithItsWaterPoint) {
    AddRow(session, "vizkivet", [](db::TTable& t) {
        t.FieldByName("Nev").SetAsString("Kút");
        t.FieldByName("Deleted").SetAsBoolean(false);
    });
    Run([](TMuvModo& f) {
        f.Button6->click();
        f.CheckBox1->SetChecked(false);
        f.Edit1->SetText("6");
        f.Edit11->SetText("3,5");
        f.Edit12->SetText("120");
        f.Button7->click();
        EXPECT_FALSE(f.GroupBox1->isVisibleTo(&f));
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Evj"), "1");
    EXPECT_EQ(Stored("Vizkivid"), Column("vizkivet", "Id")[0]);
    EXPECT_EQ(Column("Ontozes", "Muvkod"), std::vector<std::string>{"100005"});
    EXPECT_EQ(Column("Ontozes", "Parckod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Column("Ontozes", "Ko"), std::vector<std::string>{"6"});
    EXPECT_EQ(Column("Ontozes", "Uora"), std::vector<std::string>{"3,5"});
    EXPECT_EQ(Column("Ontozes", "Menny"), std::vector<std::string>{"120"});
}

TEST_F(ModifyOperationTest, WithoutAWaterPointIrrigationNamesPointZero) {
    Run([](TMuvModo& f) {
        f.CheckBox1->SetChecked(false);
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Vizkivid"), "0");
    EXPECT_EQ(Count("Ontozes"), 1);
}

TEST_F(ModifyOperationTest, NoIrrigationRemovesTheRowAndTheMark) {
    AddIrrigation();
    Run([](TMuvModo& f) {
        EXPECT_FALSE(f.CheckBox1->Checked());
        EXPECT_EQ(f.Edit11->Text(), "4");
        EXPECT_EQ(f.Edit12->Text(), "80");
        f.CheckBox1->SetChecked(true);
        f.Button2->click();
    });
    EXPECT_EQ(Count("Ontozes"), 0);
    EXPECT_EQ(Stored("Evj"), "");
}

TEST_F(ModifyOperationTest, ATickedObservationReplacesTheLinkAndAnUntickedOneKeepsIt) {
    AddObservation("100000", 1);
    AddObservation("100000", 2);
    const auto ids = Column("Novvedmegf", "Id");
    AddRow(session, "muv_novmegf", [&](db::TTable& t) {
        t.FieldByName("Muvid").SetAsString("100005");
        t.FieldByName("Megfid").SetAsString(ids[0]);
    });
    Run([](TMuvModo& f) {
        EXPECT_EQ(f.Label15->Caption(), "1 / 2010. 04. 01.");
        f.Button9->click();
        f.Table8.Last();
        f.Button28->click();
        f.Button2->click();
    });
    EXPECT_EQ(Column("muv_novmegf", "Megfid"), std::vector<std::string>{ids[0]});
    Run([](TMuvModo& f) {
        f.Button9->click();
        f.CheckBox3->SetChecked(true);
        f.CheckBox3Click(f.CheckBox3);
        EXPECT_TRUE(f.DBGrid6->Enabled());
        f.Table8.Last();
        EXPECT_EQ(f.Label15->Caption(), "2 / 2010. 04. 01.");
        f.Button28->click();
        f.Button2->click();
    });
    EXPECT_EQ(Column("muv_novmegf", "Megfid"), std::vector<std::string>{ids[1]});
    EXPECT_EQ(Column("muv_novmegf", "Muvid"), std::vector<std::string>{"100005"});
}

TEST_F(ModifyOperationTest, EveryValueIsCheckedBeforeAnythingIsWritten) {
    dialogs.Expect("Hiba! A(z) 'Terület' értéke nem egész szám !");
    dialogs.Expect("Kérem a 'Terület' értékét megadni !");
    dialogs.Expect("A(z) 'Terület' értéke nem lehet nulla vagy negatív !");
    dialogs.Expect("A(z) 'Mennyiség' értéke nem szám !");
    Run([this](TMuvModo& f) {
        f.CheckBox1->SetChecked(false);
        f.Edit11->SetText("2");
        f.Edit14->SetText("nem marad");
        f.Edit7->SetText("12a");
        f.Button2->click(); // refused: the form stays open
        EXPECT_EQ(Count("Ontozes"), 0);
        f.Edit7->SetText("");
        f.Button2->click();
        f.Edit7->SetText("0");
        f.Button2->click();
        f.Edit7->SetText("5000");
        f.Edit12->SetText("sok");
        f.Button2->click();
        f.Button1->click();
    });
    EXPECT_EQ(Count("Ontozes"), 0);
    EXPECT_EQ(Stored("Evj"), "");
    EXPECT_EQ(Stored("Megjegyzes"), "régi");
    dialogs.VerifyDone();
}

// An operation covers at most its field, and its start never moves past its end.
TEST_F(ModifyOperationTest, AnAreaAboveTheFieldsOrAStartPastTheEndIsRefused) {
    dialogs.Expect("A(z) 'Terület' értéke nem lehet nagyobb, mint a tábla területe (20000) !");
    dialogs.Expect("A(z) 'Vége' nem lehet korábbi, mint a(z) 'Kezdete' (2010. 04. 05.) !");
    Run([this](TMuvModo& f) {
        f.Edit7->SetText("30000");
        f.Button2->click();
        f.Edit7->SetText("20000");
        f.DateTimePicker1->SetDate(kDay + 4); // the stored end is kDay + 1
        f.Button2->click();
        f.Button1->click();
    });
    EXPECT_EQ(Stored("Ter"), "5000");
    EXPECT_EQ(Stored("Datum"), sys::dateToText(kDay));
    dialogs.VerifyDone();
}

TEST_F(ModifyOperationTest, ASaveThatFailsHalfWayWritesNothing) {
    AddObservation("100000", 1);
    AddUse("100000", "100005", "100000");
    ops::OperationChange change;
    change.muvkod = "100005";
    change.field = "100001";
    change.date = kDay + 5;
    change.area = 10000;
    change.factor = 1.5;
    change.remark = "elveszik";
    change.irrigation = ops::Irrigation{};
    change.observation = 1;
    // The link table is gone: its write fails after the operation and irrigation rows.
    std::filesystem::remove(session.tablePath("muv_novmegf"));
    EXPECT_ANY_THROW(ops::SaveOperationChange(session, change));
    EXPECT_EQ(Stored("Megjegyzes"), "régi");
    EXPECT_EQ(Stored("Tablakod"), "100000");
    EXPECT_EQ(Count("Ontozes"), 0);
    EXPECT_EQ(Column("felhanyag", "Tablakod"), std::vector<std::string>{"100000"});
}

TEST_F(ModifyOperationTest, AnOperationDeletedMeanwhileIsNotWrittenAgain) {
    dialogs.Expect("A módosítandó művelet már nem létezik, a módosítás nem rögzíthető !");
    Run([this](TMuvModo& f) {
        db::TTable t(session);
        t.SetTableName("ElvMuv");
        t.Open();
        t.Delete();
        f.Edit14->SetText("késő");
        f.CheckBox1->SetChecked(false);
        f.Button2->click();
    });
    EXPECT_EQ(Count("ElvMuv"), 0);
    EXPECT_EQ(Count("Ontozes"), 0);
    dialogs.VerifyDone();
}

TEST_F(ModifyOperationTest, AMissingOperationIsReported) {
    (*chooser)->SelectedOperationCode = "999999";
    dialogs.Expect("Kérem ellenőrizze a tábla helyességét !");
    Run([](TMuvModo& f) {
        EXPECT_EQ(f.Edit7->Text(), "");
        f.Button1->click();
    });
    dialogs.VerifyDone();
}

TEST_F(ModifyOperationTest, TheMachineDialogStartsFromTheStoredMachines) {
    for (int opening = 0; opening < 2; ++opening)
        forms.On<TFelhaszE>([](TFelhaszE& dialog) {
            EXPECT_EQ(dialog.TractorCode, "100001");
            EXPECT_EQ(dialog.ImplementCode, "100002");
            dialog.TractorCode = "100000";
            dialog.MachinesChosen = true;
            dialog.Close();
        });
    Run([](TMuvModo& f) {
        f.Button3->click();
        EXPECT_EQ(f.DBText1->Caption(), "---");
        f.Button3->click();
        f.Button2->click();
    });
    EXPECT_EQ(Stored("Erogepkod"), "100000");
    EXPECT_EQ(Stored("Munkagepkod"), "100002");
}

TEST_F(ModifyOperationTest, WaterPointsAreKeptAtOnceAndTheChosenOneIsSaved) {
    dialogs.ExpectContaining("'Üzemóra'");
    Run([](TMuvModo& f) {
        f.Button6->click();
        f.Button20->click();
        for (const char* name : {"Kút 1", "Kút 2"}) {
            f.Button23->click();
            EXPECT_EQ(f.GroupBox5->Caption(), "Vízkivételi hely létrehozása");
            f.Table7.FieldByName("Nev").SetAsString(name);
            f.Button26->click();
        }
        f.Button22->click();
        EXPECT_EQ(f.GroupBox5->Caption(), "Vízkivételi hely módosítása");
        EXPECT_FALSE(f.DBGrid5->isEnabled() || f.Button2->isEnabled()); // two boxes deep
        f.Table7.FieldByName("Hely").SetAsString("Tanya");
        f.Button26->click();
        f.Button23->click();
        f.Button25->click(); // a new point dropped
        f.Table7.First();
        f.Button24->click(); // "Kút 1" leaves the lists
        f.Button21->click();
        f.DBLookupComboBox1->Choose(0);
        f.CheckBox1->SetChecked(false);
        f.Edit11->SetText("öt");
        f.Button7->click(); // refused: the group stays
        EXPECT_TRUE(f.GroupBox1->isVisibleTo(&f));
        f.Edit11->SetText("5");
        f.Button7->click();
        f.Button2->click();
    });
    EXPECT_EQ(Column("vizkivet", "Nev"), (std::vector<std::string>{"Kút 1", "Kút 2"}));
    EXPECT_EQ(Column("vizkivet", "Deleted"), (std::vector<std::string>{"True", "False"}));
    EXPECT_EQ(Column("vizkivet", "Hely", "Nev = 'Kút 2'"), std::vector<std::string>{"Tanya"});
    EXPECT_EQ(Stored("Vizkivid"), Column("vizkivet", "Id", "Nev = 'Kút 2'")[0]);
    dialogs.VerifyDone();
}

TEST_F(ModifyOperationTest, WorkersAreWrittenAtOnceAndStayAfterCancel) {
    AddRow(session, "Szemely", [](db::TTable& t) {
        t.FieldByName("Szid").SetAsInteger(4);
        t.FieldByName("Sznev").SetAsString("Kiss Anna");
        t.FieldByName("Deleted").SetAsBoolean(false);
    });
    Run([](TMuvModo& f) {
        f.Button8->click();
        f.Button16->click();
        f.Button16->click();
        EXPECT_EQ(f.Query2.RecordCount(), 2);
        f.Button17->click();
        EXPECT_EQ(f.Query2.RecordCount(), 1);
        f.Button18->click();
        f.Button1->click();
    });
    EXPECT_EQ(Column("Munkavegz", "Muvkod"), std::vector<std::string>{"100005"});
    EXPECT_EQ(Column("Munkavegz", "Szemkod"), std::vector<std::string>{"4"});
}

TEST_F(ModifyOperationTest, AnotherChangeIsOfferedAfterEachModification) {
    AddRow(session, "tablak", [](db::TTable& t) { t.FieldByName("Helysz").SetAsString("Dűlő"); });
    AddOperation("100006", "100001");
    chooser.reset();
    forms.On<TMuvModVal>([&](TMuvModVal& f) {
        EXPECT_EQ(f.Query2.RecordCount(), 1); // the first field's operations
        f.Button3->click();
        EXPECT_EQ(f.SelectedOperationCode, "100005");
        EXPECT_EQ(f.Query2.RecordCount(), 2); // Yes: every operation, changes included
        EXPECT_EQ(f.Query2.FieldByName("Megjegyzes").AsString(), "első");
        f.Query2.Last();
        f.Button3->click(); // No: the chooser closes
    });
    forms.On<TMuvModo>([](TMuvModo& f) {
        f.Edit14->SetText("első");
        f.Button2->click();
    });
    forms.On<TMuvModo>([](TMuvModo& f) {
        EXPECT_EQ(f.OperationFieldCode, "100001");
        f.Button1->click();
    });
    dialogs.Expect("Kér-e további módosítást ?", ui::mrYes);
    dialogs.Expect("Kér-e további módosítást ?", ui::mrNo);
    ui::ShowModalForm(MuvModVal, session);
    forms.VerifyDone();
    dialogs.VerifyDone();
    EXPECT_EQ(dialogs.Shown()[0].caption, "További módosítás?");
}

} // namespace
} // namespace opstest
