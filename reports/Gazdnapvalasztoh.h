#pragma once
// "Ürlapválasztó": the sheet selector of the 2004-2009 farming diary. One button per
// sheet (GN 01 ... GN 17) opens the form that prepares and prints it; the summary sheet
// GN 02, the farm's active land by land-use branch, is computed and printed here.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <array>
#include <string>
#include <vector>

// The GN 02 columns, in the order the layout reads them.
extern const std::array<const char*, 11> kGN02Columns;

class TGazdNaploValaszto : public ui::TForm {
public:
    explicit TGazdNaploValaszto(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query2{session_, "Query2"}; // the active land per land-use branch
    TRvProject RvProject1{this, "RvProject1", "GN02Osszesito.rav"};
    TRvCustomConnection RvCustomGN02OsszesitoConnection1{this, "RvCustomGN02OsszesitoConnection1"};
    reg::FarmRow FarmRow1{this, session_};

    // ButtonN opens sheet GN N; Button18 ... Button21 are the hidden "Parcella művelés"
    // buttons.
    ui::TButton *Button1, *Button2, *Button3, *Button4, *Button5, *Button6, *Button7, *Button8,
        *Button9, *Button10, *Button11, *Button12, *Button13, *Button14, *Button15, *Button16,
        *Button17, *Button18, *Button19, *Button20, *Button21;

    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void Button11Click(TObject* Sender);
    void Button16Click(TObject* Sender);
    void Button17Click(TObject* Sender);
    void Button18Click(TObject* Sender);
    void Button19Click(TObject* Sender);
    void Button20Click(TObject* Sender);
    void Button21Click(TObject* Sender);
    // Opens the soil-test sheet's conditions; no control of the form calls it.
    void TalajvClick(TObject* Sender);

    // The summed area in m² of the active land parcels of the branch (Query2 open).
    double BranchArea(int branch);
    // The GN 02 row: the nine branches in hectares truncated to whole ares (empty when
    // 0), "egyeb" empty, and the total ("0" too). Opens and closes Query2.
    std::vector<std::string> GN02Row();
};
extern TGazdNaploValaszto* GazdNaploValaszto;
