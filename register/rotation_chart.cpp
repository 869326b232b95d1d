#include "rotation_chart.h"

#include <map>
#include <utility>

namespace reg {

RotationChart BuildRotationChart(const std::string& code, const PredecessorsOf& predecessorsOf) {
    RotationChart chart;
    std::map<std::string, std::pair<int, int>> placed; // code -> generation, position
    chart.fields.push_back({code, 0, 0});
    placed[code] = {0, 0};
    // The fields of the current generation, by position; an empty code is a gap.
    std::vector<std::string> generation = {code};
    for (int g = 0; !generation.empty(); ++g) {
        std::vector<std::string> next;
        bool found = false;
        for (int i = 0; i < static_cast<int>(generation.size()); ++i) {
            if (generation[static_cast<std::size_t>(i)].empty())
                continue;
            for (const std::string& predecessor :
                 predecessorsOf(generation[static_cast<std::size_t>(i)])) {
                const int position = static_cast<int>(next.size());
                auto known = placed.find(predecessor);
                if (known == placed.end()) {
                    placed[predecessor] = {g + 1, position};
                    chart.fields.push_back({predecessor, g + 1, position});
                    chart.lines.push_back({g, i, g + 1, position});
                    next.push_back(predecessor);
                    found = true;
                } else {
                    chart.lines.push_back({g, i, known->second.first, known->second.second});
                    next.emplace_back(); // the link still takes its position
                }
            }
        }
        if (!found)
            break;
        generation = std::move(next);
    }
    return chart;
}

namespace {
constexpr int x0 = 0;
constexpr int y0 = 150;
} // namespace

ChartPoint CropTextPlace(int generation, int position) {
    if (generation == 0)
        return {x0 + 50, y0 + 45};
    return {x0 + 100 * position + 50, y0 + 60 * generation + 50};
}

ChartPoint YearTextPlace(int generation, int position) {
    if (generation == 0)
        return {x0 + 55, y0 + 59};
    return {x0 + 100 * position + 55, y0 + 60 * generation + 64};
}

ChartPoint LineStart(int generation, int position) {
    return {x0 + 100 * position + 70, y0 + 60 * generation + 78};
}

ChartPoint LineEnd(int generation, int position) {
    return {x0 + 100 * position + 70, y0 + 60 * generation + 50};
}

} // namespace reg
