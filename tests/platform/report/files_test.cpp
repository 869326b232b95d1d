// What a report leaves on disk and on paper: shipped layouts brought up to date (an
// unchanged earlier version replaced, a changed one kept), a PDF export that is cancelled
// or cannot be written keeps the earlier file, no printer or a failing printer is told in
// Hungarian, and the preview's plain-text and editable-document renderers.

#include "platform/report/dialogs.h"
#include "platform/report/layouts.h"
#include "platform/sys/text.h"
#include "report_test_support.h"
#include "support/test_env.h"
#include "support/ui_test.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <sys/resource.h>

namespace {

namespace fs = std::filesystem;
using namespace reporttest;
using ::testing::HasSubstr;

// --- shipped layouts ---------------------------------------------------------------------------

const std::string kVersion1 = "farmreport 1\n# Teszt.rav\ntitle\ntext \"Első\"\n";
const std::string kVersion3 = "farmreport 1 version=3\n# Teszt.rav\ntitle\ntext \"Harmadik\"\n";

TEST(ShippedLayouts, AnUnchangedEarlierVersionIsReplacedAChangedOneKept) {
    const std::string second = "farmreport 1 version=2\ntitle\ntext \"Második\"\n";
    report::RegisterLayout("TesztValtozat.rav", kVersion3,
                           {report::LayoutChecksum(kVersion1), report::LayoutChecksum(second)});
    report::RegisterLayout("TesztSajat.rav", kVersion3, {report::LayoutChecksum(kVersion1)});
    report::RegisterLayout("TesztFriss.rav", kVersion3, {report::LayoutChecksum(kVersion1)});
    report::RegisterLayout("TesztMegvan.rav", kVersion3, {report::LayoutChecksum(kVersion1)});
    writeFile("TESZTVALTOZAT.RAV", second); // shipped earlier, in another letter case
    const std::string changed = kVersion1 + "text \"A gazda saját sora\"\n";
    writeFile("TesztSajat.rav", changed);
    writeFile("TesztMegvan.rav", kVersion3);

    const report::LayoutUpdates updates = report::UpdateBuiltInLayouts(fs::current_path());
    auto has = [](const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    EXPECT_TRUE(has(updates.replaced, "TesztValtozat.rav"));
    EXPECT_TRUE(has(updates.kept, "TesztSajat.rav"));
    EXPECT_TRUE(has(updates.written, "TesztFriss.rav"));
    EXPECT_FALSE(has(updates.replaced, "TesztMegvan.rav") || has(updates.kept, "TesztMegvan.rav") ||
                 has(updates.written, "TesztMegvan.rav"));
    EXPECT_EQ(testenv::readFile("TESZTVALTOZAT.RAV"), kVersion3) << "replaced under its own name";
    EXPECT_FALSE(fs::exists("TesztValtozat.rav") &&
                 !fs::equivalent("TesztValtozat.rav", "TESZTVALTOZAT.RAV"));
    EXPECT_EQ(testenv::readFile("TesztSajat.rav"), changed);
    EXPECT_EQ(testenv::readFile("TesztFriss.rav"), kVersion3);
    // A second start finds everything up to date and the user's file still kept.
    const report::LayoutUpdates again = report::UpdateBuiltInLayouts(fs::current_path());
    EXPECT_FALSE(has(again.replaced, "TesztValtozat.rav") || has(again.written, "TesztFriss.rav"));
    EXPECT_TRUE(has(again.kept, "TesztSajat.rav"));
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::current_path()))
        EXPECT_TRUE(sys::equalsNoCase(entry.path().extension().string(), ".rav"))
            << entry.path() << " left behind";
}

