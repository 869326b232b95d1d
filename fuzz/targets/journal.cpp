// The rollback journal decoder and recovery: the input is a journal left beside a
// fixture table (the first byte's lowest bit set: the rest is a journal body whose length
// and checksum are filled in, so that mutations reach past the checksum). Decoding may
// only give "incomplete" or raise db::CorruptFileError; recovery may only raise
// db::DbError, writes nothing outside the journal's folder, and the table then opens or
// names its damage.

#include "platform/db/journal.h"

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/table_files.h"
#include "fuzz/targets/targets.h"
#include "platform/db/error.h"
#include "platform/db/pager.h"
#include "platform/db/table_file.h"
#include "platform/sys/codepage.h"

#include <set>

namespace fs = std::filesystem;

namespace fuzz {

namespace {

constexpr std::size_t kLengthAt = 8;

std::vector<std::uint8_t> journalBytes(std::string_view input) {
    const bool complete = !input.empty() && (input[0] & 1) != 0;
    if (!input.empty())
        input.remove_prefix(1);
    std::vector<std::uint8_t> bytes(input.begin(), input.end());
    if (!complete || bytes.size() < kLengthAt + 8)
        return bytes;
    const std::uint64_t length = bytes.size() + 4;
    for (std::size_t i = 0; i < 8; ++i)
        bytes[kLengthAt + i] = static_cast<std::uint8_t>(length >> (8 * i));
    const std::uint32_t crc = db::crc32(bytes);
    for (std::size_t i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(crc >> (8 * i)));
    return bytes;
}

std::set<fs::path> entriesOf(const fs::path& dir) {
    std::set<fs::path> out;
    for (const auto& entry : fs::directory_iterator(dir))
        out.insert(entry.path().filename());
    return out;
}

} // namespace

void runJournal(std::string_view input) {
    const std::vector<std::uint8_t> bytes = journalBytes(input);
    const fs::path dir = freshTableCopy("journal", {"generated/SIMA.DB", "generated/TESZT.DB",
                                                    "generated/TESZT.px", "generated/TESZT.mb"});
    const fs::path journal = dir / "SIMA.jnl";
    try {
        if (const auto decoded = db::decodeJournal(journal, bytes)) {
            for (const db::JournalRegion& r : decoded->regions)
                if (r.file >= decoded->files.size() || r.bytes.data() < bytes.data() ||
                    r.bytes.data() + r.bytes.size() > bytes.data() + bytes.size())
                    finding("a decoded region lies outside the journal or its files");
            for (const db::JournalFile& f : decoded->files)
                if (!db::isContainedName(f.name))
                    finding("a decoded journal names a file outside its folder: " + f.name);
        }
    } catch (const db::CorruptFileError&) {
    }
    writeFile(journal, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    const auto outside = entriesOf(workDir());
    try {
        db::Pager::recover(journal);
    } catch (const db::DbError&) {
    }
    if (entriesOf(workDir()) != outside)
        finding("recovery wrote outside the journal's folder");
    for (const char* table : {"SIMA.DB", "TESZT.DB"}) {
        try {
            db::TableFile::open(dir / table, {.writable = false})->readAll();
        } catch (const db::DbError&) {
        } catch (const sys::EncodingError&) {
        }
    }
}

void seedJournal() {
    // Journals as a change of the fixtures writes them: the header and a block of each
    // table as they were, a file the change created, a table grown by the change.
    const std::string sima = readFile(fixture("generated/SIMA.DB"));
    const std::string teszt = readFile(fixture("generated/TESZT.DB"));
    const auto build =
        [](const std::vector<db::JournalFile>& files,
           const std::vector<std::tuple<std::uint32_t, std::uint64_t, std::string>>& regions) {
            db::JournalBuilder b;
            for (const auto& f : files)
                b.addFile(f);
            for (const auto& [file, offset, original] : regions) {
                const auto room = b.addRegion(file, offset, original.size());
                std::copy(original.begin(), original.end(), room.begin());
            }
            auto bytes = std::move(b).finish();
            return std::string(1, '\0') + std::string(bytes.begin(), bytes.end());
        };
    writeSeed("journal-one-table",
              build({{"SIMA.DB", sima.size()}},
                    {{0, 0, sima.substr(0, 2048)}, {0, 2048, sima.substr(2048, 2048)}}));
    writeSeed("journal-two-files-one-new",
              build({{"TESZT.DB", teszt.size()}, {"TESZT.x01", std::nullopt}},
                    {{0, 0, teszt.substr(0, 2048)}}));
    writeSeed("journal-grown",
              build({{"SIMA.DB", sima.size() / 2}}, {{0, 0, sima.substr(0, 100)}}));
}

} // namespace fuzz
