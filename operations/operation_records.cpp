#include "operation_records.h"

#include "platform/db/filter.h"
#include "platform/db/table.h"
#include "platform/sys/numbers.h"
#include "register/cascade_deletes.h"
#include "register/codes.h"

#include <cmath>
#include <map>

namespace ops {

namespace {

const char* const kPendingUse = "Muvkod = ''";
const char* const kPendingStock = "Datum = NULL";

// Gives every row the filter shows the value `set` writes; the rows leave the filter.
template <class Set>
void UpdateAll(db::Session& session, const std::string& table, const std::string& filter, Set set) {
    db::TTable rows(session, "Pending");
    OpenFiltered(rows, table, filter);
    for (rows.First(); !rows.IsEmpty(); rows.First()) {
        rows.Edit();
        set(rows);
        rows.Post();
    }
    rows.FlushBuffers();
}

// Gives each pending use of a chosen field that field's code; a pending use of another
// field stays pending.
void CommitPendingUses(db::Session& session, const std::string& table,
                       const std::map<std::string, std::string>& codeOfField) {
    db::TTable rows(session, "Pending");
    OpenFiltered(rows, table, kPendingUse);
    int skipped = 0;
    for (rows.First(); !rows.Eof();) {
        auto code = codeOfField.find(rows.FieldByName("Tablakod").AsString());
        if (code == codeOfField.end()) {
            rows.Next();
            ++skipped;
            continue;
        }
        rows.Edit();
        rows.FieldByName("Muvkod").SetAsString(code->second);
        rows.Post();
        rows.First();
        rows.MoveBy(skipped);
    }
    rows.FlushBuffers();
}

void WriteOperationRow(db::TTable& row, const OperationEntry& entry, const FieldPick& field,
                       const std::string& code, double totalArea) {
    row.Append();
    row.FieldByName("Muvkod").SetAsString(code);
    row.FieldByName("Tablakod").SetAsString(field.parckod);
    row.FieldByName("Datum").SetAsDateTime(entry.date);
    row.FieldByName("Muvveg").SetAsDateTime(entry.endDate);
    row.FieldByName("Megjegyzes").SetAsString(entry.remark);
    row.FieldByName("Sorsz").SetAsInteger(entry.serial);
    if (entry.notifiable) {
        row.FieldByName("Tajkotmegnev").SetAsString(entry.notifiedName);
        row.FieldByName("Bejelido").SetAsDateTime(entry.notifiedOn);
    }
    row.FieldByName("Bejelkot").SetAsBoolean(entry.notifiable);
    row.FieldByName("Muvnev").SetAsString(entry.type.muv);
    row.FieldByName("Muvid").SetAsString(entry.type.kod);
    const long long area = entry.fields.size() > 1 ? field.area : entry.singleArea;
    row.FieldByName("Ter").SetAsInteger(area);
    row.FieldByName("Nha").SetAsFloat(NormalHectares(static_cast<double>(area), entry.type.nha));
    row.FieldByName("Szolg").SetAsString(entry.serviceProvider ? "IGEN" : "NEM");
    if (entry.type.extra == 1)
        row.FieldByName("Szantm").SetAsString(entry.extraValue);
    if ((entry.type.extra == 2 || entry.type.extra == 3) && !entry.extraValue.empty())
        row.FieldByName("Hozam").SetAsFloat(sys::parseFloat(entry.extraValue));
    if (entry.type.extra == 2)
        row.FieldByName("Mellek").SetAsString(entry.byProduct);
    row.FieldByName("Munkagepkod").SetAsString(entry.implement);
    row.FieldByName("Erogepkod").SetAsString(entry.tractor);
    const auto fieldArea = static_cast<double>(field.area);
    row.FieldByName("Gepora").SetAsFloat(
        MachineHoursShare(entry.machineHours, totalArea, fieldArea));
    row.FieldByName("Keziora").SetAsFloat(
        MachineHoursShare(entry.manualHours, totalArea, fieldArea));
    row.FieldByName("Irany").SetAsString(entry.direction);
    if (entry.irrigation) {
        row.FieldByName("Evj").SetAsInteger(1);
        if (entry.irrigation->vizkivid)
            row.FieldByName("Vizkivid").SetAsInteger(*entry.irrigation->vizkivid);
    }
    row.Post();
}

} // namespace

void OpenFiltered(db::TTable& table, const std::string& name, const std::string& filter) {
    table.SetTableName(name);
    table.SetFilter(filter);
    table.SetFiltered(true);
    table.Open();
}

double NormalHectares(double area, double factor) {
    return area * factor * 0.0001;
}

void FillIrrigationRow(db::TTable& row, const Irrigation& irrigation, const std::string& code,
                       const std::string& parckod) {
    row.FieldByName("Muvkod").SetAsString(code);
    row.FieldByName("Parckod").SetAsString(parckod);
    row.FieldByName("Ko").SetAsString(irrigation.ko);
    row.FieldByName("Kp").SetAsString(irrigation.kp);
    row.FieldByName("Vo").SetAsString(irrigation.vo);
    row.FieldByName("Vp").SetAsString(irrigation.vp);
    row.FieldByName("Uora").SetAsFloat(irrigation.uora);
    row.FieldByName("Menny").SetAsFloat(irrigation.menny);
    row.FieldByName("Megj").SetAsString(irrigation.megj);
}

const OperationTables& TablesFor(bool planned) {
    static const OperationTables performed{"ElvMuv",    "felhanyag", "Raktarmozgas",
                                           "Munkavegz", "Ontozes",   "muv_novmegf"};
    static const OperationTables plannedTwins{"Tervelvmuv", "Tervfanyag",  "Tervrmozgas",
                                              "Tervmunkas", "Tervontozes", nullptr};
    return planned ? plannedTwins : performed;
}

double MachineHoursShare(double hours, double totalArea, double fieldArea) {
    if (totalArea <= 0)
        return 0;
    // The product is taken to 1e-9 first, so that 375.0000000001 does not round up to 3.76.
    const double hundredths = std::round(hours / totalArea * fieldArea * 100 * 1e9) / 1e9;
    return std::ceil(hundredths) * 0.01;
}

void DropPendingRows(db::Session& session, bool planned, bool workers) {
    const OperationTables& tables = TablesFor(planned);
    db::SessionTransaction transaction(session);
    reg::DeleteRows(session, tables.uses, kPendingUse);
    reg::DeleteRows(session, tables.stock, kPendingStock);
    if (workers)
        reg::DeleteRows(session, tables.workers, kPendingUse);
    transaction.Commit();
}

bool HasPendingUses(db::Session& session, bool planned) {
    db::TTable uses(session, "Pending");
    OpenFiltered(uses, TablesFor(planned).uses, kPendingUse);
    return !uses.IsEmpty();
}

std::string NextOperationCode(db::Session& session, bool planned) {
    return reg::NextSequentialCode(session, {{TablesFor(planned).operations, "Muvkod"}});
}

std::vector<std::string> SaveOperation(db::Session& session, const OperationEntry& entry,
                                       bool planned) {
    const OperationTables& tables = TablesFor(planned);
    double totalArea = 0;
    for (const FieldPick& field : entry.fields)
        totalArea += static_cast<double>(field.area);

    db::SessionTransaction transaction(session);
    // The pending withdrawals take the operation's date.
    UpdateAll(session, tables.stock, kPendingStock,
              [&](db::TTable& row) { row.FieldByName("Datum").SetAsDateTime(entry.date); });

    db::TTable operations(session, "Operations");
    operations.SetTableName(tables.operations);
    operations.Open();
    db::TTable irrigation(session, "Irrigation");
    irrigation.SetTableName(tables.irrigation);
    if (entry.irrigation)
        irrigation.Open();
    db::TTable links(session, "Links");
    const bool linked = entry.observation && tables.observationLinks;
    if (linked) {
        links.SetTableName(tables.observationLinks);
        links.Open();
    }

    std::vector<std::string> codes;
    std::map<std::string, std::string> codeOfField;
    std::int64_t code = sys::parseInt(NextOperationCode(session, planned));
    for (const FieldPick& field : entry.fields) {
        codes.push_back(sys::intToText(code++));
        codeOfField.emplace(field.parckod, codes.back());
    }
    // Each field's pending uses take that field's code.
    CommitPendingUses(session, tables.uses, codeOfField);
    // The first field's operation takes every pending worker.
    if (!codes.empty())
        UpdateAll(session, tables.workers, kPendingUse,
                  [&](db::TTable& row) { row.FieldByName("Muvkod").SetAsString(codes.front()); });
    for (std::size_t i = 0; i < entry.fields.size(); ++i) {
        const FieldPick& field = entry.fields[i];
        const std::string& text = codes[i];
        if (entry.irrigation) {
            irrigation.Append();
            FillIrrigationRow(irrigation, *entry.irrigation, text, field.parckod);
            irrigation.Post();
        }
        if (linked) {
            links.Append();
            links.FieldByName("Muvid").SetAsString(text);
            links.FieldByName("Megfid").SetAsInteger(*entry.observation);
            links.Post();
        }
        WriteOperationRow(operations, entry, field, text, totalArea);
    }
    operations.FlushBuffers();
    transaction.Commit();
    return codes;
}

} // namespace ops
