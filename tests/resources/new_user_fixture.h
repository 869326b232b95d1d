#pragma once
// The fixture of a new user's first session from the main window: a fresh working
// database as the program prepares it, the main window with the resources' commands,
// the number checks' holder form, the printouts captured.

#include "app/startup.h"
#include "core/Folap.h"
#include "core/Isnuminth.h"
#include "platform/db/table.h"
#include "platform/report/output.h"
#include "resources/commands.h"
#include "support/ui_test.h"

#include <QPixmap>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace restest {

namespace fs = std::filesystem;

class NewUserTest : public testui::UiTest {
protected:
    NewUserTest() {
        dialogs.ExpectContaining("Új, üres adatbázis készült");
        EXPECT_EQ(app::PrepareWorkingDatabase(session), 0);
        app->CreateForm(Folap1, session);
        Folap1->Timer1->SetEnabled(false);
        app->CreateForm(NumericInt, session);
        InstallResourceCommands(*Folap1, session);
    }
    ~NewUserTest() override {
        app.reset();
        Folap1 = nullptr;
        NumericInt = nullptr;
    }

    void Menu(const std::string& menu, const std::string& item) {
        ui::TMenuItem* entry = Folap1->FindMenuItem({menu, item});
        ASSERT_NE(entry, nullptr) << item;
        ASSERT_TRUE(entry->Enabled()) << item;
        entry->Click();
    }

    // With FARM_SCREENSHOT_DIR set, a picture of the form is left there.
    static void Picture(QWidget& form, const std::string& name) {
        if (const char* dir = std::getenv("FARM_SCREENSHOT_DIR"))
            form.grab().save(QString::fromStdString((fs::path(dir) / (name + ".png")).string()));
    }

    int Rows(const std::string& table, const std::string& filter = {}) {
        db::TTable t(session, "Check");
        t.SetTableName(table);
        if (!filter.empty()) {
            t.SetFilter(filter);
            t.SetFiltered(true);
        }
        t.Open();
        return t.RecordCount();
    }

    db::Session session{fs::current_path()};
    report::CaptureOutput output;
    report::ScopedOutput use{output};
    const std::string things = "Személyek/Készlet/Eszköz";
    const std::string records = "Feljegyzések";
};

} // namespace restest
