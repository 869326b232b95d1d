// Differential tests of our local SQL against SQLite: the same rows in our tables and in
// an in-memory SQLite database, the same generated statements run on both, and the
// answers compared (column count; rows as multisets, and the sequence of ORDER BY keys
// where the statement orders; numbers with a tolerance; NULL equals NULL).
//
// The statements are generated from fixed seeds, so a failure repeats; its message
// shows the statement, its parameters and both answers.
//
// Where the two dialects differ on purpose the generator stays away:
// - '' and NULL: our engine stores an empty text as NULL and `= ''` matches NULL text;
//   no empty text is stored or written as a literal.
// - Quoted numbers: no text is compared with a number (the dialects coerce differently).
// - Column names of the result: never compared (ours are named as the original engine
//   named them, "SUM OF Ter", Nev_1, ...).
// - Text order: ours is dictionary order (accents after their base letters, lower case
//   before upper), SQLite's is by bytes. Text is compared only with = and <> and IN, and
//   grouped and made DISTINCT, never ordered: no <, >, BETWEEN, MIN or MAX on text, and
//   ORDER BY names only number, date and logical columns.
// - Where NULLs sort: every ORDER BY column is also required IS NOT NULL.
// - Division: `/` is applied only with a float divisor (2.0, 4.0, 0.5), never to two
//   whole numbers, and never by zero.
// - SUM of no values: SQLite gives NULL. SUM appears only with GROUP BY, and the WHERE
//   clause then requires the summed columns IS NOT NULL, so no group sums nothing.
// - Date literals and date arithmetic: SQLite has no date type (dates are day numbers
//   there); a date is compared only with another date column or a :parameter.
// - Logicals: compared only with a :parameter (TRUE/FALSE literals, arithmetic and
//   MIN/MAX on logicals are left out).
// - Text functions (UPPER, LOWER, SUBSTRING, LIKE, ||): their case rules for accented
//   letters differ.
// - Whole-number overflow: ours works in 32 bits, SQLite in 64; the values and the
//   arithmetic (a product is only ever by a small literal) stay far below 2^31.

#include "platform/db/session.h"
#include "platform/db/sql/sql.h"
#include "support/sqlite_mirror.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <variant>
#include <vector>

using namespace db;

namespace {

// ---- deterministic randomness ---------------------------------------------------

class Rng {
public:
    explicit Rng(std::uint64_t seed) : engine_(seed) {}
    // 0 .. n-1
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(engine_() % n); }
    int range(int lo, int hi) {
        return lo + static_cast<int>(below(static_cast<std::size_t>(hi - lo + 1)));
    }
    bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }
    template <class T>
    const T& pick(const std::vector<T>& v) {
        return v[below(v.size())];
    }

private:
    std::mt19937_64 engine_; // its output sequence is fixed by the standard
};

// ---- the tables -------------------------------------------------------------------

enum class Kind { Text, Int, Float, Date, Logical };

bool isNumeric(Kind k) {
    return k == Kind::Int || k == Kind::Float;
}

struct Column {
    std::string name;
    Kind kind;
    FieldType type;
    int size = 0;
    bool key = false;
    int lo = 0, hi = 0; // whole numbers: the range of the data
};

struct TableModel {
    std::string name;
    std::vector<Column> columns;
    int keyFields = 0;
};

// Text with Hungarian letters, with pairs that differ only in case or accent; an
// apostrophe to quote. Words past kDataWords never occur in the data.
const std::vector<std::string> kWords = {
    "őszi búza", "kukorica", "Árpa",    "árpa",        "napraforgó", "Zab",   "zab",   "cukorrépa",
    "Ősz",       "ősz",      "lucerna", "tönköly",     "Éva",        "Ürmös", "űr",    "szója",
    "O'Brien",   "öntözés",  "Öntözés", "Kovács Ödön", "rozs",       "Ürü",   "tökmag"};
constexpr std::size_t kDataWords = 20;

constexpr int kFirstDay = 733408; // 2009-01-01

std::vector<TableModel> tableModels() {
    auto text = [](const char* name, bool key = false) {
        return Column{name, Kind::Text, FieldType::Alpha, 24, key};
    };
    auto whole = [](const char* name, int lo, int hi, bool key = false,
                    FieldType type = FieldType::Long) {
        return Column{name, Kind::Int, type, 0, key, lo, hi};
    };
    auto number = [](const char* name) { return Column{name, Kind::Float, FieldType::Number}; };
    auto date = [](const char* name) { return Column{name, Kind::Date, FieldType::Date}; };
    auto logical = [](const char* name) { return Column{name, Kind::Logical, FieldType::Logical}; };
    Column kod = text("Kod", true);
    kod.size = 6;
    Column parckod = text("Parckod");
    parckod.size = 6;
    return {
        // keyed on a text code
        {"Parcella",
         {kod, text("Nev"), whole("Evj", 2008, 2011), number("Ter"), date("Datum"),
          logical("Aktiv"), whole("Sor", 0, 6, false, FieldType::Short)},
         1},
        // unkeyed, with repeated rows
        {"Muvelet",
         {parckod, text("Tipus"), number("Menny"), whole("Darab", -5, 40), date("Datum"),
          logical("Kesz")},
         0},
        // keyed on a whole number
        {"Agazat",
         {whole("Kod", 0, 40, true), text("Nev"), whole("Evj", 2008, 2011), number("Szorzo")},
         1},
        // unkeyed, few distinct values
        {"Cimke", {text("Nev"), whole("Ertek", 0, 6), number("Arany")}, 0},
    };
}

