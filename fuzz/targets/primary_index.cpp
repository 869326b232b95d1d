// The primary index tree: the input is a .px put beside a fixture table. Read-only, the
// table opens and reads without it, and the test helper's walk of the tree ends; writable,
// the .px is taken when it fits the table and rebuilt when not, and after a change it
// matches the data blocks exactly.

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/table_files.h"
#include "fuzz/targets/targets.h"
#include "platform/db/error.h"
#include "platform/db/table_file.h"
#include "platform/sys/codepage.h"
#include "support/table_check.h"

namespace fs = std::filesystem;

namespace fuzz {

namespace {

struct Fixture {
    const char* db;
    const char* px;
    std::vector<std::string> files;
};

const Fixture kFixtures[] = {
    {"AREACODE.DB", "AREACODE.PX", {"real/db/AREACODE.DB"}},
    {"TESZT.DB", "TESZT.px", {"generated/TESZT.DB", "generated/TESZT.mb"}},
};

void check(const Fixture& f, std::string_view px) {
    const fs::path dir = freshTableCopy("primary", f.files);
    writeFile(dir / f.px, px);
    std::unique_ptr<db::TableFile> readOnly;
    try {
        readOnly = db::TableFile::open(dir / f.db, {.writable = false});
        readOnly->readAll();
    } catch (const db::DbError& e) {
        finding(std::string("a .px beside a sound table stops it from being read: ") + e.what());
    }
    try {
        testenv::checkPrimaryIndex(*readOnly); // any answer, but an answer
    } catch (const db::DbError&) {
    }
    readOnly.reset();
    const auto table = db::TableFile::open(dir / f.db);
    const auto records = table->readAll();
    if (records.empty())
        return;
    // Take out the middle record and put it back: both changes go through the index.
    db::Record middle = records[records.size() / 2];
    const auto at = table->find(db::Record(middle.begin(), middle.begin() + table->keyFields()));
    if (!at)
        finding("a record of the table is not found by its key");
    table->remove(*at);
    table->insert(middle);
    if (const std::string problem = testenv::checkPrimaryIndex(*table); !problem.empty())
        finding("the .px after a change: " + problem);
}

} // namespace

void runPrimaryIndex(std::string_view input) {
    // The first byte picks the table.
    if (input.empty())
        return;
    check(kFixtures[static_cast<unsigned char>(input[0]) % std::size(kFixtures)], input.substr(1));
}

void seedPrimaryIndex() {
    for (std::size_t i = 0; i < std::size(kFixtures); ++i) {
        const fs::path dir = fs::path(kFixtures[i].files[0]).parent_path();
        writeSeed(std::string("px-") + kFixtures[i].px,
                  std::string(1, static_cast<char>(i)) +
                      readFile(fixture((dir / kFixtures[i].px).string())));
    }
    // Another table's index, and one of another key size.
    writeSeed("px-foreign", std::string(1, '\0') + readFile(fixture("generated/NAGY.px")));
    writeSeed("px-foreign-2", std::string(1, '\1') + readFile(fixture("real/db/CUSTOMER.PX")));
}

} // namespace fuzz
