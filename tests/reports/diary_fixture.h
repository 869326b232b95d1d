#pragma once
// The fixture of the diary sheets' tests: a fresh database in the test's working
// directory, the long-lived routine holders, and writers of the rows the sheets read.

#include "core/Isnuminth.h"
#include "core/fresh_database.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/document.h"
#include "platform/sys/datetime.h"
#include "reports/Funch.h"
#include "reports/Gnparcmuvadnyh.h"
#include "support/ui_test.h"

#include <functional>
#include <memory>
#include <string>

namespace diarytest {

// The texts of a printed report: each row of the pages a line, its texts joined by " | ".
inline std::string JoinedLines(const report::Document& document) {
    std::string text;
    for (const std::string& line : report::DocumentLines(document))
        text += line + "\n";
    return text;
}

inline void AddRow(db::Session& session, const std::string& table,
                   const std::function<void(db::TTable&)>& fill) {
    db::TTable t(session);
    t.SetTableName(table);
    t.Open();
    t.Append();
    fill(t);
    t.Post();
}

class DiaryTest : public testui::UiTest {
protected:
    DiaryTest() {
        core::CreateFreshDatabase(session);
        // The sheets' operation types are each test's own, not the fresh database's
        // starter list.
        db::TTable types(session);
        types.SetTableName("Normalhektar");
        types.EmptyTable();
        numbers = std::make_unique<ui::OwnedForm<TNumericInt>>(NumericInt, session);
        routines = std::make_unique<ui::OwnedForm<TGNParMuvNy>>(GNParMuvNy, session);
        lookups = std::make_unique<ui::OwnedForm<TFunc>>(Func, session);
    }

    void Field(const std::string& parckod, int evj, int parcsor, const std::string& agazat,
               double ter, const std::string& masod = "NEM") {
        AddRow(session, "parcellak", [&](db::TTable& t) {
            t.FieldByName("Parckod").SetAsString(parckod);
            t.FieldByName("Evj").SetAsInteger(evj);
            t.FieldByName("Parcsor").SetAsInteger(parcsor);
            t.FieldByName("Agazat").SetAsString(agazat);
            t.FieldByName("Ter").SetAsFloat(ter);
            t.FieldByName("Aktiv").SetAsString("A");
            t.FieldByName("Masod").SetAsString(masod);
            t.FieldByName("Hazmeg").SetAsString("Dűlő " + parckod);
        });
    }

    void Rotation(const std::string& later, const std::string& before) {
        AddRow(session, "Szparcellak", [&](db::TTable& t) {
            t.FieldByName("Parckod").SetAsString(later);
            t.FieldByName("Szparckod").SetAsString(before);
        });
    }

    struct Op {
        std::string muvkod{}, field{};
        sys::DateTime datum = sys::encodeDate(2008, 4, 1);
        std::string muvid = "100000";
        int ter = 10000;
        double hozam = 0;
        std::string mellek{}, szantm{}, muvnev = "Szántás";
        int evj = 0;
    };
    void Operation(const Op& op) {
        AddRow(session, "ElvMuv", [&](db::TTable& t) {
            t.FieldByName("Muvkod").SetAsString(op.muvkod);
            t.FieldByName("Tablakod").SetAsString(op.field);
            t.FieldByName("Datum").SetAsDateTime(op.datum);
            t.FieldByName("Muvid").SetAsString(op.muvid);
            t.FieldByName("Muvnev").SetAsString(op.muvnev);
            t.FieldByName("Ter").SetAsInteger(op.ter);
            t.FieldByName("Hozam").SetAsFloat(op.hozam);
            t.FieldByName("Mellek").SetAsString(op.mellek);
            t.FieldByName("Szantm").SetAsString(op.szantm);
            t.FieldByName("Evj").SetAsInteger(op.evj);
            t.FieldByName("Erogepkod").SetAsString("100000");
            t.FieldByName("Munkagepkod").SetAsString("100000");
        });
    }

