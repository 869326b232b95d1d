// Filters are parsed into a tree of comparisons whose literals are already converted to
// the field's type, so evaluating a row reads only the named fields and parses nothing.
//
// Meanings chosen:
// - A NULL field matches no comparison with a non-NULL literal (`<>` included), except
//   that a text field that is NULL counts as empty text against an empty literal:
//   `Nev = ''` finds blank fields, `Nev <> ''` filled ones. `= NULL` / `IS NULL` finds
//   NULL fields (and empty text); `''` against a non-text field means the same.
// - An unquoted number against a text field compares the field with the number as
//   written; a quoted number against a number field is read as a number (comma or point).
// - Text orders by the code points of its UTF-8 bytes, not the Hungarian alphabet;
//   `=` is exact. A trailing '*' makes `=` and `<>` prefix tests unless partial compare
//   is off; with `<`, `>` the star is an ordinary character.
// - D and @ fields compare as instants: a date literal is its midnight, so a @ value in
//   the afternoon of the last day lies after `<= 'that day'`.

#include "platform/db/filter.h"

#include "platform/sys/conversion_error.h"
#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"
#include "platform/sys/utf8.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <variant>

namespace db {

namespace {

// A fault found while reading the filter; parse() adds the filter text and the place
// (a byte offset; without one, the place of the token read last) to the message.
class BadFilter : public std::runtime_error {
public:
    explicit BadFilter(const std::string& what, std::optional<std::size_t> at = std::nullopt)
        : std::runtime_error(what), at_(at) {}
    std::optional<std::size_t> at() const { return at_; }

private:
    std::optional<std::size_t> at_;
};

// Deeper nesting of parentheses and NOT is refused instead of running out of stack.
constexpr int kMaxNesting = 200;

// ---- Tokens -------------------------------------------------------------------------

enum class TokenKind {
    Word,   // bare name, keyword or number: Aktiv, And, 025, 100000, 0.5, 1E-3
    Name,   // [Mező név] or "Mező név"
    String, // 'text', apostrophes doubled inside
    Symbol, // = <> < > <= >= != ( ) + -
    End,
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;      // a String or Name without its quotes, doubled quotes made single
    std::size_t begin = 0; // byte offset in the filter text
};

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 0x20;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Letters, digits and the other characters of bare field names; bytes of accented
// letters (UTF-8, 0x80 and above) included.
bool isWordChar(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) ||
           c == '_' || c == '.' || c == '#' || c == '$';
}

class Lexer {
public:
    explicit Lexer(std::string_view text) : text_(text) {}

    std::vector<Token> tokens() {
        std::vector<Token> out;
        for (;;) {
            while (pos_ < text_.size() && isBlank(text_[pos_]))
                ++pos_;
            if (pos_ == text_.size())
                break;
            const std::size_t begin = pos_;
            out.push_back(next());
            out.back().begin = begin;
        }
        out.push_back(Token{TokenKind::End, {}, text_.size()});
        return out;
    }

private:
    Token next() {
        const char c = text_[pos_];
        if (c == '\'')
            return {TokenKind::String, quoted('\'', "lezáratlan szöveg")};
        if (c == '"')
            return {TokenKind::Name, quoted('"', "lezáratlan mezőnév")};
        if (c == '[')
            return {TokenKind::Name, bracketed()};
        if (isWordChar(c))
            return {TokenKind::Word, word()};
        return {TokenKind::Symbol, symbol()};
    }

    // Up to the closing quote; a doubled quote stands for one.
    std::string quoted(char quote, const char* unterminated) {
        const std::size_t begin = pos_;
        std::string out;
        for (++pos_; pos_ < text_.size(); ++pos_) {
            if (text_[pos_] != quote) {
                out.push_back(text_[pos_]);
            } else if (pos_ + 1 < text_.size() && text_[pos_ + 1] == quote) {
                out.push_back(quote);
                ++pos_;
            } else {
                ++pos_;
                return out;
            }
        }
        throw BadFilter(unterminated, begin);
    }

