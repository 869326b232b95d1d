#pragma once
// The controls the material forms build alike: a caption label, a unit box, a material
// list on a stock query, the stock shown of the chosen material and its unit, and the
// shown stock (Kossz) of a stock query.

#include "platform/db/query.h"
#include "platform/ui/form_helpers.h"
#include "platform/ui/vcl.h"

#include <initializer_list>

namespace ops {

ui::TLabel* Label(QWidget* parent, int left, int top, const char* text, int width = 150);
// A unit box with its items and its first text; units may be typed too.
ui::TComboBox* UnitCombo(QWidget* parent, ui::Bounds bounds,
                         std::initializer_list<const char*> items, const char* initial);
ui::TDBLookupComboBox* Lookup(QWidget* parent, ui::Bounds bounds, db::TDataSource* source,
                              const char* key, const char* list);
// The read-only stock (Kossz) of the source's current material.
ui::TDBEdit* StockEdit(QWidget* parent, ui::Bounds bounds, db::TDataSource* source);
// The unit (Mert) of the source's current material.
ui::TDBText* UnitText(QWidget* parent, ui::Bounds bounds, db::TDataSource* source);
// Adds the calculated Kossz, the stock Ossz as every stock display shows it.
void AddShownStock(db::TQuery& query);

} // namespace ops
