// The diesel invoice register (totals, date range, entry, printout) and the invoice
// items form (entry with the previous entry kept, suggestion lists, deletion, emptying).

#include "diesel_fixture.h"
#include "platform/report/document.h"
#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "register/register_db.h"
#include "resources/Gazolajszlaosszh.h"
#include "resources/J05u.h"
#include "resources/commands.h"
#include "support/test_env.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using restest::DieselTest;

std::vector<std::string> Items(ui::TComboBox* box) {
    std::vector<std::string> items;
    for (int i = 0; i < box->Items().Count(); ++i)
        items.push_back(box->Items()[i]);
    return items;
}

class DieselRegister : public DieselTest {
protected:
    DieselRegister() {
        AddInvoice(sys::encodeDate(2010, 2, 27), "F-1", "100", "30000");
        AddInvoice(sys::encodeDate(2010, 3, 1), "F-2", "50,5", "15150");
        AddInvoice(sys::encodeDate(2010, 3, 31), "F-3", "20", "");
        AddInvoice(sys::encodeDate(2010, 4, 1), "F-4", "7,25", "2200");
    }
};

TEST_F(DieselRegister, TotalsFollowTheDateRangeAndAllRowsComeBack) {
    forms.On<TGazolajszlaossz>([](TGazolajszlaossz& f) {
        EXPECT_EQ(f.Edit4->Text(), "177,75");
        EXPECT_EQ(f.Edit5->Text(), "47350"); // the empty amount adds 0
        EXPECT_EQ(f.DateTimePicker2->Date(), sys::today());
        f.Button7->click();
        EXPECT_TRUE(f.GroupBox2->isVisible());
        f.DateTimePicker2->SetDate(sys::encodeDate(2010, 3, 1));
        f.DateTimePicker3->SetDate(sys::encodeDate(2010, 3, 31));
        f.Button8->click();
        EXPECT_EQ(f.Table1.Filter(), "Dat >= '2010. 3. 1.' AND Dat <= '2010. 3. 31.'");
        EXPECT_FALSE(f.GroupBox2->isVisible());
        EXPECT_EQ(f.Table1.RecordCount(), 2);
        EXPECT_EQ(f.Edit4->Text(), "70,5");
        EXPECT_EQ(f.Edit5->Text(), "15150");
        // A "to" date before the "from" date lists nothing.
        f.Button7->click();
        f.DateTimePicker2->SetDate(sys::encodeDate(2010, 4, 1));
        f.DateTimePicker3->SetDate(sys::encodeDate(2010, 3, 1));
        f.Button8->click();
        EXPECT_EQ(f.Edit4->Text(), "0");
        f.Button7->click();
        f.Button9->click();
        EXPECT_EQ(f.Edit4->Text(), "177,75");
        f.Button1->click();
    });
    ui::ShowModalForm(Gazolajszlaossz, session);
}

TEST_F(DieselRegister, NewModifiedAndDeletedEntriesChangeTheTotals) {
    forms.On<TGazolajszlaossz>([this](TGazolajszlaossz& f) {
        f.Button3->click();
        EXPECT_TRUE(f.GroupBox1->isVisible());
        EXPECT_EQ(f.GroupBox1->Caption(), "Új feljegyzés");
        EXPECT_FALSE(f.DBGrid1->isEnabled());
        EXPECT_FALSE(f.Button7->isEnabled());
        EXPECT_NEAR(f.DateTimePicker1->DateTime(), sys::now(), 0.01);
        f.DateTimePicker1->SetDate(sys::encodeDate(2010, 5, 2));
        f.Edit2->SetText("F-5");
        f.Edit1->SetText("12,25");
        f.Edit3->SetText("");
        f.Button5->click();
        EXPECT_FALSE(f.GroupBox1->isVisible());
        EXPECT_TRUE(f.DBGrid1->isEnabled());
        EXPECT_EQ(f.Edit4->Text(), "190");
        EXPECT_EQ(RowCount("Gazolajszla"), 5);

        // The first row in date order, modified.
        f.Table1.First();
        f.Button2->click();
        EXPECT_EQ(f.GroupBox1->Caption(), "Feljegyzés módosítása");
        EXPECT_EQ(f.Edit2->Text(), "F-1");
        EXPECT_EQ(f.Edit1->Text(), "100");
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2010, 2, 27));
        f.Edit1->SetText("90");
        f.Button5->click();
        EXPECT_EQ(f.Edit4->Text(), "180");
        EXPECT_EQ(RowCount("Gazolajszla"), 5);

        // A bad number: the message, nothing written, the panel stays open.
        f.Button3->click();
        f.Edit1->SetText("sok");
        dialogs.Expect("A(z) 'Mennyiség' értéke nem szám !");
        f.Button5->click();
        dialogs.Expect("A(z) 'Összeg' értéke nem lehet nulla !");
        f.Edit1->SetText("-20"); // an invoice correcting another
        f.Edit3->SetText("0");
        f.Button5->click();
        EXPECT_TRUE(f.GroupBox1->isVisible());
        EXPECT_FALSE(f.Button7->isEnabled());
        EXPECT_EQ(RowCount("Gazolajszla"), 5);
        f.Button4->click();
        EXPECT_FALSE(f.GroupBox1->isVisible());

        // "Törlés" asks; No keeps the row, Yes deletes it.
        f.Table1.First();
        dialogs.Expect("Biztosan törli a kijelölt elemet?", ui::mrNo);
        f.Button6->click();
        EXPECT_EQ(RowCount("Gazolajszla"), 5);
        dialogs.Expect("Biztosan törli a kijelölt elemet?", ui::mrYes);
        f.Button6->click();
        EXPECT_EQ(RowCount("Gazolajszla"), 4);
        EXPECT_EQ(f.Edit4->Text(), "90");
        f.Button1->click();
    });
    ui::ShowModalForm(Gazolajszlaossz, session);
}

