#pragma once
// A report layout file (FORMAT.md) as read: the page, the text blocks and the bands.
// Every part keeps the line it came from, so that a fault found while the report runs
// (a connection or column that does not exist) names the file and the line.

#include "platform/report/document.h"

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace report {

// A text with fields: {Column} of the band's current row, {Connection.Column} of a
// connection's first row, {#date}, {#page}, {#pages}.
struct Piece {
    enum class Kind { Literal, Column, Reference, Date, Page, Pages };
    Kind kind = Kind::Literal;
    std::string text;       // the literal, or the column's name
    std::string connection; // Reference only
};
struct Template {
    std::vector<Piece> pieces;
};

struct TextStyle {
    double size = 0; // points; 0: the page's font size
    bool bold = false;
    Align align = Align::Left;
};

struct TextLine {
    Template text;
    TextStyle style;
    std::optional<double> x;     // millimetres from the left margin (or the band's indent)
    std::optional<double> width; // millimetres; default: to the right margin
    bool sameLine = false;       // on the row of the text before it
    int line = 0;
};

struct BlockItem {
    enum class Kind { Text, Space, Rule };
    Kind kind = Kind::Text;
    TextLine text;                  // Text
    double amount = 0;              // Space: millimetres; Rule: thickness
    std::optional<double> x, width; // Rule
    int line = 0;
};

struct Block {
    std::vector<BlockItem> items;
    bool empty() const { return items.empty(); }
};

struct Column {
    std::string name;
    std::string caption;
    double width = 25;
    Align align = Align::Left;
    std::string format;
    bool bold = false;
    int line = 0;
};

struct Total {
    enum class Kind { Sum, Count };
    std::string column;
    Kind kind = Kind::Sum;
    int line = 0;
};

// A row after a group or a band: a label and totals under their columns.
struct Footer {
    std::optional<TextLine> label;
    std::vector<Total> totals;
    bool present() const { return label || !totals.empty(); }
};

struct Group {
    std::string column;
    bool newPage = false;
    std::optional<TextLine> head;
    Footer foot;
    int line = 0;
};

struct Band {
    std::string name;
    std::string connection;
    std::string master;                                     // empty: a band of the report itself
    std::vector<std::pair<std::string, std::string>> links; // detail column, master column
    double indent = 0;
    bool headings = true;
    bool newPage = false;
    double size = 0;
    std::vector<TextLine> captions;
    std::vector<Column> columns;
    std::optional<Group> group;
    Footer foot;
    int line = 0;
};

struct PageSetup {
    std::string paper = "A4";
    bool landscape = false;
    std::array<double, 4> margins{15, 15, 15, 15}; // left, top, right, bottom
    double fontSize = 9;
};

struct Layout {
    std::filesystem::path file;
    PageSetup page;
    Block title, pageHeader, pageFooter, summary;
    std::vector<Band> bands; // in file order; a detail band after its master
};

// Reads a layout; a fault raises LayoutError naming `file` and the line.
Layout ParseLayout(std::string_view text, const std::filesystem::path& file);
// Reads a layout file; a missing file raises ProjectMissingError.
Layout ReadLayoutFile(const std::filesystem::path& file);

// A number written with a format of FORMAT.md ("#,##0.00", "0.0 ha"), decimal comma.
std::string FormatNumber(double value, std::string_view format);
// Whether a format is one FormatNumber understands.
bool ValidNumberFormat(std::string_view format);

} // namespace report
