#pragma once
// The fixture of the resources' form tests: the tables the forms use, made from the
// catalogue in the test's working directory, the number checks' holder form, the
// report layouts, and readers of what the forms wrote.

#include "core/Isnuminth.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/output.h"
#include "support/ui_test.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace restest {

// Makes the tables (as the catalogue defines them, empty).
void MakeTables(db::Session& session, const std::vector<std::string>& names);

// Appends one row; the setter fills its fields.
void AddRow(db::Session& session, const std::string& table,
            const std::function<void(db::TTable&)>& fill);

// A machine row: Gepkod, the shown name (Geptip of a tractor, Gepnev of an implement),
// Tul.
void AddMachine(db::Session& session, const std::string& table, const std::string& code,
                const std::string& name, int tul);

// A field of parcellak.db.
void AddField(db::Session& session, const std::string& parckod, int evj, int parcsor,
              const std::string& agazat, bool active = true);

class ResourcesTest : public testui::UiTest {
protected:
    ResourcesTest();

    // The text of one field of every row of a table, in the table's order or an index's
    // (filtered when a filter is given).
    std::vector<std::string> Column(const std::string& table, const std::string& field,
                                    const std::string& filter = {}, const std::string& index = {});
    int Count(const std::string& table, const std::string& filter = {});

    db::Session session;
    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
    report::CaptureOutput output;
    report::ScopedOutput use{output};
};

} // namespace restest
