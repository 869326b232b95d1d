#pragma once
// What the list forms of the resources share: a hidden box that "new" and "modify" open
// over the list, with the list's buttons out of the tab order while it is open.

#include "platform/ui/controls.h"
#include "platform/ui/db_controls.h"
#include "platform/ui/menus.h"
#include "platform/ui/picker.h"

#include <initializer_list>
#include <string>
#include <vector>

namespace res {

// Gives the controls their tab stops back (true) or takes them (false).
void SetTabStops(std::initializer_list<ui::TControl*> controls, bool stop);

// Enables or disables the controls.
void SetEnabled(std::initializer_list<ui::TControl*> controls, bool enabled);

// One item of a pop-up menu that repeats a button, its key in the caption.
struct MenuEntry {
    const char* caption;
    ui::TButton* button;
};

// A pop-up menu whose items click their buttons.
ui::TPopupMenu* ButtonMenu(QWidget* owner, std::initializer_list<MenuEntry> items);

// Shows a stored date in a picker; a row without a date shows today.
void ShowDate(ui::TDateTimePicker* picker, const db::TField& date);

// Places the box at (left, top) over the list, titles it and shows it in front.
void ShowBox(ui::TGroupBox* box, int left, int top, const std::string& caption);

// The list's controls wait while its box is open: a second action cannot post the row
// the box is editing.
void ShowBoxOver(ui::TGroupBox* box, int left, int top, const std::string& caption,
                 const std::vector<ui::TControl*>& list);
void HideBoxOver(ui::TGroupBox* box, const std::vector<ui::TControl*>& list);

// A label at (left, top), as wide as its text needs up to `width`.
ui::TLabel* AddLabel(QWidget* parent, const std::string& caption, int left, int top,
                     int width = 150);

// A data-aware edit box on a field of the source.
ui::TDBEdit* AddDBEdit(QWidget* parent, db::TDataSource* source, const std::string& field, int left,
                       int top, int width);

} // namespace res
