#pragma once
// What the operation entry form and the operation modifier do alike: the worker rows of
// an operation, written at once, and the hidden box that keeps the water points.

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

} // namespace ops
