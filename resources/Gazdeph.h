#pragma once
// "Gazdasági épületek": the farm's buildings with their capacity, year of construction
// and whether they house animals.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TGazdep : public ui::TForm {
public:
    explicit TGazdep(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Gazdepulet.DB
    db::TDataSource DataSource1{&Table1};

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "Új bevitele"
    ui::TButton* Button3; // "Módosítás"
    ui::TButton* Button2; // "Törlés"
    ui::TButton* Button4; // "Rendben"
    ui::TGroupBox* GroupBox1;
    ui::TEdit* Edit1;           // name
    ui::TCheckBox* CheckBox1;   // "Állattartó :"
    ui::TEdit* Edit2;           // capacity
    ui::TComboBox* ComboBox1;   // unit of the capacity
    ui::TEdit* Edit3;           // year of construction
    ui::TButton* Button5;       // "Mégsem"
    ui::TButton* Button6;       // "Rögzít"
    ui::TPopupMenu* PopupMenu1; // the list's actions
    ui::TPopupMenu* PopupMenu2; // the box's, the form's menu while the box is open

    // Whether the box was opened by "Új bevitele" (or by "Módosítás").
    bool NewBuildingMode = false;

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void DBGrid1DblClick(TObject* Sender);
    void CheckBox1Click(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);

private:
    void BackToList();
};
extern TGazdep* Gazdep;
