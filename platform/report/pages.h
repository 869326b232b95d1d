#pragma once
// A report's laid-out pages: positioned texts and lines in millimetres from the top left
// corner of the sheet, and the store that holds them.
//
// A large report runs to tens of thousands of pages, far more than should stay in memory.
// The store keeps every page but the last one encoded in a temporary file of its own (made
// in the temporary folder, $TMPDIR or /tmp, and removed from the folder at once, so that
// it goes when the program does) and decodes a page again each time it is asked for; the
// last page, the one being laid out, stays in memory as it is.
//
// A page's record in the file, written in one piece when the page is finished:
//   varint texts, varint lines,
//   each text: a tag byte (bits 0-4: x, y, width, height, font size are those of the text
//     before, not written), the doubles not repeated, bold (bit 5), align (bits 6-7),
//     varint length and the bytes of the text;
//   each line: a tag byte (0: x1 as the line before; 1: y1 as before; 2: x2 = x1;
//     3: x2 as before; 4: y2 = y1; 5: y2 as before; 6: width as before), the doubles not
//     repeated or derived.
// Doubles are kept bit for bit, so a page reads back exactly as it was laid out. The page
// count is written into a page as it is read back, once the document is complete: records
// are never rewritten.

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
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

// Writes `count` in place of every page count mark of the page's texts.
void FillPageCount(Page& page, const std::string& count);

class PageFile;

// Where a finished page's record is in the file.
struct PageRecord {
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
    bool marked = false; // a text holds the page count mark
};

// The pages of one document, in order. Copies share the file (each copy appends its own
// records); reading a page that cannot be read back, or finishing one that cannot be
// written, raises ReportError naming the temporary folder.
class PageStore {
public:
    class const_iterator {
    public:
        using value_type = Page;
        using difference_type = std::ptrdiff_t;
        using iterator_concept = std::input_iterator_tag;
        using iterator_category = std::input_iterator_tag;
        const_iterator() = default;
        const_iterator(const PageStore* store, std::size_t index) : store_(store), index_(index) {}
        Page operator*() const { return (*store_)[index_]; }
        const_iterator& operator++() {
            ++index_;
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++index_;
            return before;
        }
        bool operator==(const const_iterator& other) const { return index_ == other.index_; }

    private:
        const PageStore* store_ = nullptr;
        std::size_t index_ = 0;
    };

    std::size_t size() const { return stored_.size() + (hasLast_ ? 1 : 0); }
    bool empty() const { return !hasLast_; }
    // A copy of the page (the page count filled in once fillPageCount ran).
    Page operator[](std::size_t index) const;
    // The same, raising std::out_of_range past the last page.
    Page at(std::size_t index) const;
    Page front() const { return at(0); }
    // The last page, in memory: the renderer lays it out in place.
    const Page& back() const;
    Page& back() { return const_cast<Page&>(std::as_const(*this).back()); }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Finishes the last page (it goes to the file) and appends `page` as the new last one.
    Page& emplace_back(Page page = {});
    void push_back(Page page) { emplace_back(std::move(page)); }
    // Keeps the first `count` pages (or appends empty ones up to it).
    void resize(std::size_t count);
    void clear();
    // The document is complete: every page count mark reads the number of pages.
    void fillPageCount();

private:
    std::shared_ptr<PageFile> file_; // made with the first finished page
    std::vector<PageRecord> stored_; // every page but the last
    Page last_;
    bool hasLast_ = false;
    std::string count_; // the page count, once the document is complete
};

} // namespace report
