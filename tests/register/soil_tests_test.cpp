// Soil test entry (serials, codes from 100000, the sampling place and its link row), the
// soil test list (its SQL, modification, cancel, delete with the link row), the KET
// sampling places (new, batch, modify, delete) and the printout of the results.

#include "keep_pdf.h"
#include "lists_fixture.h"
#include "platform/report/document.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/Talajmintabevh.h"
#include "register/Talajmintalisth.h"
#include "register/TalamintaKeth.h"
#include "register/layouts.h"
#include "register/soil_tests.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

class SoilTests : public regtest::ListsTest {
protected:
    SoilTests() {
        regtest::AddOwner(session, "100000", "Kiss Ádám");
        first = regtest::AddParcel(session, {.helysz = "0112/3", .hazmeg = "Észak"});
        second = regtest::AddParcel(session, {.helysz = "0150", .hazmeg = "Dél"});
        ket = AddRow(
            "kotegyter",
            [](db::TTable& t) {
                t.FieldByName("Sorsz").SetAsInteger(1);
                t.FieldByName("Ter").SetAsFloat(12.5);
                t.FieldByName("Akgkod").SetAsInteger(1);
                t.FieldByName("Hazimen").SetAsString("Nagy KET");
                t.FieldByName("Deleted").SetAsBoolean(false);
            },
            "Id");
        place = AddPlace("A1", "2040", sys::encodeDate(2009, 9, 1));
        AddPlace("B2", "025", sys::encodeDate(2009, 9, 2));
    }

    int AddPlace(const std::string& mark, const std::string& depth, double date,
                 bool deleted = false) {
        return AddRow(
            "TalajmintaKet",
            [&](db::TTable& t) {
                t.FieldByName("Ketid").SetAsInteger(ket);
                t.FieldByName("Jele").SetAsString(mark);
                t.FieldByName("Ter").SetAsFloat(3);
                t.FieldByName("Elsominatido").SetAsDateTime(date);
                for (const char* flag : {"025", "020", "2040", "030", "3060"})
                    t.FieldByName(flag).SetAsBoolean(depth == flag);
                t.FieldByName("Deleted").SetAsBoolean(deleted);
            },
            "Id");
    }

    void AddResult(const std::string& code, int tableid, int year, int serial,
                   const std::string& ph = "6,5") {
        AddRow("Talajmintak", [&](db::TTable& t) {
            t.FieldByName("Mintakod").SetAsString(code);
            t.FieldByName("Tablakod").SetAsInteger(tableid);
            t.FieldByName("Datum").SetAsDateTime(sys::encodeDate(year, 5, 10));
            t.FieldByName("Ev").SetAsInteger(year);
            t.FieldByName("Mintas").SetAsInteger(serial);
            t.FieldByName("PH").SetAsString(ph);
            t.FieldByName("Labor").SetAsString("Talajlabor Kft.");
        });
    }

    static ui::TEdit* Analyte(std::vector<ui::TEdit*>& edits, const char* column) {
        const auto& analytes = reg::SoilAnalytes();
        for (std::size_t i = 0; i < analytes.size(); ++i)
            if (std::string(analytes[i].column) == column)
                return edits[i];
        return nullptr;
    }

    int first = 0;
    int second = 0;
    int ket = 0;
    int place = 0;
};

TEST_F(SoilTests, TheSamplingPlaceListIsOneQueryWithItsSuffixedColumns) {
    AddPlace("X9", "020", sys::encodeDate(2009, 1, 1), true); // deleted: not listed
    AddRow("kotegyter", [](db::TTable& t) {
        t.FieldByName("Sorsz").SetAsInteger(2);
        t.FieldByName("Akgkod").SetAsInteger(999); // no such programme
        t.FieldByName("Deleted").SetAsBoolean(false);
    });
    db::TQuery places(session);
    reg::SetSamplingPlaceQuery(places);
    places.Open();
    EXPECT_EQ(places.RecordCount(), 2);
    EXPECT_EQ(places.FieldByName("Jele").AsString(), "A1");
    EXPECT_EQ(places.FieldByName("Id").AsInteger(), place);
    EXPECT_EQ(places.FieldByName("Id_1").AsInteger(), ket);
    EXPECT_DOUBLE_EQ(places.FieldByName("Ter").AsFloat(), 12.5);
    EXPECT_DOUBLE_EQ(places.FieldByName("Ter_1").AsFloat(), 3);
    EXPECT_EQ(reg::SamplingDepth(places), "40");
}

