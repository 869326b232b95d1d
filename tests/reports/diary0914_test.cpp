// The 2009-2014 diary selector: its year box, the summary of the land use (GN-01), the
// grazing log (GN-08), the soil sampling places (GN-16), the force-majeure cases (GN-19),
// the forms its buttons open, and the main window's command and tool button.

#include "core/Folap.h"
#include "diary_fixture.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/keep_pdf.h"
#include "reports/Gn0914ket.h"
#include "reports/Gn0914valasztou.h"
#include "reports/Gn1909vismajoru.h"
#include "reports/Gncimh.h"
#include "reports/Gnkapcsdoch.h"
#include "reports/Gnnovvedmegfh.h"
#include "reports/Gnparszukh.h"
#include "reports/Permnaploszukh.h"
#include "reports/commands.h"

#include <cstdlib>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <map>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

using diarytest::JoinedLines;

class Diary0914 : public diarytest::DiaryTest {
protected:
    Diary0914() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(std::filesystem::current_path());
        diarytest::AddRow(session, "Alapadatok", [](db::TTable& t) {
            t.FieldByName("Nev").SetAsString("Aranykalász Bt.");
            t.FieldByName("Cim").SetAsString("5600 Békéscsaba, Fő utca 1.");
        });
    }
    ~Diary0914() override { selector.reset(); }

    // The selector as the main window shows it: a fresh instance, its global on it.
    TGN200914& Selector() {
        selector = std::make_unique<ui::OwnedForm<TGN200914>>(GN200914, session);
        (*selector)->FormShow(nullptr);
        return **selector;
    }

    void YearField(const std::string& parckod, int evj, double ter, bool akg = false,
                   int ketid = 0) {
        diarytest::AddRow(session, "parcellak", [&](db::TTable& t) {
            t.FieldByName("Parckod").SetAsString(parckod);
            t.FieldByName("Evj").SetAsInteger(evj);
            t.FieldByName("Parcsor").SetAsInteger(1);
            t.FieldByName("Agazat").SetAsString("Őszi búza");
            t.FieldByName("Ter").SetAsFloat(ter);
            t.FieldByName("Aktiv").SetAsString("A");
            t.FieldByName("Agrkor").SetAsBoolean(akg);
            t.FieldByName("Ketid").SetAsInteger(ketid);
        });
    }
    // A land parcel of a land-use branch under a field, active or not.
    void Parcel(const std::string& parckod, int muvagid, bool active = true) {
        LandParcel(parckod, "SZ", 1000, "AB12-3", muvagid);
        if (active)
            return;
        db::TTable t(session);
        t.SetTableName("Tablak");
        t.Open();
        t.Last();
        t.Edit();
        t.FieldByName("Aktiv").SetAsInteger(0);
        t.Post();
    }
    void Programme(int id, const std::string& kod, const std::string& megnev) {
        diarytest::AddRow(session, "celprogramok", [&](db::TTable& t) {
            t.FieldByName("Id").SetAsInteger(id);
            t.FieldByName("Kod").SetAsString(kod);
            t.FieldByName("Megnev").SetAsString(megnev);
            t.FieldByName("Deleted").SetAsBoolean(false);
        });
    }
    struct Grazing {
        std::string field;
        int ter = 10000;
        std::string legmod = "szakaszos";
        bool deleted = false;
        sys::DateTime start = sys::encodeDate(2010, 5, 1);
    };
    void Graze(const Grazing& g) {
        diarytest::AddRow(session, "legnaplo", [&](db::TTable& t) {
            t.FieldByName("Parcid").SetAsString(g.field);
            t.FieldByName("Legkezd").SetAsDateTime(g.start);
            t.FieldByName("Ter").SetAsInteger(g.ter);
            t.FieldByName("Darab").SetAsString("25");
            t.FieldByName("Napok").SetAsInteger(30);
            t.FieldByName("Ae").SetAsFloat(15);
            t.FieldByName("Allid").SetAsInteger(1);
            t.FieldByName("Kor_id").SetAsInteger(1);
            t.FieldByName("Legmod").SetAsString(g.legmod);
            t.FieldByName("Deleted").SetAsBoolean(g.deleted);
        });
    }
    void Animals() {
        diarytest::AddRow(session, "Allatfajok",
                          [](db::TTable& t) { t.FieldByName("Megnev").SetAsString("Juh"); });
        diarytest::AddRow(session, "Korcsoport", [](db::TTable& t) {
            t.FieldByName("Allid").SetAsInteger(1);
            t.FieldByName("Korcs").SetAsString("vegyes (6 hónap felett)");
        });
    }

    // The summary row by column name.
    std::map<std::string, std::string> SummaryRow(TGN200914& form) {
        const std::vector<std::string> values = form.RvCustomGN0209OsszesitoConnection1GetRow();
        std::map<std::string, std::string> row;
        for (std::size_t i = 0; i < SummaryColumns().size(); ++i)
            row[SummaryColumns()[i]] = values.at(i);
        return row;
    }

    std::unique_ptr<ui::OwnedForm<TGN200914>> selector;
    report::CaptureOutput output;
    report::ScopedOutput use{output};
};

