#include "copy_operation.h"

#include "operation_records.h"
#include "platform/db/filter.h"
#include "platform/db/table.h"
#include "register/cascade_deletes.h"
#include "register/codes.h"

#include <algorithm>
#include <vector>

namespace ops {

namespace {

struct SourceTables {
    const char* operations;
    const char* uses;
    const char* stock;
    const char* irrigation;
    const char* workers;
};

const SourceTables& SourceOf(bool planned) {
    static const SourceTables performed{"ElvMuv", "felhanyag", "Raktarmozgas", "Ontozes",
                                        "Munkavegz"};
    static const SourceTables plannedTwins{"Tervelvmuv", "Tervfanyag", "Tervrmozgas", "Tervontozes",
                                           "Tervmunkas"};
    return planned ? plannedTwins : performed;
}

// Carries a field's value over; an empty source field stays empty in the copy.
void CopyField(db::TTable& source, db::TTable& target, const std::string& field) {
    db::TField& from = source.FieldByName(field);
    db::TField& to = target.FieldByName(field);
    if (from.IsNull())
        to.Clear();
    else if (from.DataType() == to.DataType())
        to.SetAsValue(from.AsValue());
    else
        to.SetAsString(from.AsString());
}

void CopyFields(db::TTable& source, db::TTable& target, std::initializer_list<const char*> fields) {
    for (const char* field : fields)
        CopyField(source, target, field);
}

// Appends one target row per source row that the filter shows, with the copied fields and
// the fields `fill` sets.
template <class Fill>
void CopyRows(db::Session& session, const std::string& from, const std::string& to,
              const std::string& filter, std::initializer_list<const char*> fields, Fill fill) {
    db::TTable source(session, "Source");
    OpenFiltered(source, from, filter);
    if (source.IsEmpty())
        return;
    db::TTable target(session, "Target");
    target.SetTableName(to);
    target.Open();
    for (source.First(); !source.Eof(); source.Next()) {
        target.Append();
        CopyFields(source, target, fields);
        fill(source, target);
        target.Post();
    }
    target.FlushBuffers();
}

std::string NextMuvkod(db::Session& session) {
    return reg::NextSequentialCode(session, {{"ElvMuv", "Muvkod"}});
}

// The stock movement of one use: the first ledger row booked by the source use.
void CopyStockMovement(db::Session& session, const SourceTables& tables,
                       const std::string& sourceFelhkod, const std::string& newFelhkod) {
    db::TTable source(session, "Source");
    OpenFiltered(source, tables.stock, db::filterEquals("Felhanykod", sourceFelhkod));
    if (source.IsEmpty())
        return;
    source.First();
    db::TTable target(session, "Target");
    target.SetTableName("Raktarmozgas");
    target.Open();
    target.Append();
    CopyFields(source, target, {"Datum", "Muvkod", "Anyagkod", "Menny", "Mert", "Raktarkod"});
    target.FieldByName("Felhanykod").SetAsString(newFelhkod);
    target.Post();
    target.FlushBuffers();
}

// The material uses of the source operation, in Felhkod order, under consecutive new
// codes; each use's stock movement is copied when stock keeping is on.
void CopyMaterialUses(db::Session& session, const SourceTables& tables,
                      const std::string& sourceMuvkod, const std::string& newMuvkod,
                      const std::string& targetParckod, bool stockKeeping) {
    db::TTable source(session, "Source");
    source.SetIndexFieldNames("Felhkod");
    OpenFiltered(source, tables.uses, db::filterEquals("Muvkod", sourceMuvkod));
    if (source.IsEmpty())
        return;
    long long next = std::stoll(reg::NextSequentialCode(session, {{"felhanyag", "Felhkod"}}));
    db::TTable target(session, "Target");
    target.SetTableName("felhanyag");
    target.Open();
    // The rows are read first: a copy onto the performed table must not meet its own rows.
    std::vector<db::TBookmark> rows;
    for (source.First(); !source.Eof(); source.Next())
        rows.push_back(source.GetBookmark());
    for (const db::TBookmark& row : rows) {
        source.GotoBookmark(row);
        const std::string newFelhkod = std::to_string(next++);
        if (stockKeeping)
            CopyStockMovement(session, tables, source.FieldByName("Felhkod").AsString(),
                              newFelhkod);
        target.Append();
        target.FieldByName("Felhkod").SetAsString(newFelhkod);
        target.FieldByName("Muvkod").SetAsString(newMuvkod);
        target.FieldByName("Tablakod").SetAsString(targetParckod);
        CopyFields(source, target,
                   {"Anyagkod", "Anyagtip", "Menny", "Mert", "Permetle", "Betido", "Felelos",
                    "Fogya", "Csira", "Vido"});
        target.Post();
    }
    target.FlushBuffers();
}

} // namespace

std::string CopyOperation(db::Session& session, bool planned, const std::string& muvkod,
                          const std::string& targetParckod, bool stockKeeping) {
    if (muvkod.empty() || targetParckod.empty())
        return {};
    const SourceTables& tables = SourceOf(planned);
    db::TTable source(session, "Source");
    OpenFiltered(source, tables.operations, db::filterEquals("Muvkod", muvkod));
    if (source.IsEmpty())
        return {};
    source.First();

    db::SessionTransaction transaction(session);
    const std::string newMuvkod = NextMuvkod(session);
    {
        db::TTable target(session, "Target");
        target.SetTableName("ElvMuv");
        target.Open();
        target.Append();
        target.FieldByName("Muvkod").SetAsString(newMuvkod);
        target.FieldByName("Tablakod").SetAsString(targetParckod);
        CopyFields(source, target,
                   {"Datum", "Muvnev", "Muvid", "Ter", "Nha", "Evj", "Agazat", "Masod", "Irany",
                    "Erogepkod", "Munkagepkod", "Gepora", "Keziora", "Szantm", "Hozam", "Mellek",
                    "Szolg"});
        target.Post();
        target.FlushBuffers();
    }
    const std::string byCode = db::filterEquals("Muvkod", muvkod);
    CopyRows(session, tables.irrigation, "Ontozes", byCode,
             {"Ko", "Kp", "Vo", "Vp", "Uora", "Menny"}, [&](db::TTable&, db::TTable& row) {
                 row.FieldByName("Muvkod").SetAsString(newMuvkod);
                 row.FieldByName("Parckod").SetAsString(targetParckod);
             });
    CopyRows(
        session, tables.workers, "Munkavegz", byCode,
        {"Szemkod", "Mora", "Ber", "Megj", "P1", "P2", "P3"},
        [&](db::TTable&, db::TTable& row) { row.FieldByName("Muvkod").SetAsString(newMuvkod); });
    CopyMaterialUses(session, tables, muvkod, newMuvkod, targetParckod, stockKeeping);
    transaction.Commit();
    return newMuvkod;
}

int CopyAllOperations(db::Session& session, const std::string& sourceParckod,
                      const std::string& targetParckod, bool stockKeeping) {
    if (sourceParckod.empty() || targetParckod.empty())
        return 0;
    // The codes are taken before the first copy, so copies onto the same field stay out.
    std::vector<std::string> codes;
    {
        db::TTable operations(session, "Operations");
        OpenFiltered(operations, "ElvMuv", db::filterEquals("Tablakod", sourceParckod));
        for (operations.First(); !operations.Eof(); operations.Next())
            codes.push_back(operations.FieldByName("Muvkod").AsString());
    }
    auto number = [](const std::string& code) {
        try {
            return std::stoll(code);
        } catch (const std::exception&) {
            return 0LL;
        }
    };
    std::stable_sort(codes.begin(), codes.end(), [&](const std::string& a, const std::string& b) {
        return number(a) < number(b);
    });
    db::SessionTransaction transaction(session);
    int copied = 0;
    for (const std::string& code : codes)
        if (!CopyOperation(session, false, code, targetParckod, stockKeeping).empty())
            ++copied;
    transaction.Commit();
    return copied;
}

std::string RealisePlannedOperation(db::Session& session, const std::string& muvkod,
                                    bool stockKeeping) {
    if (muvkod.empty())
        return {};
    std::string field;
    {
        db::TTable plan(session, "Plan");
        OpenFiltered(plan, "Tervelvmuv", db::filterEquals("Muvkod", muvkod));
        if (plan.IsEmpty())
            return {};
        plan.First();
        field = plan.FieldByName("Tablakod").AsString();
    }
    db::SessionTransaction transaction(session);
    std::string newMuvkod = CopyOperation(session, true, muvkod, field, stockKeeping);
    if (newMuvkod.empty())
        return {};
    reg::DeleteOperationRows(session, muvkod, true);
    transaction.Commit();
    return newMuvkod;
}

} // namespace ops
