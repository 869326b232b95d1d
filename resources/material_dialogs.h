#pragma once
// What the dialogs that add a fertiliser, a pesticide or a seed variety share: the unit
// choice, the missing-input message and the end of their save (the next code, the row,
// the close and the question whether more stock changes follow).

#include "platform/db/table.h"
#include "platform/ui/vcl.h"
#include "resources/stock.h"

#include <string>
#include <utility>
#include <vector>

namespace res {

// A unit list that takes only its items, "kg" chosen: a unit outside a kind's list has no
// factor, and a material kept in one could never be booked.
ui::TComboBox* UnitCombo(QWidget* parent, const std::vector<std::string>& units);

// Shows `message` with the caption "Hiányzó Adatok!" when `missing`; returns `missing`.
bool RefuseMissing(bool missing, const std::string& message);

// Field names and the texts assigned to them; an empty text leaves a number empty.
using FieldTexts = std::vector<std::pair<std::string, std::string>>;

// Inserts the new material into `table` (open, of the kind's master) under the next code
// with Menny "0" and the texts, posts it, closes `dialog` and asks whether more stock
// changes follow (No also closes the stock movements form). Returns the new code.
std::string StoreNewMaterial(db::Session& session, ui::TForm& dialog, db::TTable& table,
                             MaterialKind kind, const FieldTexts& texts);

} // namespace res
