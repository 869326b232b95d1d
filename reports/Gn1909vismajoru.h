#pragma once
// The data of the 2009-2014 diary's force-majeure sheet (GN-19, "09GN19vismajor.rav"):
// every case recorded, with its field. Never shown; the diary selector prints through it.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

class TGN1909vismajor : public ui::TForm {
public:
    explicit TGN1909vismajor(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the cases not deleted, by year, field, date
    TRvProject RvProject1{this, "RvProject1", "09GN19vismajor.rav"};
    TRvDataSetConnection GN1909RvDataSetConnection1{this, "GN1909RvDataSetConnection1", &Query1};
    reg::FarmRow FarmRow1{this, session_};

    void Query1CalcFields(db::TDataSet& DataSet);
};
extern TGN1909vismajor* GN1909vismajor;
