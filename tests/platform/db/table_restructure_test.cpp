// Adding fields to tables that hold records: every record, key, memo and counter kept,
// the new fields NULL and writable, the oracle and the primary index in agreement, and
// the change atomic (a refusal, a failing observer or a crash leaves the old table).

#include "platform/db/error.h"
#include "platform/db/table_file.h"
#include "platform/sys/text.h"
#include "support/child_process.h"
#include "support/journal_state.h"
#include "support/table_check.h"
#include "support/test_env.h"

#include <gtest/gtest.h>
#include <map>
#include <random>

using namespace db;
namespace fs = std::filesystem;

namespace {

FieldDef field(const std::string& name, FieldType type, int size = 0, int decimals = 0) {
    return {name, type, storedSize(type, size), decimals};
}

// A keyed table of the farm's shape: code, a counter, a name, an area and a memo.
TableSchema keyedSchema() {
    return {{field("Kod", FieldType::Long), field("Sorszám", FieldType::AutoInc),
             field("Megnevezés", FieldType::Alpha, 30), field("Ter", FieldType::Number),
             field("Megjegyzés", FieldType::Memo, 11)},
            1};
}

// The columns a schema upgrade adds, one of each type it uses.
std::vector<FieldDef> upgradeFields() {
    return {field("Mennyiség", FieldType::Long),  field("Darab", FieldType::Short),
            field("Dátum", FieldType::Date),      field("Aktív", FieldType::Logical),
            field("Címke", FieldType::Alpha, 20), field("Összeg", FieldType::Bcd, 17, 4),
            field("Arány", FieldType::Number)};
}

// Values for the upgrade fields, different for every `i`.
Record upgradeValues(int i) {
    return {i * 1000,
            i % 30000 - 15000,
            Date{738000 + i},
            i % 2 == 0,
            "címke ő" + std::to_string(i),
            Decimal{std::to_string(i) + ".1234"},
            i / 8.0};
}

std::string memoFor(std::mt19937& rng) {
    const std::size_t length = rng() % 400; // empty, within the leader, or in the .mb
    return length == 0 ? std::string()
                       : std::string(length, static_cast<char>('a' + rng() % 26)) + " ű";
}

// `rows` records with keys spread over 0..rows*7 (inserted out of order).
std::vector<Record> fillKeyed(TableFile& table, int rows, std::uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<std::int32_t> keys(static_cast<std::size_t>(rows));
    for (int i = 0; i < rows; ++i)
        keys[static_cast<std::size_t>(i)] = i * 7;
    std::shuffle(keys.begin(), keys.end(), rng);
    for (const std::int32_t key : keys) {
        const std::string memo = memoFor(rng);
        Record r{key, Null{}, "parcella " + std::to_string(key), key / 4.0,
                 memo.empty() ? Value(Null{}) : Value(memo)};
        table.insert(r);
    }
    return table.readAll();
}

Record widened(Record r, std::size_t added) {
    r.resize(r.size() + added, Null{});
    return r;
}

std::vector<Record> widenedAll(const std::vector<Record>& rows, std::size_t added) {
    std::vector<Record> out;
    for (const auto& r : rows)
        out.push_back(widened(r, added));
    return out;
}

void expectSound(const TableFile& table) {
    EXPECT_EQ(testenv::checkPrimaryIndex(table), "");
    EXPECT_EQ(testenv::compareWithOracle(table.path()), "");
}

// The bytes of a table's files, to show that nothing changed.
std::map<std::string, std::string> filesOf(const std::string& stem) {
    std::map<std::string, std::string> out;
    for (const char* ext : {".db", ".px", ".mb", ".jnl"})
        if (fs::exists(stem + ext))
            out[ext] = testenv::readFile(stem + ext);
    return out;
}

// Counts the restructure notices and can make the change fail inside its transaction.
class RestructureObserver : public TableObserver {
public:
    explicit RestructureObserver(const TableFile& table) : table_(table) {}
    void recordInserted(const Record&) override {}
    void recordUpdated(const Record&, const Record&) override {}
    void recordRemoved(const Record&) override {}
    void tableEmptied() override {}
    void tableRestructured() override {
        ++notices;
        fieldsSeen = table_.fields().size();
        if (fail)
            throw std::runtime_error("index refused");
    }

