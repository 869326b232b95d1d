#include "platform/sys/numbers.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace {

using sys::ConversionError;
using sys::DecimalSeparators;

TEST(Numbers, GeneralFormatWith15SignificantDigits) {
    EXPECT_EQ(sys::floatToText(0.1), "0,1");
    EXPECT_EQ(sys::floatToText(12.5), "12,5");
    EXPECT_EQ(sys::floatToText(100), "100");
    EXPECT_EQ(sys::floatToText(-0.125), "-0,125");
    EXPECT_EQ(sys::floatToText(0), "0");
    EXPECT_EQ(sys::floatToText(-0.0), "0");
    EXPECT_EQ(sys::floatToText(1.0 / 3), "0,333333333333333");
    EXPECT_EQ(sys::floatToText(2.0 / 3), "0,666666666666667");
    EXPECT_EQ(sys::floatToText(0.1 + 0.2), "0,3");
    EXPECT_EQ(sys::floatToText(12345 * 1.5 * 0.0001), "1,85175");
    EXPECT_EQ(sys::floatToText(-1234.56), "-1234,56");
    EXPECT_EQ(sys::floatToText(12.5, '.'), "12.5");
}

TEST(Numbers, ExponentFormAt1E15AndBelow0001) {
    EXPECT_EQ(sys::floatToText(1e14), "100000000000000");
    EXPECT_EQ(sys::floatToText(999999999999999.0), "999999999999999");
    EXPECT_EQ(sys::floatToText(-999999999999999.0), "-999999999999999");
    EXPECT_EQ(sys::floatToText(1e15), "1E15");
    EXPECT_EQ(sys::floatToText(999999999999999.9), "1E15"); // rounds up to 16 digits
    EXPECT_EQ(sys::floatToText(123456789012345678.0), "1,23456789012346E17");
    EXPECT_EQ(sys::floatToText(1e20), "1E20");
    EXPECT_EQ(sys::floatToText(-1.5e300), "-1,5E300");
    EXPECT_EQ(sys::floatToText(DBL_MAX), "1,79769313486232E308");
    EXPECT_EQ(sys::floatToText(0.0001), "0,0001");
    EXPECT_EQ(sys::floatToText(0.000123), "0,000123");
    EXPECT_EQ(sys::floatToText(0.00001), "1E-5");
    EXPECT_EQ(sys::floatToText(0.000099999999999999999), "0,0001"); // rounds up into fixed
    EXPECT_EQ(sys::floatToText(-1.5e-7), "-1,5E-7");
    EXPECT_EQ(sys::floatToText(std::numeric_limits<double>::denorm_min()), "4,94065645841247E-324");
    EXPECT_EQ(sys::floatToText(std::nan("")), "NAN");
    EXPECT_EQ(sys::floatToText(-HUGE_VAL), "-INF");
}

TEST(Numbers, TextReadsBackAsTheSameNumberTo15Digits) {
    for (const double x :
         {0.1, 1.0 / 3, -2.0 / 3, 12.5, 1e15, 1e-5, 123456.789, 1.5e-300, DBL_MAX / 10, 40242.75}) {
        const double back = sys::parseFloat(sys::floatToText(x));
        EXPECT_NEAR(back, x, std::abs(x) * 1e-14) << x;
        EXPECT_EQ(sys::floatToText(back), sys::floatToText(x));
    }
}

TEST(Numbers, ParsesCommaAndPoint) {
    EXPECT_EQ(sys::parseFloat("12,5"), 12.5);
    EXPECT_EQ(sys::parseFloat("12.5"), 12.5);
    EXPECT_EQ(sys::parseFloat("  -0,125\t"), -0.125);
    EXPECT_EQ(sys::parseFloat("+3"), 3);
    EXPECT_EQ(sys::parseFloat(",5"), 0.5);
    EXPECT_EQ(sys::parseFloat("5,"), 5);
    EXPECT_EQ(sys::parseFloat("1E20"), 1e20);
    EXPECT_EQ(sys::parseFloat("1,5e-3"), 0.0015);
    EXPECT_EQ(sys::parseFloat("2.5E+2"), 250);
    EXPECT_EQ(sys::parseFloat("1e-400"), 0);
    EXPECT_EQ(sys::parseFloat("0,00001e-320"), 0);
    EXPECT_EQ(sys::parseFloat("0e999999999999999999"), 0);
    EXPECT_EQ(sys::parseFloat("1e-9223372036854775808"), 0);
    EXPECT_EQ(sys::parseFloat("0,001e-9223372036854775807"), 0);
    EXPECT_EQ(sys::parseFloat("12,5", DecimalSeparators::CommaOnly), 12.5);
    EXPECT_FALSE(sys::tryParseFloat("12.5", DecimalSeparators::CommaOnly));

    for (const char* text : {"",
                             "   ",
                             "abc",
                             "1 234,5",
                             "1.234,5",
                             "1,234.5",
                             "1,2,3",
                             "12,5 kg",
                             "1e",
                             "1e+",
                             "e5",
                             "-",
                             ",",
                             "+-1",
                             "1e400",
                             "-1e400",
                             "1e99999999999999999999",
                             "10e9223372036854775807",
                             "1e9223372036854775807",
                             "0x10",
                             "inf",
                             "nan",
                             "1..2"})
        EXPECT_FALSE(sys::tryParseFloat(text)) << text;
    try {
        sys::parseFloat("abc");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'abc' nem érvényes szám.");
    }
}

TEST(Numbers, WholeNumbersWithinThe32BitRange) {
    EXPECT_EQ(sys::parseInt("123"), 123);
    EXPECT_EQ(sys::parseInt(" -7 "), -7);
    EXPECT_EQ(sys::parseInt("+42"), 42);
    EXPECT_EQ(sys::parseInt("2147483647"), 2147483647);
    EXPECT_EQ(sys::parseInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(sys::parseInt("000000000000100000"), 100000);
    for (const char* text : {"2147483648", "-2147483649", "99999999999", "12,5", "12.0", "1e3", "",
                             "-", "- 5", "+-5", "5-", "0x10", "12 3"})
        EXPECT_FALSE(sys::tryParseInt(text)) << text;
    try {
        sys::parseInt("12,5");
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'12,5' nem érvényes egész szám.");
    }
    EXPECT_EQ(sys::intToText(-2147483648LL), "-2147483648");
    EXPECT_EQ(sys::intToText(100001), "100001");
}

TEST(Numbers, DecimalRoundingIgnoresTheBinaryTraceOfAnExactDecimal) {
    EXPECT_EQ(sys::roundUp(64.4 * 27 * 0.01, 4), 17.388); // the plain ceiling gives 17,3881
    EXPECT_EQ(sys::floatToText(sys::roundUp(64.4 * 27 * 0.01, 4)), "17,388");
    EXPECT_EQ(sys::roundUp(2.0001, 3), 2.001);
    EXPECT_EQ(sys::roundUp(13 / (0.0001 * 20000), 3), 6.5);
    EXPECT_EQ(sys::roundDown(57.0 / 100 * 100, 2), 57); // the plain floor gives 56,99
    EXPECT_EQ(sys::roundDown(1.0 / 3 * 100, 2), 33.33);
    EXPECT_EQ(sys::roundUp(-0.004, 2), 0);
    EXPECT_FALSE(std::signbit(sys::roundUp(-0.004, 2)));
    EXPECT_FALSE(std::signbit(sys::roundUp(0.0, 2)));
}

} // namespace