// Columns that join: both sides hold values from the same pool.
struct Relation {
    std::string leftTable, leftColumn, rightTable, rightColumn;
};

const std::vector<Relation> kRelations = {
    {"Parcella", "Kod", "Muvelet", "Parckod"}, {"Parcella", "Evj", "Agazat", "Evj"},
    {"Muvelet", "Darab", "Agazat", "Kod"},     {"Parcella", "Nev", "Cimke", "Nev"},
    {"Muvelet", "Tipus", "Cimke", "Nev"},      {"Parcella", "Sor", "Cimke", "Ertek"},
    {"Parcella", "Datum", "Muvelet", "Datum"}, {"Parcella", "Evj", "Parcella", "Evj"},
    {"Agazat", "Evj", "Agazat", "Evj"},
};

Value randomValue(Rng& rng, const Column& c) {
    if (!c.key && rng.chance(12))
        return Null{};
    switch (c.kind) {
    case Kind::Text:
        return kWords[rng.below(kDataWords)];
    case Kind::Int:
        return static_cast<std::int32_t>(rng.range(c.lo, c.hi));
    case Kind::Float:
        return rng.range(-80, 800) / 8.0; // exact in binary
    case Kind::Date:
        return Date{kFirstDay + rng.range(0, 59) * 7};
    case Kind::Logical:
        return rng.chance(50);
    }
    return Null{};
}

std::string code(int n) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "P%03d", n);
    return buf;
}

// Writes the four tables into our session and SQLite alike.
void fillTables(Session& session, testsql::SqliteMirror& sqlite) {
    testsql::MirroredTables both(session, sqlite);
    Rng rng(20240611);
    const std::vector<TableModel> models = tableModels();
    for (const TableModel& m : models) {
        TableSchema schema;
        for (const Column& c : m.columns)
            schema.fields.push_back({c.name, c.type, storedSize(c.type, c.size), 0});
        schema.keyFields = m.keyFields;
        both.create(m.name, schema);
    }

    // Parcella: 40 of the codes P000..P049, in random order.
    std::vector<int> codes(50);
    for (int i = 0; i < 50; ++i)
        codes[static_cast<std::size_t>(i)] = i;
    for (std::size_t i = codes.size() - 1; i > 0; --i)
        std::swap(codes[i], codes[rng.below(i + 1)]);
    for (std::size_t i = 0; i < 40; ++i) {
        const std::vector<Column>& columns = models[0].columns;
        Record r(columns.size());
        for (std::size_t f = 0; f < columns.size(); ++f)
            r[f] = columns[f].name == "Kod" ? Value(code(codes[i])) : randomValue(rng, columns[f]);
        both.insert("Parcella", r);
    }

    // Muvelet: 90 rows, codes P000..P054 (some without a parcel), a tenth repeated.
    std::vector<Record> muvelet;
    for (int i = 0; i < 90; ++i) {
        const std::vector<Column>& columns = models[1].columns;
        Record r(columns.size());
        if (!muvelet.empty() && rng.chance(10)) {
            r = muvelet[rng.below(muvelet.size())];
        } else {
            for (std::size_t f = 0; f < columns.size(); ++f) {
                if (columns[f].name != "Parckod")
                    r[f] = randomValue(rng, columns[f]);
                else if (!rng.chance(10))
                    r[f] = code(rng.range(0, 54));
            }
        }
        muvelet.push_back(r);
        both.insert("Muvelet", r);
    }

    // Agazat: 14 distinct keys from 0..40.
    std::vector<int> keys(41);
    for (int i = 0; i <= 40; ++i)
        keys[static_cast<std::size_t>(i)] = i;
    for (std::size_t i = keys.size() - 1; i > 0; --i)
        std::swap(keys[i], keys[rng.below(i + 1)]);
    for (std::size_t i = 0; i < 14; ++i) {
        const std::vector<Column>& columns = models[2].columns;
        Record r(columns.size());
        for (std::size_t f = 0; f < columns.size(); ++f)
            r[f] = columns[f].name == "Kod" ? Value(static_cast<std::int32_t>(keys[i]))
                                            : randomValue(rng, columns[f]);
        both.insert("Agazat", r);
    }

    // Cimke: 25 rows over eight words, many repeated.
    for (int i = 0; i < 25; ++i) {
        Record r(3);
        if (!rng.chance(12))
            r[0] = kWords[rng.below(8)];
        r[1] = randomValue(rng, models[3].columns[1]);
        if (!rng.chance(12))
            r[2] = rng.range(0, 16) / 4.0;
        both.insert("Cimke", r);
    }
}

// ---- the query generator ----------------------------------------------------------

enum class OutKind { Text, Number, Date, Logical };