TEST(ShippedLayouts, VersionAndChecksumOfALayout) {
    EXPECT_EQ(report::LayoutVersion(kVersion3), 3);
    EXPECT_EQ(report::LayoutVersion("# megjegyzés\n\nfarmreport 1 version=12\n"), 12);
    EXPECT_EQ(report::LayoutVersion(kVersion1), 0);
    EXPECT_EQ(report::ParseLayout(kVersion3, "Teszt.rav").version, 3);
    EXPECT_EQ(report::LayoutChecksum(""),
              "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
    EXPECT_EQ(report::LayoutChecksum(kVersion1), report::LayoutChecksum(std::string(kVersion1)));
    EXPECT_NE(report::LayoutChecksum(kVersion1), report::LayoutChecksum(kVersion3));
}

// --- PDF files ---------------------------------------------------------------------------------

class SavedFiles : public ReportTest {
protected:
    SavedFiles() {
        for (int i = 1; i <= 130; ++i)
            data.rows.push_back({"0" + std::to_string(100 + i), i % 2 ? "Kert" : "Nagyföld",
                                 std::to_string(i * 1000)});
    }
    const report::Document& list() {
        return run(R"rav(farmreport 1
pageheader
text "Nyilvántartott területek" bold
text "{#page}. oldal" align=right sameline x=120 width=60
band Sorok connection=RvSorok
column Helysz caption="Helyrajzi szám" width=30
column Hazmeg caption="Házi megnevezés" width=40
column Ter caption="Terület (m²)" width=30 align=right format="#,##0"
)rav");
    }
    RowsConnection data{&owner, "RvSorok", {"Helysz", "Hazmeg", "Ter"}};
};

struct CancelAt : report::ProgressReporter {
    explicit CancelAt(int page) : page_(page) {}
    bool Step(int done) override { return done < page_; }
    int page_;
};

TEST_F(SavedFiles, ACancelledPdfExportKeepsTheEarlierFile) {
    writeFile("lista.pdf", "a tegnapi lista");
    const report::Document& document = list();
    CancelAt cancel(2);
    EXPECT_FALSE(report::WritePdf(document, "lista.pdf", &cancel));
    EXPECT_EQ(testenv::readFile("lista.pdf"), "a tegnapi lista");
    // Finished, it replaces the file.
    EXPECT_TRUE(report::WritePdf(document, "lista.pdf"));
    EXPECT_EQ(testenv::readFile("lista.pdf").rfind("%PDF", 0), 0u);
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::current_path()))
        EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();
}

// A file size limit stands for a full disk: every write beyond it fails.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limit = previous_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousSignal_);
    }

private:
    rlimit previous_{};
    void (*previousSignal_)(int) = nullptr;
};

TEST_F(SavedFiles, AFullDiskIsReportedAndTheEarlierFileKept) {
    writeFile("lista.pdf", "a tegnapi lista");
    const report::Document& document = list();
    output.answer = report::OutputChoice{report::Destination::PdfFile, "lista.pdf"};
    try {
        const FileSizeLimit full(4000);
        report::WritePdf(document, "lista.pdf");
        FAIL() << "a failed write was taken for a success";
    } catch (const report::ReportError& error) {
        EXPECT_THAT(error.what(), HasSubstr("A PDF fájl nem írható"));
        EXPECT_THAT(error.what(), HasSubstr("lista.pdf"));
        EXPECT_THAT(error.what(), HasSubstr("megtelt a lemez"));
    }
    EXPECT_EQ(testenv::readFile("lista.pdf"), "a tegnapi lista");
    for (const fs::directory_entry& entry : fs::directory_iterator(fs::current_path()))
        EXPECT_EQ(entry.path().filename().string().find("lista.pdf."), std::string::npos)
            << entry.path() << " left behind";
}

// The laid-out pages go to a temporary file: a full disk under it stops the report, the
// folder named, rather than cutting pages silently.
TEST_F(SavedFiles, AFullDiskUnderTheLaidOutPagesStopsTheReport) {
    const std::string folder = fs::current_path().string();
    struct TemporaryFolder {
        explicit TemporaryFolder(const std::string& folder) {
            if (const char* before = std::getenv("TMPDIR"))
                previous = before;
            ::setenv("TMPDIR", folder.c_str(), 1);
        }
        ~TemporaryFolder() {
            if (previous)
                ::setenv("TMPDIR", previous->c_str(), 1);
            else
                ::unsetenv("TMPDIR");
        }
        std::optional<std::string> previous;
    } here(folder);
    try {
        const FileSizeLimit full(1000);
        list();
        FAIL() << "pages lost to a full disk went unnoticed";
    } catch (const report::ReportError& error) {
        EXPECT_THAT(error.what(),
                    HasSubstr("A jelentés oldalai nem írhatók az ideiglenes mappába"));
        EXPECT_THAT(error.what(), HasSubstr("\"" + folder + "\""));
    }
    EXPECT_TRUE(output.documents.empty());
}

