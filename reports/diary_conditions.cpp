#include "diary_conditions.h"

#include "platform/db/dataset.h"
#include "platform/ui/db_grid.h"

std::vector<std::string> SelectedCodes(ui::TDBGrid& grid, db::TDataSet& rows, const char* field) {
    std::vector<std::string> codes;
    ui::TBookmarkList& marks = grid.SelectedRows();
    if (marks.Count() == 0)
        return codes;
    const db::TBookmark here = rows.GetBookmark();
    for (int i = 0; i < marks.Count(); ++i) {
        rows.GotoBookmark(marks[i]);
        codes.push_back(rows.FieldByName(field).AsString());
    }
    rows.GotoBookmark(here);
    return codes;
}
