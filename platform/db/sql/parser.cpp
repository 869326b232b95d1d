// Recursive-descent parser of SELECT and ALTER TABLE ... ADD.

#include "platform/db/sql/ast.h"
#include "platform/db/sql/lexer.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

#include <algorithm>
#include <array>
#include <limits>

namespace db::sql {

namespace {

constexpr std::array kReserved = {
    "SELECT", "DISTINCT", "FROM",  "WHERE", "GROUP",     "BY",         "HAVING", "ORDER",
    "ASC",    "DESC",     "AND",   "OR",    "NOT",       "AS",         "INNER",  "LEFT",
    "RIGHT",  "FULL",     "OUTER", "JOIN",  "ON",        "IS",         "NULL",   "TRUE",
    "FALSE",  "ALTER",    "TABLE", "ADD",   "ASCENDING", "DESCENDING", "CROSS"};

constexpr std::size_t kMaxNameLength = 25; // a Paradox field name
// Deeper nesting (parentheses, NOT, signs, joins, or a chain of operators that do not
// associate, as a - b - c) is refused with an error instead of running out of stack in
// the parser, binder or executor.
constexpr int kMaxNesting = 200;

bool isReserved(const Token& t) {
    return t.kind == TokenKind::Name &&
           std::any_of(kReserved.begin(), kReserved.end(),
                       [&](const char* k) { return sys::equalsNoCase(t.text, k); });
}

std::optional<AggFunc> aggregateNamed(const std::string& name) {
    static constexpr std::pair<const char*, AggFunc> names[] = {{"COUNT", AggFunc::Count},
                                                                {"SUM", AggFunc::Sum},
                                                                {"AVG", AggFunc::Avg},
                                                                {"MIN", AggFunc::Min},
                                                                {"MAX", AggFunc::Max}};
    for (const auto& [n, f] : names)
        if (sys::equalsNoCase(name, n))
            return f;
    return std::nullopt;
}

class Parser {
public:
    explicit Parser(std::string_view text) : text_(text), tokens_(tokenize(text)) {}

    std::unique_ptr<Statement::Ast> run() {
        auto ast = std::make_unique<Statement::Ast>();
        if (peek().is("SELECT")) {
            ast->select = parseSelect();
        } else if (peek().is("ALTER")) {
            ast->isSelect = false;
            ast->alter = parseAlter();
        } else {
            fail("SELECT vagy ALTER TABLE utasítás kellene");
        }
        accept(";");
        if (peek().kind != TokenKind::End)
            fail("fölösleges szöveg az utasítás után");
        ast->params = std::move(params_);
        return ast;
    }

private:
    // --- tokens ---------------------------------------------------------------------
    const Token& peek(std::size_t ahead = 0) const {
        return tokens_[std::min(pos_ + ahead, tokens_.size() - 1)];
    }
    const Token& take() {
        const Token& t = peek();
        if (pos_ + 1 < tokens_.size())
            ++pos_;
        return t;
    }
    bool accept(std::string_view s) {
        if (!peek().is(s))
            return false;
        take();
        return true;
    }
    const Token& expect(std::string_view s) {
        if (!peek().is(s))
            fail(std::string(s) + " kellene");
        return take();
    }
    [[noreturn]] void fail(const std::string& what) const { failAt(text_, peek().begin, what); }
    bool atName() const {
        return peek().kind == TokenKind::QuotedName ||
               (peek().kind == TokenKind::Name && !isReserved(peek()));
    }
    std::string takeName(const char* what) {
        if (!atName())
            fail(std::string(what) + " kellene");
        return take().text;
    }
    std::size_t lastEnd() const { return pos_ > 0 ? tokens_[pos_ - 1].end : 0; }

    // One level of recursion of the parser; too many fail at the current token.
    class Nested {
    public:
        explicit Nested(Parser& p) : p_(p) {
            if (++p_.depth_ > kMaxNesting)
                p_.fail(tooDeep());
        }
        ~Nested() { --p_.depth_; }
        Nested(const Nested&) = delete;
        Nested& operator=(const Nested&) = delete;