OutKind outKind(Kind k) {
    switch (k) {
    case Kind::Text:
        return OutKind::Text;
    case Kind::Date:
        return OutKind::Date;
    case Kind::Logical:
        return OutKind::Logical;
    default:
        return OutKind::Number;
    }
}

struct Query {
    std::string sql;
    std::map<std::string, Value> params;
    std::vector<OutKind> kinds;            // of each result column
    std::vector<std::size_t> orderColumns; // result columns of the ORDER BY, in order
};

enum class FromShape { Single, InnerJoin, CommaJoin, LeftChain, MixedJoin };

struct Instance {
    std::string alias;
    const TableModel* table;
};

struct ColRef {
    std::string alias;
    const Column* column;
    std::string text() const { return alias + "." + column->name; }
};

struct Expr {
    std::string text;
    bool isFloat = false;
    std::vector<ColRef> columns;
};

struct Item {
    std::string text;
    OutKind kind;
    std::optional<ColRef> column; // a plain column reference
};

std::string floatLiteral(int eighths) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.3f", eighths / 8.0);
    return buf;
}

std::string textLiteral(const std::string& s) {
    std::string out = "'";
    for (char c : s) {
        if (c == '\'')
            out += '\'';
        out += c;
    }
    return out + "'";
}

class QueryGenerator {
public:
    QueryGenerator(std::uint64_t seed) : rng_(seed), tables_(tableModels()) {}

    // SELECT [DISTINCT] columns and arithmetic [WHERE] [ORDER BY].
    Query plain(FromShape shape) {
        begin();
        const std::string from = buildFrom(shape);
        std::vector<Item> items;
        std::string select = "SELECT ";
        if (shape == FromShape::Single && rng_.chance(8)) {
            for (const Column& c : scope_[0].table->columns)
                items.push_back({"", outKind(c.kind), ColRef{scope_[0].alias, &c}});
            select += rng_.chance(30) ? "DISTINCT *" : "*";
        } else {
            const int count = rng_.range(1, 5);
            for (int i = 0; i < count; ++i) {
                if (rng_.chance(70)) {
                    const ColRef c = anyColumn([](const Column&) { return true; });
                    items.push_back({c.text(), outKind(c.column->kind), c});
                } else {
                    const Expr e = numeric(2);
                    items.push_back({e.text + " AS X" + std::to_string(i), OutKind::Number, {}});
                }
            }
            if (rng_.chance(25))
                select += "DISTINCT ";
            select += joinItems(items);
        }
        if (rng_.chance(70))
            where_.push_back(predicate(3));
        const std::string order = orderBy(items); // before the WHERE clause: it adds to it
        return finish(select + " " + from + whereClause() + order, items);
    }

    // SELECT grouping columns and aggregates ... GROUP BY [HAVING] [ORDER BY].
    Query grouped(FromShape shape) {
        begin();
        const std::string from = buildFrom(shape);
        std::vector<Item> items;
        std::vector<std::string> groupBy;
        const int groups = rng_.range(1, 2);
        for (int i = 0; i < groups; ++i) {
            const ColRef c = anyColumn([](const Column&) { return true; });
            if (std::find(groupBy.begin(), groupBy.end(), c.text()) != groupBy.end())
                continue;
            groupBy.push_back(c.text());
            items.push_back({c.text(), outKind(c.column->kind), c});
        }
        const int aggregates = rng_.range(1, 3);
        for (int i = 0; i < aggregates; ++i)
            items.push_back(aggregate(true, "A" + std::to_string(i)));
        for (std::size_t i = items.size() - 1; i > 0; --i)
            std::swap(items[i], items[rng_.below(i + 1)]);
        if (rng_.chance(60))
            where_.push_back(predicate(2));
        std::string groupList;
        for (std::size_t i = 0; i < groupBy.size(); ++i)
            groupList += (i ? ", " : "") + groupBy[i];
        // HAVING and ORDER BY may add IS NOT NULL conditions: the WHERE clause comes last.
        const std::string having = rng_.chance(40) ? " HAVING " + havingCondition(2) : "";
        const std::string order = orderBy(items);
        const std::string sql = "SELECT " + joinItems(items) + " " + from + whereClause() +
                                " GROUP BY " + groupList + having + order;
        return finish(sql, items);
    }

    // Aggregates over the whole (filtered) FROM, no GROUP BY: no SUM (see the top).
    Query aggregatesOnly(FromShape shape) {
        begin();
        const std::string from = buildFrom(shape);
        std::vector<Item> items;
        const int aggregates = rng_.range(1, 4);
        for (int i = 0; i < aggregates; ++i)
            items.push_back(aggregate(false, "A" + std::to_string(i)));
        if (rng_.chance(75))
            where_.push_back(predicate(3));
        return finish("SELECT " + joinItems(items) + " " + from + whereClause(), items);
    }

    FromShape randomJoinShape() {
        static const std::vector<FromShape> shapes = {FromShape::InnerJoin, FromShape::CommaJoin,
                                                      FromShape::LeftChain, FromShape::MixedJoin};
        return rng_.pick(shapes);
    }

private:
    void begin() {
        scope_.clear();
        where_.clear();
        params_.clear();
        aliasCount_.clear();
    }

