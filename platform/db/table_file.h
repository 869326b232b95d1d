#pragma once
// One Paradox table on disk: the .db data file with its .px primary index and .mb
// blob file, read and changed through one pager (so every change is atomic).
//
// A keyed table keeps its records in key order: within a block, and across the chain
// of blocks, and the .px holds the first key of every block. An unkeyed table appends.
// Record positions (block, slot) are valid until the next change.

#include "blob_file.h"
#include "block_chain.h"
#include "block_index.h"
#include "collation.h"
#include "file_blocks.h"
#include "folder_names.h"
#include "header.h"
#include "pager.h"
#include "record_codec.h"
#include "table_lock.h"
#include "value.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace db {

struct TableSchema {
    std::vector<FieldDef> fields;
    int keyFields = 0; // primary key on the first keyFields fields
    int codePage = 1250;
    std::string languageDriver = "anhundc";
    // The least block size in KiB (2, 4, 8, 16 or 32); 0 or a smaller one: as Paradox
    // picks it. A table holds at most 65535 blocks, so a table meant for hundreds of
    // thousands of rows needs larger blocks than the 2 KiB Paradox picks for short rows.
    int minBlockKiB = 0;
};

struct OpenOptions {
    bool writable = true;
    Durability durability = Durability::OsBuffers;
    // Reads the header only (fields, code page, sort order), for a caller that wants the
    // table's layout: no block is read, and the records cannot be reached (read-only).
    bool layoutOnly = false;
    // A read-only open rolls back a journal left by a crash only when this is set (the
    // program's own opens); otherwise such a journal is an error, and nothing is written.
    bool mayRecover = false;
    // The code page the table's text is read and written in, given the one its header
    // names (the caller knows the table's true one); null or 0: the header's. The header
    // is left as it is.
    std::function<int(int named)> textCodePage = nullptr;
    // The names of the table's folder, kept by the caller between opens (null: the folder
    // is listed where a name is looked for in any letter case).
    std::shared_ptr<FolderNames> folder = nullptr;
    io::Vfs* vfs = nullptr; // the file layer; null: the real one
};

struct RecordPos {
    std::uint16_t block = 0; // block number in the .db (1-based)
    std::uint16_t slot = 0;  // record index within the block
    auto operator<=>(const RecordPos&) const = default;
};

// Records named by the block an index says holds each and by its key fields: raw
// records of `recordSize` bytes, flat, holding them (the other fields are not read).
struct HintedRecords {
    std::size_t recordSize = 0;
    std::vector<std::uint16_t> blocks;
    std::vector<std::uint8_t> keys;

    std::size_t size() const { return blocks.size(); }
    std::span<const std::uint8_t> key(std::size_t i) const {
        return {keys.data() + i * recordSize, recordSize};
    }
};

using RecordVisit = std::function<void(RecordPos, std::span<const std::uint8_t>)>;

// Secondary indexes hook into every change here; they write through the same pager,
// inside the same transaction as the data.
class TableObserver {
public:
    virtual ~TableObserver() = default;
    virtual void recordInserted(const Record& record) = 0;
    virtual void recordUpdated(const Record& before, const Record& after) = 0;
    virtual void recordRemoved(const Record& record) = 0;
    virtual void tableEmptied() = 0;
    // Fields were added after the existing ones (addFields): every record kept, the new
    // fields NULL. Called inside the change's transaction, with the table's new layout.
    virtual void tableRestructured() {}
    // Records that moved to another block with their values unchanged (the upper half
    // of a split block, or the records moved into an emptied block 1): `count` raw
    // records, now in block `block`. Called inside the change, before its own callback.
    virtual void recordsMoved(std::span<const std::uint8_t> /*records*/, std::size_t /*count*/,
                              std::uint16_t /*block*/) {}
};