TEST_F(DieselRegister, TheKeysOpenThePanelsAndSave) {
    forms.On<TGazolajszlaossz>([](TGazolajszlaossz& f) {
        ShowActive(f);
        f.DBGrid1->SetFocus();
        Key(f.DBGrid1, Qt::Key_U, Qt::ControlModifier);
        EXPECT_TRUE(f.GroupBox1->isVisible());
        f.Edit1->SetText("1");
        Key(f.Edit1, Qt::Key_S, Qt::ControlModifier);
        EXPECT_FALSE(f.GroupBox1->isVisible());
        EXPECT_EQ(f.Edit4->Text(), "178,75");
        Key(f.DBGrid1, Qt::Key_S, Qt::ControlModifier);
        EXPECT_TRUE(f.GroupBox2->isVisible());
        Key(f.DateTimePicker2, Qt::Key_X, Qt::ControlModifier);
        EXPECT_FALSE(f.GroupBox2->isVisible());
        Key(f.DBGrid1, Qt::Key_X, Qt::ControlModifier);
    });
    ui::ShowModalForm(Gazolajszlaossz, session);
}

TEST_F(DieselRegister, ThePrintoutListsTheNarrowedRowsWithTheirTotals) {
    regtest::SetFarmName(session, "Kovács és Fia Bt.");
    RegisterResourceLayouts();
    report::WriteBuiltInLayouts(std::filesystem::current_path());
    report::CaptureOutput output;
    report::ScopedOutput use(output);
    forms.On<TGazolajszlaossz>([](TGazolajszlaossz& f) {
        f.Button10->click();
        f.DateTimePicker2->SetDate(sys::encodeDate(2010, 3, 1));
        f.DateTimePicker3->SetDate(sys::encodeDate(2010, 3, 31));
        f.Button8->click();
        f.Button10->click();
        f.Button1->click();
    });
    ui::ShowModalForm(Gazolajszlaossz, session);
    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"Gazolajsz.rav", "Gazolajsz.rav"}));
    const std::string today = sys::dateToText(sys::today());
    EXPECT_EQ(report::DocumentLines(output.documents[0]),
              (std::vector<std::string>{
                  "Kovács és Fia Bt. | Gázolaj számla összesítő",
                  "Gázolaj számla összesítő",
                  "Kovács és Fia Bt.",
                  "Készült: " + today,
                  "Dátum | Bizonylatszám | Mennyiség (l) | Összeg (Ft)",
                  "2010. 02. 27. | F-1 | 100,00 | 30 000",
                  "2010. 03. 01. | F-2 | 50,50 | 15 150",
                  "2010. 03. 31. | F-3 | 20,00",
                  "2010. 04. 01. | F-4 | 7,25 | 2 200",
                  "Összesen: | 177,75 | 47 350",
                  today + " | 1. oldal / 1",
              }));
    const std::vector<std::string> march = report::DocumentLines(output.documents[1]);
    EXPECT_THAT(march, ::testing::Contains("Összesen: | 70,50 | 15 150"));
    EXPECT_THAT(march, ::testing::Not(::testing::Contains(::testing::HasSubstr("F-1"))));
}

