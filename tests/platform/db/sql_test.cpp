// The local SQL dialect, feature by feature, on a small farm database: result column
// names and types, row values, and errors that point at the place.

#include "platform/db/collation.h"
#include "platform/db/field_value.h"
#include "platform/db/session.h"
#include "platform/db/sql/sql.h"
#include "platform/sys/codepage.h"
#include "platform/sys/datetime.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace db;
using db::sql::ResultSet;
using db::sql::SqlError;
using db::sql::Statement;

namespace {

FieldDef field(const std::string& name, FieldType type, int size = 0, int decimals = 0) {
    return {name, type, storedSize(type, size), decimals};
}

Value day(int year, int month, int d) {
    return Date{sys::dateTimeToParadoxDays(sys::encodeDate(year, month, d))};
}

Value text(const char* s) {
    return std::string(s);
}

// Fields (keyed on their code), operations on them, machines, and a soil sample table
// with a digit-named and an accented column.
class SqlTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto parcels = session.create(
            "parcellak",
            {{field("Parckod", FieldType::Alpha, 6), field("Evj", FieldType::Long),
              field("Parcsor", FieldType::Long), field("Agazat", FieldType::Alpha, 30),
              field("Ter", FieldType::Number), field("Aktiv", FieldType::Alpha, 1),
              field("Deleted", FieldType::Logical), field("Masod", FieldType::Alpha, 4)},
             1});
        const auto parcel = [&](const char* code, int year, int serial, Value sector, double area,
                                const char* active, Value deleted) {
            Record r{text(code),         year,  serial, std::move(sector), area, text(active),
                     std::move(deleted), Null{}};
            parcels->insert(r);
        };
        parcel("P1", 2005, 2, text("őszi búza"), 12000, "A", false);
        parcel("P2", 2005, 1, text("kukorica"), 8000, "A", true);
        parcel("P3", 2006, 1, text("Árpa"), 5000, "N", Null{});
        parcel("P4", 2006, 2, text("arpa"), 7000, "A", false);
        parcel("P5", 2006, 3, Null{}, 3000, "N", false);

        auto ops = session.create(
            "ElvMuv",
            {{field("Muvkod", FieldType::Alpha, 6), field("Tablakod", FieldType::Alpha, 40),
              field("Datum", FieldType::Date), field("Muvnev", FieldType::Alpha, 30),
              field("Evj", FieldType::Long), field("Agazat", FieldType::Alpha, 50),
              field("Gepora", FieldType::Number), field("Hozam", FieldType::Number),
              field("Ter", FieldType::Long), field("Erogepkod", FieldType::Alpha, 6),
              field("Deleted", FieldType::Logical)},
             0});
        const auto op = [&](const char* code, const char* field, Value date, const char* name,
                            double hours, Value yield, int area, Value machine) {
            Record r{text(code), text(field), std::move(date),  text(name), 2005,
                     text("x"),  hours,       std::move(yield), area,       std::move(machine),
                     false};
            ops->insert(r);
        };
        op("M1", "P1", day(2005, 2, 10), "szántás", 2.5, 0.0, 12000, text("E1"));
        op("M2", "P1", day(2005, 3, 1), "vetés", 1.5, Null{}, 12000, text("E2"));
        op("M3", "P2", day(2005, 4, 5), "aratás", 4.0, 6.5, 8000, text("E1"));
        op("M4", "P3", day(2005, 5, 6), "aratás", 3.0, 4.0, 5000, Null{});
        op("M5", "P9", day(2005, 6, 7), "permetezés", 1.0, Null{}, 100, text("E9"));

        auto machines = session.create(
            "Erogepek",
            {{field("Gepkod", FieldType::Alpha, 6), field("Geptip", FieldType::Alpha, 20)}, 1});
        for (const auto& [code, kind] : {std::pair{"E1", "MTZ"}, {"E2", "Rába"}, {"E3", "Zetor"}}) {
            Record r{text(code), text(kind)};
            machines->insert(r);
        }

        auto soil = session.create(
            "TalajmintaKet",
            {{field("025", FieldType::Number), field("Megjegyzés", FieldType::Alpha, 10)}, 0});
        Record s1{1.5, text("első")};
        soil->insert(s1);
    }

    ResultSet run(const std::string& sql, const std::map<std::string, Value>& params = {}) {
        return Statement::parse(sql).select(session, params);
    }

    static std::vector<std::string> names(const ResultSet& r) {
        std::vector<std::string> out;
        for (const FieldDef& c : r.columns)
            out.push_back(c.name);
        return out;
    }

    // One column's values as the forms read them ("" for NULL).
    static std::vector<std::string> column(const ResultSet& r, std::size_t i) {
        std::vector<std::string> out;
        for (const Record& row : r.rows)
            out.push_back(isNull(row[i]) ? "NULL" : valueAsString(row[i], r.columns[i]));
        return out;
    }

    static std::string errorOf(Session& s, const std::string& sql) {
        try {
            Statement::parse(sql).select(s);
        } catch (const SqlError& e) {
            return e.what();
        }
        return "no error";
    }

    using Strings = std::vector<std::string>;
    Session session;
};

// --- names of tables and columns ---------------------------------------------------------

TEST_F(SqlTest, TableNamesBareWithDbQuotedAndInAnyCase) {
    for (const char* sql :
         {"SELECT Parckod FROM parcellak", "SELECT Parckod FROM PARCELLAK.DB",
          "SELECT Parckod FROM Parcellak.db", "SELECT p.Parckod FROM \"parcellak.db\" p",
          "SELECT parcellak.parckod FROM \"Parcellak.DB\""})
        EXPECT_EQ(column(run(sql), 0), (Strings{"P1", "P2", "P3", "P4", "P5"})) << sql;
}

TEST_F(SqlTest, QuotedAndAccentedColumnNames) {
    const ResultSet r =
        run("SELECT TalajmintaKet.\"025\", Megjegyzés, megjegyzés x FROM TalajmintaKet");
    EXPECT_EQ(names(r), (Strings{"025", "Megjegyzés", "x"}));
    EXPECT_EQ(column(r, 0), Strings{"1,5"});
    EXPECT_EQ(column(r, 1), Strings{"első"});
}

TEST_F(SqlTest, TabsLineBreaksAndTrailingSemicolon) {
    const ResultSet r = run("SELECT\tParckod\r\n  FROM parcellak\n\tWHERE  Evj = 2006\nORDER BY "
                            "Parcsor DESC;");
    EXPECT_EQ(column(r, 0), (Strings{"P5", "P4", "P3"}));
}

// --- the select list ------------------------------------------------------------------

