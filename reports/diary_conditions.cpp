#include "diary_conditions.h"

#include "platform/db/dataset.h"
#include "platform/db/query.h"
#include "platform/db/table.h"
#include "platform/ui/controls.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/menus.h"

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

void ActiveFieldBoxClicked(const ui::TCheckBox& box, ui::TMenuItem& item, db::TDataSet& fields) {
    fields.SetFiltered(box.Checked());
    item.SetChecked(box.Checked());
}

void ActiveFieldItemChosen(ui::TMenuItem& item, ui::TCheckBox& box) {
    item.SetChecked(!item.Checked());
    box.SetChecked(item.Checked());
}

void SetUpConditionSets(db::TTable& fields, db::TQuery& sectors, db::TQuery& years) {
    fields.SetTableName("parcellak.DB");
    fields.SetIndexFieldNames("Evj;Parcsor");
    fields.SetFilter("Aktiv = 'A'");
    fields.SetFiltered(true);
    sectors.SQL().Add("SELECT DISTINCT Agazat FROM parcellak");
    years.SQL().Add("SELECT DISTINCT Evj");
    years.SQL().Add("FROM parcellak");
    years.SQL().Add("ORDER BY Evj");
}

void ShowConditionYears(db::TDataSet& years, ui::TComboBox& first, ui::TComboBox& last,
                        bool fillLists) {
    years.First();
    if (years.IsEmpty())
        return;
    std::string firstYear, lastYear;
    for (; !years.Eof(); years.Next()) {
        const std::string year = years.FieldByName("Evj").AsString();
        if (firstYear.empty())
            firstYear = year;
        lastYear = year;
        if (fillLists) {
            first.Items().Add(year);
            last.Items().Add(year);
        }
    }
    first.SetText(firstYear);
    last.SetText(lastYear);
}
