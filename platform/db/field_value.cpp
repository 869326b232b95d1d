#include "platform/db/field_value.h"

#include "platform/sys/codepage.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

#include <cmath>
#include <limits>
#include <optional>

// Choices where the old field classes leave room:
// - A BCD value reads as its number with the decimal comma and without trailing zeros
//   ("12,5" for 12.50, "0" for 0.00), as the BCD field's AsString gave it.
// - A time of day reads "9:05:03" (the Hungarian long time form, hour without a leading
//   zero); a timestamp reads as its date followed by that time, only the date at
//   midnight. Milliseconds are not shown.
// - A binary value (B, O, G, Y) reads as "(BLOB)", "(OLE)", "(GRAPHIC)" or "(BYTES)", an
//   empty one as ""; a memo held as bytes reads as the text of its bytes.
// - Reading a type as one it has no natural number or flag for (a date as an integer, a
//   date as a flag) goes through its text, so the refusal names the value as shown.
// - Floats become integers rounded to the nearest, halves to the even neighbour (Round);
//   out of the field's range they are refused. A BCD field rounds to its decimals with
//   halves away from zero.
// - S fields hold -32767..32767 and I, + fields -2147483647..2147483647: the smallest
//   two's complement value would be stored as all zero bytes, which is NULL.
// - A text of blanks makes a non-text field NULL, as an empty text does; a text field
//   keeps its blanks.
// - Logical text: "1", "0" and, without regard to case, "True", "False", "Igen", "Nem"
//   or any beginning of them ("T", "f", "ig").
// - Text into B, O, G, Y stores its bytes; a Y field refuses more than its size.

namespace db {

namespace {

// Width of an A field is counted in the table's code page; all supported code pages are
// single-byte, so any of them gives the same cut.
constexpr int kWidthCodePage = 1250;
constexpr std::size_t kBcdDigits = 32;
constexpr int kMaxExponent = 400;

// Messages ------------------------------------------------------------------------------

std::string quoted(std::string_view shown) {
    return "'" + std::string(shown) + "'";
}

[[noreturn]] void refuse(std::string_view shown, const FieldDef& field) {
    throw sys::ConversionError(quoted(shown) + " nem írható a(z) '" + field.name + "' mezőbe.");
}

[[noreturn]] void refuseRange(std::string_view shown, const FieldDef& field, std::int64_t low,
                              std::int64_t high) {
    throw sys::ConversionError(quoted(shown) + " kívül esik a(z) '" + field.name +
                               "' mező tartományán (" + sys::intToText(low) + ".." +
                               sys::intToText(high) + ").");
}

[[noreturn]] void refuseNumber(std::string_view shown) {
    throw sys::ConversionError(quoted(shown) + " nem érvényes szám.");
}

[[noreturn]] void refuseInteger(std::string_view shown) {
    throw sys::ConversionError(quoted(shown) + " nem érvényes egész szám.");
}

[[noreturn]] void refuseLogical(std::string_view shown) {
    throw sys::ConversionError(quoted(shown) + " nem érvényes logikai érték.");
}

// Type groups ---------------------------------------------------------------------------

bool isBinaryType(FieldType type) {
    return type == FieldType::Bytes || (isBlobType(type) && !isTextType(type));
}

struct IntRange {
    std::int64_t low;
    std::int64_t high;
};

// Symmetric: the smallest two's complement value would be stored as all zero bytes,
// which reads back as NULL.
IntRange integerRange(FieldType type) {
    const std::int64_t high = type == FieldType::Short ? std::numeric_limits<std::int16_t>::max()
                                                       : std::numeric_limits<std::int32_t>::max();
    return {-high, high};
}

// Numbers -------------------------------------------------------------------------------

// The nearest whole number, halves to the even one; nullopt outside the 64-bit range.
std::optional<std::int64_t> roundHalfEven(double value) {
    if (!std::isfinite(value) || std::fabs(value) >= 9.2e18)
        return std::nullopt;
    const double floor = std::floor(value);
    const double rest = value - floor;
    double rounded = floor;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(floor, 2.0) != 0.0))
        rounded = floor + 1;
    return static_cast<std::int64_t>(rounded);
}

std::int32_t checkedInt32(std::optional<std::int64_t> value, std::string_view shown) {
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max())
        refuseInteger(shown);
    return static_cast<std::int32_t>(*value);
}