class DieselItems : public DieselTest {};

TEST_F(DieselItems, ANewItemKeepsThePreviousEntryAndTheListsFollowTheSaves) {
    forms.On<TJ05>([this](TJ05& f) {
        ShowActive(f);
        EXPECT_TRUE(Items(f.ComboBox3).empty());
        EXPECT_EQ(f.ComboBox1->Text(), "G");
        EXPECT_EQ(f.ComboBox2->Text(), "523");
        f.Button4->click();
        EXPECT_TRUE(f.GroupBox1->isVisible());
        EXPECT_EQ(f.GroupBox1->Caption(), "Új számla rögzítése.");
        f.ComboBox3->SetText("12345678");
        f.ComboBox1->SetText("B");
        f.ComboBox2->SetText("664");
        f.ComboBox4->SetText("A-1");
        f.DateTimePicker1->SetDate(sys::encodeDate(2010, 3, 5));
        f.DBEdit1->setFocus();
        Type(f.DBEdit1, "0");
        dialogs.Expect("A(z) 'Gázolaj mennyisége' értéke nem lehet nulla !");
        f.Button5->click();
        EXPECT_TRUE(f.GroupBox1->isVisible());
        f.DBEdit1->clear();
        Type(f.DBEdit1, "125,5");
        f.DBEdit2->setFocus();
        Type(f.DBEdit2, "35000");
        f.Button5->click();
        EXPECT_FALSE(f.GroupBox1->isVisible());
        EXPECT_EQ(Items(f.ComboBox3), (std::vector<std::string>{"12345678"}));
        EXPECT_EQ(Items(f.ComboBox4), (std::vector<std::string>{"A-1"}));

        f.Button4->click();
        EXPECT_EQ(f.ComboBox3->Text(), "12345678");
        EXPECT_EQ(f.ComboBox1->Text(), "B");
        EXPECT_EQ(f.ComboBox2->Text(), "664");
        EXPECT_EQ(f.ComboBox4->Text(), "A-1");
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2010, 3, 5));
        f.ComboBox3->SetText("87654321");
        f.ComboBox4->SetText("A-2");
        f.Button5->click();
        EXPECT_EQ(Items(f.ComboBox3), (std::vector<std::string>{"12345678", "87654321"}));

        // "mégsem" drops the new row.
        f.Button4->click();
        f.Button1->click();
        EXPECT_EQ(RowCount("szlatet"), 2);

        // Deleted at once; its tax number stays offered until the next save.
        f.Table1.Last();
        f.Button3->click();
        EXPECT_EQ(RowCount("szlatet"), 1);
        EXPECT_EQ(Items(f.ComboBox3).size(), 2u);
        f.Close();
    });
    ui::ShowModalForm(J05, session);

    db::TTable items(session);
    items.SetTableName("szlatet");
    items.Open();
    ASSERT_EQ(items.RecordCount(), 1);
    EXPECT_EQ(items.FieldByName("Adosz").AsString(), "12345678");
    EXPECT_EQ(items.FieldByName("Szlatip").AsString(), "B");
    EXPECT_EQ(items.FieldByName("Fajtakod").AsString(), "664");
    EXPECT_EQ(items.FieldByName("Szlaszam").AsString(), "A-1");
    EXPECT_EQ(items.FieldByName("Teljkelt").AsDateTime(), sys::encodeDate(2010, 3, 5));
    EXPECT_DOUBLE_EQ(items.FieldByName("Gmenny").AsFloat(), 125.5);
    EXPECT_EQ(items.FieldByName("Vegossz").AsInteger(), 35000);
}

TEST_F(DieselItems, ModifyingCopiesTheRowAndATaxNumberTakesEightCharacters) {
    AddItem({"11111111", "Z", "602", "Z-9", sys::encodeDate(2011, 1, 5), 10, 3000});
    forms.On<TJ05>([](TJ05& f) {
        f.Button2->click();
        EXPECT_EQ(f.GroupBox1->Caption(), "Számla módosítása.");
        EXPECT_EQ(f.ComboBox3->Text(), "11111111");
        EXPECT_EQ(f.ComboBox1->Text(), "Z");
        EXPECT_EQ(f.ComboBox2->Text(), "602");
        EXPECT_EQ(f.ComboBox4->Text(), "Z-9");
        EXPECT_EQ(f.DateTimePicker1->Date(), sys::encodeDate(2011, 1, 5));
        f.ComboBox3->setFocus();
        f.ComboBox3->SetText("");
        Type(f.ComboBox3, "1234567890");
        EXPECT_EQ(f.ComboBox3->Text(), "12345678");
        f.Button5->click();
        f.Close();
    });
    ui::ShowModalForm(J05, session);
    EXPECT_EQ(RowCount("szlatet"), 1);
}

