// The cascade deletes of operations and fields, and the closed-field screen that
// reactivates and deletes fields.

#include "field_fixture.h"
#include "register/Parckeze.h"
#include "register/cascade_deletes.h"
#include "register/codes.h"

#include <gtest/gtest.h>
#include <numeric>

namespace {

using CascadeDeletes = regtest::FieldTest;

// The stock of a material: the sum of its ledger quantities.
double Stock(regtest::FieldTest& t, const std::string& material) {
    double sum = 0;
    for (const std::string& q : t.Column("Raktarmozgas", "Menny", "Anyagkod = '" + material + "'"))
        sum += std::stod(q);
    return sum;
}

// A performed or planned operation on a field with one material use per material (each
// with its withdrawal), workers, an irrigation row and an observation link.
void AddOperation(regtest::FieldTest& t, const std::string& muvkod, const std::string& field,
                  bool planned, std::vector<std::pair<std::string, int>> uses, int workers) {
    std::string p = planned ? "Terv" : "";
    t.Insert(planned ? "Tervelvmuv" : "ElvMuv", {{"Muvkod", muvkod}, {"Tablakod", field}});
    int n = 0;
    for (const auto& [material, quantity] : uses) {
        std::string felhkod = muvkod.substr(3) + std::to_string(100 + n++);
        t.Insert(planned ? "Tervfanyag" : "felhanyag", {{"Felhkod", felhkod},
                                                        {"Muvkod", muvkod},
                                                        {"Tablakod", field},
                                                        {"Anyagkod", material},
                                                        {"Menny", std::to_string(quantity)}});
        t.Insert(planned ? "Tervrmozgas" : "Raktarmozgas", {{"Anyagkod", material},
                                                            {"Menny", std::to_string(-quantity)},
                                                            {"Felhanykod", felhkod},
                                                            {"Datum", "2025. 04. 01."}});
    }
    for (int w = 0; w < workers; ++w)
        t.Insert(planned ? "Tervmunkas" : "Munkavegz",
                 {{"Muvkod", muvkod}, {"Szemkod", std::to_string(w + 1)}});
    t.Insert(planned ? "Tervontozes" : "Ontozes", {{"Muvkod", muvkod}, {"Parckod", field}});
    if (!planned)
        t.Insert("muv_novmegf", {{"Muvid", muvkod}, {"Megfid", "7"}});
}

void Purchase(regtest::FieldTest& t, const std::string& material, int quantity) {
    t.Insert(
        "Raktarmozgas",
        {{"Anyagkod", material}, {"Menny", std::to_string(quantity)}, {"Datum", "2025. 03. 01."}});
}

TEST_F(CascadeDeletes, APerformedOperationGoesOnlyAfterYesAndItsMaterialsReturnToStock) {
    Purchase(*this, "100000", 500);
    Purchase(*this, "100001", 80);
    AddOperation(*this, "100000", "100000", false, {{"100000", 200}, {"100001", 30}}, 3);
    AddOperation(*this, "100001", "100000", false, {{"100000", 50}}, 1);
    ASSERT_EQ(Stock(*this, "100000"), 250);

    dialogs.Expect("Valóban törli a kijelölt műveletet?", ui::mrNo);
    EXPECT_FALSE(reg::DeleteOperation(session, "100000", false));
    EXPECT_EQ(Count("ElvMuv"), 2u);
    EXPECT_EQ(Count("Raktarmozgas"), 5u);

    dialogs.Expect("Valóban törli a kijelölt műveletet?", ui::mrYes);
    EXPECT_TRUE(reg::DeleteOperation(session, "100000", false));
    EXPECT_EQ(dialogs.Last().type, ui::mtWarning);
    EXPECT_EQ(Column("ElvMuv", "Muvkod"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("felhanyag", "Muvkod"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Stock(*this, "100000"), 450);
    EXPECT_EQ(Stock(*this, "100001"), 80);
    EXPECT_EQ(Count("Munkavegz", "Muvkod = '100000'"), 0u);
    EXPECT_EQ(Count("Munkavegz"), 1u);
    EXPECT_EQ(Column("Ontozes", "Muvkod"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("muv_novmegf", "Muvid"), std::vector<std::string>{"100001"});
    dialogs.VerifyDone();
}

TEST_F(CascadeDeletes, APlannedOperationGoesWithoutAQuestionFromThePlannedTablesOnly) {
    AddOperation(*this, "100000", "100000", true, {{"100000", 20}}, 2);
    AddOperation(*this, "100000", "100000", false, {{"100000", 20}}, 2);
    reg::DeleteOperation(session, "100000", true);
    for (const char* table :
         {"Tervelvmuv", "Tervfanyag", "Tervrmozgas", "Tervmunkas", "Tervontozes"})
        EXPECT_EQ(Count(table), 0u) << table;
    for (const char* table : {"ElvMuv", "felhanyag", "Raktarmozgas", "Ontozes", "muv_novmegf"})
        EXPECT_EQ(Count(table), 1u) << table;
    EXPECT_EQ(Count("Munkavegz"), 2u);
    dialogs.VerifyDone();
}

TEST_F(CascadeDeletes, PendingRowsAndPurchasesAreNeverTakenForAnEmptyCode) {
    Purchase(*this, "100000", 500);
    // A use without a code of its own (stock keeping off, or an older row).
    Insert("ElvMuv", {{"Muvkod", "100000"}, {"Tablakod", "100000"}});
    Insert("felhanyag", {{"Felhkod", ""}, {"Muvkod", "100000"}, {"Anyagkod", "100000"}});
    Insert("felhanyag", {{"Felhkod", "100009"}, {"Muvkod", ""}, {"Anyagkod", "100000"}});
    dialogs.Expect("Valóban törli a kijelölt műveletet?", ui::mrYes);
    reg::DeleteOperation(session, "100000", false);
    EXPECT_EQ(Column("felhanyag", "Felhkod"), std::vector<std::string>{"100009"});
    EXPECT_EQ(Stock(*this, "100000"), 500);
    reg::DeleteMaterialUses(session, "", false);
    reg::DeleteStockMovements(session, "", false);
    EXPECT_EQ(Count("felhanyag"), 1u);
    EXPECT_EQ(Count("Raktarmozgas"), 1u);
    dialogs.VerifyDone();
}

// Field 100001 follows 100000 and 100002; 100000 has every kind of side row.
void TwoYearsOfFields(regtest::FieldTest& t) {
    t.AddField("100000", 2024, 1, {{"Aktiv", "N"}});
    t.AddField("100002", 2024, 2);
    t.AddField("100001", 2025, 1);
    t.Insert("Szparcellak",
             {{"Szulkod", "100000"}, {"Parckod", "100001"}, {"Szparckod", "100000"}});
    t.Insert("Szparcellak",
             {{"Szulkod", "100001"}, {"Parckod", "100001"}, {"Szparckod", "100002"}});
    t.Insert("Szparcellak",
             {{"Szulkod", "100002"}, {"Parckod", "100000"}, {"Szparckod", "099999"}});
    t.Insert("Szhelyrajzi", {{"Sorsz", "100000"}, {"Parcellakod", "100000"}, {"Helysz", "1"}});
    t.Insert("Szhelyrajzi", {{"Sorsz", "100001"}, {"Parcellakod", "100001"}, {"Helysz", "1"}});
    auto kieg = t.Insert("Parckiegadat", {{"Parckod", "100000"}, {"Fajta", "Olaszrizling"}});
    t.Insert("Ultkieg02", {{"Parckod", "100000"}, {"Ultkod", kieg["Kiegid"]}, {"Faj", "szőlő"}});
    for (const char* table : {"Parclellak02", "Tapterv", "Parcteny"})
        t.Insert(table, {{"Parckod", "100000"}});
    for (const char* table : {"gyumalap", "gyepalap", "legnaplo"})
        t.Insert(table, {{"Parcid", "100000"}});
    t.Insert("Vismajor", {{"Parcid", "100000"}, {"Visok", "jégeső"}});
    t.Insert("Novvedmegf", {{"Parc_id", "100000"}, {"Novfejl", "bokrosodás"}});
    AddOperation(t, "100000", "100000", false, {{"100000", 200}}, 3);
    AddOperation(t, "100001", "100001", false, {{"100000", 10}}, 1);
    AddOperation(t, "200000", "100000", true, {{"100000", 5}}, 1);
}

TEST_F(CascadeDeletes, ADeletedFieldTakesItsWorkLinksAndPlantationButKeepsPlansAndRecords) {
    TwoYearsOfFields(*this);
    Purchase(*this, "100000", 1000);
    reg::DeleteField(session, "100000");

    EXPECT_EQ(Column("parcellak", "Parckod"), (std::vector<std::string>{"100002", "100001"}));
    EXPECT_EQ(Column("Szparcellak", "Szparckod"), std::vector<std::string>{"100002"});
    EXPECT_EQ(Column("Szhelyrajzi", "Parcellakod"), std::vector<std::string>{"100001"});
    for (const char* table : {"Parckiegadat", "Ultkieg02", "Parclellak02"})
        EXPECT_EQ(Count(table), 0u) << table;
    for (const char* table :
         {"Tapterv", "Parcteny", "gyumalap", "gyepalap", "legnaplo", "Tervelvmuv", "Tervfanyag",
          "Tervrmozgas", "Tervmunkas", "Tervontozes"})
        EXPECT_EQ(Count(table), 1u) << table;
    EXPECT_EQ(Column("ElvMuv", "Muvkod"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("Munkavegz", "Muvkod"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("Ontozes", "Muvkod"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Column("muv_novmegf", "Muvid"), std::vector<std::string>{"100001"});
    EXPECT_EQ(Stock(*this, "100000"), 990);
    EXPECT_EQ(Count("Vismajor"), 1u);
    EXPECT_EQ(Count("Novvedmegf"), 1u);
}

TEST_F(CascadeDeletes, NoFieldCodeIsHandedOutWhileARecordStillNamesIt) {
    EXPECT_EQ(reg::NextFieldCode(session), "100000");
    TwoYearsOfFields(*this);
    Insert("Vismajor", {{"Parcid", "100007"}});
    reg::DeleteField(session, "100000");
    EXPECT_EQ(reg::NextFieldCode(session), "100008");
}

void OnScreen(regtest::FieldTest&, testui::ScriptedForms& forms,
              std::function<void(TParckezeles&)> body) {
    forms.On<TParckezeles>([body](TParckezeles& f) {
        body(f);
        f.Button1->click();
    });
}

TEST_F(CascadeDeletes, TheScreenReactivatesAndDeletesTheSelectedClosedField) {
    TwoYearsOfFields(*this);
    AddField("100005", 2023, 4, {{"Aktiv", "N"}});
    ui::OwnedForm<TParckezeles> startup(Parckezeles, session);
    OnScreen(*this, forms, [](TParckezeles& f) {
        ASSERT_EQ(f.Table1.RecordCount(), 2); // 2023 first
        EXPECT_EQ(f.Table1.FieldByName("Parckod").AsString(), "100005");
        f.Button2->click();
        f.Button2->click();
        EXPECT_EQ(f.Table1.RecordCount(), 1);
        f.Button3->click();
        f.Button3->click();
        EXPECT_TRUE(f.Table1.IsEmpty());
    });
    dialogs.Expect("Biztosan újraaktiválja a kijelölt parcellát?", ui::mrNo)
        .Expect("Biztosan újraaktiválja a kijelölt parcellát?", ui::mrYes)
        .ExpectContaining("Biztosan törölni szeretné a kiválasztott parcellát?", ui::mrNo)
        .ExpectContaining("Biztosan törölni szeretné a kiválasztott parcellát?", ui::mrYes);
    ui::ShowModalForm(Parckezeles, session);
    EXPECT_EQ(FieldOf("100005", "Aktiv"), "A");
    EXPECT_EQ(FieldOf("100000", "Aktiv"), "<none>");
    EXPECT_EQ(Count("ElvMuv", "Tablakod = '100000'"), 0u);
    dialogs.VerifyDone();

    // The start-up instance still deletes operations after the screen closed.
    dialogs.Expect("Valóban törli a kijelölt műveletet?", ui::mrYes);
    Parckezeles->DeleteOperation("100001", false);
    EXPECT_EQ(Count("ElvMuv"), 0u);
    dialogs.VerifyDone();
}

TEST_F(CascadeDeletes, WithNoClosedFieldTheQuestionsChangeNothing) {
    AddField("100000", 2025, 1);
    OnScreen(*this, forms, [](TParckezeles& f) {
        f.Button2->click();
        f.Button3->click();
    });
    dialogs.Expect("Biztosan újraaktiválja a kijelölt parcellát?", ui::mrYes)
        .ExpectContaining("Biztosan törölni", ui::mrYes);
    ui::ShowModalForm(Parckezeles, session);
    EXPECT_EQ(FieldOf("100000", "Aktiv"), "A");
    dialogs.VerifyDone();
}

} // namespace
