#pragma once
// The selection controls that the operations' conditions forms share: the field grid
// with its marked rows, the active-field toggle, the sector and year boxes, the two date
// pickers and the buttons: built, filled, reset and read the same way on every form.

#include "platform/db/dataset.h"
#include "platform/ui/form_helpers.h"
#include "platform/ui/menus.h"
#include "platform/ui/picker.h"
#include "platform/ui/vcl.h"
#include "report_texts.h"

#include <initializer_list>

namespace lists {

struct ConditionControls {
    ui::TDBGrid* grid;               // the fields, multi-select
    db::TDataSet* fields;            // the grid's rows
    ui::TComboBox* sector;           // "Ágazat :"
    ui::TComboBox* year;             // "Betakarítás éve :"
    ui::TDateTimePicker* from;       // "Legkorábbi művelet dátuma :"
    ui::TDateTimePicker* to;         // "Legkésőbbi művelet dátuma :"
    ui::TButton* clearButton;        // "Feltételek törlése"
    ui::TCheckBox* active = nullptr; // the active-field toggle, ticked
    ui::TButton* next = nullptr;     // the button that goes on to the list
    ui::TButton* back = nullptr;     // "<< Vissza"
};

// The captions in which the forms differ.
struct ConditionCaptions {
    const char* active; // the check box
    const char* sector; // the sector box's label
    const char* next;   // the button that goes on
};

// Creates the heading, the field grid on `source` (rows of `fields`) with its columns,
// the check box, the boxes, the pickers and the three buttons, at the same places on
// every conditions form, in their tab order.
ConditionControls MakeConditionControls(ui::TForm* form, db::TDataSource* source,
                                        db::TDataSet* fields, const ConditionCaptions& captions,
                                        std::initializer_list<ui::GridColumn> columns);

// The pop-up menu: the active-field item (checked) and the clear, next and back items.
struct ConditionMenu {
    ui::TPopupMenu* menu;
    ui::TMenuItem* active;
};
ConditionMenu MakeConditionMenu(ui::TForm* form, ui::TNotifyEvent toggle, ui::TNotifyEvent clear,
                                ui::TNotifyEvent next, ui::TNotifyEvent back);

// Activation with the data sets open: appends the sectors and years from where each
// cursor stands (so each list is filled once while they stay open) and sets the pickers
// to the first and last operation date. With no operation at all it tells the user,
// disables `next`, closes the form and answers false.
bool ActivateConditions(ui::TForm* form, db::TDataSet& dates, db::TDataSet& sectors,
                        db::TDataSet& years, const ConditionControls& c, ui::TButton* next);

// "Feltételek törlése": empty box texts, no marked field, the pickers on the first and
// last operation date again; the active-field toggle stays.
void ClearConditions(db::TDataSet& dates, const ConditionControls& c);

// What the controls hold: the codes of the marked fields in mark order, the box texts
// and the picker dates.
OperationChoices ReadChoices(const ConditionControls& c);

} // namespace lists