    std::string bracketed() {
        const std::size_t close = text_.find(']', pos_);
        if (close == std::string_view::npos)
            throw BadFilter("lezáratlan [ ]", pos_);
        std::string out(text_.substr(pos_ + 1, close - pos_ - 1));
        pos_ = close + 1;
        return out;
    }

    // A number's exponent sign belongs to the word: 1E-3.
    std::string word() {
        const std::size_t start = pos_;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            const bool exponentSign = (c == '-' || c == '+') && isDigit(text_[start]) &&
                                      (text_[pos_ - 1] == 'e' || text_[pos_ - 1] == 'E');
            if (!isWordChar(c) && !exponentSign)
                break;
            ++pos_;
        }
        return std::string(text_.substr(start, pos_ - start));
    }

    std::string symbol() {
        static constexpr std::string_view twoChar[] = {"<>", "<=", ">=", "!="};
        for (const std::string_view s : twoChar) {
            if (text_.substr(pos_, 2) == s) {
                pos_ += 2;
                return std::string(s);
            }
        }
        const char c = text_[pos_];
        if (std::string_view("=<>()+-").find(c) == std::string_view::npos)
            throw BadFilter("váratlan jel: " + std::string(1, c), pos_);
        ++pos_;
        return std::string(1, c);
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

// ---- Compiled comparisons -----------------------------------------------------------

enum class Op { Eq, Ne, Lt, Gt, Le, Ge };

std::optional<Op> opFromSymbol(std::string_view s) {
    if (s == "=")
        return Op::Eq;
    if (s == "<>" || s == "!=")
        return Op::Ne;
    if (s == "<")
        return Op::Lt;
    if (s == ">")
        return Op::Gt;
    if (s == "<=")
        return Op::Le;
    if (s == ">=")
        return Op::Ge;
    return std::nullopt;
}

bool holds(Op op, int order) {
    switch (op) {
    case Op::Eq:
        return order == 0;
    case Op::Ne:
        return order != 0;
    case Op::Lt:
        return order < 0;
    case Op::Gt:
        return order > 0;
    case Op::Le:
        return order <= 0;
    case Op::Ge:
        return order >= 0;
    }
    return false;
}

template <typename T>
int threeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

// `= NULL`: the field is NULL; for text also an empty text, which is the same blank.
struct IsNullTest {};

// Text against text. A NULL field is an empty text when the literal is empty, so that
// `= ''` finds blank fields; otherwise it matches nothing. `prefix`: the literal was
// 'Kov*' and the field must start with "Kov".
struct TextTest {
    std::string literal;
    bool prefix = false;
    bool noCase = false;
};

struct NumberTest { // S I + $ N #: compared as doubles
    double literal = 0;
};

struct BoolTest {
    bool literal = false;
};

struct InstantTest { // D and @: compared in @ milliseconds (a D day at its midnight)
    double ms = 0;
};

struct TimeTest {
    std::int32_t ms = 0;
};

using Test = std::variant<IsNullTest, TextTest, NumberTest, BoolTest, InstantTest, TimeTest>;

struct Comparison {
    int field = 0;
    Op op = Op::Eq;
    Test test;
};

bool isBlankValue(const Value& v) {
    const auto* s = std::get_if<std::string>(&v);
    return isNull(v) || (s && s->empty());
}

// Whether `text` starts with `prefix`, letter case ignored.
bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (j < prefix.size()) {
        if (i == text.size())
            return false;
        const std::size_t ti = i;
        const std::size_t pj = j;
        const auto a = sys::decodeUtf8(text, i);
        const auto b = sys::decodeUtf8(prefix, j);
        if (a && b ? sys::toLower(*a) != sys::toLower(*b)
                   : text.substr(ti, i - ti) != prefix.substr(pj, j - pj))
            return false;
    }
    return true;
}

std::optional<int> orderText(const Value& v, const TextTest& t) {
    const auto* s = std::get_if<std::string>(&v);
    if (!s && !(isNull(v) && t.literal.empty()))
        return std::nullopt;
    const std::string_view text = s ? std::string_view(*s) : std::string_view();
    if (t.prefix) {
        const bool starts =
            t.noCase ? startsWithNoCase(text, t.literal) : text.starts_with(t.literal);
        return starts ? 0 : 1;
    }
    if (t.noCase)
        return threeWay(sys::compareNoCase(text, t.literal), 0);
    return threeWay(text.compare(t.literal), 0); // byte order of UTF-8: code point order
}

std::optional<double> numberOf(const Value& v) {
    if (const auto* i = std::get_if<std::int32_t>(&v))
        return *i;
    if (const auto* d = std::get_if<double>(&v))
        return std::isnan(*d) ? std::nullopt : std::optional<double>(*d);
    if (const auto* dec = std::get_if<Decimal>(&v)) {
        double out = 0;
        const char* end = dec->text.data() + dec->text.size();
        if (std::from_chars(dec->text.data(), end, out).ec == std::errc())
            return out;
    }
    return std::nullopt;
}

std::optional<double> instantOf(const Value& v) {
    constexpr double msPerDay = 86400000.0;
    if (const auto* d = std::get_if<Date>(&v))
        return d->days * msPerDay;
    if (const auto* t = std::get_if<Timestamp>(&v))
        return t->ms;
    return std::nullopt;
}

// The order of the field's value against the literal, or nullopt when they do not
// compare (a NULL field, a value of another type): such a row does not match.
std::optional<int> order(const Value& v, const Test& test) {
    if (const auto* t = std::get_if<TextTest>(&test))
        return orderText(v, *t);
    if (const auto* t = std::get_if<NumberTest>(&test)) {
        const auto n = numberOf(v);
        return n ? std::optional<int>(threeWay(*n, t->literal)) : std::nullopt;
    }
    if (const auto* t = std::get_if<BoolTest>(&test)) {
        const auto* b = std::get_if<bool>(&v);
        return b ? std::optional<int>(threeWay(*b, t->literal)) : std::nullopt;
    }
    if (const auto* t = std::get_if<InstantTest>(&test)) {
        const auto ms = instantOf(v);
        return ms ? std::optional<int>(threeWay(*ms, t->ms)) : std::nullopt;
    }
    if (const auto* t = std::get_if<TimeTest>(&test)) {
        const auto* tm = std::get_if<Time>(&v);
        return tm ? std::optional<int>(threeWay(tm->ms, t->ms)) : std::nullopt;
    }
    return std::nullopt;
}

bool evaluate(const Comparison& c, const Value& v) {
    if (std::holds_alternative<IsNullTest>(c.test))
        return isBlankValue(v) == (c.op == Op::Eq);
    const auto o = order(v, c.test);
    return o && holds(c.op, *o);
}

// ---- The expression tree ------------------------------------------------------------

struct Condition {
    enum class Kind { And, Or, Not, Compare };
    Kind kind = Kind::Compare;
    std::vector<Condition> children; // And, Or: two or more; Not: one
    Comparison compare;
};

bool evaluate(const Condition& c, const std::function<Value(int)>& valueOf) {
    switch (c.kind) {
    case Condition::Kind::And:
        return std::all_of(c.children.begin(), c.children.end(),
                           [&](const Condition& child) { return evaluate(child, valueOf); });
    case Condition::Kind::Or:
        return std::any_of(c.children.begin(), c.children.end(),
                           [&](const Condition& child) { return evaluate(child, valueOf); });
    case Condition::Kind::Not:
        return !evaluate(c.children.front(), valueOf);
    case Condition::Kind::Compare:
        return evaluate(c.compare, valueOf(c.compare.field));
    }
    return false;
}

void collectFields(const Condition& c, std::vector<int>& out) {
    if (c.kind == Condition::Kind::Compare)
        out.push_back(c.compare.field);
    for (const Condition& child : c.children)
        collectFields(child, out);
}

// ---- Literals and their conversion to the field's type ------------------------------

struct Literal {
    enum class Kind { Text, Number, Boolean, Null };
    Kind kind = Kind::Text;
    std::string text; // Text: the text; Number: as written, sign included
    double number = 0;
    bool flag = false;
};

bool isNumericType(FieldType t) {
    return t == FieldType::Short || t == FieldType::Long || t == FieldType::AutoInc ||
           t == FieldType::Currency || t == FieldType::Number || t == FieldType::Bcd;
}

std::string quotedForMessage(std::string_view text) {
    return "'" + std::string(text) + "'";
}

Test blankTest(Op op) {
    if (op != Op::Eq && op != Op::Ne)
        throw BadFilter("üres érték csak = és <> mellett állhat");
    return IsNullTest{};
}

Test textTest(const Literal& lit, Op op, const FilterOptions& options) {
    if (lit.kind == Literal::Kind::Boolean)
        throw BadFilter("szöveges mező logikai értékkel");
    TextTest t{lit.text, false, options.caseInsensitive};
    const bool equality = op == Op::Eq || op == Op::Ne;
    if (lit.kind == Literal::Kind::Text && equality && !options.noPartialCompare &&
        t.literal.ends_with('*')) {
        t.literal.pop_back();
        t.prefix = true;
    }
    return t;
}

Test numberTest(const Literal& lit, Op op) {
    if (lit.kind == Literal::Kind::Number)
        return NumberTest{lit.number};
    if (lit.kind == Literal::Kind::Boolean)
        throw BadFilter("számmező logikai értékkel");
    if (sys::trim(lit.text).empty())
        return blankTest(op);
    if (const auto n = sys::tryParseFloat(lit.text))
        return NumberTest{*n};
    throw BadFilter(quotedForMessage(lit.text) + " nem szám");
}

Test boolTest(const Literal& lit, Op op) {
    if (lit.kind == Literal::Kind::Boolean)
        return BoolTest{lit.flag};
    if (lit.kind == Literal::Kind::Number && (lit.number == 0 || lit.number == 1))
        return BoolTest{lit.number == 1};
    const std::string_view text = sys::trim(lit.text);
    if (lit.kind == Literal::Kind::Text) {
        if (text.empty())
            return blankTest(op);
        if (text == "1" || sys::equalsNoCase(text, "true"))
            return BoolTest{true};
        if (text == "0" || sys::equalsNoCase(text, "false"))
            return BoolTest{false};
    }
    throw BadFilter(quotedForMessage(lit.text) + " nem logikai érték");
}

std::optional<sys::DateTime> parseDateLiteral(std::string_view text) {
    if (auto d = sys::tryParseDateTime(text))
        return d;
    if (text.find('/') != std::string_view::npos) {
        try {
            return sys::parseMonthDayYear(text);
        } catch (const sys::ConversionError&) {
        }
    }
    return std::nullopt;
}

Test instantTest(const Literal& lit, Op op) {
    if (lit.kind == Literal::Kind::Text) {
        if (sys::trim(lit.text).empty())
            return blankTest(op);
        if (const auto d = parseDateLiteral(lit.text))
            return InstantTest{sys::dateTimeToParadoxTimestamp(*d)};
    }
    throw BadFilter(quotedForMessage(lit.text) + " nem dátum");
}

Test timeTest(const Literal& lit, Op op) {
    if (lit.kind == Literal::Kind::Text) {
        if (sys::trim(lit.text).empty())
            return blankTest(op);
        if (const auto t = sys::tryParseTime(lit.text))
            return TimeTest{sys::dateTimeToParadoxTime(*t)};
    }
    throw BadFilter(quotedForMessage(lit.text) + " nem időpont");
}

// The literal converted once, here, to what the field's values are compared with.
Test compileTest(const FieldDef& field, Op op, const Literal& lit, const FilterOptions& options) {
    if (lit.kind == Literal::Kind::Null)
        return blankTest(op);
    const FieldType t = field.type;
    if (isTextType(t))
        return textTest(lit, op, options);
    if (isNumericType(t))
        return numberTest(lit, op);
    if (t == FieldType::Logical)
        return boolTest(lit, op);
    if (t == FieldType::Date || t == FieldType::Timestamp)
        return instantTest(lit, op);
    if (t == FieldType::Time)
        return timeTest(lit, op);
    throw BadFilter("a(z) " + field.name + " mező csak NULL-lal hasonlítható");
}

// ---- Parser -------------------------------------------------------------------------
// or := and {OR and};  and := unary {AND unary};  unary := NOT unary | '(' or ')' | cmp;
// cmp := field op literal | field IS [NOT] NULL

class Parser {
public:
    Parser(std::vector<Token> tokens, const std::vector<FieldDef>& fields,
           const FilterOptions& options)
        : tokens_(std::move(tokens)), fields_(fields), options_(options) {}

