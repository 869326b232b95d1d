// The write path of a table: records placed in blocks, blocks split, freed and
// reused, the header counters and the primary index kept exact, each public call one
// atomic change through the pager.

#include "platform/db/data_block.h"
#include "platform/db/error.h"
#include "platform/db/file_blocks.h"
#include "platform/db/primary_index.h"
#include "platform/db/table_file.h"
#include "platform/sys/codepage.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>
#include <type_traits>

namespace db {

namespace {

constexpr std::size_t kNoBlock = static_cast<std::size_t>(-1);

int memCompare(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

} // namespace

// --- state --------------------------------------------------------------------

template <class Body>
auto TableFile::change(Body&& body) {
    if (!writable_)
        throw DbError(dbPath_, "the table is open read-only");
    ensureKeyState();
    Transaction txn(*pager_);
    try {
        if constexpr (std::is_void_v<decltype(body())>) {
            body();
            writeHeader();
            if (keyed())
                rebuildPrimaryIndex();
            txn.commit();
        } else {
            auto result = body();
            writeHeader();
            if (keyed())
                rebuildPrimaryIndex();
            txn.commit();
            return result;
        }
    } catch (...) {
        // The files are as before the call; bring the in-memory view back to them.
        if (pager_->inTransaction())
            pager_->rollback();
        reloadState();
        throw;
    }
}

void TableFile::reloadState() {
    header_ = readFileHeader(*pager_, dbFile_);
    if (header_.fields != codec_->fields()) { // a change of layout was undone
        codec_ = std::make_unique<RecordCodec>(header_.fields, header_.codePage);
        if (std::none_of(header_.fields.begin(), header_.fields.end(),
                         [](const FieldDef& f) { return isBlobType(f.type); }))
            blobs_.reset();
    }
    if (pxFile_ >= 0)
        pxHeader_ = pager_->size(pxFile_) > 0 ? readFileHeader(*pager_, pxFile_) : TableHeader{};
    loadChain();
    keysLoaded_ = false;
    pxImage_.clear();
    if (blobs_)
        blobs_->forget(); // its free blocks may be in use again
}

void TableFile::ensureKeyState() const {
    if (!collation_)
        collation_ = std::make_unique<Collation>(codec_->codePage(), header_.sortOrder);
    if (keysLoaded_)
        return;
    const int k = keyFields();
    keySize_ = k < static_cast<int>(fields().size()) ? codec_->offset(k) : codec_->recordSize();
    firstKeys_.assign(chain_.size() * static_cast<std::size_t>(keySize_), 0);
    if (keyed())
        for (std::size_t i = 0; i < chain_.size(); ++i)
            if (chain_[i].records > 0)
                pager_->read(
                    dbFile_, blockOffset(chain_[i].number) + kBlockHeaderSize,
                    {firstKeys_.data() + i * keySize_, static_cast<std::size_t>(keySize_)});
    keysLoaded_ = true;
}

std::span<const std::uint8_t> TableFile::firstKey(std::size_t index) const {
    return {firstKeys_.data() + index * static_cast<std::size_t>(keySize_),
            static_cast<std::size_t>(keySize_)};
}

void TableFile::setFirstKey(std::size_t index, std::span<const std::uint8_t> record) {
    std::memcpy(firstKeys_.data() + index * static_cast<std::size_t>(keySize_), record.data(),
                static_cast<std::size_t>(keySize_));
}

int TableFile::compareField(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                            int field, bool caseInsensitive) const {
    ensureKeyState();
    const auto& def = fields()[static_cast<std::size_t>(field)];
    const auto offset = static_cast<std::size_t>(codec_->offset(field));
    const auto size = static_cast<std::size_t>(def.size);
    const auto fa = a.subspan(offset, size);
    const auto fb = b.subspan(offset, size);
    return def.type == FieldType::Alpha ? collation_->compare(fa, fb, caseInsensitive)
                                        : memCompare(fa, fb);
}

void TableFile::appendSortKey(std::span<const std::uint8_t> raw, int field, bool caseInsensitive,
                              std::string& key) const {
    ensureKeyState();
    const auto& def = fields()[static_cast<std::size_t>(field)];
    const auto bytes = raw.subspan(static_cast<std::size_t>(codec_->offset(field)),
                                   static_cast<std::size_t>(def.size));
    if (def.type == FieldType::Alpha)
        collation_->appendSortKey(bytes, caseInsensitive, key);
    else
        key.append(bytes.begin(), bytes.end());
}

int TableFile::compareKeys(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                           int fieldCount) const {
    for (int f = 0; f < fieldCount; ++f)
        if (const int c = compareField(a, b, f); c != 0)
            return c;
    return 0;
}

// --- blocks -------------------------------------------------------------------

std::vector<std::uint8_t> TableFile::readBlock(std::uint16_t number) const {
    return pager_->read(dbFile_, blockOffset(number),
                        static_cast<std::size_t>(header_.blockSize()));
}

void TableFile::writeBlock(std::uint16_t number, std::span<const std::uint8_t> block) {
    pager_->write(dbFile_, blockOffset(number), block);
}

std::size_t TableFile::chainIndex(std::uint16_t block) const {
    const auto it = std::find_if(chain_.begin(), chain_.end(),
                                 [block](const BlockInfo& b) { return b.number == block; });
    if (it == chain_.end())
        throw DbError(dbPath_, "no data block " + std::to_string(block));
    return static_cast<std::size_t>(it - chain_.begin());
}

std::uint16_t TableFile::allocateBlock() {
    if (const std::uint16_t n = header_.firstFreeBlock; n != 0) {
        if (n > header_.fileBlocks ||
            std::any_of(chain_.begin(), chain_.end(),
                        [n](const BlockInfo& b) { return b.number == n; }))
            throw CorruptFileError(dbPath_, "the free block list is damaged");
        header_.firstFreeBlock = readLe16(readBlock(n).data());
        return n;
    }
    if (header_.fileBlocks == 0xFFFF)
        throw DbError(dbPath_, "the table is full (65535 blocks)");
    return ++header_.fileBlocks;
}

void TableFile::freeBlock(std::uint16_t number) {
    std::vector<std::uint8_t> block(static_cast<std::size_t>(header_.blockSize()), 0);
    writeBlockHeader(block.data(), {header_.firstFreeBlock, 0, 0, header_.recordSize});
    writeBlock(number, block);
    header_.firstFreeBlock = number;
}

// Makes `next` follow `prev` in the chain (either may be 0: the chain's end).
void TableFile::linkBlocks(std::uint16_t prev, std::uint16_t next) {
    std::uint8_t link[2];
    if (prev != 0) {
        writeLe16(link, next);
        pager_->write(dbFile_, blockOffset(prev), link);
    }
    if (next != 0) {
        writeLe16(link, prev);
        pager_->write(dbFile_, blockOffset(next) + 2, link);
    }
}

// Links a new block holding `count` records after chain position `index` (kNoBlock:
// as the first block); returns its chain position.
std::size_t TableFile::insertBlockAfter(std::size_t index, std::span<const std::uint8_t> records,
                                        std::size_t count) {
    const std::uint16_t number = allocateBlock();
    const std::size_t at = index == kNoBlock ? 0 : index + 1;
    const std::uint16_t prev = index == kNoBlock ? 0 : chain_[index].number;
    const std::uint16_t next = at < chain_.size() ? chain_[at].number : 0;
    std::vector<std::uint8_t> block(static_cast<std::size_t>(header_.blockSize()), 0);
    writeBlockHeader(block.data(), {next, prev, count, header_.recordSize});
    std::memcpy(block.data() + kBlockHeaderSize, records.data(), count * header_.recordSize);
    writeBlock(number, block);
    linkBlocks(prev, number);
    linkBlocks(number, next);
    chain_.insert(chain_.begin() + static_cast<std::ptrdiff_t>(at),
                  BlockInfo{number, static_cast<std::uint16_t>(count)});
    firstKeys_.insert(firstKeys_.begin() + static_cast<std::ptrdiff_t>(at * keySize_),
                      records.begin(), records.begin() + keySize_);
    return at;
}

// Takes an emptied block out of the chain and frees it. Block 1 always stays the
// first block: when it empties, the next block's records move into it instead.
void TableFile::unlinkBlock(std::size_t index) {
    std::size_t victim = index;
    if (chain_[index].number == 1 && index + 1 < chain_.size()) {
        victim = index + 1;
        auto moved = readBlock(chain_[victim].number);
        const std::uint16_t after = victim + 1 < chain_.size() ? chain_[victim + 1].number : 0;
        writeBlockHeader(moved.data(), {after, 0, chain_[victim].records, header_.recordSize});
        writeBlock(1, moved);
        chain_[index].records = chain_[victim].records;
        setFirstKey(index, std::span(moved).subspan(kBlockHeaderSize));
        linkBlocks(1, after);
        notifyMoved(std::span(moved).subspan(kBlockHeaderSize), chain_[victim].records, 1);
    } else {
        linkBlocks(index > 0 ? chain_[index - 1].number : 0,
                   index + 1 < chain_.size() ? chain_[index + 1].number : 0);
    }
    freeBlock(chain_[victim].number);
    chain_.erase(chain_.begin() + static_cast<std::ptrdiff_t>(victim));
    firstKeys_.erase(firstKeys_.begin() + static_cast<std::ptrdiff_t>(victim * keySize_),
                     firstKeys_.begin() + static_cast<std::ptrdiff_t>((victim + 1) * keySize_));
}

void TableFile::notifyMoved(std::span<const std::uint8_t> records, std::size_t count,
                            std::uint16_t block) {
    for (auto* o : observers_)
        o->recordsMoved(records.first(count * header_.recordSize), count, block);
}

// --- records ------------------------------------------------------------------

std::vector<std::uint8_t> TableFile::encodeRecord(const Record& record,
                                                  std::vector<std::uint8_t> base) const {
    base.resize(static_cast<std::size_t>(codec_->recordSize()), 0);
    const std::size_t n = std::min(record.size(), fields().size());
    for (std::size_t i = 0; i < n; ++i) {
        try {
            codec_->encode(record[i], static_cast<int>(i), base, blobs_.get());
        } catch (const sys::EncodingError& e) {
            throw DbError(dbPath_, "field " + fields()[i].name + ": " + e.what());
        } catch (const std::invalid_argument& e) {
            throw DbError(dbPath_, "field " + fields()[i].name + ": " + e.what());
        }
    }
    return base;
}

void TableFile::assignAutoInc(Record& record) {
    record.resize(fields().size());
    for (std::size_t i = 0; i < fields().size(); ++i) {
        if (fields()[i].type != FieldType::AutoInc)
            continue;
        if (isNull(record[i])) {
            record[i] = static_cast<std::int32_t>(++header_.autoInc);
        } else if (const auto* v = std::get_if<std::int32_t>(&record[i]); v && *v > 0) {
            header_.autoInc =
                std::max<std::uint32_t>(header_.autoInc, static_cast<std::uint32_t>(*v));
        }
    }
}

std::size_t TableFile::keyedBlockFor(std::span<const std::uint8_t> key, int fieldCount) const {
    // The last block whose first key is not above `key`; the first block otherwise.
    std::size_t lo = 0, hi = chain_.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (compareKeys(firstKey(mid), key, fieldCount) <= 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo == 0 ? 0 : lo - 1;
}

RecordPos TableFile::insertRaw(std::vector<std::uint8_t>& raw) {
    const RecordPos pos = keyed() ? insertKeyed(raw) : insertUnkeyed(raw);
    ++header_.numRecords;
    return pos;
}

RecordPos TableFile::insertUnkeyed(std::span<const std::uint8_t> raw) {
    if (chain_.empty() || chain_.back().records >= header_.recordsPerBlock()) {
        const std::size_t at =
            insertBlockAfter(chain_.empty() ? kNoBlock : chain_.size() - 1, raw, 1);
        return {chain_[at].number, 0};
    }
    BlockInfo& last = chain_.back();
    const std::uint64_t offset = blockOffset(last.number);
    pager_->write(dbFile_, offset + kBlockHeaderSize + last.records * header_.recordSize, raw);
    ++last.records;
    std::uint8_t add[2];
    writeLe16(add, static_cast<std::uint16_t>((last.records - 1) * header_.recordSize));
    pager_->write(dbFile_, offset + 4, add);
    return {last.number, static_cast<std::uint16_t>(last.records - 1)};
}

RecordPos TableFile::insertKeyed(std::span<const std::uint8_t> raw) {
    if (chain_.empty())
        return {chain_[insertBlockAfter(kNoBlock, raw, 1)].number, 0};
    const int k = keyFields();
    const std::size_t index = keyedBlockFor(raw, k);
    const std::uint16_t number = chain_[index].number;
    const std::size_t count = chain_[index].records;
    const auto size = static_cast<std::size_t>(header_.recordSize);
    auto block = readBlock(number);
    const auto record = [&](std::size_t slot) {
        return std::span<const std::uint8_t>(block).subspan(kBlockHeaderSize + slot * size, size);
    };
    std::size_t lo = 0, hi = count; // the first slot whose key is not below the new one
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (compareKeys(record(mid), raw, k) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo < count && compareKeys(record(lo), raw, k) == 0)
        throw KeyViolation(dbPath_, "key violation: the table already holds this key");

    if (count < static_cast<std::size_t>(header_.recordsPerBlock())) {
        std::uint8_t* at = block.data() + kBlockHeaderSize + lo * size;
        std::memmove(at + size, at, (count - lo) * size);
        std::memcpy(at, raw.data(), size);
        writeBlockHeader(block.data(), {readLe16(block.data()), readLe16(block.data() + 2),
                                        count + 1, header_.recordSize});
        writeBlock(number, block);
        chain_[index].records = static_cast<std::uint16_t>(count + 1);
        if (lo == 0)
            setFirstKey(index, raw);
        return {number, static_cast<std::uint16_t>(lo)};
    }
    if (index + 1 == chain_.size() && lo == count) // past the end: a new last block
        return {chain_[insertBlockAfter(index, raw, 1)].number, 0};

    // Split: the upper half of the records moves to a new block after this one.
    const std::size_t keep = count / 2;
    const auto moved = std::span(block).subspan(kBlockHeaderSize + keep * size);
    insertBlockAfter(index, moved, count - keep);
    notifyMoved(moved, count - keep, chain_[index + 1].number);
    std::fill(block.begin() + static_cast<std::ptrdiff_t>(kBlockHeaderSize + keep * size),
              block.end(), 0);
    writeBlockHeader(block.data(), {chain_[index + 1].number, readLe16(block.data() + 2), keep,
                                    header_.recordSize});
    writeBlock(number, block);
    chain_[index].records = static_cast<std::uint16_t>(keep);
    return insertKeyed(raw);
}

void TableFile::removeRaw(RecordPos pos, bool freeBlobs) {
    const std::size_t index = chainIndex(pos.block);
    const std::size_t count = chain_[index].records;
    if (pos.slot >= count)
        throw DbError(dbPath_, "no record at block " + std::to_string(pos.block) + " slot " +
                                   std::to_string(pos.slot));
    const auto size = static_cast<std::size_t>(header_.recordSize);
    auto block = readBlock(pos.block);
    std::uint8_t* at = block.data() + kBlockHeaderSize + pos.slot * size;
    if (freeBlobs && blobs_)
        codec_->freeBlobs({at, size}, *blobs_);
    std::memmove(at, at + size, (count - pos.slot - 1) * size);
    std::memset(block.data() + kBlockHeaderSize + (count - 1) * size, 0, size);
    --header_.numRecords;
    if (count > 1) {
        writeBlockHeader(block.data(), {readLe16(block.data()), readLe16(block.data() + 2),
                                        count - 1, header_.recordSize});
        writeBlock(pos.block, block);
        chain_[index].records = static_cast<std::uint16_t>(count - 1);
        if (pos.slot == 0)
            setFirstKey(index, std::span(block).subspan(kBlockHeaderSize));
    } else if (chain_.size() > 1) {
        unlinkBlock(index);
    } else { // the last record: the data file goes back to its header alone
        pager_->truncate(dbFile_, header_.headerSize);
        header_.fileBlocks = 0;
        header_.firstFreeBlock = 0;
        chain_.clear();
        firstKeys_.clear();
    }
}

// --- the public calls -----------------------------------------------------------

RecordPos TableFile::insert(Record& record) {
    Record filled = record;
    const RecordPos pos = change([&] {
        assignAutoInc(filled);
        auto raw = encodeRecord(filled, {});
        const RecordPos at = insertRaw(raw);
        for (auto* o : observers_)
            o->recordInserted(filled);
        return at;
    });
    record = std::move(filled);
    return pos;
}

RecordPos TableFile::update(RecordPos pos, const Record& record) {
    return change([&] {
        const auto oldRaw = readRaw(pos);
        const Record before = observers_.empty() ? Record{} : decode(oldRaw);
        Record after = record;
        after.resize(fields().size());
        for (std::size_t i = 0; i < fields().size(); ++i) // a counter keeps its value
            if (fields()[i].type == FieldType::AutoInc && isNull(after[i]))
                after[i] = codec_->decode(oldRaw, static_cast<int>(i));
        auto raw = encodeRecord(after, oldRaw);
        RecordPos at = pos;
        if (keyed() &&
            std::memcmp(raw.data(), oldRaw.data(), static_cast<std::size_t>(keySize_)) != 0) {
            removeRaw(pos, false); // the blobs now belong to the new bytes
            at = insertRaw(raw);
        } else {
            pager_->write(dbFile_,
                          blockOffset(pos.block) + kBlockHeaderSize +
                              static_cast<std::uint64_t>(pos.slot) * header_.recordSize,
                          raw);
        }
        for (auto* o : observers_)
            o->recordUpdated(before, after);
        return at;
    });
}

void TableFile::remove(RecordPos pos) {
    change([&] {
        const Record before = observers_.empty() ? Record{} : read(pos);
        removeRaw(pos, true);
        for (auto* o : observers_)
            o->recordRemoved(before);
    });
}

void TableFile::empty() {
    change([&] {
        pager_->truncate(dbFile_, header_.headerSize);
        if (blobs_)
            blobs_->clear();
        header_.numRecords = 0;
        header_.fileBlocks = 0;
        header_.firstFreeBlock = 0;
        chain_.clear();
        firstKeys_.clear();
        for (auto* o : observers_)
            o->tableEmptied();
    });
}

std::optional<RecordPos> TableFile::find(const Record& key) const {
    if (!keyed() || key.empty())
        return std::nullopt;
    const int k = std::min(static_cast<int>(key.size()), keyFields());
    return findPrefix(encodeRecord(Record(key.begin(), key.begin() + k), {}), k);
}

std::optional<RecordPos> TableFile::findRaw(std::span<const std::uint8_t> raw) const {
    if (!keyed())
        return std::nullopt;
    return findPrefix(raw, keyFields());
}

// The first record whose first `k` key fields equal those of `raw`: at the end of the
// block before the first block whose first key is not below it, or at that block's start.
std::optional<RecordPos> TableFile::findPrefix(std::span<const std::uint8_t> raw, int k) const {
    ensureKeyState();
    if (chain_.empty())
        return std::nullopt;
    std::size_t lo = 0, hi = chain_.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (compareKeys(firstKey(mid), raw, k) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo > 0) {
        const BlockInfo& b = chain_[lo - 1];
        const auto block = readBlock(b.number);
        const auto size = static_cast<std::size_t>(header_.recordSize);
        for (std::size_t s = 0; s < b.records; ++s) // first slot not below the key
            if (const int c = compareKeys(
                    std::span(block).subspan(kBlockHeaderSize + s * size, size), raw, k);
                c >= 0) {
                if (c == 0)
                    return RecordPos{b.number, static_cast<std::uint16_t>(s)};
                break;
            }
    }
    if (lo < chain_.size() && compareKeys(firstKey(lo), raw, k) == 0)
        return RecordPos{chain_[lo].number, 0};
    return std::nullopt;
}

// --- header and index ----------------------------------------------------------

void TableFile::writeHeader() {
    header_.nextBlock = static_cast<std::uint16_t>(chain_.size());
    header_.firstBlock = chain_.empty() ? 0 : chain_.front().number;
    header_.lastBlock = chain_.empty() ? 0 : chain_.back().number;
    ++header_.updateCount;
    pager_->write(dbFile_, 0, encodeHeader(header_));
}

void TableFile::rebuildPrimaryIndex() {
    if (pxHeader_.fileType != FileType::PrimaryIndex) // a keyed table that lost its .px
        pxHeader_ = makePrimaryIndexHeader(header_);
    std::vector<IndexEntry> leaves;
    leaves.reserve(chain_.size());
    for (std::size_t i = 0; i < chain_.size(); ++i)
        leaves.push_back({firstKey(i), chain_[i].number, chain_[i].records});
    auto image = buildPrimaryIndex(leaves, keySize_, pxHeader_.blockSize());
    const auto blockSize = static_cast<std::size_t>(pxHeader_.blockSize());
    for (std::size_t b = 0; b < image.blockCount; ++b) { // only the blocks that changed
        const auto fresh = std::span(image.blocks).subspan(b * blockSize, blockSize);
        if (pxImage_.size() >= (b + 1) * blockSize &&
            std::equal(fresh.begin(), fresh.end(),
                       pxImage_.begin() + static_cast<std::ptrdiff_t>(b * blockSize)))
            continue;
        pager_->write(pxFile_, pxHeader_.headerSize + b * blockSize, fresh);
    }
    const std::uint64_t end = pxHeader_.headerSize + image.blockCount * blockSize;
    if (pager_->size(pxFile_) > end)
        pager_->truncate(pxFile_, end);
    pxImage_ = std::move(image.blocks);
    pxHeader_.numRecords = image.entries;
    pxHeader_.nextBlock = pxHeader_.fileBlocks = pxHeader_.lastBlock = image.blockCount;
    pxHeader_.firstBlock = image.blockCount ? 1 : 0;
    pxHeader_.indexRoot = image.root;
    pxHeader_.indexLevels = image.levels;
    // The index stays marked as built for this state of the data file.
    pxHeader_.updateCount = static_cast<std::uint16_t>(header_.updateCount + 1);
    pxHeader_.indexStamp = header_.changeCount1;
    pager_->write(pxFile_, 0, encodeHeader(pxHeader_));
}

} // namespace db

namespace db {

std::unique_ptr<TableFile> TableFile::create(const std::filesystem::path& dbPath,
                                             const TableSchema& schema, OpenOptions options) {
    const std::filesystem::path named = withDbExtension(dbPath);
    const auto path = resolveCaseInsensitive(named.parent_path(), named.filename().string());
    if (std::filesystem::exists(path))
        throw DbError(path, "the table already exists");
    if (schema.fields.empty() || schema.keyFields < 0 ||
        schema.keyFields > static_cast<int>(schema.fields.size()))
        throw DbError(path, "invalid table layout");
    for (int i = 0; i < schema.keyFields; ++i)
        if (isBlobType(schema.fields[static_cast<std::size_t>(i)].type))
            throw DbError(path, "a blob field cannot be part of the key");

    TableHeader data;
    try {
        data = makeDataHeader(path.filename().string(), schema.fields, schema.keyFields,
                              schema.codePage, schema.languageDriver);
    } catch (const std::invalid_argument& e) {
        throw DbError(path, e.what());
    }
    // Index and blob files left by a table of this name that no longer exists are
    // replaced, never taken over, and written in one spelling with the data file.
    for (const char* extension : {".px", ".mb"})
        if (const auto orphan = companionPath(path, extension);
            orphan != companionName(path, extension))
            std::filesystem::remove(orphan);
    {
        Pager pager(companionName(path, ".jnl"), options.durability);
        Transaction txn(pager);
        pager.write(pager.attach(path, true), 0, encodeHeader(data));
        const int px = pager.attach(companionName(path, ".px"), true);
        pager.truncate(px, 0);
        if (schema.keyFields > 0)
            pager.write(px, 0, encodeHeader(makePrimaryIndexHeader(data)));
        pager.truncate(pager.attach(companionName(path, ".mb"), true), 0);
        txn.commit();
    }
    return open(path, options);
}

} // namespace db
