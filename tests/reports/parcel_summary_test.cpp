// The parcel summaries: GN 03 shown and printed for a chosen year or every active field,
// GN-06 printed without its form, the remark rows of fields on several land parcels with
// their page and line, and each sheet's rows in its PDF text.

#include "diary_fixture.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/keep_pdf.h"
#include "reports/Alapadatok1h.h"
#include "reports/Gazdnapvalasztoh.h"
#include "reports/Gn0914valasztou.h"
#include "reports/Gnnovvedmegfh.h"
#include "reports/commands.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

std::string DateMark() {
    return "*" + sys::dateToText(sys::today()).substr(5);
}

struct FieldRow {
    std::string parckod;
    int evj = 2008;
    int parcsor = 1;
    double ter = 20000;
    bool agrkor = true;
    std::string aktiv = "A";
    std::string masod = "NEM";
    bool tertam = false, kat19 = false, nat2000 = false, nitr = false;
    std::string hasznkod{};
};

class ParcelSummary : public diarytest::DiaryTest {
protected:
    ParcelSummary() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(std::filesystem::current_path());
        diarytest::AddRow(session, "Alapadatok", [](db::TTable& t) {
            t.FieldByName("Nev").SetAsString("Aranykalász Bt.");
            t.FieldByName("Cim").SetAsString("5600 Békéscsaba, Fő utca 1.");
        });
    }

    void Add(const FieldRow& f) {
        diarytest::AddRow(session, "parcellak", [&](db::TTable& t) {
            t.FieldByName("Parckod").SetAsString(f.parckod);
            t.FieldByName("Evj").SetAsInteger(f.evj);
            t.FieldByName("Parcsor").SetAsInteger(f.parcsor);
            t.FieldByName("Ter").SetAsFloat(f.ter);
            t.FieldByName("Agazat").SetAsString("Őszi búza");
            t.FieldByName("Aktiv").SetAsString(f.aktiv);
            t.FieldByName("Masod").SetAsString(f.masod);
            t.FieldByName("Agrkor").SetAsBoolean(f.agrkor);
            t.FieldByName("Tertam").SetAsBoolean(f.tertam);
            t.FieldByName("Kat19").SetAsBoolean(f.kat19);
            t.FieldByName("Nat2000").SetAsBoolean(f.nat2000);
            t.FieldByName("Nitr").SetAsBoolean(f.nitr);
            t.FieldByName("Hasznkod").SetAsString(f.hasznkod);
            t.FieldByName("Celp").SetAsString("Integrált szántóföldi");
        });
    }

    // A land parcel with its land-registry number under a field.
    void Parcel(const std::string& parckod, const std::string& helysz, int aktiv = 1,
                int muvagid = 1) {
        int id = 0;
        {
            db::TTable t(session);
            t.SetTableName("Tablak");
            t.Open();
            t.Append();
            t.FieldByName("Helysz").SetAsString(helysz);
            t.FieldByName("Parcella").SetAsString("SZ");
            t.FieldByName("Ter").SetAsInteger(10000);
            t.FieldByName("Blok").SetAsString("K1AB2-C-09");
            t.FieldByName("Muvagid").SetAsInteger(muvagid);
            t.FieldByName("Aktiv").SetAsInteger(aktiv);
            t.Post();
            id = t.FieldByName("Tableid").AsInteger();
        }
        diarytest::AddRow(session, "Szhelyrajzi", [&](db::TTable& t) {
            t.FieldByName("Parcellakod").SetAsString(parckod);
            t.FieldByName("Helysz").SetAsInteger(id);
        });
    }

    // Shows GN 03, lets `set` choose, prints and closes; the remark rows of the form.
    std::vector<std::vector<std::string>> PrintGn03(const std::function<void(TAlapadatok1&)>& set) {
        std::vector<std::vector<std::string>> remarks;
        forms.On<TAlapadatok1>([&](TAlapadatok1& f) {
            set(f);
            f.Button3->Click();
            for (int row = 0; row < f.StringGrid1->RowCount(); ++row)
                remarks.push_back(f.StringGrid1->Rows(row));
            f.Button4->Click();
        });
        OpenParcelSummary(session);
        return remarks;
    }

    // Chooses the year in the form's second year box.
    static void ChooseYear(TAlapadatok1& f, int year) {
        f.CheckBox1->SetChecked(false);
        int row = 0;
        for (f.Query1.First(); !f.Query1.Eof(); f.Query1.Next(), ++row)
            if (f.Query1.FieldByName("Evj").AsInteger() == year)
                break;
        f.DBLookupComboBox2->Choose(row);
    }

    report::CaptureOutput output;
    report::ScopedOutput use{output};
};

