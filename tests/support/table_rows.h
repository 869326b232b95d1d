#pragma once
// What a test reads back from a table: one field of its rows as text, or how many rows
// there are; a filter narrows both, an index orders the rows.

#include "platform/db/session.h"

#include <string>
#include <vector>

namespace testenv {

std::vector<std::string> ColumnValues(db::Session& session, const std::string& table,
                                      const std::string& field, const std::string& filter = {},
                                      const std::string& index = {});
int RowCount(db::Session& session, const std::string& table, const std::string& filter = {});

} // namespace testenv
