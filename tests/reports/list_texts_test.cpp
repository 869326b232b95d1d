// The texts the lists build: the condition tail and date range, the machine query, the
// farming year's label, the depth and yield column and the summaries' roundings.

#include "reports/Gepmuvlekerh.h"
#include "reports/report_texts.h"

#include <gtest/gtest.h>

namespace {

TEST(OperationConditions, TheTailsOfTheExampleByteForByte) {
    lists::OperationChoices c;
    c.fieldCodes = {"100000", "100001"};
    c.year = "2005";
    c.from = sys::encodeDate(2005, 3, 1);
    c.to = sys::encodeDate(2005, 9, 30);
    const lists::OperationConditions t = lists::BuildOperationConditions(c);
    EXPECT_EQ(t.ConditionTail,
              " AND (Tablakod = '100000' OR Tablakod = '100001') AND Evj = '2005'");
    EXPECT_EQ(t.DateRangeTail,
              " AND (ElvMuv.Datum >= '3/1/2005') AND (ElvMuv.Datum <= '9/30/2005')");
    EXPECT_EQ(t.DateRangeFilter, "Datum >= '2005. 03. 01.' and Datum <= '2005. 09. 30.'");
}

TEST(OperationConditions, EmptyBoxesGiveAnEmptyTailAndTextsAreQuoted) {
    lists::OperationChoices c;
    c.from = c.to = sys::encodeDate(2010, 11, 18);
    EXPECT_EQ(lists::BuildOperationConditions(c).ConditionTail, "");
    EXPECT_EQ(lists::BuildOperationConditions(c).DateRangeTail,
              " AND (ElvMuv.Datum >= '11/18/2010') AND (ElvMuv.Datum <= '11/18/2010')");
    c.sector = "Őszi búza";
    EXPECT_EQ(lists::BuildOperationConditions(c).ConditionTail, " AND Agazat = 'Őszi búza'");
    c.sector = "Kiss' földje') OR (1=1";
    c.year = " 2005";
    EXPECT_EQ(lists::BuildOperationConditions(c).ConditionTail,
              " AND Evj = '2005' AND Agazat = 'Kiss'' földje'') OR (1=1'");
}

TEST(MachineQuery, TheLinesOfEachCondition) {
    MachineQueryChoices c;
    c.from = sys::encodeDate(2009, 3, 1);
    c.to = sys::encodeDate(2009, 12, 31);
    const std::vector<std::string> plain{"SELECT *",
                                         "FROM parcellak",
                                         "  INNER JOIN ElvMuv",
                                         "  ON  (parcellak.Parckod = ElvMuv.Tablakod)",
                                         "WHERE (Datum >= '3/1/2009') AND (Datum <= '12/31/2009')",
                                         "ORDER BY Parcsor,Datum,Muvkod"};
    EXPECT_EQ(MachineQueryLines(c), plain);
    c.tractor = "100001";
    c.implement = "100002";
    c.field = "100005";
    c.sector = "O'Neil kukorica";
    const std::vector<std::string> lines = MachineQueryLines(c);
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[5], " AND (Erogepkod = '100001')");
    EXPECT_EQ(lines[6], " AND (Munkagepkod = '100002')");
    EXPECT_EQ(lines[7], " AND (Parckod = '100005')");
    EXPECT_EQ(lines[8], " AND (Agazat = 'O''Neil kukorica')");
}

TEST(ListTexts, FarmingYearLabelDepthAndYieldAndRoundings) {
    EXPECT_EQ(lists::FarmingYearLabel(2005), "2004/05");
    EXPECT_EQ(lists::FarmingYearLabel(2010), "2009/10");
    EXPECT_EQ(lists::FarmingYearLabel(999), "998/999");
    EXPECT_EQ(lists::FarmingYearLabel(0), "");

    EXPECT_EQ(lists::DepthAndYieldText("25", 5.5, "szalma"), "25 cm, 5,5 t/ha szalma");
    EXPECT_EQ(lists::DepthAndYieldText("0", 5.5, "szalma"), " 5,5 t/ha szalma");
    EXPECT_EQ(lists::DepthAndYieldText("25", 0, "szalma"), "25 cm");
    EXPECT_EQ(lists::DepthAndYieldText("", 0, "szalma"), "");

    EXPECT_DOUBLE_EQ(lists::RoundUpToKilograms(3.0004), 3.001);
    EXPECT_DOUBLE_EQ(lists::RoundUpToKilograms(3.0), 3.0);
    EXPECT_DOUBLE_EQ(lists::InputQuantity(150 * 25000.0), 375.0);
    EXPECT_DOUBLE_EQ(lists::InputQuantity(0.333 * 10001), 0.334);
}

} // namespace
