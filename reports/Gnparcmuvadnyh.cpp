#include "Gnparcmuvadnyh.h"

#include "platform/sys/numbers.h"

TGNParMuvNy* GNParMuvNy = nullptr;

std::string YieldText(double harvested, double areaM2) {
    const double perHectare = areaM2 != 0 ? harvested / (0.0001 * areaM2) : 0;
    const std::string text = sys::floatToText(sys::roundUp(perHectare, 3)) + ";";
    return text == "0;" ? "" : text;
}

TGNParMuvNy::TGNParMuvNy(db::Session& session) : session_(session) {
    SetCaption("GNParMuvNy");
    Query2.SQL().Add("SELECT SUM(Hozam * Ter / 10000) Hoz, Tablakod");
    Query2.SQL().Add("FROM ElvMuv");
    Query2.SQL().Add("WHERE (Hozam <> 0) AND Mellek = ''");
    Query2.SQL().Add("GROUP BY Tablakod");

    Query3.SQL().Add("SELECT Parcellak_1.Agazat, Parcellak_1.Parckod, Parcellak.Parckod "
                     "Osparckod, Parcellak.Agazat Osagazat, Parcellak.Evj Osevj, "
                     "Parcellak.Parcsor Osparcsor, Parcellak.Ter Oster, Parcellak_1.Ter, "
                     "Parcellak_1.Masod, Parcellak.Masod Osmasod");
    Query3.SQL().Add("FROM Szparcellak");
    Query3.SQL().Add("   INNER JOIN \"parcellak.db\" Parcellak_1");
    Query3.SQL().Add("   ON  (Szparcellak.Parckod = Parcellak_1.Parckod)  ");
    Query3.SQL().Add("   INNER JOIN \"parcellak.db\" Parcellak");
    Query3.SQL().Add("   ON  (Szparcellak.Szparckod = Parcellak.Parckod) ");

    Query5.SQL().Add("SELECT DISTINCT parcellak.Parckod, Vetomagok.Nev");
    Query5.SQL().Add("FROM parcellak");
    Query5.SQL().Add("INNER JOIN Elvmuv");
    Query5.SQL().Add("ON  (parcellak.Parckod = Elvmuv.Tablakod)");
    Query5.SQL().Add("INNER JOIN felhanyag");
    Query5.SQL().Add("ON  (Elvmuv.Muvkod = felhanyag.Muvkod)");
    Query5.SQL().Add("INNER JOIN Vetomagok");
    Query5.SQL().Add("ON  (felhanyag.Anyagkod = Vetomagok.Magkod)");

    // The material chain: the uses of Query1's operation, and the seed, pesticide and
    // fertiliser of the current use.
    Table2.SetTableName("felhanyag.DB");
    Table2.SetIndexName("felhamuvkind");
    Table2.SetMasterSource(&DataSource1);
    Table2.SetMasterFields("Muvkod");
    Table3.SetTableName("Vetomagok.DB");
    Table3.SetIndexFieldNames("Magkod");
    Table5.SetTableName("Novenyvedok.DB");
    Table5.SetIndexFieldNames("Kod");
    Table6.SetTableName("Tapanyagok.DB");
    Table6.SetIndexFieldNames("Kod");
    for (db::TTable* master : {&Table3, &Table5, &Table6}) {
        master->SetMasterSource(&DataSource2);
        master->SetMasterFields("Anyagkod");
    }

    Query6.SQL().Add("SELECT parcellak.Parckod, Tablak.Helysz, Tablak.Ter, Tablak.Blok");
    Query6.SQL().Add("FROM parcellak");
    Query6.SQL().Add("   INNER JOIN Szhelyrajzi");
    Query6.SQL().Add("   ON  (Parcellak.Parckod = Szhelyrajzi.Parcellakod)  ");
    Query6.SQL().Add("   INNER JOIN Tablak");
    Query6.SQL().Add("   ON  (Szhelyrajzi.Helysz = Tablak.Tableid)  ");
}

