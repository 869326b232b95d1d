// New headers (block size rule, layout read by the oracle tool) and parsing of every kind
// of file header the fixtures hold.

#include "platform/db/error.h"
#include "platform/db/header.h"
#include "platform/db/table_file.h"
#include "support/test_env.h"
#include "table_builder.h"

#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace fs = std::filesystem;

namespace {

db::FieldDef field(db::FieldType type, const std::string& name, int size = 0, int decimals = 0) {
    return {name, type, db::storedSize(type, size), decimals};
}

std::vector<db::FieldDef> alphas(int count, int size) {
    std::vector<db::FieldDef> f;
    for (int i = 0; i < count; ++i)
        f.push_back(field(db::FieldType::Alpha, "F" + std::to_string(i), size));
    return f;
}

std::vector<std::uint8_t> fileBytes(const fs::path& p) {
    const std::string s = testenv::readFile(p);
    return {s.begin(), s.end()};
}

db::TableHeader parseFile(const fs::path& p) {
    const auto bytes = fileBytes(p);
    return db::parseHeader(bytes, bytes.size(), p);
}

// Day number (day 1 = 0001-01-01) of a proleptic Gregorian date.
std::int32_t day(int y, int m, int d) {
    y -= m <= 2;
    const int era = y / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 305;
}

std::string recordsOf(const std::string& dump) {
    const auto at = dump.find("#columns");
    return at == std::string::npos ? "" : dump.substr(dump.find('\n', at) + 1);
}

// The oracle's own reading of the header bytes: no problem reported, and the header end
// it finds equal to the realHeaderSize field.
void expectOracleAcceptsHeader(const fs::path& file) {
    const auto r = testenv::run("'" + testenv::tool("pxdump").string() + "' -r -H '" +
                                file.string() + "' 2>&1");
    EXPECT_EQ(r.exitCode, 0) << r.out;
    EXPECT_EQ(r.out.find("MISMATCH"), std::string::npos) << r.out;
    const auto end = r.out.find("raw.headerEnd\t@0x");
    ASSERT_NE(end, std::string::npos) << r.out;
    const unsigned headerEnd = std::stoul(r.out.substr(end + 17), nullptr, 16);
    const auto says = r.out.find("realHeaderSize field says ", end);
    ASSERT_NE(says, std::string::npos);
    EXPECT_EQ(headerEnd, std::stoul(r.out.substr(says + 26))) << r.out;
}

TEST(DataHeader, BlockSizeGrowsOnlyWhenRecordsDoNotFit) {
    struct Case {
        std::vector<db::FieldDef> fields;
        int keys;
        int blockKiB;
    };
    const std::vector<Case> cases = {
        {alphas(2, 20), 0, 2},
        {alphas(8, 255), 0, 2}, // 2040 bytes: one record fits a 2 KiB block
        {alphas(9, 255), 0, 4}, // 2295 bytes
        {alphas(8, 85), 1, 2},  // 680 bytes: three to a 2 KiB block
        {alphas(10, 70), 1, 4}, // 700 bytes
        {alphas(3, 255), 3, 4}, // three 771-byte index entries exceed 2 KiB
        {alphas(120, 255), 0, 32},
    };
    for (const Case& c : cases) {
        const auto h = db::makeDataHeader("T.DB", c.fields, c.keys, 1250, "anhundc");
        EXPECT_EQ(h.blockSize(), c.blockKiB * 1024)
            << c.fields.size() << " fields, record " << h.recordSize << ", keys " << c.keys;
    }
    EXPECT_THROW(db::makeDataHeader("T.DB", alphas(255, 255), 0, 1250, "anhundc"),
                 std::invalid_argument);
}

TEST(DataHeader, NewHeaderParsesBackAndPatchesOnlyCounters) {
    auto h = db::makeDataHeader(
        "Parcella.DB",
        {field(db::FieldType::AutoInc, "Azonosító"), field(db::FieldType::Alpha, "Megnevezés", 40),
         field(db::FieldType::Bcd, "Összeg", 0, 2), field(db::FieldType::Memo, "Megjegyzés", 30)},
        1, 1250, "anhundc");
    const auto bytes = db::encodeHeader(h);
    ASSERT_EQ(bytes.size(), 2048u);
    const auto back = db::parseHeader(bytes, bytes.size(), "Parcella.DB");
    EXPECT_EQ(back.fileType, db::FileType::KeyedData);
    EXPECT_EQ(back.versionText(), "7.0");
    EXPECT_EQ(back.tableName, "Parcella.DB");
    EXPECT_EQ(back.codePage, 1250);
    EXPECT_EQ(back.sortOrderId, "anhundc");
    EXPECT_EQ(back.sortOrder, 0xE1);
    EXPECT_EQ(back.recordSize, 4 + 40 + 17 + 30);
    ASSERT_EQ(back.fields.size(), 4u);
    EXPECT_EQ(back.fields[1].name, "Megnevezés");
    EXPECT_EQ(back.fields[2].decimals, 2);
    EXPECT_EQ(back.fields[3].size, 30);

    auto changed = back;
    changed.numRecords = 70000;
    changed.autoInc = 70001;
    changed.fileBlocks = changed.nextBlock = changed.lastBlock = 2000;
    changed.firstBlock = 1;
    const auto patched = db::encodeHeader(changed);
    std::vector<std::size_t> differing;
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] != patched[i])
            differing.push_back(i);
    const std::vector<std::size_t> counters = {0x06, 0x07, 0x08, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E,
                                               0x10, 0x11, 0x3A, 0x3B, 0x49, 0x4A, 0x4B};
    EXPECT_EQ(differing, counters);
}