    int notices = 0;
    std::size_t fieldsSeen = 0;
    bool fail = false;

private:
    const TableFile& table_;
};

} // namespace

TEST(TableRestructure, EveryUpgradeTypeAddedToAKeyedTableWithMemos) {
    auto table = TableFile::create("Parcella", keyedSchema());
    const auto rows = fillKeyed(*table, 3000, 7);
    const TableHeader before = table->header();
    ASSERT_GT(before.autoInc, 2999u);

    // One column at a time, as the upgrade's statements come.
    const auto added = upgradeFields();
    for (std::size_t n = 1; n <= added.size(); ++n) {
        SCOPED_TRACE("added " + added[n - 1].name);
        table->addFields({added[n - 1]});
        ASSERT_EQ(table->fields().size(), before.fields.size() + n);
        EXPECT_EQ(table->fieldIndex(sys::toUpper(added[n - 1].name)),
                  static_cast<int>(before.fields.size() + n - 1));
        ASSERT_EQ(table->readAll(), widenedAll(rows, n));
    }
    const TableHeader& after = table->header();
    EXPECT_EQ(after.codePage, before.codePage);
    EXPECT_EQ(after.sortOrderId, "anhundc");
    EXPECT_EQ(after.sortOrder, before.sortOrder);
    EXPECT_EQ(after.tableName, before.tableName);
    EXPECT_EQ(after.autoInc, before.autoInc);
    EXPECT_EQ(after.primaryKeyFields, 1);
    EXPECT_EQ(after.numRecords, 3000u);
    EXPECT_EQ(after.fields[10].decimals, 4);
    EXPECT_EQ(after.fields[9].size, 20);
    expectSound(*table);

    // A fresh reader sees the same.
    table = TableFile::open("PARCELLA.DB");
    ASSERT_EQ(table->readAll(), widenedAll(rows, added.size()));
    expectSound(*table);

    // The new fields take values; the counter goes on from where it was; inserts into
    // the packed blocks split them.
    for (int i = 0; i < 300; ++i) {
        const Record& old = rows[static_cast<std::size_t>(i * 10)];
        Record full = old;
        const Record values = upgradeValues(i);
        full.insert(full.end(), values.begin(), values.end());
        const auto pos = table->find({old[0]});
        ASSERT_TRUE(pos);
        table->update(*pos, full);
        Record fresh{i * 7 + 3, Null{}, std::string("új"), 1.5, std::string("új memó")};
        fresh.insert(fresh.end(), values.begin(), values.end());
        table->insert(fresh);
        EXPECT_EQ(std::get<std::int32_t>(fresh[1]),
                  static_cast<std::int32_t>(before.autoInc) + i + 1);
    }
    table = TableFile::open("Parcella");
    EXPECT_EQ(table->recordCount(), 3300u);
    for (int i = 0; i < 300; ++i) {
        const Record values = upgradeValues(i);
        const Record updated =
            table->read(*table->find({rows[static_cast<std::size_t>(i * 10)][0]}));
        EXPECT_EQ(Record(updated.begin() + 5, updated.end()), values) << "row " << i;
        EXPECT_EQ(Record(updated.begin(), updated.begin() + 5),
                  rows[static_cast<std::size_t>(i * 10)]);
        const Record inserted = table->read(*table->find({i * 7 + 3}));
        EXPECT_EQ(inserted[4], Value(std::string("új memó")));
        EXPECT_EQ(Record(inserted.begin() + 5, inserted.end()), values);
    }
    expectSound(*table);
}