TEST(ParcelSummaryRules, RowsFindTheirPageAndLineAndProgrammesJoin) {
    EXPECT_EQ(SummarySheetPlace(1).page, 1);
    EXPECT_EQ(SummarySheetPlace(1).line, 1);
    EXPECT_EQ(SummarySheetPlace(3).line, 3);
    EXPECT_EQ(SummarySheetPlace(14).page, 1);
    EXPECT_EQ(SummarySheetPlace(14).line, 14);
    EXPECT_EQ(SummarySheetPlace(15).page, 2);
    EXPECT_EQ(SummarySheetPlace(15).line, 1);
    EXPECT_EQ(SummarySheetPlace(28).page, 2);
    EXPECT_EQ(SummarySheetPlace(28).line, 14);
    EXPECT_EQ(SupportProgrammes(true, true, true), "SAPS,AKG,KAT");
    EXPECT_EQ(SupportProgrammes(false, true, true), "AKG,KAT");
    EXPECT_EQ(SupportProgrammes(false, false, true), "KAT");
    EXPECT_EQ(SupportProgrammes(false, false, false), "");
    EXPECT_EQ(report::ShippedLayout("reports/GN03Parcellak.rav").rfind("farmreport 1 version=1", 0),
              0u);
    EXPECT_EQ(report::ShippedLayout("reports/Ismeretlen.rav"), "");
}

TEST_F(ParcelSummary, AChosenYearPrintsOnlyItsAgriEnvironmentFields) {
    Add({.parckod = "100000", .parcsor = 1, .ter = 17345, .tertam = true});
    Add({.parckod = "100001", .parcsor = 2, .agrkor = false});
    Add({.parckod = "100002", .evj = 2007, .parcsor = 7});
    for (const char* code : {"100000", "100001", "100002"})
        Parcel(code, "0" + std::string(code).substr(3));
    PrintGn03([](TAlapadatok1& f) { ChooseYear(f, 2008); });
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "GN03Parcellak.rav");
    regtest::KeepPdf(output.documents[0], "GN03Parcellak.pdf");
    const std::string text = diarytest::JoinedLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("Parcellaösszesítő"));
    EXPECT_THAT(text, HasSubstr("2007/2008 gazdasági év"));
    EXPECT_THAT(text, HasSubstr("Aranykalász Bt."));
    // 17 345 m² truncated to whole ares; the land-use name keeps four characters.
    EXPECT_THAT(text, HasSubstr("1 | 2008 | 1,73 | K1AB2-C-09 | 0000, | szán | H | Integrált "
                                "szántóföldi | SAPS,AKG\n"));
    EXPECT_THAT(text, HasSubstr("SAPS,AKG"));
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("2007/2008 gazdasági év"));
        EXPECT_THAT(pdf, HasSubstr("K1AB2-C-09"));
        EXPECT_THAT(pdf, HasSubstr("SAPS,AKG"));
    }
    EXPECT_THAT(text, Not(HasSubstr("0001,")));
    EXPECT_THAT(text, Not(HasSubstr("0002,")));
}

// The Part put the placeholder year 1 on the sheet (0/1); the sheet names the fields' year.
TEST_F(ParcelSummary, EveryActiveFieldPrintsInYearOrderUnderTheLatestYear) {
    Add({.parckod = "100000", .evj = 2008, .parcsor = 2});
    Add({.parckod = "100001", .evj = 2007, .parcsor = 5});
    Add({.parckod = "100002", .evj = 2008, .parcsor = 1, .aktiv = "N"});
    Add({.parckod = "100003", .evj = 2008, .parcsor = 3});
    Parcel("100000", "0100");
    Parcel("100001", "0101");
    Parcel("100002", "0102");
    Parcel("100003", "0103", 0); // only an inactive land parcel
    PrintGn03([](TAlapadatok1& f) { EXPECT_TRUE(f.CheckBox1->Checked()); });
    ASSERT_EQ(output.documents.size(), 1u);
    const std::string text = diarytest::JoinedLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("2007/2008 gazdasági év"));
    EXPECT_THAT(text, Not(HasSubstr("0/1 gazdasági év")));
    const std::size_t y2007 = text.find("0101,");
    const std::size_t y2008 = text.find("0100,");
    ASSERT_NE(y2007, std::string::npos);
    ASSERT_NE(y2008, std::string::npos);
    EXPECT_LT(y2007, y2008);
    EXPECT_THAT(text, Not(HasSubstr("0102,")));
    EXPECT_THAT(text, Not(HasSubstr("0103,")));
}

