// Adding fields to a table that holds records: a new header, every record copied into
// the wider layout (the new fields NULL, blob references as they were), the blocks
// packed anew and the primary index rebuilt, all in one transaction.

#include "platform/db/data_block.h"
#include "platform/db/error.h"
#include "platform/db/file_blocks.h"
#include "platform/db/table_file.h"
#include "platform/db/text_codec.h"
#include "platform/sys/codepage.h"
#include "platform/sys/text.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace fs = std::filesystem;

namespace db {

namespace {

constexpr std::size_t kMaxNameBytes = 25; // a field name in the header, in its code page
constexpr std::size_t kMaxBlocks = 0xFFFF;

bool hasBlobField(const std::vector<FieldDef>& fields) {
    return std::any_of(fields.begin(), fields.end(),
                       [](const FieldDef& f) { return isBlobType(f.type); });
}

// The name must be new to the table (and to the other added fields) in any letter case
// and fit the header in the table's code page.
void checkName(const FieldDef& field, const std::vector<FieldDef>& taken, const TextCodec& text,
               const fs::path& table) {
    if (sys::trim(field.name).empty())
        throw DbError(table, "a field to add has no name");
    for (const FieldDef& other : taken)
        if (sys::equalsNoCase(other.name, field.name))
            throw DbError(table, "the field name " + field.name + " is taken (" + other.name + ")");
    std::string stored;
    try {
        stored = text.encode(field.name);
    } catch (const sys::EncodingError& e) {
        throw DbError(table, "field " + field.name + ": " + e.what());
    }
    if (stored.size() > kMaxNameBytes)
        throw DbError(table, "field name " + field.name + " is longer than " +
                                 std::to_string(kMaxNameBytes) + " characters");
}

void checkAdded(const TableHeader& old, const std::vector<FieldDef>& added, const fs::path& table) {
    const TextCodec text(old.codePage == 0 ? 1252 : old.codePage);
    std::vector<FieldDef> taken = old.fields;
    for (const FieldDef& field : added) {
        checkName(field, taken, text, table);
        if (field.type == FieldType::AutoInc)
            throw DbError(table, "field " + field.name +
                                     ": an auto-increment field cannot be added to a table");
        taken.push_back(field);
    }
}

// The header of the wider table: the layout from the whole field list, the block size
// grown when the wider record needs it (never shrunk), and the table's name, code page,
// language driver, collation, key and counters carried over.
TableHeader widenedHeader(const TableHeader& old, const std::vector<FieldDef>& added,
                          const fs::path& table) {
    std::vector<FieldDef> fields = old.fields;
    fields.insert(fields.end(), added.begin(), added.end());
    TableHeader h;
    try {
        h = makeDataHeader(old.tableName, fields, old.primaryKeyFields, old.codePage,
                           old.sortOrderId);
    } catch (const std::invalid_argument& e) {
        throw DbError(table, e.what());
    }
    h.maxTableSize = std::max(h.maxTableSize, old.maxTableSize);
    h.sortOrder = old.sortOrder;
    h.numRecords = old.numRecords;
    h.autoInc = old.autoInc;
    h.changeCount1 = old.changeCount1;
    h.changeCount2 = old.changeCount2;
    h.updateCount = old.updateCount;
    h.raw.clear(); // built again with the block size and collation above
    h.raw = encodeHeader(h);
    return h;
}

// Every record's bytes in chain order, one after the other.
std::vector<std::uint8_t> rawRecords(const TableFile& table) {
    std::vector<std::uint8_t> out;
    out.reserve(static_cast<std::size_t>(table.recordCount()) * table.header().recordSize);
    table.scan([&](RecordPos, std::span<const std::uint8_t> raw) {
        out.insert(out.end(), raw.begin(), raw.end());
        return true;
    });
    return out;
}

std::size_t blocksFor(std::size_t records, const TableHeader& h) {
    const auto perBlock = static_cast<std::size_t>(h.recordsPerBlock());
    return (records + perBlock - 1) / perBlock;
}

// Blocks 1..n chained in order, each packed full with the records (widened to the new
// record size with zero bytes: NULL), the last one holding the rest.
struct PackedBlocks {
    std::vector<std::uint8_t> image; // block 1 first
    std::vector<TableFile::BlockInfo> chain;
};

PackedBlocks packBlocks(std::span<const std::uint8_t> records, std::size_t oldSize,
                        const TableHeader& h) {
    const std::size_t count = records.size() / oldSize;
    const auto perBlock = static_cast<std::size_t>(h.recordsPerBlock());
    const auto blockSize = static_cast<std::size_t>(h.blockSize());
    const std::size_t blocks = blocksFor(count, h);
    PackedBlocks out;
    out.image.assign(blocks * blockSize, 0);
    for (std::size_t b = 0; b < blocks; ++b) {
        std::uint8_t* block = out.image.data() + b * blockSize;
        const std::size_t first = b * perBlock;
        const std::size_t n = std::min(perBlock, count - first);
        const auto number = static_cast<std::uint16_t>(b + 1);
        writeBlockHeader(block, {static_cast<std::uint16_t>(b + 1 < blocks ? number + 1 : 0),
                                 static_cast<std::uint16_t>(b), n, h.recordSize});
        for (std::size_t i = 0; i < n; ++i)
            std::memcpy(block + kBlockHeaderSize + i * h.recordSize,
                        records.data() + (first + i) * oldSize, oldSize);
        out.chain.push_back({number, static_cast<std::uint16_t>(n)});
    }
    return out;
}

} // namespace

void TableFile::addFields(const std::vector<FieldDef>& added) {
    if (!writable_)
        throw DbError(dbPath_, "the table is open read-only");
    if (added.empty())
        return;
    checkAdded(header_, added, dbPath_);
    ensureChain();
    TableHeader widened = widenedHeader(header_, added, dbPath_);
    if (const std::size_t blocks = blocksFor(header_.numRecords, widened); blocks > kMaxBlocks)
        throw DbError(dbPath_, "the wider records need " + std::to_string(blocks) +
                                   " blocks, more than a table can have (65535)");
    const auto records = rawRecords(*this);

    Transaction txn(*pager_);
    try {
        rewriteAs(std::move(widened), records);
        for (auto* o : observers_)
            o->tableRestructured();
        writeHeader();
        if (keyed())
            rebuildPrimaryIndex();
        txn.commit();
    } catch (...) {
        // The files are as before the call; bring the in-memory view back to them.
        if (pager_->inTransaction())
            pager_->rollback();
        reloadState();
        throw;
    }
}

// Inside the transaction: the data file in the layout of `widened` with `records` (in
// the old layout, chain order), and the in-memory view of it; the header is written
// by the caller.
void TableFile::rewriteAs(TableHeader widened, std::span<const std::uint8_t> records) {
    const std::size_t oldSize = header_.recordSize;
    const bool newBlockSize = widened.maxTableSize != header_.maxTableSize;
    const bool firstBlobs = !hasBlobField(header_.fields) && hasBlobField(widened.fields);
    header_ = std::move(widened);
    codec_ = std::make_unique<RecordCodec>(header_.fields, codec_->codePage());
    if (firstBlobs) { // the table's blob file starts empty
        attachBlobFile();
        pager_->truncate(mbFile_, 0);
    }
    auto packed = packBlocks(records, oldSize, header_);
    pager_->truncate(dbFile_, header_.headerSize);
    if (!packed.image.empty())
        pager_->write(dbFile_, header_.headerSize, packed.image);
    header_.fileBlocks = static_cast<std::uint16_t>(packed.chain.size());
    header_.firstFreeBlock = 0;
    chain_->assign(std::move(packed.chain));
    resetKeySize();
    pxIndex_.forget();
    if (keyed() && newBlockSize) // the index blocks follow the data blocks' size
        pxHeader_ = makePrimaryIndexHeader(header_);
    ensureKeyState();
}

} // namespace db
