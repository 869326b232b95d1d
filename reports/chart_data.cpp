#include "chart_data.h"

#include "platform/sys/numbers.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace charts {

QColor SliceColour(int index) {
    static const QColor colours[kSliceColours] = {
        {128, 0, 0},    {128, 255, 0},   {255, 255, 128}, {255, 128, 0},  {0, 128, 64},
        {128, 128, 64}, {128, 128, 255}, {189, 254, 177}, {197, 147, 16}, {255, 128, 255},
        {255, 255, 0},  {128, 64, 0},    {128, 0, 0},     {197, 147, 16}, {157, 206, 255},
        {128, 64, 0},   {128, 128, 0},   {128, 0, 255}};
    if (index < 0 || index >= kSliceColours)
        return Qt::black;
    return colours[index];
}

std::string FirstCharacters(const std::string& text, int characters) {
    std::size_t at = 0;
    for (int n = 0; n < characters && at < text.size(); ++n) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            ++at;
    }
    return text.substr(0, at);
}

namespace {

// The groups that keep a slice of their own, and the rest merged into "egyéb".
std::vector<AreaGroup> MergeSmallest(const std::vector<AreaGroup>& groups) {
    if (static_cast<int>(groups.size()) <= kSliceColours)
        return groups;
    std::vector<std::size_t> order(groups.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return groups[a].area > groups[b].area; });
    std::vector<bool> kept(groups.size(), false);
    for (int n = 0; n < kSliceColours - 1; ++n)
        kept[order[static_cast<std::size_t>(n)]] = true;
    std::vector<AreaGroup> merged;
    AreaGroup rest{"egyéb", 0};
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (kept[i])
            merged.push_back(groups[i]);
        else
            rest.area += groups[i].area;
    }
    merged.push_back(rest);
    return merged;
}

} // namespace

std::vector<ChartSlice> PieSlices(const std::vector<AreaGroup>& groups) {
    double total = 0;
    for (const AreaGroup& g : groups)
        total += g.area;
    std::vector<ChartSlice> slices;
    if (total <= 0)
        return slices;
    for (const AreaGroup& g : MergeSmallest(groups))
        slices.push_back(
            {sys::roundDown(g.area / total * 100, 2), FirstCharacters(g.label, kLabelCharacters)});
    return slices;
}

std::string LegendText(const ChartSlice& slice) {
    return ShortNumber(slice.Percent) + "% " + slice.Label;
}

std::string ShortNumber(double value) {
    return sys::floatToText(std::round(value * 1e9) / 1e9);
}

} // namespace charts