// A field on two land parcels as the third, the fourteenth and the fifteenth row: the
// date mark, and one remark row each with its page and line (the Part gave line 0 of the
// next page to the fourteenth row).
TEST_F(ParcelSummary, FieldsOnTwoLandParcelsGetTheMarkAndARemarkRow) {
    for (int n = 1; n <= 16; ++n) {
        const std::string code = std::to_string(100000 + n);
        Add({.parckod = code, .parcsor = n});
        if (n == 3) {
            Parcel(code, "12/3");
            Parcel(code, "12/4");
        } else {
            Parcel(code, "20/" + std::to_string(n));
            if (n == 14 || n == 15)
                Parcel(code, "21/" + std::to_string(n));
        }
    }
    const auto remarks = PrintGn03([](TAlapadatok1& f) { ChooseYear(f, 2008); });
    const std::string today = sys::dateToText(sys::today());
    ASSERT_EQ(remarks.size(), 4u);
    EXPECT_EQ(remarks[0],
              (std::vector<std::string>{"100003", "12/3,12/4,", "GN03", "1", "5", "3", today}));
    EXPECT_EQ(remarks[1][3], "1");
    EXPECT_EQ(remarks[1][5], "14");
    EXPECT_EQ(remarks[2][3], "2");
    EXPECT_EQ(remarks[2][5], "1");
    EXPECT_EQ(remarks[3], std::vector<std::string>(7, ""));
    ASSERT_EQ(output.documents.size(), 1u);
    regtest::KeepPdf(output.documents[0], "GN03Parcellak_remarks.pdf");
    const report::Document& document = output.documents[0];
    // Fourteen rows on the first page: the fifteenth row stands first on the second.
    ASSERT_GE(document.pages.size(), 2u);
    const std::string text = diarytest::JoinedLines(document);
    EXPECT_THAT(text, HasSubstr("\n3 | 2008 | 2 | K1AB2-C-09 | " + DateMark() + " | szán"));
    EXPECT_THAT(text, HasSubstr("\nGN03 | 1 | 5 | 3 | 12/3,12/4, | " + today));
    EXPECT_THAT(text, HasSubstr("\nGN03 | 2 | 5 | 1 | 20/15,21/15, |"));
    EXPECT_THAT(text, Not(HasSubstr("12/3,12/4, | szán")));
}

TEST_F(ParcelSummary, ASecondPrintListsOnlyItsOwnRemarksOnce) {
    Add({.parckod = "100001", .evj = 2008, .parcsor = 1});
    Add({.parckod = "100002", .evj = 2007, .parcsor = 1});
    for (const char* code : {"100001", "100002"}) {
        Parcel(code, std::string("1/") + code);
        Parcel(code, std::string("2/") + code);
    }
    std::vector<std::size_t> rowsAfter;
    std::vector<std::string> firstCode;
    forms.On<TAlapadatok1>([&](TAlapadatok1& f) {
        ChooseYear(f, 2008);
        for (int print = 0; print < 2; ++print) {
            f.Button3->Click();
            rowsAfter.push_back(static_cast<std::size_t>(f.StringGrid1->RowCount()));
        }
        ChooseYear(f, 2007);
        f.Button3->Click();
        rowsAfter.push_back(static_cast<std::size_t>(f.StringGrid1->RowCount()));
        firstCode.push_back(f.StringGrid1->Cells(0, 0));
        f.Button4->Click();
    });
    OpenParcelSummary(session);
    EXPECT_EQ(rowsAfter, (std::vector<std::size_t>{2, 2, 2}));
    EXPECT_EQ(firstCode, std::vector<std::string>{"100002"});
    ASSERT_EQ(output.documents.size(), 3u);
    EXPECT_THAT(diarytest::JoinedLines(output.documents[2]), Not(HasSubstr("1/100001,2/100001,")));
}

