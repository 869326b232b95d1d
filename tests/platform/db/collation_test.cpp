#include "platform/db/collation.h"
#include "platform/sys/codepage.h"

#include <gtest/gtest.h>
#include <random>

using namespace db;

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

std::vector<std::uint8_t> field(const std::string& utf8, std::size_t width = 12) {
    std::string bytes = sys::fromUtf8(utf8, 1250);
    bytes.resize(width, '\0');
    return {bytes.begin(), bytes.end()};
}

} // namespace

// Sorting by sort keys must give exactly the order of compare(), at every strength.
TEST(Collation, SortKeysOrderAsCompareDoes) {
    const Collation dictionary(1250, 0xE1), binary(1250, 0);
    const std::string letters[] = {"a", "á", "A", "Á", "o", "ö", "ő", "Ő", "z", " ", "1", ".", "b"};
    std::mt19937 rng(3);
    const auto text = [&] {
        std::string s;
        for (int n = static_cast<int>(rng() % 5); n >= 0; --n)
            s += letters[rng() % std::size(letters)];
        return s;
    };
    for (int i = 0; i < 20000; ++i) {
        const auto a = field(text()), b = field(text());
        for (const Collation* c : {&dictionary, &binary})
            for (const bool ignoreCase : {false, true}) {
                std::string ka, kb;
                c->appendSortKey(a, ignoreCase, ka);
                c->appendSortKey(b, ignoreCase, kb);
                ASSERT_EQ(sign(c->compare(a, b, ignoreCase)), sign(ka.compare(kb)))
                    << std::string(a.begin(), a.end()) << " / " << std::string(b.begin(), b.end());
            }
    }
    EXPECT_EQ(dictionary.compare(field("Ábel"), field("ábel"), true), 0);
    EXPECT_LT(dictionary.compare(field("ábel"), field("Ábel")), 0);
    EXPECT_LT(dictionary.compare(field("ó"), field("ő")), 0);
}
