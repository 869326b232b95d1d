#pragma once
// Posting a material use of the operation being entered: one pending use row per chosen
// field (felhanyag.db, Muvkod empty), each with its own pending withdrawal
// (Raktarmozgas.db, Datum empty) of that field's quantity when stock is kept, written
// together in one transaction. Planned operations write the twins (Tervfanyag,
// Tervrmozgas); the stock they are tested against is always the real ledger's.
//
// Quantities are compared in base units (g, ml, db): needed = dose x factor(dose unit) x
// hectares; the whole operation's needed quantity is tested against the shown stock
// (cut to 0.001) less the withdrawals already pending for the same material.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"
#include "resources/stock.h"

#include <optional>
#include <string>
#include <vector>

namespace ops {

// The withdrawal of `base` base units from a material kept in a unit of `materialFactor`:
// negative, cut toward zero at 0.001 base unit, in the material's unit.
double WithdrawalQuantity(double base, double materialFactor);

// The dose unit factors of the posting, per kind; none for a unit the tab does not offer.
std::optional<double> DoseUnitFactor(res::MaterialKind kind, const std::string& unit);
// The factor of a material's own unit (Mert), per kind; none for an unknown unit.
std::optional<double> MaterialFactor(res::MaterialKind kind, const std::string& unit);

// A field of the posting: its code and the area the use covers there, in m².
struct UseField {
    std::string parckod;
    double area = 0;
};

// One material use as the dialog's tab describes it.
struct MaterialUse {
    res::MaterialKind kind = res::MaterialKind::Fertiliser;
    std::string muvkod; // the operation's code; empty while the use is pending
    std::string materialCode;
    std::string materialUnit; // the material's Mert
    double dose = 0;          // per hectare, in doseUnit
    std::string doseUnit;
    std::optional<double> totalBase; // a total given for the whole operation, base units
    // The row's further fields, each written only when set.
    std::optional<sys::DateTime> betido;
    std::optional<std::string> felelos;
    bool mutr = false, egyebtr = false, szervestr = false, higtr = false;
    std::optional<std::string> vido;
    std::optional<double> permetle;
    std::optional<int> sorsz;
    std::optional<std::string> csira;
};

// The quantity the whole operation needs, in base units (operation area in m²).
double NeededBase(const MaterialUse& use, double operationArea);

// The base units of the material still free for this entry: the shown stock less the
// withdrawals pending in the ledger the posting writes.
double AvailableBase(db::Session& session, const MaterialUse& use, double shownStock, bool planned);

// The next use code of the use table: one above the highest, "100000" for none.
std::string NextUseCode(db::Session& session, bool planned);

// Writes the use rows (consecutive codes, one per field) and, when stock is kept, each
// row's withdrawal, in one transaction. Returns the codes.
std::vector<std::string> PostMaterialUse(db::Session& session, const MaterialUse& use,
                                         const std::vector<UseField>& fields, double operationArea,
                                         bool stockKeeping, bool planned);

// Appends and posts one use row: `code` on the field `parckod`, with the fields set in
// `use`; `fogya` (the operation's quantity in the material's unit) only when given.
void AppendUseRow(db::TTable& uses, const MaterialUse& use, const std::string& code,
                  const std::string& parckod, std::optional<double> fogya);

// Appends and posts one withdrawal of the ledger: `menny` of the material, booked by the
// use `felhkod`, dated `day` (none: pending).
void AppendWithdrawal(db::TTable& stock, const std::string& materialCode,
                      const std::string& felhkod, double menny, std::optional<sys::DateTime> day);

// "X" + nitrogen + ";" + phosphorus + ";" + potassium + ";".
std::string NutrientPercentText(const std::string& n, const std::string& p, const std::string& k);

} // namespace ops
