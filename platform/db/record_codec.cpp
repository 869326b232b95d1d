#include "platform/db/record_codec.h"

#include "platform/db/blob_file.h"
#include "platform/db/bytes.h"
#include "platform/db/text_codec.h"
#include "platform/db/text_wide.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>

namespace db {

namespace {

constexpr int kBlobPointerSize = 10;
constexpr int kBcdDigits = 32;

// A string's length can be set after its bytes are written, without filling it first.
#if defined(__cpp_lib_string_resize_and_overwrite)
constexpr bool kStringsWithoutFill = true;
#else
constexpr bool kStringsWithoutFill = false;
#endif

// A big-endian unsigned number as wide as `Unsigned`, in one load.
template <class Unsigned>
Unsigned loadBigEndian(const std::uint8_t* p) {
    Unsigned v;
    std::memcpy(&v, p, sizeof v);
    if constexpr (std::endian::native == std::endian::little) {
        if constexpr (sizeof v == 2)
            v = __builtin_bswap16(v);
        else if constexpr (sizeof v == 4)
            v = __builtin_bswap32(v);
        else
            v = __builtin_bswap64(v);
    }
    return v;
}

bool allZero(const std::uint8_t* p, std::size_t n) {
    if (n == 8)
        return loadBigEndian<std::uint64_t>(p) == 0;
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] != 0)
            return false;
    return true;
}

// Integers: big-endian with the sign bit flipped, so that bytes compare in value order.
std::uint32_t getBigEndian(const std::uint8_t* p, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i)
        v = (v << 8) | p[i];
    return v;
}

void putBigEndian(std::uint8_t* p, int n, std::uint32_t v) {
    for (int i = n - 1; i >= 0; --i, v >>= 8)
        p[i] = static_cast<std::uint8_t>(v);
}

std::int32_t decodeInt(const std::uint8_t* p, int n) {
    const std::uint32_t signBit = 1u << (8 * n - 1);
    const std::uint32_t v = getBigEndian(p, n) ^ signBit;
    if (n == 2)
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(v));
    return static_cast<std::int32_t>(v);
}

void encodeInt(std::uint8_t* p, int n, std::int64_t value) {
    // The smallest value would encode as all zeros, which reads back as NULL.
    const std::int64_t limit = (std::int64_t{1} << (8 * n - 1)) - 1;
    if (value < -limit || value > limit)
        throw std::invalid_argument("value " + std::to_string(value) + " out of range for a " +
                                    std::to_string(8 * n) + "-bit field");
    const std::uint32_t signBit = 1u << (8 * n - 1);
    putBigEndian(p, n, static_cast<std::uint32_t>(value) ^ signBit);
}

// Doubles: big-endian; positive numbers get the sign bit set, negative ones all bits
// inverted.
double decodeDouble(const std::uint8_t* p) {
    std::uint64_t v = loadBigEndian<std::uint64_t>(p);
    constexpr std::uint64_t sign = std::uint64_t{1} << 63;
    v = (v & sign) ? (v ^ sign) : ~v;
    return std::bit_cast<double>(v);
}

void encodeDouble(std::uint8_t* p, double d) {
    std::uint64_t v = std::bit_cast<std::uint64_t>(d);
    constexpr std::uint64_t sign = std::uint64_t{1} << 63;
    v = (v & sign) ? ~v : (v ^ sign);
    for (int i = 7; i >= 0; --i, v >>= 8)
        p[i] = static_cast<std::uint8_t>(v);
}

