#pragma once
// Dates as the program computes with them: a day number counted from 30 December 1899
// in a double whose fraction is the time of day, so dates compare and subtract as
// numbers (day 0 is 1899-12-30, 40242.5 is 2010-03-05 12:00). Before 1899-12-30 the
// number is negative; its integer part is the day and the absolute value of its fraction
// the time: -1.25 is 1899-12-29 06:00. Values are read to the millisecond, rounded, so
// 0.99999999999 is 1899-12-31 00:00:00.000. Valid dates are proleptic Gregorian, years
// 1 to 9999.
//
// Text forms: the Hungarian short date "2010. 03. 05.", the filter form "2010. 3. 5.",
// the SQL form "3/5/2010", and date and time "2010. 03. 05. 09:05:03".

#include "platform/sys/conversion_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sys {

using DateTime = double;

struct CalendarDate {
    int year = 1;
    int month = 1;
    int day = 1;
    bool operator==(const CalendarDate&) const = default;
};

struct ClockTime {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    bool operator==(const ClockTime&) const = default;
};

struct DateTimeParts {
    CalendarDate date;
    ClockTime time;
    bool operator==(const DateTimeParts&) const = default;
};

inline constexpr DateTime firstValidDay = -693593; // 0001-01-01
inline constexpr DateTime lastValidDay = 2958465;  // 9999-12-31

bool isLeapYear(int year);
int daysInMonth(int year, int month); // 0 for a month outside 1..12
bool isValidDate(int year, int month, int day);
bool isValidTime(int hour, int minute, int second, int millisecond);

// Calendar parts to a day number; an invalid date or time throws ConversionError.
DateTime encodeDate(int year, int month, int day);
std::optional<DateTime> tryEncodeDate(int year, int month, int day);
DateTime encodeTime(int hour, int minute, int second, int millisecond = 0);
DateTime encodeDateTime(const DateTimeParts& parts);

// Day number to calendar parts; a value outside years 1..9999 (or not a number) throws
// ConversionError.
CalendarDate decodeDate(DateTime value);
ClockTime decodeTime(DateTime value);
DateTimeParts decodeDateTime(DateTime value);

DateTime datePart(DateTime value); // the day, at midnight
DateTime timePart(DateTime value); // the time of day, 0 <= t < 1

DateTime today(); // local date at midnight
DateTime now();   // local date and time

// Paradox field units. D: days with day 1 = 0001-01-01. @: milliseconds, where
// 0001-01-01 00:00 is 86400000 (the D day times a day's milliseconds). T: milliseconds
// since midnight. Reading is plain arithmetic; writing takes the day or time of day
// from the value, rounded to the millisecond, and throws ConversionError outside years
// 1..9999.
inline constexpr std::int32_t paradoxDayOf18991230 = 693594;
DateTime paradoxDaysToDateTime(std::int32_t days);
std::int32_t dateTimeToParadoxDays(DateTime value);
DateTime paradoxTimestampToDateTime(double ms);
double dateTimeToParadoxTimestamp(DateTime value);
DateTime paradoxTimeToDateTime(std::int32_t ms);
std::int32_t dateTimeToParadoxTime(DateTime value);

// Formats with the letters (case does not matter): yyyy, yy (year); m, mm (month, or
// minute right after an hour letter); mmm, mmmm (Hungarian month name short and long);
// d, dd (day); ddd, dddd (Hungarian weekday short and long); h, hh; n, nn (minute);
// s, ss; z, zzz (millisecond). One letter means no leading zero. Text in '...' or
// "..." and every other character is copied as it stands.
std::string formatDateTime(std::string_view format, DateTime value);

std::string dateToText(DateTime value);       // "2010. 03. 05."
std::string dateTimeToText(DateTime value);   // "2010. 03. 05. 09:05:03"
std::string timeToText(DateTime value);       // "09:05:03"
std::string filterDateText(DateTime value);   // "2010. 3. 5."
std::string monthDayYearText(DateTime value); // "3/5/2010"

// Reads a date typed by the user or stored as text: year (four digits), month and day
// separated by points (each may be followed by blanks, a final point is optional), or by
// hyphens: "2010. 03. 05.", "2010.3.5", "2010-03-05". Blanks around are ignored. An
// invalid or malformed date throws ConversionError "'2010. 02. 30.' nem érvényes dátum."
DateTime parseDate(std::string_view text);
std::optional<DateTime> tryParseDate(std::string_view text);

// A date as above, optionally followed by blanks and a time: "2010. 03. 05. 9:05",
// "2010-03-05 09:05:03.250".
DateTime parseDateTime(std::string_view text);
std::optional<DateTime> tryParseDateTime(std::string_view text);

// A time of day "9:05", "09:05:03" or "09:05:03.250"; the result is below 1.
DateTime parseTime(std::string_view text);
std::optional<DateTime> tryParseTime(std::string_view text);

// The SQL form month/day/year: "3/5/2010", "03/05/2010".
DateTime parseMonthDayYear(std::string_view text);

} // namespace sys
