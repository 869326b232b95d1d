#include "platform/db/error.h"
#include "platform/db/header.h"
#include "platform/db/secondary_index.h"
#include "platform/db/table_file.h"
#include "platform/sys/codepage.h"
#include "support/table_check.h"
#include "support/test_env.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>

using namespace db;
namespace fs = std::filesystem;

namespace {

FieldDef field(const std::string& name, FieldType type, int size = 0) {
    return {name, type, storedSize(type, size), 0};
}

std::string bytesOf(const fs::path& path) {
    return testenv::readFile(path);
}

// The offset of the first byte where two files differ (or where one ends); -1 if equal.
long firstDifference(const std::string& a, const std::string& b) {
    const auto diff = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return diff.first == a.end() && diff.second == b.end() ? -1 : diff.first - a.begin();
}

int levelsOf(const fs::path& y) {
    const std::string b = bytesOf(y);
    return parseHeader({reinterpret_cast<const std::uint8_t*>(b.data()), b.size()}, b.size(), y)
        .indexLevels;
}

struct Log {
    std::vector<std::string> lines;
    EngineLog sink() {
        return [this](const std::string& line) { lines.push_back(line); };
    }
};

// A farm register keyed on a code: a Hungarian name, a settlement and a year.
TableSchema registerSchema() {
    return {{field("Kod", FieldType::Alpha, 8), field("Nev", FieldType::Alpha, 30),
             field("Telepules", FieldType::Alpha, 12), field("Evj", FieldType::Long)},
            1};
}

const IndexDef kByName{"NevSzerint", {"Nev"}, true, false, false};
const IndexDef kByPlace{"HelyEv", {"Telepules", "Evj"}, false, false, false};

const std::vector<std::string> kNames = {
    "Kovács", "KOVÁCS", "kovacs", "Őze", "Öze",   "oze",   "Ábel", "abel", "Szűcs", "SZUCS",
    "Tóth",   "toth",   "Éva",    "Eva", "Zsolt", "Csaba", "Cs",   "",     "Ünige", "Unige"};
const std::vector<std::string> kPlaces = {"Pécs", "Szeged", "Győr", "Eger", "Érd", ""};

std::string code(int n) {
    char buf[9];
    std::snprintf(buf, sizeof buf, "K%05d", n);
    return buf;
}

Record randomRow(std::mt19937& rng, int n) {
    return {code(n), kNames[rng() % kNames.size()], kPlaces[rng() % kPlaces.size()],
            static_cast<std::int32_t>(1990 + rng() % 30)};
}

// The rows a dump tool prints for a file, in file order.
std::vector<std::string> dumpRows(const std::string& tool, const fs::path& file) {
    const auto out = testenv::run(tool + " '" + file.string() + "'");
    std::vector<std::string> rows;
    bool data = false;
    for (const auto& line : testenv::splitLines(out.out)) {
        if (data && !line.empty() && line[0] != '#')
            rows.push_back(line);
        if (line.rfind("#columns", 0) == 0)
            data = true;
    }
    return rows;
}

std::vector<std::string> oracleRows(const fs::path& file) {
    return dumpRows(testenv::tool("pxdump").string(), file);
}

// The oracle's raw walk of an index file's header and block chain finds nothing, and
// both dumps list the same rows.
void expectOracleReads(const fs::path& file) {
    const auto raw = testenv::run(testenv::tool("pxdump").string() + " -r '" + file.string() + "'");
    EXPECT_EQ(raw.exitCode, 0) << file;
    for (const auto& line : testenv::splitLines(raw.out))
        for (const char* bad : {"MISMATCH", "ERROR", "WARNING", "wrong"})
            EXPECT_EQ(line.find(bad), std::string::npos) << file << ": " << line;
    const auto ours = dumpRows(testenv::tabledump().string(), file);
    EXPECT_FALSE(ours.empty()) << file;
    EXPECT_EQ(ours, oracleRows(file)) << file;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> out(1);
    for (const char c : line) {
        if (c == '\t')
            out.emplace_back();
        else
            out.back() += c;
    }
    return out;
}

} // namespace