    Query finish(const std::string& sql, const std::vector<Item>& items) {
        Query q;
        q.sql = sql;
        q.params = params_;
        for (const Item& i : items)
            q.kinds.push_back(i.kind);
        q.orderColumns = orderColumns_;
        orderColumns_.clear();
        return q;
    }

    static std::string joinItems(const std::vector<Item>& items) {
        std::string out;
        for (std::size_t i = 0; i < items.size(); ++i)
            out += (i ? ", " : "") + items[i].text;
        return out;
    }

    std::string whereClause() const {
        if (where_.empty())
            return "";
        std::string out = " WHERE ";
        for (std::size_t i = 0; i < where_.size(); ++i)
            out += (i ? " AND (" : "(") + where_[i] + ")";
        return out;
    }

    // ORDER BY 1-2 result columns that are plain number, date or logical columns; each
    // is also required IS NOT NULL.
    std::string orderBy(const std::vector<Item>& items) {
        orderColumns_.clear();
        if (!rng_.chance(45))
            return "";
        std::vector<std::size_t> candidates;
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].column && items[i].kind != OutKind::Text)
                candidates.push_back(i);
        if (candidates.empty())
            return "";
        const std::size_t keys = std::min<std::size_t>(candidates.size(), rng_.below(2) + 1);
        std::string out = " ORDER BY ";
        std::vector<std::string> used;
        for (std::size_t k = 0; k < keys; ++k) {
            const std::size_t at = candidates[rng_.below(candidates.size())];
            const std::string name = items[at].column->text();
            if (std::find(used.begin(), used.end(), name) != used.end())
                continue;
            used.push_back(name);
            orderColumns_.push_back(at);
            out += (used.size() > 1 ? ", " : "") + name + (rng_.chance(40) ? " DESC" : "");
            where_.push_back(name + " IS NOT NULL");
        }
        return out;
    }

    const TableModel& table(const std::string& name) const {
        for (const TableModel& t : tables_)
            if (t.name == name)
                return t;
        throw std::logic_error("no table " + name);
    }

    static const Column& column(const TableModel& t, const std::string& name) {
        for (const Column& c : t.columns)
            if (c.name == name)
                return c;
        throw std::logic_error("no column " + name);
    }

    const Instance& addInstance(const TableModel& t) {
        const int n = ++aliasCount_[t.name];
        scope_.push_back({t.name.substr(0, 1) + std::to_string(n), &t});
        return scope_.back();
    }

    // Joins a new table to one already in scope; returns the join condition.
    std::string joinNext() {
        struct Candidate {
            std::size_t instance;
            const Relation* relation;
            bool leftSideInScope;
        };
        std::vector<Candidate> candidates;
        for (std::size_t i = 0; i < scope_.size(); ++i)
            for (const Relation& r : kRelations) {
                if (r.leftTable == scope_[i].table->name)
                    candidates.push_back({i, &r, true});
                if (r.rightTable == scope_[i].table->name)
                    candidates.push_back({i, &r, false});
            }
        const Candidate c = rng_.pick(candidates);
        const std::string oldAlias = scope_[c.instance].alias;
        const std::string& oldColumn =
            c.leftSideInScope ? c.relation->leftColumn : c.relation->rightColumn;
        const Instance& added =
            addInstance(table(c.leftSideInScope ? c.relation->rightTable : c.relation->leftTable));
        const std::string& newColumn =
            c.leftSideInScope ? c.relation->rightColumn : c.relation->leftColumn;
        std::string condition = oldAlias + "." + oldColumn + " = " + added.alias + "." + newColumn;
        if (rng_.chance(25)) // on the new table's columns, or now and then on earlier ones
            condition += " AND " + atomOn(rng_.chance(70) ? added.alias : rng_.pick(scope_).alias);
        return condition;
    }

    std::string buildFrom(FromShape shape) {
        const TableModel& first = rng_.pick(tables_);
        const Instance& start = addInstance(first);
        std::string from = "FROM " + first.name + " " + start.alias;
        if (shape == FromShape::Single)
            return from;
        int joins = 1 + (rng_.chance(40) ? 1 : 0);
        if (shape == FromShape::LeftChain && rng_.chance(25))
            ++joins;
        for (int j = 0; j < joins; ++j) {
            const std::string condition = joinNext();
            const Instance& added = scope_.back();
            const std::string ref = added.table->name + " " + added.alias;
            switch (shape) {
            case FromShape::CommaJoin:
                from += ", " + ref;
                where_.push_back(condition);
                break;
            case FromShape::InnerJoin:
                from += " INNER JOIN " + ref + " ON " + condition;
                break;
            case FromShape::LeftChain:
                from += " LEFT OUTER JOIN " + ref + " ON " + condition;
                break;
            default:
                from += (rng_.chance(50) ? " LEFT OUTER JOIN " : " INNER JOIN ") + ref + " ON " +
                        condition;
                break;
            }
        }
        return from;
    }

    template <class Pred>
    std::optional<ColRef> findColumn(Pred pred, const std::string& alias = "") {
        std::vector<ColRef> found;
        for (const Instance& i : scope_) {
            if (!alias.empty() && i.alias != alias)
                continue;
            for (const Column& c : i.table->columns)
                if (pred(c))
                    found.push_back({i.alias, &c});
        }
        if (found.empty())
            return std::nullopt;
        return rng_.pick(found);
    }

    template <class Pred>
    ColRef anyColumn(Pred pred) {
        return *findColumn(pred);
    }

    ColRef numericColumn(const std::string& alias = "") {
        return *findColumn([](const Column& c) { return isNumeric(c.kind); }, alias);
    }

    std::string param(Value v) {
        const std::string name = "P" + std::to_string(params_.size() + 1);
        params_[name] = std::move(v);
        return ":" + name;
    }

    // A number literal near the data of a column.
    std::string literalFor(const Column& c) {
        if (c.kind == Kind::Int)
            return std::to_string(rng_.range(c.lo - 2, c.hi + 2));
        return floatLiteral(rng_.range(-80, 800));
    }

    std::string smallLiteral() {
        if (rng_.chance(50))
            return std::to_string(rng_.range(0, 5));
        return floatLiteral(rng_.range(1, 24));
    }

    // Arithmetic over number columns: + and - between expressions, * by a small literal,
    // / by a float power of two.
    Expr numeric(int depth) {
        if (depth == 0 || rng_.chance(45)) {
            const ColRef c = numericColumn();
            return {c.text(), c.column->kind == Kind::Float, {c}};
        }
        Expr a = numeric(depth - 1);
        switch (rng_.below(5)) {
        case 0:
        case 1: {
            Expr b = numeric(depth - 1);
            a.text = "(" + a.text + (rng_.chance(50) ? " + " : " - ") + b.text + ")";
            a.isFloat = a.isFloat || b.isFloat;
            a.columns.insert(a.columns.end(), b.columns.begin(), b.columns.end());
            return a;
        }
        case 2: {
            const std::string lit = smallLiteral();
            a.text = "(" + a.text + " * " + lit + ")";
            a.isFloat = a.isFloat || lit.find('.') != std::string::npos;
            return a;
        }
        case 3: {
            static const std::vector<std::string> divisors = {"2.0", "4.0", "0.5"};
            a.text = "(" + a.text + " / " + rng_.pick(divisors) + ")";
            a.isFloat = true;
            return a;
        }
        default: {
            const std::string lit = literalFor(*a.columns.front().column);
            a.text = "(" + a.text + (rng_.chance(50) ? " + " : " - ") + lit + ")";
            return a;
        }
        }
    }

    std::string comparison() {
        static const std::vector<std::string> ops = {"=", "<>", "<", "<=", ">", ">="};
        return rng_.pick(ops);
    }

    // A simple condition on the columns of one table instance (for ON clauses).
    std::string atomOn(const std::string& alias) {
        const ColRef c = numericColumn(alias);
        return c.text() + " " + comparison() + " " + literalFor(*c.column);
    }

    std::string predicate(int depth) {
        if (depth > 0 && rng_.chance(40)) {
            switch (rng_.below(3)) {
            case 0:
                return "(" + predicate(depth - 1) + ") AND (" + predicate(depth - 1) + ")";
            case 1:
                return "(" + predicate(depth - 1) + ") OR (" + predicate(depth - 1) + ")";
            default:
                return "NOT (" + predicate(depth - 1) + ")";
            }
        }
        return atom();
    }

    std::string atom() {
        switch (rng_.below(11)) {
        case 3: {
            const ColRef c = anyColumn([](const Column&) { return true; });
            return c.text() + (rng_.chance(50) ? " IS NULL" : " IS NOT NULL");
        }
        case 4: {
            const auto c = findColumn([](const Column& x) { return x.kind == Kind::Text; });
            if (!c)
                break;
            const auto other = findColumn([](const Column& x) { return x.kind == Kind::Text; });
            const std::string op = rng_.chance(70) ? " = " : " <> ";
            if (other && other->text() != c->text() && rng_.chance(25))
                return c->text() + op + other->text();
            std::string word = rng_.pick(kWords);
            if (c->column->name == "Kod" || c->column->name == "Parckod")
                word = code(rng_.range(0, 54));
            return c->text() + op + textLiteral(word);
        }
        case 5: {
            const auto c = findColumn([](const Column& x) { return x.kind == Kind::Date; });
            if (!c)
                break;
            const auto other = findColumn([](const Column& x) { return x.kind == Kind::Date; });
            if (other && other->text() != c->text() && rng_.chance(30))
                return c->text() + " " + comparison() + " " + other->text();
            return c->text() + " " + comparison() + " " +
                   param(Date{kFirstDay + rng_.range(-3, 62) * 7 + (rng_.chance(20) ? 1 : 0)});
        }
        case 6: {
            const auto c = findColumn([](const Column& x) { return x.kind == Kind::Logical; });
            if (!c)
                break;
            return c->text() + (rng_.chance(80) ? " = " : " <> ") + param(rng_.chance(50));
        }
        case 7: {
            const ColRef c = numericColumn();
            const std::string a = literalFor(*c.column);
            const std::string b = literalFor(*c.column);
            const bool aFirst = std::stod(a) <= std::stod(b);
            return c.text() + (rng_.chance(20) ? " NOT BETWEEN " : " BETWEEN ") + (aFirst ? a : b) +
                   " AND " + (aFirst ? b : a);
        }
        case 8: {
            const auto c = findColumn(
                [](const Column& x) { return x.kind == Kind::Int || x.kind == Kind::Text; });
            std::string list;
            const int n = rng_.range(1, 4);
            for (int i = 0; i < n; ++i) {
                if (i)
                    list += ", ";
                if (c->column->kind == Kind::Int)
                    list += literalFor(*c->column);
                else if (c->column->name == "Kod" || c->column->name == "Parckod")
                    list += textLiteral(code(rng_.range(0, 54)));
                else
                    list += textLiteral(rng_.pick(kWords));
            }
            return c->text() + (rng_.chance(20) ? " NOT IN (" : " IN (") + list + ")";
        }
        case 9: {
            const Expr a = numeric(1);
            const Expr b = numeric(1);
            return a.text + " " + comparison() + " " + b.text;
        }
        default:
            break;
        }
        const Expr e = numeric(2);
        return e.text + " " + comparison() + " " + literalFor(*e.columns.front().column);
    }

    // COUNT(*), COUNT(col), COUNT(DISTINCT col), SUM (only when grouped), AVG, MIN, MAX.
    Item aggregate(bool grouped, const std::string& alias) {
        const std::string as = rng_.chance(50) ? " AS " + alias : "";
        switch (rng_.below(grouped ? 7 : 6)) {
        case 0:
            return {"COUNT(*)" + as, OutKind::Number, {}};
        case 1: {
            const ColRef c = anyColumn([](const Column&) { return true; });
            return {"COUNT(" + c.text() + ")" + as, OutKind::Number, {}};
        }
        case 2: {
            const ColRef c = anyColumn([](const Column&) { return true; });
            return {"COUNT(DISTINCT " + c.text() + ")" + as, OutKind::Number, {}};
        }
        case 3: {
            const ColRef c = numericColumn();
            return {"AVG(" + c.text() + ")" + as, OutKind::Number, {}};
        }
        case 4:
        case 5: {
            const ColRef c = anyColumn(
                [](const Column& x) { return isNumeric(x.kind) || x.kind == Kind::Date; });
            return {std::string(rng_.chance(50) ? "MIN(" : "MAX(") + c.text() + ")" + as,
                    outKind(c.column->kind),
                    {}};
        }
        default:
            return {sum() + as, OutKind::Number, {}};
        }
    }

    // SUM of a column or of arithmetic; its columns are required IS NOT NULL.
    std::string sum() {
        const Expr e = rng_.chance(70) ? Expr{} : numeric(1);
        Expr arg = e;
        if (arg.text.empty()) {
            const ColRef c = numericColumn();
            arg = {c.text(), c.column->kind == Kind::Float, {c}};
        }
        for (const ColRef& c : arg.columns) {
            const std::string condition = c.text() + " IS NOT NULL";
            if (std::find(where_.begin(), where_.end(), condition) == where_.end())
                where_.push_back(condition);
        }
        return "SUM(" + arg.text + ")";
    }

    std::string havingCondition(int depth) {
        if (depth > 0 && rng_.chance(30))
            return "(" + havingCondition(depth - 1) + (rng_.chance(50) ? ") AND (" : ") OR (") +
                   havingCondition(depth - 1) + ")";
        switch (rng_.below(5)) {
        case 0:
            return "COUNT(*) " + comparison() + " " + std::to_string(rng_.range(0, 4));
        case 1:
            return sum() + " " + comparison() + " " + floatLiteral(rng_.range(-80, 2400));
        case 2: {
            const ColRef c = numericColumn();
            return std::string(rng_.chance(50) ? "MIN(" : "MAX(") + c.text() + ") " + comparison() +
                   " " + literalFor(*c.column);
        }
        case 3: {
            // Odd hundredths: an average of eighths never equals it exactly.
            const ColRef c = numericColumn();
            char buf[32];
            std::snprintf(buf, sizeof buf, "%d.%02d", rng_.range(-5, 60),
                          2 * rng_.range(0, 49) + 1);
            return "AVG(" + c.text() + ")" + (rng_.chance(50) ? " > " : " < ") + buf;
        }
        default: {
            const ColRef c = anyColumn([](const Column&) { return true; });
            return "COUNT(DISTINCT " + c.text() + ") " + comparison() + " " +
                   std::to_string(rng_.range(0, 3));
        }
        }
    }

    Rng rng_;
    std::vector<TableModel> tables_;
    std::vector<Instance> scope_;
    std::vector<std::string> where_;
    std::map<std::string, Value> params_;
    std::map<std::string, int> aliasCount_;
    std::vector<std::size_t> orderColumns_;
};