TEST_F(SqlTest, StarTableStarAndTypesFromTheFields) {
    const ResultSet r = run("SELECT * FROM parcellak WHERE Parckod = 'P1'");
    ASSERT_EQ(r.columns.size(), 8u);
    EXPECT_EQ(r.columns[0], field("Parckod", FieldType::Alpha, 6));
    EXPECT_EQ(r.columns[4], field("Ter", FieldType::Number));
    EXPECT_EQ(r.rows.size(), 1u);
    const ResultSet t = run("SELECT e.*, p.Parckod FROM ElvMuv e, parcellak p "
                            "WHERE e.Tablakod = p.Parckod AND e.Muvkod = 'M3'");
    EXPECT_EQ(t.columns.size(), 12u);
    EXPECT_EQ(t.columns.back().name, "Parckod");
    EXPECT_EQ(column(t, 11), Strings{"P2"});
}

TEST_F(SqlTest, SameColumnTwiceAndAliasesWithAndWithoutAs) {
    const ResultSet r = run("SELECT Parckod, Parckod, Ter AS Terulet, Evj ev, parcellak.Parckod "
                            "FROM parcellak WHERE Parckod = 'P2'");
    EXPECT_EQ(names(r), (Strings{"Parckod", "Parckod_1", "Terulet", "ev", "Parckod_2"}));
    EXPECT_EQ(r.rows[0][1], Value(text("P2")));
}

TEST_F(SqlTest, DistinctRemovesRepeatsAndSortsInTheTableCollation) {
    const ResultSet r = run("SELECT DISTINCT Aktiv FROM parcellak");
    EXPECT_EQ(column(r, 0), (Strings{"A", "N"}));
    // Accents and case sort after the plain small letter; NULL first.
    const ResultSet a = run("SELECT DISTINCT Agazat FROM Parcellak");
    EXPECT_EQ(column(a, 0), (Strings{"NULL", "arpa", "Árpa", "kukorica", "őszi búza"}));
}

// --- WHERE ---------------------------------------------------------------------------

TEST_F(SqlTest, ComparisonsLogicAndParentheses) {
    const auto codes = [&](const std::string& where) {
        return column(run("SELECT Parckod FROM parcellak WHERE " + where), 0);
    };
    EXPECT_EQ(codes("Evj = 2005"), (Strings{"P1", "P2"}));
    EXPECT_EQ(codes("Evj <> 2005"), (Strings{"P3", "P4", "P5"}));
    EXPECT_EQ(codes("Evj != 2005"), (Strings{"P3", "P4", "P5"}));
    EXPECT_EQ(codes("Ter < 5000"), Strings{"P5"});
    EXPECT_EQ(codes("Ter <= 5000"), (Strings{"P3", "P5"}));
    EXPECT_EQ(codes("Ter > 8000"), Strings{"P1"});
    EXPECT_EQ(codes("Ter >= 8000"), (Strings{"P1", "P2"}));
    EXPECT_EQ(codes("(Evj = 2006) AND (Parcsor = 1 OR Parcsor = 3)"), (Strings{"P3", "P5"}));
    EXPECT_EQ(codes("NOT (Evj = 2006) OR Parckod = 'P5'"), (Strings{"P1", "P2", "P5"}));
    EXPECT_EQ(codes("Evj = 2006 AND NOT Aktiv = 'N'"), Strings{"P4"});
    EXPECT_EQ(codes("(1=1)").size(), 5u);
    EXPECT_EQ(codes("1 = 1 AND (1=0)").size(), 0u);
    EXPECT_EQ(codes("Agazat IS NULL"), Strings{"P5"});
}

// Whole numbers and dates compared with constants on either side: negative values, NULL
// (which matches no comparison) and a constant out of the field's range.
TEST_F(SqlTest, ComparisonsOfWholeNumbersAndDatesWithConstants) {
    auto t =
        session.create("szamok", {{field("Kod", FieldType::Alpha, 4),
                                   field("Kis", FieldType::Short), field("Nap", FieldType::Date)},
                                  0});
    for (Record r :
         {Record{text("a"), -5, day(1999, 12, 31)}, Record{text("b"), 0, day(2005, 1, 1)},
          Record{text("c"), 7, Null{}}, Record{text("d"), Null{}, day(2006, 6, 1)}})
        t->insert(r);
    const auto codes = [&](const std::string& where, const std::map<std::string, Value>& p = {}) {
        return column(run("SELECT Kod FROM szamok WHERE " + where, p), 0);
    };
    EXPECT_EQ(codes("Kis < 0"), Strings{"a"});
    EXPECT_EQ(codes("0 <= Kis"), (Strings{"b", "c"}));
    EXPECT_EQ(codes("Kis <> -5"), (Strings{"b", "c"}));
    EXPECT_EQ(codes("Kis < 100000"), (Strings{"a", "b", "c"}));
    EXPECT_EQ(codes("-100000 > Kis"), Strings{});
    EXPECT_EQ(codes("Nap >= :d", {{"d", day(2005, 1, 1)}}), (Strings{"b", "d"}));
    EXPECT_EQ(codes(":d > Nap AND Kis = -5", {{"d", day(2005, 1, 1)}}), Strings{"a"});
}

TEST_F(SqlTest, ArithmeticInExpressions) {
    const ResultSet r =
        run("SELECT Parckod, Ter / 10000 ha, (Ter + 1000) * 2 - 1 x FROM parcellak WHERE Ter * 2 "
            "> 20000");
    EXPECT_EQ(names(r), (Strings{"Parckod", "ha", "x"}));
    EXPECT_EQ(r.columns[1].type, FieldType::Number);
    EXPECT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][1], Value(1.2));
    EXPECT_EQ(r.rows[0][2], Value(25999.0));
}

TEST_F(SqlTest, BooleanLiteralsInAnyCaseAndNullFlags) {
    const auto codes = [&](const std::string& where) {
        return column(run("SELECT Parckod FROM parcellak WHERE " + where), 0);
    };
    EXPECT_EQ(codes("Deleted = false"), (Strings{"P1", "P4", "P5"}));
    EXPECT_EQ(codes("Deleted = FALSE"), (Strings{"P1", "P4", "P5"}));
    EXPECT_EQ(codes("Deleted = True"), Strings{"P2"});
    // A blank flag is NULL: it is neither TRUE nor different from it.
    EXPECT_EQ(codes("Deleted <> TRUE"), (Strings{"P1", "P4", "P5"}));
}

TEST_F(SqlTest, NumbersAgainstQuotedTextAndBlankText) {
    EXPECT_EQ(column(run("SELECT Parckod FROM parcellak WHERE Evj = '2005'"), 0),
              (Strings{"P1", "P2"}));
    // The yield neither zero nor blank.
    EXPECT_EQ(column(run("SELECT Muvkod FROM ElvMuv WHERE (Hozam <> '0' AND Hozam <> '')"), 0),
              (Strings{"M3", "M4"}));
    EXPECT_EQ(column(run("SELECT Muvkod FROM ElvMuv WHERE Hozam = ''"), 0), (Strings{"M2", "M5"}));
}

