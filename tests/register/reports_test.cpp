// The register's printouts, rendered through the report engine: the rows, the owners,
// the area totals in square metres and hectares, the farm's name and the page numbers.

#include "platform/report/layouts.h"
#include "platform/report/output.h"
#include "platform/report/text_fit.h"
#include "register/Tablalistac.h"
#include "register/Tulajdh.h"
#include "register/Ujtulajok.h"
#include "register/layouts.h"
#include "register_fixture.h"
#include "support/test_env.h"

#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using regtest::RegisterTest;
using ::testing::Contains;

class Reports : public RegisterTest {
protected:
    Reports() {
        reg::RegisterLayouts();
        report::WriteBuiltInLayouts(std::filesystem::current_path());
        {
            // An option row written before the farm's own row.
            db::TTable farm(session);
            farm.SetTableName("Alapadatok");
            farm.Open();
            farm.Append();
            farm.FieldByName("Nev").SetAsString("_kesz");
            farm.FieldByName("Cim").SetAsString("no");
            farm.Post();
        }
        regtest::SetFarmName(session, "Zöldmező Kft.");
        regtest::AddOwner(session, "100000", "Kiss Ádám", "Eger", "06-1-234");
        regtest::AddOwner(session, "100001", "O'Neil Mária", "Szolnok");
        regtest::AddOwner(session, "100002", "O'Neil Mária", "Baja");
        regtest::AddParcel(session, {.helysz = "0112/3",
                                     .hazmeg = "Tó mellett",
                                     .tulkod = "100000",
                                     .ter = 12345,
                                     .blok = "AB12C-D-3E",
                                     .arany = 17.5,
                                     .ont = 1});
        regtest::AddParcel(session,
                           {.helysz = "0101", .hazmeg = "Kert", .tulkod = "100001", .ter = 2500});
        regtest::AddParcel(
            session, {.helysz = "0150", .hazmeg = "Legelő", .tulkod = "100002", .ter = 30000});
        regtest::AddParcel(
            session,
            {.helysz = "0099", .hazmeg = "Eladott", .tulkod = "100000", .ter = 99999, .aktiv = 0});
        regtest::AddParcel(session,
                           {.helysz = "0120", .hazmeg = "Gazdátlan", .tulkod = "100009", .ter = 1});
    }

    report::CaptureOutput output;
    report::ScopedOutput use{output};
};

TEST_F(Reports, TheLandParcelListPrintsActiveParcelsWithOwnersAndTotals) {
    forms.On<TTablalista>([](TTablalista& f) {
        QApplication::setActiveWindow(&f);
        f.Button1->click();
        f.DBGrid1->SetFocus();
        Key(f.DBGrid1, Qt::Key_I, Qt::ControlModifier); // prints again
        f.Button2->click();
    });
    ui::ShowModalForm(Tablalista, session);

    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"Tablak.rav", "Tablak.rav"}));
    const std::string today = sys::dateToText(sys::today());
    EXPECT_EQ(report::DocumentLines(output.documents[0]),
              (std::vector<std::string>{
                  "Zöldmező Kft. | Nyilvántartott területek (hrsz)",
                  "Nyilvántartott területek (hrsz)",
                  "Zöldmező Kft.",
                  "Készült: " + today,
                  "Helyrajzi szám | Házi megnevezés | Terület (m²) | Terület (ha) | AK | Öntözhető",
                  "0101 | Kert | 2 500 | 0,2500 | nem",
                  "O'Neil Mária | Szolnok",
                  "0112/3 | Tó mellett | 12 345 | 1,2345 | 17,50 | igen",
                  "Kiss Ádám | Eger",
                  "0120 | Gazdátlan | 1 | 0,0001 | nem", // its owner was deleted
                  "0150 | Legelő | 30 000 | 3,0000 | nem",
                  "O'Neil Mária | Baja",
                  "Összesen: | 44 846 | 4,4846",
                  today + " | 1. oldal / 1",
              }));
    EXPECT_EQ(report::DocumentLines(output.documents[1]),
              report::DocumentLines(output.documents[0]));
}