// ---- comparing the answers ----------------------------------------------------------

// A value reduced to what both sides can say: NULL, a number (dates as day numbers,
// logicals as 0/1) or text.
struct Cell {
    int rank = 0; // 0 NULL, 1 number, 2 text, 3 bytes
    double number = 0;
    std::string text;
};

Cell cellOf(const Value& v) {
    Cell c;
    std::visit(
        [&](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, Null>) {
                c.rank = 0;
            } else if constexpr (std::is_same_v<T, std::string>) {
                c.rank = 2;
                c.text = x;
            } else if constexpr (std::is_same_v<T, std::int32_t> || std::is_same_v<T, double>) {
                c.rank = 1;
                c.number = static_cast<double>(x);
            } else if constexpr (std::is_same_v<T, bool>) {
                c.rank = 1;
                c.number = x ? 1 : 0;
            } else if constexpr (std::is_same_v<T, Date>) {
                c.rank = 1;
                c.number = x.days;
            } else if constexpr (std::is_same_v<T, Time>) {
                c.rank = 1;
                c.number = x.ms;
            } else if constexpr (std::is_same_v<T, Timestamp>) {
                c.rank = 1;
                c.number = x.ms;
            } else if constexpr (std::is_same_v<T, Decimal>) {
                c.rank = 1;
                c.number = std::stod(x.text);
            } else {
                c.rank = 3;
                c.text.assign(x.begin(), x.end());
            }
        },
        v);
    return c;
}

