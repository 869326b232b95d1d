// The page model of ruled sheets: wrapped and cut cells, fixed-height rows and rows per
// page, heading rows with spans, the coordinates of rules and frames, nested groups,
// page totals and carried totals, and what is kept together at a page's foot.

#include "platform/report/render.h"
#include "platform/report/text_fit.h"
#include "report_test_support.h"

#include <cmath>

namespace {

using namespace reporttest;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::EndsWith;

// The texts of a page whose left edge lies in [from, to).
std::vector<const report::TextItem*> textsBetween(const report::Page& page, double from,
                                                  double to) {
    std::vector<const report::TextItem*> found;
    for (const report::TextItem& item : page.texts)
        if (item.x >= from - 1e-6 && item.x < to)
            found.push_back(&item);
    return found;
}

bool hasLine(const report::Page& page, double x1, double y1, double x2, double y2, double width) {
    auto near = [](double a, double b) { return std::abs(a - b) < 1e-6; };
    return std::any_of(page.lines.begin(), page.lines.end(), [&](const report::LineItem& l) {
        return near(l.x1, x1) && near(l.y1, y1) && near(l.x2, x2) && near(l.y2, y2) &&
               near(l.width, width);
    });
}

class PageModel : public ReportTest {
protected:
    RowsConnection data{&owner, "RvSorok", {"Nev", "Cim", "Ter", "Csoport", "Alcsoport"}};

    void addRows(int count, const std::string& name = "sor") {
        for (int i = 0; i < count; ++i)
            data.rows.push_back({name + " " + std::to_string(data.rows.size() + 1), "Eger",
                                 std::to_string(data.rows.size() + 1), "", ""});
    }
};

TEST_F(PageModel, AWrappedCellGrowsItsRowAndACutTextIsMarked) {
    data.rows.push_back({"Dr. Nagy-Szentmiklóssy Bálint Ferencné Kovács Edit",
                         "Hódmezővásárhely, Kossuth Lajos utca 123.", "1", "", ""});
    data.rows.push_back({"Kiss Ádám", "Eger", "2", "", ""});
    const report::Document& document = run(R"(farmreport 1
page margin=10 font=9
band Sorok connection=RvSorok headings=no
column Nev width=30 wrap
column Cim width=30
)");
    const report::Page& page = document.pages[0];
    // The name in lines of its column, each fitting it, nothing lost.
    const auto names = textsBetween(page, 10, 40);
    ASSERT_EQ(names.size(), 5u); // four lines of the long name, then "Kiss Ádám"
    std::string joined;
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_LE(report::TextWidth(names[i]->text, 9, false), names[i]->width + 1e-6);
        EXPECT_EQ(names[i]->x, 10.5);
        if (i > 0) {
            EXPECT_GT(names[i]->y, names[i - 1]->y);
        }
        joined += (i == 0 || joined.back() == '-' ? "" : " ") + names[i]->text;
    }
    EXPECT_EQ(joined, "Dr. Nagy-Szentmiklóssy Bálint Ferencné Kovács Edit");
    // The address does not wrap: it is cut, and the cut shows.
    const auto addresses = textsBetween(page, 40, 70);
    ASSERT_EQ(addresses.size(), 2u);
    EXPECT_THAT(addresses[0]->text, EndsWith(report::kCutMark));
    EXPECT_EQ(addresses[0]->y, names[0]->y) << "every cell starts on the row's first line";
    EXPECT_EQ(addresses[1]->text, "Eger");
    // The next row starts below the wrapped name's last line.
    EXPECT_GE(names[4]->y, names[3]->y + names[3]->height - 1e-6);
    EXPECT_EQ(addresses[1]->y, names[4]->y);
}

TEST_F(PageModel, ATotalWiderThanItsColumnIsSetSmallerNotCut) {
    data.rows.push_back({"a", "", "455957", "", ""});
    data.rows.push_back({"b", "", "455958", "", ""});
    const report::Document& document = run(R"(farmreport 1
page margin=10 font=9
band Sorok connection=RvSorok headings=no
column Nev width=20
column Ter width=12 align=right format="#,##0"
foot "Összesen:"
total Ter sum
)");
    const report::Page& page = document.pages[0];
    const auto total = std::find_if(page.texts.begin(), page.texts.end(),
                                    [](const report::TextItem& t) { return t.bold && t.x > 30; });
    ASSERT_NE(total, page.texts.end());
    EXPECT_EQ(total->text, "911 915");
    EXPECT_LT(total->fontSize, 9);
    EXPECT_LE(report::TextWidth(total->text, total->fontSize, true), total->width + 1e-6);
    EXPECT_EQ(page.texts.front().fontSize, 9) << "a text that fits keeps its size";
}

