#pragma once
// "Lista a nyílvántartott területekről(hrsz)": the active land parcels with their owners,
// printed through "Tablak.rav".

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

class TTablalista : public ui::TForm {
public:
    explicit TTablalista(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // tablak.DB, active land parcels, by lot number
    db::TDataSource DataSource1{&Table1};
    db::TTable Table2{session_, "Table2"}; // tulaj.db: the owner of Table1's current row
    db::TDataSource DataSource2{&Table2};
    TRvProject RvProject1{this, "RvProject1", "Tablak.rav"};
    TRvTableConnection RvTablalistTableConnection1{this, "RvTablalistTableConnection1", &Table1};
    TRvTableConnection RvTablalistTableConnection2{this, "RvTablalistTableConnection2", &Table2};
    reg::FarmRow FarmRow1{this, session_};

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "Nyomtatás"
    ui::TButton* Button2; // "Vissza"
    ui::TPopupMenu* PopupMenu1;
    ui::TMenuItem* Nyomtats1; // "Nyomtatás         CTRL+I"
    ui::TMenuItem* Vissza1;   // "Vissza                 CTRL+X"

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    // The area in hectares and the irrigable flag as words, for the printout.
    void Table1CalcFields(db::TDataSet& DataSet);
};
extern TTablalista* Tablalista;