// BCD: byte 0 holds the sign (0x80: positive), 0x40 and the number of decimals; then 32
// digit nibbles, most significant first, all inverted for a negative number. A nibble
// above 9 (Paradox leaves such noise past a double's precision) counts with its
// positional weight and carries into the digit before it.
Decimal decodeBcd(const std::uint8_t* p, int decimals) {
    const bool negative = (p[0] & 0x80) == 0;
    const int scale = std::min(p[0] & 0x3F, kBcdDigits);
    std::array<int, kBcdDigits> nibbles{};
    for (int i = 0; i < kBcdDigits; ++i) {
        const int n = (p[1 + i / 2] >> ((i % 2) ? 0 : 4)) & 0x0F;
        nibbles[static_cast<std::size_t>(i)] = negative ? 15 - n : n;
    }
    std::string digits(kBcdDigits, '0');
    int carry = 0;
    for (int i = kBcdDigits - 1; i >= 0; --i) {
        const int v = nibbles[static_cast<std::size_t>(i)] + carry;
        digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + v % 10);
        carry = v / 10;
    }
    if (carry)
        digits.insert(digits.begin(), static_cast<char>('0' + carry));
    const std::size_t intLen = digits.size() - static_cast<std::size_t>(scale);
    std::string intPart = digits.substr(0, intLen);
    std::string frac = digits.substr(intLen);
    frac.resize(static_cast<std::size_t>(decimals), '0');
    intPart.erase(0, std::min(intPart.find_first_not_of('0'), intPart.size()));
    if (intPart.empty())
        intPart = "0";
    const bool zero = intPart == "0" && frac.find_first_not_of('0') == std::string::npos;
    std::string text = (negative && !zero ? "-" : "") + intPart;
    if (decimals > 0)
        text += "." + frac;
    return Decimal{std::move(text)};
}

void encodeBcd(std::uint8_t* p, const std::string& text, int decimals) {
    std::size_t pos = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative || (!text.empty() && text[0] == '+'))
        pos = 1;
    const std::size_t point = text.find('.', pos);
    const std::string intPart =
        text.substr(pos, point == std::string::npos ? std::string::npos : point - pos);
    std::string frac = point == std::string::npos ? "" : text.substr(point + 1);
    auto isDigits = [](const std::string& s) {
        return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    if (intPart.empty() || !isDigits(intPart) || !isDigits(frac))
        throw std::invalid_argument("not a decimal number: \"" + text + "\"");
    if (frac.size() > static_cast<std::size_t>(decimals))
        throw std::invalid_argument("\"" + text + "\" has more than " + std::to_string(decimals) +
                                    " decimals");
    frac.resize(static_cast<std::size_t>(decimals), '0');
    std::string digits = intPart + frac;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.size() > kBcdDigits)
        throw std::invalid_argument("\"" + text + "\" has more than 32 digits");
    const bool zero = digits.empty();
    digits.insert(0, kBcdDigits - digits.size(), '0');
    const bool neg = negative && !zero;
    p[0] = static_cast<std::uint8_t>((neg ? 0x00 : 0x80) | 0x40 | decimals);
    for (int i = 0; i < kBcdDigits; ++i) {
        int n = digits[static_cast<std::size_t>(i)] - '0';
        if (neg)
            n = 15 - n;
        std::uint8_t& b = p[1 + i / 2];
        b = static_cast<std::uint8_t>((i % 2) ? ((b & 0xF0) | n) : (n << 4));
    }
}

BlobRef readBlobRef(const std::uint8_t* p) {
    return BlobRef{bytes::getU32(p), bytes::getU32(p + 4), bytes::getU16(p + 8)};
}

void writeBlobRef(std::uint8_t* p, const BlobRef& ref) {
    bytes::putU32(p, ref.offsetAndIndex);
    bytes::putU32(p + 4, ref.length);
    bytes::putU16(p + 8, ref.modNumber);
}

// The blob's bytes live in the .mb when its length exceeds the leader.
bool inBlobFile(const BlobRef& ref, int leader) {
    return ref.offsetAndIndex != 0 && ref.length > static_cast<std::uint32_t>(leader);
}

template <typename T>
const T& expect(const Value& v, const FieldDef& f) {
    if (const T* p = std::get_if<T>(&v))
        return *p;
    throw std::invalid_argument(std::string("wrong kind of value for field ") + f.name + " (" +
                                typeName(f.type) + ")");
}

} // namespace

