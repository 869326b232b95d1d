// Field values to record bytes and back: the bytes Paradox itself stores (as the oracle
// shows them), NULL against zero, edge values of every type, text in the code page.

#include "platform/db/record_codec.h"
#include "platform/db/text_codec.h"
#include "platform/sys/codepage.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

using db::FieldType;

std::string hex(std::span<const std::uint8_t> bytes) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string s;
    for (const auto b : bytes) {
        s.push_back(digits[b >> 4]);
        s.push_back(digits[b & 15]);
    }
    return s;
}

db::RecordCodec single(FieldType type, int size = 0, int decimals = 0, int codePage = 1250) {
    return db::RecordCodec({{"f", type, db::storedSize(type, size), decimals}}, codePage);
}

std::string encodeHex(const db::RecordCodec& c, const db::Value& v) {
    std::vector<std::uint8_t> record(static_cast<std::size_t>(c.recordSize()), 0xEE);
    c.encode(v, 0, record);
    return hex(record);
}

db::Value roundTrip(const db::RecordCodec& c, const db::Value& v) {
    std::vector<std::uint8_t> record(static_cast<std::size_t>(c.recordSize()), 0xEE);
    c.encode(v, 0, record);
    return c.decode(record, 0);
}

// Bytes copied from the oracle's raw dump of fixture tables.
TEST(RecordCodec, StoresTheBytesParadoxStores) {
    struct Case {
        db::RecordCodec codec;
        db::Value value;
        std::string bytes;
    };
    const Case cases[] = {
        {single(FieldType::Long), 123456, "8001e240"},
        {single(FieldType::Long), -7, "7ffffff9"},
        {single(FieldType::AutoInc), 1, "80000001"},
        {single(FieldType::Short), 42, "802a"},
        {single(FieldType::Short), -3, "7ffd"},
        {single(FieldType::Number), 12.5, "c029000000000000"},
        {single(FieldType::Number), -0.125, "403fffffffffffff"},
        {single(FieldType::Currency), 1234.56, "c0934a3d70a3d70a"},
        {single(FieldType::Date), db::Date{738960}, "800b4690"},
        {single(FieldType::Time), db::Time{30600000}, "81d2eb40"},
        {single(FieldType::Timestamp), db::Timestamp{63846174615250.0}, "c2cd08ac47736900"},
        {single(FieldType::Logical), true, "81"},
        {single(FieldType::Logical), false, "80"},
        {single(FieldType::Bcd, 0, 2), db::Decimal{"1234.56"},
         "c200000000000000000000000000123456"},
        {single(FieldType::Bcd, 0, 2), db::Decimal{"-0.01"}, "42fffffffffffffffffffffffffffffffe"},
        {single(FieldType::Bcd, 0, 0), db::Decimal{"-1"}, "40fffffffffffffffffffffffffffffffe"},
        {single(FieldType::Alpha, 6), std::string("rövid"), "72f676696400"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encodeHex(c.codec, c.value), c.bytes);
        EXPECT_EQ(roundTrip(c.codec, c.value), c.value) << c.bytes;
    }
}

