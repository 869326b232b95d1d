#pragma once
// What the list forms of the resources share: a hidden box that "new" and "modify" open
// over the list (ui::EditBoxOverList keeps the list inert while it is open).

#include "platform/ui/controls.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/form_helpers.h"
#include "platform/ui/menus.h"
#include "platform/ui/picker.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace res {

// Gives the controls their tab stops back (true) or takes them (false).
void SetTabStops(std::initializer_list<ui::TControl*> controls, bool stop);

// Shows a stored date in a picker; a row without a date shows today.
void ShowDate(ui::TDateTimePicker* picker, const db::TField& date);

// Places the box at (left, top) over the list, titles it and shows it in front.
void ShowBox(ui::TGroupBox* box, int left, int top, const std::string& caption);

// A part of a field (an area struck or grazed, m²) is no larger than the field; otherwise
// the warning says so and false is returned.
bool AreaFitsField(double squareMetres, double fieldSquareMetres);

// A label beside a box at (left, top) (platform/ui).
using ui::AddLabel;

// A data-aware edit box on a field of the source.
ui::TDBEdit* AddDBEdit(QWidget* parent, db::TDataSource* source, const std::string& field, int left,
                       int top, int width);

} // namespace res