TEST_F(SoilTests, EntrySavesAveragesAndNumberedSamplesWithCodesAndTheChosenPlace) {
    forms.On<TTalajmintabev>([&](TTalajmintabev& f) {
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::today());
        EXPECT_TRUE(f.CheckBox1->Checked());
        EXPECT_FALSE(f.Edit4->isEnabled());
        // The place: its date, mark and depth come into the form.
        f.Button3->click();
        EXPECT_TRUE(f.PlaceBox->GroupBox->isVisible());
        f.PlaceBox->OkButton->click();
        EXPECT_EQ(f.ChosenPlace, place);
        EXPECT_EQ(f.Edit2->Text(), "A1");
        EXPECT_EQ(f.Edit3->Text(), "40");
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2009, 9, 1));
        f.Edit1->SetText("Talajlabor Kft.");
        Analyte(f.AnalyteEdits, "PH")->SetText("7,2");
        Analyte(f.AnalyteEdits, "Ocd")->SetText("0,5");
        f.ComboBox1->SetText("közepes");
        dialogs.Expect("Következő minta felvitele?", ui::mrYes);
        f.Button1->click(); // the average of the first land parcel

        // A single sample: the proposal follows the parcel's serials.
        f.CheckBox1->SetChecked(false);
        EXPECT_TRUE(f.Edit4->isEnabled());
        EXPECT_EQ(f.Edit4->Text(), "1");
        dialogs.Expect("Következő minta felvitele?", ui::mrYes);
        f.Button1->click();
        EXPECT_EQ(f.Edit4->Text(), "2");

        // A bad number names its label; nothing is written.
        Analyte(f.AnalyteEdits, "NO3NO2N")->SetText("sok");
        dialogs.Expect("A(z) 'N?\?' értéke nem szám !");
        f.Button1->click();
        Analyte(f.AnalyteEdits, "NO3NO2N")->SetText("");
        Analyte(f.AnalyteEdits, "PH")->SetText("15"); // beyond the scale
        dialogs.Expect("A(z) 'pH' értéke nem lehet nagyobb, mint 14 !");
        f.Button1->click();
        Analyte(f.AnalyteEdits, "PH")->SetText("7,2");

        // A single sample without a serial is refused.
        f.Edit4->SetText("");
        dialogs.Expect("Kérem adja meg a minta sorszámát!");
        f.Button1->click();
        f.Edit4->SetText("2");

        // Without a place the next result has no link row.
        f.Button3->click();
        f.PlaceBox->CancelButton->click();
        EXPECT_EQ(f.ChosenPlace, -1);
        dialogs.Expect("Következő minta felvitele?", ui::mrNo);
        f.Button1->click(); // No closes the form
    });
    ui::ShowModalForm(Talajmintabev, session);

    EXPECT_EQ(Column("Talajmintak", "Mintakod"),
              (std::vector<std::string>{"100000", "100001", "100002"}));
    EXPECT_EQ(Column("Talajmintak", "Mintas"), (std::vector<std::string>{"0", "1", "2"}));
    EXPECT_EQ(Column("Talajmintak", "PH"), (std::vector<std::string>{"7,2", "7,2", "7,2"}));
    EXPECT_EQ(Column("Talajmintak", "KA"), (std::vector<std::string>{"", "", ""}));
    EXPECT_EQ(Column("Talajmintak", "Ocd")[0], "0,5");
    EXPECT_EQ(Column("Talajmintak", "Humuszk")[0], "közepes");
    EXPECT_EQ(Column("Talajmintak", "Ev")[0], "2009");
    EXPECT_EQ(Column("Talajmintak", "Tablakod")[0], std::to_string(first));
    EXPECT_EQ(Column("mitak_helyek", "Miid"), (std::vector<std::string>{"100000", "100001"}));
    EXPECT_EQ(Column("mitak_helyek", "Mhid"), (std::vector<std::string>(2, std::to_string(place))));
}