class TableFile {
public:
    // Opens an existing table; `dbPath` may be spelled in any letter case, with or
    // without ".db". A journal left by a crash is applied first, under the exclusive
    // side of the table's lock (a read-only open without mayRecover refuses such a
    // table instead). The table is read under the shared side; a read-only table keeps
    // it while it is open, so that no commit changes the files under it. Throws DbError
    // (CorruptFileError for a damaged file) naming the file, also when another process
    // keeps the table busy for longer than TableLock::waitLimit().
    static std::unique_ptr<TableFile> open(const std::filesystem::path& dbPath,
                                           OpenOptions options = {});
    // Creates a new empty level-7 table (and its .px when keyed, .mb when it has blob
    // fields), replacing nothing: throws DbError when the table exists.
    static std::unique_ptr<TableFile> create(const std::filesystem::path& dbPath,
                                             const TableSchema& schema, OpenOptions options = {});

    ~TableFile();
    TableFile(const TableFile&) = delete;
    TableFile& operator=(const TableFile&) = delete;

    const std::filesystem::path& path() const { return dbPath_; }
    const TableHeader& header() const { return header_; }
    const RecordCodec& codec() const { return *codec_; }
    const BlobFile* blobs() const { return blobs_.get(); } // null: no blob fields
    const std::vector<FieldDef>& fields() const { return header_.fields; }
    int fieldIndex(const std::string& name) const; // case-insensitive; -1 when absent
    bool keyed() const { return header_.fileType == FileType::KeyedData; }
    bool writable() const { return writable_; }
    int keyFields() const { return header_.primaryKeyFields; }
    std::uint32_t recordCount() const { return header_.numRecords; }
    // Why the .px found on opening did not belong to the table ("" when it did); it was
    // rebuilt from the table then (writable) or is not used (read-only).
    const std::string& indexNotice() const { return indexNotice_; }
    // The folder's names as the open was given them (null: none), for the index files.
    FolderNames* folder() const { return folder_.get(); }

    // --- reading ---------------------------------------------------------------
    // The blocks in chain order with their record counts.
    using BlockInfo = ChainBlock; // number, records
    // DbError for a table opened for its layout only.
    const std::vector<BlockInfo>& blocks() const;

    // Calls `visit(RecordPos, std::span<const std::uint8_t>)` for every record in chain
    // order with its raw bytes; stops when `visit` returns false. Called straight from
    // the loop over a block's records (no function object per record).
    template <class Visit>
    void scan(Visit&& visit) const {
        const std::size_t recordSize = header_.recordSize;
        scanBlocks([&](const BlockInfo& b, std::span<const std::uint8_t> records) {
            for (std::uint16_t slot = 0; slot < b.records; ++slot)
                if (!visit(RecordPos{b.number, slot},
                           records.subspan(slot * recordSize, recordSize)))
                    return false;
            return true;
        });
    }
    // Calls `visit` for every block in chain order with its records' bytes; stops when
    // `visit` returns false.
    void scanBlocks(const ChainRecords& visit) const;
    std::vector<std::uint8_t> readRaw(RecordPos pos) const;
    Record read(RecordPos pos) const;
    Record decode(std::span<const std::uint8_t> raw) const; // blobs resolved
    std::vector<Record> readAll() const;

    // Keyed tables: the record whose key fields equal `key` (key.size() may be less
    // than keyFields: the first record with that prefix).
    std::optional<RecordPos> find(const Record& key) const;

    // --- writing (each call is one atomic change) --------------------------------
    // Inserts; an AutoInc field is given the next value (written back into `record`).
    // Keyed: throws KeyViolation when the key exists. Returns where it landed.
    RecordPos insert(Record& record);
    // Replaces the record at `pos` (a keyed record moves when its key changes).
    RecordPos update(RecordPos pos, const Record& record);
    void remove(RecordPos pos);
    // Removes every record; the files keep their headers.
    void empty();
    // Adds fields after the existing ones, keeping every record (the new fields NULL),
    // its blobs, the primary index and the observers' indexes; one atomic change. The
    // records are packed anew into blocks 1..n in chain order; the block size grows when
    // the wider record needs it. Throws DbError naming the table, with nothing changed,
    // for a name the table already has (in any letter case), an auto-increment field or
    // a field or layout the file format cannot hold.
    void addFields(const std::vector<FieldDef>& added);