RecordCodec::RecordCodec(std::vector<FieldDef> fields, int codePage)
    : fields_(std::move(fields)), codePage_(codePage), text_(TextCodec::shared(codePage)) {
    for (const auto& f : fields_) {
        offsets_.push_back(recordSize_);
        recordSize_ += storedSize(f.type, f.size);
    }
    offsets_.push_back(recordSize_); // one past the last field: sizes without a type lookup
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const Slot slot{i, static_cast<std::size_t>(offsets_[i]),
                        static_cast<std::size_t>(offsets_[i + 1] - offsets_[i])};
        switch (fields_[i].type) {
        case FieldType::Short:
            plan_.shorts.push_back(slot);
            break;
        case FieldType::Long:
        case FieldType::AutoInc:
            plan_.longs.push_back(slot);
            break;
        case FieldType::Date:
            plan_.dates.push_back(slot);
            break;
        case FieldType::Number:
        case FieldType::Currency:
            plan_.doubles.push_back(slot);
            break;
        case FieldType::Alpha:
            addText(slot);
            break;
        default:
            plan_.others.push_back(slot);
            break;
        }
    }
}

void RecordCodec::addText(const Slot& slot) {
    const auto record = static_cast<std::size_t>(recordSize_);
    if (kStringsWithoutFill && text_->asciiSame() && slot.size <= 8) {
        const unsigned unused = static_cast<unsigned>(64 - 8 * slot.size);
        if (slot.offset + 8 <= record) { // the field and the bytes after it, which drop out
            plan_.shortTexts.push_back({slot, slot.offset, unused, unused});
            return;
        }
        if (slot.offset + slot.size >= 8) { // the bytes before the field and the field
            plan_.shortTexts.push_back({slot, slot.offset + slot.size - 8, 0, unused});
            return;
        }
    }
    if (text_->hasWideFields() && slot.size <= TextCodec::kWideField &&
        slot.offset + TextCodec::kWideField <= record) {
        plan_.wideTexts.push_back(slot);
        return;
    }
    plan_.alphas.push_back(slot);
}

Value RecordCodec::decode(std::span<const std::uint8_t> record, int field,
                          const BlobFile* blobs) const {
    return decodeAt(record, static_cast<std::size_t>(offsets_.at(static_cast<std::size_t>(field))),
                    field, blobs);
}

Value RecordCodec::decodeAt(std::span<const std::uint8_t> record, std::size_t offset, int field,
                            const BlobFile* blobs) const {
    const FieldDef& f = fields_.at(static_cast<std::size_t>(field));
    const int size =
        offsets_[static_cast<std::size_t>(field) + 1] - offsets_[static_cast<std::size_t>(field)];
    if (record.size() < offset + static_cast<std::size_t>(size))
        throw std::out_of_range("record shorter than its fields");
    const std::uint8_t* p = record.data() + offset;
    if (isBlobType(f.type)) {
        const int leader = size - kBlobPointerSize;
        const BlobRef ref = readBlobRef(p + leader);
        if (ref.length == 0)
            return Null{};
        std::vector<std::uint8_t> data;
        if (inBlobFile(ref, leader) && blobs)
            data = blobs->read(ref);
        else
            data.assign(
                p, p + std::min<std::uint32_t>(ref.length, static_cast<std::uint32_t>(leader)));
        if (isTextType(f.type))
            return text_->decode(data);
        return Bytes(std::move(data));
    }
    if (allZero(p, static_cast<std::size_t>(size)))
        return Null{};
    switch (f.type) {
    case FieldType::Alpha: {
        // The text ends at its first zero byte; an empty text is NULL.
        std::string text;
        if (!text_->decodeField({p, static_cast<std::size_t>(size)}, text))
            return Null{};
        return text;
    }
    case FieldType::Short:
        return decodeInt(p, 2);
    case FieldType::Long:
    case FieldType::AutoInc:
        return decodeInt(p, 4);
    case FieldType::Date:
        return Date{decodeInt(p, 4)};
    case FieldType::Time:
        return Time{decodeInt(p, 4)};
    case FieldType::Number:
    case FieldType::Currency:
        return decodeDouble(p);
    case FieldType::Timestamp:
        return Timestamp{decodeDouble(p)};
    case FieldType::Logical:
        return p[0] != 0x80;
    case FieldType::Bcd:
        return decodeBcd(p, f.decimals);
    case FieldType::Bytes:
        return Bytes(p, p + size);
    default:
        throw std::logic_error("unhandled field type");
    }
}

