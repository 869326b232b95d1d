#include "platform/db/field_value.h"
#include "platform/db/record_codec.h"
#include "platform/sys/codepage.h"

#include <cstdint>
#include <functional>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace {

using db::FieldDef;
using db::FieldType;
using db::Value;
using ::testing::HasSubstr;

FieldDef field(FieldType type, int size = 0, int decimals = 0) {
    return {"Darab", type, size, decimals};
}

FieldDef fieldOf(char letter) {
    const FieldType type = *db::typeFromLetter(letter);
    const int size = type == FieldType::Alpha ? 20 : db::isBlobType(type) ? 60 : 10;
    return field(type, size, type == FieldType::Bcd ? 2 : 0);
}

// The message of the ConversionError `action` throws; fails the test if it throws none.
std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const sys::ConversionError& e) {
        return e.what();
    }
    ADD_FAILURE() << "no ConversionError";
    return "";
}

// The value after writing it into a record and reading it back, as a table would.
Value throughRecord(const Value& value, const FieldDef& f) {
    const db::RecordCodec codec({{f.name, f.type, db::storedSize(f.type, f.size), f.decimals}},
                                1250);
    std::vector<std::uint8_t> record(static_cast<std::size_t>(codec.recordSize()));
    codec.encode(value, 0, record);
    return codec.decode(record, 0);
}

constexpr std::int32_t kDay20100305 = 693594 + 40242; // D units: day 1 is 0001-01-01
constexpr std::int32_t kMsPerDay = 86400000;
constexpr std::int32_t k0905 = (9 * 60 + 5) * 60000;

// NULL -------------------------------------------------------------------------------------

TEST(FieldValueNull, ReadsAsEmptyZeroAndFalseForEveryType) {
    for (const char letter : std::string("ADSI$NLMBFOGT@+#Y")) {
        const FieldDef f = fieldOf(letter);
        SCOPED_TRACE(letter);
        EXPECT_EQ(db::valueAsString(db::Null{}, f), "");
        EXPECT_EQ(db::valueAsInteger(db::Null{}, f), 0);
        EXPECT_EQ(db::valueAsFloat(db::Null{}, f), 0.0);
        EXPECT_EQ(db::valueAsDateTime(db::Null{}, f), 0.0);
        EXPECT_FALSE(db::valueAsBoolean(db::Null{}, f));
    }
}

TEST(FieldValueNull, EmptyTextMakesEveryTypeNull) {
    for (const char letter : std::string("ADSI$NLMBFOGT@+#Y")) {
        SCOPED_TRACE(letter);
        EXPECT_TRUE(db::isNull(db::valueFromString("", fieldOf(letter))));
    }
}

TEST(FieldValueNull, BlanksMakeANonTextFieldNullButStayInText) {
    EXPECT_TRUE(db::isNull(db::valueFromString("   ", field(FieldType::Long))));
    EXPECT_TRUE(db::isNull(db::valueFromString(" ", field(FieldType::Date))));
    EXPECT_EQ(db::valueFromString("  ", field(FieldType::Alpha, 10)), Value(std::string("  ")));
}

// Round trips --------------------------------------------------------------------------------

TEST(FieldValueRoundTrip, TextReadsBackAsWrittenForEveryType) {
    const std::vector<std::pair<char, std::string>> cases = {
        {'A', "Kovács Ödön"},
        {'M', "első sor\nmásodik sor"},
        {'S', "-32767"},
        {'I', "2147483647"},
        {'+', "17"},
        {'N', "-1234,56"},
        {'$', "0,1"},
        {'#', "12,5"},
        {'#', "-0,05"},
        {'D', "2010. 03. 05."},
        {'D', "1848. 03. 15."},
        {'T', "9:05:03"},
        {'T', "23:59:59"},
        {'@', "2010. 03. 05. 9:05:03"},
        {'@', "1848. 03. 15."},
        {'L', "True"},
        {'L', "False"},
    };
    for (const auto& [letter, text] : cases) {
        SCOPED_TRACE(std::string(1, letter) + " " + text);
        const FieldDef f = fieldOf(letter);
        const Value stored = db::valueFromString(text, f);
        EXPECT_EQ(db::valueAsString(stored, f), text);
        EXPECT_EQ(db::valueAsString(throughRecord(stored, f), f), text);
    }
}

// Integers -----------------------------------------------------------------------------------