// --- the original engine's files ------------------------------------------------------

TEST(SecondaryIndexOriginal, NamedAndSingleFieldIndexesOpenAgreeAndStayUntouched) {
    struct Case {
        const char* fixture;
        const char* xFile;
        const char* name;
        std::vector<std::string> fields;
        std::vector<int> numbers;
    };
    for (const Case& c : {Case{"real/db/AREACODES.DB", "AREACODES.XG0", "ste", {"State"}, {1}},
                          Case{"real/db/CUSTOMER.DB", "CUSTOMER.X06", "City", {"City"}, {5}}}) {
        SCOPED_TRACE(c.fixture);
        const fs::path db = testenv::copyFixture(c.fixture);
        const std::string before = bytesOf(c.xFile);
        for (const bool writable : {true, false}) {
            auto table = TableFile::open(db, {writable});
            Log log;
            auto indexes = SecondaryIndex::openAll(*table, log.sink());
            ASSERT_EQ(indexes.size(), 1u);
            EXPECT_TRUE(log.lines.empty()) << log.lines.front();
            const SecondaryIndex& index = *indexes.front();
            EXPECT_EQ(index.definition().name, c.name);
            EXPECT_EQ(index.definition().fields, c.fields);
            EXPECT_FALSE(index.definition().caseInsensitive);
            EXPECT_FALSE(index.definition().descending);
            EXPECT_EQ(index.fieldNumbers(), c.numbers);
            EXPECT_EQ(index.xPath().filename(), c.xFile);
            EXPECT_EQ(index.verify(), "");
        }
        EXPECT_EQ(firstDifference(bytesOf(c.xFile), before), -1);
    }
}

TEST(SecondaryIndexOriginal, HeaderReadsIndexNameFieldNumbersAndDirection) {
    const auto bytes = bytesOf(testenv::fixture("real/db/AREACODES.XG0"));
    const auto h = parseHeader({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()},
                               bytes.size(), "AREACODES.XG0");
    EXPECT_EQ(h.indexName, "ste");
    EXPECT_EQ(h.fieldNumbers, (std::vector<std::uint16_t>{2, 2, 3}));
    EXPECT_EQ(h.indexFlags, kIndexFlagBase);
    EXPECT_EQ(h.indexFieldNumber, 2);
    EXPECT_EQ(h.sortOrderId, "DBWINUS0");
}

// The same index built here over a copy of the table: the same header where the original
// is deterministic, the same index records in the same blocks, the same block index.
TEST(SecondaryIndexOriginal, CreatedIndexMatchesTheOriginalFiles) {
    const fs::path db = testenv::copyFixture("real/db/AREACODES.DB");
    const std::string x0 = bytesOf("AREACODES.XG0"), y0 = bytesOf("AREACODES.YG0");
    fs::remove("AREACODES.XG0");
    fs::remove("AREACODES.YG0");
    auto table = TableFile::open(db);
    auto index = SecondaryIndex::create(*table, {"ste", {"State"}, false, false, false});
    ASSERT_EQ(index->xPath().filename(), "AREACODES.XG0");
    ASSERT_EQ(index->yPath().filename(), "AREACODES.YG0");
    EXPECT_EQ(index->verify(), "");
    const std::string x1 = bytesOf("AREACODES.XG0"), y1 = bytesOf("AREACODES.YG0");
    ASSERT_EQ(x1.size(), x0.size());
    ASSERT_EQ(y1.size(), y0.size());
    // Every record, hint and block header.
    EXPECT_EQ(firstDifference(x1.substr(0x800), x0.substr(0x800)), -1);
    EXPECT_EQ(firstDifference(y1.substr(0x800), y0.substr(0x800)), -1);

    // Header bytes that differ only where the original stores run-time pointers, change
    // stamps, a file time, or its own spelling of the file name.
    const auto differs = [](std::size_t at, bool y) {
        const auto in = [at](std::size_t from, std::size_t to) { return at >= from && at < to; };
        if (in(0x16, 0x1E) || in(0x30, 0x38) || at == 0x2D || at == 0x2F)
            return true;
        if (y)
            return at == 0x2C || in(0x49, 0x4D) || in(0x5C, 0x6D); // stamp, counter, name
        return in(0x60, 0x64) || in(0x7E, 0x193);
    };
    for (std::size_t at = 0; at < 0x800; ++at) {
        if (!differs(at, false)) {
            EXPECT_EQ(static_cast<int>(static_cast<unsigned char>(x1[at])),
                      static_cast<int>(static_cast<unsigned char>(x0[at])))
                << "XG0 header byte " << std::hex << at;
        }
        if (!differs(at, true)) {
            EXPECT_EQ(static_cast<int>(static_cast<unsigned char>(y1[at])),
                      static_cast<int>(static_cast<unsigned char>(y0[at])))
                << "YG0 header byte " << std::hex << at;
        }
    }
    expectOracleReads("AREACODES.XG0");
    expectOracleReads("AREACODES.YG0");
}

