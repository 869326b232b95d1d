#include "platform/sys/text.h"

#include "platform/sys/utf8.h"

#include <optional>

namespace sys {

namespace {

constexpr char32_t ydiaeresisLower = 0xFF; // ÿ, whose capital Ÿ lives in Latin Extended-A
constexpr char32_t ydiaeresisUpper = 0x178;
constexpr char32_t dottedCapitalI = 0x130;
constexpr char32_t dotlessSmallI = 0x131;

// Latin Extended-A pairs capital and small letters on neighbouring code points; in these
// ranges the capital is the even one, elsewhere the odd one.
// The dotted capital I and the dotless small i (U+0130, U+0131) are no pair.
bool capitalIsEven(char32_t c) {
    return (c >= 0x100 && c <= 0x12F) || (c >= 0x132 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
}
bool capitalIsOdd(char32_t c) {
    return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
}
bool isExtendedACapital(char32_t c) {
    return (capitalIsEven(c) && c % 2 == 0) || (capitalIsOdd(c) && c % 2 == 1);
}
bool isExtendedASmall(char32_t c) {
    return (capitalIsEven(c) && c % 2 == 1) || (capitalIsOdd(c) && c % 2 == 0);
}

// Applies `map` to every well-formed character; malformed bytes are copied as they are.
template <typename Map>
std::string mapCharacters(std::string_view utf8, Map map) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        if (const std::optional<char32_t> c = decodeUtf8(utf8, pos))
            appendUtf8(out, map(*c));
        else
            out.append(utf8.substr(start, pos - start));
    }
    return out;
}

// The next character of `text` lower-cased; a malformed byte stands for itself, above
// every code point so that it never equals a character.
char32_t nextFolded(std::string_view text, std::size_t& pos) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) { // ASCII, most names: no decoding
        ++pos;
        return byte >= 'A' && byte <= 'Z' ? byte + 0x20u : byte;
    }
    if (const std::optional<char32_t> c = decodeUtf8(text, pos))
        return toLower(*c);
    return 0x110000 + byte;
}

} // namespace

char32_t toUpper(char32_t c) {
    if (c >= 'a' && c <= 'z')
        return c - 0x20;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 0x20;
    if (c == dotlessSmallI)
        return 'I';
    if (c == ydiaeresisLower)
        return ydiaeresisUpper;
    if (isExtendedASmall(c))
        return c - 1;
    return c;
}

char32_t toLower(char32_t c) {
    if (c >= 'A' && c <= 'Z')
        return c + 0x20;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 0x20;
    if (c == ydiaeresisUpper)
        return ydiaeresisLower;
    if (c == dottedCapitalI)
        return 'i';
    if (isExtendedACapital(c))
        return c + 1;
    return c;
}

std::string toUpper(std::string_view utf8) {
    return mapCharacters(utf8, [](char32_t c) { return toUpper(c); });
}

std::string toLower(std::string_view utf8) {
    return mapCharacters(utf8, [](char32_t c) { return toLower(c); });
}

int compareNoCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const char32_t x = nextFolded(a, i);
        const char32_t y = nextFolded(b, j);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

bool equalsNoCase(std::string_view a, std::string_view b) {
    return compareNoCase(a, b) == 0;
}

std::string_view trim(std::string_view text) {
    const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 0x20; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace sys