TEST_F(SqlTest, EmptyTextMatchesABlankTextField) {
    EXPECT_EQ(column(run("SELECT Parckod FROM parcellak WHERE Agazat = ''"), 0), Strings{"P5"});
    EXPECT_EQ(column(run("SELECT Parckod FROM parcellak WHERE Masod = '' AND Agazat != ''"), 0),
              (Strings{"P1", "P2", "P3", "P4"}));
    EXPECT_EQ(column(run("SELECT Muvkod FROM ElvMuv WHERE Erogepkod = :g", {{"g", text("")}}), 0),
              Strings{"M4"});
}

TEST_F(SqlTest, DatesAgainstMonthDayYearTextAndDateParameters) {
    EXPECT_EQ(column(run("SELECT Muvkod FROM ElvMuv WHERE ElvMuv.Datum >= '3/1/2005' AND Datum "
                         "< '5/6/2005'"),
                     0),
              (Strings{"M2", "M3"}));
    const ResultSet r = run("SELECT Muvkod FROM ElvMuv WHERE (Datum >= :d1) AND (Datum <= :d2)",
                            {{"d1", day(2005, 4, 5)}, {"d2", day(2005, 5, 6)}});
    EXPECT_EQ(column(r, 0), (Strings{"M3", "M4"}));
}

// A time of day, a date and a timestamp against texts in every form the dialect reads them
// in, against parameters and NULL.
TEST_F(SqlTest, TimesDatesAndTimestampsAgainstTextsAndParameters) {
    auto t = session.create("ido", {{field("Time", FieldType::Time), field("DATE", FieldType::Date),
                                     field("Stamp", FieldType::Timestamp)},
                                    0});
    const auto at = [](int y, int mo, int d, int h, int mi, int s) {
        return sys::encodeDate(y, mo, d) + sys::encodeTime(h, mi, s);
    };
    const auto stamp = [&](int y, int mo, int d, int h, int mi, int s) {
        return Value(Timestamp{sys::dateTimeToParadoxTimestamp(at(y, mo, d, h, mi, s))});
    };
    const auto clock = [](int h, int mi, int s) {
        return Value(Time{sys::dateTimeToParadoxTime(sys::encodeTime(h, mi, s))});
    };
    Record r1{clock(1, 0, 1), day(2020, 2, 1), stamp(2020, 2, 1, 1, 0, 2)};
    Record r2{clock(3, 0, 3), day(2020, 3, 5), stamp(2020, 3, 5, 15, 30, 0)};
    Record r3{Null{}, Null{}, Null{}};
    for (Record* r : {&r1, &r2, &r3})
        t->insert(*r);
    const auto count = [&](const std::string& where, const std::map<std::string, Value>& p = {}) {
        return std::get<std::int32_t>(run("SELECT COUNT(*) FROM ido WHERE " + where, p).rows[0][0]);
    };
    const std::pair<const char*, int> cases[] = {
        {"\"Time\" = '01:00:01'", 1},
        {"\"Time\" >= '02:00:00'", 1},
        {"\"Time\" <> '01:00:01'", 1},
        {"\"Time\" = '3:00:03 AM'", 1},
        {"\"Time\" < '1:00 PM'", 2},
        {"'01:00:01' < \"Time\"", 1},
        {"\"DATE\" = '2/1/2020'", 1},
        {"\"DATE\" = '2020. 02. 01.'", 1},
        {"\"DATE\" = '2020-02-01'", 1},
        {"\"DATE\" < '3/1/2020'", 1},
        {"\"DATE\" <> '2/1/2020'", 1},
        {"Stamp = '2/1/2020 01:00:02'", 1},
        {"Stamp = '2020-02-01 01:00:02'", 1},
        {"Stamp = '2020. 02. 01. 1:00:02'", 1},
        {"Stamp > '2/1/2020'", 2},
        {"Stamp < '2/1/2020 1:00:03 PM'", 1},
        {"\"Time\" IS NULL", 1},
        {"\"Time\" = NULL", 0},
    };
    for (const auto& [where, expected] : cases)
        EXPECT_EQ(count(where), expected) << where;
    EXPECT_EQ(count("\"Time\" = :t", {{"t", clock(3, 0, 3)}}), 1);
    EXPECT_EQ(count("\"Time\" = :t", {{"t", stamp(1999, 1, 1, 1, 0, 1)}}), 1);
    EXPECT_EQ(count("\"Time\" <= :t", {{"t", text("02:00")}}), 1);
    EXPECT_EQ(count("Stamp = :s", {{"s", stamp(2020, 3, 5, 15, 30, 0)}}), 1);
    EXPECT_EQ(count("Stamp >= :d", {{"d", day(2020, 3, 5)}}), 1);
    EXPECT_EQ(count("\"DATE\" = :d OR Stamp = :d", {{"d", Null{}}}), 0);
}

