// A new user's diesel claim from the main window on a fresh database: three invoices in the
// register, narrowed and printed; three invoice items entered (the second keeping most of
// the first) and written as the import file, whose bytes are checked line by line.

#include "app/startup.h"
#include "core/Folap.h"
#include "core/Isnuminth.h"
#include "platform/report/document.h"
#include "platform/report/output.h"
#include "resources/Gazolajszlaosszh.h"
#include "resources/J05u.h"
#include "resources/commands.h"
#include "support/test_env.h"
#include "support/ui_test.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

class DieselNewUser : public testui::UiTest {
protected:
    DieselNewUser() {
        dialogs.ExpectContaining("Új, üres adatbázis készült");
        EXPECT_EQ(app::PrepareWorkingDatabase(session), 0);
        app->CreateForm(Folap1, session);
        Folap1->Timer1->SetEnabled(false);
        app->CreateForm(NumericInt, session);
        InstallResourceCommands(*Folap1, session);
    }
    ~DieselNewUser() override {
        app.reset();
        Folap1 = nullptr;
        NumericInt = nullptr;
    }

    void Menu(const std::string& item) {
        ui::TMenuItem* entry = Folap1->FindMenuItem({"Feljegyzések", item});
        ASSERT_NE(entry, nullptr) << item;
        ASSERT_TRUE(entry->Enabled()) << item;
        entry->Click();
    }

    db::Session session{fs::current_path()};
    report::CaptureOutput output;
    report::ScopedOutput use{output};
};

TEST_F(DieselNewUser, RecordsInvoicesPrintsThemAndWritesTheImportFile) {
    forms.On<TGazolajszlaossz>([](TGazolajszlaossz& f) {
        const struct {
            int month;
            const char* number;
            const char* litres;
            const char* amount;
        } invoices[] = {{1, "MOL-001", "80", "22400"},
                        {2, "MOL-002", "12,25", "3400"},
                        {3, "MOL-003", "125,5", "35000"}};
        for (const auto& invoice : invoices) {
            f.Button3->click();
            f.DateTimePicker1->SetDate(sys::encodeDate(2010, invoice.month, 5));
            f.Edit2->SetText(invoice.number);
            f.Edit1->SetText(invoice.litres);
            f.Edit3->SetText(invoice.amount);
            f.Button5->click();
        }
        EXPECT_EQ(f.Edit4->Text(), "217,75");
        EXPECT_EQ(f.Edit5->Text(), "60800");
        f.Button7->click();
        f.DateTimePicker2->SetDate(sys::encodeDate(2010, 2, 1));
        f.DateTimePicker3->SetDate(sys::encodeDate(2010, 3, 31));
        f.Button8->click();
        EXPECT_EQ(f.Edit4->Text(), "137,75");
        f.Button10->click();
        f.Button1->click();
    });
    Menu("Gázolaj számla összesítő");
    ASSERT_EQ(output.documents.size(), 1u);
    const auto lines = report::DocumentLines(output.documents[0]);
    EXPECT_THAT(lines, ::testing::Contains("Összesen: | 137,75 | 38 400"));
    EXPECT_THAT(lines, ::testing::Not(::testing::Contains(::testing::HasSubstr("MOL-001"))));

    const std::string file = (fs::current_path() / "j04.imp").string();
    dialogs.ExpectSaveFile((fs::current_path() / "j04").string()); // the dialog adds ".imp"
    forms.On<TJ05>([](TJ05& f) {
        ShowActive(f);
        auto item = [&f](const char* number, int month, const char* litres, const char* total) {
            f.Button4->click();
            f.ComboBox4->SetText(number);
            f.DateTimePicker1->SetDate(sys::encodeDate(2010, month, month == 2 ? 10 : 5));
            f.DBEdit1->setFocus();
            Type(f.DBEdit1, litres);
            f.DBEdit2->setFocus();
            Type(f.DBEdit2, total);
            f.Button5->click();
        };
        f.ComboBox3->SetText("12345678");
        item("A/1", 3, "125,5", "35000");
        item("A/2", 1, "80", "22400"); // the tax number, type and rate code stay
        f.ComboBox3->SetText("87654321");
        f.ComboBox1->SetText("B");
        f.ComboBox2->SetText("664");
        item("Ő-3", 2, "12,25", "3400");
        f.Button6->click();
        f.Close();
    });
    Menu("Új Gázolaj számla összesítő");
    EXPECT_EQ(testenv::readFile(file), std::string("$ny_azon=J04\n"
                                                   "$sorok_sz\xE1ma=27\n"
                                                   "$d_lapok_sz\xE1ma=2\n"
                                                   "$d_lap1=F.G,1\n"
                                                   "$d_lap2=P4,1\n"
                                                   "$info=\xDC"
                                                   "dv\xF6zlet a sz\xE1mlat\xE9tel kit\xF6lt\xF5"
                                                   "b\xF6l\n"
                                                   "570[1]=12345678\n"
                                                   "571[1]=A/2\n"
                                                   "572[1]=20100105\n"
                                                   "573[1]=80.00\n"
                                                   "1544[1]=22400\n"
                                                   "1673[1]=G\n"
                                                   "1674[1]=523\n"
                                                   "577[1]=87654321\n"
                                                   "578[1]=\xD5-3\n"
                                                   "579[1]=20100210\n"
                                                   "580[1]=12.25\n"
                                                   "581[1]=3400\n"
                                                   "1675[1]=B\n"
                                                   "1707[1]=664\n"
                                                   "582[1]=12345678\n"
                                                   "583[1]=A/1\n"
                                                   "584[1]=20100305\n"
                                                   "585[1]=125.50\n"
                                                   "586[1]=35000\n"
                                                   "1676[1]=G\n"
                                                   "1708[1]=523\n"));
}

} // namespace
