#pragma once
// The fixture of the register's form tests: the tables in the working directory, the
// number checks' holder form, and readers of what the forms wrote.

#include "core/Isnuminth.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "register_db.h"
#include "support/table_rows.h"
#include "support/ui_test.h"

#include <memory>
#include <string>
#include <vector>

namespace regtest {

class RegisterTest : public testui::UiTest {
protected:
    RegisterTest() {
        MakeRegisterTables(session);
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, session);
    }

    // The text of one field of every row of a table, in file order (filtered when a
    // filter is given).
    std::vector<std::string> Column(const std::string& table, const std::string& field,
                                    const std::string& filter = {}) {
        return testenv::ColumnValues(session, table, field, filter);
    }

    // One field of the land parcel with that Tableid.
    std::string ParcelField(int tableid, const std::string& field) {
        auto values = Column("Tablak", field, "Tableid = " + std::to_string(tableid));
        return values.empty() ? "<none>" : values.front();
    }

    db::Session session;
    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
};

} // namespace regtest
