#pragma once
// The fixture of the operation tests: a fresh database in the working directory, the
// number checks' holder form, rows put into the register, the material masters and the
// ledger, and readers of what the forms wrote.

#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"
#include "platform/ui/db_grid.h"
#include "support/ui_test.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace opstest {

void AddRow(db::Session& session, const std::string& table,
            const std::function<void(db::TTable&)>& fill);
// An active field of parcellak.db with its area in m².
void AddField(db::Session& session, const std::string& parckod, double area,
              const std::string& agazat = "búza", int parcsor = 1);
// A fertiliser (Tapanyagok), pesticide (Novenyvedok) or seed variety (Vetomagok).
void AddFertiliser(db::Session& session, const std::string& kod, const std::string& name,
                   const std::string& unit);
void AddPesticide(db::Session& session, const std::string& kod, const std::string& name,
                  const std::string& unit);
// A purchase booked on a day.
void Buy(db::Session& session, const std::string& kod, double quantity, sys::DateTime day);
// A pending use row (empty Muvkod) and its pending withdrawal, as the material dialog
// leaves them.
void AddPendingUse(db::Session& session, const std::string& felhkod, const std::string& field,
                   const std::string& anyagkod, double withdrawal, bool planned = false);
void AddPendingWorker(db::Session& session, int szemkod, bool planned = false);
// The header captions and cell texts of a grid that its columns are too narrow to show
// whole (a header is measured bold, as the current column's header is drawn).
std::vector<std::string> CutGridTexts(ui::TDBGrid& grid);

class OperationsTest : public testui::UiTest {
protected:
    OperationsTest();
    ~OperationsTest() override;

    std::vector<std::string> Column(const std::string& table, const std::string& field,
                                    const std::string& filter = {});
    int Count(const std::string& table, const std::string& filter = {});

    db::Session session;
    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
};

} // namespace opstest
