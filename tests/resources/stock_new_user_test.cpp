// A new user's first session with the stock, from the main window on a fresh database:
// three fertilisers, two pesticides and a seed variety of a new species recorded, bought
// and sold on several days, the stock list of a past day and the turnover of a month
// printed as PDF files and read back. With FARM_SCREENSHOT_DIR set, the PDFs are left
// there.

#include "new_user_fixture.h"
#include "register/Egyebfajh.h"
#include "resources/Egyebnovvedh.h"
#include "resources/Egyebternovh.h"
#include "resources/Egyebvetmagh.h"
#include "resources/Fogalomh.h"
#include "resources/Keszletkezelesu.h"
#include "resources/Keszlisth.h"
#include "support/test_env.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

const char* const kMore = "További készletmódosítás ?";

using StockNewUser = restest::NewUserTest;

// Reads the PDF a print wrote, and keeps it when FARM_SCREENSHOT_DIR says where.
std::string PdfText(const std::string& name) {
    const fs::path pdf = fs::current_path() / name;
    if (const char* keep = std::getenv("FARM_SCREENSHOT_DIR"))
        fs::copy_file(pdf, fs::path(keep) / name, fs::copy_options::overwrite_existing);
    return testenv::run("pdftotext -layout '" + pdf.string() + "' -").out;
}

void AddFertiliser(TEgyebTerNov& d, const std::string& name, const std::string& n) {
    d.Edit1->SetText(name);
    d.Edit2->SetText(n);
    d.Button2->click();
}

void AddPesticide(TEgyebNovVed& d, const std::string& name, const std::string& type) {
    d.Edit1->SetText(name);
    d.ComboBox4->SetText(type);
    d.ComboBox3->SetItemIndex(d.ComboBox3->Items().IndexOf("l"));
    d.Button2->click();
}

// Books a quantity of the active tab's current material on a day.
void Book(Tkeszletkezeles& f, ui::TEdit* edit, ui::TComboBox* units, sys::DateTime day,
          const std::string& quantity, const std::string& unit) {
    f.DateTimePicker4->SetDate(day);
    f.DateTimePicker4Exit(f.DateTimePicker4);
    edit->SetText(quantity);
    units->SetItemIndex(units->Items().IndexOf(unit));
    f.Button1->click();
}

