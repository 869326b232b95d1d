// Opening tables by name and reading their records.

#include "platform/db/error.h"
#include "platform/db/table_file.h"
#include "support/child_process.h"
#include "support/test_env.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <numeric>
#include <random>
#include <thread>
#include <unistd.h>

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

// A scan before anything else walks and reads the chain in one go: stopped early it
// leaves the chain to be walked later; run through, it gives the positions and records
// the walked chain gives. Decoding row after row into one record gives what decoding
// each row afresh gives (texts longer and shorter than the one before, NULLs).
TEST(TableFile, AFirstScanReadsTheChainAsTheWalkedChainDoes) {
    const auto path = testenv::fixture("generated/NAGY.DB");
    const auto first = db::TableFile::open(path, {.writable = false});
    int visited = 0;
    first->scan([&](db::RecordPos, std::span<const std::uint8_t>) { return ++visited < 40; });
    EXPECT_EQ(visited, 40);
    std::vector<db::RecordPos> positions;
    std::vector<db::Record> rows;
    db::Record reused;
    first->scan([&](db::RecordPos pos, std::span<const std::uint8_t> raw) {
        positions.push_back(pos);
        first->codec().decodeAllInto(raw, reused);
        rows.push_back(reused);
        return true;
    });
    const auto walked = db::TableFile::open(path, {.writable = false});
    std::vector<db::RecordPos> expected;
    for (const auto& b : walked->blocks())
        for (std::uint16_t slot = 0; slot < b.records; ++slot)
            expected.push_back({b.number, slot});
    EXPECT_EQ(positions, expected);
    EXPECT_EQ(rows, walked->readAll());
    EXPECT_EQ(first->blocks().size(), walked->blocks().size());

    const db::RecordCodec codec(
        {{"Nev", db::FieldType::Alpha, 12, 0}, {"Db", db::FieldType::Long, 4, 0}}, 1250);
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(codec.recordSize()));
    db::Record into;
    for (const db::Record& row :
         {db::Record{std::string("őszibúza"), 7}, db::Record{std::string("zab"), db::Null{}},
          db::Record{db::Null{}, 3}, db::Record{std::string("árpa"), -1}}) {
        std::fill(raw.begin(), raw.end(), 0);
        for (int f = 0; f < 2; ++f)
            codec.encode(row[static_cast<std::size_t>(f)], f, raw);
        codec.decodeAllInto(raw, into);
        EXPECT_EQ(into, codec.decodeAll(raw));
        EXPECT_EQ(into, row);
    }
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

// Records named by an index's block hints are each visited once, in chain order, with
// their own bytes, whether the hint names their block, another block of the chain or no
// block at all (then found by their key).
TEST(TableFile, HintedRecordsAreFoundWhateverBlockTheirHintNames) {
    const auto t = db::TableFile::open(testenv::fixture("generated/NAGY.DB"), {.writable = false});
    ASSERT_TRUE(t->keyed());
    std::vector<db::RecordPos> positions;
    std::map<db::RecordPos, std::vector<std::uint8_t>> raws;
    t->scan([&](db::RecordPos pos, std::span<const std::uint8_t> raw) {
        positions.push_back(pos);
        raws[pos].assign(raw.begin(), raw.end());
        return true;
    });
    db::HintedRecords hinted;
    hinted.recordSize = raws.begin()->second.size();
    const auto name = [&](std::size_t i, std::uint16_t hint) {
        hinted.blocks.push_back(hint);
        const auto& raw = raws[positions[i]];
        hinted.keys.insert(hinted.keys.end(), raw.begin(), raw.end());
    };
    // From the last record back (the hints out of chain order), every third hint right.
    std::vector<db::RecordPos> expected;
    for (std::size_t n = 0; n < 20; ++n) {
        const std::size_t i = positions.size() - 1 - n * 997;
        expected.insert(expected.begin(), positions[i]);
        const std::uint16_t elsewhere = positions[(i + 500) % positions.size()].block;
        name(i, n % 3 == 0 ? positions[i].block : n % 3 == 1 ? elsewhere : 9999);
    }
    name(positions.size() - 1, 9999); // one named twice
    // Asked again and again, the blocks come from those the chain keeps: the same records.
    for (int round = 0; round < 6; ++round) {
        std::vector<db::RecordPos> visited;
        t->visitHinted(hinted, [&](db::RecordPos pos, std::span<const std::uint8_t> raw) {
            visited.push_back(pos);
            EXPECT_TRUE(std::ranges::equal(raw, raws[pos]));
        });
        EXPECT_EQ(visited, expected) << round;
    }
}

