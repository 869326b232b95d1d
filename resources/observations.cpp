#include "observations.h"

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"

namespace res {

std::int64_t NextObservationSerial(db::Session& session) {
    db::TQuery query(session, "Query1");
    query.SQL().Add("SELECT MAX(Sorsz) sor");
    query.SQL().Add("FROM Novvedmegf");
    query.Open();
    const db::TField& max = query.FieldByName("sor");
    return (query.IsEmpty() || max.IsNull() ? 0 : max.AsInteger()) + 1;
}

int CopyObservation(db::Session& session, int sourceId, const std::string& targetParckod) {
    db::TTable source(session, "Source");
    source.SetTableName("Novvedmegf.db");
    source.Open();
    if (!source.Locate("Id", {db::Value(static_cast<std::int32_t>(sourceId))}))
        return 0;
    db::TTable pests(session, "Table5");
    pests.SetTableName("Novvedmeg2.db");
    pests.SetFilter("Megfid = " + std::to_string(sourceId));
    pests.SetFiltered(true);
    pests.Open();

    db::SessionTransaction transaction(session);
    db::TTable Table4(session, "Table4");
    Table4.SetTableName("Novvedmegf.db");
    Table4.Open();
    Table4.Insert();
    Table4.FieldByName("Parc_id").SetAsString(targetParckod);
    for (const char* field : {"Datum", "Novfejl", "Karfejl", "Mod", "Mneve", "Jav", "Javdatum",
                              "Het", "Sorsz", "Fertmert", "Megjegy"})
        Table4.FieldByName(field).SetAsValue(source.FieldByName(field).AsValue());
    Table4.Post();
    const int copyId = Table4.FieldByName("Id").AsInteger();
    if (!pests.IsEmpty()) {
        db::TTable Table6(session, "Table6");
        Table6.SetTableName("Novvedmeg2.db");
        Table6.Open();
        Table6.Insert();
        Table6.FieldByName("Megfid").SetAsInteger(copyId);
        for (const char* field : {"Karfejl", "Karjel", "Egyeb", "Egyeb1"})
            Table6.FieldByName(field).SetAsValue(pests.FieldByName(field).AsValue());
        Table6.Post();
    }
    transaction.Commit();
    return copyId;
}

} // namespace res