using Row = std::vector<Cell>;

bool closeEnough(double a, double b) {
    return std::fabs(a - b) <= 1e-9 * std::max({1.0, std::fabs(a), std::fabs(b)});
}

bool sameCell(const Cell& a, const Cell& b) {
    if (a.rank != b.rank)
        return false;
    if (a.rank == 1)
        return closeEnough(a.number, b.number);
    return a.text == b.text;
}

bool cellLess(const Cell& a, const Cell& b) {
    if (a.rank != b.rank)
        return a.rank < b.rank;
    if (a.rank == 1)
        return a.number < b.number;
    return a.text < b.text;
}

bool rowLess(const Row& a, const Row& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), cellLess);
}

bool sameRow(const Row& a, const Row& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!sameCell(a[i], b[i]))
            return false;
    return true;
}

std::vector<Row> rowsOf(const std::vector<Record>& records) {
    std::vector<Row> rows;
    for (const Record& r : records) {
        Row row;
        for (const Value& v : r)
            row.push_back(cellOf(v));
        rows.push_back(std::move(row));
    }
    return rows;
}

std::string show(const Value& v) {
    std::ostringstream out;
    std::visit(
        [&](const auto& x) {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, Null>)
                out << "NULL";
            else if constexpr (std::is_same_v<T, std::string>)
                out << textLiteral(x);
            else if constexpr (std::is_same_v<T, std::int32_t>)
                out << x;
            else if constexpr (std::is_same_v<T, double>)
                out << x << "d";
            else if constexpr (std::is_same_v<T, bool>)
                out << (x ? "true" : "false");
            else if constexpr (std::is_same_v<T, Date>)
                out << "Date(" << x.days << ")";
            else if constexpr (std::is_same_v<T, Time>)
                out << "Time(" << x.ms << ")";
            else if constexpr (std::is_same_v<T, Timestamp>)
                out << "Timestamp(" << x.ms << ")";
            else if constexpr (std::is_same_v<T, Decimal>)
                out << "Decimal(" << x.text << ")";
            else
                out << "bytes[" << x.size() << "]";
        },
        v);
    return out.str();
}

