#include "table_rows.h"

#include "platform/db/table.h"

namespace testenv {

namespace {

void Open(db::TTable& rows, const std::string& table, const std::string& filter,
          const std::string& index) {
    rows.SetTableName(table);
    if (!index.empty())
        rows.SetIndexFieldNames(index);
    if (!filter.empty()) {
        rows.SetFilter(filter);
        rows.SetFiltered(true);
    }
    rows.Open();
}

} // namespace

std::vector<std::string> ColumnValues(db::Session& session, const std::string& table,
                                      const std::string& field, const std::string& filter,
                                      const std::string& index) {
    db::TTable rows(session, "Check");
    Open(rows, table, filter, index);
    std::vector<std::string> values;
    for (rows.First(); !rows.Eof(); rows.Next())
        values.push_back(rows.FieldByName(field).AsString());
    return values;
}

int RowCount(db::Session& session, const std::string& table, const std::string& filter) {
    db::TTable rows(session, "Count");
    Open(rows, table, filter, {});
    return rows.RecordCount();
}

} // namespace testenv
