#pragma once
// What the condition forms share: the codes of the rows picked in a field grid, the
// active-field toggle, and the data sets and year boxes of the diary's condition forms.

#include <string>
#include <vector>

namespace db {
class TDataSet;
class TQuery;
class TTable;
} // namespace db
namespace db {
class TDataSource;
}
namespace ui {
class TCheckBox;
class TComboBox;
class TDBGrid;
class TForm;
class TLabel;
class TMenuItem;
} // namespace ui

// The `field` of every row selected in the grid over `rows`, in the order the grid keeps
// the selection; the current row of `rows` stays where it was.
std::vector<std::string> SelectedCodes(ui::TDBGrid& grid, db::TDataSet& rows,
                                       const char* field = "Parckod");

// The active-field toggle: a check box under the field grid that, while ticked, shows
// only the active fields (the filter the form gave `fields` applies), and the pop-up
// item (Ctrl+A) that mirrors it.
// The check box was clicked: the filter and the item's check mark follow it.
void ActiveFieldBoxClicked(const ui::TCheckBox& box, ui::TMenuItem& item, db::TDataSet& fields);
// The item was chosen: the check box flips, and its click follows.
void ActiveFieldItemChosen(ui::TMenuItem& item, ui::TCheckBox& box);

// The top of a diary condition form: the heading "Listázási feltételek beállítása", the
// field grid over `source` (year, serial, sector `sectorWidth` wide, area, house name,
// second crop) and under it the active-field check box, ticked. With `several`, more
// fields may be marked (with Ctrl).
struct DiaryFieldChoice {
    ui::TLabel* heading;
    ui::TDBGrid* grid;
    ui::TCheckBox* active;
};
DiaryFieldChoice MakeDiaryFieldChoice(ui::TForm* form, db::TDataSource* source, int sectorWidth,
                                      bool several);

// The data sets of a diary condition form's choices: the field grid's parcellak.DB in
// Evj;Parcsor order showing the active fields, the distinct sectors and the farming years.
void SetUpConditionSets(db::TTable& fields, db::TQuery& sectors, db::TQuery& years);

// Sets the two year boxes of a diary condition form to the first and the last farming
// year of `years` (nothing when it has none); with fillLists, every year is added to both
// lists first (the form's first activation).
void ShowConditionYears(db::TDataSet& years, ui::TComboBox& first, ui::TComboBox& last,
                        bool fillLists);
