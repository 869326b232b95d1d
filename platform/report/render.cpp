// The page layout of a report: blocks of texts, bands of rows read from the connections,
// groups, totals, page breaks with repeated headers and page numbers.

#include "platform/report/render.h"

#include "platform/report/error.h"
#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

#include <algorithm>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

namespace report {

namespace {

// Stands for the page count until the last page is known (a private-use character).
const std::string kPagesMark = "\xEE\x80\x80";

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

// Where each column of a band is read from in its connection's row.
struct BandColumns {
    std::vector<int> cells; // per layout column
    std::vector<double> x;  // left edge, millimetres
    double width = 0;       // all columns together
    int group = -1;         // the group column's cell
};

// The rows of a linked detail connection, read once per report.
struct Snapshot {
    const Connection* connection = nullptr;
    std::vector<std::vector<Cell>> rows;
    std::unordered_map<std::string, std::vector<std::size_t>> byKey;
};

std::string keyOf(const std::vector<Cell>& row, const std::vector<int>& cells) {
    std::string key;
    for (int cell : cells) {
        key += row[static_cast<std::size_t>(cell)].text;
        key += '\x1F';
    }
    return key;
}

class Renderer {
public:
    Renderer(const Layout& layout, const ConnectionLookup& find, ProgressReporter* progress)
        : layout_(layout), find_(find), progress_(progress), today_(sys::dateToText(sys::today())) {
        const PageSetup& p = layout.page;
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
        for (const Band& band : layout.bands)
            if (!band.master.empty())
                details_[sys::toLower(band.master)].push_back(&band);
    }

    Document run() {
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
        fillPageCount();
        return std::move(doc_);
    }

private:
    [[noreturn]] void fail(int line, const std::string& problem) const {
        throw LayoutError(layout_.file, line, problem);
    }

    double fontSize(double size) const { return size > 0 ? size : layout_.page.fontSize; }
    double bandFont(const Band& band) const { return fontSize(band.size); }
    Page& page() { return doc_.pages.back(); }
    int pageNumber() const { return static_cast<int>(doc_.pages.size()); }

    void addText(double x, double y, double width, double height, std::string text,
                 const TextStyle& style, double size) {
        if (text.empty() || width <= 0)
            return;
        TextItem item;
        item.x = x;
        item.y = y;
        item.width = width;
        item.height = height;
        item.text = std::move(text);
        item.fontSize = size;
        item.bold = style.bold;
        item.align = style.align;
        page().texts.push_back(std::move(item));
    }

    // --- connections ---------------------------------------------------------------------

