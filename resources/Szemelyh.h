#pragma once
// "Alkalmazottak": the people who work on the farm. A removed person's row stays with
// Deleted set, so that the operations naming the person keep their worker.

#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

class TSzemelyek : public ui::TForm {
public:
    explicit TSzemelyek(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // Szemely.db in name order, not deleted
    db::TDataSource DataSource1{&Table1};

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button3; // "Új"
    ui::TButton* Button2; // "Módosítás"
    ui::TButton* Button1; // "Törlés"
    ui::TButton* Button4; // "Bezárás"
    ui::TGroupBox* GroupBox1;
    ui::TDBEdit* DBEdit1; // Sznev
    ui::TDBEdit* DBEdit2; // Hely
    ui::TDBEdit* DBEdit3; // Irany
    ui::TDBEdit* DBEdit4; // Cim
    ui::TDBEdit* DBEdit5; // Tel
    ui::TButton* Button5; // "Rögzít"
    ui::TButton* Button6; // "Mégsem"

    void FormShow(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void DBGrid1DblClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);

private:
    void OpenBox();
};
extern TSzemelyek* Szemelyek;
