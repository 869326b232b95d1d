#pragma once
// The .mb file of a table with memo, formatted memo, binary, OLE or graphic fields.

#include "pager.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <vector>

namespace db {

// Where a record's blob field points: the 10 bytes at the end of the field.
struct BlobRef {
    std::uint32_t offsetAndIndex = 0; // block offset in the .mb, low byte: index in a
                                      // suballocated block (0xFF: a single blob block)
    std::uint32_t length = 0;         // bytes of the blob
    std::uint16_t modNumber = 0;
};

class BlobFile {
public:
    // `file` is the pager's id of the .mb. A missing .mb (mayCreate) is created with
    // its header block at the first write.
    BlobFile(Pager& pager, int file);

    // Reads the blob; throws CorruptFileError naming the .mb when the reference does
    // not lead to a blob of that length.
    std::vector<std::uint8_t> read(const BlobRef& ref) const;
    // Stores a blob and returns its reference (inside the pager's transaction), in the
    // first free block large enough, else at the end of the file.
    BlobRef write(std::span<const std::uint8_t> data);
    // Gives the blob's space back: a free block, merged with free neighbours; free
    // space at the end of the file is cut off.
    void free(const BlobRef& ref);
    // Drops every blob (the table was emptied); the header block stays.
    void clear();
    // Drops what is known of the free blocks, to be found again at the next write or
    // free. Called after a rollback, which may have put back blocks that were free.
    void forget();

private:
    // Free blocks by offset, with their chunk counts: one per free block head in the
    // file (found by one walk over the block heads at the first need).
    using FreeBlocks = std::map<std::uint64_t, std::uint32_t>;

    FreeBlocks& freeBlocks();
    FreeBlocks findFreeBlocks() const;
    bool isFreeBlock(std::uint64_t offset, std::uint32_t chunks) const;
    std::uint64_t allocate(std::uint32_t chunks);
    std::uint64_t endOfFile() const;
    void release(std::uint64_t offset, std::uint32_t chunks);
    void cutFreeTail();
    void markFree(std::uint64_t offset, std::uint32_t chunks);
    void wipeHead(std::uint64_t offset);

    Pager& pager_;
    int file_;
    std::optional<FreeBlocks> free_; // empty until needed, and after forget()
};

} // namespace db
