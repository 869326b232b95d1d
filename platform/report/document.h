#pragma once
// The pages of a finished report: positioned texts and lines in millimetres from the top
// left corner of the sheet. The preview, the printer and the PDF writer paint the same
// pages; tests read their texts.

#include "platform/report/pages.h"

#include <string>
#include <vector>

namespace report {

struct Document {
    std::string name;   // the project file's name, for window titles and print jobs
    double width = 210; // the sheet, millimetres, as it lies (landscape: wider)
    double height = 297;
    bool landscape = false;
    std::string paper = "A4"; // "A4" or "A3"
    PageStore pages;
};

// The texts of a page line by line: the items of one row (same top) left to right
// joined by " | ", rows top to bottom; empty texts left out.
std::vector<std::string> PageLines(const Page& page);
// Every page's lines, pages one after another.
std::vector<std::string> DocumentLines(const Document& document);

} // namespace report
