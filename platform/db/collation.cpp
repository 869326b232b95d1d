#include "platform/db/collation.h"

#include "platform/db/text_codec.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <string>
#include <utility>

namespace db {

namespace {

// Base letters of U+00C0..U+017F; '.' marks a character that is not a letter.
constexpr char kLatin1Bases[] = "AAAAAAACEEEEIIIIDNOOOOO.OUUUUYTsaaaaaaaceeeeiiiidnooooo.ouuuuyty";
constexpr char kLatinExtABases[] = "AaAaAaCcCcCcCcDdDdEeEeEeEeEeGgGgGgGgHhHhIiIiIiIiIiJjJjKkk"
                                   "LlLlLlLlLlNnNnNnnNnOoOoOoOoRrRrRrSsSsSsSsTtTtTtUuUuUuUuUuUuWwYy"
                                   "YZzZzZzs";

// The code point of a UTF-8 sequence of one character.
char32_t decodeOne(const std::string& utf8) {
    if (utf8.empty())
        return 0;
    const auto b0 = static_cast<unsigned char>(utf8[0]);
    if (b0 < 0x80 || utf8.size() < 2)
        return b0;
    const auto b1 = static_cast<unsigned char>(utf8[1]) & 0x3Fu;
    if (b0 < 0xE0)
        return ((b0 & 0x1Fu) << 6) | b1;
    if (utf8.size() < 3)
        return 0xFFFD;
    return ((b0 & 0x0Fu) << 12) | (b1 << 6) | (static_cast<unsigned char>(utf8[2]) & 0x3Fu);
}

// The base letter of a Latin letter, or 0.
char baseLetter(char32_t c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
        return static_cast<char>(c);
    if (c >= 0xC0 && c <= 0xFF) {
        const char b = kLatin1Bases[c - 0xC0];
        return b == '.' ? 0 : b;
    }
    if (c >= 0x100 && c < 0x100 + sizeof kLatinExtABases - 1)
        return kLatinExtABases[c - 0x100];
    return 0;
}

// A weight of the accent alone: the same for the upper- and lower-case letter.
std::uint8_t accentWeight(char32_t c) {
    if (c <= 0xFF) // Latin-1: the lower-case letter is 0x20 above its capital
        return static_cast<std::uint8_t>(((c >= 0xE0 ? c - 0x20 : c) & 0x3F) + 1);
    // Latin Extended-A: capital and small letter are pairs, odd-first in two runs
    const bool oddFirst = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    const char32_t pair = oddFirst ? (c - 1) / 2 : c / 2;
    return static_cast<std::uint8_t>(0x80 | (pair & 0x7F));
}

} // namespace

std::shared_ptr<const Collation> Collation::shared(int codePage, std::uint8_t sortOrder) {
    static std::mutex guard;
    static std::map<std::pair<int, std::uint8_t>, std::shared_ptr<const Collation>> built;
    std::lock_guard lock(guard);
    auto& collation = built[{codePage, sortOrder}];
    if (!collation)
        collation = std::make_shared<const Collation>(codePage, sortOrder);
    return collation;
}

Collation::Collation(int codePage, std::uint8_t sortOrder) : binary_(sortOrder == 0) {
    const TextCodec& codec = *TextCodec::shared(codePage); // the table's own characters
    for (int byte = 0; byte < 256; ++byte) {
        Weights& w = weights_[static_cast<std::size_t>(byte)];
        const auto one = static_cast<std::uint8_t>(byte);
        const char32_t c =
            byte < 0x80 ? static_cast<char32_t>(byte) : decodeOne(codec.decode(std::span(&one, 1)));
        const char base = baseLetter(c);
        if (base == 0) { // not a letter: before every letter, in code order
            w.primary = static_cast<std::uint16_t>(byte);
            continue;
        }
        const bool upper = base >= 'A' && base <= 'Z';
        const char lowerBase = static_cast<char>(upper ? base - 'A' + 'a' : base);
        w.primary = static_cast<std::uint16_t>(0x100 + (lowerBase - 'a'));
        // Accented forms after the plain letter, in code point order (o, ó, ö, ő),
        // the same for both cases.
        if (c != static_cast<char32_t>(base))
            w.accent = accentWeight(c);
        w.upper = upper ? 1 : 0;
    }
    for (int byte = 0; byte < 256; ++byte) {
        lower_[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(byte);
        const Weights& w = weights_[static_cast<std::size_t>(byte)];
        if (w.upper == 0)
            continue;
        for (int other = 0; other < 256; ++other) {
            const Weights& o = weights_[static_cast<std::size_t>(other)];
            if (o.upper == 0 && o.primary == w.primary && o.accent == w.accent) {
                lower_[static_cast<std::size_t>(byte)] = static_cast<std::uint8_t>(other);
                break;
            }
        }
    }
}

int Collation::compareIgnoringCase(std::span<const std::uint8_t> a,
                                   std::span<const std::uint8_t> b) const {
    const auto length = [](std::span<const std::uint8_t> s) {
        return static_cast<std::size_t>(std::find(s.begin(), s.end(), 0) - s.begin());
    };
    const std::size_t la = length(a), lb = length(b);
    const std::size_t n = std::min(la, lb);
    if (binary_) {
        for (std::size_t i = 0; i < n; ++i)
            if (lower_[a[i]] != lower_[b[i]])
                return lower_[a[i]] < lower_[b[i]] ? -1 : 1;
        return la == lb ? 0 : la < lb ? -1 : 1;
    }
    for (int level = 0; level < 2; ++level) {
        for (std::size_t i = 0; i < n; ++i) {
            const Weights& wa = weights_[a[i]];
            const Weights& wb = weights_[b[i]];
            const int da = level == 0 ? wa.primary : wa.accent;
            const int db = level == 0 ? wb.primary : wb.accent;
            if (da != db)
                return da < db ? -1 : 1;
        }
        if (level == 0 && la != lb)
            return la < lb ? -1 : 1;
    }
    return 0;
}

int Collation::compare(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                       bool ignoreCase) const {
    const auto length = [](std::span<const std::uint8_t> s) {
        std::size_t n = 0;
        while (n < s.size() && s[n] != 0)
            ++n;
        return n;
    };
    const std::size_t la = length(a), lb = length(b);
    const std::size_t n = std::min(la, lb);
    // The bytes before the first that differs weigh the same at every level, so each
    // level is decided from there on.
    std::size_t first = 0;
    while (first < n && a[first] == b[first])
        ++first;
    const auto raw = [&]() {
        if (first < n)
            return a[first] < b[first] ? -1 : 1;
        return la == lb ? 0 : la < lb ? -1 : 1;
    };
    if (first == n && la == lb) // the common case
        return 0;
    if (binary_)
        return raw();
    // Each level is decided over the whole text before the next is looked at.
    const int levels = ignoreCase ? 2 : 3;
    for (int level = 0; level < levels; ++level) {
        for (std::size_t i = first; i < n; ++i) {
            const Weights& wa = weights_[a[i]];
            const Weights& wb = weights_[b[i]];
            const int da = level == 0 ? wa.primary : level == 1 ? wa.accent : wa.upper;
            const int db = level == 0 ? wb.primary : level == 1 ? wb.accent : wb.upper;
            if (da != db)
                return da < db ? -1 : 1;
        }
        if (level == 0 && la != lb)
            return la < lb ? -1 : 1;
    }
    return ignoreCase ? 0 : raw();
}

void Collation::appendSortKey(std::span<const std::uint8_t> text, bool ignoreCase,
                              std::string& key) const {
    const auto length =
        static_cast<std::size_t>(std::find(text.begin(), text.end(), 0) - text.begin());
    const auto chars = text.first(length);
    if (!binary_) {
        for (const std::uint8_t c : chars) { // primary weights are never zero
            key.push_back(static_cast<char>(weights_[c].primary >> 8));
            key.push_back(static_cast<char>(weights_[c].primary & 0xFF));
        }
        key.append(2, '\0'); // a prefix sorts first
        for (const std::uint8_t c : chars)
            key.push_back(static_cast<char>(weights_[c].accent));
        if (ignoreCase)
            return;
        for (const std::uint8_t c : chars)
            key.push_back(static_cast<char>(weights_[c].upper));
    }
    key.append(chars.begin(), chars.end());
    key.push_back('\0');
}

} // namespace db
