#pragma once
// The one-row custom connection of the register's printouts (the field list's title, the
// land-use plan's heading): text columns of width 50, full name "Cím", description
// "Description 1"; the row is read from the form when the report reads it, once.

#include "platform/report/report.h"

#include <functional>
#include <string>
#include <vector>

namespace reg {

void MakeSingleRowConnection(TRvCustomConnection& connection, std::vector<std::string> columns,
                             std::function<std::vector<std::string>()> values);

} // namespace reg
