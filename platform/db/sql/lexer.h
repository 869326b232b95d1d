#pragma once
// Tokens of the SQL dialect: names (bare, possibly accented, or in double quotes), text
// in single quotes ('' for a quote), numbers, parameters (:Name) and symbols. Every
// token keeps its place in the statement for error messages and for the names the
// engine derives from the statement's text.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace db::sql {

enum class TokenKind { Name, QuotedName, Text, Number, Param, Symbol, End };

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;      // the name, text value, number digits, parameter name or symbol
    std::size_t begin = 0; // byte offset in the statement
    std::size_t end = 0;   // one past the last byte
    bool is(std::string_view symbol) const; // a symbol, or a bare name as keyword (any case)
};

// Splits the statement; throws SqlError at an unknown character or an unclosed quote.
std::vector<Token> tokenize(std::string_view text);

// "L. sor, C. oszlop, itt: '<token>'" (or ", az utasítás végén"), then on the next lines the part
// of its line around the place (some 60 characters at most) with a caret under the place.
std::string describePlace(std::string_view text, std::size_t offset);
// Throws SqlError: "<what> (L. sor, C. oszlop, itt: '<token>')" followed by the statement's
// line and a caret.
[[noreturn]] void failAt(std::string_view text, std::size_t offset, const std::string& what);

} // namespace db::sql
