// The stock list on a day and the stock turnover between two dates: the lines and their
// grouping, the rounding of a shown stock, the corrections of a movement, and each
// printout's rows in its PDF text.

#include "materials_fixture.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/farm_row.h"
#include "resources/Fogalomh.h"
#include "resources/Keszlisth.h"
#include "support/test_env.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// One line of a list: its columns' texts as the grid shows them.
std::vector<std::string> Lines(db::TDataSet& query, const std::vector<std::string>& columns) {
    std::vector<std::string> lines;
    for (query.First(); !query.Eof(); query.Next()) {
        std::string line;
        for (const std::string& column : columns)
            line += (line.empty() ? "" : " | ") + query.FieldByName(column).AsString();
        lines.push_back(line);
    }
    return lines;
}

class StockLists : public mattest::MaterialsTest {
protected:
    StockLists() {
        Add("Alapadatok", {{"Nev", "Zöldmező Kft."}});
        AddFertiliser("100000", "Pétisó", "kg");
        AddFertiliser("100001", "Pétisó", "kg"); // same name and unit: one line
        AddFertiliser("100002", "Pétisó", "t");  // another unit: a line of its own
        AddFertiliser("100003", "Urea", "kg");
        AddFertiliser("100004", "NPK 15-15-15", "kg"); // no movement
        AddFertiliser("100005", "Mész", "kg");
        AddPesticide("200000", "Roundup", "l", "gyomirtó", "glifozát");
        AddSpecies("1", "Búza");
        AddSeed("300000", "GK Öthalom", "1");
        AddSeed("300001", "Árva fajta", "9"); // its species is missing
        AddMovement("100000", day - 20, 100);
        AddMovement("100001", day - 10, 50.5);
        AddMovement("100000", day, -30);
        AddMovement("100002", day - 1, 2);
        AddMovement("100003", day - 5, 10);
        AddMovement("100003", day - 4, -10); // cancels out: 0
        AddMovement("100005", day - 3, 0.0006);
        AddMovement("100005", day - 2, -0.001); // -0.0004 shows as -0.001
        AddMovement("100000", 0, -1000);        // pending: not counted
        AddMovement("200000", day - 7, 5);
        AddMovement("200000", day + 3, -2); // later
        AddMovement("300000", day - 6, 250);
        AddMovement("300001", day - 6, 40);
        AddMovement("", day + 30, 0); // the date marker
    }

    const sys::DateTime day = sys::encodeDate(2010, 4, 5);
};

// Applies a day as the user does: the picker, then "|||||".
void Apply(TKeszlist& f, sys::DateTime day) {
    f.DateTimePicker1->SetDate(day);
    f.Button4->click();
}

TEST_F(StockLists, TheStockListGroupsByTheShownColumnsOnTheAppliedDay) {
    forms.On<TKeszlist>([&](TKeszlist& f) {
        EXPECT_EQ(f.StockDay(), sys::today()); // on opening: today
        ShowActive(f);                         // activated again: today again
        Apply(f, day);
        Snapshot(f, "keszlist");
        EXPECT_EQ(Lines(f.Query2, {"Nev", "Kossz", "Mert"}),
                  (std::vector<std::string>{"Mész | -0,001 | kg", "Pétisó | 120,5 | kg",
                                            "Pétisó | 2 | t", "Urea | 0 | kg"}));
        EXPECT_EQ(Lines(f.Query3, {"Nev", "Kossz", "Mert", "Szertip", "Hata"}),
                  (std::vector<std::string>{"Roundup | 5 | l | gyomirtó | glifozát"}));
        EXPECT_EQ(Lines(f.Query4, {"Nev", "Kossz", "Mert", "Faj"}),
                  (std::vector<std::string>{"GK Öthalom | 250 | kg | Búza"}));
        // The grid shows every line's stock, not only the current one's.
        QAbstractItemModel* cells = f.DBGrid1->model();
        EXPECT_EQ(cells->data(cells->index(1, 1)).toString().toStdString(), "120,5");
        EXPECT_EQ(cells->data(cells->index(3, 1)).toString().toStdString(), "0");
        Apply(f, day - 10);
        EXPECT_EQ(Lines(f.Query2, {"Nev", "Kossz"}), (std::vector<std::string>{"Pétisó | 150,5"}));
        Apply(f, day - 21); // before the first movement
        EXPECT_TRUE(f.Query2.IsEmpty());
        EXPECT_TRUE(f.Query3.IsEmpty());
        EXPECT_TRUE(f.Query4.IsEmpty());
        f.DateTimePicker1->SetDate(day); // not applied: the lists stay
        EXPECT_TRUE(f.Query2.IsEmpty());
        f.Button1->click();
    });
    ui::ShowModalForm(Keszlist, session);
}