// --- creating -------------------------------------------------------------------------

TEST(SecondaryIndexCreate, RefusesWhatParadoxCannotIndexAndNumbersTheFiles) {
    TableSchema unkeyed = registerSchema();
    unkeyed.keyFields = 0;
    auto heap = TableFile::create("Halom", unkeyed);
    EXPECT_THROW(SecondaryIndex::create(*heap, kByName), DbError);
    EXPECT_FALSE(fs::exists("Halom.xg0"));

    TableSchema withMemo = registerSchema();
    withMemo.fields.push_back(field("Megj", FieldType::Memo, 10));
    auto table = TableFile::create("Nyilv", withMemo);
    EXPECT_THROW(SecondaryIndex::create(*table, {"Rossz", {"Nincs"}, false, false, false}),
                 DbError);
    EXPECT_THROW(SecondaryIndex::create(*table, {"Megj", {"Megj"}, false, false, false}), DbError);
    EXPECT_THROW(SecondaryIndex::create(*table, {"", {"Nev"}, false, false, false}), DbError);

    auto first = SecondaryIndex::create(*table, kByName);
    auto second = SecondaryIndex::create(*table, kByPlace);
    EXPECT_EQ(first->xPath().filename(), "Nyilv.xg0");
    EXPECT_EQ(second->xPath().filename(), "Nyilv.xg1");
    EXPECT_EQ(second->yPath().filename(), "Nyilv.yg1");
    EXPECT_THROW(SecondaryIndex::create(*table, {"nevszerint", {"Evj"}, false, false, false}),
                 DbError);
    EXPECT_FALSE(fs::exists("Nyilv.xg2"));
    EXPECT_EQ(first->fieldNumbers(), (std::vector<int>{1}));
    EXPECT_EQ(second->fieldNumbers(), (std::vector<int>{2, 3}));

    // A descending index: newest year first, ties by the primary key; the header says so.
    for (int n = 0; n < 40; ++n) {
        Record r{code(n), std::string("Név"), std::string("Eger"), 1990 + n % 7, Null{}};
        table->insert(r);
    }
    auto newest = SecondaryIndex::create(*table, {"Legujabb", {"Evj"}, false, true, false});
    EXPECT_EQ(newest->verify(), "");
    const auto rows = oracleRows(newest->xPath());
    ASSERT_EQ(rows.size(), 40u);
    EXPECT_EQ(splitTabs(rows.front())[0], "1996");
    EXPECT_EQ(splitTabs(rows.front())[1], "K00006");
    EXPECT_EQ(splitTabs(rows.back())[0], "1990");
    EXPECT_EQ(splitTabs(rows.back())[1], "K00035");
    const std::string x = bytesOf(newest->xPath());
    EXPECT_EQ(static_cast<unsigned char>(x[0x55]), kIndexFlagBase | kIndexFlagDescending);
    newest.reset();
    first.reset();
    second.reset();
    Log log;
    auto reopened = SecondaryIndex::openAll(*table, log.sink());
    ASSERT_EQ(reopened.size(), 3u);
    EXPECT_TRUE(reopened[2]->definition().descending);
    EXPECT_TRUE(log.lines.empty());
}

