#pragma once
// The records of one table that columns of a result read their fields from, kept as the
// run met them and decoded when a value is read. They are kept compactly: a record's
// fields of fixed size as they are stored, its texts up to the zero that ends them (a
// text field is mostly the zeros of its room), so that a result of wide records holds a
// fraction of their bytes.

#include "platform/db/record_codec.h"
#include "platform/db/value.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

namespace db::sql {

class KeptRecords {
public:
    // Records of the codec's table that keep the fields marked in `fields` (one mark per
    // field; no blob field: a blob's data lies in another file). Without a codec: none.
    KeptRecords(std::shared_ptr<const RecordCodec> codec, const std::vector<char>& fields);

    // Adds a record whose field f starts at offsets[f] (for each field kept); returns its
    // number.
    std::uint32_t add(std::span<const std::uint8_t> record,
                      const std::vector<std::size_t>& offsets);
    std::size_t size() const { return starts_.size(); }

    // Field `field` of record `record`, as the codec decodes it from the stored record.
    Value value(std::uint32_t record, int field) const;

private:
    struct Kept {
        int field = -1;
        std::size_t size = 0; // in the stored record
        std::size_t at = 0;   // fixed: its place in a kept record; text: its number
    };

    std::shared_ptr<const RecordCodec> codec_;
    std::vector<Kept> fixed_, texts_; // in field order
    std::vector<int> where_; // per field: 1 + its index in fixed_, -1 - in texts_, 0 not kept
    std::size_t fixedSize_ = 0;
    // Each record: its fixed fields, then per text its length (one byte) and its bytes.
    std::vector<std::uint8_t> bytes_;
    std::vector<std::size_t> starts_;
};

} // namespace db::sql
