#include "register_db.h"

#include "core/catalogue.h"
#include "platform/db/table.h"

namespace regtest {

void MakeRegisterTables(db::Session& session) {
    for (const char* name : {"Tablak", "Tablak2", "tulaj", "Muvelesiag", "Alapadatok"}) {
        const core::TableDef* def = core::FindTable(name);
        session.create(def->name, {def->fields, def->keyFields}, def->indexes);
    }
    db::TTable branches(session);
    branches.SetTableName("Muvelesiag");
    branches.Open();
    int id = 0;
    for (const char* name : {"szántó", "szőlő", "gyümölcsös", "kert", "rét", "legelő (gyep)",
                             "nádas", "erdő", "fásított terület", "halastó", "kivett"}) {
        branches.Append();
        branches.FieldByName("Id").SetAsInteger(++id);
        branches.FieldByName("Muvag").SetAsString(name);
        branches.Post();
    }
}

void AddOwner(db::Session& session, const std::string& code, const std::string& name,
              const std::string& address, const std::string& phone) {
    db::TTable owners(session);
    owners.SetTableName("tulaj");
    owners.Open();
    owners.Append();
    owners.FieldByName("Tulkod").SetAsString(code);
    owners.FieldByName("Tulnev").SetAsString(name);
    owners.FieldByName("Cim").SetAsString(address);
    owners.FieldByName("Tel").SetAsString(phone);
    owners.Post();
}

int AddParcel(db::Session& session, const Parcel& parcel) {
    db::TTable parcels(session);
    parcels.SetTableName("Tablak");
    parcels.Open();
    parcels.Append();
    parcels.FieldByName("Helysz").SetAsString(parcel.helysz);
    parcels.FieldByName("Hazmeg").SetAsString(parcel.hazmeg);
    parcels.FieldByName("Tulkod").SetAsString(parcel.tulkod);
    parcels.FieldByName("Ter").SetAsInteger(parcel.ter);
    parcels.FieldByName("Aktiv").SetAsInteger(parcel.aktiv);
    parcels.FieldByName("Muvagid").SetAsInteger(parcel.muvagid);
    parcels.FieldByName("Muvag").SetAsString(parcel.muvag);
    parcels.FieldByName("Blok").SetAsString(parcel.blok);
    parcels.FieldByName("Parcella").SetAsString(parcel.parcella);
    parcels.FieldByName("Ont").SetAsInteger(parcel.ont);
    if (parcel.arany)
        parcels.FieldByName("Arany").SetAsFloat(*parcel.arany);
    parcels.Post();
    return parcels.FieldByName("Tableid").AsInteger();
}

void SetFarmName(db::Session& session, const std::string& name) {
    db::TTable farm(session);
    farm.SetTableName("Alapadatok");
    farm.Open();
    farm.Append();
    farm.FieldByName("Nev").SetAsString(name);
    farm.Post();
}

} // namespace regtest