    Condition parseAll() {
        Condition c = parseOr();
        if (peek().kind != TokenKind::End)
            throw BadFilter("fölösleges szöveg: " + peek().text, peek().begin);
        return c;
    }

    // Where the token read last begins: the place of an error about it.
    std::size_t lastBegin() const { return lastBegin_; }

private:
    const Token& peek() const { return tokens_[pos_]; }
    Token take() {
        const Token& t = tokens_[pos_ == tokens_.size() - 1 ? pos_ : pos_++];
        lastBegin_ = t.begin;
        return t;
    }

    // One level of parentheses or NOT; too many fail at the current token.
    class Nested {
    public:
        explicit Nested(Parser& p) : p_(p) {
            if (++p_.depth_ > kMaxNesting)
                throw BadFilter("több mint " + std::to_string(kMaxNesting) + " szintű beágyazás",
                                p_.peek().begin);
        }
        ~Nested() { --p_.depth_; }
        Nested(const Nested&) = delete;
        Nested& operator=(const Nested&) = delete;

    private:
        Parser& p_;
    };

    bool isKeyword(std::string_view word) const {
        return peek().kind == TokenKind::Word && sys::equalsNoCase(peek().text, word);
    }
    bool isSymbol(std::string_view s) const {
        return peek().kind == TokenKind::Symbol && peek().text == s;
    }