// --- keeping up with changes ----------------------------------------------------------

// Thousands of random inserts, updates (names, places and primary keys) and deletes on
// a table with two indexes: after each phase both agree with the table, the oracle walks
// their files cleanly, and the index order is the collation's, case ignored where asked.
TEST(SecondaryIndexChanges, RandomChangesKeepBothIndexesExactAcrossReopen) {
    std::mt19937 rng(20240611);
    std::map<std::string, Record> rows;
    {
        auto table = TableFile::create("Gazdak", registerSchema());
        auto byName = SecondaryIndex::create(*table, kByName);
        auto byPlace = SecondaryIndex::create(*table, kByPlace);
        const auto check = [&](const char* phase) {
            SCOPED_TRACE(phase);
            EXPECT_EQ(table->recordCount(), rows.size());
            EXPECT_EQ(byName->verify(), "");
            EXPECT_EQ(byPlace->verify(), "");
            EXPECT_EQ(byName->repairs() + byPlace->repairs(), 0u);
        };
        for (int n = 0; n < 2500; ++n) {
            Record r = randomRow(rng, static_cast<int>(rng() % 100000));
            if (rows.count(std::get<std::string>(r[0])))
                continue;
            table->insert(r);
            rows[std::get<std::string>(r[0])] = r;
        }
        check("inserts");
        EXPECT_GE(byName->verify().empty() ? levelsOf("Gazdak.yg0") : 0, 2); // a root above
        expectOracleReads("Gazdak.xg0");
        expectOracleReads("Gazdak.yg1");
        for (int n = 0; n < 600; ++n) {
            auto it = rows.begin();
            std::advance(it, static_cast<long>(rng() % rows.size()));
            Record r = it->second;
            if (n % 3 == 0) { // a new primary key: the record moves
                r[0] = code(static_cast<int>(100000 + n));
            } else {
                r[1] = kNames[rng() % kNames.size()];
                r[2] = kPlaces[rng() % kPlaces.size()];
            }
            table->update(*table->find({it->second[0]}), r);
            rows.erase(it);
            rows[std::get<std::string>(r[0])] = r;
        }
        check("updates");
        for (int n = 0; n < 1800; ++n) {
            auto it = rows.begin();
            std::advance(it, static_cast<long>(rng() % rows.size()));
            table->remove(*table->find({it->second[0]}));
            rows.erase(it);
        }
        check("deletes");
        expectOracleReads("Gazdak.xg0");
        expectOracleReads("Gazdak.xg1");
    }

    // The oracle's view of the name index: names in order with case ignored, and rows
    // whose names differ only in letter case ordered by their primary key.
    const auto names = oracleRows("Gazdak.xg0");
    ASSERT_EQ(names.size(), rows.size());
    {
        auto table = TableFile::open("Gazdak");
        const Collation collation(1250, table->header().sortOrder);
        const auto encode = [](const std::string& s) {
            std::vector<std::uint8_t> out(30, 0);
            const auto raw = sys::fromUtf8(s, 1250);
            std::copy(raw.begin(), raw.end(), out.begin());
            return out;
        };
        for (std::size_t i = 1; i < names.size(); ++i) {
            const auto a = splitTabs(names[i - 1]);
            const auto b = splitTabs(names[i]);
            const int c = collation.compareIgnoringCase(encode(a[0]), encode(b[0]));
            ASSERT_LE(c, 0) << names[i - 1] << " / " << names[i];
            if (c == 0) {
                ASSERT_LT(a[1], b[1]) << names[i - 1] << " / " << names[i];
            }
        }

        Log log;
        auto indexes = SecondaryIndex::openAll(*table, log.sink());
        EXPECT_TRUE(log.lines.empty()) << log.lines.front();
        ASSERT_EQ(indexes.size(), 2u);
        EXPECT_EQ(indexes[0]->definition().name, kByName.name);
        EXPECT_TRUE(indexes[0]->definition().caseInsensitive);
        EXPECT_EQ(indexes[1]->definition().fields, kByPlace.fields);
        Record r{code(999999), std::string("Új Gazda"), std::string("Pécs"), 2024};
        table->insert(r);
        table->empty();
        for (const auto& index : indexes)
            EXPECT_EQ(index->verify(), "");
        table->insert(r);
        for (const auto& index : indexes)
            EXPECT_EQ(index->verify(), "");
    }
}

