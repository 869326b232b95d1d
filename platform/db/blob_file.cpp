#include "platform/db/blob_file.h"

#include "platform/db/bytes.h"
#include "platform/db/error.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <stdexcept>
#include <string>

namespace db {

namespace {

// The .mb is cut in 4 KiB chunks; every block starts with its type and its chunk count.
constexpr std::uint64_t kChunk = 4096;
constexpr std::uint8_t kHeaderBlock = 0;
constexpr std::uint8_t kSingleBlob = 2;
constexpr std::uint8_t kSuballocated = 3;
constexpr std::uint8_t kFreeBlock = 4;
constexpr std::size_t kBlockHead = 3; // type, chunks
constexpr std::uint32_t kMaxChunks = 0xFFFF;
constexpr std::size_t kSingleHead = 9;   // type, chunks, length, modification number
constexpr std::size_t kSubHead = 12;     // type, chunks, 9 bytes we leave alone
constexpr std::size_t kSubEntries = 64;  // 5-byte entries after the head
constexpr std::size_t kSubEntrySize = 5; // offset/16, length/16 rounded up, mod, length%16
constexpr std::uint32_t kSingleIndex = 0xFF;

std::vector<std::uint8_t> newHeaderBlock() {
    std::vector<std::uint8_t> b(kChunk, 0);
    b[0] = kHeaderBlock;
    bytes::putU16(&b[1], 1); // one chunk
    bytes::putU16(&b[3], 0); // modification count
    const std::uint8_t constants[] = {0x82, 0x73, 0x02, 0x00, 0x29};
    std::copy(std::begin(constants), std::end(constants), b.begin() + 5);
    bytes::putU16(&b[0x0B], 0x1000); // block size
    bytes::putU16(&b[0x0D], 0x1000); // suballocated block size
    b[0x0F] = 0x10;                  // suballocation chunk
    bytes::putU16(&b[0x10], 0x40);   // suballocations per block
    bytes::putU16(&b[0x12], 0x800);  // threshold between small and large blobs
    bytes::putU16(&b[0x29], 0x02A1);
    return b;
}

struct Location {
    std::uint64_t block = 0; // offset of the block
    std::uint32_t index = 0; // entry in a suballocated block, kSingleIndex for a single blob
};

Location locate(const BlobRef& ref) {
    return {ref.offsetAndIndex & ~std::uint64_t{0xFF}, ref.offsetAndIndex & 0xFF};
}

} // namespace

BlobFile::BlobFile(Pager& pager, int file) : pager_(pager), file_(file) {}

std::vector<std::uint8_t> BlobFile::read(const BlobRef& ref) const {
    const auto fail = [&](const std::string& problem) -> std::vector<std::uint8_t> {
        throw CorruptFileError(pager_.path(file_),
                               "blob at " + std::to_string(ref.offsetAndIndex) + ": " + problem);
    };
    const Location at = locate(ref);
    const std::uint64_t size = pager_.size(file_);
    if (at.block < kChunk || at.block % kChunk != 0 || at.block + kSubHead > size)
        return fail("no block there (the file has " + std::to_string(size) + " bytes)");
    std::array<std::uint8_t, kSubHead> head{};
    pager_.read(file_, at.block, head);
    const std::uint16_t chunks = bytes::getU16(&head[1]);
    const std::uint64_t blockEnd = std::min(at.block + chunks * kChunk, size);

    std::uint64_t start = 0;
    std::uint64_t length = 0;
    if (at.index == kSingleIndex) {
        if (head[0] != kSingleBlob)
            return fail("block type " + std::to_string(head[0]) + ", not a single blob block");
        start = at.block + kSingleHead;
        length = bytes::getU32(&head[3]);
    } else {
        if (head[0] != kSuballocated)
            return fail("block type " + std::to_string(head[0]) + ", not a suballocated block");
        if (at.index >= kSubEntries)
            return fail("entry " + std::to_string(at.index) + " past the 64 entries of the block");
        std::array<std::uint8_t, kSubEntrySize> e{};
        pager_.read(file_, at.block + kSubHead + kSubEntrySize * at.index, e);
        if (e[0] == 0 || e[1] == 0 || e[4] == 0 || e[4] > 16)
            return fail("the entry is deleted or damaged");
        start = at.block + e[0] * 16ull;
        length = (e[1] - 1ull) * 16 + e[4];
    }
    if (length != ref.length)
        return fail("the block holds " + std::to_string(length) + " bytes, the record expects " +
                    std::to_string(ref.length));
    if (start + length > blockEnd)
        return fail("the blob runs past the end of its block");
    return pager_.read(file_, start, static_cast<std::size_t>(length));
}

BlobRef BlobFile::write(std::span<const std::uint8_t> data) {
    const std::uint64_t chunks = (kSingleHead + data.size() + kChunk - 1) / kChunk;
    if (chunks > kMaxChunks)
        throw std::invalid_argument("a blob of " + std::to_string(data.size()) +
                                    " bytes is too large");
    std::vector<std::uint8_t> header =
        pager_.size(file_) >= kChunk ? pager_.read(file_, 0, kChunk) : newHeaderBlock();
    const auto mod = static_cast<std::uint16_t>(bytes::getU16(&header[3]) + 1);
    bytes::putU16(&header[3], mod);
    pager_.write(file_, 0, header);

    const std::uint64_t offset = allocate(static_cast<std::uint32_t>(chunks));
    std::vector<std::uint8_t> block(static_cast<std::size_t>(chunks * kChunk), 0);
    block[0] = kSingleBlob;
    bytes::putU16(&block[1], static_cast<std::uint16_t>(chunks));
    bytes::putU32(&block[3], static_cast<std::uint32_t>(data.size()));
    bytes::putU16(&block[7], mod);
    std::copy(data.begin(), data.end(), block.begin() + kSingleHead);
    pager_.write(file_, offset, block);
    return BlobRef{static_cast<std::uint32_t>(offset) | kSingleIndex,
                   static_cast<std::uint32_t>(data.size()), mod};
}

void BlobFile::free(const BlobRef& ref) {
    read(ref); // the reference must lead to the blob it names
    const Location at = locate(ref);
    std::array<std::uint8_t, kSubHead> head{};
    pager_.read(file_, at.block, head);
    const std::uint16_t chunks = bytes::getU16(&head[1]);

    bool blockEmpty = at.index == kSingleIndex;
    if (!blockEmpty) {
        const std::array<std::uint8_t, kSubEntrySize> cleared{};
        pager_.write(file_, at.block + kSubHead + kSubEntrySize * at.index, cleared);
        std::vector<std::uint8_t> entries =
            pager_.read(file_, at.block + kSubHead, kSubEntries * kSubEntrySize);
        blockEmpty = true;
        for (std::size_t i = 0; i < kSubEntries; ++i)
            blockEmpty = blockEmpty && entries[i * kSubEntrySize + 4] == 0;
    }
    if (blockEmpty)
        release(at.block, chunks);
}

void BlobFile::clear() {
    if (pager_.size(file_) > kChunk)
        pager_.truncate(file_, kChunk);
    free_ = FreeBlocks{};
}

void BlobFile::forget() {
    free_.reset();
}

// --- free space -------------------------------------------------------------------

BlobFile::FreeBlocks& BlobFile::freeBlocks() {
    if (!free_)
        free_ = findFreeBlocks();
    return *free_;
}

// Walks the block heads from the first block after the header. A head that makes no
// sense ends the walk: the space from there on is never reused.
BlobFile::FreeBlocks BlobFile::findFreeBlocks() const {
    FreeBlocks found;
    const std::uint64_t size = pager_.size(file_);
    std::array<std::uint8_t, kBlockHead> head{};
    for (std::uint64_t at = kChunk; at + kBlockHead <= size;) {
        pager_.read(file_, at, head);
        const std::uint16_t chunks = bytes::getU16(&head[1]);
        const bool known =
            head[0] == kSingleBlob || head[0] == kSuballocated || head[0] == kFreeBlock;
        if (!known || chunks == 0 || at + chunks * kChunk > size)
            break;
        if (head[0] == kFreeBlock)
            found.emplace(at, chunks);
        at += chunks * kChunk;
    }
    return found;
}

// Whether the file has a free block of `chunks` at `offset`: every use of the list
// checks the blocks it relies on, so that a list gone stale is found out and rebuilt
// rather than trusted with live data.
bool BlobFile::isFreeBlock(std::uint64_t offset, std::uint32_t chunks) const {
    if (offset + kBlockHead > pager_.size(file_))
        return false;
    std::array<std::uint8_t, kBlockHead> head{};
    pager_.read(file_, offset, head);
    return head[0] == kFreeBlock && bytes::getU16(&head[1]) == chunks;
}

// The offset for a new block of `chunks`: the first free block large enough (what it
// does not need stays free), else a free block at the end of the file, which grows,
// else the end of the file.
std::uint64_t BlobFile::allocate(std::uint32_t chunks) {
    FreeBlocks& blocks = freeBlocks();
    auto fit = std::find_if(blocks.begin(), blocks.end(),
                            [&](const auto& b) { return b.second >= chunks; });
    if (fit == blocks.end() && !blocks.empty()) {
        const auto last = std::prev(blocks.end());
        if (last->first + last->second * kChunk >= pager_.size(file_))
            fit = last;
    }
    if (fit == blocks.end())
        return endOfFile();
    if (!isFreeBlock(fit->first, fit->second)) {
        forget();
        return allocate(chunks); // the fresh list matches the file
    }
    const auto [offset, available] = *fit;
    blocks.erase(fit);
    if (available > chunks)
        markFree(offset + chunks * kChunk, available - chunks);
    return offset;
}

std::uint64_t BlobFile::endOfFile() const {
    const std::uint64_t offset = (pager_.size(file_) + kChunk - 1) / kChunk * kChunk;
    if (offset > 0xFFFFFF00u)
        throw DbError(pager_.path(file_), "the blob file is full");
    return offset;
}

// The block of `chunks` at `offset` holds no blob any more: it joins the free blocks
// right before and after it (as long as the chunk count fits), and free space at the
// end of the file is cut off.
void BlobFile::release(std::uint64_t offset, std::uint32_t chunks) {
    FreeBlocks& blocks = freeBlocks();
    const auto next = blocks.lower_bound(offset + 1);
    const auto prev = next == blocks.begin() ? blocks.end() : std::prev(next);
    const bool withPrev = prev != blocks.end() && prev->first + prev->second * kChunk == offset &&
                          prev->second + chunks <= kMaxChunks;
    const std::uint32_t before = withPrev ? prev->second : 0;
    const bool withNext = next != blocks.end() && next->first == offset + chunks * kChunk &&
                          before + chunks + next->second <= kMaxChunks;
    if ((withPrev && !isFreeBlock(prev->first, prev->second)) ||
        (withNext && !isFreeBlock(next->first, next->second))) {
        forget();
        return release(offset, chunks);
    }
    std::uint64_t start = offset;
    std::uint32_t total = chunks;
    if (withNext) {
        total += next->second;
        wipeHead(next->first);
        blocks.erase(next);
    }
    if (withPrev) {
        start = prev->first;
        total += prev->second;
        wipeHead(offset);
        blocks.erase(prev);
    }
    markFree(start, total);
    cutFreeTail();
}

// Free blocks that reach the end of the file are cut off.
void BlobFile::cutFreeTail() {
    FreeBlocks& blocks = freeBlocks();
    while (!blocks.empty()) {
        const auto last = std::prev(blocks.end());
        if (last->first + last->second * kChunk < pager_.size(file_))
            return;
        if (!isFreeBlock(last->first, last->second)) {
            forget();
            return;
        }
        pager_.truncate(file_, last->first);
        blocks.erase(last);
    }
}

void BlobFile::markFree(std::uint64_t offset, std::uint32_t chunks) {
    std::array<std::uint8_t, kBlockHead> head{kFreeBlock};
    bytes::putU16(&head[1], static_cast<std::uint16_t>(chunks));
    pager_.write(file_, offset, head);
    freeBlocks()[offset] = chunks;
}

// A block swallowed by a free block loses its head: inside free space no head may
// pass for a block of its own.
void BlobFile::wipeHead(std::uint64_t offset) {
    const std::array<std::uint8_t, kBlockHead> zero{};
    pager_.write(file_, offset, zero);
}

} // namespace db