TEST_F(SqlTest, ALiteralOrParameterNotOfTheFieldsKindIsAnError) {
    EXPECT_NE(errorOf(session, "SELECT COUNT(*) FROM ElvMuv WHERE Datum = 'xyz'")
                  .find("'xyz' nem olvasható dátumként a(z) Datum mezőhöz (1. sor, 43. oszlop"),
              std::string::npos);
    const auto paramError = [&](const std::string& sql, const Value& v) {
        try {
            Statement::parse(sql).select(session, {{"p", v}});
        } catch (const SqlError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_NE(paramError("SELECT Muvkod FROM ElvMuv WHERE Datum <> :p", text("xyz"))
                  .find("a(z) :p paraméter értéke ('xyz') nem olvasható dátumként a(z) Datum"),
              std::string::npos);
    EXPECT_NE(paramError("SELECT Parckod FROM parcellak WHERE Ter > :p", day(2005, 1, 1))
                  .find(":p paraméter értéke nem olvasható számként a(z) Ter mezőhöz"),
              std::string::npos);
    EXPECT_NE(errorOf(session, "SELECT Parckod FROM parcellak WHERE Deleted = 'igen'")
                  .find("'igen' nem olvasható logikai értékként a(z) Deleted mezőhöz"),
              std::string::npos);
    EXPECT_NE(errorOf(session, "SELECT Parckod FROM parcellak WHERE 'abc' < Evj")
                  .find("'abc' nem olvasható számként a(z) Evj mezőhöz (1. sor, 37. oszlop"),
              std::string::npos);
}

// Values of kinds that never meet are an error at the place, not an empty result or a
// column of NULLs; a text compared with a number still reads as the number.
TEST_F(SqlTest, ValuesOfKindsThatNeverMeetAreAnError) {
    const std::pair<const char*, const char*> wrong[] = {
        {"SELECT Muvkod FROM ElvMuv WHERE Datum = Muvnev",
         "dátum és szöveg nem hasonlítható össze (1. sor, 41. oszlop"},
        {"SELECT Agazat * 2 FROM parcellak", "szöveg nem lehet számítás tagja (1. sor, 8."},
        {"SELECT SUM(Agazat) FROM parcellak", "szöveg nem összegezhető"},
        {"SELECT Parckod FROM parcellak WHERE NOT Agazat", "szöveg nem lehet feltétel"},
        {"SELECT Parckod FROM parcellak WHERE Agazat", "szöveg nem lehet feltétel"},
        {"SELECT Parckod FROM parcellak WHERE Ter + 0 = 'abc'",
         "'abc' nem olvasható számként a kifejezéshez (1. sor, 47. oszlop"},
    };
    for (const auto& [sql, message] : wrong) {
        const std::string error = errorOf(session, sql);
        EXPECT_NE(error.find(message), std::string::npos) << sql << ": " << error;
    }
    EXPECT_EQ(column(run("SELECT Parckod FROM parcellak p, ElvMuv e WHERE p.Evj = e.Tablakod"), 0),
              Strings{});
    EXPECT_EQ(column(run("SELECT Parckod FROM parcellak WHERE Ter / 1000 = '12'"), 0),
              Strings{"P1"});
}

TEST_F(SqlTest, ParametersByNameReusedWithNewValues) {
    const Statement s = Statement::parse(
        "SELECT Parckod FROM parcellak WHERE (Evj = :ev) AND Aktiv = :ak OR Parcsor = :EV");
    EXPECT_EQ(s.parameters(), (Strings{"ev", "ak"}));
    EXPECT_TRUE(s.isSelect());
    EXPECT_EQ(column(s.select(session, {{"EV", 2005}, {"ak", text("A")}}), 0),
              (Strings{"P1", "P2"}));
    EXPECT_EQ(column(s.select(session, {{"ev", 2006}, {"AK", text("N")}}), 0),
              (Strings{"P3", "P5"}));
    EXPECT_THROW(s.select(session, {{"ev", 2006}}), SqlError);
}

// --- joins ---------------------------------------------------------------------------

TEST_F(SqlTest, CommaJoinWithConditionInWhereNamesRepeatsWithSuffix) {
    const ResultSet r = run("SELECT * FROM parcellak,ElvMuv\nWHERE (parcellak.Parckod = Tablakod) "
                            "AND Evj = 2005\nORDER BY Evj,Parcsor,Datum,Muvkod;");
    const Strings n = names(r);
    ASSERT_EQ(n.size(), 19u);
    EXPECT_EQ(Strings(n.begin() + 8, n.end()),
              (Strings{"Muvkod", "Tablakod", "Datum", "Muvnev", "Evj_1", "Agazat_1", "Gepora",
                       "Hozam", "Ter_1", "Erogepkod", "Deleted_1"}));
    EXPECT_EQ(r.columns[16], field("Ter_1", FieldType::Long));
    EXPECT_EQ(column(r, 8), (Strings{"M3", "M1", "M2"}));
}

TEST_F(SqlTest, InnerJoinWithAndWithoutParentheses) {
    const Strings expected{"M1", "M2", "M3", "M4"};
    for (const char* sql :
         {"SELECT ElvMuv.Muvkod FROM ElvMuv INNER JOIN parcellak ON (parcellak.Parckod = "
          "ElvMuv.Tablakod) ORDER BY Muvkod",
          "SELECT ElvMuv.Muvkod FROM ElvMuv\n   INNER JOIN parcellak\n   ON  parcellak.Parckod = "
          "ElvMuv.Tablakod  ORDER BY Muvkod",
          "SELECT ElvMuv.Muvkod FROM (ElvMuv INNER JOIN parcellak ON parcellak.Parckod = "
          "ElvMuv.Tablakod) ORDER BY Muvkod",
          "SELECT ElvMuv.Muvkod FROM ElvMuv JOIN parcellak ON parcellak.Parckod = ElvMuv.Tablakod "
          "AND ElvMuv.Evj = 2005 ORDER BY 1"})
        EXPECT_EQ(column(run(sql), 0), expected) << sql;
}

TEST_F(SqlTest, LeftRightAndFullOuterJoinChains) {
    const ResultSet left = run("SELECT Muvkod, Geptip FROM ElvMuv LEFT OUTER JOIN Erogepek ON "
                               "(ElvMuv.Erogepkod = Erogepek.Gepkod) ORDER BY Muvkod");
    EXPECT_EQ(column(left, 1), (Strings{"MTZ", "Rába", "MTZ", "NULL", "NULL"}));

    const ResultSet right = run("SELECT Muvkod, Gepkod FROM ElvMuv RIGHT OUTER JOIN Erogepek ON "
                                "ElvMuv.Erogepkod = Erogepek.Gepkod ORDER BY Gepkod, Muvkod");
    EXPECT_EQ(column(right, 0), (Strings{"M1", "M3", "M2", "NULL"}));
    EXPECT_EQ(column(right, 1), (Strings{"E1", "E1", "E2", "E3"}));

    const ResultSet full = run("SELECT ElvMuv.Muvkod, Erogepek.Gepkod, parcellak.Parckod FROM "
                               "ElvMuv\nFULL OUTER JOIN Erogepek\nON  (ElvMuv.Erogepkod = "
                               "Erogepek.Gepkod)\nFULL OUTER JOIN parcellak ON (parcellak.Parckod "
                               "= ElvMuv.Tablakod)");
    // 5 operations, the unused machine E3, the fields P4 and P5 without operations.
    EXPECT_EQ(full.rows.size(), 8u);
    EXPECT_EQ(column(full, 0), (Strings{"M1", "M2", "M3", "M4", "M5", "NULL", "NULL", "NULL"}));
    EXPECT_EQ(column(full, 1), (Strings{"E1", "E2", "E1", "NULL", "NULL", "E3", "NULL", "NULL"}));
    EXPECT_EQ(column(full, 2), (Strings{"P1", "P1", "P2", "P3", "NULL", "NULL", "P4", "P5"}));
}

TEST_F(SqlTest, WhereOnTheOuterSideSeesTheNullFilledRows) {
    const ResultSet r = run("SELECT Gepkod FROM ElvMuv RIGHT OUTER JOIN Erogepek ON "
                            "ElvMuv.Erogepkod = Erogepek.Gepkod WHERE ElvMuv.Muvkod = ''");
    EXPECT_EQ(column(r, 0), Strings{"E3"});
    const ResultSet l = run("SELECT Muvkod FROM ElvMuv LEFT OUTER JOIN Erogepek ON "
                            "(ElvMuv.Erogepkod = Erogepek.Gepkod) AND Erogepek.Geptip = 'MTZ' "
                            "WHERE Erogepek.Gepkod IS NULL");
    EXPECT_EQ(column(l, 0), (Strings{"M2", "M4", "M5"}));
}

TEST_F(SqlTest, SelfJoinThroughAliases) {
    const ResultSet r =
        run("SELECT Parcellak_1.Parckod, Parcellak.Parckod Osparckod, Parcellak_1.Ter, "
            "Parcellak.Ter FROM parcellak INNER JOIN \"parcellak.db\" Parcellak_1 ON "
            "(Parcellak_1.Parcsor = Parcellak.Parcsor) WHERE Parcellak_1.Evj = 2006 AND "
            "Parcellak.Evj = 2005 ORDER BY 1");
    EXPECT_EQ(names(r), (Strings{"Parckod", "Osparckod", "Ter", "Ter_1"}));
    EXPECT_EQ(column(r, 0), (Strings{"P3", "P4"}));
    EXPECT_EQ(column(r, 1), (Strings{"P2", "P1"}));
}

TEST_F(SqlTest, UnqualifiedColumnOfTwoTablesMeansTheFirstInTheFromList) {
    const ResultSet r = run("SELECT Evj, Agazat, Deleted FROM parcellak, ElvMuv WHERE Parckod = "
                            "Tablakod AND Muvkod = 'M4'");
    EXPECT_EQ(r.rows.at(0), (Record{2006, text("Árpa"), Null{}}));
    const ResultSet e = run("SELECT Agazat FROM ElvMuv, parcellak WHERE Parckod = Tablakod AND "
                            "Muvkod = 'M4'");
    EXPECT_EQ(r.columns[1].size, 30);
    EXPECT_EQ(e.columns[0].size, 50);
    EXPECT_EQ(column(e, 0), Strings{"x"});
}

TEST_F(SqlTest, NonEquiJoinConditionUsesANestedLoop) {
    const ResultSet r = run("SELECT a.Parckod, b.Parckod FROM parcellak a INNER JOIN parcellak b "
                            "ON a.Ter > b.Ter + 4000 ORDER BY 1, 2");
    EXPECT_EQ(column(r, 0), (Strings{"P1", "P1", "P1", "P2"}));
    EXPECT_EQ(column(r, 1), (Strings{"P3", "P4", "P5", "P5"}));
}

// --- aggregates and grouping ---------------------------------------------------------

TEST_F(SqlTest, AggregatesNamedAndTypedAsTheOriginalEngine) {
    const ResultSet r =
        run("SELECT COUNT(ElvMuv.Muvkod),COUNT(DISTINCT Agazat),COUNT(DISTINCT Parckod),"
            "SUM(Gepora),SUM( ElvMuv.Ter ),AVG(Hozam), MIN(Datum), MAX(Muvnev), COUNT(*), "
            "COUNT(Hozam) FROM parcellak,ElvMuv WHERE (ElvMuv.Tablakod = parcellak.Parckod)");
    EXPECT_EQ(names(r), (Strings{"COUNT OF Muvkod", "COUNT OF Agazat", "COUNT OF Parckod",
                                 "SUM OF Gepora", "SUM OF Ter", "AVG OF Hozam", "MIN OF Datum",
                                 "MAX OF Muvnev", "COUNT OF *", "COUNT OF Hozam"}));
    EXPECT_EQ(r.columns[0], field("COUNT OF Muvkod", FieldType::Long));
    EXPECT_EQ(r.columns[4], field("SUM OF Ter", FieldType::Number));
    EXPECT_EQ(r.columns[6], field("MIN OF Datum", FieldType::Date));
    EXPECT_EQ(r.columns[7], field("MAX OF Muvnev", FieldType::Alpha, 30));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0],
              (Record{4, 3, 3, 11.0, 37000.0, 3.5, day(2005, 2, 10), text("vetés"), 4, 3}));
}

