#include "platform/db/sql/lexer.h"

#include "platform/db/sql/sql.h"
#include "platform/sys/text.h"

namespace db::sql {

namespace {

bool isNameStart(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool isDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}

bool isNamePart(unsigned char c) {
    return isNameStart(c) || isDigit(c) || c == '$' || c == '#';
}

bool isBlank(unsigned char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    std::vector<Token> run() {
        std::vector<Token> tokens;
        while (true) {
            skipBlanks();
            if (pos_ >= text_.size())
                break;
            tokens.push_back(next());
        }
        tokens.push_back({TokenKind::End, "", text_.size(), text_.size()});
        return tokens;
    }

private:
    unsigned char at(std::size_t i) const {
        return i < text_.size() ? static_cast<unsigned char>(text_[i]) : 0;
    }

    void skipBlanks() {
        while (pos_ < text_.size() && isBlank(at(pos_)))
            ++pos_;
    }

    Token make(TokenKind kind, std::string value, std::size_t begin) const {
        return {kind, std::move(value), begin, pos_};
    }

    Token next() {
        const std::size_t begin = pos_;
        const unsigned char c = at(pos_);
        if (isNameStart(c)) {
            while (isNamePart(at(pos_)))
                ++pos_;
            return make(TokenKind::Name, std::string(text_.substr(begin, pos_ - begin)), begin);
        }
        if (isDigit(c) || (c == '.' && isDigit(at(pos_ + 1))))
            return number(begin);
        if (c == '\'')
            return make(TokenKind::Text, quoted('\''), begin);
        if (c == '"')
            return make(TokenKind::QuotedName, quoted('"'), begin);
        if (c == ':' && isNameStart(at(pos_ + 1))) {
            ++pos_;
            while (isNamePart(at(pos_)))
                ++pos_;
            return make(TokenKind::Param, std::string(text_.substr(begin + 1, pos_ - begin - 1)),
                        begin);
        }
        return symbol(begin);
    }

    Token number(std::size_t begin) {
        while (isDigit(at(pos_)))
            ++pos_;
        if (at(pos_) == '.' && isDigit(at(pos_ + 1))) {
            ++pos_;
            while (isDigit(at(pos_)))
                ++pos_;
        }
        const bool sign = at(pos_ + 1) == '+' || at(pos_ + 1) == '-';
        if ((at(pos_) == 'e' || at(pos_) == 'E') && isDigit(at(pos_ + (sign ? 2 : 1)))) {
            pos_ += sign ? 2 : 1;
            while (isDigit(at(pos_)))
                ++pos_;
        }
        if (isNameStart(at(pos_)))
            failAt(text_, pos_, "váratlan karakter a szám után");
        return make(TokenKind::Number, std::string(text_.substr(begin, pos_ - begin)), begin);
    }

    // Text between quotes; a doubled quote stands for one.
    std::string quoted(char quote) {
        const std::size_t begin = pos_;
        std::string value;
        ++pos_;
        while (true) {
            if (pos_ >= text_.size())
                failAt(text_, begin, "lezáratlan idézőjel");
            if (text_[pos_] == quote) {
                if (at(pos_ + 1) != static_cast<unsigned char>(quote))
                    break;
                ++pos_;
            }
            value += text_[pos_++];
        }
        ++pos_;
        return value;
    }

    Token symbol(std::size_t begin) {
        static constexpr std::string_view twoChar[] = {"<>", "!=", "<=", ">="};
        for (std::string_view s : twoChar) {
            if (text_.substr(pos_, 2) == s) {
                pos_ += 2;
                return make(TokenKind::Symbol, std::string(s), begin);
            }
        }
        static constexpr std::string_view oneChar = ",.()*+-/=<>;";
        if (oneChar.find(text_[pos_]) == std::string_view::npos)
            failAt(text_, pos_, "váratlan karakter");
        ++pos_;
        return make(TokenKind::Symbol, std::string(1, text_[begin]), begin);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace

bool Token::is(std::string_view symbol) const {
    if (kind == TokenKind::Symbol)
        return text == symbol;
    return kind == TokenKind::Name && sys::equalsNoCase(text, symbol);
}

std::vector<Token> tokenize(std::string_view text) {
    return Lexer(text).run();
}

namespace {

// A message quotes at most this many bytes of the statement on each side of the fault.
constexpr std::size_t kQuoted = 30;

bool continuesLetter(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

// The place `from` moved to the start of the letter it falls in.
std::size_t letterStart(std::string_view text, std::size_t from) {
    while (from > 0 && from < text.size() && continuesLetter(text[from]))
        --from;
    return from;
}

// The token that starts at `offset` (its first 30 bytes or so): a name or number, a
// quoted text, or a symbol; empty when only blanks follow.
std::string_view tokenAt(std::string_view text, std::size_t offset) {
    while (offset < text.size() && isBlank(static_cast<unsigned char>(text[offset])))
        ++offset;
    if (offset >= text.size())
        return {};
    const auto c = static_cast<unsigned char>(text[offset]);
    std::size_t end = offset + 1;
    if (isNamePart(c)) {
        while (end < text.size() &&
               (isNamePart(static_cast<unsigned char>(text[end])) || text[end] == '.'))
            ++end;
    } else if (c == '\'' || c == '"') {
        end = std::min(text.find(text[offset], offset + 1), text.size() - 1) + 1;
    } else if (end < text.size() && std::string_view("<>=!").find(c) != std::string_view::npos &&
               std::string_view("<>=").find(text[end]) != std::string_view::npos) {
        ++end;
    }
    return text.substr(offset, end - offset);
}

} // namespace

std::string describePlace(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    std::size_t lineStart = 0;
    int line = 1;
    for (std::size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            lineStart = i + 1;
        }
    }
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string_view::npos)
        lineEnd = text.size();
    // Columns count characters, not the bytes of accented letters.
    int column = 1;
    for (std::size_t i = lineStart; i < offset; ++i)
        column += !continuesLetter(text[i]);
    // The part of the line around the fault, the caret under the fault.
    const std::size_t from =
        offset - lineStart > kQuoted ? letterStart(text, offset - kQuoted) : lineStart;
    const std::size_t to =
        lineEnd - offset > kQuoted ? letterStart(text, offset + kQuoted) : lineEnd;
    std::string quoted = from > lineStart ? "..." : "";
    std::string caret(quoted.size(), ' ');
    for (std::size_t i = from; i < offset; ++i)
        if (!continuesLetter(text[i]))
            caret += text[i] == '\t' ? '\t' : ' ';
    quoted += text.substr(from, to - from);
    if (to < lineEnd)
        quoted += "...";
    std::string out = std::to_string(line) + ". sor, " + std::to_string(column) + ". oszlop";
    const std::string_view near = tokenAt(text.substr(0, to), offset);
    out += near.empty() ? std::string(", az utasítás végén") : ", itt: '" + std::string(near) + "'";
    return out + "\n" + quoted + "\n" + caret + "^";
}

void failAt(std::string_view text, std::size_t offset, const std::string& what) {
    const std::string place = describePlace(text, offset);
    const std::size_t placeEnd = place.find('\n');
    throw SqlError(what + " (" + place.substr(0, placeEnd) + ")" + place.substr(placeEnd));
}

} // namespace db::sql
