// The work order: fills from the planned and the recorded operations, the hidden date
// column, the working time, general activities inserted and rows deleted, the refusal
// without persons, the print with the user's edits, and the main window's hidden command.

#include "core/Folap.h"
#include "core/fresh_database.h"
#include "operations/Munkautalvh.h"
#include "operations/Munyomth.h"
#include "operations/commands.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/document.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "support/ui_test.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

TEST(WorkOrderHours, MinutesAreRoundedUpAndSplitIntoHoursAndMinutes) {
    EXPECT_EQ(ops::WholeHours(0.5 + 0.75), 1);
    EXPECT_EQ(ops::RemainderMinutes(0.5 + 0.75), 15);
    EXPECT_EQ(ops::WholeHours(0.01), 0);
    EXPECT_EQ(ops::RemainderMinutes(0.01), 1);
    EXPECT_EQ(ops::WholeHours(2), 2);
    EXPECT_EQ(ops::RemainderMinutes(2), 0);
    EXPECT_EQ(ops::RemainderMinutes(0), 0);
    // A decimal hour's binary error does not add a minute.
    EXPECT_EQ(ops::RemainderMinutes(0.1), 6);
    EXPECT_EQ(ops::RemainderMinutes(0.7), 42);
}

TEST(WorkOrderStatement, TheConditionWritesTheDaysAsMonthDayYear) {
    EXPECT_EQ(ops::WorkOrderCondition(5, sys::encodeDate(2010, 3, 7), sys::encodeDate(2010, 3, 14)),
              " AND (Szemkod = 5) AND (Datum >= '3/7/2010') AND (Datum <= '3/14/2010')");
    const auto planned = ops::WorkOrderStatement(true, "");
    EXPECT_EQ(planned[1], "FROM Tervelvmuv");
    EXPECT_EQ(planned[8], "INNER JOIN Tervmunkas");
    EXPECT_EQ(ops::WorkOrderStatement(false, " X").at(12), "WHERE (1=1) X");
}

class WorkOrder : public testui::UiTest {
protected:
    WorkOrder() {
        core::CreateFreshDatabase(session);
        RegisterOperationLayouts();
        report::UpdateBuiltInLayouts(std::filesystem::current_path());
    }

    int AddRow(const std::string& table, const std::function<void(db::TTable&)>& fill,
               const std::string& autoInc = {}) {
        db::TTable rows(session);
        rows.SetTableName(table);
        rows.Open();
        rows.Append();
        fill(rows);
        rows.Post();
        return autoInc.empty() ? 0 : rows.FieldByName(autoInc).AsInteger();
    }
    static void Set(db::TTable& t, const char* field, const std::string& value) {
        t.FieldByName(field).SetAsString(value);
    }

    int AddPerson(const std::string& name) {
        return AddRow(
            "Szemely", [&](db::TTable& t) { Set(t, "Sznev", name); }, "Szid");
    }
    void AddField(const std::string& code, int serial, const std::string& sector, double area) {
        AddRow("parcellak", [&](db::TTable& t) {
            Set(t, "Parckod", code);
            t.FieldByName("Parcsor").SetAsInteger(serial);
            t.FieldByName("Evj").SetAsInteger(2010);
            Set(t, "Agazat", sector);
            t.FieldByName("Ter").SetAsFloat(area);
            Set(t, "Aktiv", "A");
        });
    }
    void AddMachines() {
        AddRow("Erogepek", [&](db::TTable& t) {
            Set(t, "Gepkod", "100001");
            Set(t, "Geptip", "MTZ-82");
        });
        AddRow("Munkagepek", [&](db::TTable& t) {
            Set(t, "Gepkod", "100001");
            Set(t, "Gepnev", "Permetező");
        });
        AddRow("Tapanyagok", [&](db::TTable& t) {
            Set(t, "Kod", "100001");
            Set(t, "Nev", "Pétisó");
        });
        AddRow("Novenyvedok", [&](db::TTable& t) {
            Set(t, "Kod", "200001");
            Set(t, "Nev", "Dithane");
        });
        AddRow("Vetomagok", [&](db::TTable& t) {
            Set(t, "Magkod", "300001");
            Set(t, "Nev", "GK Öthalom");
        });
    }

