#include "condition_controls.h"

namespace lists {

namespace {

void AppendRemaining(ui::TComboBox* box, db::TDataSet& rows, const char* field) {
    for (; !rows.Eof(); rows.Next())
        box->Items().Add(rows.FieldByName(field).AsString());
}

void ShowFirstAndLastDate(db::TDataSet& dates, const ConditionControls& c) {
    dates.First();
    c.from->SetDate(dates.FieldByName("Datum").AsDateTime());
    dates.Last();
    c.to->SetDate(dates.FieldByName("Datum").AsDateTime());
}

} // namespace

bool ActivateConditions(ui::TForm* form, db::TDataSet& dates, db::TDataSet& sectors,
                        db::TDataSet& years, const ConditionControls& c, ui::TButton* next) {
    AppendRemaining(c.sector, sectors, "Agazat");
    AppendRemaining(c.year, years, "Evj");
    if (dates.IsEmpty()) {
        ui::Application->MessageBox("Nincs megjeleníthető művelet!", "Üres adattábla!", ui::MB_OK);
        next->SetEnabled(false);
        form->Close();
        return false;
    }
    ShowFirstAndLastDate(dates, c);
    return true;
}

void ClearConditions(db::TDataSet& dates, const ConditionControls& c) {
    if (c.grid->hasFocus())
        c.clearButton->SetFocus();
    c.sector->SetText("");
    c.year->SetText("");
    c.grid->SelectedRows().Clear();
    if (!dates.IsEmpty())
        ShowFirstAndLastDate(dates, c);
}

OperationChoices ReadChoices(const ConditionControls& c) {
    OperationChoices choices;
    ui::TBookmarkList& marks = c.grid->SelectedRows();
    for (int i = 0; i < marks.Count(); ++i) {
        c.fields->GotoBookmark(marks[i]);
        choices.fieldCodes.push_back(c.fields->FieldByName("Parckod").AsString());
    }
    choices.year = c.year->Text();
    choices.sector = c.sector->Text();
    choices.from = c.from->Date();
    choices.to = c.to->Date();
    return choices;
}

} // namespace lists
