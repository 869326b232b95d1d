#pragma once
// Text in memory is UTF-8; table files and exported files hold it in a single-byte
// code page (Windows-1250 for Hungarian tables, DOS 852 in older ones).

#include <stdexcept>
#include <string>
#include <string_view>

namespace sys {

// A character that the target code page cannot hold, text that is not valid UTF-8, or
// an unknown code page. The message (Hungarian, for the user) names the character, its
// code point and the code page.
class EncodingError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True for the code pages the program converts (1250, 852, 437, 850, 1252, 0 as
// HP-Roman8, and the other pages iconv knows as CP<n>).
bool isKnownCodePage(int codePage);

// UTF-8 to the code page. Throws EncodingError on malformed UTF-8 and on the first
// character the code page lacks; nothing is ever dropped or replaced silently.
std::string fromUtf8(std::string_view utf8, int codePage);

// Code page bytes to UTF-8. A byte the code page leaves undefined becomes U+FFFD.
std::string toUtf8(std::string_view bytes, int codePage);

// Cuts UTF-8 text so that its encoding in the code page takes at most maxBytes.
// Never cuts inside a character: single-byte code pages keep at most maxBytes
// characters; multi-byte ones as many whole characters as fit. A character the code
// page lacks counts as one byte (fromUtf8 reports it).
std::string truncateForCodePage(std::string_view utf8, int codePage, std::size_t maxBytes);

} // namespace sys