TEST(FieldValueInteger, ReadsAndWritesDecimalText) {
    const FieldDef f = field(FieldType::Long);
    EXPECT_EQ(db::valueFromString(" +42 ", f), Value(std::int32_t{42}));
    EXPECT_EQ(db::valueAsString(std::int32_t{-7}, f), "-7");
    EXPECT_EQ(db::valueAsInteger(std::int32_t{-7}, f), -7);
    EXPECT_EQ(db::valueAsFloat(std::int32_t{-7}, f), -7.0);
    EXPECT_TRUE(db::valueAsBoolean(std::int32_t{-7}, f));
    EXPECT_FALSE(db::valueAsBoolean(std::int32_t{0}, f));
}

TEST(FieldValueInteger, RefusesFractionsAndWordsNamingThem) {
    const FieldDef f = field(FieldType::Long);
    EXPECT_EQ(errorOf([&] { db::valueFromString("12,5", f); }), "'12,5' nem érvényes egész szám.");
    EXPECT_EQ(errorOf([&] { db::valueFromString("abc", field(FieldType::Short)); }),
              "'abc' nem érvényes egész szám.");
}

// The smallest 16- and 32-bit values are left out: stored, they would read back as NULL.
TEST(FieldValueInteger, ShortKeepsTo16BitsWithoutTheSmallest) {
    const FieldDef s = field(FieldType::Short);
    EXPECT_EQ(db::valueFromString("32767", s), Value(std::int32_t{32767}));
    EXPECT_EQ(db::valueFromString("-32767", s), Value(std::int32_t{-32767}));
    EXPECT_THAT(errorOf([&] { db::valueFromString("32768", s); }),
                HasSubstr("'32768' kívül esik a(z) 'Darab' mező tartományán (-32767..32767)"));
    EXPECT_THAT(errorOf([&] { db::valueFromString("-32768", s); }), HasSubstr("'-32768'"));
    EXPECT_THAT(errorOf([&] { db::valueFromInteger(40000, s); }), HasSubstr("'40000'"));
    EXPECT_THAT(errorOf([&] { db::valueFromFloat(32767.5, s); }), HasSubstr("'32767,5'"));
    EXPECT_EQ(db::valueFromInteger(40000, field(FieldType::Long)), Value(std::int32_t{40000}));
}

TEST(FieldValueInteger, LongAndAutoIncKeepTo32BitsWithoutTheSmallest) {
    EXPECT_THAT(errorOf([&] { db::valueFromString("2147483648", field(FieldType::Long)); }),
                HasSubstr("'2147483648'"));
    EXPECT_THAT(errorOf([&] { db::valueFromInteger(2147483648LL, field(FieldType::AutoInc)); }),
                HasSubstr("'2147483648'"));
    EXPECT_EQ(db::valueFromInteger(-2147483647LL, field(FieldType::Long)),
              Value(std::int32_t{-2147483647}));
    EXPECT_THAT(errorOf([&] { db::valueFromString("-2147483648", field(FieldType::Long)); }),
                HasSubstr("'-2147483648'"));
    EXPECT_THAT(errorOf([&] { db::valueFromFloat(1e300, field(FieldType::Long)); }),
                HasSubstr("'1E300'"));
}

TEST(FieldValueInteger, FloatsRoundToNearestHalvesToEven) {
    const FieldDef f = field(FieldType::Long);
    EXPECT_EQ(db::valueFromFloat(2.5, f), Value(std::int32_t{2}));
    EXPECT_EQ(db::valueFromFloat(3.5, f), Value(std::int32_t{4}));
    EXPECT_EQ(db::valueFromFloat(-2.5, f), Value(std::int32_t{-2}));
    EXPECT_EQ(db::valueFromFloat(2.51, f), Value(std::int32_t{3}));
    EXPECT_EQ(db::valueFromFloat(-2.7, f), Value(std::int32_t{-3}));
    const FieldDef n = field(FieldType::Number);
    EXPECT_EQ(db::valueAsInteger(0.5, n), 0);
    EXPECT_EQ(db::valueAsInteger(1.5, n), 2);
    EXPECT_EQ(db::valueAsInteger(-1.49, n), -1);
    EXPECT_THAT(errorOf([&] { db::valueAsInteger(1e10, n); }), HasSubstr("'10000000000'"));
}

// Floats and the decimal comma -----------------------------------------------------------------

