#pragma once
// The fixture of the register's list, chart, plan and soil-test tests: a fresh database
// in the working directory, the number checks' holder form, and rows put into the tables.

#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "register_db.h"
#include "support/table_rows.h"
#include "support/ui_test.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace regtest {

struct Field {
    std::string parckod;
    int parcsor = 1;
    int evj = 2009;
    std::string agazat = "Búza";
    double ter = 10000;
    std::string aktiv = "A";
    std::string hazmeg = "Nagyföld";
    std::string masod = "NEM";
};

class ListsTest : public testui::UiTest {
protected:
    ListsTest() {
        core::CreateFreshDatabase(session);
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, session);
    }

    // Appends one row to a table, its fields set by `fill`; returns the row's AutoInc
    // (or 0) read back after the post.
    int AddRow(const std::string& table, const std::function<void(db::TTable&)>& fill,
               const std::string& autoInc = {}) {
        db::TTable rows(session);
        rows.SetTableName(table);
        rows.Open();
        rows.Append();
        fill(rows);
        rows.Post();
        return autoInc.empty() ? 0 : rows.FieldByName(autoInc).AsInteger();
    }

    void AddField(const Field& f) {
        AddRow("parcellak", [&](db::TTable& t) {
            t.FieldByName("Parckod").SetAsString(f.parckod);
            t.FieldByName("Parcsor").SetAsInteger(f.parcsor);
            t.FieldByName("Evj").SetAsInteger(f.evj);
            t.FieldByName("Agazat").SetAsString(f.agazat);
            t.FieldByName("Ter").SetAsFloat(f.ter);
            t.FieldByName("Aktiv").SetAsString(f.aktiv);
            t.FieldByName("Hazmeg").SetAsString(f.hazmeg);
            t.FieldByName("Masod").SetAsString(f.masod);
        });
    }

    // The field lies on the land parcel.
    void LinkParcel(const std::string& parckod, int tableid) {
        AddRow("Szhelyrajzi", [&](db::TTable& t) {
            t.FieldByName("Sorsz").SetAsString("100000");
            t.FieldByName("Parcellakod").SetAsString(parckod);
            t.FieldByName("Helysz").SetAsInteger(tableid);
        });
    }

    // The field continues the predecessor.
    void LinkPredecessor(const std::string& parckod, const std::string& predecessor) {
        AddRow("Szparcellak", [&](db::TTable& t) {
            t.FieldByName("Szulkod").SetAsString("100000");
            t.FieldByName("Parckod").SetAsString(parckod);
            t.FieldByName("Szparckod").SetAsString(predecessor);
        });
    }

    int RowCount(const std::string& table, const std::string& filter = {}) {
        return testenv::RowCount(session, table, filter);
    }

    std::vector<std::string> Column(const std::string& table, const std::string& field,
                                    const std::string& filter = {}) {
        return testenv::ColumnValues(session, table, field, filter);
    }

    db::Session session{std::filesystem::current_path()};
    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
};

} // namespace regtest
