#pragma once
// The selection controls that the operations' conditions forms share: the field grid
// with its marked rows, the sector and year boxes and the two date pickers. Each form
// builds its own controls; these routines fill, reset and read them the same way.

#include "platform/db/dataset.h"
#include "platform/ui/vcl.h"
#include "report_texts.h"

namespace lists {

struct ConditionControls {
    ui::TDBGrid* grid;         // the fields, multi-select
    db::TDataSet* fields;      // the grid's rows
    ui::TComboBox* sector;     // "Ágazat :"
    ui::TComboBox* year;       // "Betakarítás éve :"
    ui::TDateTimePicker* from; // "Legkorábbi művelet dátuma :"
    ui::TDateTimePicker* to;   // "Legkésőbbi művelet dátuma :"
    ui::TButton* clearButton;  // "Feltételek törlése"
};

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
