// The filter parser and evaluator: the input is a filter text, parsed against fields of
// every type (with and without case-insensitive and partial compares) and, when it
// parses, evaluated on rows of NULLs, of typical values and of extreme ones. A bad filter
// may only raise db::FilterError; a parsed one keeps its text and names known fields.

#include "platform/db/filter.h"

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/source_strings.h"
#include "fuzz/targets/targets.h"

#include <cmath>
#include <limits>

namespace fuzz {

namespace {

using db::FieldType;

const std::vector<db::FieldDef>& fields() {
    static const std::vector<db::FieldDef> list = {
        {"Aktiv", FieldType::Alpha, 1},     {"Evj", FieldType::Long, 4},
        {"Parcsor", FieldType::Short, 2},   {"Nev", FieldType::Alpha, 40},
        {"Deleted", FieldType::Logical, 1}, {"Dat", FieldType::Date, 4},
        {"Datum", FieldType::Timestamp, 8}, {"Hozam", FieldType::Number, 8},
        {"Ertek", FieldType::Bcd, 17, 2},   {"Ar", FieldType::Currency, 8},
        {"Tableid", FieldType::AutoInc, 4}, {"Ido", FieldType::Time, 4},
        {"Kep", FieldType::Graphic, 10},    {"Megjegyzés", FieldType::Memo, 20},
        {"Id 1", FieldType::Long, 4},       {"Felhkod", FieldType::Alpha, 6},
        {"Azon", FieldType::Alpha, 10},     {"Kod", FieldType::Bytes, 4},
    };
    return list;
}

std::vector<db::Record> rows() {
    const double inf = std::numeric_limits<double>::infinity();
    using db::Bytes, db::Date, db::Decimal, db::Time, db::Timestamp;
    std::vector<db::Record> out;
    out.emplace_back(fields().size(), db::Null{});
    out.push_back({std::string("A"), 2010, 3, std::string("őszi búza"), true, Date{734000},
                   Timestamp{6.3e13}, 12.5, Decimal{"1234.25"}, 3.5, 7, Time{3600000}, db::Null{},
                   std::string("memo"), 1, std::string("100003"), std::string("_kesz"),
                   Bytes{1, 2, 3, 4}});
    out.push_back({std::string("x"), INT32_MIN, -32767, std::string("'*'"), false, Date{-1},
                   Timestamp{-1e300}, -inf, Decimal{"-99999999999999.99"},
                   std::numeric_limits<double>::quiet_NaN(), INT32_MAX, Time{0}, Bytes{},
                   std::string(""), 0, std::string("_"), std::string("A*"), Bytes{}});
    return out;
}

void check(std::string_view text, db::FilterOptions options) {
    static const std::vector<db::Record> kRows = rows();
    db::FilterExpression f;
    try {
        f = db::FilterExpression::parse(text, fields(), options);
    } catch (const db::FilterError&) {
        return;
    }
    if (f.text() != text)
        finding("the parsed filter lost its text");
    for (const int i : f.fieldsUsed())
        if (i < 0 || i >= static_cast<int>(fields().size()))
            finding("the filter names a field outside the list");
    for (const db::Record& r : kRows)
        f.matches([&](int i) { return r.at(static_cast<std::size_t>(i)); });
}

} // namespace

void runFilter(std::string_view input) {
    check(input, {});
    check(input, {.caseInsensitive = true, .noPartialCompare = true});
}

void seedFilter() {
    int n = 0;
    for (const std::string& s : literalsAfter(
             "SetFilter(", {"core", "register", "resources", "operations", "reports", "platform"}))
        writeSeed("filter-program-" + std::to_string(n++), s);
    for (const char* marker : {"passes(", "parse("})
        for (const std::string& s : literalsAfter(marker, {"tests/platform/db"}))
            writeSeed("filter-test-" + std::to_string(n++), s);
    for (const char* s :
         {"Aktiv = 'A' And (Evj = 2009 Or Evj = 2010)", "Nev IS NULL Or Nev <> '_*'",
          "Dat >= '2010. 3. 5.' AND Dat <= '2010. 3. 31.'", "[Id 1] = -1E-3",
          "NOT (Hozam > 0) or \"Megjegyzés\" = NULL", "Datum < '3/5/2010'"})
        writeSeed("filter-" + std::to_string(n++), s);
}

} // namespace fuzz
