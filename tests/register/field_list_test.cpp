// The field list filter (both modes), the field list with its counts, area and title, and
// the operations-by-land-parcel report on operation rows the test writes.

#include "keep_pdf.h"
#include "lists_fixture.h"
#include "platform/db/filter.h"
#include "platform/report/document.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/Parclisth.h"
#include "register/Parclistszukh.h"
#include "register/Tablaleker.h"
#include "register/layouts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

TEST(FieldListConditionsText, TwoParcelsAYearAndActiveOnlyByteForByte) {
    FieldListChoices choices;
    choices.landParcels = {12, 15};
    choices.year = "2009";
    choices.activeOnly = true;
    const FieldListConditions c = BuildFieldListConditions(choices);
    EXPECT_EQ(c.FieldWhereTail,
              " AND (Helysz = '12' OR Helysz = '15') AND Evj = '2009' AND Aktiv = 'A'");
    EXPECT_EQ(c.LandParcelFilter, "Aktiv = 1 AND (Tableid = 12 OR Tableid = 15)");
    EXPECT_EQ(c.FieldFilter, "Evj = '2009' AND Aktiv = 'A'");
    EXPECT_EQ(c.HouseNameFilter, "");
    EXPECT_EQ(c.YearText, "2009");

    const FieldListConditions none = BuildFieldListConditions({});
    EXPECT_EQ(none.FieldWhereTail, "");
    EXPECT_EQ(none.LandParcelFilter, "Aktiv = 1");
    EXPECT_EQ(none.FieldFilter, "");
}

TEST(FieldListConditionsText, TypedTextsEnterQuoted) {
    FieldListChoices choices;
    choices.crop = "Kukorica 'B'";
    choices.houseNames = {"O'Neil tag", "Rét"};
    const FieldListConditions c = BuildFieldListConditions(choices);
    EXPECT_EQ(c.FieldWhereTail, " AND Agazat = 'Kukorica ''B'''");
    EXPECT_EQ(c.FieldFilter, "Agazat = 'Kukorica ''B'''");
    EXPECT_EQ(c.HouseNameFilter, "(Hazmeg = 'O''Neil tag' OR Hazmeg = 'Rét')");
    EXPECT_EQ(TParcList::ListTitle("2009", "Búza"), "2009. évi Búza ágazatának parcellakiosztása");
    EXPECT_EQ(TParcList::ListTitle("", ""), " parcellakiosztása");
    EXPECT_EQ(reg::FarmingYearWord(2009), "2008/2009");
}

class FieldList : public regtest::ListsTest {
protected:
    FieldList() {
        regtest::AddOwner(session, "100000", "Kiss Ádám");
        north = regtest::AddParcel(session, {.helysz = "0112/3", .hazmeg = "Észak", .ter = 50000});
        south =
            regtest::AddParcel(session, {.helysz = "0150", .hazmeg = "O'Neil dűlő", .ter = 40000});
        AddField(
            {.parckod = "100000", .parcsor = 1, .evj = 2008, .agazat = "Kukorica", .ter = 30000.7});
        AddField({.parckod = "100001", .parcsor = 1, .evj = 2009, .agazat = "Búza", .ter = 20000});
        AddField({.parckod = "100002",
                  .parcsor = 2,
                  .evj = 2009,
                  .agazat = "O'Hara zab",
                  .ter = 15000,
                  .hazmeg = "Kert"});
        AddField({.parckod = "100003",
                  .parcsor = 3,
                  .evj = 2009,
                  .agazat = "Búza",
                  .ter = 5000,
                  .aktiv = "N"});
        AddField({.parckod = "100004", .parcsor = 4, .evj = 2009, .agazat = "Repce", .ter = 999});
        LinkParcel("100000", north);
        LinkParcel("100001", north);
        LinkParcel("100001", south); // on both parcels: listed once
        LinkParcel("100002", south);
        LinkParcel("100003", north);
        // 100004 lies on no land parcel: never listed
        regtest::SetFarmName(session, "Zöldmező Kft.");
        reg::RegisterLayouts();
        report::WriteBuiltInLayouts(std::filesystem::current_path());
    }

