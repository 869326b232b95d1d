#pragma once
// "Tulajdonosok kezelése": the owners register; modifies, deletes, adds and prints owners.

#include "platform/db/query.h"
#include "platform/db/session.h"
#include "platform/db/table.h"
#include "platform/ui/vcl.h"

#include <string>

class TTulajd : public ui::TForm {
public:
    explicit TTulajd(db::Session& session);

private:
    db::Session& session_;

public:
    db::TTable Table1{session_, "Table1"}; // tulaj.db in name order
    db::TDataSource DataSource1{&Table1};
    db::TQuery Query1{session_, "Query1"}; // the active land parcels of an owner

    ui::TDBGrid* DBGrid1;
    ui::TButton* Button1;     // "Módosítás"
    ui::TButton* Button2;     // "Nyomtatás"
    ui::TButton* Button3;     // "Bezárás"
    ui::TButton* Button4;     // "Törlés"
    ui::TButton* Button5;     // "Új tulaj"
    ui::TGroupBox* GroupBox1; // "Tulajdonos módosítása", hidden
    ui::TLabel* Label1;
    ui::TEdit* Edit1; // name
    ui::TLabel* Label2;
    ui::TEdit* Edit2; // address
    ui::TLabel* Label3;
    ui::TEdit* Edit3;     // telephone
    ui::TButton* Button6; // "Rögzít"
    ui::TButton* Button7; // "Mégsem"

    // Whether no active land parcel names the owner.
    bool CanDeleteOwner(const std::string& ownerCode);

    void FormActivate(TObject* Sender);
    void FormKeyPress(TObject* Sender, TKey& Key);
    void DBGrid1DblClick(TObject* Sender);
    void Button1Click(TObject* Sender);
    void Button2Click(TObject* Sender);
    void Button3Click(TObject* Sender);
    void Button4Click(TObject* Sender);
    void Button5Click(TObject* Sender);
    void Button6Click(TObject* Sender);
    void Button7Click(TObject* Sender);

private:
    std::string editedOwner_; // Tulkod of the owner in the group
};
extern TTulajd* Tulajd;
