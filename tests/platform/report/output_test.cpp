// The output side: PDF files read back with pdftotext, the set-up dialog, the preview
// window, and the layouts the program ships.

#include "platform/report/dialogs.h"
#include "platform/report/layouts.h"
#include "platform/report/render.h"
#include "report_test_support.h"
#include "support/ui_test.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using namespace reporttest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

bool havePdfToText() {
    return std::system("command -v pdftotext > /dev/null 2>&1") == 0;
}

std::string pdfText(const fs::path& pdf) {
    const fs::path text = pdf.string() + ".txt";
    const std::string command = "pdftotext -layout '" + pdf.string() + "' '" + text.string() + "'";
    if (std::system(command.c_str()) != 0)
        return "<pdftotext failed>";
    std::ifstream in(text);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

class PdfOutput : public ReportTest {
protected:
    PdfOutput() { testui::Qt(); }
};

TEST_F(PdfOutput, HungarianTextReadsBackFromThePdf) {
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext is not installed";
    TRvCustomConnection header(&owner, "RvCim");
    bool done = false;
    header.OnOpen = [&](TRvCustomConnection*) { done = false; };
    header.OnEOF = [&](TRvCustomConnection*, bool& eof) { eof = done; };
    header.OnGetCols = [](TRvCustomConnection* c) {
        c->DefineColumn("Cim", dtString, 50, "Cím", "Description 1");
    };
    header.OnGetRow = [&](TRvCustomConnection* c) {
        c->PutStringColumn("", "Árvíztűrő tükörfúrógép");
        done = true;
    };
    output.answer = report::OutputChoice{report::Destination::PdfFile, "kimenet.pdf"};
    const report::Document& document = run(R"(farmreport 1
title
text "{RvCim.Cim}" size=14 bold
text "ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP őŐűŰ"
pagefooter
text "Oldal: {#page} / {#pages}" align=right
)");
    ASSERT_EQ(document.pages.size(), 1u);
    ASSERT_TRUE(fs::exists("kimenet.pdf"));
    const std::string text = pdfText("kimenet.pdf");
    EXPECT_THAT(text, HasSubstr("Árvíztűrő tükörfúrógép"));
    EXPECT_THAT(text, HasSubstr("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP őŐűŰ"));
    EXPECT_THAT(text, HasSubstr("Oldal: 1 / 1"));
}

TEST_F(PdfOutput, ManyPagesAndTextsCutAtTheirColumn) {
    if (!havePdfToText())
        GTEST_SKIP() << "pdftotext is not installed";
    std::vector<Parcel> parcels;
    for (int id = 1; id <= 150; ++id)
        parcels.push_back({id, "hrsz " + std::to_string(id), "000001", "őszi búza", id * 1.0});
    makeParcels(session, parcels);
    db::TTable table(session, "Table1");
    table.SetTableName("tablak");
    TRvTableConnection connection(&owner, "RvTablak", &table);
    output.answer = report::OutputChoice{report::Destination::PdfFile, "lista.pdf"};
    const report::Document& document = run(R"(farmreport 1
pagefooter
text "Oldal: {#page} / {#pages}"
band T connection=RvTablak
column Helysz width=30
column Agazat caption="Ágazat neve hosszan" width=8
)");
    ASSERT_EQ(document.pages.size(), 3u);
    const std::string text = pdfText("lista.pdf");
    EXPECT_THAT(text, HasSubstr("hrsz 150"));
    EXPECT_THAT(text, HasSubstr("Oldal: 3 / 3"));
    EXPECT_EQ(text.find("őszi búza"), std::string::npos) << "cut at the 8 mm column";
    int pageBreaks = 0;
    for (char c : text)
        pageBreaks += c == '\f';
    EXPECT_EQ(pageBreaks, 3);
}

TEST_F(PdfOutput, UnwritablePdfFileIsAnError) {
    output.answer = report::OutputChoice{report::Destination::PdfFile, "nincs/ilyen/mappa/x.pdf"};
    writeFile("Egy.rav", "farmreport 1\ntitle\ntext \"x\"\n");
    TRvProject project(&owner, "RvProject1", "Egy");
    try {
        project.ExecuteActiveReport();
        FAIL() << "no error";
    } catch (const report::ReportError& error) {
        EXPECT_THAT(error.what(), HasSubstr("A PDF fájl nem írható"));
        EXPECT_THAT(error.what(), HasSubstr("nincs/ilyen/mappa/x.pdf"));
    }
}

TEST_F(PdfOutput, PageImageIsPaintedAtTheAskedSize) {
    const report::Document& document = run("farmreport 1\ntitle\ntext \"Kép\" size=20\n");
    const QImage image = report::PageImage(document, 0, 2.0);
    EXPECT_EQ(image.width(), 420);
    EXPECT_EQ(image.height(), 594);
    // Some dark pixels where the title is, none at the bottom.
    int dark = 0, darkBelow = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++(y < 60 ? dark : darkBelow);
    EXPECT_GT(dark, 20);
    EXPECT_EQ(darkBelow, 0);
}

// --- the engine's windows --------------------------------------------------------------------

report::Document threePages() {
    report::Document document;
    document.name = "Teszt.rav";
    for (int i = 1; i <= 3; ++i) {
        report::Page page;
        page.texts.push_back(
            {20, 20, 100, 6, "Oldal " + std::to_string(i), 12, false, report::Align::Left});
        document.pages.push_back(page);
    }
    return document;
}

TEST(PreviewWindow, NavigatesPagesAndZooms) {
    testui::Qt();
    const report::Document document = threePages();
    report::PreviewWindow preview(document);
    EXPECT_EQ(preview.windowTitle().toStdString(), "Nyomtatási kép - Teszt.rav");
    EXPECT_EQ(preview.PageLabel->text().toStdString(), "Oldal: 1 / 3");
    EXPECT_FALSE(preview.PriorButton->isEnabled());
    preview.NextButton->click();
    EXPECT_EQ(preview.CurrentPage(), 1);
    preview.LastButton->click();
    EXPECT_EQ(preview.PageLabel->text().toStdString(), "Oldal: 3 / 3");
    EXPECT_FALSE(preview.NextButton->isEnabled());
    preview.ShowPage(99);
    EXPECT_EQ(preview.CurrentPage(), 2);
    preview.FirstButton->click();
    EXPECT_EQ(preview.CurrentPage(), 0);
    const int width = preview.PageView->pixmap().width();
    preview.SetZoom(200);
    EXPECT_NEAR(preview.PageView->pixmap().width(), 2 * width, 2);
    EXPECT_EQ(preview.PrintButton->text().toStdString(), "Nyomtatás...");
    // The preview saves the pages as PDF, plain text or an editable document.
    EXPECT_EQ(preview.SaveButton->text().toStdString(), "Mentés...");
    EXPECT_TRUE(preview.SaveButton->isEnabled());
}

// The preview opens at the first page laid out; a stop leaves the pages made so far to
// look at, neither printable nor savable, the page count standing as "…".
TEST(PreviewWindow, ShowsPagesWhileTheRestAreLaidOutAndStops) {
    testui::Qt();
    const report::Document pages = threePages();
    std::vector<std::string> seen;
    auto stopped = [&] {
        auto* preview = dynamic_cast<report::PreviewWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(preview, nullptr);
        seen.push_back(preview->PageLabel->text().toStdString());
        seen.push_back(preview->LayoutLabel->text().toStdString());
        EXPECT_FALSE(preview->PrintButton->isEnabled());
        EXPECT_FALSE(preview->SaveButton->isEnabled());
        preview->LastButton->click();
        EXPECT_EQ(preview->CurrentPage(), 2);
        preview->CloseButton->click();
    };
    auto layOut = [&](report::Document& into, report::ProgressReporter* progress) {
        into.name = pages.name;
        for (const report::Page& page : pages.pages) {
            into.pages.push_back(page);
            into.pages.back().texts.push_back(
                {20, 40, 100, 6, "/ " + report::kPageCountMark, 12, false, report::Align::Left});
            if (!progress->PageDone(into)) {
                QTimer::singleShot(0, stopped);
                throw report::ReportCancelled{};
            }
            auto* preview = dynamic_cast<report::PreviewWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(preview, nullptr);
            seen.push_back(preview->PageLabel->text().toStdString());
            EXPECT_FALSE(preview->PrintButton->isEnabled());
            if (into.pages.size() == 2)
                preview->StopButton->click();
        }
    };
    report::QtOutputService service;
    service.Run("Teszt.rav", report::OutputChoice{}, layOut);
    EXPECT_THAT(seen, ElementsAre("Oldal: 1 / 1…", "Oldal: 1 / 2…", "Oldal: 1 / 3",
                                  "Az oldalak készítése leállítva: csak az első 3 oldal készült "
                                  "el, ezért a jelentés így nem nyomtatható és nem menthető."));
}

TEST(SetupDialog, OffersPreviewPrinterAndPdfFile) {
    testui::Qt();
    report::SetupDialog dialog("Tablak.rav");
    EXPECT_EQ(dialog.windowTitle().toStdString(), "Nyomtatás");
    EXPECT_EQ(dialog.PreviewButton->text().toStdString(), "Nyomtatási kép");
    EXPECT_EQ(dialog.PrinterButton->text().toStdString(), "Nyomtató");
    EXPECT_EQ(dialog.PdfButton->text().toStdString(), "PDF fájl");
    EXPECT_EQ(dialog.Choice().destination, report::Destination::Preview);
    EXPECT_FALSE(dialog.PdfFile->isEnabled());
    dialog.PrinterButton->setChecked(true);
    EXPECT_EQ(dialog.Choice().destination, report::Destination::Printer);
    dialog.PdfButton->setChecked(true);
    EXPECT_EQ(dialog.PdfFile->text().toStdString(), (fs::current_path() / "Tablak.pdf").string());
    dialog.PdfFile->setText("  ");
    EXPECT_FALSE(dialog.OkButton->isEnabled());
    dialog.PdfFile->setText("kimenet");
    EXPECT_TRUE(dialog.OkButton->isEnabled());
    EXPECT_EQ(dialog.Choice().destination, report::Destination::PdfFile);
    EXPECT_EQ(dialog.Choice().pdfFile, fs::path("kimenet.pdf"));
}

// --- shipped layouts ---------------------------------------------------------------------------

TEST(BuiltInLayouts, MissingOnesAreWrittenExistingOnesKept) {
    report::RegisterLayout("TesztBeepitett1.rav", "farmreport 1\n# első\n");
    report::RegisterLayout("TesztBeepitett2.rav", "farmreport 1\n# második: árvíztűrő\n");
    report::RegisterLayout("tesztbeepitett1.RAV", "farmreport 1\n# első, javítva\n");
    int registered = 0;
    for (const report::BuiltInLayout& layout : report::BuiltInLayouts())
        registered += layout.fileName.rfind("TesztBeepitett", 0) == 0;
    EXPECT_EQ(registered, 2);
    writeFile("TESZTBEEPITETT2.RAV", "a felhasználó saját fájlja");
    const std::vector<std::string> written = report::WriteBuiltInLayouts(fs::current_path());
    EXPECT_NE(std::find(written.begin(), written.end(), "TesztBeepitett1.rav"), written.end());
    EXPECT_EQ(std::find(written.begin(), written.end(), "TesztBeepitett2.rav"), written.end());
    std::ifstream first("TesztBeepitett1.rav");
    std::stringstream text;
    text << first.rdbuf();
    EXPECT_EQ(text.str(), "farmreport 1\n# első, javítva\n");
    EXPECT_TRUE(report::WriteBuiltInLayouts(fs::current_path()).empty()) << "nothing twice";
    EXPECT_FALSE(fs::exists("TesztBeepitett1.rav.tmp"));
    // Every shipped layout is a valid layout.
    for (const report::BuiltInLayout& layout : report::BuiltInLayouts())
        EXPECT_NO_THROW(report::ParseLayout(layout.text, layout.fileName)) << layout.fileName;
}

TEST(BuiltInLayouts, UnwritableDirectoryIsNamed) {
    try {
        report::WriteLayoutIfMissing("nincs/ilyen", "Egy.rav", "farmreport 1\n");
        FAIL() << "no error";
    } catch (const report::ReportError& error) {
        EXPECT_THAT(error.what(), HasSubstr("nincs/ilyen/Egy.rav"));
    }
}

} // namespace