// A kept listing of a folder serves the lookups of names in any letter case only while
// the folder has not changed since: files made or removed after it are seen.
TEST(TableFile, AFolderListingIsListedAgainWhenTheFolderChanges) {
    const fs::path dir = fs::current_path() / "mappa";
    fs::create_directory(dir);
    std::ofstream(dir / "ELSO.DB") << "x";
    std::this_thread::sleep_for(std::chrono::milliseconds(150)); // the folder settles
    db::FolderNames folder(dir);
    EXPECT_EQ(folder.resolve("elso.db"), dir / "ELSO.DB");
    EXPECT_EQ(folder.resolve("masik.px"), dir / "masik.px"); // none: as asked
    std::ofstream(dir / "Masik.PX") << "x";
    EXPECT_EQ(folder.resolve("masik.px"), dir / "Masik.PX");
    fs::remove(dir / "ELSO.DB");
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    EXPECT_EQ(folder.resolve("elso.db"), dir / "elso.db");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"Masik.PX"});
    EXPECT_EQ(db::findInFolder(&folder, dir / "", "MASIK.px"), dir / "Masik.PX");
}

// A table changed through the open table scans the chain it keeps, reading the blocks
// that follow each other in the file together: the same records in the same order as
// a fresh open's walk of the chain, whose blocks were split out of file order.
TEST(TableFile, AChangedTableScansAsAFreshOpenWalksIt) {
    const auto path = fs::current_path() / "VALTOZO.DB";
    const db::TableSchema schema{{{"Kod", db::FieldType::Alpha, 8, 0},
                                  {"Db", db::FieldType::Long, 4, 0},
                                  {"Szoveg", db::FieldType::Alpha, 200, 0}},
                                 1};
    const auto t = db::TableFile::create(path, schema);
    std::vector<int> keys(4000);
    std::iota(keys.begin(), keys.end(), 0);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(11));
    for (const int k : keys) {
        char code[16];
        std::snprintf(code, sizeof code, "K%05d", k);
        std::string text; // up to 190 letters of two UTF-8 bytes, one in the code page
        for (int i = 0; i <= k % 190; ++i)
            text += "é";
        db::Record r{std::string(code), k, text};
        t->insert(r);
    }
    const auto scanned = [](const db::TableFile& table) {
        std::vector<std::pair<db::RecordPos, db::Record>> rows;
        table.scan([&](db::RecordPos pos, std::span<const std::uint8_t> raw) {
            rows.emplace_back(pos, table.decode(raw));
            return true;
        });
        return rows;
    };
    const auto check = [&](std::size_t expected) {
        const auto here = scanned(*t);
        const auto fresh = db::TableFile::open(path, {.writable = false});
        EXPECT_EQ(here, scanned(*fresh));
        EXPECT_EQ(here.size(), expected);
        bool outOfOrder = false;
        for (std::size_t i = 1; i < t->blocks().size(); ++i)
            outOfOrder |= t->blocks()[i].number != t->blocks()[i - 1].number + 1;
        EXPECT_TRUE(outOfOrder);
    };
    ASSERT_GT(t->blocks().size() * 2048, 1u << 20); // several windows of a scan
    check(4000);
    // Every third record of the first half gone: part-filled blocks.
    std::vector<db::RecordPos> gone;
    int n = 0;
    t->scan([&](db::RecordPos pos, std::span<const std::uint8_t>) {
        if (n++ % 3 == 0 && n < 2000)
            gone.push_back(pos);
        return true;
    });
    for (auto it = gone.rbegin(); it != gone.rend(); ++it)
        t->remove(*it);
    check(4000 - gone.size());
}

