// The field inventory, the yield and input summaries and the machine-work query: their
// rows from operations and material uses written into the tables, and their printouts.

#include "lists_fixture.h"
#include "reports/Gepmuvlekerh.h"
#include "reports/Hozah.h"
#include "reports/Mezeih.h"
#include "reports/Parcinputh.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::Contains;

class Summaries : public liststest::ListsReportTest {
protected:
    Summaries() {
        AddField({.parckod = "100000", .parcsor = 1, .evj = 2009, .agazat = "Búza"});
        AddField({.parckod = "100001", .parcsor = 2, .evj = 2010, .agazat = "Búza"});
        AddField({.parckod = "100002",
                  .parcsor = 3,
                  .evj = 2010,
                  .agazat = "Kukorica",
                  .hazmeg = "Kert"});
        AddMaterial("Tapanyagok", "100001", "Ammónium-nitrát");
        AddMaterial("Novenyvedok", "200001", "Gyomirtó");
        AddMaterial("Vetomagok", "300001", "GK Öthalom");
    }

    // Rows of a data set: the values of the fields named, joined by " | ".
    static std::vector<std::string> Rows(db::TDataSet& rows, std::vector<std::string> fields) {
        std::vector<std::string> out;
        for (rows.First(); !rows.Eof(); rows.Next()) {
            std::string line;
            for (const std::string& f : fields)
                line += (line.empty() ? "" : " | ") + rows.FieldByName(f).AsString();
            out.push_back(line);
        }
        return out;
    }
};

TEST_F(Summaries, TheInventoryOfCalendarYearYCountsTheFieldsOfFarmingYearYPlusOne) {
    // In 2009 on fields of 2010 (counted) and of 2009 (not counted), and in 2010.
    AddOperation({.muvkod = "100000",
                  .tablakod = "100001",
                  .datum = sys::encodeDate(2009, 1, 1),
                  .muvnev = "Műtrágyázás",
                  .ter = 20000,
                  .gepora = 1,
                  .nha = 1.5});
    AddOperation({.muvkod = "100001",
                  .tablakod = "100002",
                  .datum = sys::encodeDate(2009, 12, 31),
                  .muvnev = "Fejtrágyázás",
                  .ter = 10000,
                  .gepora = 2,
                  .keziora = 1});
    AddOperation({.muvkod = "100002",
                  .tablakod = "100000",
                  .datum = sys::encodeDate(2009, 6, 1),
                  .muvnev = "Műtrágyázás",
                  .ter = 10000,
                  .gepora = 5});
    AddOperation({.muvkod = "100003",
                  .tablakod = "100001",
                  .datum = sys::encodeDate(2010, 1, 1),
                  .muvnev = "Műtrágyázás",
                  .ter = 10000,
                  .gepora = 7});
    AddMaterialUse({"100000", "100000", "100001", "100001", 150});
    AddMaterialUse({"100001", "100001", "100002", "100001", 100});
    AddMaterialUse({"100002", "100002", "100000", "100001", 999});
    AddMaterialUse({"100003", "100003", "100001", "100001", 999});
    AddMaterialUse({"100004", "100001", "100002", "300001", 25});

    dialogs.Expect("Hiba! A(z) 'Év' értéke (\"\") nem évszám !")
        .Expect("Hiba! A(z) 'Év' értéke (\"202\") nem évszám !");
    forms.On<TMezei>([&](TMezei& f) {
        f.ComboBox1->SetText("2009");
        f.ComboBox1Change(f.ComboBox1); // as typed
        EXPECT_EQ(f.Label1->Caption(), "Mezei leltár 2010 gazdasági évre");
        const std::string sum = "SUM OF   Menny * Ter / 10";
        EXPECT_EQ(Rows(f.Query1, {"Agazat", "Muvnev", "Nev", sum}),
                  (std::vector<std::string>{"Búza | Műtrágyázás | Ammónium-nitrát | 300",
                                            "Kukorica | Fejtrágyázás | Ammónium-nitrát | 100"}));
        EXPECT_EQ(Rows(f.Query2, {"Agazat", "Nev", sum}),
                  std::vector<std::string>{"Kukorica | GK Öthalom | 25"});
        EXPECT_TRUE(f.Query3.IsEmpty());
        EXPECT_EQ(Rows(f.Query4, {"Agazat", "SUM OF Gepora", "SUM OF Keziora", "SUM OF Nha"}),
                  (std::vector<std::string>{"Búza | 1 | 0 | 1,5", "Kukorica | 2 | 1 | 0"}));
        for (const char* typed : {"", "202"}) { // no year, half a year: lists kept, no print
            f.ComboBox1->SetText(typed);
            f.ComboBox1Change(f.ComboBox1);
            EXPECT_EQ(f.Year(), 2009);
            f.Button3->click();
        }
        f.ComboBox1->SetText("2009");
        f.Button3->click();
        f.Button1->click();
    });
    ui::ShowModalForm(Mezei, session);
    ASSERT_EQ(output.documents.size(), 1u);
    const std::vector<std::string> lines = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(lines, Contains("Mezei leltár 2010 gazdasági évre"));
    EXPECT_THAT(lines, Contains("Búza | Műtrágyázás | Ammónium-nitrát | 300,000 | kg"));
    EXPECT_THAT(lines, Contains("Kukorica | GK Öthalom | 25,000 | kg").Times(0)); // has Muvnev
    EXPECT_THAT(lines, Contains("Kukorica | Fejtrágyázás | GK Öthalom | 25,000 | kg"));
    EXPECT_THAT(lines, Contains("Összesen: | 3,0 | 1,0 | 1,50"));
}

