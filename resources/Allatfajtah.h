#pragma once
// "Állatfajok": the animal species of the grazing records.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TAllatfajta : public ui::TForm {
public:
    explicit TAllatfajta(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Allatfajok.db
    db::TDataSource DataSource1{&Table1};

    ui::TLabel* Label1; // "Állatfajok listája"
    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1; // "Új"
    ui::TButton* Button2; // "Módosítás"
    ui::TButton* Button3; // "Törlés"
    ui::TButton* Button4; // "Bezárás"
    ui::TGroupBox* GroupBox1;
    ui::TDBEdit* DBEdit1; // Megnev
    ui::TDBEdit* DBEdit2; // Megjegy
    ui::TButton* Button5; // "mégsem"
    ui::TButton* Button6; // "rögzítés"

    void FormShow(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
};
extern TAllatfajta* Allatfajta;