TEST(FieldValueFloat, ShowsTheDecimalCommaAndReadsCommaOrPoint) {
    const FieldDef n = field(FieldType::Number);
    EXPECT_EQ(db::valueAsString(12.5, n), "12,5");
    EXPECT_EQ(db::valueAsString(1.0 / 3, field(FieldType::Currency)), "0,333333333333333");
    EXPECT_EQ(db::valueFromString("12,5", n), Value(12.5));
    EXPECT_EQ(db::valueFromString("12.5", n), Value(12.5));
    EXPECT_EQ(db::valueFromString("-1,5E3", n), Value(-1500.0));
    EXPECT_EQ(db::valueAsFloat(std::string("3,25"), field(FieldType::Alpha, 10)), 3.25);
}

TEST(FieldValueFloat, RefusesBadTextNamingIt) {
    const FieldDef n = field(FieldType::Number);
    EXPECT_EQ(errorOf([&] { db::valueFromString("abc", n); }), "'abc' nem érvényes szám.");
    EXPECT_EQ(errorOf([&] { db::valueFromString("1 234,5", n); }), "'1 234,5' nem érvényes szám.");
    EXPECT_EQ(errorOf([&] { db::valueFromString("1,2,3", field(FieldType::Bcd, 0, 2)); }),
              "'1,2,3' nem érvényes szám.");
    EXPECT_THAT(errorOf([&] { db::valueFromFloat(std::numeric_limits<double>::infinity(), n); }),
                HasSubstr("'INF'"));
}

// BCD ------------------------------------------------------------------------------------------

TEST(FieldValueBcd, StoresCanonicalTextWithTheFieldsDecimals) {
    const FieldDef f = field(FieldType::Bcd, 0, 2);
    EXPECT_EQ(db::valueFromString("12,5", f), Value(db::Decimal{"12.50"}));
    EXPECT_EQ(db::valueFromString("12.5", f), Value(db::Decimal{"12.50"}));
    EXPECT_EQ(db::valueFromString("-007", f), Value(db::Decimal{"-7.00"}));
    EXPECT_EQ(db::valueFromString(",5", f), Value(db::Decimal{"0.50"}));
    EXPECT_EQ(db::valueFromString("1,5E3", f), Value(db::Decimal{"1500.00"}));
    EXPECT_EQ(db::valueFromInteger(7, f), Value(db::Decimal{"7.00"}));
    EXPECT_EQ(db::valueFromBoolean(true, f), Value(db::Decimal{"1.00"}));
    EXPECT_EQ(db::valueFromString("12,5", field(FieldType::Bcd, 0, 0)), Value(db::Decimal{"13"}));
    EXPECT_EQ(throughRecord(db::valueFromString("-12,5", f), f), Value(db::Decimal{"-12.50"}));
}

TEST(FieldValueBcd, RoundsHalvesAwayFromZero) {
    const FieldDef f = field(FieldType::Bcd, 0, 2);
    EXPECT_EQ(db::valueFromString("2,345", f), Value(db::Decimal{"2.35"}));
    EXPECT_EQ(db::valueFromString("-2,345", f), Value(db::Decimal{"-2.35"}));
    EXPECT_EQ(db::valueFromString("2,3449", f), Value(db::Decimal{"2.34"}));
    EXPECT_EQ(db::valueFromString("9,999", f), Value(db::Decimal{"10.00"}));
    EXPECT_EQ(db::valueFromString("-0,004", f), Value(db::Decimal{"0.00"}));
    // A double's binary error does not decide the rounding: 1.005 is 1.00499999...
    EXPECT_EQ(db::valueFromFloat(1.005, f), Value(db::Decimal{"1.01"}));
    EXPECT_EQ(db::valueFromFloat(0.1, field(FieldType::Bcd, 0, 4)), Value(db::Decimal{"0.1000"}));
    EXPECT_EQ(db::valueFromFloat(1e-5, f), Value(db::Decimal{"0.00"}));
}

TEST(FieldValueBcd, RefusesMoreThan32Digits) {
    const FieldDef f = field(FieldType::Bcd, 0, 2);
    EXPECT_EQ(db::valueFromString(std::string(30, '9'), f),
              Value(db::Decimal{std::string(30, '9') + ".00"}));
    EXPECT_THAT(errorOf([&] { db::valueFromString(std::string(31, '9'), f); }),
                HasSubstr("'" + std::string(31, '9') + "'"));
    EXPECT_THAT(errorOf([&] { db::valueFromFloat(1e40, f); }), HasSubstr("'1E40'"));
}

