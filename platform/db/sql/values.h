#pragma once
// Values in SQL expressions: comparison with the dialect's coercions, arithmetic, and
// keys for hashing (joins, groups, DISTINCT).

#include "platform/db/value.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace db::sql {

// <0, 0, >0, or nullopt when either side is NULL or the two cannot be compared. Numbers
// of any kind compare by value; a text against a number reads the text as a number
// ("2005", "0"); a text against a date reads it as month/day/year ("3/1/2005") or as
// the Hungarian short date; dates and timestamps compare by instant; flags compare with
// flags and with 0/1. Texts compare by their bytes (case matters).
std::optional<int> compareValues(const Value& a, const Value& b);

// A number for arithmetic: numbers, flags (0/1) and number-like text; nullopt otherwise.
std::optional<double> numberOf(const Value& v);

// The canonical form under which values that compare equal hash alike: every number
// as a double, everything else unchanged.
Value keyOf(const Value& v);
std::size_t hashValue(const Value& v);

struct ValueHash {
    std::size_t operator()(const Value& v) const { return hashValue(v); }
};

struct KeyHash {
    std::size_t operator()(const std::vector<Value>& key) const;
};

} // namespace db::sql
