#include "operation_change.h"

#include "platform/db/exact_filter.h"
#include "platform/db/filter.h"
#include "platform/db/table.h"

#include <set>

namespace ops {

std::optional<double> FieldArea(db::Session& session, const std::string& parckod) {
    db::TTable fields(session);
    fields.SetTableName("parcellak");
    db::FilterExactly(fields, "Parckod", parckod);
    fields.Open();
    if (fields.IsEmpty())
        return std::nullopt;
    return fields.FieldByName("Ter").AsFloat();
}

namespace {

template <class T, class Set>
void SetOrClear(db::TField& field, const std::optional<T>& value, Set set) {
    if (value)
        set(field, *value);
    else
        field.Clear();
}

void SetNumber(db::TField& field, const std::optional<double>& value) {
    SetOrClear(field, value, [](db::TField& f, double v) { f.SetAsFloat(v); });
}

void SetDate(db::TField& field, const std::optional<sys::DateTime>& value) {
    SetOrClear(field, value, [](db::TField& f, sys::DateTime v) { f.SetAsDateTime(v); });
}

// Steps 3, 4 and 6 to 8 of the save: the operation row's own fields. The normal hectares
// are computed afresh only for a new area or a picked type; otherwise they stay as stored,
// however they were computed when the operation was recorded.
void WriteOperationFields(db::TTable& row, const OperationChange& change, bool newHectares) {
    if (change.newType) {
        row.FieldByName("Muvnev").SetAsString(change.newType->muv);
        row.FieldByName("Muvid").SetAsString(change.newType->kod);
    }
    row.FieldByName("Tablakod").SetAsString(change.field);
    row.FieldByName("Irany").SetAsString(change.direction);
    row.FieldByName("Datum").SetAsDateTime(change.date);
    SetDate(row.FieldByName("Muvveg"), change.endDate);
    SetNumber(row.FieldByName("Gepora"), change.machineHours);
    SetNumber(row.FieldByName("Keziora"), change.manualHours);
    row.FieldByName("Erogepkod").SetAsString(change.tractor);
    row.FieldByName("Munkagepkod").SetAsString(change.implement);
    SetOrClear(row.FieldByName("Sorsz"), change.serial,
               [](db::TField& f, int v) { f.SetAsInteger(v); });
    row.FieldByName("Tajkotmegnev").SetAsString(change.notifiedName);
    row.FieldByName("Megjegyzes").SetAsString(change.remark);
    row.FieldByName("Bejelkot").SetAsBoolean(change.notifiable);
    SetDate(row.FieldByName("Bejelido"), change.notifiedOn);
    if (change.irrigation) {
        row.FieldByName("Evj").SetAsInteger(1);
        row.FieldByName("Vizkivid").SetAsInteger(change.irrigation->vizkivid.value_or(0));
    } else {
        row.FieldByName("Evj").Clear();
    }
    if (newHectares && change.factor)
        row.FieldByName("Nha").SetAsFloat(
            NormalHectares(static_cast<double>(change.area), *change.factor));
    row.FieldByName("Ter").SetAsInteger(change.area);
    switch (change.extraKind) {
    case 1:
        row.FieldByName("Szantm").SetAsString(change.depth);
        break;
    case 2:
        row.FieldByName("Mellek").SetAsString(change.byProduct);
        [[fallthrough]];
    case 3:
        SetNumber(row.FieldByName("Hozam"), change.yield);
        break;
    default:
        break;
    }
}

// Step 5: the irrigation row follows the operation, or goes when it is no irrigation.
void WriteIrrigation(db::Session& session, const OperationChange& change) {
    db::TTable rows(session, "Irrigation");
    OpenFiltered(rows, TablesFor(false).irrigation, db::filterEquals("Muvkod", change.muvkod));
    if (!change.irrigation) {
        while (!rows.IsEmpty())
            rows.Delete();
        return;
    }
    if (rows.IsEmpty())
        rows.Append();
    else
        rows.Edit();
    FillIrrigationRow(rows, *change.irrigation, change.muvkod, change.field);
    rows.Post();
}

// Step 10: the chosen observation replaces the operation's link.
void WriteObservationLink(db::Session& session, const std::string& muvkod, int observation) {
    db::TTable links(session, "Links");
    OpenFiltered(links, TablesFor(false).observationLinks, db::filterEquals("Muvid", muvkod));
    while (!links.IsEmpty())
        links.Delete();
    links.Append();
    links.FieldByName("Muvid").SetAsString(muvkod);
    links.FieldByName("Megfid").SetAsInteger(observation);
    links.Post();
}

} // namespace

void MoveMaterialUses(db::Session& session, const std::string& muvkod, const std::string& parckod) {
    if (muvkod.empty())
        return;
    db::TTable uses(session, "Uses");
    OpenFiltered(uses, TablesFor(false).uses, db::filterEquals("Muvkod", muvkod));
    for (uses.First(); !uses.Eof(); uses.Next()) {
        if (uses.FieldByName("Tablakod").AsString() == parckod)
            continue;
        uses.Edit();
        uses.FieldByName("Tablakod").SetAsString(parckod);
        uses.Post();
    }
}

void RedateWithdrawals(db::Session& session, const std::string& muvkod, sys::DateTime day) {
    if (muvkod.empty())
        return;
    std::set<std::string> useCodes;
    db::TTable uses(session, "Uses");
    OpenFiltered(uses, TablesFor(false).uses, db::filterEquals("Muvkod", muvkod));
    for (uses.First(); !uses.Eof(); uses.Next())
        if (const std::string code = uses.FieldByName("Felhkod").AsString(); !code.empty())
            useCodes.insert(code);
    db::TTable stock(session, "Stock");
    stock.SetTableName(TablesFor(false).stock);
    stock.SetIndexName("RaktarFelhanykodInd");
    stock.Open();
    for (const std::string& code : useCodes) {
        stock.SetFilter(db::filterEquals("Felhanykod", code));
        stock.SetFiltered(true);
        for (stock.First(); !stock.Eof(); stock.Next()) {
            if (!stock.FieldByName("Datum").IsNull() &&
                stock.FieldByName("Datum").AsDateTime() == day)
                continue;
            stock.Edit();
            stock.FieldByName("Datum").SetAsDateTime(day);
            stock.Post();
        }
    }
}

bool SaveOperationChange(db::Session& session, const OperationChange& change) {
    db::SessionTransaction transaction(session);
    db::TTable operation(session, "Operation");
    operation.SetTableName(TablesFor(false).operations);
    operation.SetIndexName("ElvMuvMuvkodind");
    operation.Open();
    if (change.muvkod.empty() || !operation.FindKey({db::Value(change.muvkod)}))
        return false;
    const std::string oldField = operation.FieldByName("Tablakod").AsString();
    const bool dated = !operation.FieldByName("Datum").IsNull();
    const sys::DateTime oldDate = dated ? operation.FieldByName("Datum").AsDateTime() : 0;
    const bool newArea = operation.FieldByName("Ter").IsNull() ||
                         operation.FieldByName("Ter").AsFloat() != static_cast<double>(change.area);
    operation.Edit();
    WriteOperationFields(operation, change, newArea || change.newType.has_value());
    operation.Post();
    WriteIrrigation(session, change);
    if (change.observation)
        WriteObservationLink(session, change.muvkod, *change.observation);
    if (oldField != change.field)
        MoveMaterialUses(session, change.muvkod, change.field);
    if (!dated || oldDate != change.date)
        RedateWithdrawals(session, change.muvkod, change.date);
    RewriteAreaWithdrawals(session, change.withdrawals);
    transaction.Commit();
    return true;
}

} // namespace ops
