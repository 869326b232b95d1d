#pragma once
// "Gépajvításokkal kapcsolatos feljegyzések": the repair log of the farm's own tractors
// or, as the opener chooses, of its implements.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TGepjavitas : public ui::TForm {
public:
    explicit TGepjavitas(db::Session& session);

private:
    db::Session& session_;

public:
    // Set by the opener before the form is shown: tractors (true) or implements.
    bool PowerMachineMode = true;

    db::TQuery Query1{session_, "Query1"}; // the repairs of one kind with their machines
    db::TDataSource DataSource1{&Query1};
    db::TTable Table1{session_, "Table1"}; // Gepjavitas.db, on the repair selected
    db::TTable Table2{session_, "Table2"}; // own tractors in Gepkod order
    db::TTable Table3{session_, "Table3"}; // own implements in Gepkod order
    db::TDataSource DataSource2{&Table2};
    db::TDataSource DataSource3{&Table3};

    ui::TLabel* Label1; // the title
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "Bezárás"
    ui::TButton* Button2; // "Új javítás"
    ui::TButton* Button3; // "Módosítás"
    ui::TButton* Button4; // "Törlés"
    ui::TGroupBox* GroupBox1;
    ui::TDateTimePicker* DateTimePicker1;
    ui::TLabel* Label3; // "Erőgép :"
    ui::TDBGrid* DBGrid2;
    ui::TDBGrid* DBGrid3;
    ui::TEdit* Edit1;           // fault
    ui::TEdit* Edit2;           // mechanic
    ui::TButton* Button5;       // "Mégsem"
    ui::TButton* Button6;       // "Rögzít"
    ui::TPopupMenu* PopupMenu1; // the list's actions
    ui::TPopupMenu* PopupMenu2; // the box's

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void DBGrid1DblClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);

private:
    void SetListStatement();
    bool LocateSelectedRepair();
    void OpenBox(const std::string& caption);
    void CloseBox();

    bool RepairEditMode = false;
};
extern TGepjavitas* Gepjavitas;
