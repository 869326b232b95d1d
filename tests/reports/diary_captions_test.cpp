// The column captions of the farming-diary sheets: every word of a caption fits its
// column, so no heading is broken between letters on the printed sheet.

#include "platform/report/layout.h"
#include "platform/report/layouts.h"
#include "platform/report/text_fit.h"
#include "reports/commands.h"
#include "support/ui_test.h"

#include <gtest/gtest.h>
#include <sstream>

namespace {

// The caption's words: broken at its line breaks and blanks; a hyphen may end a line.
std::vector<std::string> Words(const std::string& caption) {
    std::string text = caption;
    for (std::size_t at; (at = text.find("\\n")) != std::string::npos;)
        text.replace(at, 2, " ");
    for (std::size_t at; (at = text.find('\n')) != std::string::npos;)
        text[at] = ' ';
    std::istringstream in(text);
    std::vector<std::string> whole;
    for (std::string word; in >> word;) {
        std::size_t start = 0;
        for (std::size_t hyphen;
             (hyphen = word.find('-', start)) != std::string::npos && hyphen + 1 < word.size();) {
            whole.push_back(word.substr(start, hyphen + 1 - start));
            start = hyphen + 1;
        }
        whole.push_back(word.substr(start));
    }
    return whole;
}

class DiaryCaptions : public testui::UiTest {};

TEST_F(DiaryCaptions, EveryCaptionWordFitsItsColumn) {
    RegisterReportLayouts();
    int sheets = 0;
    for (const report::BuiltInLayout& built : report::BuiltInLayouts()) {
        if (built.fileName.rfind("09GN", 0) != 0 && built.fileName.rfind("GN", 0) != 0)
            continue;
        ++sheets;
        const report::Layout layout = report::ParseLayout(built.text, built.fileName);
        for (const report::Band& band : layout.bands) {
            const double size = band.size > 0 ? band.size : layout.page.fontSize;
            const double room = band.rules.kind == report::Rules::Kind::None ? 1 : 2;
            for (const report::Column& column : band.columns)
                for (const std::string& word : Words(column.caption))
                    EXPECT_LE(report::TextWidth(word, size, true), column.width - room)
                        << built.fileName << ": \"" << word << "\" of " << column.name;
        }
    }
    EXPECT_GE(sheets, 20);
}

} // namespace
