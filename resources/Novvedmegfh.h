#pragma once
// "Növényvédelmi megfigyelések": the plant-protection observations of one field, each
// with its pest row; entered, modified, deleted and copied to other fields.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TNovvedmegf : public ui::TForm {
public:
    explicit TNovvedmegf(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // the observations of the field chosen
    db::TTable Table2{session_, "Table2"}; // the field chooser (parcellak)
    db::TTable Table3{session_, "Table3"}; // the target field of a copy (parcellak)
    db::TTable Table5{session_, "Table5"}; // the pest row of an observation
    db::TDataSource DataSource1{&Table1};
    db::TDataSource DataSource2{&Table2};
    db::TDataSource DataSource3{&Table3};

    ui::TBevel* Bevel1;
    ui::TDBCtrlGrid* DBCtrlGrid1;
    ui::TCheckBox* CheckBox1; // "Aktív parcellák"
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button2; // "Új feljegyzés"
    ui::TButton* Button3; // "Módosítás"
    ui::TButton* Button4; // "Törlés"
    ui::TButton* Button7; // "Másolás"
    ui::TButton* Button1; // "Bezárás"

    ui::TGroupBox* GroupBox1; // the entry box
    ui::TEdit* Edit6;         // serial
    ui::TDateTimePicker* DateTimePicker1;
    ui::TEdit* Edit1;     // crop's stage
    ui::TEdit* Edit3;     // method of observation
    ui::TEdit* Edit2;     // pest's name
    ui::TEdit* Edit4;     // pest's stage
    ui::TEdit* Edit5;     // signs of the pest
    ui::TEdit* Edit7;     // degree of infestation
    ui::TEdit* Edit8;     // remark
    ui::TButton* Button5; // "Mégsem"
    ui::TButton* Button6; // "Rögzít"

    ui::TGroupBox* GroupBox2; // "Megfigyelés másolása"
    ui::TDBGrid* DBGrid2;
    ui::TCheckBox* CheckBox2;             // "Aktív parcellák"
    ui::TButton* Button8;                 // "Kijelölt másolása"
    ui::TButton* Button9;                 // "Parcellához tartozó összes másolása"
    ui::TButton* Button10;                // "Mégsem"
    ui::TPopupMenu* PopupMenu1 = nullptr; // the list's actions
    ui::TPopupMenu* PopupMenu2;           // the entry box's

    // Copies the current observation to the field selected in Table3.
    void CopyObservation();

    void FormActivate(TObject* Sender);
    void FormResize(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void Table1CalcFields(db::TDataSet& DataSet);
    void Table2AfterScroll(db::TDataSet& DataSet);
    void CheckBox1Click(TObject* Sender);
    void CheckBox2Click(TObject* Sender);
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
    void SetBrowsing(bool browsing);
    void OpenPestRow(int observationId);

    bool ModifyMode = false;
    bool CalcSuspended = false;
    // The pest rows in observation order, for the list's pest columns: a grid computes
    // them for every row it shows, and a search by key costs far less than a filter.
    db::TTable PestRows{session_, "PestRows"};
};
extern TNovvedmegf* Novvedmegf;
