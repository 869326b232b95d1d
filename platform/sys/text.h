#pragma once
// Case and blank handling of UTF-8 text. The case mapping covers ASCII and the Latin
// letters of Latin-1 and Latin Extended-A, which hold every Hungarian letter (ő/Ő, ű/Ű)
// and the other letters of the code pages the tables use. It does not depend on the
// process locale. Characters outside that range, and malformed bytes, pass unchanged.

#include <string>
#include <string_view>

namespace sys {

char32_t toUpper(char32_t c);
char32_t toLower(char32_t c);

std::string toUpper(std::string_view utf8);
std::string toLower(std::string_view utf8);

// Compares character by character after lower-casing both sides: negative, zero or
// positive. The order is that of the code points, not the Hungarian alphabet.
int compareNoCase(std::string_view a, std::string_view b);
bool equalsNoCase(std::string_view a, std::string_view b);

// Without the leading and trailing blanks and control characters (bytes up to 0x20).
std::string_view trim(std::string_view text);

} // namespace sys
