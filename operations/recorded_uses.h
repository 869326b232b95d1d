#pragma once
// The material uses of a recorded operation, changed after the fact: each use has its
// own withdrawal in the ledger (Raktarmozgas.Felhanykod = felhanyag.Felhkod), dated with
// the operation, and a use is written, changed or deleted together with it in one
// transaction, so that no use is ever left without its withdrawal.
//
// The quantities are computed in single precision, as the program always has: every
// product is rounded to a float before the next step, and the withdrawal is the float
// quantity in base units raised to a whole base unit, so that 0.3 kg/ha on 1 ha books
// 300 g (the float 0.3 x 1000 rounds to 300), not 301 g.
//
//     change:  dose x factor(dose unit) x hectares     add:  dose x hectares x factor(dose unit)
//     withdrawal = -ceil(base) / factor(material's unit)

#include "material_posting.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace ops {

// The operation's area in hectares from its Ter (m²).
float OperationHectares(double ter);
// The base quantity of a changed dose: dose x unit factor x hectares.
float ChangedDoseBase(double dose, double unitFactor, float hectares);
// The base quantity of an added dose: dose x hectares x unit factor.
float AddedDoseBase(double dose, float hectares, double unitFactor);
// A stock in a material's unit, in base units.
float StockBase(double stock, double materialFactor);
// The withdrawal of `base` base units in the material's unit: -ceil(base) / factor.
double RecordedWithdrawal(float base, double materialFactor);

// The code of a use added to a recorded operation: one above the highest, "100001" when
// the use table is empty.
std::string NextRecordedUseCode(db::Session& session);

// Adds `use` (its muvkod set) on the field `parckod` with, when `withdrawal` is given, its
// withdrawal dated `day`. Returns the new use's code.
std::string AddRecordedUse(db::Session& session, const MaterialUse& use, const std::string& parckod,
                           sys::DateTime day, std::optional<double> withdrawal);

// Edits the use row `felhkod` with `fill` and posts it; nothing when there is none.
void UpdateRecordedUse(db::Session& session, const std::string& felhkod,
                       const std::function<void(db::TTable&)>& fill);

// Writes the use's new dose and, when `withdrawal` is given, the quantity of its
// withdrawal (whose date stays); a use without a withdrawal gets none.
void ChangeRecordedDose(db::Session& session, const std::string& felhkod, double dose,
                        std::optional<double> withdrawal);

// Deletes the use with its withdrawal; the material returns to stock.
void DeleteRecordedUse(db::Session& session, const std::string& felhkod);

// A use's withdrawal when its operation's area changes: the dose per hectare stays, so
// the quantity follows the area, computed as a dose change computes it.
struct AreaWithdrawal {
    std::string felhkod;
    std::string materialCode;
    double materialFactor = 1; // of the material's own unit
    double before = 0;         // booked now (negative), in the material's unit
    double after = 0;          // for the new area
};

// The withdrawals of the operation's uses for an area of `ter` m²; none when the stored
// area is `ter`. A use without a withdrawal (stock keeping was off), or whose material is
// gone from its master, is left out.
std::vector<AreaWithdrawal> WithdrawalsForArea(db::Session& session, const std::string& muvkod,
                                               long long ter);

// The code of the first material whose stock on `day` cannot give what the new
// withdrawals take beyond the booked ones; none when every one can.
std::optional<std::string> MaterialShortOfArea(db::Session& session,
                                               const std::vector<AreaWithdrawal>& withdrawals,
                                               sys::DateTime day);

// Books every withdrawal's new quantity (inside the caller's transaction).
void RewriteAreaWithdrawals(db::Session& session, const std::vector<AreaWithdrawal>& withdrawals);

} // namespace ops