std::string show(const Cell& c) {
    std::ostringstream out;
    if (c.rank == 0)
        out << "NULL";
    else if (c.rank == 1)
        out << c.number;
    else
        out << textLiteral(c.text);
    return out.str();
}

std::string show(const std::vector<Row>& rows) {
    std::string out;
    const std::size_t shown = std::min<std::size_t>(rows.size(), 25);
    for (std::size_t i = 0; i < shown; ++i) {
        out += "    ";
        for (std::size_t c = 0; c < rows[i].size(); ++c)
            out += (c ? " | " : "") + show(rows[i][c]);
        out += "\n";
    }
    if (shown < rows.size())
        out += "    ... " + std::to_string(rows.size() - shown) + " more\n";
    return out;
}

bool kindMatches(OutKind kind, const Value& v) {
    if (isNull(v))
        return true;
    switch (kind) {
    case OutKind::Text:
        return std::holds_alternative<std::string>(v);
    case OutKind::Number:
        return std::holds_alternative<std::int32_t>(v) || std::holds_alternative<double>(v) ||
               std::holds_alternative<Decimal>(v);
    case OutKind::Date:
        return std::holds_alternative<Date>(v);
    case OutKind::Logical:
        return std::holds_alternative<bool>(v);
    }
    return false;
}