void TGNParMuvNy::Refresh() {
    harvested_.clear();
    seeds_.clear();
    Query2.Close();
    Query2.Open();
    for (Query2.First(); !Query2.Eof(); Query2.Next())
        harvested_[Query2.FieldByName("Tablakod").AsString()] +=
            Query2.FieldByName("Hoz").AsFloat();
    Query5.Close();
    Query5.Open();
    for (Query5.First(); !Query5.Eof(); Query5.Next()) {
        const std::string name = Query5.FieldByName("Nev").AsString();
        if (!name.empty())
            seeds_[Query5.FieldByName("Parckod").AsString()].push_back(name);
    }
    linksRead_ = false;
    read_ = true;
}

// The form is created at start-up, where a large farm's queries would keep the main
// window blank: it reads at its first use or refresh.
void TGNParMuvNy::ReadOnce() {
    if (!read_)
        Refresh();
}

void TGNParMuvNy::ReadLinks() {
    if (linksRead_)
        return;
    links_.clear();
    secondOf_.clear();
    predecessorOf_.clear();
    Query3.Open();
    for (Query3.First(); !Query3.Eof(); Query3.Next()) {
        Link link;
        link.parckod = Query3.FieldByName("Parckod").AsString();
        link.agazat = Query3.FieldByName("Agazat").AsString();
        link.masod = Query3.FieldByName("Masod").AsString();
        link.ter = Query3.FieldByName("Ter").AsFloat();
        link.osparckod = Query3.FieldByName("Osparckod").AsString();
        link.osagazat = Query3.FieldByName("Osagazat").AsString();
        link.oster = Query3.FieldByName("Oster").AsFloat();
        secondOf_[link.osparckod].push_back(links_.size());
        predecessorOf_[link.parckod].push_back(links_.size());
        links_.push_back(std::move(link));
    }
    Query3.Close();
    linksRead_ = true;
}

std::string TGNParMuvNy::GetParcelYield(const std::string& parckod, double areaM2) {
    ReadOnce();
    auto found = harvested_.find(parckod);
    return YieldText(found == harvested_.end() ? 0 : found->second, areaM2);
}

std::string TGNParMuvNy::GetParcelSeedNames(const std::string& parckod) {
    ReadOnce();
    std::string names;
    auto found = seeds_.find(parckod);
    if (found != seeds_.end())
        for (const std::string& name : found->second)
            names += name + "; ";
    return names;
}

CropLists TGNParMuvNy::GetSecondCrops(const std::string& parckod) {
    ReadLinks();
    CropLists lists;
    auto found = secondOf_.find(parckod);
    if (found == secondOf_.end())
        return lists;
    for (std::size_t i : found->second) {
        const Link& link = links_[i];
        if (link.masod != "IGEN")
            continue;
        lists.sectors += link.agazat + "; ";
        lists.yields += GetParcelYield(link.parckod, link.ter);
        lists.seedNames += GetParcelSeedNames(link.parckod);
    }
    return lists;
}

CropLists TGNParMuvNy::GetPredecessorCrop(const std::string& parckod) {
    ReadLinks();
    CropLists lists;
    auto found = predecessorOf_.find(parckod);
    if (found == predecessorOf_.end())
        return lists;
    for (std::size_t i : found->second) {
        const Link& link = links_[i];
        lists.sectors += link.osagazat + "; ";
        lists.yields += GetParcelYield(link.osparckod, link.oster);
        lists.seedNames += GetParcelSeedNames(link.osparckod);
    }
    return lists;
}

void TGNParMuvNy::OpenGNDatasets() {
    for (db::TDataSet* rows : std::initializer_list<db::TDataSet*>{
             &Table2, &Table3, &Table5, &Table6, &Query1, &Query3, &Query6})
        if (!rows->Active())
            rows->Open();
}
