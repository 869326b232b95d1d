#include "farm_row.h"

#include "core/farm_row.h"

namespace reg {

FarmRow::FarmRow(QObject* owner, db::Session& session)
    : Table(session, "FarmTable"), Connection(owner, "RvFarmConnection1", &Table) {
    Table.SetTableName("Alapadatok.db");
    core::FilterFarmRow(Table);
}

} // namespace reg