    Condition parseList(Condition::Kind kind, std::string_view keyword,
                        Condition (Parser::*operand)()) {
        Condition first = (this->*operand)();
        if (!isKeyword(keyword))
            return first;
        Condition list{kind, {}, {}};
        list.children.push_back(std::move(first));
        while (isKeyword(keyword)) {
            take();
            list.children.push_back((this->*operand)());
        }
        return list;
    }

    Condition parseOr() { return parseList(Condition::Kind::Or, "or", &Parser::parseAnd); }
    Condition parseAnd() { return parseList(Condition::Kind::And, "and", &Parser::parseUnary); }

    Condition parseUnary() {
        if (isKeyword("not")) {
            take();
            const Nested level(*this);
            Condition c{Condition::Kind::Not, {}, {}};
            c.children.push_back(parseUnary());
            return c;
        }
        if (isSymbol("(")) {
            take();
            const Nested level(*this);
            Condition c = parseOr();
            if (!isSymbol(")"))
                throw BadFilter("hiányzó )", peek().begin);
            take();
            return c;
        }
        return parseComparison();
    }

    Condition parseComparison() {
        const int field = parseField();
        Comparison cmp;
        cmp.field = field;
        if (isKeyword("is")) {
            take();
            const bool negated = isKeyword("not");
            if (negated)
                take();
            if (!isKeyword("null"))
                throw BadFilter("IS után NULL kell", peek().begin);
            take();
            cmp.op = negated ? Op::Ne : Op::Eq;
            cmp.test = IsNullTest{};
            return Condition{Condition::Kind::Compare, {}, cmp};
        }
        const std::optional<Op> op =
            peek().kind == TokenKind::Symbol ? opFromSymbol(peek().text) : std::nullopt;
        if (!op)
            throw BadFilter("hiányzó összehasonlító jel a(z) " + fields_[field].name + " mező után",
                            peek().begin);
        take();
        cmp.op = *op;
        cmp.test = compileTest(fields_[field], *op, parseLiteral(), options_);
        return Condition{Condition::Kind::Compare, {}, std::move(cmp)};
    }