TEST_F(Reports, TheOwnersListPrintsActiveParcelsByOwnerAndAddress) {
    forms.On<TTulajd>([](TTulajd& f) {
        f.Button2->click();
        f.Button3->click();
    });
    forms.On<Tujtulaj>([](Tujtulaj& d) {
        d.Button3->click(); // "Lista" of the new-owner dialog prints the same
        d.Button2->click();
    });
    ui::ShowModalForm(Tulajd, session);
    ui::ShowModalForm(ujtulaj, session);

    ASSERT_EQ(output.documents.size(), 2u);
    EXPECT_EQ(output.asked, (std::vector<std::string>{"Tulajdonosok.rav", "Tulajdonosok.rav"}));
    const std::string today = sys::dateToText(sys::today());
    std::vector<std::string> expected{
        "Zöldmező Kft. | Tulajdonosok és földrészleteik",
        "Tulajdonosok és földrészleteik",
        "Zöldmező Kft.",
        "Készült: " + today,
        "Helyrajzi szám | Blokkazonosító | Terület (m²) | Terület (ha)",
        "Kiss Ádám, Eger, tel.: 06-1-234",
        "0112/3 | AB12C-D-3E | 12 345 | 1,2345",
        "Összesen: | 12 345 | 1,2345",
        "O'Neil Mária, Baja", // two owners of one name stay apart
        "0150 | 30 000 | 3,0000",
        "Összesen: | 30 000 | 3,0000",
        "O'Neil Mária, Szolnok",
        "0101 | 2 500 | 0,2500",
        "Összesen: | 2 500 | 0,2500",
        "Mindösszesen: | 44 845 | 4,4845",
        today + " | 1. oldal / 1",
    };
    EXPECT_EQ(report::DocumentLines(output.documents[0]), expected);
    EXPECT_EQ(report::DocumentLines(output.documents[1]), expected);
}

TEST_F(Reports, NothingIsPrintedWithoutAnActiveLandParcel) {
    {
        db::TTable parcels(session);
        parcels.SetTableName("Tablak");
        parcels.Open();
        for (parcels.First(); !parcels.Eof(); parcels.Next()) {
            parcels.Edit();
            parcels.FieldByName("Aktiv").SetAsInteger(0);
            parcels.Post();
        }
    }
    dialogs.Expect("Nincs megjeleníthető tábla.");
    forms.On<TTulajd>([](TTulajd& f) {
        f.Button2->click();
        f.Button3->click();
    });
    forms.On<TTablalista>([](TTablalista& f) {
        f.Button1->click();
        f.Button2->click();
    });
    ui::ShowModalForm(Tulajd, session);
    ui::ShowModalForm(Tablalista, session);
    EXPECT_TRUE(output.documents.empty());
    EXPECT_TRUE(output.asked.empty());
    dialogs.VerifyDone();
}

TEST_F(Reports, ManyLandParcelsRunOverPagesWithNumbersAndOneTotal) {
    for (int i = 0; i < 120; ++i)
        regtest::AddParcel(session, {.helysz = "1" + std::to_string(1000 + i),
                                     .hazmeg = "Sor",
                                     .tulkod = "100000",
                                     .ter = 100});
    forms.On<TTablalista>([](TTablalista& f) {
        f.Button1->click();
        f.Button2->click();
    });
    ui::ShowModalForm(Tablalista, session);
    ASSERT_EQ(output.documents.size(), 1u);
    const report::Document& document = output.documents[0];
    ASSERT_GE(document.pages.size(), 2u);
    const std::string pages = std::to_string(document.pages.size());
    for (std::size_t i = 0; i < document.pages.size(); ++i) {
        std::vector<std::string> lines = report::PageLines(document.pages[i]);
        EXPECT_EQ(lines.front(), "Zöldmező Kft. | Nyilvántartott területek (hrsz)");
        EXPECT_THAT(lines.back(),
                    ::testing::EndsWith(std::to_string(i + 1) + ". oldal / " + pages));
    }
    EXPECT_THAT(report::PageLines(document.pages.front()),
                Contains("Helyrajzi szám | Házi megnevezés | Terület (m²) | Terület (ha) | AK | "
                         "Öntözhető"));
    EXPECT_THAT(report::PageLines(document.pages.back()), Contains("Összesen: | 56 846 | 5,6846"));
}

