#include "platform/db/text_codec.h"

#include "platform/sys/codepage.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <map>
#include <mutex>
#include <optional>

namespace db {

namespace {

// Double-byte code pages: converted through the system call by call.
bool isDoubleByte(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 1361;
}

std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 0; // a continuation byte cannot start a character
}

// Reads one code point at `pos`; returns false on invalid UTF-8.
bool nextCodePoint(std::string_view s, std::size_t& pos, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(s[pos]);
    const std::size_t n = sequenceLength(lead);
    if (n == 0 || pos + n > s.size())
        return false;
    cp = n == 1 ? lead : lead & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        const auto c = static_cast<unsigned char>(s[pos + i]);
        if ((c & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (c & 0x3F);
    }
    pos += n;
    return true;
}

// The upper halves of the code pages the program's tables are written in, of Windows-1252
// (which every header read falls back to) and of HP-Roman8 (code page 0, the page of an
// index file's header), as the system converts them
// (U+FFFD for a byte the page leaves undefined; the lower halves are ASCII): opening a
// table then loads no converter module, which costs more than the rest of a small query.
constexpr char16_t kUpper1250[128] = {
    0x20AC, 0xFFFD, 0x201A, 0xFFFD, 0x201E, 0x2026, 0x2020, 0x2021, 0xFFFD, 0x2030, 0x0160, 0x2039,
    0x015A, 0x0164, 0x017D, 0x0179, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0xFFFD, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A, 0x00A0, 0x02C7, 0x02D8, 0x0141,
    0x00A4, 0x0104, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x0105, 0x015F, 0x00BB,
    0x013D, 0x02DD, 0x013E, 0x017C, 0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E, 0x0110, 0x0143, 0x0147, 0x00D3,
    0x00D4, 0x0150, 0x00D6, 0x00D7, 0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7, 0x010D, 0x00E9, 0x0119, 0x00EB,
    0x011B, 0x00ED, 0x00EE, 0x010F, 0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,
};
constexpr char16_t kUpper1252[128] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039,
    0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178, 0x00A0, 0x00A1, 0x00A2, 0x00A3,
    0x00A4, 0x00A5, 0x00A6, 0x00A7, 0x00A8, 0x00A9, 0x00AA, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF,
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, 0x00B8, 0x00B9, 0x00BA, 0x00BB,
    0x00BC, 0x00BD, 0x00BE, 0x00BF, 0x00C0, 0x00C1, 0x00C2, 0x00C3, 0x00C4, 0x00C5, 0x00C6, 0x00C7,
    0x00C8, 0x00C9, 0x00CA, 0x00CB, 0x00CC, 0x00CD, 0x00CE, 0x00CF, 0x00D0, 0x00D1, 0x00D2, 0x00D3,
    0x00D4, 0x00D5, 0x00D6, 0x00D7, 0x00D8, 0x00D9, 0x00DA, 0x00DB, 0x00DC, 0x00DD, 0x00DE, 0x00DF,
    0x00E0, 0x00E1, 0x00E2, 0x00E3, 0x00E4, 0x00E5, 0x00E6, 0x00E7, 0x00E8, 0x00E9, 0x00EA, 0x00EB,
    0x00EC, 0x00ED, 0x00EE, 0x00EF, 0x00F0, 0x00F1, 0x00F2, 0x00F3, 0x00F4, 0x00F5, 0x00F6, 0x00F7,
    0x00F8, 0x00F9, 0x00FA, 0x00FB, 0x00FC, 0x00FD, 0x00FE, 0x00FF,
};
constexpr char16_t kUpper852[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x016F, 0x0107, 0x00E7, 0x0142, 0x00EB, 0x0150, 0x0151,
    0x00EE, 0x0179, 0x00C4, 0x0106, 0x00C9, 0x0139, 0x013A, 0x00F4, 0x00F6, 0x013D, 0x013E, 0x015A,
    0x015B, 0x00D6, 0x00DC, 0x0164, 0x0165, 0x0141, 0x00D7, 0x010D, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x0104, 0x0105, 0x017D, 0x017E, 0x0118, 0x0119, 0x00AC, 0x017A, 0x010C, 0x015F, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x011A, 0x015E, 0x2563, 0x2551, 0x2557,
    0x255D, 0x017B, 0x017C, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x0102, 0x0103,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x0111, 0x0110, 0x010E, 0x00CB,
    0x010F, 0x0147, 0x00CD, 0x00CE, 0x011B, 0x2518, 0x250C, 0x2588, 0x2584, 0x0162, 0x016E, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x0143, 0x0144, 0x0148, 0x0160, 0x0161, 0x0154, 0x00DA, 0x0155, 0x0170,
    0x00FD, 0x00DD, 0x0163, 0x00B4, 0x00AD, 0x02DD, 0x02DB, 0x02C7, 0x02D8, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x02D9, 0x0171, 0x0158, 0x0159, 0x25A0, 0x00A0,
};
constexpr char16_t kUpperRoman8[128] = {
    0x0080, 0x0081, 0x0082, 0x0083, 0x0084, 0x0085, 0x0086, 0x0087, 0x0088, 0x0089, 0x008A, 0x008B,
    0x008C, 0x008D, 0x008E, 0x008F, 0x0090, 0x0091, 0x0092, 0x0093, 0x0094, 0x0095, 0x0096, 0x0097,
    0x0098, 0x0099, 0x009A, 0x009B, 0x009C, 0x009D, 0x009E, 0x009F, 0x00A0, 0x00C0, 0x00C2, 0x00C8,
    0x00CA, 0x00CB, 0x00CE, 0x00CF, 0x00B4, 0x02CB, 0x02C6, 0x00A8, 0x02DC, 0x00D9, 0x00DB, 0x20A4,
    0x00AF, 0x00DD, 0x00FD, 0x00B0, 0x00C7, 0x00E7, 0x00D1, 0x00F1, 0x00A1, 0x00BF, 0x00A4, 0x00A3,
    0x00A5, 0x00A7, 0x0192, 0x00A2, 0x00E2, 0x00EA, 0x00F4, 0x00FB, 0x00E1, 0x00E9, 0x00F3, 0x00FA,
    0x00E0, 0x00E8, 0x00F2, 0x00F9, 0x00E4, 0x00EB, 0x00F6, 0x00FC, 0x00C5, 0x00EE, 0x00D8, 0x00C6,
    0x00E5, 0x00ED, 0x00F8, 0x00E6, 0x00C4, 0x00EC, 0x00D6, 0x00DC, 0x00C9, 0x00EF, 0x00DF, 0x00D4,
    0x00C1, 0x00C3, 0x00E3, 0x00D0, 0x00F0, 0x00CD, 0x00CC, 0x00D3, 0x00D2, 0x00D5, 0x00F5, 0x0160,
    0x0161, 0x00DA, 0x0178, 0x00FF, 0x00DE, 0x00FE, 0x00B7, 0x00B5, 0x00B6, 0x00BE, 0x2014, 0x00BC,
    0x00BD, 0x00AA, 0x00BA, 0x00AB, 0x25A0, 0x00BB, 0x00B1, 0xFFFD,
};

const char16_t* builtInUpperHalf(int codePage) {
    switch (codePage) {
    case 1250:
        return kUpper1250;
    case 1252:
        return kUpper1252;
    case 852:
        return kUpper852;
    case 0:
        return kUpperRoman8;
    default:
        return nullptr;
    }
}

void appendUtf8(char32_t c, std::string& out) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The UTF-8 of the bytes 1..255 of a code page, converted by the system once per process
// (every table opened builds its codec from it); none for a code page it cannot convert.
std::optional<std::string> singleByteCharacters(int codePage) {
    static std::mutex guard;
    static std::map<int, std::optional<std::string>> known;
    std::lock_guard lock(guard);
    auto [entry, added] = known.try_emplace(codePage);
    if (added && builtInUpperHalf(codePage)) {
        std::string all;
        for (int b = 1; b < 128; ++b)
            all.push_back(static_cast<char>(b));
        for (int b = 0; b < 128; ++b)
            appendUtf8(builtInUpperHalf(codePage)[b], all);
        entry->second = std::move(all);
    } else if (added) {
        std::string all;
        for (int b = 1; b < 256; ++b)
            all.push_back(static_cast<char>(b));
        try {
            entry->second = sys::toUtf8(all, codePage);
        } catch (const sys::EncodingError&) {
            entry->second = std::nullopt;
        }
    }
    return entry->second;
}

// The longest text decodeField converts on the stack.
constexpr std::size_t kStackField = 256;

} // namespace

