// Filter expressions against hand-made rows: how literals are converted to the field's
// type, NULL and blank fields, dates, booleans, partial compare and letter case,
// precedence, field names, quoting, and the errors.

#include "platform/db/filter.h"
#include "platform/sys/datetime.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <utility>

namespace {

using db::FieldType;
using db::FilterError;
using db::FilterExpression;
using db::FilterOptions;
using db::Value;

const std::vector<db::FieldDef>& fields() {
    static const std::vector<db::FieldDef> list = {
        {"Aktiv", FieldType::Alpha, 1},       {"Evj", FieldType::Long, 4},
        {"Parcsor", FieldType::Short, 2},     {"Parcellakod", FieldType::Alpha, 10},
        {"Magfaj", FieldType::Alpha, 5},      {"Deleted", FieldType::Logical, 1},
        {"Dat", FieldType::Date, 4},          {"Datum", FieldType::Timestamp, 8},
        {"Hozam", FieldType::Number, 8},      {"Ertek", FieldType::Bcd, 17, 2},
        {"Megjegyzés", FieldType::Alpha, 40}, {"025", FieldType::Alpha, 5},
        {"12szaz", FieldType::Long, 4},       {"Nev", FieldType::Alpha, 40},
        {"Tableid", FieldType::AutoInc, 4},   {"Ido", FieldType::Time, 4},
        {"Kep", FieldType::Graphic, 10},      {"Id 1", FieldType::Long, 4},
    };
    return list;
}

// A row of NULLs but for the fields named.
db::Record row(std::initializer_list<std::pair<std::string, Value>> values) {
    db::Record r(fields().size(), db::Null{});
    for (const auto& [name, value] : values) {
        std::size_t i = 0;
        while (fields()[i].name != name)
            ++i;
        r[i] = value;
    }
    return r;
}

bool passes(std::string_view filter, const db::Record& r, FilterOptions options = {}) {
    const auto f = FilterExpression::parse(filter, fields(), options);
    return f.matches([&](int i) { return r.at(static_cast<std::size_t>(i)); });
}

Value text(const char* s) {
    return std::string(s);
}

db::Date day(int y, int m, int d) {
    return db::Date{sys::dateTimeToParadoxDays(sys::encodeDate(y, m, d))};
}

db::Timestamp at(int y, int m, int d, int hour) {
    return db::Timestamp{sys::dateTimeToParadoxTimestamp(sys::encodeDate(y, m, d) + hour / 24.0)};
}

// ---- Conversions of literals --------------------------------------------------------

TEST(FilterCoercion, QuotedNumberAgainstIntegerField) {
    EXPECT_TRUE(passes("Evj = '2009'", row({{"Evj", 2009}})));
    EXPECT_FALSE(passes("Evj = '2009'", row({{"Evj", 2010}})));
    EXPECT_TRUE(passes("Parcsor = '3' AND Evj = 2009", row({{"Parcsor", 3}, {"Evj", 2009}})));
    EXPECT_FALSE(passes("Parcsor = '3' AND Evj = 2009", row({{"Parcsor", 4}, {"Evj", 2009}})));
    EXPECT_TRUE(passes("Tableid = ' 12 '", row({{"Tableid", 12}})));
}

TEST(FilterCoercion, UnquotedNumberAgainstTextFieldComparesTheWrittenText) {
    EXPECT_TRUE(passes("Parcellakod = 100000", row({{"Parcellakod", text("100000")}})));
    EXPECT_FALSE(passes("Parcellakod = 100000", row({{"Parcellakod", text("0100000")}})));
    EXPECT_TRUE(passes("Magfaj =5", row({{"Magfaj", text("5")}})));
    EXPECT_FALSE(passes("Magfaj =5", row({{"Magfaj", text("5.0")}})));
    EXPECT_TRUE(passes("Magfaj=-5", row({{"Magfaj", text("-5")}})));
    // Text order, not number order: "10" sorts before "9".
    EXPECT_TRUE(passes("Magfaj < 9", row({{"Magfaj", text("10")}})));
}

TEST(FilterCoercion, NumbersCompareNumericallyWithPointOrQuotedComma) {
    EXPECT_TRUE(passes("Hozam > 0.5", row({{"Hozam", 0.75}})));
    EXPECT_FALSE(passes("Hozam > 0.5", row({{"Hozam", 0.5}})));
    EXPECT_TRUE(passes("Hozam = '0,5'", row({{"Hozam", 0.5}})));
    EXPECT_TRUE(passes("Hozam >= -1E-3", row({{"Hozam", -0.001}})));
    EXPECT_TRUE(passes("Evj < 2009.5", row({{"Evj", 2009}})));
    EXPECT_TRUE(passes("Hozam > 0", row({{"Hozam", 3.0}})));
}

TEST(FilterCoercion, BcdFieldsCompareAsNumbers) {
    EXPECT_TRUE(passes("Ertek = 0.1", row({{"Ertek", db::Decimal{"0.10"}}})));
    EXPECT_TRUE(passes("Ertek > 9", row({{"Ertek", db::Decimal{"12.50"}}})));
    EXPECT_FALSE(passes("Ertek > 9", row({{"Ertek", db::Decimal{"-12.50"}}})));
    EXPECT_TRUE(passes("Ertek < '-12,4'", row({{"Ertek", db::Decimal{"-12.50"}}})));
}

TEST(FilterCoercion, TextThatIsNoNumberAgainstNumberFieldFailsAtParse) {
    EXPECT_THROW(FilterExpression::parse("Evj = 'abc'", fields()), FilterError);
    EXPECT_THROW(FilterExpression::parse("Hozam > x1", fields()), FilterError);
    EXPECT_THROW(FilterExpression::parse("Evj = True", fields()), FilterError);
}

// ---- NULL and blank -----------------------------------------------------------------

TEST(FilterNull, EmptyTextLiteralMatchesBlankTextFields) {
    EXPECT_TRUE(passes("Nev = ''", row({})));
    EXPECT_TRUE(passes("Nev = ''", row({{"Nev", text("")}})));
    EXPECT_FALSE(passes("Nev = ''", row({{"Nev", text("x")}})));
    EXPECT_FALSE(passes("Nev <> ''", row({})));
    EXPECT_TRUE(passes("Nev <> ''", row({{"Nev", text("x")}})));
}

TEST(FilterNull, NullLiteralHasIsNullSemantics) {
    EXPECT_TRUE(passes("Datum = NULL", row({})));
    EXPECT_FALSE(passes("Datum = NULL", row({{"Datum", at(2010, 3, 5, 0)}})));
    EXPECT_FALSE(passes("Datum <> null", row({})));
    EXPECT_TRUE(passes("Datum <> Null", row({{"Datum", at(2010, 3, 5, 0)}})));
    EXPECT_TRUE(passes("Hozam IS NULL", row({})));
    EXPECT_TRUE(passes("Hozam is not null", row({{"Hozam", 0.0}})));
    EXPECT_THROW(FilterExpression::parse("Hozam < NULL", fields()), FilterError);
}

TEST(FilterNull, NullFieldMatchesNoOtherLiteral) {
    const db::Record empty = row({});
    for (const char* f : {"Hozam = 0", "Hozam < 1", "Hozam <> 5", "Evj >= 0", "Nev < 'B'",
                          "Nev <> 'x'", "Deleted = False", "Dat < '2010. 1. 1.'", "Nev = 'K*'"})
        EXPECT_FALSE(passes(f, empty)) << f;
    EXPECT_TRUE(passes("NOT Hozam = 0", empty));
}

TEST(FilterNull, EmptyQuotesAgainstOtherTypesMeanBlank) {
    EXPECT_TRUE(passes("Dat = ''", row({})));
    EXPECT_FALSE(passes("Hozam = ''", row({{"Hozam", 0.0}})));
    EXPECT_THROW(FilterExpression::parse("Hozam > ''", fields()), FilterError);
}

// ---- Dates ---------------------------------------------------------------------------

TEST(FilterDate, ShortDateRangeOnDateField) {
    const char* f = "Dat >= '2010. 3. 5.' AND Dat <= '2010. 3. 31.'";
    EXPECT_FALSE(passes(f, row({{"Dat", day(2010, 3, 4)}})));
    EXPECT_TRUE(passes(f, row({{"Dat", day(2010, 3, 5)}})));
    EXPECT_TRUE(passes(f, row({{"Dat", day(2010, 3, 31)}})));
    EXPECT_FALSE(passes(f, row({{"Dat", day(2010, 4, 1)}})));
    EXPECT_TRUE(passes("Dat = '2010. 03. 05.'", row({{"Dat", day(2010, 3, 5)}})));
    EXPECT_TRUE(passes("Dat = '3/5/2010'", row({{"Dat", day(2010, 3, 5)}})));
    EXPECT_TRUE(passes("Dat < '1899. 12. 30.'", row({{"Dat", day(1, 1, 1)}})));
}

TEST(FilterDate, TimestampFieldComparesByDateAndTime) {
    const char* f = "(Datum >= '2008. 3. 5.' And Datum <= '2008. 12. 31.')";
    EXPECT_TRUE(passes(f, row({{"Datum", at(2008, 3, 5, 0)}})));
    EXPECT_TRUE(passes(f, row({{"Datum", at(2008, 3, 5, 12)}})));
    EXPECT_FALSE(passes(f, row({{"Datum", at(2008, 3, 4, 23)}})));
    // Noon of the last day lies after its midnight.
    EXPECT_FALSE(passes(f, row({{"Datum", at(2008, 12, 31, 12)}})));
    EXPECT_TRUE(passes("Datum = '2008. 12. 31. 12:00'", row({{"Datum", at(2008, 12, 31, 12)}})));
}

TEST(FilterDate, TimeField) {
    EXPECT_TRUE(passes("Ido < '12:00'", row({{"Ido", db::Time{11 * 3600000}}})));
    EXPECT_FALSE(passes("Ido < '12:00'", row({{"Ido", db::Time{12 * 3600000}}})));
}

TEST(FilterDate, TextThatIsNoDateFailsAtParse) {
    EXPECT_THROW(FilterExpression::parse("Dat = '2010. 2. 30.'", fields()), FilterError);
    EXPECT_THROW(FilterExpression::parse("Dat = 2010", fields()), FilterError);
}

// ---- Booleans -------------------------------------------------------------------------

TEST(FilterBoolean, TrueFalseOneZeroQuotedOrNot) {
    const db::Record no = row({{"Deleted", false}});
    const db::Record yes = row({{"Deleted", true}});
    for (const char* f : {"Deleted = False", "Deleted = false", "Deleted = 0", "Deleted = '0'",
                          "Deleted <> True"}) {
        EXPECT_TRUE(passes(f, no)) << f;
        EXPECT_FALSE(passes(f, yes)) << f;
    }
    EXPECT_TRUE(passes("Deleted = TRUE", yes));
    EXPECT_TRUE(passes("Deleted = 1", yes));
    EXPECT_TRUE(passes("Deleted = '1'", yes));
    EXPECT_TRUE(passes("Deleted = False AND Evj = 5", row({{"Deleted", false}, {"Evj", 5}})));
}

TEST(FilterBoolean, OtherLiteralsFailAtParse) {
    EXPECT_THROW(FilterExpression::parse("Deleted = 'A'", fields()), FilterError);
    EXPECT_THROW(FilterExpression::parse("Deleted = 2", fields()), FilterError);
    EXPECT_THROW(FilterExpression::parse("Nev = True", fields()), FilterError);
}

// ---- Partial compare and letter case ----------------------------------------------------

TEST(FilterText, TrailingStarMatchesPrefix) {
    EXPECT_TRUE(passes("Nev = 'Kov*'", row({{"Nev", text("Kovács")}})));
    EXPECT_TRUE(passes("Nev = 'Kov*'", row({{"Nev", text("Kov")}})));
    EXPECT_FALSE(passes("Nev = 'Kov*'", row({{"Nev", text("Ko")}})));
    EXPECT_FALSE(passes("Nev = 'Kov*'", row({{"Nev", text("kovács")}})));
    EXPECT_TRUE(passes("Nev <> 'Kov*'", row({{"Nev", text("Nagy")}})));
    EXPECT_FALSE(passes("Nev <> 'Kov*'", row({{"Nev", text("Kovács")}})));
}

TEST(FilterText, NoPartialCompareTakesTheStarLiterally) {
    const FilterOptions exact{false, true};
    EXPECT_FALSE(passes("Nev = 'Kov*'", row({{"Nev", text("Kovács")}}), exact));
    EXPECT_TRUE(passes("Nev = 'Kov*'", row({{"Nev", text("Kov*")}}), exact));
}

TEST(FilterText, CaseInsensitiveCoversHungarianLetters) {
    const FilterOptions noCase{true, false};
    EXPECT_TRUE(passes("Nev = 'ŐRSÉG'", row({{"Nev", text("őrség")}}), noCase));
    EXPECT_FALSE(passes("Nev = 'ŐRSÉG'", row({{"Nev", text("őrség")}})));
    EXPECT_TRUE(passes("Nev = 'kovÁ*'", row({{"Nev", text("KOVÁCS")}}), noCase));
    EXPECT_FALSE(passes("Nev = 'kovÁ*'", row({{"Nev", text("KOVACS")}}), noCase));
    EXPECT_TRUE(passes("Nev < 'b'", row({{"Nev", text("Alma")}}), noCase));
}

TEST(FilterText, OrderIsCodePointOrderAndEqualityIsExact) {
    EXPECT_TRUE(passes("Nev < 'B'", row({{"Nev", text("Alma")}})));
    EXPECT_FALSE(passes("Nev < 'B'", row({{"Nev", text("Árpád")}}))); // Á is U+00C1
    EXPECT_FALSE(passes("Nev = 'Alma'", row({{"Nev", text("Alma ")}})));
    EXPECT_TRUE(passes("Aktiv = 'A'", row({{"Aktiv", text("A")}})));
    EXPECT_FALSE(passes("Aktiv = 'A'", row({{"Aktiv", text("a")}})));
}

// ---- Precedence and parentheses -----------------------------------------------------------

TEST(FilterLogic, AndBindsTighterThanOr) {
    const char* f = "Aktiv = 'A' OR Evj = 1 AND Parcsor = 2";
    EXPECT_TRUE(passes(f, row({{"Aktiv", text("A")}, {"Evj", 2}})));
    EXPECT_FALSE(passes(f, row({{"Aktiv", text("N")}, {"Evj", 1}, {"Parcsor", 3}})));
    const char* grouped = "(Aktiv = 'A' or Evj = 1) and Parcsor = 2";
    EXPECT_FALSE(passes(grouped, row({{"Aktiv", text("A")}, {"Parcsor", 3}})));
    EXPECT_TRUE(passes(grouped, row({{"Evj", 1}, {"Parcsor", 2}})));
}

TEST(FilterLogic, ProgramFormsWithParentheses) {
    const char* f = "Aktiv = 'A' And (Parckod = '100003' Or Parckod = '100007')";
    std::vector<db::FieldDef> withParckod = fields();
    withParckod.push_back({"Parckod", FieldType::Alpha, 10});
    const auto e = FilterExpression::parse(f, withParckod);
    auto check = [&](const char* aktiv, const char* parckod) {
        return e.matches([&](int i) -> Value {
            if (i == 0)
                return text(aktiv);
            return text(parckod);
        });
    };
    EXPECT_TRUE(check("A", "100007"));
    EXPECT_FALSE(check("A", "100005"));
    EXPECT_FALSE(check("N", "100003"));

    const char* g = "Aktiv = 1 AND (Tableid = 12 OR Tableid = 15)";
    EXPECT_TRUE(passes(g, row({{"Aktiv", text("1")}, {"Tableid", 15}})));
    EXPECT_FALSE(passes(g, row({{"Aktiv", text("1")}, {"Tableid", 13}})));
}

TEST(FilterLogic, NotBindsTighterThanAnd) {
    const char* f = "NOT Aktiv = 'A' AND Evj = 1";
    EXPECT_TRUE(passes(f, row({{"Aktiv", text("N")}, {"Evj", 1}})));
    EXPECT_FALSE(passes(f, row({{"Aktiv", text("N")}, {"Evj", 2}})));
    EXPECT_TRUE(passes("not (Aktiv = 'A' and Evj = 1)", row({{"Aktiv", text("A")}, {"Evj", 2}})));
}

TEST(FilterLogic, ReadsOnlyTheFieldsItNeeds) {
    const auto f = FilterExpression::parse("Evj = 1 AND (Nev = 'x' OR Evj = 2)", fields());
    EXPECT_EQ(f.fieldsUsed(), (std::vector<int>{1, 13}));
    std::vector<int> asked;
    EXPECT_FALSE(f.matches([&](int i) -> Value {
        asked.push_back(i);
        return 2;
    }));
    EXPECT_EQ(asked, (std::vector<int>{1})); // AND stops at the first false operand
}

TEST(FilterLogic, BlankFilterPassesEveryRow) {
    const auto f = FilterExpression::parse("  ", fields());
    EXPECT_TRUE(f.empty());
    EXPECT_TRUE(f.matches([](int) -> Value { return db::Null{}; }));
    EXPECT_TRUE(FilterExpression().matches([](int) -> Value { return db::Null{}; }));
    EXPECT_FALSE(FilterExpression::parse("Evj = 1", fields()).empty());
}

// ---- Field names ------------------------------------------------------------------------

TEST(FilterNames, AccentsDigitsBracketsQuotesAnyCase) {
    EXPECT_TRUE(passes("Megjegyzés = 'x'", row({{"Megjegyzés", text("x")}})));
    EXPECT_TRUE(passes("MEGJEGYZÉS = 'x'", row({{"Megjegyzés", text("x")}})));
    for (const char* f : {"025 = 'a'", "[025] = 'a'", "\"025\" = 'a'"})
        EXPECT_TRUE(passes(f, row({{"025", text("a")}}))) << f;
    EXPECT_TRUE(passes("12szaz = 5", row({{"12szaz", 5}})));
    EXPECT_TRUE(passes("[id 1] = 5", row({{"Id 1", 5}})));
    EXPECT_TRUE(passes("evj=2009", row({{"Evj", 2009}})));
}

// ---- Quoting ------------------------------------------------------------------------------

TEST(FilterQuote, ApostropheRoundTrip) {
    EXPECT_EQ(db::quoteFilterText("O'Brien"), "'O''Brien'");
    EXPECT_EQ(db::quoteFilterText(""), "''");
    const std::string f = "Nev = " + db::quoteFilterText("O'Brien");
    EXPECT_TRUE(passes(f, row({{"Nev", text("O'Brien")}})));
    EXPECT_FALSE(passes(f, row({{"Nev", text("O''Brien")}})));
    EXPECT_TRUE(passes("Nev = ''''", row({{"Nev", text("'")}})));
}

// ---- Errors --------------------------------------------------------------------------------

TEST(FilterErrors, MessageNamesTheFilter) {
    for (const char* f : {"Nincsilyen = 1", "Aktiv = 'A' And (Evj = 1", "Nev = 'abc",
                          "Evj =", "Evj 5", "Evj = 1 Evj = 2", "Evj = 1 AND", "Nev ~ 'x'",
                          "[Evj = 1", "Kep = 'x'", "Nev = Evj", "= 5", "Evj = - x"}) {
        try {
            FilterExpression::parse(f, fields());
            ADD_FAILURE() << "no error for " << f;
        } catch (const FilterError& e) {
            const std::string message = e.what();
            EXPECT_NE(message.find("Hibás szűrőfeltétel: "), std::string::npos) << message;
            EXPECT_NE(message.find(f), std::string::npos) << message;
        }
    }
}

TEST(FilterErrors, UnknownFieldIsNamed) {
    try {
        FilterExpression::parse("Ev = '2010'", fields());
        FAIL();
    } catch (const FilterError& e) {
        EXPECT_NE(std::string(e.what()).find("ismeretlen mező: Ev"), std::string::npos);
    }
}

TEST(FilterErrors, TheMessageGivesTheCharacterWhereTheFilterGoesWrong) {
    const auto messageOf = [](const std::string& f) {
        try {
            FilterExpression::parse(f, fields());
        } catch (const FilterError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    const std::pair<const char*, const char*> cases[] = {
        {"Evj = 1 Evj = 2", "(fölösleges szöveg: Evj, a(z) 9. karakternél)"},
        {"Aktiv = 'A' And (Evj = 1", "(hiányzó ), a(z) 25. karakternél)"},
        {"Nev = 'abc", "(lezáratlan szöveg, a(z) 7. karakternél)"},
        {"Evj = 'x'", "('x' nem szám, a(z) 7. karakternél)"},
        {"Nincsilyen = 1", "(ismeretlen mező: Nincsilyen, a(z) 1. karakternél)"},
        {"Nev = 'árvíz' OR Evj ~ 1", "(váratlan jel: ~, a(z) 22. karakternél)"}, // in characters
        {"Evj =", "(hiányzó érték, a(z) 6. karakternél)"},
    };
    for (const auto& [filter, expected] : cases)
        EXPECT_NE(messageOf(filter).find(expected), std::string::npos) << messageOf(filter);
}

TEST(FilterErrors, DeepNestingIsAnErrorNotACrash) {
    const auto repeat = [](const std::string& piece, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += piece;
        return out;
    };
    EXPECT_TRUE(passes(repeat("(", 200) + "Evj = 2010" + repeat(")", 200),
                       row({{"Evj", std::int32_t{2010}}})));
    EXPECT_TRUE(passes(repeat("NOT ", 200) + "Evj = 2010", row({{"Evj", std::int32_t{2010}}})));
    for (const std::string& deep : {repeat("(", 100000) + "Evj = 1" + repeat(")", 100000),
                                    repeat("NOT ", 100000) + "Evj = 1"}) {
        try {
            FilterExpression::parse(deep, fields());
            ADD_FAILURE() << "no error";
        } catch (const FilterError& e) {
            EXPECT_NE(std::string(e.what()).find("több mint 200 szintű beágyazás, a(z) "),
                      std::string::npos);
        }
    }
}

TEST(FilterErrors, BlobFieldsCompareOnlyWithNull) {
    EXPECT_TRUE(passes("Kep = NULL", row({})));
    EXPECT_THROW(FilterExpression::parse("Kep <> ''", fields()), FilterError);
}

} // namespace