TEST_F(SoilTests, TheSerialProposalIsTheLatestYearsHighestPlusOne) {
    AddResult("100000", second, 2008, 1);
    AddResult("100001", second, 2008, 3);
    AddResult("100002", second, 2009, 0);
    AddResult("100003", first, 2008, 5);
    forms.On<TTalajmintabev>([&](TTalajmintabev& f) {
        ASSERT_TRUE(f.Table1.Locate("Tableid", {db::Value(second)}));
        f.CheckBox1->SetChecked(false);
        EXPECT_EQ(f.Edit4->Text(), "1"); // the last row is the 2009 average
        f.CheckBox1->SetChecked(true);
        EXPECT_EQ(f.Edit4->Text(), "0");
        ASSERT_TRUE(f.Table1.Locate("Tableid", {db::Value(first)}));
        f.CheckBox1->SetChecked(false);
        EXPECT_EQ(f.Edit4->Text(), "6");
        f.Button2->click();
    });
    ui::ShowModalForm(Talajmintabev, session);
}

TEST(SoilTestListText, TwoParcelsAYearAndAveragesOnly) {
    EXPECT_EQ(reg::SoilTestListCondition({12, 15}, "2008", true),
              " And (Tablakod = '12' Or Tablakod = '15') And (Ev = 2008) And (Mintas = 0)");
    EXPECT_EQ(reg::SoilTestListCondition({}, "", false), " And (Mintas != 0)");
}

TEST_F(SoilTests, TheListFiltersModifiesCancelsAndDeletesWithTheLinkRow) {
    AddResult("100000", first, 2008, 0);
    AddResult("100001", first, 2008, 1);
    AddResult("100002", second, 2009, 1);
    AddResult("100003", second, 2009, 0);
    AddRow("mitak_helyek", [&](db::TTable& t) {
        t.FieldByName("Miid").SetAsInteger(100002);
        t.FieldByName("Mhid").SetAsInteger(place);
    });
    forms.On<TTalajmintalist>([&](TTalajmintalist& f) {
        auto codes = [&f] {
            std::vector<std::string> c;
            for (f.Query1.First(); !f.Query1.Eof(); f.Query1.Next())
                c.push_back(f.Query1.FieldByName("Mintakod").AsString());
            return c;
        };
        EXPECT_EQ(f.Query1.SQL()[2],
                  "WHERE (Talajmintak.Tablakod = tablak.Tableid) And (Mintas != 0)");
        EXPECT_EQ(codes(), (std::vector<std::string>{"100001", "100002"}));
        EXPECT_EQ(f.ComboBox1->Items().ToVector(), (std::vector<std::string>{"2008", "2009"}));
        f.Button2->click(); // clears, ticks the averages box
        f.Button1->click();
        EXPECT_EQ(codes(), (std::vector<std::string>{"100000", "100003"}));
        ASSERT_TRUE(f.Table1.Locate("Tableid", {db::Value(second)}));
        f.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
        f.ComboBox1->SetText("2009");
        f.Button1->click();
        EXPECT_EQ(f.Query1.SQL()[2],
                  "WHERE (Talajmintak.Tablakod = tablak.Tableid) And (Tablakod = '" +
                      std::to_string(second) + "') And (Ev = 2009) And (Mintas = 0)");
        EXPECT_EQ(codes(), (std::vector<std::string>{"100003"}));
        f.ComboBox1->SetText("2009) Or (1=1");
        dialogs.Expect("Hiba! A(z) 'Év' értéke nem egész szám !");
        f.Button1->click();

        // The single samples again; modify one: an average has its serial box disabled.
        f.Button2->click();
        f.CheckBox1->SetChecked(false);
        f.Button1->click();
        f.Query1.First();
        f.Button5->click();
        EXPECT_TRUE(f.GroupBox1->isVisible());
        EXPECT_TRUE(f.Edit2->isEnabled());
        EXPECT_EQ(Analyte(f.AnalyteEdits, "PH")->Text(), "6,5");
        // The list waits while the box is open: its "Törlés" deletes nothing.
        f.Button6->click();
        EXPECT_EQ(RowCount("Talajmintak"), 4);
        // "Mégsem" drops the typed values and the place chosen.
        Analyte(f.AnalyteEdits, "PH")->SetText("9");
        f.Button8->click();
        EXPECT_FALSE(f.Button10->isEnabled()); // the place box is in front
        f.PlaceBox->OkButton->click();
        EXPECT_TRUE(f.Button10->isEnabled());
        EXPECT_EQ(f.ChosenPlace, place);
        f.Button9->click();
        EXPECT_EQ(f.ChosenPlace, -1);
        EXPECT_EQ(Column("Talajmintak", "PH", "Mintakod = '100001'"),
                  (std::vector<std::string>{"6,5"}));
        // "Rögzít" writes the values and the link, then forgets the place. Enter on the
        // result list opens the box too.
        f.Query1.First();
        ShowActive(f);
        f.DBGrid2->SetFocus();
        Key(f.DBGrid2, Qt::Key_Return);
        EXPECT_TRUE(f.GroupBox1->isVisible());
        Analyte(f.AnalyteEdits, "PH")->SetText("7");
        f.Edit2->SetText("4");
        f.Edit1->SetText("Talajlabor Kft.");
        f.DateTimePicker1->SetDate(sys::encodeDate(2025, 12, 10));
        f.Button8->click();
        f.PlaceBox->OkButton->click();
        f.Button10->click();
        EXPECT_EQ(f.ChosenPlace, -1);
        EXPECT_FALSE(f.GroupBox1->isVisible());
        EXPECT_EQ(Column("Talajmintak", "PH", "Mintakod = '100001'"),
                  (std::vector<std::string>{"7"}));
        EXPECT_EQ(Column("Talajmintak", "Mintas", "Mintakod = '100001'"),
                  (std::vector<std::string>{"4"}));
        // A new date moves the result to its year; the laboratory's name is kept.
        EXPECT_EQ(Column("Talajmintak", "Ev", "Mintakod = '100001'"),
                  (std::vector<std::string>{"2025"}));
        EXPECT_EQ(Column("Talajmintak", "Labor", "Mintakod = '100001'"),
                  (std::vector<std::string>{"Talajlabor Kft."}));
        EXPECT_EQ(RowCount("mitak_helyek", "Miid = 100001"), 1);

        // Delete: No keeps it, Yes removes the result and its link row.
        ASSERT_TRUE(f.Query1.Locate("Mintakod", {db::Value(std::string("100002"))}));
        dialogs.Expect("Valóban tötöljem a kiválasztott laboreredményt?", ui::mrNo);
        f.Button6->click();
        EXPECT_EQ(RowCount("Talajmintak"), 4);
        ASSERT_TRUE(f.Query1.Locate("Mintakod", {db::Value(std::string("100002"))}));
        dialogs.Expect("Valóban tötöljem a kiválasztott laboreredményt?", ui::mrYes);
        f.Button6->click();
        EXPECT_EQ(RowCount("Talajmintak"), 3);
        EXPECT_EQ(RowCount("mitak_helyek", "Miid = 100002"), 0);
        EXPECT_EQ(RowCount("mitak_helyek"), 1);
        f.Button7->click();
    });
    ui::ShowModalForm(Talajmintalist, session);
}