Record RecordCodec::decodeAll(std::span<const std::uint8_t> record, const BlobFile* blobs) const {
    Record out;
    decodeRows(record, 1, &out, blobs, false);
    return out;
}

void RecordCodec::decodeAllInto(std::span<const std::uint8_t> record, Record& out,
                                const BlobFile* blobs) const {
    decodeRows(record, 1, &out, blobs, true);
}

std::size_t RecordCodec::decodeBlockInto(std::span<const std::uint8_t> records,
                                         std::vector<Record>& out, const BlobFile* blobs) const {
    const std::size_t count = recordSize_ > 0 ? records.size() / recordSize_ : 0;
    if (out.size() < count)
        out.resize(count);
    decodeRows(records, count, out.data(), blobs, true);
    return count;
}

namespace {

// The records a decode works on: `count` of `stride` bytes from `data`, record i into
// `records[i]`. Each field is decoded in a loop over all of them, so that what the loop
// needs of the field (where it is, how wide) stays in registers.
struct Rows {
    const std::uint8_t* data;
    std::size_t stride;
    Record* records;
    std::size_t count;

    template <class Each>
    [[gnu::always_inline]] void each(std::size_t field, Each each) const {
        const std::uint8_t* row = data;
        for (std::size_t r = 0; r < count; ++r, row += stride)
            each(row, records[r].data()[field]);
    }
};

// A value of the kind `out` already holds is overwritten in place: no destructor of the
// old kind to dispatch to, no variant built and moved.
template <class T>
void put(Value& out, T value) {
    if (T* held = std::get_if<T>(&out))
        *held = value;
    else
        out.emplace<T>(value);
}

void putNull(Value& out) {
    if (!std::holds_alternative<Null>(out))
        out = Null{};
}

// The string a text value holds, made when the value held another kind.
std::string& textOf(Value& v) {
    if (auto* text = std::get_if<std::string>(&v))
        return *text;
    return v.emplace<std::string>();
}

// The fixed-size kinds read in one load each; all zero bytes are NULL.
template <class T, class Raw, class Slot, class Make>
[[gnu::always_inline]] inline void decodeFixed(std::span<const Slot> slots, const Rows& rows,
                                               Make make) {
    for (const auto& s : slots) {
        const std::size_t offset = s.offset;
        rows.each(s.field, [&](const std::uint8_t* row, Value& v) {
            if (const auto raw = loadBigEndian<Raw>(row + offset); raw != 0)
                put<T>(v, make(raw));
            else
                putNull(v);
        });
    }
}

// A text ends at its first zero byte: a zero first byte is an empty text, NULL.
template <class Slot, class Decode>
[[gnu::always_inline]] inline void decodeTexts(std::span<const Slot> slots, const Rows& rows,
                                               Decode decode) {
    for (const auto& s : slots) {
        const std::size_t offset = s.offset, size = s.size;
        rows.each(s.field, [&](const std::uint8_t* row, Value& v) {
            if (row[offset] == 0)
                putNull(v);
            else
                decode(row + offset, size, textOf(v));
        });
    }
}

// A text of up to eight bytes in one load: where its first zero byte or letter above 127
// is (as textscan::firstZeroOrHigh finds it), and the whole load stored into the string
// (whose inline room holds eight) when it is plain ASCII. A text with a letter above 127
// goes to `general`.
template <class Short, class General>
[[gnu::always_inline]] inline void decodeShortTexts(std::span<const Short> slots, const Rows& rows,
                                                    General general) {
#if defined(__cpp_lib_string_resize_and_overwrite)
    static_assert(std::endian::native == std::endian::little);
    for (const auto& s : slots) {
        const std::size_t offset = s.slot.offset, size = s.slot.size, load = s.load;
        const unsigned up = s.up, down = s.down;
        rows.each(s.slot.field, [&](const std::uint8_t* row, Value& v) {
            std::uint64_t bytes;
            std::memcpy(&bytes, row + load, 8);
            bytes = (bytes << up) >> down;
            const std::uint64_t hit = ((bytes - textscan::kOnes) | bytes) & textscan::kHighs;
            const auto length = static_cast<std::size_t>(std::countr_zero(hit) / 8); // 8: none
            if (length < size && ((bytes >> (8 * length)) & 0x80) != 0) {
                general(row + offset, size, textOf(v));
            } else if (length == 0) {
                putNull(v);
            } else {
                textOf(v).resize_and_overwrite(8, [&](char* to, std::size_t) {
                    std::memcpy(to, &bytes, 8);
                    return length;
                });
            }
        });
    }
#else
    (void)slots, (void)rows, (void)general; // never planned without it
#endif
}

} // namespace

