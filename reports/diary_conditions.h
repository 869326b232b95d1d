#pragma once
// What the diary's condition forms share beside the condition tail: the codes of the
// rows picked in a field grid.

#include <string>
#include <vector>

namespace db {
class TDataSet;
}
namespace ui {
class TDBGrid;
}

// The `field` of every row selected in the grid over `rows`, in the order the grid keeps
// the selection; the current row of `rows` stays where it was.
std::vector<std::string> SelectedCodes(ui::TDBGrid& grid, db::TDataSet& rows,
                                       const char* field = "Parckod");