TEST(FieldValueBcd, ReadsWithoutTrailingZeros) {
    const FieldDef f = field(FieldType::Bcd, 0, 2);
    EXPECT_EQ(db::valueAsString(db::Decimal{"12.50"}, f), "12,5");
    EXPECT_EQ(db::valueAsString(db::Decimal{"-0.50"}, f), "-0,5");
    EXPECT_EQ(db::valueAsString(db::Decimal{"100.00"}, f), "100");
    EXPECT_EQ(db::valueAsString(db::Decimal{"0.00"}, f), "0");
    EXPECT_EQ(db::valueAsString(db::Decimal{"120"}, field(FieldType::Bcd)), "120");
    EXPECT_EQ(db::valueAsFloat(db::Decimal{"-12.50"}, f), -12.5);
    EXPECT_EQ(db::valueAsInteger(db::Decimal{"2.50"}, f), 2);
    EXPECT_EQ(db::valueAsInteger(db::Decimal{"3.50"}, f), 4);
    EXPECT_EQ(db::valueAsInteger(db::Decimal{"-2.51"}, f), -3);
    EXPECT_TRUE(db::valueAsBoolean(db::Decimal{"0.01"}, f));
    EXPECT_THAT(errorOf([&] { db::valueAsInteger(db::Decimal{"3000000000.00"}, f); }),
                HasSubstr("'3000000000'"));
}

// Dates ----------------------------------------------------------------------------------------

TEST(FieldValueDate, ReadsTheShortFormsAndShowsYearMonthDay) {
    const FieldDef d = field(FieldType::Date);
    for (const char* text : {"2010. 03. 05.", "2010.3.5", "2010-03-05", " 2010. 3. 5 "})
        EXPECT_EQ(db::valueFromString(text, d), Value(db::Date{kDay20100305})) << text;
    EXPECT_EQ(db::valueAsString(db::Date{kDay20100305}, d), "2010. 03. 05.");
    EXPECT_EQ(db::valueAsFloat(db::Date{kDay20100305}, d), 40242.0);
    EXPECT_EQ(db::valueAsDateTime(db::Date{kDay20100305}, d), 40242.0);
}

TEST(FieldValueDate, KeepsDaysBefore1900) {
    const FieldDef d = field(FieldType::Date);
    const Value stored = db::valueFromString("1848. 03. 15.", d);
    EXPECT_EQ(db::valueAsDateTime(stored, d), sys::encodeDate(1848, 3, 15));
    EXPECT_LT(db::valueAsFloat(stored, d), 0.0);
    EXPECT_EQ(db::valueAsString(db::Date{1}, d), "0001. 01. 01.");
    EXPECT_EQ(db::valueFromDateTime(sys::encodeDate(1848, 3, 15), d), stored);
}

TEST(FieldValueDate, TakesTheDayOfANumberOrDateTime) {
    const FieldDef d = field(FieldType::Date);
    EXPECT_EQ(db::valueFromDateTime(40242.75, d), Value(db::Date{kDay20100305}));
    EXPECT_EQ(db::valueFromInteger(40242, d), Value(db::Date{kDay20100305}));
    EXPECT_EQ(db::valueFromFloat(40242.0, d), Value(db::Date{kDay20100305}));
}

TEST(FieldValueDate, RefusesBadDatesNamingThem) {
    const FieldDef d = field(FieldType::Date);
    EXPECT_EQ(errorOf([&] { db::valueFromString("2010. 02. 30.", d); }),
              "'2010. 02. 30.' nem érvényes dátum.");
    EXPECT_EQ(errorOf([&] { db::valueFromString("holnap", d); }), "'holnap' nem érvényes dátum.");
    EXPECT_THAT(errorOf([&] { db::valueAsInteger(db::Date{kDay20100305}, d); }),
                HasSubstr("'2010. 03. 05.'"));
    EXPECT_THAT(errorOf([&] { db::valueFromBoolean(true, d); }), HasSubstr("'True'"));
    EXPECT_THAT(errorOf([&] { db::valueFromInteger(3000000, d); }), HasSubstr("3000000"));
}

