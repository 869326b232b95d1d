#include "platform/sys/codepage.h"

#include "platform/sys/utf8.h"

#include <cerrno>
#include <cstdio>
#include <iconv.h>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>

namespace sys {

namespace {

std::string iconvName(int codePage) {
    if (codePage == 0)
        return "HP-ROMAN8";
    return "CP" + std::to_string(codePage);
}

std::string codePageName(int codePage) {
    return codePage == 0 ? "HP-Roman8" : iconvName(codePage);
}

// An iconv descriptor that closes itself.
class Converter {
public:
    Converter(const std::string& to, const std::string& from)
        : cd_(::iconv_open(to.c_str(), from.c_str())) {}
    ~Converter() {
        if (ok())
            ::iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

void requireOpen(const Converter& cv, int codePage) {
    if (!cv.ok())
        throw EncodingError("Ismeretlen kódlap: " + std::to_string(codePage) + ".");
}

// Opening a converter loads iconv's module for the code page, which costs far more than
// a field's conversion: each thread keeps one open converter per direction and page,
// reset to its initial state before use.
const Converter& cachedConverter(const std::string& to, const std::string& from) {
    thread_local std::map<std::pair<std::string, std::string>, std::unique_ptr<Converter>> cache;
    auto& slot = cache[{to, from}];
    if (!slot)
        slot = std::make_unique<Converter>(to, from);
    if (slot->ok())
        ::iconv(slot->get(), nullptr, nullptr, nullptr, nullptr);
    return *slot;
}

// Every code page here agrees with ASCII below 0x80, so such text needs no converter.
bool isAscii(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    return true;
}

// Converts as much as it can; returns false when the input at `in` cannot be converted.
bool convertChunk(iconv_t cd, const char*& in, std::size_t& inLeft, std::string& out) {
    char buffer[4096];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        char* inPtr = const_cast<char*>(in);
        const std::size_t rc = ::iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        in = inPtr;
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG)
            return false;
    }
    return true;
}

std::string hexByte(unsigned char byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

std::string codePoint(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

// The text must be well-formed before it is converted, so that a conversion failure
// always means a character the code page lacks.
void requireValidUtf8(std::string_view utf8) {
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        const std::size_t start = pos;
        if (!decodeUtf8(utf8, pos))
            throw EncodingError(
                "Hibás UTF-8 szöveg: " + hexByte(static_cast<unsigned char>(utf8[start])) +
                " bájt a(z) " + std::to_string(start + 1) + ". helyen.");
    }
}

// The code pages whose every character takes one byte.
bool isSingleByte(int codePage) {
    switch (codePage) {
    case 0:
    case 437:
    case 737:
    case 775:
    case 850:
    case 852:
    case 855:
    case 857:
    case 860:
    case 861:
    case 862:
    case 863:
    case 864:
    case 865:
    case 866:
    case 869:
    case 874:
        return true;
    default:
        return codePage >= 1250 && codePage <= 1258;
    }
}

// Bytes the character takes in the code page; a character the page lacks counts as one
// (fromUtf8 reports it when the text is written).
std::size_t encodedLength(iconv_t cd, std::string_view character) {
    std::string out;
    const char* in = character.data();
    std::size_t left = character.size();
    const bool ok = convertChunk(cd, in, left, out);
    ::iconv(cd, nullptr, nullptr, nullptr, nullptr);
    return ok && !out.empty() ? out.size() : 1;
}

} // namespace

bool isKnownCodePage(int codePage) {
    return Converter("UTF-8", iconvName(codePage)).ok();
}

std::string fromUtf8(std::string_view utf8, int codePage) {
    const Converter& cv = cachedConverter(iconvName(codePage), "UTF-8");
    requireOpen(cv, codePage);
    if (isAscii(utf8))
        return std::string(utf8);
    requireValidUtf8(utf8);
    std::string out;
    out.reserve(utf8.size());
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    if (!convertChunk(cv.get(), in, left, out)) {
        const std::string_view rest(in, left);
        std::size_t length = 0;
        const char32_t c = decodeUtf8(rest, length).value_or(0xFFFD);
        throw EncodingError("A(z) '" + std::string(rest.substr(0, length)) + "' (" + codePoint(c) +
                            ") karakter nem tárolható a(z) " + codePageName(codePage) +
                            " kódlapon.");
    }
    return out;
}

std::string toUtf8(std::string_view bytes, int codePage) {
    const Converter& cv = cachedConverter("UTF-8", iconvName(codePage));
    requireOpen(cv, codePage);
    if (isAscii(bytes))
        return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    const char* in = bytes.data();
    std::size_t left = bytes.size();
    while (!convertChunk(cv.get(), in, left, out)) {
        out += "\xEF\xBF\xBD"; // U+FFFD for a byte the code page leaves undefined
        ++in;
        --left;
        ::iconv(cv.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

std::string truncateForCodePage(std::string_view utf8, int codePage, std::size_t maxBytes) {
    const bool singleByte = isSingleByte(codePage);
    if (singleByte && utf8.size() <= maxBytes)
        return std::string(utf8);
    std::optional<Converter> cv;
    if (!singleByte) {
        cv.emplace(iconvName(codePage), "UTF-8");
        requireOpen(*cv, codePage);
    }
    std::size_t pos = 0;
    std::size_t bytes = 0;
    while (pos < utf8.size()) {
        std::size_t next = pos;
        decodeUtf8(utf8, next);
        const std::size_t length =
            singleByte ? 1 : encodedLength(cv->get(), utf8.substr(pos, next - pos));
        if (bytes + length > maxBytes)
            break;
        bytes += length;
        pos = next;
    }
    return std::string(utf8.substr(0, pos));
}

} // namespace sys