TEST_F(SqlTest, ShortenedExpressionNamesOfAggregates) {
    const ResultSet r = run("SELECT SUM(   (ElvMuv.Hozam * ElvMuv.Ter)  / 10000  ), SUM( "
                            "Elvmuv.Gepora ), SUM(Hozam * Ter / 10000) Hoz FROM ElvMuv");
    EXPECT_EQ(names(r), (Strings{"SUM OF   Hozam * Ter / 10", "SUM OF Gepora", "Hoz"}));
    EXPECT_DOUBLE_EQ(std::get<double>(r.rows[0][0]), 5.2 + 2.0);
}

TEST_F(SqlTest, MinAndMaxOfTextFollowTheTableCollation) {
    // By bytes "Árpa" would be the largest.
    const ResultSet r =
        run("SELECT MIN(Agazat), MAX(Agazat) FROM parcellak WHERE Evj = 2006 OR Parckod = 'P2'");
    EXPECT_EQ(r.rows.at(0), (Record{text("arpa"), text("kukorica")}));
}

TEST_F(SqlTest, AggregatesOverNoRowsGiveOneRow) {
    const ResultSet r =
        run("SELECT MAX(Parcsor) sor, COUNT(*), SUM(Ter) FROM parcellak WHERE Evj = 1999");
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0], (Record{Null{}, 0, Null{}}));
    EXPECT_EQ(r.columns[0], field("sor", FieldType::Long));
}

TEST_F(SqlTest, GroupByColumnsSelectedOrNotWithHaving) {
    const ResultSet r = run("SELECT SUM( Ter ) as Ster, Aktiv, Evj FROM parcellak GROUP BY Evj, "
                            "Aktiv ORDER BY Evj DESC");
    EXPECT_EQ(names(r), (Strings{"Ster", "Aktiv", "Evj"}));
    EXPECT_EQ(column(r, 0), (Strings{"7000", "8000", "20000"}));
    EXPECT_EQ(column(r, 1), (Strings{"A", "N", "A"}));

    const ResultSet notSelected = run("SELECT SUM(Ter) tter FROM parcellak GROUP BY Evj");
    EXPECT_EQ(column(notSelected, 0), (Strings{"20000", "15000"}));

    const ResultSet plain = run("SELECT Evj FROM parcellak GROUP BY Evj");
    EXPECT_EQ(column(plain, 0), (Strings{"2005", "2006"}));

    const ResultSet having =
        run("SELECT Tablakod, SUM(Hozam * Ter / 10000) Hoz FROM ElvMuv GROUP BY Tablakod HAVING "
            "SUM(Hozam * Ter / 10000) > 0.0000001");
    EXPECT_EQ(column(having, 0), (Strings{"P2", "P3"}));
}