TEST_F(Diary0914, TheYearBoxListsTheFieldsYearsAndPicksTheLatest) {
    YearField("100000", 2010, 100);
    YearField("100001", 2009, 100);
    YearField("100002", 2011, 100);
    YearField("100003", 2010, 100);
    TGN200914& form = Selector();
    EXPECT_EQ(form.ComboBox1->Items().Count(), 3);
    EXPECT_EQ(form.ComboBox1->Items()[0], "2009");
    EXPECT_EQ(form.ComboBox1->Items()[1], "2010");
    EXPECT_EQ(form.ComboBox1->Items()[2], "2011");
    EXPECT_EQ(form.ComboBox1->Text(), "2011");
    EXPECT_FALSE(form.Query6.Active());
}

TEST_F(Diary0914, WithoutFieldsTheYearBoxIsEmptyAndABoxWithoutAYearPrintsNothing) {
    TGN200914& form = Selector();
    EXPECT_EQ(form.ComboBox1->Items().Count(), 0);
    EXPECT_EQ(form.ComboBox1->Text(), "");
    for (ui::TButton* sheet : {form.Button11, form.Button13}) {
        dialogs.Expect("Még nincs gazdasági év: előbb rögzítsen egy táblát!");
        sheet->Click();
    }
    EXPECT_TRUE(output.documents.empty());
    EXPECT_EQ(SummaryRow(form)["ossz"], "0"); // the total is put even when it is 0
    EXPECT_EQ(SummaryRow(form)["szant"], "");
    // A 2010 field counts though the box is empty; so it does for typed letters.
    YearField("100000", 2010, 7340);
    Parcel("100000", 1);
    std::map<std::string, std::string> row = SummaryRow(form);
    EXPECT_EQ(row["szant"], "0,73");
    EXPECT_EQ(row["ossz"], "0,73");
    // The heading names the year whose areas the sheet shows.
    EXPECT_EQ(row["evj1"], "2009");
    EXPECT_EQ(row["evj2"], "2010");
    EXPECT_FALSE(form.Query2.Active());
    dialogs.Expect("Hiba! A(z) 'Gazdasági év' értéke (\"idén\") nem évszám !");
    form.ComboBox1->SetText("idén");
    form.Button11->Click();
    EXPECT_TRUE(output.documents.empty());
    form.ComboBox1->SetText("2010");
    form.Button11->Click();
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_THAT(JoinedLines(output.documents[0]),
                HasSubstr("Összesítő adatlap 2009/2010 gazdálkodási évben"));
}

