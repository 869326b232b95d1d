#pragma once
// Alapadatok.db holds the farm's basic-data row beside the option rows of the settings
// form (Nev = "_kesz", "_MuvFormState" ...). The rows share the table's key (an order of
// writing), so after the options were set on an empty table the farm row is not its
// first row. Whoever reads or writes the farm row narrows the table with the filter
// below, which passes every row but the option rows.

#include <string>
#include <string_view>

namespace db {
class Session;
class TDataSet;
} // namespace db

namespace core {

// Option rows are named with a leading '_'; a farm's name never starts with one.
bool IsOptionName(std::string_view nev);

// The filter of the farm row: "Nev IS NULL Or Nev <> '_*'".
extern const char* const kFarmRowFilter;

// Narrows a data set on Alapadatok.db to the farm row (First then reaches it).
void FilterFarmRow(db::TDataSet& alapadatok);

// The farm's name (Nev of the farm row), "" when there is no farm row. The main
// window's caption shows it.
std::string FarmName(db::Session& session);

} // namespace core