TEST_F(Summaries, TheYieldHasOnlySectorsAboveZeroRoundedUpToKilograms) {
    AddOperation({.muvkod = "100000", .tablakod = "100001", .ter = 10001, .hozam = 3.0});
    AddOperation({.muvkod = "100001", .tablakod = "100001", .ter = 20000, .hozam = 2.5});
    AddOperation({.muvkod = "100002", .tablakod = "100002", .ter = 20000}); // no yield
    AddOperation({.muvkod = "100003", .tablakod = "100000", .ter = 10000, .hozam = 9});
    dialogs.Expect("Hiba! A(z) 'évszám' értéke nem egész szám !")
        .Expect("Hiba! A(z) 'évszám' értéke (\"200\") nem évszám !");
    forms.On<THozam>([&](THozam& f) {
        f.ComboBox1->SetText("2010");
        f.Button4->click();
        // 3.0 × 1.0001 + 2.5 × 2 = 8.0003 t: 8.001 once rounded up to whole kilograms.
        EXPECT_EQ(Rows(f.Query1, {"Agazat", "osz"}), std::vector<std::string>{"Búza | 8,0003"});
        EXPECT_DOUBLE_EQ(f.Query1.FieldByName("ossz").AsFloat(), 8.001);
        f.ComboBox1->SetText("2009"); // printed without "|||||": queried first
        f.Button2->click();
        f.ComboBox1->SetText("20o9");
        f.Button2->click(); // told, not printed
        f.ComboBox1->SetText("200");
        f.Button2->click(); // half a year: told too
        EXPECT_EQ(f.Year(), 2009);
        f.Button1->click();
    });
    ui::ShowModalForm(Hozam, session);
    dialogs.VerifyDone();
    ASSERT_EQ(output.documents.size(), 1u);
    const std::vector<std::string> lines = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(lines, Contains("Gazdasági év: 2009"));
    EXPECT_THAT(lines, Contains("Búza | 9,000"));
}

TEST_F(Summaries, TheInputQuantityIsTheSumOfDoseTimesAreaAndPrintsTheCurrentField) {
    // The same fertiliser at two doses: 100 on 1 ha and 200 on 3 ha gives 700 kg (the
    // average dose times the summed area would give 600).
    AddOperation({.muvkod = "100000", .tablakod = "100001", .ter = 10000, .gepora = 1, .nha = 1});
    AddOperation({.muvkod = "100001", .tablakod = "100001", .ter = 30000, .keziora = 2});
    AddOperation({.muvkod = "100002", .tablakod = "100002", .ter = 10001});
    AddMaterialUse({"100000", "100000", "100001", "100001", 100});
    AddMaterialUse({"100001", "100001", "100001", "100001", 200});
    AddMaterialUse({"100002", "100001", "100001", "100001", 1, "t"}); // another unit
    AddMaterialUse({"100003", "100002", "100002", "200001", 0.333, "l"});
    forms.On<TParcInput>([&](TParcInput& f) {
        f.Table2.First(); // 2009 / 1
        EXPECT_EQ(f.Table2.FieldByName("Parckod").AsString(), "100000");
        f.Table2.Next();
        f.Button4->click();
        EXPECT_EQ(
            Rows(f.Query1, {"Nev", "Tmenny", "Mert"}),
            (std::vector<std::string>{"Ammónium-nitrát | 700 | kg", "Ammónium-nitrát | 3 | t"}));
        EXPECT_EQ(Rows(f.Query4, {"OszKeziora", "OszGepora", "OszNha"}),
                  std::vector<std::string>{"2 | 1 | 1"});
        f.Table2.Next(); // printed without "Lekérés": loaded first
        f.Button2->click();
        EXPECT_EQ(Rows(f.Query2, {"Nev", "Tmenny"}), std::vector<std::string>{"Gyomirtó | 0,334"});
        f.Button1->click();
    });
    ui::ShowModalForm(ParcInput, session);
    ASSERT_EQ(output.documents.size(), 1u);
    const std::vector<std::string> lines = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(lines, Contains("2009/10 gazdasági év, 3. tábla: Kukorica"));
    EXPECT_THAT(lines, Contains("Kert, 10000 m²"));
    EXPECT_THAT(lines, Contains("Gyomirtó | 0,334 | l"));
}