TEST_F(ParcelSummary, TheRoutinesAnswerOutsideAPrintToo) {
    Add({.parckod = "100001", .parcsor = 3});
    Add({.parckod = "100002", .parcsor = 5});
    Add({.parckod = "100003", .parcsor = 8});
    diarytest::AddRow(session, "Szparcellak", [](db::TTable& t) {
        t.FieldByName("Parckod").SetAsString("100003");
        t.FieldByName("Szparckod").SetAsString("100001");
    });
    diarytest::AddRow(session, "Szparcellak", [](db::TTable& t) {
        t.FieldByName("Parckod").SetAsString("100003");
        t.FieldByName("Szparckod").SetAsString("100002");
    });
    Parcel("100003", "12/3");
    Parcel("100003", "12/4");
    Parcel("100001", "7");
    ui::OwnedForm<TAlapadatok1> form(Alapadatok1, session);
    EXPECT_EQ(form->PredecessorSerials("100003"), "3,5,");
    EXPECT_EQ(form->PredecessorSerials("100001"), "");
    EXPECT_EQ(form->LandParcelList("100001"), "7,");
    EXPECT_EQ(form->LandParcelList("100002"), "");
    // Before a report reads its rows a mark is given but no remark row is written.
    EXPECT_EQ(form->LandParcelList("100003"), DateMark());
    EXPECT_FALSE(form->RemarkRowExists("100003"));
    EXPECT_EQ(form->StringGrid1->RowCount(), 1);
}

TEST_F(ParcelSummary, NoFieldDisablesThePrint) {
    forms.On<TAlapadatok1>([](TAlapadatok1& f) {
        EXPECT_FALSE(f.Button3->Enabled());
        f.Button4->Click();
    });
    OpenParcelSummary(session);
}

// No play is registered for the form: showing it would fail the test.
TEST_F(ParcelSummary, Gn06PrintsWithoutItsFormShown) {
    Add({.parckod = "100001", .evj = 2010, .parcsor = 1, .agrkor = false, .nat2000 = true});
    Add({.parckod = "100002", .evj = 2010, .parcsor = 2, .agrkor = true});
    Add({.parckod = "100003", .evj = 2009, .parcsor = 1, .agrkor = false});
    Add({.parckod = "100004",
         .evj = 2010,
         .parcsor = 3,
         .agrkor = false,
         .masod = "IGEN",
         .hasznkod = "KUK1"});
    Add({.parckod = "100005", .evj = 2010, .parcsor = 4, .agrkor = false});
    diarytest::AddRow(session, "Szparcellak", [](db::TTable& t) {
        t.FieldByName("Parckod").SetAsString("100004");
        t.FieldByName("Szparckod").SetAsString("100001");
    });
    Parcel("100001", "31/1", 1, 2);
    Parcel("100001", "31/2", 1, 2);
    Parcel("100002", "32");
    PrintParcelSummaryUnshown(session, "2010");
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "09GN06Parcellak.rav");
    regtest::KeepPdf(output.documents[0], "09GN06Parcellak.pdf");
    const std::string text = diarytest::JoinedLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("GN-06"));
    EXPECT_THAT(text, HasSubstr("2009/2010 gazdasági év"));
    // The field on two land parcels: mark, branch, its second crop's use and Natura 2000.
    EXPECT_THAT(text, HasSubstr("\n1 | 2 | gyep | K1AB2-C-09 | " + DateMark() +
                                " | Őszi búza | KUK1 | IGEN\n"));
    EXPECT_THAT(text, HasSubstr("\nGN-06 | 1 | 5 | 1 | 31/1,31/2, |"));
    // A field on no land parcel prints with empty lists; the others are left out.
    EXPECT_THAT(text, HasSubstr("\n4 | 2 | pihentett terület | Őszi búza\n"));
    EXPECT_THAT(text, Not(HasSubstr("32,")));
    EXPECT_THAT(text, Not(HasSubstr("\n3 | 2 |")));
    EXPECT_EQ(Alapadatok1, nullptr);
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("pihentett terület"));
        EXPECT_THAT(pdf, HasSubstr("31/1,31/2,"));
    }
}

