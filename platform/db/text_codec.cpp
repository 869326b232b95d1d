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

// The UTF-8 of the bytes 1..255 of a code page, converted by the system once per process
// (every table opened builds its codec from it); none for a code page it cannot convert.
std::optional<std::string> singleByteCharacters(int codePage) {
    static std::mutex guard;
    static std::map<int, std::optional<std::string>> known;
    std::lock_guard lock(guard);
    auto [entry, added] = known.try_emplace(codePage);
    if (added) {
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
