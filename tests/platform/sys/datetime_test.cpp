#include "platform/sys/datetime.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

using sys::CalendarDate;
using sys::ClockTime;
using sys::ConversionError;
using sys::DateTime;

DateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return sys::encodeDateTime({{y, mo, d}, {h, mi, s, ms}});
}

std::string errorOf(void (*call)()) {
    try {
        call();
    } catch (const ConversionError& e) {
        return e.what();
    }
    return "no error";
}

TEST(DateTime, KnownDayNumbers) {
    EXPECT_EQ(sys::encodeDate(1899, 12, 30), 0);
    EXPECT_EQ(sys::encodeDate(1899, 12, 31), 1);
    EXPECT_EQ(sys::encodeDate(1899, 12, 29), -1);
    EXPECT_EQ(sys::encodeDate(1900, 1, 1), 2);
    EXPECT_EQ(sys::encodeDate(1900, 3, 1), 61); // 1900 is no leap year
    EXPECT_EQ(sys::encodeDate(2010, 3, 5), 40242);
    EXPECT_EQ(sys::encodeDate(1, 1, 1), sys::firstValidDay);
    EXPECT_EQ(sys::encodeDate(9999, 12, 31), sys::lastValidDay);
}

TEST(DateTime, EveryDayOfTheRangeDecodesToTheNextCalendarDay) {
    CalendarDate expected{1, 1, 1};
    for (auto day = static_cast<int>(sys::firstValidDay); day <= sys::lastValidDay; ++day) {
        const CalendarDate got = sys::decodeDate(day);
        ASSERT_EQ(got, expected) << "day " << day;
        ASSERT_EQ(sys::encodeDate(got.year, got.month, got.day), day);
        if (++expected.day > sys::daysInMonth(expected.year, expected.month)) {
            expected.day = 1;
            if (++expected.month > 12)
                expected = {expected.year + 1, 1, 1};
        }
    }
}

TEST(DateTime, ValidDates) {
    EXPECT_TRUE(sys::isValidDate(2000, 2, 29));
    EXPECT_TRUE(sys::isValidDate(2004, 2, 29));
    EXPECT_FALSE(sys::isValidDate(1900, 2, 29));
    EXPECT_FALSE(sys::isValidDate(2100, 2, 29));
    EXPECT_FALSE(sys::isValidDate(2010, 2, 29));
    EXPECT_FALSE(sys::isValidDate(2010, 4, 31));
    EXPECT_FALSE(sys::isValidDate(2010, 0, 1));
    EXPECT_FALSE(sys::isValidDate(2010, 13, 1));
    EXPECT_FALSE(sys::isValidDate(2010, 1, 0));
    EXPECT_FALSE(sys::isValidDate(0, 1, 1));
    EXPECT_FALSE(sys::isValidDate(10000, 1, 1));
    EXPECT_FALSE(sys::tryEncodeDate(2010, 2, 30));
    EXPECT_EQ(errorOf([] { sys::encodeDate(2010, 2, 30); }), "'2010. 2. 30.' nem érvényes dátum.");
    EXPECT_EQ(errorOf([] { sys::encodeTime(24, 0, 0); }), "'24:00:00.000' nem érvényes időpont.");
    EXPECT_THROW(sys::encodeTime(0, 60, 0), ConversionError);
    EXPECT_THROW(sys::encodeTime(0, 0, 0, 1000), ConversionError);
}

TEST(DateTime, FractionIsTheTimeAlsoBeforeTheEpoch) {
    EXPECT_EQ(at(1899, 12, 29, 6), -1.25);
    EXPECT_EQ(at(1899, 12, 28, 18), -2.75);
    EXPECT_EQ(at(1899, 12, 30, 12), 0.5);
    EXPECT_EQ(at(2010, 3, 5, 18), 40242.75);
    EXPECT_EQ(sys::decodeDateTime(-1.25), (sys::DateTimeParts{{1899, 12, 29}, {6, 0, 0, 0}}));
    // Between -1 and 0 the day is 1899-12-30, as the integer part says.
    EXPECT_EQ(sys::decodeDateTime(-0.25), (sys::DateTimeParts{{1899, 12, 30}, {6, 0, 0, 0}}));
    EXPECT_EQ(sys::datePart(-1.25), -1);
    EXPECT_EQ(sys::timePart(-1.25), 0.25);
    EXPECT_EQ(sys::datePart(40242.75), 40242);
}

