#pragma once
// Text between UTF-8 and a table's code page, fast for the single-byte code pages:
// the byte -> UTF-8 table and its inverse are built once per code page.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace db {

class TextCodec {
public:
    explicit TextCodec(int codePage);

    int codePage() const { return codePage_; }

    // Appends the UTF-8 form of code page bytes to `out`. Throws sys::EncodingError for a
    // code page the system cannot convert.
    void decode(std::span<const std::uint8_t> in, std::string& out) const;
    std::string decode(std::span<const std::uint8_t> in) const;
    // The UTF-8 form of a fixed-width text field (its bytes up to the first zero byte, or
    // all of them) in place of `out`'s contents, reusing its capacity; false, with `out`
    // untouched, for an empty text.
    bool decodeField(std::span<const std::uint8_t> field, std::string& out) const;

    // The code page bytes of UTF-8 text, at most `maxBytes` of them (text beyond is cut
    // off, never in the middle of a character). Throws sys::EncodingError for a
    // character the code page lacks.
    std::string encode(std::string_view utf8, std::size_t maxBytes = std::string::npos) const;

private:
    struct Utf8Char {
        std::array<char, 4> bytes{};
        std::uint8_t length = 0;
    };
    struct Reverse {
        char32_t codePoint;
        std::uint8_t byte;
        bool operator<(const Reverse& o) const { return codePoint < o.codePoint; }
    };

    void buildTables();
    [[noreturn]] void throwUnknown() const;

    int codePage_;
    bool known_ = false;
    bool singleByte_ = false;
    bool asciiSame_ = false; // the bytes 1..127 are the same characters in UTF-8
    std::array<Utf8Char, 256> toUtf8_{};
    std::vector<Reverse> fromUnicode_; // sorted by code point
};

} // namespace db
