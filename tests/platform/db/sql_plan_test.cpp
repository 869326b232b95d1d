// How a SELECT reaches its rows does not change its answer: the same statements run on
// tables keyed and indexed as the program's (read through the primary key and the
// secondary indexes, small tables read first and joined tables read under their keys)
// and on the same rows in plain tables (every table read whole) give the same rows in
// the same order, also without ORDER BY.

#include "platform/db/session.h"
#include "platform/db/sql/sql.h"
#include "platform/sys/datetime.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace db;
using db::sql::ResultSet;
using db::sql::Statement;

namespace {

FieldDef field(const std::string& name, FieldType type, int size = 0) {
    return {name, type, storedSize(type, size), 0};
}

std::string code(const char* prefix, int n) {
    return prefix + std::to_string(n);
}

Value day(int year, int dayOfYear) {
    return Date{sys::dateTimeToParadoxDays(sys::encodeDate(year, 1, 1)) + dayOfYear};
}

// Fields, operations on them, material uses of the operations and materials, written in
// key order to a keyed and indexed folder and to a plain one.
class SqlPlanTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories("keyed");
        std::filesystem::create_directories("plain");
        fill(keyed, true);
        fill(plain, false);
    }

    static void fill(Session& s, bool indexed) {
        const int key = indexed ? 1 : 0;
        auto parcels = s.create(
            "parcellak", {{field("Parckod", FieldType::Alpha, 6), field("Evj", FieldType::Long),
                           field("Agazat", FieldType::Alpha, 20)},
                          key});
        for (int i = 0; i < 40; ++i) {
            Record r{code("P", 100 + i), 2000 + i % 20, std::string(i % 3 ? "búza" : "Árpa")};
            parcels->insert(r);
        }
        auto ops =
            s.create("ElvMuv",
                     {{field("Muvkod", FieldType::Alpha, 6), field("Tablakod", FieldType::Alpha, 6),
                       field("Datum", FieldType::Date), field("Ter", FieldType::Long)},
                      key});
        for (int i = 0; i < 400; ++i) {
            // Some operations' field is spelled in small letters (P107 and p107): the index
            // ignores case, the equality does not.
            std::string parcel = code("P", 100 + (i * 7) % 40);
            if (i % 80 == 1)
                parcel[0] = 'p';
            Record r{code("M", 10000 + i), parcel, day(2000 + i % 20, i % 300), i};
            ops->insert(r);
        }
        auto uses =
            s.create("felhanyag",
                     {{field("Felhkod", FieldType::Alpha, 6), field("Muvkod", FieldType::Alpha, 6),
                       field("Anyagkod", FieldType::Alpha, 6), field("Menny", FieldType::Number)},
                      key});
        for (int i = 0; i < 800; ++i) {
            Record r{code("F", 10000 + i), code("M", 10000 + (i * 13) % 410),
                     code("A", 10 + i % 12), double(i % 17)};
            uses->insert(r);
        }
        auto mats = s.create(
            "Tapanyagok",
            {{field("Kod", FieldType::Alpha, 6), field("Nev", FieldType::Alpha, 20)}, key});
        for (int i = 0; i < 10; ++i) {
            Record r{code("A", 10 + i), code("anyag ", i)};
            mats->insert(r);
        }
        if (!indexed)
            return;
        IndexDef byParcel{"ElvMuvtablaind", {"Tablakod"}};
        byParcel.caseInsensitive = true;
        ops->addIndex(byParcel);
        ops->addIndex({"ElvMuvDatumInd", {"Datum"}});
        uses->addIndex({"felhamuvkind", {"Muvkod"}});
    }

    // The statement on both folders: the same columns and rows in the same order.
    ResultSet agree(const std::string& text, const std::map<std::string, Value>& params = {}) {
        const Statement st = Statement::parse(text);
        const ResultSet a = st.select(keyed, params);
        const ResultSet b = st.select(plain, params);
        EXPECT_EQ(a.rows, b.rows) << text;
        EXPECT_EQ(a.columns.size(), b.columns.size()) << text;
        return a;
    }

    Session keyed{"keyed"};
    Session plain{"plain"};
};