// --- disagreeing files ----------------------------------------------------------------

TEST(SecondaryIndexRepair, StaleOrDamagedIndexIsRebuiltWithALogLine) {
    std::mt19937 rng(7);
    {
        auto table = TableFile::create("Regi", registerSchema());
        auto index = SecondaryIndex::create(*table, kByPlace);
        for (int n = 0; n < 300; ++n) {
            Record r = randomRow(rng, n);
            table->insert(r);
        }
        fs::copy_file("Regi.xg0", "stale.x");
        fs::copy_file("Regi.yg0", "stale.y");
        for (int n = 300; n < 340; ++n) {
            Record r = randomRow(rng, n);
            table->insert(r);
        }
        Record changed = table->read(*table->find({code(5)}));
        changed[2] = std::string("Zalaegerszeg");
        table->update(*table->find({code(5)}), changed);
    }
    const auto fresh = oracleRows("Regi.xg0");
    ASSERT_EQ(fresh.size(), 340u);

    // A read-only table leaves the stale copy alone and does not use it.
    fs::copy_file("stale.x", "Regi.xg0", fs::copy_options::overwrite_existing);
    fs::copy_file("stale.y", "Regi.yg0", fs::copy_options::overwrite_existing);
    {
        auto table = TableFile::open("Regi", {false});
        Log log;
        EXPECT_TRUE(SecondaryIndex::openAll(*table, log.sink()).empty());
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_NE(log.lines[0].find("Regi.xg0"), std::string::npos) << log.lines[0];
        EXPECT_EQ(firstDifference(bytesOf("Regi.xg0"), bytesOf("stale.x")), -1);
    }

    const auto reopen = [](const char* what) {
        SCOPED_TRACE(what);
        auto table = TableFile::open("Regi");
        Log log;
        auto indexes = SecondaryIndex::openAll(*table, log.sink());
        ASSERT_EQ(indexes.size(), 1u);
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_NE(log.lines[0].find("Regi."), std::string::npos) << log.lines[0];
        EXPECT_NE(log.lines[0].find("rebuilt"), std::string::npos) << log.lines[0];
        EXPECT_EQ(indexes[0]->verify(), "");
        EXPECT_EQ(indexes[0]->definition().fields, kByPlace.fields);
        Log again;
        indexes.clear();
        EXPECT_EQ(SecondaryIndex::openAll(*table, again.sink()).size(), 1u);
        EXPECT_TRUE(again.lines.empty());
    };
    reopen("an older copy after further changes");
    EXPECT_EQ(oracleRows("Regi.xg0"), fresh);

    // One index record's value changed in place: counts agree, the content does not.
    {
        std::string x = bytesOf("Regi.xg0");
        x[0x800 + 6] = x[0x800 + 6] == 'E' ? 'F' : 'E';
        std::ofstream(std::string("Regi.xg0"), std::ios::binary) << x;
    }
    reopen("a changed record");

    // The last block cut short behind its last record: the records read, but a change
    // reads and writes whole blocks, so the index is rebuilt before one goes through it.
    fs::resize_file("Regi.xg0", fs::file_size("Regi.xg0") - 4);
    {
        auto table = TableFile::open("Regi");
        Log log;
        auto indexes = SecondaryIndex::openAll(*table, log.sink());
        ASSERT_EQ(log.lines.size(), 1u);
        EXPECT_NE(log.lines[0].find("Regi.xg0: the file ends before the last of its"),
                  std::string::npos)
            << log.lines[0];
        table->remove(*table->find({code(7)}));
        EXPECT_EQ(indexes[0]->verify(), "");
        EXPECT_EQ(indexes[0]->repairs(), 0u);
    }
    EXPECT_EQ(oracleRows("Regi.xg0").size(), 339u);

    // A chain that runs past the end of the file, and a block index gone missing.
    fs::resize_file("Regi.xg0", 0x800 + 100);
    reopen("a cut-off index file");
    fs::remove("Regi.yg0");
    reopen("a missing block index");
    expectOracleReads("Regi.xg0");
}

