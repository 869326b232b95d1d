// A result's compact rows give back every value exactly as it went in, also where a
// column's kinds change, after NULLs, and once the rows are rearranged.

#include "platform/db/sql/result_rows.h"

#include <gtest/gtest.h>

using namespace db;

TEST(ResultRowsTest, ValuesComeBackExactlyInTheirArrangedOrder) {
    const std::vector<Record> rows = {
        {Null{}, std::string("P1"), 2.5, Decimal{"-12.50"}, Null{}},
        {std::int32_t{7}, std::string(""), Null{}, Null{}, Bytes{0, 1, 2}},
        {std::string("hét"), Null{}, Timestamp{86400000.0}, Decimal{"3.00"}, Bytes{}},
        {true, std::string("P3"), 1.0, Null{}, Date{730000}},
    };
    sql::ResultRows kept;
    for (const Record& r : rows)
        kept.push_back(r);
    EXPECT_EQ(kept, rows);
    EXPECT_TRUE(kept.isBlank(1, 1));  // an empty text
    EXPECT_FALSE(kept.isNull(1, 1));  // stays a text
    EXPECT_EQ(kept.text(0, 1), "P1"); // read where it is kept
    EXPECT_FALSE(kept.text(0, 2));    // a number is no text
    EXPECT_THROW(kept.at(4), std::out_of_range);

    kept.arrange({3, 1, 0});
    EXPECT_EQ(kept, (std::vector<Record>{rows[3], rows[1], rows[0]}));
    kept.appendText("x"); // rows go on after an arrangement
    for (int i = 0; i < 4; ++i)
        kept.appendNull();
    EXPECT_EQ(kept.back(), (Record{std::string("x"), Null{}, Null{}, Null{}, Null{}}));
}