TEST_F(SoilTests, ThePrintoutListsTheResultsWithTheirDetails) {
    AddResult("100000", first, 2008, 1, "6,5");
    AddResult("100001", second, 2008, 2, "7,25");
    reg::RegisterLayouts();
    report::WriteBuiltInLayouts(std::filesystem::current_path());
    report::CaptureOutput output;
    report::ScopedOutput use(output);
    forms.On<TTalajmintalist>([&](TTalajmintalist& f) {
        f.Button4->click();
        f.Button7->click();
    });
    ui::ShowModalForm(Talajmintalist, session);
    ASSERT_EQ(output.documents.size(), 1u);
    regtest::KeepPdf(output.documents[0], "talajmintak.pdf");
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("Talajvizsgálati eredmények"));
        EXPECT_THAT(pdf, HasSubstr("7,25"));
        EXPECT_THAT(pdf, HasSubstr("Talajlabor Kft."));
    }
    const auto lines = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(lines, Contains("Talajvizsgálati eredmények"));
    EXPECT_THAT(lines, Contains(HasSubstr("0112/3 | 2008. 05. 10. | 1 | 6,5")));
    EXPECT_THAT(lines, Contains(HasSubstr("0150 | 2008. 05. 10. | 2 | 7,25")));
    EXPECT_THAT(lines, Contains(HasSubstr("Talajlabor Kft.")));
}

