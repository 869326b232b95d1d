// The area charts: the pie's slices and legend texts, the colours painted on the chart
// windows (sampled from the picture), a total of 0 m², many owners, and the sector column.

#include "lists_fixture.h"
#include "register/register_db.h"
#include "reports/Grafikonh.h"
#include "reports/Parckiosztgraphh.h"
#include "reports/chart_data.h"

#include <gtest/gtest.h>

namespace {

using charts::AreaGroup;
using charts::ChartSlice;

std::vector<double> Percents(const std::vector<ChartSlice>& slices) {
    std::vector<double> p;
    for (const ChartSlice& s : slices)
        p.push_back(s.Percent);
    return p;
}

TEST(PieSlices, SharesTruncatedToHundredthsOfAPercentWithTheirLegends) {
    const auto three = charts::PieSlices({{"Kiss", 50000}, {"Nagy", 30000}, {"Tóth", 20000}});
    EXPECT_EQ(Percents(three), (std::vector<double>{50, 30, 20}));
    EXPECT_EQ(charts::LegendText(three[0]), "50% Kiss");
    // 57 and 43 are exact decimal shares: no binary trace cuts them to 56,99.
    EXPECT_EQ(Percents(charts::PieSlices({{"A", 57}, {"B", 43}})), (std::vector<double>{57, 43}));
    const auto equal = charts::PieSlices({{"A", 1}, {"B", 1}, {"C", 1}});
    EXPECT_EQ(charts::LegendText(equal[2]), "33,33% C");
    EXPECT_EQ(charts::LegendText(charts::PieSlices({{"Egyedül", 7}})[0]), "100% Egyedül");
    EXPECT_EQ(charts::PieSlices({{"Pici", 1}, {"Nagy", 100000}})[0].Percent, 0);
    EXPECT_EQ(charts::LegendText({12.5, "x"}), "12,5% x");
}

TEST(PieSlices, ZeroTotalGivesNoSliceAndLongLabelsAreCut) {
    EXPECT_TRUE(charts::PieSlices({{"Üres", 0}, {"Semmi", 0}}).empty());
    const std::string name39 = "Árvíztűrő tükörfúrógép Kft. és társai 1"; // 39 characters
    EXPECT_EQ(charts::PieSlices({{name39, 1}})[0].Label, name39);
    EXPECT_EQ(charts::PieSlices({{name39 + "23", 1}})[0].Label, name39);
}

TEST(PieSlices, BeyondTheSeventeenLargestTheRestIsOneSlice) {
    std::vector<AreaGroup> owners;
    for (int n = 0; n < 150; ++n)
        owners.push_back({"Gazda " + std::to_string(1000 + n), n == 75 ? 1e6 : 1000.0 + n});
    const std::vector<ChartSlice> slices = charts::PieSlices(owners);
    ASSERT_EQ(slices.size(), 18u);
    EXPECT_EQ(slices[0].Label, "Gazda 1075"); // the largest, in the data's order
    EXPECT_EQ(slices[1].Label, "Gazda 1134");
    EXPECT_EQ(slices[17].Label, "egyéb");
    double sum = 0;
    for (const ChartSlice& s : slices)
        sum += s.Percent;
    EXPECT_LE(sum, 100.0);
    EXPECT_GT(sum, 99.8);
}

class Charts : public liststest::ListsReportTest {
protected:
    static QColor At(const ui::TForm& form, int x, int y) {
        return form.Picture().pixelColor(x, y);
    }
};

TEST_F(Charts, ThePieRunsClockwiseFromThreeOClockInTheSliceColours) {
    regtest::AddOwner(session, "100001", "Kiss Ádám");
    regtest::AddOwner(session, "100002", "Nagy Éva");
    regtest::AddOwner(session, "100003", "Tóth Béla");
    regtest::AddParcel(session, {.tulkod = "100001", .ter = 30000});
    regtest::AddParcel(session, {.tulkod = "100001", .ter = 20000});
    regtest::AddParcel(session, {.tulkod = "100002", .ter = 30000});
    regtest::AddParcel(session, {.tulkod = "100003", .ter = 20000});
    regtest::AddParcel(session, {.tulkod = "100003", .ter = 99999, .aktiv = 0});
    forms.On<Tgrafikon>([&](Tgrafikon& g) {
        EXPECT_EQ(g.Count, 3);
        EXPECT_EQ(Percents(g.Slices), (std::vector<double>{50, 30, 20}));
        g.FormPaint(&g);
        EXPECT_EQ(g.Caption(), g.Title);
        EXPECT_EQ(At(g, 250, 350), QColor(128, 0, 0));     // the first half, below
        EXPECT_EQ(At(g, 162, 129), QColor(128, 255, 0));   // then up on the left
        EXPECT_EQ(At(g, 371, 162), QColor(255, 255, 128)); // the last fifth
        EXPECT_EQ(At(g, 505, 55), QColor(128, 0, 0));      // the legend's squares
        EXPECT_EQ(At(g, 505, 80), QColor(128, 255, 0));
        EXPECT_EQ(At(g, 505, 105), QColor(255, 255, 128));
        g.resize(g.width() * 2, g.height() * 2); // the drawing grows with the window
        g.FormPaint(&g);
        EXPECT_EQ(At(g, 2 * 250, 2 * 350), QColor(128, 0, 0));
        EXPECT_EQ(At(g, 2 * 371, 2 * 162), QColor(255, 255, 128));
        g.Close();
    });
    ShowAreaChart(session, AreaChart::Owners);
    forms.VerifyDone();
}

TEST_F(Charts, ATotalOfZeroShowsAnEmptyChartAnd150OwnersEighteenSlices) {
    regtest::AddOwner(session, "100001", "Kiss Ádám");
    regtest::AddParcel(session, {.tulkod = "100001", .ter = 0});
    forms.On<Tgrafikon>([&](Tgrafikon& g) {
        EXPECT_EQ(g.Count, 0);
        g.FormPaint(&g);
        EXPECT_EQ(At(g, 250, 150), g.palette().color(QPalette::Window));
        g.Close();
    });
    ShowAreaChart(session, AreaChart::LandUses);
    for (int n = 0; n < 150; ++n) {
        const std::string code = std::to_string(100100 + n);
        regtest::AddOwner(session, code, "Gazda " + std::to_string(n));
        regtest::AddParcel(session, {.tulkod = code, .ter = 1000 + n});
    }
    forms.On<Tgrafikon>([&](Tgrafikon& g) {
        ASSERT_EQ(g.Count, 18);
        EXPECT_EQ(g.Slices[17].Label, "egyéb");
        g.FormPaint(&g);
        EXPECT_EQ(At(g, 505, 55), QColor(128, 0, 0));
        g.Close();
    });
    ShowAreaChart(session, AreaChart::Owners);
    forms.VerifyDone();
}

TEST_F(Charts, TheSectorColumnStacksTheGroupsLargestAtTheBottom) {
    regtest::AddParcel(session, {.ter = 1000000}); // 100 ha of land parcels
    AddField({.parckod = "100000", .evj = 2010, .agazat = "Búza", .ter = 300000});
    AddField(
        {.parckod = "100001", .evj = 2010, .agazat = "Kukorica", .ter = 200000, .masod = "IGEN"});
    AddField({.parckod = "100002", .evj = 2010, .agazat = "Árpa", .ter = 100000});
    AddField({.parckod = "100003", .evj = 2009, .agazat = "Zab", .ter = 500000});
    dialogs.Expect("Hiba! A(z) 'gazdasági év' értéke nem egész szám !")
        .Expect("Hiba! A(z) 'gazdasági év' értéke (\"201\") nem évszám !");
    forms.On<TParcKiosztGraph>([&](TParcKiosztGraph& f) {
        f.FormActivate(&f);
        EXPECT_EQ(f.ComboBox1->Text(), "2010");
        f.Button1->click();
        f.FormPaint(&f);
        const QColor face = f.palette().color(QPalette::Window);
        EXPECT_EQ(At(f, 235, 430), QColor(128, 255, 0)); // 120 pixels: 440 to 320
        EXPECT_EQ(At(f, 235, 325), QColor(128, 255, 0));
        EXPECT_EQ(At(f, 235, 300), QColor(255, 255, 128)); // 80: 320 to 240
        EXPECT_EQ(At(f, 235, 220), QColor(255, 128, 0));   // 40: 240 to 200
        EXPECT_EQ(At(f, 235, 190), face);
        // Legend: group 1 lowest (Y 88), group 3 at the top (Y 56); the second crop dotted.
        EXPECT_EQ(At(f, 395, 93), QColor(128, 255, 0));
        EXPECT_EQ(At(f, 395, 61), QColor(255, 128, 0));
        EXPECT_EQ(At(f, 567, 77), QColor(Qt::black));
        EXPECT_EQ(At(f, 567, 93), QColor(Qt::white));
        f.ComboBox1->SetText("2010 OR 1=1");
        f.Button1->click(); // told; the chart stays
        f.ComboBox1->SetText("201");
        f.Button1->click();
        EXPECT_EQ(f.Groups.size(), 3u);
        f.Button2->click();
    });
    ui::ShowModalForm(ParcKiosztGraph, session);
    dialogs.VerifyDone();
}

} // namespace
