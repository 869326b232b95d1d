#include "platform/db/sql/kept_records.h"

#include "platform/db/text_codec.h"

#include <cstring>
#include <stdexcept>

namespace db::sql {

KeptRecords::KeptRecords(std::shared_ptr<const RecordCodec> codec, const std::vector<char>& fields)
    : codec_(std::move(codec)), where_(codec_ ? codec_->fields().size() : 0, 0) {
    for (std::size_t f = 0; f < where_.size() && f < fields.size(); ++f) {
        if (!fields[f])
            continue;
        const auto field = static_cast<int>(f);
        const FieldType type = codec_->fields()[f].type;
        if (isBlobType(type))
            throw std::logic_error("a blob field kept in a result's records");
        const auto size =
            static_cast<std::size_t>(codec_->offset(field + 1) - codec_->offset(field));
        if (type == FieldType::Alpha) {
            texts_.push_back({field, size, texts_.size()});
            where_[f] = -static_cast<int>(texts_.size());
        } else {
            fixed_.push_back({field, size, fixedSize_});
            fixedSize_ += size;
            where_[f] = static_cast<int>(fixed_.size());
        }
    }
}

std::uint32_t KeptRecords::add(std::span<const std::uint8_t> record,
                               const std::vector<std::size_t>& offsets) {
    const std::size_t start = bytes_.size();
    bytes_.resize(start + fixedSize_);
    for (const Kept& k : fixed_)
        std::memcpy(bytes_.data() + start + k.at,
                    record.data() + offsets[static_cast<std::size_t>(k.field)], k.size);
    for (const Kept& k : texts_) {
        const std::uint8_t* text = record.data() + offsets[static_cast<std::size_t>(k.field)];
        const void* end = std::memchr(text, 0, k.size);
        const std::size_t length =
            end ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(end) - text) : k.size;
        bytes_.push_back(static_cast<std::uint8_t>(length));
        bytes_.insert(bytes_.end(), text, text + length);
    }
    starts_.push_back(start);
    return static_cast<std::uint32_t>(starts_.size() - 1);
}

Value KeptRecords::value(std::uint32_t record, int field) const {
    const int where = where_.at(static_cast<std::size_t>(field));
    if (where == 0)
        throw std::logic_error("a field not kept in a result's records");
    const std::uint8_t* kept = bytes_.data() + starts_.at(record);
    if (where > 0) {
        const Kept& k = fixed_[static_cast<std::size_t>(where - 1)];
        return codec_->decodeAt({kept, fixedSize_}, k.at, field);
    }
    const std::uint8_t* text = kept + fixedSize_;
    for (int i = -1; i > where; --i)
        text += 1 + *text;
    std::string decoded;
    if (*text == 0 || !codec_->text().decodeField({text + 1, *text}, decoded))
        return Null{};
    return decoded;
}

} // namespace db::sql