TEST(DateTime, TimesRoundTripToTheMillisecondOnBothSidesOfTheEpoch) {
    for (const int day : {40242, 0, -1000, static_cast<int>(sys::firstValidDay),
                          static_cast<int>(sys::lastValidDay)}) {
        const CalendarDate date = sys::decodeDate(day);
        for (int second = 0; second < 86400; second += 7) {
            for (const int ms : {0, 1, 499, 500, 999}) {
                const ClockTime time{second / 3600, second / 60 % 60, second % 60, ms};
                const DateTime value = sys::encodeDateTime({date, time});
                ASSERT_EQ(sys::decodeDateTime(value), (sys::DateTimeParts{date, time}))
                    << day << " " << second << " " << ms;
            }
        }
    }
}

TEST(DateTime, MillisecondRoundingCarriesIntoTheDay) {
    EXPECT_EQ(sys::decodeDateTime(0.99999999999), (sys::DateTimeParts{{1899, 12, 31}, {}}));
    EXPECT_EQ(sys::decodeDateTime(40242.0 + 0.4 / 86400000),
              (sys::DateTimeParts{{2010, 3, 5}, {}}));
    EXPECT_EQ(sys::decodeTime(40242.0 + 0.6 / 86400000), (ClockTime{0, 0, 0, 1}));
    EXPECT_EQ(sys::decodeDate(-1.99999999999), (CalendarDate{1899, 12, 28}));
    EXPECT_EQ(sys::decodeTime(sys::lastValidDay + 0.9999999), (ClockTime{23, 59, 59, 991}));
}

TEST(DateTime, ValuesOutsideTheCalendarAreRefused) {
    EXPECT_THROW(sys::decodeDate(sys::firstValidDay - 1), ConversionError);
    EXPECT_THROW(sys::decodeDate(sys::lastValidDay + 1), ConversionError);
    EXPECT_THROW(sys::decodeDate(sys::lastValidDay + 0.9999999999), ConversionError);
    EXPECT_THROW(sys::decodeDate(std::nan("")), ConversionError);
    EXPECT_THROW(sys::decodeDate(HUGE_VAL), ConversionError);
    EXPECT_EQ(errorOf([] { sys::dateToText(1e20); }), "'1E20' nem érvényes dátumérték.");
    EXPECT_EQ(sys::decodeDateTime(sys::firstValidDay - 0.5),
              (sys::DateTimeParts{{1, 1, 1}, {12, 0, 0, 0}}));
}

TEST(DateTime, TodayIsTheDateOfNow) {
    const DateTime day = sys::today();
    const DateTime moment = sys::now();
    EXPECT_EQ(day, std::floor(day));
    EXPECT_GE(moment, day);
    EXPECT_LT(moment, day + 2);
    EXPECT_GE(sys::decodeDate(day).year, 2024);
}