TEST_F(SqlTest, AColumnNeitherGroupedNorAggregatedIsAnError) {
    for (const auto& [sql, place] : std::initializer_list<std::pair<const char*, const char*>>{
             {"SELECT COUNT(*), Agazat FROM parcellak GROUP BY Evj",
              "a(z) Agazat mező nincs a GROUP BY után, és nem is összesítő függvény (COUNT, SUM, "
              "AVG, MIN, MAX) része (1. sor, 18. oszlop"},
             {"SELECT COUNT(Evj), p.Parckod FROM parcellak p", "a(z) p.Parckod mező nincs"},
             {"SELECT *, COUNT(*) FROM Erogepek", "a(z) Gepkod mező nincs"},
             {"SELECT Evj FROM parcellak GROUP BY Evj HAVING Ter > 1", "a(z) Ter mező nincs"},
             {"SELECT Evj FROM parcellak GROUP BY Evj ORDER BY Parcsor", "a(z) Parcsor mező"}})
        EXPECT_NE(errorOf(session, sql).find(place), std::string::npos) << errorOf(session, sql);
    // A grouped column inside an expression, an expression grouped on, constants.
    EXPECT_EQ(column(run("SELECT Evj + 1, 'x', MAX(Ter) * 2 FROM parcellak GROUP BY Evj"), 0),
              (Strings{"2006", "2007"}));
    EXPECT_EQ(column(run("SELECT Evj * 2 FROM parcellak GROUP BY Evj * 2"), 0),
              (Strings{"4010", "4012"}));
}

TEST_F(SqlTest, DistinctCountDistinct) {
    const ResultSet r = run("SELECT DISTINCT COUNT(DISTINCT Parckod),COUNT(DISTINCT Agazat) FROM "
                            "parcellak WHERE Aktiv = 'A'");
    EXPECT_EQ(names(r), (Strings{"COUNT OF Parckod", "COUNT OF Agazat"}));
    EXPECT_EQ(r.rows, (std::vector<Record>{{3, 3}}));
}

// --- ORDER BY ------------------------------------------------------------------------

TEST_F(SqlTest, OrderByColumnsAliasesPositionsAndDirections) {
    EXPECT_EQ(column(run("SELECT Parckod FROM parcellak ORDER BY Evj DESC, Parcsor"), 0),
              (Strings{"P3", "P4", "P5", "P2", "P1"}));
    EXPECT_EQ(column(run("SELECT Parckod, Ter t FROM parcellak ORDER BY t ASC"), 0),
              (Strings{"P5", "P3", "P4", "P2", "P1"}));
    EXPECT_EQ(column(run("SELECT Parckod, Ter FROM parcellak ORDER BY 2 DESC"), 0),
              (Strings{"P1", "P2", "P4", "P3", "P5"}));
    EXPECT_EQ(column(run("SELECT Parckod FROM parcellak ORDER BY Agazat DESC"), 0),
              (Strings{"P1", "P2", "P3", "P4", "P5"}));
}

// Hundreds of rows whose texts differ in accents, case and length only, with blank texts,
// NULL, negative and zero numbers, sorted both ways: texts in the collation's order,
// blanks first (last when descending), rows of equal keys in file order.
TEST_F(SqlTest, OrderByManyRowsFollowsTheCollationBlanksAndFileOrder) {
    auto table =
        session.create("Rendez", {{field("Nev", FieldType::Alpha, 8),
                                   field("Szam", FieldType::Number), field("Sor", FieldType::Long)},
                                  0});
    const char* const pieces[] = {"a", "á", "A", "Á", "ö", "ő", "o", "b", " ", "1"};
    std::mt19937 random(11);
    std::vector<Record> rows;
    for (int i = 0; i < 600; ++i) {
        std::string name;
        for (unsigned n = random() % 4; n > 0; --n)
            name += pieces[random() % std::size(pieces)];
        Record r{Value(name), Value(Null{}), i};
        if (name.empty() && random() % 2)
            r[0] = Null{};
        if (random() % 6 != 0)
            r[1] = static_cast<int>(random() % 9) / 2.0 - 2;
        table->insert(r);
        rows.push_back(r);
    }
    const Collation& collation = table->file().collation();
    // <0, 0, >0 of one key, blank first.
    const auto compare = [&](const Value& a, const Value& b) {
        const bool blankA = isNull(a) || std::get<std::string>(a).empty();
        const bool blankB = isNull(b) || std::get<std::string>(b).empty();
        if (blankA || blankB)
            return blankA == blankB ? 0 : blankA ? -1 : 1;
        const std::string x = sys::fromUtf8(std::get<std::string>(a), 1250);
        const std::string y = sys::fromUtf8(std::get<std::string>(b), 1250);
        return collation.compare(
            std::span(reinterpret_cast<const std::uint8_t*>(x.data()), x.size()),
            std::span(reinterpret_cast<const std::uint8_t*>(y.data()), y.size()));
    };
    const auto numberCompare = [](const Value& a, const Value& b) {
        if (isNull(a) || isNull(b))
            return isNull(a) == isNull(b) ? 0 : isNull(a) ? -1 : 1;
        return (std::get<double>(a) > std::get<double>(b)) -
               (std::get<double>(a) < std::get<double>(b));
    };
    const auto expect = [&](const std::string& order, auto before) {
        std::vector<Record> sorted = rows;
        std::stable_sort(sorted.begin(), sorted.end(), before);
        Strings wanted;
        for (const Record& r : sorted)
            wanted.push_back(std::to_string(std::get<std::int32_t>(r[2])));
        EXPECT_EQ(column(run("SELECT Sor FROM Rendez ORDER BY " + order), 0), wanted) << order;
    };
    expect("Nev DESC, Szam", [&](const Record& a, const Record& b) {
        const int c = compare(a[0], b[0]);
        return c != 0 ? c > 0 : numberCompare(a[1], b[1]) < 0;
    });
    expect("Szam DESC, Nev", [&](const Record& a, const Record& b) {
        const int c = numberCompare(a[1], b[1]);
        return c != 0 ? c > 0 : compare(a[0], b[0]) < 0;
    });
}

// --- naming of repeated columns --------------------------------------------------------

TEST_F(SqlTest, RepeatedNamesCountUpInJoinOrder) {
    const ResultSet r =
        run("SELECT parcellak.Deleted, ElvMuv.Deleted, a.Deleted, b.Deleted, parcellak.Evj, "
            "ElvMuv.Evj FROM parcellak, ElvMuv, parcellak a, parcellak b WHERE parcellak.Parckod "
            "= ElvMuv.Tablakod AND a.Parckod = parcellak.Parckod AND b.Parckod = a.Parckod");
    EXPECT_EQ(names(r),
              (Strings{"Deleted", "Deleted_1", "Deleted_2", "Deleted_3", "Evj", "Evj_1"}));
    EXPECT_EQ(r.rows.size(), 4u);
}

// --- errors --------------------------------------------------------------------------

