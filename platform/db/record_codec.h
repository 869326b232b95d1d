#pragma once
// Field values to and from the bytes of a record. Numbers, dates and times are stored
// big-endian with the sign bit flipped (so that raw bytes compare in value order),
// text in the table's code page padded with zeros, a field of all zero bytes is NULL.

#include "field.h"
#include "value.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace db {

class BlobFile;
class TextCodec;

class RecordCodec {
public:
    RecordCodec(std::vector<FieldDef> fields, int codePage);

    const std::vector<FieldDef>& fields() const { return fields_; }
    int codePage() const { return codePage_; }
    int recordSize() const { return recordSize_; }
    int offset(int field) const { return offsets_[field]; }
    // The table's text in its code page and back.
    const TextCodec& text() const { return *text_; }

    // Decodes one field. Blob fields read their data through `blobs` (null: the
    // leader kept in the record only). Throws DbError on a blob reference that the
    // blob file cannot satisfy.
    Value decode(std::span<const std::uint8_t> record, int field,
                 const BlobFile* blobs = nullptr) const;
    // As decode, for a record laid out otherwise: the field's bytes start at `offset`.
    Value decodeAt(std::span<const std::uint8_t> record, std::size_t offset, int field,
                   const BlobFile* blobs = nullptr) const;
    Record decodeAll(std::span<const std::uint8_t> record, const BlobFile* blobs = nullptr) const;
    // As decodeAll, into `out` (one value per field): a text field reuses the string
    // already there, so a scan that decodes row after row into one record allocates
    // only when a text is longer than any before it. Such a string keeps room for the
    // longest text of its field.
    void decodeAllInto(std::span<const std::uint8_t> record, Record& out,
                       const BlobFile* blobs = nullptr) const;
    // As decodeAllInto for each of the records in `records` (a block's, one after the
    // other; a part of a record at the end is left out), into out[0], out[1], ... (`out`
    // grows to hold them and keeps any records past them). Each field is decoded for
    // all the records in one loop, which is faster than one record after another.
    // Returns the number of records.
    std::size_t decodeBlockInto(std::span<const std::uint8_t> records, std::vector<Record>& out,
                                const BlobFile* blobs = nullptr) const;

    // Encodes one field into `record`. Text longer than an A field is cut to its width
    // in the code page; text the code page cannot hold throws sys::EncodingError. A
    // value of the wrong kind for the field throws std::invalid_argument. Blob values
    // are written to `blobs` (which must then be in a transaction); the old blob of
    // the field, if any, is freed there.
    void encode(const Value& value, int field, std::span<std::uint8_t> record,
                BlobFile* blobs = nullptr) const;

    // Frees the blobs a record holds (before the record is deleted).
    void freeBlobs(std::span<const std::uint8_t> record, BlobFile& blobs) const;

private:
    // decodeAllInto's fields grouped by how they decode, each group decoded in a loop of
    // its own (no branch on the type per field).
    struct Slot {
        std::size_t field;
        std::size_t offset;
        std::size_t size;
    };
    // A text of up to eight bytes read in one load of the eight bytes at `load` (which
    // stay within the record), shifted so that the field's bytes come first.
    struct ShortText {
        Slot slot;
        std::size_t load;
        unsigned up, down; // (bytes << up) >> down
    };
    struct DecodePlan {
        std::vector<Slot> shorts, longs, dates, doubles, alphas, others;
        std::vector<ShortText> shortTexts;
        std::vector<Slot> wideTexts; // TextCodec::decodeWideField, into a reused string
    };

    void addText(const Slot& slot);
    // `count` records from `records` into out[0..count); `reuse`: the strings there may
    // keep room to spare (see decodeAllInto).
    void decodeRows(std::span<const std::uint8_t> records, std::size_t count, Record* out,
                    const BlobFile* blobs, bool reuse) const;

    std::vector<FieldDef> fields_;
    std::vector<int> offsets_;
    DecodePlan plan_;
    int codePage_;
    int recordSize_ = 0;
    std::shared_ptr<const TextCodec> text_; // built once per codec: decoding never opens iconv
};

} // namespace db