TEST_F(Diary0914, ALandParcelFiledUnderACultivationBranchCountsInThatBranch) {
    // A new installation's cultivation branches are the branches the sheets print.
    db::TTable branches(session);
    branches.SetTableName("Muvelesiag");
    branches.Open();
    std::map<std::string, int> idOf;
    for (branches.First(); !branches.Eof(); branches.Next()) {
        const int id = branches.FieldByName("Id").AsInteger();
        const std::string name = branches.FieldByName("Muvag").AsString();
        EXPECT_EQ(LandUseBranchName(id), name) << id;
        idOf[name] = id;
    }
    EXPECT_EQ(idOf.size(), 13u);
    YearField("100000", 2011, 250000); // a pasture
    Parcel("100000", idOf["legelő"]);
    YearField("100001", 2011, 45000); // a vineyard
    Parcel("100001", idOf["szőlő"]);
    TGN200914& form = Selector();
    std::map<std::string, std::string> row = SummaryRow(form);
    EXPECT_EQ(row["legel"], "25");
    EXPECT_EQ(row["szolo"], "4,5");
    EXPECT_EQ(row["halas"], "");
    EXPECT_EQ(row["gyep"], "");
}

TEST_F(Diary0914, TheSummaryCountsEachFieldOncePerBranchOfItsActiveParcels) {
    YearField("100000", 2011, 7340, true); // 73.4 ares, AKG
    Parcel("100000", 1);
    Parcel("100000", 1);             // a second parcel of the same branch: counted once
    YearField("100001", 2011, 9999); // grassland and orchard: counted in both
    Parcel("100001", 2);
    Parcel("100001", 4);
    YearField("100002", 2011, 5000); // on an inactive parcel only: not counted
    Parcel("100002", 1, false);
    YearField("100003", 2011, 99); // 0.0099 ha: nothing after truncation
    Parcel("100003", 13);
    YearField("100004", 2011, 3000); // branch 14: never shown, not in the total
    Parcel("100004", 14);
    YearField("100005", 2010, 20000); // another year
    Parcel("100005", 1);
    TGN200914& form = Selector();
    ASSERT_EQ(form.ComboBox1->Text(), "2011");
    std::map<std::string, std::string> row = SummaryRow(form);
    EXPECT_EQ(row["szant"], "0,73");
    EXPECT_EQ(row["gyep"], "0,99");
    EXPECT_EQ(row["gyumol"], "0,99");
    EXPECT_EQ(row["konyhakert"], "");
    EXPECT_EQ(row["szolo"], "");
    EXPECT_EQ(row["ossz"], "2,71");
    EXPECT_EQ(row["akgszant"], "0,73");
    EXPECT_EQ(row["akggyep"], "");
    EXPECT_EQ(row["evj1"], "2010");
    EXPECT_EQ(row["evj2"], "2011");
    EXPECT_EQ(row.size(), 29u);

    form.Button11->Click();
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "09GN02Osszesito.rav");
    regtest::KeepPdf(output.documents[0], "09GN02Osszesito.pdf");
    const std::string text = regtest::PdfText(output.documents[0]);
    if (text.empty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_THAT(text, HasSubstr("Összesítő adatlap 2010/2011 gazdálkodási évben"));
    EXPECT_THAT(text, HasSubstr("Aranykalász Bt."));
    EXPECT_THAT(text, testing::ContainsRegex("1 +szántó +szántó +0,73 +0,73"));
    EXPECT_THAT(text, testing::ContainsRegex("3 +gyümölcs +0,99"));
    EXPECT_THAT(text, testing::ContainsRegex("Összesen +2,71"));
    EXPECT_THAT(text, testing::ContainsRegex("18 +Juh +vegyes \\(6 hónap felett\\)"));
}