TextCodec::TextCodec(int codePage) : codePage_(codePage) {
    if (isDoubleByte(codePage)) {
        known_ = sys::isKnownCodePage(codePage);
        return;
    }
    buildTables();
}

std::shared_ptr<const TextCodec> TextCodec::shared(int codePage) {
    static std::mutex guard;
    static std::map<int, std::shared_ptr<const TextCodec>> built;
    std::lock_guard lock(guard);
    auto& codec = built[codePage];
    if (!codec)
        codec = std::make_shared<const TextCodec>(codePage);
    return codec;
}

void TextCodec::buildTables() {
    const std::optional<std::string> characters = singleByteCharacters(codePage_);
    if (!characters)
        return; // unknown code page: text fields throw when used
    const std::string& utf8 = *characters;
    known_ = true;
    std::size_t pos = 0;
    for (int b = 1; b < 256; ++b) {
        const std::size_t start = pos;
        char32_t cp = 0;
        if (pos >= utf8.size() || !nextCodePoint(utf8, pos, cp))
            return; // not one character per byte: use the system conversion
        Utf8Char& c = toUtf8_[static_cast<std::size_t>(b)];
        c.length = static_cast<std::uint8_t>(pos - start);
        std::copy(utf8.begin() + static_cast<std::ptrdiff_t>(start),
                  utf8.begin() + static_cast<std::ptrdiff_t>(pos), c.bytes.begin());
        if (cp != 0xFFFD)
            fromUnicode_.push_back({cp, static_cast<std::uint8_t>(b)});
    }
    if (pos != utf8.size())
        return;
    toUtf8_[0].length = 1; // NUL stays NUL
    fromUnicode_.push_back({0, 0});
    std::stable_sort(fromUnicode_.begin(), fromUnicode_.end());
    // Two bytes for one character: the first one encodes it.
    fromUnicode_.erase(
        std::unique(fromUnicode_.begin(), fromUnicode_.end(),
                    [](const Reverse& a, const Reverse& b) { return a.codePoint == b.codePoint; }),
        fromUnicode_.end());
    singleByte_ = true;
    asciiSame_ = true;
    for (int b = 1; b < 128; ++b) {
        const Utf8Char& c = toUtf8_[static_cast<std::size_t>(b)];
        if (c.length != 1 || c.bytes[0] != static_cast<char>(b))
            asciiSame_ = false;
    }
    for (const Utf8Char& c : toUtf8_)
        longestChar_ = std::max<std::size_t>(longestChar_, c.length);
#if defined(__SSE2__) && defined(__cpp_lib_string_resize_and_overwrite)
    wideFields_ = asciiSame_;
#endif
}

