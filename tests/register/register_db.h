#pragma once
// The register's tables in a test's working directory, and rows put into them.

#include "platform/db/session.h"

#include <optional>
#include <string>

namespace regtest {

// The register's tables as the catalogue defines them, with eleven cultivation branches
// (an older database's list; a fresh one has nine).
void MakeRegisterTables(db::Session& session);

void AddOwner(db::Session& session, const std::string& code, const std::string& name,
              const std::string& address = "Fő utca 1.", const std::string& phone = "");

struct Parcel {
    std::string helysz = "123/4";
    std::string hazmeg = "Nagyföld";
    std::string tulkod = "100000";
    int ter = 10000;
    int aktiv = 1;
    int muvagid = 1;
    std::string muvag = "szántó";
    std::string blok = "";
    std::string parcella = "T";
    std::optional<double> arany = {};
    int ont = 0;
};
// Inserts a land parcel; returns its Tableid.
int AddParcel(db::Session& session, const Parcel& parcel);

// The farm row of Alapadatok.db.
void SetFarmName(db::Session& session, const std::string& name);

} // namespace regtest
