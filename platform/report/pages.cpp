#include "platform/report/pages.h"

#include "platform/report/error.h"
#include "platform/sys/error_text.h"

#include <bit>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <unistd.h>

namespace report {

void FillPageCount(Page& page, const std::string& count) {
    for (TextItem& item : page.texts)
        for (std::size_t at = item.text.find(kPageCountMark); at != std::string::npos;
             at = item.text.find(kPageCountMark, at + count.size()))
            item.text.replace(at, kPageCountMark.size(), count);
}

namespace {

// --- the records -----------------------------------------------------------------------------

// The same double, bit for bit (0 and -0 apart).
bool same(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

// A text's numbers in the order of the tag's bits 0-4.
constexpr double TextItem::*kTextNumbers[] = {&TextItem::x, &TextItem::y, &TextItem::width,
                                              &TextItem::height, &TextItem::fontSize};
constexpr unsigned kBold = 1u << 5;
constexpr unsigned kAlignShift = 6;

// A line's tag bits.
enum : unsigned {
    kX1AsBefore = 1,
    kY1AsBefore = 2,
    kX2IsX1 = 4,
    kX2AsBefore = 8,
    kY2IsY1 = 16,
    kY2AsBefore = 32,
    kWidthAsBefore = 64,
};

class Writer {
public:
    explicit Writer(std::string& out) : out_(out) {}
    void byte(unsigned value) { out_.push_back(static_cast<char>(value)); }
    void varint(std::uint64_t value) {
        for (; value >= 0x80; value >>= 7)
            byte(static_cast<unsigned>(value & 0x7F) | 0x80);
        byte(static_cast<unsigned>(value));
    }
    void number(double value) {
        char bytes[sizeof value];
        std::memcpy(bytes, &value, sizeof value);
        out_.append(bytes, sizeof value);
    }
    void text(const std::string& text) {
        varint(text.size());
        out_ += text;
    }

private:
    std::string& out_;
};

// Reads a record back; a record cut short raises std::length_error.
class Reader {
public:
    Reader(const char* data, std::size_t size) : at_(data), end_(data + size) {}
    unsigned byte() {
        need(1);
        return static_cast<unsigned char>(*at_++);
    }
    std::uint64_t varint() {
        std::uint64_t value = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const unsigned b = byte();
            value |= static_cast<std::uint64_t>(b & 0x7F) << shift;
            if (!(b & 0x80))
                return value;
        }
        throw std::length_error("page record: bad count");
    }
    double number() {
        need(sizeof(double));
        double value;
        std::memcpy(&value, at_, sizeof value);
        at_ += sizeof value;
        return value;
    }
    std::string text() {
        const std::uint64_t size = varint();
        need(size);
        std::string text(at_, size);
        at_ += size;
        return text;
    }

private:
    void need(std::uint64_t size) const {
        if (size > static_cast<std::uint64_t>(end_ - at_))
            throw std::length_error("page record cut short");
    }
    const char* at_;
    const char* end_;
};

void encodeText(Writer& out, const TextItem& item, TextItem& before) {
    unsigned tag = static_cast<unsigned>(item.align) << kAlignShift;
    for (unsigned i = 0; i < std::size(kTextNumbers); ++i)
        if (same(item.*kTextNumbers[i], before.*kTextNumbers[i]))
            tag |= 1u << i;
    if (item.bold)
        tag |= kBold;
    out.byte(tag);
    for (unsigned i = 0; i < std::size(kTextNumbers); ++i)
        if (!(tag & (1u << i)))
            out.number(item.*kTextNumbers[i]);
    out.text(item.text);
    for (double TextItem::*number : kTextNumbers)
        before.*number = item.*number;
}

TextItem decodeText(Reader& in, TextItem& before) {
    const unsigned tag = in.byte();
    TextItem item;
    for (unsigned i = 0; i < std::size(kTextNumbers); ++i)
        item.*kTextNumbers[i] = tag & (1u << i) ? before.*kTextNumbers[i] : in.number();
    item.bold = tag & kBold;
    item.align = static_cast<Align>(tag >> kAlignShift);
    item.text = in.text();
    for (double TextItem::*number : kTextNumbers)
        before.*number = item.*number;
    return item;
}

void encodeLine(Writer& out, const LineItem& line, const LineItem& before) {
    unsigned tag = 0;
    if (same(line.x1, before.x1))
        tag |= kX1AsBefore;
    if (same(line.y1, before.y1))
        tag |= kY1AsBefore;
    if (same(line.x2, line.x1))
        tag |= kX2IsX1;
    else if (same(line.x2, before.x2))
        tag |= kX2AsBefore;
    if (same(line.y2, line.y1))
        tag |= kY2IsY1;
    else if (same(line.y2, before.y2))
        tag |= kY2AsBefore;
    if (same(line.width, before.width))
        tag |= kWidthAsBefore;
    out.byte(tag);
    if (!(tag & kX1AsBefore))
        out.number(line.x1);
    if (!(tag & kY1AsBefore))
        out.number(line.y1);
    if (!(tag & (kX2IsX1 | kX2AsBefore)))
        out.number(line.x2);
    if (!(tag & (kY2IsY1 | kY2AsBefore)))
        out.number(line.y2);
    if (!(tag & kWidthAsBefore))
        out.number(line.width);
}

LineItem decodeLine(Reader& in, const LineItem& before) {
    const unsigned tag = in.byte();
    LineItem line;
    line.x1 = tag & kX1AsBefore ? before.x1 : in.number();
    line.y1 = tag & kY1AsBefore ? before.y1 : in.number();
    line.x2 = tag & kX2IsX1 ? line.x1 : tag & kX2AsBefore ? before.x2 : in.number();
    line.y2 = tag & kY2IsY1 ? line.y1 : tag & kY2AsBefore ? before.y2 : in.number();
    line.width = tag & kWidthAsBefore ? before.width : in.number();
    return line;
}

// Encodes the page into `out` (emptied first); true when a text holds the page count mark.
bool encodePage(const Page& page, std::string& out) {
    out.clear();
    Writer writer(out);
    writer.varint(page.texts.size());
    writer.varint(page.lines.size());
    bool marked = false;
    TextItem textBefore;
    for (const TextItem& item : page.texts) {
        encodeText(writer, item, textBefore);
        marked = marked || item.text.find(kPageCountMark) != std::string::npos;
    }
    LineItem lineBefore;
    for (const LineItem& line : page.lines) {
        encodeLine(writer, line, lineBefore);
        lineBefore = line;
    }
    return marked;
}

Page decodePage(const std::string& bytes) {
    Reader reader(bytes.data(), bytes.size());
    Page page;
    page.texts.resize(reader.varint());
    page.lines.resize(reader.varint());
    TextItem textBefore;
    for (TextItem& item : page.texts)
        item = decodeText(reader, textBefore);
    LineItem lineBefore;
    for (LineItem& line : page.lines)
        lineBefore = line = decodeLine(reader, lineBefore);
    return page;
}

// --- the file --------------------------------------------------------------------------------

std::filesystem::path temporaryFolder() {
    const char* folder = std::getenv("TMPDIR");
    return folder && *folder ? folder : "/tmp";
}

[[noreturn]] void fail(const std::string& what, const std::filesystem::path& folder, int error) {
    std::string reason = sys::systemReasonText(std::strerror(error));
    if (reason.empty())
        reason = std::strerror(error);
    throw ReportError(what + "\n\"" + folder.string() + "\"\n(" + reason +
                      ")\nA jelentés nem készült el.");
}

const char* const kNotWritten = "A jelentés oldalai nem írhatók az ideiglenes mappába:";
const char* const kNotRead = "A jelentés oldalai nem olvashatók vissza az ideiglenes mappából:";

} // namespace

// The records of the pages, one after another, in a file no folder lists.
class PageFile {
public:
    PageFile() : folder_(temporaryFolder()) {
        fd_ = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
        if (fd_ < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
            // A file system without unnamed files: a named one, unlinked at once.
            std::string name = (folder_ / "dolvaren-oldalak-XXXXXX").string();
            fd_ = ::mkostemp(name.data(), O_CLOEXEC);
            if (fd_ >= 0)
                ::unlink(name.c_str());
        }
        if (fd_ < 0)
            fail(kNotWritten, folder_, errno);
    }
    ~PageFile() { ::close(fd_); }
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    // Writes the page's record at the end of the file; a failed write leaves the end where
    // it was.
    PageRecord append(const Page& page) {
        const bool marked = encodePage(page, buffer_);
        if (buffer_.size() > UINT32_MAX)
            throw std::length_error("a report page too large to keep");
        std::size_t done = 0;
        while (done < buffer_.size()) {
            const ssize_t written = ::pwrite(fd_, buffer_.data() + done, buffer_.size() - done,
                                             static_cast<off_t>(end_ + done));
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                fail(kNotWritten, folder_, written < 0 ? errno : ENOSPC);
            done += static_cast<std::size_t>(written);
        }
        const PageRecord placed{end_, static_cast<std::uint32_t>(buffer_.size()), marked};
        end_ += buffer_.size();
        return placed;
    }