    private:
        Parser& p_;
    };
    static std::string tooDeep() {
        return "az utasítás " + std::to_string(kMaxNesting) +
               " szintnél mélyebben ágyazódik egymásba";
    }

    // --- SELECT -----------------------------------------------------------------------
    SelectStmt parseSelect() {
        SelectStmt s;
        expect("SELECT");
        s.distinct = accept("DISTINCT");
        do
            s.items.push_back(parseItem());
        while (accept(","));
        expect("FROM");
        do
            s.from.push_back(parseFromEntry());
        while (accept(","));
        if (accept("WHERE"))
            s.where = parseExpr();
        if (accept("GROUP")) {
            expect("BY");
            do
                s.groupBy.push_back(parseExpr());
            while (accept(","));
        }
        if (accept("HAVING"))
            s.having = parseExpr();
        if (accept("ORDER")) {
            expect("BY");
            do
                s.orderBy.push_back(parseOrderItem());
            while (accept(","));
        }
        return s;
    }

    SelectItem parseItem() {
        SelectItem item;
        item.begin = peek().begin;
        if (accept("*")) {
            item.kind = SelectItem::Kind::Star;
            return item;
        }
        if (atName() && peek(1).is(".") && peek(2).is("*")) {
            item.kind = SelectItem::Kind::TableStar;
            item.qualifier = take().text;
            take();
            take();
            return item;
        }
        item.expr = parseExpr();
        if (accept("AS"))
            item.alias = takeName("álnév");
        else if (atName())
            item.alias = take().text;
        return item;
    }

    OrderItem parseOrderItem() {
        OrderItem o;
        o.expr = parseExpr();
        if (accept("DESC") || accept("DESCENDING"))
            o.descending = true;
        else if (!accept("ASC"))
            accept("ASCENDING");
        return o;
    }

    // --- FROM -------------------------------------------------------------------------
    FromNode parseFromEntry() {
        FromNode node = parseFromPrimary();
        while (true) {
            const std::size_t begin = peek().begin;
            std::optional<JoinType> type;
            if (accept("INNER")) {
                type = JoinType::Inner;
            } else if (accept("LEFT")) {
                type = JoinType::Left;
            } else if (accept("RIGHT")) {
                type = JoinType::Right;
            } else if (accept("FULL")) {
                type = JoinType::Full;
            } else if (peek().is("JOIN")) {
                type = JoinType::Inner;
            }
            if (!type)
                return node;
            if (++joins_ > kMaxNesting)
                fail(tooDeep());
            if (*type != JoinType::Inner)
                accept("OUTER");
            expect("JOIN");
            FromNode join;
            join.isJoin = true;
            join.begin = begin;
            join.type = *type;
            join.left = std::make_unique<FromNode>(std::move(node));
            join.right = std::make_unique<FromNode>(parseFromPrimary());
            expect("ON");
            join.on = parseExpr();
            node = std::move(join);
        }
    }

    FromNode parseFromPrimary() {
        if (accept("(")) {
            const Nested level(*this);
            FromNode inner = parseFromEntry();
            expect(")");
            return inner;
        }
        FromNode t;
        t.begin = peek().begin;
        if (peek().kind == TokenKind::QuotedName) {
            t.table = take().text;
        } else {
            t.table = takeName("táblanév");
            // A bare file name: "szlatet.db".
            if (peek().is(".") && peek(1).kind == TokenKind::Name)
                t.table += "." + (take(), take().text);
        }
        if (accept("AS"))
            t.alias = takeName("álnév");
        else if (atName())
            t.alias = take().text;
        return t;
    }

    // --- expressions --------------------------------------------------------------------
    Expr node(ExprKind kind, std::size_t begin) const {
        Expr e;
        e.kind = kind;
        e.begin = begin;
        return e;
    }

