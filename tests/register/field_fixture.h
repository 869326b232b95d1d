#pragma once
// The fixture of the field forms' tests: a fresh database (every table of the catalogue
// with its reference rows), the number checks' holder form, and rows put into the field
// tables and read back.

#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "register_db.h"
#include "support/table_rows.h"
#include "support/ui_test.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace regtest {

// Field values of one row, by column name, written as texts.
using Row = std::map<std::string, std::string>;

class FieldTest : public testui::UiTest {
public:
    FieldTest() {
        core::CreateFreshDatabase(session);
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, session);
    }

    // Appends a row; returns the table's cursor values of the posted row as texts.
    Row Insert(const std::string& table, const Row& values) {
        db::TTable rows(session, "Insert");
        rows.SetTableName(table);
        rows.Open();
        rows.Append();
        for (const auto& [field, value] : values)
            rows.FieldByName(field).SetAsString(value);
        rows.Post();
        Row written;
        for (int i = 0; i < rows.FieldCount(); ++i)
            written[rows.Fields(i).FieldName()] = rows.Fields(i).AsString();
        return written;
    }

    // A field of a farming year; the defaults make an active 1 ha wheat field.
    void AddField(const std::string& parckod, int evj, int parcsor, Row more = {}) {
        Row row{{"Parckod", parckod},
                {"Evj", std::to_string(evj)},
                {"Parcsor", std::to_string(parcsor)},
                {"Ter", "10000"},
                {"Agazat", "búza"},
                {"Aktiv", "A"},
                {"Masod", "NEM"}};
        for (auto& [k, v] : more)
            row[k] = v;
        Insert("parcellak", row);
    }

    // The text of one field of every row of a table, in file order, narrowed by a filter.
    std::vector<std::string> Column(const std::string& table, const std::string& field,
                                    const std::string& filter = {}) {
        return testenv::ColumnValues(session, table, field, filter);
    }
    std::size_t Count(const std::string& table, const std::string& filter = {}) {
        return static_cast<std::size_t>(testenv::RowCount(session, table, filter));
    }
    // One field of the parcellak.db row with that code, "<none>" without one.
    std::string FieldOf(const std::string& parckod, const std::string& field) {
        auto values = Column("parcellak", field, "Parckod = '" + parckod + "'");
        return values.empty() ? "<none>" : values.front();
    }

    db::Session session;
    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
};

} // namespace regtest
