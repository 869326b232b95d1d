#pragma once
// The farm row of Alapadatok.db for the headings of the register's printouts: the first
// row that is not an option row (option rows are named "_kesz", "_MuvFormState" ...).
// Its report connection is RvFarmConnection1; a layout prints {RvFarmConnection1.Nev}.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"

#include <QObject>

namespace reg {

class FarmRow {
public:
    FarmRow(QObject* owner, db::Session& session);
    FarmRow(const FarmRow&) = delete;
    FarmRow& operator=(const FarmRow&) = delete;

    db::TTable Table;
    TRvTableConnection Connection;
};

} // namespace reg
