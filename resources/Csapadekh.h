#pragma once
// "Csapadék feljegyzések": the rainfall readings of the farm by date.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TCsapadek : public ui::TForm {
public:
    explicit TCsapadek(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Csapadek.db in date order
    db::TDataSource DataSource1{&Table1};

    ui::TLabel* Label1; // "Csapadék feljegyzések"
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button3; // "Új feljegyzés"
    ui::TButton* Button2; // "Módosítás"
    ui::TButton* Button6; // "Törlés"
    ui::TButton* Button1; // "Bezárás"
    ui::TBitBtn* BitBtn1; // "Grafikon", does nothing
    ui::TGroupBox* GroupBox1;
    ui::TDateTimePicker* DateTimePicker1;
    ui::TEdit* Edit1;           // amount, mm
    ui::TEdit* Edit2;           // place of the measurement
    ui::TButton* Button4;       // "Mégsem"
    ui::TButton* Button5;       // "Rögzítés"
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
    void SetBrowsing(bool browsing);
    void OpenBox(const std::string& caption);

    bool ModifyMode = false;
};
extern TCsapadek* Csapadek;