    Expr finish(Expr e) const {
        e.end = lastEnd();
        for (const Expr& arg : e.args)
            e.height = std::max(e.height, arg.height + 1);
        if (e.height > kMaxNesting)
            fail(tooDeep());
        return e;
    }

    Expr binary(BinOp op, Expr left, Expr right) const {
        Expr e = node(ExprKind::Binary, left.begin);
        e.op = op;
        e.args.push_back(std::move(left));
        e.args.push_back(std::move(right));
        return finish(std::move(e));
    }

    // The terms of a chain of one associative operator (a OR b OR c, a + b + c), joined
    // from the left as written; a chain too long for that is joined as a balanced tree,
    // so that a long flat chain is not taken for deep nesting.
    Expr chain(BinOp op, std::vector<Expr> terms) const {
        if (terms.size() <= static_cast<std::size_t>(kMaxNesting)) {
            Expr left = std::move(terms.front());
            for (std::size_t i = 1; i < terms.size(); ++i)
                left = binary(op, std::move(left), std::move(terms[i]));
            return left;
        }
        return balanced(op, terms, 0, terms.size());
    }

    Expr balanced(BinOp op, std::vector<Expr>& terms, std::size_t from, std::size_t to) const {
        if (to - from == 1)
            return std::move(terms[from]);
        const std::size_t middle = from + (to - from) / 2;
        Expr left = balanced(op, terms, from, middle);
        Expr right = balanced(op, terms, middle, to);
        const std::size_t end = right.end;
        Expr e = binary(op, std::move(left), std::move(right));
        e.end = end;
        return e;
    }

    // `first` op term op term ...: runs of `chained` are chains; `other` (not
    // associative) joins what stands on its left with the next term.
    template <class Term>
    Expr parseChain(const char* chainedSymbol, BinOp chained, const char* otherSymbol, BinOp other,
                    Term term) {
        std::vector<Expr> terms;
        terms.push_back(term());
        while (true) {
            if (accept(chainedSymbol)) {
                terms.push_back(term());
            } else if (otherSymbol && accept(otherSymbol)) {
                Expr left = chain(chained, std::move(terms));
                terms.clear();
                terms.push_back(binary(other, std::move(left), term()));
            } else {
                return chain(chained, std::move(terms));
            }
        }
    }

    Expr parseExpr() {
        return parseChain("OR", BinOp::Or, nullptr, BinOp::Or, [this] { return parseAnd(); });
    }

    Expr parseAnd() {
        return parseChain("AND", BinOp::And, nullptr, BinOp::And, [this] { return parseNot(); });
    }

    Expr parseNot() {
        const std::size_t begin = peek().begin;
        if (!accept("NOT"))
            return parseComparison();
        const Nested level(*this);
        Expr e = node(ExprKind::Not, begin);
        e.args.push_back(parseNot());
        return finish(std::move(e));
    }

    Expr parseComparison() {
        Expr left = parseAdditive();
        static constexpr std::pair<const char*, BinOp> ops[] = {
            {"=", BinOp::Eq}, {"<>", BinOp::Ne}, {"!=", BinOp::Ne}, {"<", BinOp::Lt},
            {">", BinOp::Gt}, {"<=", BinOp::Le}, {">=", BinOp::Ge}};
        for (const auto& [symbol, op] : ops)
            if (accept(symbol))
                return binary(op, std::move(left), parseAdditive());
        if (accept("IS")) {
            Expr e = node(ExprKind::IsNull, left.begin);
            e.negated = accept("NOT");
            expect("NULL");
            e.args.push_back(std::move(left));
            return finish(std::move(e));
        }
        return left;
    }

    Expr parseAdditive() {
        return parseChain("+", BinOp::Add, "-", BinOp::Sub,
                          [this] { return parseMultiplicative(); });
    }

    Expr parseMultiplicative() {
        return parseChain("*", BinOp::Mul, "/", BinOp::Div, [this] { return parseUnary(); });
    }

