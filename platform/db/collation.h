#pragma once
// Ordering of text keys as the table's language driver sorts them.
//
// What we implement for the dictionary drivers (anhundc, hun852dc, intl and the
// other non-"ascii" ones): text compares letter by letter on a primary level where
// an accented letter counts as its base letter and case is ignored (so "Ábel" sorts
// among the A's, "őz" beside "oz"); on equal primary weights, the unaccented form
// comes before the accented one; then lower case before upper case; finally the
// code-page bytes, so that two different texts never compare equal (they are two
// different keys). Spaces, digits and punctuation sort before letters, in code order.
// A shorter text that is a prefix of a longer one sorts first. The "ascii" driver
// (sort order byte 0) compares the code-page bytes.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

namespace db {

class Collation {
public:
    Collation(int codePage, std::uint8_t sortOrder);
    // The collation of a code page and sort order, built once per process and shared (it
    // never changes).
    static std::shared_ptr<const Collation> shared(int codePage, std::uint8_t sortOrder);

    // Compares two text fields' bytes (zero-padded, as stored); <0, 0, >0. Ignoring
    // case, texts that differ only in letter case compare equal.
    int compare(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b,
                bool ignoreCase = false) const;

    // The same order with letter case ignored: texts that differ only in case compare
    // equal (the "ascii" driver compares the bytes with each capital read as its small
    // letter).
    int compareIgnoringCase(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b) const;

    // Appends bytes whose memcmp order is compare()'s order: the primary weights, a
    // terminator, the accent weights, then (unless ignoring case) case and the bytes.
    void appendSortKey(std::span<const std::uint8_t> text, bool ignoreCase, std::string& key) const;

    bool binary() const { return binary_; }

private:
    struct Weights {
        std::uint16_t primary = 0;
        std::uint8_t accent = 0;
        std::uint8_t upper = 0;
    };
    std::array<Weights, 256> weights_{};
    std::array<std::uint8_t, 256> lower_{}; // each byte, capitals as their small letter
    bool binary_ = false;
};

} // namespace db
