#pragma once
// "Gépek listája": the farm's own tractors and implements, modified in place, retired
// (Tul 1: the row stays for the operations that used it) and printed.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/report/report.h"
#include "platform/ui/vcl.h"
#include "register/farm_row.h"

class TGeplist : public ui::TForm {
public:
    explicit TGeplist(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // own tractors in name order (Gepnev, then Geptip)
    db::TTable Table2{session_, "Table2"}; // own implements in name order
    db::TDataSource DataSource1{&Table1};
    db::TDataSource DataSource2{&Table2};
    TRvProject RvProject1{this, "RvProject1", "Erogepek.rav"};
    TRvProject RvProject2{this, "RvProject2", "Munkagepek.rav"};
    TRvTableConnection RvTableGeplistConnection1{this, "RvTableGeplistConnection1", &Table1};
    TRvTableConnection RvTableGeplistConnection2{this, "RvTableGeplistConnection2", &Table2};
    reg::FarmRow FarmRow1{this, session_};

    ui::TBevel* Bevel1;
    ui::TPageControl* PageControl1;
    ui::TTabSheet* TabSheet1; // "Erőgépek listázása"
    ui::TDBGrid* DBGrid1;
    ui::TTabSheet* TabSheet2; // "Munkagépek listázása"
    ui::TDBGrid* DBGrid2;
    ui::TButton* Button9;  // "Új gép"
    ui::TButton* Button10; // "Törlés"
    ui::TButton* Button4;  // "Módosítás"
    ui::TButton* Button1;  // "Bezárás"
    ui::TButton* Button2;  // "Nyomtatási kép"
    ui::TButton* Button3;  // "Nyomtatás"

    ui::TGroupBox* GroupBox1;   // "Gép módosítása": a tractor
    ui::TDBEdit* DBEdit1;       // Geptip
    ui::TDBEdit* DBEdit2;       // Haziszam
    ui::TComboBox* ComboBox1;   // Kategoria
    ui::TDBEdit* DBEdit3;       // Beszev
    ui::TButton* Button5;       // "Mégsem"
    ui::TButton* Button6;       // "Vátozás rögzítése"
    ui::TGroupBox* GroupBox2;   // "Gép módosítása": an implement
    ui::TDBEdit* DBEdit4;       // Gepnev
    ui::TDBEdit* DBEdit5;       // Hazisz
    ui::TDBEdit* DBEdit6;       // Tipus
    ui::TDBEdit* DBEdit7;       // Beszev
    ui::TButton* Button7;       // "Mégsem"
    ui::TButton* Button8;       // "Változás rögzítése"
    ui::TPopupMenu* PopupMenu1; // the list's actions
    ui::TPopupMenu* PopupMenu2; // the modify boxes' "Rögzítés" and "Mégsem"

    void FormShow(TObject* Sender);
    void FormActivate(TObject* Sender);
    void FormResize(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void DBGrid1DblClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);
    void Button8Click(TObject* Sender);
    void Button9Click(TObject* Sender);
    void Button10Click(TObject* Sender);

private:
    bool TractorPage() const;
    db::TTable& ShownTable();
    void SetListActive(bool active);
    void CloseBox(ui::TGroupBox* box);
    void PrintShownList();
};
extern TGeplist* Geplist;