// The raw numbers an independent Paradox reader gives for the generated test table.
TEST(DateTime, ParadoxUnits) {
    EXPECT_EQ(sys::dateTimeToParadoxDays(sys::encodeDate(1, 1, 1)), 1);
    EXPECT_EQ(sys::dateTimeToParadoxDays(sys::encodeDate(2024, 3, 15)), 738960);
    EXPECT_EQ(sys::dateTimeToParadoxDays(sys::encodeDate(1999, 12, 31)), 730119);
    EXPECT_EQ(sys::dateTimeToParadoxDays(sys::encodeDate(9999, 12, 31)), 3652059);
    EXPECT_EQ(sys::dateTimeToParadoxDays(at(1899, 12, 29, 23)), 693593);
    EXPECT_EQ(sys::paradoxDaysToDateTime(738960), sys::encodeDate(2024, 3, 15));
    EXPECT_EQ(sys::paradoxDaysToDateTime(1), sys::firstValidDay);

    EXPECT_EQ(sys::dateTimeToParadoxTimestamp(at(2024, 3, 15, 8, 30, 15, 250)), 63846174615250.0);
    EXPECT_EQ(sys::dateTimeToParadoxTimestamp(at(1999, 12, 31, 23, 59, 59)), 63082367999000.0);
    EXPECT_EQ(sys::dateTimeToParadoxTimestamp(at(2000, 2, 29, 12)), 63087508800000.0);
    EXPECT_EQ(sys::dateTimeToParadoxTimestamp(at(1900, 1, 1)), 59926694400000.0);
    EXPECT_EQ(sys::paradoxTimestampToDateTime(63846174615250.0), at(2024, 3, 15, 8, 30, 15, 250));
    EXPECT_EQ(sys::paradoxTimestampToDateTime(59926694400000.0), at(1900, 1, 1));
    for (const DateTime value : {at(1899, 12, 29, 6), at(1800, 6, 1, 18, 0, 0, 1), at(1, 1, 1),
                                 at(1, 1, 1, 23, 59, 59, 999), at(9999, 12, 31, 23, 59, 59, 999)})
        EXPECT_EQ(sys::paradoxTimestampToDateTime(sys::dateTimeToParadoxTimestamp(value)), value);

    EXPECT_EQ(sys::dateTimeToParadoxTime(sys::encodeTime(8, 30, 0)), 30600000);
    EXPECT_EQ(sys::dateTimeToParadoxTime(sys::encodeTime(23, 59, 59, 999)), 86399999);
    EXPECT_EQ(sys::dateTimeToParadoxTime(at(1899, 12, 29, 6)), 21600000);
    EXPECT_EQ(sys::paradoxTimeToDateTime(43200000), 0.5);
    EXPECT_THROW(sys::dateTimeToParadoxDays(sys::lastValidDay + 1), ConversionError);
}

TEST(DateTime, Formats) {
    const DateTime march5 = at(2010, 3, 5, 9, 5, 3, 7);
    EXPECT_EQ(sys::dateToText(march5), "2010. 03. 05.");
    EXPECT_EQ(sys::dateToText(0), "1899. 12. 30.");
    EXPECT_EQ(sys::dateToText(-1.25), "1899. 12. 29.");
    EXPECT_EQ(sys::dateToText(sys::firstValidDay), "0001. 01. 01.");
    EXPECT_EQ(sys::filterDateText(march5), "2010. 3. 5.");
    EXPECT_EQ(sys::filterDateText(sys::encodeDate(2008, 12, 31)), "2008. 12. 31.");
    EXPECT_EQ(sys::monthDayYearText(march5), "3/5/2010");
    EXPECT_EQ(sys::monthDayYearText(sys::encodeDate(2004, 11, 18)), "11/18/2004");
    EXPECT_EQ(sys::dateTimeToText(march5), "2010. 03. 05. 09:05:03");
    EXPECT_EQ(sys::timeToText(march5), "09:05:03");

    EXPECT_EQ(sys::formatDateTime("yyyymmdd", march5), "20100305");
    EXPECT_EQ(sys::formatDateTime("yy.MM.DD", march5), "10.03.05");
    EXPECT_EQ(sys::formatDateTime("yy", sys::firstValidDay), "01");
    EXPECT_EQ(sys::formatDateTime("h:m:s z hh:mm:ss.zzz", march5), "9:5:3 7 09:05:03.007");
    EXPECT_EQ(sys::formatDateTime("hh:nn m", march5), "09:05 3"); // m after minutes is a month
    EXPECT_EQ(sys::formatDateTime("'res'yyyy_m_d_h_n_s", at(2010, 7, 21, 9, 5, 3)),
              "res2010_7_21_9_5_3");
    EXPECT_EQ(sys::formatDateTime("\"nap: d\" d 'yyyy", march5), "nap: d 5 yyyy");
    EXPECT_EQ(sys::formatDateTime("yyyy. mmmm d., dddd (mmm, ddd)", march5),
              "2010. március 5., péntek (márc., P)");
    EXPECT_EQ(sys::formatDateTime("dddd", 0), "szombat");
    EXPECT_EQ(sys::formatDateTime("dddd", -1), "péntek");
    EXPECT_EQ(sys::formatDateTime("ddddd", march5), "2010. 03. 05.");
}