    // Marks the land parcels in the dialog's grid by their Tableid.
    static void Mark(TParcListSzuk& f, std::initializer_list<int> ids) {
        for (int id : ids) {
            ASSERT_TRUE(f.Table1.Locate("Tableid", {db::Value(id)}));
            f.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
        }
    }

    int north = 0;
    int south = 0;
    report::CaptureOutput output;
    report::ScopedOutput use{output};
};

TEST_F(FieldList, MarkedParcelsYearAndActiveOnlyListTheFieldsOnceWithCountsAndArea) {
    forms.On<TParcListSzuk>([&](TParcListSzuk& f) {
        EXPECT_EQ(f.Caption(), "Táblák listájának szűkítése");
        EXPECT_FALSE(f.DBGrid2->isVisible());
        EXPECT_EQ(f.ComboBox1->Items().ToVector(), (std::vector<std::string>{"2008", "2009"}));
        EXPECT_EQ(f.ComboBox1->Text(), "");
        Mark(f, {north, south});
        f.ComboBox1->SetText("2009");
        f.CheckBox1->SetChecked(true);
        f.Button3->click();
        EXPECT_EQ(f.FieldFilter, "Evj = '2009' AND Aktiv = 'A'");
        // Clearing keeps the active-only box.
        f.Button1->click();
        EXPECT_EQ(f.DBGrid1->SelectedRows().Count(), 0);
        EXPECT_EQ(f.ComboBox1->Text(), "");
        EXPECT_TRUE(f.CheckBox1->Checked());
        f.Button2->click();
    });
    forms.On<TParcList>([&](TParcList& l) {
        std::vector<std::string> codes;
        for (l.Query1.First(); !l.Query1.Eof(); l.Query1.Next())
            codes.push_back(l.Query1.FieldByName("Parckod").AsString());
        EXPECT_EQ(l.Edit1->Text(), "2");
        EXPECT_EQ(l.Edit2->Text(), "2");
        EXPECT_EQ(l.Edit3->Text(), "35000");
        l.Button1->click();
        l.Button2->click();
    });
    OpenFieldListFilter(session, 0);
    ASSERT_EQ(output.documents.size(), 1u);
    regtest::KeepPdf(output.documents[0], "parcellak.pdf");
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("parcellakiosztása"));
        EXPECT_THAT(pdf, HasSubstr("O'Hara zab"));
        EXPECT_THAT(pdf, HasSubstr("35 000"));
    }
    const std::vector<std::string> lines = report::DocumentLines(output.documents[0]);
    // The title rule gives two blanks when only the year is chosen.
    EXPECT_THAT(lines, Contains("2009. évi  parcellakiosztása"));
    EXPECT_THAT(lines, Contains("Zöldmező Kft."));
    EXPECT_THAT(lines, Contains("2008/2009 | 1 | Búza | Nagyföld | 20 000 | NEM | A"));
    EXPECT_THAT(lines, Contains("2008/2009 | 2 | O'Hara zab | Kert | 15 000 | NEM | A"));
    EXPECT_THAT(lines, Contains("Összesen: | 2 | 35 000"));
}

TEST_F(FieldList, NoConditionListsEveryLinkedFieldAndACropWithAnApostropheWorks) {
    forms.On<TParcListSzuk>([&](TParcListSzuk& f) {
        f.Button3->click();
        f.ComboBox2->SetText("O'Hara zab");
        f.Button3->click();
        f.Button2->click();
    });
    forms.On<TParcList>([&](TParcList& l) {
        EXPECT_EQ(l.Query1.RecordCount(), 4); // 100004 has no land parcel
        EXPECT_EQ(l.Edit1->Text(), "4");
        EXPECT_EQ(l.Edit2->Text(), "3");
        EXPECT_EQ(l.Edit3->Text(), "70000"); // 30000.7 taken as 30000
        l.Button2->click();
    });
    forms.On<TParcList>([&](TParcList& l) {
        EXPECT_EQ(l.Query1.RecordCount(), 1);
        l.Button1->click();
        l.Button2->click();
    });
    OpenFieldListFilter(session, 0);
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_THAT(report::DocumentLines(output.documents[0]),
                Contains("O'Hara zab ágazatának parcellakiosztása"));
}

