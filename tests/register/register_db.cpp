#include "register_db.h"

#include "platform/db/table.h"

namespace regtest {

namespace {

db::FieldDef A(const char* name, int size) {
    return {name, db::FieldType::Alpha, size};
}
db::FieldDef F(const char* name, db::FieldType type) {
    return {name, type, db::storedSize(type, 0)};
}

} // namespace

void MakeRegisterTables(db::Session& session) {
    using T = db::FieldType;
    db::TableSchema tablak{
        {A("Helysz", 40),         F("Tableid", T::AutoInc), A("Tulkod", 6),
         A("Hazmeg", 40),         F("Arany", T::Number),    F("Ter", T::Long),
         F("Szel", T::Number),    F("Hossz", T::Number),    F("Ont", T::Short),
         F("Berl", T::Number),    F("Berkezd", T::Date),    F("Berveg", T::Date),
         A("Memo", 200),          A("Parcella", 6),         A("Blok", 10),
         F("Aktiv", T::Long),     A("Muvag", 20),           F("Muvagid", T::Long),
         A("Bmert", 20),          F("Tkat", T::Long),       A("Telepules", 100),
         F("Deleted", T::Logical)},
        2};
    session.create("Tablak", tablak,
                   {{"TablakHelyszind", {"Helysz"}},
                    {"Tablakhazmind", {"Hazmeg"}},
                    {"TableidInd", {"Tableid"}}});
    session.create("Tablak2", {{A("Tablakod", 10), A("Talajtip", 40)}, 1});
    session.create("tulaj", {{A("Tulkod", 6), A("Tulnev", 40), A("Cim", 60), A("Tel", 20)}, 1},
                   {{"Tulajnevind", {"Tulnev"}}});
    session.create("Muvelesiag", {{F("Id", T::Long), A("Muvag", 20)}, 1});
    session.create("Alapadatok", {{A("Nev", 60), A("Cim", 60)}, 0});
    db::TTable branches(session);
    branches.SetTableName("Muvelesiag");
    branches.Open();
    const char* names[] = {
        "szántó", "szőlő", "gyümölcsös",       "kert",    "rét",   "legelő (gyep)",
        "nádas",  "erdő",  "fásított terület", "halastó", "kivett"};
    int id = 1;
    for (const char* name : names) {
        branches.Append();
        branches.FieldByName("Id").SetAsInteger(id++);
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
    parcels.FieldByName("Ont").SetAsInteger(0);
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