TEST_F(SqlPlanTest, IndexedReadsGiveTheRowsOfFullReadsInTheSameOrder) {
    // One field's operations through the index, their uses through theirs, the
    // materials through their key; grouped.
    const ResultSet inputs =
        agree("SELECT Tapanyagok.Nev, AVG( felhanyag.Menny ) Menny, SUM( ElvMuv.Ter ) Ter, "
              "COUNT(*)\nFROM felhanyag\n INNER JOIN Tapanyagok ON (felhanyag.Anyagkod = "
              "Tapanyagok.Kod)\n INNER JOIN ElvMuv ON (ElvMuv.Muvkod = felhanyag.Muvkod)\nWHERE "
              "ElvMuv.Tablakod = :pkod\nGROUP BY Tapanyagok.Nev",
              {{"pkod", std::string("P107")}});
    EXPECT_FALSE(inputs.rows.empty());
    // Not ordered: the rows come in the nested loops' order on both sides.
    const ResultSet uses = agree("SELECT felhanyag.Felhkod, ElvMuv.Muvkod, ElvMuv.Ter FROM "
                                 "felhanyag, ElvMuv WHERE ElvMuv.Muvkod = felhanyag.Muvkod AND "
                                 "ElvMuv.Tablakod = 'P121'");
    EXPECT_GT(uses.rows.size(), 10u);
    // A small driver (one year's fields) and its operations read under its keys.
    const ResultSet list = agree("SELECT * FROM parcellak, ElvMuv WHERE parcellak.Parckod = "
                                 "Tablakod AND Evj = 2004");
    EXPECT_GT(list.rows.size(), 5u);
    agree("SELECT parcellak.Parckod, ElvMuv.Muvkod FROM parcellak LEFT OUTER JOIN ElvMuv ON "
          "ElvMuv.Tablakod = parcellak.Parckod WHERE Evj = 2004 OR Evj = 2019");
    // A date through its index, a key that no record has, a text wider than the field.
    agree("SELECT Muvkod, Ter FROM ElvMuv WHERE Datum = :d", {{"d", day(2003, 3)}});
    EXPECT_TRUE(agree("SELECT * FROM ElvMuv WHERE Muvkod = 'M99999'").rows.empty());
    EXPECT_TRUE(agree("SELECT * FROM ElvMuv WHERE Tablakod = 'P1070'").rows.empty());
    agree("SELECT Kod, Nev FROM Tapanyagok WHERE Kod = 'A12' OR Kod = 'A13'");
}

TEST_F(SqlPlanTest, AnIndexIgnoringCaseDoesNotWidenAnEquality) {
    const ResultSet upper = agree("SELECT Muvkod FROM ElvMuv WHERE Tablakod = 'P107'");
    const ResultSet lower = agree("SELECT Muvkod FROM ElvMuv WHERE Tablakod = 'p107'");
    ASSERT_FALSE(upper.rows.empty());
    ASSERT_FALSE(lower.rows.empty());
    for (const Record& r : lower.rows)
        EXPECT_EQ(std::find(upper.rows.begin(), upper.rows.end(), r), upper.rows.end());
}

TEST_F(SqlPlanTest, GroupColumnsOutsideTheGroupAreAnErrorOnEitherFolder) {
    // Muvkod is not grouped: no group has one value of it.
    for (Session* s : {&keyed, &plain}) {
        EXPECT_THROW(Statement::parse("SELECT Tablakod, Muvkod, COUNT(*) FROM ElvMuv WHERE Ter < "
                                      "100 GROUP BY Tablakod ORDER BY Tablakod")
                         .select(*s),
                     sql::SqlError);
        EXPECT_THROW(
            Statement::parse("SELECT parcellak.Agazat, ElvMuv.Muvkod, SUM(ElvMuv.Ter) FROM "
                             "ElvMuv INNER JOIN parcellak ON ElvMuv.Tablakod = "
                             "parcellak.Parckod WHERE parcellak.Evj = 2005 GROUP BY "
                             "parcellak.Agazat")
                .select(*s),
            sql::SqlError);
    }
}