TEST_F(PageModel, FixedRowsKeepTheirHeightAndTheirNumberAPage) {
    addRows(30);
    data.rows[3][0] = "egy nagyon hosszú megjegyzés, amely két sornál többet kívánna a cellában";
    const report::Document& document = run(R"(farmreport 1
page margin=10 font=9
band Sorok connection=RvSorok rowheight=9 pagerows=14 rules=grid
column Nev caption="Megjegyzés" width=40 wrap
column Ter caption="Sor" width=15 align=right
)");
    ASSERT_EQ(document.pages.size(), 3u);
    const int rowsOnPages[] = {14, 14, 2};
    std::vector<double> rowBottoms; // of the first page
    for (int p = 0; p < 3; ++p) {
        const report::Page& page = document.pages[static_cast<std::size_t>(p)];
        EXPECT_EQ(static_cast<int>(textsBetween(page, 50, 65).size()), 1 + rowsOnPages[p])
            << "page " << p + 1;
        // The rules under the rows, 9 mm apart.
        std::vector<double> bottoms;
        for (const report::LineItem& line : page.lines)
            if (line.y1 == line.y2 && line.x1 == 10 && line.x2 == 65)
                bottoms.push_back(line.y1);
        std::sort(bottoms.begin(), bottoms.end());
        bottoms.erase(std::unique(bottoms.begin(), bottoms.end()), bottoms.end());
        ASSERT_EQ(static_cast<int>(bottoms.size()), 1 + rowsOnPages[p]); // the top, the rows
        for (std::size_t i = 2; i < bottoms.size(); ++i)
            EXPECT_NEAR(bottoms[i] - bottoms[i - 1], 9, 1e-6);
        if (p == 0)
            rowBottoms = bottoms;
    }
    // Two lines fit the 9 mm row; the rest of the text is cut with the mark.
    std::vector<std::string> fourth;
    const report::Page first = document.pages[0];
    for (const report::TextItem* item : textsBetween(first, 10, 50))
        if (item->y > rowBottoms[3] && item->y < rowBottoms[4])
            fourth.push_back(item->text);
    ASSERT_EQ(fourth.size(), 2u);
    EXPECT_EQ(fourth[0], "egy nagyon hosszú");
    EXPECT_THAT(fourth[1], EndsWith(report::kCutMark));
}

// Columns A (20 mm), B (30), C (25) from the left margin at 10 mm: edges at 10, 30, 60 and
// 85; a heading over B and C in the first heading row; the caption of A reaches over both
// heading rows.
const char* const kGridLayout = R"(farmreport 1
page margin=10 font=9
band Sorok connection=RvSorok rules=grid rule=0.3 frame=0.6 marks=numbers
column Nev caption="Név" width=20
column Cim caption="Cím" width=30
column Ter caption="Terület" width=25 align=right
heading "Adatok" from=Cim to=Ter
)";

