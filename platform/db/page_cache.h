#pragma once
// The committed bytes of one file that small reads fetched, kept between reads so that a
// report's many index and block lookups (a few hundred a statement) do not each go to
// the kernel. The pager is the only writer of its files while they are attached (a
// read-only table holds its lock's shared side while open, and the program holds its
// folder's lock), so a page stays right until the pager changes the file: every commit,
// made or failed, forgets the pages of the files it touches. A read larger than a few
// blocks (a scan) goes to the file and is not kept, so the cache never holds more than
// its budget, however large the table; a page is kept from its second read on.

#include "file_io.h"

#include <cstdint>
#include <span>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace db {

class PageCache {
public:
    static constexpr std::size_t kPageSize = 4096;
    static constexpr std::size_t kMaxPages = 512;              // 2 MiB a file at most
    static constexpr std::size_t kLargestCachedRead = 1 << 16; // scans read past this
    static constexpr std::size_t kMaxSeen = 4 * kMaxPages;     // pages read once, remembered

    // Reads [offset, offset + out.size()) of `file`, whose size on disk is `fileSize`
    // (the range must lie within it), from kept pages where it can.
    void read(const io::File& file, std::uint64_t fileSize, std::uint64_t offset,
              std::span<std::uint8_t> out);
    void clear() noexcept;
    std::size_t pages() const { return slots_.size(); }

private:
    struct Slot {
        std::uint64_t page = 0;
        std::uint32_t length = 0; // short for the file's last page
        bool referenced = false;
    };
    // The caller's range and where its bytes go.
    struct Range {
        std::uint64_t begin = 0, end = 0;
        std::uint8_t* out = nullptr;
    };
    // Copies what page `page` (`length` bytes at `from`) holds of `wanted`.
    static void copyOut(std::uint64_t page, std::size_t length, const std::uint8_t* from,
                        const Range& wanted);
    // Reads pages [first, stop) with one read, keeps them and copies them out.
    void load(const io::File& file, std::uint64_t fileSize, std::uint64_t first, std::uint64_t stop,
              const Range& wanted);
    void keep(std::uint64_t page, std::size_t length, const std::uint8_t* from);
    std::size_t victim(); // a slot to reuse (second chance)
    // Whether every page of [first, stop), none of them kept, was read before.
    bool readBefore(std::uint64_t first, std::uint64_t stop) const;
    // Reads what pages [first, stop) hold of `wanted` from the file, not keeping them,
    // and remembers them as read once.
    void readPart(const io::File& file, std::uint64_t first, std::uint64_t stop,
                  const Range& wanted);
    std::uint8_t* bytes(std::size_t slot) { return storage_.data() + slot * kPageSize; }

    std::unordered_map<std::uint64_t, std::size_t> where_; // page -> slot
    std::unordered_set<std::uint64_t> seen_;               // pages read once, not kept
    std::vector<Slot> slots_;
    std::vector<std::uint8_t> storage_; // kPageSize bytes a slot
    std::vector<std::uint8_t> loaded_;  // the pages of the last read from the file
    std::size_t hand_ = 0;
};

} // namespace db
