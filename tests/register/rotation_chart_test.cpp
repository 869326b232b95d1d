// The crop-rotation chart: two predecessors side by side, a shared ancestor drawn once
// with two lines, a cycle that ends, and the texts the form draws at their places.

#include "lists_fixture.h"
#include "register/Probavforgoh.h"
#include "register/rotation_chart.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

namespace {

using reg::ChartField;
using reg::ChartLine;

reg::PredecessorsOf Links(std::map<std::string, std::vector<std::string>> links) {
    return [links](const std::string& code) {
        auto found = links.find(code);
        return found == links.end() ? std::vector<std::string>{} : found->second;
    };
}

TEST(RotationChartWalk, AFieldWithoutPredecessorsIsAloneAndTwoPredecessorsStandSideBySide) {
    EXPECT_EQ(reg::BuildRotationChart("A", Links({})).fields,
              (std::vector<ChartField>{{"A", 0, 0}}));
    const reg::RotationChart chart = reg::BuildRotationChart("A", Links({{"A", {"B", "C"}}}));
    EXPECT_EQ(chart.fields, (std::vector<ChartField>{{"A", 0, 0}, {"B", 1, 0}, {"C", 1, 1}}));
    EXPECT_EQ(chart.lines, (std::vector<ChartLine>{{0, 0, 1, 0}, {0, 0, 1, 1}}));
    EXPECT_EQ(reg::LineEnd(1, 1).x - reg::LineEnd(1, 0).x, 100);
}

TEST(RotationChartWalk, ASharedAncestorIsDrawnOnceAtItsFirstPlaceWithTwoLines) {
    // A follows B and C; both follow D.
    const reg::RotationChart chart =
        reg::BuildRotationChart("A", Links({{"A", {"B", "C"}}, {"B", {"D"}}, {"C", {"D"}}}));
    EXPECT_EQ(chart.fields,
              (std::vector<ChartField>{{"A", 0, 0}, {"B", 1, 0}, {"C", 1, 1}, {"D", 2, 0}}));
    EXPECT_EQ(chart.lines,
              (std::vector<ChartLine>{{0, 0, 1, 0}, {0, 0, 1, 1}, {1, 0, 2, 0}, {1, 1, 2, 0}}));
}

TEST(RotationChartWalk, ACycleEndsWithEachFieldDrawnOnce) {
    // A follows B follows A; B also follows C, which follows B.
    const reg::RotationChart chart =
        reg::BuildRotationChart("A", Links({{"A", {"B"}}, {"B", {"A", "C"}}, {"C", {"B"}}}));
    EXPECT_EQ(chart.fields, (std::vector<ChartField>{{"A", 0, 0}, {"B", 1, 0}, {"C", 2, 1}}));
    EXPECT_EQ(chart.lines,
              (std::vector<ChartLine>{{0, 0, 1, 0}, {1, 0, 0, 0}, {1, 0, 2, 1}, {2, 1, 1, 0}}));
    // A field that continues itself.
    EXPECT_EQ(reg::BuildRotationChart("A", Links({{"A", {"A"}}})).fields,
              (std::vector<ChartField>{{"A", 0, 0}}));
}

TEST(RotationChartWalk, AWideAndDeepChainHasNoFixedLimit) {
    std::map<std::string, std::vector<std::string>> links;
    std::vector<std::string> ten;
    for (int i = 0; i < 10; ++i)
        ten.push_back("W" + std::to_string(i));
    links["A"] = ten;
    std::string previous = "W9";
    for (int g = 0; g < 150; ++g) {
        links[previous] = {"D" + std::to_string(g)};
        previous = "D" + std::to_string(g);
    }
    const reg::RotationChart chart = reg::BuildRotationChart("A", Links(links));
    EXPECT_EQ(chart.fields.size(), 161u);
    EXPECT_EQ(chart.fields.back(), (ChartField{"D149", 151, 0}));
}

class RotationChartForm : public regtest::ListsTest {};

TEST_F(RotationChartForm, LekeresDrawsTheChainOfTheCurrentFieldWithCropsAndYears) {
    AddField({.parckod = "100000", .parcsor = 1, .evj = 2007, .agazat = "Repce", .aktiv = "N"});
    AddField({.parckod = "100001", .parcsor = 1, .evj = 2008, .agazat = "Kukorica", .aktiv = "N"});
    AddField({.parckod = "100002", .parcsor = 2, .evj = 2008, .agazat = "Árpa", .aktiv = "N"});
    AddField({.parckod = "100003", .parcsor = 1, .evj = 2009, .agazat = "Búza"});
    LinkPredecessor("100003", "100001");
    LinkPredecessor("100003", "100002");
    LinkPredecessor("100001", "100000");
    LinkPredecessor("100002", "100000");
    forms.On<TProbaVForgo>([](TProbaVForgo& f) {
        EXPECT_EQ(f.Table3.RecordCount(), 1); // active fields only
        f.Button1->click();
        using T = TProbaVForgo::DrawnText;
        EXPECT_EQ(f.Texts, (std::vector<T>{{50, 195, "Búza"},
                                           {55, 209, "2009."},
                                           {50, 260, "Kukorica"},
                                           {55, 274, "2008."},
                                           {150, 260, "Árpa"},
                                           {155, 274, "2008."},
                                           {50, 320, "Repce"},
                                           {55, 334, "2007."}}));
        EXPECT_EQ(f.Chart.lines.size(), 4u);
        if (const char* folder = std::getenv("FARM_SCREENSHOT_DIR")) {
            ShowActive(f);
            f.grab().save(QString::fromStdString(std::string(folder) + "/vetesforgo.png"));
        }
        f.CheckBox1->SetChecked(false);
        EXPECT_EQ(f.Table3.RecordCount(), 4);
        f.Table3.First(); // the 2007 field has no predecessor
        f.Button1->click();
        EXPECT_EQ(f.Texts.size(), 2u);
        f.Button2->click();
    });
    ui::ShowModalForm(ProbaVForgo, session);
}

} // namespace