    struct Op {
        std::string code;
        std::string field = "100000";
        sys::DateTime date;
        std::string name;
        int area = 12345;
        double machineHours = 0.5;
        double manualHours = 0.75;
        std::string tractor = "100001";
        std::string implement = "100001";
    };
    void AddOperation(bool planned, const Op& op, std::vector<int> workers) {
        AddRow(planned ? "Tervelvmuv" : "ElvMuv", [&](db::TTable& t) {
            Set(t, "Muvkod", op.code);
            Set(t, "Tablakod", op.field);
            t.FieldByName("Datum").SetAsDateTime(op.date);
            Set(t, "Muvnev", op.name);
            t.FieldByName("Ter").SetAsInteger(op.area);
            t.FieldByName("Gepora").SetAsFloat(op.machineHours);
            t.FieldByName("Keziora").SetAsFloat(op.manualHours);
            Set(t, "Erogepkod", op.tractor);
            Set(t, "Munkagepkod", op.implement);
            Set(t, "Irany", "É-D");
            Set(t, "Szantm", "25");
        });
        for (int code : workers)
            AddRow(planned ? "Tervmunkas" : "Munkavegz", [&](db::TTable& t) {
                Set(t, "Muvkod", op.code);
                t.FieldByName("Szemkod").SetAsInteger(code);
            });
    }
    void AddUse(bool planned, const std::string& use, const std::string& op,
                const std::string& material, double dose, const std::string& unit) {
        AddRow(planned ? "Tervfanyag" : "felhanyag", [&](db::TTable& t) {
            Set(t, "Felhkod", use);
            Set(t, "Muvkod", op);
            Set(t, "Tablakod", "100000");
            Set(t, "Anyagkod", material);
            t.FieldByName("Menny").SetAsFloat(dose);
            Set(t, "Mert", unit);
            Set(t, "Permetle", "300");
        });
    }

    // Three operations of Kiss Péter in the week of 7 March 2010 (and one of another
    // worker): a spraying with two materials, a ploughing without any, a sowing with seed
    // and no machines.
    void AddWeek(bool planned) {
        AddField("100000", 3, "Búza", 45000);
        AddMachines();
        worker = AddPerson("Kiss Péter");
        other = AddPerson("Nagy Anna");
        AddOperation(planned, {.code = "100000", .date = day(7), .name = "Permetezés"}, {worker});
        AddUse(planned, "100000", "100000", "200001", 2.5, "l");
        AddUse(planned, "100001", "100000", "100001", 150, "kg");
        AddOperation(planned,
                     {.code = "100001",
                      .date = day(8),
                      .name = "Szántás",
                      .machineHours = 0,
                      .manualHours = 0},
                     {worker, other});
        AddOperation(
            planned,
            {.code = "100002", .date = day(9), .name = "Vetés", .tractor = "", .implement = ""},
            {worker});
        AddUse(planned, "100002", "100002", "300001", 200, "kg");
        AddOperation(planned, {.code = "100003", .date = day(9), .name = "Más munkája"}, {other});
    }
    static sys::DateTime day(int d) { return sys::encodeDate(2010, 3, d); }

    void Fill(TMunkautalvany& f, bool planned, int first, int last, int person = 0) {
        (planned ? f.Button5 : f.Button6)->click();
        f.DBLookupComboBox1->Choose(person);
        f.DBLookupComboBox2->Choose(1);
        f.DateTimePicker1->SetDate(day(first));
        f.DateTimePicker2->SetDate(day(last));
        f.Button7->click();
    }

    static std::vector<std::vector<std::string>> Sheet(TMunkautalvany& f) {
        std::vector<std::vector<std::string>> rows;
        for (int row = 1; row < f.StringGrid1->RowCount(); ++row)
            rows.push_back(f.StringGrid1->Rows(row));
        return rows;
    }
    static std::vector<std::string> Line(std::vector<std::string> cells) {
        cells.resize(ops::kSheetColumns);
        return cells;
    }

    db::Session session{std::filesystem::current_path()};
    int worker = 0;
    int other = 0;
};

class WorkOrderForm : public WorkOrder {
protected:
    void Open() {
        form = std::make_unique<ui::OwnedForm<TMunkautalvany>>(Munkautalvany, session);
        ShowActive(**form);
    }
    TMunkautalvany& f() { return **form; }
    std::unique_ptr<ui::OwnedForm<TMunkautalvany>> form;
};