void RecordCodec::decodeRows(std::span<const std::uint8_t> records, std::size_t count, Record* out,
                             const BlobFile* blobs, bool reuse) const {
    if (records.size() < count * static_cast<std::size_t>(recordSize_))
        throw std::out_of_range("record shorter than its fields");
    for (std::size_t r = 0; r < count; ++r)
        if (out[r].size() != fields_.size())
            out[r].resize(fields_.size());
    const Rows rows{records.data(), static_cast<std::size_t>(recordSize_), out, count};
    decodeFixed<std::int32_t, std::uint16_t>(
        std::span<const Slot>(plan_.shorts), rows, [](std::uint16_t raw) {
            return static_cast<std::int32_t>(static_cast<std::int16_t>(raw ^ 0x8000u));
        });
    decodeFixed<std::int32_t, std::uint32_t>(
        std::span<const Slot>(plan_.longs), rows,
        [](std::uint32_t raw) { return static_cast<std::int32_t>(raw ^ 0x80000000u); });
    decodeFixed<Date, std::uint32_t>(
        std::span<const Slot>(plan_.dates), rows,
        [](std::uint32_t raw) { return Date{static_cast<std::int32_t>(raw ^ 0x80000000u)}; });
    decodeFixed<double, std::uint64_t>(
        std::span<const Slot>(plan_.doubles), rows, [](std::uint64_t raw) {
            constexpr std::uint64_t sign = std::uint64_t{1} << 63;
            return std::bit_cast<double>((raw & sign) ? (raw ^ sign) : ~raw);
        });
    const TextCodec& text = *text_;
    const auto general = [&](const std::uint8_t* p, std::size_t size, std::string& to) {
        return text.decodeField({p, size}, to);
    };
    decodeShortTexts(std::span<const ShortText>(plan_.shortTexts), rows, general);
    if (reuse)
        decodeTexts(std::span<const Slot>(plan_.wideTexts), rows,
                    [&](const std::uint8_t* p, std::size_t size, std::string& to) {
                        return text.decodeWideField(p, size, to);
                    });
    else // a fresh record: its strings get no more room than their texts need
        decodeTexts(std::span<const Slot>(plan_.wideTexts), rows, general);
    decodeTexts(std::span<const Slot>(plan_.alphas), rows, general);
    for (const Slot& s : plan_.others)
        for (std::size_t r = 0; r < count; ++r)
            out[r][s.field] = decode(records.subspan(r * static_cast<std::size_t>(recordSize_)),
                                     static_cast<int>(s.field), blobs);
}