// Decimal digits --------------------------------------------------------------------------

// A decimal number as its digits and how many of them follow the point.
struct DecimalDigits {
    bool negative = false;
    std::string digits; // at least one
    int scale = 0;      // digits after the point
};

enum class Rounding { HalfEven, HalfAwayFromZero };

std::size_t countDigits(std::string_view text) {
    std::size_t n = 0;
    while (n < text.size() && text[n] >= '0' && text[n] <= '9')
        ++n;
    return n;
}

std::optional<int> parseExponent(std::string_view text) {
    if (text.empty())
        return 0;
    if (text.front() != 'e' && text.front() != 'E')
        return std::nullopt;
    const std::optional<std::int32_t> exponent = sys::tryParseInt(text.substr(1));
    if (!exponent || text.size() < 2 || text[1] == ' ' || *exponent < -kMaxExponent ||
        *exponent > kMaxExponent)
        return std::nullopt;
    return *exponent;
}

// An optional sign, digits with at most one decimal comma or point, an optional exponent.
std::optional<DecimalDigits> parseDecimal(std::string_view text) {
    text = sys::trim(text);
    DecimalDigits d;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        d.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    const std::size_t whole = countDigits(text);
    d.digits = std::string(text.substr(0, whole));
    text.remove_prefix(whole);
    if (!text.empty() && (text.front() == ',' || text.front() == '.')) {
        text.remove_prefix(1);
        const std::size_t fraction = countDigits(text);
        d.digits += text.substr(0, fraction);
        d.scale = static_cast<int>(fraction);
        text.remove_prefix(fraction);
    }
    const std::optional<int> exponent = parseExponent(text);
    if (d.digits.empty() || !exponent)
        return std::nullopt;
    d.scale -= *exponent;
    return d;
}