TEST(RegisterLayouts, TheLayoutsAreWrittenBesideTheDatabaseUnlessThere) {
    reg::RegisterLayouts();
    std::vector<std::string> written = report::WriteBuiltInLayouts(std::filesystem::current_path());
    EXPECT_THAT(written, Contains("Tulajdonosok.rav"));
    EXPECT_THAT(written, Contains("Tablak.rav"));
    EXPECT_EQ(testenv::readFile("Tablak.rav"), report::ShippedLayout("register/Tablak.rav"));
    EXPECT_EQ(testenv::readFile("Tulajdonosok.rav"),
              report::ShippedLayout("register/Tulajdonosok.rav"));
    // Each carries its version on its first line; the checksums of the earlier versions
    // are none of the current one's.
    for (const report::BuiltInLayout& layout : report::BuiltInLayouts()) {
        if (layout.fileName != "Tablak.rav" && layout.fileName != "Tulajdonosok.rav")
            continue;
        EXPECT_EQ(layout.text.rfind("farmreport 1 version=", 0), 0u) << layout.fileName;
        EXPECT_GE(report::LayoutVersion(layout.text), 2) << layout.fileName;
        EXPECT_EQ(static_cast<int>(layout.earlier.size()), report::LayoutVersion(layout.text) - 1);
        EXPECT_THAT(layout.earlier, ::testing::Not(Contains(report::LayoutChecksum(layout.text))));
    }
    // A layout the user changed is kept.
    std::filesystem::remove("Tablak.rav");
    report::WriteLayoutIfMissing(".", "TABLAK.RAV", "farmreport 1\n");
    EXPECT_TRUE(report::WriteBuiltInLayouts(std::filesystem::current_path()).empty());
    EXPECT_EQ(testenv::readFile("TABLAK.RAV"), "farmreport 1\n");
}

} // namespace