TEST_F(WorkOrderForm, AWeekOfRecordedOperationsGivesOperationWaterAndMaterialLines) {
    AddWeek(false);
    Open();
    EXPECT_EQ(f().Edit1->Text(), "Munkalap");
    EXPECT_EQ(f().DateTimePicker1->Date(), sys::today() + 1);
    Fill(f(), false, 7, 13);
    EXPECT_FALSE(f().GroupBox1->Visible());
    EXPECT_EQ(f().Edit2->Text(), "Kiss Péter részére");
    EXPECT_EQ(f().Edit3->Text(), sys::dateToText(day(7)) + "-tól");
    EXPECT_EQ(f().Edit4->Text(), sys::dateToText(day(13)) + "-ig");
    EXPECT_EQ(f().Edit5->Text(), "Kelt: " + sys::dateToText(sys::today()));
    EXPECT_EQ(f().Edit6->Text(), "Munkakiadó: Nagy Anna");
    EXPECT_TRUE(f().DateColumnShown());
    EXPECT_EQ(f().StringGrid1->Cells(10, 0), "Dátum");

    const auto sheet = Sheet(f());
    ASSERT_EQ(sheet.size(), 9u);
    EXPECT_EQ(sheet[0], Line({"Permetezés", "1,2345", "Búza(3)", "4,5", "MTZ-82", "Permetező",
                              "1:", "15", "É-D", "25", sys::dateToText(day(7))}));
    EXPECT_EQ(sheet[1], Line({"", "", "", "", "Anyag:", "Víz", "300", "l/ha"}));
    // The two materials in either order; the second has no "Anyag:".
    EXPECT_EQ(sheet[2][4], "");
    EXPECT_EQ(sheet[3][4], "");
    std::vector<std::string> materials = {sheet[2][5] + " " + sheet[2][6] + " " + sheet[2][7],
                                          sheet[3][5] + " " + sheet[3][6] + " " + sheet[3][7]};
    std::sort(materials.begin(), materials.end());
    EXPECT_THAT(materials, ElementsAre("Dithane 2,5 l/ha", "Pétisó 150 kg/ha"));
    // Without materials: the next operation follows at once; 0 hours show 0: and 0.
    EXPECT_EQ(sheet[4], Line({"Szántás", "1,2345", "Búza(3)", "4,5", "MTZ-82", "Permetező",
                              "0:", "0", "É-D", "25", sys::dateToText(day(8))}));
    // No tractor, no implement: empty machine columns.
    EXPECT_EQ(sheet[5][0], "Vetés");
    EXPECT_EQ(sheet[5][4], "");
    EXPECT_EQ(sheet[5][5], "");
    EXPECT_EQ(sheet[6], Line({"", "", "", "", "Anyag:", "Víz", "300", "l/ha"}));
    EXPECT_EQ(sheet[7], Line({"", "", "", "", "", "GK Öthalom", "200", "kg/ha"}));
    EXPECT_EQ(f().StringGrid1->RowCount(), 10); // the empty last row
    EXPECT_EQ(f().StringGrid1->Rows(9), Line({}));
}

TEST_F(WorkOrderForm, OneDayOfPlannedOperationsHidesTheDateButKeepsIt) {
    AddWeek(true);
    Open();
    Fill(f(), true, 8, 8);
    EXPECT_FALSE(f().DateColumnShown());
    EXPECT_EQ(f().Edit3->Text(), sys::dateToText(day(8)) + " napra");
    EXPECT_EQ(f().Edit4->Text(), "");
    const auto sheet = Sheet(f());
    ASSERT_EQ(sheet.size(), 2u);
    EXPECT_EQ(sheet[0][0], "Szántás");
    EXPECT_EQ(sheet[0][10], sys::dateToText(day(8)));

    // The other worker of the ploughing gets it too, and a refill starts the sheet anew.
    Fill(f(), true, 8, 9, 1);
    EXPECT_EQ(f().Edit2->Text(), "Nagy Anna részére");
    EXPECT_TRUE(f().DateColumnShown());
    const auto second = Sheet(f());
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[0][0], "Szántás");
    EXPECT_EQ(second[1][0], "Más munkája");
    EXPECT_EQ(second[2], Line({}));
}

TEST_F(WorkOrderForm, AWorkerListedTwiceGetsTheMaterialLinesTwice) {
    AddField("100000", 1, "Kukorica", 10000);
    AddMachines();
    worker = AddPerson("Kiss Péter");
    AddOperation(false, {.code = "100000", .date = day(7), .name = "Műtrágyázás"},
                 {worker, worker});
    AddUse(false, "100000", "100000", "100001", 100, "kg");
    Open();
    Fill(f(), false, 7, 7);
    const auto sheet = Sheet(f());
    ASSERT_EQ(sheet.size(), 5u);
    EXPECT_EQ(sheet[1][5], "Víz");
    EXPECT_EQ(sheet[2][5], "Pétisó");
    EXPECT_EQ(sheet[3][5], "Pétisó");
}

