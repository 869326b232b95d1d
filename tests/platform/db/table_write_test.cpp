#include "platform/db/error.h"
#include "platform/db/session.h"
#include "platform/db/table_file.h"
#include "support/table_check.h"
#include "support/test_env.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>

using namespace db;

namespace {

FieldDef field(const std::string& name, FieldType type, int size = 0, int decimals = 0) {
    return {name, type, storedSize(type, size), decimals};
}

// A field table's shape: keyed on parcel code and year.
TableSchema parcelSchema() {
    return {{field("Parckod", FieldType::Alpha, 8), field("Evj", FieldType::Long),
             field("Megnevezés", FieldType::Alpha, 30), field("Ter", FieldType::Number),
             field("Datum", FieldType::Date), field("Aktiv", FieldType::Logical)},
            2};
}

Record parcel(const std::string& code, int year, const std::string& name, double area) {
    return {code, year, name, area, Date{730000 + year}, year % 2 == 0};
}

std::string keyOf(const Record& r) {
    return std::get<std::string>(r[0]) + "/" + std::to_string(std::get<std::int32_t>(r[1]));
}

void expectSound(const TableFile& table) {
    EXPECT_EQ(testenv::checkPrimaryIndex(table), "");
    EXPECT_EQ(testenv::compareWithOracle(table.path()), "");
}

// Every record in chain order must be in strict key order.
void expectKeyOrder(const TableFile& table) {
    std::vector<std::uint8_t> previous;
    table.scan([&](RecordPos, std::span<const std::uint8_t> raw) {
        if (!previous.empty()) {
            EXPECT_LT(table.compareKeys(previous, raw, table.keyFields()), 0);
        }
        previous.assign(raw.begin(), raw.end());
        return true;
    });
}

const std::string kLetters[] = {"a", "á", "b", "c", "e", "é", "i", "í", "o", "ó", "ö", "ő",
                                "u", "ú", "ü", "ű", "z", "A", "Á", "Ő", "Z", "1", " "};

std::string randomCode(std::mt19937& rng) {
    std::string s;
    const int length = 1 + static_cast<int>(rng() % 6);
    for (int i = 0; i < length; ++i)
        s += kLetters[rng() % std::size(kLetters)];
    while (!s.empty() && s.back() == ' ') // trailing blanks are not stored
        s.pop_back();
    return s.empty() ? "x" : s;
}

} // namespace

