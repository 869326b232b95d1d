// The plant-protection observation sheet: the conditions narrow the fields, an observation
// gives one row per linked operation, the empty result and bad years are told, the keys
// print, clear, close and toggle the active fields, and the rows reach the PDF.

#include "diary_fixture.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/keep_pdf.h"
#include "reports/Gnnovvedmegfh.h"
#include "reports/commands.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

class ObservationSheet : public diarytest::DiaryTest {
protected:
    ObservationSheet() {
        RegisterReportLayouts();
        report::WriteBuiltInLayouts(std::filesystem::current_path());
        Field("100000", 2005, 1, "Őszi búza", 10000);
        Field("100001", 2008, 1, "Kukorica", 10000);
        Field("100002", 2009, 1, "Repce", 10000);
        Field("100003", 2008, 2, "Napraforgó", 10000);
        // An inactive field of 2007.
        diarytest::AddRow(session, "parcellak", [](db::TTable& t) {
            t.FieldByName("Parckod").SetAsString("100004");
            t.FieldByName("Evj").SetAsInteger(2007);
            t.FieldByName("Parcsor").SetAsInteger(1);
            t.FieldByName("Agazat").SetAsString("Lucerna");
            t.FieldByName("Aktiv").SetAsString("N");
        });
        const int first = Observation("100001", sys::encodeDate(2008, 5, 20), "levélrozsda", 1);
        Pest(first, "spóraképzés", "sárga foltok a leveleken");
        Link(first, "100010");
        Link(first, "100011");
        Operation({.muvkod = "100010",
                   .field = "100001",
                   .datum = sys::encodeDate(2008, 5, 22),
                   .muvnev = "Gombaölő permetezés"});
        Operation({.muvkod = "100011",
                   .field = "100001",
                   .datum = sys::encodeDate(2008, 6, 5),
                   .muvnev = "Ismételt permetezés"});
        Observation("100004", sys::encodeDate(2007, 6, 1), "lucernabarkó", 2);
        Observation("100000", sys::encodeDate(2005, 4, 2), "vetésfehérítő", 3);
        Observation("100002", sys::encodeDate(2009, 4, 2), "repcebecő", 4);
    }

    int Observation(const std::string& field, sys::DateTime when, const std::string& pest,
                    int serial) {
        db::TTable t(session);
        t.SetTableName("Novvedmegf");
        t.Open();
        t.Append();
        t.FieldByName("Parc_id").SetAsString(field);
        t.FieldByName("Datum").SetAsDateTime(when);
        t.FieldByName("Novfejl").SetAsString("bokrosodás");
        t.FieldByName("Karfejl").SetAsString(pest);
        t.FieldByName("Mod").SetAsString("szemle");
        t.FieldByName("Fertmert").SetAsString("közepes");
        t.FieldByName("Sorsz").SetAsInteger(serial);
        t.Post();
        return t.FieldByName("Id").AsInteger();
    }
    void Pest(int megfid, const std::string& stage, const std::string& signs) {
        diarytest::AddRow(session, "Novvedmeg2", [&](db::TTable& t) {
            t.FieldByName("Megfid").SetAsInteger(megfid);
            t.FieldByName("Karfejl").SetAsString(stage);
            t.FieldByName("Karjel").SetAsString(signs);
        });
    }
    void Link(int megfid, const std::string& muvkod) {
        diarytest::AddRow(session, "muv_novmegf", [&](db::TTable& t) {
            t.FieldByName("Muvid").SetAsString(muvkod);
            t.FieldByName("Megfid").SetAsInteger(megfid);
        });
    }

    void Print(const std::function<void(TGNNovVedMegf&)>& set, const std::string& file = {}) {
        forms.On<TGNNovVedMegf>([set](TGNNovVedMegf& f) {
            set(f);
            f.Button1->Click();
            f.Button3->Click();
        });
        OpenObservationSheet(session, file);
    }

    report::CaptureOutput output;
    report::ScopedOutput use{output};
};

