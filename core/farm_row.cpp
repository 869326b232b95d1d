#include "core/farm_row.h"

#include "platform/db/table.h"

namespace core {

const char* const kFarmRowFilter = "Nev IS NULL Or Nev <> '_*'";

bool IsOptionName(std::string_view nev) {
    return !nev.empty() && nev.front() == '_';
}

void FilterFarmRow(db::TDataSet& alapadatok) {
    db::FilterOptions options;
    options.noPartialCompare = false; // the star makes the prefix test
    alapadatok.SetFilterOptions(options);
    alapadatok.SetFilter(kFarmRowFilter);
    alapadatok.SetFiltered(true);
}

std::string FarmName(db::Session& session) {
    db::TTable table(session, "Table2");
    table.SetTableName("Alapadatok");
    FilterFarmRow(table);
    table.Open();
    table.First();
    std::string name = table.IsEmpty() ? std::string() : table.FieldByName("Nev").AsString();
    table.Close();
    return name;
}

} // namespace core