TEST(TableRestructure, AWideFieldGrowsTheBlockSizeAndTheIndexFollows) {
    auto table = TableFile::create("Szeles", keyedSchema());
    const auto rows = fillKeyed(*table, 1500, 8);
    ASSERT_EQ(table->header().blockSize(), 2048);
    const auto blocksBefore = table->blocks().size();

    // 3 x 255 more bytes: a 2 KiB block would hold two records, a keyed table needs three.
    table->addFields({field("Leírás", FieldType::Alpha, 255),
                      field("Leírás2", FieldType::Alpha, 255),
                      field("Leírás3", FieldType::Alpha, 255)});
    EXPECT_EQ(table->header().blockSize(), 4096);
    EXPECT_EQ(table->header().recordsPerBlock(), (4096 - 6) / table->header().recordSize);
    EXPECT_NE(table->blocks().size(), blocksBefore);
    ASSERT_EQ(table->readAll(), widenedAll(rows, 3));
    expectSound(*table);

    table = TableFile::open("szeles");
    ASSERT_EQ(table->readAll(), widenedAll(rows, 3));
    Record r = widened(rows[5], 3);
    r[5] = std::string(255, 'x');
    r[6] = std::string("ő");
    table->update(*table->find({r[0]}), r);
    Record fresh{1, Null{}, std::string("a"), 1.0, Null{}, std::string("b"), Null{}, Null{}};
    table->insert(fresh);
    table = TableFile::open("szeles");
    EXPECT_EQ(table->read(*table->find({r[0]})), r);
    EXPECT_EQ(table->read(*table->find({1})), fresh);
    expectSound(*table);
}

TEST(TableRestructure, UnkeyedTableKeepsItsOrderAndGainsABlobFile) {
    TableSchema schema{{field("Sor", FieldType::Long), field("Szöveg", FieldType::Alpha, 40)}, 0};
    auto table = TableFile::create("Naplo", schema);
    for (int i = 0; i < 2000; ++i) {
        Record r{i % 50, "sor " + std::to_string(1999 - i)}; // duplicates, no order
        table->insert(r);
    }
    const auto rows = table->readAll();
    ASSERT_EQ(table->blobs(), nullptr);

    table->addFields(
        {field("Megjegyzés", FieldType::Memo, 20), field("Összeg", FieldType::Bcd, 17, 4)});
    EXPECT_FALSE(table->keyed());
    ASSERT_NE(table->blobs(), nullptr);
    ASSERT_EQ(table->readAll(), widenedAll(rows, 2));
    expectSound(*table);

    // Appends go after the kept rows; the memo lands in the new blob file.
    Record r{7, std::string("utolsó"), std::string(500, 'm'), Decimal{"-3.5000"}};
    const auto pos = table->insert(r);
    EXPECT_EQ(pos.block, table->blocks().back().number);
    EXPECT_TRUE(fs::exists("Naplo.mb"));
    Record first = table->read({1, 0});
    first[2] = std::string("első memó");
    table->update({1, 0}, first);
    table = TableFile::open("NAPLO");
    const auto back = table->readAll();
    ASSERT_EQ(back.size(), 2001u);
    EXPECT_EQ(back.front(), first);
    EXPECT_EQ(back.back(), r);
    expectSound(*table);
}

TEST(TableRestructure, RefusedFieldsAndAFailingObserverChangeNothing) {
    auto table = TableFile::create("Gepek", keyedSchema());
    const auto rows = fillKeyed(*table, 400, 9);
    RestructureObserver observer(*table);
    table->addObserver(&observer);
    const auto files = filesOf("Gepek");

    std::vector<std::vector<FieldDef>> refused = {
        {field("KOD", FieldType::Long)},                               // a name in any case
        {field("MEGJEGYZÉS", FieldType::Alpha, 5)},                    // accented capitals
        {field("Új", FieldType::Long), field("úJ", FieldType::Short)}, // twice in one call
        {field("Sorszám2", FieldType::AutoInc)},                       // no counter for old rows
        {{"Kép", FieldType::Graphic, 251, 0}},                         // blob larger than allowed
        {{"Rövid", FieldType::Alpha, 0, 0}},                           // no width
        {field("  ", FieldType::Long)},                                // no name
        {field("Egy nagyon hosszú mezőnév, túl hosszú", FieldType::Long)}, // over 25 characters
        {field("Név ☃", FieldType::Long)},                                 // not in code page 1250
    };
    refused.push_back({}); // more than 255 fields
    refused.push_back({}); // a record too wide for the largest block
    for (int i = 0; i < 251; ++i)
        refused[refused.size() - 2].push_back(field("F" + std::to_string(i), FieldType::Short));
    for (int i = 0; i < 50; ++i)
        refused.back().push_back(field("A" + std::to_string(i), FieldType::Alpha, 255));
    for (std::size_t i = 0; i < refused.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        try {
            table->addFields(refused[i]);
            ADD_FAILURE() << "accepted";
        } catch (const DbError& e) {
            EXPECT_NE(std::string(e.what()).find("Gepek.db"), std::string::npos) << e.what();
        }
        EXPECT_EQ(filesOf("Gepek"), files);
        EXPECT_EQ(table->fields().size(), 5u);
    }
    EXPECT_EQ(observer.notices, 0);

    // Failing inside the transaction: the files and the object are as before.
    observer.fail = true;
    EXPECT_THROW(table->addFields({field("Kép", FieldType::Graphic, 10)}), std::runtime_error);
    EXPECT_EQ(observer.notices, 1);
    EXPECT_EQ(observer.fieldsSeen, 6u); // it saw the new layout
    EXPECT_EQ(filesOf("Gepek"), files);
    EXPECT_EQ(table->fields().size(), 5u);
    EXPECT_EQ(table->codec().fields().size(), 5u);
    EXPECT_EQ(table->readAll(), rows);
    Record r{1, Null{}, std::string("után"), 2.0, std::string("memó")};
    table->insert(r);
    expectSound(*table);

    // The same change then goes through.
    observer.fail = false;
    table->addFields({field("Kép", FieldType::Graphic, 10)});
    EXPECT_EQ(observer.notices, 2);
    EXPECT_EQ(table->readAll().size(), 401u);
    expectSound(*table);

    // Read-only tables are not restructured.
    table->removeObserver(&observer);
    table = TableFile::open("Gepek", {false});
    EXPECT_THROW(table->addFields({field("Más", FieldType::Long)}), DbError);
}