    Expr parseUnary() {
        const std::size_t begin = peek().begin;
        if (accept("+")) {
            const Nested level(*this);
            return parseUnary();
        }
        if (!accept("-"))
            return parsePrimary();
        const Nested level(*this);
        Expr operand = parseUnary();
        if (operand.kind == ExprKind::Literal) {
            if (auto* i = std::get_if<std::int32_t>(&operand.value)) {
                *i = -*i;
                operand.begin = begin;
                return operand;
            }
            if (auto* d = std::get_if<double>(&operand.value)) {
                *d = -*d;
                operand.begin = begin;
                return operand;
            }
        }
        Expr e = node(ExprKind::Negate, begin);
        e.args.push_back(std::move(operand));
        return finish(std::move(e));
    }

    Expr parsePrimary() {
        const Token& t = peek();
        if (t.kind == TokenKind::Number)
            return numberLiteral(take());
        if (t.kind == TokenKind::Text) {
            Expr e = node(ExprKind::Literal, t.begin);
            e.value = take().text;
            e.emptyText = std::get<std::string>(e.value).empty();
            return finish(std::move(e));
        }
        if (t.kind == TokenKind::Param) {
            Expr e = node(ExprKind::Param, t.begin);
            e.name = take().text;
            noteParam(e.name);
            return finish(std::move(e));
        }
        if (accept("(")) {
            const Nested level(*this);
            Expr inner = parseExpr();
            expect(")");
            return inner;
        }
        if (t.is("TRUE") || t.is("FALSE") || t.is("NULL")) {
            Expr e = node(ExprKind::Literal, t.begin);
            if (!t.is("NULL"))
                e.value = t.is("TRUE");
            take();
            return finish(std::move(e));
        }
        if (t.kind == TokenKind::Name && peek(1).is("(")) {
            if (auto func = aggregateNamed(t.text))
                return parseAggregate(*func);
            failAt(text_, peek(1).begin, "ismeretlen függvény: " + t.text);
        }
        if (!atName())
            fail("kifejezés kellene");
        return parseColumn();
    }

    Expr numberLiteral(const Token& t) {
        Expr e = node(ExprKind::Literal, t.begin);
        const bool whole = t.text.find_first_of(".eE") == std::string::npos;
        const auto asInt = whole ? sys::tryParseInt(t.text) : std::nullopt;
        if (asInt) {
            e.value = *asInt;
        } else if (const auto asFloat = sys::tryParseFloat(t.text)) {
            e.value = *asFloat;
        } else {
            failAt(text_, t.begin, "a szám kívül esik a megengedett tartományon");
        }
        return finish(std::move(e));
    }

    Expr parseColumn() {
        Expr e = node(ExprKind::Column, peek().begin);
        e.name = take().text;
        if (accept(".")) {
            e.qualifier = std::move(e.name);
            e.name = takeName("mezőnév");
        }
        return finish(std::move(e));
    }

    Expr parseAggregate(AggFunc func) {
        const Nested level(*this);
        Expr e = node(ExprKind::Aggregate, peek().begin);
        e.func = func;
        const std::string funcName = sys::toUpper(take().text);
        const Token& open = expect("(");
        const std::size_t openEnd = open.end;
        const std::size_t firstArgToken = pos_;
        if (func == AggFunc::Count && accept("*")) {
            e.star = true;
        } else {
            e.distinct = accept("DISTINCT");
            e.args.push_back(parseExpr());
        }
        const std::size_t lastArgToken = pos_;
        expect(")");
        e.resultName = funcName + " OF" + argumentName(openEnd, firstArgToken, lastArgToken);
        if (e.resultName.size() > kMaxNameLength)
            e.resultName.resize(kMaxNameLength);
        return finish(std::move(e));
    }

