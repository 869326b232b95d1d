#pragma once
// The cascade deletes of operations and fields. An operation, performed or planned (the
// planned flag selects the planned twin of every table), goes with its material uses,
// the stock movements those uses booked (which returns the materials to stock), its
// workers, its irrigation row and, when performed, its observation links. A field goes
// with every row that names it, except the farm's records of it (force-majeure cases,
// plant-protection observations).
//
// Every routine writes in one session transaction (joining the caller's, when there is
// one) and reports nothing back; a code that matches nothing deletes nothing. An empty
// code deletes nothing either: empty codes mark the pending rows of an operation being
// recorded, and the stock ledger's purchases and sales carry no use code.
//
//     Performed operation:  ElvMuv  felhanyag   Raktarmozgas  Munkavegz  Ontozes   muv_novmegf
//     Planned operation:    Tervelvmuv Tervfanyag Tervrmozgas Tervmunkas Tervontozes  -

#include "platform/db/session.h"

#include <string>

namespace reg {

// Deletes the ledger rows (Raktarmozgas.db, or Tervrmozgas.db) booked by the material use
// `felhkod`. A withdrawal that an older database shares between the uses of several
// fields goes with the first of them deleted.
void DeleteStockMovements(db::Session& session, const std::string& felhkod, bool planned);

// Deletes every material use of the operation (felhanyag.db, or Tervfanyag.db), each with
// its stock movements.
void DeleteMaterialUses(db::Session& session, const std::string& muvkod, bool planned);

// Deletes the operation rows with that code and everything that hangs on them, without a
// question.
void DeleteOperationRows(db::Session& session, const std::string& muvkod, bool planned);

// A performed operation is deleted only after the question "Valóban törli a kijelölt
// műveletet?" is answered Yes; a planned one without a question. True when deleted.
bool DeleteOperation(db::Session& session, const std::string& muvkod, bool planned);

// Deletes the field `parckod` and every row that names it: its performed and planned
// operations (as DeleteOperationRows), plantation and variety rows, rotation links both
// ways (the successor fields stay), land-parcel links, soil-test type, plan items,
// influencing factors, orchard, grassland and grazing rows.
void DeleteField(db::Session& session, const std::string& parckod);

// Deletes the rows of a table that the filter shows; returns how many.
int DeleteRows(db::Session& session, const std::string& table, const std::string& filter);

} // namespace reg