    int parseField() {
        const Token t = take();
        if (t.kind != TokenKind::Word && t.kind != TokenKind::Name)
            throw BadFilter(t.kind == TokenKind::End ? "hiányzó mezőnév"
                                                     : "mezőnév helyett: " + t.text);
        for (std::size_t i = 0; i < fields_.size(); ++i)
            if (sys::equalsNoCase(fields_[i].name, t.text))
                return static_cast<int>(i);
        throw BadFilter("ismeretlen mező: " + t.text);
    }

    Literal parseLiteral() {
        Token t = take();
        if (t.kind == TokenKind::String)
            return Literal{Literal::Kind::Text, t.text, 0, false};
        std::string sign;
        if (t.kind == TokenKind::Symbol && (t.text == "-" || t.text == "+")) {
            sign = t.text;
            t = take();
            if (t.kind != TokenKind::Word)
                throw BadFilter("hiányzó szám a(z) " + sign + " jel után");
        }
        if (t.kind == TokenKind::Word) {
            if (sign.empty() &&
                (sys::equalsNoCase(t.text, "true") || sys::equalsNoCase(t.text, "false")))
                return Literal{Literal::Kind::Boolean, t.text, 0,
                               sys::equalsNoCase(t.text, "true")};
            if (sign.empty() && sys::equalsNoCase(t.text, "null"))
                return Literal{Literal::Kind::Null, t.text, 0, false};
            if (const auto n = sys::tryParseFloat(sign + t.text))
                return Literal{Literal::Kind::Number, sign + t.text, *n, false};
        }
        throw BadFilter(t.kind == TokenKind::End ? "hiányzó érték" : "érték helyett: " + t.text);
    }

    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int depth_ = 0; // parentheses and NOTs now open
    std::size_t lastBegin_ = 0;
    const std::vector<FieldDef>& fields_;
    const FilterOptions& options_;
};

// The 1-based number of the character at a byte offset of UTF-8 text.
std::size_t characterNumber(std::string_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    return 1 + static_cast<std::size_t>(std::count_if(
                   text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset),
                   [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

} // namespace

struct FilterExpression::Node {
    Condition condition;
};

FilterExpression FilterExpression::parse(std::string_view text, const std::vector<FieldDef>& fields,
                                         FilterOptions options) {
    FilterExpression out;
    out.text_ = std::string(text);
    if (sys::trim(text).empty())
        return out;
    std::optional<Parser> parser;
    try {
        parser.emplace(Lexer(text).tokens(), fields, options);
        out.root_ = std::make_unique<Node>(Node{parser->parseAll()});
    } catch (const BadFilter& e) {
        const std::size_t at = e.at() ? *e.at() : parser ? parser->lastBegin() : 0;
        throw FilterError("Hibás szűrőfeltétel: " + out.text_ + " (" + e.what() + ", a(z) " +
                          std::to_string(characterNumber(text, at)) + ". karakternél)");
    }
    return out;
}

FilterExpression::FilterExpression() = default;
FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression&&) noexcept = default;
FilterExpression& FilterExpression::operator=(FilterExpression&&) noexcept = default;

bool FilterExpression::matches(const std::function<Value(int field)>& valueOf) const {
    return !root_ || evaluate(root_->condition, valueOf);
}

const std::string& FilterExpression::text() const {
    return text_;
}

bool FilterExpression::empty() const {
    return !root_;
}

std::vector<int> FilterExpression::fieldsUsed() const {
    std::vector<int> out;
    if (root_)
        collectFields(root_->condition, out);
    std::sort(out.begin(), out.end());
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

std::string quoteFilterText(std::string_view text) {
    std::string out = "'";
    for (const char c : text) {
        out.push_back(c);
        if (c == '\'')
            out.push_back('\'');
    }
    out.push_back('\'');
    return out;
}

std::string filterEquals(std::string_view field, std::string_view text) {
    return std::string(field) + " = " + quoteFilterText(text);
}

} // namespace db