// --- atomicity ------------------------------------------------------------------------

namespace {

// An observer after the index that fails one call: the table's change rolls back after
// the index has already written its part.
struct FailingObserver : TableObserver {
    bool fail = false;
    void recordInserted(const Record&) override {
        if (fail)
            throw DbError("test", "refused");
    }
    void recordUpdated(const Record&, const Record&) override {
        if (fail)
            throw DbError("test", "refused");
    }
    void recordRemoved(const Record&) override {
        if (fail)
            throw DbError("test", "refused");
    }
    void tableEmptied() override {}
};

} // namespace

TEST(SecondaryIndexAtomicity, RolledBackChangesLeaveTheIndexAgreeing) {
    std::mt19937 rng(99);
    auto table = TableFile::create("Atom", registerSchema());
    auto index = SecondaryIndex::create(*table, kByName);
    FailingObserver failing;
    table->addObserver(&failing);
    for (int n = 0; n < 400; ++n) {
        Record r = randomRow(rng, n * 2);
        table->insert(r);
    }
    const std::string before = bytesOf("Atom.xg0");

    Record dup = randomRow(rng, 10);
    EXPECT_THROW(table->insert(dup), KeyViolation);
    Record moved = table->read(*table->find({code(20)}));
    moved[0] = code(30); // onto an existing key
    EXPECT_THROW(table->update(*table->find({code(20)}), moved), KeyViolation);
    EXPECT_EQ(index->verify(), "");
    EXPECT_EQ(firstDifference(bytesOf("Atom.xg0"), before), -1);

    failing.fail = true;
    for (int n = 0; n < 30; ++n) { // splits included: the index wrote, then all went back
        Record r = randomRow(rng, 1001 + 2 * n);
        EXPECT_THROW(table->insert(r), DbError);
    }
    EXPECT_THROW(table->remove(*table->find({code(40)})), DbError);
    Record renamed = table->read(*table->find({code(42)}));
    renamed[0] = code(43);
    EXPECT_THROW(table->update(*table->find({code(42)}), renamed), DbError);
    EXPECT_EQ(firstDifference(bytesOf("Atom.xg0"), before), -1);

    // The index goes on from the files, not from what it wrote before the rollback.
    failing.fail = false;
    for (int n = 0; n < 30; ++n) {
        Record r = randomRow(rng, 1001 + 2 * n);
        table->insert(r);
    }
    table->remove(*table->find({code(40)}));
    table->update(*table->find({code(42)}), renamed);
    EXPECT_EQ(index->verify(), "");
    EXPECT_EQ(index->repairs(), 0u);
    table->removeObserver(&failing);
}

// --- the first lookups of an open -------------------------------------------------------

