#include "platform/sys/datetime.h"

#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>

namespace sys {

namespace {

constexpr std::int64_t msPerDay = 86400000;
constexpr std::int64_t daysFrom18991230To19700101 = 25569;

constexpr std::array<const char*, 12> monthNames = {
    "január", "február",   "március",    "április", "május",    "június",
    "július", "augusztus", "szeptember", "október", "november", "december"};
constexpr std::array<const char*, 12> monthShortNames = {"jan.",   "febr.", "márc.", "ápr.",
                                                         "máj.",   "jún.",  "júl.",  "aug.",
                                                         "szept.", "okt.",  "nov.",  "dec."};
// Sunday first.
constexpr std::array<const char*, 7> weekdayNames = {"vasárnap",  "hétfő",  "kedd",   "szerda",
                                                     "csütörtök", "péntek", "szombat"};
constexpr std::array<const char*, 7> weekdayShortNames = {"V", "H", "K", "Sze", "Cs", "P", "Szo"};

// Days from 1970-01-01 to a proleptic Gregorian date (H. Hinnant's civil calendar
// algorithm, valid for every year of the range).
std::int64_t daysFromCivil(int year, int month, int day) {
    const std::int64_t y = month <= 2 ? year - 1 : year;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

CalendarDate civilFromDays(std::int64_t days) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    return {year, month, day};
}

// A value taken apart: the day number and the milliseconds of the time of day.
struct DayAndTime {
    std::int64_t day = 0;
    std::int64_t ms = 0;
};

[[noreturn]] void throwBadValue(DateTime value) {
    throw ConversionError("'" + floatToText(value) + "' nem érvényes dátumérték.");
}

DayAndTime split(DateTime value) {
    if (!std::isfinite(value) || value <= firstValidDay - 1 || value >= lastValidDay + 1)
        throwBadValue(value);
    const std::int64_t total = std::llround(value * static_cast<double>(msPerDay));
    const DayAndTime parts{total / msPerDay, std::abs(total % msPerDay)};
    if (parts.day < firstValidDay || parts.day > lastValidDay)
        throwBadValue(value);
    return parts;
}

DateTime compose(std::int64_t day, double msOfDay) {
    const double fraction = msOfDay / static_cast<double>(msPerDay);
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

std::int64_t dayNumber(const CalendarDate& date) {
    return daysFromCivil(date.year, date.month, date.day) + daysFrom18991230To19700101;
}

std::int64_t msOfDay(const ClockTime& time) {
    return ((time.hour * 60LL + time.minute) * 60 + time.second) * 1000 + time.millisecond;
}

std::string dateNumbers(int year, int month, int day) {
    return std::to_string(year) + ". " + std::to_string(month) + ". " + std::to_string(day) + ".";
}

CalendarDate checkedDate(int year, int month, int day) {
    if (!isValidDate(year, month, day))
        throw ConversionError("'" + dateNumbers(year, month, day) + "' nem érvényes dátum.");
    return {year, month, day};
}

std::string padded(int number, std::size_t width) {
    std::string digits = std::to_string(number);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return digits;
}

ClockTime checkedTime(int hour, int minute, int second, int millisecond) {
    if (!isValidTime(hour, minute, second, millisecond))
        throw ConversionError("'" + padded(hour, 2) + ":" + padded(minute, 2) + ":" +
                              padded(second, 2) + "." + padded(millisecond, 3) +
                              "' nem érvényes időpont.");
    return {hour, minute, second, millisecond};
}

// ---- formatting ----

char lowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
}

int weekday(DateTime value) { // 0 Sunday .. 6 Saturday; day 0 was a Saturday
    const std::int64_t day = split(value).day;
    return static_cast<int>(((day + 6) % 7 + 7) % 7);
}

std::string formatMonth(const CalendarDate& date, std::size_t count) {
    if (count >= 4)
        return monthNames[static_cast<std::size_t>(date.month - 1)];
    if (count == 3)
        return monthShortNames[static_cast<std::size_t>(date.month - 1)];
    return padded(date.month, count);
}

std::string formatDay(DateTime value, const CalendarDate& date, std::size_t count) {
    if (count >= 5)
        return dateToText(value);
    if (count == 4)
        return weekdayNames[static_cast<std::size_t>(weekday(value))];
    if (count == 3)
        return weekdayShortNames[static_cast<std::size_t>(weekday(value))];
    return padded(date.day, count);
}

// One run of a format letter; `afterHour` turns m into minutes.
std::string formatRun(char letter, std::size_t count, bool afterHour, DateTime value,
                      const DateTimeParts& parts) {
    const CalendarDate& d = parts.date;
    const ClockTime& t = parts.time;
    switch (letter) {
    case 'y':
        return count <= 2 ? padded(d.year % 100, 2) : padded(d.year, 4);
    case 'm':
        return afterHour ? padded(t.minute, std::min<std::size_t>(count, 2))
                         : formatMonth(d, count);
    case 'd':
        return formatDay(value, d, count);
    case 'h':
        return padded(t.hour, std::min<std::size_t>(count, 2));
    case 'n':
        return padded(t.minute, std::min<std::size_t>(count, 2));
    case 's':
        return padded(t.second, std::min<std::size_t>(count, 2));
    default: // 'z'
        return padded(t.millisecond, count >= 3 ? 3 : 1);
    }
}

bool isFormatLetter(char c) {
    const std::string_view letters = "ymdhnsz";
    return letters.find(c) != std::string_view::npos;
}

// ---- parsing ----

// Reads a text from left to right.
class Scanner {
public:
    explicit Scanner(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ == text_.size(); }