namespace {

struct CrashRuns {
    int old = 0;   // runs that left the old table
    int fresh = 0; // runs that left the new one
};

// Runs addFields in a child that dies at step 1, 2, ... of the commit until one run
// finishes; after each, the table is the old one or the new one, with every row.
CrashRuns crashAtEveryStep(const std::vector<FieldDef>& added, Durability durability,
                           const std::vector<Record>& rows) {
    const auto expectedNew = widenedAll(rows, added.size());
    CrashRuns runs;
    for (long step = 1;; ++step) {
        SCOPED_TRACE(added[0].name + ": crash at step " + std::to_string(step));
        fs::remove_all("work");
        fs::copy("orig", "work");
        testenv::Child child(step, [&](int) {
            try {
                TableFile::open("work/Crash", {true, durability})->addFields(added);
                ::_exit(0);
            } catch (...) {
                ::_exit(3);
            }
        });
        const auto result = child.wait();
        EXPECT_TRUE(result.exited(0) || result.exited(99)) << "status " << result.status;

        std::unique_ptr<TableFile> table;
        EXPECT_NO_THROW(table = TableFile::open("work/Crash"));
        if (!table)
            return runs;
        EXPECT_FALSE(testenv::journalHoldsAChange("work/Crash.jnl"));
        const bool old = table->fields().size() == rows.front().size();
        EXPECT_EQ(table->readAll(), old ? rows : expectedNew);
        EXPECT_FALSE(result.exited(0) && old);
        ++(old ? runs.old : runs.fresh);
        EXPECT_EQ(testenv::checkPrimaryIndex(*table), "");
        if (step % 3 == 0 || result.exited(0)) {
            EXPECT_EQ(testenv::compareWithOracle(table->path()), "");
        }
        if (result.exited(0) || ::testing::Test::HasFailure())
            return runs;
    }
}

} // namespace

TEST(TableRestructure, ACrashAtAnyStepLeavesTheOldOrTheNewTable) {
    fs::create_directory("orig");
    std::vector<Record> rows;
    {
        auto table = TableFile::create("orig/Crash", keyedSchema());
        rows = fillKeyed(*table, 600, 10);
    }
    // Narrow fields, and wide ones that change the block size.
    const std::vector<std::vector<FieldDef>> variants = {
        {field("Mennyiség", FieldType::Long), field("Dátum", FieldType::Date)},
        {field("Leírás", FieldType::Alpha, 255), field("Leírás2", FieldType::Alpha, 255),
         field("Leírás3", FieldType::Alpha, 255)},
    };
    for (const auto& added : variants)
        for (const auto durability : {Durability::OsBuffers, Durability::Fsync}) {
            const CrashRuns runs = crashAtEveryStep(added, durability, rows);
            EXPECT_GT(runs.old, 0);
            EXPECT_GT(runs.fresh, 1); // crashes past the commit point, and the finished run
        }
}
