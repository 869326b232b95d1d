#pragma once
// Narrowing a data set to whole values: a key, a code or a name is never a pattern, so a
// trailing '*' in it matches only itself.

#include "dataset.h"
#include "filter.h"

#include <string_view>

namespace db {

// Filters of `rows` compare text literals whole from now on.
inline void CompareWholeValues(TDataSet& rows) {
    FilterOptions options;
    options.noPartialCompare = true;
    rows.SetFilterOptions(options);
}

// Narrows `rows` to the rows whose field holds exactly that text (the data set is not
// opened here).
inline void FilterExactly(TDataSet& rows, std::string_view field, std::string_view text) {
    CompareWholeValues(rows);
    rows.SetFilter(filterEquals(field, text));
    rows.SetFiltered(true);
}

} // namespace db
