#pragma once
// "Gazdálkodási Napló 2009 - 2014": the entry screen of the 2009-2014 farming diary. One
// button per sheet and the farming-year box. The summary (GN-01), the grazing log (GN-08)
// and the soil-sampling sheet (GN-16) print from this form's own data; the KET sheets
// from its KetSheets part; the other buttons open the sheet forms with their 2009-2014
// layout files.

#include "Gn0914ket.h"
#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <string>
#include <vector>

// The GN-01 summary's connection columns, in their order: the thirteen land-use branches
// of all fields, the total, the thirteen branches of the AKG fields, the two years.
const std::vector<std::string>& SummaryColumns();

class TGN200914 : public ui::TForm {
public:
    explicit TGN200914(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query6{session_, "Query6"};   // the farming years
    db::TQuery Query2{session_, "Query2"};   // GN-01: the fields' areas by land-use branch
    db::TQuery Query10{session_, "Query10"}; // GN-08: the grazing rows of KET fields
    db::TQuery Query11{session_, "Query11"}; // GN-16: the KET areas' sampling places
    Gn0914KetSheets KetSheets{session_};     // GN-02, GN-03, GN-04

    TRvProject RvProject1{this, "RvProject1", "09GN02Osszesito.rav"};
    TRvProject RvProject5{this, "RvProject5", "09GN08Legnaplo.rav"};
    TRvProject RvProject6{this, "RvProject6", "09GN16Talajvizs.rav"};
    TRvCustomConnection RvCustomGN0209OsszesitoConnection1{this,
                                                           "RvCustomGN0209OsszesitoConnection1"};
    TRvQueryConnection RvQueryCGN08Legnaplo{this, "RvQueryCGN08Legnaplo", &Query10};
    TRvQueryConnection RvQueryGN16Talajm{this, "RvQueryGN16Talajm", &Query11};
    reg::FarmRow FarmRow1{this, session_};

    ui::TComboBox* ComboBox1; // the farming year
    ui::TButton* Button1;     // "Címlap"
    ui::TButton* Button11;    // GN-01
    ui::TButton* Button2;     // GN-02
    ui::TButton* Button12;    // GN-03
    ui::TButton* Button13;    // GN-04
    ui::TButton* Button3;     // GN-05
    ui::TButton* Button4;     // GN-06
    ui::TButton* Button5;     // GN-07
    ui::TButton* Button14;    // GN-08
    ui::TButton* Button15;    // GN-09
    ui::TButton* Button30;    // GN-10
    ui::TButton* Button16;    // GN-11
    ui::TButton* Button18;    // GN-12
    ui::TButton* Button32;    // GN-13
    ui::TButton* Button34;    // GN-14
    ui::TButton* Button36;    // GN-15
    ui::TButton* Button8;     // GN-16
    ui::TButton* Button17;    // GN-17
    ui::TButton* Button6;     // GN-18
    ui::TButton* Button10;    // GN-19

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Button1Click(TObject* Sender);
    void Button11Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button12Click(TObject* Sender);
    void Button13Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button14Click(TObject* Sender);
    void Button15Click(TObject* Sender);
    void Button30Click(TObject* Sender);
    void Button16Click(TObject* Sender);
    void Button18Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button10Click(TObject* Sender);
    void Query10CalcFields(db::TDataSet& DataSet);
    void Query11CalcFields(db::TDataSet& DataSet);

    // The summed field area (m²) of the open Query2 rows of one land-use branch (1-13).
    double SumBranchArea(int branch);
    // The GN-01 row, one text per column of SummaryColumns().
    std::vector<std::string> RvCustomGN0209OsszesitoConnection1GetRow();

private:
    ui::TButton* SheetButton(int column, int row, const char* label, const char* caption);
    // Opens Query2 over the fields of the chosen year (2010 when the box holds no whole
    // number), all of them or only those of the AKG scheme.
    void OpenBranchAreas(bool akgOnly, int year);
    bool YearChosen();
};
extern TGN200914* GN200914;
