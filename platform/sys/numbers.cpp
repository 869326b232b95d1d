#include "platform/sys/numbers.h"

#include "platform/sys/text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <system_error>

namespace sys {

namespace {

constexpr int significantDigits = 15;
// Fixed notation while the decimal exponent (value = d.ddd × 10^exponent) lies here.
constexpr int smallestFixedExponent = -4;
constexpr int largestFixedExponent = significantDigits - 1;

// The value rounded to 15 significant digits: the digits without trailing zeros and the
// decimal exponent of the first one.
struct Rounded {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

Rounded roundTo15Digits(double value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::scientific, significantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
    Rounded r;
    std::size_t pos = 0;
    r.negative = text[pos] == '-';
    if (r.negative)
        ++pos;
    const std::size_t e = text.find('e');
    for (; pos < e; ++pos)
        if (text[pos] != '.')
            r.digits += text[pos];
    while (r.digits.size() > 1 && r.digits.back() == '0')
        r.digits.pop_back();
    const std::string_view exponent = text.substr(e + 1);
    std::from_chars(exponent.data() + (exponent.front() == '+' ? 1 : 0),
                    exponent.data() + exponent.size(), r.exponent);
    return r;
}

std::string scientific(const Rounded& r, char separator) {
    std::string out = r.digits.substr(0, 1);
    if (r.digits.size() > 1)
        out += separator + r.digits.substr(1);
    return out + "E" + std::to_string(r.exponent);
}

std::string fixed(const Rounded& r, char separator) {
    if (r.exponent < 0)
        return "0" + std::string(1, separator) +
               std::string(static_cast<std::size_t>(-r.exponent - 1), '0') + r.digits;
    const auto integerDigits = static_cast<std::size_t>(r.exponent + 1);
    if (r.digits.size() <= integerDigits)
        return r.digits + std::string(integerDigits - r.digits.size(), '0');
    return r.digits.substr(0, integerDigits) + separator + r.digits.substr(integerDigits);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The number rewritten for from_chars (point as separator, no plus sign), or nothing
// when it breaks the grammar.
std::optional<std::string> normalizeFloat(std::string_view text, DecimalSeparators accepted) {
    std::string out;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
        if (text[pos++] == '-')
            out += '-';
    bool separatorSeen = false;
    std::size_t mantissaDigits = 0;
    for (; pos < text.size(); ++pos) {
        const char c = text[pos];
        const bool separator =
            c == ',' || (c == '.' && accepted == DecimalSeparators::CommaOrPoint);
        if (isDigit(c)) {
            ++mantissaDigits;
            out += c;
        } else if (separator && !separatorSeen) {
            separatorSeen = true;
            out += '.';
        } else {
            break;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        out += 'e';
        if (++pos < text.size() && (text[pos] == '+' || text[pos] == '-'))
            out += text[pos++];
        const std::size_t exponentStart = pos;
        while (pos < text.size() && isDigit(text[pos]))
            out += text[pos++];
        if (pos == exponentStart)
            return std::nullopt;
    }
    if (pos != text.size())
        return std::nullopt;
    return out;
}

// The decimal exponent of the first significant digit of a normalized mantissa
// ("0.05" -> -2, "120" -> 2); 0 for a mantissa of zeros.
int leadingExponent(std::string_view mantissa) {
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return 0;
    const auto distance = static_cast<int>(point) - static_cast<int>(first);
    return first < point ? distance - 1 : distance;
}

// from_chars reports both overflow and underflow as out of range; an underflow reads 0.
bool underflows(std::string_view normalized) {
    std::string_view mantissa = normalized.substr(0, normalized.find('e'));
    if (!mantissa.empty() && mantissa.front() == '-')
        mantissa.remove_prefix(1);
    if (mantissa.find_first_of("123456789") == std::string_view::npos)
        return true;
    if (mantissa.size() == normalized.size())
        return false;
    std::string_view exponentText = normalized.substr(normalized.find('e') + 1);
    if (exponentText.front() == '+')
        exponentText.remove_prefix(1);
    long long exponent = 0;
    const auto result =
        std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    if (result.ec != std::errc())
        return exponentText.front() == '-';
    // Compared without adding: the exponent may be anywhere in the 64-bit range.
    return exponent < -static_cast<long long>(leadingExponent(mantissa));
}

} // namespace

std::string floatToText(double value, char decimalSeparator) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value > 0 ? "INF" : "-INF";
    if (value == 0)
        return "0";
    const Rounded r = roundTo15Digits(value);
    const bool useFixed = r.exponent >= smallestFixedExponent && r.exponent <= largestFixedExponent;
    const std::string text =
        useFixed ? fixed(r, decimalSeparator) : scientific(r, decimalSeparator);
    return r.negative ? "-" + text : text;
}

std::optional<double> tryParseFloat(std::string_view text, DecimalSeparators accepted) {
    const std::optional<std::string> normalized = normalizeFloat(trim(text), accepted);
    if (!normalized)
        return std::nullopt;
    double value = 0;
    const char* end = normalized->data() + normalized->size();
    const auto result = std::from_chars(normalized->data(), end, value);
    if (result.ec == std::errc::result_out_of_range && underflows(*normalized))
        return normalized->front() == '-' ? -0.0 : 0.0;
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

double parseFloat(std::string_view text, DecimalSeparators accepted) {
    if (const std::optional<double> value = tryParseFloat(text, accepted))
        return *value;
    throw ConversionError("'" + std::string(text) + "' nem érvényes szám.");
}

std::optional<std::int32_t> tryParseInt(std::string_view text) {
    std::string_view digits = trim(text);
    bool negative = false;
    if (!digits.empty() && (digits.front() == '+' || digits.front() == '-')) {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty())
        return std::nullopt;
    while (digits.size() > 1 && digits.front() == '0')
        digits.remove_prefix(1);
    if (digits.size() > 10)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : digits) {
        if (!isDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (negative)
        value = -value;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::int32_t parseInt(std::string_view text) {
    if (const std::optional<std::int32_t> value = tryParseInt(text))
        return *value;
    throw ConversionError("'" + std::string(text) + "' nem érvényes egész szám.");
}

std::string intToText(std::int64_t value) {
    return std::to_string(value);
}

namespace {

// 10 to the power of a number of decimals: exact up to 22, taken from a table there, as
// a total or a dose is rounded for every row of a sheet.
double powerOfTen(int decimals) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    return decimals >= 0 && decimals <= 22 ? kPowers[decimals] : std::pow(10.0, decimals);
}

double stepSlack(double steps) {
    return 1e-9 * std::max(1.0, std::fabs(steps));
}

// Whole steps back to the decimal value; a zero keeps no sign.
double fromSteps(double steps, int decimals) {
    return steps == 0 ? 0.0 : steps / powerOfTen(decimals);
}

} // namespace

double roundUp(double value, int decimals) {
    const double steps = value * powerOfTen(decimals);
    return fromSteps(std::ceil(steps - stepSlack(steps)), decimals);
}

double roundDown(double value, int decimals) {
    const double steps = value * powerOfTen(decimals);
    return fromSteps(std::floor(steps + stepSlack(steps)), decimals);
}

} // namespace sys