TEST(RecordCodec, NullIsAllZeroAndDistinctFromZero) {
    struct Case {
        db::RecordCodec codec;
        db::Value zero;
    };
    const Case cases[] = {
        {single(FieldType::Long), 0},
        {single(FieldType::Short), 0},
        {single(FieldType::AutoInc), 0},
        {single(FieldType::Number), 0.0},
        {single(FieldType::Currency), 0.0},
        {single(FieldType::Date), db::Date{0}},
        {single(FieldType::Time), db::Time{0}},
        {single(FieldType::Timestamp), db::Timestamp{0}},
        {single(FieldType::Logical), false},
        {single(FieldType::Bcd, 0, 2), db::Decimal{"0.00"}},
        {single(FieldType::Bytes, 3), db::Bytes{0, 0, 1}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(encodeHex(c.codec, db::Null{}), std::string(2 * c.codec.recordSize(), '0'));
        EXPECT_TRUE(db::isNull(roundTrip(c.codec, db::Null{})));
        EXPECT_EQ(roundTrip(c.codec, c.zero), c.zero);
    }
    // An empty text is NULL: the field cannot tell them apart.
    EXPECT_TRUE(db::isNull(roundTrip(single(FieldType::Alpha, 5), std::string())));
    // A Bytes value starting with a zero byte is still a value.
    EXPECT_EQ(roundTrip(single(FieldType::Bytes, 4), db::Bytes{0, 1, 2, 3}),
              db::Value(db::Bytes{0, 1, 2, 3}));
    EXPECT_EQ(roundTrip(single(FieldType::Bytes, 4), db::Bytes{7}),
              db::Value(db::Bytes{7, 0, 0, 0}));
}

TEST(RecordCodec, EdgeValuesRoundTrip) {
    const auto i32 = single(FieldType::Long);
    for (const std::int32_t v : {std::numeric_limits<std::int32_t>::max(), -2147483647, -1, 1})
        EXPECT_EQ(roundTrip(i32, v), db::Value(v));
    const auto i16 = single(FieldType::Short);
    for (const std::int32_t v : {32767, -32767})
        EXPECT_EQ(roundTrip(i16, v), db::Value(v));
    // The most negative value would be stored as all zeros, which means NULL.
    EXPECT_THROW(roundTrip(i32, std::numeric_limits<std::int32_t>::min()), std::invalid_argument);
    EXPECT_THROW(roundTrip(i16, -32768), std::invalid_argument);
    EXPECT_THROW(roundTrip(i16, 40000), std::invalid_argument);

    const auto d = single(FieldType::Date);
    for (const std::int32_t day : {1, 693595 /* 1899-12-31 */, 3652059 /* 9999-12-31 */})
        EXPECT_EQ(roundTrip(d, db::Date{day}), db::Value(db::Date{day}));
    EXPECT_EQ(roundTrip(single(FieldType::Time), db::Time{86399999}),
              db::Value(db::Time{86399999}));

    const auto n = single(FieldType::Number);
    for (const double v : {1e300, -1e-300, 0.1, -0.0, 4.9e-324, -123456789.125})
        EXPECT_EQ(std::bit_cast<std::uint64_t>(std::get<double>(roundTrip(n, v))),
                  std::bit_cast<std::uint64_t>(v));
    const double stamp = 59926694400000.0 + 0.5; // 1900-01-01 plus half a millisecond
    EXPECT_EQ(roundTrip(single(FieldType::Timestamp), db::Timestamp{stamp}),
              db::Value(db::Timestamp{stamp}));
}

TEST(RecordCodec, BcdKeepsItsDecimals) {
    const auto two = single(FieldType::Bcd, 0, 2);
    EXPECT_EQ(roundTrip(two, db::Decimal{"-12.50"}), db::Value(db::Decimal{"-12.50"}));
    EXPECT_EQ(roundTrip(two, db::Decimal{"1.5"}), db::Value(db::Decimal{"1.50"}));
    EXPECT_EQ(roundTrip(two, db::Decimal{"-0.00"}), db::Value(db::Decimal{"0.00"}));
    EXPECT_EQ(roundTrip(two, db::Decimal{"007"}), db::Value(db::Decimal{"7.00"}));
    EXPECT_THROW(roundTrip(two, db::Decimal{"1.005"}), std::invalid_argument);
    EXPECT_THROW(roundTrip(two, db::Decimal{"12a"}), std::invalid_argument);
    EXPECT_THROW(roundTrip(two, db::Decimal{"."}), std::invalid_argument);

    const std::string maxDigits(32, '9');
    EXPECT_EQ(roundTrip(single(FieldType::Bcd, 0, 0), db::Decimal{maxDigits}),
              db::Value(db::Decimal{maxDigits}));
    EXPECT_THROW(roundTrip(single(FieldType::Bcd, 0, 0), db::Decimal{"1" + maxDigits}),
                 std::invalid_argument);
    const std::string allDecimals = "-0.12345678901234567890123456789012";
    EXPECT_EQ(roundTrip(single(FieldType::Bcd, 0, 32), db::Decimal{allDecimals}),
              db::Value(db::Decimal{allDecimals}));

    // Nibbles above 9 carry into the digit before them: ...0 b0 -> ...1 10.
    std::vector<std::uint8_t> noisy(17, 0);
    noisy[0] = 0xC0 | 4;
    noisy[15] = 0x0B;
    noisy[16] = 0xA5;
    EXPECT_EQ(single(FieldType::Bcd, 0, 4).decode(noisy, 0), db::Value(db::Decimal{"0.1205"}));
}

TEST(RecordCodec, TextInTheTablesCodePage) {
    const std::string hungarian = "Árvíztűrő tükörfúrógép ÁRVÍZTŰRŐ";
    for (const int cp : {1250, 852}) {
        const auto a = single(FieldType::Alpha, 40, 0, cp);
        EXPECT_EQ(roundTrip(a, hungarian), db::Value(hungarian)) << cp;
    }
    // ő is 0xF5 in 1250 and 0x8B in 852.
    EXPECT_EQ(encodeHex(single(FieldType::Alpha, 1, 0, 1250), std::string("ő")), "f5");
    EXPECT_EQ(encodeHex(single(FieldType::Alpha, 1, 0, 852), std::string("ő")), "8b");
    // Cut to the width in characters, not in UTF-8 bytes.
    EXPECT_EQ(roundTrip(single(FieldType::Alpha, 5), std::string("Árvíztűrő")),
              db::Value(std::string("Árvíz")));
    EXPECT_THROW(roundTrip(single(FieldType::Alpha, 5, 0, 852), std::string("5 €")),
                 sys::EncodingError);
    // A character past the cut does not matter.
    EXPECT_EQ(roundTrip(single(FieldType::Alpha, 3, 0, 852), std::string("abc€")),
              db::Value(std::string("abc")));
    EXPECT_THROW(roundTrip(single(FieldType::Alpha, 5), std::string("\xC3")), sys::EncodingError);
}

TEST(RecordCodec, WrongKindOfValueIsRejected) {
    EXPECT_THROW(roundTrip(single(FieldType::Long), std::string("1")), std::invalid_argument);
    EXPECT_THROW(roundTrip(single(FieldType::Number), 1), std::invalid_argument);
    EXPECT_THROW(roundTrip(single(FieldType::Alpha, 3), 1.0), std::invalid_argument);
    EXPECT_THROW(roundTrip(single(FieldType::Bytes, 2), db::Bytes{1, 2, 3}), std::invalid_argument);
}

TEST(RecordCodec, BlobInTheLeaderNeedsNoBlobFile) {
    const auto memo = single(FieldType::Memo, 20); // 10 bytes of leader
    EXPECT_EQ(encodeHex(memo, std::string("rövid")), "72f67669640000000000"
                                                     "00000000"
                                                     "05000000"
                                                     "0000");
    EXPECT_EQ(roundTrip(memo, std::string("rövid")), db::Value(std::string("rövid")));
    EXPECT_TRUE(db::isNull(roundTrip(memo, db::Null{})));
    EXPECT_THROW(roundTrip(memo, std::string(11, 'x')), std::invalid_argument);
    const auto blob = single(FieldType::Blob, 10); // no leader at all
    EXPECT_THROW(roundTrip(blob, db::Bytes{1}), std::invalid_argument);
}

TEST(TextCodec, TableAgreesWithTheSystemConversion) {
    for (const int cp : {1250, 852, 437, 850, 1252, 0}) {
        const db::TextCodec codec(cp);
        for (int b = 1; b < 256; ++b) {
            const std::string byte(1, static_cast<char>(b));
            const std::string utf8 = sys::toUtf8(byte, cp);
            const std::uint8_t raw = static_cast<std::uint8_t>(b);
            ASSERT_EQ(codec.decode({&raw, 1}), utf8) << cp << " byte " << b;
            if (utf8 != "\xEF\xBF\xBD") {
                ASSERT_EQ(codec.encode(utf8), sys::fromUtf8(utf8, cp)) << cp << " byte " << b;
            }
        }
    }
    EXPECT_THROW(db::TextCodec(54321).decode(std::vector<std::uint8_t>{65}), sys::EncodingError);
}

// A text field's bytes are read a word at a time: whatever the field's width, where its
// zero byte falls and which bytes are above 127, the text is the one the bytes up to the
// first zero give, and an empty one is none.
TEST(TextCodec, FieldTextEndsAtItsFirstZeroByte) {
    constexpr std::uint8_t kAlphabet[] = {0, 'a', 'Z', 0x01, 0x7F, 0x80, 0xE1, 0xF5, 0xFF};
    std::mt19937 rng(11);
    for (const int cp : {1250, 852, 437}) {
        const db::TextCodec codec(cp);
        std::string out = "left from before";
        for (int n = 0; n < 3000; ++n) {
            const std::size_t size = static_cast<std::size_t>(n % 40);
            std::vector<std::uint8_t> buffer(size + 3);
            const auto field = std::span(buffer).subspan(static_cast<std::size_t>(n % 3), size);
            const bool ascii = n % 2 == 0; // half of them plain text up to the zero
            for (auto& b : field)
                b = ascii ? static_cast<std::uint8_t>('a' + rng() % 26)
                          : kAlphabet[rng() % std::size(kAlphabet)];
            if (size > 0 && rng() % 2)
                field[rng() % size] = 0;
            const auto zero = std::find(field.begin(), field.end(), 0);
            const std::string expected =
                codec.decode({field.data(), static_cast<std::size_t>(zero - field.begin())});
            const std::string before = out;
            const bool some = codec.decodeField(field, out);
            ASSERT_EQ(some, !expected.empty()) << cp << " case " << n;
            ASSERT_EQ(out, some ? expected : before) << cp << " case " << n;
        }
    }
}

} // namespace