TEST(FieldValueTime, ReadsHoursMinutesAndOptionalSeconds) {
    const FieldDef t = field(FieldType::Time);
    EXPECT_EQ(db::valueFromString("9:05", t), Value(db::Time{k0905}));
    EXPECT_EQ(db::valueFromString("09:05:03", t), Value(db::Time{k0905 + 3000}));
    EXPECT_EQ(db::valueAsString(db::Time{k0905 + 3000}, t), "9:05:03");
    EXPECT_EQ(db::valueAsString(db::Time{0}, t), "0:00:00");
    EXPECT_EQ(db::valueAsFloat(db::Time{kMsPerDay / 2}, t), 0.5);
    EXPECT_THAT(errorOf([&] { db::valueFromString("25:00", t); }), HasSubstr("'25:00'"));
}

TEST(FieldValueTime, TakesTheTimeOfDayOfADateTime) {
    const FieldDef t = field(FieldType::Time);
    EXPECT_EQ(db::valueFromDateTime(40242.5, t), Value(db::Time{kMsPerDay / 2}));
    EXPECT_EQ(db::valueFromDateTime(-1.25, t), Value(db::Time{kMsPerDay / 4}));
}

TEST(FieldValueTimestamp, ShowsTheTimeOnlyWhenNotMidnight) {
    const FieldDef ts = field(FieldType::Timestamp);
    const double day = static_cast<double>(kDay20100305) * kMsPerDay;
    EXPECT_EQ(db::valueAsString(db::Timestamp{day + k0905 + 3000}, ts), "2010. 03. 05. 9:05:03");
    EXPECT_EQ(db::valueAsString(db::Timestamp{day}, ts), "2010. 03. 05.");
    EXPECT_EQ(db::valueFromString("2010. 03. 05. 9:05", ts), Value(db::Timestamp{day + k0905}));
    EXPECT_EQ(db::valueFromString("2010-03-05", ts), Value(db::Timestamp{day}));
}

TEST(FieldValueTimestamp, KeepsTimesBefore1900) {
    const FieldDef ts = field(FieldType::Timestamp);
    const Value stored = db::valueFromString("1848. 03. 15. 6:30", ts);
    EXPECT_EQ(db::valueAsDateTime(stored, ts), sys::encodeDateTime({{1848, 3, 15}, {6, 30}}));
    EXPECT_EQ(db::valueAsString(stored, ts), "1848. 03. 15. 6:30:00");
    EXPECT_EQ(db::valueFromDateTime(sys::encodeDateTime({{1848, 3, 15}, {6, 30}}), ts), stored);
}

// Logical --------------------------------------------------------------------------------------

TEST(FieldValueLogical, ReadsWordsDigitsAndInitialsInAnyCase) {
    const FieldDef l = field(FieldType::Logical);
    for (const char* text : {"True", "TRUE", "t", "1", "Igen", "igen", "I"})
        EXPECT_EQ(db::valueFromString(text, l), Value(true)) << text;
    for (const char* text : {"False", "f", "0", "Nem", "NEM", "n"})
        EXPECT_EQ(db::valueFromString(text, l), Value(false)) << text;
    EXPECT_EQ(errorOf([&] { db::valueFromString("talán", l); }),
              "'talán' nem érvényes logikai érték.");
    EXPECT_THAT(errorOf([&] { db::valueFromString("Truex", l); }), HasSubstr("'Truex'"));
}

TEST(FieldValueLogical, ConvertsToAndFromNumbersAndText) {
    const FieldDef l = field(FieldType::Logical);
    EXPECT_EQ(db::valueAsString(true, l), "True");
    EXPECT_EQ(db::valueAsInteger(true, l), 1);
    EXPECT_EQ(db::valueAsFloat(false, l), 0.0);
    EXPECT_EQ(db::valueFromInteger(5, l), Value(true));
    EXPECT_EQ(db::valueFromFloat(0.0, l), Value(false));
    EXPECT_EQ(db::valueFromBoolean(true, field(FieldType::Short)), Value(std::int32_t{1}));
    const FieldDef a = field(FieldType::Alpha, 10);
    EXPECT_TRUE(db::valueAsBoolean(std::string("igen"), a));
    EXPECT_FALSE(db::valueAsBoolean(std::string("NEM"), a));
    EXPECT_TRUE(db::valueAsBoolean(std::string("1"), a));
    EXPECT_THAT(errorOf([&] { db::valueAsBoolean(std::string("x"), a); }), HasSubstr("'x'"));
    EXPECT_THAT(errorOf([&] { db::valueAsDateTime(true, l); }), HasSubstr("'True'"));
}

// Text -------------------------------------------------------------------------------------------