TEST_F(SqlTest, ErrorsQuoteTheStatementAndPointAtThePlace) {
    const std::string syntax = errorOf(session, "SELECT Parckod\nFROM parcellak\nWHERE Evj = = 1");
    EXPECT_NE(syntax.find("(3. sor, 13. oszlop, itt: '=')"), std::string::npos) << syntax;
    EXPECT_NE(syntax.find("WHERE Evj = = 1\n            ^"), std::string::npos) << syntax;

    const std::string table = errorOf(session, "SELECT * FROM nincs");
    EXPECT_NE(table.find("nincs 'nincs' nevű tábla (1. sor, 15. oszlop"), std::string::npos)
        << table;

    const std::string col = errorOf(session, "SELECT Parckod, Nincs FROM parcellak");
    EXPECT_NE(col.find("nincs 'Nincs' nevű mező (1. sor, 17. oszlop"), std::string::npos) << col;
    EXPECT_NE(col.find("SELECT Parckod, Nincs FROM parcellak\n                ^"),
              std::string::npos)
        << col;

    const std::string alias = errorOf(session, "SELECT x.Parckod FROM parcellak p");
    EXPECT_NE(alias.find("nincs 'x' nevű tábla"), std::string::npos) << alias;
    EXPECT_THROW(Statement::parse("SELECT Parckod FROM parcellak WHERE Agazat = 'open"), SqlError);
    EXPECT_THROW(Statement::parse("SELECT FROM parcellak"), SqlError);
    EXPECT_THROW(Statement::parse("DELETE FROM parcellak"), SqlError);
    EXPECT_THROW(Statement::parse("SELECT Parckod FROM parcellak extra words"), SqlError);
}

TEST_F(SqlTest, ASyntaxErrorPointsAtTheTokenWhereTheStatementWentWrong) {
    EXPECT_NE(errorOf(session, "select upper(x) from parcellak")
                  .find("ismeretlen függvény: upper (1. sor, 13. oszlop, itt: '(')\n"
                        "select upper(x) from parcellak\n            ^"),
              std::string::npos);
    EXPECT_NE(errorOf(session, "SELECT Parckod, FROM parcellak")
                  .find("kifejezés kellene (1. sor, 17. oszlop, itt: 'FROM')"),
              std::string::npos);
    EXPECT_NE(errorOf(session, "SELECT Parckod FROM parcellak WHERE Evj >= ")
                  .find("kifejezés kellene (1. sor, 44. oszlop, az utasítás végén)"),
              std::string::npos);
    EXPECT_NE(errorOf(session, "SELECT Parckod FROM parcellak WHERE Agazat = 'a' 'b'")
                  .find("fölösleges szöveg az utasítás után (1. sor, 50. oszlop, itt: ''b'')"),
              std::string::npos);
}

TEST_F(SqlTest, DeepNestingAndHugeNumbersAreSyntaxErrorsWithTheirPlace) {
    const auto repeat = [](const std::string& piece, int n) {
        std::string out;
        for (int i = 0; i < n; ++i)
            out += piece;
        return out;
    };
    // Nesting the parser accepts, and one level more than it does.
    const std::string ok =
        "SELECT " + repeat("(", 200) + "Parcsor" + repeat(")", 200) + " FROM parcellak";
    EXPECT_EQ(Statement::parse(ok).select(session).rows.size(), 5u);
    for (const std::string& deep :
         {"SELECT " + repeat("(", 100000) + "1" + repeat(")", 100000) + " FROM parcellak",
          "SELECT Parckod FROM parcellak WHERE " + repeat("NOT ", 50000) + "Parcsor = 1",
          "SELECT " + repeat("- ", 50000) + "Parcsor FROM parcellak",
          "SELECT COUNT(" + repeat("SUM(", 5000) + "Parcsor" + repeat(")", 5001) +
              " FROM parcellak",
          "SELECT * FROM " + repeat("(", 5000) + "parcellak" + repeat(")", 5000),
          "SELECT Parcsor" + repeat(" - 1", 50000) + " FROM parcellak",
          "SELECT * FROM parcellak a" + repeat(" JOIN parcellak b ON 1 = 1", 300)}) {
        const std::string message = errorOf(session, deep);
        EXPECT_NE(message.find("200 szintnél mélyebben ágyazódik egymásba (1. sor, "),
                  std::string::npos)
            << message.substr(0, 200);
    }
    // A flat chain is no nesting; an error in a long statement quotes only its place.
    EXPECT_EQ(Statement::parse("SELECT Parcsor" + repeat(" + 1", 50000) +
                               " AS s FROM parcellak "
                               "WHERE Parcsor = 1" +
                               repeat(" OR Parcsor = 2", 50000))
                  .select(session)
                  .rows.size(),
              4u);
    const std::string cut = errorOf(session, "SELECT Parcsor" + repeat(" + 1", 50000) + " + + 1");
    EXPECT_LT(cut.size(), 200u) << cut.substr(0, 300);
    EXPECT_NE(cut.find(", az utasítás végén)\n... + 1 + 1 + 1 + 1 + 1 + 1 + + 1\n"),
              std::string::npos)
        << cut;
    const std::string huge = errorOf(session, "SELECT Parckod FROM parcellak\nWHERE Ter > 1e999");
    EXPECT_NE(huge.find("a szám kívül esik a megengedett tartományon (2. sor, 13. oszlop"),
              std::string::npos)
        << huge;
    EXPECT_EQ(Statement::parse("SELECT Parckod FROM parcellak WHERE Ter > 1e-999")
                  .select(session)
                  .rows.size(),
              5u);
}

// --- ALTER TABLE ---------------------------------------------------------------------

TEST_F(SqlTest, AlterTableAddsTypedColumns) {
    const char* adds[][2] = {{"Egesz", "INTEGER"}, {"Kis", "SMALLINT"}, {"Nap", "DATE"},
                             {"Jelzo", "BOOLEAN"}, {"Nev", "CHAR(12)"}, {"Osszeg", "NUMERIC(10,4)"},
                             {"Szam", "FLOAT"}};
    for (const auto& [name, type] : adds) {
        const Statement s =
            Statement::parse(std::string("ALTER TABLE Erogepek\n ADD ") + name + " " + type);
        EXPECT_FALSE(s.isSelect());
        s.execute(session);
    }
    const auto fields = session.open("erogepek")->file().fields();
    ASSERT_EQ(fields.size(), 9u);
    EXPECT_EQ(fields[2], field("Egesz", FieldType::Long));
    EXPECT_EQ(fields[3], field("Kis", FieldType::Short));
    EXPECT_EQ(fields[4], field("Nap", FieldType::Date));
    EXPECT_EQ(fields[5], field("Jelzo", FieldType::Logical));
    EXPECT_EQ(fields[6], field("Nev", FieldType::Alpha, 12));
    EXPECT_EQ(fields[7], field("Osszeg", FieldType::Bcd, 0, 4));
    EXPECT_EQ(fields[8], field("Szam", FieldType::Number));
    // The rows are kept, the new fields blank.
    const ResultSet r = run("SELECT Gepkod, Jelzo FROM Erogepek WHERE Nev = ''");
    EXPECT_EQ(r.rows.size(), 3u);
    EXPECT_THROW(Statement::parse("ALTER TABLE Erogepek ADD Gepkod INTEGER").execute(session),
                 SqlError);
    EXPECT_THROW(Statement::parse("ALTER TABLE nincs ADD X INTEGER").execute(session), SqlError);
}

// --- helpers for SQL built from user text ----------------------------------------------

