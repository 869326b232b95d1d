// The land-use plan: plan lines of a KET and year, crop-group shares of the programme
// with the ceiling to two decimals, the deletion of the selected line, the crop groups,
// and the printout.

#include "keep_pdf.h"
#include "lists_fixture.h"
#include "platform/report/document.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/Agazaticsoporth.h"
#include "register/Fhaszntervh.h"
#include "register/layouts.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::Contains;
using ::testing::HasSubstr;

TEST(CropGroupShares, RoundedUpToTwoDecimalsOfTheYearAndOfFiveYears) {
    EXPECT_DOUBLE_EQ(reg::CropGroupShare(10, 30, 1), 33.34);
    EXPECT_DOUBLE_EQ(reg::CropGroupShare(10, 30, 5), 6.67);
    EXPECT_DOUBLE_EQ(reg::CropGroupShare(15, 30, 1), 50);
    EXPECT_DOUBLE_EQ(reg::CropGroupShare(5, 0, 1), 0); // a programme without area
}

class LandUsePlan : public regtest::ListsTest {
protected:
    LandUsePlan() {
        ketA = AddKet(1, 20, 1, "Felső");
        ketB = AddKet(2, 10, 1, "Alsó");
        AddKet(3, 50, 3, "Más program");
        cereals = AddGroup("Kalászosok", 1);
        pulses = AddGroup("Hüvelyesek", 1);
        AddGroup("Másik program csoportja", 3);
        for (auto [code, name] : {std::pair{"000001", "Búza"}, std::pair{"000002", "Borsó"}})
            AddRow("Magfajtak", [&](db::TTable& t) {
                t.FieldByName("Fajkod").SetAsString(code);
                t.FieldByName("Faj").SetAsString(name);
            });
        AddField({.parckod = "100000", .agazat = "Kukorica", .ter = 45000});
    }

    int AddKet(int serial, double area, int programme, const std::string& name) {
        return AddRow(
            "kotegyter",
            [&](db::TTable& t) {
                t.FieldByName("Sorsz").SetAsInteger(serial);
                t.FieldByName("Ter").SetAsFloat(area);
                t.FieldByName("Akgkod").SetAsInteger(programme);
                t.FieldByName("Hazimen").SetAsString(name);
                t.FieldByName("Deleted").SetAsBoolean(false);
            },
            "Id");
    }

    int AddGroup(const std::string& name, int programme) {
        return AddRow(
            "Agazaticsoport",
            [&](db::TTable& t) {
                t.FieldByName("Nev").SetAsString(name);
                t.FieldByName("Celpid").SetAsInteger(programme);
                t.FieldByName("Deleted").SetAsBoolean(false);
            },
            "Id");
    }

    static void AddLine(Tfoldhasznterv& f, int group, const char* crop, const char* area) {
        f.DBLookupComboBox1->SetKeyValue(db::Value(group));
        f.DBLookupComboBox2->SetKeyValue(db::Value(std::string(crop)));
        f.Edit1->SetText(area);
        f.Button1->click();
    }

    static std::vector<std::string> Shares(Tfoldhasznterv& f) {
        std::vector<std::string> rows;
        for (f.Query5.First(); !f.Query5.Eof(); f.Query5.Next())
            rows.push_back(f.Query5.FieldByName("Nev").AsString() + " " +
                           f.Query5.FieldByName("SumTer").AsString() + " " +
                           f.Query5.FieldByName("Agazperc").AsString() + " " +
                           f.Query5.FieldByName("Otagazparc").AsString());
        return rows;
    }

    int ketA = 0;
    int ketB = 0;
    int cereals = 0;
    int pulses = 0;
};

TEST_F(LandUsePlan, LinesAddUpToCropGroupSharesOfTheProgramme) {
    forms.On<Tfoldhasznterv>([&](Tfoldhasznterv& f) {
        EXPECT_EQ(f.Label2->Caption(), "KET = 30 ha");
        EXPECT_EQ(f.ComboBox1->Text(), "2010");
        EXPECT_EQ(f.Table2.RecordCount(), 2); // the groups of the KET's programme
        // The predecessor field gives its crop and its area in hectares.
        EXPECT_EQ(f.Edit2->Text(), "Kukorica");
        EXPECT_EQ(f.Edit1->Text(), "4,5");
        AddLine(f, cereals, "000001", "10");
        EXPECT_EQ(f.Edit2->Text(), "");
        AddLine(f, pulses, "000002", "5");
        EXPECT_EQ(f.Query3.RecordCount(), 2);
        f.ComboBox1->SetText("2011");
        AddLine(f, cereals, "000001", "2,5");
        EXPECT_EQ(f.Query3.RecordCount(), 1); // the 2011 lines of the KET
        EXPECT_EQ(Shares(f), (std::vector<std::string>{"Kalászosok 12,5 41,67 8,34",
                                                       "Hüvelyesek 5 16,67 3,34"}));
        // A line of the other KET of the same programme counts in the shares.
        ASSERT_TRUE(f.Query1.Locate("Id", {db::Value(ketB)}));
        EXPECT_EQ(f.Query3.RecordCount(), 0);
        AddLine(f, pulses, "000002", "1");
        EXPECT_EQ(f.Query3.RecordCount(), 1);
        EXPECT_THAT(Shares(f), Contains("Hüvelyesek 6 20 4"));
        // A line without a crop is refused.
        f.DBLookupComboBox1->SetKeyValue(db::Value(cereals));
        f.DBLookupComboBox2->SetKeyValue(db::Null{});
        dialogs.Expect("Kérem válassza ki a növénykultúra csoportot, az ágazatot és az évet!");
        f.Button1->click();
        f.Button4->click();
    });
    ui::ShowModalForm(foldhasznterv, session);
    EXPECT_EQ(RowCount("Foldhasznterv"), 4);
    EXPECT_EQ(Column("Foldhasznterv", "Ev"),
              (std::vector<std::string>{"2010", "2010", "2011", "2011"}));
    EXPECT_EQ(Column("Foldhasznterv", "Elovet")[0], "Kukorica");
}

