#pragma once
// Test data for the data-aware controls: a parcel table bound to a data source, and a
// large synthetic data set that counts the values it decodes. The Qt application is the
// one of support/ui_test.h.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "support/ui_test.h"

#include <QTest>
#include <algorithm>
#include <cstdio>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace uitest {

inline db::FieldDef field(const std::string& name, db::FieldType type, int size = 0) {
    return {name, type, db::storedSize(type, size), 0};
}

inline std::string code(int n) {
    char text[16];
    std::snprintf(text, sizeof text, "P%05d", n);
    return text;
}

// "parcellak": Kod (key), Evj, Agazat, Aktiv ('A'/'N'), Ont (logical); row n (from 0)
// has Kod P0000n, Evj 2000 + n, Agazat "ágazat n", Aktiv 'A' for even n.
inline void makeParcels(db::Session& session, int rows) {
    session.create("parcellak",
                   {{field("Kod", db::FieldType::Alpha, 6), field("Evj", db::FieldType::Long),
                     field("Agazat", db::FieldType::Alpha, 30),
                     field("Aktiv", db::FieldType::Alpha, 1), field("Ont", db::FieldType::Logical)},
                    1});
    db::TTable t(session);
    t.SetTableName("parcellak");
    t.Open();
    for (int n = 0; n < rows; ++n) {
        t.Append();
        t.FieldByName("Kod").SetAsString(code(n));
        t.FieldByName("Evj").SetAsInteger(2000 + n);
        t.FieldByName("Agazat").SetAsString("ágazat " + std::to_string(n));
        t.FieldByName("Aktiv").SetAsString(n % 2 == 0 ? "A" : "N");
        t.FieldByName("Ont").SetAsBoolean(n % 2 == 0);
        t.Post();
    }
}

// "magfajtak": Faj (key), Id; three crops.
inline void makeCrops(db::Session& session) {
    session.create("magfajtak",
                   {{field("Faj", db::FieldType::Alpha, 30), field("Id", db::FieldType::Long)}, 1});
    db::TTable t(session);
    t.SetTableName("magfajtak");
    t.Open();
    int id = 10;
    for (const char* name : {"árpa", "búza", "zab"}) {
        t.Append();
        t.FieldByName("Faj").SetAsString(name);
        t.FieldByName("Id").SetAsInteger(id++);
        t.Post();
    }
}

// A table of parcels open on a data source, as a form holds them.
struct Parcels {
    explicit Parcels(int rows = 6) {
        testui::Qt();
        makeParcels(session, rows);
        table.SetTableName("parcellak");
        table.Open();
    }
    // The Kod of the row a bookmark marks (moves the cursor there).
    std::string codeAt(const db::TBookmark& bookmark) {
        table.GotoBookmark(bookmark);
        return table.FieldByName("Kod").AsString();
    }
    // The stored value as another cursor reads it.
    std::string stored(const std::string& kod, const std::string& fieldName) {
        db::TTable other(session, "Other");
        other.SetTableName("parcellak");
        other.Open();
        if (!other.Locate("Kod", {kod}))
            return "<none>";
        return other.FieldByName(fieldName).AsString();
    }

    db::Session session;
    db::TTable table{session};
    db::TDataSource source{&table};
};

// rows of (Sorsz, Nev) made up when read; `reads` counts the values decoded.
class CountingDataSet final : public db::TDataSet {
public:
    explicit CountingDataSet(std::size_t rows) : TDataSet("Counting"), rows_(rows) {}
    mutable std::size_t reads = 0;

protected:
    std::vector<db::FieldDef> openSource() override {
        return {field("Sorsz", db::FieldType::Long), field("Nev", db::FieldType::Alpha, 20)};
    }
    void closeSource() override {}
    std::size_t viewSize() const override { return rows_; }
    db::Value viewValue(std::size_t row, int f) const override {
        ++reads;
        if (f == 0)
            return static_cast<std::int32_t>(row + 1);
        return "sor " + std::to_string(row + 1);
    }
    std::vector<std::uint8_t> viewIdentity(std::size_t row) const override {
        return {static_cast<std::uint8_t>(row >> 24), static_cast<std::uint8_t>(row >> 16),
                static_cast<std::uint8_t>(row >> 8), static_cast<std::uint8_t>(row)};
    }
    std::size_t rebuildView(const std::vector<std::uint8_t>&, std::size_t hint) override {
        return rows_ ? std::min(hint, rows_ - 1) : 0;
    }

private:
    std::size_t rows_;
};

} // namespace uitest