// Adds one in the last place.
void increment(std::string& digits) {
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

bool roundsUp(const std::string& kept, std::string_view dropped, Rounding rounding) {
    if (dropped.empty() || dropped.front() < '5')
        return false;
    if (dropped.front() > '5' || dropped.find_first_not_of('0', 1) != std::string_view::npos)
        return true;
    if (rounding == Rounding::HalfAwayFromZero)
        return true;
    return !kept.empty() && (kept.back() - '0') % 2 == 1;
}

// Exactly `decimals` digits after the point, rounded.
DecimalDigits withScale(DecimalDigits d, int decimals, Rounding rounding) {
    if (d.scale < decimals) {
        d.digits.append(static_cast<std::size_t>(decimals - d.scale), '0');
    } else if (d.scale > decimals) {
        const std::size_t drop = static_cast<std::size_t>(d.scale - decimals);
        if (drop > d.digits.size())
            d.digits.insert(0, drop - d.digits.size(), '0');
        const std::size_t keep = d.digits.size() - drop;
        const std::string dropped = d.digits.substr(keep);
        d.digits.resize(keep);
        if (roundsUp(d.digits, dropped, rounding))
            increment(d.digits);
    }
    d.scale = decimals;
    const std::size_t lead = d.digits.find_first_not_of('0');
    d.digits.erase(0, std::min(lead, d.digits.size()));
    if (d.digits.size() <= static_cast<std::size_t>(decimals))
        d.digits.insert(0, static_cast<std::size_t>(decimals) + 1 - d.digits.size(), '0');
    if (d.digits.find_first_not_of('0') == std::string::npos)
        d.negative = false;
    return d;
}

// "-12.50": the form a # field stores.
std::string canonicalText(const DecimalDigits& d) {
    const std::size_t whole = d.digits.size() - static_cast<std::size_t>(d.scale);
    std::string text = (d.negative ? "-" : "") + d.digits.substr(0, whole);
    if (d.scale > 0)
        text += "." + d.digits.substr(whole);
    return text;
}

std::size_t significantDigits(const DecimalDigits& d) {
    const std::size_t lead = d.digits.find_first_not_of('0');
    return lead == std::string::npos ? 0 : d.digits.size() - lead;
}

Value bcdValue(const DecimalDigits& number, std::string_view shown, const FieldDef& field) {
    const DecimalDigits d = withScale(number, field.decimals, Rounding::HalfAwayFromZero);
    if (significantDigits(d) > kBcdDigits)
        refuse(shown, field);
    return Decimal{canonicalText(d)};
}

// "-12.50" -> "-12,5"
std::string bcdDisplayText(std::string_view canonical) {
    std::string text(canonical);
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return text;
    const std::size_t last = text.find_last_not_of('0');
    text.erase(last == point ? point : last + 1);
    if (point < text.size())
        text[point] = ',';
    return text == "-0" ? "0" : text;
}

std::int32_t bcdToInteger(const Decimal& value) {
    const std::optional<DecimalDigits> d = parseDecimal(value.text);
    if (!d)
        refuseNumber(value.text);
    const DecimalDigits whole = withScale(*d, 0, Rounding::HalfEven);
    if (whole.digits.size() > 10)
        refuseInteger(bcdDisplayText(value.text));
    const std::int64_t magnitude = std::stoll(whole.digits);
    return checkedInt32(whole.negative ? -magnitude : magnitude, bcdDisplayText(value.text));
}

// Dates ---------------------------------------------------------------------------------

bool hasTimeOfDay(sys::DateTime when) {
    return sys::dateTimeToParadoxTime(when) != 0;
}

std::string timeOfDayText(sys::DateTime when) {
    return sys::formatDateTime("h:nn:ss", when);
}

// The date, and the time unless it is midnight: "2010. 03. 05. 9:05:03".
std::string dateAndTimeText(sys::DateTime when) {
    const std::string date = sys::dateToText(when);
    return hasTimeOfDay(when) ? date + " " + timeOfDayText(when) : date;
}

sys::DateTime parseDateOrTime(std::string_view text) {
    if (const std::optional<sys::DateTime> when = sys::tryParseDateTime(text))
        return *when;
    if (const std::optional<sys::DateTime> time = sys::tryParseTime(text))
        return *time;
    return sys::parseDateTime(text); // throws, naming the text
}

// Logical text ----------------------------------------------------------------------------

bool isPrefixOf(std::string_view prefix, std::string_view word) {
    return !prefix.empty() && word.substr(0, prefix.size()) == prefix;
}

std::optional<bool> tryParseLogical(std::string_view text) {
    const std::string lower = sys::toLower(sys::trim(text));
    if (lower == "1" || isPrefixOf(lower, "true") || isPrefixOf(lower, "igen"))
        return true;
    if (lower == "0" || isPrefixOf(lower, "false") || isPrefixOf(lower, "nem"))
        return false;
    return std::nullopt;
}

bool parseLogical(std::string_view text) {
    if (const std::optional<bool> flag = tryParseLogical(text))
        return *flag;
    refuseLogical(text);
}

const char* logicalText(bool flag) {
    return flag ? "True" : "False";
}

// Bytes -----------------------------------------------------------------------------------

const char* binaryMarker(FieldType type) {
    switch (type) {
    case FieldType::Ole:
        return "(OLE)";
    case FieldType::Graphic:
        return "(GRAPHIC)";
    case FieldType::Bytes:
        return "(BYTES)";
    default:
        return "(BLOB)";
    }
}

std::string bytesText(const Bytes& bytes, const FieldDef& field) {
    if (bytes.empty())
        return "";
    if (isTextType(field.type))
        return std::string(bytes.begin(), bytes.end());
    return binaryMarker(field.type);
}

Value bytesFromText(std::string_view text, const FieldDef& field) {
    if (field.type == FieldType::Bytes && text.size() > static_cast<std::size_t>(field.size))
        refuse(text, field);
    return Bytes(text.begin(), text.end());
}

// Reading ---------------------------------------------------------------------------------

struct StringReader {
    const FieldDef& field;
    std::string operator()(const Null&) const { return ""; }
    std::string operator()(const std::string& text) const { return text; }
    std::string operator()(std::int32_t number) const { return sys::intToText(number); }
    std::string operator()(double number) const { return sys::floatToText(number); }
    std::string operator()(bool flag) const { return logicalText(flag); }
    std::string operator()(const Date& date) const {
        return sys::dateToText(sys::paradoxDaysToDateTime(date.days));
    }
    std::string operator()(const Time& time) const {
        return timeOfDayText(sys::paradoxTimeToDateTime(time.ms));
    }
    std::string operator()(const Timestamp& stamp) const {
        return dateAndTimeText(sys::paradoxTimestampToDateTime(stamp.ms));
    }
    std::string operator()(const Decimal& decimal) const { return bcdDisplayText(decimal.text); }
    std::string operator()(const Bytes& bytes) const { return bytesText(bytes, field); }
};

// The exact value as a double where the stored type has one; nullopt for text and bytes.
struct NumberReader {
    std::optional<double> operator()(const Null&) const { return 0.0; }
    std::optional<double> operator()(std::int32_t number) const { return number; }
    std::optional<double> operator()(double number) const { return number; }
    std::optional<double> operator()(bool flag) const { return flag ? 1.0 : 0.0; }
    std::optional<double> operator()(const Date& date) const {
        return sys::paradoxDaysToDateTime(date.days);
    }
    std::optional<double> operator()(const Time& time) const {
        return sys::paradoxTimeToDateTime(time.ms);
    }
    std::optional<double> operator()(const Timestamp& stamp) const {
        return sys::paradoxTimestampToDateTime(stamp.ms);
    }
    std::optional<double> operator()(const Decimal& decimal) const {
        return sys::parseFloat(decimal.text);
    }
    std::optional<double> operator()(const std::string&) const { return std::nullopt; }
    std::optional<double> operator()(const Bytes&) const { return std::nullopt; }
};

bool isDateValue(const Value& value) {
    return std::holds_alternative<Date>(value) || std::holds_alternative<Time>(value) ||
           std::holds_alternative<Timestamp>(value);
}

// Writing ---------------------------------------------------------------------------------

Value textValue(std::string_view text, const FieldDef& field) {
    if (text.empty())
        return Null{};
    if (field.type != FieldType::Alpha)
        return std::string(text);
    std::string cut =
        sys::truncateForCodePage(text, kWidthCodePage, static_cast<std::size_t>(field.size));
    if (cut.empty())
        return Null{};
    return cut;
}

Value integerValue(std::int64_t number, std::string_view shown, const FieldDef& field) {
    const IntRange range = integerRange(field.type);
    if (number < range.low || number > range.high)
        refuseRange(shown, field, range.low, range.high);
    return static_cast<std::int32_t>(number);
}

Value integerFromText(std::string_view text, const FieldDef& field) {
    return integerValue(sys::parseInt(text), text, field);
}

Value bcdFromText(std::string_view text, const FieldDef& field) {
    const std::optional<DecimalDigits> number = parseDecimal(text);
    if (!number)
        refuseNumber(text);
    return bcdValue(*number, text, field);
}

Value bcdFromInteger(std::int64_t number, const FieldDef& field) {
    const std::string shown = sys::intToText(number);
    return bcdFromText(shown, field);
}

Value bcdFromFloat(double number, const FieldDef& field) {
    const std::string shown = sys::floatToText(number);
    const std::optional<DecimalDigits> digits = parseDecimal(sys::floatToText(number, '.'));
    if (!std::isfinite(number) || !digits)
        refuseNumber(shown);
    return bcdValue(*digits, shown, field);
}

Value dateTimeValue(sys::DateTime when, const FieldDef& field) {
    switch (field.type) {
    case FieldType::Date:
        return Date{sys::dateTimeToParadoxDays(when)};
    case FieldType::Time:
        return Time{sys::dateTimeToParadoxTime(when)};
    default:
        return Timestamp{sys::dateTimeToParadoxTimestamp(when)};
    }
}

Value dateTimeFromText(std::string_view text, const FieldDef& field) {
    switch (field.type) {
    case FieldType::Date:
        return dateTimeValue(sys::parseDate(text), field);
    case FieldType::Time:
        return dateTimeValue(sys::parseTime(text), field);
    default:
        return dateTimeValue(sys::parseDateTime(text), field);
    }
}

double finiteFloat(double number) {
    if (!std::isfinite(number))
        refuseNumber(sys::floatToText(number));
    return number;
}

Value integerFromFloat(double number, const FieldDef& field) {
    const std::string shown = sys::floatToText(number);
    const std::optional<std::int64_t> rounded = roundHalfEven(number);
    if (!rounded) {
        const IntRange range = integerRange(field.type);
        refuseRange(shown, field, range.low, range.high);
    }
    return integerValue(*rounded, shown, field);
}

} // namespace

