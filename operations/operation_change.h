#pragma once
// Changing a recorded (performed) operation after the fact: the operation row, its
// irrigation row and its observation link, rewritten together in one transaction.
//
// The satellites follow the operation: its material uses take its field when it moves to
// another field, and the withdrawals those uses booked take its date when it is moved in
// time, and take the new area when the area changes (the doses per hectare stay), so
// that the stock on any date stays what the operation really took. (The ledger's rows
// name their use, not the field, so a move of field alone leaves them as they are.)
//
//     ElvMuv (Muvkod)  ->  felhanyag.Tablakod   (field)
//                      ->  Raktarmozgas.Datum   (date, through felhanyag.Felhkod)
//                      ->  Raktarmozgas.Menny   (area, the same way)
//                      ->  Ontozes, muv_novmegf (as the change says)

#include "operation_records.h"
#include "platform/db/session.h"
#include "platform/sys/datetime.h"
#include "recorded_uses.h"

#include <optional>
#include <string>

namespace ops {

// A recorded operation as its modifier changes it, every value read and checked.
struct OperationChange {
    std::string muvkod;
    // A type picked in this change: its name and code replace the stored ones.
    std::optional<OperationType> newType;
    // The factor the normal hectares are computed with when the area changes or a type is
    // picked: the picked type's, else the stored type's; none when neither is known. An
    // unchanged area of an unchanged type keeps the stored normal hectares.
    std::optional<double> factor;
    std::string field; // Tablakod
    std::string direction;
    sys::DateTime date = 0;
    std::optional<sys::DateTime> endDate;
    std::optional<double> machineHours, manualHours;
    std::optional<int> serial;
    std::string tractor = "100000", implement = "100000";
    bool notifiable = false;
    std::string notifiedName;
    std::optional<sys::DateTime> notifiedOn;
    std::string remark;
    long long area = 0;          // m²
    int extraKind = 0;           // 0 none, 1 depth, 2 yield and by-product, 3 yield
    std::string depth;           // kind 1
    std::optional<double> yield; // kinds 2 and 3
    std::string byProduct;       // kind 2
    // None: not an irrigation (an existing irrigation row is removed).
    std::optional<Irrigation> irrigation;
    // An observation to link in place of the current link; none keeps the link.
    std::optional<int> observation;
    // The uses' withdrawals for a changed area (WithdrawalsForArea); empty keeps them.
    std::vector<AreaWithdrawal> withdrawals;
};

// The area (m²) of the field of that code, none when no field has it: what an operation on
// the field may cover at most.
std::optional<double> FieldArea(db::Session& session, const std::string& parckod);

// Writes the change in one transaction: the operation row, the irrigation row (inserted,
// rewritten or removed), the observation link, and the uses and withdrawals that follow
// the operation's field, date and area. False, with nothing written, when the operation row is
// no longer there.
bool SaveOperationChange(db::Session& session, const OperationChange& change);

// Gives every material use of the operation the field `parckod`.
void MoveMaterialUses(db::Session& session, const std::string& muvkod, const std::string& parckod);

// Dates every stock withdrawal booked by a material use of the operation `day`.
void RedateWithdrawals(db::Session& session, const std::string& muvkod, sys::DateTime day);

} // namespace ops
