// The rollback journals and super-journals, and recovery from them: the input is a
// journal of SIMA, optionally followed (after marker lines) by a journal of TESZT and a
// super-journal "save-fuzz.sjnl", left beside those fixture tables. Each part whose first
// byte has its lowest bit set is a body whose length and checksum are filled in, so that
// mutations reach past the checksum. Decoding may only give "incomplete" or raise
// db::CorruptFileError; recovering the folder may only raise db::DbError, writes nothing
// outside it, and the tables then open or name their damage.

#include "platform/db/journal.h"

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/table_files.h"
#include "fuzz/targets/targets.h"
#include "platform/db/error.h"
#include "platform/db/file_io.h"
#include "platform/db/group_commit.h"
#include "platform/db/table_file.h"
#include "platform/sys/codepage.h"

#include <set>

namespace fs = std::filesystem;

namespace fuzz {

namespace {

constexpr std::string_view kMarker = "\n--jnl--\n";
constexpr const char* kNames[] = {"SIMA.jnl", "TESZT.jnl", "save-fuzz.sjnl"};
constexpr std::size_t kLengthAt = 8; // both kinds: magic, then the total length

std::vector<std::uint8_t> journalBytes(std::string_view part) {
    const bool complete = !part.empty() && (part[0] & 1) != 0;
    if (!part.empty())
        part.remove_prefix(1);
    std::vector<std::uint8_t> bytes(part.begin(), part.end());
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

void checkJournal(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    try {
        const auto decoded = db::decodeJournal(path, bytes);
        if (!decoded)
            return;
        for (const db::JournalRegion& r : decoded->regions)
            if (r.file >= decoded->files.size() || r.bytes.data() < bytes.data() ||
                r.bytes.data() + r.bytes.size() > bytes.data() + bytes.size())
                finding("a decoded region lies outside the journal or its files");
        for (const db::JournalFile& f : decoded->files)
            if (!db::isContainedName(f.name))
                finding("a decoded journal names a file outside its folder: " + f.name);
        if (!decoded->superJournal.empty() && !db::isContainedName(decoded->superJournal))
            finding("a decoded journal names a super-journal outside its folder");
    } catch (const db::CorruptFileError&) {
    }
}

void checkSuperJournal(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
    try {
        if (const auto names = db::decodeSuperJournal(path, bytes))
            for (const std::string& name : *names)
                if (!db::isContainedName(name))
                    finding("a decoded super-journal names a file outside its folder: " + name);
    } catch (const db::CorruptFileError&) {
    }
}

std::set<fs::path> entriesOf(const fs::path& dir) {
    std::set<fs::path> out;
    for (const auto& entry : fs::directory_iterator(dir))
        out.insert(entry.path().filename());
    return out;
}

} // namespace

void runJournal(std::string_view input) {
    const fs::path dir = freshTableCopy("journal", {"generated/SIMA.DB", "generated/TESZT.DB",
                                                    "generated/TESZT.px", "generated/TESZT.mb"});
    const auto parts = splitInput(input, kMarker, std::size(kNames));
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const std::vector<std::uint8_t> bytes = journalBytes(parts[i]);
        const fs::path path = dir / kNames[i];
        if (i < 2)
            checkJournal(path, bytes);
        else
            checkSuperJournal(path, bytes);
        writeFile(path,
                  std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    }
    const auto outside = entriesOf(workDir());
    try {
        db::recoverFolder(dir, db::io::realVfs());
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
    // Journals as changes of the fixtures write them: the header and a block of each
    // table as they were, a file the change created, a table grown by the change, and a
    // save over both tables with its super-journal.
    const std::string sima = readFile(fixture("generated/SIMA.DB"));
    const std::string teszt = readFile(fixture("generated/TESZT.DB"));
    using Region = std::tuple<std::uint32_t, std::uint64_t, std::string>;
    const auto build = [](const std::string& super, const std::vector<db::JournalFile>& files,
                          const std::vector<Region>& regions) {
        db::JournalBuilder b(super);
        for (const auto& f : files)
            b.addFile(f);
        for (const auto& [file, offset, original] : regions) {
            const auto room = b.addRegion(file, offset, original.size());
            std::copy(original.begin(), original.end(), room.begin());
        }
        const auto bytes = std::move(b).finish();
        return std::string(1, '\0') + std::string(bytes.begin(), bytes.end());
    };
    const std::string marker(kMarker);
    const std::string lone =
        build({}, {{"SIMA.DB", sima.size()}},
              {{0, 0, sima.substr(0, 2048)}, {0, 2048, sima.substr(2048, 2048)}});
    writeSeed("journal-one-table", lone);
    writeSeed("journal-two-lone",
              lone + marker +
                  build({}, {{"TESZT.DB", teszt.size()}, {"TESZT.x01", std::nullopt}},
                        {{0, 0, teszt.substr(0, 2048)}}));
    writeSeed("journal-grown",
              build({}, {{"SIMA.DB", sima.size() / 2}}, {{0, 0, sima.substr(0, 100)}}));
    const auto super = db::encodeSuperJournal({"SIMA.jnl", "TESZT.jnl"});
    const std::string group =
        build("save-fuzz.sjnl", {{"SIMA.DB", sima.size()}}, {{0, 0, sima.substr(0, 2048)}}) +
        marker +
        build("save-fuzz.sjnl", {{"TESZT.DB", teszt.size()}},
              {{0, 2048, teszt.substr(2048, 2048)}}) +
        marker + std::string(1, '\0') + std::string(super.begin(), super.end());
    writeSeed("journal-group", group);
    // The group's change made: its super-journal gone, the journals left over.
    writeSeed("journal-group-made", group.substr(0, group.rfind(marker)));
}

} // namespace fuzz