// Compares our answer with SQLite's; empty when they agree, else what differs.
std::string difference(const Query& q, const sql::ResultSet& ours,
                       const testsql::SqliteResult& theirs) {
    if (ours.columns.size() != static_cast<std::size_t>(theirs.columns))
        return "columns: ours " + std::to_string(ours.columns.size()) + ", SQLite " +
               std::to_string(theirs.columns) + "\n";
    for (std::size_t r = 0; r < ours.rows.size(); ++r) {
        if (ours.rows[r].size() != ours.columns.size())
            return "our row " + std::to_string(r) + " has " + std::to_string(ours.rows[r].size()) +
                   " values for " + std::to_string(ours.columns.size()) + " columns\n";
        for (std::size_t c = 0; c < q.kinds.size() && c < ours.rows[r].size(); ++c)
            if (!kindMatches(q.kinds[c], ours.rows[r][c]))
                return "our row " + std::to_string(r) + " column " + std::to_string(c + 1) +
                       " holds " + show(ours.rows[r][c]) + ", a value of the wrong type\n";
    }
    std::vector<Row> a = rowsOf(ours.rows);
    std::vector<Row> b = rowsOf(theirs.rows);
    std::string problem;
    if (!q.orderColumns.empty() && a.size() == b.size()) {
        // The ORDER BY keys must come in the same sequence; rows of equal keys in any order.
        for (std::size_t r = 0; r < a.size() && problem.empty(); ++r)
            for (std::size_t k : q.orderColumns)
                if (!sameCell(a[r][k], b[r][k])) {
                    problem = "order: row " + std::to_string(r + 1) + " has ORDER BY key " +
                              show(a[r][k]) + ", SQLite's " + show(b[r][k]) + "\n";
                    break;
                }
    }
    if (problem.empty()) {
        std::sort(a.begin(), a.end(), rowLess);
        std::sort(b.begin(), b.end(), rowLess);
        bool same = a.size() == b.size();
        for (std::size_t r = 0; same && r < a.size(); ++r)
            same = sameRow(a[r], b[r]);
        if (same)
            return "";
        problem = "rows differ (" + std::to_string(a.size()) + " ours, " +
                  std::to_string(b.size()) + " SQLite's; sorted):\n";
    } else {
        a = rowsOf(ours.rows);
        b = rowsOf(theirs.rows);
    }
    return problem + "  ours:\n" + show(a) + "  SQLite:\n" + show(b);
}

std::string describe(const Query& q) {
    std::string out = "  " + q.sql + "\n";
    for (const auto& [name, value] : q.params)
        out += "  :" + name + " = " + show(value) + "\n";
    return out;
}

class SqlDifferential : public ::testing::Test {
protected:
    void SetUp() override { fillTables(session_, sqlite_); }

    // Runs each query on both; reports each difference (at most ten per test).
    void runAll(const std::vector<Query>& queries) {
        int failures = 0;
        int nonEmpty = 0;
        for (const Query& q : queries) {
            testsql::SqliteResult theirs;
            try {
                theirs = sqlite_.query(q.sql, q.params);
            } catch (const testsql::SqliteError& e) {
                ADD_FAILURE() << "the generator made a statement SQLite refuses:\n"
                              << describe(q) << e.what();
                if (++failures >= 10)
                    break;
                continue;
            }
            if (!theirs.rows.empty())
                ++nonEmpty;
            std::string problem;
            try {
                const sql::ResultSet ours = sql::Statement::parse(q.sql).select(session_, q.params);
                problem = difference(q, ours, theirs);
            } catch (const std::exception& e) {
                problem = std::string("our engine threw: ") + e.what() + "\n";
            }
            if (!problem.empty()) {
                ADD_FAILURE() << "our SQL and SQLite disagree on\n" << describe(q) << problem;
                if (++failures >= 10) {
                    ADD_FAILURE() << "stopped after ten differences";
                    break;
                }
            }
        }
        // A generator whose statements all answer nothing would compare nothing.
        EXPECT_GE(nonEmpty * 2, static_cast<int>(queries.size()))
            << "too few statements with rows: " << nonEmpty << " of " << queries.size();
    }

    Session session_;
    testsql::SqliteMirror sqlite_;
};

TEST_F(SqlDifferential, ProjectionsAndFiltersOnOneTable) {
    QueryGenerator gen(1);
    std::vector<Query> queries;
    for (int i = 0; i < 120; ++i)
        queries.push_back(gen.plain(FromShape::Single));
    runAll(queries);
}

TEST_F(SqlDifferential, InnerAndCommaJoins) {
    QueryGenerator gen(2);
    std::vector<Query> queries;
    for (int i = 0; i < 90; ++i)
        queries.push_back(gen.plain(i % 2 ? FromShape::InnerJoin : FromShape::CommaJoin));
    runAll(queries);
}

TEST_F(SqlDifferential, LeftOuterJoinChains) {
    QueryGenerator gen(3);
    std::vector<Query> queries;
    for (int i = 0; i < 90; ++i)
        queries.push_back(gen.plain(i % 3 ? FromShape::LeftChain : FromShape::MixedJoin));
    runAll(queries);
}

TEST_F(SqlDifferential, GroupingAndHaving) {
    QueryGenerator gen(4);
    std::vector<Query> queries;
    for (int i = 0; i < 120; ++i)
        queries.push_back(gen.grouped(i % 3 ? gen.randomJoinShape() : FromShape::Single));
    runAll(queries);
}

TEST_F(SqlDifferential, AggregatesOverAWholeSelection) {
    QueryGenerator gen(5);
    std::vector<Query> queries;
    for (int i = 0; i < 60; ++i)
        queries.push_back(gen.aggregatesOnly(i % 2 ? gen.randomJoinShape() : FromShape::Single));
    runAll(queries);
}

} // namespace