TEST_F(ObservationSheet, YearsAloneGiveEveryFieldOfTheRangeInDateOrder) {
    Print([](TGNNovVedMegf& f) {
        EXPECT_EQ(f.ComboBox2->Text(), "2005");
        EXPECT_EQ(f.ComboBox3->Text(), "2009");
        f.ComboBox3->SetText("2008");
    });
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked.back(), "GN07Novvedmegf.rav");
    regtest::KeepPdf(output.documents[0], "GN07Novvedmegf.pdf");
    const std::string text = diarytest::JoinedLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("GN 07 | Növényvédelmi megfigyelések"));
    // The inactive field of 2007 is in; 2009 is out; the dates come in order.
    const std::size_t y2005 = text.find("vetésfehérítő");
    const std::size_t y2007 = text.find("lucernabarkó");
    const std::size_t y2008 = text.find("levélrozsda");
    ASSERT_NE(y2005, std::string::npos);
    ASSERT_NE(y2007, std::string::npos);
    ASSERT_NE(y2008, std::string::npos);
    EXPECT_LT(y2005, y2007);
    EXPECT_LT(y2007, y2008);
    EXPECT_THAT(text, Not(HasSubstr("repcebecő")));
    // Two linked operations: two rows of the one observation.
    EXPECT_THAT(text, HasSubstr("| 2008. 05. 22. | Gombaölő"));
    EXPECT_THAT(text, HasSubstr("| 2008. 06. 05. | Ismételt"));
    EXPECT_THAT(text, HasSubstr("spóraképzés"));
    // The PDF itself carries the rows.
    const std::string pdf = regtest::PdfText(output.documents[0]);
    if (!pdf.empty()) {
        EXPECT_THAT(pdf, HasSubstr("levélrozsda"));
        EXPECT_THAT(pdf, HasSubstr("Gombaölő"));
    }
}

TEST_F(ObservationSheet, RowsPerLinkAndEmptyColumnsWithoutOne) {
    std::vector<std::string> columns;
    int rows = 0;
    forms.On<TGNNovVedMegf>([&](TGNNovVedMegf& f) {
        f.Button1->Click();
        // Query2 stays open after the print.
        rows = f.Query2.RecordCount();
        f.Query2.First();
        for (; !f.Query2.Eof(); f.Query2.Next())
            if (f.Query2.FieldByName("Parc_id_1").AsString() == "100000")
                columns = {f.Query2.FieldByName("Karjel").AsString(),
                           f.Query2.FieldByName("Muvnev").AsString(),
                           f.Query2.FieldByName("Datum_1").AsString()};
        f.Button3->Click();
    });
    OpenObservationSheet(session);
    EXPECT_EQ(rows, 5);
    EXPECT_EQ(columns, (std::vector<std::string>{"", "", ""}));
}

TEST_F(ObservationSheet, SelectedFieldsAndTheSectorNarrowTheRows) {
    Print([](TGNNovVedMegf& f) {
        f.CheckBox1->SetChecked(false);
        for (const char* code : {"100003", "100004"}) {
            ASSERT_TRUE(f.Table2.Locate("Parckod", {db::Value(std::string(code))}));
            f.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
        }
    });
    ASSERT_EQ(output.documents.size(), 1u);
    const std::string text = diarytest::JoinedLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("lucernabarkó"));
    EXPECT_THAT(text, Not(HasSubstr("levélrozsda")));
    Print([](TGNNovVedMegf& f) { f.ComboBox1->SetText("Kukorica"); }, "09GN09Novvedmegf.rav");
    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_EQ(output.asked.back(), "09GN09Novvedmegf.rav");
    regtest::KeepPdf(output.documents[1], "09GN09Novvedmegf.pdf");
    const std::string gn09 = diarytest::JoinedLines(output.documents[1]);
    EXPECT_THAT(gn09, HasSubstr("GN-09 | Növényvédelmi megfigyelések"));
    EXPECT_THAT(gn09, HasSubstr("levélrozsda"));
    EXPECT_THAT(gn09, Not(HasSubstr("lucernabarkó")));
}

