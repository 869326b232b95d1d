#include "farm_row.h"

namespace reg {

FarmRow::FarmRow(QObject* owner, db::Session& session)
    : Table(session, "FarmTable"), Connection(owner, "RvFarmConnection1", &Table) {
    Table.SetTableName("Alapadatok.db");
    Table.OnFilterRecord = [](db::TDataSet& row, bool& accept) {
        accept = !row.FieldByName("Nev").AsString().starts_with('_');
    };
    Table.SetFiltered(true);
}

} // namespace reg
