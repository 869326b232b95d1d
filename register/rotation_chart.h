#pragma once
// The crop-rotation chain of a field laid out for drawing: the field at generation 0,
// position 0, and generation by generation below it the fields it continues. Every
// predecessor link takes a position in the next generation; a field reached a second time
// (a shared ancestor, or a cycle such as A follows B follows A) is drawn once, where it
// was first found, and receives only a line. The walk has no fixed width or depth and
// ends when a generation brings no new field.

#include <functional>
#include <string>
#include <vector>

namespace reg {

struct ChartField {
    std::string code; // Parckod
    int generation = 0;
    int position = 0;
    bool operator==(const ChartField&) const = default;
};

struct ChartLine {
    int fromGeneration = 0;
    int fromPosition = 0;
    int toGeneration = 0;
    int toPosition = 0;
    bool operator==(const ChartLine&) const = default;
};

struct RotationChart {
    std::vector<ChartField> fields; // in the order they were found
    std::vector<ChartLine> lines;
};

// The predecessors of a field (Szparckod of its Szparcellak.db rows, in index order).
using PredecessorsOf = std::function<std::vector<std::string>(const std::string& code)>;

RotationChart BuildRotationChart(const std::string& code, const PredecessorsOf& predecessorsOf);

// Pixel places of the drawing on the form (origin 0, 150).
struct ChartPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ChartPoint&) const = default;
};
ChartPoint CropTextPlace(int generation, int position);
ChartPoint YearTextPlace(int generation, int position);
ChartPoint LineStart(int generation, int position); // under a field
ChartPoint LineEnd(int generation, int position);   // at a predecessor

} // namespace reg