TEST_F(SoilTests, NoActiveLandParcelWarnsAndDisablesSaving) {
    db::TTable parcels(session);
    parcels.SetTableName("Tablak");
    parcels.Open();
    for (parcels.First(); !parcels.Eof(); parcels.Next()) {
        parcels.Edit();
        parcels.FieldByName("Aktiv").SetAsInteger(0);
        parcels.Post();
    }
    dialogs.Expect("Nincsenek táblák rögzítve ! Nem lehetséges talajvizsgálatok rögzítése.");
    forms.On<TTalajmintabev>([](TTalajmintabev& f) {
        EXPECT_FALSE(f.Button1->isEnabled());
        f.Button2->click();
    });
    ui::ShowModalForm(Talajmintabev, session);
    dialogs.Expect("Nincsenek táblák rögzítve ! Nem lehetséges talajvizsgálatok lekérdezése.");
    forms.On<TTalajmintalist>([](TTalajmintalist& f) {
        EXPECT_FALSE(f.Button5->isEnabled());
        EXPECT_FALSE(f.Button6->isEnabled());
        f.Button7->click();
    });
    ui::ShowModalForm(Talajmintalist, session);
}

TEST_F(SoilTests, SamplingPlacesAreAddedOneOrInABatchModifiedAndDeleted) {
    forms.On<TTalamintaKet>([&](TTalamintaKet& f) {
        EXPECT_TRUE(f.GroupBox1->isVisible());
        f.Button1->click();
        EXPECT_EQ(f.GroupBox2->Caption(),
                  "A 1. sorszámú KET-hez tartozó talajmintavételi helyek rögzítése, módosítása.");
        EXPECT_EQ(f.Query2.RecordCount(), 2);

        // One new place, depth not touched: 0-25 cm; last sampling not ticked: empty.
        f.Button3->click();
        EXPECT_TRUE(f.GroupBox3->isVisible());
        EXPECT_FALSE(f.DateTimePicker2->Checked());
        f.Table1.FieldByName("Jele").SetAsString("C3");
        f.Table1.FieldByName("Ter").SetAsString("2,5");
        f.DateTimePicker1->SetDate(sys::encodeDate(2010, 4, 1));
        f.Button8->click();
        EXPECT_EQ(f.Query2.RecordCount(), 3);

        // A batch of 3 marked T; a count that is not a whole number is refused first.
        f.Button3->click();
        f.Table1.FieldByName("Jele").SetAsString("T");
        f.Table1.FieldByName("Ter").SetAsString("1");
        f.Table1.FieldByName("Elsojegyzsz").SetAsString("J-1");
        f.RadioButton5->SetChecked(true);
        f.Edit1->SetText("3,5");
        dialogs.Expect("Hiba! A(z) 'darabszám' értéke nem egész szám !");
        f.Button7->click();
        EXPECT_TRUE(f.GroupBox3->isVisible());
        f.Edit1->SetText("3");
        f.Button7->click();
        EXPECT_FALSE(f.GroupBox3->isVisible());
        EXPECT_EQ(f.Query2.RecordCount(), 6);

        // Modify C3: tick the last sampling.
        ASSERT_TRUE(f.Query2.Locate("Jele", {db::Value(std::string("C3"))}));
        f.Button4->click();
        EXPECT_TRUE(f.RadioButton1->Checked());
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2010, 4, 1));
        f.DateTimePicker2->SetChecked(true);
        f.DateTimePicker2->SetDate(sys::encodeDate(2011, 4, 1));
        f.Button8->click();

        // Delete B2 (soft).
        ASSERT_TRUE(f.Query2.Locate("Jele", {db::Value(std::string("B2"))}));
        f.Button5->click();
        EXPECT_EQ(f.Query2.RecordCount(), 5);
        f.Button6->click();
    });
    ui::ShowModalForm(TalamintaKet, session);

    EXPECT_EQ(RowCount("TalajmintaKet"), 6);
    EXPECT_EQ(RowCount("TalajmintaKet", "Jele = 'T'"), 3);
    EXPECT_EQ(Column("TalajmintaKet", "3060", "Jele = 'T'"), (std::vector<std::string>(3, "True")));
    EXPECT_EQ(Column("TalajmintaKet", "Elsojegyzsz", "Jele = 'T'"),
              (std::vector<std::string>(3, "J-1")));
    EXPECT_EQ(Column("TalajmintaKet", "025", "Jele = 'C3'"), (std::vector<std::string>{"True"}));
    EXPECT_EQ(Column("TalajmintaKet", "Utolmintaido", "Jele = 'C3'"),
              (std::vector<std::string>{"2011. 04. 01."}));
    EXPECT_EQ(Column("TalajmintaKet", "Ketid", "Jele = 'C3'"),
              (std::vector<std::string>{std::to_string(ket)}));
    EXPECT_EQ(Column("TalajmintaKet", "Deleted", "Jele = 'B2'"),
              (std::vector<std::string>{"True"}));
}

} // namespace