TEST_F(StockLists, TheStockListPrintsTheDayItShowsAndTabNeverPrints) {
    forms.On<TKeszlist>([&](TKeszlist& f) {
        ShowActive(f);
        Apply(f, day);
        f.DateTimePicker1->SetDate(day + 100); // changed, not applied
        f.DBGrid1->SetFocus();
        Key(f.DBGrid1, Qt::Key_Tab);
        EXPECT_TRUE(output.documents.empty());
        f.DBGrid1->SetFocus();
        Key(f.DBGrid1, Qt::Key_I, Qt::ControlModifier);
        Key(f.DBGrid1, Qt::Key_X, Qt::ControlModifier);
    });
    ui::ShowModalForm(Keszlist, session);
    ASSERT_EQ(output.documents.size(), 1u);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"Keszlet.rav"}));
    const std::vector<std::string> lines = report::DocumentLines(output.documents[0]);
    const std::string text = ::testing::PrintToString(lines);
    EXPECT_THAT(text, HasSubstr("Készlet " + sys::dateToText(day) + " napon"));
    EXPECT_THAT(text, Not(HasSubstr(sys::dateToText(day + 100))));
    EXPECT_THAT(lines, ::testing::Contains("Pétisó | 120,500 | kg"));
    EXPECT_THAT(lines, ::testing::Contains("Mész | -0,001 | kg"));
    EXPECT_THAT(lines, ::testing::Contains("Roundup | 5,000 | l | gyomirtó | glifozát"));
    EXPECT_THAT(lines, ::testing::Contains("GK Öthalom | 250,000 | kg | Búza"));
}

