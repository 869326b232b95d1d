#pragma once
// Numbers as the Hungarian regional settings write them: decimal comma, no thousands
// separator, floating values in the general format with 15 significant digits.
//
// Reading: a point is accepted as the decimal separator as well as the comma, because
// users type both and, with thousands separators refused, a number holding one
// separator is never ambiguous ("1.234" is 1,234, never 1234). Checks that must keep to
// the regional notation pass DecimalSeparators::CommaOnly. Blanks around the number are
// ignored; an empty or malformed text throws ConversionError naming it in Hungarian.

#include "platform/sys/conversion_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sys {

// The general format: the shortest text of the value rounded to 15 significant digits,
// without trailing zeros; fixed notation while the value is below 1E15 and at least
// 0,0001 in magnitude, otherwise "1E15", "1,5E-5". 0.1 -> "0,1", 1/3 -> "0,333333333333333",
// 1e20 -> "1E20". Not-a-number and infinities give "NAN", "INF", "-INF".
std::string floatToText(double value, char decimalSeparator = ',');

enum class DecimalSeparators { CommaOrPoint, CommaOnly };

// An optional sign, digits with at most one decimal separator, an optional exponent
// ("1,5E-3"). Values beyond the double range are refused; ones too small for it read 0.
double parseFloat(std::string_view text,
                  DecimalSeparators accepted = DecimalSeparators::CommaOrPoint);
std::optional<double> tryParseFloat(std::string_view text,
                                    DecimalSeparators accepted = DecimalSeparators::CommaOrPoint);

// An optional sign and decimal digits within the 32-bit range.
std::int32_t parseInt(std::string_view text);
std::optional<std::int32_t> tryParseInt(std::string_view text);

std::string intToText(std::int64_t value);

// A value raised (cut) to the given number of decimals. Binary fractions leave a decimal
// figure a few units of the last place off (64.4 * 27 is 1738.8000000000002), so a value
// within a billionth of a step of a decimal step counts as on it; the result is the
// double nearest that decimal (17.388, never 17.388000000000002), and never -0.
double roundUp(double value, int decimals);
double roundDown(double value, int decimals);

} // namespace sys