    // The argument as the engine names it: as written, without DISTINCT, table
    // qualifiers and parentheses, blanks between tokens reduced to one, the blanks after
    // the opening parenthesis kept (at least one): "SUM(   (a.X * b.Y) / 10)" gives
    // "   X * Y / 10".
    std::string argumentName(std::size_t openEnd, std::size_t first, std::size_t last) const {
        const std::string_view lead = text_.substr(openEnd, tokens_[first].begin - openEnd);
        std::string out(std::max<std::size_t>(1, std::count(lead.begin(), lead.end(), ' ')), ' ');
        bool firstKept = true;
        bool separated = false;
        for (std::size_t i = first; i < last; ++i) {
            const Token& t = tokens_[i];
            if (i > first) {
                const std::string_view gap =
                    text_.substr(tokens_[i - 1].end, t.begin - tokens_[i - 1].end);
                separated = separated || gap.find_first_of(" \t\r\n") != std::string_view::npos;
            }
            const bool qualifier = (t.kind == TokenKind::Name || t.kind == TokenKind::QuotedName) &&
                                   i + 1 < last && tokens_[i + 1].is(".");
            if (t.is("(") || t.is(")") || t.is(".") || t.is("DISTINCT") || qualifier)
                continue;
            if (!firstKept && separated)
                out += ' ';
            firstKept = false;
            separated = false;
            out += t.kind == TokenKind::QuotedName
                       ? t.text
                       : std::string(text_.substr(t.begin, t.end - t.begin));
        }
        return out;
    }

    void noteParam(const std::string& name) {
        for (const std::string& p : params_)
            if (sys::equalsNoCase(p, name))
                return;
        params_.push_back(name);
    }

    // --- ALTER TABLE --------------------------------------------------------------------
    AlterStmt parseAlter() {
        AlterStmt a;
        expect("ALTER");
        expect("TABLE");
        a.tableBegin = peek().begin;
        a.table = parseFromPrimary().table;
        expect("ADD");
        do {
            accept("ADD");
            FieldDef f;
            f.name = takeName("mezőnév");
            parseType(f);
            a.added.push_back(std::move(f));
        } while (accept(","));
        return a;
    }

    int parseSize() {
        const Token& t = peek();
        const auto n = t.kind == TokenKind::Number ? sys::tryParseInt(t.text) : std::nullopt;
        if (!n)
            fail("méret kellene");
        take();
        return *n;
    }

    void parseType(FieldDef& f) {
        const Token& t = peek();
        if (t.kind != TokenKind::Name)
            fail("mezőtípus kellene");
        static constexpr std::pair<const char*, FieldType> simple[] = {
            {"INTEGER", FieldType::Long},        {"INT", FieldType::Long},
            {"SMALLINT", FieldType::Short},      {"DATE", FieldType::Date},
            {"BOOLEAN", FieldType::Logical},     {"FLOAT", FieldType::Number},
            {"MONEY", FieldType::Currency},      {"TIME", FieldType::Time},
            {"TIMESTAMP", FieldType::Timestamp}, {"AUTOINC", FieldType::AutoInc}};
        for (const auto& [name, type] : simple) {
            if (t.is(name)) {
                take();
                f.type = type;
                f.size = storedSize(type, 0);
                return;
            }
        }
        if (t.is("CHAR") || t.is("VARCHAR") || t.is("CHARACTER")) {
            take();
            expect("(");
            f.type = FieldType::Alpha;
            f.size = parseSize();
            if (f.size < 1 || f.size > 255)
                failAt(text_, tokens_[pos_ - 1].begin, "egy szöveges mező 1–255 karakteres lehet");
            expect(")");
            return;
        }
        if (t.is("NUMERIC") || t.is("DECIMAL")) {
            take();
            f.type = FieldType::Bcd;
            f.size = storedSize(FieldType::Bcd, 0);
            if (accept("(")) {
                parseSize();
                if (accept(","))
                    f.decimals = parseSize();
                expect(")");
            }
            return;
        }
        fail("ismeretlen mezőtípus");
    }

    std::string_view text_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int depth_ = 0; // levels of recursion now open
    int joins_ = 0;
    std::vector<std::string> params_;
};

} // namespace

std::unique_ptr<Statement::Ast> parseStatement(std::string_view text) {
    return Parser(text).run();
}

} // namespace db::sql