TEST_F(LandUsePlan, DeletingRemovesTheSelectedLineAndADeletedGroupNoLongerCounts) {
    forms.On<Tfoldhasznterv>([&](Tfoldhasznterv& f) {
        AddLine(f, cereals, "000001", "10");
        AddLine(f, pulses, "000002", "6");
        AddLine(f, cereals, "000001", "3");
        // Select the pulses line, the middle one, and delete it.
        ASSERT_TRUE(f.Query3.Locate("Agazcsopid", {db::Value(pulses)}));
        f.Button2->click();
        EXPECT_EQ(f.Query3.RecordCount(), 2);
        EXPECT_EQ(Shares(f), (std::vector<std::string>{"Kalászosok 13 43,34 8,67"}));
        f.Button4->click();
    });
    ui::ShowModalForm(foldhasznterv, session);
    EXPECT_EQ(Column("Foldhasznterv", "Deleted"),
              (std::vector<std::string>{"False", "True", "False"}));

    forms.On<TAgazatcsoportok>([&](TAgazatcsoportok& g) {
        EXPECT_EQ(g.Query1.RecordCount(), 3);
        ASSERT_TRUE(g.Query1.Locate("Id", {db::Value(cereals)}));
        g.Button2->click(); // no question
        EXPECT_EQ(g.Query1.RecordCount(), 2);
        g.Button1->click();
        EXPECT_TRUE(g.GroupBox1->isVisible());
        dialogs.Expect("Kérem adja meg a csoport nevét és célprogramját!");
        g.Button4->click();
        g.Edit1->SetText("Olajnövények");
        g.DBLookupComboBox1->SetKeyValue(db::Value(1));
        g.Button4->click();
        EXPECT_FALSE(g.GroupBox1->isVisible());
        EXPECT_EQ(g.Query1.RecordCount(), 3);
        g.Button1->click(); // a second group of one name is refused
        g.Edit1->SetText(" olajnövények");
        dialogs.Expect("Ilyen nevű ágazati csoport már van!");
        g.Button4->click();
        EXPECT_TRUE(g.GroupBox1->isVisible());
        g.Button5->click();
        g.Button3->click();
    });
    forms.On<Tfoldhasznterv>([&](Tfoldhasznterv& f) {
        EXPECT_EQ(Shares(f), (std::vector<std::string>{"Kalászosok 13 43,34 8,67"}));
        f.Button5->click();                   // "+" opens the crop groups
        EXPECT_TRUE(Shares(f).empty());       // the deleted group's lines no longer count
        EXPECT_EQ(f.Table2.RecordCount(), 2); // a deleted group is not offered
        f.Button4->click();
    });
    ui::ShowModalForm(foldhasznterv, session);
    EXPECT_EQ(Column("Agazaticsoport", "Nev", "Deleted = False AND Celpid = 1"),
              (std::vector<std::string>{"Hüvelyesek", "Olajnövények"}));
}

TEST_F(LandUsePlan, ThePrintoutHoldsTheYearsLinesOfEveryKetAndTheShares) {
    regtest::SetFarmName(session, "Zöldmező Kft.");
    reg::RegisterLayouts();
    report::WriteBuiltInLayouts(std::filesystem::current_path());
    report::CaptureOutput output;
    report::ScopedOutput use(output);
    forms.On<Tfoldhasznterv>([&](Tfoldhasznterv& f) {
        AddLine(f, cereals, "000001", "10");
        ASSERT_TRUE(f.Query1.Locate("Id", {db::Value(ketB)}));
        AddLine(f, pulses, "000002", "4");
        f.Button3->click();
        EXPECT_EQ(f.Query3.RecordCount(), 1); // back to the KET's own lines
        f.Button4->click();
    });
    ui::ShowModalForm(foldhasznterv, session);
    ASSERT_EQ(output.documents.size(), 1u);
    regtest::KeepPdf(output.documents[0], "foldhasznterv.pdf");
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("Kalászosok"));
        EXPECT_THAT(pdf, HasSubstr("33,34"));
        EXPECT_THAT(pdf, HasSubstr("Borsó"));
    }
    const auto lines = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(lines, Contains("Célprogram: Integrált szántóföldi növénytermesztés célprogram"));
    EXPECT_THAT(lines, Contains(HasSubstr("A célprogram KET területe: 30 ha")));
    EXPECT_THAT(lines, Contains("1 | Búza | Kalászosok | Kukorica | 10,00"));
    EXPECT_THAT(lines, Contains("2 | Borsó | Hüvelyesek | 4,00"));
    EXPECT_THAT(lines, Contains("Összesen: | 14,00"));
    EXPECT_THAT(lines, Contains("Kalászosok | 10,00 | 33,34 | 6,67"));
}

} // namespace