TEST(SqlText, QuotingAndWholeNumbers) {
    EXPECT_EQ(db::sql::quoteSqlText("O'Brien"), "'O''Brien'");
    EXPECT_EQ(db::sql::sqlInteger(" 2005 "), "2005");
    EXPECT_THROW(db::sql::sqlInteger("2005 OR 1=1"), SqlError);
    Session session;
    session.create("t", {{field("N", FieldType::Alpha, 20)}, 0});
    Record r{text("O'Brien")};
    session.open("t")->insert(r);
    const ResultSet found =
        Statement::parse("SELECT N FROM t WHERE N = " + db::sql::quoteSqlText("O'Brien"))
            .select(session);
    EXPECT_EQ(found.rows.size(), 1u);
}

} // namespace

namespace {

// Two tables of random keys (some blank) joined through a hash join (on "=") and through
// a nested loop (the same equality written as two inequalities): both must give the same
// rows, for every join type, in comma joins and with grouping.
class SqlJoinAgreement : public ::testing::TestWithParam<unsigned> {
protected:
    void fill(const char* name, int rows, std::mt19937& rng) {
        auto t =
            session.create(name, {{field("K", FieldType::Long), field("S", FieldType::Alpha, 4),
                                   field("V", FieldType::Number)},
                                  0});
        for (int i = 0; i < rows; ++i) {
            const unsigned k = rng() % 12;
            Record r{k < 2 ? Value(Null{}) : Value(static_cast<std::int32_t>(k)),
                     k == 3 ? Value(Null{}) : Value(std::string(1, static_cast<char>('a' + k % 5))),
                     static_cast<double>(i)};
            t->insert(r);
        }
    }

    std::vector<Record> sorted(const std::string& sql) {
        std::vector<Record> rows = Statement::parse(sql).select(session).rows;
        const auto number = [](const Value& v) { return isNull(v) ? -1.0 : std::get<double>(v); };
        std::sort(rows.begin(), rows.end(), [&](const Record& a, const Record& b) {
            return std::pair(number(a[0]), number(a[1])) < std::pair(number(b[0]), number(b[1]));
        });
        return rows;
    }

    Session session;
};

TEST_P(SqlJoinAgreement, HashJoinAndNestedLoopAgree) {
    std::mt19937 rng(GetParam());
    fill("a", 40, rng);
    fill("b", 30, rng);
    for (const char* join :
         {"INNER JOIN", "LEFT OUTER JOIN", "RIGHT OUTER JOIN", "FULL OUTER JOIN"}) {
        const std::string head = std::string("SELECT a.V, b.V FROM a ") + join + " b ON ";
        const auto hashed = sorted(head + "a.K = b.K AND a.S = b.S");
        const auto looped =
            sorted(head + "a.K >= b.K AND a.K <= b.K AND a.S >= b.S AND a.S <= b.S");
        EXPECT_EQ(hashed, looped) << join;
        EXPECT_FALSE(hashed.empty()) << join;
    }
    EXPECT_EQ(sorted("SELECT a.V, b.V FROM a, b WHERE b.K = a.K AND a.V < 30"),
              sorted("SELECT a.V, b.V FROM a INNER JOIN b ON a.K - b.K = 0 WHERE a.V < 30"));
    const ResultSet grouped =
        Statement::parse("SELECT a.S, COUNT(*), COUNT(b.V), SUM(b.V) FROM a LEFT OUTER JOIN b ON "
                         "a.K = b.K GROUP BY a.S")
            .select(session);
    const ResultSet looped =
        Statement::parse("SELECT a.S, COUNT(*), COUNT(b.V), SUM(b.V) FROM a LEFT OUTER JOIN b ON "
                         "a.K <= b.K AND b.K <= a.K GROUP BY a.S")
            .select(session);
    EXPECT_EQ(grouped.rows, looped.rows);
}

INSTANTIATE_TEST_SUITE_P(Seeds, SqlJoinAgreement, ::testing::Values(1u, 2u, 3u, 4u));

// The session keeps the block maps of a table and of its index after a statement lets the
// table go, and the next statement takes them only while the files are as they were: rows
// another program moved, added or removed in between are all seen, by a scan and through
// the index.
TEST(SqlBlockMapTest, ChangesOfAnotherProgramAreSeenAfterTheTableWasLetGo) {
    const auto code = [](int n) { return text(std::to_string(100000 + n).c_str()); };
    {
        Session maker;
        auto t = maker.create(
            "Muv", {{field("Kod", FieldType::Alpha, 6), field("Menny", FieldType::Long)}, 1},
            {{"MennyInd", {"Menny"}}});
        SessionTransaction transaction(maker);
        for (int i = 0; i < 3000; i += 2) { // the odd keys free, for another program's rows
            Record r{code(i), 1};
            t->insert(r);
        }
        transaction.Commit();
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(150)); // the file settles
    Session session;
    const auto totals = [&] {
        const ResultSet r =
            Statement::parse("SELECT COUNT(*), SUM(Menny), MAX(Kod) FROM Muv WHERE Kod >= '101000'")
                .select(session);
        return r.rows.at(0);
    };
    const auto byIndex = [&](int menny) { // few rows: read through the index
        const ResultSet r = Statement::parse("SELECT COUNT(*), MIN(Kod) FROM Muv WHERE Menny = " +
                                             std::to_string(menny))
                                .select(session);
        return r.rows.at(0);
    };
    const Record before{1000, 1000.0, text("102998")};
    EXPECT_EQ(totals(), before); // the chain walked, its map kept
    EXPECT_EQ(totals(), before); // the map taken again
    EXPECT_EQ(byIndex(5), (Record{0, Null{}}));
    EXPECT_EQ(byIndex(5), (Record{0, Null{}}));
    const auto otherProgram = [](const std::function<void(SharedTable&)>& change) {
        Session other;
        change(*other.open("Muv"));
    };
    otherProgram([&](SharedTable& t) { // as many records, in other blocks
        t.remove(*t.file().find({code(1000)}));
        Record r{code(2999), 5};
        t.insert(r);
    });
    EXPECT_EQ(totals(), (Record{1000, 1004.0, text("102999")}));
    EXPECT_EQ(byIndex(5), (Record{1, text("102999")}));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(totals(), (Record{1000, 1004.0, text("102999")}));
    EXPECT_EQ(byIndex(5), (Record{1, text("102999")}));
    EXPECT_EQ(byIndex(7), (Record{0, Null{}}));
    otherProgram([&](SharedTable& t) { // new records in the middle split the blocks
        for (int i = 1001; i < 2999; i += 2) {
            Record r{code(i), i % 500 == 1 ? 7 : 2};
            t.insert(r);
        }
    });
    EXPECT_EQ(totals(), (Record{1999, 3022.0, text("102999")}));
    EXPECT_EQ(byIndex(7), (Record{4, text("101001")}));
}

} // namespace