TEST(FieldValueText, AlphaIsCutToItsWidthInCharacters) {
    const FieldDef a = field(FieldType::Alpha, 5);
    const Value cut = db::valueFromString("Győrőűék", a); // 8 letters, 13 UTF-8 bytes
    EXPECT_EQ(cut, Value(std::string("Győrő")));
    EXPECT_EQ(sys::fromUtf8(std::get<std::string>(cut), 1250).size(), 5U);
    EXPECT_EQ(throughRecord(cut, a), cut);
    EXPECT_EQ(db::valueFromString("ŐŰ", a), Value(std::string("ŐŰ")));
    EXPECT_EQ(db::valueFromInteger(1234567, a), Value(std::string("12345")));
}

TEST(FieldValueText, MemoIsNeverCut) {
    const std::string long_(1000, 'x');
    EXPECT_EQ(db::valueFromString(long_, field(FieldType::Memo, 11)), Value(long_));
}

TEST(FieldValueText, OtherValuesWriteTheirTextForm) {
    const FieldDef a = field(FieldType::Alpha, 30);
    EXPECT_EQ(db::valueFromInteger(-42, a), Value(std::string("-42")));
    EXPECT_EQ(db::valueFromFloat(12.5, a), Value(std::string("12,5")));
    EXPECT_EQ(db::valueFromDateTime(40242.0, a), Value(std::string("2010. 03. 05.")));
    EXPECT_EQ(db::valueFromDateTime(40242.5, a), Value(std::string("2010. 03. 05. 12:00:00")));
    EXPECT_EQ(db::valueFromBoolean(false, a), Value(std::string("False")));
}

TEST(FieldValueText, ReadsAsNumbersAndDatesOrNamesTheText) {
    const FieldDef a = field(FieldType::Alpha, 30);
    EXPECT_EQ(db::valueAsInteger(std::string(" 42"), a), 42);
    EXPECT_EQ(db::valueAsDateTime(std::string("2010. 03. 05."), a), 40242.0);
    EXPECT_EQ(db::valueAsDateTime(std::string("2010. 03. 05. 12:00"), a), 40242.5);
    EXPECT_EQ(db::valueAsDateTime(std::string("6:00"), a), 0.25);
    EXPECT_EQ(errorOf([&] { db::valueAsInteger(std::string("abc"), a); }),
              "'abc' nem érvényes egész szám.");
    EXPECT_EQ(errorOf([&] { db::valueAsFloat(std::string("12,5 kg"), a); }),
              "'12,5 kg' nem érvényes szám.");
    EXPECT_EQ(errorOf([&] { db::valueAsDateTime(std::string("tegnap"), a); }),
              "'tegnap' nem érvényes dátum.");
}

// Bytes ------------------------------------------------------------------------------------------

TEST(FieldValueBytes, BinaryReadsAsAMarkerMemoAsItsText) {
    const db::Bytes bytes{'a', 'b', 0x00, 0xFF};
    EXPECT_EQ(db::valueAsString(bytes, field(FieldType::Blob, 10)), "(BLOB)");
    EXPECT_EQ(db::valueAsString(bytes, field(FieldType::Graphic, 10)), "(GRAPHIC)");
    EXPECT_EQ(db::valueAsString(db::Bytes{}, field(FieldType::Blob, 10)), "");
    EXPECT_EQ(db::valueAsString(db::Bytes{'h', 'i'}, field(FieldType::Memo, 10)), "hi");
}

TEST(FieldValueBytes, TextStoresItsBytesNumbersAreRefused) {
    const FieldDef y = field(FieldType::Bytes, 4);
    EXPECT_EQ(db::valueFromString("abcd", y), Value(db::Bytes{'a', 'b', 'c', 'd'}));
    EXPECT_THAT(errorOf([&] { db::valueFromString("abcde", y); }), HasSubstr("'abcde'"));
    const FieldDef b = field(FieldType::Blob, 10);
    EXPECT_THAT(errorOf([&] { db::valueFromInteger(5, b); }),
                HasSubstr("'5' nem írható a(z) 'Darab' mezőbe."));
    EXPECT_THAT(errorOf([&] { db::valueFromBoolean(true, b); }), HasSubstr("'True'"));
    EXPECT_THAT(errorOf([&] { db::valueFromDateTime(40242.0, b); }), HasSubstr("'2010. 03. 05.'"));
}

} // namespace
