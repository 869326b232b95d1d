#pragma once
// "Földhasználati tervkészítés": the land-use plan of the KET areas for 2010 to 2014.
// For a KET and a year the user adds plan lines (crop, crop group, area, predecessor crop)
// and sees how the planned area of the KET's programme splits between the crop groups.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

#include <string>

namespace reg {

// A crop group's share of the programme's area in per cent, rounded up to two decimals:
// years = 1 for the year's share, 5 for the five-year share; 0 when the total is not above 0.
double CropGroupShare(double groupArea, double programmeArea, int years);

} // namespace reg

class Tfoldhasznterv : public ui::TForm {
public:
    explicit Tfoldhasznterv(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the KET areas with their programme
    db::TDataSource DataSource1{&Query1};
    db::TQuery Query2{session_, "Query2"}; // the active fields, for the predecessor
    db::TDataSource DataSource2{&Query2};
    db::TTable Table1{session_, "Table1"}; // Foldhasznterv.DB
    db::TTable Table2{session_, "Table2"}; // Agazaticsoport.DB, the programme's groups
    db::TDataSource DataSource4{&Table2};
    db::TTable Table3{session_, "Table3"}; // Magfajtak.db
    db::TDataSource DataSource5{&Table3};
    db::TQuery Query3{session_, "Query3"}; // the plan lines
    db::TDataSource DataSource3{&Query3};
    db::TQuery Query4{session_, "Query4"}; // the programme's area
    db::TQuery Query5{session_, "Query5"}; // the crop-group shares
    db::TDataSource DataSource6{&Query5};
    TRvProject RvProject1{this, "RvProject1", "foldhaszntervr.rav"};
    TRvQueryConnection RvQueryConnection1{this, "RvQueryConnection1", &Query3};
    TRvQueryConnection RvQueryConnection2{this, "RvQueryConnection2", &Query5};
    TRvCustomConnection RvCFTerv{this, "RvCFTerv"};
    reg::FarmRow FarmRow1{this, session_};

    ui::TDBGrid* DBGrid1;                     // the KET areas
    ui::TLabel* Label1;                       // the programme's name
    ui::TLabel* Label2;                       // "KET = ... ha"
    ui::TDBGrid* DBGrid2;                     // "Elővetemény táblája :"
    ui::TComboBox* ComboBox1;                 // "Gazdasági év :"
    ui::TDBLookupComboBox* DBLookupComboBox1; // "Növénykultúra csoport :"
    ui::TButton* Button5;                     // "+"
    ui::TDBLookupComboBox* DBLookupComboBox2; // "Ágazat megnevezése :"
    ui::TEdit* Edit1;                         // "Terület :" (ha)
    ui::TEdit* Edit2;                         // "Elővetemény :"
    ui::TDBGrid* DBGrid3;                     // "KET-hez tartozó terv táblák:"
    ui::TDBGrid* DBGrid4; // "Növénykultúra csoportok százalékos megoszlása :"
    ui::TButton* Button1; // "Küldés a tervbe -->>"
    ui::TButton* Button2; // "törlés"
    ui::TButton* Button3; // "nyomtatás"
    ui::TButton* Button4; // "bezárás"

    double ProgrammeArea = 0; // hectares of all KETs of the current KET's programme

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Query1AfterScroll(db::TDataSet& DataSet);
    void Query2AfterScroll(db::TDataSet& DataSet);
    void Query5CalcFields(db::TDataSet& DataSet);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);

private:
    // The programme area, the shares, the plan lines and the groups offered, for the
    // current KET; the plan lines of `year` (the year box's text when empty).
    void KetChanged();
    void FilterPlanLines(bool allKets);
    bool YearIsValid();
};
extern Tfoldhasznterv* foldhasznterv;
