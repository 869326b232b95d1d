#include "cascade_deletes.h"

#include "platform/db/filter.h"
#include "platform/db/table.h"
#include "platform/ui/dialogs.h"

#include <vector>

namespace reg {

namespace {

struct OperationTables {
    const char* operations;
    const char* uses;
    const char* stock;
    const char* workers;
    const char* irrigation;
    const char* observationLinks; // null: planned operations keep no links of their own
};

const OperationTables& TablesOf(bool planned) {
    static const OperationTables performed{"ElvMuv",    "felhanyag", "Raktarmozgas",
                                           "Munkavegz", "Ontozes",   "muv_novmegf"};
    static const OperationTables plannedTwins{"Tervelvmuv", "Tervfanyag",  "Tervrmozgas",
                                              "Tervmunkas", "Tervontozes", nullptr};
    return planned ? plannedTwins : performed;
}

// The texts of one field of the rows a filter shows.
std::vector<std::string> Texts(db::Session& session, const std::string& table,
                               const std::string& filter, const std::string& field) {
    db::TTable rows(session, "Rows");
    rows.SetTableName(table);
    rows.SetFilter(filter);
    rows.SetFiltered(true);
    rows.Open();
    std::vector<std::string> texts;
    for (rows.First(); !rows.Eof(); rows.Next())
        texts.push_back(rows.FieldByName(field).AsString());
    return texts;
}

} // namespace

int DeleteRows(db::Session& session, const std::string& table, const std::string& filter) {
    db::TTable rows(session, "Delete");
    rows.SetTableName(table);
    rows.SetFilter(filter);
    rows.SetFiltered(true);
    rows.Open();
    int deleted = 0;
    for (rows.First(); !rows.IsEmpty(); rows.First(), ++deleted)
        rows.Delete();
    rows.FlushBuffers();
    return deleted;
}

void DeleteStockMovements(db::Session& session, const std::string& felhkod, bool planned) {
    if (felhkod.empty())
        return;
    db::SessionTransaction transaction(session);
    DeleteRows(session, TablesOf(planned).stock, db::filterEquals("Felhanykod", felhkod));
    transaction.Commit();
}

void DeleteMaterialUses(db::Session& session, const std::string& muvkod, bool planned) {
    if (muvkod.empty())
        return;
    const OperationTables& tables = TablesOf(planned);
    db::SessionTransaction transaction(session);
    for (const std::string& felhkod :
         Texts(session, tables.uses, db::filterEquals("Muvkod", muvkod), "Felhkod"))
        DeleteStockMovements(session, felhkod, planned);
    DeleteRows(session, tables.uses, db::filterEquals("Muvkod", muvkod));
    transaction.Commit();
}

void DeleteOperationRows(db::Session& session, const std::string& muvkod, bool planned) {
    if (muvkod.empty())
        return;
    const OperationTables& tables = TablesOf(planned);
    db::SessionTransaction transaction(session);
    DeleteMaterialUses(session, muvkod, planned);
    DeleteRows(session, tables.operations, db::filterEquals("Muvkod", muvkod));
    DeleteRows(session, tables.workers, db::filterEquals("Muvkod", muvkod));
    DeleteRows(session, tables.irrigation, db::filterEquals("Muvkod", muvkod));
    // A later operation given the same code must not inherit the links.
    if (tables.observationLinks)
        DeleteRows(session, tables.observationLinks, db::filterEquals("Muvid", muvkod));
    transaction.Commit();
}

bool DeleteOperation(db::Session& session, const std::string& muvkod, bool planned) {
    if (!planned && ui::MessageDlg("Valóban törli a kijelölt műveletet?", ui::mtWarning,
                                   ui::mbYesNo) != ui::mrYes)
        return false;
    DeleteOperationRows(session, muvkod, planned);
    return true;
}

void DeleteField(db::Session& session, const std::string& parckod) {
    if (parckod.empty())
        return;
    db::SessionTransaction transaction(session);
    // The performed operations go with their satellite rows, so that a later operation
    // given a freed code inherits none of them. Planned operations, the nutrient plan, the
    // influencing factors and the orchard, grassland and grazing rows stay; the field's code
    // is never handed out again while they name it.
    for (const std::string& muvkod : Texts(session, TablesOf(false).operations,
                                           db::filterEquals("Tablakod", parckod), "Muvkod"))
        DeleteOperationRows(session, muvkod, false);
    for (const std::string& kiegid :
         Texts(session, "Parckiegadat", db::filterEquals("Parckod", parckod), "Kiegid"))
        DeleteRows(session, "Ultkieg02", "Ultkod = " + kiegid);
    for (const auto& [table, field] : std::vector<std::pair<const char*, const char*>>{
             {"Ultkieg02", "Parckod"},
             {"Parckiegadat", "Parckod"},
             {"Szparcellak", "Parckod"},
             {"Szparcellak", "Szparckod"},
             {"Szhelyrajzi", "Parcellakod"},
             {"Parclellak02", "Parckod"},
             {"parcellak", "Parckod"},
         })
        DeleteRows(session, table, db::filterEquals(field, parckod));
    transaction.Commit();
}

} // namespace reg