// A half-typed invoice or tax number is stored as typed, never completed to another
// invoice's; Enter after "rögzítés" presses no hidden button.
TEST_F(DieselItems, ANumberIsStoredAsTypedAndEnterAfterTheSaveDoesNoHarm) {
    AddItem({"12345678", "G", "523", "SZ-2024/001", sys::encodeDate(2024, 1, 5), 10, 3000});
    forms.On<TJ05>([](TJ05& f) {
        ShowActive(f);
        f.Button4->click();
        for (auto [box, typed] : {std::pair{f.ComboBox3, "1234"}, std::pair{f.ComboBox4, "SZ-2"}}) {
            box->setFocus();
            box->SetText("");
            Type(box, typed);
        }
        Type(f.DBEdit1, "20");
        Type(f.DBEdit2, "6000");
        f.Button5->setFocus();
        Key(f.Button5, Qt::Key_Return);
        Key(f.Button5, Qt::Key_Return);
        f.Close();
    });
    ui::ShowModalForm(J05, session);
    db::TTable items(session);
    items.SetTableName("szlatet");
    items.Open();
    ASSERT_EQ(items.RecordCount(), 2);
    items.Last();
    EXPECT_EQ(items.FieldByName("Adosz").AsString(), "1234");
    EXPECT_EQ(items.FieldByName("Szlaszam").AsString(), "SZ-2");
    EXPECT_TRUE(dialogs.Shown().empty());
}

TEST_F(DieselItems, EmptyingTheTableAsksNothingAndOnAnEmptyTableModifyAndDeleteDoNothing) {
    AddItem({"11111111", "G", "523", "1", sys::encodeDate(2010, 1, 1), 1, 1});
    AddItem({"22222222", "G", "523", "2", sys::encodeDate(2010, 1, 2), 2, 2});
    forms.On<TJ05>([this](TJ05& f) {
        f.Button8->click();
        EXPECT_TRUE(f.GroupBox2->isVisible());
        f.Button7->click();
        EXPECT_EQ(RowCount("szlatet"), 0);
        EXPECT_TRUE(f.Table1.IsEmpty());
        EXPECT_EQ(Items(f.ComboBox3).size(), 2u); // until the next save
        f.Button9->click();
        EXPECT_FALSE(f.GroupBox2->isVisible());
        f.Button2->click();
        EXPECT_FALSE(f.GroupBox1->isVisible());
        f.Button3->click();
        f.Close();
    });
    ui::ShowModalForm(J05, session);
    EXPECT_TRUE(dialogs.Shown().empty());
}

} // namespace

namespace {

// The register's printout saved as a PDF: the accented texts and the totals read back.
TEST_F(DieselRegister, ThePrintoutSavedAsPdfReadsBack) {
    if (std::system("command -v pdftotext > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    regtest::SetFarmName(session, "Kovács és Fia Bt.");
    RegisterResourceLayouts();
    report::WriteBuiltInLayouts(std::filesystem::current_path());
    report::CaptureOutput output;
    report::ScopedOutput use(output);
    const std::filesystem::path pdf = std::filesystem::current_path() / "gazolaj.pdf";
    output.answer = report::OutputChoice{report::Destination::PdfFile, pdf};
    forms.On<TGazolajszlaossz>([](TGazolajszlaossz& f) {
        f.Button10->click();
        f.Button1->click();
    });
    ui::ShowModalForm(Gazolajszlaossz, session);
    const testenv::CommandResult read = testenv::run("pdftotext -layout '" + pdf.string() + "' -");
    ASSERT_EQ(read.exitCode, 0);
    EXPECT_THAT(read.out, ::testing::HasSubstr("Gázolaj számla összesítő"));
    EXPECT_THAT(read.out, ::testing::HasSubstr("Kovács és Fia Bt."));
    EXPECT_THAT(read.out, ::testing::HasSubstr("177,75"));
    if (const char* keep = std::getenv("FARM_SCREENSHOT_DIR"))
        std::filesystem::copy_file(pdf, std::filesystem::path(keep) / "gazolaj.pdf",
                                   std::filesystem::copy_options::overwrite_existing);
}

} // namespace
