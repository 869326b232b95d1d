#pragma once
// What the nutrient-plan and influencing-factor forms share: the chooser of the active
// fields (a panel with the list and "Kiválasztás") and the header that shows the field
// whose rows are listed.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

namespace reg {

class FieldChooser {
public:
    // The header at (left, top) of the form; the panel over the form's top left corner.
    FieldChooser(QWidget* form, db::Session& session, int left, int top);

    db::TTable Table; // parcellak.db, the active fields in Evj;Parcsor order
    db::TDataSource Source{&Table};
    ui::TPanel* Panel;
    ui::TDBGrid* Grid;
    ui::TButton* Choose; // "Kiválasztás"
    ui::TGroupBox* Header;
    ui::TLabel* Serial; // "Parcella sorszáma:"
    ui::TLabel* Year;   // "Gazdasági év:"
    ui::TLabel* Sector; // "Ágazat:"
    ui::TLabel* Area;   // "Terület:"

    // Moves the list to the field; the header shows it when it is an active field and
    // is hidden otherwise. False when the field is not listed.
    bool Find(const std::string& parckod);
    // The Parckod of the list's current field; empty when the list is empty.
    std::string Current();
    void ShowPanel();
    void HidePanel();
    // The header shows the list's current field.
    void ShowCurrent();
};

} // namespace reg
