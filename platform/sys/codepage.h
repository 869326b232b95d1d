#pragma once
// Text in memory is UTF-8; table files and exported files hold it in a single-byte
// code page (Windows-1250 for Hungarian tables, DOS 852 in older ones).

#include <stdexcept>
#include <string>
#include <string_view>

namespace sys {

// A character that the target code page cannot hold, or bytes that are not valid
// in the source encoding. The message names the character and the code page.
class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True for the code pages the program converts (1250, 852, 437, 850, 1252, 0 as
// HP-Roman8, and the other single-byte pages iconv knows as CP<n>).
bool isKnownCodePage(int codePage);

// UTF-8 to the code page. Throws EncodingError on the first character the code page
// lacks; nothing is ever dropped or replaced silently.
std::string fromUtf8(std::string_view utf8, int codePage);

// Code page bytes to UTF-8. A byte the code page leaves undefined becomes U+FFFD.
std::string toUtf8(std::string_view bytes, int codePage);

// Cuts UTF-8 text so that its encoding in the code page takes at most maxBytes.
// Single-byte code pages: at most maxBytes characters, never half a UTF-8 sequence.
std::string truncateForCodePage(std::string_view utf8, int codePage, std::size_t maxBytes);

} // namespace sys
