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

// The number of letters (characters) of the text; a malformed byte counts as one.
std::size_t letterCount(std::string_view text);

// The first `letters` letters of the text, never a part of one: the cut of a text that
// must fit a field of that many letters.
std::string firstLetters(std::string_view text, std::size_t letters);

} // namespace sys
