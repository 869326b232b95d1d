#pragma once
// Report tests: small owner and parcel tables, layout files written into the test's
// working directory, and a fixture whose output service keeps the pages.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/layout.h"
#include "platform/report/report.h"
#include "support/ui_test.h"

#include <QObject>
#include <filesystem>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace reporttest {

inline db::FieldDef field(const std::string& name, db::FieldType type, int size = 0) {
    return {name, type, db::storedSize(type, size), 0};
}

inline void writeFile(const std::string& name, const std::string& text) {
    std::ofstream out(name, std::ios::binary);
    out << text;
}

// "tulaj": Tulkod (key), Tulnev, Cim.
inline void makeOwners(db::Session& session, const std::vector<std::vector<std::string>>& rows) {
    session.create("tulaj", {{field("Tulkod", db::FieldType::Alpha, 6),
                              field("Tulnev", db::FieldType::Alpha, 40),
                              field("Cim", db::FieldType::Alpha, 40)},
                             1});
    db::TTable t(session);
    t.SetTableName("tulaj");
    t.Open();
    for (const auto& row : rows) {
        t.Append();
        t.FieldByName("Tulkod").SetAsString(row[0]);
        t.FieldByName("Tulnev").SetAsString(row[1]);
        t.FieldByName("Cim").SetAsString(row[2]);
        t.Post();
    }
}

struct Parcel {
    int id;
    std::string lot;
    std::string owner;
    std::string sector;
    double area;
};

// "tablak": Tableid (key), Helysz, Tulkod, Agazat, Ter (float, m²).
inline void makeParcels(db::Session& session, const std::vector<Parcel>& rows) {
    session.create(
        "tablak",
        {{field("Tableid", db::FieldType::Long), field("Helysz", db::FieldType::Alpha, 20),
          field("Tulkod", db::FieldType::Alpha, 6), field("Agazat", db::FieldType::Alpha, 30),
          field("Ter", db::FieldType::Number)},
         1});
    db::TTable t(session);
    t.SetTableName("tablak");
    t.Open();
    for (const Parcel& p : rows) {
        t.Append();
        t.FieldByName("Tableid").SetAsInteger(p.id);
        t.FieldByName("Helysz").SetAsString(p.lot);
        t.FieldByName("Tulkod").SetAsString(p.owner);
        t.FieldByName("Agazat").SetAsString(p.sector);
        t.FieldByName("Ter").SetAsFloat(p.area);
        t.Post();
    }
}

// A custom connection over rows of texts, with the columns named.
struct RowsConnection {
    RowsConnection(QObject* owner, const std::string& name, std::vector<std::string> columnNames)
        : columns(std::move(columnNames)), connection(owner, name) {
        connection.OnOpen = [](TRvCustomConnection* c) { c->DataIndex = 0; };
        connection.OnEOF = [this](TRvCustomConnection* c, bool& eof) {
            eof = c->DataIndex >= static_cast<int>(rows.size());
        };
        connection.OnGetCols = [this](TRvCustomConnection* c) {
            for (const std::string& column : columns)
                c->DefineColumn(column, dtString, 50, "Cím", "Description 1");
        };
        connection.OnGetRow = [this](TRvCustomConnection* c) {
            for (const std::string& cell : rows.at(static_cast<std::size_t>(c->DataIndex)))
                c->PutStringColumn("", cell);
        };
    }
    std::vector<std::string> columns;
    std::vector<std::vector<std::string>> rows;
    TRvCustomConnection connection;
};

// A form's stand-in: the owner of the project and its connections, with an output
// service that answers "Nyomtatási kép" and keeps the pages.
class ReportTest : public ::testing::Test {
protected:
    // The texts are measured in the pages' font, which needs the application.
    ReportTest() : use_(output) { testui::Qt(); }

    // Writes the layout and runs it on a project of `owner`; the delivered document.
    const report::Document& run(const std::string& layout, const std::string& file = "Teszt.rav") {
        writeFile(file, layout);
        report::TRvProject project(&owner, "RvProject1", file);
        project.ExecuteActiveReport();
        if (output.documents.empty())
            throw std::runtime_error("no document delivered");
        return output.documents.back();
    }

    static std::vector<std::string> lines(const report::Document& document, int page) {
        return report::PageLines(document.pages.at(static_cast<std::size_t>(page)));
    }

    QObject owner;
    db::Session session{"."};
    report::CaptureOutput output;

private:
    report::ScopedOutput use_;
};

} // namespace reporttest
