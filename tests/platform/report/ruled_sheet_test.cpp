// A ruled statutory sheet as the diary sheets are written: A4 landscape, three heading
// rows with headings over several columns, column letters, a grid of cells with a frame,
// wrapped texts, and the totals carried from page to page ("Átvitel" at the foot,
// "Áthozat" at the top); read back from the page model and from the PDF.

#include "platform/sys/numbers.h"
#include "report_test_support.h"
#include "support/test_env.h"

#include <cstdlib>

namespace {

namespace fs = std::filesystem;
using namespace reporttest;
using ::testing::HasSubstr;

const char* const kRuledSheet = R"rav(farmreport 1 version=1
# A ruled sheet of a farming diary: the operations of the fields, with the materials used.
page size=A4 orientation=landscape margin=12 font=8

title
frame padding=1.5
text "Gazdálkodó neve: {RvFejlec.Nev}" bold
text "Ügyfél-azonosító: {RvFejlec.Azon}" x=150 width=120 sameline
text "Gazdálkodási év: {RvFejlec.Ev}"
endframe
space 2

pageheader
text "GN-07" size=11 bold width=30
text "Folyamatos műveleti napló táblánként" size=11 bold align=center sameline
text "{#page}. oldal / {#pages}" align=right sameline x=213 width=60
space 2

pagefooter
space 2
text "Kelt: ....................................." width=120
text "Aláírás: ....................................." align=right sameline x=153 width=120

band Muveletek connection=RvMuveletek rules=grid frame=0.5 marks=letters
column Sorsz caption="Sor-\nszám" width=11 align=center
column Datum caption="Dátum" width=21 align=center
column Tabla caption="Tábla-\nszám" width=15 align=center
column Muvelet caption="Megnevezése" width=52 wrap
column Terulet caption="Terület\n(ha)" width=17 align=right format="0.00"
column Anyag caption="Megnevezése" width=47 wrap
column Menny caption="Összesen\n(kg, l)" width=19 align=right format="#,##0.0"
column Dozis caption="Dózis\n(kg/ha, l/ha)" width=19 align=right format="0.0"
column Gep caption="Erő- és munkagép" width=38 wrap
column Megj caption="Megjegyzés" width=34 wrap
heading "Elvégzett művelet" from=Muvelet to=Terulet
heading "Felhasznált anyag" from=Anyag to=Dozis
heading "Mennyiség" from=Menny to=Dozis row=2
carry Terulet sum
carry Menny sum
foot "Összesen:" bold
total Terulet sum
total Menny sum
)rav";

constexpr int kRows = 40;

class RuledSheet : public ReportTest {
protected:
    RuledSheet() {
        header.rows = {{"Zöldmező Kft.", "1002345678", "2010/2011"}};
        const char* const operations[] = {
            "Szántás 30 cm mélyen, forgatással",
            "Tárcsázás",
            "Műtrágyaszórás röpítőtárcsás szórógéppel, a tábla teljes területén",
            "Vetés",
            "Gyomirtó permetezés kelés előtt, a szomszédos tábla szélén 5 m védőtávolsággal",
        };
        const char* const materials[] = {
            "", "", "NPK 15-15-15 komplex műtrágya", "Martonvásári 4 őszi búza vetőmag",
            "Gyomirtó szer (hatóanyag: metribuzin), tartálykeverékben nedvesítőszerrel"};
        const char* const machines[] = {"MTZ 82 + ekekapa", "John Deere 6120 + tárcsa",
                                        "MTZ 82 + Amazone ZA-M szórógép",
                                        "Rába 180 + Väderstad vetőgép", "MTZ 82 + permetező"};
        for (int i = 0; i < kRows; ++i) {
            const int kind = i % 5;
            const double area = 3.25 + i % 7;
            const double dose = kind == 2 ? 250 : kind == 3 ? 220 : kind == 4 ? 1.5 : 0;
            areaSum += area;
            amountSum += area * dose;
            amounts.push_back(area * dose);
            areas.push_back(area);
            operationsData.rows.push_back(
                {std::to_string(i + 1),
                 "2010. " + std::string(i < 30 ? "09." : "10.") + " " +
                     (i % 28 + 1 < 10 ? "0" : "") + std::to_string(i % 28 + 1) + ".",
                 std::to_string(100 + i % 9), operations[kind], sys::floatToText(area),
                 materials[kind], dose > 0 ? sys::floatToText(area * dose) : "",
                 dose > 0 ? sys::floatToText(dose) : "", machines[kind],
                 i % 11 == 0 ? "Csapadék után, nedves talajon" : ""});
        }
    }

