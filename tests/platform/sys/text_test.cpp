#include "platform/sys/text.h"

#include <gtest/gtest.h>

namespace {

TEST(Text, HungarianCase) {
    EXPECT_EQ(sys::toUpper("árvíztűrő tükörfúrógép"), "ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP");
    EXPECT_EQ(sys::toLower("ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP"), "árvíztűrő tükörfúrógép");
    EXPECT_EQ(sys::toUpper("Őszi búza 2010/11"), "ŐSZI BÚZA 2010/11");
    EXPECT_EQ(sys::toLower("ŐSZI BÚZA"), "őszi búza");
}

TEST(Text, OtherLatinLettersAndCharactersWithoutCase) {
    EXPECT_EQ(sys::toUpper("łśčžřńďťľĺŕůąę"), "ŁŚČŽŘŃĎŤĽĹŔŮĄĘ");
    EXPECT_EQ(sys::toLower("ŁŚČŽŘŃĎŤĽĹŔŮĄĘ"), "łśčžřńďťľĺŕůąę");
    EXPECT_EQ(sys::toUpper("ÿ"), "Ÿ");
    EXPECT_EQ(sys::toLower("Ÿ"), "ÿ");
    EXPECT_EQ(sys::toUpper("ß×÷ĸŉ"), "ß×÷ĸŉ");
    EXPECT_EQ(sys::toLower("×÷"), "×÷");
    EXPECT_EQ(sys::toLower("İ"), "i");
    EXPECT_EQ(sys::toUpper("ı"), "I");
    EXPECT_EQ(sys::toUpper("中€ 1"), "中€ 1");
    EXPECT_EQ(sys::toUpper("a\xFF"
                           "b\xC5"),
              "A\xFF"
              "B\xC5");
}

TEST(Text, CompareIgnoringCase) {
    EXPECT_EQ(sys::compareNoCase("Őszi BÚZA", "őszi búza"), 0);
    EXPECT_TRUE(sys::equalsNoCase("TÜKÖRFÚRÓGÉP", "tükörfúrógép"));
    EXPECT_FALSE(sys::equalsNoCase("ő", "ö"));
    EXPECT_FALSE(sys::equalsNoCase("ű", "ü"));
    EXPECT_LT(sys::compareNoCase("alma", "BANÁN"), 0);
    EXPECT_GT(sys::compareNoCase("Banán", "alma"), 0);
    EXPECT_LT(sys::compareNoCase("búz", "BÚZA"), 0);
    EXPECT_GT(sys::compareNoCase("BÚZA", "búz"), 0);
    EXPECT_EQ(sys::compareNoCase("", ""), 0);
    EXPECT_FALSE(sys::equalsNoCase("a\xFF", "a\xFE"));
    EXPECT_FALSE(sys::equalsNoCase("a\xC3", "aÃ"));
}

TEST(Text, Trim) {
    EXPECT_EQ(sys::trim("  őszi búza \t\r\n"), "őszi búza");
    EXPECT_EQ(sys::trim("   "), "");
    EXPECT_EQ(sys::trim(""), "");
}

} // namespace
