#pragma once
// TFunc: an invisible form holding four lookups of the diary sheets for one field (a
// parcellak.db row by its Parckod): the use-right letter, the land-use branch name and the
// block identifier of the land parcels it lies on, and the incorporation date of a
// fertiliser use. Start-up creates it once; the sheets call it through Func. Each routine
// filters and opens its query and closes it again: nothing is kept between calls.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/sys/datetime.h"
#include "platform/ui/form.h"

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

// Closes the data set, sets and switches on the filter, and opens it again.
void OpenFiltered(db::TDataSet& rows, const std::string& filter);

// The land-use branch name of a Muvagid (1 "szántó" ... 13 "konyhakert"); any other value
// "pihentett terület".
std::string LandUseBranchName(int muvagid);

class TFunc : public ui::TForm {
public:
    explicit TFunc(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query4{session_, "Query4"}; // the land parcels under the fields
    db::TQuery Query1{session_, "Query1"}; // fertiliser uses with their operation
    db::TQuery Query2{session_, "Query2"}; // a field's operations with their type, by date

    // "H" for a use right "SZ" (any case as stored: "SZ", "Sz", "sz"), "E" for "V" or
    // parcels of mixed use rights, "T" otherwise (also for a field on no land parcel).
    std::string UseRightLetter(const std::string& parckod);
    std::string LandUseName(const std::string& parckod);
    // The block of the field's largest land parcel (the first of equal ones); empty when
    // none has an area above 0.
    std::string BlockOf(const std::string& parckod);
    // Modes 1 and 3: the key is an operation code; 2 and 4: a material use's Felhid.
    // The last Betido of the selected uses; without one, modes 1 and 2 take the first
    // soil preparation on or after the use's date, unless a harvest comes first.
    std::string IncorporationDate(const std::string& key, int mode);

    // While a sheet reads many rows: the land parcels under every field are read once when
    // the batch starts, and the three land-parcel routines look their field up.
    class ParcelBatch {
    public:
        explicit ParcelBatch(TFunc& func);
        ~ParcelBatch();
        ParcelBatch(const ParcelBatch&) = delete;
        ParcelBatch& operator=(const ParcelBatch&) = delete;

    private:
        TFunc& func_;
    };

    // While a sheet reads many rows: the incorporation dates are answered from the
    // fertiliser uses and the operations read once when the batch starts, so that a row
    // costs a lookup and not a pass over the tables. The data do not change meanwhile
    // (the report runs inside one command).
    class Batch {
    public:
        explicit Batch(TFunc& func);
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        TFunc& func_;
    };

private:
    struct FertiliserUse {
        std::string muvkod, tablakod;
        sys::DateTime datum = 0;
        bool hasBetido = false;
        sys::DateTime betido = 0;
    };
    struct FieldOperation {
        sys::DateTime datum = 0;
        std::string category;
    };
    struct Lookups {
        std::unordered_map<std::string, std::vector<FertiliserUse>> usesByFelhid, usesByMuvkod;
        std::unordered_map<std::string, std::vector<FieldOperation>> operationsByField;
    };
    struct LandParcel {
        std::string parcella, blok;
        double ter = 0;
        int muvagid = 0;
    };
    using LandParcelsByField = std::unordered_map<std::string, std::vector<LandParcel>>;
    LandParcel ReadLandParcel();
    // The field's land-parcel rows of Query4, in the query's order.
    std::vector<LandParcel> LandParcelsOf(const std::string& parckod);
    std::vector<FertiliserUse> SelectUses(const std::string& key, bool byUse);
    std::vector<FieldOperation> OperationsOf(const std::string& field);
    std::unique_ptr<Lookups> batch_;
    std::unique_ptr<LandParcelsByField> parcelBatch_;
};
extern TFunc* Func;
