#pragma once
// "Permetezési napló": the pesticide uses that match the conditions of the form under it
// (permnaploszuk), one row per use, with the tractor, implement and workers of each
// operation, and the two printouts "Permetnaplo.rav" and "PermetnaploM.rav".

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/menus.h"
#include "platform/ui/vcl.h"
#include "spray_log.h"

class TPermNaplo : public ui::TForm {
public:
    explicit TPermNaplo(db::Session& session);

private:
    db::Session& session_;

public:
    db::TQuery Query1{session_, "Query1"}; // the spray log
    db::TDataSource DataSource1{&Query1};
    db::TTable Table1{session_, "Table1"}; // Alapadatok.DB, the farm's row
    TRvProject RvProject1{this, "RvProject1", "Permetnaplo.rav"};
    TRvProject RvProject2{this, "RvProject2", "PermetnaploM.rav"};
    TRvQueryConnection RvPermnQueryConnection1{this, "RvPermnQueryConnection1", &Query1};
    TRvTableConnection RvPermTableConnection1{this, "RvPermTableConnection1", &Table1};
    spray::SprayLookups Lookups;

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "<< Vissza"
    ui::TButton* Button2; // "Permetezési Napló S"
    ui::TButton* Button5; // "Permetezési Napló M"
    ui::TPopupMenu* PopupMenu1;

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Query1CalcFields(db::TDataSet& DataSet);
};
extern TPermNaplo* PermNaplo;