TEST_F(SqlPlanTest, IndexedReadsSeeTheChangesOfAnOpenTransaction) {
    {
        SessionTransaction transaction(keyed);
        Record r{std::string("M99990"), std::string("P121"), day(2001, 1), 5};
        keyed.open("ElvMuv")->insert(r);
        const ResultSet inside =
            Statement::parse("SELECT Muvkod FROM ElvMuv WHERE Tablakod = 'P121'").select(keyed);
        EXPECT_EQ(inside.rows.back()[0], Value(std::string("M99990")));
    } // rolled back
    const ResultSet after =
        Statement::parse("SELECT Muvkod FROM ElvMuv WHERE Tablakod = 'P121'").select(keyed);
    for (const Record& r : after.rows)
        EXPECT_NE(r[0], Value(std::string("M99990")));
}

// Where the records whose field `field` holds `value` are (none moves when a field other
// than the key changes).
std::vector<RecordPos> positionsOf(SharedTable& table, int field, const std::string& value) {
    std::vector<RecordPos> found;
    table.file().scan([&](RecordPos pos, std::span<const std::uint8_t> raw) {
        if (table.file().codec().decode(raw, field) == Value(value))
            found.push_back(pos);
        return true;
    });
    return found;
}

// The blocks kept between statements (lookups' blocks, a small table read whole) never
// outlive a change: a statement sees the open transaction's changes, the rows as they
// were after its rollback, and the committed ones after a commit.
TEST_F(SqlPlanTest, RepeatedStatementsFollowChangesMadeDroppedAndCommitted) {
    const std::string inputs =
        "SELECT Tapanyagok.Nev, SUM( felhanyag.Menny ) Menny, COUNT(*)\nFROM felhanyag\n INNER "
        "JOIN Tapanyagok ON (felhanyag.Anyagkod = Tapanyagok.Kod)\n INNER JOIN ElvMuv ON "
        "(ElvMuv.Muvkod = felhanyag.Muvkod)\nWHERE ElvMuv.Tablakod = :pkod\nGROUP BY "
        "Tapanyagok.Nev";
    const std::map<std::string, Value> params{{"pkod", std::string("P107")}};
    std::vector<std::shared_ptr<SharedTable>> open; // as the forms keep them
    for (const char* name : {"parcellak", "ElvMuv", "felhanyag", "Tapanyagok"})
        open.push_back(keyed.open(name));
    const ResultSet before = agree(inputs, params);
    ASSERT_EQ(agree(inputs, params).rows, before.rows); // read again from kept blocks
    // A material renamed and the uses of one operation of P107 (M10041) changed, on both sides.
    const auto change = [&](Session& s) {
        auto mats = s.open("Tapanyagok");
        for (const RecordPos pos : positionsOf(*mats, 0, code("A", 11)))
            mats->update(pos, {code("A", 11), std::string("átnevezve")});
        auto uses = s.open("felhanyag");
        const auto changed = positionsOf(*uses, 1, code("M", 10041));
        EXPECT_GT(changed.size(), 0u);
        for (const RecordPos pos : changed) {
            Record use = uses->file().read(pos);
            use[3] = std::get<double>(use[3]) * 2 + 1;
            uses->update(pos, use);
        }
    };
    {
        SessionTransaction inKeyed(keyed), inPlain(plain);
        change(keyed);
        change(plain);
        const ResultSet inside = agree(inputs, params);
        EXPECT_NE(inside.rows, before.rows);
        EXPECT_EQ(agree(inputs, params).rows, inside.rows);
    } // both rolled back
    EXPECT_EQ(agree(inputs, params).rows, before.rows);
    change(keyed);
    change(plain);
    const ResultSet after = agree(inputs, params);
    EXPECT_NE(after.rows, before.rows);
    bool renamed = false;
    for (const Record& r : after.rows)
        renamed = renamed || r[0] == Value(std::string("átnevezve"));
    EXPECT_TRUE(renamed);
}

// A sorted join whose large table drives it keeps the rows that sort alike in the order
// the join as written gives them: the unsorted rows, stably sorted.
TEST_F(SqlPlanTest, SortedJoinsKeepTheWrittenJoinsOrderAmongEqualKeys) {
    const std::string from = "SELECT parcellak.Evj, ElvMuv.Muvkod, felhanyag.Felhkod FROM "
                             "parcellak, ElvMuv, felhanyag WHERE parcellak.Parckod = Tablakod "
                             "AND felhanyag.Muvkod = ElvMuv.Muvkod";
    for (const char* direction : {"", " DESC"}) {
        std::vector<Record> expected = agree(from).rows;
        std::stable_sort(expected.begin(), expected.end(), [&](const Record& a, const Record& b) {
            const auto year = [](const Record& r) { return std::get<std::int32_t>(r[0]); };
            return *direction ? year(b) < year(a) : year(a) < year(b);
        });
        const ResultSet sorted = agree(from + " ORDER BY Evj" + direction);
        EXPECT_EQ(sorted.rows, expected) << direction;
        EXPECT_GT(sorted.rows.size(), 700u);
    }
}

