#include "platform/db/field.h"

#include <gtest/gtest.h>

TEST(FieldType, LettersRoundTrip) {
    for (char c : std::string("ADSI$NLMBFOGT@+#Y")) {
        auto t = db::typeFromLetter(c);
        ASSERT_TRUE(t) << c;
        EXPECT_EQ(db::typeLetter(*t), c);
        EXPECT_EQ(db::typeFromCode(static_cast<std::uint8_t>(*t)), t);
    }
    EXPECT_FALSE(db::typeFromLetter('Z'));
    EXPECT_FALSE(db::typeFromCode(0x07));
}