    bool accept(char c) {
        if (atEnd() || text_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }

    std::size_t skipBlanks() {
        const std::size_t start = pos_;
        while (!atEnd() && text_[pos_] == ' ')
            ++pos_;
        return pos_ - start;
    }

    // A run of digits whose length lies in [minCount, maxCount], with its length.
    std::optional<int> number(std::size_t minCount, std::size_t maxCount,
                              std::size_t* length = nullptr) {
        const std::size_t start = pos_;
        int value = 0;
        while (!atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9' && pos_ - start < maxCount)
            value = value * 10 + (text_[pos_++] - '0');
        const std::size_t count = pos_ - start;
        if (count < minCount || (!atEnd() && text_[pos_] >= '0' && text_[pos_] <= '9'))
            return std::nullopt;
        if (length)
            *length = count;
        return value;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

std::optional<DateTime> dateFromNumbers(std::optional<int> year, std::optional<int> month,
                                        std::optional<int> day) {
    if (!year || !month || !day)
        return std::nullopt;
    return tryEncodeDate(*year, *month, *day);
}

// "2010. 03. 05." or "2010-03-05"; `trailingPoint` tells whether the dotted form ended
// with its optional point.
std::optional<DateTime> scanDate(Scanner& in, bool& trailingPoint) {
    const std::optional<int> year = in.number(4, 4);
    trailingPoint = false;
    if (in.accept('-')) {
        const std::optional<int> month = in.number(1, 2);
        if (!in.accept('-'))
            return std::nullopt;
        return dateFromNumbers(year, month, in.number(1, 2));
    }
    if (!in.accept('.'))
        return std::nullopt;
    in.skipBlanks();
    const std::optional<int> month = in.number(1, 2);
    if (!in.accept('.'))
        return std::nullopt;
    in.skipBlanks();
    const std::optional<int> day = in.number(1, 2);
    trailingPoint = in.accept('.');
    return dateFromNumbers(year, month, day);
}

// "9:05", "09:05:03", "09:05:03.250" (or with a comma before the milliseconds).
std::optional<DateTime> scanTime(Scanner& in) {
    const std::optional<int> hour = in.number(1, 2);
    if (!hour || !in.accept(':'))
        return std::nullopt;
    const std::optional<int> minute = in.number(2, 2);
    std::optional<int> second = 0;
    std::optional<int> ms = 0;
    if (in.accept(':')) {
        second = in.number(2, 2);
        if (in.accept('.') || in.accept(',')) {
            std::size_t digits = 0;
            ms = in.number(1, 3, &digits);
            for (; ms && digits < 3; ++digits)
                *ms *= 10;
        }
    }
    if (!minute || !second || !ms || !isValidTime(*hour, *minute, *second, *ms))
        return std::nullopt;
    return encodeTime(*hour, *minute, *second, *ms);
}

std::optional<DateTime> scanDateTime(std::string_view text, bool timeAllowed) {
    Scanner in(trim(text));
    bool trailingPoint = false;
    const std::optional<DateTime> date = scanDate(in, trailingPoint);
    const bool blank = in.skipBlanks() > 0;
    if (!date || in.atEnd())
        return date;
    if (!timeAllowed || !(blank || trailingPoint))
        return std::nullopt;
    const std::optional<DateTime> time = scanTime(in);
    if (!time || !in.atEnd())
        return std::nullopt;
    return encodeDateTime({decodeDate(*date), decodeTime(*time)});
}

[[noreturn]] void throwBadDate(std::string_view text) {
    throw ConversionError("'" + std::string(text) + "' nem érvényes dátum.");
}

} // namespace

bool isLeapYear(int year) {
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int daysInMonth(int year, int month) {
    constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : days[static_cast<std::size_t>(month - 1)];
}

bool isValidDate(int year, int month, int day) {
    return year >= 1 && year <= 9999 && day >= 1 && day <= daysInMonth(year, month);
}

bool isValidTime(int hour, int minute, int second, int millisecond) {
    return hour >= 0 && hour < 24 && minute >= 0 && minute < 60 && second >= 0 && second < 60 &&
           millisecond >= 0 && millisecond < 1000;
}

DateTime encodeDate(int year, int month, int day) {
    return static_cast<DateTime>(dayNumber(checkedDate(year, month, day)));
}

std::optional<DateTime> tryEncodeDate(int year, int month, int day) {
    if (!isValidDate(year, month, day))
        return std::nullopt;
    return static_cast<DateTime>(dayNumber({year, month, day}));
}

DateTime encodeTime(int hour, int minute, int second, int millisecond) {
    return compose(0, static_cast<double>(msOfDay(checkedTime(hour, minute, second, millisecond))));
}

DateTime encodeDateTime(const DateTimeParts& parts) {
    const CalendarDate& d = parts.date;
    const ClockTime& t = parts.time;
    return compose(
        dayNumber(checkedDate(d.year, d.month, d.day)),
        static_cast<double>(msOfDay(checkedTime(t.hour, t.minute, t.second, t.millisecond))));
}

CalendarDate decodeDate(DateTime value) {
    return civilFromDays(split(value).day - daysFrom18991230To19700101);
}

ClockTime decodeTime(DateTime value) {
    const std::int64_t ms = split(value).ms;
    return {static_cast<int>(ms / 3600000), static_cast<int>(ms / 60000 % 60),
            static_cast<int>(ms / 1000 % 60), static_cast<int>(ms % 1000)};
}

DateTimeParts decodeDateTime(DateTime value) {
    return {decodeDate(value), decodeTime(value)};
}

DateTime datePart(DateTime value) {
    return static_cast<DateTime>(split(value).day);
}

DateTime timePart(DateTime value) {
    return compose(0, static_cast<double>(split(value).ms));
}

DateTime now() {
    const auto clock = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(clock);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    const auto sinceEpoch =
        std::chrono::duration_cast<std::chrono::milliseconds>(clock.time_since_epoch()).count();
    const int ms = static_cast<int>((sinceEpoch % 1000 + 1000) % 1000);
    return encodeDateTime({{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday},
                           {local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), ms}});
}

DateTime today() {
    return datePart(now());
}

DateTime paradoxDaysToDateTime(std::int32_t days) {
    return static_cast<DateTime>(static_cast<std::int64_t>(days) - paradoxDayOf18991230);
}

std::int32_t dateTimeToParadoxDays(DateTime value) {
    return static_cast<std::int32_t>(split(value).day + paradoxDayOf18991230);
}

DateTime paradoxTimestampToDateTime(double ms) {
    const double whole = std::round(ms);
    const double days = std::floor(whole / static_cast<double>(msPerDay));
    const double rest = whole - days * static_cast<double>(msPerDay);
    return compose(static_cast<std::int64_t>(days) - paradoxDayOf18991230, rest);
}

double dateTimeToParadoxTimestamp(DateTime value) {
    const DayAndTime parts = split(value);
    return static_cast<double>((parts.day + paradoxDayOf18991230) * msPerDay + parts.ms);
}

DateTime paradoxTimeToDateTime(std::int32_t ms) {
    return compose(0, static_cast<double>(ms));
}

std::int32_t dateTimeToParadoxTime(DateTime value) {
    return static_cast<std::int32_t>(split(value).ms);
}

std::string formatDateTime(std::string_view format, DateTime value) {
    const DateTimeParts parts = decodeDateTime(value);
    std::string out;
    bool afterHour = false;
    std::size_t i = 0;
    while (i < format.size()) {
        const char c = format[i];
        if (c == '\'' || c == '"') {
            const std::size_t close = format.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? format.size() : close;
            out.append(format.substr(i + 1, end - i - 1));
            i = end == format.size() ? end : end + 1;
            continue;
        }
        const char letter = lowerAscii(c);
        if (!isFormatLetter(letter)) {
            out += c;
            ++i;
            continue;
        }
        std::size_t count = 1;
        while (i + count < format.size() && lowerAscii(format[i + count]) == letter)
            ++count;
        out += formatRun(letter, count, afterHour, value, parts);
        afterHour = letter == 'h';
        i += count;
    }
    return out;
}

std::string dateToText(DateTime value) {
    return formatDateTime("yyyy. mm. dd.", value);
}
std::string dateTimeToText(DateTime value) {
    return formatDateTime("yyyy. mm. dd. hh:nn:ss", value);
}
std::string timeToText(DateTime value) {
    return formatDateTime("hh:nn:ss", value);
}
std::string filterDateText(DateTime value) {
    return formatDateTime("yyyy. m. d.", value);
}
std::string monthDayYearText(DateTime value) {
    return formatDateTime("m/d/yyyy", value);
}

std::optional<DateTime> tryParseDate(std::string_view text) {
    return scanDateTime(text, false);
}

DateTime parseDate(std::string_view text) {
    if (const std::optional<DateTime> value = tryParseDate(text))
        return *value;
    throwBadDate(text);
}

std::optional<DateTime> tryParseDateTime(std::string_view text) {
    return scanDateTime(text, true);
}

DateTime parseDateTime(std::string_view text) {
    if (const std::optional<DateTime> value = tryParseDateTime(text))
        return *value;
    throwBadDate(text);
}

std::optional<DateTime> tryParseTime(std::string_view text) {
    Scanner in(trim(text));
    const std::optional<DateTime> time = scanTime(in);
    if (!time || !in.atEnd())
        return std::nullopt;
    return time;
}

DateTime parseTime(std::string_view text) {
    if (const std::optional<DateTime> value = tryParseTime(text))
        return *value;
    throw ConversionError("'" + std::string(text) + "' nem érvényes időpont.");
}

DateTime parseMonthDayYear(std::string_view text) {
    Scanner in(trim(text));
    const std::optional<int> month = in.number(1, 2);
    const bool slash1 = in.accept('/');
    const std::optional<int> day = in.number(1, 2);
    const bool slash2 = in.accept('/');
    const std::optional<int> year = in.number(4, 4);
    if (slash1 && slash2 && in.atEnd())
        if (const std::optional<DateTime> value = dateFromNumbers(year, month, day))
            return *value;
    throwBadDate(text);
}

} // namespace sys
