#include "spray_log.h"

#include "platform/db/query.h"
#include "platform/db/table.h"
#include "platform/sys/numbers.h"

namespace spray {

namespace {

using Map = db::KeyTable<std::string>;

// The first row of each key keeps its value, as a filter on the key reads the first row.
void KeepFirst(db::TDataSet& rows, const char* key, const char* value, Map& into) {
    for (rows.First(); !rows.Eof(); rows.Next())
        into.try_emplace(rows.FieldByName(key).AsString(), rows.FieldByName(value).AsString());
}

void ReadTable(db::Session& session, const char* table, const char* value, Map& into) {
    db::TTable rows(session);
    rows.SetTableName(table);
    rows.Open();
    KeepFirst(rows, "Gepkod", value, into);
}

std::string Find(const Map& map, const std::string& key) {
    const auto* found = map.find(key);
    return found ? found->second : std::string();
}

} // namespace

std::vector<std::string> SprayLogSql(const std::string& conditionTail) {
    return {"SELECT * FROM parcellak,ElvMuv,felhanyag,Novenyvedok",
            "WHERE (Anyagtip='000001') AND (felhanyag.Tablakod = parcellak.Parckod) AND "
            "(ElvMuv.Tablakod = felhanyag.Tablakod) AND (felhanyag.muvkod = ElvMuv.muvkod) AND "
            "(felhanyag.Anyagkod = Novenyvedok.Kod) " +
                conditionTail,
            "ORDER BY Datum,Hazmeg;"};
}

std::string SprayConditionTail(const lists::OperationChoices& choices) {
    std::string tail = lists::BuildOperationConditions(choices).ConditionTail;
    if (!choices.fieldCodes.empty())
        tail.erase(0, 1); // " AND (" -> "AND ("
    return tail;
}

std::string HectaresText(int squareMetres) {
    return sys::floatToText(squareMetres * 0.0001);
}

void SprayLookups::Load(db::Session& session) {
    tractors_ = {};
    implements_ = {};
    workers_ = {};
    observations_ = {};
    ReadTable(session, "Erogepek", "Geptip", tractors_);
    ReadTable(session, "Munkagepek", "Gepnev", implements_);

    db::TQuery workers(session);
    workers.SQL().Add("SELECT Szemely.Sznev, Munkavegz.Munk_id, Munkavegz.Muvkod");
    workers.SQL().Add("FROM Munkavegz");
    workers.SQL().Add("   INNER JOIN Szemely");
    workers.SQL().Add("   ON  (Munkavegz.Szemkod = Szemely.Szid) ");
    workers.SQL().Add("ORDER BY Szemely.Sznev");
    workers.Open();
    // Every worker of the operation, in name order, each name kept whole.
    for (; !workers.Eof(); workers.Next()) {
        std::string& names = workers_[workers.FieldByName("Muvkod").AsString()];
        names += (names.empty() ? "" : ", ") + workers.FieldByName("Sznev").AsString();
    }

    db::TQuery observations(session);
    observations.SQL().Add("SELECT *");
    observations.SQL().Add("FROM muv_novmegf");
    observations.SQL().Add("INNER JOIN Novvedmegf");
    observations.SQL().Add("  ON muv_novmegf.Megfid = Novvedmegf.Id");
    observations.Open();
    KeepFirst(observations, "Muvid", "Sorsz", observations_);
}

std::string SprayLookups::TractorType(const std::string& gepkod) const {
    return Find(tractors_, gepkod);
}

std::string SprayLookups::ImplementName(const std::string& gepkod) const {
    return Find(implements_, gepkod);
}

std::string SprayLookups::WorkerNames(const std::string& muvkod) const {
    return Find(workers_, muvkod);
}

std::string SprayLookups::ObservationSerial(const std::string& muvkod) const {
    return Find(observations_, muvkod);
}

} // namespace spray
