#pragma once
// The fixture of the diesel invoice tests: the diesel tables and the farm row in the
// working directory, the number checks' holder form, and rows put into the tables.

#include "core/Isnuminth.h"
#include "core/catalogue.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/sys/datetime.h"
#include "support/ui_test.h"

#include <memory>
#include <optional>
#include <string>

namespace restest {

struct InvoiceItem {
    std::string adosz;
    std::string szlatip;
    std::string fajtakod;
    std::string szlaszam;
    std::optional<sys::DateTime> teljkelt;
    std::optional<double> gmenny;
    std::optional<int> vegossz;
};

class DieselTest : public testui::UiTest {
protected:
    DieselTest() {
        for (const char* name : {"Gazolajszla", "szlatet", "Alapadatok"}) {
            const core::TableDef* def = core::FindTable(name);
            session.create(def->name, {def->fields, def->keyFields}, def->indexes);
        }
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, session);
    }

    void AddItem(const InvoiceItem& item) {
        db::TTable items(session);
        items.SetTableName("szlatet");
        items.Open();
        items.Append();
        items.FieldByName("Adosz").SetAsString(item.adosz);
        items.FieldByName("Szlatip").SetAsString(item.szlatip);
        items.FieldByName("Fajtakod").SetAsString(item.fajtakod);
        items.FieldByName("Szlaszam").SetAsString(item.szlaszam);
        if (item.teljkelt)
            items.FieldByName("Teljkelt").SetAsDateTime(*item.teljkelt);
        if (item.gmenny)
            items.FieldByName("Gmenny").SetAsFloat(*item.gmenny);
        if (item.vegossz)
            items.FieldByName("Vegossz").SetAsInteger(*item.vegossz);
        items.Post();
    }

    void AddInvoice(sys::DateTime date, const std::string& number, const std::string& litres,
                    const std::string& amount) {
        db::TTable invoices(session);
        invoices.SetTableName("Gazolajszla");
        invoices.Open();
        invoices.Append();
        invoices.FieldByName("Dat").SetAsDateTime(date);
        invoices.FieldByName("Szlaszam").SetAsString(number);
        invoices.FieldByName("Liter").SetAsString(litres);
        invoices.FieldByName("Osszeg").SetAsString(amount);
        invoices.Post();
    }

    int RowCount(const std::string& table) {
        db::TTable rows(session);
        rows.SetTableName(table);
        rows.Open();
        return rows.RecordCount();
    }

    db::Session session;
    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
};

} // namespace restest