// 200 fields with 25-character names do not fit in 2 KiB: the header grows.
TEST(DataHeader, WideTableGetsALargerHeader) {
    std::vector<db::FieldDef> fields;
    for (int i = 0; i < 200; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Nagyon hosszú mezőnév %03d", i);
        fields.push_back(field(db::FieldType::Alpha, name, 1));
    }
    const auto h = db::makeDataHeader("SZELES.DB", fields, 0, 1250, "anhundc");
    EXPECT_EQ(h.headerSize % 2048, 0);
    EXPECT_GT(h.headerSize, 2048);
    const fs::path db = fs::current_path() / "SZELES.DB";
    testdb::writeTable(db, h, {db::Record(200, std::string("x"))});
    expectOracleAcceptsHeader(db);
    const auto back = parseFile(db);
    EXPECT_EQ(back.fields.at(199).name, "Nagyon hosszú mezőnév 199");
}

TEST(Header, EveryFixtureHeaderReencodesToItsOwnBytes) {
    for (const char* f :
         {"generated/TESZT.DB", "generated/TESZT.px", "generated/NAGY.px", "real/db/CUSTOMER.DB",
          "real/db/CUSTOMER.X06", "real/db/CUSTOMER.Y06", "real/db/AREACODES.XG0",
          "real/db/AREACODES.YG0", "real/fields/date35.db", "real/db/AREACODE.DB"}) {
        const auto bytes = fileBytes(testenv::fixture(f));
        const auto h = db::parseHeader(bytes, bytes.size(), f);
        const auto again = db::encodeHeader(h);
        EXPECT_TRUE(std::equal(again.begin(), again.end(), bytes.begin())) << f;
    }
}

TEST(Header, ReadsEveryKindOfFile) {
    const auto x = parseFile(testenv::fixture("real/db/CUSTOMER.X06"));
    EXPECT_EQ(x.fileType, db::FileType::SecondaryXInc);
    ASSERT_EQ(x.fields.size(), 3u);
    EXPECT_EQ(x.fields[0].name, "City");
    EXPECT_EQ(x.fields[2].name, "Blk Num");
    EXPECT_EQ(x.codePage, 1252);
    EXPECT_EQ(x.sortOrderId, "ANSII850");

    const auto y = parseFile(testenv::fixture("real/db/AREACODES.YG0"));
    EXPECT_EQ(y.fileType, db::FileType::SecondaryYG);
    EXPECT_EQ(y.recordSize, 3 + 5 + 6);
    EXPECT_EQ(y.tableName, "areacodes.YG0");
    EXPECT_EQ(y.codePage, 0);

    const auto px = parseFile(testenv::fixture("generated/NAGY.px"));
    EXPECT_EQ(px.fileType, db::FileType::PrimaryIndex);
    EXPECT_EQ(px.indexRoot, 1);
    EXPECT_EQ(px.indexLevels, 2);

    const auto big = parseFile(testenv::fixture("real/db/AREACODES.DB"));
    EXPECT_EQ(big.blockSize(), 16384);

    const auto old = parseFile(testenv::fixture("real/fields/date35.db"));
    EXPECT_EQ(old.versionText(), "3.5");
    EXPECT_EQ(old.codePage, 0);
    EXPECT_EQ(old.sortOrderId, "");
    EXPECT_EQ(old.fields.at(0).name, "DATE");
}

