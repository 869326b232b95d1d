// Opening tables by name and reading their records.

#include "platform/db/error.h"
#include "platform/db/table_file.h"
#include "support/test_env.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

TEST(TableFile, OpensByNameInAnyLetterCaseWithOrWithoutExtension) {
    testenv::copyFixture("generated/TESZT.DB");
    for (const char* name : {"TESZT.DB", "teszt.db", "Teszt", "tEsZt.Db"}) {
        const auto t = db::TableFile::open(fs::current_path() / name, {.writable = false});
        EXPECT_EQ(t->path().filename(), "TESZT.DB") << name;
        EXPECT_EQ(t->recordCount(), 5u);
    }
    try {
        db::TableFile::open(fs::current_path() / "NINCS", {.writable = false});
        FAIL() << "opened a missing table";
    } catch (const db::DbError& e) {
        EXPECT_EQ(e.file().filename(), "NINCS.db");
    }
}

TEST(TableFile, FieldIndexIgnoresLetterCaseOfHungarianNames) {
    const auto t = db::TableFile::open(testenv::fixture("generated/TESZT.DB"), {.writable = false});
    EXPECT_EQ(t->fieldIndex("Megnevezés"), 1);
    EXPECT_EQ(t->fieldIndex("MEGNEVEZÉS"), 1);
    EXPECT_EQ(t->fieldIndex("ár"), 7);
    EXPECT_EQ(t->fieldIndex("IDŐBÉLYEG"), 9);
    EXPECT_EQ(t->fieldIndex("BCD ÖSSZEG"), 10);
    EXPECT_EQ(t->fieldIndex("Megnevezes"), -1);
}

TEST(TableFile, ReadsEveryRecordOfAManyBlockTable) {
    const auto t = db::TableFile::open(testenv::fixture("generated/NAGY.DB"), {.writable = false});
    ASSERT_EQ(t->blocks().size(), 572u);
    std::uint32_t total = 0;
    for (const auto& b : t->blocks())
        total += b.records;
    EXPECT_EQ(total, 20000u);

    std::vector<db::RecordPos> positions;
    t->scan([&](db::RecordPos pos, std::span<const std::uint8_t>) {
        positions.push_back(pos);
        return true;
    });
    ASSERT_EQ(positions.size(), 20000u);
    const auto all = t->readAll();
    ASSERT_EQ(all.size(), 20000u);
    EXPECT_EQ(all.front()[0], db::Value(std::string("100000")));
    EXPECT_EQ(all.back()[0], db::Value(std::string("119999")));
    for (const std::size_t i : {0u, 34u, 35u, 12345u, 19999u})
        EXPECT_EQ(t->read(positions[i]), all[i]) << i;

    int visited = 0;
    t->scan([&](db::RecordPos, std::span<const std::uint8_t>) { return ++visited < 3; });
    EXPECT_EQ(visited, 3);

    EXPECT_THROW(t->readRaw({1, 35}), db::DbError); // a full block holds 35
    EXPECT_THROW(t->readRaw({0, 0}), db::DbError);
    EXPECT_THROW(t->readRaw({573, 0}), db::DbError);
}

TEST(TableFile, MemoLongerThanItsLeaderComesFromTheBlobFile) {
    const auto t = db::TableFile::open(testenv::fixture("generated/TESZT.DB"), {.writable = false});
    const auto rows = t->readAll();
    EXPECT_EQ(rows[0][11], db::Value(std::string("rövid")));
    EXPECT_EQ(rows[1][11], db::Value(std::string("Ez egy hosszabb megjegyzés, amely nem fér bele a "
                                                 "rekordba: őszibarack, körte, szőlő.")));
    EXPECT_EQ(rows[2][11], db::Value(std::string("sor1\nsor2")));
    EXPECT_EQ(rows[3][11], db::Value(db::Null{}));
    // Without the blob file only the leader is there.
    EXPECT_EQ(t->codec().decode(t->readRaw({1, 1}), 11), db::Value(std::string("Ez egy hos")));
}

} // namespace