TEST_F(WorkOrderForm, ActivitiesAreInsertedAtTheClickedRowAndRowsDeleted) {
    AddWeek(false);
    AddRow("Altmuv", [&](db::TTable& t) {
        Set(t, "Megnev", "Műhelymunka");
        Set(t, "Ora", "2");
        Set(t, "Perc", "30");
    });
    AddRow("Altmuv", [&](db::TTable& t) {
        Set(t, "Megnev", "Takarítás");
        Set(t, "Ora", "1");
        Set(t, "Perc", "0");
    });
    Open();
    Fill(f(), false, 7, 13);
    const auto before = Sheet(f());
    f().StringGrid1->setCurrentCell(2, 3);
    f().StringGrid1Click(f().StringGrid1);
    EXPECT_EQ(f().RememberedRow, 2);
    EXPECT_EQ(f().Panel1->Top(),
              f().StringGrid1->visualRect(f().StringGrid1->model()->index(2, 3)).top() + 123);
    f().DBLookupComboBox3->Choose(1);
    f().Button1->click();
    auto sheet = Sheet(f());
    ASSERT_EQ(sheet.size(), before.size() + 1);
    EXPECT_EQ(sheet[1], Line({"Takarítás", "", "", "", "", "", "1", "0"}));
    EXPECT_EQ(sheet[2], before[1]);
    EXPECT_EQ(sheet[0][10], sys::dateToText(day(7)));

    // A second ">>>" goes above the first activity.
    f().DBLookupComboBox3->Choose(0);
    f().Button1->click();
    EXPECT_EQ(f().StringGrid1->Cells(0, 2), "Műhelymunka");
    EXPECT_EQ(f().StringGrid1->Cells(0, 3), "Takarítás");

    // "Sor törlése" removes the remembered row, and the last one when the sheet is
    // shorter; the header row always stays.
    f().Button4->click();
    EXPECT_EQ(f().StringGrid1->Cells(0, 2), "Takarítás");
    Fill(f(), false, 20, 21); // nothing that week: header and one empty row
    EXPECT_EQ(f().StringGrid1->RowCount(), 2);
    f().Button4->click();
    EXPECT_EQ(f().StringGrid1->RowCount(), 1);
    f().Button4->click();
    EXPECT_EQ(f().StringGrid1->RowCount(), 1);
    EXPECT_EQ(f().StringGrid1->Cells(0, 0), "Munkaművelet");
    f().Button1->click(); // appended after the header
    EXPECT_EQ(f().StringGrid1->Cells(0, 1), "Műhelymunka");
}

TEST_F(WorkOrderForm, GeneralActivitiesAreAddedAndDeletedInTheirList) {
    Open();
    f().Button9->click();
    EXPECT_TRUE(f().GroupBox2->Visible());
    f().Button10->click();
    f().Table4.FieldByName("Megnev").SetAsString("Szerelés");
    f().Table4.FieldByName("Ora").SetAsString("3");
    f().Table4.Post();
    f().Button12->click();
    EXPECT_FALSE(f().GroupBox2->Visible());
    // Leaving the group hides it too.
    f().Button9->click();
    f().DBGrid1->SetFocus();
    testui::ProcessEvents();
    EXPECT_TRUE(f().GroupBox2->Visible());
    f().Edit1->SetFocus();
    testui::ProcessEvents();
    EXPECT_FALSE(f().GroupBox2->Visible());
    db::TTable rows(session);
    rows.SetTableName("Altmuv");
    rows.Open();
    EXPECT_EQ(rows.RecordCount(), 1);
    rows.Close();
    f().Button11->click();
    rows.Open();
    EXPECT_EQ(rows.RecordCount(), 0);
}

TEST_F(WorkOrderForm, WithoutPersonsTheFillIsRefusedAndNothingChanges) {
    Open();
    f().Edit2->SetText("kézzel írt");
    f().StringGrid1->SetCells(0, 1, "Kézi sor");
    f().Button6->click();
    dialogs.ExpectContaining("Nincs felvett személy");
    f().Button7->click();
    dialogs.VerifyDone();
    EXPECT_EQ(f().Edit2->Text(), "kézzel írt");
    EXPECT_EQ(f().Edit5->Text(), "");
    EXPECT_EQ(f().StringGrid1->Cells(0, 1), "Kézi sor");
    EXPECT_TRUE(f().GroupBox1->Visible());
}

