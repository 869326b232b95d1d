// Draws the sample forms into PNG files when FARM_SCREENSHOT_DIR names a folder, to look
// at the layout and the Hungarian letters (run it under xvfb-run with QT_QPA_PLATFORM=xcb
// for the real window system, or offscreen).

#include "controls_form.h"
#include "sample_forms.h"
#include "support/ui_test.h"

#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using Screenshot = testui::UiTest;

TEST_F(Screenshot, SampleForms) {
    const char* folder = std::getenv("FARM_SCREENSHOT_DIR");
    if (!folder)
        GTEST_SKIP() << "FARM_SCREENSHOT_DIR not set";
    TMindenVezerlo form;
    form.Edit1->SetText("Kiss Győző Űrhajós Kft.");
    form.MaskEdit1->SetText("12345678-1-12");
    form.StringGrid1->SetCells(1, 1, "Őszi búza");
    form.ListBox1->Items().AddStrings({"Ágazat", "Öntözés"});
    form.Memo1->Lines().Add("Megjegyzés: ő ű Ő Ű");
    ShowActive(form);
    QTest::qWait(100);
    std::filesystem::path out(folder);
    EXPECT_TRUE(form.grab().save(QString::fromStdString((out / "controls.png").string())));
    form.PageControl1->SetActivePage(form.TabSheet2);
    QTest::qWait(50);
    EXPECT_TRUE(form.grab().save(QString::fromStdString((out / "controls-page2.png").string())));
    form.PageControl1->SetActivePage(form.TabSheet3);
    QTest::qWait(50);
    EXPECT_TRUE(form.grab().save(QString::fromStdString((out / "controls-data.png").string())));
    form.PageControl1->SetActivePage(form.TabSheet4);
    QTest::qWait(50);
    EXPECT_TRUE(form.grab().save(QString::fromStdString((out / "controls-data2.png").string())));
    form.Hide();
    TMintaSzerk edit;
    ShowActive(edit);
    QTest::qWait(50);
    EXPECT_TRUE(edit.grab().save(QString::fromStdString((out / "edit.png").string())));
    edit.Hide();
}

} // namespace
