// The write path of a table: records placed in blocks, blocks split, freed and
// reused, the header counters and the primary index kept exact, each public call one
// atomic change through the pager.

#include "platform/db/data_block.h"
#include "platform/db/error.h"
#include "platform/db/file_blocks.h"
#include "platform/db/file_io.h"
#include "platform/db/primary_index.h"
#include "platform/db/table_file.h"
#include "platform/sys/codepage.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <type_traits>

namespace db {

namespace {

int memCompare(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) {
    const int c = std::memcmp(a.data(), b.data(), std::min(a.size(), b.size()));
    return c < 0 ? -1 : c > 0 ? 1 : 0;
}

// Why a .px header does not describe the primary index of `data` whose key takes
// `keySize` bytes, or "".
std::string primaryIndexMismatch(const TableHeader& px, const TableHeader& data,
                                 std::size_t keySize) {
    if (px.fileType != FileType::PrimaryIndex)
        return "not a primary index file";
    const std::size_t keyFields = data.primaryKeyFields;
    if (px.numFields != keyFields || px.fields.size() != keyFields)
        return "its key has " + std::to_string(px.fields.size()) + " fields, the table's " +
               std::to_string(keyFields);
    // A counter field's key entry may be written as a plain long integer: same bytes.
    const auto kind = [](FieldType t) { return t == FieldType::AutoInc ? FieldType::Long : t; };
    for (std::size_t i = 0; i < keyFields; ++i)
        if (kind(px.fields[i].type) != kind(data.fields[i].type) ||
            px.fields[i].size != data.fields[i].size)
            return "its key field " + std::to_string(i + 1) + " differs from the table's";
    if (px.recordSize != keySize + 6)
        return "its entries take " + std::to_string(px.recordSize) + " bytes, the table's " +
               std::to_string(keySize + 6);
    if (px.recordsPerBlock() < 2)
        return "its blocks of " + std::to_string(px.blockSize()) +
               " bytes hold fewer than two entries";
    return {};
}

} // namespace

// --- state --------------------------------------------------------------------

template <class Body>
auto TableFile::change(Body&& body) {
    if (!writable_)
        throw DbError(dbPath_, "the table is open read-only");
    ensureKeyState();
    ensureChain();
    // In a group the change joins the pager's open transaction, and a failure drops it
    // alone; otherwise it is a transaction of its own.
    std::optional<Transaction> txn;
    if (!grouped_) {
        txn.emplace(*pager_);
    } else {
        if (!pager_->inTransaction())
            pager_->begin();
        pager_->beginSavepoint();
    }
    try {
        if constexpr (std::is_void_v<decltype(body())>) {
            body();
            writeHeader();
            if (keyed())
                rebuildPrimaryIndex();
            if (txn)
                txn->commit();
            else
                pager_->releaseSavepoint();
        } else {
            auto result = body();
            writeHeader();
            if (keyed())
                rebuildPrimaryIndex();
            if (txn)
                txn->commit();
            else
                pager_->releaseSavepoint();
            return result;
        }
    } catch (...) {
        // The files (and a group's earlier changes) are as before the call; bring the
        // in-memory view back to them.
        if (grouped_ && pager_->inTransaction())
            pager_->rollbackToSavepoint();
        else if (pager_->inTransaction())
            pager_->rollback();
        reloadState();
        throw;
    }
}

void TableFile::reloadState() {
    header_ = readFileHeader(*pager_, dbFile_);
    autoIncChecked_ = false;
    if (header_.fields != codec_->fields()) { // a change of layout was undone
        codec_ = std::make_unique<RecordCodec>(header_.fields, codec_->codePage());
        if (std::none_of(header_.fields.begin(), header_.fields.end(),
                         [](const FieldDef& f) { return isBlobType(f.type); }))
            blobs_.reset();
    }
    loadChain();
    if (pxFile_ >= 0)
        readPrimaryIndexHeader();
    pxIndex_.forget();
    if (blobs_)
        blobs_->forget(); // its free blocks may be in use again
}

void TableFile::ensureKeyState() const {
    if (!collation_)
        collation_ = Collation::shared(codec_->codePage(), header_.sortOrder);
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

void TableFile::notifyMoved(std::span<const std::uint8_t> records, std::size_t count,
                            std::uint16_t block) {
    for (auto* o : observers_)
        o->recordsMoved(records, count, block);
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
            if (isBlobType(fields()[i].type) && !blobs_) // the blob file is what is missing
                throw DbError(mbPath_, e.what());
            throw DbError(dbPath_, "field " + fields()[i].name + ": " + e.what());
        }
    }
    return base;
}

