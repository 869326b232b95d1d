#pragma once
// Walking UTF-8 text one character at a time.

#include <optional>
#include <string>
#include <string_view>

namespace sys {

// Decodes the character that starts at `pos` and moves `pos` past it. A malformed
// sequence (stray byte, overlong form, surrogate, beyond U+10FFFF, cut short) gives
// nullopt and moves `pos` by one byte.
std::optional<char32_t> decodeUtf8(std::string_view text, std::size_t& pos);

// Appends the UTF-8 form of `c`.
void appendUtf8(std::string& out, char32_t c);

bool isValidUtf8(std::string_view text);

} // namespace sys