TEST_F(Diary0914, TheGrazingLogListsTheGrazingsOfKetFields) {
    Animals();
    Programme(907, "SZ01", "Szántóföldi integrált");
    const int ket = KetArea({.sorsz = 1, .hazimen = "Nagy-rét", .akgkod = 907});
    YearField("100000", 2010, 50000, true, ket);
    YearField("100001", 2010, 50000, false, ket);
    YearField("100002", 2010, 50000, true); // no KET area: not listed
    Graze({.field = "100000", .ter = 12345, .legmod = "szakaszos"});
    Graze({.field = "100001",
           .ter = 99,
           .legmod = "folyamatos",
           .start = sys::encodeDate(2010, 4, 2)});
    Graze({.field = "100002", .legmod = "nincs KET"});
    Graze({.field = "100000", .legmod = "törölt", .deleted = true});
    TGN200914& form = Selector();
    form.Query10.Open();
    std::vector<std::tuple<std::string, std::string, double>> rows;
    for (form.Query10.First(); !form.Query10.Eof(); form.Query10.Next())
        rows.emplace_back(form.Query10.FieldByName("Legmod").AsString(),
                          form.Query10.FieldByName("akgcelpkod").AsString(),
                          form.Query10.FieldByName("terha").AsFloat());
    EXPECT_EQ(form.Query10.FieldByName("Megnev_1").AsString(), "Szántóföldi integrált");
    form.Query10.Close();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(std::get<0>(rows[0]), "folyamatos"); // by the start of grazing
    EXPECT_EQ(std::get<1>(rows[0]), "");
    EXPECT_DOUBLE_EQ(std::get<2>(rows[0]), 0);
    EXPECT_EQ(std::get<0>(rows[1]), "szakaszos");
    EXPECT_EQ(std::get<1>(rows[1]), "SZ01");
    EXPECT_DOUBLE_EQ(std::get<2>(rows[1]), 1.23);

    form.Button14->Click();
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "09GN08Legnaplo.rav");
    EXPECT_FALSE(form.Query10.Active());
    regtest::KeepPdf(output.documents[0], "09GN08Legnaplo.pdf");
    const std::string text = JoinedLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("Legeltetési napló"));
    EXPECT_THAT(text, HasSubstr("| SZ01 | 1,23 | Juh | vegyes (6 hónap felett) | 25 | 15,00 |"));
    EXPECT_THAT(text, HasSubstr("folyamatos"));
    EXPECT_THAT(text, Not(HasSubstr("nincs KET")));
    EXPECT_THAT(text, Not(HasSubstr("törölt")));
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf,
                    testing::ContainsRegex(
                        "2010\\. 05\\. 01\\. +30 +1 +Őszi búza +SZ01 +1,23 +Juh .* 25 +15,00"));
    }
}

TEST_F(Diary0914, WithoutGrazingsTheLogPrintsNothingAndSaysNothing) {
    TGN200914& form = Selector();
    form.Button14->Click();
    EXPECT_TRUE(output.asked.empty());
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(Diary0914, TheSoilSheetMarksTheSampledDepths) {
    Programme(907, "GY02", "Gyepgazdálkodás");
    const int ket = KetArea({.sorsz = 2, .hazimen = "Alsó-legelő", .akgkod = 907});
    const auto place = [&](const std::string& jele, bool deleted) {
        diarytest::AddRow(session, "TalajmintaKet", [&](db::TTable& t) {
            t.FieldByName("Ketid").SetAsInteger(ket);
            t.FieldByName("Jele").SetAsString(jele);
            t.FieldByName("Ter").SetAsFloat(5);
            t.FieldByName("Elsominatido").SetAsDateTime(sys::encodeDate(2010, 3, 15));
            t.FieldByName("Elsojegyzsz").SetAsString("TV-2010/17");
            t.FieldByName("Megjegyzés").SetAsString("szárazság után");
            t.FieldByName("025").SetAsBoolean(true);
            t.FieldByName("3060").SetAsBoolean(true);
            t.FieldByName("Deleted").SetAsBoolean(deleted);
        });
    };
    place("M-1", false);
    place("M-törölt", true);
    TGN200914& form = Selector();
    form.Button8->Click();
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "09GN16Talajvizs.rav");
    EXPECT_FALSE(form.Query11.Active());
    regtest::KeepPdf(output.documents[0], "09GN16Talajvizs.pdf");
    const std::string text = JoinedLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("2. KET: Alsó-legelő (12,5 ha), célprogram: GY02 Gyepgazdálkodás"));
    EXPECT_THAT(text, HasSubstr("| M-1 | 5,00 |"));
    EXPECT_THAT(text, HasSubstr("TV-2010/17 | X |   |   |   | X | szárazság után"));
    EXPECT_THAT(text, Not(HasSubstr("M-törölt")));
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf,
                    testing::ContainsRegex(
                        "2 +M-1 +5,00 +2010\\. 03\\. 15\\. +TV-2010/17 +X +X +szárazság után"));
    }

    // Without a place the sheet prints its empty layout.
    db::TTable places(session);
    places.SetTableName("TalajmintaKet");
    places.EmptyTable();
    form.Button8->Click();
    EXPECT_EQ(output.documents.size(), 2u);
}

