// The secondary index files: the input is an index file and its block index (cut by a
// marker line) put beside a fixture table as its single-field or named index. Opening
// the table in a session checks every index (a bad one is rebuilt or left out, with a
// log line, never an error), and the indexes kept agree with the table before and after
// a change.

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/table_files.h"
#include "fuzz/targets/targets.h"
#include "platform/db/error.h"
#include "platform/db/session.h"

namespace fs = std::filesystem;

namespace fuzz {

namespace {

constexpr std::string_view kMarker = "\n--y--\n";

struct Fixture {
    const char* table;
    const char* x;
    const char* y;
    std::vector<std::string> files;
};

const Fixture kFixtures[] = {
    {"CUSTOMER",
     "CUSTOMER.X06",
     "CUSTOMER.Y06",
     {"real/db/CUSTOMER.DB", "real/db/CUSTOMER.PX", "real/db/CUSTOMER.MB"}},
    {"AREACODES",
     "AREACODES.XG0",
     "AREACODES.YG0",
     {"real/db/AREACODES.DB", "real/db/AREACODES.PX"}},
};

void expectSound(const db::SharedTable& table, const char* when) {
    for (const auto& index : table.indexes())
        if (const std::string problem = index->verify(); !problem.empty())
            finding(std::string("an index kept ") + when + " disagrees: " + problem);
}

void check(const Fixture& f, std::string_view x, std::string_view y) {
    const fs::path dir = freshTableCopy("secondary", f.files);
    writeFile(dir / f.x, x);
    writeFile(dir / f.y, y);
    db::Session session(dir);
    const auto table = session.open(f.table);
    expectSound(*table, "on opening");
    const auto records = table->file().readAll();
    if (records.empty())
        return;
    db::Record middle = records[records.size() / 2];
    const int keyFields = table->file().keyFields();
    const auto at = table->file().find(db::Record(middle.begin(), middle.begin() + keyFields));
    if (!at)
        finding("a record of the table is not found by its key");
    table->remove(*at);
    table->insert(middle);
    expectSound(*table, "after a change");
}

} // namespace

void runSecondaryIndex(std::string_view input) {
    if (input.empty())
        return;
    const auto parts = splitInput(input.substr(1), kMarker, 2);
    check(kFixtures[static_cast<unsigned char>(input[0]) % std::size(kFixtures)], parts[0],
          parts.size() == 2 ? parts[1] : std::string_view());
}

void seedSecondaryIndex() {
    for (std::size_t i = 0; i < std::size(kFixtures); ++i) {
        const Fixture& f = kFixtures[i];
        const std::string x = readFile(fixture(std::string("real/db/") + f.x));
        const std::string y = readFile(fixture(std::string("real/db/") + f.y));
        writeSeed(std::string("index-") + f.x,
                  std::string(1, static_cast<char>(i)) + x + std::string(kMarker) + y);
        // Each table given the other's index.
        writeSeed(std::string("index-other-") + f.x,
                  std::string(1, static_cast<char>(i + 1)) + x + std::string(kMarker) + y);
    }
}

} // namespace fuzz
