#pragma once
// The records of a field operation and how an operation being entered becomes them.
//
// An operation lives as one ElvMuv.db row per field, each with its own code, and satellite
// rows: material uses (felhanyag.db) with their stock withdrawals (Raktarmozgas.db),
// workers (Munkavegz.db), irrigation (Ontozes.db) and the observation link
// (muv_novmegf.db). Planned operations live in the twins (Tervelvmuv, Tervfanyag,
// Tervrmozgas, Tervmunkas, Tervontozes) and keep no observation links.
//
// While an operation is being entered its satellites already exist as pending rows: uses
// and workers with an empty Muvkod, withdrawals with an empty Datum. They belong to the
// one operation in entry; the save commits them, every other end of the entry drops them.
//
//     pending:    felhanyag(Muvkod '')   Raktarmozgas(Datum NULL)   Munkavegz(Muvkod '')
//     committed:  Muvkod of the field's   Datum of the operation     Muvkod of the first
//                 operation                                          field's operation

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"

#include <optional>
#include <string>
#include <vector>

namespace ops {

struct OperationTables {
    const char* operations;       // ElvMuv
    const char* uses;             // felhanyag
    const char* stock;            // Raktarmozgas
    const char* workers;          // Munkavegz
    const char* irrigation;       // Ontozes
    const char* observationLinks; // muv_novmegf; null for planned operations
};
const OperationTables& TablesFor(bool planned);

// Opens `table` on the table `name` showing the rows of `filter`.
void OpenFiltered(db::TTable& table, const std::string& name, const std::string& filter);

// The hours written for one field: the field's share of the hours by area, rounded up to
// 0.01 hour. 0 when the total area is not positive.
double MachineHoursShare(double hours, double totalArea, double fieldArea);

// Removes every pending row (uses and withdrawals; workers too when `workers`), in one
// transaction.
void DropPendingRows(db::Session& session, bool planned, bool workers);
// Whether any material use is pending.
bool HasPendingUses(db::Session& session, bool planned);

// A field chosen for the operation: its code and its area in whole square metres.
struct FieldPick {
    std::string parckod;
    long long area = 0;
};

// An operation type of Normalhektar.db.
struct OperationType {
    std::string kod;
    std::string muv;
    double nha = 0;
    int extra = 0; // 0 none, 1 depth, 2 yield and by-product, 3 yield
};

struct Irrigation {
    std::string ko, kp, vo, vp; // start and end hour and minute, as typed
    double uora = 0;            // operating hours
    double menny = 0;           // water, m³
    std::string megj;
    std::optional<int> vizkivid; // the water point
};

// The normal hectares of an area in m² worked by a type of that factor: the full product.
double NormalHectares(double area, double factor);

// Sets the fields of an irrigation row being inserted or edited (the caller posts it).
void FillIrrigationRow(db::TTable& row, const Irrigation& irrigation, const std::string& code,
                       const std::string& parckod);

// Everything a save writes, read and checked from the entry form.
struct OperationEntry {
    std::vector<FieldPick> fields; // in selection order
    OperationType type;
    sys::DateTime date = 0, endDate = 0;
    int serial = 0;
    long long singleArea = 0; // the area edit, used when one field is chosen
    double machineHours = 0, manualHours = 0;
    std::string extraValue; // depth or yield, as typed
    std::string byProduct;
    std::string direction;
    bool serviceProvider = false;
    bool notifiable = false;
    std::string notifiedName;
    sys::DateTime notifiedOn = 0;
    std::string remark;
    std::string tractor = "100000", implement = "100000";
    std::optional<Irrigation> irrigation;
    std::optional<int> observation; // Novvedmegf.Id to link
};

// Writes the operation in one transaction: dates the pending withdrawals, writes one
// operation row per field under consecutive codes, gives each field's pending uses its
// code, writes the irrigation rows and (performed only) observation links, and gives the
// pending workers the first field's code. Returns the codes, one per field.
std::vector<std::string> SaveOperation(db::Session& session, const OperationEntry& entry,
                                       bool planned);

// The next operation code: one above the highest, "100000" for an empty table.
std::string NextOperationCode(db::Session& session, bool planned);

} // namespace ops
