#pragma once
// The rollback journal's bytes. Little-endian:
//
//   magic "FARMJNL3" (a change of one table), "FARMJNL2" (a change of a group), or
//   "FARMJNL1" (a change of one table as earlier versions wrote it, still read)
//                                        8
//   total length, checksum included      u64
//   file count, region count             u32, u32
//   FARMJNL2 only: the super-journal of the change's group: name length (u16), name
//   per file:   name length (u16), name (relative to the journal's folder),
//               existed (u8: 1, or 0 for a file the change creates), original size (u64)
//               FARMJNL3 only: what the change leaves in the file, known (u8: 1, or 0),
//               and when known: new size (u64), CRC-32 (u32) of the new bytes of the
//               ranges in order, range count (u32), per range: offset, length (u64, u64)
//   per region: file index (u32), offset (u64), length (u64), original bytes
//   CRC-32 of every byte before it       u32
//
// The ranges of a file cover every byte the change writes or cuts off and rewrites (as
// zeros, where nothing else is written), up to its new size: a file of that size whose
// ranges hold bytes of that checksum holds the whole change.
//
// A journal whose length runs past the end of its file, or whose checksum does not
// match, was cut short by a crash while it was being written; no table file had been
// touched yet. The file may run on past the journal's length (the rest of an earlier,
// longer journal).
//
// A journal file kept between changes holds none: it is empty, or the marks of its last
// journal are zeroed (the first kJournalMarkSize bytes, magic and length, and the
// checksum). Zeroing the checksum too means that a later journal whose first bytes alone
// reached the disk, alike to the old ones, can never make the old journal complete again.
// A FARMJNL3 journal's zeroing may be lost to a power cut: found complete while its files
// hold what it says the change leaves, it is left over from a change that was made.
//
// The super-journal of a change over several tables names their journals:
//
//   magic "FARMSJN1"                     8
//   total length, checksum included      u64
//   journal count                        u32
//   per journal: name length (u16), name (relative to the super-journal's folder)
//   CRC-32 of every byte before it       u32

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace db {

// What a change leaves in one of its files (see the top).
struct JournalAfter {
    struct Range {
        std::uint64_t offset = 0;
        std::uint64_t length = 0;
        bool operator==(const Range&) const = default;
    };
    std::uint64_t size = 0;
    std::vector<Range> ranges; // in order, apart
    std::uint32_t checksum = 0;
    bool operator==(const JournalAfter&) const = default;
};

struct JournalFile {
    std::string name;
    std::optional<std::uint64_t> originalSize;        // nullopt: absent before the change
    std::optional<JournalAfter> after = std::nullopt; // nullopt: not known (a group's journal)
};

struct JournalRegion {
    std::uint32_t file = 0;
    std::uint64_t offset = 0;
    std::span<const std::uint8_t> bytes; // points into the decoded buffer
};

struct Journal {
    std::string superJournal; // "" when the change was of this table alone
    std::vector<JournalFile> files;
    std::vector<JournalRegion> regions;
};

// Builds a journal in memory: every file first, then the regions.
class JournalBuilder {
public:
    // `superJournal`: the name of the group's super-journal, "" for none. A group's
    // journal does not keep what the change leaves in its files.
    explicit JournalBuilder(const std::string& superJournal = {});
    void addFile(const JournalFile& file);
    // Reserves room for a region's original bytes; the caller fills the span before the
    // next add.
    std::span<std::uint8_t> addRegion(std::uint32_t file, std::uint64_t offset, std::size_t length);
    std::vector<std::uint8_t> finish() &&;

private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t files_ = 0;
    std::uint32_t regions_ = 0;
    bool grouped_ = false;
};

// nullopt for an incomplete or damaged journal. A complete journal that names a file
// outside its folder, or whose regions do not fit, throws CorruptFileError naming `path`.
std::optional<Journal> decodeJournal(const std::filesystem::path& path,
                                     std::span<const std::uint8_t> bytes);

std::vector<std::uint8_t> encodeSuperJournal(const std::vector<std::string>& journals);
// nullopt for an incomplete or damaged super-journal; CorruptFileError for a complete one
// that names a file outside its folder.
std::optional<std::vector<std::string>> decodeSuperJournal(const std::filesystem::path& path,
                                                           std::span<const std::uint8_t> bytes);

inline constexpr std::size_t kJournalMarkSize = 16;
inline constexpr std::size_t kJournalChecksumSize = 4;

// True for the first kJournalMarkSize bytes of a journal file kept between changes (or
// all of a shorter file): none, or all zero.
bool holdsNoChange(std::span<const std::uint8_t> head);

// True for a name that stays inside the journal's folder: relative, without "..".
bool isContainedName(const std::string& name);

// `running`: the CRC-32 of the bytes before these (0 for none).
std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t running = 0);

} // namespace db
