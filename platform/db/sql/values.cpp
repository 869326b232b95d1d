#include "platform/db/sql/values.h"

#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <functional>
#include <string>

namespace db::sql {

namespace {

template <class T>
int threeWay(const T& a, const T& b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

bool isNumeric(const Value& v) {
    return std::holds_alternative<std::int32_t>(v) || std::holds_alternative<double>(v) ||
           std::holds_alternative<Decimal>(v);
}

bool isDateLike(const Value& v) {
    return std::holds_alternative<Date>(v) || std::holds_alternative<Timestamp>(v);
}

constexpr double kMsPerDay = 86400000.0;

std::optional<double> numericOf(const Value& v) {
    if (const auto* i = std::get_if<std::int32_t>(&v))
        return *i;
    if (const auto* d = std::get_if<double>(&v))
        return *d;
    if (const auto* c = std::get_if<Decimal>(&v))
        return sys::tryParseFloat(c->text);
    if (const auto* b = std::get_if<bool>(&v))
        return *b ? 1.0 : 0.0;
    return std::nullopt;
}

// A time of day with an optional "AM" or "PM" after it: "01:00:02", "1:00 PM".
std::optional<sys::DateTime> readClock(std::string_view text) {
    text = sys::trim(text);
    int shift = -1; // hours added: 0 for AM, 12 for PM
    if (text.size() > 2) {
        const std::string_view suffix = text.substr(text.size() - 2);
        if (sys::equalsNoCase(suffix, "AM") || sys::equalsNoCase(suffix, "PM")) {
            shift = sys::equalsNoCase(suffix, "PM") ? 12 : 0;
            text = sys::trim(text.substr(0, text.size() - 2));
        }
    }
    const std::optional<sys::DateTime> time = sys::tryParseTime(text);
    if (!time || shift < 0)
        return time;
    const sys::ClockTime t = sys::decodeTime(*time);
    if (t.hour < 1 || t.hour > 12)
        return std::nullopt;
    return sys::encodeTime(t.hour % 12 + shift, t.minute, t.second, t.millisecond);
}

// month/day/year, a time of day optionally after it: "2/1/2020", "2/1/2020 01:00:02".
std::optional<sys::DateTime> readMonthDayYear(std::string_view text) {
    text = sys::trim(text);
    const std::size_t blank = text.find(' ');
    try {
        const sys::DateTime day = sys::parseMonthDayYear(text.substr(0, blank));
        if (blank == std::string_view::npos)
            return day;
        const std::optional<sys::DateTime> time = readClock(text.substr(blank));
        if (!time)
            return std::nullopt;
        return day + *time;
    } catch (const sys::ConversionError&) {
        return std::nullopt;
    }
}

// A date, with or without a time of day, in the forms the dialect reads: month/day/year
// ("2/1/2020 01:00:02"), the Hungarian date ("2020. 02. 01. 1:00") or the ISO one
// ("2020-02-01 01:00:02").
std::optional<sys::DateTime> readDate(std::string_view text) {
    if (text.find('/') != std::string_view::npos)
        return readMonthDayYear(text);
    return sys::tryParseDateTime(text);
}

// A date or timestamp as milliseconds on the timestamp scale; a text read as a date.
std::optional<double> instantOf(const Value& v) {
    if (const auto* d = std::get_if<Date>(&v))
        return d->days * kMsPerDay;
    if (const auto* t = std::get_if<Timestamp>(&v))
        return t->ms;
    if (const auto* s = std::get_if<std::string>(&v))
        if (const auto when = readDate(*s))
            return sys::dateTimeToParadoxTimestamp(*when);
    return std::nullopt;
}

// A time of day in milliseconds: a time, a timestamp's time of day (a date's is
// midnight), a text read as a time alone or as a date with a time.
std::optional<double> timeOfDayOf(const Value& v) {
    if (const auto* t = std::get_if<Time>(&v))
        return t->ms;
    if (std::holds_alternative<Date>(v))
        return 0.0;
    if (const auto* t = std::get_if<Timestamp>(&v))
        return std::fmod(t->ms, kMsPerDay);
    if (const auto* s = std::get_if<std::string>(&v)) {
        std::optional<sys::DateTime> when = readClock(*s);
        if (!when)
            when = readDate(*s);
        if (when)
            return sys::dateTimeToParadoxTime(sys::timePart(*when));
    }
    return std::nullopt;
}

std::optional<bool> flagOf(const Value& v) {
    if (const auto* b = std::get_if<bool>(&v))
        return *b;
    if (const auto n = numericOf(v))
        return *n != 0;
    if (const auto* s = std::get_if<std::string>(&v)) {
        if (sys::equalsNoCase(*s, "true"))
            return true;
        if (sys::equalsNoCase(*s, "false"))
            return false;
    }
    return std::nullopt;
}

std::optional<int> compareNumbers(std::optional<double> a, std::optional<double> b) {
    if (!a || !b)
        return std::nullopt;
    return threeWay(*a, *b);
}

} // namespace

std::optional<double> numberOf(const Value& v) {
    if (const auto* s = std::get_if<std::string>(&v))
        return sys::tryParseFloat(*s);
    return numericOf(v);
}

std::optional<int> compareValues(const Value& a, const Value& b) {
    if (isNull(a) || isNull(b))
        return std::nullopt;
    if (std::holds_alternative<bool>(a) || std::holds_alternative<bool>(b)) {
        const auto fa = flagOf(a), fb = flagOf(b);
        if (!fa || !fb)
            return std::nullopt;
        return threeWay(*fa, *fb);
    }
    if (isNumeric(a) || isNumeric(b))
        return compareNumbers(numberOf(a), numberOf(b));
    if (std::holds_alternative<Time>(a) || std::holds_alternative<Time>(b))
        return compareNumbers(timeOfDayOf(a), timeOfDayOf(b));
    if (isDateLike(a) || isDateLike(b))
        return compareNumbers(instantOf(a), instantOf(b));
    if (const auto* sa = std::get_if<std::string>(&a)) {
        if (const auto* sb = std::get_if<std::string>(&b))
            return threeWay(sa->compare(*sb), 0);
        return std::nullopt;
    }
    if (a.index() != b.index())
        return std::nullopt;
    if (const auto* ya = std::get_if<Bytes>(&a))
        return threeWay(*ya, std::get<Bytes>(b));
    return std::nullopt;
}

namespace {

bool isNumberField(FieldType t) {
    return t == FieldType::Short || t == FieldType::Long || t == FieldType::AutoInc ||
           t == FieldType::Number || t == FieldType::Currency || t == FieldType::Bcd;
}

std::optional<Value> asDateOrTime(FieldType type, const Value& v) {
    if (isDateLike(v) || std::holds_alternative<Time>(v))
        return v;
    const auto* s = std::get_if<std::string>(&v);
    if (!s)
        return std::nullopt;
    if (type == FieldType::Time) {
        const auto ms = timeOfDayOf(v);
        return ms ? std::optional<Value>(Time{static_cast<std::int32_t>(*ms)}) : std::nullopt;
    }
    const auto when = readDate(*s);
    if (!when)
        return std::nullopt;
    if (type == FieldType::Date && sys::timePart(*when) == 0)
        return Date{sys::dateTimeToParadoxDays(*when)};
    return Timestamp{sys::dateTimeToParadoxTimestamp(*when)};
}

} // namespace

std::optional<Value> asKindOf(FieldType type, const Value& constant) {
    if (isNull(constant))
        return constant;
    if (type == FieldType::Date || type == FieldType::Time || type == FieldType::Timestamp)
        return asDateOrTime(type, constant);
    if (isNumberField(type)) {
        if (isNumeric(constant) || std::holds_alternative<bool>(constant))
            return constant;
        const auto n = numberOf(constant);
        return n ? std::optional<Value>(*n) : std::nullopt;
    }
    if (type == FieldType::Logical) {
        const auto f = flagOf(constant);
        return f ? std::optional<Value>(*f) : std::nullopt;
    }
    return constant;
}

Value keyOf(const Value& v) {
    if (isNumeric(v))
        return numericOf(v).value_or(0.0);
    return v;
}

std::size_t hashValue(const Value& v) {
    const std::size_t kind = v.index() * 0x9E3779B97F4A7C15ull;
    return std::visit(
        [&](const auto& x) -> std::size_t {
            using T = std::decay_t<decltype(x)>;
            if constexpr (std::is_same_v<T, Null>)
                return kind;
            else if constexpr (std::is_same_v<T, std::string>)
                return kind ^ std::hash<std::string>{}(x);
            else if constexpr (std::is_same_v<T, double>)
                return kind ^ std::hash<double>{}(x == 0 ? 0.0 : x);
            else if constexpr (std::is_same_v<T, Date>)
                return kind ^ std::hash<std::int32_t>{}(x.days);
            else if constexpr (std::is_same_v<T, Time>)
                return kind ^ std::hash<std::int32_t>{}(x.ms);
            else if constexpr (std::is_same_v<T, Timestamp>)
                return kind ^ std::hash<double>{}(x.ms);
            else if constexpr (std::is_same_v<T, Decimal>)
                return kind ^ std::hash<std::string>{}(x.text);
            else if constexpr (std::is_same_v<T, Bytes>)
                return kind ^ std::hash<std::string_view>{}(std::string_view(
                                  reinterpret_cast<const char*>(x.data()), x.size()));
            else
                return kind ^ std::hash<T>{}(x);
        },
        v);
}

std::size_t KeyHash::operator()(const std::vector<Value>& key) const {
    std::size_t h = key.size();
    for (const Value& v : key)
        h = (h ^ hashValue(v)) * 0x100000001B3ull + (h >> 7);
    return h;
}

} // namespace db::sql
