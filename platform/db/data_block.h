#pragma once
// The 6-byte header of a data or index block: next and previous block in the chain,
// and the offset of the last record (-recordSize when the block is empty).

#include <cstddef>
#include <cstdint>

namespace db {

constexpr int kBlockHeaderSize = 6;

struct BlockHeader {
    std::uint16_t next = 0;
    std::uint16_t prev = 0;
    std::size_t records = 0;
    int recordSize = 0;
};

inline std::uint16_t readLe16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline void writeLe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}

// Records in a block from its addDataSize field (negative: empty); a misaligned value
// gives SIZE_MAX so that the caller reports the block as damaged.
inline std::size_t recordsInBlock(const std::uint8_t* block, int recordSize) {
    const auto add = static_cast<std::int16_t>(readLe16(block + 4));
    if (add < 0)
        return 0;
    if (recordSize <= 0 || add % recordSize != 0)
        return SIZE_MAX;
    return static_cast<std::size_t>(add / recordSize) + 1;
}

// A Short field value in a record: big-endian with the sign bit flipped (index entries
// store block numbers and counts this way).
inline void writeShortField(std::uint8_t* out, std::uint16_t value) {
    const auto stored = static_cast<std::uint16_t>(value ^ 0x8000u);
    out[0] = static_cast<std::uint8_t>(stored >> 8);
    out[1] = static_cast<std::uint8_t>(stored);
}

inline std::uint16_t readShortField(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(((p[0] << 8) | p[1]) ^ 0x8000u);
}

inline void writeBlockHeader(std::uint8_t* block, const BlockHeader& h) {
    writeLe16(block, h.next);
    writeLe16(block + 2, h.prev);
    const long add = (static_cast<long>(h.records) - 1) * h.recordSize;
    writeLe16(block + 4, static_cast<std::uint16_t>(static_cast<std::int16_t>(add)));
}

} // namespace db