    struct Use {
        std::string felhkod{}, muvkod{}, field{}, anyagkod{}, anyagtip = "000000";
        double menny = 0;
        std::string mert = "kg", felelos{}, egyhatoany{};
        bool szervestr = false, higtr = false, mutr = false, egyebtr = false;
        sys::DateTime betido = 0;
    };
    // Returns the use's Felhid.
    int Material(const Use& use) {
        int id = 0;
        db::TTable t(session);
        t.SetTableName("felhanyag");
        t.Open();
        t.Append();
        t.FieldByName("Felhkod").SetAsString(use.felhkod);
        t.FieldByName("Muvkod").SetAsString(use.muvkod);
        t.FieldByName("Tablakod").SetAsString(use.field);
        t.FieldByName("Anyagkod").SetAsString(use.anyagkod);
        t.FieldByName("Anyagtip").SetAsString(use.anyagtip);
        t.FieldByName("Menny").SetAsFloat(use.menny);
        t.FieldByName("Mert").SetAsString(use.mert);
        t.FieldByName("Felelos").SetAsString(use.felelos);
        t.FieldByName("Egyhatoany").SetAsString(use.egyhatoany);
        t.FieldByName("Szervestr").SetAsBoolean(use.szervestr);
        t.FieldByName("Higtr").SetAsBoolean(use.higtr);
        t.FieldByName("Mutr").SetAsBoolean(use.mutr);
        t.FieldByName("Egyebtr").SetAsBoolean(use.egyebtr);
        if (use.betido != 0)
            t.FieldByName("Betido").SetAsDateTime(use.betido);
        t.Post();
        id = t.FieldByName("Felhid").AsInteger();
        return id;
    }

    void Seed(const std::string& magkod, const std::string& nev) {
        AddRow(session, "Vetomagok", [&](db::TTable& t) {
            t.FieldByName("Magkod").SetAsString(magkod);
            t.FieldByName("Nev").SetAsString(nev);
        });
    }
    void Fertiliser(const std::string& kod, const std::string& nev) {
        AddRow(session, "Tapanyagok", [&](db::TTable& t) {
            t.FieldByName("Kod").SetAsString(kod);
            t.FieldByName("Nev").SetAsString(nev);
        });
    }
    void OperationType(const std::string& kod, const std::string& muv, int category) {
        AddRow(session, "Normalhektar", [&](db::TTable& t) {
            t.FieldByName("Kod").SetAsString(kod);
            t.FieldByName("Muv").SetAsString(muv);
            t.FieldByName("Muvid").SetAsInteger(category);
        });
    }
    // A land parcel under a field.
    void LandParcel(const std::string& parckod, const std::string& parcella, int ter,
                    const std::string& blok, int muvagid = 1) {
        int id = 0;
        {
            db::TTable t(session);
            t.SetTableName("Tablak");
            t.Open();
            t.Append();
            t.FieldByName("Helysz").SetAsString("0" + std::to_string(ter));
            t.FieldByName("Parcella").SetAsString(parcella);
            t.FieldByName("Ter").SetAsInteger(ter);
            t.FieldByName("Blok").SetAsString(blok);
            t.FieldByName("Muvagid").SetAsInteger(muvagid);
            t.FieldByName("Aktiv").SetAsInteger(1);
            t.Post();
            id = t.FieldByName("Tableid").AsInteger();
        }
        AddRow(session, "Szhelyrajzi", [&](db::TTable& t) {
            t.FieldByName("Parcellakod").SetAsString(parckod);
            t.FieldByName("Helysz").SetAsInteger(id);
        });
    }

    // A KET area (kotegyter.db); returns its Id.
    struct Ket {
        int sorsz = 1;
        std::string hazimen{};
        int akgkod = 1;   // its target programme (celprogramok.Id)
        int akgmuvag = 0; // 1 arable, 2 grassland, 3 plantation
        bool nat2000 = false, nit = false, deleted = false;
    };
    int KetArea(const Ket& ket) {
        db::TTable t(session);
        t.SetTableName("kotegyter");
        t.Open();
        t.Append();
        t.FieldByName("Sorsz").SetAsInteger(ket.sorsz);
        t.FieldByName("Hazimen").SetAsString(ket.hazimen);
        t.FieldByName("Ter").SetAsFloat(12.5);
        t.FieldByName("Akgkod").SetAsInteger(ket.akgkod);
        t.FieldByName("Akgmuvag").SetAsInteger(ket.akgmuvag);
        t.FieldByName("Nat2000").SetAsBoolean(ket.nat2000);
        t.FieldByName("Nit").SetAsBoolean(ket.nit);
        t.FieldByName("Deleted").SetAsBoolean(ket.deleted);
        t.Post();
        return t.FieldByName("Id").AsInteger();
    }

    db::Session session;
    std::unique_ptr<ui::OwnedForm<TNumericInt>> numbers;
    std::unique_ptr<ui::OwnedForm<TGNParMuvNy>> routines;
    std::unique_ptr<ui::OwnedForm<TFunc>> lookups;
};

} // namespace diarytest