// Rows that nobody sorts, groups or makes distinct leave the join in batches: what a run
// holds stays the same while the driver, and so the rows, grow tenfold; sorted rows are
// held until the last. The batches are the rows select() gives, in its order.
TEST_F(SqlPlanTest, UnsortedRowsOfAJoinGoToTheCallerWithoutBeingHeld) {
    for (const int n : {20, 200}) {
        auto t = plain.create("sor" + std::to_string(n), {{field("N", FieldType::Long)}, 0});
        for (int i = 0; i < n; ++i) {
            Record r{i};
            t->insert(r);
        }
    }
    std::vector<Record> got;
    const auto held = [&](const std::string& sql) {
        sql::RunMeasure measure;
        got.clear();
        Statement::parse(sql).select(
            plain, {},
            [&](const sql::ResultRows& batch) {
                got.insert(got.end(), batch.begin(), batch.end());
            },
            &measure);
        return measure.peakRowsHeld;
    };
    const std::string join = "SELECT s.N, p.Parckod, t.Nev FROM sor20 s, parcellak p, Tapanyagok t";
    const std::size_t small = held(join);
    EXPECT_EQ(got.size(), 8000u);
    EXPECT_EQ(Statement::parse(join).select(plain).rows, got);
    const std::size_t large = held("SELECT s.N, p.Parckod, t.Nev FROM sor200 s, parcellak p, "
                                   "Tapanyagok t");
    EXPECT_EQ(got.size(), 80000u);
    EXPECT_EQ(large, small);
    EXPECT_LT(large, 8000u);
    EXPECT_GE(held("SELECT s.N, p.Parckod FROM sor200 s, parcellak p ORDER BY p.Parckod"), 8000u);
    // An outer join's rows come out of its last join the same way.
    const std::string outer = "SELECT s.N, t.Nev, p.Evj FROM Tapanyagok t RIGHT JOIN sor200 s ON "
                              "t.Kod = 'A12', parcellak p";
    held(outer);
    EXPECT_EQ(got.size(), 8000u);
    EXPECT_EQ(Statement::parse(outer).select(plain).rows, got);
}

} // namespace

// Records that later inserts push into other blocks are still found through the index:
// the same rows as the plain tables give.
TEST_F(SqlPlanTest, RecordsMovedByLaterInsertsAreFoundThroughTheirIndex) {
    const auto keyedOps = keyed.open("ElvMuv");
    const auto before = positionsOf(*keyedOps, 1, "P107");
    std::size_t added = 0; // to P107
    for (Session* s : {&keyed, &plain}) {
        const auto ops = s->open("ElvMuv");
        for (int i = 0; i < 300; ++i) { // keys below every other: blocks fill and split
            Record r{code("L", 10000 + i), code("P", 100 + (i * 11) % 40), day(2010, i), 1000 + i};
            ops->insert(r);
            added += s == &keyed && r[1] == Value(std::string("P107"));
        }
    }
    EXPECT_NE(positionsOf(*keyedOps, 1, "P107"), before); // the old records have moved
    const ResultSet moved = agree("SELECT Muvkod, Ter FROM ElvMuv WHERE Tablakod = 'P107' "
                                  "ORDER BY Muvkod");
    EXPECT_EQ(moved.rows.size(), before.size() + added);
    agree("SELECT Tapanyagok.Nev, SUM( felhanyag.Menny ), COUNT(*) FROM felhanyag INNER JOIN "
          "Tapanyagok ON (felhanyag.Anyagkod = Tapanyagok.Kod) INNER JOIN ElvMuv ON "
          "(ElvMuv.Muvkod = felhanyag.Muvkod) WHERE ElvMuv.Tablakod = 'P121' GROUP BY "
          "Tapanyagok.Nev");
}