    Connection& connection(const std::string& name, int line) {
        Connection* c = find_(name);
        if (!c)
            fail(line, "nincs ilyen adatkapcsolat: " + inQuotes(name));
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

    // The first row of a connection that no band is reading now, read once per report.
    const std::vector<Cell>& firstRow(Connection& c) {
        auto found = firstRows_.find(&c);
        if (found != firstRows_.end())
            return found->second;
        std::vector<Cell> row;
        c.BeginRead();
        struct End {
            Connection& c;
            ~End() { c.EndRead(); }
        } end{c};
        c.First();
        if (!c.Eof())
            c.ReadRow(row);
        else
            row.assign(c.Columns().size(), Cell{});
        return firstRows_.emplace(&c, std::move(row)).first->second;
    }

    // --- texts ---------------------------------------------------------------------------

    std::string reference(const Piece& piece, int line) {
        Connection& c = connection(piece.connection, line);
        for (auto it = reading_.rbegin(); it != reading_.rend(); ++it)
            if (it->connection == &c)
                return (*it->row)[static_cast<std::size_t>(columnOf(c, piece.text, line))].text;
        const std::vector<Cell>& row = firstRow(c);
        return row[static_cast<std::size_t>(columnOf(c, piece.text, line))].text;
    }

    std::string expand(const Template& text, const RowContext* context, int line) {
        std::string out;
        for (const Piece& piece : text.pieces) {
            switch (piece.kind) {
            case Piece::Kind::Literal:
                out += piece.text;
                break;
            case Piece::Kind::Column: {
                const int cell = columnOf(*context->connection, piece.text, line);
                out += (*context->row)[static_cast<std::size_t>(cell)].text;
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
                out += kPagesMark;
                break;
            }
        }
        return out;
    }

    void fillPageCount() {
        const std::string count = std::to_string(doc_.pages.size());
        for (Page& p : doc_.pages)
            for (TextItem& item : p.texts)
                for (std::size_t at = item.text.find(kPagesMark); at != std::string::npos;
                     at = item.text.find(kPagesMark, at + count.size()))
                    item.text.replace(at, kPagesMark.size(), count);
    }

    // --- blocks --------------------------------------------------------------------------

    // Places a block with its top at y (or only measures it); returns the y below it.
    double placeBlock(const Block& block, double y, bool draw) {
        double rowTop = y;
        for (const BlockItem& item : block.items) {
            switch (item.kind) {
            case BlockItem::Kind::Text: {
                const TextLine& t = item.text;
                const double size = fontSize(t.style.size);
                const double h = RowHeight(size);
                double top = y;
                if (t.sameLine) {
                    top = rowTop;
                    y = std::max(y, rowTop + h);
                } else {
                    rowTop = y;
                    y += h;
                }
                if (draw) {
                    const double x = left_ + t.x.value_or(0);
                    const double width = t.width.value_or(right_ - x);
                    addText(x, top, width, h, expand(t.text, nullptr, t.line), t.style, size);
                }
                break;
            }
            case BlockItem::Kind::Space:
                y += item.amount;
                break;
            case BlockItem::Kind::Rule:
                if (draw) {
                    const double x = left_ + item.x.value_or(0);
                    const double width = item.width.value_or(right_ - x);
                    page().lines.push_back({x, y + 0.5, x + width, y + 0.5, item.amount});
                }
                y += 1;
                break;
            }
        }
        return y;
    }

    // --- pages ---------------------------------------------------------------------------

    void startPage() {
        doc_.pages.emplace_back();
        y_ = placeBlock(layout_.pageHeader, top_, true);
        bodyOnPage_ = false;
    }

    void finishPage() { placeBlock(layout_.pageFooter, footerTop_, true); }

    void newPage() {
        finishPage();
        startPage();
        if (headingBand_)
            placeHeadings(*headingBand_, *headingColumns_);
    }

    // Starts a new page unless the height fits below y (or the page has no rows yet,
    // where nothing would fit better).
    void ensureRoom(double height) {
        if (y_ + height > bottom_ + 1e-9 && bodyOnPage_)
            newPage();
    }

    // --- bands ---------------------------------------------------------------------------

    BandColumns resolve(const Band& band, const Connection& c) {
        BandColumns columns;
        double x = left_ + band.indent;
        for (const Column& column : band.columns) {
            columns.cells.push_back(columnOf(c, column.name, column.line));
            columns.x.push_back(x);
            x += column.width;
        }
        columns.width = x - (left_ + band.indent);
        if (band.group)
            columns.group = columnOf(c, band.group->column, band.group->line);
        return columns;
    }

    double headingsHeight(const Band& band) const {
        return band.headings && !band.columns.empty() ? RowHeight(bandFont(band)) + 1 : 0;
    }

    void placeHeadings(const Band& band, const BandColumns& columns) {
        if (!band.headings || band.columns.empty())
            return;
        const double size = bandFont(band);
        const double h = RowHeight(size);
        for (std::size_t i = 0; i < band.columns.size(); ++i) {
            const Column& column = band.columns[i];
            TextStyle style{size, true, column.align};
            addText(columns.x[i] + 0.5, y_, column.width - 1, h, column.caption, style, size);
        }
        const double x = left_ + band.indent;
        page().lines.push_back({x, y_ + h + 0.3, x + columns.width, y_ + h + 0.3, 0.2});
        y_ += h + 1;
    }

    void placeRow(const Band& band, const BandColumns& columns, const std::vector<Cell>& row) {
        const double size = bandFont(band);
        const double h = RowHeight(size);
        ensureRoom(h);
        for (std::size_t i = 0; i < band.columns.size(); ++i) {
            const Column& column = band.columns[i];
            const Cell& cell = row[static_cast<std::size_t>(columns.cells[i])];
            std::string text = !column.format.empty() && cell.number
                                   ? FormatNumber(*cell.number, column.format)
                                   : cell.text;
            TextStyle style{size, column.bold, column.align};
            addText(columns.x[i] + 0.5, y_, column.width - 1, h, std::move(text), style, size);
        }
        y_ += h;
        bodyOnPage_ = true;
    }

    void placeLine(const Band& band, const BandColumns& columns, const TextLine& line,
                   const RowContext& context) {
        const double size = fontSize(line.style.size > 0 ? line.style.size : band.size);
        const double h = RowHeight(size);
        ensureRoom(h);
        const double x = left_ + band.indent;
        const double width = std::max(columns.width, right_ - x);
        addText(x + 0.5, y_, width - 1, h, expand(line.text, &context, line.line), line.style,
                size);
        y_ += h;
        bodyOnPage_ = true;
    }

    void addToTotals(const Footer& footer, Totals& totals, const BandColumns& columns,
                     const Band& band, const std::vector<Cell>& row) {
        ++totals.count;
        for (std::size_t i = 0; i < footer.totals.size(); ++i) {
            const Total& total = footer.totals[i];
            if (total.kind != Total::Kind::Sum)
                continue;
            const Cell& cell = row[static_cast<std::size_t>(cellOfColumn(band, columns, total))];
            if (cell.number)
                totals.sums[i] += *cell.number;
        }
    }

    static std::size_t columnIndex(const Band& band, const std::string& name) {
        for (std::size_t i = 0; i < band.columns.size(); ++i)
            if (sys::equalsNoCase(band.columns[i].name, name))
                return i;
        return 0; // the parser accepts totals of the band's columns only
    }
    static int cellOfColumn(const Band& band, const BandColumns& columns, const Total& total) {
        return columns.cells[columnIndex(band, total.column)];
    }

    void placeFooter(const Band& band, const BandColumns& columns, const Footer& footer,
                     const Totals& totals, const RowContext& last, bool rule) {
        if (!footer.present())
            return;
        const double size = bandFont(band);
        const double h = RowHeight(size);
        const double x0 = left_ + band.indent;
        const double rowEnd = x0 + std::max(columns.width, right_ - x0);
        double labelEnd = rowEnd;
        for (const Total& total : footer.totals)
            labelEnd = std::min(labelEnd, columns.x[columnIndex(band, total.column)]);
        // A total under the first column leaves the label no room: it gets a row above.
        const bool labelRow = footer.label && labelEnd - x0 < 10;
        ensureRoom(h * (labelRow ? 2 : 1) + (rule ? 0.8 : 0));
        if (rule) {
            page().lines.push_back({x0, y_ + 0.3, x0 + columns.width, y_ + 0.3, 0.2});
            y_ += 0.8;
        }
        if (footer.label) {
            const TextLine& label = *footer.label;
            const double labelSize = fontSize(label.style.size > 0 ? label.style.size : band.size);
            addText(x0 + 0.5, y_, (labelRow ? rowEnd : labelEnd) - x0 - 1, h,
                    expand(label.text, &last, label.line), label.style, labelSize);
            if (labelRow)
                y_ += h;
        }
        for (std::size_t i = 0; i < footer.totals.size(); ++i) {
            const std::size_t c = columnIndex(band, footer.totals[i].column);
            const Column& column = band.columns[c];
            const std::string text =
                footer.totals[i].kind == Total::Kind::Count ? sys::intToText(totals.count)
                : column.format.empty()                     ? sys::floatToText(totals.sums[i])
                                        : FormatNumber(totals.sums[i], column.format);
            TextStyle style{size, true, column.align};
            addText(columns.x[c] + 0.5, y_, column.width - 1, h, text, style, size);
        }
        y_ += h;
        bodyOnPage_ = true;
    }

    // The state of one run of a band (for a detail band: the rows of one master row).
    struct BandRun {
        BandRun(const Band& b, const Connection& c, BandColumns cols)
            : band(b), connection(c), columns(std::move(cols)) {}
        const Band& band;
        const Connection& connection;
        BandColumns columns;
        bool started = false;
        bool inGroup = false;
        int groups = 0; // groups begun
        std::string groupKey;
        Totals groupTotals, bandTotals;
        std::vector<Cell> last;
    };

    void beginBand(BandRun& run, const std::vector<Cell>& first) {
        const Band& band = run.band;
        headingBand_ = nullptr; // a break before the band repeats no other band's headings
        if (band.newPage && bodyOnPage_)
            newPage();
        double need = headingsHeight(band) + RowHeight(bandFont(band));
        for (const TextLine& caption : band.captions)
            need += RowHeight(fontSize(caption.style.size > 0 ? caption.style.size : band.size));
        if (band.group && band.group->head)
            need += RowHeight(fontSize(
                band.group->head->style.size > 0 ? band.group->head->style.size : band.size));
        ensureRoom(need);
        const RowContext context{&band, &run.connection, &first};
        for (const TextLine& caption : band.captions)
            placeLine(band, run.columns, caption, context);
        placeHeadings(band, run.columns);
        run.started = true;
    }

    void closeGroup(BandRun& run) {
        if (!run.inGroup)
            return;
        RowContext last{&run.band, &run.connection, &run.last};
        placeFooter(run.band, run.columns, run.band.group->foot, run.groupTotals, last, false);
        run.inGroup = false;
    }

    void openGroup(BandRun& run, const std::vector<Cell>& row, const std::string& key) {
        const Group& group = *run.band.group;
        if (group.newPage && run.groups > 0 && bodyOnPage_)
            newPage();
        ++run.groups;
        run.groupTotals.reset(group.foot);
        run.groupKey = key;
        run.inGroup = true;
        if (!group.head)
            return;
        const double size =
            fontSize(group.head->style.size > 0 ? group.head->style.size : run.band.size);
        ensureRoom(RowHeight(size) + RowHeight(bandFont(run.band)));
        RowContext context{&run.band, &run.connection, &row};
        placeLine(run.band, run.columns, *group.head, context);
    }

    void visitRow(BandRun& run, const std::vector<Cell>& row) {
        counted();
        if (!run.started) {
            beginBand(run, row);
            run.bandTotals.reset(run.band.foot);
        }
        headingBand_ = &run.band;
        headingColumns_ = &run.columns;
        if (run.band.group) {
            const std::string& key = row[static_cast<std::size_t>(run.columns.group)].text;
            if (!run.inGroup || key != run.groupKey) {
                closeGroup(run);
                openGroup(run, row, key);
            }
            addToTotals(run.band.group->foot, run.groupTotals, run.columns, run.band, row);
        }
        addToTotals(run.band.foot, run.bandTotals, run.columns, run.band, row);
        placeRow(run.band, run.columns, row);
        run.last = row;
        const auto details = details_.find(sys::toLower(run.band.name));
        if (details == details_.end())
            return;
        const RowContext master{&run.band, &run.connection, &row};
        for (const Band* detail : details->second)
            runBand(*detail, master);
        headingBand_ = &run.band;
        headingColumns_ = &run.columns;
    }

    void endBand(BandRun& run) {
        if (!run.started)
            return;
        closeGroup(run);
        RowContext last{&run.band, &run.connection, &run.last};
        placeFooter(run.band, run.columns, run.band.foot, run.bandTotals, last, true);
    }

    Snapshot& snapshot(const Band& band, Connection& c) {
        auto found = snapshots_.find(&band);
        if (found != snapshots_.end())
            return *found->second;
        auto s = std::make_unique<Snapshot>();
        s->connection = &c;
        c.BeginRead();
        struct End {
            Connection& c;
            ~End() { c.EndRead(); }
        } end{c};
        std::vector<int> cells;
        for (const auto& link : band.links)
            cells.push_back(columnOf(c, link.first, band.line));
        c.First();
        while (!c.Eof()) {
            s->rows.emplace_back();
            c.ReadRow(s->rows.back());
            s->byKey[keyOf(s->rows.back(), cells)].push_back(s->rows.size() - 1);
            c.Next();
            counted();
        }
        return *snapshots_.emplace(&band, std::move(s)).first->second;
    }

    void runBand(const Band& band, std::optional<RowContext> master) {
        Connection& c = connection(band.connection, band.line);
        for (const RowContext& active : reading_)
            if (active.connection == &c)
                fail(band.line, "a(z) " + inQuotes(c.Name()) +
                                    " adatkapcsolatot egy fölötte álló sáv olvassa már");
        const Band* savedBand = headingBand_;
        const BandColumns* savedColumns = headingColumns_;
        if (!band.links.empty() && master)
            runLinkedBand(band, c, *master);
        else
            runLiveBand(band, c);
        headingBand_ = savedBand;
        headingColumns_ = savedColumns;
    }

    void runLiveBand(const Band& band, Connection& c) {
        c.BeginRead();
        struct End {
            Connection& c;
            ~End() { c.EndRead(); }
        } end{c};
        BandRun run(band, c, resolve(band, c));
        std::vector<Cell> row;
        reading_.push_back({&band, &c, &row});
        c.First();
        while (!c.Eof()) {
            c.ReadRow(row);
            visitRow(run, row);
            c.Next();
        }
        endBand(run); // the footer's fields of this connection read its last row
        reading_.pop_back();
    }

    void runLinkedBand(const Band& band, Connection& c, const RowContext& master) {
        Snapshot& s = snapshot(band, c);
        std::vector<int> masterCells;
        for (const auto& link : band.links)
            masterCells.push_back(columnOf(*master.connection, link.second, band.line));
        BandRun run(band, c, resolve(band, c));
        const auto rows = s.byKey.find(keyOf(*master.row, masterCells));
        if (rows == s.byKey.end())
            return;
        for (std::size_t index : rows->second) {
            const std::vector<Cell>& row = s.rows[index];
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
    std::string today_;
    Document doc_;
    double left_ = 0, right_ = 0, top_ = 0, bottom_ = 0, footerTop_ = 0;
    double y_ = 0;
    bool bodyOnPage_ = false;
    const Band* headingBand_ = nullptr;
    const BandColumns* headingColumns_ = nullptr;
    std::vector<RowContext> reading_; // rows being printed, outermost first
    std::map<std::string, std::vector<const Band*>> details_;
    std::map<const Connection*, std::vector<Cell>> firstRows_;
    std::map<const Band*, std::unique_ptr<Snapshot>> snapshots_;
    int rowsRead_ = 0;
};

} // namespace

Document RenderReport(const Layout& layout, const ConnectionLookup& find,
                      ProgressReporter* progress) {
    return Renderer(layout, find, progress).run();
}

} // namespace report