// The highest value the records hold in an auto-increment field (0 for none).
std::uint32_t TableFile::highestAutoInc(std::size_t field) const {
    std::uint32_t highest = 0;
    scan([&](RecordPos, std::span<const std::uint8_t> raw) {
        const Value value = codec_->decode(raw, static_cast<int>(field));
        if (const auto* v = std::get_if<std::int32_t>(&value); v && *v > 0)
            highest = std::max(highest, static_cast<std::uint32_t>(*v));
        return true;
    });
    return highest;
}

// A header counter lower than a value already held (the file was written by another
// program, or put together by hand) would give a key twice: the first new value of this
// open table starts past the highest one held.
void TableFile::assignAutoInc(Record& record) {
    record.resize(fields().size());
    for (std::size_t i = 0; i < fields().size(); ++i) {
        if (fields()[i].type != FieldType::AutoInc)
            continue;
        if (isNull(record[i])) {
            if (!autoIncChecked_)
                header_.autoInc = std::max(header_.autoInc, highestAutoInc(i));
            autoIncChecked_ = true;
            record[i] = static_cast<std::int32_t>(++header_.autoInc);
        } else if (const auto* v = std::get_if<std::int32_t>(&record[i]); v && *v > 0) {
            header_.autoInc =
                std::max<std::uint32_t>(header_.autoInc, static_cast<std::uint32_t>(*v));
        }
    }
}

RecordPos TableFile::insertRaw(std::vector<std::uint8_t>& raw) {
    const BlockChain::Place place = keyed() ? chain_->insert(raw) : chain_->append(raw);
    if (place.found)
        throw KeyViolation(dbPath_, "key violation: the table already holds this key");
    ++header_.numRecords;
    return {blocks()[place.index].number, static_cast<std::uint16_t>(place.slot)};
}

void TableFile::removeRaw(RecordPos pos, bool freeBlobs) {
    const std::size_t index = chain_->indexOf(pos.block);
    if (index == BlockChain::npos)
        throw DbError(dbPath_, "no data block " + std::to_string(pos.block));
    if (pos.slot >= blocks()[index].records)
        throw DbError(dbPath_, "no record at block " + std::to_string(pos.block) + " slot " +
                                   std::to_string(pos.slot));
    if (freeBlobs && blobs_)
        codec_->freeBlobs(readRaw(pos), *blobs_);
    --header_.numRecords;
    chain_->removeAt(index, pos.slot);
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
        if (keyed() && std::memcmp(raw.data(), oldRaw.data(), chain_->keySize()) != 0) {
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
        chain_->clear();
        if (blobs_)
            blobs_->clear();
        header_.numRecords = 0;
        for (auto* o : observers_)
            o->tableEmptied();
    });
}

std::optional<RecordPos> TableFile::find(const Record& key) const {
    if (!keyed() || key.empty())
        return std::nullopt;
    const int k = std::min(static_cast<int>(key.size()), keyFields());
    const std::vector<std::uint8_t> raw = encodeRecord(Record(key.begin(), key.begin() + k), {});
    return lookUp([&] { return findPrefix(raw, k); });
}

std::optional<RecordPos> TableFile::findRaw(std::span<const std::uint8_t> raw) const {
    if (!keyed())
        return std::nullopt;
    return lookUp([&] { return findPrefix(raw, keyFields()); });
}

// The first record whose first `k` key fields equal those of `raw`: at the end of the
// block before the first block whose first key is not below it, or at that block's start.
std::optional<RecordPos> TableFile::findPrefix(std::span<const std::uint8_t> raw, int k) const {
    ensureKeyState();
    const auto& chain = chain_->blocks();
    if (chain.empty())
        return std::nullopt;
    std::size_t lo = 0, hi = chain.size();
    while (lo < hi) {
        const std::size_t mid = (lo + hi) / 2;
        if (compareKeys(chain_->firstKey(mid), raw, k) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo > 0) {
        const BlockInfo& b = chain[lo - 1];
        const auto block = chain_->sharedBlock(b.number);
        const auto size = static_cast<std::size_t>(header_.recordSize);
        for (std::size_t s = 0; s < b.records; ++s) // first slot not below the key
            if (const int c = compareKeys(
                    std::span(*block).subspan(kBlockHeaderSize + s * size, size), raw, k);
                c >= 0) {
                if (c == 0)
                    return RecordPos{b.number, static_cast<std::uint16_t>(s)};
                break;
            }
    }
    if (lo == chain.size())
        return std::nullopt;
    chain_->check(lo); // the first key the .px gives the block is its own
    if (compareKeys(chain_->firstKey(lo), raw, k) == 0)
        return RecordPos{chain[lo].number, 0};
    return std::nullopt;
}

void TableFile::visitKeys(std::span<const std::uint8_t> keys,
                          const std::function<bool(std::span<const std::uint8_t>)>& visit) const {
    const auto size = static_cast<std::size_t>(header_.recordSize);
    if (!keyed() || keys.size() < size)
        return;
    ensureKeyState();
    const auto& chain = blocks();
    const int k = keyFields();
    const auto keyAt = [&](std::size_t i) { return keys.subspan(i * size, size); };
    std::vector<std::size_t> order(keys.size() / size);
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return compareKeys(keyAt(a), keyAt(b), k) < 0; });
    BlockCache::Block block; // chain position `loaded`
    std::span<const std::uint8_t> records;
    std::size_t loaded = BlockChain::npos;
    for (const std::size_t i : order) {
        const auto key = keyAt(i);
        std::size_t lo = 0, hi = chain.size(); // past the last block whose first key <= key
        while (lo < hi) {
            const std::size_t mid = (lo + hi) / 2;
            if (compareKeys(chain_->firstKey(mid), key, k) <= 0)
                lo = mid + 1;
            else
                hi = mid;
        }
        if (lo == 0)
            continue;
        if (lo - 1 != loaded) {
            loaded = lo - 1;
            block = chain_->sharedBlock(chain[loaded].number);
            records = std::span(*block).subspan(kBlockHeaderSize, chain[loaded].records * size);
        }
        const auto record = [&](std::size_t slot) { return records.subspan(slot * size, size); };
        std::size_t first = 0, last = records.size() / size;
        while (first < last) {
            const std::size_t mid = (first + last) / 2;
            if (compareKeys(record(mid), key, k) < 0)
                first = mid + 1;
            else
                last = mid;
        }
        if (first < records.size() / size && compareKeys(record(first), key, k) == 0 &&
            !visit(record(first)))
            return;
    }
}

