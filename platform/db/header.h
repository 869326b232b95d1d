#pragma once
// The header of a Paradox file (.db data file, .px primary index, .Xnn/.XGn/.Ynn/.YGn
// secondary index): parsed from its bytes, checked, and written back.

#include "field.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace db {

enum class FileType : std::uint8_t {
    KeyedData = 0,
    PrimaryIndex = 1,
    UnkeyedData = 2,
    SecondaryX = 3,
    SecondaryY = 4,
    SecondaryXInc = 5,
    SecondaryXG = 6,
    SecondaryYG = 7,
    SecondaryXGInc = 8,
};

struct TableHeader {
    FileType fileType = FileType::UnkeyedData;
    std::uint16_t recordSize = 0;
    std::uint16_t headerSize = 0x800;
    std::uint8_t maxTableSize = 2; // block size in KiB
    std::uint32_t numRecords = 0;
    std::uint16_t nextBlock = 0;  // blocks in use
    std::uint16_t fileBlocks = 0; // blocks in the file
    std::uint16_t firstBlock = 0;
    std::uint16_t lastBlock = 0;
    std::uint16_t indexRoot = 0;  // .px: root block
    std::uint8_t indexLevels = 0; // .px: levels
    std::uint16_t numFields = 0;
    std::uint16_t primaryKeyFields = 0;
    std::uint8_t sortOrder = 0; // collation byte (0xE1 with anhundc)
    std::uint8_t fileVersionId = 0x0C;
    std::uint32_t autoInc = 0; // .db: last value given to a + field
    std::uint16_t firstFreeBlock = 0;
    std::uint16_t codePage = 0; // 4.0+ data files; 0 when the header has none
    std::string sortOrderId;    // language driver name, e.g. "anhundc"
    std::string tableName;
    std::vector<FieldDef> fields;
    std::uint8_t changeCount1 = 0, changeCount2 = 0; // see encodeHeader
    std::uint16_t updateCount = 0; // bytes 0x12: grows with changes; a .px holds its .db's + 1
    std::uint8_t indexStamp = 0;   // .px byte 0x2C: the .db's changeCount1 it was built for
    // Data-like files from 4.0 on: the field numbers after the names. In a secondary
    // index (.Xnn/.XGn) the first ones are the indexed fields' numbers in the table.
    std::vector<std::uint16_t> fieldNumbers;
    // Secondary index (.Xnn/.XGn) only: the index name after the sort order name (empty
    // for a single-field .Xnn), the direction and option byte 0x55 and byte 0x15, the
    // table number of the first indexed field.
    std::string indexName;
    std::uint8_t indexFlags = 0;
    std::uint8_t indexFieldNumber = 0;
    std::vector<std::uint8_t> raw; // the bytes as read: unknown bytes survive a rewrite

    int blockSize() const { return maxTableSize * 1024; }
    int recordsPerBlock() const { return recordSize ? (blockSize() - 6) / recordSize : 0; }
    bool isData() const {
        return fileType == FileType::KeyedData || fileType == FileType::UnkeyedData;
    }
    bool isSecondaryX() const {
        return fileType == FileType::SecondaryX || fileType == FileType::SecondaryXInc ||
               fileType == FileType::SecondaryXG || fileType == FileType::SecondaryXGInc;
    }
    // "3.0", "3.5", "4.0", "5.0", "7.0" as the file version byte gives it
    std::string versionText() const;
};

// Parses and checks a header. `fileSize` is the size of the whole file, used to check
// the counters against it. Throws CorruptFileError naming `file` on anything invalid
// (too short, unknown file type or field type, sizes that disagree, counters past the
// end of the file); never reads out of `bytes`.
TableHeader parseHeader(std::span<const std::uint8_t> bytes, std::uint64_t fileSize,
                        const std::filesystem::path& file);

// The header bytes (headerSize long) for `h`: the raw bytes with the counters patched
// (numRecords, nextBlock, fileBlocks, firstBlock, lastBlock, indexRoot, indexLevels,
// changeCount1/2, updateCount, indexStamp, autoInc, firstFreeBlock), or, when `raw` is
// empty, the whole layout of a level-7 .db or .px built from the fields.
std::vector<std::uint8_t> encodeHeader(const TableHeader& h);

// A new level-7 data file header. Block size from the record size as Paradox chooses
// it: 2 KiB, or the smallest of 4, 8, 16, 32 KiB whose block holds at least one record
// (unkeyed) or three records and three primary-index entries (keyed); std::invalid_argument
// when no block size fits. Fields' names are stored in `codePage`; Hungarian tables use
// code page 1250 and the language driver "anhundc".
TableHeader makeDataHeader(const std::string& tableName, const std::vector<FieldDef>& fields,
                           int keyFields, int codePage, const std::string& languageDriver);

// A new .px header for a data header with key fields.
TableHeader makePrimaryIndexHeader(const TableHeader& data);

// Option bits of a secondary index header's byte 0x55: always 0x01, 0x10 when the index
// sorts descending; 0x20 marks a case-insensitive index (our choice: no original file
// with one has been seen).
constexpr std::uint8_t kIndexFlagBase = 0x01;
constexpr std::uint8_t kIndexFlagDescending = 0x10;
constexpr std::uint8_t kIndexFlagCaseInsensitive = 0x20;

// A new secondary index file header (.XGn when `indexName` is given, .Xnn otherwise)
// for the table `data`: the indexed fields (table field indexes), then the table's key
// fields, then the Short "Blk Num" hint; block size, sort order and code page of the
// table. `fileName` is stored as the header's table name.
TableHeader makeSecondaryHeader(const TableHeader& data, const std::vector<int>& indexFields,
                                const std::string& indexName, std::uint8_t indexFlags,
                                const std::string& fileName);

// The header of the block index (.YGn/.Ynn) over the secondary index file `x`: its key
// fields (all but the hint), 2 KiB blocks unless an entry needs more room.
TableHeader makeSecondaryBlockIndexHeader(const TableHeader& x, const std::string& fileName);

// The sort-order byte that goes with a language driver name ("anhundc" -> 0xE1 ...).
std::uint8_t sortOrderForDriver(const std::string& driver);

} // namespace db
