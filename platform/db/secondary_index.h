#pragma once
// A named secondary index kept in the Paradox files STEM.XGn (one index record per table
// record: the index fields and the primary key, in index order) and STEM.YGn (the block
// index over it), as the original engine writes them. The index follows every change
// of its table as an observer, through the table's pager, so that data and index
// files change in one atomic step. Single-field .Xnn/.Ynn files of the original engine
// are opened and kept the same way. Only keyed tables have secondary indexes.
//
// The table must outlive its indexes, and each index file may be open once per table
// (call openAll once, and create only indexes that are not open yet).

#include "index_def.h"
#include "table_file.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace db {

using EngineLog = std::function<void(const std::string& message)>;

class SecondaryIndex : public TableObserver {
public:
    // Opens the named indexes of `table` found beside it (STEM.XGn with STEM.YGn) and
    // registers them as observers. An index whose files do not agree with the table is
    // rebuilt (when the table is writable) and the fact is written to `log`; a read-only
    // table's disagreeing index is left out, also with a log line.
    // `trusted` (optional) answers true for an index file known to agree with the table
    // (checked earlier and unchanged since): it is opened without the check.
    // `expected`: the table's own indexes (none: unknown); an index file holding another
    // index, or one whose fields differ, is made again as one of them that no file holds.
    static std::vector<std::unique_ptr<SecondaryIndex>>
    openAll(TableFile& table, const EngineLog& log,
            const std::function<bool(const std::filesystem::path& xPath)>& trusted = {},
            const std::vector<IndexDef>& expected = {});
    // Creates a new index over the table's rows (in one transaction) and registers it:
    // STEM.XGn/STEM.YGn with the next free n. DbError for an unkeyed or read-only table,
    // an unknown or blob field, a name already used, or a unique index (not supported).
    static std::unique_ptr<SecondaryIndex> create(TableFile& table, const IndexDef& def);

    ~SecondaryIndex() override;

    const IndexDef& definition() const;
    const std::vector<int>& fieldNumbers() const; // the indexed fields, table field indexes
    const std::filesystem::path& xPath() const;
    const std::filesystem::path& yPath() const;
    // The chain of the index file's blocks, to give a later open of the files unchanged
    // (IndexBlocks::chainMap, offerChainMap).
    std::optional<ChainMap> chainMap() const;
    void offerChainMap(ChainMap map);

    // Calls `visit` with the raw table record of every row whose first `fieldCount`
    // indexed fields equal those of the raw table record `probe` (as the index compares
    // them: text in the table's collation, ignoring case for a case-insensitive index),
    // in primary key order, until it returns false. Reads the index's blocks of those
    // rows and each data block holding one of them once.
    void visitEqual(std::span<const std::uint8_t> probe, std::size_t fieldCount,
                    const std::function<bool(std::span<const std::uint8_t>)>& visit) const;
    // The records whose first indexed field holds the value that field has in the raw
    // table record `raw` (in the index's order: ignoring case for a case-insensitive
    // index), in index order: each named by the block the index says holds it and its key,
    // for TableFile::visitHinted; appended to `out` (its recordSize, set when it is empty,
    // is raw's size).
    void findHinted(std::span<const std::uint8_t> raw, HintedRecords& out) const;

    // "" when the files agree with the table, or the first disagreement.
    std::string verify() const;
    void rebuild(); // inside the table's own transaction when one is open
    // How often a change found the index files disagreeing with the table and rebuilt
    // them from it (0 while the index is kept exact).
    std::size_t repairs() const;

    void recordInserted(const Record& record) override;
    void recordUpdated(const Record& before, const Record& after) override;
    void recordRemoved(const Record& record) override;
    void tableEmptied() override;
    void recordsMoved(std::span<const std::uint8_t> records, std::size_t count,
                      std::uint16_t block) override;
    // The table's records were repacked into new blocks: every hint is rewritten.
    void tableRestructured() override;

private:
    struct Impl;
    explicit SecondaryIndex(std::unique_ptr<Impl> impl);
    static std::unique_ptr<SecondaryIndex> remake(TableFile& table, const IndexDef& def,
                                                  const std::filesystem::path& xPath,
                                                  const std::filesystem::path& yPath,
                                                  const EngineLog& say);
    std::unique_ptr<Impl> impl_;
};

} // namespace db