TEST_F(Diary0914, TheForceMajeureSheetListsTheCasesByYearFieldAndDate) {
    Field("100000", 2011, 2, "Kukorica", 5000);
    Field("100001", 2010, 7, "Őszi búza", 20000);
    Field("100002", 2011, 1, "Lucerna", 10000);
    const auto vis = [&](const std::string& field, sys::DateTime when, const std::string& cause,
                         bool deleted = false) {
        diarytest::AddRow(session, "Vismajor", [&](db::TTable& t) {
            t.FieldByName("Parcid").SetAsString(field);
            t.FieldByName("Vister").SetAsFloat(0.2);
            t.FieldByName("Bejido").SetAsDateTime(when);
            t.FieldByName("Visok").SetAsString(cause);
            t.FieldByName("Deleted").SetAsBoolean(deleted);
        });
    };
    vis("100000", sys::encodeDate(2011, 7, 2), "jégeső");
    vis("100000", sys::encodeDate(2011, 6, 1), "belvíz");
    vis("100001", sys::encodeDate(2010, 5, 20), "aszály");
    vis("100002", sys::encodeDate(2011, 8, 1), "tűz");
    vis("100002", sys::encodeDate(2011, 8, 9), "visszavont", true);
    TGN200914& form = Selector();
    form.Button10->Click();
    EXPECT_EQ(GN1909vismajor, nullptr); // the data holder is freed again
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "09GN19vismajor.rav");
    regtest::KeepPdf(output.documents[0], "09GN19vismajor.pdf");
    const std::string text = JoinedLines(output.documents[0]);
    const std::size_t drought = text.find("aszály"), fire = text.find("tűz"),
                      water = text.find("belvíz"), hail = text.find("jégeső");
    ASSERT_NE(hail, std::string::npos);
    EXPECT_LT(drought, fire);
    EXPECT_LT(fire, water);
    EXPECT_LT(water, hail);
    EXPECT_THAT(text, HasSubstr("2011 | 2 | 0,50 | 0,20 |")); // the field's area, not the case's
    EXPECT_THAT(text, Not(HasSubstr("visszavont")));
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf,
                    testing::ContainsRegex("2011 +2 +0,50 +0,20 +2011\\. 06\\. 01\\. +belvíz"));
    }
}

TEST_F(Diary0914, TheParcelSheetButtonsOpenTheConditionFormInTheirModes) {
    TGN200914& form = Selector();
    std::vector<std::pair<int, std::string>> opened;
    const auto record = [&](TGNParSzuk& f) {
        EXPECT_EQ(GNParSzuk, &f);
        const TRvProject& project = f.DiaryReportMode == 3   ? f.RvProject3
                                    : f.DiaryReportMode == 4 ? f.RvProject4
                                                             : f.RvProject5;
        opened.emplace_back(f.DiaryReportMode, project.ProjectFile());
        f.Button3->click();
    };
    for (int i = 0; i < 3; ++i)
        forms.On<TGNParSzuk>(record);
    form.Button5->Click();
    form.Button16->Click();
    form.Button18->Click();
    forms.VerifyDone();
    EXPECT_EQ(opened,
              (std::vector<std::pair<int, std::string>>{
                  {3, "09GN07MuvAdatok.rav"}, {4, "09GN11Ontozes.rav"}, {5, "09GN12TraNapl.rav"}}));
    EXPECT_EQ(GNParSzuk, nullptr);
}

