#pragma once
// The data of the two area charts: the slices of a pie (each group's share of the whole,
// truncated to 0.01 percent, at most 18 slices so that each has a colour of its own) and
// the slice colours, which the sector column chart shares.

#include <QColor>
#include <cmath>
#include <string>
#include <vector>

namespace charts {

struct ChartSlice {
    double Percent = 0; // share of the whole, percent, two decimals at most
    std::string Label;  // at most 39 characters
    bool operator==(const ChartSlice&) const = default;
};

// One group of a chart's query: its label and its area in square metres.
struct AreaGroup {
    std::string label;
    double area = 0;
};

constexpr int kSliceColours = 18;
constexpr int kLabelCharacters = 39;

// The 18 slice colours; any other index is black.
QColor SliceColour(int index);

// The slices of the groups, in their order. With more than 18 groups the 17 largest
// keep their places and the rest become one last slice "egyéb". A total of 0 m² gives
// no slice.
std::vector<ChartSlice> PieSlices(const std::vector<AreaGroup>& groups);

// The first `characters` characters of a UTF-8 text.
std::string FirstCharacters(const std::string& text, int characters);

// A legend row's text: the share, "% " and the label ("33,33% Kiss Ádám").
std::string LegendText(const ChartSlice& slice);

// A chart's coordinates (drawn for a window of its designed size) in the window's pixels.
struct Scale {
    double factor;
    int operator()(double v) const { return static_cast<int>(std::lround(v * factor)); }
};

// A number as the shortest decimal text, decimal comma, no trailing zeros (12,5; 100).
std::string ShortNumber(double value);

} // namespace charts