// --- header and index ----------------------------------------------------------

void TableFile::writeHeader() {
    chain_->stampHeader();
    ++header_.updateCount;
    pager_->write(dbFile_, 0, encodeHeader(header_));
}

void TableFile::rewritePrimaryIndex() {
    if (!writable_)
        throw DbError(dbPath_, "the table is open read-only");
    if (!keyed())
        return;
    ensureKeyState();
    pxIndex_.forget();
    Transaction txn(*pager_);
    rebuildPrimaryIndex();
    txn.commit();
}

std::string TableFile::readPrimaryIndexHeader() {
    std::string problem;
    if (pager_->size(pxFile_) == 0) {
        pxHeader_ = TableHeader{}; // made afresh by the next change
        return problem;
    }
    try {
        pxHeader_ = readFileHeader(*pager_, pxFile_);
        problem = primaryIndexMismatch(pxHeader_, header_, chain_->keySize());
    } catch (const DbError& e) { // damaged, encrypted, of another version
        problem = e.problem();
    }
    if (!problem.empty())
        pxHeader_ = makePrimaryIndexHeader(header_);
    return problem;
}

void TableFile::checkPrimaryIndex() {
    const std::string problem = readPrimaryIndexHeader();
    if (problem.empty())
        return;
    const std::string name = pxPath_.filename().string() + ": " + problem;
    if (!writable_) {
        indexNotice_ = name + "; the index is not used (the table is read-only)";
        return;
    }
    // Derived data: written again from the table before any change goes through it.
    pxIndex_.forget();
    Transaction txn(*pager_);
    rebuildPrimaryIndex();
    txn.commit();
    indexNotice_ = name + "; the index is rebuilt";
}

void TableFile::rebuildPrimaryIndex() {
    ensureChain();
    if (pxHeader_.fileType != FileType::PrimaryIndex) { // a keyed table that lost its .px
        pxHeader_ = makePrimaryIndexHeader(header_);
        pxIndex_.forget();
    }
    pxIndex_.update(*pager_, pxFile_, pxHeader_, *chain_,
                    static_cast<std::uint16_t>(header_.updateCount + 1));
    // The index stays marked as built for this state of the data file.
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
        if (schema.minBlockKiB != 0) {
            if (schema.minBlockKiB != 2 && schema.minBlockKiB != 4 && schema.minBlockKiB != 8 &&
                schema.minBlockKiB != 16 && schema.minBlockKiB != 32)
                throw std::invalid_argument("block size must be 2, 4, 8, 16 or 32 KiB");
            data.maxTableSize = std::max<std::uint8_t>(
                data.maxTableSize, static_cast<std::uint8_t>(schema.minBlockKiB));
            data.raw.clear(); // laid out again with the block size
            data.raw = encodeHeader(data);
        }
    } catch (const std::invalid_argument& e) {
        throw DbError(path, e.what());
    }
    // Index and blob files left by a table of this name that no longer exists are
    // replaced, never taken over, and written in one spelling with the data file.
    for (const char* extension : {".px", ".mb"})
        if (const auto orphan = companionPath(path, extension);
            orphan != companionName(path, extension))
            io::removeFile(orphan, options.vfs ? *options.vfs : io::realVfs());
    {
        Pager pager(companionName(path, ".jnl"), options.durability, options.vfs);
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