namespace {

// Another process cutting the table file short and writing it back, again and again,
// while lookups read it: each lookup gives the right record or an error naming the file,
// and the process never dies of a read past the file's end.
TEST(TableFile, LookupsBesideAProcessThatCutsTheFileShortGiveRowsOrAnError) {
    const fs::path path = testenv::copyFixture("generated/NAGY.DB");
    testenv::copyFixture("generated/NAGY.px");
    std::vector<char> original(fs::file_size(path));
    std::ifstream(path, std::ios::binary).read(original.data(), std::streamsize(original.size()));
    testenv::Child cutter(0, [&](int) {
        const int fd = ::open(path.c_str(), O_WRONLY);
        for (;;) {
            (void)::ftruncate(fd, off_t(original.size() / 3));
            ::usleep(300);
            (void)::pwrite(fd, original.data(), original.size(), 0);
            ::usleep(700);
        }
    });
    testenv::Child reader(0, [&](int progress) {
        std::mt19937 rng(5);
        int right = 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
        while (std::chrono::steady_clock::now() < until) {
            try {
                const auto t = db::TableFile::open(path, {.writable = false});
                for (int i = 0; i < 400; ++i) {
                    const std::string key = std::to_string(100000 + rng() % 20000);
                    db::Record wanted{key};
                    const auto pos = t->find(wanted);
                    if (!pos || t->read(*pos)[0] != db::Value(key))
                        ::_exit(6);
                    ++right;
                }
            } catch (const db::DbError& e) {
                if (e.file().filename() != path.filename() &&
                    e.file().filename() != fs::path("NAGY.px"))
                    ::_exit(7);
            }
        }
        if (right > 0)
            (void)::write(progress, "x", 1);
    });
    const testenv::ChildResult result = reader.wait();
    cutter.kill();
    EXPECT_TRUE(result.exited(5)) << "status " << result.status;
    EXPECT_EQ(result.progress, 1); // some lookups went through
}

} // namespace