// An index known to agree with its table takes its chain of blocks from the Y file at the
// first lookup: with the Y file as written, without walking the chain; with one damaged or
// left from an earlier state, the rows of the walked chain all the same; a change after
// either keeps the index exact.
TEST(SecondaryIndexLookups, FirstLookupsThroughADamagedOrStaleYFileGiveTheRowsOfTheWalk) {
    std::mt19937 rng(11);
    std::string earlierY;
    {
        auto table = TableFile::create("Kereso", registerSchema());
        auto index = SecondaryIndex::create(*table, kByPlace);
        for (int n = 0; n < 6000; ++n) {
            if (n == 5200)
                earlierY = bytesOf("Kereso.yg0");
            Record r = randomRow(rng, n);
            table->insert(r);
        }
    }
    const std::string db0 = bytesOf("Kereso.db"), x0 = bytesOf("Kereso.xg0");
    const std::string y0 = bytesOf("Kereso.yg0");
    // Every place, and every place in three years: the hinted keys, then the records.
    const auto lookups = [](TableFile& table, const SecondaryIndex& index) {
        std::vector<std::string> out;
        std::vector<std::uint8_t> raw(table.header().recordSize);
        for (const std::string& place : kPlaces)
            for (const std::int32_t year : {1990, 2004, 2019}) {
                std::fill(raw.begin(), raw.end(), 0);
                table.codec().encode(Value(place), 2, raw);
                table.codec().encode(Value(year), 3, raw);
                HintedRecords hinted;
                index.findHinted(raw, hinted);
                out.emplace_back(hinted.keys.begin(), hinted.keys.end());
                index.visitEqual(raw, 2, [&](std::span<const std::uint8_t> r) {
                    out.emplace_back(r.begin(), r.end());
                    return true;
                });
            }
        return out;
    };
    const auto openIndex = [](TableFile& table, bool trusted) {
        auto indexes =
            SecondaryIndex::openAll(table, {}, [trusted](const fs::path&) { return trusted; });
        EXPECT_EQ(indexes.size(), 1u);
        return std::move(indexes.front());
    };
    const auto walked = [&] {
        auto table = TableFile::open("Kereso");
        return lookups(*table, *openIndex(*table, false));
    }();
    ASSERT_GT(walked.size(), kPlaces.size() * 3 * 2); // rows found, not only empty lists
    const TableHeader y = parseHeader({reinterpret_cast<const std::uint8_t*>(y0.data()), y0.size()},
                                      y0.size(), "Kereso.yg0");
    ASSERT_EQ(y.indexLevels, 2); // the root, then the leaves from block 2 on
    const std::size_t entry = y.recordSize, key = entry - 6;
    const std::size_t leaves = y.headerSize + y.blockSize() + 6;
    const auto count = [&](std::string& b, std::size_t i, int by) {
        b[leaves + i * entry + key + 3] = char(b[leaves + i * entry + key + 3] + by);
    };
    struct Case {
        const char* name;
        std::function<void(std::string&)> damage;
        bool walks;
    };
    const std::vector<Case> cases{
        {"as written", [](std::string&) {}, false},
        {"a first key", [&](std::string& b) { b[leaves + 30 * entry + 1] ^= 0x11; }, true},
        {"two counts",
         [&](std::string& b) {
             count(b, 7, -1);
             count(b, 8, +1);
         },
         true},
        {"a block number", [&](std::string& b) { b[leaves + 20 * entry + key + 1] ^= 1; }, true},
        {"an earlier state",
         [&](std::string& b) {
             std::copy(b.begin(), b.begin() + y.headerSize, earlierY.begin());
             b = earlierY; // stamped as the present one
         },
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string bytes = y0;
        c.damage(bytes);
        std::ofstream("Kereso.db", std::ios::binary | std::ios::trunc) << db0;
        std::ofstream("Kereso.xg0", std::ios::binary | std::ios::trunc) << x0;
        std::ofstream("Kereso.yg0", std::ios::binary | std::ios::trunc) << bytes;
        auto table = TableFile::open("Kereso");
        auto index = openIndex(*table, true);
        EXPECT_EQ(lookups(*table, *index), walked);
        EXPECT_EQ(index->chainMap().has_value(), c.walks);
        Record r{code(9000), std::string("Új"), std::string("Érd"), 2004};
        table->insert(r);
        EXPECT_EQ(index->verify(), "");
        EXPECT_EQ(index->repairs(), 0u);
    }
}