    // The chain of data blocks as this open knows it (with the blocks' first keys when
    // read), for a later open of the file unchanged to take instead of walking it again;
    // none before the chain is first walked, or while a change is pending.
    using BlockMap = ChainMap;
    std::optional<BlockMap> blockMap() const;
    // Takes the map of an earlier open of this file, which the caller knows unchanged
    // since; ignored when its record count is not the header's.
    void adoptBlockMap(BlockMap map);

    // Keyed tables: writes the .px anew from the data blocks (one atomic change of the
    // .px alone), for a primary index file that was lost. DbError when read-only.
    void rewritePrimaryIndex();

    // --- a change over several tables (group_commit.h) ------------------------------
    // While the table is in a group, the changes above stay pending in the pager's one
    // transaction (this table's data sets see them; the files do not change); a failed
    // change is dropped alone. The group's commit commits the pager; endGroup then ends
    // the group, and with committed false drops every pending change.
    void joinGroup();
    bool inGroup() const { return grouped_; }
    void endGroup(bool committed);
    TableLock& lock() { return *lock_; }

    void addObserver(TableObserver* observer);
    void removeObserver(TableObserver* observer);
    Pager& pager() { return *pager_; }

    // The table's text order (its code page and sort order).
    const Collation& collation() const;
    // Compares the key fields of two raw records in the table's collation.
    int compareKeys(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                    int fieldCount) const;
    // Compares one field of two raw records: text in the table's collation (optionally
    // ignoring case), other types by their stored bytes, which sort in value order.
    int compareField(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b, int field,
                     bool caseInsensitive = false) const;
    // Appends to `key` bytes that order as compareField orders the field: sorting by
    // such keys with memcmp gives the table's order.
    void appendSortKey(std::span<const std::uint8_t> raw, int field, bool caseInsensitive,
                       std::string& key) const;
    // Keyed tables: calls `visit` with the raw record of every key of `keys` (raw
    // records, flat, with their key fields filled in) that the table holds, in key
    // order, until it returns false; each data block is read once for all its keys.
    void visitKeys(std::span<const std::uint8_t> keys,
                   const std::function<bool(std::span<const std::uint8_t>)>& visit) const;
    // Keyed tables: where the record with the key of the raw record `raw` is.
    std::optional<RecordPos> findRaw(std::span<const std::uint8_t> raw) const;
    // Keyed tables: the records whose first `fields` key fields equal those of the raw
    // record `raw`, in key order (table_lookup.cpp).
    std::vector<RecordPos> findAll(std::span<const std::uint8_t> raw, int fields) const;
    // Calls `visit` for the records at `positions` (each once, however often it is
    // named) in chain order, as scan would reach them; each block is read once.
    void visitEach(std::vector<RecordPos> positions, const RecordVisit& visit) const;
    // Keyed tables: as visitEach for the records `records` name. A record is looked for
    // in its hinted block first (each block read once), by its key when it is not there.
    void visitHinted(const HintedRecords& records, const RecordVisit& visit) const;

private:
    TableFile() = default;
    void load(OpenOptions options); // header, chain, blob file
    void loadChain();               // walks and checks the block chain
    // The chain is walked at its first use: a scan that comes first reads each block
    // once, walking and reading it together.
    void ensureChain() const;
    // A lookup that comes first takes the chain from the .px instead (one read of the
    // index, no block header of the table), when the .px is stamped for this state of the
    // table; each block a lookup reads is checked against it (BlockChain::assignFromIndex).
    void ensureLookupChain() const;
    std::optional<ChainMap> indexedChain() const;
    // Runs `lookup` on the chain ensureLookupChain gives; should a block disagree with the
    // .px, walks the chain and runs it again (so `lookup` hands nothing out before it has
    // read every block it needs).
    template <class Lookup>
    auto lookUp(Lookup&& lookup) const {
        ensureLookupChain();
        try {
            return lookup();
        } catch (const ChainDisagrees&) {
            ensureChain();
            return lookup();
        }
    }
    void writeHeader();         // header_ -> pager (inside a transaction)
    void rebuildPrimaryIndex(); // chain_ -> .px (inside a transaction)
    // Reads the .px header; one that does not describe this table's index is replaced by
    // a fresh one, the reason kept for indexNotice, and (when writable) the .px rebuilt.
    void checkPrimaryIndex();
    void checkCodePage() const;           // CorruptFileError when text fields cannot be read
    std::string readPrimaryIndexHeader(); // the reason, "" when the .px header fits
    std::uint64_t blockOffset(std::uint16_t block) const;

