// The blob file: the input is a .mb put beside a fixture table with memo, formatted
// memo or graphic fields. Reading the records may only raise db::DbError naming the
// blob file; a blob written, rewritten and freed in a damaged file reads back as written.

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/table_files.h"
#include "fuzz/targets/targets.h"
#include "platform/db/error.h"
#include "platform/db/table_file.h"
#include "platform/sys/codepage.h"

namespace fs = std::filesystem;

namespace fuzz {

namespace {

struct Fixture {
    const char* db;
    const char* mb;
    std::vector<std::string> files;
};

const Fixture kFixtures[] = {
    {"memo.db", "memo.mb", {"real/fields/memo.db", "real/fields/memo.px"}},
    {"fmemo.db", "fmemo.mb", {"real/fields/fmemo.db", "real/fields/fmemo.px"}},
    {"graphic.db", "graphic.mb", {"real/fields/graphic.db", "real/fields/graphic.px"}},
    {"TESZT.DB", "TESZT.mb", {"generated/TESZT.DB", "generated/TESZT.px"}},
};

// A value for a blob field, long enough for a block of its own.
db::Value blobValue(const db::FieldDef& field, std::size_t length) {
    if (isTextType(field.type))
        return std::string(length, 'b');
    return db::Bytes(length, 0x5A);
}

void check(const Fixture& f, std::string_view mb) {
    const fs::path dir = freshTableCopy("blob", f.files);
    writeFile(dir / f.mb, mb);
    const auto table = db::TableFile::open(dir / f.db);
    std::vector<db::Record> records;
    try {
        records = table->readAll();
    } catch (const db::DbError&) {
    } catch (const sys::EncodingError&) {
    }
    if (records.empty())
        return;
    db::Record r = records.front();
    for (std::size_t i = 0; i < r.size(); ++i)
        if (isBlobType(table->fields()[i].type))
            r[i] = blobValue(table->fields()[i], 300 + 40 * i);
    const auto at = table->find(db::Record(r.begin(), r.begin() + table->keyFields()));
    if (!at)
        finding("a record of the table is not found by its key");
    try {
        const db::RecordPos pos = table->update(*at, r);
        if (table->read(pos) != r)
            finding("a blob written into the blob file reads back otherwise");
        table->remove(pos);
        table->insert(r);
        if (table->read(*table->find(db::Record(r.begin(), r.begin() + table->keyFields()))) != r)
            finding("a blob written again reads back otherwise");
    } catch (const db::DbError&) {
    }
}

} // namespace

void runBlobFile(std::string_view input) {
    if (input.empty())
        return;
    check(kFixtures[static_cast<unsigned char>(input[0]) % std::size(kFixtures)], input.substr(1));
}

void seedBlobFile() {
    for (std::size_t i = 0; i < std::size(kFixtures); ++i) {
        const fs::path dir = fs::path(kFixtures[i].files[0]).parent_path();
        const std::string mb = readFile(fixture((dir / kFixtures[i].mb).string()));
        if (mb.size() <= 64 * 1024)
            writeSeed(std::string("mb-") + kFixtures[i].mb,
                      std::string(1, static_cast<char>(i)) + mb);
    }
}

} // namespace fuzz