TEST_F(Summaries, TheMachineQueryPrintsTheOperationsOfTheChosenMachines) {
    AddMachine("Erogepek", "100001", "MTZ 82", "3");
    AddMachine("Erogepek", "100002", "Bérelt", "9", 1); // a service provider's
    AddMachine("Munkagepek", "100001", "Eke", "E1");
    AddOperation({.muvkod = "100000",
                  .tablakod = "100001",
                  .datum = sys::encodeDate(2009, 3, 1),
                  .muvnev = "Szántás",
                  .ter = 20000,
                  .gepora = 1.5,
                  .erogep = "100001",
                  .munkagep = "100001"});
    AddOperation({.muvkod = "100001",
                  .tablakod = "100002",
                  .datum = sys::encodeDate(2009, 4, 1),
                  .muvnev = "Vetés",
                  .ter = 10000,
                  .gepora = 1,
                  .erogep = "100001"});
    AddOperation({.muvkod = "100002",
                  .tablakod = "100002",
                  .datum = sys::encodeDate(2009, 5, 1),
                  .muvnev = "Permetezés",
                  .ter = 10000,
                  .gepora = 1,
                  .erogep = "100002"});
    forms.On<TGepmuvleker>([&](TGepmuvleker& f) {
        EXPECT_DOUBLE_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2009, 3, 1));
        EXPECT_DOUBLE_EQ(f.DateTimePicker2->Date(), sys::encodeDate(2009, 5, 1));
        ASSERT_TRUE(f.Table1.Locate("Gepkod", {std::string("100001")}));
        f.Button1->click(); // the tractor alone: two operations
        f.CheckBox2->SetChecked(true);
        f.Button1->click(); // with the plough: one
        f.CheckBox1->SetChecked(false);
        f.CheckBox2->SetChecked(false);
        f.DateTimePicker1->SetDate(sys::encodeDate(2009, 4, 1));
        f.Button1->click(); // every machine from 1 April
        f.Button2->click();
    });
    ui::ShowModalForm(Gepmuvleker, session);
    ASSERT_EQ(output.documents.size(), 3u);
    const std::vector<std::string> first = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(first, Contains("Erőgép : MTZ 82 (3)"));
    EXPECT_THAT(first, Contains("2009/10   2. tábla   Búza   Nagyföld"));
    // 2 ha with 1.5 machine hours: 3.0 hour-hectares.
    EXPECT_THAT(first,
                Contains("2009. 03. 01. | Szántás | 20 000 | 1,5 | 0,0 | 3,00 | 0,00 | 0,00"));
    EXPECT_THAT(first, Contains("Összesen: | 2 | 2,5 | 0,0 | 4,00 | 0,00 | 0,00"));
    const std::vector<std::string> second = report::DocumentLines(output.documents[1]);
    EXPECT_THAT(second, Contains("Munkagép : Eke (E1)"));
    EXPECT_THAT(second, Contains("Összesen: | 1 | 1,5 | 0,0 | 3,00 | 0,00 | 0,00"));
    const std::vector<std::string> third = report::DocumentLines(output.documents[2]);
    EXPECT_THAT(third, Contains("Összesen: | 2 | 2,0 | 0,0 | 2,00 | 0,00 | 0,00"));
}

} // namespace