    std::filesystem::path dbPath_;
    std::filesystem::path pxPath_;
    std::filesystem::path mbPath_;
    std::unique_ptr<TableLock> lock_;
    std::unique_ptr<TableLock::Hold> readHold_;  // a read-only table's shared side
    std::unique_ptr<TableLock::Hold> writeHold_; // a writable table's writer side
    std::unique_ptr<Pager> pager_;
    int dbFile_ = -1, pxFile_ = -1, mbFile_ = -1;
    TableHeader header_;
    TableHeader pxHeader_;
    std::unique_ptr<RecordCodec> codec_;
    std::unique_ptr<BlobFile> blobs_;
    std::unique_ptr<BlockChain> chain_; // the data blocks, counted in header_
    mutable bool chainLoaded_ = false;
    std::vector<TableObserver*> observers_;
    bool writable_ = false;
    bool layoutOnly_ = false;
    bool grouped_ = false;

    // --- the write path (table_write.cpp) ----------------------------------------
    template <class Body>
    auto change(Body&& body);
    void ensureKeyState() const;
    void attachChain();  // the chain of data blocks over dbFile_ and header_
    void resetKeySize(); // the key's bytes from the codec
    void notifyMoved(std::span<const std::uint8_t> records, std::size_t count, std::uint16_t block);
    RecordPos insertRaw(std::vector<std::uint8_t>& raw);
    void removeRaw(RecordPos pos, bool freeBlobs);
    void reloadState(); // every in-memory view from the files (after a rollback)
    void attachBlobFile();
    void rewriteAs(TableHeader widened, std::span<const std::uint8_t> records); // addFields
    std::vector<std::uint8_t> encodeRecord(const Record& record,
                                           std::vector<std::uint8_t> base) const;
    void assignAutoInc(Record& record);
    std::uint32_t highestAutoInc(std::size_t field) const;
    bool autoIncChecked_ = false; // the header's counter was raised to the highest value held
    std::optional<RecordPos> findPrefix(std::span<const std::uint8_t> raw, int keyFields) const;
    // The lookups on the chain as lookUp gives it.
    std::vector<RecordPos> findAllIn(std::span<const std::uint8_t> raw, int fields) const;
    void visitHintedIn(const HintedRecords& records, const RecordVisit& visit) const;
    void visitEachIn(std::vector<RecordPos>& positions, const RecordVisit& visit) const;

    BlockIndex pxIndex_; // the .px blocks as last written
    std::string indexNotice_;
    mutable std::shared_ptr<const Collation> collation_;
    std::shared_ptr<FolderNames> folder_;
};

// Finds a file in `dir` by name regardless of letter case; the path as spelled on disk,
// or `dir/name` as given when there is none.
std::filesystem::path resolveCaseInsensitive(const std::filesystem::path& dir,
                                             const std::string& name);

// Whether two file names are the same regardless of letter case, as the lookup above
// compares them.
bool sameFileName(std::string_view a, std::string_view b);
// The form of a file name that sameFileName compares: equal for names it takes as the same.
std::string foldFileName(std::string_view name);

// "Tablak" and "Tablak.db" (in any letter case) name the same table.
std::filesystem::path withDbExtension(const std::filesystem::path& name);

// The .px, .mb or .jnl beside a data file, in the letter case of the data file's
// extension ("X.DB" -> "X.PX", "x.db" -> "x.px"); companionPath finds it on disk in any
// letter case.
std::filesystem::path companionName(const std::filesystem::path& db, const char* lowerExtension);
std::filesystem::path companionPath(const std::filesystem::path& db, const char* lowerExtension,
                                    FolderNames* folder = nullptr);

} // namespace db
