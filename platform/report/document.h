#pragma once
// The pages of a finished report: positioned texts and lines in millimetres from the top
// left corner of the sheet. The preview, the printer and the PDF writer paint the same
// pages; tests read their texts.

#include <string>
#include <vector>

namespace report {

enum class Align { Left, Center, Right };

// A one-line text in its box; a text longer than the box is cut at the box's edge when
// painted. y is the top of the box.
struct TextItem {
    double x = 0, y = 0, width = 0, height = 0;
    std::string text;
    double fontSize = 9; // points
    bool bold = false;
    Align align = Align::Left;
};

struct LineItem {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 0.2; // millimetres
};

struct Page {
    std::vector<TextItem> texts;
    std::vector<LineItem> lines;
};

// Stands for the page count in the texts of a report until its last page is laid out (a
// private-use character).
inline const std::string kPageCountMark = "\xEE\x80\x80";

struct Document {
    std::string name;   // the project file's name, for window titles and print jobs
    double width = 210; // the sheet, millimetres, as it lies (landscape: wider)
    double height = 297;
    bool landscape = false;
    std::string paper = "A4"; // "A4" or "A3"
    std::vector<Page> pages;
};

// The texts of a page line by line: the items of one row (same top) left to right
// joined by " | ", rows top to bottom; empty texts left out.
std::vector<std::string> PageLines(const Page& page);
// Every page's lines, pages one after another.
std::vector<std::string> DocumentLines(const Document& document);

} // namespace report