TEST(TableWrite, EveryWritableTypeReadsBackAndTheOracleAgrees) {
    TableSchema schema{{field("Azonosító", FieldType::AutoInc), field("Név", FieldType::Alpha, 40),
                        field("Mennyiség", FieldType::Long), field("Darab", FieldType::Short),
                        field("Terület", FieldType::Number), field("Ár", FieldType::Currency),
                        field("Dátum", FieldType::Date), field("Idő", FieldType::Time),
                        field("Időbélyeg", FieldType::Timestamp),
                        field("Aktív", FieldType::Logical), field("Összeg", FieldType::Bcd, 17, 2),
                        field("Kód", FieldType::Bytes, 4),
                        field("Megjegyzés", FieldType::Memo, 15)},
                       1};
    auto table = TableFile::create("Teszt", schema);
    std::vector<Record> rows = {
        {Null{}, std::string("Gazdálkodó őszi búza ÁÉÍÓÖŐÚÜŰ"), 123456, 42, 12.5, 1234.56,
         Date{738960}, Time{30600000}, Timestamp{63845000000000.0}, true, Decimal{"1234.56"},
         Bytes{1, 2, 3, 4}, std::string("rövid")},
        {Null{}, std::string("árvíztűrő tükörfúrógép"), -7, -3, -0.125, -99.99, Date{1},
         Time{86399999}, Null{}, false, Decimal{"-0.01"}, Null{},
         std::string("Ez egy hosszabb megjegyzés, amely nem fér bele a rekordba: őszibarack.")},
        {Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{}, Null{},
         Null{}, Null{}},
    };
    for (auto& r : rows)
        table->insert(r);
    EXPECT_EQ(std::get<std::int32_t>(rows[2][0]), 3);
    table.reset();

    auto reopened = TableFile::open("teszt.DB");
    const auto back = reopened->readAll();
    ASSERT_EQ(back.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(back[i], rows[i]) << "row " << i;
    expectSound(*reopened);

    // Emptied, the blob file keeps only its header block and takes new memos.
    reopened->empty();
    EXPECT_EQ(std::filesystem::file_size("Teszt.mb"), 4096u);
    Record again = rows[1];
    reopened->insert(again);
    EXPECT_EQ(reopened->readAll().at(0)[12], rows[1][12]);
    expectSound(*reopened);
}

TEST(TableWrite, RandomChangesKeepKeyOrderIndexAndOracleAgreement) {
    auto table = TableFile::create("Parcellak.db", parcelSchema());
    std::mt19937 rng(20261209);
    std::map<std::string, Record> model;

    const auto checkPhase = [&](const char* phase) {
        SCOPED_TRACE(phase);
        ASSERT_EQ(table->recordCount(), model.size());
        const auto all = table->readAll();
        std::map<std::string, Record> seen;
        for (const auto& r : all)
            seen[keyOf(r)] = r;
        EXPECT_EQ(seen, model);
        expectKeyOrder(*table);
        expectSound(*table);
    };

    for (int i = 0; i < 4000; ++i) { // inserts, some of them duplicates
        Record r = parcel(randomCode(rng), 2000 + static_cast<int>(rng() % 25), randomCode(rng),
                          static_cast<double>(rng() % 100000) / 100);
        if (model.count(keyOf(r))) {
            EXPECT_THROW(table->insert(r), KeyViolation);
            continue;
        }
        table->insert(r);
        model[keyOf(r)] = r;
    }
    checkPhase("after inserts");

    const auto randomKey = [&] {
        auto it = model.begin();
        std::advance(it, static_cast<long>(rng() % model.size()));
        return it->second;
    };
    for (int i = 0; i < 1500; ++i) { // updates, a third of them moving the key
        const Record old = randomKey();
        const auto pos = table->find({old[0], old[1]});
        ASSERT_TRUE(pos) << keyOf(old);
        Record updated = old;
        updated[2] = randomCode(rng) + " módosítva";
        if (i % 3 == 0)
            updated[0] = randomCode(rng);
        if (keyOf(updated) != keyOf(old) && model.count(keyOf(updated))) {
            EXPECT_THROW(table->update(*pos, updated), KeyViolation);
            continue;
        }
        table->update(*pos, updated);
        model.erase(keyOf(old));
        model[keyOf(updated)] = updated;
    }
    checkPhase("after updates");

    for (int i = 0; i < 3000 && !model.empty(); ++i) { // deletes, mixed with inserts
        const Record victim = randomKey();
        const auto pos = table->find({victim[0], victim[1]});
        ASSERT_TRUE(pos);
        table->remove(*pos);
        model.erase(keyOf(victim));
        if (i % 4 == 0) {
            Record r = parcel(randomCode(rng), 1990, "újra", 1.5);
            if (!model.count(keyOf(r))) {
                table->insert(r);
                model[keyOf(r)] = r;
            }
        }
    }
    checkPhase("after deletes");

    table = TableFile::open("PARCELLAK"); // a fresh reader sees the same
    checkPhase("reopened");

    while (!model.empty()) { // down to nothing: the files go back to their headers
        const Record victim = model.begin()->second;
        table->remove(*table->find({victim[0], victim[1]}));
        model.erase(model.begin());
    }
    checkPhase("emptied");
    Record again = parcel("A1", 2026, "új", 3);
    table->insert(again);
    model[keyOf(again)] = again;
    checkPhase("refilled");
}

TEST(TableWrite, UnkeyedTableAppendsAndReusesFreedBlocks) {
    TableSchema schema{{field("Sor", FieldType::Long), field("Szöveg", FieldType::Alpha, 200)}, 0};
    auto table = TableFile::create("Sima", schema);
    const int perBlock = table->header().recordsPerBlock();
    for (int i = 0; i < perBlock * 5; ++i) {
        Record r{i, std::string("sor ") + std::to_string(i)};
        const auto pos = table->insert(r);
        EXPECT_EQ(pos.slot, i % perBlock);
    }
    // Empty the second block: it goes to the free list and comes back for new rows.
    for (int i = 0; i < perBlock; ++i)
        table->remove({2, 0});
    EXPECT_EQ(table->blocks().size(), 4u);
    EXPECT_EQ(table->header().firstFreeBlock, 2);
    expectSound(*table);
    for (int i = 0; i < perBlock + 1; ++i) {
        Record r{1000 + i, std::string("új")};
        table->insert(r);
    }
    EXPECT_EQ(table->header().firstFreeBlock, 0);
    EXPECT_EQ(table->header().fileBlocks, 6);
    const auto all = table->readAll();
    ASSERT_EQ(all.size(), static_cast<std::size_t>(perBlock * 5 + 1));
    EXPECT_EQ(all.back()[0], Value(1000 + perBlock)); // appended in order
    expectSound(*table);

    // Block 1 stays the first block when it empties.
    for (int i = 0; i < perBlock; ++i)
        table->remove({1, 0});
    EXPECT_EQ(table->blocks().front().number, 1);
    EXPECT_EQ(table->readAll().front()[0], Value(2 * perBlock));
    expectSound(*table);
}

TEST(TableWrite, CountersAndRefusedChanges) {
    TableSchema schema{{field("Kod", FieldType::AutoInc), field("Nev", FieldType::Alpha, 10)}, 1};
    auto table = TableFile::create("Kodok", schema);
    Record a{Null{}, std::string("árvíztűrő tükörfúrógép")};
    Record b{Null{}, std::string("b")};
    table->insert(a);
    table->insert(b);
    EXPECT_EQ(a[0], Value(1));
    EXPECT_EQ(b[0], Value(2));
    EXPECT_EQ(a[1], Value(std::string("árvíztűrő tükörfúrógép")));
    EXPECT_EQ(table->readAll()[0][1], Value(std::string("árvíztűrő "))); // cut to 10 characters

    // A counter value is never handed out twice, even after every row is gone.
    table->empty();
    EXPECT_EQ(table->recordCount(), 0u);
    Record c{Null{}, std::string("c")};
    table->insert(c);
    EXPECT_EQ(c[0], Value(3));

    // A refused change leaves the files and the counters as they were.
    Record duplicate{3, std::string("d")};
    EXPECT_THROW(table->insert(duplicate), KeyViolation);
    Record unstorable{Null{}, std::string("漢字")};
    EXPECT_THROW(table->insert(unstorable), DbError);
    EXPECT_EQ(table->recordCount(), 1u);
    Record next{Null{}, std::string("e")};
    table->insert(next);
    EXPECT_EQ(next[0], Value(4));
    table.reset();
    table = TableFile::open("kodok.db");
    EXPECT_EQ(table->recordCount(), 2u);
    EXPECT_EQ(table->header().autoInc, 4u);
    expectSound(*table);
    EXPECT_THROW(TableFile::create("KODOK", schema), DbError);

    // A counter that another program left lower than a key held gives no key twice.
    table.reset();
    std::fstream("kodok.db", std::ios::in | std::ios::out | std::ios::binary)
        .seekp(0x49)
        .write("\1\0\0\0", 4);
    table = TableFile::open("kodok.db");
    Record past{Null{}, std::string("f")};
    table->insert(past);
    EXPECT_EQ(past[0], Value(5));
}

TEST(TableWrite, HungarianKeysSortWithTheirBaseLetters) {
    TableSchema schema{{field("Nev", FieldType::Alpha, 20)}, 1};
    auto table = TableFile::create("Nevek", schema);
    const std::vector<std::string> sorted = {"1. tábla", "abel", "ábel", "Ábel",  "Béla",
                                             "oz",       "óz",   "öz",   "őz",    "Ozsvár",
                                             "uborka",   "Üveg", "zab",  "Zoltán"};
    auto shuffled = sorted;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    for (const auto& name : shuffled) {
        Record r{name};
        table->insert(r);
    }
    std::vector<std::string> order;
    for (const auto& r : table->readAll())
        order.push_back(std::get<std::string>(r[0]));
    EXPECT_EQ(order, sorted);
    EXPECT_TRUE(table->find({std::string("Ozsvár")}));
    EXPECT_FALSE(table->find({std::string("ozsvár")}));
}

TEST(TableWrite, AKeyedTableWithoutItsIndexGetsOneAtTheNextChange) {
    auto table = TableFile::create("Index", parcelSchema());
    Record r = parcel("B2", 2020, "búza", 4.5);
    table->insert(r);
    table.reset();
    std::filesystem::remove("Index.px");
    table = TableFile::open("Index");
    EXPECT_EQ(table->readAll().size(), 1u);
    Record s = parcel("A1", 2021, "árpa", 2);
    table->insert(s);
    EXPECT_TRUE(std::filesystem::exists("Index.px"));
    expectSound(*table);
}

TEST(TableWrite, ANewTableReplacesIndexAndBlobFilesLeftWithoutTheirData) {
    for (const char* orphan : {"Arva.PX", "arva.mb"}) {
        std::ofstream out(orphan, std::ios::binary);
        out << std::string(9000, '\x55');
    }
    TableSchema schema{{field("Kod", FieldType::Long), field("Szoveg", FieldType::Memo, 10)}, 1};
    auto table = TableFile::create("Arva", schema);
    EXPECT_FALSE(std::filesystem::exists("arva.mb"));
    EXPECT_FALSE(std::filesystem::exists("Arva.PX"));
    Record r{1, std::string("a memo that lives in the blob file, long enough")};
    table->insert(r);
    EXPECT_TRUE(std::filesystem::exists("Arva.mb"));
    EXPECT_EQ(table->readAll().at(0), r);
    expectSound(*table);
}

namespace {

TableSchema memoSchema() {
    return {{field("Kod", FieldType::Long), field("Jegyzet", FieldType::Memo, 20)}, 1};
}

std::string memoText(std::mt19937& rng, std::size_t length) {
    std::string s(length, ' ');
    for (char& c : s)
        c = static_cast<char>('a' + rng() % 26);
    return s;
}

// What the memos of the model need at least: whole 4 KiB blocks after the header.
std::uintmax_t liveBlobBytes(const std::map<int, Record>& model) {
    std::uintmax_t bytes = 4096;
    for (const auto& [key, r] : model)
        if (const auto* memo = std::get_if<std::string>(&r[1]); memo && memo->size() > 10)
            bytes += (memo->size() + 9 + 4095) / 4096 * 4096;
    return bytes;
}

} // namespace

TEST(TableWrite, AMemoTableEditedOftenStaysSmall) {
    auto table = TableFile::create("Jegyzetek", memoSchema());
    std::mt19937 rng(77);
    std::map<int, Record> model;
    for (int key = 1; key <= 30; ++key) {
        Record r{key, memoText(rng, rng() % 10001)};
        table->insert(r);
        model[key] = r;
    }
    const auto edit = [&](int times) {
        for (int i = 0; i < times; ++i) {
            const int key = 1 + static_cast<int>(rng() % model.size());
            Record r{key, memoText(rng, rng() % 10001)};
            table->update(*table->find({key}), r);
            model[key] = r;
            const auto size = std::filesystem::file_size("Jegyzetek.mb");
            ASSERT_LT(size, 2 * liveBlobBytes(model) + 16 * 4096) << "after edit " << i;
        }
    };
    edit(2000);
    table = TableFile::open("Jegyzetek"); // the free blocks are found again
    edit(200);

    std::map<int, Record> seen;
    for (const auto& r : table->readAll())
        seen[std::get<std::int32_t>(r[0])] = r;
    EXPECT_EQ(seen, model);
    expectSound(*table);
}

TEST(TableWrite, ARefusedChangeLeavesTheBlobFileSoundAndItsFreeSpaceReusable) {
    auto table = TableFile::create("Visszavont", memoSchema());
    std::mt19937 rng(5);
    std::map<int, Record> model;
    for (int key = 1; key <= 3; ++key) {
        Record r{key, memoText(rng, 6000)}; // two 4 KiB blocks each
        table->insert(r);
        model[key] = r;
    }
    table->remove(*table->find({2})); // two free blocks between the memos of 1 and 3
    model.erase(2);
    const auto size = std::filesystem::file_size("Visszavont.mb");

    Record duplicate{1, memoText(rng, 6000)}; // its memo lands in the free space, undone
    EXPECT_THROW(table->insert(duplicate), KeyViolation);
    Record moved{1, memoText(rng, 6000)}; // frees the memo of 3, then is refused
    EXPECT_THROW(table->update(*table->find({3}), moved), KeyViolation);

    Record fresh{4, memoText(rng, 6000)};
    table->insert(fresh); // into the free space again, not over the memo of 3
    model[4] = fresh;
    EXPECT_EQ(std::filesystem::file_size("Visszavont.mb"), size);
    std::map<int, Record> seen;
    for (const auto& r : table->readAll())
        seen[std::get<std::int32_t>(r[0])] = r;
    EXPECT_EQ(seen, model);
    expectSound(*table);
}

// A table made with larger blocks than Paradox would pick holds more rows per block; it
// splits, indexes and reads back like any other.
TEST(TableWrite, ALargerBlockSizeAskedForIsKept) {
    TableSchema schema = parcelSchema();
    schema.minBlockKiB = 16;
    auto table = TableFile::create("Nagy", schema);
    EXPECT_EQ(table->header().maxTableSize, 16);
    for (int i = 0; i < 2000; ++i) {
        Record r = parcel("P" + std::to_string(100000 + (i * 7919) % 2000), 2000 + i % 20, "Tábla",
                          i * 1.5);
        table->insert(r);
    }
    EXPECT_EQ(table->recordCount(), 2000u);
    EXPECT_LT(table->blocks().size(), 20u);
    expectSound(*table);

    schema.minBlockKiB = 3;
    EXPECT_THROW(TableFile::create("Rossz", schema), DbError);
}

// A .px that is not the table's own (another table's, one made for a key of other fields,
// a damaged one) is rebuilt from the table before the first change goes through it, and
// the reason is given; read-only, the table opens and reads without it.
TEST(TableWrite, AForeignOrMismatchedPrimaryIndexIsRebuiltBeforeAnyChange) {
    auto fill = [](TableFile& t, int rows) {
        for (int i = 0; i < rows; ++i) {
            Record r = parcel("K" + std::to_string(i), 2000 + i % 3, "búza", i);
            t.insert(r);
        }
    };
    {
        auto table = TableFile::create("Sajat", parcelSchema());
        fill(*table, 300);
        // The same fields, keyed on the first one only: entries 4 bytes shorter.
        TableSchema oneKey = parcelSchema();
        oneKey.keyFields = 1;
        fill(*TableFile::create("Egykulcs", oneKey), 300);
        // Another key of two fields altogether.
        TableSchema other{{field("Szam", FieldType::Long), field("Nev", FieldType::Alpha, 20)}, 2};
        auto o = TableFile::create("Masik", other);
        for (int i = 0; i < 50; ++i) {
            Record r{i, std::string("x")};
            o->insert(r);
        }
    }
    const std::string own = testenv::readFile("Sajat.px");
    const std::string data = testenv::readFile("Sajat.db");
    struct Case {
        std::string px;
        const char* reason;
    };
    std::string damaged = own;
    damaged[0x0C] = '\x7F'; // the block counter past the end of the file
    const Case cases[] = {
        {testenv::readFile("Egykulcs.px"), "its key has 1 fields, the table's 2"},
        {testenv::readFile("Masik.px"), "its key field 1 differs from the table's"},
        {testenv::readFile("Sajat.db"), "not a primary index file"},
        {damaged, "the header counts"}};
    for (const Case& c : cases) {
        std::ofstream("Sajat.db", std::ios::binary | std::ios::trunc) << data;
        std::ofstream("Sajat.px", std::ios::binary | std::ios::trunc) << c.px;
        {
            auto readOnly = TableFile::open("Sajat", {.writable = false});
            EXPECT_EQ(readOnly->readAll().size(), 300u);
            EXPECT_NE(readOnly->indexNotice().find(c.reason), std::string::npos)
                << readOnly->indexNotice();
            EXPECT_EQ(testenv::readFile("Sajat.px"), c.px); // left as it was
        }
        auto table = TableFile::open("Sajat");
        EXPECT_EQ(table->indexNotice().rfind("Sajat.px: ", 0), 0u) << table->indexNotice();
        EXPECT_NE(table->indexNotice().find(c.reason), std::string::npos);
        EXPECT_NE(table->indexNotice().find("; the index is rebuilt"), std::string::npos);
        expectSound(*table); // rebuilt on opening, before any change
        Record r = parcel("A0", 1999, "árpa", 1);
        table->insert(r);
        table->remove(*table->find({std::string("K7"), 2001}));
        expectSound(*table);
        EXPECT_EQ(table->readAll().size(), 300u);
    }
    // A session passes the reason on to whoever listens (the program tells the user).
    std::ofstream("Sajat.px", std::ios::binary | std::ios::trunc) << cases[0].px;
    {
        Session session(".");
        std::vector<std::string> heard;
        session.setLogListener([&](const std::string& line) { heard.push_back(line); });
        session.open("Sajat");
        ASSERT_EQ(heard.size(), 1u);
        EXPECT_EQ(heard[0], "Sajat.px: its key has 1 fields, the table's 2; the index is rebuilt");
        EXPECT_EQ(session.log(), heard);
    }
    // Its own .px needs nothing.
    std::ofstream("Sajat.px", std::ios::binary | std::ios::trunc) << own;
    EXPECT_EQ(TableFile::open("Sajat")->indexNotice(), "");
}

TEST(TableWrite, ATableInAnUnknownCodePageIsNamedOnOpening) {
    {
        auto table = TableFile::create("Kodlap", parcelSchema());
        Record r = parcel("B2", 2020, "búza", 4.5);
        table->insert(r);
    }
    {
        std::fstream f("Kodlap.db", std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(0x6A);
        f.put(static_cast<char>(1249 & 0xFF));
        f.put(static_cast<char>(1249 >> 8));
    }
    try {
        TableFile::open("Kodlap")->readAll();
        FAIL() << "no error";
    } catch (const CorruptFileError& e) {
        EXPECT_STREQ(e.what(), "Kodlap.db: unknown code page 1249");
    }
}

namespace {

// The index blocks of a .px (everything after its header).
std::string pxBlocks(const std::filesystem::path& px) {
    const std::string bytes = testenv::readFile(px);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const auto header = parseHeader(std::span(data, bytes.size()), bytes.size(), px);
    return bytes.substr(header.headerSize);
}

} // namespace

// Each change writes only the index entries it touched (or lays the index out anew when
// blocks were added or freed): the .px must stay byte for byte the index laid out whole,
// through inserts, in-place updates, key moves and deletes, alone and in one session
// transaction, and after a change refused half way.
TEST(TableWrite, TheIndexKeptByEachChangeIsTheOneLaidOutWhole) {
    Session session(".");
    auto shared = session.create("Kulcsok", parcelSchema());
    TableFile& table = shared->file();
    std::mt19937 rng(77);
    std::map<std::string, Record> model;
    const auto randomChange = [&] {
        const int kind = static_cast<int>(rng() % 10);
        if (kind < 6 || model.size() < 10) {
            Record r = parcel(randomCode(rng), 2000 + static_cast<int>(rng() % 3), "új", 1);
            if (model.count(keyOf(r))) {
                EXPECT_THROW(shared->insert(r), KeyViolation);
                return;
            }
            shared->insert(r);
            model[keyOf(r)] = r;
            return;
        }
        auto it = model.begin();
        std::advance(it, static_cast<long>(rng() % model.size()));
        const Record old = it->second;
        const auto pos = table.find({old[0], old[1]});
        ASSERT_TRUE(pos);
        if (kind < 8) {
            Record updated = old;
            updated[2] = randomCode(rng);
            if (kind == 7)
                updated[1] = 1990 + static_cast<int>(rng() % 5);
            if (keyOf(updated) != keyOf(old) && model.count(keyOf(updated)))
                return;
            shared->update(*pos, updated);
            model.erase(keyOf(old));
            model[keyOf(updated)] = updated;
        } else {
            shared->remove(*pos);
            model.erase(keyOf(old));
        }
    };
    const auto expectWholeLayout = [&](const char* phase, int round) {
        const std::string kept = pxBlocks("Kulcsok.px");
        table.rewritePrimaryIndex();
        ASSERT_EQ(kept, pxBlocks("Kulcsok.px")) << phase << " round " << round;
        ASSERT_EQ(table.recordCount(), model.size());
    };
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 40; ++i)
            randomChange();
        expectWholeLayout("alone", round);
    }
    for (int round = 0; round < 10; ++round) {
        SessionTransaction transaction(session);
        for (int i = 0; i < 150; ++i)
            randomChange();
        transaction.Commit();
        expectWholeLayout("in a transaction", round);
    }
    expectSound(table);
}
