#pragma once
// One field's value as the file layer reads and writes it: exact, in the units the
// file stores. Conversions to the program's date type live above this layer.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace db {

struct Null {
    bool operator==(const Null&) const = default;
};
struct Date { // D: day 1 is 0001-01-01 (proleptic Gregorian)
    std::int32_t days = 0;
    auto operator<=>(const Date&) const = default;
};
struct Time { // T: milliseconds since midnight
    std::int32_t ms = 0;
    auto operator<=>(const Time&) const = default;
};
struct Timestamp { // @: milliseconds since 0001-01-01 00:00, as the file's double
    double ms = 0;
    auto operator<=>(const Timestamp&) const = default;
};
struct Decimal { // #: canonical decimal text, "-12.50" with exactly `decimals` digits
    std::string text;
    auto operator<=>(const Decimal&) const = default;
};
using Bytes = std::vector<std::uint8_t>; // Y, B, O, G

// Text (A, M, F) is UTF-8 std::string; S, I, + are int32; N, $ double; L bool.
using Value = std::variant<Null, std::string, std::int32_t, double, bool, Date, Time, Timestamp,
                           Decimal, Bytes>;

using Record = std::vector<Value>;

inline bool isNull(const Value& v) {
    return std::holds_alternative<Null>(v);
}

} // namespace db