namespace {

// The land parcel list saved as a PDF: the accented texts and the totals read back.
TEST_F(Reports, TheLandParcelListSavedAsPdfReadsBack) {
    if (std::system("command -v pdftotext > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const std::filesystem::path pdf = std::filesystem::current_path() / "tablak.pdf";
    output.answer = report::OutputChoice{report::Destination::PdfFile, pdf};
    forms.On<TTablalista>([](TTablalista& f) {
        f.Button1->click();
        f.Button2->click();
    });
    ui::ShowModalForm(Tablalista, session);

    const testenv::CommandResult read = testenv::run("pdftotext -layout '" + pdf.string() + "' -");
    ASSERT_EQ(read.exitCode, 0);
    const std::string& text = read.out;
    EXPECT_THAT(text, ::testing::HasSubstr("Nyilvántartott területek (hrsz)"));
    EXPECT_THAT(text, ::testing::HasSubstr("Zöldmező Kft."));
    EXPECT_THAT(text, ::testing::HasSubstr("O'Neil Mária"));
    EXPECT_THAT(text, ::testing::HasSubstr("44 846"));
    if (const char* keep = std::getenv("FARM_SCREENSHOT_DIR"))
        std::filesystem::copy_file(pdf, std::filesystem::path(keep) / "tablak.pdf",
                                   std::filesystem::copy_options::overwrite_existing);
}

} // namespace

namespace {

// Seventy land parcels of owners with long names over several pages: every page has the
// headings, a house name or an owner too long for its column wraps instead of being cut,
// and neither a parcel's owner line nor an owner's heading is left alone at a page's foot.
class LongLists : public Reports {
protected:
    LongLists() {
        regtest::AddOwner(session, "100010", "Dr. Nagy-Szentmiklóssy Bálint Ferencné Kovács Edit",
                          "Hódmezővásárhely, Kossuth Lajos utca 123. II. emelet 4.",
                          "06-62-123-456");
        for (int i = 0; i < 70; ++i)
            regtest::AddParcel(
                session,
                {.helysz = "0" + std::to_string(200 + i) + "/" + std::to_string(i % 4 + 1),
                 .hazmeg = i % 3 == 0
                               ? "Öreg diófa melletti dűlő a csatorna partján, a major mögött"
                               : "Szérűskert",
                 .tulkod = i % 2 == 0 ? "100010" : (i % 4 == 1 ? "100001" : "100000"),
                 .ter = 10000 + i * 37,
                 .blok = "K" + std::to_string(1000 + i) + "-2-09",
                 .arany = 12.5,
                 .ont = i % 5 == 0 ? 1 : 0});
    }

    void keepPdf(const std::string& name) {
        if (const char* keep = std::getenv("FARM_SCREENSHOT_DIR"))
            report::WritePdf(output.documents.back(), std::filesystem::path(keep) / name);
    }
};

TEST_F(LongLists, TheLandParcelListWrapsAndKeepsEachParcelWithItsOwner) {
    forms.On<TTablalista>([](TTablalista& f) {
        f.Button1->click();
        f.Button2->click();
    });
    ui::ShowModalForm(Tablalista, session);
    ASSERT_EQ(output.documents.size(), 1u);
    const report::Document& document = output.documents[0];
    keepPdf("tablak.pdf");
    ASSERT_GE(document.pages.size(), 3u);
    const std::string headings =
        "Helyrajzi szám | Házi megnevezés | Terület (m²) | Terület (ha) | AK | Öntözhető";
    int owners = 0;
    for (std::size_t p = 0; p < document.pages.size(); ++p) {
        const std::vector<std::string> lines = report::PageLines(document.pages[p]);
        const auto at = std::find(lines.begin(), lines.end(), headings);
        ASSERT_NE(at, lines.end()) << "page " << p + 1;
        // The first line under the headings is a parcel, not an owner of the page before.
        EXPECT_EQ((at + 1)->rfind("0", 0), 0u) << "page " << p + 1 << ": " << *(at + 1);
        for (const std::string& line : lines) {
            EXPECT_EQ(line.find(report::kCutMark), std::string::npos) << line;
            owners += line.rfind("Dr. Nagy-Szentmiklóssy", 0) == 0;
        }
    }
    EXPECT_EQ(owners, 35);
}

TEST_F(LongLists, TheOwnersListWrapsTheOwnerAndNeverLeavesItAloneAtAPageFoot) {
    forms.On<TTulajd>([](TTulajd& f) {
        f.Button2->click();
        f.Button3->click();
    });
    ui::ShowModalForm(Tulajd, session);
    ASSERT_EQ(output.documents.size(), 1u);
    const report::Document& document = output.documents[0];
    keepPdf("tulajdonosok.pdf");
    ASSERT_GE(document.pages.size(), 2u);
    const std::string headings = "Helyrajzi szám | Blokkazonosító | Terület (m²) | Terület (ha)";
    for (std::size_t p = 0; p < document.pages.size(); ++p) {
        const std::vector<std::string> lines = report::PageLines(document.pages[p]);
        const auto at = std::find(lines.begin(), lines.end(), headings);
        ASSERT_NE(at, lines.end()) << "page " << p + 1;
        // A page that goes on with an owner's parcels says whose they are.
        if (p > 0) {
            EXPECT_THAT(*(at + 1), ::testing::EndsWith("(folytatás)"));
        }
        // Above the page footer: a parcel or a total, never an owner's heading.
        const std::string& last = lines[lines.size() - 2];
        EXPECT_TRUE(last.find(" | ") != std::string::npos) << "page " << p + 1 << ": " << last;
        for (const std::string& line : lines)
            EXPECT_EQ(line.find(report::kCutMark), std::string::npos) << line;
    }
    // The long owner is printed whole, over two lines.
    const std::vector<std::string> all = report::DocumentLines(document);
    const auto owner = std::find_if(all.begin(), all.end(), [](const std::string& line) {
        return line.rfind("Dr. Nagy-Szentmiklóssy", 0) == 0;
    });
    ASSERT_NE(owner, all.end());
    EXPECT_EQ(*owner + " " + *(owner + 1),
              "Dr. Nagy-Szentmiklóssy Bálint Ferencné Kovács Edit, "
              "Hódmezővásárhely, Kossuth Lajos utca 123. II. emelet 4., tel.: 06-62-123-456");
}

} // namespace
