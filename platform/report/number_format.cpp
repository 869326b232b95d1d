// Number formats of the layouts: "#,##0.00", "0.0", "0 Ft". The digits part is made of
// '#', '0', ',' (thousands grouping) and one '.' (the decimal point); text before and
// after it is printed as it stands. Output uses the Hungarian notation: decimal comma,
// a blank between thousands.

#include "platform/report/layout.h"
#include "platform/sys/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace report {

namespace {

struct Pattern {
    std::string prefix, suffix;
    bool grouping = false;
    int minInteger = 0;  // '0's before the point
    int minDecimals = 0; // '0's after the point
    int maxDecimals = 0; // '0's and '#'s after the point
};

bool isPatternChar(char c) {
    return c == '#' || c == '0' || c == ',' || c == '.';
}

std::optional<Pattern> parsePattern(std::string_view format) {
    const std::size_t begin = format.find_first_of("#0");
    if (begin == std::string_view::npos)
        return std::nullopt;
    std::size_t end = begin;
    while (end < format.size() && isPatternChar(format[end]))
        ++end;
    Pattern p;
    p.prefix = std::string(format.substr(0, begin));
    p.suffix = std::string(format.substr(end));
    const std::string_view digits = format.substr(begin, end - begin);
    const std::size_t point = digits.find('.');
    if (point != std::string_view::npos && digits.find('.', point + 1) != std::string_view::npos)
        return std::nullopt;
    const std::string_view integer = digits.substr(0, point);
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view{} : digits.substr(point + 1);
    for (char c : integer) {
        if (c == ',')
            p.grouping = true;
        else if (c == '0')
            ++p.minInteger;
    }
    bool optional = false;
    for (char c : decimals) {
        if (c == ',')
            return std::nullopt;
        if (c == '0' && optional)
            return std::nullopt; // "0.#0" has no meaning
        if (c == '#')
            optional = true;
        else
            ++p.minDecimals;
        ++p.maxDecimals;
    }
    if (p.maxDecimals > 15 || p.minInteger > 30)
        return std::nullopt;
    return p;
}

std::string groupThousands(const std::string& digits) {
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ' ';
        out += digits[i];
    }
    return out;
}

// The integer and decimal digits of a value read to 15 significant digits (as the
// general format reads it, so 1.005 is 1.005), rounded to `places` decimals with halves
// away from zero. Worked in a buffer on the stack: a report formats every number it prints.
std::pair<std::string, std::string> roundedDigits(double value, int places) {
    char text[64];
    const auto written =
        std::to_chars(text, text + sizeof text - 1, value, std::chars_format::scientific, 14);
    *written.ptr = '\0'; // "1.00500000000000e+00"
    char mantissa[15];
    mantissa[0] = text[0];
    std::memcpy(mantissa + 1, text + 2, 14);
    const int integerDigits = std::atoi(std::strchr(text, 'e') + 1) + 1;
    // The digits are zeros before the mantissa (a value under 1) and after it.
    const int zeros = integerDigits <= 0 ? 1 - integerDigits : 0;
    int pointAt = integerDigits <= 0 ? 1 : integerDigits;
    const auto digitAt = [&](int i) {
        return i < zeros || i - zeros >= 15 ? '0' : mantissa[i - zeros];
    };
    const int keep = pointAt + places;
    char digits[80]; // one more in front for a carry out of the first digit
    char* first = digits + 1;
    for (int i = 0; i < keep; ++i)
        first[i] = digitAt(i);
    if (digitAt(keep) >= '5') {
        int i = keep;
        while (i > 0 && first[i - 1] == '9')
            first[--i] = '0';
        if (i > 0) {
            ++first[i - 1];
        } else {
            *--first = '1';
            ++pointAt;
        }
    }
    int lead = 0;
    while (lead < pointAt - 1 && first[lead] == '0')
        ++lead;
    return {std::string(first + lead, static_cast<std::size_t>(pointAt - lead)),
            std::string(first + pointAt, static_cast<std::size_t>(places))};
}

// The pattern of a format, parsed once: a report formats every number of a column with
// the column's one format, and a layout has few.
const std::optional<Pattern>& patternOf(std::string_view format) {
    thread_local std::vector<std::pair<std::string, std::optional<Pattern>>> parsed;
    for (const auto& [text, pattern] : parsed)
        if (text == format)
            return pattern;
    if (parsed.size() >= 32)
        parsed.clear();
    return parsed.emplace_back(std::string(format), parsePattern(format)).second;
}

} // namespace

bool ValidNumberFormat(std::string_view format) {
    return parsePattern(format).has_value();
}

std::string FormatNumber(double value, std::string_view format) {
    const std::optional<Pattern>& p = patternOf(format);
    if (!p || !std::isfinite(value) || std::fabs(value) >= 1e18)
        return sys::floatToText(value);
    auto [integer, decimals] = roundedDigits(std::fabs(value), p->maxDecimals);
    while (static_cast<int>(decimals.size()) > p->minDecimals && decimals.back() == '0')
        decimals.pop_back();
    while (static_cast<int>(integer.size()) < p->minInteger)
        integer.insert(integer.begin(), '0');
    const bool zero = integer.find_first_not_of('0') == std::string::npos &&
                      decimals.find_first_not_of('0') == std::string::npos;
    if (p->grouping)
        integer = groupThousands(integer);
    std::string out = p->prefix;
    if (value < 0 && !zero)
        out += '-';
    out += integer;
    if (!decimals.empty())
        out += ',' + decimals;
    return out + p->suffix;
}

} // namespace report
