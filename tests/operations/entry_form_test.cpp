// The operation entry form end to end: choosing fields, a type, materials and machines,
// saving, cancelling, closing, and the checks before anything is written.

#include "core/Folap.h"
#include "core/catalogue.h"
#include "operations/Anyagfelv.h"
#include "operations/Felhaszneh.h"
#include "operations/Muvadatf.h"
#include "operations/Tovabbiaf.h"
#include "operations_fixture.h"
#include "platform/sys/numbers.h"

#include <QWidget>
#include <filesystem>
#include <gtest/gtest.h>

namespace opstest {
namespace {

const sys::DateTime kDay = sys::encodeDate(2010, 3, 5);

class EntryFormTest : public OperationsTest {
protected:
    EntryFormTest() {
        AddField(session, "100001", 10000, "búza", 1);
        AddField(session, "100002", 10000, "búza", 2);
        AddField(session, "100003", 5000, "O'Brien kukorica", 3);
        AddFertiliser(session, "100000", "Pétisó", "kg");
        Buy(session, "100000", 600, kDay - 10);
    }

    static void Select(TMuvadat& form, const std::vector<std::string>& codes) {
        for (const auto& code : codes) {
            ASSERT_TRUE(form.Table8.Locate("Parckod", {db::Value(code)})) << code;
            form.DBGrid2->SelectedRows().SetCurrentRowSelected(true);
        }
        form.DBGrid2CellClick(form.DBGrid2->Columns()[0]);
    }
    // Chooses the first type of a category.
    static void ChooseType(TMuvadat& form, int category, const std::string& name) {
        form.ComboBox2->SetItemIndex(category);
        form.ComboBox2Change(form.ComboBox2);
        ASSERT_TRUE(form.Table2.Locate("Muv", {db::Value(name)})) << name;
        form.DBLookupListBox1->SetKeyValue(form.Table2.FieldByName("Kod").AsValue());
        form.DBLookupListBox1Click(form.DBLookupListBox1);
    }
    // Posts a fertiliser dose through the material dialog, answering "Nem".
    void ExpectFertiliser(const std::string& dose) {
        forms.On<TAnyagfel>([dose](TAnyagfel& dialog) {
            dialog.PageControl1->SetActivePageIndex(0);
            dialog.Edit10->SetText(dose);
            dialog.Button2->click();
            if (dialog.ModalResult() == ui::mrNone)
                dialog.Close();
        });
    }
    void Run(std::function<void(TMuvadat&)> play, const std::string& planMode = "") {
        forms.On<TMuvadat>(std::move(play));
        ui::OwnedForm<TMuvadat> form(Muvadat, session);
        form->PlanMode = planMode;
        form->ShowModal();
    }
};

TEST_F(EntryFormTest, ThreeFieldsWithAFertiliserAreSavedWithTheirWithdrawals) {
    ExpectFertiliser("200");
    forms.On<TTovabbia>([](TTovabbia& ask) { ask.Button2->click(); });
    Run([](TMuvadat& form) {
        form.DateTimePicker1->SetDate(kDay);
        Select(form, {"100001", "100002", "100003"});
        EXPECT_EQ(form.Edit5->Text(), "25000");
        EXPECT_FALSE(form.Edit5->Enabled());
        form.Button1->click();
        EXPECT_TRUE(form.MaterialsLocked());
        EXPECT_FALSE(form.DBGrid2->Enabled());
        EXPECT_FALSE(form.DateTimePicker1->Enabled());
        ChooseType(form, 2, "műtrágyaszórás");
        form.Edit2->SetText("5");
        form.Button2->click();
    });
    forms.VerifyDone();
    EXPECT_EQ(Column("ElvMuv", "Muvkod"), (std::vector<std::string>{"100000", "100001", "100002"}));
    EXPECT_EQ(Column("ElvMuv", "Muvnev"), std::vector<std::string>(3, "műtrágyaszórás"));
    EXPECT_EQ(Column("ElvMuv", "Gepora"), (std::vector<std::string>{"2", "2", "1"}));
    EXPECT_EQ(Column("felhanyag", "Muvkod"),
              (std::vector<std::string>{"100000", "100001", "100002"}));
    EXPECT_EQ(Column("Raktarmozgas", "Menny", "Felhanykod <> ''"),
              (std::vector<std::string>{"-200", "-200", "-100"}));
    EXPECT_EQ(Column("Raktarmozgas", "Datum", "Felhanykod <> ''"),
              std::vector<std::string>(3, sys::dateToText(kDay)));
    EXPECT_NEAR(res::StockOnDate(session, "100000", kDay), 100, 1e-9);
}

TEST_F(EntryFormTest, CancellingLeavesNoTrace) {
    ExpectFertiliser("100");
    forms.On<TTovabbia>([](TTovabbia& ask) { ask.Button2->click(); });
    AddRow(session, "Szemely", [](db::TTable& t) {
        t.FieldByName("Szid").SetAsInteger(1);
        t.FieldByName("Sznev").SetAsString("Kovács János");
        t.FieldByName("Deleted").SetAsBoolean(false);
    });
    Run([](TMuvadat& form) {
        Select(form, {"100001", "100002"});
        form.Button1->click();
        form.Button15->click();
        form.Button16->click();
        EXPECT_EQ(form.Query2.RecordCount(), 1);
        form.Button3->click();
    });
    EXPECT_EQ(Count("felhanyag"), 0);
    EXPECT_EQ(Count("Munkavegz"), 0);
    EXPECT_EQ(Count("Raktarmozgas", "Datum = NULL"), 0);
    EXPECT_EQ(Count("ElvMuv"), 0);
    EXPECT_NEAR(res::StockOnDate(session, "100000", kDay), 600, 1e-9);
}

TEST_F(EntryFormTest, ClosingWithPostedMaterialsAsksAndNoKeepsTheForm) {
    ExpectFertiliser("100");
    forms.On<TTovabbia>([](TTovabbia& ask) { ask.Button2->click(); });
    dialogs.ExpectContaining("anyagfelhasználások elvesznek", ui::mrNo);
    dialogs.ExpectContaining("anyagfelhasználások elvesznek", ui::mrYes);
    // After No the form is still open with its pending use; Yes then closes it.
    forms.On<TMuvadat>([](TMuvadat& form) {
        Select(form, {"100001"});
        form.Button1->click();
        form.Close();
    });
    forms.On<TMuvadat>([this](TMuvadat& form) {
        EXPECT_EQ(Count("felhanyag", "Muvkod = ''"), 1);
        form.Close();
    });
    {
        ui::OwnedForm<TMuvadat> form(Muvadat, session);
        form->ShowModal();
    }
    forms.VerifyDone();
    dialogs.VerifyDone();
    EXPECT_EQ(Count("felhanyag"), 0);
    EXPECT_EQ(Count("Raktarmozgas", "Datum = NULL"), 0);
}

TEST_F(EntryFormTest, StalePendingRowsAreRemovedWhenTheFormOpens) {
    AddPendingUse(session, "100000", "100001", "100000", -50);
    AddPendingWorker(session, 1);
    Run([](TMuvadat& form) {
        Select(form, {"100001"});
        ChooseType(form, 0, "tárcsázás");
        form.Button2->click();
    });
    EXPECT_EQ(Count("ElvMuv"), 1);
    EXPECT_EQ(Count("felhanyag"), 0);
    EXPECT_EQ(Count("Munkavegz"), 0);
    EXPECT_EQ(Count("Raktarmozgas"), 1);
}

TEST_F(EntryFormTest, ASaveRefusedByAnyCheckWritesNothing) {
    AddPendingUse(session, "100000", "100001", "100000", -50);
    dialogs.Expect("Nincs tábla kijelölve !");
    dialogs.Expect("A művelet típusát és a megnevezést kérem megadni !");
    dialogs.ExpectContaining("'Gépóra'");
    dialogs.Expect("A(z) 'Gépóra' értéke nem lehet negatív !");
    dialogs.Expect("A(z) 'Terület' értéke nem lehet nulla vagy negatív !");
    dialogs.ExpectContaining("'Sorszám'");
    dialogs.ExpectContaining("'Mennyiség'");
    dialogs.Expect("A művelet típusát és a megnevezést kérem megadni !");
    Run([this](TMuvadat& form) {
        // The stale rows went when the form opened; these are this entry's own.
        AddPendingUse(session, "100000", "100001", "100000", -50);
        form.Button2->click();
        Select(form, {"100001"});
        form.Button2->click();
        ChooseType(form, 0, "tárcsázás");
        form.Edit2->SetText("öt");
        form.Button2->click();
        form.Edit2->SetText("-5");
        form.Button2->click();
        form.Edit2->SetText("");
        const std::string area = form.Edit5->Text();
        form.Edit5->SetText("-300");
        form.Button2->click();
        form.Edit5->SetText(area);
        form.Edit15->SetText("1a");
        form.Button2->click();
        form.Edit15->SetText("3");
        form.IrrigationEntered = true;
        form.Edit12->SetText("sok");
        form.Button2->click();
        form.IrrigationEntered = false;
        form.ComboBox2->SetItemIndex(3); // another category: its first type was not picked
        form.ComboBox2Change(form.ComboBox2);
        form.Button2->click();
        EXPECT_EQ(Count("ElvMuv"), 0);
        EXPECT_EQ(Count("Raktarmozgas", "Datum = NULL"), 1);
        form.Button3->click();
    });
    dialogs.VerifyDone();
}

// One field's operation covers more than nothing and at most the field, and ends no earlier
// than it starts.
TEST_F(EntryFormTest, AnAreaOfNothingOrAboveTheFieldsOrAnEndBeforeTheStartIsRefused) {
    dialogs.Expect("A(z) 'Terület' értéke nem lehet nagyobb, mint a tábla területe (10000) !");
    dialogs.Expect("A(z) 'Terület' értéke nem lehet nulla vagy negatív !");
    dialogs.Expect("A(z) 'Vége' nem lehet korábbi, mint a(z) 'Kezdete' (2024. 06. 05.) !");
    Run([this](TMuvadat& form) {
        Select(form, {"100001"});
        ChooseType(form, 0, "tárcsázás");
        form.Edit5->SetText("60000");
        form.Button2->click();
        form.Edit5->SetText("0");
        form.Button2->click();
        form.Edit5->SetText("10000");
        form.DateTimePicker1->SetDate(sys::encodeDate(2024, 6, 5));
        form.DateTimePicker2->SetDate(sys::encodeDate(2024, 6, 1));
        form.Button2->click();
        EXPECT_EQ(Count("ElvMuv"), 0);
        form.Button3->click();
    });
    dialogs.VerifyDone();
}

TEST_F(EntryFormTest, FieldsOfZeroAreaAreRefused) {
    session.setDomainCatalogue({}); // a field stored before areas were checked
    AddField(session, "100004", 0, "búza", 4);
    session.setDomainCatalogue(core::DefinedFields);
    dialogs.Expect("A(z) 'Terület' értéke nem lehet nulla vagy negatív !");
    Run([this](TMuvadat& form) {
        Select(form, {"100004"});
        ChooseType(form, 0, "tárcsázás");
        form.Edit2->SetText("2");
        form.Button2->click();
        EXPECT_EQ(Count("ElvMuv"), 0);
        form.Button3->click();
    });
}

TEST_F(EntryFormTest, ASectorWithAnApostropheFiltersTheFields) {
    Run([](TMuvadat& form) {
        form.Button8->click();
        form.ComboBox3->SetText("O'Brien kukorica");
        form.Button9->click();
        EXPECT_EQ(form.Table8.RecordCount(), 1);
        EXPECT_EQ(form.Table8.FieldByName("Parckod").AsString(), "100003");
        form.ComboBox3->SetText("összes");
        form.Button9->click();
        EXPECT_EQ(form.Table8.RecordCount(), 3);
        form.Button3->click();
    });
}

// The done-operations grid shows only with its option on; "Rendben" lies inside the
// narrow form too, where a plan (whose toggle is disabled) could not widen it.
TEST_F(EntryFormTest, PlanModeWritesThePlannedTwinsAndNoObservationLink) {
    AddRow(session, "Novvedmegf",
           [](db::TTable& t) { t.FieldByName("Parc_id").SetAsString("100001"); });
    Run([](TMuvadat& form) {
        EXPECT_TRUE(form.DBGrid1->isHidden());
        EXPECT_LE(form.Button2->geometry().right(), form.ClientWidth());
        form.Button3->click();
    });
    NumericInt->SetOptionFlag("_MuvFormEddig", true);
    Run(
        [](TMuvadat& form) {
            EXPECT_EQ(form.Caption(), "Elvégzendő Művelte Tervezése");
            EXPECT_FALSE(form.DBGrid1->isHidden());
            EXPECT_FALSE(form.Button11->Enabled());
            EXPECT_LE(form.Button2->geometry().right(), form.ClientWidth());
            Select(form, {"100001"});
            ChooseType(form, 3, "permetezés");
            form.Button27->click();
            form.CheckBox3->SetChecked(true);
            form.Button28->click();
            form.Button2->click();
        },
        "terv");
    EXPECT_EQ(Column("Tervelvmuv", "Muvkod"), std::vector<std::string>{"100000"});
    EXPECT_EQ(Count("ElvMuv"), 0);
    EXPECT_EQ(Count("muv_novmegf"), 0);
}

TEST_F(EntryFormTest, AnObservationIsLinkedToAPerformedOperation) {
    AddRow(session, "Novvedmegf",
           [](db::TTable& t) { t.FieldByName("Parc_id").SetAsString("100001"); });
    Run([](TMuvadat& form) {
        Select(form, {"100001"});
        ChooseType(form, 3, "permetezés");
        form.Button27->click();
        form.CheckBox3->SetChecked(true);
        form.Button28->click();
        form.Button2->click();
    });
    EXPECT_EQ(Column("muv_novmegf", "Muvid"), std::vector<std::string>{"100000"});
}

TEST_F(EntryFormTest, TheLastFieldIsRememberedAndShownNextTime) {
    std::unique_ptr<ui::OwnedForm<TFolap1>> main;
    main = std::make_unique<ui::OwnedForm<TFolap1>>(Folap1, session);
    Folap1->SetLastFieldCode("xxxxxx");
    Run([](TMuvadat& form) {
        Select(form, {"100001", "100002"});
        ChooseType(form, 0, "tárcsázás");
        form.Button2->click();
    });
    EXPECT_EQ(Folap1->LastFieldCode(), "100002");
    Run([](TMuvadat& form) {
        EXPECT_EQ(form.Table8.FieldByName("Parckod").AsString(), "100002");
        EXPECT_EQ(form.DBGrid2->SelectedRows().Count(), 0);
        form.Button3->click();
    });
    main.reset();
}

TEST_F(EntryFormTest, MachineChoiceWithoutMachinesGivesTheNoMachineCode) {
    forms.On<TFelhaszE>([](TFelhaszE& dialog) {
        dialog.Button1->click(); // a service provider's tractor, but none named
        dialog.Button4->click();
    });
    Run([](TMuvadat& form) {
        form.TractorCode = "xxx";
        form.Button4->click();
        EXPECT_EQ(form.TractorCode, "100000");
        EXPECT_EQ(form.ImplementCode, "100000");
        form.Button3->click();
    });
}

TEST_F(EntryFormTest, AServiceProvidersMachineIsRegistered) {
    AddRow(session, "Munkagepek", [](db::TTable& t) {
        t.FieldByName("Gepkod").SetAsString("100001");
        t.FieldByName("Gepnev").SetAsString("Váderstad");
        t.FieldByName("Tul").SetAsInteger(0);
    });
    forms.On<TFelhaszE>([](TFelhaszE& dialog) {
        dialog.Button1->click();
        dialog.ComboBox1->SetText("MTZ-82");
        dialog.Button4->click();
    });
    forms.On<TFelhaszE>([](TFelhaszE& dialog) { dialog.Button3->click(); });
    Run([](TMuvadat& form) {
        form.Button4->click();
        EXPECT_EQ(form.TractorCode, "100001");
        EXPECT_EQ(form.ImplementCode, "100001");
        form.Button4->click(); // "Mégsem" keeps the codes
        EXPECT_EQ(form.TractorCode, "100001");
        form.Button3->click();
    });
    EXPECT_EQ(Column("Erogepek", "Geptip", "Gepkod = '100001'"),
              std::vector<std::string>{"MTZ-82"});
    EXPECT_EQ(Column("Erogepek", "Tul", "Gepkod = '100001'"), std::vector<std::string>{"1"});
}

} // namespace
} // namespace opstest