namespace {

// The first lookups of an open take the table's chain from its .px: with the .px as the
// table wrote it, without walking the chain; with one damaged or left from an earlier
// state of the table, the rows of the walked chain all the same. The records are long
// enough that hints at every record name more blocks than a chain keeps (read in runs).
TEST(TableFile, FirstLookupsThroughADamagedOrStalePxGiveTheRowsOfTheWalk) {
    const auto path = fs::current_path() / "KERES.DB";
    db::TableSchema schema{
        {{"Kod", db::FieldType::Alpha, 8, 0}, {"Szoveg", db::FieldType::Alpha, 200, 0}}, 1};
    for (int i = 0; i < 5; ++i)
        schema.fields.push_back({"Ures" + std::to_string(i), db::FieldType::Alpha, 255, 0});
    std::vector<int> keys(3000);
    std::iota(keys.begin(), keys.end(), 0);
    std::shuffle(keys.begin(), keys.end(), std::mt19937(3));
    const auto code = [](int k, const char* tail = "") {
        char text[16];
        std::snprintf(text, sizeof text, "K%05d%s", k, tail);
        return std::string(text);
    };
    const auto bytesOf = [](const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::vector<char>(std::istreambuf_iterator<char>(in), {});
    };
    const auto put = [](const fs::path& p, const std::vector<char>& bytes) {
        std::ofstream(p, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), std::streamsize(bytes.size()));
    };
    std::vector<char> earlierPx;
    {
        const auto t = db::TableFile::create(path, schema);
        for (std::size_t i = 0; i < keys.size(); ++i) {
            if (i == 2500)
                earlierPx = bytesOf("KERES.PX");
            db::Record r{code(keys[i]), std::string(keys[i] % 50 + 1, 'a')};
            t->insert(r);
        }
    }
    const auto db0 = bytesOf(path), px0 = bytesOf("KERES.PX");
    db::HintedRecords everyRecord; // each hinted at its own block, as the walk finds it
    {
        const auto t = db::TableFile::open(path, {.writable = false});
        everyRecord.recordSize = t->header().recordSize;
        t->scan([&](db::RecordPos pos, std::span<const std::uint8_t> raw) {
            everyRecord.blocks.push_back(pos.block);
            everyRecord.keys.insert(everyRecord.keys.end(), raw.begin(), raw.end());
            return true;
        });
        ASSERT_GT(t->blocks().size() * t->header().blockSize(), db::BlockCache::kBudget / 2);
    }
    // Every fifth record, the one after it and a key between them; their records, found
    // by key, by the key's first letters and through hints naming block 1; then every
    // record through its hint.
    const auto lookups = [&](const db::TableFile& t) {
        std::vector<std::string> out;
        t.visitHinted(everyRecord, [&](db::RecordPos, std::span<const std::uint8_t> raw) {
            out.push_back(std::get<std::string>(t.decode(raw)[1]));
        });
        db::HintedRecords hinted;
        hinted.recordSize = t.header().recordSize;
        for (int k = 0; k < 3000; k += 5)
            for (const std::string& key : {code(k), code(k + 1), code(k, "x")}) {
                const auto pos = t.find(db::Record{key});
                out.push_back(pos ? std::get<std::string>(t.read(*pos)[1]) : "-");
                std::vector<std::uint8_t> raw(t.header().recordSize, 0);
                t.codec().encode(db::Value(key), 0, raw);
                out.push_back(std::to_string(t.findAll(raw, 1).size()));
                hinted.blocks.push_back(1);
                hinted.keys.insert(hinted.keys.end(), raw.begin(), raw.end());
            }
        t.visitHinted(hinted, [&](db::RecordPos, std::span<const std::uint8_t> raw) {
            out.push_back(std::get<std::string>(t.decode(raw)[0]));
        });
        return out;
    };
    const auto walked = [&] {
        const auto t = db::TableFile::open(path, {.writable = false});
        t->blocks();
        return lookups(*t);
    }();
    const db::TableHeader px =
        db::parseHeader(std::span(reinterpret_cast<const std::uint8_t*>(px0.data()), px0.size()),
                        px0.size(), "KERES.PX");
    ASSERT_EQ(px.indexLevels, 2); // the root, then the leaves from block 2 on
    const std::size_t entry = 8 + 6, leaves = px.headerSize + px.blockSize() + 6;
    const auto damaged = [&](const std::function<void(std::vector<char>&)>& damage) {
        put(path, db0);
        std::vector<char> bytes = px0;
        damage(bytes);
        put("KERES.PX", bytes);
    };
    const auto count = [&](std::vector<char>& bytes, std::size_t i, int by) {
        bytes[leaves + i * entry + 11] = char(bytes[leaves + i * entry + 11] + by);
    };
    struct Case {
        const char* name;
        std::function<void(std::vector<char>&)> damage;
        bool walks;
    };
    const std::vector<Case> cases{
        {"as written", [](std::vector<char>&) {}, false},
        {"a first key", [&](std::vector<char>& b) { b[leaves + 40 * entry + 3] = '9'; }, true},
        {"two counts",
         [&](std::vector<char>& b) {
             count(b, 7, -1);
             count(b, 8, +1);
         },
         true},
        {"a block number", [&](std::vector<char>& b) { b[leaves + 20 * entry + 9] ^= 1; }, true},
        {"an earlier state",
         [&](std::vector<char>& b) {
             std::copy(b.begin(), b.begin() + px.headerSize, earlierPx.begin());
             b = earlierPx; // stamped as the present one
         },
         true},
    };
    for (const Case& c : cases) {
        damaged(c.damage);
        const auto t = db::TableFile::open(path, {.writable = false});
        EXPECT_EQ(lookups(*t), walked) << c.name;
        EXPECT_EQ(t->blockMap().has_value(), c.walks) << c.name;
    }
}

} // namespace