TEST_F(PageModel, HeadingCellsSpanTheirColumnsAndRulesStandAtTheColumnEdges) {
    addRows(2);
    const report::Document& document = run(kGridLayout);
    const report::Page& page = document.pages[0];
    // The caption of A stands between the two heading rows, its own row of text.
    EXPECT_THAT(lines(document, 0), ElementsAre("Adatok", "Név", "Cím | Terület", "1 | 2 | 3",
                                                "sor 1 | Eger | 1", "sor 2 | Eger | 2"));
    const report::TextItem* over = nullptr;
    const report::TextItem* name = nullptr;
    const report::TextItem* area = nullptr;
    for (const report::TextItem& item : page.texts) {
        if (item.text == "Adatok")
            over = &item;
        if (item.text == "Név")
            name = &item;
        if (item.text == "Terület")
            area = &item;
    }
    ASSERT_TRUE(over && name && area);
    // The heading cell spans B and C: its box from 30 to 85, its text centred in it.
    EXPECT_DOUBLE_EQ(over->x, 31);
    EXPECT_DOUBLE_EQ(over->width, 53);
    EXPECT_EQ(over->align, report::Align::Center);
    const double top = 10;                         // the table's top
    const double row = report::RowHeight(9) + 0.8; // one heading row
    const double headingBottom = top + 2 * row;    // both heading rows
    const double marksBottom = headingBottom + report::RowHeight(8);
    // The caption of A stands in the middle of both heading rows.
    EXPECT_NEAR(name->y, top + (2 * row - report::RowHeight(9)) / 2, 1e-6);
    EXPECT_NEAR(area->y, top + row + 0.4, 1e-6);
    // The heading cell's box, the caption boxes, and the rule over the table.
    EXPECT_TRUE(hasLine(page, 30, top, 85, top, 0.3));
    EXPECT_TRUE(hasLine(page, 30, top + row, 85, top + row, 0.3));
    EXPECT_TRUE(hasLine(page, 10, top, 10, headingBottom, 0.3));       // A's caption: both rows
    EXPECT_TRUE(hasLine(page, 60, top + row, 60, headingBottom, 0.3)); // between B and C
    EXPECT_FALSE(hasLine(page, 60, top, 60, top + row, 0.3)) << "no rule through the span";
    // The frame's heavier line under the headings and the column marks.
    EXPECT_TRUE(hasLine(page, 10, marksBottom, 85, marksBottom, 0.6));
    // A body row: a rule at every column edge and one under it.
    const double rowHeight = report::RowHeight(9) + 0.6;
    for (double x : {10.0, 30.0, 60.0, 85.0})
        EXPECT_TRUE(hasLine(page, x, marksBottom, x, marksBottom + rowHeight, 0.3)) << x;
    EXPECT_TRUE(hasLine(page, 10, marksBottom + rowHeight, 85, marksBottom + rowHeight, 0.3));
    // The frame around the table, from its top to its last row.
    const double bottom = marksBottom + 2 * rowHeight;
    EXPECT_TRUE(hasLine(page, 10, top, 85, top, 0.6));
    EXPECT_TRUE(hasLine(page, 10, bottom, 85, bottom, 0.6));
    EXPECT_TRUE(hasLine(page, 10, top, 10, bottom, 0.6));
    EXPECT_TRUE(hasLine(page, 85, top, 85, bottom, 0.6));
}

TEST_F(PageModel, PageTotalsAndCarriedTotalsOnEveryPage) {
    addRows(150);
    const report::Document& document = run(R"(farmreport 1
page margin=10 font=9
pagefooter
text "{#page}. oldal"
band Sorok connection=RvSorok
column Nev caption="Név" width=40
column Ter caption="Szám" width=30 align=right
pagefoot "Oldalösszeg:"
pagetotal Ter sum
carry Ter sum
foot "Összesen:"
total Ter sum
)");
    ASSERT_GE(document.pages.size(), 3u);
    int before = 0; // the rows of the pages before
    for (std::size_t p = 0; p < document.pages.size(); ++p) {
        const std::vector<std::string> page = lines(document, static_cast<int>(p));
        ASSERT_EQ(page[0], "Név | Szám");
        std::size_t at = 1;
        if (p > 0) {
            EXPECT_EQ(page[at++], "Áthozat: | " + std::to_string(before * (before + 1) / 2));
        }
        int first = 0, last = 0;
        for (; at < page.size() && page[at].rfind("sor ", 0) == 0; ++at) {
            const int n = std::stoi(page[at].substr(4));
            first = first ? first : n;
            last = n;
        }
        ASSERT_EQ(first, before + 1) << "page " << p + 1;
        int pageSum = 0;
        for (int n = first; n <= last; ++n)
            pageSum += n;
        EXPECT_EQ(page[at++], "Oldalösszeg: | " + std::to_string(pageSum));
        const std::string foot = p + 1 < document.pages.size()
                                     ? "Átvitel: | " + std::to_string(last * (last + 1) / 2)
                                     : "Összesen: | 11325";
        EXPECT_EQ(page[at++], foot);
        EXPECT_EQ(page[at++], std::to_string(p + 1) + ". oldal");
        EXPECT_EQ(at, page.size());
        before = last;
    }
    EXPECT_EQ(before, 150);
}