// --- printers ----------------------------------------------------------------------------------

class Printing : public testui::UiTest {};

TEST_F(Printing, NoPrinterIsToldInHungarian) {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        GTEST_SKIP() << "this machine has a printer";
    report::Document document;
    document.pages.emplace_back();
    dialogs.Expect(report::kNoPrinterMessage);
    EXPECT_FALSE(report::PrintWithDialog(document, nullptr));
    dialogs.VerifyDone();
    EXPECT_EQ(dialogs.Last().type, ui::mtWarning);
}

TEST_F(Printing, APrinterThatCannotBeReachedIsAnError) {
    report::Document document;
    document.name = "Tablak.rav";
    document.pages.emplace_back();
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QStringLiteral("nincs/ilyen/mappa/nyomtato.pdf"));
    try {
        report::PrintDocument(document, printer);
        FAIL() << "no error";
    } catch (const report::ReportError& error) {
        EXPECT_THAT(error.what(), HasSubstr("A nyomtató nem érhető el"));
        EXPECT_THAT(error.what(), HasSubstr("a nyomtatás nem indult el"));
    }
}

// --- the preview's other renderers -----------------------------------------------------------

TEST_F(SavedFiles, PlainTextKeepsTheColumnsOfTheSheet) {
    const report::Document& document = list();
    ASSERT_EQ(document.pages.size(), 3u);
    report::WriteTextFile(document, "lista.txt");
    const std::string text = testenv::readFile("lista.txt");
    EXPECT_EQ(text, report::DocumentText(document));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 2) << "three pages";
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    auto lineOf = [&](const std::string& start) {
        for (const std::string& line : lines)
            if (line.rfind(start, 0) == 0)
                return line;
        return std::string("<nincs>");
    };
    const std::string heading = lineOf("Helyrajzi szám");
    const std::string first = lineOf("0101");
    const std::string tenth = lineOf("0110");
    EXPECT_THAT(first, HasSubstr("Kert"));
    // The names start under their heading, the numbers end at the same column.
    auto column = [](const std::string& line, const std::string& word) {
        return QString::fromStdString(line.substr(0, line.find(word))).size();
    };
    EXPECT_EQ(column(first, "Kert"), column(heading, "Házi"));
    EXPECT_EQ(QString::fromStdString(first).size(), QString::fromStdString(tenth).size());
    EXPECT_THAT(first, ::testing::EndsWith(" 1 000"));
    EXPECT_THAT(tenth, ::testing::EndsWith("10 000"));
    EXPECT_THAT(lines.front(), HasSubstr("1. oldal"));
}

TEST_F(SavedFiles, TheEditableDocumentHoldsTheTextsOnTabsPageByPage) {
    if (std::system("command -v unzip > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "unzip is not installed";
    const report::Document& document = list();
    report::SaveDocumentAs(document, "lista.odt");
    const testenv::CommandResult content = testenv::run("unzip -p lista.odt content.xml");
    ASSERT_EQ(content.exitCode, 0);
    EXPECT_THAT(content.out, HasSubstr("Nyilvántartott területek"));
    EXPECT_THAT(content.out, HasSubstr("Házi megnevezés"));
    EXPECT_THAT(content.out, HasSubstr("130 000"));
    EXPECT_THAT(content.out, HasSubstr("<text:tab/>"));
    EXPECT_THAT(content.out, HasSubstr("style:tab-stop"));
    EXPECT_THAT(content.out, HasSubstr("fo:break-before=\"page\""));
    const testenv::CommandResult mime = testenv::run("unzip -p lista.odt mimetype");
    EXPECT_EQ(mime.out, "application/vnd.oasis.opendocument.text");
    // The other extensions.
    report::SaveDocumentAs(document, "lista.TXT");
    EXPECT_EQ(testenv::readFile("lista.TXT"), report::DocumentText(document));
    report::SaveDocumentAs(document, "lista.pdf");
    EXPECT_EQ(testenv::readFile("lista.pdf").rfind("%PDF", 0), 0u);
}

} // namespace