void RecordCodec::encode(const Value& value, int field, std::span<std::uint8_t> record,
                         BlobFile* blobs) const {
    const FieldDef& f = fields_.at(static_cast<std::size_t>(field));
    const int offset = offsets_[static_cast<std::size_t>(field)];
    const int size = offsets_[static_cast<std::size_t>(field) + 1] - offset;
    if (record.size() < static_cast<std::size_t>(offset + size))
        throw std::out_of_range("record shorter than its fields");
    std::uint8_t* p = record.data() + offset;

    if (isBlobType(f.type)) {
        const int leader = size - kBlobPointerSize;
        const BlobRef old = readBlobRef(p + leader);
        std::string data; // the blob's bytes, text already in the code page
        if (!isNull(value))
            data = isTextType(f.type) ? text_->encode(expect<std::string>(value, f)) : [&] {
                const Bytes& b = expect<Bytes>(value, f);
                return std::string(b.begin(), b.end());
            }();
        if (data.size() > static_cast<std::size_t>(leader) && !blobs)
            throw std::invalid_argument("a(z) " + f.name + " mező " + std::to_string(data.size()) +
                                        " bájtja nem fér el a rekordban, a blob fájl nélkül " +
                                        "nem írható");
        if (blobs && inBlobFile(old, leader))
            blobs->free(old);
        std::memset(p, 0, static_cast<std::size_t>(size));
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.data());
        std::memcpy(p, bytes, std::min(data.size(), static_cast<std::size_t>(leader)));
        BlobRef ref{0, static_cast<std::uint32_t>(data.size()), 0};
        if (data.size() > static_cast<std::size_t>(leader))
            ref = blobs->write({bytes, data.size()});
        writeBlobRef(p + leader, ref);
        return;
    }

    std::memset(p, 0, static_cast<std::size_t>(size));
    if (isNull(value))
        return;
    switch (f.type) {
    case FieldType::Alpha: {
        const std::string s =
            text_->encode(expect<std::string>(value, f), static_cast<std::size_t>(size));
        std::memcpy(p, s.data(), s.size());
        return;
    }
    case FieldType::Short:
        return encodeInt(p, 2, expect<std::int32_t>(value, f));
    case FieldType::Long:
    case FieldType::AutoInc:
        return encodeInt(p, 4, expect<std::int32_t>(value, f));
    case FieldType::Date:
        return encodeInt(p, 4, expect<Date>(value, f).days);
    case FieldType::Time:
        return encodeInt(p, 4, expect<Time>(value, f).ms);
    case FieldType::Number:
    case FieldType::Currency:
        return encodeDouble(p, expect<double>(value, f));
    case FieldType::Timestamp:
        return encodeDouble(p, expect<Timestamp>(value, f).ms);
    case FieldType::Logical:
        p[0] = expect<bool>(value, f) ? 0x81 : 0x80;
        return;
    case FieldType::Bcd:
        return encodeBcd(p, expect<Decimal>(value, f).text, f.decimals);
    case FieldType::Bytes: {
        const Bytes& b = expect<Bytes>(value, f);
        if (b.size() > static_cast<std::size_t>(size))
            throw std::invalid_argument("field " + f.name + ": " + std::to_string(b.size()) +
                                        " bytes do not fit in " + std::to_string(size));
        std::copy(b.begin(), b.end(), p);
        return;
    }
    default:
        throw std::logic_error("unhandled field type");
    }
}

void RecordCodec::freeBlobs(std::span<const std::uint8_t> record, BlobFile& blobs) const {
    for (std::size_t i = 0; i < fields_.size(); ++i) {
        const FieldDef& f = fields_[i];
        if (!isBlobType(f.type))
            continue;
        const int leader = storedSize(f.type, f.size) - kBlobPointerSize;
        const auto end = static_cast<std::size_t>(offsets_[i] + leader + kBlobPointerSize);
        if (record.size() < end)
            throw std::out_of_range("record shorter than its fields");
        const BlobRef ref = readBlobRef(record.data() + offsets_[i] + leader);
        if (inBlobFile(ref, leader))
            blobs.free(ref);
    }
}

} // namespace db