TEST(DateTime, ParsesTheUsualDateForms) {
    const DateTime march5 = sys::encodeDate(2010, 3, 5);
    for (const char* text :
         {"2010. 03. 05.", "2010. 03. 05", "2010.03.05", "2010.03.05.", "2010. 3. 5.", "2010.3.5",
          "2010.3.5.", "2010-03-05", "2010-3-5", "  2010. 03. 05.  ", "2010.  3.  5."})
        EXPECT_EQ(sys::parseDate(text), march5) << text;
    EXPECT_EQ(sys::parseDate("2011.06.20."), sys::encodeDate(2011, 6, 20));
    EXPECT_EQ(sys::parseDate("1899. 12. 30."), 0);
    EXPECT_EQ(sys::parseDate("2000. 02. 29."), sys::encodeDate(2000, 2, 29));
    EXPECT_EQ(sys::parseDate("0001. 01. 01."), sys::firstValidDay);

    for (const char* text :
         {"", "   ", "abc", "2010. 02. 30.", "1900. 02. 29.", "2010. 13. 01.", "2010. 00. 10.",
          "0000. 01. 01.", "10. 03. 05.", "20100. 3. 5.", "2010. 003. 05.", "2010/03/05",
          "2010. 03", "2010. 03. 05. x", "2010-03-05.", "2010.03-05", "2010 . 03 . 05",
          "2010. 03. 05. 9:05", "-2010. 03. 05."})
        EXPECT_FALSE(sys::tryParseDate(text)) << text;
    EXPECT_EQ(errorOf([] { sys::parseDate("2010. 02. 30."); }),
              "'2010. 02. 30.' nem érvényes dátum.");
}

TEST(DateTime, ParsesDateAndTimeAndTheSqlForm) {
    EXPECT_EQ(sys::parseDateTime("2010. 03. 05. 9:05"), at(2010, 3, 5, 9, 5));
    EXPECT_EQ(sys::parseDateTime("2010-03-05 09:05:03.25"), at(2010, 3, 5, 9, 5, 3, 250));
    EXPECT_EQ(sys::parseDateTime("1899.12.29. 06:00:00"), -1.25);
    EXPECT_EQ(sys::parseDateTime("2010. 03. 05."), sys::encodeDate(2010, 3, 5));
    EXPECT_FALSE(sys::tryParseDateTime("2010. 03. 05 24:00"));
    EXPECT_FALSE(sys::tryParseDateTime("2010.03.059:05"));
    EXPECT_FALSE(sys::tryParseDateTime("2010-03-05 9:05 x"));

    EXPECT_EQ(sys::parseTime("9:05"), sys::encodeTime(9, 5, 0));
    EXPECT_EQ(sys::parseTime(" 23:59:59,999 "), sys::encodeTime(23, 59, 59, 999));
    for (const char* text : {"9:5", "9:60", "24:00", "9", "9:05:3", "9:05:03.1234", ""})
        EXPECT_FALSE(sys::tryParseTime(text)) << text;
    EXPECT_EQ(errorOf([] { sys::parseTime("25:00"); }), "'25:00' nem érvényes időpont.");

    EXPECT_EQ(sys::parseMonthDayYear("3/5/2010"), sys::encodeDate(2010, 3, 5));
    EXPECT_EQ(sys::parseMonthDayYear("12/31/2008"), sys::encodeDate(2008, 12, 31));
    EXPECT_EQ(sys::parseMonthDayYear(sys::monthDayYearText(40242.5)), 40242);
    EXPECT_THROW(sys::parseMonthDayYear("2/29/2009"), ConversionError);
    EXPECT_THROW(sys::parseMonthDayYear("3-5-2010"), ConversionError);
    EXPECT_THROW(sys::parseMonthDayYear("2010. 3. 5."), ConversionError);
}

} // namespace