void TextCodec::throwUnknown() const {
    throw sys::EncodingError("unknown code page " + std::to_string(codePage_));
}

void TextCodec::decode(std::span<const std::uint8_t> in, std::string& out) const {
    if (!singleByte_) {
        if (!known_)
            throwUnknown();
        out += sys::toUtf8(std::string_view(reinterpret_cast<const char*>(in.data()), in.size()),
                           codePage_);
        return;
    }
    // Each character's (up to) four bytes copied whole, the end moved by its length.
    const std::size_t start = out.size();
    out.resize(start + in.size() * 4);
    char* end = out.data() + start;
    for (const std::uint8_t b : in) {
        const Utf8Char& c = toUtf8_[b];
        std::memcpy(end, c.bytes.data(), 4);
        end += c.length;
    }
    out.resize(static_cast<std::size_t>(end - out.data()));
}

std::string TextCodec::decode(std::span<const std::uint8_t> in) const {
    std::string out;
    out.reserve(in.size());
    decode(in, out);
    return out;
}

bool TextCodec::decodeFieldRest(std::span<const std::uint8_t> field, std::size_t plain,
                                std::string& out) const {
    const std::uint8_t* p = field.data();
    const std::size_t size = field.size();
    if (!singleByte_ || size > kStackField) {
        const void* zero = std::memchr(p, 0, size);
        const auto length =
            zero ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(zero) - p) : size;
        if (length == 0)
            return false;
        out.clear();
        decode({p, length}, out);
        return true;
    }
    // Converted on the stack up to the first zero byte, then copied once into the
    // string's own capacity.
    std::array<char, 4 * kStackField> buffer;
    std::memcpy(buffer.data(), p, plain);
    char* end = buffer.data() + plain;
    for (std::size_t i = plain; i < size && p[i] != 0; ++i) {
        const Utf8Char& c = toUtf8_[p[i]];
        std::memcpy(end, c.bytes.data(), 4);
        end += c.length;
    }
    if (end == buffer.data())
        return false;
    textscan::assign(out, buffer.data(), static_cast<std::size_t>(end - buffer.data()));
    return true;
}

std::string TextCodec::encode(std::string_view utf8, std::size_t maxBytes) const {
    if (!singleByte_) {
        if (!known_)
            throwUnknown();
        std::string cut(utf8);
        std::string out = sys::fromUtf8(cut, codePage_);
        while (out.size() > maxBytes) { // drop whole characters from the end
            std::size_t end = cut.size();
            while (end > 0 && (static_cast<unsigned char>(cut[end - 1]) & 0xC0) == 0x80)
                --end;
            cut.resize(end > 0 ? end - 1 : 0);
            out = sys::fromUtf8(cut, codePage_);
        }
        return out;
    }
    std::string out;
    out.reserve(std::min(utf8.size(), maxBytes));
    std::size_t pos = 0;
    while (pos < utf8.size() && out.size() < maxBytes) {
        const std::size_t start = pos;
        char32_t cp = 0;
        if (!nextCodePoint(utf8, pos, cp))
            throw sys::EncodingError("the text is not valid UTF-8 at byte " +
                                     std::to_string(start));
        const auto it = std::lower_bound(fromUnicode_.begin(), fromUnicode_.end(), Reverse{cp, 0});
        if (it == fromUnicode_.end() || it->codePoint != cp)
            throw sys::EncodingError(
                "the character \"" + std::string(utf8.substr(start, pos - start)) +
                "\" cannot be stored in code page " + std::to_string(codePage_));
        out.push_back(static_cast<char>(it->byte));
    }
    return out;
}

} // namespace db
