#include "platform/sys/codepage.h"

#include <cerrno>
#include <iconv.h>
#include <memory>
#include <string>

namespace sys {

namespace {

std::string iconvName(int codePage) {
    if (codePage == 0)
        return "HP-ROMAN8";
    return "CP" + std::to_string(codePage);
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

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t utf8Length(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// Converts one chunk; returns false when the input at `in` cannot be converted.
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

} // namespace

bool isKnownCodePage(int codePage) {
    return Converter("UTF-8", iconvName(codePage)).ok();
}

std::string fromUtf8(std::string_view utf8, int codePage) {
    Converter cv(iconvName(codePage), "UTF-8");
    if (!cv.ok())
        throw EncodingError("unknown code page " + std::to_string(codePage));
    std::string out;
    out.reserve(utf8.size());
    const char* in = utf8.data();
    std::size_t left = utf8.size();
    if (!convertChunk(cv.get(), in, left, out)) {
        const std::size_t n = std::min(left, utf8Length(static_cast<unsigned char>(*in)));
        throw EncodingError("the character \"" + std::string(in, n) + "\" cannot be stored in code page " +
                            std::to_string(codePage));
    }
    return out;
}

std::string toUtf8(std::string_view bytes, int codePage) {
    Converter cv("UTF-8", iconvName(codePage));
    if (!cv.ok())
        throw EncodingError("unknown code page " + std::to_string(codePage));
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
    (void)codePage; // every supported code page is single-byte: one character, one byte
    std::size_t pos = 0;
    std::size_t chars = 0;
    while (pos < utf8.size() && chars < maxBytes) {
        pos += utf8Length(static_cast<unsigned char>(utf8[pos]));
        ++chars;
    }
    return std::string(utf8.substr(0, std::min(pos, utf8.size())));
}

} // namespace sys