// One record reused for row after row, and for rows of another layout: each field ends
// up as decodeAll gives it, whatever kind, length or NULL the record held there before
// (a text where a number was, a NULL text after a long one, more or fewer fields).
TEST(RecordCodec, DecodingIntoAReusedRecordGivesWhatDecodingAfreshGives) {
    const db::RecordCodec codec({{"Nev", FieldType::Alpha, 20, 0},
                                 {"Db", FieldType::Short, 2, 0},
                                 {"Kod", FieldType::Alpha, 1, 0},
                                 {"Ter", FieldType::Number, 8, 0},
                                 {"Datum", FieldType::Date, 4, 0},
                                 {"Sorszam", FieldType::Long, 4, 0}},
                                1250);
    const std::vector<db::Record> rows = {
        {std::string("árvíztűrő tükörfúró"), 7, std::string("A"), 1.5, db::Date{730000}, 1},
        {db::Null{}, db::Null{}, db::Null{}, db::Null{}, db::Null{}, db::Null{}},
        {std::string("zab"), -3, std::string("ő"), -0.25, db::Date{1}, -2},
        {std::string("őszi búza"), db::Null{}, std::string("N"), 0.0, db::Null{}, 0},
        {db::Null{}, 32767, db::Null{}, db::Null{}, db::Date{-5}, db::Null{}},
    };
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(codec.recordSize()));
    const std::vector<db::Record> before = {
        {}, // empty
        {1, std::string("long text left from another table"), 2.0, db::Null{}, true, 5, 6,
         std::string("more fields than the layout")},
        {std::string("a"), std::string("b"), std::string("c"), std::string("d"), std::string("e"),
         std::string("f")},
    };
    for (const db::Record& start : before) {
        db::Record into = start;
        for (const auto& row : rows) {
            std::fill(raw.begin(), raw.end(), 0);
            for (std::size_t f = 0; f < row.size(); ++f)
                codec.encode(row[f], static_cast<int>(f), raw);
            codec.decodeAllInto(raw, into);
            ASSERT_EQ(into, codec.decodeAll(raw));
            ASSERT_EQ(into, row);
        }
    }
}

