#pragma once
// The .mb file of a table with memo, formatted memo, binary, OLE or graphic fields.

#include "pager.h"

#include <cstdint>
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
    // Stores a blob and returns its reference (inside the pager's transaction).
    BlobRef write(std::span<const std::uint8_t> data);
    // Gives the blob's space back.
    void free(const BlobRef& ref);
    // Drops every blob (the table was emptied); the header block stays.
    void clear();

private:
    Pager& pager_;
    int file_;
};

} // namespace db