std::string valueAsString(const Value& value, const FieldDef& field) {
    return std::visit(StringReader{field}, value);
}

std::int32_t valueAsInteger(const Value& value, const FieldDef& field) {
    if (const auto* decimal = std::get_if<Decimal>(&value))
        return bcdToInteger(*decimal);
    if (isDateValue(value) || !std::visit(NumberReader{}, value))
        return sys::parseInt(valueAsString(value, field));
    const double number = *std::visit(NumberReader{}, value);
    return checkedInt32(roundHalfEven(number), sys::floatToText(number));
}

double valueAsFloat(const Value& value, const FieldDef& field) {
    if (const std::optional<double> number = std::visit(NumberReader{}, value))
        return *number;
    return sys::parseFloat(valueAsString(value, field));
}

sys::DateTime valueAsDateTime(const Value& value, const FieldDef& field) {
    if (std::holds_alternative<bool>(value))
        return parseDateOrTime(valueAsString(value, field));
    if (const std::optional<double> number = std::visit(NumberReader{}, value))
        return *number;
    return parseDateOrTime(valueAsString(value, field));
}

bool valueAsBoolean(const Value& value, const FieldDef& field) {
    if (const auto* flag = std::get_if<bool>(&value))
        return *flag;
    if (isNull(value))
        return false;
    if (isDateValue(value) || !std::visit(NumberReader{}, value))
        return parseLogical(valueAsString(value, field));
    return *std::visit(NumberReader{}, value) != 0.0;
}