// Whole records decode field for field as each field alone does, for every kind of
// field, whatever bytes the record holds (NULL fields, texts with bytes above 127 and
// zeros inside, numbers of any bit pattern).
TEST(RecordCodec, AWholeRecordDecodesAsItsFieldsOneByOne) {
    const std::vector<FieldType> types = {
        FieldType::Alpha,    FieldType::Short,   FieldType::Long,      FieldType::AutoInc,
        FieldType::Date,     FieldType::Time,    FieldType::Timestamp, FieldType::Number,
        FieldType::Currency, FieldType::Logical, FieldType::Bytes,     FieldType::Alpha};
    std::vector<db::FieldDef> fields;
    for (std::size_t i = 0; i < types.size(); ++i) {
        const int size = types[i] == FieldType::Alpha ? 12 : types[i] == FieldType::Bytes ? 5 : 0;
        fields.push_back({"f" + std::to_string(i), types[i], db::storedSize(types[i], size), 0});
    }
    fields.push_back({"bcd", FieldType::Bcd, db::storedSize(FieldType::Bcd, 0), 2});
    const db::RecordCodec codec(fields, 1250);
    const auto same = [](const db::Value& a, const db::Value& b) { // NaN as its bits
        if (const auto* x = std::get_if<double>(&a))
            if (const auto* y = std::get_if<double>(&b))
                return std::bit_cast<std::uint64_t>(*x) == std::bit_cast<std::uint64_t>(*y);
        return a == b;
    };
    std::mt19937 rng(5);
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(codec.recordSize()));
    for (int n = 0; n < 2000; ++n) {
        for (std::size_t f = 0; f + 1 < fields.size(); ++f) {
            const auto begin = raw.begin() + codec.offset(static_cast<int>(f));
            const auto end = raw.begin() + codec.offset(static_cast<int>(f) + 1);
            const bool null = rng() % 4 == 0;
            std::generate(begin, end, [&] { return null ? 0 : static_cast<std::uint8_t>(rng()); });
        }
        codec.encode(n % 5 ? db::Value(db::Decimal{std::to_string(n) + ".25"}) : db::Null{},
                     static_cast<int>(fields.size()) - 1, raw);
        const db::Record whole = codec.decodeAll(raw);
        ASSERT_EQ(whole.size(), fields.size());
        for (std::size_t f = 0; f < fields.size(); ++f)
            ASSERT_TRUE(same(whole[f], codec.decode(raw, static_cast<int>(f))))
                << "record " << n << ", field " << fields[f].name;
    }
}