// A level-7 table written by our encoders from scratch, with every field type and edge
// values, read back by the oracle and by our dump.
TEST(DataHeader, NewTableReadByOracleAndByUs) {
    const fs::path db = fs::current_path() / "UJ.DB";
    const fs::path mb = fs::current_path() / "UJ.MB";
    auto h = db::makeDataHeader(
        "UJ.DB",
        {field(db::FieldType::AutoInc, "Azonosító"), field(db::FieldType::Alpha, "Név", 20),
         field(db::FieldType::Long, "Mennyiség"), field(db::FieldType::Short, "Darab"),
         field(db::FieldType::Number, "Terület"), field(db::FieldType::Currency, "Ár"),
         field(db::FieldType::Date, "Dátum"), field(db::FieldType::Time, "Idő"),
         field(db::FieldType::Timestamp, "Időbélyeg"), field(db::FieldType::Logical, "Aktív"),
         field(db::FieldType::Bcd, "Összeg", 0, 2), field(db::FieldType::Bytes, "Kód", 4),
         field(db::FieldType::Memo, "Megjegyzés", 25)},
        1, 1250, "anhundc");
    std::string longMemo;
    for (int i = 0; i < 40; ++i)
        longMemo += "őszibarack, körte, szőlő; ";
    const std::int32_t noon = 12 * 3600000;
    const std::vector<db::Record> records = {
        {1, std::string("Árvíztűrő tükörfúrógép"), 123456, -3, -0.125, 1234.56,
         db::Date{day(1899, 12, 31)}, db::Time{86399999},
         db::Timestamp{day(1900, 1, 1) * 86400000.0 + 1}, true, db::Decimal{"-12.50"},
         db::Bytes{0x00, 0x01, 0x02, 0x03}, std::string("rövid")},
        {2, std::string("ÁRVÍZTŰRŐ"), 0, 0, 0.0, 0.0, db::Date{day(9999, 12, 31)}, db::Time{0},
         db::Timestamp{day(2024, 2, 29) * 86400000.0 + noon}, false, db::Decimal{"0.00"},
         db::Bytes{0xFF}, longMemo},
        {3, db::Null{}, db::Null{}, db::Null{}, db::Null{}, db::Null{}, db::Null{}, db::Null{},
         db::Null{}, db::Null{}, db::Null{}, db::Null{}, db::Null{}},
    };
    h.autoInc = 3;
    testdb::writeTable(db, h, records, mb);
    expectOracleAcceptsHeader(db);

    const std::string rows =
        "1\tÁrvíztűrő tükörfúróg\t123456\t-3\t-0.125\t1234.56\t1899-12-31\t23:59:59.999\t"
        "1900-01-01 00:00:00.001\ttrue\t-12.50\t%BYTES%\trövid\n"
        "2\tÁRVÍZTŰRŐ\t0\t0\t0\t0\t9999-12-31\t00:00:00\t2024-02-29 12:00:00\tfalse\t0.00\t"
        "ff000000\t" +
        longMemo +
        "\n"
        "3\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\t\\N\n";
    auto withBytes = [&](const std::string& value) {
        std::string s = rows;
        s.replace(s.find("%BYTES%"), 7, value);
        return s;
    };
    const auto oracle =
        testenv::run("'" + testenv::tool("pxdump").string() + "' '" + db.string() + "'");
    EXPECT_EQ(oracle.exitCode, 0);
    // The oracle reads Bytes starting with a zero byte as NULL.
    EXPECT_EQ(recordsOf(oracle.out), withBytes("\\N"));
    const auto ours = testenv::run("'" + testenv::tabledump().string() + "' '" + db.string() + "'");
    EXPECT_EQ(ours.exitCode, 0);
    EXPECT_EQ(recordsOf(ours.out), withBytes("00010203"));
    // Apart from the records and the title line, the header lines agree.
    auto headerOf = [](const std::string& dump) {
        return dump.substr(dump.find('\n', dump.find(" view of ")) + 1,
                           dump.find("#columns") - dump.find('\n', dump.find(" view of ")));
    };
    EXPECT_EQ(headerOf(ours.out), headerOf(oracle.out));
}

TEST(IndexHeader, NewPrimaryIndexReadByOracle) {
    const auto data =
        db::makeDataHeader("KULCS.DB",
                           {field(db::FieldType::Alpha, "Kód", 6), field(db::FieldType::Long, "Év"),
                            field(db::FieldType::Number, "Érték")},
                           2, 1250, "anhundc");
    testdb::writeTable(fs::current_path() / "KULCS.DB", data,
                       {{std::string("A1"), 2024, 1.5}, {std::string("B2"), 2025, 2.5}});
    auto px = db::makePrimaryIndexHeader(data);
    EXPECT_EQ(px.recordSize, 6 + 4 + 6);
    EXPECT_EQ(px.fields.size(), 2u);
    px.indexRoot = 1;
    px.indexLevels = 1;
    auto entryFields = px.fields;
    for (int i = 0; i < 3; ++i)
        entryFields.push_back(field(db::FieldType::Short, ""));
    px.fields = entryFields; // the builder encodes the three trailing integers too
    px.recordSize = 16;
    auto written = testdb::writeTable(fs::current_path() / "KULCS.PX", px,
                                      {{std::string("A1"), 2024, 1, 2, 0}});
    expectOracleAcceptsHeader(fs::current_path() / "KULCS.PX");
    const auto oracle = testenv::run("'" + testenv::tool("pxdump").string() + "' '" +
                                     (fs::current_path() / "KULCS.PX").string() + "'");
    EXPECT_EQ(oracle.exitCode, 0);
    EXPECT_EQ(recordsOf(oracle.out), "A1\t2024\t1\t2\t0\t1\n");
}

} // namespace