TEST_F(WorkOrderForm, ThePrintCarriesTheSheetWithTheUsersEdits) {
    AddWeek(false);
    Open();
    Fill(f(), false, 7, 7);
    f().Edit1->SetText("Munkautalvány");
    f().StringGrid1->SetCells(8, 1, "K-Ny");
    {
        ui::OwnedForm<TMUnyomt> print(MUnyomt);
        const auto head = report::ReadConnection(print->RvMunkaUtalvanyHead);
        ASSERT_EQ(head.rows.size(), 1u);
        EXPECT_EQ(head.columns.size(), 6u);
        EXPECT_EQ(head.columns[0].fullName, "Cím");
        EXPECT_THAT(head.Texts(0),
                    ElementsAre("Munkautalvány", "Kiss Péter részére",
                                sys::dateToText(day(7)) + " napra", "",
                                "Kelt: " + sys::dateToText(sys::today()), "Munkakiadó: Nagy Anna"));
        const auto rows = report::ReadConnection(print->RvMunkaUtalvanyRows);
        EXPECT_EQ(rows.columns.size(), 11u);
        EXPECT_EQ(rows.columns[10].name, "Datum");
        ASSERT_EQ(rows.rows.size(), 5u); // operation, water, two materials, the empty row
        EXPECT_EQ(rows.Texts(0)[8], "K-Ny");
        EXPECT_EQ(rows.Texts(0)[10], sys::dateToText(day(7))); // hidden on the sheet
        EXPECT_EQ(rows.Texts(4), Line({}));
    }

    report::CaptureOutput output;
    report::ScopedOutput use(output);
    f().Button3->click();
    ASSERT_EQ(output.documents.size(), 1u);
    if (const char* folder = std::getenv("FARM_SCREENSHOT_DIR"))
        report::WritePdf(output.documents[0], std::filesystem::path(folder) / "munkautalvany.pdf");
    std::string text;
    for (const std::string& line : report::DocumentLines(output.documents[0]))
        text += line + "\n";
    EXPECT_THAT(text, HasSubstr("Munkautalvány"));
    EXPECT_THAT(text, HasSubstr("Kiss Péter részére"));
    EXPECT_THAT(text, HasSubstr("K-Ny"));
    EXPECT_THAT(text, HasSubstr("Permetezés"));
    EXPECT_THAT(text, HasSubstr("Munkakiadó: Nagy Anna"));
}

TEST_F(WorkOrderForm, AnEmptySheetPrintsOneEmptyRow) {
    Open();
    ui::OwnedForm<TMUnyomt> print(MUnyomt);
    const auto head = report::ReadConnection(print->RvMunkaUtalvanyHead);
    EXPECT_THAT(head.Texts(0), ElementsAre("Munkalap", "", "", "", "", ""));
    EXPECT_EQ(report::ReadConnection(print->RvMunkaUtalvanyRows).rows.size(), 1u);
    f().Button4->click(); // the header alone
    const auto rows = report::ReadConnection(print->RvMunkaUtalvanyRows);
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.Texts(0), Line({}));
}

class WorkOrderCommand : public WorkOrder {
protected:
    ~WorkOrderCommand() override {
        app.reset();
        Folap1 = nullptr;
    }
};

TEST_F(WorkOrderCommand, TheHiddenPlanningSubmenuOpensTheWorkOrder) {
    AddWeek(false);
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    InstallOperationCommands(*Folap1, session);
    ShowActive(*Folap1);
    ui::TMenuItem* item =
        Folap1->FindMenuItem({"Műveletek", "Műveletek tervezése", "Munkakiutalás"});
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->Enabled());
    EXPECT_FALSE(Folap1->Mveletektervezse1->Visible());
    report::CaptureOutput output;
    report::ScopedOutput use(output);
    forms.On<TMunkautalvany>([&](TMunkautalvany& f) {
        EXPECT_EQ(Munkautalvany, &f);
        Fill(f, false, 7, 13);
        EXPECT_EQ(f.StringGrid1->Cells(0, 1), "Permetezés");
        f.StringGrid1->SetCells(0, 5, "Szántás (mélyen)");
        f.Button3->click();
        f.Button2->click();
    });
    item->Click();
    forms.VerifyDone();
    EXPECT_EQ(Munkautalvany, nullptr);
    ASSERT_EQ(output.documents.size(), 1u);
    std::string text;
    for (const std::string& line : report::DocumentLines(output.documents[0]))
        text += line + "\n";
    EXPECT_THAT(text, HasSubstr("Szántás (mélyen)"));
}

} // namespace
