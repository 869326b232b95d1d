// The laid-out pages kept in their temporary file read back exactly as they were laid out,
// with the page count written in once the document is complete.

#include "platform/report/pages.h"

#include <bit>
#include <cmath>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace {

using report::Page;

// Every number of the page bit for bit, and every text.
std::string bits(const Page& page) {
    std::string out;
    auto add = [&](double value) {
        out += std::to_string(std::bit_cast<std::uint64_t>(value)) + ' ';
    };
    for (const report::TextItem& t : page.texts) {
        for (double value : {t.x, t.y, t.width, t.height, t.fontSize})
            add(value);
        out += t.text + (t.bold ? " b" : " -") + std::to_string(static_cast<int>(t.align)) + '\n';
    }
    for (const report::LineItem& l : page.lines)
        for (double value : {l.x1, l.y1, l.x2, l.y2, l.width})
            add(value);
    return out;
}

// Rows of texts and a ruled grid, as a table's page has them, with some odd numbers.
Page sample(int number) {
    Page page;
    page.texts.push_back({105, 5, 40, 4,
                          std::to_string(number) + ". oldal / " + report::kPageCountMark + " (" +
                              report::kPageCountMark + ")",
                          8, false, report::Align::Right});
    for (int i = 0; i < 24; ++i)
        page.texts.push_back({10 + (i % 4) * 25.1, 20 + (i / 4) * 4.3 * number, 25.1 - 1, 4.3,
                              "sor " + std::to_string(i) + std::string(i * 7, 'x'),
                              i % 5 == 0 ? 12.5 : 9, i % 3 == 0,
                              static_cast<report::Align>(i % 3)});
    page.texts.push_back({-0.0, std::nan(""), 0, -0.0, "", 0, true, report::Align::Center});
    for (int row = 0; row < 6; ++row) {
        const double top = 20 + row * 4.3 * number, bottom = top + 4.3;
        for (int column = 0; column <= 4; ++column)
            page.lines.push_back({10 + column * 25.1, top, 10 + column * 25.1, bottom, 0.2});
        page.lines.push_back({10, bottom, 110.4, bottom, row == 5 ? 0.5 : 0.2});
    }
    page.lines.push_back({1.0 / 3, -0.0, 2.0 / 3, 0.0, 0.1});
    return page;
}

TEST(PageStore, PagesReadBackBitForBitAndTheCountIsFilledInWhenComplete) {
    report::PageStore store;
    std::vector<Page> laidOut;
    for (int number = 1; number <= 5; ++number) {
        laidOut.push_back(number == 3 ? Page{} : sample(number));
        store.emplace_back() = laidOut.back();
    }
    ASSERT_EQ(store.size(), 5u);
    for (std::size_t i = 0; i < laidOut.size(); ++i)
        EXPECT_EQ(bits(store[i]), bits(laidOut[i])) << "page " << i + 1;
    EXPECT_THROW(store.at(5), std::out_of_range);

    // A copy goes on apart from the original; both keep what they had.
    report::PageStore copy = store;
    copy.push_back(sample(9));
    store.push_back(sample(7));
    EXPECT_EQ(bits(copy[4]), bits(laidOut[4]));
    EXPECT_EQ(bits(store[4]), bits(laidOut[4]));
    EXPECT_EQ(bits(copy[5]), bits(sample(9)));
    EXPECT_EQ(bits(store[5]), bits(sample(7)));

    // A layout stopped after four pages keeps those, the fourth in memory again.
    store.resize(4);
    EXPECT_EQ(bits(store.back()), bits(laidOut[3]));
    store.back().texts.push_back({0, 0, 10, 4, "vége"});
    store.fillPageCount();
    int pages = 0;
    for (const Page& page : store) {
        ++pages;
        if (!page.texts.empty()) {
            EXPECT_EQ(page.texts[0].text, std::to_string(pages) + ". oldal / 4 (4)");
        }
    }
    EXPECT_EQ(pages, 4);
    EXPECT_EQ(store.back().texts.back().text, "vége");
    EXPECT_THAT(copy[0].texts[0].text, ::testing::HasSubstr(report::kPageCountMark));
}

} // namespace
