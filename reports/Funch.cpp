#include "Funch.h"

#include "core/fresh_database.h"
#include "platform/db/exact_filter.h"
#include "platform/db/filter.h"
#include "platform/sys/datetime.h"
#include "platform/sys/numbers.h"

TFunc* Func = nullptr;

std::string LandUseBranchName(int muvagid) {
    if (muvagid < 1 || muvagid > core::kCultivationBranchCount)
        return "pihentett terület";
    return core::kCultivationBranchNames[muvagid - 1];
}

void OpenFiltered(db::TDataSet& rows, const std::string& filter) {
    rows.Close();
    rows.SetFilter(filter);
    rows.SetFiltered(true);
    rows.Open();
}

namespace {

// A field code or a Felhid as the filters take it unquoted: only its digits, so that a
// stray text cannot change the filter.
bool IsDigits(const std::string& text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

TFunc::TFunc(db::Session& session) : session_(session) {
    SetCaption("Func");
    Query4.SQL().Add("SELECT Szhelyrajzi.Parcellakod, Tablak.Parcella, Tablak.Ter, Tablak.Blok, "
                     "Tablak.Muvagid, Tablak.Berveg");
    Query4.SQL().Add("FROM Tablak");
    Query4.SQL().Add("   INNER JOIN Szhelyrajzi");
    Query4.SQL().Add("   ON  (Tablak.Tableid = Szhelyrajzi.Helysz)  ");
    Query1.SQL().Add("SELECT ElvMuv.Muvkod, ElvMuv.Tablakod, felhanyag.Felhid, "
                     "felhanyag.Anyagtip, felhanyag.Betido, ElvMuv.Datum");
    Query1.SQL().Add("FROM ElvMuv");
    Query1.SQL().Add("   INNER JOIN felhanyag");
    Query1.SQL().Add("   ON  (felhanyag.Muvkod = ElvMuv.Muvkod)  ");
    Query1.SQL().Add("WHERE Anyagtip = '000000'");
    Query2.SQL().Add("SELECT ElvMuv.Muvkod, ElvMuv.Datum, ElvMuv.Muvnev, ElvMuv.Tablakod, "
                     "Normalhektar.Tip, Normalhektar.Muvid, Normalhektar.Extra, "
                     "Normalhektar.Muv");
    Query2.SQL().Add("FROM ElvMuv");
    Query2.SQL().Add("   INNER JOIN Normalhektar");
    Query2.SQL().Add("   ON  (ElvMuv.Muvid = Normalhektar.Kod)  ");
    Query2.SQL().Add("ORDER BY ElvMuv.Datum");
    for (db::TDataSet* rows : std::initializer_list<db::TDataSet*>{&Query4, &Query1, &Query2})
        db::CompareWholeValues(*rows);
}

TFunc::LandParcel TFunc::ReadLandParcel() {
    return {Query4.FieldByName("Parcella").AsString(), Query4.FieldByName("Blok").AsString(),
            Query4.FieldByName("Ter").AsFloat(), Query4.FieldByName("Muvagid").AsInteger()};
}

std::vector<TFunc::LandParcel> TFunc::LandParcelsOf(const std::string& parckod) {
    if (parcelBatch_) {
        auto found = parcelBatch_->find(parckod);
        return found == parcelBatch_->end() ? std::vector<LandParcel>{} : found->second;
    }
    std::vector<LandParcel> parcels;
    OpenFiltered(Query4, "Parcellakod = " + db::quoteFilterText(parckod));
    for (Query4.First(); !Query4.Eof(); Query4.Next())
        parcels.push_back(ReadLandParcel());
    Query4.Close();
    return parcels;
}

std::string TFunc::UseRightLetter(const std::string& parckod) {
    const std::vector<LandParcel> parcels = LandParcelsOf(parckod);
    const std::string first = parcels.empty() ? "" : parcels.front().parcella;
    bool same = true;
    for (const LandParcel& parcel : parcels)
        if (parcel.parcella != first)
            same = false;
    const std::string code = same ? first : "V";
    if (code == "SZ" || code == "Sz" || code == "sz")
        return "H";
    if (code == "V" || code == "v")
        return "E";
    return "T";
}

std::string TFunc::LandUseName(const std::string& parckod) {
    const std::vector<LandParcel> parcels = LandParcelsOf(parckod);
    return LandUseBranchName(parcels.empty() ? 0 : parcels.front().muvagid);
}

std::string TFunc::BlockOf(const std::string& parckod) {
    std::string block;
    double largest = 0;
    for (const LandParcel& parcel : LandParcelsOf(parckod))
        if (parcel.ter > largest) {
            largest = parcel.ter;
            block = parcel.blok;
        }
    return block;
}

TFunc::ParcelBatch::ParcelBatch(TFunc& func) : func_(func) {
    auto parcels = std::make_unique<LandParcelsByField>();
    func.Query4.Close();
    func.Query4.SetFiltered(false);
    func.Query4.Open();
    for (func.Query4.First(); !func.Query4.Eof(); func.Query4.Next())
        (*parcels)[func.Query4.FieldByName("Parcellakod").AsString()].push_back(
            func.ReadLandParcel());
    func.Query4.Close();
    func.parcelBatch_ = std::move(parcels);
}

TFunc::ParcelBatch::~ParcelBatch() {
    func_.parcelBatch_.reset();
}

TFunc::Batch::Batch(TFunc& func) : func_(func) {
    auto lookups = std::make_unique<Lookups>();
    func.Query1.Close();
    func.Query1.SetFiltered(false);
    func.Query1.Open();
    for (func.Query1.First(); !func.Query1.Eof(); func.Query1.Next()) {
        FertiliserUse use;
        use.muvkod = func.Query1.FieldByName("Muvkod").AsString();
        use.tablakod = func.Query1.FieldByName("Tablakod").AsString();
        use.datum = func.Query1.FieldByName("Datum").AsDateTime();
        use.hasBetido = !func.Query1.FieldByName("Betido").IsNull();
        if (use.hasBetido)
            use.betido = func.Query1.FieldByName("Betido").AsDateTime();
        lookups->usesByFelhid[func.Query1.FieldByName("Felhid").AsString()].push_back(use);
        lookups->usesByMuvkod[use.muvkod].push_back(use);
    }
    func.Query1.Close();
    func.Query2.Close();
    func.Query2.SetFiltered(false);
    func.Query2.Open();
    for (func.Query2.First(); !func.Query2.Eof(); func.Query2.Next())
        lookups->operationsByField[func.Query2.FieldByName("Tablakod").AsString()].push_back(
            {func.Query2.FieldByName("Datum").AsDateTime(),
             func.Query2.FieldByName("Muvid").AsString()});
    func.Query2.Close();
    func.batch_ = std::move(lookups);
}

TFunc::Batch::~Batch() {
    func_.batch_.reset();
}

std::vector<TFunc::FertiliserUse> TFunc::SelectUses(const std::string& key, bool byUse) {
    if (batch_) {
        const auto& uses = byUse ? batch_->usesByFelhid : batch_->usesByMuvkod;
        auto found = uses.find(key);
        return found == uses.end() ? std::vector<FertiliserUse>{} : found->second;
    }
    std::vector<FertiliserUse> uses;
    OpenFiltered(Query1, byUse ? "Felhid = " + key : "Muvkod = " + db::quoteFilterText(key));
    for (Query1.First(); !Query1.Eof(); Query1.Next()) {
        FertiliserUse use;
        use.muvkod = Query1.FieldByName("Muvkod").AsString();
        use.tablakod = Query1.FieldByName("Tablakod").AsString();
        use.datum = Query1.FieldByName("Datum").AsDateTime();
        use.hasBetido = !Query1.FieldByName("Betido").IsNull();
        if (use.hasBetido)
            use.betido = Query1.FieldByName("Betido").AsDateTime();
        uses.push_back(use);
    }
    Query1.Close();
    return uses;
}

// The field's operations in date order with their category.
std::vector<TFunc::FieldOperation> TFunc::OperationsOf(const std::string& field) {
    if (batch_) {
        auto found = batch_->operationsByField.find(field);
        return found == batch_->operationsByField.end() ? std::vector<FieldOperation>{}
                                                        : found->second;
    }
    std::vector<FieldOperation> operations;
    OpenFiltered(Query2, "Tablakod = " + db::quoteFilterText(field));
    for (Query2.First(); !Query2.Eof(); Query2.Next())
        operations.push_back(
            {Query2.FieldByName("Datum").AsDateTime(), Query2.FieldByName("Muvid").AsString()});
    Query2.Close();
    return operations;
}

std::string TFunc::IncorporationDate(const std::string& key, int mode) {
    const bool byUse = mode == 2 || mode == 4;
    if (byUse && !IsDigits(key))
        return "";
    const std::vector<FertiliserUse> uses = SelectUses(key, byUse);
    if (uses.empty())
        return "";
    std::string result;
    for (const FertiliserUse& use : uses)
        if (use.hasBetido)
            result = sys::dateToText(use.betido);
    if (!result.empty() || mode == 3 || mode == 4)
        return result;
    // The first soil preparation on or after the use's day, unless a harvest comes first.
    for (const FieldOperation& operation : OperationsOf(uses.front().tablakod)) {
        if (operation.datum >= uses.front().datum && operation.category == "0")
            return sys::dateToText(operation.datum);
        if (operation.category == "4")
            break;
    }
    return result;
}
