#include "platform/report/document.h"

#include <algorithm>
#include <cmath>

namespace report {

std::vector<std::string> PageLines(const Page& page) {
    std::vector<const TextItem*> items;
    for (const TextItem& item : page.texts)
        if (!item.text.empty())
            items.push_back(&item);
    // Tops closer than a hundredth of a millimetre are one row.
    auto rowOf = [](const TextItem* item) { return std::lround(item->y * 100); };
    std::stable_sort(items.begin(), items.end(), [&](const TextItem* a, const TextItem* b) {
        if (rowOf(a) != rowOf(b))
            return rowOf(a) < rowOf(b);
        return a->x < b->x;
    });
    std::vector<std::string> lines;
    long row = -1;
    for (const TextItem* item : items) {
        if (lines.empty() || rowOf(item) != row)
            lines.push_back(item->text);
        else
            lines.back() += " | " + item->text;
        row = rowOf(item);
    }
    return lines;
}

std::vector<std::string> DocumentLines(const Document& document) {
    std::vector<std::string> lines;
    for (const Page& page : document.pages) {
        std::vector<std::string> pageLines = PageLines(page);
        lines.insert(lines.end(), pageLines.begin(), pageLines.end());
    }
    return lines;
}

} // namespace report