TEST_F(FieldList, AYearThatIsNoWholeNumberIsRefusedAndAnEmptyListPrintsNothing) {
    forms.On<TParcListSzuk>([&](TParcListSzuk& f) {
        f.ComboBox1->SetText("2009' OR 1=1");
        dialogs.Expect("Hiba! A(z) 'Gazdasági év' értéke nem egész szám !");
        f.Button3->click();
        f.ComboBox1->SetText("1990");
        f.Button3->click();
        f.Button2->click();
    });
    forms.On<TParcList>([&](TParcList& l) {
        EXPECT_TRUE(l.Query1.IsEmpty());
        dialogs.Expect("Nincs megjeleníthető parcella.");
        l.Button1->click();
        l.Button2->click();
    });
    OpenFieldListFilter(session, 0);
    EXPECT_TRUE(output.documents.empty());
    EXPECT_EQ(forms.Shown(), (std::vector<std::string>{"TParcListSzuk", "TParcList"}));
}

TEST(OperationsByParcelHato, NutrientPercentsFromTheResponsibleOrTheGermination) {
    EXPECT_EQ(reg::NutrientPercentText("X12;5,5;0;", ""), "N:12% P:5,5% K:0%");
    EXPECT_EQ(reg::NutrientPercentText("X;;;", ""), "N:% P:% K:%");
    EXPECT_EQ(reg::NutrientPercentText("Kiss Ádám", "X1;2;3;"), "");
    EXPECT_EQ(reg::NutrientPercentText("", "X1;2;3;"), "N:1% P:2% K:3%");
    EXPECT_EQ(reg::NutrientPercentText("", ""), "");
    EXPECT_EQ(reg::NutrientPercentText("X1;2", ""), "");
}

