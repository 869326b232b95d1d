#include "platform/db/sql/values.h"

#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

#include <bit>
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

// A date or timestamp as the program's day number.
std::optional<double> instantOf(const Value& v) {
    if (const auto* d = std::get_if<Date>(&v))
        return sys::paradoxDaysToDateTime(d->days);
    if (const auto* t = std::get_if<Timestamp>(&v))
        return sys::paradoxTimestampToDateTime(t->ms);
    if (const auto* s = std::get_if<std::string>(&v)) {
        const std::string_view text = sys::trim(*s);
        if (text.find('/') != std::string_view::npos) {
            try {
                return sys::parseMonthDayYear(text);
            } catch (const sys::ConversionError&) {
                return std::nullopt;
            }
        }
        return sys::tryParseDateTime(text);
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
    if (isDateLike(a) || isDateLike(b))
        return compareNumbers(instantOf(a), instantOf(b));
    if (const auto* sa = std::get_if<std::string>(&a)) {
        if (const auto* sb = std::get_if<std::string>(&b))
            return threeWay(sa->compare(*sb), 0);
        return std::nullopt;
    }
    if (a.index() != b.index())
        return std::nullopt;
    if (const auto* ta = std::get_if<Time>(&a))
        return threeWay(ta->ms, std::get<Time>(b).ms);
    if (const auto* ya = std::get_if<Bytes>(&a))
        return threeWay(*ya, std::get<Bytes>(b));
    return std::nullopt;
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
