#include "diary_conditions.h"

#include "platform/db/dataset.h"
#include "platform/db/query.h"
#include "platform/db/table.h"
#include "platform/ui/controls.h"
#include "platform/ui/db_grid.h"
#include "platform/ui/form.h"
#include "platform/ui/form_helpers.h"
#include "platform/ui/menus.h"

std::vector<std::string> SelectedCodes(ui::TDBGrid& grid, db::TDataSet& rows, const char* field) {
    std::vector<std::string> codes;
    ui::TBookmarkList& marks = grid.SelectedRows();
    if (marks.Count() == 0)
        return codes;
    const db::ControlsHeld held(rows); // the grid stays on its row
    for (int i = 0; i < marks.Count(); ++i) {
        rows.GotoBookmark(marks[i]);
        codes.push_back(rows.FieldByName(field).AsString());
    }
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

DiaryFieldChoice MakeDiaryFieldChoice(ui::TForm* form, db::TDataSource* source, int sectorWidth,
                                      bool several) {
    DiaryFieldChoice c{};
    c.heading = ui::Make<ui::TLabel>(form, {8, 8, 400, 20}, "Listázási feltételek beállítása");
    c.heading->SetBold(true);
    ui::Make<ui::TLabel>(form, {8, 34, 200, 16}, "Táblák :");
    c.grid = ui::ListGrid(form, {8, 52, 604, 220}, source,
                          {{"Evj", "G. év", 60},
                           {"Parcsor", "S.Sz.", 50},
                           {"Agazat", "Ágazat", sectorWidth},
                           {"Ter", "Terület", 90},
                           {"Hazmeg", "Hazi megnevezés", 160},
                           {"Masod", "Másodvetés", 80}});
    c.grid->SetMultiSelect(several);
    c.grid->SetHint(several ? "CTRL használatával több parcella is kijelölhető"
                            : "Egyszerre csak egy parcella kérhető .");
    c.active = ui::Make<ui::TCheckBox>(form, {8, 280, 200, 20}, "Aklív táblák");
    c.active->SetChecked(true);
    return c;
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