TEST_F(FieldList, ModeOneRunsTheOperationsReportOfTheChosenParcels) {
    AddRow("Erogepek", [](db::TTable& t) {
        t.FieldByName("Gepkod").SetAsString("100001");
        t.FieldByName("Gepnev").SetAsString("Zetor 1");
        t.FieldByName("Geptip").SetAsString("Zetor 7745");
    });
    AddRow("Munkagepek", [](db::TTable& t) {
        t.FieldByName("Gepkod").SetAsString("100001");
        t.FieldByName("Gepnev").SetAsString("Vetőgép");
    });
    auto operation = [&](const char* code, const char* field, double date, const char* name) {
        AddRow("ElvMuv", [&](db::TTable& t) {
            t.FieldByName("Muvkod").SetAsString(code);
            t.FieldByName("Tablakod").SetAsString(field);
            t.FieldByName("Datum").SetAsDateTime(date);
            t.FieldByName("Muvnev").SetAsString(name);
            t.FieldByName("Erogepkod").SetAsString("100001");
            t.FieldByName("Munkagepkod").SetAsString("100001");
            t.FieldByName("Gepora").SetAsFloat(2.5);
            t.FieldByName("Ter").SetAsInteger(20000);
        });
    };
    operation("100000", "100001", sys::encodeDate(2008, 10, 5), "Vetés");
    operation("100001", "100002", sys::encodeDate(2009, 4, 2), "Tárcsázás");
    operation("100002", "100000", sys::encodeDate(2007, 9, 1), "Szántás"); // 2008's field
    AddRow("felhanyag", [](db::TTable& t) {
        t.FieldByName("Felhkod").SetAsString("100000");
        t.FieldByName("Muvkod").SetAsString("100000");
        t.FieldByName("Anyagkod").SetAsString("100005");
        t.FieldByName("Menny").SetAsFloat(200);
        t.FieldByName("Mert").SetAsString("kg");
        t.FieldByName("Felelos").SetAsString("X15;15;15;");
    });
    forms.On<TParcListSzuk>([&](TParcListSzuk& f) {
        EXPECT_EQ(f.Caption(), "Táblák szerinti műveletlekérdezés");
        EXPECT_EQ(f.Label1->Caption(), "Műveletlekérdezés");
        EXPECT_TRUE(f.DBGrid2->isVisible());
        EXPECT_TRUE(f.DBGrid1->isVisible()); // beside the house names: both reachable
        EXPECT_FALSE(f.DBGrid1->geometry().intersects(f.DBGrid2->geometry()));
        // A house name narrows the land parcels printed.
        ASSERT_TRUE(f.Query3.Locate("Hazmeg", {db::Value(std::string("O'Neil dűlő"))}));
        f.DBGrid2->SelectedRows().SetCurrentRowSelected(true);
        f.ComboBox1->SetText("2009");
        f.Button3->click();
        f.Button1->click();
        Mark(f, {north});
        f.ComboBox1->SetText("2009");
        f.Button3->click();
        EXPECT_EQ(f.LandParcelFilter, "Aktiv = 1 AND (Tableid = " + std::to_string(north) + ")");
        f.Button2->click();
    });
    OpenFieldListFilter(session, 1);
    EXPECT_EQ(forms.Shown(),
              (std::vector<std::string>{"TParcListSzuk"})); // the holder is never shown
    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"HejrajzMuv4.rav", "HejrajzMuv4.rav"}));
    const std::vector<std::string> byName = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(byName, Contains(HasSubstr("0150 | O'Neil dűlő")));
    EXPECT_THAT(byName, Not(Contains(HasSubstr("0112/3 | Észak"))));
    EXPECT_THAT(byName, Contains(HasSubstr("Tárcsázás")));
    // Two fields with operations on one page: the operations' headings stand once.
    EXPECT_EQ(std::count_if(byName.begin(), byName.end(),
                            [](const std::string& l) { return l.find("Dátum | Művelet") == 0; }),
              1);
    regtest::KeepPdf(output.documents[0], "hejrajzmuv4.pdf");
    const std::string pdf = regtest::PdfText(output.documents[1]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("Vetőgép"));
        EXPECT_THAT(pdf, HasSubstr("N:15% P:15% K:15%"));
    }
    const std::vector<std::string> lines = report::DocumentLines(output.documents[1]);
    EXPECT_THAT(lines, Contains(HasSubstr("0112/3 | Észak")));
    EXPECT_THAT(lines, Contains(HasSubstr("Vetés | Zetor 7745 | Vetőgép | 20 000 | 2,5")));
    EXPECT_THAT(lines, Contains(HasSubstr("N:15% P:15% K:15%")));
    EXPECT_THAT(lines, Not(Contains(HasSubstr("Szántás"))));   // 2008's field is filtered out
    EXPECT_THAT(lines, Not(Contains(HasSubstr("Tárcsázás")))); // on the other parcel
    EXPECT_THAT(lines, Not(Contains(HasSubstr("O'Neil dűlő"))));
}

} // namespace

namespace {

TEST_F(FieldList, MachineNamesAreTheTractorsTypeAndTheImplementsNameOrEmpty) {
    AddRow("Erogepek", [](db::TTable& t) {
        t.FieldByName("Gepkod").SetAsString("100007");
        t.FieldByName("Gepnev").SetAsString("MTZ");
        t.FieldByName("Geptip").SetAsString("MTZ 82");
    });
    AddRow("Munkagepek", [](db::TTable& t) {
        t.FieldByName("Gepkod").SetAsString("100007");
        t.FieldByName("Gepnev").SetAsString("Tárcsa");
    });
    ui::OwnedForm<TTablalekerdez> holder(Tablalekerdez, session);
    EXPECT_EQ(holder->MachineName("Erogepek.db", "100007"), "MTZ 82");
    EXPECT_EQ(holder->MachineName("Munkagepek.db", "100007"), "Tárcsa");
    EXPECT_EQ(holder->MachineName("Erogepek.db", "999999"), "");
    EXPECT_EQ(holder->MachineName("Erogepek.db", "1000*"), ""); // no partial match
}

} // namespace