TEST_F(Diary0914, TheCoverObservationSprayAndRemarksButtonsOpenTheirFormsForThisPeriod) {
    Field("100000", 2010, 1, "Őszi búza", 10000);
    Operation({.muvkod = "100000", .field = "100000"}); // the spray log opens on operations
    TGN200914& form = Selector();
    std::vector<std::string> projects;
    forms.On<TGNcim>([&](TGNcim& f) {
        EXPECT_EQ(GNcim, &f);
        EXPECT_TRUE(f.Button1->Visible()); // only the 2009-2014 cover is offered
        EXPECT_FALSE(f.Button2->Visible());
        f.Close();
    });
    forms.On<TGNNovVedMegf>([&](TGNNovVedMegf& f) {
        EXPECT_EQ(GNNovVedMegf, &f);
        projects.push_back(f.RvProject1.ProjectFile());
        f.Close();
    });
    forms.On<Tpermnaploszuk>([&](Tpermnaploszuk& f) {
        EXPECT_EQ(permnaploszuk, &f);
        projects.push_back(f.RvProject1.ProjectFile());
        f.Close();
    });
    forms.On<TGNKapcsdoc>([&](TGNKapcsdoc& f) {
        EXPECT_EQ(GNKapcsdoc, &f);
        projects.push_back(f.RvProject1.ProjectFile());
        f.Close();
    });
    form.Button1->Click();
    form.Button15->Click();
    form.Button30->Click();
    form.Button6->Click();
    forms.VerifyDone();
    EXPECT_EQ(forms.Shown().size(), 4u);
    EXPECT_EQ(projects, (std::vector<std::string>{"09GN09Novvedmegf.rav", "09GN10Permetez.rav",
                                                  "09GN18Megjegyz.rav"}));
    for (const void* global :
         {static_cast<const void*>(GNcim), static_cast<const void*>(GNNovVedMegf),
          static_cast<const void*>(permnaploszuk), static_cast<const void*>(GNKapcsdoc)})
        EXPECT_EQ(global, nullptr); // each form is freed again
    EXPECT_TRUE(output.asked.empty());
}

// GN-01, GN-04 and GN-06 print one farming year: a half-typed year or letters are told,
// never printed as another year's figures.
TEST_F(Diary0914, EveryYearSheetRefusesABoxWithoutAYear) {
    YearField("100000", 2010, 7340);
    TGN200914& form = Selector();
    for (const char* typed : {"202", "20", "abc"})
        for (ui::TButton* sheet : {form.Button11, form.Button13, form.Button4}) {
            dialogs.Expect("Hiba! A(z) 'Gazdasági év' értéke (\"" + std::string(typed) +
                           "\") nem évszám !");
            form.ComboBox1->SetText(typed);
            sheet->Click();
        }
    EXPECT_TRUE(output.documents.empty());
    dialogs.VerifyDone();
}

TEST_F(Diary0914, TheKetButtonsPrintTheirSheets) {
    TGN200914& form = Selector();
    EXPECT_TRUE(form.KetSheets.Query5.Active()); // the fertiliser uses, open while shown
    form.ComboBox1->SetText("2010");
    form.Button2->Click();
    form.Button12->Click();
    form.Button13->Click();
    EXPECT_EQ(output.asked,
              (std::vector<std::string>{"09GN02SzParcellak.rav", "09GN03GyParcellak.rav",
                                        "09GN03UParcellak.rav"}));
    ui::TCloseAction action = ui::caHide;
    form.FormClose(nullptr, action);
    EXPECT_FALSE(form.KetSheets.Query5.Active());
}