TEST_F(PageModel, NestedGroupsCloseFromTheInsideOut) {
    const std::vector<std::vector<std::string>> rows{{"a", "", "1", "búza", "őszi"},
                                                     {"b", "", "2", "búza", "őszi"},
                                                     {"c", "", "4", "búza", "tavaszi"},
                                                     {"d", "", "8", "kukorica", "tavaszi"}};
    data.rows = rows;
    const report::Document& document = run(R"(farmreport 1
band Sorok connection=RvSorok headings=no
column Nev width=40
column Ter width=30 align=right
group Csoport
grouphead "{Csoport}"
groupfoot "{Csoport} összesen:"
grouptotal Ter sum
group Alcsoport
grouphead "- {Alcsoport}"
groupfoot "- {Alcsoport}:"
grouptotal Ter sum
foot "Mindösszesen:"
total Ter sum
)");
    EXPECT_THAT(lines(document, 0),
                ElementsAre("búza", "- őszi", "a | 1", "b | 2", "- őszi: | 3", "- tavaszi", "c | 4",
                            "- tavaszi: | 4", "búza összesen: | 7", "kukorica", "- tavaszi",
                            "d | 8", "- tavaszi: | 8", "kukorica összesen: | 8",
                            "Mindösszesen: | 15"));
}

TEST_F(PageModel, NoGroupHeadIsTheLastLineOfAPage) {
    // Groups of 1 to 6 rows, so that every place of a page's foot is tried.
    for (int group = 0; group < 40; ++group)
        for (int i = 0; i <= group % 6; ++i)
            data.rows.push_back({"sor", "", "1", "csoport " + std::to_string(group), ""});
    const report::Document& document = run(R"(farmreport 1
page margin=10 font=9
band Sorok connection=RvSorok
column Nev caption="Név" width=40
column Ter caption="Szám" width=30 align=right
group Csoport
grouphead "Csoport: {Csoport}" bold
groupfoot "Összesen:"
grouptotal Ter sum
)");
    ASSERT_GE(document.pages.size(), 3u);
    int heads = 0;
    for (std::size_t p = 0; p < document.pages.size(); ++p) {
        const std::vector<std::string> page = lines(document, static_cast<int>(p));
        EXPECT_EQ(page.front(), "Név | Szám") << "page " << p + 1;
        EXPECT_EQ(page.back().rfind("Csoport: ", 0), std::string::npos) << "page " << p + 1;
        for (std::size_t i = 0; i + 1 < page.size(); ++i) {
            if (page[i].rfind("Csoport: ", 0) == 0) {
                ++heads;
                EXPECT_EQ(page[i + 1], "sor | 1");
            }
        }
    }
    EXPECT_EQ(heads, 40);
}

TEST_F(PageModel, AFrameInATextBlockSurroundsItsTexts) {
    const report::Document& document = run(R"(farmreport 1
page margin=10
title
frame thickness=0.5 padding=2
text "Gazdálkodó neve: Zöldmező Kft."
text "Gazdálkodási év: 2010/2011"
endframe
text "alatta"
)");
    const report::Page& page = document.pages[0];
    ASSERT_EQ(page.texts.size(), 3u);
    const double rows = 2 * report::RowHeight(9);
    EXPECT_EQ(page.texts[0].x, 12);
    EXPECT_EQ(page.texts[0].y, 12);
    EXPECT_EQ(page.texts[0].width, 186);
    EXPECT_TRUE(hasLine(page, 10, 10, 200, 10, 0.5));
    EXPECT_TRUE(hasLine(page, 10, 14 + rows, 200, 14 + rows, 0.5));
    EXPECT_TRUE(hasLine(page, 10, 10, 10, 14 + rows, 0.5));
    EXPECT_TRUE(hasLine(page, 200, 10, 200, 14 + rows, 0.5));
    EXPECT_NEAR(page.texts[2].y, 14 + rows, 1e-9);
    EXPECT_EQ(page.texts[2].x, 10);
}

TEST(TextFit, WrapsAtBlanksAndBreaksLongWords) {
    testui::Qt();
    EXPECT_THAT(report::WrapText("", 20, 9, false), ElementsAre(""));
    EXPECT_THAT(report::WrapText("egy\nkettő", 50, 9, false), ElementsAre("egy", "kettő"));
    const std::vector<std::string> lines =
        report::WrapText("Agrár-környezetgazdálkodási célprogram", 20, 9, false);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Agrár-");
    for (const std::string& line : lines)
        EXPECT_LE(report::TextWidth(line, 9, false), 20 + 1e-6) << line;
    EXPECT_EQ(report::FitText("rövid", 50, 9, false), "rövid");
    const std::string cut = report::FitText("Hódmezővásárhely", 12, 9, false);
    EXPECT_THAT(cut, EndsWith(report::kCutMark));
    EXPECT_EQ(cut.rfind("Hód", 0), 0u);
    EXPECT_LE(report::TextWidth(cut, 9, false), 12 + 1e-6);
}

} // namespace