TEST_F(StockNewUser, MaterialsBoughtAndSoldThenTheStockOfAPastDayAndAMonthsTurnoverPrinted) {
    if (std::system("command -v pdftotext > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const sys::DateTime may = sys::encodeDate(2010, 5, 3);
    // The masters, from the stock movements form's add buttons.
    for (int n = 0; n < 6; ++n)
        dialogs.Expect(kMore, ui::mrYes);
    forms.On<TEgyebTerNov>([](TEgyebTerNov& d) { AddFertiliser(d, "Pétisó", "27"); });
    forms.On<TEgyebTerNov>([](TEgyebTerNov& d) { AddFertiliser(d, "Urea", "46"); });
    forms.On<TEgyebTerNov>([](TEgyebTerNov& d) { AddFertiliser(d, "NPK 15-15-15", "15"); });
    forms.On<TEgyebNovVed>([](TEgyebNovVed& d) { AddPesticide(d, "Roundup", "gyomirtó"); });
    forms.On<TEgyebNovVed>([](TEgyebNovVed& d) { AddPesticide(d, "Dithane", "gombaölő"); });
    forms.On<TEgyebFaj>([](TEgyebFaj& d) {
        d.Edit1->SetText("Őszi búza");
        d.Button2->click();
    });
    forms.On<TEgyebVetMag>([](TEgyebVetMag& d) {
        d.Edit1->SetText("GK Öthalom");
        d.Button2->click();
    });
    forms.On<Tkeszletkezeles>([&](Tkeszletkezeles& f) {
        for (int n = 0; n < 3; ++n)
            f.Button3->click();
        f.Button4->click();
        f.Button4->click();
        f.Button6->click();
        f.Button5->click();
        // Purchases and sales on several days.
        for (int n = 0; n < 8; ++n)
            dialogs.Expect(kMore, n == 7 ? ui::mrNo : ui::mrYes);
        f.DBLookupComboBox1->Choose(1); // Pétisó, in name order
        Book(f, f.Edit10, f.ComboBox3, may, "2", "t");
        Book(f, f.Edit10, f.ComboBox3, may + 10, "-500", "kg");
        Book(f, f.Edit10, f.ComboBox3, may + 40, "-1,2", "t");
        f.DBLookupComboBox1->Choose(2); // Urea
        Book(f, f.Edit10, f.ComboBox3, may + 1, "750", "kg");
        f.PageControl1->setCurrentIndex(1);
        f.DBLookupComboBox2->Choose(1); // Roundup
        Book(f, f.Edit12, f.ComboBox1, may + 2, "20", "l");
        Book(f, f.Edit12, f.ComboBox1, may + 12, "-2500", "ml");
        f.PageControl1->setCurrentIndex(2);
        f.DBLookupComboBox4->Choose(0);
        f.DBLookupComboBox3->Choose(0);
        Book(f, f.Edit13, f.ComboBox2, may + 3, "1,5", "t");
        Book(f, f.Edit13, f.ComboBox2, may + 20, "-300", "kg");
    });
    Folap1->ToolButton12->Click();
    dialogs.VerifyDone();

    // The stock on a past day, saved as PDF.
    output.answer =
        report::OutputChoice{report::Destination::PdfFile, fs::current_path() / "keszlet.pdf"};
    forms.On<TKeszlist>([&](TKeszlist& f) {
        f.DateTimePicker1->SetDate(may + 15);
        f.Button4->click();
        f.Button2->click();
        f.Button1->click();
    });
    Folap1->FindMenuItem({things, "Készlet listázása"})->Click();
    const std::string stock = PdfText("keszlet.pdf");
    EXPECT_THAT(stock, HasSubstr("Készlet " + sys::dateToText(may + 15) + " napon"));
    EXPECT_THAT(stock, HasSubstr("Pétisó"));
    EXPECT_THAT(stock, HasSubstr("1 500,000"));
    EXPECT_THAT(stock, HasSubstr("750,000"));
    EXPECT_THAT(stock, HasSubstr("17,500"));
    EXPECT_THAT(stock, HasSubstr("Őszi búza"));
    EXPECT_THAT(stock, Not(HasSubstr("NPK 15-15-15"))); // never bought
    EXPECT_THAT(stock, Not(HasSubstr("Dithane")));

    // May's turnover of fertilisers, previewed page by page, saved as PDF.
    output.answer =
        report::OutputChoice{report::Destination::PdfFile, fs::current_path() / "forgalom.pdf"};
    forms.On<TForgalom>([&](TForgalom& f) {
        f.Button2->click();
        f.DateTimePicker1->SetDate(sys::encodeDate(2010, 5, 1));
        f.DateTimePicker2->SetDate(sys::encodeDate(2010, 5, 31));
        f.Button4->click();
        f.Button5->click();
        f.Button1->click();
    });
    Folap1->FindMenuItem({things, "Raktárforgalom"})->Click();
    const std::string turnover = PdfText("forgalom.pdf");
    EXPECT_THAT(turnover, HasSubstr("Tápanyag mozgás"));
    EXPECT_THAT(turnover, HasSubstr("2010. Május"));
    EXPECT_THAT(turnover, HasSubstr("2 000,000")); // 2 t of a material kept in kg
    EXPECT_THAT(turnover, HasSubstr("-500,000"));
    EXPECT_THAT(turnover, Not(HasSubstr("-1,200"))); // June
    EXPECT_THAT(turnover, Not(HasSubstr("Roundup")));
    forms.VerifyDone();
}

} // namespace