TEST_F(ObservationSheet, EmptyResultsAndBadYearsAreTold) {
    dialogs.Expect("Nincs olyan tábla, amelyhez tartozik növényvédelmi mefigyelés!");
    Print([](TGNNovVedMegf& f) {
        f.ComboBox2->SetText("2009");
        f.ComboBox3->SetText("2005");
    });
    EXPECT_EQ(dialogs.Last().caption, "A szűkítés eredménye üres!");
    // A field with no observation adds nothing.
    dialogs.Expect("Nincs olyan tábla, amelyhez tartozik növényvédelmi mefigyelés!");
    Print([](TGNNovVedMegf& f) {
        ASSERT_TRUE(f.Table2.Locate("Parckod", {db::Value(std::string("100003"))}));
        f.DBGrid1->SelectedRows().SetCurrentRowSelected(true);
    });
    dialogs.Expect("Hiba! A(z) 'Utolsó gazdasági év' értéke nem egész szám !");
    Print([](TGNNovVedMegf& f) { f.ComboBox3->SetText("2008'"); });
    EXPECT_TRUE(output.documents.empty());
}

TEST_F(ObservationSheet, KeysPrintClearCloseAndToggleOnlyOnControlCharacters) {
    bool closed = false;
    forms.On<TGNNovVedMegf>([&](TGNNovVedMegf& f) {
        const auto press = [&f](ui::TKey key) {
            f.FormKeyPress(nullptr, key);
            return key;
        };
        // A year typed is no command.
        for (char c : std::string("2009"))
            EXPECT_EQ(press(static_cast<ui::TKey>(c)), static_cast<ui::TKey>(c));
        EXPECT_TRUE(f.CheckBox1->Checked());
        EXPECT_TRUE(f.Table2.Filtered());
        EXPECT_EQ(press(ui::ctrlKey('A')), ui::keyNone);
        EXPECT_FALSE(f.CheckBox1->Checked());
        EXPECT_FALSE(f.Aktivparcellak1->Checked());
        EXPECT_FALSE(f.Table2.Filtered());
        f.CheckBox1->SetChecked(true);
        EXPECT_TRUE(f.Aktivparcellak1->Checked());
        EXPECT_TRUE(f.Table2.Filtered());
        f.ComboBox1->SetText("Kukorica");
        f.ComboBox2->SetText("2007");
        press(ui::ctrlKey('I'));
        EXPECT_EQ(f.ComboBox1->Text(), "");
        EXPECT_EQ(f.ComboBox2->Text(), "2005");
        press(ui::ctrlKey('T'));
        press(ui::ctrlKey('P'));
        closed = f.ModalResult() != 0;
    });
    OpenObservationSheet(session);
    EXPECT_EQ(output.documents.size(), 1u);
    EXPECT_TRUE(closed);
}

} // namespace

namespace {

TEST_F(ObservationSheet, CommonPestAndMethodNamesPrintUnbroken) {
    diarytest::AddRow(session, "Novvedmegf", [](db::TTable& t) {
        t.FieldByName("Parc_id").SetAsString("100002");
        t.FieldByName("Datum").SetAsDateTime(sys::encodeDate(2009, 4, 28));
        t.FieldByName("Novfejl").SetAsString("virágzás");
        t.FieldByName("Karfejl").SetAsString("almafavarasodás");
        t.FieldByName("Mod").SetAsString("szemrevételezés");
    });
    Print([](TGNNovVedMegf& f) { f.ComboBox2->SetText("2009"); }, "09GN09Novvedmegf.rav");
    ASSERT_EQ(output.documents.size(), 1u);
    const std::string text = diarytest::JoinedLines(output.documents[0]);
    EXPECT_THAT(text, HasSubstr("almafavarasodás"));
    EXPECT_THAT(text, HasSubstr("szemrevételezés"));
}

} // namespace
