// Damaged and foreign files: opening or reading them raises an error naming the file and
// the problem, never a crash, a hang or a read out of bounds.

#include "platform/db/error.h"
#include "platform/db/table_file.h"
#include "platform/sys/codepage.h"
#include "support/test_env.h"

#include <fstream>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

void patch(const fs::path& file, std::uint64_t offset, std::initializer_list<std::uint8_t> bytes) {
    std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
    f.seekp(static_cast<std::streamoff>(offset));
    for (const auto b : bytes)
        f.put(static_cast<char>(b));
}

void writeBytes(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Opens the table and reads every record; returns the error's problem text.
std::string openError(const fs::path& db) {
    try {
        const auto t = db::TableFile::open(db, {.writable = false});
        t->readAll();
    } catch (const db::CorruptFileError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(e.file().filename().string() + ": ", 0), 0u);
        return e.file().filename().string() + ": " + e.problem();
    }
    return "no error";
}

struct Damage {
    const char* fixture;
    std::uint64_t offset;
    std::initializer_list<std::uint8_t> bytes;
    const char* problem; // part of the message
};

TEST(DamagedTable, WrongHeaderFieldsAreNamed) {
    const Damage cases[] = {
        {"generated/SIMA.DB", 0x00, {41, 0}, "SIMA.DB: the fields add up to 40 bytes"},
        {"generated/SIMA.DB", 0x02, {0x10, 0x00}, "SIMA.DB: bad header size 16"},
        {"generated/SIMA.DB", 0x02, {0x00, 0xF0}, "header size 61440 is past the end"},
        {"generated/SIMA.DB", 0x04, {9}, "unknown file type 9"},
        {"generated/SIMA.DB", 0x05, {0}, "bad block size code 0"},
        {"generated/SIMA.DB", 0x05, {5}, "bad block size code 5"},
        {"generated/SIMA.DB", 0x21, {0, 0}, "declares no fields"},
        {"generated/SIMA.DB", 0x21, {0x2C, 0x01}, "declares 300 fields"},
        {"generated/SIMA.DB", 0x39, {0x20}, "unknown file version 32"},
        {"generated/SIMA.DB", 0x78, {0x07, 20}, "field 1 has an unknown type code 7"},
        {"generated/SIMA.DB", 0x78, {0x01, 0}, "field 1 has size 0"},
        {"generated/TESZT.DB", 0x7C, {0x04, 8}, "field 3 (Long) has size 8, not 4"},
        {"generated/SIMA.DB", 0x0C, {50, 0}, "the header counts 50 blocks"},
        {"generated/SIMA.DB", 0x0E, {2, 0}, "the first block 2 is past the last block 1"},
        {"generated/SIMA.DB", 0x06, {200, 0}, "200 records, 1 blocks hold at most 51"},
        {"generated/SIMA.DB",
         0x06,
         {5, 0},
         "SIMA.DB: the blocks hold 3 records, the header counts 5"},
        // Block chain: the next pointer of the last block leads back to the first one.
        {"generated/NAGY.DB",
         2048 + 571 * 2048,
         {1, 0},
         "NAGY.DB: the block chain loops back to block 1"},
        {"generated/NAGY.DB",
         2048 + 10 * 2048,
         {0x0F, 0x27},
         "leads to block 9999, past the last block 572"},
        {"generated/NAGY.DB", 2048 + 4, {0x3D, 0x08}, "block 1 claims 38 records, at most 35 fit"},
        {"generated/NAGY.DB", 2048 + 4, {0x01, 0x00}, "not a whole number of records"},
        // A memo pointer whose length disagrees with the blob file.
        {"generated/TESZT.DB",
         2048 + 6 + 120 + 114,
         {85},
         "TESZT.mb: blob at 4159: the block holds 84 bytes"},
    };
    for (const Damage& d : cases) {
        const fs::path db = testenv::copyFixture(d.fixture);
        patch(db, d.offset, d.bytes);
        EXPECT_NE(openError(db).find(d.problem), std::string::npos)
            << d.fixture << " @" << d.offset << ": " << openError(db);
        fs::remove(db);
    }
}

TEST(DamagedTable, TruncatedFiles) {
    struct Cut {
        std::uintmax_t size;
        const char* problem;
    };
    for (const Cut c : {Cut{0, "too short for a table header (0 bytes)"},
                        Cut{50, "too short for a table header (50 bytes)"},
                        Cut{300, "header size 2048 is past the end of the file (300 bytes)"},
                        Cut{2048, "the header counts 1 blocks, the file ends at 2048 bytes"},
                        Cut{2048 + 100, "the records of block 1 run past the end of the file"}}) {
        const fs::path db = testenv::copyFixture("generated/SIMA.DB");
        fs::resize_file(db, c.size);
        EXPECT_NE(openError(db).find(c.problem), std::string::npos)
            << c.size << ": " << openError(db);
    }
    // A block counted by the header but cut off: NAGY ends in the middle of block 300.
    const fs::path nagy = testenv::copyFixture("generated/NAGY.DB");
    fs::resize_file(nagy, 2048 + 299 * 2048 + 1000);
    EXPECT_NE(openError(nagy).find("the header counts 572 blocks"), std::string::npos)
        << openError(nagy);
}

TEST(DamagedTable, ForeignFilesAreNotTables) {
    const std::string png =
        std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0\x01\0\0\0\x01\0\x08\x06\0\0\0", 33) +
        std::string(5000, '\x11');
    std::string text;
    while (text.size() < 6000)
        text += "Ez egy szöveges fájl, nem tábla.\n";
    for (const auto& [name, bytes] : std::vector<std::pair<std::string, std::string>>{
             {"KEP.DB", png}, {"SZOVEG.DB", text}, {"NULLAK.DB", std::string(4096, '\0')}}) {
        writeBytes(fs::current_path() / name, bytes);
        const std::string problem = openError(fs::current_path() / name);
        EXPECT_EQ(problem.rfind(name + ": ", 0), 0u) << problem;
    }
    // The oracle's files that are not data files.
    const fs::path px = fs::current_path() / "INDEX.DB";
    fs::copy_file(testenv::fixture("generated/TESZT.px"), px);
    EXPECT_NE(openError(px).find("not a table data file"), std::string::npos);
}

TEST(DamagedTable, DumpToolReportsTheFileAndFails) {
    const fs::path db = testenv::copyFixture("generated/SIMA.DB");
    patch(db, 0x06, {5, 0});
    const auto r =
        testenv::run("'" + testenv::tabledump().string() + "' '" + db.string() + "' 2>&1");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_NE(r.out.find("SIMA.DB: the blocks hold 3 records"), std::string::npos) << r.out;
}

} // namespace