// The selector's "Táblaösszesítő (nem AKG)" prints the year of its box, and nothing else
// appears but the output.
TEST_F(ParcelSummary, TheLaterSelectorsButtonPrintsGn06ForItsYear) {
    Add({.parckod = "100001", .evj = 2009, .parcsor = 1, .agrkor = false});
    Add({.parckod = "100002", .evj = 2010, .parcsor = 6, .agrkor = false});
    Parcel("100001", "41");
    Parcel("100002", "42");
    ui::OwnedForm<TGN200914> selector(GN200914, session);
    selector->FormShow(nullptr);
    EXPECT_EQ(selector->ComboBox1->Text(), "2010");
    selector->ComboBox1->SetText("2009");
    selector->Button4->Click();
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "09GN06Parcellak.rav");
    const std::string text = diarytest::JoinedLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("2008/2009 gazdasági év"));
    EXPECT_THAT(text, HasSubstr("41,"));
    EXPECT_THAT(text, Not(HasSubstr("42,")));
}

// The earlier selector's "Parcellaösszesítő" and "Növényvédelmi megfigyelés" buttons open
// their forms, which print their sheets.
TEST_F(ParcelSummary, TheEarlierSelectorsButtonsOpenGn03AndGn07) {
    Add({.parckod = "100001", .parcsor = 1});
    Parcel("100001", "51");
    forms.On<TAlapadatok1>([](TAlapadatok1& f) {
        EXPECT_TRUE(f.GroupBox3->Visible());
        EXPECT_EQ(f.RvProject1.ProjectFile(), "GN03Parcellak.rav");
        f.Button3->Click();
        f.Button4->Click();
    });
    dialogs.Expect("Nincs olyan tábla, amelyhez tartozik növényvédelmi mefigyelés!");
    forms.On<TGNNovVedMegf>([](TGNNovVedMegf& f) {
        EXPECT_EQ(f.RvProject1.ProjectFile(), "GN07Novvedmegf.rav");
        f.Button1->Click();
        f.Button3->Click();
    });
    ui::OwnedForm<TGazdNaploValaszto> selector(GazdNaploValaszto, session);
    selector->Button3->Click();
    selector->Button7->Click();
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_THAT(diarytest::JoinedLines(output.documents[0]), HasSubstr("\n1 | 2008 | 2 | "));
}

TEST_F(ParcelSummary, Gn06WithAYearThatIsNoNumberPrintsNothing) {
    dialogs.Expect("Hiba! A(z) 'Gazdasági év' értéke (\"2010x\") nem évszám !");
    PrintParcelSummaryUnshown(session, "2010x");
    dialogs.Expect("Még nincs gazdasági év: előbb rögzítsen egy táblát!");
    PrintParcelSummaryUnshown(session, "");
    EXPECT_TRUE(output.documents.empty());
}

} // namespace

namespace {

// While a print holds the land parcels read once, the three routines answer as they do
// through their filtered query.
TEST_F(ParcelSummary, TheLandParcelRoutinesAnswerAlikeInABatch) {
    LandParcel("100000", "T", 3000, "K1", 0);
    LandParcel("100000", "B", 5000, "K2", 2);
    LandParcel("100000", "T", 5000, "K3", 2);
    LandParcel("100001", "SZ", 0, "K4", 14);
    LandParcel("100002", "sz", 100, "K5", 13);
    const auto answers = [] {
        std::vector<std::string> all;
        for (const char* code : {"100000", "100001", "100002", "199999"})
            for (const std::string& answer :
                 {Func->UseRightLetter(code), Func->LandUseName(code), Func->BlockOf(code)})
                all.push_back(answer);
        return all;
    };
    const std::vector<std::string> direct = answers();
    EXPECT_EQ(direct[0], "E");
    EXPECT_EQ(direct[2], "K2");
    EXPECT_EQ(direct[3], "H");
    EXPECT_EQ(direct[7], "konyhakert");
    TFunc::ParcelBatch batch(*Func);
    EXPECT_EQ(answers(), direct);
}

} // namespace
