#pragma once
// Materials and the stock ledger: what every form that books or shows stock shares.
//
// Three master tables hold the materials, one per kind, and a material's code tells its
// kind by its range (100000-199999 fertilisers in Tapanyagok.Kod, 200000-299999
// pesticides in Novenyvedok.Kod, 300000-399999 seed varieties in Vetomagok.Magkod).
// Every change of a material's quantity in store is one signed row of the ledger
// Raktarmozgas.db (positive in, negative out) in the material's own unit (its Mert).
// The stock is never stored: the stock of material m on day d is the sum of Menny over
// m's rows dated d or earlier; a row with an empty Datum (a pending use of an operation
// being recorded) never counts.
//
// Units scale to one base unit ("g", "ml", "db" 1; "kg", "l" 1000; "t", "m3" 1000000);
// mass, volume and pieces are not told apart. A quantity q entered in unit u is
// q * factor(u) base units; b base units stored for a material are b / factor(Mert).
//
// The ledger also holds one date marker: a row without a material code dated the day a
// stock form was last activated, so that the ledger's latest date never lies before it.

#include "platform/db/domain.h"
#include "platform/db/session.h"
#include "platform/sys/datetime.h"

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace res {

enum class MaterialKind { Fertiliser, Pesticide, Seed };

struct MaterialKindInfo {
    MaterialKind kind;
    std::string caption;     // the tab of the stock forms: "Termésnövelő"
    std::string masterTable; // "Tapanyagok"
    std::string codeField;   // "Kod"; "Magkod" for seeds
    int firstCode;           // the code of an empty table: 100000, 200000, 300000
    std::string useType;     // Anyagtip of a material use: "000000", "000001", "000002"
    // The units a quantity may be entered in, also the units a material may be kept in.
    std::vector<std::string> entryUnits;
};

const MaterialKindInfo& KindInfo(MaterialKind kind);
// The three kinds in tab order.
const std::vector<MaterialKind>& MaterialKinds();

// The kind a code's range tells; none for a text that is no whole number or lies
// outside the three ranges.
std::optional<MaterialKind> KindOfCode(std::string_view code);

// The factor of a unit to the base unit: 1, 1000 or 1000000; an empty unit (a
// material without one) is 1; none for an unknown text.
std::optional<double> UnitFactor(std::string_view unit);
// The factor of a unit offered for entry on the kind's tab; none for another text.
std::optional<double> EntryUnitFactor(MaterialKind kind, std::string_view unit);
// The factor of a material's own unit (its Mert): the kind's entry units or empty.
std::optional<double> MaterialUnitFactor(MaterialKind kind, std::string_view unit);

// The stock as every stock display shows it (Kossz): cut to three decimals towards
// minus infinity, so -0.0004 shows as -0.001. A value a hair below a whole thousandth,
// as binary fractions leave it (1.001 stored as 1.00099999...), counts as that
// thousandth.
double ShownStock(double stock);

// What the quantity of a movement may be, typed in the unit beside it: a purchase, or a
// sale with a minus sign, never nothing, at most a thousand million either way (a farm's
// seed counted in pieces stays far below; a typing slip such as "1e300" does not).
db::Domain MovementQuantity(std::string label);

// What a purchase or sale of `baseQuantity` base units books in a material kept in a
// unit of factor `materialFactor`: the base quantity raised to the next whole base unit
// (a negative one so moves towards zero), then in the material's unit. 2.5 g books 3 g,
// -2.5 g books -2 g, 0.0004 kg books 0.001 kg; 1.1 kg books 1.1 kg, although 1.1 * 1000
// is a hair above 1100 in binary.
double BookedQuantity(double baseQuantity, double materialFactor);

// Whether a movement of `baseQuantity` base units may be booked against `baseStock`
// base units: refused only when it would leave the stock below zero (selling exactly the
// stock is allowed, whatever the binary fractions of the two sums).
bool MovementAllowed(double baseQuantity, double baseStock);

// Whether a booked movement of a material on `day` may change from `booked` to `changed`
// (both in the material's own unit, of factor `materialFactor`): a change that takes more
// out, or books less in, is a withdrawal of the difference and is refused as a new one
// would be, when it leaves the stock of that day below zero.
bool ChangeAllowed(db::Session& session, std::string_view materialCode, sys::DateTime day,
                   double booked, double changed, double materialFactor);

// The stock of a material on a day in its own unit: the sum of Menny of its ledger rows
// dated `day` or earlier (the time of day of `day` is ignored); 0 without such a row.
// `ledger` is "Raktarmozgas" (the planned twin "Tervrmozgas" holds no stock).
double StockOnDate(db::Session& session, std::string_view materialCode, sys::DateTime day,
                   std::string_view ledger = "Raktarmozgas");

// The stock of every material with a ledger row dated `day` or earlier, by code, in
// each material's own unit (one scan of the ledger).
std::map<std::string, double> StocksOnDate(db::Session& session, sys::DateTime day,
                                           std::string_view ledger = "Raktarmozgas");

// The date marker of a stock form's activation: deletes every ledger row without a
// material code, then writes one dated `day`, in one transaction.
void WriteDateMarker(db::Session& session, sys::DateTime day,
                     std::string_view ledger = "Raktarmozgas");

// One purchase or sale as the stock movements form books it: a row with the material's
// code, the day and the quantity in the material's unit; the use and operation fields
// stay empty.
void BookMovement(db::Session& session, std::string_view materialCode, sys::DateTime day,
                  double quantity);

// The next code of a material master: the highest numeric code plus one, the kind's
// first code for an empty table. (Taking the last code in text order, as the code index
// orders them, gives the same for the kinds' equal-length codes.)
std::string NextMaterialCode(db::Session& session, MaterialKind kind);

} // namespace res
