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
    bool wrap = false;           // wraps inside its width (the row grows) instead of being cut
    int line = 0;
};

struct BlockItem {
    // FrameBegin/FrameEnd: a frame drawn around the items between them.
    enum class Kind { Text, Space, Rule, FrameBegin, FrameEnd };
    Kind kind = Kind::Text;
    TextLine text;                  // Text
    double amount = 0;              // Space: millimetres; Rule, FrameBegin: thickness
    double padding = 0;             // FrameBegin: room between the frame and its items
    std::optional<double> x, width; // Rule, FrameBegin
    int line = 0;
};

struct Block {
    std::vector<BlockItem> items;
    bool empty() const { return items.empty(); }
};

struct Column {
    std::string name;
    std::string caption; // "\n" (backslash, n) breaks the caption's line
    double width = 25;
    Align align = Align::Left;
    std::string format;
    bool bold = false;
    bool wrap = false;               // the cell's text wraps (the row grows)
    std::optional<std::string> mark; // its text in the row of column marks
    int line = 0;
};

// A heading cell above the column captions, over the columns first..last (indexes into
// the band's columns) in heading row `row` (1: the topmost).
struct Heading {
    std::string text;
    std::size_t first = 0, last = 0;
    int row = 1;
    TextStyle style;
    int line = 0;
};

// How a band's table is ruled.
struct Rules {
    enum class Kind { None, Rows, Columns, Grid };
    Kind kind = Kind::None;
    double width = 0.2; // millimetres
    double frame = 0;   // the outline around the table on each page; 0: none
};

enum class ColumnMarks { None, Letters, Numbers };

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
    std::optional<TextLine> continued; // the head on a page the group goes on to
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
    bool headingsOncePerPage = false; // a detail band's headings: at its first run on a page
    bool newPage = false;
    double size = 0;
    double rowHeight = 0; // millimetres; 0: as high as the row's texts
    int pageRows = 0;     // rows of the band on one page at most; 0: as many as fit
    Rules rules;
    ColumnMarks marks = ColumnMarks::None;
    std::vector<TextLine> captions;
    std::vector<Column> columns;
    std::vector<Heading> headingCells;
    std::vector<Group> groups; // outermost first
    Footer foot;
    Footer pageFoot;  // at the foot of every page: the totals of the page's rows
    Footer carryFoot; // "Átvitel": at the foot of a page the band goes on from
    Footer carryHead; // "Áthozat": below the headings of a page the band goes on to
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
    int version = 0; // version= of the first line; 0 when not given
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