    RowsConnection header{&owner, "RvFejlec", {"Nev", "Azon", "Ev"}};
    RowsConnection operationsData{&owner,
                                  "RvMuveletek",
                                  {"Sorsz", "Datum", "Tabla", "Muvelet", "Terulet", "Anyag",
                                   "Menny", "Dozis", "Gep", "Megj"}};
    double areaSum = 0, amountSum = 0;
    std::vector<double> areas, amounts;
};

std::string twoDecimals(double value) {
    return report::FormatNumber(value, "0.00");
}
std::string amount(double value) {
    return report::FormatNumber(value, "#,##0.0");
}

// The row number of the last operation row of a page.
int lastRowNumber(const std::vector<std::string>& lines) {
    int last = 0;
    for (const std::string& line : lines) {
        const std::size_t bar = line.find(" | 2010. ");
        if (bar != std::string::npos)
            last = std::atoi(line.substr(0, bar).c_str());
    }
    return last;
}

TEST_F(RuledSheet, CarriedTotalsOnEveryPageOverThreePages) {
    const report::Document& document = run(kRuledSheet, "GN07Teszt.rav");
    ASSERT_EQ(document.pages.size(), 3u);
    double area = 0, total = 0;
    int printed = 0;
    for (int p = 0; p < 3; ++p) {
        const std::vector<std::string> page = lines(document, p);
        EXPECT_EQ(page.front(), "GN-07 | Folyamatos műveleti napló táblánként | " +
                                    std::to_string(p + 1) + ". oldal / 3");
        // The three heading rows, then the column letters.
        const auto headings =
            std::find(page.begin(), page.end(), "Elvégzett művelet | Felhasznált anyag");
        ASSERT_NE(headings, page.end()) << "page " << p + 1;
        EXPECT_EQ(*(headings + 1), "Mennyiség");
        EXPECT_THAT(page, ::testing::Contains("A | B | C | D | E | F | G | H | I | J"));
        if (p > 0) {
            EXPECT_THAT(page, ::testing::Contains("Áthozat: | " + twoDecimals(area) + " | " +
                                                  amount(total)));
        }
        const int last = lastRowNumber(page);
        ASSERT_GT(last, printed);
        for (int i = printed; i < last; ++i) {
            area += areas[static_cast<std::size_t>(i)];
            total += amounts[static_cast<std::size_t>(i)];
        }
        printed = last;
        if (p < 2) {
            EXPECT_EQ(page[page.size() - 2],
                      "Átvitel: | " + twoDecimals(area) + " | " + amount(total));
        }
        EXPECT_THAT(page.back(), HasSubstr("Aláírás:"));
    }
    EXPECT_EQ(printed, kRows);
    EXPECT_EQ(lines(document, 2)[lines(document, 2).size() - 2],
              "Összesen: | " + twoDecimals(areaSum) + " | " + amount(amountSum));
}

TEST_F(RuledSheet, SavedAsPdfReadsBack) {
    if (std::system("command -v pdftotext > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "pdftotext is not installed";
    const fs::path pdf = fs::current_path() / "gn07.pdf";
    output.answer = report::OutputChoice{report::Destination::PdfFile, pdf};
    run(kRuledSheet, "GN07Teszt.rav");
    const testenv::CommandResult read = testenv::run("pdftotext -layout '" + pdf.string() + "' -");
    ASSERT_EQ(read.exitCode, 0);
    EXPECT_THAT(read.out, HasSubstr("Folyamatos műveleti napló táblánként"));
    EXPECT_THAT(read.out, HasSubstr("Elvégzett művelet"));
    EXPECT_THAT(read.out, HasSubstr("Átvitel:"));
    EXPECT_THAT(read.out, HasSubstr("Áthozat:"));
    EXPECT_THAT(read.out, HasSubstr("Zöldmező Kft."));
    EXPECT_THAT(read.out, HasSubstr(twoDecimals(areaSum)));
    if (const char* keep = std::getenv("FARM_SCREENSHOT_DIR"))
        fs::copy_file(pdf, fs::path(keep) / "gn07.pdf", fs::copy_options::overwrite_existing);
}

} // namespace