TEST_F(StockLists, TheStockListSavedAsPdfReadsBack) {
    if (std::system("command -v pdftotext > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const std::filesystem::path pdf = std::filesystem::current_path() / "keszlet.pdf";
    output.answer = report::OutputChoice{report::Destination::PdfFile, pdf};
    forms.On<TKeszlist>([&](TKeszlist& f) {
        Apply(f, day);
        f.Button2->click();
        f.Button1->click();
    });
    ui::ShowModalForm(Keszlist, session);
    const testenv::CommandResult read = testenv::run("pdftotext -layout '" + pdf.string() + "' -");
    ASSERT_EQ(read.exitCode, 0);
    EXPECT_THAT(read.out, HasSubstr("Anyagkészlet"));
    EXPECT_THAT(read.out, HasSubstr("Zöldmező Kft."));
    EXPECT_THAT(read.out, HasSubstr("Növényvédőszerek"));
    EXPECT_THAT(read.out, HasSubstr("120,500"));
    EXPECT_THAT(read.out, HasSubstr("GK Öthalom"));
    if (const char* keep = std::getenv("FARM_SCREENSHOT_DIR"))
        std::filesystem::copy_file(pdf, std::filesystem::path(keep) / "keszlet.pdf",
                                   std::filesystem::copy_options::overwrite_existing);
}

TEST(MonthText, YearAndHungarianMonthAprilWithoutAccent) {
    EXPECT_EQ(MonthText(sys::encodeDate(2010, 4, 5)), "2010. Aprilis");
    EXPECT_EQ(MonthText(sys::encodeDate(2009, 1, 31)), "2009. Január");
    EXPECT_EQ(MonthText(sys::encodeDate(2011, 12, 1)), "2011. December");
}

class Turnover : public StockLists {
protected:
    void WithForm(const std::function<void(TForgalom&)>& body) {
        forms.On<TForgalom>([&](TForgalom& f) {
            body(f);
            f.Button1->click();
        });
        ui::ShowModalForm(Forgalom, session);
        dialogs.VerifyDone();
    }
};

TEST_F(Turnover, TheDefaultRangeRunsFromTheFirstToTheLastDatedRow) {
    WithForm([&](TForgalom& f) {
        EXPECT_EQ(f.DateTimePicker1->Date(), day - 20);
        EXPECT_EQ(f.DateTimePicker2->Date(), day + 30); // the date marker
        ShowActive(f);
        Snapshot(f, "forgalom");
        EXPECT_EQ(Lines(f.Query1, {"Datum", "Nev", "Menny", "Mert", "Month"}).front(),
                  sys::dateToText(day - 20) + " | Pétisó | 100 | kg | 2010. Március");
        EXPECT_EQ(f.Query1.RecordCount(), 8);
        EXPECT_EQ(Lines(f.Query2, {"Menny"}), (std::vector<std::string>{"5", "-2"}));
        EXPECT_EQ(f.Query3.RecordCount(), 2);
    });
}

TEST_F(Turnover, ARangeEndsWithItsLastDayAndWithinADayPurchasesComeFirst) {
    AddMovement("100003", day, 7);
    WithForm([&](TForgalom& f) {
        f.Button2->click();
        EXPECT_TRUE(f.GroupBox1->Visible());
        f.DateTimePicker1->SetDate(day);
        f.DateTimePicker2->SetDate(day);
        f.Button4->click();
        EXPECT_FALSE(f.GroupBox1->Visible());
        EXPECT_EQ(Lines(f.Query1, {"Nev", "Menny"}),
                  (std::vector<std::string>{"Pétisó | -30", "Urea | 7"}));
        // An end with a time of day reaches the next midnight, so the next day is in.
        f.DateTimePicker1->SetDate(day - 1);
        f.DateTimePicker2->SetDateTime(day - 2 + 0.5);
        f.Button4->click();
        EXPECT_EQ(Lines(f.Query1, {"Nev", "Menny"}), (std::vector<std::string>{"Pétisó | 2"}));
    });
}

TEST_F(Turnover, AMovementIsDeletedOrItsQuantityOverwritten) {
    WithForm([&](TForgalom& f) {
        f.PageControl1->setCurrentIndex(1);
        ASSERT_TRUE(f.Query2.Locate("Menny", {db::Value(-2.0)}));
        dialogs.Expect("Biztosan törli a kijelölt raktármozgást ?", ui::mrNo);
        f.Button7->click();
        EXPECT_EQ(f.Query2.RecordCount(), 2);
        dialogs.Expect("Biztosan törli a kijelölt raktármozgást ?", ui::mrYes);
        f.Button7->click();
        EXPECT_EQ(Lines(f.Query2, {"Menny"}), (std::vector<std::string>{"5"}));
        f.PageControl1->setCurrentIndex(2);
        f.Query3.First();
        f.Button6->click();
        EXPECT_TRUE(f.Panel1->Visible());
        EXPECT_FALSE(f.Button7->Enabled());
        EXPECT_EQ(f.Label4->Caption(), "kg");
        dialogs.Expect("A(z) 'Mennység' értéke nem szám !");
        f.Edit1->SetText("abc");
        f.Button8->click();
        dialogs.Expect("A(z) 'Mennység' értéke nem lehet nulla !");
        f.Edit1->SetText("0");
        f.Button8->click();
        EXPECT_TRUE(f.Panel1->Visible());
        f.Edit1->SetText("5");
        f.Button8->click();
        EXPECT_FALSE(f.Panel1->Visible());
        EXPECT_TRUE(f.Button7->Enabled());
    });
    EXPECT_EQ(Quantities("200000"), (std::vector<double>{5}));
    // The first seed row of the day is "Árva fajta", before "GK Öthalom".
    EXPECT_EQ(Quantities("300001"), (std::vector<double>{5}));
    EXPECT_EQ(Quantities("300000"), (std::vector<double>{250}));
}

// A withdrawal stays a withdrawal when its quantity is typed without the minus sign; a
// purchase typed negative is refused with how to book a withdrawal, the panel open.
TEST_F(Turnover, AChangedQuantityKeepsTheDirectionOfItsMovement) {
    WithForm([&](TForgalom& f) {
        f.PageControl1->setCurrentIndex(1);
        ASSERT_TRUE(f.Query2.Locate("Menny", {db::Value(-2.0)}));
        f.Button6->click();
        EXPECT_EQ(f.Edit1->Text(), "-2");
        f.Edit1->SetText("3");
        f.Button8->click();
        ASSERT_TRUE(f.Query2.Locate("Menny", {db::Value(5.0)}));
        f.Button6->click();
        dialogs.ExpectContaining("A kiadást új raktármozgásként rögzítse");
        f.Edit1->SetText("-7");
        f.Button8->click();
        EXPECT_TRUE(f.Panel1->Visible());
        f.Button9->click();
    });
    EXPECT_EQ(Quantities("200000"), (std::vector<double>{5, -3}));
}

// A withdrawal changed to take more out is refused, as a new withdrawal of the difference
// would be, when the stock of its day does not hold it; the panel stays open.
TEST_F(Turnover, AChangedWithdrawalTakesNoMoreThanTheStockOfItsDay) {
    WithForm([&](TForgalom& f) {
        f.PageControl1->setCurrentIndex(1);
        ASSERT_TRUE(f.Query2.Locate("Menny", {db::Value(-2.0)}));
        f.Button6->click();
        dialogs.Expect("Nincs ekkora mennyiség készleten! Túl sok kiadás!");
        f.Edit1->SetText("-6");
        f.Button8->click();
        EXPECT_EQ(dialogs.Last().caption, "Sok kiadás");
        EXPECT_TRUE(f.Panel1->Visible());
        f.Edit1->SetText("-5"); // the whole stock of its day
        f.Button8->click();
        EXPECT_FALSE(f.Panel1->Visible());
    });
    EXPECT_EQ(Quantities("200000"), (std::vector<double>{5, -5}));
}

TEST_F(Turnover, AnEmptyLedgerListsNothingAndHasNothingToDelete) {
    Add("Raktarmozgas", {}); // make sure the table is found, then empty it
    {
        db::TTable ledger(session);
        ledger.SetTableName("Raktarmozgas");
        ledger.EmptyTable();
    }
    WithForm([&](TForgalom& f) {
        EXPECT_TRUE(f.Query1.IsEmpty());
        dialogs.Expect("Biztosan törli a kijelölt raktármozgást ?", ui::mrYes);
        dialogs.Expect("Nem lehet törölni !");
        f.Button7->click();
        f.Button5->click(); // the report runs on an empty list too
    });
    EXPECT_EQ(output.asked, (std::vector<std::string>{"RaktarFTerm.rav"}));
}

TEST_F(Turnover, EachPagePrintsItsOwnReportByMonth) {
    if (std::system("command -v pdftotext > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const std::filesystem::path pdf = std::filesystem::current_path() / "forgalom.pdf";
    output.answer = report::OutputChoice{report::Destination::PdfFile, pdf};
    std::vector<std::string> texts;
    WithForm([&](TForgalom& f) {
        for (int page = 0; page < 3; ++page) {
            f.PageControl1->setCurrentIndex(page);
            f.Button5->click();
            texts.push_back(testenv::run("pdftotext -layout '" + pdf.string() + "' -").out);
            if (const char* keep = std::getenv("FARM_SCREENSHOT_DIR"))
                std::filesystem::copy_file(
                    pdf, std::filesystem::path(keep) / ("forgalom" + std::to_string(page) + ".pdf"),
                    std::filesystem::copy_options::overwrite_existing);
        }
    });
    EXPECT_EQ(output.asked,
              (std::vector<std::string>{"RaktarFTerm.rav", "RaktarFNövv.rav", "RaktarFVeto.rav"}));
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::current_path() / "RaktarFNövv.rav"));
    ASSERT_EQ(texts.size(), 3u);
    EXPECT_THAT(texts[0], HasSubstr("Tápanyag mozgás"));
    EXPECT_THAT(texts[0], HasSubstr(sys::dateToText(day - 20) + " - " + sys::dateToText(day + 30)));
    EXPECT_THAT(texts[0], HasSubstr("2010. Március"));
    EXPECT_THAT(texts[0], HasSubstr("2010. Aprilis"));
    EXPECT_THAT(texts[0], HasSubstr("-30,000"));
    EXPECT_THAT(texts[1], HasSubstr("Növényvédőszer mozgás"));
    EXPECT_THAT(texts[1], HasSubstr("Roundup"));
    EXPECT_THAT(texts[2], HasSubstr("Vetőmag mozgás"));
    EXPECT_THAT(texts[2], HasSubstr("Árva fajta"));
}

} // namespace
