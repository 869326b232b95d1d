#pragma once
// What the operation forms do alike: the worker rows of an operation, written at once, the
// hidden box that keeps the water points, and the value boxes an operation type's Extra
// asks for.

#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace ops {

// Adds the person `szid` as a worker of the operation `muvkod` (empty: pending).
void AddWorker(db::TTable& workers, std::int64_t szid, const std::string& muvkod);
// Removes the worker row `munkId`; the filter it used is switched off again.
void RemoveWorker(db::TTable& workers, std::int64_t munkId);

// The buttons of the box in which an operation's workers are chosen, beside the persons:
// the chosen person (the current row of `persons`) becomes a worker of `muvkod`; the
// chosen worker (the current row of `shown`, the operation's workers) is removed. False
// when there is nobody to take; after true the form shows its workers again.
bool AddChosenWorker(db::TTable& workers, db::TTable& persons, const std::string& muvkod);
bool RemoveChosenWorker(db::TTable& workers, db::TDataSet& shown);
// Opens the employees' form; the persons added there are offered in the box at once.
void AddEmployees(db::Session& session, db::TTable& persons);

// Opens the point box on a new point.
void StartNewWaterPoint(db::TTable& points, ui::TGroupBox& box);
// Opens the point box on the current point; false when there is none.
bool StartWaterPointEdit(db::TTable& points, ui::TGroupBox& box);
// Stores what the box's edits hold and hides the box.
void PostWaterPoint(db::TTable& points, ui::TGroupBox& box,
                    std::initializer_list<ui::TDBEdit*> edits);
// Drops what the box holds and hides it.
void CancelWaterPoint(db::TTable& points, ui::TGroupBox& box);
// Takes the current point off the lists; operations that name it keep its row.
void RemoveWaterPoint(db::TTable& points);

// The boxes of an operation's extra value: the value with its caption and unit, and the
// by-product with its caption.
struct ExtraValueBoxes {
    ui::TLabel* caption;
    ui::TEdit* value;
    ui::TLabel* unit;
    ui::TLabel* byProductCaption;
    ui::TEdit* byProduct;
    const char* depthCaption = "Mélység:";
};
// Shows the boxes the type's Extra asks for: 1 the depth (cm), 2 and 3 the yield (t/ha),
// 2 also the by-product; any other value hides them all.
void ShowExtraValue(const ExtraValueBoxes& boxes, int extra);

} // namespace ops
