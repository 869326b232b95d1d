#pragma once
// Copying one operation, with every row that hangs on it, onto a field under new keys:
// performed to performed (the copier form), or planned to performed (realising a plan).
// The target is always the performed tables:
//
//     operation      ElvMuv / Tervelvmuv      -> ElvMuv        new Muvkod, the target field
//     irrigation     Ontozes / Tervontozes    -> Ontozes       new Muvkod, the target field
//     workers        Munkavegz / Tervmunkas   -> Munkavegz     new Muvkod
//     material uses  felhanyag / Tervfanyag   -> felhanyag     new consecutive Felhkod
//     stock of a use Raktarmozgas/Tervrmozgas -> Raktarmozgas  first movement, stock keeping on
//
// Area, normal hectares and sector stay the source operation's. The copy books its
// withdrawals without looking at the stock, so a stock may turn negative. Everything is
// written in one session transaction (joining the caller's): all rows or none.

#include "platform/db/session.h"

#include <string>

namespace ops {

// Copies the operation `muvkod` of the performed tables (planned = false) or of the
// planned twins (planned = true) onto the field `targetParckod`. The material uses take
// their stock movements only when `stockKeeping` is on. Returns the new operation's
// Muvkod; empty, with nothing written, when the source operation does not exist or a
// code is empty.
std::string CopyOperation(db::Session& session, bool planned, const std::string& muvkod,
                          const std::string& targetParckod, bool stockKeeping);

// Copies every operation of the field `sourceParckod` onto `targetParckod` in the order of
// their codes, each once (copies landing on the same field are not copied again), in one
// transaction. Returns how many were copied.
int CopyAllOperations(db::Session& session, const std::string& sourceParckod,
                      const std::string& targetParckod, bool stockKeeping);

// Realises a planned operation: copies it to the performed tables on its own field and
// deletes the plan, in one transaction, so a failure leaves the plan alone and a retry
// never copies twice. Returns the new Muvkod, empty when no such plan exists.
std::string RealisePlannedOperation(db::Session& session, const std::string& muvkod,
                                    bool stockKeeping);

} // namespace ops