TEST_F(Diary0914, ANutrientTextThatDoesNotReadStopsTheArableSheetWithAMessage) {
    const int ket = KetArea({.sorsz = 1, .hazimen = "Nagy-dűlő", .akgmuvag = 1});
    YearField("100000", 2010, 10000, true, ket);
    Operation({.muvkod = "100000", .field = "100000"});
    Material({.felhkod = "100000",
              .muvkod = "100000",
              .field = "100000",
              .anyagkod = "100000",
              .menny = 200,
              .felelos = "X2o;10;10;",
              .mutr = true});
    TGN200914& form = Selector();
    // The program's event loop shows what escapes a click.
    dialogs.Expect("'2o' nem érvényes szám.");
    ui::Guarded([&] { form.Button2->Click(); });
    dialogs.VerifyDone();
    EXPECT_TRUE(output.documents.empty());
    EXPECT_EQ(GNParMuvNy, routines->get()); // the sheet's data holder is freed again
    // The text put right, the same selector prints the sheet.
    db::TTable uses(session);
    uses.SetTableName("felhanyag");
    uses.Open();
    uses.Edit();
    uses.FieldByName("Felelos").SetAsString("X20;10;10;");
    uses.Post();
    uses.Close();
    ui::TCloseAction action = ui::caHide;
    form.FormClose(nullptr, action);
    form.FormShow(nullptr);
    form.Button2->Click();
    ASSERT_EQ(output.documents.size(), 1u);
    const std::string text = regtest::PdfText(output.documents[0]);
    if (text.empty())
        GTEST_SKIP() << "pdftotext is not installed";
    EXPECT_THAT(text, testing::ContainsRegex("Őszi búza .* 1,00 .* 40 +20 +20"));
}

TEST_F(Diary0914, TheButtonsWithoutASheetDoNothingAndTheAnimalSheetsAreGreyed) {
    TGN200914& form = Selector();
    form.Button3->Click();
    form.Button17->Click();
    EXPECT_TRUE(dialogs.Shown().empty());
    EXPECT_TRUE(forms.Shown().empty());
    EXPECT_TRUE(output.asked.empty());
    EXPECT_FALSE(form.Button32->isEnabled());
    EXPECT_FALSE(form.Button34->isEnabled());
    EXPECT_FALSE(form.Button36->isEnabled());
    EXPECT_EQ(form.Button10->Caption(), "\"vis maior\" esetek");
}

TEST_F(Diary0914, TheMainWindowCommandAndToolButtonShowAFreshSelector) {
    YearField("100000", 2012, 100);
    app->CreateForm(Folap1, session);
    Folap1->Timer1->SetEnabled(false);
    TGN200914 kept(session); // the instance made at start-up
    GN200914 = &kept;
    InstallReportCommands(*Folap1, session);
    ShowActive(*Folap1);
    std::vector<std::string> years;
    const auto play = [&](TGN200914& f) {
        EXPECT_NE(&f, &kept);
        EXPECT_EQ(GN200914, &f);
        years.push_back(f.ComboBox1->Text());
        if (const char* folder = std::getenv("FARM_SCREENSHOT_DIR"))
            f.grab().save(QString::fromStdString(folder) + "/gn200914.png");
        f.Close();
    };
    forms.On<TGN200914>(play);
    forms.On<TGN200914>(play);
    ui::TMenuItem* item = Folap1->FindMenuItem({"Lekérdezések  ", "GAZDÁLKODÁSI NAPLÓ 2009-2014"});
    ASSERT_NE(item, nullptr);
    item->Click();
    Folap1->ToolButton11->Click();
    forms.VerifyDone();
    EXPECT_EQ(years, (std::vector<std::string>{"2012", "2012"}));
    EXPECT_EQ(GN200914, &kept);
    Folap1->Hide();
    app.reset(); // the forms go before the session
    Folap1 = nullptr;
    GN200914 = nullptr;
}

} // namespace