// Texts of every width and place in the record (the first and last bytes of it, fields up
// to 32 bytes and wider, a record narrower than eight bytes) with letters above 127 at
// any place, zeros inside and no zero at all: a block of records decodes as each record
// alone does, reused row after row or not, and as its fields one by one.
TEST(RecordCodec, ABlockOfRecordsDecodesAsEachRecordAndEachFieldAlone) {
    constexpr std::uint8_t kAlphabet[] = {0,    'a',  'Z',  ' ',  0x01, 0x7F, 0x80,
                                          0x84, 0x96, 0xA0, 0xE1, 0xF5, 0xFF};
    const std::vector<std::vector<int>> layouts = {
        {1, 8, 6, 30, 32, 9, 12, 1}, // short texts at both ends, wide ones, one near the end
        {3},                         // narrower than one load
        {33, 7},                     // wider than the wide path, a short text after it
        {2, 16, 17, 31, 5},
    };
    std::mt19937 rng(17);
    for (const int cp : {1250, 852, 437}) {
        for (const auto& widths : layouts) {
            std::vector<db::FieldDef> fields;
            for (const int w : widths)
                fields.push_back({"t" + std::to_string(fields.size()), FieldType::Alpha, w, 0});
            fields.insert(fields.begin() + 1, {"n", FieldType::Long, 4, 0});
            const db::RecordCodec codec(fields, cp);
            const auto size = static_cast<std::size_t>(codec.recordSize());
            std::vector<db::Record> block;
            db::Record reused;
            for (int round = 0; round < 40; ++round) {
                const std::size_t count = 1 + rng() % 70;
                std::vector<std::uint8_t> raw(count * size + rng() % size); // and a part record
                for (auto& b : raw) {
                    const auto pick = rng() % 8;
                    b = pick < 5 ? static_cast<std::uint8_t>('a' + rng() % 26)
                                 : kAlphabet[rng() % std::size(kAlphabet)];
                }
                ASSERT_EQ(codec.decodeBlockInto(raw, block), count);
                for (std::size_t r = 0; r < count; ++r) {
                    const auto record = std::span(raw).subspan(r * size, size);
                    const db::Record alone = codec.decodeAll(record);
                    ASSERT_EQ(block[r], alone) << cp << ", round " << round << ", record " << r;
                    codec.decodeAllInto(record, reused);
                    ASSERT_EQ(reused, alone) << cp << ", round " << round << ", record " << r;
                    for (std::size_t f = 0; f < fields.size(); ++f)
                        ASSERT_EQ(alone[f], codec.decode(record, static_cast<int>(f)))
                            << cp << ", field " << f;
                }
            }
        }
    }
}

// The records of `out` past the block's are left as they were.
TEST(RecordCodec, ABlockDecodesIntoTheFirstRecordsOfItsBuffer) {
    const db::RecordCodec codec({{"Kod", FieldType::Alpha, 4, 0}, {"Db", FieldType::Short, 2, 0}},
                                1250);
    std::vector<db::Record> out(3, db::Record{std::string("régi"), 9});
    std::vector<std::uint8_t> raw(static_cast<std::size_t>(2 * codec.recordSize()), 0);
    codec.encode(std::string("ág"), 0, raw);
    codec.encode(5, 1, std::span(raw).subspan(static_cast<std::size_t>(codec.recordSize())));
    ASSERT_EQ(codec.decodeBlockInto(raw, out), 2u);
    EXPECT_EQ(out[0], (db::Record{std::string("ág"), db::Null{}}));
    EXPECT_EQ(out[1], (db::Record{db::Null{}, 5}));
    EXPECT_EQ(out[2], (db::Record{std::string("régi"), 9}));
    EXPECT_EQ(codec.decodeBlockInto({}, out), 0u);
}