Value valueFromString(std::string_view text, const FieldDef& field) {
    if (isTextType(field.type))
        return textValue(text, field);
    if (sys::trim(text).empty())
        return Null{};
    switch (field.type) {
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return integerFromText(text, field);
    case FieldType::Number:
    case FieldType::Currency:
        return sys::parseFloat(text);
    case FieldType::Bcd:
        return bcdFromText(text, field);
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::Timestamp:
        return dateTimeFromText(text, field);
    case FieldType::Logical:
        return parseLogical(text);
    default:
        return bytesFromText(text, field);
    }
}

Value valueFromInteger(std::int64_t number, const FieldDef& field) {
    if (isTextType(field.type))
        return textValue(sys::intToText(number), field);
    switch (field.type) {
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return integerValue(number, sys::intToText(number), field);
    case FieldType::Number:
    case FieldType::Currency:
        return static_cast<double>(number);
    case FieldType::Bcd:
        return bcdFromInteger(number, field);
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::Timestamp:
        return dateTimeValue(static_cast<sys::DateTime>(number), field);
    case FieldType::Logical:
        return number != 0;
    default:
        refuse(sys::intToText(number), field);
    }
}

Value valueFromFloat(double number, const FieldDef& field) {
    if (isTextType(field.type))
        return textValue(sys::floatToText(number), field);
    switch (field.type) {
    case FieldType::Short:
    case FieldType::Long:
    case FieldType::AutoInc:
        return integerFromFloat(number, field);
    case FieldType::Number:
    case FieldType::Currency:
        return finiteFloat(number);
    case FieldType::Bcd:
        return bcdFromFloat(number, field);
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::Timestamp:
        return dateTimeValue(number, field);
    case FieldType::Logical:
        return finiteFloat(number) != 0.0;
    default:
        refuse(sys::floatToText(number), field);
    }
}

Value valueFromDateTime(sys::DateTime when, const FieldDef& field) {
    switch (field.type) {
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::Timestamp:
        return dateTimeValue(when, field);
    case FieldType::Alpha:
    case FieldType::Memo:
    case FieldType::FmtMemo:
        return textValue(dateAndTimeText(when), field);
    case FieldType::Logical:
        refuse(dateAndTimeText(when), field);
    default:
        if (isBinaryType(field.type))
            refuse(dateAndTimeText(when), field);
        return valueFromFloat(when, field);
    }
}

Value valueFromBoolean(bool flag, const FieldDef& field) {
    switch (field.type) {
    case FieldType::Logical:
        return flag;
    case FieldType::Alpha:
    case FieldType::Memo:
    case FieldType::FmtMemo:
        return textValue(logicalText(flag), field);
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::Timestamp:
        refuse(logicalText(flag), field);
    default:
        if (isBinaryType(field.type))
            refuse(logicalText(flag), field);
        return valueFromInteger(flag ? 1 : 0, field);
    }
}

} // namespace db
