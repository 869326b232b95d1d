#include "condition_controls.h"

#include "diary_conditions.h"

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

ConditionControls MakeConditionControls(ui::TForm* form, db::TDataSource* source,
                                        db::TDataSet* fields, const ConditionCaptions& captions,
                                        std::initializer_list<ui::GridColumn> columns) {
    ConditionControls c{};
    c.fields = fields;
    auto* heading = ui::Make<ui::TLabel>(form, {8, 8, 400, 20}, "Listázási feltételek beállítása");
    heading->SetBold(true);
    ui::Make<ui::TLabel>(form, {8, 34, 200, 16}, "Táblák :");
    c.grid = ui::ListGrid(form, {8, 52, 604, 240}, source, columns);
    c.grid->SetMultiSelect(true);
    c.active = ui::Make<ui::TCheckBox>(form, {8, 300, 200, 20}, captions.active);
    c.active->SetChecked(true);
    ui::Make<ui::TLabel>(form, {8, 334, 200, 16}, captions.sector);
    c.sector = ui::Make<ui::TComboBox>(form, {220, 330, 200, 22});
    ui::Make<ui::TLabel>(form, {8, 364, 200, 16}, "Betakarítás éve :");
    c.year = ui::Make<ui::TComboBox>(form, {220, 360, 100, 22});
    ui::YearBox(c.year);
    ui::Make<ui::TLabel>(form, {8, 394, 200, 16}, "Legkorábbi művelet dátuma :");
    c.from = ui::Make<ui::TDateTimePicker>(form, {220, 390, 130, 22});
    ui::Make<ui::TLabel>(form, {8, 424, 200, 16}, "Legkésőbbi művelet dátuma :");
    c.to = ui::Make<ui::TDateTimePicker>(form, {220, 420, 130, 22});
    c.clearButton = ui::Make<ui::TButton>(form, {8, 480, 150, 27}, "Feltételek törlése");
    c.back = ui::Make<ui::TButton>(form, {402, 480, 100, 27}, "<< Vissza");
    c.next = ui::Make<ui::TButton>(form, {512, 480, 100, 27}, captions.next);
    form->SetTabOrder(
        {c.grid, c.active, c.sector, c.year, c.from, c.to, c.next, c.clearButton, c.back});
    return c;
}

ConditionMenu MakeConditionMenu(ui::TForm* form, ui::TNotifyEvent toggle, ui::TNotifyEvent clear,
                                ui::TNotifyEvent next, ui::TNotifyEvent back) {
    ConditionMenu m{new ui::TPopupMenu(form), nullptr};
    m.active = m.menu->Add("Aktív parcellák       CTRL+A");
    m.active->SetChecked(true);
    m.active->OnClick = std::move(toggle);
    m.menu->Add("Feltételek törlése  CTRL+T")->OnClick = std::move(clear);
    m.menu->Add("Tovább >>           CTRL+N")->OnClick = std::move(next);
    m.menu->Add("<< Vissza              CTRL+X")->OnClick = std::move(back);
    form->SetPopupMenu(m.menu);
    return m;
}

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
    choices.fieldCodes = SelectedCodes(*c.grid, *c.fields);
    choices.year = c.year->Text();
    choices.sector = c.sector->Text();
    choices.from = c.from->Date();
    choices.to = c.to->Date();
    return choices;
}

} // namespace lists
