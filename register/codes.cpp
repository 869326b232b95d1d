#include "codes.h"

#include "platform/db/table.h"
#include "platform/sys/numbers.h"
#include "platform/sys/text.h"

#include <algorithm>
#include <cstdint>
#include <optional>

namespace reg {

namespace {

// The highest whole number among the column's texts, if any.
std::optional<std::int64_t> HighestCode(db::Session& session, const CodeColumn& column) {
    if (!session.exists(column.table))
        return std::nullopt; // a table of a later subsystem that this database lacks
    db::TTable table(session, "CodeTable");
    table.SetTableName(column.table);
    table.Open();
    int field = table.FieldByName(column.field).Index();
    std::optional<std::int64_t> highest;
    for (std::size_t row = 0, rows = static_cast<std::size_t>(table.RecordCount()); row < rows;
         ++row) {
        db::Value value = table.rowValue(row, field);
        const auto* text = std::get_if<std::string>(&value);
        if (!text)
            continue;
        if (auto code = sys::tryParseInt(sys::trim(*text)))
            highest = std::max<std::int64_t>(highest.value_or(*code), *code);
    }
    table.Close();
    return highest;
}

} // namespace

std::string NextSequentialCode(db::Session& session, const std::vector<CodeColumn>& columns,
                               int start) {
    std::optional<std::int64_t> highest;
    for (const CodeColumn& column : columns)
        if (auto code = HighestCode(session, column))
            highest = std::max<std::int64_t>(highest.value_or(*code), *code);
    return sys::intToText(highest ? *highest + 1 : start);
}

std::string NextOwnerCode(db::Session& session) {
    return NextSequentialCode(session, {{"tulaj", "Tulkod"}, {"Tablak", "Tulkod"}});
}

} // namespace reg

namespace reg {

const std::vector<CodeColumn>& FieldCodeColumns() {
    static const std::vector<CodeColumn> columns{
        {"parcellak", "Parckod"},     {"Szhelyrajzi", "Parcellakod"}, {"Szparcellak", "Parckod"},
        {"Szparcellak", "Szparckod"}, {"Parckiegadat", "Parckod"},    {"Ultkieg02", "Parckod"},
        {"gyumalap", "Parcid"},       {"gyepalap", "Parcid"},         {"legnaplo", "Parcid"},
        {"Parclellak02", "Parckod"},  {"Tapterv", "Parckod"},         {"Parcteny", "Parckod"},
        {"ElvMuv", "Tablakod"},       {"felhanyag", "Tablakod"},      {"Ontozes", "Parckod"},
        {"Tervelvmuv", "Tablakod"},   {"Tervfanyag", "Tablakod"},     {"Tervontozes", "Parckod"},
        {"Vismajor", "Parcid"},       {"Novvedmegf", "Parc_id"},
    };
    return columns;
}

std::string NextFieldCode(db::Session& session) {
    return NextSequentialCode(session, FieldCodeColumns());
}

} // namespace reg
