// The number and date parsers: the input is a text typed by a user or stored in a
// table. Whatever reads must write back to a text that reads as the same value; a
// format string (the same input) formats a fixed instant without fault.

#include "fuzz/fuzz_support.h"
#include "fuzz/targets/targets.h"
#include "platform/sys/conversion_error.h"
#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"

#include <cmath>

namespace fuzz {

namespace {

void checkFloat(std::string_view text, sys::DecimalSeparators accepted) {
    const auto value = sys::tryParseFloat(text, accepted);
    if (!value)
        return;
    if (!std::isfinite(*value))
        finding("a float reads as infinite or NaN");
    const std::string written = sys::floatToText(*value);
    const auto back = sys::tryParseFloat(written, sys::DecimalSeparators::CommaOnly);
    if (!back || sys::floatToText(*back) != written)
        finding("float text does not read back: " + written);
}

void checkDate(std::string_view text) {
    if (const auto d = sys::tryParseDate(text)) {
        if (sys::tryParseDate(sys::dateToText(*d)) != d)
            finding("a date does not read back: " + sys::dateToText(*d));
        if (sys::parseMonthDayYear(sys::monthDayYearText(*d)) != *d)
            finding("a month/day/year date does not read back");
    }
    if (const auto t = sys::tryParseDateTime(text)) {
        const auto back = sys::tryParseDateTime(sys::dateTimeToText(*t));
        if (!back || sys::dateTimeToText(*back) != sys::dateTimeToText(*t))
            finding("a date and time does not read back: " + sys::dateTimeToText(*t));
    }
    if (const auto t = sys::tryParseTime(text)) {
        if (*t < 0 || *t >= 1)
            finding("a time of day outside the day");
        sys::timeToText(*t);
    }
    try {
        sys::filterDateText(sys::parseMonthDayYear(text));
    } catch (const sys::ConversionError&) {
    }
}

} // namespace

void runNumbersDates(std::string_view input) {
    checkFloat(input, sys::DecimalSeparators::CommaOrPoint);
    checkFloat(input, sys::DecimalSeparators::CommaOnly);
    if (const auto i = sys::tryParseInt(input); i && sys::parseInt(sys::intToText(*i)) != *i)
        finding("an integer does not read back");
    checkDate(input);
    if (input.size() <= 256)
        sys::formatDateTime(input, sys::encodeDateTime({{2010, 3, 5}, {9, 5, 3, 250}}));
}

void seedNumbersDates() {
    const char* seeds[] = {"12,5",
                           "-0,125",
                           "1E20",
                           "1,5e-3",
                           "2147483647",
                           "-2147483648",
                           "0e99999",
                           "10e9223372036854775807",
                           "2010. 03. 05.",
                           "2010.3.5",
                           "2010-03-05",
                           "2010. 03. 05. 9:05",
                           "2010-03-05 09:05:03.250",
                           "09:05:03.250",
                           "3/5/2010",
                           "yyyy. mm. dd. hh:nn:ss",
                           "dddd, mmmm d. 'nap' zzz"};
    int n = 0;
    for (const char* s : seeds)
        writeSeed("number-date-" + std::to_string(n++), s);
}

} // namespace fuzz