namespace opstest {
namespace {

TEST_F(EntryFormTest, AWaterPointIsKeptAndChosenForTheIrrigation) {
    Run([this](TMuvadat& form) {
        Select(form, {"100001", "100002"});
        ChooseType(form, 3, "permetezés");
        form.Button12->click();
        form.Button20->click();
        form.Button21->click();
        EXPECT_EQ(form.GroupBox5->Caption(), "Vízkivételi hely létrehozása");
        form.Table13.FieldByName("Nev").SetAsString("Kút 1");
        form.Table13.FieldByName("Hely").SetAsString("Tanya");
        form.Button25->click();
        form.Button24->click();
        EXPECT_EQ(Column("vizkivet", "Nev"), std::vector<std::string>{"Kút 1"});
        dialogs.ExpectContaining("'Üzemóra'");
        form.Edit11->SetText("öt");
        form.Button13->click(); // refused: the group stays
        dialogs.Expect("A(z) 'Üzemóra' értéke nem lehet negatív !");
        form.Edit11->SetText("-5");
        form.Button13->click();
        EXPECT_FALSE(form.IrrigationEntered);
        form.Edit11->SetText("5");
        form.Edit12->SetText("120");
        form.Button13->click();
        EXPECT_TRUE(form.IrrigationEntered);
        form.Button2->click();
    });
    dialogs.VerifyDone();
    EXPECT_EQ(Column("Ontozes", "Menny"), (std::vector<std::string>{"120", "120"}));
    const auto id = Column("vizkivet", "Id");
    EXPECT_EQ(Column("ElvMuv", "Vizkivid"), std::vector<std::string>(2, id.at(0)));
}

} // namespace
} // namespace opstest

namespace opstest {
namespace {

// Pictures of the entry form and the material dialog for a look at their layout:
//     FARM_SCREENSHOT_DIR=/tmp/shots build/tests/farm_tests --gtest_filter='*EntryScreenshot*'
TEST_F(EntryFormTest, EntryScreenshot) {
    const char* folder = std::getenv("FARM_SCREENSHOT_DIR");
    if (!folder)
        GTEST_SKIP() << "FARM_SCREENSHOT_DIR not set";
    const std::filesystem::path out(folder);
    forms.On<TAnyagfel>([out](TAnyagfel& dialog) {
        EXPECT_TRUE(dialog.grab().save(QString::fromStdString((out / "anyagfel.png").string())));
        dialog.Close();
    });
    Run([out](TMuvadat& form) {
        Select(form, {"100001", "100002"});
        ChooseType(form, 4, "aratás (kalászos, kombájnnal)");
        EXPECT_TRUE(form.grab().save(QString::fromStdString((out / "muvadat.png").string())));
        form.Button1->click();
        form.Button3->click();
    });
}

} // namespace
} // namespace opstest