    Page read(std::uint64_t offset, std::uint32_t size) const {
        std::string bytes(size, '\0');
        std::size_t done = 0;
        while (done < size) {
            const ssize_t got =
                ::pread(fd_, bytes.data() + done, size - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                fail(kNotRead, folder_, got < 0 ? errno : EIO);
            done += static_cast<std::size_t>(got);
        }
        try {
            return decodePage(bytes);
        } catch (const std::length_error&) {
            fail(kNotRead, folder_, EIO);
        }
    }

private:
    std::filesystem::path folder_;
    int fd_ = -1;
    std::uint64_t end_ = 0;
    std::string buffer_; // the record being written, kept for its room
};

// --- the store -------------------------------------------------------------------------------

Page PageStore::operator[](std::size_t index) const {
    if (index == stored_.size())
        return last_;
    const PageRecord& record = stored_[index];
    Page page = file_->read(record.offset, record.size);
    if (record.marked && !count_.empty())
        FillPageCount(page, count_);
    return page;
}

Page PageStore::at(std::size_t index) const {
    if (index >= size())
        throw std::out_of_range("report page " + std::to_string(index) + " of " +
                                std::to_string(size()));
    return (*this)[index];
}

const Page& PageStore::back() const {
    if (!hasLast_)
        throw std::out_of_range("a report without pages has no last page");
    return last_;
}

Page& PageStore::emplace_back(Page page) {
    if (!hasLast_) {
        last_ = std::move(page);
        hasLast_ = true;
        return last_;
    }
    if (!file_)
        file_ = std::make_shared<PageFile>();
    stored_.push_back(file_->append(last_));
    if (page.texts.empty() && page.lines.empty()) {
        // The room of the finished page serves the next one, mostly as full.
        last_.texts.clear();
        last_.lines.clear();
    } else {
        last_ = std::move(page);
    }
    return last_;
}

void PageStore::resize(std::size_t count) {
    if (count == 0)
        return clear();
    while (size() < count)
        emplace_back();
    if (count < size()) {
        last_ = (*this)[count - 1];
        stored_.resize(count - 1);
    }
}

void PageStore::clear() {
    file_.reset();
    stored_.clear();
    last_ = Page{};
    hasLast_ = false;
    count_.clear();
}

void PageStore::fillPageCount() {
    count_ = std::to_string(size());
    if (hasLast_)
        FillPageCount(last_, count_);
}

} // namespace report
