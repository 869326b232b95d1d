#pragma once
// Text between UTF-8 and a table's code page, fast for the single-byte code pages:
// the byte -> UTF-8 table and its inverse are built once per code page.

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace db {

namespace textscan {

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighs = 0x8080808080808080ull;

// Up to eight bytes from `p` in one number, the first in the lowest byte, the rest zero.
inline std::uint64_t loadShort(const std::uint8_t* p, std::size_t n) {
    if (n >= 4) { // two loads of four that overlap when n < 8
        std::uint32_t head, tail;
        std::memcpy(&head, p, 4);
        std::memcpy(&tail, p + n - 4, 4);
        return head | (std::uint64_t{tail} << (8 * (n - 4)));
    }
    std::uint64_t w = 0;
    for (std::size_t i = 0; i < n; ++i)
        w |= std::uint64_t{p[i]} << (8 * i);
    return w;
}

// Where the first of n bytes is zero or above 127 (n when none), eight bytes at a time:
// in ((w - kOnes) | w) & kHighs, the lowest such byte of w either has its top bit set or
// turns into 0xFF when one is taken off (the bytes below it, 1..127, borrow nothing).
inline std::size_t firstZeroOrHigh(const std::uint8_t* p, std::size_t n) {
    static_assert(std::endian::native == std::endian::little);
    std::size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (const std::uint64_t hit = ((w - kOnes) | w) & kHighs)
            return i + static_cast<std::size_t>(std::countr_zero(hit) / 8);
    }
    if (i == n)
        return n;
    // The last bytes: the eight that end the field, shifted so that the ones already
    // looked at drop out (and zeros come in above: a hit at n - i means none).
    std::uint64_t w;
    if (n >= 8) {
        std::memcpy(&w, p + n - 8, 8);
        w >>= 8 * (8 - (n - i));
    } else {
        w = loadShort(p, n);
    }
    const std::uint64_t hit = ((w - kOnes) | w) & kHighs;
    return std::min(n, i + static_cast<std::size_t>(std::countr_zero(hit) / 8));
}

// Copies n bytes, n <= 16, in two loads and two stores that overlap (none past n).
inline void copySmall(char* to, const char* from, std::size_t n) {
    if (n >= 8) {
        std::uint64_t head, tail;
        std::memcpy(&head, from, 8);
        std::memcpy(&tail, from + n - 8, 8);
        std::memcpy(to, &head, 8);
        std::memcpy(to + n - 8, &tail, 8);
    } else if (n >= 4) {
        std::uint32_t head, tail;
        std::memcpy(&head, from, 4);
        std::memcpy(&tail, from + n - 4, 4);
        std::memcpy(to, &head, 4);
        std::memcpy(to + n - 4, &tail, 4);
    } else {
        for (std::size_t i = 0; i < n; ++i)
            to[i] = from[i];
    }
}

// Replaces `out`'s contents with n bytes, in its own room when that is large enough.
inline void assign(std::string& out, const char* p, std::size_t n) {
    if (n > out.size()) {
        out.assign(p, n);
    } else {
        if (n <= 16)
            copySmall(out.data(), p, n);
        else
            std::memcpy(out.data(), p, n);
        out.erase(n);
    }
}

} // namespace textscan

class TextCodec {
public:
    explicit TextCodec(int codePage);
    // The codec of a code page, built once per process and shared (it never changes):
    // every table opened takes it instead of building its tables again.
    static std::shared_ptr<const TextCodec> shared(int codePage);

    int codePage() const { return codePage_; }

    // Appends the UTF-8 form of code page bytes to `out`. Throws sys::EncodingError for a
    // code page the system cannot convert.
    void decode(std::span<const std::uint8_t> in, std::string& out) const;
    std::string decode(std::span<const std::uint8_t> in) const;
    // The UTF-8 form of a fixed-width text field (its bytes up to the first zero byte, or
    // all of them) in place of `out`'s contents, reusing its capacity; false, with `out`
    // untouched, for an empty text.
    [[gnu::always_inline]] bool decodeField(std::span<const std::uint8_t> field,
                                            std::string& out) const {
        std::size_t plain = 0; // the leading bytes that are the same in UTF-8
        if (asciiSame_) {
            plain = textscan::firstZeroOrHigh(field.data(), field.size());
            if (plain == field.size() || field[plain] == 0) { // all of the text: as it is
                if (plain == 0)
                    return false;
                textscan::assign(out, reinterpret_cast<const char*>(field.data()), plain);
                return true;
            }
        }
        return decodeFieldRest(field, plain, out);
    }

    // A text field of at most kWideField bytes can be decoded by decodeWideField: with 32
    // bytes readable from its start, into a string that may keep room to spare.
    static constexpr std::size_t kWideField = 32;
    bool hasWideFields() const { return wideFields_; }
    // Whether the bytes 1..127 are the same characters in UTF-8.
    bool asciiSame() const { return asciiSame_; }
    // As decodeField, for a field of `size` <= kWideField bytes that has kWideField bytes
    // readable from `p` on, and only when hasWideFields(). The text is found and copied
    // 16 bytes at a time, the letters above 127 one by one. `out` keeps room for the
    // longest text the field can hold (so a string reused row after row grows once).
    // Defined in text_wide.h, which only the record decoder includes: that file is
    // compiled as C++23 where the compiler can be asked to.
    bool decodeWideField(const std::uint8_t* p, std::size_t size, std::string& out) const;

    // The code page bytes of UTF-8 text, at most `maxBytes` of them (text beyond is cut
    // off, never in the middle of a character). Throws sys::EncodingError for a
    // character the code page lacks.
    std::string encode(std::string_view utf8, std::size_t maxBytes = std::string::npos) const;

private:
    struct alignas(8) Utf8Char {
        std::array<char, 4> bytes{};
        std::uint8_t length = 0;
    };
    struct Reverse {
        char32_t codePoint;
        std::uint8_t byte;
        bool operator<(const Reverse& o) const { return codePoint < o.codePoint; }
    };

    // decodeField past its first `plain` bytes (which are the same in UTF-8).
    bool decodeFieldRest(std::span<const std::uint8_t> field, std::size_t plain,
                         std::string& out) const;
    void buildTables();
    [[noreturn]] void throwUnknown() const;

    int codePage_;
    bool known_ = false;
    bool singleByte_ = false;
    bool asciiSame_ = false; // the bytes 1..127 are the same characters in UTF-8
    bool wideFields_ = false;
    std::size_t longestChar_ = 1; // the most UTF-8 bytes one byte of the code page takes
    std::array<Utf8Char, 256> toUtf8_{};
    std::vector<Reverse> fromUnicode_; // sorted by code point
};

} // namespace db
