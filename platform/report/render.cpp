// The page layout of a report: blocks of texts and frames, bands of rows read from the
// connections with their headings, rules, groups and totals, page breaks with repeated
// headings, page totals and carried totals, and page numbers.

#include "platform/report/render.h"

#include "platform/report/error.h"
#include "platform/report/linked_rows.h"
#include "platform/report/text_fit.h"
#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <unordered_map>

namespace report {

namespace {

constexpr double kEpsilon = 1e-9;

std::string inQuotes(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// A row being printed: the band's connection, its columns and the row's cells.
struct RowContext {
    const Band* band = nullptr;
    const Connection* connection = nullptr;
    const std::vector<Cell>* row = nullptr;
};

// The running totals of a footer.
struct Totals {
    std::vector<double> sums;
    int count = 0;
    void reset(const Footer& footer) {
        sums.assign(footer.totals.size(), 0.0);
        count = 0;
    }
};

// Where each column of a band is read from in its connection's row, and where it stands.
struct BandColumns {
    std::vector<int> cells;  // per layout column
    std::vector<double> x;   // left edges, and the right edge of the last column
    std::vector<int> groups; // per group level, the group column's cell
    double left() const { return x.front(); }
    double right() const { return x.back(); }
    double edge(std::size_t column) const { return x[column]; }
};

// The distance between the lines of a wrapped text.
double LineStep(double fontSize) {
    return fontSize * kPointMm * 1.2;
}
double LinesHeight(std::size_t lines, double fontSize) {
    return RowHeight(fontSize) +
           static_cast<double>(lines > 0 ? lines - 1 : 0) * LineStep(fontSize);
}

// "\n" written in a caption (a backslash and an n) breaks its line.
std::string lineBreaks(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// A letter mark of a column: A ... Z, AA, AB ...
std::string letterMark(std::size_t index) {
    std::string mark;
    ++index;
    while (index > 0) {
        --index;
        mark.insert(mark.begin(), static_cast<char>('A' + index % 26));
        index /= 26;
    }
    return mark;
}

// One cell of a row as it will be placed: its box and its lines.
struct CellBox {
    double x = 0, width = 0; // the cell, rules included
    std::vector<std::string> lines;
    TextStyle style;
    double size = 9;
    bool number = false; // shrunk to fit rather than cut
};

// A row of cells and its height.
struct RowShape {
    std::vector<CellBox> cells;
    double height = 0;
    std::vector<double> edges; // vertical rules of a ruled band
};

// The heading of a band's table: heading cells over the captions, the captions, the row of
// column marks; positions relative to the heading's top.
struct HeadingBox {
    double x = 0, y = 0, width = 0, height = 0;
    std::vector<std::string> lines;
    TextStyle style;
    double size = 9;
    bool spanning = false; // a heading cell over several columns
};
struct HeadingGrid {
    std::vector<HeadingBox> boxes;
    double height = 0;
};
// A cell of a heading over rows top..bottom (1-based) and columns first..last.
struct HeadingSpan {
    int top, bottom;
    std::size_t first, last;
    std::string text;
    TextStyle style;
    double size;
    bool spanning;
};

class Renderer {
public:
    Renderer(Document& into, const Layout& layout, const ConnectionLookup& find,
             ProgressReporter* progress, std::string formName)
        : layout_(layout), find_(find), progress_(progress), formName_(std::move(formName)),
          today_(sys::dateToText(sys::today())), doc_(into) {
        const PageSetup& p = layout.page;
        doc_.pages.clear();
        const bool a3 = p.paper == "A3";
        const double shortSide = a3 ? 297 : 210;
        const double longSide = a3 ? 420 : 297;
        doc_.paper = p.paper;
        doc_.landscape = p.landscape;
        doc_.width = p.landscape ? longSide : shortSide;
        doc_.height = p.landscape ? shortSide : longSide;
        doc_.name = layout.file.filename().string();
        left_ = p.margins[0];
        right_ = std::max(left_ + 10, doc_.width - p.margins[2]);
        top_ = p.margins[1];
        footerTop_ = doc_.height - p.margins[3] - placeBlock(layout.pageFooter, 0, false);
        bottom_ = std::max(top_ + 10, footerTop_);
        for (const Band& master : layout.bands)
            for (const Band& band : layout.bands)
                if (!band.master.empty() && sys::equalsNoCase(band.master, master.name))
                    details_[&master].push_back(&band);
    }

    void run() {
        struct Readings {
            Renderer& r;
            ~Readings() { r.endLaterReadings(); }
        } readings{*this};
        startPage();
        y_ = placeBlock(layout_.title, y_, true);
        for (const Band& band : layout_.bands)
            if (band.master.empty())
                runBand(band, std::nullopt);
        if (!layout_.summary.empty()) {
            ensureRoom(placeBlock(layout_.summary, 0, false));
            y_ = placeBlock(layout_.summary, y_, true);
        }
        finishPage();
        doc_.pages.fillPageCount();
    }

    // The pages finished so far (the last one may still be laid out).
    std::size_t finishedPages() const { return finished_; }

private:
    [[noreturn]] void fail(int line, const std::string& problem) const {
        throw LayoutError(layout_.file, line, problem);
    }

    double fontSize(double size) const { return size > 0 ? size : layout_.page.fontSize; }
    double bandFont(const Band& band) const { return fontSize(band.size); }
    // The font size of a text of a band: its own, else the band's.
    double lineFont(const Band& band, const TextLine& line) const {
        return fontSize(line.style.size > 0 ? line.style.size : band.size);
    }
    Page& page() { return doc_.pages.back(); }
    int pageNumber() const { return static_cast<int>(doc_.pages.size()); }

    // Adds a one-line text; a text wider than its box is cut with the cut mark, a number
    // is set smaller instead: a cut number would read as another value.
    void addText(double x, double y, double width, double height, const std::string& text,
                 const TextStyle& style, double size, bool number = false) {
        if (text.empty() || width <= 0)
            return;
        if (number)
            size = FittingSize(text, width, size, style.bold);
        TextItem item;
        item.x = x;
        item.y = y;
        item.width = width;
        item.height = height;
        item.text = FitText(text, width, size, style.bold);
        item.fontSize = size;
        item.bold = style.bold;
        item.align = style.align;
        if (!item.text.empty())
            page().texts.push_back(std::move(item));
    }

    void addLine(double x1, double y1, double x2, double y2, double width) {
        page().lines.push_back({x1, y1, x2, y2, width});
    }
    void addBox(double x, double y, double width, double height, double lineWidth) {
        addLine(x, y, x + width, y, lineWidth);
        addLine(x, y + height, x + width, y + height, lineWidth);
        addLine(x, y, x, y + height, lineWidth);
        addLine(x + width, y, x + width, y + height, lineWidth);
    }

    // --- connections ---------------------------------------------------------------------

    // The connection of that name, looked up once per report: the lookup walks every
    // connection of the program.
    Connection* lookUp(const std::string& name) {
        auto known = connections_.find(name);
        if (known == connections_.end())
            known = connections_.emplace(name, find_(name)).first;
        return known->second;
    }

    Connection& connection(const std::string& name, int line) {
        Connection* c = lookUp(name);
        if (!c) {
            if (formName_.empty())
                fail(line, "nincs ilyen adatkapcsolat: " + inQuotes(name));
            fail(line, "a(z) " + inQuotes(name) +
                           " adatkapcsolat nincs a jelentést futtató űrlapon: " + formName_);
        }
        return *c;
    }

    int columnOf(const Connection& c, const std::string& column, int line) const {
        const int index = c.ColumnIndex(column);
        if (index < 0)
            fail(line, "a(z) " + inQuotes(c.Name()) + " adatkapcsolatnak nincs " +
                           inQuotes(column) + " oszlopa");
        return index;
    }

    void counted() {
        ++rowsRead_;
        if (progress_ && rowsRead_ % 100 == 0 && !progress_->Step(rowsRead_))
            throw ReportCancelled{};
    }

    bool beingRead(const Connection& c) const {
        return std::any_of(reading_.begin(), reading_.end(),
                           [&](const RowContext& r) { return r.connection == &c; });
    }

    // The first row of a connection that no band is reading now, read once per report.
    const std::vector<Cell>& firstRow(Connection& c) {
        auto found = firstRows_.find(&c);
        if (found != firstRows_.end())
            return found->second;
        std::vector<Cell> row;
        std::optional<std::vector<Cell>> first = readFirst(c);
        if (first)
            row = std::move(*first);
        else
            row.assign(c.Columns().size(), Cell{});
        return firstRows_.emplace(&c, std::move(row)).first->second;
    }

    // A reading of the connection that stops at its first row; nullopt when it has none.
    std::optional<std::vector<Cell>> readFirst(Connection& c) {
        beginRead(c);
        struct End {
            Connection& c;
            ~End() { c.EndRead(); }
        } end{c};
        c.First();
        if (c.Eof())
            return std::nullopt;
        std::vector<Cell> row;
        c.ReadRow(row);
        return row;
    }

    // --- texts ---------------------------------------------------------------------------

    // The cell of the column a text names; found once per reading of the connection.
    std::size_t pieceColumn(const Connection& c, const Piece& piece, int line) {
        const auto key = std::make_pair(&c, &piece);
        auto found = pieceColumns_.find(key);
        if (found == pieceColumns_.end())
            found = pieceColumns_.emplace(key, columnOf(c, piece.text, line)).first;
        return static_cast<std::size_t>(found->second);
    }

    // Starts a reading of the connection: its columns are found again.
    void beginRead(Connection& c) {
        endLaterReadings(c);
        c.BeginRead();
        std::erase_if(pieceColumns_, [&](const auto& entry) { return entry.first.first == &c; });
    }

    std::string reference(const Piece& piece, int line) {
        Connection& c = connection(piece.connection, line);
        for (auto it = reading_.rbegin(); it != reading_.rend(); ++it)
            if (it->connection == &c)
                return (*it->row)[pieceColumn(c, piece, line)].text;
        const std::vector<Cell>& row = firstRow(c);
        return row[pieceColumn(c, piece, line)].text;
    }

    std::string expand(const Template& text, const RowContext* context, int line) {
        std::string out;
        for (const Piece& piece : text.pieces) {
            switch (piece.kind) {
            case Piece::Kind::Literal:
                out += piece.text;
                break;
            case Piece::Kind::Column: {
                out += (*context->row)[pieceColumn(*context->connection, piece, line)].text;
                break;
            }
            case Piece::Kind::Reference:
                out += reference(piece, line);
                break;
            case Piece::Kind::Date:
                out += today_;
                break;
            case Piece::Kind::Page:
                out += std::to_string(pageNumber());
                break;
            case Piece::Kind::Pages:
                out += kPageCountMark;
                break;
            }
        }
        return out;
    }

    // The lines of a text in its width: wrapped, or one line (cut when painted).
    static std::vector<std::string> linesOf(const std::string& text, bool wrap, double width,
                                            double size, bool bold) {
        if (wrap)
            return WrapText(text, width, size, bold);
        std::string one = text;
        std::replace(one.begin(), one.end(), '\n', ' ');
        return {one};
    }

    // --- blocks --------------------------------------------------------------------------

    // A frame of a block being placed.
    struct OpenFrame {
        double top, x, width, thickness, padding;
    };

    // Places a text of a block at y (or only measures it), on the row begun at rowTop
    // when it is a sameline text; moves y below it.
    void placeBlockText(const TextLine& t, const OpenFrame* frame, double& y, double& rowTop,
                        bool draw) {
        const double size = fontSize(t.style.size);
        // Inside a frame a text without x keeps the frame's padding from its sides.
        const bool inset = frame && !t.x;
        const double x = (inset ? frame->x + frame->padding : left_) + t.x.value_or(0);
        const double end = frame ? frame->x + frame->width - (inset ? frame->padding : 0) : right_;
        const double width = t.width.value_or(end - x);
        // A text is measured with its fields only when it wraps.
        std::string text;
        if (draw || t.wrap)
            text = expand(t.text, nullptr, t.line);
        const std::vector<std::string> lines = linesOf(text, t.wrap, width, size, t.style.bold);
        const double h = LinesHeight(lines.size(), size);
        double top = y;
        if (t.sameLine) {
            top = rowTop;
            y = std::max(y, rowTop + h);
        } else {
            rowTop = y;
            y += h;
        }
        if (draw)
            for (std::size_t i = 0; i < lines.size(); ++i)
                addText(x, top + static_cast<double>(i) * LineStep(size), width, RowHeight(size),
                        lines[i], t.style, size);
    }

    // Places a block with its top at y (or only measures it); returns the y below it.
    double placeBlock(const Block& block, double y, bool draw) {
        double rowTop = y;
        std::optional<OpenFrame> frame;
        for (const BlockItem& item : block.items) {
            switch (item.kind) {
            case BlockItem::Kind::Text:
                placeBlockText(item.text, frame ? &*frame : nullptr, y, rowTop, draw);
                break;
            case BlockItem::Kind::Space:
                y += item.amount;
                break;
            case BlockItem::Kind::Rule:
                if (draw) {
                    const double x = left_ + item.x.value_or(0);
                    const double width = item.width.value_or(right_ - x);
                    addLine(x, y + 0.5, x + width, y + 0.5, item.amount);
                }
                y += 1;
                break;
            case BlockItem::Kind::FrameBegin: {
                const double x = left_ + item.x.value_or(0);
                frame = OpenFrame{y, x, item.width.value_or(right_ - x), item.amount, item.padding};
                y += item.padding;
                rowTop = y;
                break;
            }
            case BlockItem::Kind::FrameEnd:
                if (frame) {
                    y += frame->padding;
                    if (draw)
                        addBox(frame->x, frame->top, frame->width, y - frame->top,
                               frame->thickness);
                    frame.reset();
                }
                rowTop = y;
                break;
            }
        }
        return y;
    }

    // --- bands: measuring ----------------------------------------------------------------

    static bool ruled(const Band& band) { return band.rules.kind != Rules::Kind::None; }
    // The room between a cell's text and its edges.
    static double padding(const Band& band) { return ruled(band) ? 1.0 : 0.5; }
    // The room a ruled row keeps above and below its lines together.
    static double rowPadding(const Band& band) { return ruled(band) ? 0.6 : 0; }

    BandColumns resolve(const Band& band, const Connection& c) {
        BandColumns columns;
        double x = left_ + band.indent;
        for (const Column& column : band.columns) {
            columns.cells.push_back(columnOf(c, column.name, column.line));
            columns.x.push_back(x);
            x += column.width;
        }
        columns.x.push_back(x);
        for (const Group& group : band.groups)
            columns.groups.push_back(columnOf(c, group.column, group.line));
        return columns;
    }

    // The right end of a band's full-width lines (group heads, captions, footers).
    double lineEnd(const Band& band, const BandColumns& columns) const {
        return ruled(band) || band.columns.empty() ? std::max(columns.right(), columns.left() + 10)
                                                   : std::max(columns.right(), right_);
    }

    std::string cellText(const Column& column, const Cell& cell) const {
        return !column.format.empty() && cell.number ? FormatNumber(*cell.number, column.format)
                                                     : cell.text;
    }

    RowShape measureRow(const Band& band, const BandColumns& columns,
                        const std::vector<Cell>& row) const {
        RowShape shape;
        const double size = bandFont(band);
        const double pad = padding(band);
        std::size_t most = 1;
        for (std::size_t i = 0; i < band.columns.size(); ++i) {
            const Column& column = band.columns[i];
            CellBox cell;
            cell.x = columns.edge(i);
            cell.width = columns.edge(i + 1) - cell.x;
            cell.size = size;
            cell.style = TextStyle{size, column.bold, column.align};
            const std::string text =
                cellText(column, row[static_cast<std::size_t>(columns.cells[i])]);
            cell.lines = linesOf(text, column.wrap, cell.width - 2 * pad, size, column.bold);
            cell.number = !column.wrap && cell.lines.size() == 1 &&
                          row[static_cast<std::size_t>(columns.cells[i])].number.has_value();
            most = std::max(most, cell.lines.size());
            shape.cells.push_back(std::move(cell));
        }
        if (band.rowHeight > 0) {
            shape.height = band.rowHeight;
            const double room = band.rowHeight - RowHeight(size);
            const std::size_t fit =
                1 +
                static_cast<std::size_t>(std::max(0.0, std::floor(room / LineStep(size) + 1e-6)));
            for (CellBox& cell : shape.cells)
                if (cell.lines.size() > fit) {
                    // The rest of the text does not fit the fixed row: the last line that
                    // does shows the cut.
                    const std::string rest = cell.lines[fit - 1] + " " + cell.lines[fit];
                    cell.lines.resize(fit);
                    cell.lines.back() =
                        FitText(rest + kCutMark, cell.width - 2 * pad, size, cell.style.bold);
                }
        } else {
            shape.height = LinesHeight(most, size) + rowPadding(band);
        }
        shape.edges = columns.x;
        return shape;
    }

    // A full-width line of a band (a caption or a group head).
    RowShape measureLine(const Band& band, const BandColumns& columns, const TextLine& line,
                         const RowContext& context) {
        RowShape shape;
        const double size = lineFont(band, line);
        const double pad = padding(band);
        CellBox cell;
        cell.x = columns.left();
        cell.width = lineEnd(band, columns) - cell.x;
        cell.size = size;
        cell.style = line.style;
        cell.lines = linesOf(expand(line.text, &context, line.line), line.wrap,
                             cell.width - 2 * pad, size, line.style.bold);
        shape.height = LinesHeight(cell.lines.size(), size) + rowPadding(band);
        shape.cells.push_back(std::move(cell));
        shape.edges = {columns.left(), lineEnd(band, columns)};
        return shape;
    }

    // The cells of a band's heading: the heading cells, then the column captions in the
    // row below the heading rows, each reaching up to the row below the nearest cell
    // above it.
    std::vector<HeadingSpan> headingSpans(const Band& band) const {
        int rows = 0;
        for (const Heading& h : band.headingCells)
            rows = std::max(rows, h.row);
        const int captionRow = rows + 1;
        auto topOf = [&](std::size_t first, std::size_t last, int row) {
            int above = 0;
            for (const Heading& h : band.headingCells)
                if (h.row < row && h.first <= last && first <= h.last)
                    above = std::max(above, h.row);
            return above + 1;
        };
        std::vector<HeadingSpan> spans;
        for (const Heading& h : band.headingCells)
            spans.push_back(
                {topOf(h.first, h.last, h.row), h.row, h.first, h.last, lineBreaks(h.text), h.style,
                 fontSize(h.style.size > 0 ? h.style.size : band.size), h.first != h.last});
        const double size = bandFont(band);
        for (std::size_t i = 0; i < band.columns.size(); ++i) {
            const Column& column = band.columns[i];
            const Align align = ruled(band) ? Align::Center : column.align;
            spans.push_back({topOf(i, i, captionRow), captionRow, i, i, lineBreaks(column.caption),
                             TextStyle{size, true, align}, size, false});
        }
        return spans;
    }

    // The heights of the heading rows (index 1 up to the caption row): cells of one row
    // first, then those over several rows take what they still need from their lowest.
    static std::vector<double> spanRowHeights(const std::vector<HeadingSpan>& spans,
                                              const std::vector<std::vector<std::string>>& lines,
                                              double minimum, double vpad) {
        int rows = 0;
        for (const HeadingSpan& s : spans)
            rows = std::max(rows, s.bottom);
        std::vector<double> heights(static_cast<std::size_t>(rows) + 1, minimum);
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t i = 0; i < spans.size(); ++i) {
                const HeadingSpan& s = spans[i];
                if ((s.top == s.bottom) != (pass == 0))
                    continue;
                const double need = LinesHeight(lines[i].size(), s.size) + vpad;
                double have = 0;
                for (int r = s.top; r <= s.bottom; ++r)
                    have += heights[static_cast<std::size_t>(r)];
                if (need > have)
                    heights[static_cast<std::size_t>(s.bottom)] += need - have;
            }
        return heights;
    }

    HeadingGrid headingGrid(const Band& band, const BandColumns& columns) const {
        HeadingGrid grid;
        if (!band.headings || band.columns.empty())
            return grid;
        const double pad = padding(band);
        const std::vector<HeadingSpan> spans = headingSpans(band);
        std::vector<std::vector<std::string>> lines;
        for (const HeadingSpan& s : spans)
            lines.push_back(WrapText(s.text,
                                     columns.edge(s.last + 1) - columns.edge(s.first) - 2 * pad,
                                     s.size, s.style.bold));
        const std::vector<double> heights =
            spanRowHeights(spans, lines, RowHeight(bandFont(band)), ruled(band) ? 0.8 : 0);
        std::vector<double> tops(heights.size() + 1, 0);
        for (std::size_t r = 1; r < heights.size(); ++r)
            tops[r + 1] = tops[r] + heights[r];
        for (std::size_t i = 0; i < spans.size(); ++i) {
            const HeadingSpan& s = spans[i];
            HeadingBox box;
            box.x = columns.edge(s.first);
            box.width = columns.edge(s.last + 1) - box.x;
            box.y = tops[static_cast<std::size_t>(s.top)];
            box.height = tops[static_cast<std::size_t>(s.bottom) + 1] - box.y;
            box.lines = lines[i];
            box.style = s.style;
            box.size = s.size;
            box.spanning = s.spanning;
            grid.boxes.push_back(std::move(box));
        }
        grid.height = tops.back();
        if (band.marks != ColumnMarks::None)
            addMarks(grid, band, columns);
        // Unruled headings keep a little room for the rule under them.
        if (!ruled(band))
            grid.height += 1;
        return grid;
    }

    // The row of column marks under the captions: letters or numbers, or a column's own.
    void addMarks(HeadingGrid& grid, const Band& band, const BandColumns& columns) const {
        const double size = std::max(4.0, bandFont(band) - 1);
        const double h = RowHeight(size);
        for (std::size_t i = 0; i < band.columns.size(); ++i) {
            HeadingBox box;
            box.x = columns.edge(i);
            box.width = columns.edge(i + 1) - box.x;
            box.y = grid.height;
            box.height = h;
            const std::optional<std::string>& mark = band.columns[i].mark;
            box.lines = {mark                                 ? *mark
                         : band.marks == ColumnMarks::Letters ? letterMark(i)
                                                              : std::to_string(i + 1)};
            box.style = TextStyle{size, false, Align::Center};
            box.size = size;
            grid.boxes.push_back(std::move(box));
        }
        grid.height += h;
    }

    // Where a footer's label ends: at the first column with a total.
    double labelEnd(const Band& band, const BandColumns& columns, const Footer& footer) const {
        double end = lineEnd(band, columns);
        for (const Total& total : footer.totals)
            end = std::min(end, columns.edge(columnIndex(band, total.column)));
        return end;
    }
    // A total under the first column leaves the label no room: it gets a row above.
    bool labelOwnRow(const Band& band, const BandColumns& columns, const Footer& footer) const {
        return footer.label && labelEnd(band, columns, footer) - columns.left() < 10;
    }

    // The totals row of a footer: the label, its width and the totals' cells.
    RowShape measureFooter(const Band& band, const BandColumns& columns, const Footer& footer,
                           const Totals& totals, const RowContext& last, bool& labelRow) {
        RowShape shape;
        const double size = bandFont(band);
        const double x0 = columns.left();
        const double rowEnd = lineEnd(band, columns);
        const double end = labelEnd(band, columns, footer);
        labelRow = labelOwnRow(band, columns, footer);
        shape.height = RowHeight(size);
        if (footer.label) {
            const TextLine& label = *footer.label;
            CellBox cell;
            cell.x = x0;
            cell.width = (labelRow ? rowEnd : end) - x0;
            cell.size = lineFont(band, label);
            cell.style = label.style;
            cell.lines = {expand(label.text, &last, label.line)};
            shape.cells.push_back(std::move(cell));
        }
        for (std::size_t i = 0; i < footer.totals.size(); ++i) {
            const std::size_t c = columnIndex(band, footer.totals[i].column);
            const Column& column = band.columns[c];
            CellBox cell;
            cell.x = columns.edge(c);
            cell.width = columns.edge(c + 1) - cell.x;
            cell.size = size;
            cell.style = TextStyle{size, true, column.align};
            cell.number = true;
            cell.lines = {footer.totals[i].kind == Total::Kind::Count ? sys::intToText(totals.count)
                          : column.format.empty() ? sys::floatToText(totals.sums[i])
                                                  : FormatNumber(totals.sums[i], column.format)};
            shape.cells.push_back(std::move(cell));
        }
        // The label is one cell; every column after it is a cell of its own.
        double from = x0;
        shape.edges.push_back(x0);
        if (footer.label && !labelRow && end > x0 + kEpsilon) {
            from = end;
            shape.edges.push_back(end);
        }
        for (std::size_t i = 1; i < columns.x.size(); ++i)
            if (columns.x[i] > from + kEpsilon)
                shape.edges.push_back(columns.x[i]);
        return shape;
    }

    double footerHeight(const Band& band, const BandColumns& columns, const Footer& footer) const {
        if (!footer.present())
            return 0;
        const double h = RowHeight(bandFont(band));
        return labelOwnRow(band, columns, footer) ? 2 * h : h;
    }

    static std::size_t columnIndex(const Band& band, const std::string& name) {
        for (std::size_t i = 0; i < band.columns.size(); ++i)
            if (sys::equalsNoCase(band.columns[i].name, name))
                return i;
        return 0; // the parser accepts totals of the band's columns only
    }

    // --- pages ---------------------------------------------------------------------------

    // The state of one run of a band (for a detail band: the rows of one master row).
    struct BandRun {
        BandRun(const Band& b, const Connection& c, BandColumns cols)
            : band(b), connection(c), columns(std::move(cols)) {}
        const Band& band;
        const Connection& connection;
        BandColumns columns;
        std::shared_ptr<const HeadingGrid> heading; // shared by the runs of a linked band
        bool started = false;
        bool finalPageFoot = false; // the last page's page totals are placed
        std::size_t openGroups = 0; // group levels open
        std::vector<int> groupsBegun;
        std::vector<std::string> groupKeys;
        std::vector<Totals> groupTotals;
        Totals bandTotals, pageTotals, carried;
        std::vector<Cell> last;
        int rowsOnPage = 0;
        double tableTop = -1; // where the band's table began on this page; -1: not on it
    };

    void startPage() {
        // A page mostly holds as many texts and lines as the one before it: room for them
        // is made at once rather than grown item by item.
        std::size_t texts = 0, lines = 0;
        if (!doc_.pages.empty()) {
            texts = doc_.pages.back().texts.size();
            lines = doc_.pages.back().lines.size();
        }
        Page& fresh = doc_.pages.emplace_back();
        fresh.texts.reserve(texts);
        fresh.lines.reserve(lines);
        y_ = placeBlock(layout_.pageHeader, top_, true);
        bodyOnPage_ = false;
    }

    void finishPage() { placeBlock(layout_.pageFooter, footerTop_, true); }

    // Tells the reporter of a page that is complete but for the page count.
    void pageFinished() {
        finished_ = doc_.pages.size();
        if (progress_ && !progress_->PageDone(doc_))
            throw ReportCancelled{};
    }

    // The innermost band being printed that shows headings: its headings head every page.
    BandRun* headingRun() const {
        for (auto it = runs_.rbegin(); it != runs_.rend(); ++it)
            if ((*it)->started && (*it)->heading->height > 0)
                return *it;
        return nullptr;
    }

    void newPage() {
        for (auto it = runs_.rbegin(); it != runs_.rend(); ++it)
            placePageFoot(**it, true);
        for (BandRun* run : runs_)
            closeTable(*run);
        finishPage();
        pageFinished();
        startPage();
        for (BandRun* run : runs_)
            run->rowsOnPage = 0;
        if (BandRun* run = headingRun())
            placeHeadings(*run);
        for (BandRun* run : runs_)
            if (run->started && !run->band.carryHead.totals.empty() && run->carried.count > 0)
                placeTotalsRow(*run, run->band.carryHead, run->carried, Row::Footer);
        for (BandRun* run : runs_)
            placeContinuedHeads(*run);
        // What heads every page is no row: a row too high for any page is placed below it.
        bodyOnPage_ = false;
    }

    // The heads of the groups a page goes on with, where the layout gives them.
    void placeContinuedHeads(BandRun& run) {
        if (!run.started)
            return;
        const RowContext context{&run.band, &run.connection, &run.last};
        for (std::size_t level = 0; level < run.openGroups; ++level)
            if (const std::optional<TextLine>& continued = run.band.groups[level].continued)
                placeShape(run, measureLine(run.band, run.columns, *continued, context), Row::Line);
    }

    // The room the rows at a page's foot need (page totals, carried totals).
    double footReserve() {
        double room = 0;
        for (BandRun* run : runs_) {
            if (!run->finalPageFoot)
                room += footerHeight(run->band, run->columns, run->band.pageFoot);
            room += footerHeight(run->band, run->columns, run->band.carryFoot);
        }
        return room;
    }

    // Starts a new page unless the height fits above the page's foot (or the page has no
    // rows yet, where nothing would fit better).
    void ensureRoom(double height) {
        if (y_ + height + footReserve() > bottom_ + kEpsilon && bodyOnPage_)
            newPage();
    }

    // The page totals of a run, and at a page break its carried totals.
    void placePageFoot(BandRun& run, bool pageBreak) {
        if (!run.started)
            return;
        const Band& band = run.band;
        if (band.pageFoot.present() && !run.finalPageFoot && run.pageTotals.count > 0)
            placeTotalsRow(run, band.pageFoot, run.pageTotals, Row::Footer);
        run.pageTotals.reset(band.pageFoot);
        if (pageBreak && !band.carryFoot.totals.empty() && run.carried.count > 0)
            placeTotalsRow(run, band.carryFoot, run.carried, Row::Footer);
    }

    // --- bands: placing ------------------------------------------------------------------

    enum class Row { Body, Line, Footer };

    // The top of the band's table on this page: the rule above it.
    void openTable(BandRun& run) {
        if (run.tableTop >= 0)
            return;
        run.tableTop = y_;
        // A table ruled by rows only starts with a rule when it shows its headings.
        const Rules::Kind kind = run.band.rules.kind;
        if (kind == Rules::Kind::Grid || kind == Rules::Kind::Columns ||
            (kind == Rules::Kind::Rows && run.heading->height > 0))
            addLine(run.columns.left(), y_, lineEnd(run.band, run.columns), y_,
                    run.band.rules.width);
    }

    // The end of the band's table on this page: its bottom rule and frame.
    void closeTable(BandRun& run) {
        if (run.tableTop < 0)
            return;
        const Rules& rules = run.band.rules;
        const double x0 = run.columns.left();
        const double x1 = lineEnd(run.band, run.columns);
        if (rules.kind == Rules::Kind::Columns)
            addLine(x0, y_, x1, y_, rules.width);
        if (rules.frame > 0 && y_ > run.tableTop)
            addBox(x0, run.tableTop, x1 - x0, y_ - run.tableTop, rules.frame);
        run.tableTop = -1;
    }

    // Places a row of cells at y and the rules of a ruled band around it.
    void placeShape(BandRun& run, const RowShape& shape, Row kind) {
        const Band& band = run.band;
        const double pad = padding(band);
        openTable(run);
        std::size_t most = 1;
        for (const CellBox& cell : shape.cells)
            most = std::max(most, cell.lines.size());
        double largest = 0;
        for (const CellBox& cell : shape.cells)
            largest = std::max(largest, LinesHeight(cell.lines.size(), cell.size));
        // The row's lines as a block in the middle of a row higher than they need.
        const double offset = std::max(0.0, (shape.height - largest) / 2);
        for (const CellBox& cell : shape.cells)
            for (std::size_t i = 0; i < cell.lines.size(); ++i)
                addText(cell.x + pad, y_ + offset + static_cast<double>(i) * LineStep(cell.size),
                        cell.width - 2 * pad, RowHeight(cell.size), cell.lines[i], cell.style,
                        cell.size, cell.number);
        const Rules& rules = band.rules;
        const double bottom = y_ + shape.height;
        if (rules.kind == Rules::Kind::Grid || rules.kind == Rules::Kind::Columns)
            for (double x : shape.edges)
                addLine(x, y_, x, bottom, rules.width);
        const bool underRule = rules.kind == Rules::Kind::Grid || rules.kind == Rules::Kind::Rows ||
                               (rules.kind == Rules::Kind::Columns && kind != Row::Body);
        if (underRule)
            addLine(run.columns.left(), bottom, lineEnd(band, run.columns), bottom, rules.width);
        if (kind == Row::Footer && rules.kind == Rules::Kind::Columns)
            addLine(run.columns.left(), y_, lineEnd(band, run.columns), y_, rules.width);
        y_ = bottom;
        bodyOnPage_ = true;
    }

    void placeHeadings(BandRun& run) {
        const HeadingGrid& grid = *run.heading;
        if (grid.height <= 0)
            return;
        headedPage_[&run.band] = doc_.pages.size();
        const Band& band = run.band;
        const double pad = padding(band);
        openTable(run);
        const double top = y_;
        const Rules& rules = band.rules;
        for (const HeadingBox& box : grid.boxes) {
            const double block = LinesHeight(box.lines.size(), box.size);
            const double offset = std::max(0.0, (box.height - block) / 2);
            for (std::size_t i = 0; i < box.lines.size(); ++i)
                addText(
                    box.x + pad, top + box.y + offset + static_cast<double>(i) * LineStep(box.size),
                    box.width - 2 * pad, RowHeight(box.size), box.lines[i], box.style, box.size);
            if (rules.kind == Rules::Kind::Grid || rules.kind == Rules::Kind::Columns)
                addBox(box.x, top + box.y, box.width, box.height, rules.width);
            else if (rules.kind == Rules::Kind::Rows || box.spanning)
                // Under a heading over several columns, a rule shows how far it reaches.
                addLine(box.x + (ruled(band) ? 0 : 1), top + box.y + box.height,
                        box.x + box.width - (ruled(band) ? 0 : 1), top + box.y + box.height,
                        rules.width);
        }
        const double x0 = run.columns.left();
        const double x1 = run.columns.right();
        if (!ruled(band))
            addLine(x0, top + grid.height - 0.7, x1, top + grid.height - 0.7, 0.2);
        else if (rules.frame > 0)
            addLine(x0, top + grid.height, lineEnd(band, run.columns), top + grid.height,
                    rules.frame);
        y_ = top + grid.height;
    }

    void placeTotalsRow(BandRun& run, const Footer& footer, const Totals& totals, Row kind,
                        bool ruleAbove = false) {
        if (!footer.present())
            return;
        RowContext last{&run.band, &run.connection, &run.last};
        bool labelRow = false;
        RowShape shape = measureFooter(run.band, run.columns, footer, totals, last, labelRow);
        if (ruleAbove && !ruled(run.band)) {
            addLine(run.columns.left(), y_ + 0.3, run.columns.right(), y_ + 0.3, 0.2);
            y_ += 0.8;
        }
        if (labelRow) {
            RowShape label;
            label.height = shape.height;
            label.cells.push_back(shape.cells.front());
            label.edges = {run.columns.left(), lineEnd(run.band, run.columns)};
            shape.cells.erase(shape.cells.begin());
            placeShape(run, label, kind);
        }
        placeShape(run, shape, kind);
    }

    void placeFooter(BandRun& run, const Footer& footer, const Totals& totals, bool ruleAbove) {
        if (!footer.present())
            return;
        ensureRoom(footerHeight(run.band, run.columns, footer) + (ruleAbove ? 0.8 : 0));
        placeTotalsRow(run, footer, totals, Row::Footer, ruleAbove);
    }

    // The column of the band a total adds up, found once per report.
    std::size_t totalColumn(const Band& band, const Total& total) {
        auto found = totalColumns_.find(&total);
        if (found == totalColumns_.end())
            found = totalColumns_.emplace(&total, columnIndex(band, total.column)).first;
        return found->second;
    }

    void addToTotals(const Footer& footer, Totals& totals, const BandColumns& columns,
                     const Band& band, const std::vector<Cell>& row) {
        ++totals.count;
        for (std::size_t i = 0; i < footer.totals.size(); ++i) {
            const Total& total = footer.totals[i];
            if (total.kind != Total::Kind::Sum)
                continue;
            const std::size_t c = totalColumn(band, total);
            const Cell& cell = row[static_cast<std::size_t>(columns.cells[c])];
            if (cell.number)
                totals.sums[i] += *cell.number;
        }
    }

    // The height of the captions and headings a band prints before its first row.
    double leadHeight(BandRun& run, const std::vector<Cell>& first) {
        const RowContext context{&run.band, &run.connection, &first};
        double need = run.heading->height;
        for (const TextLine& caption : run.band.captions)
            need += measureLine(run.band, run.columns, caption, context).height;
        return need;
    }

    // The height of the group heads from that level down, read from the row.
    double headsHeight(BandRun& run, std::size_t from, const std::vector<Cell>& row) {
        const RowContext context{&run.band, &run.connection, &row};
        double need = 0;
        for (std::size_t level = from; level < run.band.groups.size(); ++level)
            if (run.band.groups[level].head)
                need += measureLine(run.band, run.columns, *run.band.groups[level].head, context)
                            .height;
        return need;
    }

    // What must stand on one page with a row: the first row of its first detail band
    // with that band's captions and headings, so that no row is left alone at a page's
    // foot without the rows that belong to it.
    double detailLead(BandRun& run, const std::vector<Cell>& row) {
        const auto details = details_.find(&run.band);
        if (details == details_.end() || details->second.empty())
            return 0;
        const Band& band = *details->second.front();
        Connection& c = connection(band.connection, band.line);
        if (beingRead(c))
            return 0; // refused when the band runs
        const RowContext master{&run.band, &run.connection, &row};
        reading_.push_back(master);
        struct Pop {
            std::vector<RowContext>& r;
            ~Pop() { r.pop_back(); }
        } pop{reading_};
        if (!band.links.empty()) {
            LinkedRows& s = linkedRows(band, c);
            const LinkedPlan& plan = linkedPlan(band, c, run.connection);
            const std::span<const std::uint32_t> rows = s.rowsOf(LinkKey(row, plan.masterCells));
            if (rows.empty())
                return 0;
            s.read(rows.front(), leadRow_);
            BandRun detail(band, c, plan.columns);
            detail.heading = plan.heading;
            return leadOf(detail, leadRow_);
        }
        std::optional<std::vector<Cell>> first = readFirst(c);
        if (!first)
            return 0;
        BandRun detail(band, c, resolve(band, c));
        detail.heading = std::make_shared<const HeadingGrid>(headingGrid(band, detail.columns));
        return leadOf(detail, *first);
    }

    // The height a detail band's first row needs with its captions, headings and heads.
    double leadOf(BandRun& detail, const std::vector<Cell>& first) {
        return leadHeight(detail, first) + headsHeight(detail, 0, first) +
               measureRow(detail.band, detail.columns, first).height;
    }

    // What every run of a linked band shares: where its columns are read from, its
    // heading, and the master's cells its links compare.
    struct LinkedPlan {
        std::vector<int> masterCells;
        BandColumns columns;
        std::shared_ptr<const HeadingGrid> heading;
    };

    const LinkedPlan& linkedPlan(const Band& band, const Connection& c, const Connection& master) {
        auto found = linkedPlans_.find(&band);
        if (found != linkedPlans_.end())
            return found->second;
        LinkedPlan plan;
        for (const auto& link : band.links)
            plan.masterCells.push_back(columnOf(master, link.second, band.line));
        plan.columns = resolve(band, c);
        plan.heading = std::make_shared<const HeadingGrid>(headingGrid(band, plan.columns));
        return linkedPlans_.emplace(&band, std::move(plan)).first->second;
    }

    void beginBand(BandRun& run, const std::vector<Cell>& first, double keep) {
        const Band& band = run.band;
        if (band.newPage && bodyOnPage_)
            newPage();
        ensureRoom(leadHeight(run, first) + headsHeight(run, 0, first) + keep);
        const RowContext context{&band, &run.connection, &first};
        for (const TextLine& caption : band.captions) {
            RowShape shape = measureLine(band, run.columns, caption, context);
            placeCaption(shape);
        }
        run.started = true;
        run.bandTotals.reset(band.foot);
        run.pageTotals.reset(band.pageFoot);
        run.carried.reset(band.carryFoot);
        const auto headed = headedPage_.find(&band);
        if (!band.headingsOncePerPage || headed == headedPage_.end() ||
            headed->second != doc_.pages.size())
            placeHeadings(run);
    }

    // A caption above a band's table: a text without rules.
    void placeCaption(const RowShape& shape) {
        const CellBox& cell = shape.cells.front();
        for (std::size_t i = 0; i < cell.lines.size(); ++i)
            addText(cell.x + 0.5, y_ + static_cast<double>(i) * LineStep(cell.size), cell.width - 1,
                    RowHeight(cell.size), cell.lines[i], cell.style, cell.size);
        y_ += shape.height;
        bodyOnPage_ = true;
    }

    void closeGroups(BandRun& run, std::size_t from) {
        // A group is open while its foot is placed: a page begun for the foot continues it.
        while (run.openGroups > from) {
            const std::size_t level = run.openGroups - 1;
            placeFooter(run, run.band.groups[level].foot, run.groupTotals[level], false);
            run.openGroups = level;
        }
    }

    void openGroups(BandRun& run, const std::vector<Cell>& row, std::size_t from, double keep) {
        const std::vector<Group>& groups = run.band.groups;
        for (std::size_t level = from; level < groups.size(); ++level) {
            const Group& group = groups[level];
            // A page begun here continues the groups around this one, not this one.
            if (group.newPage && run.groupsBegun[level] > 0 && bodyOnPage_)
                newPage();
            // The head stays on one page with the heads below it and the group's first row.
            if (group.head)
                ensureRoom(headsHeight(run, level, row) + keep);
            ++run.groupsBegun[level];
            run.groupTotals[level].reset(group.foot);
            run.groupKeys[level] = row[static_cast<std::size_t>(run.columns.groups[level])].text;
            run.openGroups = level + 1;
            if (!group.head)
                continue;
            const RowContext context{&run.band, &run.connection, &row};
            placeShape(run, measureLine(run.band, run.columns, *group.head, context), Row::Line);
        }
    }

    // The outermost group level whose value changes with this row; the level count when
    // none does.
    static std::size_t changedLevel(const BandRun& run, const std::vector<Cell>& row) {
        for (std::size_t level = 0; level < run.band.groups.size(); ++level)
            if (level >= run.openGroups ||
                row[static_cast<std::size_t>(run.columns.groups[level])].text !=
                    run.groupKeys[level])
                return level;
        return run.band.groups.size();
    }

    void visitRow(BandRun& run, const std::vector<Cell>& row) {
        counted();
        const Band& band = run.band;
        const RowShape shape = measureRow(band, run.columns, row);
        const double keep = shape.height + detailLead(run, row);
        if (!run.started)
            beginBand(run, row, keep);
        const std::size_t changed = changedLevel(run, row);
        const bool groupChange = changed < band.groups.size();
        if (groupChange)
            closeGroups(run, changed);
        if (band.pageRows > 0 && run.rowsOnPage >= band.pageRows && bodyOnPage_)
            newPage();
        if (groupChange)
            openGroups(run, row, changed, keep);
        ensureRoom(keep);
        for (std::size_t level = 0; level < run.openGroups; ++level)
            addToTotals(band.groups[level].foot, run.groupTotals[level], run.columns, band, row);
        addToTotals(band.foot, run.bandTotals, run.columns, band, row);
        addToTotals(band.pageFoot, run.pageTotals, run.columns, band, row);
        addToTotals(band.carryFoot, run.carried, run.columns, band, row);
        placeShape(run, shape, Row::Body);
        ++run.rowsOnPage;
        run.last = row;
        const auto details = details_.find(&band);
        if (details == details_.end())
            return;
        const RowContext master{&band, &run.connection, &row};
        for (const Band* detail : details->second)
            runBand(*detail, master);
    }

    void endBand(BandRun& run) {
        if (!run.started)
            return;
        closeGroups(run, 0);
        placePageFoot(run, false);
        run.finalPageFoot = true;
        placeFooter(run, run.band.foot, run.bandTotals, true);
        closeTable(run);
    }

    // The rows of a linked band's connection, read once per report. A connection read by
    // its rows' places stays in its reading for the rows the masters print later, unless
    // a band reads the same data set now.
    LinkedRows& linkedRows(const Band& band, Connection& c) {
        auto found = linked_.find(&band);
        if (found != linked_.end())
            return *found->second;
        beginRead(c);
        struct End {
            Connection* c;
            ~End() {
                if (c)
                    c->EndRead();
            }
        } end{&c};
        std::vector<int> cells;
        for (const auto& link : band.links)
            cells.push_back(columnOf(c, link.first, band.line));
        auto rows =
            std::make_unique<LinkedRows>(c, usedCells(band, c), cells, [this] { counted(); });
        if (rows->readsLater() && sourceRead(c))
            rows->readAll();
        if (rows->readsLater())
            end.c = nullptr;
        return *linked_.emplace(&band, std::move(rows)).first->second;
    }

    // Whether another connection over the same data set is being read.
    bool sourceRead(const Connection& c) const {
        return std::any_of(reading_.begin(), reading_.end(), [&](const RowContext& r) {
            return r.connection != &c && r.connection->Source() == c.Source();
        });
    }

    // The readings linked bands keep over the connection's data set end, their rows read
    // now: the data set is read again from its first row.
    void endLaterReadings(const Connection& c) {
        for (auto& entry : linked_) {
            LinkedRows& rows = *entry.second;
            if (rows.readsLater() && rows.connection().Source() == c.Source()) {
                rows.readAll();
                rows.connection().EndRead();
            }
        }
    }

    void endLaterReadings() {
        for (auto& entry : linked_)
            if (entry.second->readsLater())
                entry.second->connection().EndRead();
    }

    // Which cells of the connection's rows a band's run reads: its columns, groups and
    // links, the columns its texts name, the master columns of its detail bands' links,
    // and every column a text of the layout names by this connection. The others are not
    // read from the connection (they stay empty).
    std::vector<bool> usedCells(const Band& band, const Connection& c) {
        std::vector<bool> used(c.Columns().size(), false);
        auto use = [&](const std::string& name) {
            const int index = c.ColumnIndex(name);
            if (index >= 0 && static_cast<std::size_t>(index) < used.size())
                used[static_cast<std::size_t>(index)] = true;
        };
        for (const Column& column : band.columns)
            use(column.name);
        for (const Group& group : band.groups)
            use(group.column);
        for (const auto& link : band.links)
            use(link.first);
        const auto details = details_.find(&band);
        if (details != details_.end())
            for (const Band* detail : details->second)
                for (const auto& link : detail->links)
                    use(link.second);
        forEachTemplate(band, [&](const Template& text) {
            for (const Piece& piece : text.pieces)
                if (piece.kind == Piece::Kind::Column)
                    use(piece.text);
        });
        auto references = [&](const Template& text) {
            for (const Piece& piece : text.pieces)
                if (piece.kind == Piece::Kind::Reference && lookUp(piece.connection) == &c)
                    use(piece.text);
        };
        for (const Block* block :
             {&layout_.title, &layout_.pageHeader, &layout_.pageFooter, &layout_.summary})
            for (const BlockItem& item : block->items)
                references(item.text.text);
        for (const Band& any : layout_.bands)
            forEachTemplate(any, references);
        return used;
    }

    // Every text of a band with fields: captions, group heads and footer labels.
    template <class F>
    static void forEachTemplate(const Band& band, F&& visit) {
        auto line = [&](const std::optional<TextLine>& text) {
            if (text)
                visit(text->text);
        };
        for (const TextLine& caption : band.captions)
            visit(caption.text);
        for (const Group& group : band.groups) {
            line(group.head);
            line(group.continued);
            line(group.foot.label);
        }
        for (const Footer* footer : {&band.foot, &band.pageFoot, &band.carryFoot, &band.carryHead})
            line(footer->label);
    }

    // Keeps a band's run among the runs being printed while it lives.
    struct ActiveRun {
        ActiveRun(std::vector<BandRun*>& list, BandRun& run) : runs(list) { runs.push_back(&run); }
        ~ActiveRun() { runs.pop_back(); }
        ActiveRun(const ActiveRun&) = delete;
        ActiveRun& operator=(const ActiveRun&) = delete;
        std::vector<BandRun*>& runs;
    };

    void runBand(const Band& band, std::optional<RowContext> master) {
        Connection& c = connection(band.connection, band.line);
        if (beingRead(c))
            fail(band.line, "a(z) " + inQuotes(c.Name()) +
                                " adatkapcsolatot egy fölötte álló sáv olvassa már");
        if (!band.links.empty() && master)
            runLinkedBand(band, c, *master);
        else
            runLiveBand(band, c);
    }

    void prepare(BandRun& run) {
        run.heading = std::make_shared<const HeadingGrid>(headingGrid(run.band, run.columns));
        prepareGroups(run);
    }

    static void prepareGroups(BandRun& run) {
        const std::size_t levels = run.band.groups.size();
        run.groupsBegun.assign(levels, 0);
        run.groupKeys.assign(levels, {});
        run.groupTotals.assign(levels, {});
    }

    void runLiveBand(const Band& band, Connection& c) {
        beginRead(c);
        struct End {
            Connection& c;
            ~End() { c.EndRead(); }
        } end{c};
        BandRun run(band, c, resolve(band, c));
        prepare(run);
        ActiveRun active(runs_, run);
        const std::vector<bool> wanted = usedCells(band, c);
        std::vector<Cell> row;
        reading_.push_back({&band, &c, &row});
        c.First();
        while (!c.Eof()) {
            c.ReadCells(row, wanted);
            visitRow(run, row);
            c.Next();
        }
        endBand(run); // the footer's fields of this connection read its last row
        reading_.pop_back();
    }

    void runLinkedBand(const Band& band, Connection& c, const RowContext& master) {
        LinkedRows& s = linkedRows(band, c);
        const LinkedPlan& plan = linkedPlan(band, c, *master.connection);
        const std::span<const std::uint32_t> rows =
            s.rowsOf(LinkKey(*master.row, plan.masterCells));
        if (rows.empty())
            return;
        BandRun run(band, c, plan.columns);
        run.heading = plan.heading;
        prepareGroups(run);
        ActiveRun active(runs_, run);
        std::vector<Cell> row;
        for (std::uint32_t index : rows) {
            s.read(index, row);
            reading_.push_back({&band, &c, &row});
            visitRow(run, row);
            reading_.pop_back();
        }
        reading_.push_back({&band, &c, &run.last});
        endBand(run);
        reading_.pop_back();
    }

    const Layout& layout_;
    const ConnectionLookup& find_;
    ProgressReporter* progress_;
    std::string formName_;
    std::string today_;
    Document& doc_;
    std::size_t finished_ = 0;
    double left_ = 0, right_ = 0, top_ = 0, bottom_ = 0, footerTop_ = 0;
    double y_ = 0;
    bool bodyOnPage_ = false;
    std::vector<BandRun*> runs_;      // bands being printed, outermost first
    std::vector<RowContext> reading_; // rows being printed, outermost first
    std::map<const Band*, std::vector<const Band*>> details_; // a band's detail bands
    std::map<const Band*, LinkedPlan> linkedPlans_;
    // The cell of a column a text names, per connection: found once per reading.
    std::map<std::pair<const Connection*, const Piece*>, int> pieceColumns_;
    std::vector<Cell> leadRow_; // the first detail row detailLead measures
    std::unordered_map<std::string, Connection*> connections_; // by the names looked up
    std::unordered_map<const Total*, std::size_t> totalColumns_;
    std::map<const Connection*, std::vector<Cell>> firstRows_;
    std::map<const Band*, std::unique_ptr<LinkedRows>> linked_;
    std::map<const Band*, std::size_t> headedPage_; // the page a band's headings were last on
    int rowsRead_ = 0;
};

} // namespace

void RenderReport(Document& into, const Layout& layout, const ConnectionLookup& find,
                  ProgressReporter* progress, const std::string& formName) {
    Renderer renderer(into, layout, find, progress, formName);
    try {
        renderer.run();
    } catch (const ReportCancelled&) {
        into.pages.resize(renderer.finishedPages());
        throw;
    }
}

Document RenderReport(const Layout& layout, const ConnectionLookup& find,
                      ProgressReporter* progress, const std::string& formName) {
    Document document;
    RenderReport(document, layout, find, progress, formName);
    return document;
}

} // namespace report
