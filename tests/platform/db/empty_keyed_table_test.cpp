// The original engine leaves an empty keyed table's .px as its header alone: no index
// blocks, the root named as block 1. Such a table opens, reads as empty, and takes
// inserts, after which its .px is a normal index.

#include "platform/db/error.h"
#include "platform/db/header.h"
#include "platform/db/session.h"
#include "support/table_check.h"
#include "support/test_env.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace db;
namespace fs = std::filesystem;

namespace {

// A keyed table with a secondary index, as the original engine leaves it empty.
void makeOriginalEmptyTable() {
    {
        Session session;
        session.create("Ures",
                       {{{"Kod", FieldType::Alpha, 10, 0},
                         {"Nev", FieldType::Alpha, 40, 0},
                         {"Ter", FieldType::Number, 8, 0}},
                        1},
                       {{"NevInd", {"Nev"}, true}});
    }
    const TableHeader data = parseHeader(
        [] {
            std::ifstream in("Ures.db", std::ios::binary);
            return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
        }(),
        fs::file_size("Ures.db"), "Ures.db");
    TableHeader px = makePrimaryIndexHeader(data);
    px.numRecords = 0;
    px.fileBlocks = px.nextBlock = px.firstBlock = px.lastBlock = 0;
    px.indexRoot = 1;
    px.indexLevels = 1;
    const auto bytes = encodeHeader(px);
    std::ofstream out("Ures.px", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

} // namespace

TEST(EmptyKeyedTable, TheOriginalEnginesHeaderOnlyIndexOpensReadsEmptyAndTakesInserts) {
    makeOriginalEmptyTable();
    ASSERT_EQ(fs::file_size("Ures.px"), 0x800u); // the header alone
    {
        // A reader takes it as it is and writes nothing.
        const auto table = TableFile::open("Ures", {.writable = false});
        EXPECT_EQ(table->recordCount(), 0u);
        EXPECT_TRUE(table->readAll().empty());
        EXPECT_FALSE(table->find({Value(std::string("A1"))}).has_value());
    }
    EXPECT_EQ(fs::file_size("Ures.px"), 0x800u);
    {
        Session session;
        auto table = session.open("Ures");
        EXPECT_TRUE(session.log().empty()) << session.log().front();
        for (const char* code : {"C3", "A1", "B2"}) {
            Record r{std::string(code), std::string("tábla ") + code, 1.5};
            table->insert(r);
        }
        EXPECT_EQ(table->index("NevInd")->verify(), "");
    }
    const auto table = TableFile::open("Ures", {.writable = false});
    ASSERT_EQ(table->recordCount(), 3u);
    EXPECT_EQ(table->readAll().front()[0], Value(std::string("A1")));
    EXPECT_GT(fs::file_size("Ures.px"), 0x800u);
    EXPECT_EQ(testenv::checkPrimaryIndex(*table), "");
    EXPECT_EQ(testenv::compareWithOracle(table->path()), "");
}
