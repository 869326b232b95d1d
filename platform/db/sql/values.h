#pragma once
// Values in SQL expressions: comparison with the dialect's coercions, arithmetic, and
// keys for hashing (joins, groups, DISTINCT).

#include "platform/db/field.h"
#include "platform/db/value.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace db::sql {

// <0, 0, >0, or nullopt when either side is NULL or the two cannot be compared. Numbers
// of any kind compare by value; a text against a number reads the text as a number
// ("2005", "0"); a text against a date or timestamp reads it as month/day/year
// ("3/1/2005", "2/1/2020 01:00:02"), as the Hungarian date ("2005. 03. 01.") or the ISO
// one, a time of day after it optional; dates and timestamps compare by instant; a time
// compares with a time of day (a text "01:00:01", "1:00 PM", a timestamp's, a date's
// midnight); flags compare with flags and with 0/1. Texts compare by their bytes (case
// matters).
std::optional<int> compareValues(const Value& a, const Value& b);

// A constant compared with a field of `type`, read as that field's kind the way
// compareValues reads it (a text as a date, a time, a number or a flag; "true"/"false"
// for a flag); nullopt when it cannot be read so. A text field, NULL and values that
// compareValues takes as they are come back unchanged.
std::optional<Value> asKindOf(FieldType type, const Value& constant);

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
